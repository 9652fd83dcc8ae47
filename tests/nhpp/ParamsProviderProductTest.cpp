#include "nhpp/ParamsProviderProduct.h"

#include <gtest/gtest.h>

#include "nhpp/ParamsProviderPolicy.h"
#include "support/PolicyBuilder.h"
#include "support/StorageDoubles.h"

using namespace NHPP;
using ZRSTD::CAutoPtr;
using testsupport::FailingStorage;
using testsupport::ReadStored;
using testsupport::RecordingReporter;
using testsupport::Section;
using testsupport::Setting;

namespace {

// A computer's local settings of section "86" governed by a policy.
struct Computer {
    FailingStorage local;
    FailingStorage policy;

    void StoreLocal(ZRPAR::Params* section) { local.Inner().Replace(L"1103", L"1.0.0.0", L"86", section); }
    void StorePolicy(ZRPAR::Params* section) { policy.Inner().Replace(L"1103", L"1.0.0.0", L"86", section); }
    CAutoPtr<CParamsProviderProduct> Open(bool withPolicy = true)
    {
        return CParamsProviderProduct::Create(&local, withPolicy ? &policy : nullptr, L"1103", L"1.0.0.0", L"86");
    }
};

}  // namespace

TEST(ProductProvider, WithoutAPolicyTheRootIsTheStoredSectionAndNothingIsLocked)
{
    Computer computer;
    computer.StoreLocal(ZRPAR::CreateParamsBody({{L"UseSsl", false}}));
    auto provider = computer.Open(false);
    EXPECT_EQ(provider->GetProviderType(), kLocalSettingsProvider);
    PolicyLockInfo lock;
    bool useSsl = true;
    EXPECT_EQ(provider->GetBool(L"UseSsl", useSsl, &lock), kOk);
    EXPECT_FALSE(useSsl);
    EXPECT_FALSE(lock.locked);
    EXPECT_FALSE(lock.mandatory);
}

TEST(ProductProvider, EffectiveValuesAreEnforcedThenLocalThenProposed)
{
    Computer computer;
    computer.StoreLocal(ZRPAR::CreateParamsBody({{L"Enforced", 1}, {L"Proposed", 2}, {L"LocalOnly", 3}}));
    computer.StorePolicy(Section({{L"Enforced", Setting(10, true)},
                                  {L"Proposed", Setting(20, false)},
                                  {L"ProposalOnly", Setting(30, false)},
                                  {L"Nested", Section({{L"Deep", Setting(40, true)}})}}));
    auto provider = computer.Open();
    const struct {
        const wchar_t* key;
        std::int32_t value;
        bool locked;
    } cases[] = {
        {L"Enforced", 10, true},     // the policy wins over the computer
        {L"Proposed", 2, false},     // the computer wins over a proposal
        {L"ProposalOnly", 30, false},
        {L"LocalOnly", 3, false},    // not in the policy: the root's lock
        {L"Nested\rDeep", 40, true},
    };
    for (const auto& c : cases) {
        PolicyLockInfo lock;
        std::int32_t value = 0;
        EXPECT_EQ(provider->GetInt(c.key, value, &lock), kOk) << ZRSTD::ToUtf8(c.key);
        EXPECT_EQ(value, c.value) << ZRSTD::ToUtf8(c.key);
        EXPECT_EQ(lock.locked, c.locked) << ZRSTD::ToUtf8(c.key);
        EXPECT_EQ(lock.mandatory, c.locked) << ZRSTD::ToUtf8(c.key);
    }
}

TEST(ProductProvider, ApplyWritesTheEffectiveValuesIncludingEnforcedOnes)
{
    Computer computer;
    computer.StoreLocal(ZRPAR::CreateParamsBody({{L"Enforced", 1}}));
    computer.StorePolicy(Section({{L"Enforced", Setting(10, true)}}));
    auto provider = computer.Open();
    provider->SetInt(L"Mine", 5, false);
    RecordingReporter reporter;
    EXPECT_EQ(provider->Apply(false, &reporter), kOk);
    auto stored = ReadStored(computer.local.Inner(), L"86");
    EXPECT_EQ(ZRPAR::GetIntValue(stored, L"Enforced"), 10);
    EXPECT_EQ(ZRPAR::GetIntValue(stored, L"Mine"), 5);
}

TEST(ProductProvider, AComputerWithoutASectionStartsEmptyAndApplyCreatesTheLevels)
{
    Computer computer;
    auto provider = computer.Open(false);
    EXPECT_EQ(provider->GetIntOrDefault(L"x", -1, nullptr), -1);
    provider->SetInt(L"x", 1, false);
    EXPECT_EQ(provider->Apply(false, nullptr), kOk);
    EXPECT_EQ(computer.local.creates, 3);
    ZRSTD::CAutoPtr<ZRPAR::Params> product;
    computer.local.Inner().Read(L"1103", L"", L"", &product);
    ASSERT_TRUE(product);
    EXPECT_TRUE(product->DoesExist(L"1.0.0.0"));
    EXPECT_EQ(provider->Update(nullptr), kOk);
}

