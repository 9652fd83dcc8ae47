// The settings store in a PostgreSQL database, shared by many consoles.
#include <libpq-fe.h>

#include <cstring>
#include <memory>

#include "host/storage/SettingsStore.h"
#include "host/storage/StoreCommon.h"
#include "zrpar/Packed.h"
#include "zrstd/Format.h"
#include "zrstd/Strings.h"

namespace host {

namespace {

using store_common::Fail;
using store_common::KindOfName;

// The transaction-scoped advisory lock every writer of a store's database
// holds: writers take turns as SQLite's BEGIN IMMEDIATE makes them, readers
// are not blocked.
constexpr long long kWriterLock = 0x4E4754'53544F52LL;

// The first line of a libpq message, with the password taken out wherever it appears.
std::string OneLine(std::string message, const std::string& password)
{
    if (const auto end = message.find('\n'); end != std::string::npos) message.resize(end);
    if (!password.empty())
        for (std::size_t at; (at = message.find(password)) != std::string::npos;) message.replace(at, password.size(), "***");
    return message;
}

// A statement's argument: text, a number (sent as text) or bytes (sent binary).
struct Argument {
    Argument(const std::wstring& text) : value(ZRSTD::ToUtf8(text)) {}
    Argument(std::int64_t number) : value(std::to_string(number)) {}
    Argument(const std::vector<std::uint8_t>& bytes) : value(bytes.begin(), bytes.end()), binary(true) {}
    std::string value;
    bool binary = false;
};

// The rows of a statement, every column in the binary form.
class Rows {
public:
    explicit Rows(PGresult* result) : m_result(result) {}
    ~Rows() { PQclear(m_result); }
    Rows(Rows&& other) noexcept : m_result(std::exchange(other.m_result, nullptr)) {}
    Rows(const Rows&) = delete;
    Rows& operator=(const Rows&) = delete;

    int Count() const { return PQntuples(m_result); }
    std::wstring Text(int row, int column) const
    {
        return ZRSTD::FromUtf8(std::string_view(PQgetvalue(m_result, row, column), PQgetlength(m_result, row, column)));
    }
    std::string Narrow(int row, int column) const
    {
        return std::string(PQgetvalue(m_result, row, column), PQgetlength(m_result, row, column));
    }
    std::vector<std::uint8_t> Bytes(int row, int column) const
    {
        const auto* data = reinterpret_cast<const std::uint8_t*>(PQgetvalue(m_result, row, column));
        return std::vector<std::uint8_t>(data, data + PQgetlength(m_result, row, column));
    }
    // An integer column (int4 or int8), sent in network order.
    std::int64_t Integer(int row, int column) const
    {
        const auto* data = reinterpret_cast<const std::uint8_t*>(PQgetvalue(m_result, row, column));
        const int length = PQgetlength(m_result, row, column);
        std::uint64_t value = 0;
        for (int i = 0; i < length; ++i) value = (value << 8) | data[i];
        if (length == 4) return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
        return static_cast<std::int64_t>(value);
    }

private:
    PGresult* m_result;
};

class PostgresSettingsStore : public SettingsStore {
public:
    PostgresSettingsStore(const std::string& uri, PGconn* connection)
        : SettingsStore(RedactLocation(uri)), m_connection(connection), m_password(PasswordOf(connection))
    {
    }
    ~PostgresSettingsStore() override { PQfinish(m_connection); }

    ZRSTD::CAutoPtr<ZRPlugin::SettingsStorage> ObjectStorage(const std::wstring& object) override;
    std::vector<std::wstring> ListObjects() override;
    bool HasObject(const std::wstring& object) override;
    std::vector<SectionKey> ListSections(const std::wstring& object) override;
    void DeleteObject(const std::wstring& object) override;
    void PutCatalogueEntry(const std::wstring& object, const std::wstring& kind, ZRPAR::Params* attributes) override;
    std::optional<CatalogueEntry> GetCatalogueEntry(const std::wstring& object) override;
    std::optional<std::wstring> GetConfig(const std::wstring& key) override;
    void SetConfig(const std::wstring& key, const std::wstring& value) override;
    std::vector<std::pair<std::wstring, std::wstring>> ListConfig() override;
    void Clear() override;
    std::vector<std::string> IntegrityProblems() override;
    void InTransaction(const std::function<void()>& work) override;
    int SchemaVersion() override;
    bool OnServer() const override { return true; }

