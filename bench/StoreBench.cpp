// The settings store on each database: applying a 1 MB section (read, then
// replace, as a page's OK does) and listing 10,000 objects with their
// catalogue entries (as `ngt-console list` does). The PostgreSQL cases use a
// database of their own on the server NGT_TEST_POSTGRESQL names
// (scripts/with-postgresql starts one) and are skipped without it.
#include <benchmark/benchmark.h>
#include <libpq-fe.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "host/storage/SettingsStore.h"

namespace {

using ZRSTD::CAutoPtr;

void ExecuteOnServer(const std::string& uri, const std::string& sql)
{
    PGconn* connection = PQconnectdb(uri.c_str());
    PGresult* result = PQexec(connection, sql.c_str());
    PQclear(result);
    PQfinish(connection);
}

// A store that is not there yet, on one of the databases, removed at the end.
class BenchStore {
public:
    BenchStore(bool server, const std::string& name)
    {
        if (!server) {
            m_location = (std::filesystem::temp_directory_path() /
                          ("zr-store-bench-" + std::to_string(::getpid()) + "-" + name + ".db"))
                             .string();
            return;
        }
        const char* uri = std::getenv("NGT_TEST_POSTGRESQL");
        if (!uri || !*uri) return;
        m_server = uri;
        m_database = "zr_store_bench_" + std::to_string(::getpid()) + "_" + name;
        ExecuteOnServer(m_server, "CREATE DATABASE " + m_database);
        const std::size_t authority = m_server.find("://") + 3;
        const std::size_t query = std::min(m_server.find('?', authority), m_server.size());
        const std::size_t path = std::min(m_server.find('/', authority), query);
        m_location = m_server.substr(0, path) + "/" + m_database + m_server.substr(query);
    }
    ~BenchStore()
    {
        if (!m_database.empty()) ExecuteOnServer(m_server, "DROP DATABASE IF EXISTS " + m_database + " WITH (FORCE)");
        else if (!m_location.empty())
            for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(m_location + suffix);
    }
    // "" when the server is not there
    const std::string& Location() const { return m_location; }

private:
    std::string m_server, m_database, m_location;
};

void ApplyOneMegabyte(benchmark::State& state, bool server)
{
    BenchStore bench(server, "apply");
    if (bench.Location().empty()) {
        state.SkipWithError("NGT_TEST_POSTGRESQL is not set (run under scripts/with-postgresql)");
        return;
    }
    auto store = host::SettingsStore::Open(bench.Location());
    std::vector<std::uint8_t> bytes(1 << 20);
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 131 + (i >> 9));
    std::int32_t round = 0;
    for (auto _ : state) {
        auto storage = store->ObjectStorage(L"policy:P");
        ZRSTD::CAutoPtr<ZRPAR::Params> read;
        storage->Read(L"1103", L"1.0.0.0", L"86", &read);
        auto section = ZRPAR::CreateParamsBody(
            {{L"round", ++round}, {L"payload", ZRPAR::binary_wrapper_t{bytes.data(), bytes.size()}}});
        storage->Replace(L"1103", L"1.0.0.0", L"86", section.Get());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(bytes.size()));
}

void ListTenThousand(benchmark::State& state, bool server)
{
    BenchStore bench(server, "list");
    if (bench.Location().empty()) {
        state.SkipWithError("NGT_TEST_POSTGRESQL is not set (run under scripts/with-postgresql)");
        return;
    }
    auto store = host::SettingsStore::Open(bench.Location());
    store->InTransaction([&] {
        const auto attributes = ZRPAR::CreateParamsBody({{L"policy", L"Servers"}, {L"computer_type", 1}});
        for (int i = 0; i < 10000; ++i)
            store->PutCatalogueEntry(L"host:computer-" + std::to_wstring(i), L"host", attributes.Get());
    });
    for (auto _ : state) {
        std::size_t listed = 0;
        for (const auto& object : store->ListObjects()) listed += store->GetCatalogueEntry(object) ? 1 : 0;
        if (listed != 10000) state.SkipWithError("the store lost objects");
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * 10000);
}

BENCHMARK_CAPTURE(ApplyOneMegabyte, SQLite, false)->Name("Store/Apply1MB/SQLite")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ApplyOneMegabyte, PostgreSQL, true)->Name("Store/Apply1MB/PostgreSQL")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ListTenThousand, SQLite, false)->Name("Store/List10000/SQLite")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ListTenThousand, PostgreSQL, true)->Name("Store/List10000/PostgreSQL")->Unit(benchmark::kMillisecond);

}  // namespace
