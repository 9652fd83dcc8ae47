#include "zrstd/Crypto.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/rand.h>

#include <climits>
#include <cstring>
#include <memory>

#include "zrstd/Error.h"

namespace ZRSTD {

Md5Digest CalcMD5Hash(const void* data, std::size_t size)
{
    std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> context(EVP_MD_CTX_new(), &EVP_MD_CTX_free);
    Md5Digest digest{};
    unsigned int length = 0;
    if (!context || EVP_DigestInit_ex(context.get(), EVP_md5(), nullptr) != 1 ||
        EVP_DigestUpdate(context.get(), data, size) != 1 ||
        EVP_DigestFinal_ex(context.get(), digest.data(), &length) != 1 || length != digest.size()) {
        ZRERR_throwError("ZRSTD", 0x4A0, L"MD5 digest could not be computed");
    }
    return digest;
}

void WipeBytes(void* data, std::size_t size)
{
    if (data && size) OPENSSL_cleanse(data, size);
}

void RandomBytes(void* out, std::size_t size)
{
    if (size == 0) return;
    if (RAND_bytes(static_cast<unsigned char*>(out), static_cast<int>(size)) != 1)
        ZRERR_throwError("ZRSTD", 0x4A0, L"the random generator failed");
}

namespace {

using CipherContext = std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)>;

[[noreturn]] void FailCipher() { ZRERR_throwError("ZRSTD", 0x4A0, L"the AES-256-GCM cipher failed"); }

CipherContext NewCipherContext()
{
    CipherContext context(EVP_CIPHER_CTX_new(), &EVP_CIPHER_CTX_free);
    if (!context) FailCipher();
    return context;
}

const unsigned char* Bytes(std::string_view text) { return reinterpret_cast<const unsigned char*>(text.data()); }

}  // namespace

std::vector<std::uint8_t> SealAes256Gcm(const std::uint8_t* key, std::string_view label, const std::uint8_t* data,
                                        std::size_t size)
{
    if (size > INT_MAX - kAesGcmNonceSize - kAesGcmTagSize || label.size() > INT_MAX) FailCipher();
    std::vector<std::uint8_t> sealed(kAesGcmNonceSize + size + kAesGcmTagSize);
    std::uint8_t* nonce = sealed.data();
    std::uint8_t* cipher = nonce + kAesGcmNonceSize;
    RandomBytes(nonce, kAesGcmNonceSize);
    CipherContext context = NewCipherContext();
    int length = 0;
    if (EVP_EncryptInit_ex(context.get(), EVP_aes_256_gcm(), nullptr, key, nonce) != 1 ||
        EVP_EncryptUpdate(context.get(), nullptr, &length, Bytes(label), static_cast<int>(label.size())) != 1 ||
        (size && EVP_EncryptUpdate(context.get(), cipher, &length, data, static_cast<int>(size)) != 1) ||
        EVP_EncryptFinal_ex(context.get(), cipher + size, &length) != 1 ||
        EVP_CIPHER_CTX_ctrl(context.get(), EVP_CTRL_GCM_GET_TAG, kAesGcmTagSize, cipher + size) != 1)
        FailCipher();
    return sealed;
}

std::optional<std::vector<std::uint8_t>> OpenAes256Gcm(const std::uint8_t* key, std::string_view label,
                                                       const std::uint8_t* sealed, std::size_t size)
{
    if (size < kAesGcmNonceSize + kAesGcmTagSize || size > INT_MAX || label.size() > INT_MAX) return std::nullopt;
    const std::uint8_t* nonce = sealed;
    const std::uint8_t* cipher = nonce + kAesGcmNonceSize;
    const std::size_t plainSize = size - kAesGcmNonceSize - kAesGcmTagSize;
    std::vector<std::uint8_t> plain(plainSize);
    std::uint8_t tag[kAesGcmTagSize];
    std::memcpy(tag, cipher + plainSize, kAesGcmTagSize);
    CipherContext context = NewCipherContext();
    int length = 0;
    const bool ok =
        EVP_DecryptInit_ex(context.get(), EVP_aes_256_gcm(), nullptr, key, nonce) == 1 &&
        EVP_DecryptUpdate(context.get(), nullptr, &length, Bytes(label), static_cast<int>(label.size())) == 1 &&
        (plainSize == 0 ||
         EVP_DecryptUpdate(context.get(), plain.data(), &length, cipher, static_cast<int>(plainSize)) == 1) &&
        EVP_CIPHER_CTX_ctrl(context.get(), EVP_CTRL_GCM_SET_TAG, kAesGcmTagSize, tag) == 1 &&
        EVP_DecryptFinal_ex(context.get(), plain.data() + plainSize, &length) == 1;
    if (!ok) {
        OPENSSL_cleanse(plain.data(), plain.size());
        return std::nullopt;
    }
    return plain;
}

