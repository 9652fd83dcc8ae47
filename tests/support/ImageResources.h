#pragma once

#include <cstdint>
#include <vector>

namespace testsupport {

// The bytes of a bitmap resource as the platform reads them: an information
// header with the width and height (the pixels do not matter).
inline std::vector<std::uint8_t> BitmapHeader(int width, int height)
{
    std::vector<std::uint8_t> bytes(40, 0);
    bytes[0] = 40;
    for (int i = 0; i < 4; ++i) {
        bytes[4 + i] = static_cast<std::uint8_t>(width >> (8 * i));
        bytes[8 + i] = static_cast<std::uint8_t>(height >> (8 * i));
    }
    return bytes;
}

}  // namespace testsupport
