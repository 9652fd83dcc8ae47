#pragma once

// The two databases a settings store can live in, for tests that run once on
// each: an SQLite file in the test's folder, and a database of the test's own
// on the PostgreSQL server that NGT_TEST_POSTGRESQL names (scripts/with-postgresql
// starts one). Without that variable the PostgreSQL cases report themselves
// skipped.
#include <gtest/gtest.h>
#include <libpq-fe.h>
#include <sqlite3.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace testsupport {

// The server the PostgreSQL cases use, or "" when there is none.
inline std::string PostgresServer()
{
    const char* uri = std::getenv("NGT_TEST_POSTGRESQL");
    return uri ? uri : "";
}

inline constexpr const char* kNoPostgresServer =
    "no PostgreSQL server: NGT_TEST_POSTGRESQL is not set (scripts/with-postgresql sets it)";

// The URI with its database replaced: postgresql://AUTHORITY/DATABASE?PARAMETERS.
inline std::string WithDatabase(const std::string& uri, const std::string& database)
{
    const std::size_t authority = uri.find("://") + 3;
    const std::size_t query = std::min(uri.find('?', authority), uri.size());
    const std::size_t path = std::min(uri.find('/', authority), query);
    return uri.substr(0, path) + "/" + database + uri.substr(query);
}

// Runs SQL on a connection of its own; a failure fails the test.
inline void ExecutePostgres(const std::string& uri, const std::string& sql)
{
    PGconn* connection = PQconnectdb(uri.c_str());
    if (PQstatus(connection) != CONNECTION_OK) {
        ADD_FAILURE() << "cannot connect to " << uri << ": " << PQerrorMessage(connection);
        PQfinish(connection);
        return;
    }
    PQsetNoticeProcessor(connection, [](void*, const char*) {}, nullptr);
    PGresult* result = PQexec(connection, sql.c_str());
    const ExecStatusType status = PQresultStatus(result);
    EXPECT_TRUE(status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK) << sql << ": " << PQerrorMessage(connection);
    PQclear(result);
    PQfinish(connection);
}

// A database made for one test on the server, dropped with everything in it at the end.
class PostgresTestDatabase {
public:
    explicit PostgresTestDatabase(std::string server) : m_server(std::move(server))
    {
        static std::atomic<unsigned> made{0};
        m_name = "ngt_test_" + std::to_string(::getpid()) + "_" + std::to_string(++made);
        ExecutePostgres(m_server, "CREATE DATABASE " + m_name);
        m_uri = WithDatabase(m_server, m_name);
    }
    ~PostgresTestDatabase() { ExecutePostgres(m_server, "DROP DATABASE IF EXISTS " + m_name + " WITH (FORCE)"); }
    PostgresTestDatabase(const PostgresTestDatabase&) = delete;
    PostgresTestDatabase& operator=(const PostgresTestDatabase&) = delete;

    const std::string& Uri() const { return m_uri; }
    const std::string& Name() const { return m_name; }
    void Execute(const std::string& sql) const { ExecutePostgres(m_uri, sql); }

private:
    std::string m_server;
    std::string m_name;
    std::string m_uri;
};

// A store location per backend, with raw SQL on it behind the store's back.
class SqliteBackend {
public:
    static constexpr const char* kName = "SQLite";
    static std::string Unavailable() { return ""; }

    SqliteBackend()
    {
        static std::atomic<unsigned> made{0};
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        m_folder = std::filesystem::path(::testing::TempDir()) /
                   ("store-" + std::to_string(::getpid()) + "-" + std::to_string(++made) + "-" + test->name());
        std::filesystem::remove_all(m_folder);
        std::filesystem::create_directories(m_folder);
    }
    ~SqliteBackend() { std::filesystem::remove_all(m_folder); }

    // A store that is not there yet; each name is another store.
    std::string Location(const std::string& name = "console") { return (m_folder / (name + ".db")).string(); }
    void Execute(const std::string& location, const std::string& sql)
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(location.c_str(), &db), SQLITE_OK);
        sqlite3_busy_timeout(db, 5000);
        char* message = nullptr;
        EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message), SQLITE_OK) << sql << ": " << message;
        sqlite3_free(message);
        sqlite3_close(db);
    }
    static std::string Bytes(const std::string& hex) { return "x'" + hex + "'"; }
    static std::string RecordSchemaVersion(int version) { return "PRAGMA user_version=" + std::to_string(version); }

private:
    std::filesystem::path m_folder;
};

class PostgresBackend {
public:
    static constexpr const char* kName = "PostgreSQL";
    static std::string Unavailable() { return PostgresServer().empty() ? kNoPostgresServer : ""; }

    std::string Location(const std::string& name = "console")
    {
        for (auto& [given, database] : m_databases)
            if (given == name) return database->Uri();
        m_databases.emplace_back(name, std::make_unique<PostgresTestDatabase>(PostgresServer()));
        return m_databases.back().second->Uri();
    }
    void Execute(const std::string& location, const std::string& sql) { ExecutePostgres(location, sql); }
    static std::string Bytes(const std::string& hex) { return "'\\x" + hex + "'::bytea"; }
    static std::string RecordSchemaVersion(int version)
    {
        return "UPDATE schema_version SET version=" + std::to_string(version);
    }

private:
    std::vector<std::pair<std::string, std::unique_ptr<PostgresTestDatabase>>> m_databases;
};

struct BackendNames {
    template <typename Backend>
    static std::string GetName(int) { return Backend::kName; }
};

}  // namespace testsupport
