#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "host/storage/SectionStorage.h"

struct sqlite3;

namespace host {

// The console stand-in's store: one SQLite database file that holds the
// settings of many objects (policies, computers' local settings, tasks,
// packages), each addressed by a text key such as "policy:Default policy".
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
// The schema version is PRAGMA user_version; a database of a newer schema is
// refused, an older one is migrated in one transaction when opened. Changes
// run in single transactions (BEGIN IMMEDIATE) in WAL mode, and a busy
// timeout lets processes share the file. Errors are localized and name the
// file.
class SettingsStore : public ZRSTD::ZRBaseImpl<ZRSTD::ZRObject> {
public:
    static constexpr int kSchemaVersion = 3;

    struct Options {
        int busyTimeoutMs = 5000;
        bool readOnly = false;  // inspect a store without changing it
    };

    // Opens the file, creating an empty store when it does not exist.
    static ZRSTD::CAutoPtr<SettingsStore> Open(const std::string& path, const Options& options);
    static ZRSTD::CAutoPtr<SettingsStore> Open(const std::string& path) { return Open(path, Options{}); }
    ~SettingsStore() override;

    // The settings storage of one object (it need not exist yet).
    ZRSTD::CAutoPtr<ZRPlugin::SettingsStorage> ObjectStorage(const std::wstring& object);
    // Objects in the catalogue or with stored sections, by name.
    std::vector<std::wstring> ListObjects();
    bool HasObject(const std::wstring& object);
    // The sections (not the product and version levels) an object stores.
    std::vector<SectionKey> ListSections(const std::wstring& object);
    // Removes the object's sections and its catalogue entry.
    void DeleteObject(const std::wstring& object);

    // The catalogue entry of an object: its kind ("policy", "host", ...) and
    // attributes. An object with sections but no entry (stored by an older
    // version) has the kind of its name and no attributes.
    struct CatalogueEntry {
        std::wstring kind;
        ZRSTD::CAutoPtr<ZRPAR::Params> attributes;
    };
    void PutCatalogueEntry(const std::wstring& object, const std::wstring& kind, ZRPAR::Params* attributes);
    std::optional<CatalogueEntry> GetCatalogueEntry(const std::wstring& object);

    // The console's configuration values.
    std::optional<std::wstring> GetConfig(const std::wstring& key);
    void SetConfig(const std::wstring& key, const std::wstring& value);

    // PRAGMA integrity_check: empty when the database is sound, else what is wrong.
    std::vector<std::string> IntegrityProblems();
    // Runs work as one transaction; nested calls join the outer one.
    void InTransaction(const std::function<void()>& work);

    const std::string& Path() const { return m_path; }
    int SchemaVersion();
    sqlite3* Handle() const { return m_db; }

private:
    SettingsStore(std::string path, sqlite3* db);
    void PrepareSchema(const Options& options);
    void EnterWalMode(int busyTimeoutMs);
    // Brings the schema from version up to kSchemaVersion, inside the caller's transaction.
    void Migrate(int version);

    std::string m_path;
    sqlite3* m_db;
    int m_transactionDepth = 0;
};

}  // namespace host
