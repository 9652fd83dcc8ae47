#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "zrstd/Api.h"

namespace ZRSTD {

using Md5Digest = std::array<std::uint8_t, 16>;

// MD5 of a byte string (OpenSSL EVP). Raises ZRSTD errors if the digest cannot be computed.
ZR_API Md5Digest CalcMD5Hash(const void* data, std::size_t size);

// Overwrites secret bytes with zeros in a way the compiler does not drop.
ZR_API void WipeBytes(void* data, std::size_t size);

// Cryptographically random bytes (OpenSSL). Raises when the generator fails.
ZR_API void RandomBytes(void* out, std::size_t size);

struct ZR_API Guid {
    std::array<std::uint8_t, 16> bytes{};
    bool operator==(const Guid&) const = default;
};

// A random (version 4) GUID.
ZR_API Guid CreateGuid();
// "8d4224f7-2a52-4080-bbee-02dbf98396e0": lower-case, hyphenated, no braces.
ZR_API std::wstring GuidToString(const Guid& guid);
// Accepts the text form with or without braces, in either case.
ZR_API std::optional<Guid> GuidFromString(std::wstring_view text);

// AES-256-GCM under a 32-byte key. A sealed blob is a random 12-byte nonce,
// the ciphertext and the 16-byte tag; the label is authenticated, not
// encrypted, so a blob sealed for one purpose cannot be opened for another.
inline constexpr std::size_t kAes256KeySize = 32, kAesGcmNonceSize = 12, kAesGcmTagSize = 16;
// Raises ZRSTD errors if the cipher fails.
ZR_API std::vector<std::uint8_t> SealAes256Gcm(const std::uint8_t* key, std::string_view label,
                                               const std::uint8_t* data, std::size_t size);
// Nothing when the blob is too short, was altered, or was sealed under another
// key or label.
ZR_API std::optional<std::vector<std::uint8_t>> OpenAes256Gcm(const std::uint8_t* key, std::string_view label,
                                                              const std::uint8_t* sealed, std::size_t size);

// Standard base64 (RFC 4648) through OpenSSL. Decoding ignores white space and
// returns nothing for any other character outside the alphabet or bad padding.
ZR_API std::string Base64Encode(const std::uint8_t* data, std::size_t size, std::size_t lineLength = 0);
ZR_API std::optional<std::vector<std::uint8_t>> Base64Decode(std::string_view text);

}  // namespace ZRSTD
