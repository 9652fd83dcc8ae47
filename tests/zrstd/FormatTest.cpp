#include "zrstd/Format.h"

#include <gtest/gtest.h>

#include <climits>

#include "zrstd/CString.h"

using ZRSTD::FormatInsert;
using ZRSTD::FormatW;

TEST(Format, ConversionsFollowThePlatformFormatter)
{
    struct Case {
        std::wstring got;
        std::wstring expected;
    };
    const Case cases[] = {
        {FormatW(L"%d", -5), L"-5"},
        {FormatW(L"%u", -1), L"4294967295"},  // 32-bit unless qualified
        {FormatW(L"%I64u", std::uint64_t{18446744073709551615ULL}), L"18446744073709551615"},
        {FormatW(L"%lld", std::int64_t{-9000000000}), L"-9000000000"},
        {FormatW(L"%ld", 4294967297LL), L"1"},  // long is 32-bit on the platform
        {FormatW(L"%05d|%-4d|%+d", 42, 7, 3), L"00042|7   |+3"},
        {FormatW(L"%x %X %#x %08X", 255, 255, 255, 0x412), L"ff FF 0xff 00000412"},
        {FormatW(L"%s and %ls", L"wide", std::wstring(L"text")), L"wide and text"},
        {FormatW(L"%hs", "narrow"), L"narrow"},
        {FormatW(L"%s", "utf-8 \xd0\x96"), L"utf-8 \u0416"},
        {FormatW(L"%.3s|%5s|%-5s|", L"abcdef", L"ab", L"ab"), L"abc|   ab|ab   |"},
        {FormatW(L"%.1f %s", 1.25 * 1024, L"KB"), L"1280.0 KB"},
        {FormatW(L"%c%c", L'o', L'k'), L"ok"},
        {FormatW(L"100%%"), L"100%"},
        {FormatW(L"%d.%d.%d.%d", 127, 0, 0, 1), L"127.0.0.1"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.got, c.expected);
}

TEST(Format, MismatchedOrMissingArgumentsNeverReadBeyondWhatWasGiven)
{
    EXPECT_EQ(FormatW(L"%d and %d"), L" and ");
    EXPECT_EQ(FormatW(L"%s", 12), L"12");          // a number where text was asked is written as a number
    EXPECT_EQ(FormatW(L"%d", L"text"), L"0");      // text where a number was asked counts as 0
    EXPECT_EQ(FormatW(L"%q and %"), L"%q and %");  // unknown and unfinished conversions stay as written
    EXPECT_EQ(FormatW(L"%99999d", 1).size(), 4096u);  // padding from a format is bounded
}

TEST(Format, MessageInsertionReplacesNumberedArguments)
{
    EXPECT_EQ(FormatInsert(L"%1 in %2, profile %3", {L"policy", L"group", L"prf"}), L"policy in group, profile prf");
    EXPECT_EQ(FormatInsert(L"%2 before %1", {L"a", L"b"}), L"b before a");
    EXPECT_EQ(FormatInsert(L"%1help\\%2.htm", {L"/opt/x/", L"%1"}), L"/opt/x/help\\%1.htm");
    EXPECT_EQ(FormatInsert(L"%1!s! and %%", {L"x"}), L"x and %");
    EXPECT_EQ(FormatInsert(L"%3 stays", {L"a"}), L"%3 stays");
    EXPECT_EQ(FormatInsert(L"no insertions", {}), L"no insertions");
}

TEST(CString, EditingOperationsPagesUse)
{
    CString label(L"  &Сжимать трафик:  ");
    label.Remove(L'&');
    label.Trim();
    EXPECT_EQ(label, L"Сжимать трафик:");
    EXPECT_EQ(label.GetLength(), 15);

    CString address(L"http://srv http://x");
    EXPECT_EQ(address.Replace(L"http://", L""), 2);
    EXPECT_EQ(address, L"srv x");
    EXPECT_EQ(address.Find(L"x"), 4);
    EXPECT_EQ(address.Find(L"nothing"), -1);
    EXPECT_EQ(CString(L"abc").CompareNoCase(L"ABC"), 0);

    CString formatted;
    formatted.Format(L"%s:%u", L"host", 8080);
    EXPECT_EQ(formatted, L"host:8080");
}
