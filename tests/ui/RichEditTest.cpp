#include "ui/RichEdit.h"

#include <gtest/gtest.h>

#include "zrstd/Strings.h"

TEST(RichEditUrls, AddressesAreFoundFromTheirSchemeToABlankWithoutFinalPunctuation)
{
    const struct {
        const wchar_t* text;
        std::vector<std::pair<int, int>> urls;
    } cases[] = {
        {L"see http://a.b/c.", {{4, 16}}},
        {L"www.x.org, mailto:u@x.org", {{0, 9}, {11, 25}}},
        {L"nohttp://x and <https://y>", {{16, 25}}},
        {L"plain text", {}},
    };
    for (const auto& entry : cases) {
        std::vector<std::pair<int, int>> found;
        for (const CHARRANGE& range : ui::FindUrls(entry.text)) found.emplace_back(range.cpMin, range.cpMax);
        EXPECT_EQ(found, entry.urls) << ZRSTD::ToUtf8(entry.text);
    }
}
