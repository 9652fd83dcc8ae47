#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "zrpar/Params.h"

// The packed binary form of a container:
//
//   offset 0   16 bytes  magic "<!--ZRPARBIN -->"
//   offset 16  u32       header size, 28
//   offset 20  u32       1
//   offset 24  u32       1
//   offset 28  ...       the root container
//
// All integers are little-endian. A container is a u32 count and that many
// entries; an entry is a u32 name length in UTF-16 code units, the name in
// UTF-16LE, one type byte and the value. The type byte is the value type plus
// one:
//
//   0x01 empty (array slots only)  no payload
//   0x02 string    u32 length in code units, UTF-16LE text
//   0x03 bool      one byte, 0 or 1
//   0x04 int       4 bytes, signed
//   0x05 long      8 bytes, signed
//   0x06 datetime  8 bytes, signed seconds since 1970 UTC
//   0x08 binary    u32 length, the bytes
//   0x0B container a nested container
//   0x0C array     u32 element count, then per element a type byte and the value
//
// Reading rejects anything else with module "ZRPAR" kMalformed and the offset
// of the fault: a wrong magic or header, a count or length beyond the bytes
// left, an unknown type byte, a bool other than 0 or 1, a name repeated in one
// container, trailing bytes, and nesting beyond kMaxDepth.
namespace ZRPAR {

inline constexpr std::string_view kPackedMagic = "<!--ZRPARBIN -->";
inline constexpr std::size_t kPackedHeaderSize = 28;

ZR_API std::vector<std::uint8_t> SerializePacked(const Params& params);
ZR_API CAutoPtr<Params> DeserializePacked(const std::uint8_t* data, std::size_t size);

// True when the bytes start with the packed magic.
ZR_API bool LooksPacked(const std::uint8_t* data, std::size_t size);

}  // namespace ZRPAR
