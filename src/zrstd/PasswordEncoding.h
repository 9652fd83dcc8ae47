#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "zrstd/Api.h"

// The platform's password encoder: the form in which a password is kept in a
// plain string setting that the agent reads back.
//
// The encoded form is "E1:" followed by the standard base64 of the password's
// UTF-16LE code units (no terminator), each byte XORed with the byte
// (0xA5 + 37 * i) mod 256 at its position i. It keeps a password from being
// read at a glance in a dump; it is not encryption. Settings that must be
// secret also carry the data-protection service's blob.
namespace PWD_UTILS {

ZR_API std::wstring GetEncodedPasswordString(std::wstring_view password);
// The password back from its encoded form; nothing when the text is not one
// the encoder makes (other prefix, bad base64, odd byte count).
ZR_API std::optional<std::wstring> GetDecodedPasswordString(std::wstring_view encoded);

}  // namespace PWD_UTILS
