#include "zrstd/CertificateUtil.h"

#include <openssl/bio.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <climits>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

#include "zrstd/Crypto.h"
#include "zrstd/Error.h"
#include "zrstd/Format.h"
#include "zrstd/Strings.h"

namespace ZRCERTUTIL {

namespace {

using Certificate = std::unique_ptr<X509, decltype(&X509_free)>;
using Bio = std::unique_ptr<BIO, decltype(&BIO_free)>;

// OpenSSL keeps its errors per thread: whatever a failed attempt left there
// is not this caller's business.
struct ClearOpenSslErrors {
    ~ClearOpenSslErrors() { ERR_clear_error(); }
};

[[noreturn]] void Refuse(const wchar_t* why)
{
    ZRERR_throwError("ZRSTD", kNotACertificate, L"the data holds no X.509 certificate: %s", why);
}

// A PEM block never asks for a pass phrase here: an "encrypted" block is refused, not prompted for.
int NoPassphrase(char*, int, int, void*) { return 0; }

Certificate None() { return Certificate(nullptr, &X509_free); }

// Exactly one DER certificate and nothing after it.
Certificate FromDer(const std::uint8_t* bytes, std::size_t size)
{
    if (size == 0 || size > static_cast<std::size_t>(LONG_MAX)) return None();
    const unsigned char* cursor = bytes;
    Certificate certificate(d2i_X509(nullptr, &cursor, static_cast<long>(size)), &X509_free);
    if (!certificate || cursor != bytes + size) return None();
    return certificate;
}

// The first certificate of a PEM text; text before and after it is allowed.
Certificate FromPem(std::string_view text)
{
    if (text.find("-----BEGIN") == std::string_view::npos || text.size() > static_cast<std::size_t>(INT_MAX))
        return None();
    Bio bio(BIO_new_mem_buf(text.data(), static_cast<int>(text.size())), &BIO_free);
    if (!bio) return None();
    return Certificate(PEM_read_bio_X509_AUX(bio.get(), nullptr, &NoPassphrase, nullptr), &X509_free);
}

// Base64 of one DER certificate, white space allowed, nothing else.
Certificate FromBareBase64(std::string_view text)
{
    const auto der = ZRSTD::Base64Decode(text);
    if (!der) return None();
    return FromDer(der->data(), der->size());
}

// The bytes as text: as they are (a UTF-8 byte order mark dropped), or
// UTF-16LE with its byte order mark narrowed, which must then be ASCII.
std::optional<std::string> AsText(const std::uint8_t* bytes, std::size_t size)
{
    if (size >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
        if (size % 2 != 0) return std::nullopt;
        std::string text;
        text.reserve((size - 2) / 2);
        for (std::size_t i = 2; i < size; i += 2) {
            if (bytes[i + 1] != 0 || bytes[i] == 0 || bytes[i] >= 0x80) return std::nullopt;
            text += static_cast<char>(bytes[i]);
        }
        return text;
    }
    if (size >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
        bytes += 3;
        size -= 3;
    }
    return std::string(reinterpret_cast<const char*>(bytes), size);
}

Certificate Parse(const void* data, std::size_t size)
{
    if (!data || size == 0) Refuse(L"there are no bytes");
    if (size > kMaxCertificateSize) Refuse(L"it is larger than any certificate file");
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    ClearOpenSslErrors clear;
    if (bytes[0] == 0x30)  // a DER SEQUENCE
        if (Certificate certificate = FromDer(bytes, size)) return certificate;
    if (const auto text = AsText(bytes, size)) {
        if (Certificate certificate = FromPem(*text)) return certificate;
        if (Certificate certificate = FromBareBase64(*text)) return certificate;
    }
    Refuse(L"neither DER, PEM nor base64 of a certificate");
}

std::string BioText(BIO* bio)
{
    char* contents = nullptr;
    const long length = BIO_get_mem_data(bio, &contents);
    return length > 0 && contents ? std::string(contents, static_cast<std::size_t>(length)) : std::string();
}

// A name as shown: control characters (and, for ASCII fields, bytes outside ASCII) become '?'.
std::wstring Printable(std::wstring text)
{
    for (wchar_t& c : text)
        if (c < 0x20 || c == 0x7F) c = L'?';
    return text;
}

std::wstring AsciiField(const ASN1_STRING* field)
{
    const unsigned char* bytes = ASN1_STRING_get0_data(field);
    const int length = ASN1_STRING_length(field);
    std::wstring text;
    for (int i = 0; bytes && i < length; ++i) text += bytes[i] < 0x80 ? static_cast<wchar_t>(bytes[i]) : L'?';
    return Printable(std::move(text));
}

std::wstring IpAddressText(const ASN1_OCTET_STRING* field)
{
    const unsigned char* bytes = ASN1_STRING_get0_data(field);
    const int length = ASN1_STRING_length(field);
    if (!bytes) return L"";
    if (length == 4) return ZRSTD::FormatW(L"%u.%u.%u.%u", bytes[0], bytes[1], bytes[2], bytes[3]);
    if (length != 16) return L"?";
    std::wstring text;
    for (int group = 0; group < 8; ++group)
        text += (group ? L":" : L"") + ZRSTD::FormatW(L"%x", bytes[2 * group] << 8 | bytes[2 * group + 1]);
    return text;
}

std::wstring AlternativeNames(X509* certificate)
{
    using Names = std::unique_ptr<GENERAL_NAMES, decltype(&GENERAL_NAMES_free)>;
    Names names(static_cast<GENERAL_NAMES*>(X509_get_ext_d2i(certificate, NID_subject_alt_name, nullptr, nullptr)),
                &GENERAL_NAMES_free);
    std::wstring text;
    for (int i = 0; names && i < sk_GENERAL_NAME_num(names.get()); ++i) {
        const GENERAL_NAME* name = sk_GENERAL_NAME_value(names.get(), i);
        std::wstring shown;
        switch (name->type) {
        case GEN_DNS: shown = L"DNS:" + AsciiField(name->d.dNSName); break;
        case GEN_EMAIL: shown = L"email:" + AsciiField(name->d.rfc822Name); break;
        case GEN_URI: shown = L"URI:" + AsciiField(name->d.uniformResourceIdentifier); break;
        case GEN_IPADD: shown = L"IP:" + IpAddressText(name->d.iPAddress); break;
        default: continue;  // directory and other names are not shown
        }
        text += (text.empty() ? L"" : L", ") + shown;
    }
    return text;
}

}  // namespace

std::string ConvertAnyX509ToPEM(const void* data, std::size_t size)
{
    const Certificate certificate = Parse(data, size);
    ClearOpenSslErrors clear;
    Bio bio(BIO_new(BIO_s_mem()), &BIO_free);
    if (!bio || PEM_write_bio_X509(bio.get(), certificate.get()) != 1) Refuse(L"it could not be written as PEM");
    std::string pem = BioText(bio.get());
    if (pem.empty()) Refuse(L"it could not be written as PEM");
    return pem;
}

CertificateParams Certificate2Params(const void* data, std::size_t size)
{
    const Certificate certificate = Parse(data, size);
    ClearOpenSslErrors clear;
    CertificateParams params;
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (X509_digest(certificate.get(), EVP_sha1(), digest, &length) != 1) Refuse(L"its thumbprint cannot be computed");
    params.sha1Thumbprint = ZRSTD::FromUtf8(ZRSTD::HexUpper(digest, length));

    Bio bio(BIO_new(BIO_s_mem()), &BIO_free);
    if (bio && X509_NAME_print_ex(bio.get(), X509_get_subject_name(certificate.get()), 0,
                                  XN_FLAG_RFC2253 & ~ASN1_STRFLGS_ESC_MSB) >= 0)
        params.subject = Printable(ZRSTD::FromUtf8(BioText(bio.get())));
    params.subjectAltNames = AlternativeNames(certificate.get());
    return params;
}

}  // namespace ZRCERTUTIL
