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

TEST(PolicyForm, DataOutsideThePolicyFormIsAnError)
{
    ZRSTD::CAutoPtr<ZRPAR::Params> enforced, proposed;
    EXPECT_THROW(ZRPRSS_GetMandatoryAndDefault(ZRPAR::CreateParamsBody({{L"x", 1}}).Get(), &enforced, &proposed),
                 ZRERR::Error);
    EXPECT_THROW(ZRPRSS_GetMandatoryAndDefault(Section({{L"bare", 1}}).Get(), &enforced, &proposed), ZRERR::Error);
    ZRPRSS_GetMandatoryAndDefault(nullptr, &enforced, &proposed);
    EXPECT_EQ(enforced->GetSize() + proposed->GetSize(), 0u);
}
