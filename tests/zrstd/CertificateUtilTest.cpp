#include "zrstd/CertificateUtil.h"

#include <gtest/gtest.h>
#include <openssl/err.h>
#include <openssl/evp.h>

#include <random>

#include "support/TestCertificates.h"
#include "zrstd/Crypto.h"
#include "zrstd/Error.h"
#include "zrstd/Strings.h"

using namespace ZRCERTUTIL;
using testsupport::MakeCertificate;

namespace {

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

std::vector<std::uint8_t> Utf16WithMark(const std::string& ascii)
{
    std::vector<std::uint8_t> bytes = {0xFF, 0xFE};
    for (char c : ascii) bytes.insert(bytes.end(), {static_cast<std::uint8_t>(c), 0});
    return bytes;
}

std::string Pem(const std::vector<std::uint8_t>& bytes) { return ConvertAnyX509ToPEM(bytes.data(), bytes.size()); }

// The error code a conversion raises, 0 when it converts.
long Refusal(const std::vector<std::uint8_t>& bytes)
{
    try {
        Pem(bytes);
        return 0;
    } catch (const ZRERR::Error& error) {
        EXPECT_EQ(error.GetModule(), "ZRSTD");
        return error.GetCode();
    }
}

}  // namespace

TEST(CertificateUtil, EveryEncodingOfACertificateFileBecomesTheSamePem)
{
    const auto server = MakeCertificate("adm.corp");
    const auto other = MakeCertificate("other");
    std::string bare;  // the base64 lines without the armour
    for (std::size_t at = server.pem.find('\n') + 1; at < server.pem.rfind("-----END");) {
        const std::size_t end = server.pem.find('\n', at);
        bare += server.pem.substr(at, end - at) + "\r\n";
        at = end + 1;
    }
    std::string crlf;
    for (char c : server.pem) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    const struct {
        const char* encoding;
        std::vector<std::uint8_t> bytes;
    } files[] = {
        {"DER", server.der},
        {"PEM", Bytes(server.pem)},
        {"PEM with CR LF", Bytes(crlf)},
        {"PEM between text, before another certificate", Bytes("Bag Attributes\n" + server.pem + "trailer\n" + other.pem)},
        {"PEM after a UTF-8 mark", Bytes("\xEF\xBB\xBF" + server.pem)},
        {"PEM in UTF-16LE", Utf16WithMark(server.pem)},
        {"base64 without armour", Bytes(bare)},
    };
    for (const auto& file : files) EXPECT_EQ(Pem(file.bytes), server.pem) << file.encoding;
}

TEST(CertificateUtil, HostileBytesAreRefusedWithoutACrash)
{
    const auto server = MakeCertificate("adm.corp");
    std::vector<std::vector<std::uint8_t>> refused = {
        {},
        {0x30},
        {0x30, 0x84, 0xFF, 0xFF, 0xFF, 0xFF},  // a sequence claiming 4 GB
        Bytes("-----BEGIN CERTIFICATE-----\n"),
        Bytes("-----BEGIN CERTIFICATE-----\nMIIB!!!!\n-----END CERTIFICATE-----\n"),
        Bytes("-----BEGIN CERTIFICATE-----\nProc-Type: 4,ENCRYPTED\nDEK-Info: AES-128-CBC,00112233445566778899AABBCCDDEEFF\n\n"
              "AAAA\n-----END CERTIFICATE-----\n"),
        Bytes("just a text file"),
        [&] {
            auto odd = Utf16WithMark(server.pem);
            odd.push_back(0x41);  // half a code unit
            return odd;
        }(),
        [&] {
            auto wide = Utf16WithMark(server.pem);
            wide[40] = 0x04;  // a Cyrillic letter inside the base64
            wide[41] = 0x04;
            return wide;
        }(),
        std::vector<std::uint8_t>(kMaxCertificateSize + 1, 0x30),
    };
    auto trailing = server.der;
    trailing.push_back(0);
    refused.push_back(trailing);
    for (std::size_t length = 1; length < server.der.size(); length += 7)
        refused.emplace_back(server.der.begin(), server.der.begin() + static_cast<std::ptrdiff_t>(length));
    std::mt19937 random(1208);
    for (int i = 0; i < 200; ++i) {
        std::vector<std::uint8_t> noise(random() % 600 + 1);
        for (auto& byte : noise) byte = static_cast<std::uint8_t>(random());
        if (i % 2) noise[0] = 0x30;
        refused.push_back(noise);
        const std::string text = ZRSTD::Base64Encode(noise.data(), noise.size(), 64);
        refused.push_back(Bytes("-----BEGIN CERTIFICATE-----\n" + text + "\n-----END CERTIFICATE-----\n"));
    }
    for (std::size_t i = 0; i < refused.size(); ++i) EXPECT_EQ(Refusal(refused[i]), kNotACertificate) << "input " << i;
    EXPECT_THROW(ConvertAnyX509ToPEM(nullptr, 10), ZRERR::Error);
    EXPECT_EQ(ERR_peek_error(), 0u);  // nothing left behind in OpenSSL's error queue
}

TEST(CertificateUtil, ParametersNameTheThumbprintSubjectAndAlternativeNames)
{
    const auto server = MakeCertificate("Сервер администрирования", "DNS:adm.corp, IP:10.1.2.3, email:admin@corp, IP:::1");
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    ASSERT_EQ(EVP_Digest(server.der.data(), server.der.size(), digest, &length, EVP_sha1(), nullptr), 1);

    for (const auto& bytes : {server.der, Bytes(server.pem)}) {
        const CertificateParams params = Certificate2Params(bytes.data(), bytes.size());
        EXPECT_EQ(params.sha1Thumbprint, ZRSTD::FromUtf8(ZRSTD::HexUpper(digest, length)));
        EXPECT_EQ(params.subject, L"CN=Сервер администрирования,O=Brenvik");
        EXPECT_EQ(params.subjectAltNames, L"DNS:adm.corp, IP:10.1.2.3, email:admin@corp, IP:0:0:0:0:0:0:0:1");
    }
    const auto plain = MakeCertificate("plain");
    EXPECT_EQ(Certificate2Params(plain.der.data(), plain.der.size()).subjectAltNames, L"");

    const auto odd = MakeCertificate("tab\there", "DNS:bell\x07name");
    const CertificateParams params = Certificate2Params(odd.der.data(), odd.der.size());
    EXPECT_EQ(params.subjectAltNames, L"DNS:bell?name");
    EXPECT_EQ(params.subject.find(L'\t'), std::wstring::npos);
    EXPECT_THROW(Certificate2Params("garbage", 7), ZRERR::Error);
}