Guid CreateGuid()
{
    Guid guid;
    RandomBytes(guid.bytes.data(), guid.bytes.size());
    guid.bytes[6] = static_cast<std::uint8_t>((guid.bytes[6] & 0x0F) | 0x40);  // version 4
    guid.bytes[8] = static_cast<std::uint8_t>((guid.bytes[8] & 0x3F) | 0x80);  // RFC 4122 variant
    return guid;
}

std::wstring GuidToString(const Guid& guid)
{
    static constexpr wchar_t kDigits[] = L"0123456789abcdef";
    std::wstring text;
    text.reserve(36);
    for (std::size_t i = 0; i < guid.bytes.size(); ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10) text.push_back(L'-');
        text.push_back(kDigits[guid.bytes[i] >> 4]);
        text.push_back(kDigits[guid.bytes[i] & 0x0F]);
    }
    return text;
}

std::optional<Guid> GuidFromString(std::wstring_view text)
{
    if (text.size() == 38 && text.front() == L'{' && text.back() == L'}') text = text.substr(1, 36);
    if (text.size() != 36) return std::nullopt;
    Guid guid;
    std::size_t byte = 0;
    for (std::size_t i = 0; i < text.size();) {
        if (i == 8 || i == 13 || i == 18 || i == 23) {
            if (text[i] != L'-') return std::nullopt;
            ++i;
            continue;
        }
        auto nibble = [](wchar_t c) -> int {
            if (c >= L'0' && c <= L'9') return c - L'0';
            if (c >= L'a' && c <= L'f') return c - L'a' + 10;
            if (c >= L'A' && c <= L'F') return c - L'A' + 10;
            return -1;
        };
        const int high = nibble(text[i]);
        const int low = nibble(text[i + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        guid.bytes[byte++] = static_cast<std::uint8_t>(high << 4 | low);
        i += 2;
    }
    return guid;
}

std::string Base64Encode(const std::uint8_t* data, std::size_t size, std::size_t lineLength)
{
    std::string encoded(4 * ((size + 2) / 3), '\0');
    const int written = size ? EVP_EncodeBlock(reinterpret_cast<unsigned char*>(encoded.data()), data,
                                               static_cast<int>(size))
                             : 0;
    encoded.resize(static_cast<std::size_t>(written));
    if (lineLength == 0) return encoded;
    std::string wrapped;
    wrapped.reserve(encoded.size() + encoded.size() / lineLength * 2 + 2);
    for (std::size_t pos = 0; pos < encoded.size(); pos += lineLength) {
        wrapped.append(encoded, pos, lineLength);
        wrapped.append("\r\n");
    }
    return wrapped;
}

std::optional<std::vector<std::uint8_t>> Base64Decode(std::string_view text)
{
    // Keep only the alphabet; anything else but white space is an error.
    std::string clean;
    clean.reserve(text.size());
    for (char c : text) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') continue;
        const bool alphabet = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+' ||
                              c == '/' || c == '=';
        if (!alphabet) return std::nullopt;
        clean.push_back(c);
    }
    if (clean.size() % 4 != 0) return std::nullopt;
    std::size_t padding = 0;
    while (padding < clean.size() && clean[clean.size() - 1 - padding] == '=') ++padding;
    if (padding > 2) return std::nullopt;
    if (clean.find('=') < clean.size() - padding) return std::nullopt;  // '=' only at the end
    std::vector<std::uint8_t> bytes(clean.size() / 4 * 3);
    if (!clean.empty()) {
        const int decoded = EVP_DecodeBlock(bytes.data(), reinterpret_cast<const unsigned char*>(clean.data()),
                                            static_cast<int>(clean.size()));
        if (decoded < 0) return std::nullopt;
        bytes.resize(static_cast<std::size_t>(decoded) - padding);
    }
    return bytes;
}

}  // namespace ZRSTD
