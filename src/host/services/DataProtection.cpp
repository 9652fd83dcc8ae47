#include "host/services/DataProtection.h"

#include <fcntl.h>
#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>

#include "zrstd/Crypto.h"
#include "zrstd/Format.h"

namespace host {

namespace {

constexpr const char* kModule = "ZRHOST";
constexpr long kProtectionError = 0x2001;
constexpr std::uint8_t kFormatVersion = 1;
constexpr std::size_t kNonceSize = 12;
constexpr std::size_t kTagSize = 16;
constexpr unsigned char kLabel[] = "ngt-console data protection v1";

[[noreturn]] void Fail(const std::wstring& message) { ZRERR_throwLocalizedError(kModule, kProtectionError, message); }

[[noreturn]] void FailFile(const std::string& path, const wchar_t* what, int error)
{
    Fail(ZRSTD::FormatW(L"%s \"%hs\": %hs", what, path, std::strerror(error)));
}

using CipherContext = std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)>;

CipherContext NewContext()
{
    CipherContext context(EVP_CIPHER_CTX_new(), &EVP_CIPHER_CTX_free);
    if (!context) Fail(L"the cipher could not be prepared");
    return context;
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

std::vector<std::uint8_t> DataProtection::Protect(const std::uint8_t* data, std::size_t size) const
{
    std::vector<std::uint8_t> blob(1 + kNonceSize + size + kTagSize);
    blob[0] = kFormatVersion;
    std::uint8_t* nonce = blob.data() + 1;
    std::uint8_t* cipher = nonce + kNonceSize;
    ZRSTD::RandomBytes(nonce, kNonceSize);
    CipherContext context = NewContext();
    int length = 0;
    if (EVP_EncryptInit_ex(context.get(), EVP_aes_256_gcm(), nullptr, m_key.data(), nonce) != 1 ||
        EVP_EncryptUpdate(context.get(), nullptr, &length, kLabel, sizeof kLabel - 1) != 1 ||
        (size && EVP_EncryptUpdate(context.get(), cipher, &length, data, static_cast<int>(size)) != 1) ||
        EVP_EncryptFinal_ex(context.get(), cipher + size, &length) != 1 ||
        EVP_CIPHER_CTX_ctrl(context.get(), EVP_CTRL_GCM_GET_TAG, kTagSize, cipher + size) != 1)
        Fail(L"the data could not be encrypted");
    return blob;
}

std::vector<std::uint8_t> DataProtection::Unprotect(const std::uint8_t* blob, std::size_t size) const
{
    if (size < 1 + kNonceSize + kTagSize || blob[0] != kFormatVersion)
        Fail(L"the protected data is not in a known format");
    const std::uint8_t* nonce = blob + 1;
    const std::uint8_t* cipher = nonce + kNonceSize;
    const std::size_t plainSize = size - 1 - kNonceSize - kTagSize;
    std::vector<std::uint8_t> plain(plainSize);
    std::uint8_t tag[kTagSize];
    std::memcpy(tag, cipher + plainSize, kTagSize);
    CipherContext context = NewContext();
    int length = 0;
    const bool ok = EVP_DecryptInit_ex(context.get(), EVP_aes_256_gcm(), nullptr, m_key.data(), nonce) == 1 &&
                    EVP_DecryptUpdate(context.get(), nullptr, &length, kLabel, sizeof kLabel - 1) == 1 &&
                    (plainSize == 0 ||
                     EVP_DecryptUpdate(context.get(), plain.data(), &length, cipher, static_cast<int>(plainSize)) == 1) &&
                    EVP_CIPHER_CTX_ctrl(context.get(), EVP_CTRL_GCM_SET_TAG, kTagSize, tag) == 1 &&
                    EVP_DecryptFinal_ex(context.get(), plain.data() + plainSize, &length) == 1;
    if (!ok) {
        OPENSSL_cleanse(plain.data(), plain.size());
        Fail(L"the protected data was altered or was protected under another key");
    }
    return plain;
}

void DataProtection::ProtectData(const void* data, std::size_t size, ZRSTD::MemoryChunk** ppProtected)
{
    ZRSTD_CHECK_ARG(ppProtected);
    if (size) ZRSTD_CHECK_ARG(data);
    const auto blob = Protect(static_cast<const std::uint8_t*>(data), size);
    *ppProtected = new ZRSTD::MemoryChunk(blob.data(), blob.size());
}

}  // namespace host
