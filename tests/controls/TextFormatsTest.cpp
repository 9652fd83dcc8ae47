#include "controls/TextFormats.h"

#include <gtest/gtest.h>

#include "controls/PluginEnvironment.h"

using namespace textformat;

TEST(TextFormats, AnAddressIsShownHighestByteFirstAndStoredLowestByteFirst)
{
    const struct {
        Ipv4Address address;
        const wchar_t* text;
        std::uint32_t stored;
    } cases[] = {
        {{0xC0A80101, true}, L"192.168.1.1", 0x0101A8C0},
        {{0x7F000001, true}, L"127.0.0.1", 0x0100007F},
        {{0xFFFFFFFF, true}, L"255.255.255.255", 0xFFFFFFFF},  // never negative
        {{0, true}, L"0.0.0.0", 0},
        {{0xC0A80101, false}, L"", 0},  // not valid: empty and 0
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatIpv4(c.address), c.text);
        EXPECT_EQ(ToStoredIpv4(c.address), c.stored);
        if (c.address.valid) {
            EXPECT_EQ(FromStoredIpv4(c.stored).value, c.address.value);
            EXPECT_EQ(FormatStoredIpv4(c.stored), c.text);  // the two forms agree
        }
    }
}

TEST(TextFormats, AnAddressPartIsOnlyDigitsBelow256)
{
    const struct {
        const wchar_t* text;
        int expected;  // -1: refused
    } cases[] = {{L"0", 0},    {L"255", 255}, {L"007", 7},  {L"0000000000001", 1}, {L"256", -1},
                 {L"", -1},    {L"-1", -1},   {L"+5", -1},  {L" 5", -1},           {L"5 ", -1},
                 {L"1a", -1},  {L"99999999999999999999", -1}};
    for (const auto& c : cases) {
        const auto part = ParseIpv4Part(c.text);
        EXPECT_EQ(part ? static_cast<int>(*part) : -1, c.expected) << "\"" << testing::PrintToString(std::wstring(c.text)) << "\"";
    }
}

TEST(TextFormats, AnAddressHasExactlyFourParts)
{
    const struct {
        const wchar_t* text;
        std::optional<std::uint32_t> value;
    } cases[] = {{L"10.0.0.1", 0x0A000001}, {L"255.255.255.255", 0xFFFFFFFF}, {L"10.0.0", std::nullopt},
                 {L"10.0.0.1.5", std::nullopt}, {L"10..0.1", std::nullopt}, {L"10.0.0.", std::nullopt},
                 {L"10.0.0.256", std::nullopt}, {L"", std::nullopt}};
    for (const auto& c : cases) {
        const auto parsed = ParseIpv4(c.text);
        ASSERT_EQ(parsed.has_value(), c.value.has_value()) << testing::PrintToString(std::wstring(c.text));
        if (parsed) {
            EXPECT_EQ(parsed->value, *c.value);
        }
    }
}

TEST(TextFormats, EndpointsByteCountsAndHtml)
{
    EXPECT_EQ(FormatEndpoint({L"http://", L"proxy.corp", 3128, true}), L"http://proxy.corp:3128");
    EXPECT_EQ(FormatEndpoint({L"", L"10.0.0.1", 13000, true}), L"10.0.0.1:13000");
    EXPECT_EQ(FormatEndpoint({L"http://", L"proxy.corp", 3128, false}), L"");

    ui::ResourceModule module(L"plug-in");
    module.AddString(kMegabyteUnitString, L"МБ");
    module.AddString(kKilobyteUnitString, L"КБ");
    module.AddString(kByteUnitString, L"байт");
    GetPluginEnvironment().moduleState = {&module, nullptr};
    const struct {
        std::uint64_t bytes;
        const wchar_t* text;
    } sizes[] = {{0, L"0 байт"},          {1023, L"1023 байт"},          {1024, L"1.0 КБ"},
                 {1536, L"1.5 КБ"},        {1048575, L"1024.0 КБ"},       {1048576, L"1.0 МБ"},
                 {5u * 1048576 + 524288, L"5.5 МБ"}, {0xFFFFFFFFFFFFFFFFull, L"17592186044416.0 МБ"}};
    for (const auto& s : sizes) EXPECT_EQ(FormatByteCount(s.bytes), s.text) << s.bytes;

    EXPECT_EQ(EscapeHtml(L"<a href=\"x\">R&D</a>"), L"&lt;a href=&quot;x&quot;&gt;R&amp;D&lt;/a&gt;");
    EXPECT_EQ(EscapeHtml(L"&lt;"), L"&amp;lt;");  // already escaped text is escaped again, not kept
    EXPECT_EQ(EscapeHtml(L"plain"), L"plain");
}