    void Prepare(const Options& options);
    Rows Run(const char* sql, std::initializer_list<Argument> arguments = {});
    [[noreturn]] void FailOn(PGresult* result);

private:
    static std::string PasswordOf(PGconn* connection)
    {
        const char* password = PQpass(connection);
        return password ? password : "";
    }
    void CreateSchema(int version);

    PGconn* m_connection;
    std::string m_password;
    int m_transactionDepth = 0;
};

class PostgresRows : public SectionRows {
public:
    PostgresRows(ZRSTD::CAutoPtr<PostgresSettingsStore> store, std::wstring object)
        : m_store(std::move(store)), m_object(std::move(object))
    {
    }

    std::optional<StoredSection> Get(const SectionKey& key) override
    {
        const Rows rows = m_store->Run("SELECT data, revision FROM sections WHERE object=$1::text AND product=$2::text "
                                       "AND version=$3::text AND section=$4::text",
                                       {m_object, key.product, key.version, key.section});
        if (rows.Count() == 0) return std::nullopt;
        return StoredSection{rows.Bytes(0, 0), rows.Integer(0, 1)};
    }
    std::int64_t Put(const SectionKey& key, const std::vector<std::uint8_t>& packed) override
    {
        std::int64_t revision = 0;
        m_store->InTransaction([&] {
            const Rows next = m_store->Run("UPDATE revision_counter SET last=last+1 RETURNING last");
            if (next.Count() == 0)
                Fail(ZRSTD::FormatW(L"the settings store \"%hs\" is damaged: its revision counter is missing",
                                    m_store->Path()));
            revision = next.Integer(0, 0);
            m_store->Run("INSERT INTO sections(object, product, version, section, data, revision) "
                         "VALUES ($1::text, $2::text, $3::text, $4::text, $5::bytea, $6::bigint) "
                         "ON CONFLICT(object, product, version, section) "
                         "DO UPDATE SET data=excluded.data, revision=excluded.revision",
                         {m_object, key.product, key.version, key.section, packed, revision});
        });
        return revision;
    }
    void Delete(const SectionKey& key) override
    {
        m_store->Run("DELETE FROM sections WHERE object=$1::text AND product=$2::text AND version=$3::text "
                     "AND section=$4::text",
                     {m_object, key.product, key.version, key.section});
    }
    std::vector<SectionKey> Keys(const std::wstring& product, const std::wstring& version) override
    {
        const Rows rows = m_store->Run("SELECT product, version, section FROM sections WHERE object=$1::text "
                                       "AND product=$2::text AND ($3::text = '' OR version=$3::text) "
                                       "ORDER BY version, section",
                                       {m_object, product, version});
        std::vector<SectionKey> keys;
        for (int i = 0; i < rows.Count(); ++i) keys.push_back({rows.Text(i, 0), rows.Text(i, 1), rows.Text(i, 2)});
        return keys;
    }
    void InTransaction(const std::function<void()>& work) override { m_store->InTransaction(work); }
    std::wstring Describe() const override
    {
        return ZRSTD::FormatW(L"\"%s\" in the settings store \"%hs\"", m_object, m_store->Path());
    }

private:
    ZRSTD::CAutoPtr<PostgresSettingsStore> m_store;
    std::wstring m_object;
};

Rows PostgresSettingsStore::Run(const char* sql, std::initializer_list<Argument> arguments)
{
    std::vector<const char*> values;
    std::vector<int> lengths, formats;
    for (const Argument& argument : arguments) {
        values.push_back(argument.value.data());
        lengths.push_back(static_cast<int>(argument.value.size()));
        formats.push_back(argument.binary ? 1 : 0);
    }
    PGresult* result = PQexecParams(m_connection, sql, static_cast<int>(values.size()), nullptr, values.data(),
                                    lengths.data(), formats.data(), 1);
    const ExecStatusType status = result ? PQresultStatus(result) : PGRES_FATAL_ERROR;
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) FailOn(result);
    return Rows(result);
}

void PostgresSettingsStore::FailOn(PGresult* result)
{
    const char* state = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
    const std::string code = state ? state : "";
    const char* primary = result ? PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY) : nullptr;
    const std::string detail = OneLine(primary ? primary : PQerrorMessage(m_connection), m_password);
    PQclear(result);
    if (PQstatus(m_connection) == CONNECTION_BAD || code.rfind("08", 0) == 0 || code.rfind("57P", 0) == 0)
        Fail(ZRSTD::FormatW(L"the connection to the settings store \"%hs\" was lost (%hs); what was being changed was "
                            L"not written",
                            Path(), detail));
    if (code == "42501")
        Fail(ZRSTD::FormatW(L"the settings store \"%hs\" refuses this user: %hs", Path(), detail));
    if (code == "55P03" || code == "40001" || code == "40P01")
        Fail(ZRSTD::FormatW(L"the settings store \"%hs\" is locked by another process", Path()));
    if (code == "25006") Fail(ZRSTD::FormatW(L"the settings store \"%hs\" is read-only", Path()));
    if (code == "53100") Fail(ZRSTD::FormatW(L"the disk holding the settings store \"%hs\" is full", Path()));
    Fail(ZRSTD::FormatW(L"the settings store \"%hs\" failed: %hs", Path(), detail));
}

