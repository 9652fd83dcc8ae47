#include "host/services/DataProtection.h"

#include <fcntl.h>
#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/hmac.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <string_view>

#include "zrstd/Crypto.h"
#include "zrstd/Format.h"

namespace host {

namespace {

constexpr const char* kModule = "ZRHOST";
constexpr long kProtectionError = 0x2001;
constexpr std::uint8_t kFormatVersion = 1;
constexpr std::string_view kLabel = "ngt-console data protection v1";

[[noreturn]] void Fail(const std::wstring& message) { ZRERR_throwLocalizedError(kModule, kProtectionError, message); }

[[noreturn]] void FailFile(const std::string& path, const wchar_t* what, int error)
{
    Fail(ZRSTD::FormatW(L"%s \"%hs\": %hs", what, path, std::strerror(error)));
}

std::vector<std::uint8_t> ReadKey(int fd, const std::string& path)
{
    struct stat info {};
    if (::fstat(fd, &info) != 0) FailFile(path, L"cannot examine the key file", errno);
    if ((info.st_mode & 077) != 0)
        Fail(ZRSTD::FormatW(L"the key file \"%hs\" is accessible to other users (mode %03o); allow only its owner "
                            L"(chmod 600)",
                            path, static_cast<unsigned>(info.st_mode & 0777)));
    std::vector<std::uint8_t> key(DataProtection::kKeySize + 1);
    std::size_t got = 0;
    while (got < key.size()) {
        const ssize_t n = ::read(fd, key.data() + got, key.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) FailFile(path, L"cannot read the key file", errno);
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    if (got != DataProtection::kKeySize)
        Fail(ZRSTD::FormatW(L"the key file \"%hs\" holds %zu bytes, not a %zu-byte key", path, got,
                            DataProtection::kKeySize));
    key.resize(DataProtection::kKeySize);
    return key;
}

}  // namespace

DataProtection::DataProtection(const std::vector<std::uint8_t>& key) : m_key(key) {}

DataProtection::~DataProtection() { OPENSSL_cleanse(m_key.data(), m_key.size()); }

ZRSTD::CAutoPtr<DataProtection> DataProtection::OpenKeyFile(const std::string& keyPath)
{
    int fd = ::open(keyPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 && errno == ENOENT) {
        // A new key: created exclusively, so two processes never write two keys.
        fd = ::open(keyPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0) {
            std::vector<std::uint8_t> key(kKeySize);
            ZRSTD::RandomBytes(key.data(), key.size());
            const bool written = ::write(fd, key.data(), key.size()) == static_cast<ssize_t>(key.size()) &&
                                 ::fsync(fd) == 0;
            const int error = errno;
            ::close(fd);
            OPENSSL_cleanse(key.data(), key.size());
            if (!written) {
                ::unlink(keyPath.c_str());
                FailFile(keyPath, L"cannot write the key file", error);
            }
        } else if (errno != EEXIST) {
            FailFile(keyPath, L"cannot create the key file", errno);
        }
        fd = ::open(keyPath.c_str(), O_RDONLY | O_CLOEXEC);
    }
    if (fd < 0) FailFile(keyPath, L"cannot open the key file", errno);
    std::vector<std::uint8_t> key;
    try {
        key = ReadKey(fd, keyPath);
    } catch (...) {
        ::close(fd);
        throw;
    }
    ::close(fd);
    auto protection = ZRSTD::CAutoPtr<DataProtection>::Adopt(new DataProtection(key));
    OPENSSL_cleanse(key.data(), key.size());
    return protection;
}

std::string DataProtection::KeyId() const
{
    static constexpr char kIdLabel[] = "ngt-console key id";
    unsigned char mac[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    HMAC(EVP_sha256(), m_key.data(), static_cast<int>(m_key.size()), reinterpret_cast<const unsigned char*>(kIdLabel),
         sizeof kIdLabel - 1, mac, &length);
    static constexpr char kHex[] = "0123456789abcdef";
    std::string id;
    for (unsigned int i = 0; i < 16 && i < length; ++i) {
        id += kHex[mac[i] >> 4];
        id += kHex[mac[i] & 0xF];
    }
    return id;
}

std::vector<std::uint8_t> DataProtection::Protect(const std::uint8_t* data, std::size_t size) const
{
    const std::vector<std::uint8_t> sealed = ZRSTD::SealAes256Gcm(m_key.data(), kLabel, data, size);
    std::vector<std::uint8_t> blob;
    blob.reserve(1 + sealed.size());
    blob.push_back(kFormatVersion);
    blob.insert(blob.end(), sealed.begin(), sealed.end());
    return blob;
}

std::vector<std::uint8_t> DataProtection::Unprotect(const std::uint8_t* blob, std::size_t size) const
{
    if (size < 1 + ZRSTD::kAesGcmNonceSize + ZRSTD::kAesGcmTagSize || blob[0] != kFormatVersion)
        Fail(L"the protected data is not in a known format");
    auto plain = ZRSTD::OpenAes256Gcm(m_key.data(), kLabel, blob + 1, size - 1);
    if (!plain) Fail(L"the protected data was altered or was protected under another key");
    return std::move(*plain);
}

void DataProtection::ProtectData(const void* data, std::size_t size, ZRSTD::MemoryChunk** ppProtected)
{
    ZRSTD_CHECK_ARG(ppProtected);
    if (size) ZRSTD_CHECK_ARG(data);
    const auto blob = Protect(static_cast<const std::uint8_t*>(data), size);
    *ppProtected = new ZRSTD::MemoryChunk(blob.data(), blob.size());
}

}  // namespace host
