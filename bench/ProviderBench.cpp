// Typed reads and writes by four-part keys on a policy of 10,000 settings, and
// committing a 1 MB section to the SQLite store and to memory.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "host/storage/SettingsStore.h"
#include "nhpp/ParamsProviderPolicy.h"
#include "zrstd/Format.h"

namespace {

using ZRSTD::CAutoPtr;

std::vector<std::wstring> Keys()
{
    std::vector<std::wstring> keys;
    for (int a = 0; a < 10; ++a)
        for (int b = 0; b < 10; ++b)
            for (int c = 0; c < 10; ++c)
                for (int d = 0; d < 10; ++d) keys.push_back(ZRSTD::FormatW(L"Section%d\rGroup%d\rSet%d\rValue%d", a, b, c, d));
    return keys;
}

CAutoPtr<NHPP::CParams> PolicyOf(const std::vector<std::wstring>& keys)
{
    CAutoPtr<NHPP::CParams> provider;
    NHPP::CParamsProviderPolicy::Create(nullptr, nullptr, nullptr, nullptr)->CreateInstance(&provider, nullptr, false);
    for (std::size_t i = 0; i < keys.size(); ++i) provider->SetInt(keys[i].c_str(), static_cast<std::int32_t>(i), i % 2 == 0);
    return provider;
}

void PolicyRead(benchmark::State& state)
{
    const auto keys = Keys();
    auto provider = PolicyOf(keys);
    std::size_t i = 0;
    for (auto _ : state) {
        NHPP::PolicyLockInfo lock;
        std::int32_t value = 0;
        benchmark::DoNotOptimize(provider->GetInt(keys[i++ % keys.size()].c_str(), value, &lock));
    }
    state.SetItemsProcessed(state.iterations());
}

void PolicyWrite(benchmark::State& state)
{
    const auto keys = Keys();
    auto provider = PolicyOf(keys);
    std::size_t i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(provider->SetInt(keys[i++ % keys.size()].c_str(), 5, true));
    state.SetItemsProcessed(state.iterations());
}

CAutoPtr<ZRPAR::Params> MegabyteSection()
{
    auto section = ZRPAR::CreateParams();
    const std::vector<std::uint8_t> block(1024, 0x5A);
    for (int i = 0; i < 1000; ++i)
        section->AddValue(ZRSTD::FormatW(L"Block%d", i), ZRPAR::CreateValue(ZRPAR::binary_wrapper_t{block.data(), block.size()}).Get());
    return section;
}

void ApplyTo(benchmark::State& state, ZRPlugin::SettingsStorage* storage)
{
    auto provider = NHPP::CParamsProviderPolicy::Create(storage, L"1103", L"1.0.0.0", L"86");
    provider->SetParams(L"Data", MegabyteSection().Get(), false);
    for (auto _ : state) benchmark::DoNotOptimize(provider->Apply(false, nullptr));
    state.SetBytesProcessed(state.iterations() * 1024 * 1000);
}

void ApplyToMemory(benchmark::State& state) { ApplyTo(state, host::CreateMemorySettingsStorage().Get()); }

void ApplyToSqlite(benchmark::State& state)
{
    const auto path = std::filesystem::temp_directory_path() / "zr-provider-bench.db";
    std::filesystem::remove(path);
    {
        auto store = host::SettingsStore::Open(path.string());
        ApplyTo(state, store->ObjectStorage(L"policy:bench").Get());
    }
    for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(path.string() + suffix);
}

}  // namespace

BENCHMARK(PolicyRead)->Name("Policy10000/GetInt");
BENCHMARK(PolicyWrite)->Name("Policy10000/SetInt");
BENCHMARK(ApplyToMemory)->Name("Apply1MB/Memory")->Unit(benchmark::kMillisecond);
BENCHMARK(ApplyToSqlite)->Name("Apply1MB/Sqlite")->Unit(benchmark::kMillisecond);
