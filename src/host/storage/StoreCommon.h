#pragma once

// What the settings store's implementations share: their error and the kind
// an object's name gives.
#include <string>

#include "zrstd/Error.h"

namespace host::store_common {

constexpr const char* kModule = "ZRHOST";
constexpr long kStoreError = 0x2003;

[[noreturn]] inline void Fail(const std::wstring& message) { ZRERR_throwLocalizedError(kModule, kStoreError, message); }

// "policy" of "policy:Default policy"; the whole name when it has no kind.
inline std::wstring KindOfName(const std::wstring& object)
{
    const auto colon = object.find(L':');
    return colon == std::wstring::npos ? object : object.substr(0, colon);
}

}  // namespace host::store_common
