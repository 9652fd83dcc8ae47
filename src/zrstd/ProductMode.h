#pragma once

#include <cstdint>

#include "zrstd/Api.h"

// The product mode the console runs in: a mask of the maker's editions. Bit 1
// (value 2) is the edition without real-time vulnerability assessment. The
// console host sets it from its configuration; 0 until then.
ZR_API std::uint32_t ZRSTD_GetQmcMode();
ZR_API void ZRSTD_SetQmcMode(std::uint32_t mode);
