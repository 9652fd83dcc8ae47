#include "nhpp/PolicyPath.h"

#include <gtest/gtest.h>

#include "support/PolicyBuilder.h"

using namespace NHPP;
using testsupport::LockedSetting;
using testsupport::Section;
using testsupport::Setting;
using Names = std::vector<std::wstring>;

TEST(PolicyPath, FullNamesMapToPlainAndPolicyPaths)
{
    const auto plain = GetValueCompatiblePath(L"A\rB\rC", PathForm::Plain);
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->containers, (Names{L"A", L"B"}));
    EXPECT_EQ(plain->name, L"C");

    const auto value = GetValueCompatiblePath(L"A\rB\rC", PathForm::PolicyValue);
    EXPECT_EQ(value->containers,
              (Names{L"ZRPRSS_Val", L"A", L"ZRPRSS_Val", L"B", L"ZRPRSS_Val", L"C"}));
    EXPECT_EQ(value->name, L"ZRPRSS_Val");

    const auto holder = GetValueCompatiblePath(L"A\rB\rC", PathForm::PolicySettingContainer);
    EXPECT_EQ(holder->containers, (Names{L"ZRPRSS_Val", L"A", L"ZRPRSS_Val", L"B", L"ZRPRSS_Val"}));
    EXPECT_EQ(holder->name, L"C");

    EXPECT_FALSE(GetValueCompatiblePath(L"", PathForm::PolicyValue));
    EXPECT_EQ(SplitFullName(L"x\r\ry"), (Names{L"x", L"", L"y"}));
}

TEST(PolicyPath, TheLockOfAValueWithoutAnEntryOfItsOwnIsItsNearestSections)
{
    const auto policy = Section(
        {
            {L"86", Section({{L"UseSsl", Setting(true, true)}}, /*mandatory=*/true)},
            {L"Other", LockedSetting(5, {L"Group A", L"Policy B", L"Profile C"})},
        },
        /*mandatory=*/false);

    const struct {
        const wchar_t* fullName;
        HResult result;
        bool mandatory;
    } cases[] = {
        {L"86\rUseSsl", kOk, true},      // its own entry
        {L"86\rUnknown", kOk, true},     // the section's entry
        {L"Missing\rDeep", kOk, false},  // the root's entry
        {L"", kUnexpected, false},       // an empty path
    };
    for (const auto& c : cases) {
        PolicyLockInfo lock;
        lock.mandatory = !c.mandatory;  // the read must clear it
        EXPECT_EQ(ReadPolicyLock(policy.Get(), c.fullName, &lock), c.result);
        EXPECT_EQ(lock.mandatory, c.mandatory);
    }

    PolicyLockInfo lock;
    ASSERT_EQ(ReadPolicyLock(policy.Get(), L"Other", &lock), kOk);
    EXPECT_TRUE(lock.locked);
    EXPECT_EQ(lock.lockGroup, L"Group A");
    EXPECT_EQ(lock.lockPolicy, L"Policy B");
    EXPECT_EQ(lock.lockProfile, L"Profile C");
    EXPECT_EQ(ReadPolicyLock(nullptr, L"x", &lock), kFalse);
}

TEST(PolicyPath, LockDataOfTheWrongTypeOrWithoutAFlagIsNotTaken)
{
    auto wrongType = Setting(1, true);
    wrongType->AddValue(L"ZRPRSS_ValLck", ZRPAR::CreateValue(L"yes").Get());
    const auto policy = Section({{L"Bad", wrongType}, {L"NoFlag", ZRPAR::CreateParamsBody({{L"ZRPRSS_Val", 1}})}});
    PolicyLockInfo lock;
    // a setting whose entry cannot be read takes the lock of the root
    EXPECT_EQ(ReadPolicyLock(policy.Get(), L"Bad", &lock), kOk);
    EXPECT_FALSE(lock.mandatory);
    EXPECT_FALSE(lock.locked);
    EXPECT_EQ(ReadPolicyLock(policy.Get(), L"NoFlag", &lock), kOk);
    EXPECT_FALSE(lock.mandatory);
    // a root without its flag leaves nothing to climb to
    const auto broken = ZRPAR::CreateParamsBody({{L"ZRPRSS_Val", ZRPAR::CreateParams()}});
    EXPECT_EQ(ReadPolicyLock(broken.Get(), L"x", &lock), kUnexpected);
}
