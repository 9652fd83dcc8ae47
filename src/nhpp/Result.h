#pragma once

#include <cstdint>

namespace NHPP {

// Result codes of the providers. Readers treat anything but kOk as "use the
// page's own default".
using HResult = std::int32_t;
inline constexpr HResult kOk = 0;
inline constexpr HResult kFalse = 1;                                          // absent, or not applicable here
inline constexpr HResult kUnexpected = static_cast<HResult>(0x8000FFFFu);     // another type, or an empty path
inline constexpr HResult kInvalidArg = static_cast<HResult>(0x80070057u);     // a null key, out-parameter or container
inline constexpr HResult kFail = static_cast<HResult>(0x80004005u);           // writing, applying or lock data failed

inline bool Succeeded(HResult result) { return result >= 0; }

}  // namespace NHPP
