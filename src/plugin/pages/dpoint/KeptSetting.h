#pragma once

#include <cstdint>

#include "nhpp/CParams.h"

// A setting as a distribution point page read it. A value stored with
// another type than the page's (or one that could not be read) is shown as
// the page's default, but it is not the page's to replace: apply writes it
// only once the administrator changed what the page shows for it.
template <class T>
struct KeptSetting {
    T value{};
    bool foreign = false;  // the store holds something else under the key

    // Whether apply writes shown over the stored value.
    bool Writes(const T& shown) const { return !foreign || shown != value; }
};

namespace dpoint {

inline KeptSetting<bool> ReadBool(NHPP::CParams& settings, const wchar_t* key, bool fallback, NHPP::PolicyLockInfo* lock)
{
    KeptSetting<bool> read{fallback, false};
    bool value = false;
    const NHPP::HResult result = settings.GetBool(key, value, lock);
    if (result == NHPP::kOk) read.value = value;
    else read.foreign = result != NHPP::kFalse;
    return read;
}

inline KeptSetting<std::int32_t> ReadInt(NHPP::CParams& settings, const wchar_t* key, std::int32_t fallback,
                                         NHPP::PolicyLockInfo* lock)
{
    KeptSetting<std::int32_t> read{fallback, false};
    std::int32_t value = 0;
    const NHPP::HResult result = settings.GetInt(key, value, lock);
    if (result == NHPP::kOk) read.value = value;
    else read.foreign = result != NHPP::kFalse;
    return read;
}

}  // namespace dpoint
