#include "zrstd/CertUtil.h"

#include <arpa/inet.h>
#include <openssl/bio.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/pkcs7.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <climits>
#include <memory>
#include <optional>
#include <vector>

#include "zrstd/Crypto.h"
#include "zrstd/Error.h"
#include "zrstd/Strings.h"

namespace ZRCERTUTIL {

namespace {

constexpr const char* kModule = "ZRCERTUTIL";

struct X509Free {
    void operator()(X509* certificate) const { X509_free(certificate); }
};
using Certificate = std::unique_ptr<X509, X509Free>;
using Bio = std::unique_ptr<BIO, decltype(&BIO_free)>;

[[noreturn]] void Refuse(long code, const wchar_t* why)
{
    ERR_clear_error();  // what OpenSSL noted about the bad bytes is not left for the next caller
    ZRERR_throwError(kModule, code, L"%s", why);
}

bool IsBlank(unsigned char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\0'; }

bool IsBase64(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+' || c == '/' || c == '=';
}

bool OnlyBlanks(const unsigned char* from, const unsigned char* to)
{
    for (; from < to; ++from)
        if (!IsBlank(*from)) return false;
    return true;
}

// One certificate filling the DER bytes (trailing blanks aside); trusted
// certificates carry their trust data after it.
Certificate ReadDerCertificate(const unsigned char* data, std::size_t size, bool trusted)
{
    const unsigned char* next = data;
    Certificate certificate(trusted ? d2i_X509_AUX(nullptr, &next, static_cast<long>(size))
                                    : d2i_X509(nullptr, &next, static_cast<long>(size)));
    if (!certificate || !OnlyBlanks(next, data + size)) return nullptr;
    return certificate;
}

// The certificates of a PKCS #7 bundle filling the DER bytes; none when it is not one.
std::vector<Certificate> ReadDerBundle(const unsigned char* data, std::size_t size)
{
    const unsigned char* next = data;
    std::unique_ptr<PKCS7, decltype(&PKCS7_free)> bundle(d2i_PKCS7(nullptr, &next, static_cast<long>(size)), &PKCS7_free);
    std::vector<Certificate> certificates;
    if (!bundle || !OnlyBlanks(next, data + size) || !PKCS7_type_is_signed(bundle.get()) || !bundle->d.sign ||
        !bundle->d.sign->cert)
        return certificates;
    STACK_OF(X509)* stack = bundle->d.sign->cert;
    for (int i = 0; i < sk_X509_num(stack); ++i) {
        X509* certificate = sk_X509_value(stack, i);
        if (!certificate || X509_up_ref(certificate) != 1) Refuse(kLibraryFailure, L"a certificate could not be kept");
        certificates.emplace_back(certificate);
    }
    return certificates;
}

// A certificate or a bundle of them in DER.
std::vector<Certificate> ReadDer(const unsigned char* data, std::size_t size)
{
    std::vector<Certificate> certificates;
    if (auto certificate = ReadDerCertificate(data, size, false)) {
        certificates.push_back(std::move(certificate));
        return certificates;
    }
    return ReadDerBundle(data, size);
}

std::optional<std::vector<std::uint8_t>> DecodeBase64(std::string_view text)
{
    for (unsigned char c : text)
        if (!IsBlank(c) && !IsBase64(c)) return std::nullopt;
    return ZRSTD::Base64Decode(text);
}

// The PEM blocks of text: "-----BEGIN LABEL-----", base64, "-----END LABEL-----".
// A block that begins and never ends is a file cut short.
std::vector<Certificate> ReadPem(std::string_view text)
{
    static constexpr std::string_view kBegin = "-----BEGIN ", kDashes = "-----";
    std::vector<Certificate> certificates;
    for (std::size_t at = text.find(kBegin); at != std::string_view::npos; at = text.find(kBegin, at)) {
        const std::size_t labelStart = at + kBegin.size();
        const std::size_t labelEnd = text.find(kDashes, labelStart);
        const std::size_t lineEnd = text.find('\n', labelStart);
        if (labelEnd == std::string_view::npos || (lineEnd != std::string_view::npos && lineEnd < labelEnd))
            Refuse(kNotCertificate, L"a PEM block has no complete BEGIN line");
        const std::string_view label = text.substr(labelStart, labelEnd - labelStart);
        const std::string end = "-----END " + std::string(label) + "-----";
        const std::size_t bodyStart = labelEnd + kDashes.size();
        const std::size_t bodyEnd = text.find(end, bodyStart);
        if (bodyEnd == std::string_view::npos) Refuse(kNotCertificate, L"a PEM block is cut short");
        at = bodyEnd + end.size();

        const bool trusted = label == "TRUSTED CERTIFICATE";
        const bool single = trusted || label == "CERTIFICATE" || label == "X509 CERTIFICATE";
        if (!single && label != "PKCS7") continue;  // a key or a request beside the certificate is not ours
        const auto der = DecodeBase64(text.substr(bodyStart, bodyEnd - bodyStart));
        if (!der || der->empty()) Refuse(kNotCertificate, L"a PEM block does not hold base64");
        if (single) {
            auto certificate = ReadDerCertificate(der->data(), der->size(), trusted);
            if (!certificate) Refuse(kNotCertificate, L"a PEM certificate block holds no valid certificate");
            certificates.push_back(std::move(certificate));
        } else {
            auto bundle = ReadDerBundle(der->data(), der->size());
            if (bundle.empty()) Refuse(kNotCertificate, L"a PEM PKCS7 block holds no certificate");
            for (auto& certificate : bundle) certificates.push_back(std::move(certificate));
        }
    }
    return certificates;
}

std::vector<Certificate> ReadAny(const void* data, std::size_t size)
{
    if (!data || size == 0) Refuse(kNotCertificate, L"there are no bytes to read a certificate from");
    if (size > kMaxCertificateFileSize) Refuse(kTooLarge, L"the bytes are too many for a certificate file");
    const auto* bytes = static_cast<const unsigned char*>(data);
    const std::string_view text(static_cast<const char*>(data), size);
    std::vector<Certificate> certificates;
    if (text.find("-----BEGIN ") != std::string_view::npos) {
        certificates = ReadPem(text);
    } else {
        certificates = ReadDer(bytes, size);
        if (certificates.empty())
            if (const auto der = DecodeBase64(text); der && !der->empty()) certificates = ReadDer(der->data(), der->size());
    }
    ERR_clear_error();
    if (certificates.empty()) Refuse(kNotCertificate, L"the bytes hold no X.509 certificate");
    return certificates;
}

Bio MemoryBio()
{
    Bio bio(BIO_new(BIO_s_mem()), &BIO_free);
    if (!bio) Refuse(kLibraryFailure, L"no memory for a certificate");
    return bio;
}

std::string BioText(BIO* bio)
{
    char* data = nullptr;
    const long length = BIO_get_mem_data(bio, &data);
    return length > 0 && data ? std::string(data, static_cast<std::size_t>(length)) : std::string();
}

// Text an alternative name holds, with anything but printable ASCII shown as "?".
std::string Printable(const ASN1_STRING* text)
{
    std::string printable;
    if (!text) return printable;
    const unsigned char* data = ASN1_STRING_get0_data(text);
    for (int i = 0; data && i < ASN1_STRING_length(text); ++i)
        printable += data[i] >= 0x20 && data[i] < 0x7F ? static_cast<char>(data[i]) : '?';
    return printable;
}

std::string AddressText(const ASN1_OCTET_STRING* address)
{
    const int length = address ? ASN1_STRING_length(address) : 0;
    const unsigned char* bytes = address ? ASN1_STRING_get0_data(address) : nullptr;
    char text[INET6_ADDRSTRLEN] = {};
    if (length == 4 && bytes && inet_ntop(AF_INET, bytes, text, sizeof text)) return text;
    if (length == 16 && bytes && inet_ntop(AF_INET6, bytes, text, sizeof text)) return text;
    return "(invalid)";
}

constexpr unsigned long kNameFlags =
    ((XN_FLAG_RFC2253 & ~XN_FLAG_SEP_MASK) | XN_FLAG_SEP_CPLUS_SPC) & ~static_cast<unsigned long>(ASN1_STRFLGS_ESC_MSB);

std::string NameText(const X509_NAME* name)
{
    Bio bio = MemoryBio();
    if (name && X509_NAME_print_ex(bio.get(), name, 0, kNameFlags) < 0) Refuse(kLibraryFailure, L"a name could not be written");
    return BioText(bio.get());
}

std::string AltNames(X509* certificate)
{
    auto* names = static_cast<GENERAL_NAMES*>(X509_get_ext_d2i(certificate, NID_subject_alt_name, nullptr, nullptr));
    ERR_clear_error();  // a missing or damaged extension is an empty list
    if (!names) return {};
    std::string text;
    for (int i = 0; i < sk_GENERAL_NAME_num(names); ++i) {
        const GENERAL_NAME* name = sk_GENERAL_NAME_value(names, i);
        std::string item;
        switch (name->type) {
        case GEN_DNS: item = "DNS:" + Printable(name->d.dNSName); break;
        case GEN_EMAIL: item = "email:" + Printable(name->d.rfc822Name); break;
        case GEN_URI: item = "URI:" + Printable(name->d.uniformResourceIdentifier); break;
        case GEN_IPADD: item = "IP:" + AddressText(name->d.iPAddress); break;
        case GEN_DIRNAME: item = "DirName:" + NameText(name->d.directoryName); break;
        default: continue;  // other names have no text an administrator reads
        }
        text += (text.empty() ? "" : ", ") + item;
    }
    sk_GENERAL_NAME_pop_free(names, GENERAL_NAME_free);
    return text;
}

}  // namespace

std::string ConvertAnyX509ToPEM(const void* data, std::size_t size)
{
    const std::vector<Certificate> certificates = ReadAny(data, size);
    Bio bio = MemoryBio();
    for (const auto& certificate : certificates)
        if (PEM_write_bio_X509(bio.get(), certificate.get()) != 1) Refuse(kLibraryFailure, L"a certificate could not be written");
    return BioText(bio.get());
}

CertificateFields DescribeCertificate(std::string_view pem)
{
    const std::vector<Certificate> certificates = ReadAny(pem.data(), pem.size());
    X509* certificate = certificates.front().get();
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (X509_digest(certificate, EVP_sha1(), digest, &length) != 1) Refuse(kLibraryFailure, L"no SHA-1 digest");
    CertificateFields fields;
    fields.sha1Thumbprint = ZRSTD::FromUtf8(ZRSTD::HexUpper(digest, length));
    fields.subject = ZRSTD::FromUtf8(NameText(X509_get_subject_name(certificate)));
    fields.subjectAltNames = ZRSTD::FromUtf8(AltNames(certificate));
    ERR_clear_error();
    return fields;
}

}  // namespace ZRCERTUTIL
