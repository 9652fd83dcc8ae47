#pragma once

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "host/storage/SectionStorage.h"

namespace host {

// The console stand-in's store: the settings of many objects (policies,
// computers' local settings, tasks, packages), each addressed by a text key
// such as "policy:Default policy". Two databases stand behind it, with one
// schema and one behaviour:
//
//   - an SQLite file (any location that is not a URI), the default;
//   - a PostgreSQL database ("postgresql://..." or "postgres://..."), which
//     many consoles on many machines share.
//
// Every section's container is one row in its packed form:
//
//   sections(object, product, version, section, data, revision)
//                                     primary key: the first four; revision
//                                     changes with every write of the row
//   revision_counter(last)            one row: the last revision given out
//   objects(name, kind, attributes)   the catalogue: what each object is (its
//                                     kind, governing policy, task type, ...)
//   console(key, value)               the console's own configuration
//
// The schema has a version (SQLite: PRAGMA user_version; PostgreSQL: the
// table schema_version). A store of a newer schema is refused, an older one
// is created or migrated when opened, in one transaction that reads the
// version inside it, so that processes opening a fresh store together all
// succeed. Changes run in single transactions that exclude other writers of
// the store (SQLite: BEGIN IMMEDIATE; PostgreSQL: a transaction-scoped
// advisory lock); readers are not blocked. Errors are localized (module
// "ZRHOST", 0x2003) and name the store, never a password.
class SettingsStore : public ZRSTD::ZRBaseImpl<ZRSTD::ZRObject> {
public:
    static constexpr int kSchemaVersion = 3;

    struct Options {
        int busyTimeoutMs = 5000;  // how long a writer waits for another one
        bool readOnly = false;     // inspect a store without changing it
        bool create = true;        // false: a store that is not there yet is refused
    };

    // Opens the store at location, creating an empty one when it is not there
    // (unless options.create is false).
    static ZRSTD::CAutoPtr<SettingsStore> Open(const std::string& location, const Options& options);
    static ZRSTD::CAutoPtr<SettingsStore> Open(const std::string& location) { return Open(location, Options{}); }

    // The settings storage of one object (it need not exist yet).
    virtual ZRSTD::CAutoPtr<ZRPlugin::SettingsStorage> ObjectStorage(const std::wstring& object) = 0;
    // Objects in the catalogue or with stored sections, by name.
    virtual std::vector<std::wstring> ListObjects() = 0;
    virtual bool HasObject(const std::wstring& object) = 0;
    // The sections (not the product and version levels) an object stores.
    virtual std::vector<SectionKey> ListSections(const std::wstring& object) = 0;
    // Removes the object's sections and its catalogue entry.
    virtual void DeleteObject(const std::wstring& object) = 0;

    // The catalogue entry of an object: its kind ("policy", "host", ...) and
    // attributes. An object with sections but no entry (stored by an older
    // version) has the kind of its name and no attributes.
    struct CatalogueEntry {
        std::wstring kind;
        ZRSTD::CAutoPtr<ZRPAR::Params> attributes;
    };
    virtual void PutCatalogueEntry(const std::wstring& object, const std::wstring& kind, ZRPAR::Params* attributes) = 0;
    virtual std::optional<CatalogueEntry> GetCatalogueEntry(const std::wstring& object) = 0;

    // The console's configuration values.
    virtual std::optional<std::wstring> GetConfig(const std::wstring& key) = 0;
    virtual void SetConfig(const std::wstring& key, const std::wstring& value) = 0;
    // Every configuration value, by key.
    virtual std::vector<std::pair<std::wstring, std::wstring>> ListConfig() = 0;

    // Removes every object, section and configuration value, in one
    // transaction; revisions go on from where they were.
    virtual void Clear() = 0;

    // Empty when the database is sound, else what is wrong.
    virtual std::vector<std::string> IntegrityProblems() = 0;
    // Runs work as one transaction; nested calls join the outer one.
    virtual void InTransaction(const std::function<void()>& work) = 0;

    // The location as it may be shown: a file path, or a URI without its password.
    const std::string& Path() const { return m_shownLocation; }
    virtual int SchemaVersion() = 0;
    // Whether a database server holds the store (no file beside it, then).
    virtual bool OnServer() const = 0;

protected:
    explicit SettingsStore(std::string shownLocation) : m_shownLocation(std::move(shownLocation)) {}

private:
    std::string m_shownLocation;
};

// Whether a store location names a PostgreSQL database.
bool IsServerLocation(const std::string& location);
// The location with any password replaced by "***", to be shown or logged.
std::string RedactLocation(const std::string& location);

// The implementations behind SettingsStore::Open.
ZRSTD::CAutoPtr<SettingsStore> OpenSqliteSettingsStore(const std::string& path, const SettingsStore::Options& options);
ZRSTD::CAutoPtr<SettingsStore> OpenPostgresSettingsStore(const std::string& uri, const SettingsStore::Options& options);

}  // namespace host
