#include "plugin/pages/agent/NLARule.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/NlaData.h"

using namespace nla;

TEST(NLARule, SubnetsAreCheckedInTheControlsByteOrder)
{
    const struct {
        const char* subnet;
        std::uint32_t address, mask;
        UINT problem;
    } cases[] = {
        {"10.0.0.0/255.0.0.0", 0x0A000000, 0xFF000000, 0},
        {"192.168.1.0/255.255.255.0", 0xC0A80100, 0xFFFFFF00, 0},
        {"192.168.1.128/255.255.255.254", 0xC0A80180, 0xFFFFFFFE, 0},
        {"0.0.0.0/255.0.0.0", 0, 0xFF000000, 1919},
        {"0.0.0.0/0.0.0.0", 0, 0, 1919},
        {"10.0.0.0/0.0.0.0", 0x0A000000, 0, 1918},
        {"10.0.0.0/255.255.255.255", 0x0A000000, 0xFFFFFFFF, 1917},  // bit 0 of the mask
        {"10.0.0.0/255.0.255.0", 0x0A000000, 0xFF00FF00, 1917},      // not one run
        {"10.0.0.0/0.255.255.0", 0x0A000000, 0x00FFFF00, 1917},      // not from bit 31
        {"10.1.0.0/255.0.0.0", 0x0A010000, 0xFF000000, 1917},        // address outside the mask
    };
    for (const auto& c : cases) EXPECT_EQ(SubnetProblem(c.address, c.mask), c.problem) << c.subnet;
    EXPECT_EQ(ReverseBytes(0xC0A80101u), 0x0101A8C0u);
    EXPECT_EQ(ReverseBytes(ReverseBytes(0x12345678u)), 0x12345678u);
}

TEST(NLARule, NamesAreCheckedForLengthAndForbiddenCharacters)
{
    const struct {
        std::wstring name;
        UINT problem;
    } cases[] = {
        {L"", 5851},
        {std::wstring(260, L'x'), 0},
        {std::wstring(261, L'x'), 5853},
        {L"Офис (этаж 2)", 0},
        {L"a\"b", 5852}, {L"a*b", 5852}, {L"a<b", 5852}, {L"a>b", 5852}, {L"a?b", 5852},
        {L"a\\b", 5852}, {L"a/b", 5852}, {L"a:b", 5852}, {L"a|b", 5852},
    };
    for (const auto& c : cases) EXPECT_EQ(RuleNameProblem(c.name), c.problem) << c.name.size();
    EXPECT_EQ(ForbiddenCharactersText(), L"\" * < > ? \\ / : |");
    EXPECT_TRUE(SameName(L"Сеть Офиса", L"сеть офиса"));
    EXPECT_FALSE(SameName(L"Офис", L"Офис 2"));
}

TEST(NLARule, AConditionCountsWhenItHasValuesOrIsTheYesNoType)
{
    using testsupport::Array;
    using testsupport::Condition;
    const auto& subnet = ConditionTypes()[0];
    const auto& domain = ConditionTypes()[6];
    const struct {
        const char* what;
        const ConditionType& type;
        ZRSTD::CAutoPtr<ZRPAR::Value> entry;
        bool counts;
    } cases[] = {
        {"subnet with a value", subnet,
         ZRPAR::CreateValue(Condition(Array({ZRPAR::CreateValue(ZRPAR::CreateParams().Get())})).Get()), true},
        {"subnet with an empty list", subnet, ZRPAR::CreateValue(Condition(Array({})).Get()), false},
        {"subnet that is no container", subnet, ZRPAR::CreateValue(L"garbage"), false},
        {"yes/no type of any form", domain, ZRPAR::CreateValue(7), true},
    };
    for (const auto& c : cases) {
        auto rule = ZRPAR::CreateParams();
        rule->AddValue(c.type.key, c.entry.Get());
        EXPECT_EQ(HasCondition(*rule, c.type), c.counts) << c.what;
        EXPECT_FALSE(HasCondition(*ZRPAR::CreateParams(), c.type)) << c.what;
    }
    // the table is addressed by index, its commands follow it, and the menu names each type once
    for (std::size_t i = 0; i < kConditionTypeCount; ++i) {
        EXPECT_EQ(ConditionTypes()[i].index, static_cast<int>(i));
        EXPECT_EQ(ConditionTypes()[i].command, kFirstConditionCommand + i);
        EXPECT_EQ(std::count(MenuOrder().begin(), MenuOrder().end(), static_cast<int>(i)), 1);
    }
}
