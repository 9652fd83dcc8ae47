// The settings new objects start with.
#include <gtest/gtest.h>

#include "plugin/interface/LoadedPlugin.h"
#include "support/StorageDoubles.h"
#include "zrpar/Packed.h"
#include "zrpar/Render.h"
#include "zrstd/ProductMode.h"

using testsupport::Configure;
using testsupport::ErrorOf;
using testsupport::FakeDataSource;
using testsupport::ReadStored;

namespace {

// The value and lock of a setting in a stored policy section.
struct PolicySetting {
    ZRSTD::CAutoPtr<ZRPAR::Value> value;
    bool locked = false;
};

std::optional<PolicySetting> Setting(ZRPlugin::SettingsStorage& storage, const wchar_t* section, const wchar_t* key)
{
    auto stored = ReadStored(storage, section);
    ZRPAR::Params* container = testsupport::SettingIn(stored.Get(), key);
    if (!container) return std::nullopt;
    return PolicySetting{container->FindValue(L"ZRPRSS_Val"),
                         static_cast<ZRPAR::BoolValue*>(container->FindValue(L"ZRPRSS_Mnd"))->GetValue()};
}

bool BoolOf(const std::optional<PolicySetting>& setting)
{
    return setting && setting->value->GetType() == ZRPAR::VT_BOOL &&
           static_cast<ZRPAR::BoolValue*>(setting->value.Get())->GetValue();
}

}  // namespace

TEST(Defaults, ANewPolicyStartsWithItsLockedConnectionSettingsAndTheNotificationDocument)
{
    FakeDataSource source;
    ZRPlugin::SettingsStorage& policy = source.WithPolicyStorage();
    Configure(source, 0, true)->InitDefaults();

    const auto timeout = Setting(policy, L"86", L"ServerPingTimeout");
    ASSERT_TRUE(timeout);
    EXPECT_TRUE(timeout->locked);
    EXPECT_EQ(static_cast<ZRPAR::IntValue*>(timeout->value.Get())->GetValue(), 900000);
    const auto ports = Setting(policy, L"86", L"Nagentports");
    ASSERT_TRUE(ports);
    EXPECT_TRUE(ports->locked);
    const auto& array = *static_cast<ZRPAR::ArrayValue*>(ports->value.Get());
    ASSERT_EQ(array.GetSize(), 1u);
    EXPECT_EQ(static_cast<ZRPAR::IntValue*>(array.GetAt(0).Get())->GetValue(), 15000);

    const auto inventory = Setting(policy, L"86", L"ENABLE_INVENTORY_FLAG");
    EXPECT_TRUE(BoolOf(inventory));
    EXPECT_FALSE(inventory->locked);
    const auto roaming = Setting(policy, L"ZRNAG_ZRNLA_DATA", L"ZRNAG_NLA_ROAMING_IF_UNAVAIL");
    ASSERT_TRUE(roaming);
    EXPECT_FALSE(BoolOf(roaming));
    EXPECT_TRUE(roaming->locked);
    EXPECT_TRUE(BoolOf(Setting(policy, L"ZRNAG_VAPM_REAL_TIME_ASSESSMENT", L"VAPM_REAL_TIME_ASSESSMENT_AUTOSTART")));
    const auto patches = Setting(policy, L"ZRNAG_PTCH_SETTINGS_SECTION", L"ZRNAG_PTCH_ALLOW_APPLY_NONAPROVED_PATCHES");
    EXPECT_TRUE(BoolOf(patches));
    EXPECT_TRUE(patches->locked);

    auto notifications = ReadStored(policy, L"ZREVP_NF_SECTION");
    ASSERT_TRUE(notifications);
    EXPECT_EQ(ZRPAR::SerializePacked(*notifications).size(), 31081u);
    EXPECT_EQ(notifications->GetSize(), 2u);
}

TEST(Defaults, TheProductModeCanTurnOffRealTimeAssessment)
{
    ZRSTD_SetQmcMode(0x2);
    FakeDataSource source;
    ZRPlugin::SettingsStorage& policy = source.WithPolicyStorage();
    Configure(source, 0, true)->InitDefaults();
    ZRSTD_SetQmcMode(0);
    const auto autostart = Setting(policy, L"ZRNAG_VAPM_REAL_TIME_ASSESSMENT", L"VAPM_REAL_TIME_ASSESSMENT_AUTOSTART");
    ASSERT_TRUE(autostart);
    EXPECT_FALSE(BoolOf(autostart));
}

TEST(Defaults, AStoreThatRefusesTheDefaultsFailsWith1196)
{
    FakeDataSource source;
    auto failing = ZRSTD::MakeRef<testsupport::FailingStorage>();
    failing->failWrites = true;
    source.Set(L"POLICY_SETTINGS", failing);
    EXPECT_EQ(ErrorOf([&] { Configure(source, 0, true)->InitDefaults(); }), "ZRSTD 1196");
}

