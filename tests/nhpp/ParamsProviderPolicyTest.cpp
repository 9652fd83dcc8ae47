#include "nhpp/ParamsProviderPolicy.h"

#include <gtest/gtest.h>

#include "support/PolicyBuilder.h"
#include "support/StorageDoubles.h"
#include "zrpar/Render.h"
#include "zrstd/Strings.h"
#include "zrstd/Trace.h"

using namespace NHPP;
using ZRSTD::CAutoPtr;
using testsupport::FailingStorage;
using testsupport::LockedSetting;
using testsupport::ReadStored;
using testsupport::RecordingReporter;
using testsupport::Section;
using testsupport::Setting;

namespace {

CAutoPtr<CParamsProviderPolicy> PolicyOver(ZRPlugin::SettingsStorage* storage, const wchar_t* section = L"86")
{
    return CParamsProviderPolicy::Create(storage, L"1103", L"1.0.0.0", section);
}

bool Flag(ZRPAR::Params* container) { return ZRPAR::GetBoolValue(container, L"ZRPRSS_Mnd"); }
ZRPAR::Params* Child(ZRPAR::Params* container, const wchar_t* name) { return ZRPAR::GetParamsValue(container, name).Get(); }

}  // namespace

TEST(PolicyProvider, WritesCarryTheMandatoryFlagAndANewSectionTakesTheFirstOne)
{
    for (bool mandatory : {true, false}) {
        auto policy = PolicyOver(nullptr);
        ASSERT_EQ(policy->CreateInstance(nullptr, nullptr, false), kInvalidArg);
        CAutoPtr<CParams> provider;
        policy->CreateInstance(&provider, nullptr, false);
        EXPECT_EQ(provider->SetBool(L"NGTINSTALLERDATA\rUseSsl", true, mandatory), kOk);
        CAutoPtr<ZRPAR::Params> root;
        provider->GetRoot(&root);
        ZRPAR::Params* section = Child(Child(root, L"ZRPRSS_Val"), L"NGTINSTALLERDATA");
        EXPECT_EQ(Flag(section), mandatory);
        ZRPAR::Params* setting = Child(Child(section, L"ZRPRSS_Val"), L"UseSsl");
        EXPECT_EQ(Flag(setting), mandatory);
        EXPECT_TRUE(ZRPAR::GetBoolValue(setting, L"ZRPRSS_Val"));
        EXPECT_FALSE(Flag(root));  // the root keeps its own flag
    }
}

TEST(PolicyProvider, ASecondWriteChangesTheSettingsFlagButNotItsSections)
{
    CAutoPtr<CParams> provider;
    PolicyOver(nullptr)->CreateInstance(&provider, nullptr, false);
    provider->SetInt(L"S\rv", 1, true);
    provider->SetInt(L"S\rv", 2, false);
    PolicyLockInfo lock;
    std::int32_t value = 0;
    EXPECT_EQ(provider->GetInt(L"S\rv", value, &lock), kOk);
    EXPECT_EQ(value, 2);
    EXPECT_FALSE(lock.mandatory);
    EXPECT_EQ(provider->GetLockData(L"S", &lock), kOk);
    EXPECT_TRUE(lock.mandatory);
}

TEST(PolicyProvider, ReadsReportTheStoredLockOfTheSettingItself)
{
    CAutoPtr<CParams> provider;
    PolicyOver(nullptr)->CreateInstance(
        &provider,
        Section({{L"Free", Setting(1, false)},
                 {L"Locked", LockedSetting(2, {L"Группа", L"Политика", L"Профиль"})},
                 {L"Wrong", Setting(L"text", true)}}),
        false);
    PolicyLockInfo lock;
    std::int32_t value = 0;
    EXPECT_EQ(provider->GetInt(L"Free", value, &lock), kOk);
    EXPECT_FALSE(lock.locked);
    EXPECT_FALSE(lock.mandatory);
    EXPECT_EQ(provider->GetInt(L"Locked", value, &lock), kOk);
    EXPECT_TRUE(lock.locked);
    EXPECT_TRUE(lock.mandatory);
    EXPECT_EQ(lock.lockGroup, L"Группа");
    EXPECT_EQ(lock.lockPolicy, L"Политика");
    EXPECT_EQ(lock.lockProfile, L"Профиль");
    lock = PolicyLockInfo{};
    EXPECT_EQ(provider->GetInt(L"Wrong", value, &lock), kUnexpected);
    EXPECT_FALSE(lock.mandatory);  // left as it was
    EXPECT_EQ(provider->GetInt(L"Absent", value, &lock), kFalse);
}

