// The settings store in one SQLite file.
#include <sqlite3.h>

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

std::wstring Explain(sqlite3* db, int code, const std::string& path)
{
    const std::string detail = db ? sqlite3_errmsg(db) : sqlite3_errstr(code);
    switch (code & 0xFF) {
    case SQLITE_NOTADB:
        return ZRSTD::FormatW(L"\"%hs\" is not a settings store (not an SQLite database)", path);
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return ZRSTD::FormatW(L"the settings store \"%hs\" is locked by another process", path);
    case SQLITE_READONLY:
        return ZRSTD::FormatW(L"the settings store \"%hs\" is read-only", path);
    case SQLITE_CANTOPEN:
        return ZRSTD::FormatW(L"the settings store \"%hs\" cannot be opened: %hs", path, detail);
    case SQLITE_CORRUPT:
        return ZRSTD::FormatW(L"the settings store \"%hs\" is damaged: %hs", path, detail);
    case SQLITE_FULL:
        return ZRSTD::FormatW(L"the disk holding the settings store \"%hs\" is full", path);
    default:
        return ZRSTD::FormatW(L"the settings store \"%hs\" failed: %hs", path, detail);
    }
}

class Statement {
public:
    Statement(sqlite3* db, const std::string& path, const char* sql) : m_db(db), m_path(path)
    {
        const int code = sqlite3_prepare_v2(db, sql, -1, &m_statement, nullptr);
        if (code != SQLITE_OK) Fail(Explain(db, code, path));
    }
    ~Statement() { sqlite3_finalize(m_statement); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& Bind(int index, const std::wstring& text)
    {
        const std::string utf8 = ZRSTD::ToUtf8(text);
        Check(sqlite3_bind_text(m_statement, index, utf8.data(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT));
        return *this;
    }
    Statement& Bind(int index, std::int64_t number)
    {
        Check(sqlite3_bind_int64(m_statement, index, number));
        return *this;
    }
    Statement& Bind(int index, const std::vector<std::uint8_t>& bytes)
    {
        Check(sqlite3_bind_blob64(m_statement, index, bytes.data(), bytes.size(), SQLITE_TRANSIENT));
        return *this;
    }
    // True while a row is there.
    bool Step()
    {
        const int code = sqlite3_step(m_statement);
        if (code == SQLITE_ROW) return true;
        if (code == SQLITE_DONE) return false;
        Fail(Explain(m_db, code, m_path));
    }
    std::wstring Text(int column) const
    {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
        return text ? ZRSTD::FromUtf8(std::string_view(text, sqlite3_column_bytes(m_statement, column))) : L"";
    }
    std::string Narrow(int column) const
    {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
        return text ? std::string(text) : std::string();
    }
    std::vector<std::uint8_t> Blob(int column) const
    {
        const auto* data = static_cast<const std::uint8_t*>(sqlite3_column_blob(m_statement, column));
        return std::vector<std::uint8_t>(data, data + sqlite3_column_bytes(m_statement, column));
    }
    int Int(int column) const { return sqlite3_column_int(m_statement, column); }
    std::int64_t Int64(int column) const { return sqlite3_column_int64(m_statement, column); }

private:
    void Check(int code)
    {
        if (code != SQLITE_OK) Fail(Explain(m_db, code, m_path));
    }
    sqlite3* m_db;
    const std::string& m_path;
    sqlite3_stmt* m_statement = nullptr;
};

void Execute(sqlite3* db, const std::string& path, const char* sql)
{
    char* message = nullptr;
    const int code = sqlite3_exec(db, sql, nullptr, nullptr, &message);
    sqlite3_free(message);
    if (code != SQLITE_OK) Fail(Explain(db, code, path));
}

class SqliteSettingsStore : public SettingsStore {
public:
    SqliteSettingsStore(std::string path, sqlite3* db) : SettingsStore(path), m_path(std::move(path)), m_db(db) {}
    ~SqliteSettingsStore() override { sqlite3_close_v2(m_db); }

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
    bool OnServer() const override { return false; }

    sqlite3* Handle() const { return m_db; }
    void PrepareSchema(const Options& options);

private:
    void EnterWalMode(int busyTimeoutMs);
    // Brings the schema from version up to kSchemaVersion, inside the caller's transaction.
    void Migrate(int version);

    std::string m_path;
    sqlite3* m_db;
    int m_transactionDepth = 0;
};

class StoreRows : public SectionRows {
public:
    StoreRows(ZRSTD::CAutoPtr<SqliteSettingsStore> store, std::wstring object)
        : m_store(std::move(store)), m_object(std::move(object))
    {
    }

    std::optional<StoredSection> Get(const SectionKey& key) override
    {
        Statement select(Db(), m_store->Path(),
                         "SELECT data, revision FROM sections WHERE object=?1 AND product=?2 AND version=?3 AND section=?4");
        select.Bind(1, m_object).Bind(2, key.product).Bind(3, key.version).Bind(4, key.section);
        if (!select.Step()) return std::nullopt;
        return StoredSection{select.Blob(0), select.Int64(1)};
    }
    std::int64_t Put(const SectionKey& key, const std::vector<std::uint8_t>& packed) override
    {
        std::int64_t revision = 0;
        m_store->InTransaction([&] {
            {
                Statement next(Db(), m_store->Path(), "UPDATE revision_counter SET last=last+1 RETURNING last");
                if (!next.Step())
                    Fail(ZRSTD::FormatW(L"the settings store \"%hs\" is damaged: its revision counter is missing",
                                        m_store->Path()));
                revision = next.Int64(0);
            }
            Statement upsert(Db(), m_store->Path(),
                             "INSERT INTO sections(object, product, version, section, data, revision) "
                             "VALUES (?1, ?2, ?3, ?4, ?5, ?6) ON CONFLICT(object, product, version, section) "
                             "DO UPDATE SET data=excluded.data, revision=excluded.revision");
            upsert.Bind(1, m_object).Bind(2, key.product).Bind(3, key.version).Bind(4, key.section).Bind(5, packed);
            upsert.Bind(6, revision).Step();
        });
        return revision;
    }
    void Delete(const SectionKey& key) override
    {
        Statement remove(Db(), m_store->Path(),
                         "DELETE FROM sections WHERE object=?1 AND product=?2 AND version=?3 AND section=?4");
        remove.Bind(1, m_object).Bind(2, key.product).Bind(3, key.version).Bind(4, key.section);
        remove.Step();
    }
    std::vector<SectionKey> Keys(const std::wstring& product, const std::wstring& version) override
    {
        Statement select(Db(), m_store->Path(),
                         "SELECT product, version, section FROM sections WHERE object=?1 AND product=?2 "
                         "AND (?3 = '' OR version=?3) ORDER BY version, section");
        select.Bind(1, m_object).Bind(2, product).Bind(3, version);
        std::vector<SectionKey> keys;
        while (select.Step()) keys.push_back({select.Text(0), select.Text(1), select.Text(2)});
        return keys;
    }
    void InTransaction(const std::function<void()>& work) override { m_store->InTransaction(work); }
    std::wstring Describe() const override
    {
        return ZRSTD::FormatW(L"\"%s\" in the settings store \"%hs\"", m_object, m_store->Path());
    }

private:
    sqlite3* Db() const { return m_store->Handle(); }
    ZRSTD::CAutoPtr<SqliteSettingsStore> m_store;
    std::wstring m_object;
};

}  // namespace

ZRSTD::CAutoPtr<SettingsStore> OpenSqliteSettingsStore(const std::string& path, const SettingsStore::Options& options)
{
    sqlite3* db = nullptr;
    const int create = options.create ? SQLITE_OPEN_CREATE : 0;
    const int flags = (options.readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | create) | SQLITE_OPEN_FULLMUTEX;
    const int code = sqlite3_open_v2(path.c_str(), &db, flags, nullptr);
    if (code != SQLITE_OK) {
        const std::wstring message = Explain(db, code, path);
        sqlite3_close_v2(db);
        Fail(message);
    }
    auto store = ZRSTD::CAutoPtr<SqliteSettingsStore>::Adopt(new SqliteSettingsStore(path, db));
    sqlite3_busy_timeout(db, options.busyTimeoutMs);
    sqlite3_extended_result_codes(db, 1);
    if (!options.readOnly && sqlite3_db_readonly(db, "main") == 1)
        Fail(ZRSTD::FormatW(L"the settings store \"%hs\" is read-only", path));
    store->PrepareSchema(options);
    return ZRSTD::CAutoPtr<SettingsStore>(store.Get());
}

namespace {

void SqliteSettingsStore::PrepareSchema(const Options& options)
{
    const auto refuseNewer = [&](int version) {
        if (version > kSchemaVersion)
            Fail(ZRSTD::FormatW(L"the settings store \"%hs\" has schema version %d; this program knows versions up to %d",
                                m_path, version, kSchemaVersion));
    };
    const int found = SchemaVersion();  // the first read: a file that is not a database fails here
    refuseNewer(found);
    if (options.readOnly) {
        if (found == 0) Fail(ZRSTD::FormatW(L"the settings store \"%hs\" is not initialised", m_path));
        if (found < kSchemaVersion)
            Fail(ZRSTD::FormatW(L"the settings store \"%hs\" has schema version %d: open it once for writing to bring "
                                L"it to version %d",
                                m_path, found, kSchemaVersion));
        return;
    }
    EnterWalMode(options.busyTimeoutMs);
    Execute(m_db, m_path, "PRAGMA synchronous=FULL");
    if (found == kSchemaVersion) return;
    // Other processes may be creating or migrating the same file at this
    // moment: the version read under the write lock is the one to start from,
    // and the whole migration is one transaction.
    InTransaction([&] {
        const int version = SchemaVersion();
        refuseNewer(version);
        if (version == kSchemaVersion) return;
        Migrate(version);
        Execute(m_db, m_path, ("PRAGMA user_version=" + std::to_string(kSchemaVersion)).c_str());
    });
}

void SqliteSettingsStore::EnterWalMode(int busyTimeoutMs)
{
    // Switching a file to WAL needs it for a moment alone, and SQLite does not
    // wait for that through the busy timeout: processes that open a fresh file
    // together wait here instead.
    constexpr int kPauseMs = 5;
    for (int waited = 0;; waited += kPauseMs) {
        const int code = sqlite3_exec(m_db, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
        if (code == SQLITE_OK) return;
        if ((code & 0xFF) != SQLITE_BUSY || waited >= busyTimeoutMs) Fail(Explain(m_db, code, m_path));
        sqlite3_sleep(kPauseMs);
    }
}

void SqliteSettingsStore::Migrate(int version)
{
    if (version < 1) {
        Execute(m_db, m_path,
                "CREATE TABLE sections(object TEXT NOT NULL, product TEXT NOT NULL, version TEXT NOT NULL, "
                "section TEXT NOT NULL, data BLOB NOT NULL, PRIMARY KEY(object, product, version, section)) "
                "WITHOUT ROWID");
    }
    if (version < 2) {
        // the catalogue: objects stored before it get an entry of the kind their name gives
        Execute(m_db, m_path, "CREATE TABLE objects(name TEXT PRIMARY KEY, kind TEXT NOT NULL, attributes BLOB NOT NULL)");
        Execute(m_db, m_path, "CREATE TABLE console(key TEXT PRIMARY KEY, value TEXT NOT NULL)");
        const std::vector<std::uint8_t> none = ZRPAR::SerializePacked(*ZRPAR::CreateParams());
        Statement existing(m_db, m_path, "SELECT DISTINCT object FROM sections");
        std::vector<std::wstring> objects;
        while (existing.Step()) objects.push_back(existing.Text(0));
        for (const auto& object : objects) {
            Statement insert(m_db, m_path, "INSERT INTO objects(name, kind, attributes) VALUES (?1, ?2, ?3)");
            insert.Bind(1, object).Bind(2, KindOfName(object)).Bind(3, none);
            insert.Step();
        }
    }
    if (version < 3) {
        // Every row carries a revision, drawn from one counter of the store so
        // that a section deleted and stored again never repeats a revision a
        // reader still remembers.
        Execute(m_db, m_path, "ALTER TABLE sections ADD COLUMN revision INTEGER NOT NULL DEFAULT 1");
        Execute(m_db, m_path, "CREATE TABLE revision_counter(last INTEGER NOT NULL)");
        Execute(m_db, m_path, "INSERT INTO revision_counter(last) VALUES (1)");
    }
}

int SqliteSettingsStore::SchemaVersion()
{
    Statement pragma(m_db, m_path, "PRAGMA user_version");
    return pragma.Step() ? pragma.Int(0) : 0;
}

void SqliteSettingsStore::InTransaction(const std::function<void()>& work)
{
    if (m_transactionDepth > 0) {
        work();
        return;
    }
    Execute(m_db, m_path, "BEGIN IMMEDIATE");
    ++m_transactionDepth;
    try {
        work();
        --m_transactionDepth;
        Execute(m_db, m_path, "COMMIT");
    } catch (...) {
        if (m_transactionDepth > 0) --m_transactionDepth;
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

ZRSTD::CAutoPtr<ZRPlugin::SettingsStorage> SqliteSettingsStore::ObjectStorage(const std::wstring& object)
{
    return ZRSTD::MakeRef<SectionStorage>(std::make_unique<StoreRows>(ZRSTD::CAutoPtr<SqliteSettingsStore>(this), object));
}

std::vector<std::wstring> SqliteSettingsStore::ListObjects()
{
    Statement select(m_db, m_path,
                     "SELECT name FROM objects UNION SELECT DISTINCT object FROM sections ORDER BY 1");
    std::vector<std::wstring> objects;
    while (select.Step()) objects.push_back(select.Text(0));
    return objects;
}

std::vector<SectionKey> SqliteSettingsStore::ListSections(const std::wstring& object)
{
    Statement select(m_db, m_path,
                     "SELECT product, version, section FROM sections WHERE object=?1 AND section <> '' "
                     "ORDER BY product, version, section");
    select.Bind(1, object);
    std::vector<SectionKey> sections;
    while (select.Step()) sections.push_back({select.Text(0), select.Text(1), select.Text(2)});
    return sections;
}

bool SqliteSettingsStore::HasObject(const std::wstring& object)
{
    Statement select(m_db, m_path,
                     "SELECT 1 WHERE EXISTS (SELECT 1 FROM objects WHERE name=?1) "
                     "OR EXISTS (SELECT 1 FROM sections WHERE object=?1)");
    select.Bind(1, object);
    return select.Step();
}

void SqliteSettingsStore::DeleteObject(const std::wstring& object)
{
    InTransaction([&] {
        Statement remove(m_db, m_path, "DELETE FROM sections WHERE object=?1");
        remove.Bind(1, object);
        remove.Step();
        Statement forget(m_db, m_path, "DELETE FROM objects WHERE name=?1");
        forget.Bind(1, object);
        forget.Step();
    });
}

void SqliteSettingsStore::PutCatalogueEntry(const std::wstring& object, const std::wstring& kind, ZRPAR::Params* attributes)
{
    const auto packed = ZRPAR::SerializePacked(attributes ? *attributes : *ZRPAR::CreateParams());
    InTransaction([&] {
        Statement upsert(m_db, m_path,
                         "INSERT INTO objects(name, kind, attributes) VALUES (?1, ?2, ?3) "
                         "ON CONFLICT(name) DO UPDATE SET kind=excluded.kind, attributes=excluded.attributes");
        upsert.Bind(1, object).Bind(2, kind).Bind(3, packed);
        upsert.Step();
    });
}

std::optional<SettingsStore::CatalogueEntry> SqliteSettingsStore::GetCatalogueEntry(const std::wstring& object)
{
    Statement select(m_db, m_path, "SELECT kind, attributes FROM objects WHERE name=?1");
    select.Bind(1, object);
    if (!select.Step()) {
        if (!HasObject(object)) return std::nullopt;
        return CatalogueEntry{KindOfName(object), ZRPAR::CreateParams()};
    }
    const auto bytes = select.Blob(1);
    try {
        return CatalogueEntry{select.Text(0), ZRPAR::DeserializePacked(bytes.data(), bytes.size())};
    } catch (const ZRERR::Error& error) {
        Fail(ZRSTD::FormatW(L"the catalogue entry of \"%s\" in the settings store \"%hs\" is damaged: %s", object,
                            m_path, error.GetMessage()));
    }
}

std::optional<std::wstring> SqliteSettingsStore::GetConfig(const std::wstring& key)
{
    Statement select(m_db, m_path, "SELECT value FROM console WHERE key=?1");
    select.Bind(1, key);
    if (!select.Step()) return std::nullopt;
    return select.Text(0);
}

void SqliteSettingsStore::SetConfig(const std::wstring& key, const std::wstring& value)
{
    InTransaction([&] {
        Statement upsert(m_db, m_path,
                         "INSERT INTO console(key, value) VALUES (?1, ?2) ON CONFLICT(key) DO UPDATE SET value=excluded.value");
        upsert.Bind(1, key).Bind(2, value);
        upsert.Step();
    });
}

std::vector<std::string> SqliteSettingsStore::IntegrityProblems()
{
    Statement check(m_db, m_path, "PRAGMA integrity_check");
    std::vector<std::string> problems;
    while (check.Step()) {
        const std::string line = check.Narrow(0);
        if (line != "ok") problems.push_back(line);
    }
    return problems;
}

void SqliteSettingsStore::Clear()
{
    InTransaction([&] {
        Execute(m_db, m_path, "DELETE FROM sections");
        Execute(m_db, m_path, "DELETE FROM objects");
        Execute(m_db, m_path, "DELETE FROM console");
    });
}

std::vector<std::pair<std::wstring, std::wstring>> SqliteSettingsStore::ListConfig()
{
    Statement select(m_db, m_path, "SELECT key, value FROM console ORDER BY key");
    std::vector<std::pair<std::wstring, std::wstring>> values;
    while (select.Step()) values.emplace_back(select.Text(0), select.Text(1));
    return values;
}

}  // namespace

}  // namespace host
