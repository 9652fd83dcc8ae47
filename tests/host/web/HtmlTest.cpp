#include "host/web/Html.h"

#include <gtest/gtest.h>

namespace host::web {
namespace {

TEST(EscapeTest, MarkupFromTheStoreBecomesText)
{
    const struct {
        std::string text;
        std::string escaped;
    } cases[] = {
        {"<img src=x onerror=alert(1)>", "&lt;img src=x onerror=alert(1)&gt;"},
        {"\"><script>alert(1)</script>", "&quot;&gt;&lt;script&gt;alert(1)&lt;/script&gt;"},
        {"a & b 'c'", "a &amp; b &#39;c&#39;"},
        {"Журнал событий", "Журнал событий"},
        {"line\nbreak\ttab", "line\nbreak\ttab"},
        {std::string("nul\0bell\x07", 9), "nulbell"},
        {"bad \xFF byte", "bad \xEF\xBF\xBD byte"},
        {"overlong \xC0\xBC", "overlong \xEF\xBF\xBD\xEF\xBF\xBD"},
        {"cut \xD0", "cut \xEF\xBF\xBD"},
    };
    for (const auto& c : cases) EXPECT_EQ(Escape(c.text), c.escaped) << c.text;
}

TEST(IsCleanTextTest, AcceptsUtf8TextAndRefusesControlsAndBrokenBytes)
{
    const struct {
        std::string text;
        bool clean;
    } cases[] = {
        {"policy:Default policy", true},
        {"Пароль #1\r\n\t", true},
        {"", true},
        {std::string("a\0b", 3), false},
        {"\x1b[31m", false},
        {"\xFF\xFE", false},
        {"\xED\xA0\x80", false},  // a surrogate written as UTF-8
        {"\xF4\x90\x80\x80", false},  // past U+10FFFF
    };
    for (const auto& c : cases) EXPECT_EQ(IsCleanText(c.text), c.clean) << c.text;
}

TEST(UrlEncodeTest, KeepsOnlyUnreservedCharacters)
{
    EXPECT_EQ(UrlEncode("policy:A b&c=д"), "policy%3AA%20b%26c%3D%D0%B4");
}

}  // namespace
}  // namespace host::web