void PostgresSettingsStore::Prepare(const Options& options)
{
    PQsetNoticeProcessor(m_connection, [](void*, const char*) {}, nullptr);  // the server's notices are not ours to print
    if (PQsetClientEncoding(m_connection, "UTF8") != 0)
        Fail(ZRSTD::FormatW(L"the settings store \"%hs\" cannot talk UTF-8", Path()));
    Run(("SET lock_timeout = " + std::to_string(options.busyTimeoutMs)).c_str());
    if (options.readOnly) Run("SET default_transaction_read_only = on");

    const auto refuseNewer = [&](int version) {
        if (version > kSchemaVersion)
            Fail(ZRSTD::FormatW(L"the settings store \"%hs\" has schema version %d; this program knows versions up to %d",
                                Path(), version, kSchemaVersion));
    };
    const int found = SchemaVersion();
    refuseNewer(found);
    if (found == kSchemaVersion) return;
    if (found == 0 && (options.readOnly || !options.create))
        Fail(ZRSTD::FormatW(L"the database \"%hs\" holds no settings store (make one with: ngt-console init --store URI)",
                            Path()));
    if (options.readOnly)
        Fail(ZRSTD::FormatW(L"the settings store \"%hs\" has schema version %d: open it once for writing to bring it "
                            L"to version %d",
                            Path(), found, kSchemaVersion));
    // Other consoles may be creating the same store at this moment: the
    // version read under the writer lock is the one to start from, and the
    // whole creation is one transaction.
    InTransaction([&] {
        const int version = SchemaVersion();
        refuseNewer(version);
        if (version == kSchemaVersion) return;
        CreateSchema(version);
    });
}

void PostgresSettingsStore::CreateSchema(int version)
{
    // The PostgreSQL store began at the third version of the schema: there is
    // nothing older to migrate from. Names sort bytewise ("C"), as in SQLite.
    if (version != 0)
        Fail(ZRSTD::FormatW(L"the settings store \"%hs\" is damaged: it records schema version %d, which no PostgreSQL "
                            L"store ever had",
                            Path(), version));
    Run("CREATE TABLE sections(object text COLLATE \"C\" NOT NULL, product text COLLATE \"C\" NOT NULL, "
        "version text COLLATE \"C\" NOT NULL, section text COLLATE \"C\" NOT NULL, data bytea NOT NULL, "
        "revision bigint NOT NULL, PRIMARY KEY(object, product, version, section))");
    Run("CREATE TABLE revision_counter(last bigint NOT NULL)");
    Run("INSERT INTO revision_counter(last) VALUES (1)");
    Run("CREATE TABLE objects(name text COLLATE \"C\" PRIMARY KEY, kind text NOT NULL, attributes bytea NOT NULL)");
    Run("CREATE TABLE console(key text COLLATE \"C\" PRIMARY KEY, value text NOT NULL)");
    Run("CREATE TABLE schema_version(version integer NOT NULL)");
    Run("INSERT INTO schema_version(version) VALUES ($1::integer)", {std::int64_t{kSchemaVersion}});
}