TEST(PolicyProvider, DamagedLockDataNeverHidesASoundValue)
{
    // lock data that is missing or of another type reads as an absent flag: the enclosing section's
    auto noFlag = ZRPAR::CreateParamsBody({{L"ZRPRSS_Val", 11}});
    auto intFlag = ZRPAR::CreateParamsBody({{L"ZRPRSS_Mnd", 1}, {L"ZRPRSS_Val", 12}});
    auto textLock = Setting(13, false);
    textLock->AddValue(L"ZRPRSS_ValLck", ZRPAR::CreateValue(L"yes").Get());
    CAutoPtr<CParams> provider;
    PolicyOver(nullptr)->CreateInstance(
        &provider,
        Section({{L"Locked", Section({{L"NoFlag", noFlag}, {L"IntFlag", intFlag}, {L"TextLock", textLock}}, true)},
                 {L"TopNoFlag", noFlag}}),
        false);
    const struct {
        const wchar_t* key;
        std::int32_t value;
        bool mandatory;
    } cases[] = {
        {L"Locked\rNoFlag", 11, true},
        {L"Locked\rIntFlag", 12, true},
        {L"Locked\rTextLock", 13, true},
        {L"TopNoFlag", 11, false},  // the root's flag
    };
    for (const auto& c : cases) {
        PolicyLockInfo lock;
        std::int32_t value = 0;
        EXPECT_EQ(provider->GetInt(c.key, value, &lock), kOk) << ZRSTD::ToUtf8(c.key);
        EXPECT_EQ(value, c.value) << ZRSTD::ToUtf8(c.key);
        EXPECT_EQ(lock.mandatory, c.mandatory) << ZRSTD::ToUtf8(c.key);
        EXPECT_FALSE(lock.locked) << ZRSTD::ToUtf8(c.key);
    }
}

TEST(PolicyProvider, FlagsAloneAreMergedWithoutTouchingValues)
{
    CAutoPtr<CParams> provider;
    PolicyOver(nullptr)->CreateInstance(&provider, nullptr, false);
    provider->SetInt(L"S\rv", 7, false);
    EXPECT_EQ(provider->SetMandatory(L"S\rv", true), kOk);
    PolicyLockInfo lock;
    std::int32_t value = 0;
    EXPECT_EQ(provider->GetInt(L"S\rv", value, &lock), kOk);
    EXPECT_EQ(value, 7);
    EXPECT_TRUE(lock.mandatory);

    // a setting without a value gets a value container holding only the flag
    EXPECT_EQ(provider->SetMandatory(L"S\rnew", true), kOk);
    CAutoPtr<ZRPAR::Params> root;
    provider->GetRoot(&root);
    ZRPAR::Params* created = Child(Child(Child(Child(root, L"ZRPRSS_Val"), L"S"), L"ZRPRSS_Val"), L"new");
    EXPECT_EQ(created->GetNames(), (std::vector<std::wstring>{L"ZRPRSS_Mnd"}));

    EXPECT_EQ(provider->SetMandatoryForArray(L"ports", true, true), kOk);
    CAutoPtr<ZRPAR::ArrayValue> ports;
    EXPECT_EQ(provider->GetArray(L"ports", &ports, &lock), kOk);
    EXPECT_EQ(ports->GetSize(), 0u);
    EXPECT_TRUE(lock.mandatory);
    EXPECT_TRUE(lock.concatArray);

    EXPECT_EQ(provider->SetMandatoryForContainer(L"box", true), kOk);
    CAutoPtr<ZRPAR::Params> box;
    EXPECT_EQ(provider->GetParams(L"box", &box, &lock), kOk);
    EXPECT_TRUE(lock.mandatory);
}

