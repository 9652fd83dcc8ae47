#include "zrpar/PolicyForm.h"

#include <gtest/gtest.h>

#include "support/PolicyBuilder.h"
#include "zrstd/Error.h"

using testsupport::Section;
using testsupport::Setting;

TEST(PolicyForm, SplitsSettingsByTheirOwnFlagAndFollowsSections)
{
    const auto policy = Section({
        {L"Enforced", Setting(1, true)},
        {L"Proposed", Setting(L"p", false)},
        {L"Box", Setting(ZRPAR::CreateParamsBody({{L"plain", 1}}), true)},  // a container value, not a section
        {L"Inner", Section({{L"A", Setting(true, true)}, {L"B", Setting(false, false)}}, /*mandatory=*/true)},
        {L"OnlyProposals", Section({{L"C", Setting(3, false)}})},
    });
    ZRSTD::CAutoPtr<ZRPAR::Params> enforced, proposed;
    ZRPRSS_GetMandatoryAndDefault(policy.Get(), &enforced, &proposed);
    EXPECT_EQ(enforced->GetNames(), (std::vector<std::wstring>{L"Enforced", L"Box", L"Inner"}));
    EXPECT_EQ(ZRPAR::GetIntValue(ZRPAR::GetParamsValue(enforced, L"Box"), L"plain"), 1);
    EXPECT_EQ(ZRPAR::GetParamsValue(enforced, L"Inner")->GetNames(), (std::vector<std::wstring>{L"A"}));
    EXPECT_EQ(proposed->GetNames(), (std::vector<std::wstring>{L"Proposed", L"Inner", L"OnlyProposals"}));
    EXPECT_EQ(ZRPAR::GetParamsValue(proposed, L"Inner")->GetNames(), (std::vector<std::wstring>{L"B"}));

    // the outputs are copies
    ZRPAR::GetParamsValue(enforced, L"Box")->ReplaceValue(L"plain", ZRPAR::CreateValue(2).Get());
    ZRSTD::CAutoPtr<ZRPAR::Params> again, unused;
    ZRPRSS_GetMandatoryAndDefault(policy.Get(), &again, &unused);
    EXPECT_EQ(ZRPAR::GetIntValue(ZRPAR::GetParamsValue(again, L"Box"), L"plain"), 1);
}

TEST(PolicyForm, ASettingWhoseFlagIsDamagedTakesItsSectionsFlag)
{
    auto unflagged = ZRPAR::CreateParamsBody({{L"ZRPRSS_Val", 7}});
    auto wrongFlag = ZRPAR::CreateParamsBody({{L"ZRPRSS_Mnd", 1}, {L"ZRPRSS_Val", 8}});
    const auto policy = Section({
        {L"Locked", Section({{L"NoFlag", unflagged}, {L"IntFlag", wrongFlag}}, /*mandatory=*/true)},
        {L"Free", Section({{L"NoFlag", unflagged}}, /*mandatory=*/false)},
    });
    ZRSTD::CAutoPtr<ZRPAR::Params> enforced, proposed;
    ZRPRSS_GetMandatoryAndDefault(policy.Get(), &enforced, &proposed);
    EXPECT_EQ(ZRPAR::GetParamsValue(enforced, L"Locked")->GetNames(), (std::vector<std::wstring>{L"NoFlag", L"IntFlag"}));
    EXPECT_EQ(proposed->GetNames(), (std::vector<std::wstring>{L"Free"}));

    // a root without a flag enforces what it holds
    auto bareRoot = ZRPAR::CreateParamsBody({{L"ZRPRSS_Val", ZRPAR::CreateParamsBody({{L"x", unflagged}})}});
    ZRPRSS_GetMandatoryAndDefault(bareRoot.Get(), &enforced, &proposed);
    EXPECT_EQ(enforced->GetNames(), (std::vector<std::wstring>{L"x"}));
}

TEST(PolicyForm, ArraysOfItemContainersBecomeArraysOfTheirItems)
{
    auto items = ZRPAR::CreateArrayValue();  // as a policy's array grows item by item
    items->Append(ZRPAR::CreateValue(ZRPAR::CreateParamsBody({{L"ZRPRSS_Val", L"*.log"}, {L"ZRPRSS_Mnd", false}}).Get()).Get());
    items->Append(ZRPAR::CreateValue(L"*.cfg").Get());  // a plain item stays
    auto plain = ZRPAR::CreateArrayValue();         // as a whole array is set
    plain->Append(ZRPAR::CreateValue(ZRPAR::CreateParamsBody({{L"port", 15000}}).Get()).Get());
    const auto policy = Section({{L"Masks", Setting(items, true)}, {L"Ports", Setting(plain, false)}});
    ZRSTD::CAutoPtr<ZRPAR::Params> enforced, proposed;
    ZRPRSS_GetMandatoryAndDefault(policy.Get(), &enforced, &proposed);
    const auto masks = ZRPAR::GetArrayValue(enforced.Get(), L"Masks");
    ASSERT_EQ(masks->GetSize(), 2u);
    EXPECT_EQ(static_cast<ZRPAR::StringValue*>(masks->ItemAt(0))->GetValue(), L"*.log");
    EXPECT_EQ(static_cast<ZRPAR::StringValue*>(masks->ItemAt(1))->GetValue(), L"*.cfg");
    const auto ports = ZRPAR::GetArrayValue(proposed.Get(), L"Ports");
    EXPECT_EQ(ZRPAR::GetIntValue(static_cast<ZRPAR::ParamsValue*>(ports->ItemAt(0))->GetValue(), L"port"), 15000);
}

TEST(PolicyForm, DataOutsideThePolicyFormIsAnError)
{
    ZRSTD::CAutoPtr<ZRPAR::Params> enforced, proposed;
    EXPECT_THROW(ZRPRSS_GetMandatoryAndDefault(ZRPAR::CreateParamsBody({{L"x", 1}}).Get(), &enforced, &proposed),
                 ZRERR::Error);
    EXPECT_THROW(ZRPRSS_GetMandatoryAndDefault(Section({{L"bare", 1}}).Get(), &enforced, &proposed), ZRERR::Error);
    ZRPRSS_GetMandatoryAndDefault(nullptr, &enforced, &proposed);
    EXPECT_EQ(enforced->GetSize() + proposed->GetSize(), 0u);
}

TEST(PolicyForm, ProductVersionsBecomeNumbersThatOrderLikeThem)
{
    const struct {
        const wchar_t* text;
        std::uint32_t number;
    } cases[] = {
        {L"7.0.0.0", 0x70000}, {L"6.255.9", 0x6FF09}, {L"15.0.0.1234", 0xF0000}, {L"1.0", 0x10000},
        {L"7", 0x70000},       {L"", 0},              {L"7..0", 0},           {L"7.0.", 0},
        {L"v7", 0},            {L"7.256.0", 0},       {L"1.2.3.4.5", 0},      {L"99999999999.0", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(ZRPRSS_ConvertProductVersion(c.text), c.number) << static_cast<const void*>(c.text);
    EXPECT_EQ(ZRPRSS_ConvertProductVersion(nullptr), 0u);
    EXPECT_LT(ZRPRSS_ConvertProductVersion(L"6.9.9"), ZRPRSS_ConvertProductVersion(L"7.0.0"));
}