TEST(Defaults, TasksGetTheDefaultsOfTheirType)
{
    const struct {
        const wchar_t* type;
        ZRSTD::CAutoPtr<ZRPAR::Params> expected;
    } cases[] = {
        {L"ZRNAG_TASK_START_STOP_APP", ZRPAR::CreateParams()},
        {L"ZRNAG_TASK_COMP_CONTROL",
         ZRPAR::CreateParamsBody({
             {L"ZRNAG_TASK_COMP_CONTROL_SHUTDOWN", true}, {L"ZRNAG_SHUTDOWN_TURN_ON_AFTER_SHUTDOWN", true},
             {L"ZRNAG_SHUTDOWN_FROCE_CLOSE_APP", false}, {L"ZRNAG_SHUTDOWN_FROCE_CLOSE_APP_PERIOD", 600},
             {L"ZRNAG_SHUTDOWN_ASK", true}, {L"ZRNAG_SHUTDOWN_IMMEDIATELY", false},
             {L"ZRNAG_SHUTDOWN_ASK_QUESTION", L"Требуется выполнить перезагрузку компьютера."},
             {L"ZRNAG_SHUTDOWN_ASK_PERIOD", 600}, {L"ZRNAG_SHUTDOWN_FORCE", false}, {L"ZRNAG_SHUTDOWN_FORCE_TIME", 600},
         })},
        {L"ZRNAG_TASK_RECONNECTION", ZRPAR::CreateParamsBody({{L"ZRNAG_PROXYHOST_USE", false}})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(ZRSTD::ToUtf8(c.type));
        FakeDataSource source;
        ZRPAR::Params& params = source.WithTask();
        Configure(source, 2, true, c.type)->InitDefaults();
        EXPECT_TRUE(ZRPAR::Equals(params, *c.expected)) << ZRPAR::RenderText(params);
    }

    FakeDataSource source;
    ZRPAR::Params& params = source.WithTask();
    Configure(source, 2, true, L"DoUpdate")->InitDefaults();
    EXPECT_EQ(static_cast<ZRPAR::StringValue*>(params.FindValue(L"retranslation_dir"))->GetValue(),
              L"%ALLUSERSPROFILE%\\Application Data\\BrenvikLab\\hubcore\\1103\\Updates");
    EXPECT_EQ(static_cast<ZRPAR::StringValue*>(params.FindValue(L"retranslation_dir_linux"))->GetValue(),
              L"/var/opt/brenvik/zrnagent/1103/Updates");
    EXPECT_EQ(params.FindValue(L"UpdateSourceList")->GetType(), ZRPAR::VT_ARRAY);
}

TEST(Defaults, AVulnerabilitySearchKeepsPathsItHasAndGetsTheDefaultOnesOtherwise)
{
    auto paths = [](const ZRPAR::Params& params) {
        std::vector<std::wstring> texts;
        const auto& array = *static_cast<ZRPAR::ArrayValue*>(params.FindValue(L"ZRNAG_TSK_VAPMSEARCH_PATHS"));
        for (std::size_t i = 0; i < array.GetSize(); ++i)
            texts.push_back(static_cast<ZRPAR::StringValue*>(array.GetAt(i).Get())->GetValue());
        return texts;
    };
    FakeDataSource fresh;
    ZRPAR::Params& empty = fresh.WithTask();
    Configure(fresh, 2, true, L"ZRNAG_TASK_VAPM_SEARCH")->InitDefaults();
    EXPECT_EQ(paths(empty), (std::vector<std::wstring>{L"%SystemRoot%", L"%ProgramFiles%", L"%ProgramFiles(x86)%"}));
    EXPECT_EQ(static_cast<ZRPAR::IntValue*>(empty.FindValue(L"nSource"))->GetValue(), 0);

    FakeDataSource existing;
    ZRPAR::Params& params = existing.WithTask();
    auto own = ZRPAR::CreateArrayValue();
    own->Append(ZRPAR::CreateValue(L"/opt").Get());
    params.AddValue(L"ZRNAG_TSK_VAPMSEARCH_PATHS", own.Get());
    params.AddValue(L"nSource", ZRPAR::CreateValue(3).Get());
    Configure(existing, 2, true, L"ZRNAG_TASK_VAPM_SEARCH")->InitDefaults();
    EXPECT_EQ(paths(params), std::vector<std::wstring>{L"/opt"});
    EXPECT_EQ(static_cast<ZRPAR::IntValue*>(params.FindValue(L"nSource"))->GetValue(), 0);
}

TEST(Defaults, InstallerPackagesNeedTheirSettingsContainer)
{
    FakeDataSource source;
    ZRPlugin::SettingsStorage& package = source.WithComputer();
    Configure(source, 3)->InitDefaults();
    const auto stored = ReadStored(package, L"InstallerSettings");
    ASSERT_TRUE(stored);
    const auto expected = ZRPAR::CreateParamsBody(
        {{L"UseSSLConnection", true}, {L"ZRNAG_ALLOW_NETBIOS_NAME_SERVICE", true}, {L"ZRNAG_SP_OPEN_PORT_IN_WFW", true}});
    EXPECT_TRUE(ZRPAR::Equals(*stored, *expected)) << ZRPAR::RenderText(*stored);

    FakeDataSource bare;
    bare.WithPolicyStorage();
    auto configurator = host::CreateConfigurator(testsupport::Plugin(), 3, false, L"");
    EXPECT_EQ(ErrorOf([&] { configurator->InitDefaults(); }), "ZRSTD 1187");  // before SetInterfaces, nothing known
}

TEST(Defaults, OtherKindsWriteNothing)
{
    FakeDataSource source;
    ZRPlugin::SettingsStorage& local = source.WithComputer();
    Configure(source, 1)->InitDefaults();
    Configure(source, 4)->InitDefaults();
    EXPECT_FALSE(ReadStored(local, L"86"));
}
