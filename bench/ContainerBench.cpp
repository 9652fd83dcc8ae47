// Decoding and encoding of settings documents, beside memcpy of the same
// bytes and beside JSON parsing and dumping of the same data, in one run.
// Throughput counters are in bytes of each representation; the per-iteration
// time compares the representations for the same data.
#include <benchmark/benchmark.h>

#include <cstring>
#include <nlohmann/json.hpp>

#include "support/NotificationDocument.h"
#include "zrpar/Packed.h"
#include "zrpar/Render.h"
#include "zrstd/Format.h"

namespace {

using ZRSTD::CAutoPtr;

// About 10 MB packed: hosts with the kinds of values stored settings hold.
CAutoPtr<ZRPAR::Params> SyntheticDocument()
{
    using namespace ZRPAR;
    auto root = CreateParams();
    std::vector<std::uint8_t> blob(256);
    for (std::size_t i = 0; i < blob.size(); ++i) blob[i] = static_cast<std::uint8_t>(i * 7);
    for (int host = 0; host < 6000; ++host) {
        auto ports = CreateArrayValue();
        for (int p = 0; p < 8; ++p) ports->Append(CreateValue(13000 + p).Get());
        auto settings = CreateParamsBody({
            {L"ServerAddress", ZRSTD::FormatW(L"server-%d.example.org", host)},
            {L"UseSsl", host % 2 == 0},
            {L"ServerPingTimeout", 900000},
            {L"LastSeen", DateTime{1700000000 + host}},
            {L"Traffic", std::int64_t{host} * 1048576},
            {L"Certificate", binary_wrapper_t{blob.data(), blob.size()}},
            {L"Nagentports", ports},
            {L"Description", std::wstring(400, L'd')},
            {L"Profile", CreateParamsBody({{L"Name", L"Офис"}, {L"Enabled", true}, {L"Priority", host % 10}})},
        });
        root->AddValue(ZRSTD::FormatW(L"host-%05d", host), CreateValue(settings.Get()).Get());
    }
    return root;
}

struct Corpus {
    CAutoPtr<ZRPAR::Params> params;
    std::vector<std::uint8_t> packed;
    std::string json;
};

const Corpus& Notification()
{
    static const Corpus corpus = [] {
        Corpus c{testsupport::NotificationDocument(), {}, {}};
        c.packed = ZRPAR::SerializePacked(*c.params);
        c.json = ZRPAR::RenderJson(*c.params, {.hideSecrets = false});
        return c;
    }();
    return corpus;
}

const Corpus& Synthetic()
{
    static const Corpus corpus = [] {
        Corpus c{SyntheticDocument(), {}, {}};
        c.packed = ZRPAR::SerializePacked(*c.params);
        c.json = ZRPAR::RenderJson(*c.params, {.hideSecrets = false});
        return c;
    }();
    return corpus;
}

template <const Corpus& (*Get)()>
void PackedDecode(benchmark::State& state)
{
    const Corpus& c = Get();
    for (auto _ : state) benchmark::DoNotOptimize(ZRPAR::DeserializePacked(c.packed.data(), c.packed.size()));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * c.packed.size()));
}

template <const Corpus& (*Get)()>
void PackedEncode(benchmark::State& state)
{
    const Corpus& c = Get();
    for (auto _ : state) benchmark::DoNotOptimize(ZRPAR::SerializePacked(*c.params));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * c.packed.size()));
}

template <const Corpus& (*Get)()>
void Memcpy(benchmark::State& state)
{
    const Corpus& c = Get();
    std::vector<std::uint8_t> target(c.packed.size());
    for (auto _ : state) {
        std::memcpy(target.data(), c.packed.data(), c.packed.size());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * c.packed.size()));
}

template <const Corpus& (*Get)()>
void JsonParse(benchmark::State& state)
{
    const Corpus& c = Get();
    for (auto _ : state) benchmark::DoNotOptimize(nlohmann::ordered_json::parse(c.json));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * c.json.size()));
}

template <const Corpus& (*Get)()>
void JsonDump(benchmark::State& state)
{
    const Corpus& c = Get();
    const auto json = nlohmann::ordered_json::parse(c.json);
    for (auto _ : state) benchmark::DoNotOptimize(json.dump());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * c.json.size()));
}

}  // namespace

BENCHMARK(PackedDecode<Notification>)->Name("Notification/PackedDecode");
BENCHMARK(PackedEncode<Notification>)->Name("Notification/PackedEncode");
BENCHMARK(Memcpy<Notification>)->Name("Notification/Memcpy");
BENCHMARK(JsonParse<Notification>)->Name("Notification/JsonParse");
BENCHMARK(JsonDump<Notification>)->Name("Notification/JsonDump");
BENCHMARK(PackedDecode<Synthetic>)->Name("Synthetic10MB/PackedDecode")->Unit(benchmark::kMillisecond);
BENCHMARK(PackedEncode<Synthetic>)->Name("Synthetic10MB/PackedEncode")->Unit(benchmark::kMillisecond);
BENCHMARK(Memcpy<Synthetic>)->Name("Synthetic10MB/Memcpy")->Unit(benchmark::kMillisecond);
BENCHMARK(JsonParse<Synthetic>)->Name("Synthetic10MB/JsonParse")->Unit(benchmark::kMillisecond);
BENCHMARK(JsonDump<Synthetic>)->Name("Synthetic10MB/JsonDump")->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