TEST(ProductProvider, AStoreThatCannotBeReadIsReportedOnApplyAndNothingIsOverwritten)
{
    Computer computer;
    computer.StoreLocal(ZRPAR::CreateParamsBody({{L"Precious", 1}}));
    computer.local.failReads = true;
    auto provider = computer.Open(false);
    EXPECT_EQ(provider->GetIntOrDefault(L"Precious", -1, nullptr), -1);  // the page's default
    RecordingReporter reporter;
    EXPECT_EQ(provider->Apply(false, &reporter), kFail);
    ASSERT_EQ(reporter.reported.size(), 1u);
    EXPECT_EQ(reporter.reported[0], L"the test storage refuses to read");
    EXPECT_EQ(computer.local.writes, 0);
    computer.local.failReads = false;
    EXPECT_EQ(ZRPAR::GetIntValue(ReadStored(computer.local.Inner(), L"86"), L"Precious"), 1);
}

TEST(ProductProvider, AFailedApplyReloadsWhenAsked)
{
    Computer computer;
    computer.StoreLocal(ZRPAR::CreateParamsBody({{L"v", 1}}));
    auto provider = computer.Open(false);
    provider->SetInt(L"v", 2, false);
    computer.local.failWrites = true;
    RecordingReporter reporter;
    EXPECT_EQ(provider->Apply(true, &reporter), kFail);
    EXPECT_EQ(reporter.reported.size(), 1u);
    EXPECT_EQ(provider->GetIntOrDefault(L"v", 0, nullptr), 1);
    EXPECT_EQ(provider->Update(&reporter), kFail);
    EXPECT_EQ(reporter.reported.size(), 2u);
}

TEST(ProductProvider, ChildrenAndCopiesShareTheStorage)
{
    Computer computer;
    auto provider = computer.Open(false);
    CAutoPtr<CParams> duplicate;
    provider->Duplicate(&duplicate);
    duplicate->SetInt(L"v", 3, false);
    EXPECT_EQ(duplicate->Apply(false, nullptr), kOk);
    EXPECT_EQ(ZRPAR::GetIntValue(ReadStored(computer.local.Inner(), L"86"), L"v"), 3);

    CAutoPtr<CParams> child;
    provider->CreateInstance(&child, nullptr, false);
    EXPECT_EQ(child->GetProviderType(), kLocalSettingsProvider);
    const int writesBefore = computer.local.writes;
    EXPECT_EQ(child->Apply(false, nullptr), kOk);  // a child has no storage of its own
    EXPECT_EQ(computer.local.writes, writesBefore);
}

TEST(ProductProvider, APolicyThatCannotBeReadLeavesNothingEditableAndNothingApplied)
{
    const struct {
        const char* what;
        bool failPolicyReads;
        ZRSTD::CAutoPtr<ZRPAR::Params> policy;
    } cases[] = {
        {"the storage refuses", true, Section({{L"UseSsl", Setting(true, false)}})},
        {"settings that are no value containers", false, Section({{L"UseSsl", ZRPAR::CreateParams()}})},
        {"no policy form at all", false, ZRPAR::CreateParamsBody({{L"UseSsl", true}})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Computer computer;
        computer.StoreLocal(ZRPAR::CreateParamsBody({{L"UseSsl", false}}));
        computer.StorePolicy(c.policy.Get());
        computer.policy.failReads = c.failPolicyReads;
        auto provider = computer.Open();
        PolicyLockInfo lock;
        bool useSsl = true;
        EXPECT_EQ(provider->GetBool(L"UseSsl", useSsl, &lock), kOk);
        EXPECT_FALSE(useSsl);  // the computer's own value is shown
        EXPECT_TRUE(lock.locked);
        EXPECT_TRUE(lock.mandatory);
        bool ofPolicy = false;
        EXPECT_NE(provider->UnreadableSettings(ofPolicy), nullptr);
        EXPECT_TRUE(ofPolicy);

        provider->SetBool(L"UseSsl", true, false);
        RecordingReporter reporter;
        EXPECT_EQ(provider->Apply(false, &reporter), kFail);
        EXPECT_EQ(provider->Update(&reporter), kFail);
        EXPECT_EQ(reporter.reported.size(), 2u);
        EXPECT_EQ(computer.local.writes, 0);
    }
}

TEST(ProductProvider, AnEmptyPolicySectionEnforcesNothing)
{
    Computer computer;
    computer.StoreLocal(ZRPAR::CreateParamsBody({{L"UseSsl", false}}));
    computer.StorePolicy(ZRPAR::CreateParams());
    auto provider = computer.Open();
    PolicyLockInfo lock;
    bool useSsl = true;
    EXPECT_EQ(provider->GetBool(L"UseSsl", useSsl, &lock), kOk);
    EXPECT_FALSE(useSsl);
    EXPECT_FALSE(lock.locked);
    EXPECT_EQ(provider->Apply(false, nullptr), kOk);
}
