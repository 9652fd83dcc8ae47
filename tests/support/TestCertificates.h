#pragma once

// Self-signed certificates made with OpenSSL for the tests that read
// certificate files: the DER bytes and the PEM text OpenSSL writes for them.
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace testsupport {

struct TestCertificate {
    std::vector<std::uint8_t> der;
    std::string pem;
};

// commonName is UTF-8; altNames is OpenSSL's configuration form ("DNS:a, IP:10.0.0.1"), empty for none.
inline TestCertificate MakeCertificate(const std::string& commonName, const std::string& altNames = "")
{
    std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)> key(EVP_EC_gen("P-256"), &EVP_PKEY_free);
    std::unique_ptr<X509, decltype(&X509_free)> certificate(X509_new(), &X509_free);
    if (!key || !certificate) throw std::runtime_error("OpenSSL could not make a key or certificate");
    X509* x = certificate.get();
    X509_set_version(x, 2);
    ASN1_INTEGER_set(X509_get_serialNumber(x), 7);
    X509_gmtime_adj(X509_getm_notBefore(x), 0);
    X509_gmtime_adj(X509_getm_notAfter(x), 3600);
    X509_NAME* name = X509_get_subject_name(x);
    X509_NAME_add_entry_by_txt(name, "O", MBSTRING_UTF8, reinterpret_cast<const unsigned char*>("Brenvik"), -1, -1, 0);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_UTF8, reinterpret_cast<const unsigned char*>(commonName.c_str()),
                               -1, -1, 0);
    X509_set_issuer_name(x, name);
    X509_set_pubkey(x, key.get());
    if (!altNames.empty()) {
        X509V3_CTX context;
        X509V3_set_ctx_nodb(&context);
        X509V3_set_ctx(&context, x, x, nullptr, nullptr, 0);
        X509_EXTENSION* extension = X509V3_EXT_conf_nid(nullptr, &context, NID_subject_alt_name, altNames.c_str());
        if (!extension) throw std::runtime_error("OpenSSL did not take the alternative names " + altNames);
        X509_add_ext(x, extension, -1);
        X509_EXTENSION_free(extension);
    }
    if (X509_sign(x, key.get(), EVP_sha256()) <= 0) throw std::runtime_error("OpenSSL could not sign");

    TestCertificate made;
    const int length = i2d_X509(x, nullptr);
    made.der.resize(static_cast<std::size_t>(length));
    unsigned char* out = made.der.data();
    i2d_X509(x, &out);
    std::unique_ptr<BIO, decltype(&BIO_free)> bio(BIO_new(BIO_s_mem()), &BIO_free);
    PEM_write_bio_X509(bio.get(), x);
    char* text = nullptr;
    const long size = BIO_get_mem_data(bio.get(), &text);
    made.pem.assign(text, static_cast<std::size_t>(size));
    return made;
}

}  // namespace testsupport
