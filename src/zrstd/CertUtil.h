#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "zrstd/Api.h"

// The maker's certificate utility (OpenSSL): the certificates of a file in
// any X.509 encoding brought to PEM, and what an administrator reads of one.
// Certificate files come from disk and from other machines: every reader
// here raises a ZRERR::Error with module "ZRCERTUTIL" on bytes it cannot
// take, never reads past them and never crashes on them.
namespace ZRCERTUTIL {

inline constexpr long kNotCertificate = 1;  // no certificate in the bytes, or a damaged one
inline constexpr long kTooLarge = 2;        // more bytes than any certificate file holds
inline constexpr long kLibraryFailure = 3;  // OpenSSL could not do what is asked

// The most bytes a certificate file is read with; anything longer is refused.
inline constexpr std::size_t kMaxCertificateFileSize = 1024 * 1024;

// Every certificate of the bytes, in their order, as PEM blocks
// "-----BEGIN CERTIFICATE-----". The bytes may be:
// - PEM: blocks "CERTIFICATE", "X509 CERTIFICATE", "TRUSTED CERTIFICATE"
//   (its trust data dropped) and "PKCS7" with their text around them;
//   blocks of other kinds (a private key beside the certificate) are
//   skipped and never copied;
// - DER of one certificate;
// - a PKCS #7 certificate bundle (.p7b, .p7c) in DER;
// - base64 of either DER form without the PEM lines around it.
// A DER form must fill the bytes exactly (trailing white space aside);
// a PEM block cut short, bytes without a certificate, or more than
// kMaxCertificateFileSize bytes raise the error.
ZR_API std::string ConvertAnyX509ToPEM(const void* data, std::size_t size);

// What the administrator reads of a certificate.
struct CertificateFields {
    std::wstring sha1Thumbprint;   // SHA-1 of the DER form, 40 upper-case hexadecimal digits
    std::wstring subject;          // "CN=adm.corp, O=Example, C=RU" (most specific part first)
    std::wstring subjectAltNames;  // "DNS:adm.corp, IP:10.0.0.1, email:...", "" without the extension
};

// The first certificate of PEM text (as ConvertAnyX509ToPEM gives it).
ZR_API CertificateFields DescribeCertificate(std::string_view pem);

}  // namespace ZRCERTUTIL