int PostgresSettingsStore::SchemaVersion()
{
    // The catalogue itself, read with this statement's snapshot: a name
    // looked up through to_regclass may answer from this connection's cache,
    // which does not yet know of a table another console just made.
    const Rows exists = Run("SELECT 1 FROM pg_catalog.pg_tables WHERE schemaname = current_schema() "
                            "AND tablename = 'schema_version'");
    if (exists.Count() == 0) return 0;
    const Rows version = Run("SELECT version FROM schema_version");
    if (version.Count() != 1)
        Fail(ZRSTD::FormatW(L"the settings store \"%hs\" is damaged: its schema version is recorded %d times", Path(),
                            version.Count()));
    return static_cast<int>(version.Integer(0, 0));
}

void PostgresSettingsStore::InTransaction(const std::function<void()>& work)
{
    if (m_transactionDepth > 0) {
        work();
        return;
    }
    Run("BEGIN");
    ++m_transactionDepth;
    try {
        Run("SELECT pg_advisory_xact_lock($1::bigint)", {std::int64_t{kWriterLock}});
        work();
        --m_transactionDepth;
        Run("COMMIT");
    } catch (...) {
        if (m_transactionDepth > 0) --m_transactionDepth;
        if (PQstatus(m_connection) == CONNECTION_OK) PQclear(PQexec(m_connection, "ROLLBACK"));
        throw;
    }
}

ZRSTD::CAutoPtr<ZRPlugin::SettingsStorage> PostgresSettingsStore::ObjectStorage(const std::wstring& object)
{
    return ZRSTD::MakeRef<SectionStorage>(
        std::make_unique<PostgresRows>(ZRSTD::CAutoPtr<PostgresSettingsStore>(this), object));
}

std::vector<std::wstring> PostgresSettingsStore::ListObjects()
{
    const Rows rows = Run("SELECT name FROM objects UNION SELECT object FROM sections ORDER BY 1");
    std::vector<std::wstring> objects;
    objects.reserve(rows.Count());
    for (int i = 0; i < rows.Count(); ++i) objects.push_back(rows.Text(i, 0));
    return objects;
}

std::vector<SectionKey> PostgresSettingsStore::ListSections(const std::wstring& object)
{
    const Rows rows = Run("SELECT product, version, section FROM sections WHERE object=$1::text AND section <> '' "
                          "ORDER BY product, version, section",
                          {object});
    std::vector<SectionKey> sections;
    for (int i = 0; i < rows.Count(); ++i) sections.push_back({rows.Text(i, 0), rows.Text(i, 1), rows.Text(i, 2)});
    return sections;
}

bool PostgresSettingsStore::HasObject(const std::wstring& object)
{
    return Run("SELECT 1 WHERE EXISTS (SELECT 1 FROM objects WHERE name=$1::text) "
               "OR EXISTS (SELECT 1 FROM sections WHERE object=$1::text)",
               {object})
               .Count() > 0;
}

void PostgresSettingsStore::DeleteObject(const std::wstring& object)
{
    InTransaction([&] {
        Run("DELETE FROM sections WHERE object=$1::text", {object});
        Run("DELETE FROM objects WHERE name=$1::text", {object});
    });
}

void PostgresSettingsStore::PutCatalogueEntry(const std::wstring& object, const std::wstring& kind,
                                              ZRPAR::Params* attributes)
{
    const auto packed = ZRPAR::SerializePacked(attributes ? *attributes : *ZRPAR::CreateParams());
    InTransaction([&] {
        Run("INSERT INTO objects(name, kind, attributes) VALUES ($1::text, $2::text, $3::bytea) "
            "ON CONFLICT(name) DO UPDATE SET kind=excluded.kind, attributes=excluded.attributes",
            {object, kind, packed});
    });
}

