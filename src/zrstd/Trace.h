#pragma once

#include <functional>
#include <string_view>

#include "zrstd/Api.h"
#include "zrstd/Format.h"

// The maker's trace facility. Lines carry a module name and a level; a line is
// written when its level is at or below the configured one (1 is the most
// important, 5 the most detailed). Tracing is off unless the environment
// variable ZRNGTPLG_TRACE names a level, optionally followed by ':' and a file
// (e.g. "5:/tmp/ngt.trace"); without a file lines go to standard error.
//
// Callers never pass a password or a protected value: container dumps hide
// them (see ZRPARLOG_LogParams2).
namespace ZRSTD {

inline constexpr const char* kTraceModule = "ZRNGTPLG";

using TraceSink = std::function<void(int level, std::string_view module, std::wstring_view text)>;

ZR_API bool TraceEnabled(int level);
ZR_API void TraceWrite(int level, std::string_view module, std::wstring_view text);

// Replaces the configured output with a sink that receives lines up to level
// (tests read traces through it); an empty sink restores the configuration.
ZR_API void SetTraceSink(TraceSink sink, int level);

// Reads ZRNGTPLG_TRACE again (it is read once on first use otherwise).
ZR_API void ReloadTraceConfiguration();

template <class... A>
void Trace(int level, std::wstring_view format, const A&... args)
{
    if (TraceEnabled(level)) TraceWrite(level, kTraceModule, FormatW(format, args...));
}

template <class... A>
void TraceModule(int level, std::string_view module, std::wstring_view format, const A&... args)
{
    if (TraceEnabled(level)) TraceWrite(level, module, FormatW(format, args...));
}

}  // namespace ZRSTD
