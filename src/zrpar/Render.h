#pragma once

#include <string>

#include "zrpar/Params.h"

// Readable renderings of a container for people (an indented tree) and tools
// (JSON, names in container order). Byte blocks appear as base64, date-times
// as ISO 8601 UTC.
namespace ZRPAR {

struct RenderOptions {
    // Values whose names mark them as secrets (IsSecretName) are shown as
    // "<hidden>" with their type and size only.
    bool hideSecrets = true;
};

// Names of values that hold passwords, protected data or keys.
ZR_API bool IsSecretName(std::wstring_view name);

// One line per value: "name (type): value"; containers and arrays open an
// indented block. UTF-8.
ZR_API std::string RenderText(const Params& params, const RenderOptions& options = {});
// A JSON object; containers are objects, arrays are arrays. UTF-8, indented by two.
ZR_API std::string RenderJson(const Params& params, const RenderOptions& options = {});

ZR_API std::wstring FormatDateTimeUtc(std::int64_t seconds);

}  // namespace ZRPAR

// Traces a container at a level, one line per value, secrets hidden.
ZR_API void ZRPARLOG_LogParams2(int level, const char* module, const ZRPAR::Params* params);