std::optional<SettingsStore::CatalogueEntry> PostgresSettingsStore::GetCatalogueEntry(const std::wstring& object)
{
    const Rows rows = Run("SELECT kind, attributes FROM objects WHERE name=$1::text", {object});
    if (rows.Count() == 0) {
        if (!HasObject(object)) return std::nullopt;
        return CatalogueEntry{KindOfName(object), ZRPAR::CreateParams()};
    }
    const auto bytes = rows.Bytes(0, 1);
    try {
        return CatalogueEntry{rows.Text(0, 0), ZRPAR::DeserializePacked(bytes.data(), bytes.size())};
    } catch (const ZRERR::Error& error) {
        Fail(ZRSTD::FormatW(L"the catalogue entry of \"%s\" in the settings store \"%hs\" is damaged: %s", object, Path(),
                            error.GetMessage()));
    }
}

std::optional<std::wstring> PostgresSettingsStore::GetConfig(const std::wstring& key)
{
    const Rows rows = Run("SELECT value FROM console WHERE key=$1::text", {key});
    if (rows.Count() == 0) return std::nullopt;
    return rows.Text(0, 0);
}

void PostgresSettingsStore::SetConfig(const std::wstring& key, const std::wstring& value)
{
    InTransaction([&] {
        Run("INSERT INTO console(key, value) VALUES ($1::text, $2::text) "
            "ON CONFLICT(key) DO UPDATE SET value=excluded.value",
            {key, value});
    });
}

std::vector<std::pair<std::wstring, std::wstring>> PostgresSettingsStore::ListConfig()
{
    const Rows rows = Run("SELECT key, value FROM console ORDER BY key");
    std::vector<std::pair<std::wstring, std::wstring>> values;
    for (int i = 0; i < rows.Count(); ++i) values.emplace_back(rows.Text(i, 0), rows.Text(i, 1));
    return values;
}

void PostgresSettingsStore::Clear()
{
    InTransaction([&] {
        Run("DELETE FROM sections");
        Run("DELETE FROM objects");
        Run("DELETE FROM console");
    });
}

std::vector<std::string> PostgresSettingsStore::IntegrityProblems()
{
    // The server keeps its own pages sound; what it cannot know are the
    // store's rules: one revision counter, ahead of every revision given out.
    std::vector<std::string> problems;
    const Rows counters = Run("SELECT count(*) FROM revision_counter");
    if (counters.Integer(0, 0) != 1)
        problems.push_back("the revision counter has " + std::to_string(counters.Integer(0, 0)) + " rows instead of one");
    const Rows ahead = Run("SELECT count(*) FROM sections WHERE revision > (SELECT coalesce(max(last), 0) FROM "
                           "revision_counter)");
    if (ahead.Integer(0, 0) > 0)
        problems.push_back(std::to_string(ahead.Integer(0, 0)) +
                           " sections carry a revision newer than the revision counter");
    return problems;
}

}  // namespace

ZRSTD::CAutoPtr<SettingsStore> OpenPostgresSettingsStore(const std::string& uri, const SettingsStore::Options& options)
{
    // the location is a URI; the console names itself to the server
    const char* const keywords[] = {"dbname", "fallback_application_name", nullptr};
    const char* const values[] = {uri.c_str(), "ngt-console", nullptr};
    PGconn* connection = PQconnectdbParams(keywords, values, 1);
    if (!connection) Fail(ZRSTD::FormatW(L"cannot connect to the settings store \"%hs\": out of memory", RedactLocation(uri)));
    if (PQstatus(connection) != CONNECTION_OK) {
        const char* password = PQpass(connection);
        const std::string reason = OneLine(PQerrorMessage(connection), password ? password : "");
        PQfinish(connection);
        Fail(ZRSTD::FormatW(L"cannot connect to the settings store \"%hs\": %hs", RedactLocation(uri), reason));
    }
    auto store = ZRSTD::CAutoPtr<PostgresSettingsStore>::Adopt(new PostgresSettingsStore(uri, connection));
    store->Prepare(options);
    return ZRSTD::CAutoPtr<SettingsStore>(store.Get());
}

}  // namespace host
