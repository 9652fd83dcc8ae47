#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "zrstd/Api.h"

// The platform's password encoder: the form in which a password is kept in a
// plain string setting that the agent reads back.
//
// The encoded form is "E1:" followed by the standard base64 of the password's
// UTF-16LE code units (no terminator) sealed with AES-256-GCM under the
// platform's encoder key (see ZRSTD::SealAes256Gcm). The key ships with every
// agent, because each must read the password back; so the form keeps the
// password out of dumps, exports and traces and detects tampering, but a
// setting that must stay secret from holders of the platform also carries the
// console's data-protection blob.
namespace PWD_UTILS {

ZR_API std::wstring GetEncodedPasswordString(std::wstring_view password);
// The password back from its encoded form; nothing when the text is not one
// the encoder made (other prefix, bad base64, altered or truncated data).
ZR_API std::optional<std::wstring> GetDecodedPasswordString(std::wstring_view encoded);

}  // namespace PWD_UTILS
