#include "zrstd/PasswordEncoding.h"

#include <openssl/crypto.h>

#include <array>
#include <cstdint>
#include <vector>

#include "zrstd/Crypto.h"
#include "zrstd/Strings.h"

namespace PWD_UTILS {

namespace {

constexpr std::wstring_view kPrefix = L"E1:";
constexpr std::string_view kLabel = "platform password encoder v1";
// The encoder key every agent carries (see the header for what this protects).
constexpr std::array<std::uint8_t, ZRSTD::kAes256KeySize> kEncoderKey = {
    0x3b, 0x91, 0x5e, 0xc2, 0x07, 0xd8, 0x4f, 0xa6, 0x12, 0x6d, 0xe9, 0x80, 0x55, 0x2a, 0xf3, 0x1c,
    0xb4, 0x68, 0x0e, 0x97, 0xcd, 0x41, 0x7a, 0x23, 0xe5, 0x39, 0x86, 0xfb, 0x50, 0x0c, 0xa1, 0x74};

}  // namespace

std::wstring GetEncodedPasswordString(std::wstring_view password)
{
    std::vector<std::uint8_t> units = ZRSTD::ToUtf16LeBytes(password);
    const std::vector<std::uint8_t> sealed = ZRSTD::SealAes256Gcm(kEncoderKey.data(), kLabel, units.data(), units.size());
    OPENSSL_cleanse(units.data(), units.size());
    const std::string text = ZRSTD::Base64Encode(sealed.data(), sealed.size());
    return std::wstring(kPrefix) + std::wstring(text.begin(), text.end());
}

std::optional<std::wstring> GetDecodedPasswordString(std::wstring_view encoded)
{
    if (encoded.substr(0, kPrefix.size()) != kPrefix) return std::nullopt;
    std::string text;
    for (wchar_t c : encoded.substr(kPrefix.size())) {
        if (c > 0x7F) return std::nullopt;
        text += static_cast<char>(c);
    }
    const auto sealed = ZRSTD::Base64Decode(text);
    if (!sealed) return std::nullopt;
    auto units = ZRSTD::OpenAes256Gcm(kEncoderKey.data(), kLabel, sealed->data(), sealed->size());
    if (!units || units->size() % 2 != 0) return std::nullopt;
    std::wstring password = ZRSTD::FromUtf16Le(units->data(), units->size() / 2);
    OPENSSL_cleanse(units->data(), units->size());
    return password;
}

}  // namespace PWD_UTILS
