#include "zrstd/Trace.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <mutex>
#include <string>

#include "zrstd/Strings.h"

namespace ZRSTD {

namespace {

struct TraceState {
    std::mutex lock;
    std::atomic<int> level{0};
    bool configured = false;
    std::FILE* file = nullptr;  // null: standard error
    TraceSink sink;

    void CloseFile()
    {
        if (file) std::fclose(file);
        file = nullptr;
    }

    // Called with the lock held.
    void Configure()
    {
        CloseFile();
        configured = true;
        int wanted = 0;
        const char* value = std::getenv("ZRNGTPLG_TRACE");
        if (value && *value) {
            char* end = nullptr;
            const long parsed = std::strtol(value, &end, 10);
            if (end != value && parsed > 0) wanted = static_cast<int>(std::min(parsed, 9L));
            if (wanted > 0 && end && *end == ':' && end[1]) {
                file = std::fopen(end + 1, "a");
                if (!file) {
                    std::fprintf(stderr, "ZRNGTPLG: cannot open trace file %s, tracing to standard error\n", end + 1);
                }
            }
        }
        level.store(wanted, std::memory_order_relaxed);
    }
};

TraceState& State()
{
    static TraceState* state = new TraceState;  // lives until exit: traces may come from static destructors
    return *state;
}

std::once_flag g_configured;

void EnsureConfigured()
{
    std::call_once(g_configured, [] {
        TraceState& s = State();
        std::lock_guard guard(s.lock);
        if (!s.configured) s.Configure();
    });
}

}  // namespace

bool TraceEnabled(int level)
{
    EnsureConfigured();
    return level > 0 && level <= State().level.load(std::memory_order_relaxed);
}

void TraceWrite(int level, std::string_view module, std::wstring_view text)
{
    TraceState& s = State();
    std::lock_guard guard(s.lock);
    if (s.sink) {
        s.sink(level, module, text);
        return;
    }
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto millis =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    std::tm local{};
    localtime_r(&seconds, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%H:%M:%S", &local);
    std::string line = ToUtf8(text);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    std::FILE* out = s.file ? s.file : stderr;
    std::fprintf(out, "%s.%03d [%.*s] L%d %s\n", stamp, static_cast<int>(millis), static_cast<int>(module.size()),
                 module.data(), level, line.c_str());
    std::fflush(out);
}

void SetTraceSink(TraceSink sink, int level)
{
    EnsureConfigured();
    TraceState& s = State();
    std::lock_guard guard(s.lock);
    if (sink) {
        s.sink = std::move(sink);
        s.level.store(level, std::memory_order_relaxed);
    } else {
        s.sink = nullptr;
        s.Configure();
    }
}

void ReloadTraceConfiguration()
{
    EnsureConfigured();
    TraceState& s = State();
    std::lock_guard guard(s.lock);
    s.sink = nullptr;
    s.Configure();
}

}  // namespace ZRSTD