TEST(PolicyProvider, ArrayItemsAreItemContainers)
{
    CAutoPtr<CParams> provider;
    PolicyOver(nullptr)->CreateInstance(&provider, nullptr, false);
    EXPECT_EQ(provider->PushbackArrayItem(L"paths", std::wstring(L"%ProgramFiles%"), L"pf"), kOk);
    EXPECT_EQ(provider->ReplaceArrayItem(L"paths", 0, std::wstring(L"%SystemRoot%")), kOk);
    std::wstring path;
    EXPECT_EQ(provider->GetArrayItem(L"paths", 0, path), kOk);
    EXPECT_EQ(path, L"%SystemRoot%");
    CAutoPtr<ZRPAR::ArrayValue> array;
    provider->GetArray(L"paths", &array, nullptr);
    auto* item = static_cast<ZRPAR::ParamsValue*>(array->ItemAt(0))->GetValue();
    EXPECT_EQ(ZRPAR::GetStringValue(item, L"ZRPRSS_ValConcatItemName"), L"pf");  // kept by the replace
    EXPECT_FALSE(ZRPAR::GetBoolValue(item, L"ZRPRSS_Mnd"));

    // an item given as a provider keeps its place's name for joining
    CAutoPtr<CParams> replacement;
    PolicyOver(nullptr)->CreateInstance(&replacement, nullptr, false);
    replacement->SetInt(L"x", 1, false);
    EXPECT_EQ(provider->ReplaceArrayItem(L"paths", 0, replacement.Get()), kOk);
    provider->GetArray(L"paths", &array, nullptr);
    item = static_cast<ZRPAR::ParamsValue*>(array->ItemAt(0))->GetValue();
    EXPECT_EQ(ZRPAR::GetStringValue(item, L"ZRPRSS_ValConcatItemName"), L"pf");
    CAutoPtr<CParams> child;
    ASSERT_EQ(provider->GetArrayItem(L"paths", 0, &child), kOk);
    EXPECT_EQ(child->GetIntOrDefault(L"x", 0, nullptr), 1);
}

TEST(PolicyProvider, NamesRemovalAndClonesFollowThePolicyForm)
{
    CAutoPtr<CParams> provider;
    PolicyOver(nullptr)->CreateInstance(&provider, Section({{L"S", Section({{L"a", Setting(1, true)},
                                                                            {L"b", Setting(2, false)}})}}),
                                        false);
    std::vector<std::wstring> names;
    EXPECT_EQ(provider->GetNames(L"S", names), kOk);
    EXPECT_EQ(names, (std::vector<std::wstring>{L"a", L"b"}));
    EXPECT_EQ(provider->Remove(L"S\ra"), kOk);
    std::size_t count = 0;
    provider->GetSize(L"S", count);
    EXPECT_EQ(count, 1u);

    CAutoPtr<CParams> clone;
    ASSERT_EQ(provider->Clone(&clone, L"S", false), kOk);
    EXPECT_EQ(clone->GetProviderType(), kPolicyProvider);
    EXPECT_EQ(clone->GetIntOrDefault(L"b", 0, nullptr), 2);
    clone->SetInt(L"b", 3, true);
    EXPECT_EQ(provider->GetIntOrDefault(L"S\rb", 0, nullptr), 2);
    // and it goes back with SetParams
    CAutoPtr<ZRPAR::Params> cloneRoot;
    clone->GetRoot(&cloneRoot);
    EXPECT_EQ(provider->SetParams(L"S", ZRPAR::GetParamsValue(cloneRoot, L"ZRPRSS_Val").Get(), false), kOk);
    PolicyLockInfo lock;
    std::int32_t b = 0;
    EXPECT_EQ(provider->GetInt(L"S\rb", b, &lock), kOk);
    EXPECT_EQ(b, 3);
    EXPECT_TRUE(lock.mandatory);
}

