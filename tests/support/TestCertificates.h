#pragma once

// Real certificates made by the test at run time (OpenSSL): a self-signed
// server certificate with the subject and alternative names a test asks
// for, in DER, PEM, and as a PKCS #7 bundle, and its SHA-1 thumbprint
// computed independently of the code under test.
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/pkcs7.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace testsupport {

struct TestCertificate {
    std::vector<std::uint8_t> der;
    std::string pem;
    std::vector<std::uint8_t> bundleDer;  // PKCS #7 holding this certificate
    std::string sha1Hex;                  // upper case
};

struct CertificateRequest {
    std::vector<std::pair<std::string, std::string>> subject = {{"C", "RU"}, {"O", "Example"}, {"CN", "adm.corp"}};
    std::string altNames = "DNS:adm.corp,IP:10.0.0.1";  // OpenSSL's configuration form; empty: no extension
};

inline TestCertificate MakeTestCertificate(const CertificateRequest& request = {})
{
    auto fail = [](const char* what) -> TestCertificate { throw std::runtime_error(what); };
    std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)> key(EVP_EC_gen("P-256"), &EVP_PKEY_free);
    std::unique_ptr<X509, decltype(&X509_free)> certificate(X509_new(), &X509_free);
    if (!key || !certificate) return fail("no key or certificate");
    X509_set_version(certificate.get(), 2);
    ASN1_INTEGER_set(X509_get_serialNumber(certificate.get()), 4242);
    X509_gmtime_adj(X509_getm_notBefore(certificate.get()), 0);
    X509_gmtime_adj(X509_getm_notAfter(certificate.get()), 3600L * 24 * 365);
    X509_NAME* name = X509_get_subject_name(certificate.get());
    for (const auto& [field, value] : request.subject)
        if (X509_NAME_add_entry_by_txt(name, field.c_str(), MBSTRING_UTF8,
                                       reinterpret_cast<const unsigned char*>(value.c_str()), -1, -1, 0) != 1)
            return fail("bad subject");
    X509_set_issuer_name(certificate.get(), name);
    X509_set_pubkey(certificate.get(), key.get());
    if (!request.altNames.empty()) {
        X509V3_CTX context;
        X509V3_set_ctx_nodb(&context);
        X509V3_set_ctx(&context, certificate.get(), certificate.get(), nullptr, nullptr, 0);
        X509_EXTENSION* extension = X509V3_EXT_conf_nid(nullptr, &context, NID_subject_alt_name, request.altNames.c_str());
        if (!extension) return fail("bad alternative names");
        X509_add_ext(certificate.get(), extension, -1);
        X509_EXTENSION_free(extension);
    }
    if (X509_sign(certificate.get(), key.get(), EVP_sha256()) <= 0) return fail("not signed");

    TestCertificate made;
    unsigned char* der = nullptr;
    const int length = i2d_X509(certificate.get(), &der);
    if (length <= 0) return fail("no DER");
    made.der.assign(der, der + length);
    OPENSSL_free(der);

    std::unique_ptr<BIO, decltype(&BIO_free)> bio(BIO_new(BIO_s_mem()), &BIO_free);
    PEM_write_bio_X509(bio.get(), certificate.get());
    char* text = nullptr;
    const long textLength = BIO_get_mem_data(bio.get(), &text);
    made.pem.assign(text, static_cast<std::size_t>(textLength));

    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int digestLength = 0;
    EVP_Digest(made.der.data(), made.der.size(), digest, &digestLength, EVP_sha1(), nullptr);
    static const char hex[] = "0123456789ABCDEF";
    for (unsigned int i = 0; i < digestLength; ++i) {
        made.sha1Hex += hex[digest[i] >> 4];
        made.sha1Hex += hex[digest[i] & 0xF];
    }

    std::unique_ptr<PKCS7, decltype(&PKCS7_free)> bundle(PKCS7_new(), &PKCS7_free);
    PKCS7_set_type(bundle.get(), NID_pkcs7_signed);
    PKCS7_content_new(bundle.get(), NID_pkcs7_data);
    PKCS7_add_certificate(bundle.get(), certificate.get());
    unsigned char* bundleDer = nullptr;
    const int bundleLength = i2d_PKCS7(bundle.get(), &bundleDer);
    if (bundleLength <= 0) return fail("no bundle");
    made.bundleDer.assign(bundleDer, bundleDer + bundleLength);
    OPENSSL_free(bundleDer);
    return made;
}

}  // namespace testsupport
