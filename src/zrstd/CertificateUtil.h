#pragma once

#include <cstddef>
#include <string>

#include "zrstd/Api.h"

// X.509 certificates as administrators hand them over: files in whatever
// encoding a certificate was exported in. Read with OpenSSL; the bytes come
// from files the administrator picked and are treated as hostile.
namespace ZRCERTUTIL {

// Raised (module "ZRSTD") when the bytes hold no certificate.
inline constexpr long kNotACertificate = 0x4A2;
// Larger inputs are refused before anything is parsed: no certificate file is that big.
inline constexpr std::size_t kMaxCertificateSize = 1 << 20;

// The certificate in PEM ("-----BEGIN CERTIFICATE-----", base64 lines of 64
// characters, "-----END CERTIFICATE-----", each line ended by "\n") from any
// of: DER; PEM, with any text around it (the first certificate is taken);
// base64 of DER without the armour lines; and the two text forms in UTF-16LE
// with its byte order mark. DER and bare base64 must consist of exactly one
// certificate. Raises kNotACertificate otherwise.
ZR_API std::string ConvertAnyX509ToPEM(const void* data, std::size_t size);

// What an administrator is shown about a certificate.
struct CertificateParams {
    std::wstring sha1Thumbprint;   // "CertSha1Thumbprint": upper-case hex of the SHA-1 of the DER form
    std::wstring subject;          // "CertSubject": the subject, RFC 2253 form
    std::wstring subjectAltNames;  // "CertSubjectAltNames": "DNS:name, IP:address, email:..., URI:..."
};
// The parameters of a certificate in any encoding ConvertAnyX509ToPEM reads;
// raises kNotACertificate when there is none. Control characters inside names
// are shown as '?'.
ZR_API CertificateParams Certificate2Params(const void* data, std::size_t size);

}  // namespace ZRCERTUTIL