TEST(PolicyProvider, ApplyCreatesTheLevelsReplacesTheSectionAndReloads)
{
    FailingStorage storage;
    auto policy = PolicyOver(&storage);
    RecordingReporter reporter;
    policy->SetInt(L"ServerPingTimeout", 900000, true);
    EXPECT_EQ(policy->Apply(false, &reporter), kOk);
    EXPECT_EQ(policy->Apply(false, &reporter), kOk);  // the sections exist now: still fine
    EXPECT_TRUE(reporter.reported.empty());
    EXPECT_EQ(storage.creates, 6);

    auto stored = ReadStored(storage.Inner(), L"86");
    ASSERT_TRUE(stored);
    auto fresh = PolicyOver(&storage);
    PolicyLockInfo lock;
    std::int32_t timeout = 0;
    EXPECT_EQ(fresh->GetInt(L"ServerPingTimeout", timeout, &lock), kOk);
    EXPECT_EQ(timeout, 900000);
    EXPECT_TRUE(lock.mandatory);
}

TEST(PolicyProvider, AFailedCommitIsReportedOnceAndLeavesTheStoredSection)
{
    FailingStorage storage;
    auto policy = PolicyOver(&storage);
    policy->SetInt(L"v", 1, false);
    ASSERT_EQ(policy->Apply(false, nullptr), kOk);

    for (bool createFails : {false, true}) {
        storage.failWrites = !createFails;
        storage.failCreates = createFails;
        RecordingReporter reporter;
        policy->SetInt(L"v", 2, false);
        EXPECT_EQ(policy->Apply(true, &reporter), kFail);
        ASSERT_EQ(reporter.reported.size(), 1u);
        storage.failWrites = storage.failCreates = false;
        EXPECT_EQ(PolicyOver(&storage)->GetIntOrDefault(L"v", 0, nullptr), 1);  // stored as it was
        EXPECT_EQ(policy->GetIntOrDefault(L"v", 0, nullptr), 1);                // reloaded
    }

    storage.failWrites = true;
    RecordingReporter reporter;
    policy->SetInt(L"v", 3, false);
    EXPECT_EQ(policy->Apply(false, &reporter), kFail);
    EXPECT_EQ(policy->GetIntOrDefault(L"v", 0, nullptr), 3);  // without reload the edit stays
    EXPECT_EQ(policy->Update(&reporter), kFail);
    EXPECT_EQ(reporter.reported.size(), 2u);
}

TEST(PolicyProvider, UpdateWithoutStorageDoesNothingAndSaysSo)
{
    CAutoPtr<CParams> provider;
    PolicyOver(nullptr)->CreateInstance(&provider, nullptr, false);
    RecordingReporter reporter;
    EXPECT_EQ(provider->Update(&reporter), kUnexpected);
    EXPECT_EQ(provider->Apply(false, &reporter), kOk);
    EXPECT_TRUE(reporter.reported.empty());

    FailingStorage storage;
    auto policy = PolicyOver(&storage);
    policy->SetBool(L"a", true, true);
    EXPECT_EQ(policy->Update(&reporter), kOk);
    EXPECT_TRUE(ReadStored(storage.Inner(), L"86"));
}

TEST(PolicyProvider, AStorageThatCannotBeReadLeavesAnEmptyPolicy)
{
    FailingStorage storage;
    storage.failReads = true;
    auto policy = PolicyOver(&storage);
    EXPECT_EQ(policy->GetIntOrDefault(L"v", 42, nullptr), 42);
    EXPECT_EQ(policy->Reload(), kFail);
}

TEST(PolicyProvider, FailuresAreTracedWithTheOperationOfThePolicyProvider)
{
    std::wstring traced;
    ZRSTD::SetTraceSink([&](int, std::string_view, std::wstring_view text) { traced += std::wstring(text) + L"\n"; }, 5);
    CAutoPtr<CParams> provider;
    PolicyOver(nullptr)->CreateInstance(&provider, Section({{L"plain", Setting(1, false)}}), false);
    EXPECT_EQ(provider->Remove(L"absent\rdeeper"), kFalse);
    std::int32_t value = 0;
    EXPECT_EQ(provider->GetInt(L"absent", value, nullptr), kFalse);
    ZRSTD::SetTraceSink(nullptr, 0);
    EXPECT_NE(traced.find(L"NHPP::CParamsProviderPolicy::Remove failed: ZRSTD 0x49F"), std::wstring::npos)
        << ZRSTD::ToUtf8(traced);
    EXPECT_NE(traced.find(L"NHPP::CParamsProviderPolicy::GetInt failed"), std::wstring::npos);
}
