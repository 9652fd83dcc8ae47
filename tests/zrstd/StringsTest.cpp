#include "zrstd/Strings.h"

#include <gtest/gtest.h>

using namespace ZRSTD;

TEST(Strings, Utf8RoundTripsEveryPlane)
{
    const std::wstring text = L"ASCII, Кириллица, 中文, \U0001F600";
    EXPECT_EQ(FromUtf8(ToUtf8(text)), text);
    EXPECT_EQ(ToUtf8(L"\u0416"), "\xd0\x96");
}

TEST(Strings, IllFormedUtf8BecomesReplacementCharacters)
{
    EXPECT_EQ(FromUtf8("a\xff" "b"), L"a\uFFFDb");
    EXPECT_EQ(FromUtf8("\xd0"), L"\uFFFD");                 // truncated sequence at the end
    EXPECT_EQ(FromUtf8("\xc0\xaf"), L"\uFFFD");             // overlong form of '/'
    EXPECT_EQ(FromUtf8("\xed\xa0\x80"), L"\uFFFD");         // encoded surrogate
    EXPECT_EQ(FromUtf8("\xf4\x90\x80\x80"), L"\uFFFD");     // beyond U+10FFFF
    EXPECT_EQ(FromUtf8("\xe2\x82" "x"), L"\uFFFDx");
}

TEST(Strings, Utf16LeUsesSurrogatePairsAndKeepsLoneSurrogates)
{
    const auto bytes = ToUtf16LeBytes(L"A\U0001F600");
    const std::vector<std::uint8_t> expected = {0x41, 0x00, 0x3D, 0xD8, 0x00, 0xDE};
    EXPECT_EQ(bytes, expected);
    EXPECT_EQ(Utf16Length(L"A\U0001F600"), 3u);
    EXPECT_EQ(FromUtf16Le(bytes.data(), 3), L"A\U0001F600");

    // A lone high surrogate survives decoding and encoding unit for unit.
    const std::vector<std::uint8_t> lone = {0x00, 0xD8, 0x41, 0x00};
    const std::wstring decoded = FromUtf16Le(lone.data(), 2);
    EXPECT_EQ(decoded.size(), 2u);
    EXPECT_EQ(ToUtf16LeBytes(decoded), lone);
}

TEST(Strings, TrimmingCaseAndReplacement)
{
    EXPECT_EQ(Trim(L" \t x y \r\n"), L"x y");
    EXPECT_EQ(TrimRight(L"a  "), L"a");
    EXPECT_EQ(TrimLeft(L"  a "), L"a ");
    EXPECT_EQ(CompareNoCase(L"abc", L"ABC"), 0);
    EXPECT_LT(CompareNoCase(L"abc", L"abd"), 0);
    EXPECT_GT(CompareNoCase(L"abcd", L"ABC"), 0);
    // whatever locale the process runs in (a host starts in "C")
    EXPECT_EQ(CompareNoCase(L"Сеть ОФИСА Ёлка", L"сеть офиса ёлка"), 0);
    EXPECT_EQ(ToLower(L"ДОМ Straße"), L"дом straße");
    EXPECT_EQ(ToUpper(L"дом"), L"ДОМ");
    EXPECT_EQ(ReplaceAll(L"a&b&c", L"&", L"&amp;"), L"a&amp;b&amp;c");
    EXPECT_EQ(ReplaceAll(L"abc", L"", L"x"), L"abc");
    const std::uint8_t digest[] = {0x0F, 0xA0};
    EXPECT_EQ(HexUpper(digest, 2), "0FA0");
}
