#include "zrstd/Crypto.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <set>

#include "zrstd/Strings.h"

using namespace ZRSTD;

TEST(Crypto, Md5MatchesKnownDigests)
{
    const auto empty = CalcMD5Hash("", 0);
    EXPECT_EQ(HexUpper(empty.data(), empty.size()), "D41D8CD98F00B204E9800998ECF8427E");
    const std::string fox = "The quick brown fox jumps over the lazy dog";
    const auto digest = CalcMD5Hash(fox.data(), fox.size());
    EXPECT_EQ(HexUpper(digest.data(), digest.size()), "9E107D9D372BB6826BD81D3542A419D6");
}

TEST(Crypto, GuidsAreRandomVersion4AndRoundTripTheirText)
{
    std::set<std::wstring> seen;
    for (int i = 0; i < 100; ++i) {
        const Guid guid = CreateGuid();
        const std::wstring text = GuidToString(guid);
        ASSERT_EQ(text.size(), 36u);
        EXPECT_EQ(text[14], L'4');
        EXPECT_TRUE(text[19] == L'8' || text[19] == L'9' || text[19] == L'a' || text[19] == L'b');
        EXPECT_EQ(GuidFromString(text), guid);
        seen.insert(text);
    }
    EXPECT_EQ(seen.size(), 100u);
    EXPECT_TRUE(GuidFromString(L"{8D4224F7-2A52-4080-BBEE-02DBF98396E0}").has_value());
    EXPECT_EQ(GuidToString(*GuidFromString(L"{8D4224F7-2A52-4080-BBEE-02DBF98396E0}")),
              L"8d4224f7-2a52-4080-bbee-02dbf98396e0");
    for (const wchar_t* bad : {L"", L"8d4224f7-2a52-4080-bbee-02dbf98396e", L"8d4224f7x2a52-4080-bbee-02dbf98396e0",
                               L"8d4224f7-2a52-4080-bbee-02dbf98396eg"})
        EXPECT_FALSE(GuidFromString(bad).has_value()) << ToUtf8(bad);
}

TEST(Crypto, Base64RoundTripsAndRejectsWhatIsNotBase64)
{
    for (std::size_t n = 0; n < 10; ++n) {
        std::vector<std::uint8_t> bytes(n);
        for (std::size_t i = 0; i < n; ++i) bytes[i] = static_cast<std::uint8_t>(i * 37 + 1);
        const std::string text = Base64Encode(bytes.data(), bytes.size());
        EXPECT_EQ(Base64Decode(text), bytes) << text;
        EXPECT_EQ(Base64Decode(Base64Encode(bytes.data(), bytes.size(), 4)), bytes);  // wrapped lines
    }
    EXPECT_EQ(Base64Encode(reinterpret_cast<const std::uint8_t*>("Man"), 3), "TWFu");
    EXPECT_FALSE(Base64Decode("TWF").has_value());      // not a multiple of four
    EXPECT_FALSE(Base64Decode("TW*u").has_value());     // outside the alphabet
    EXPECT_FALSE(Base64Decode("T=Fu").has_value());     // padding inside
    EXPECT_FALSE(Base64Decode("T===").has_value());     // too much padding
    EXPECT_TRUE(Base64Decode(" TW\r\nFu\t").has_value());
}

TEST(Crypto, SealedDataOpensOnlyUnderItsKeyAndLabelAndUnaltered)
{
    std::array<std::uint8_t, ZRSTD::kAes256KeySize> key{}, otherKey{};
    key[0] = 1;
    otherKey[0] = 2;
    const std::string plain = "a secret of some length";
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(plain.data());
    const auto sealed = ZRSTD::SealAes256Gcm(key.data(), "purpose", bytes, plain.size());
    ASSERT_EQ(sealed.size(), ZRSTD::kAesGcmNonceSize + plain.size() + ZRSTD::kAesGcmTagSize);
    EXPECT_EQ(std::search(sealed.begin(), sealed.end(), plain.begin(), plain.end()), sealed.end());
    // a fresh nonce each time: the same secret never seals to the same bytes
    EXPECT_NE(ZRSTD::SealAes256Gcm(key.data(), "purpose", bytes, plain.size()), sealed);

    const auto opened = ZRSTD::OpenAes256Gcm(key.data(), "purpose", sealed.data(), sealed.size());
    ASSERT_TRUE(opened);
    EXPECT_EQ(std::string(opened->begin(), opened->end()), plain);
    EXPECT_FALSE(ZRSTD::OpenAes256Gcm(otherKey.data(), "purpose", sealed.data(), sealed.size()));
    EXPECT_FALSE(ZRSTD::OpenAes256Gcm(key.data(), "other purpose", sealed.data(), sealed.size()));
    for (std::size_t at : {std::size_t{0}, ZRSTD::kAesGcmNonceSize, sealed.size() - 1}) {
        auto altered = sealed;
        altered[at] ^= 0x01;
        EXPECT_FALSE(ZRSTD::OpenAes256Gcm(key.data(), "purpose", altered.data(), altered.size())) << at;
    }
    EXPECT_FALSE(ZRSTD::OpenAes256Gcm(key.data(), "purpose", sealed.data(), sealed.size() - 1));
    EXPECT_FALSE(ZRSTD::OpenAes256Gcm(key.data(), "purpose", sealed.data(), ZRSTD::kAesGcmNonceSize));

    const auto empty = ZRSTD::SealAes256Gcm(key.data(), "purpose", nullptr, 0);
    const auto openedEmpty = ZRSTD::OpenAes256Gcm(key.data(), "purpose", empty.data(), empty.size());
    ASSERT_TRUE(openedEmpty);
    EXPECT_TRUE(openedEmpty->empty());
}
