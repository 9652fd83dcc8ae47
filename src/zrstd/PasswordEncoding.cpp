#include "zrstd/PasswordEncoding.h"

#include <cstdint>
#include <vector>

#include "zrstd/Crypto.h"
#include "zrstd/Strings.h"

namespace PWD_UTILS {

namespace {

constexpr std::wstring_view kPrefix = L"E1:";

void Mask(std::vector<std::uint8_t>& bytes)
{
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] ^= static_cast<std::uint8_t>(0xA5 + 37 * i);
}

}  // namespace

std::wstring GetEncodedPasswordString(std::wstring_view password)
{
    std::vector<std::uint8_t> bytes = ZRSTD::ToUtf16LeBytes(password);
    Mask(bytes);
    const std::string text = ZRSTD::Base64Encode(bytes.data(), bytes.size());
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
    auto bytes = ZRSTD::Base64Decode(text);
    if (!bytes || bytes->size() % 2 != 0) return std::nullopt;
    Mask(*bytes);
    return ZRSTD::FromUtf16Le(bytes->data(), bytes->size() / 2);
}

}  // namespace PWD_UTILS
