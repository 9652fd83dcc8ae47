#include "plugin/pages/agent/PageGeneralSettings.h"

#include <gtest/gtest.h>

#include "plugin/pages/agent/DlgChangePassword.h"
#include "support/PageFixture.h"
#include "support/PolicyBuilder.h"

using testsupport::LockedSetting;
using testsupport::Section;
using testsupport::Setting;

namespace {

using Page = CPageGeneralSettingsBase;

// The server's password policy as the tests want it: everything passes but "weak".
class TestServer : public ZRSTD::ZRBaseQIImpl<ZRPlugin::IAdmServer> {
public:
    std::int32_t GetServerVersionId() override { return 0xA5000; }
    void CheckPasswordPolicy(const wchar_t* password) override
    {
        checked.emplace_back(password);
        if (std::wstring_view(password) == L"weak")
            ZRERR_throwLocalizedError("ZRADMSRV", 20001, L"Пароль не соответствует требованиям.");
    }
    bool GetUpdateComponents(ZRPAR::Params**) override { return false; }
    std::vector<std::wstring> checked;
};

class GeneralPage : public testsupport::PageTest {
protected:
    void SetUp() override
    {
        PageTest::SetUp();
        server = source.Set(L"ZRADMSRV::AdmServer", ZRSTD::MakeRef<TestServer>());
    }
    // The page's data over the policy or a computer: its four sections, "86" current.
    std::shared_ptr<NHPP::CNHPPageData> Data(std::int32_t kind, int providerKind)
    {
        return PageData(kind, providerKind, {L"NGTINSTALLERDATA", L"ZRNAG_SAPH", L"ZRNAG_SVCPRT", L"86"});
    }
    void OpenPolicyPage() { Open(new Page(Data(NHPP::kObjectPolicy, NHPP::kSectionPolicy))); }

    TestServer* server = nullptr;
};

const std::wstring kLogSizeRefused = L"Invalid maximum size for events log specified\nДопустимые значения: от 1 до 2000.";

}  // namespace

TEST(UninstallPassword, TheDigestIsMd5OverUtf16InUpperCaseHex)
{
    EXPECT_EQ(HashUninstallPassword(L"abc"), L"CE1473CF80C6B3FDA8E3DFC006ADC315");  // six bytes hashed
    EXPECT_EQ(HashUninstallPassword(L"Strong#Pass1"), L"A2BF3C1FBCDF50D02E49CE9D39F2DD73");
    EXPECT_EQ(HashUninstallPassword(L"пароль1A"), L"10A2B95415FEE4143794CE6B71ECFB04");
    EXPECT_EQ(HashUninstallPassword(L"").size(), 32u);
    EXPECT_EQ(PasswordBytes(L"ab"), (std::vector<std::uint8_t>{'a', 0, 'b', 0}));
}

TEST_F(GeneralPage, AnEmptyPolicyShowsTheDefaultsAndWritesThemBack)
{
    OpenPolicyPage();
    EXPECT_EQ(Text(Page::kLogSize), L"2");
    EXPECT_EQ(Text(Page::kInterval), L"5");
    EXPECT_FALSE(Visible(Page::kInterval));
    EXPECT_FALSE(Visible(Page::kIntervalLabel));
    EXPECT_EQ(Text(Page::kStatus), L"Пароль не установлен");
    EXPECT_EQ(Text(Page::kEventLogGroup), L"Журнал событий");
    EXPECT_FALSE(Checked(Page::kUsePassword));
    EXPECT_FALSE(Enabled(Page::kChangePassword));  // the password group follows its box
    EXPECT_FALSE(page->IsModified());

    ASSERT_EQ(Sheet().PressOk().outcome, host::PageHost::Outcome::Applied);
    EXPECT_EQ(StoredValue<ZRPAR::IntValue>(L"86", L"ZREVP_NF_PRSS_MAXIMUM_SIZE"), 2);
    EXPECT_EQ(StoredValue<ZRPAR::IntValue>(L"86", L"ZREVP_NF_EVENTS_TO_SERVER_PERIOD"), 5);
    EXPECT_FALSE(StoredMandatory(L"86", L"ZREVP_NF_PRSS_MAXIMUM_SIZE"));
    EXPECT_EQ(StoredValue<ZRPAR::StringValue>(L"NGTINSTALLERDATA", L"NGT_UNINSTALL_PASSWORD"), L"");
    EXPECT_FALSE(StoredValue<ZRPAR::BoolValue>(L"ZRNAG_SAPH", L"ZRNAG_SAPH_ALLOW_HOST_POLICY_DATA"));
    EXPECT_FALSE(StoredValue<ZRPAR::BoolValue>(L"ZRNAG_SVCPRT", L"ZRNAG_SVCPRT_PROTECT_NAGENT_SVC"));
    EXPECT_FALSE(StoredValue<ZRPAR::BoolValue>(L"86", L"CMNG_UPD_USE_ONLY_UA"));
}

TEST_F(GeneralPage, ChangesAreWrittenWithTheLockControlsChoice)
{
    Store(L"86", Section({{L"ZREVP_NF_PRSS_MAXIMUM_SIZE", Setting(100, true)}, {L"CMNG_UPD_USE_ONLY_UA", Setting(true, false)}}));
    OpenPolicyPage();
    EXPECT_EQ(Text(Page::kLogSize), L"100");
    EXPECT_TRUE(Checked(Page::kOnlyUpdateAgents));
    EXPECT_EQ(GetWindowTextW(LockDropDown(Page::kLogLock)), L"Редактирование запрещено");

    ui::ClearText(Control(Page::kLogSize));
    ui::Type(Control(Page::kLogSize), L"300");
    EXPECT_TRUE(page->IsModified());
    ui::SelectItem(LockDropDown(Page::kLogLock), L"Редактирование разрешено");
    ui::Click(Control(Page::kHostPolicyData));
    ui::SelectItem(LockDropDown(Page::kHostDataLock), L"Редактирование запрещено");
    ASSERT_EQ(Sheet().PressOk().outcome, host::PageHost::Outcome::Applied);

    EXPECT_EQ(StoredValue<ZRPAR::IntValue>(L"86", L"ZREVP_NF_PRSS_MAXIMUM_SIZE"), 300);
    EXPECT_FALSE(StoredMandatory(L"86", L"ZREVP_NF_PRSS_MAXIMUM_SIZE"));
    EXPECT_TRUE(StoredValue<ZRPAR::BoolValue>(L"ZRNAG_SAPH", L"ZRNAG_SAPH_ALLOW_HOST_POLICY_DATA"));
    EXPECT_TRUE(StoredMandatory(L"ZRNAG_SAPH", L"ZRNAG_SAPH_ALLOW_HOST_POLICY_DATA"));
    EXPECT_TRUE(StoredValue<ZRPAR::BoolValue>(L"86", L"CMNG_UPD_USE_ONLY_UA"));
}

TEST_F(GeneralPage, ValidationRefusesWithTheFirstProblemAndWritesNothing)
{
    OpenPolicyPage();
    ui::Type(Control(Page::kLogSize), L"9");  // 29 is fine, 2999 is beyond the range
    ui::Type(Control(Page::kLogSize), L"99");
    EXPECT_EQ(Text(Page::kLogSize), L"299");
    ui::ClearText(Control(Page::kLogSize));
    EXPECT_EQ(Text(Page::kLogSize), L"");
    EXPECT_EQ(Sheet().PressOk().outcome, host::PageHost::Outcome::Refused);
    EXPECT_EQ(Boxes(), std::vector<std::wstring>{kLogSizeRefused});
    EXPECT_FALSE(testsupport::ReadStored(policy, L"86"));
}

TEST_F(GeneralPage, AUsedPasswordMustBeSetAndIsStoredOnlyAsItsDigest)
{
    OpenPolicyPage();
    ui::Click(Control(Page::kUsePassword));
    EXPECT_TRUE(Enabled(Page::kChangePassword));
    user.Answer(IDOK);
    EXPECT_EQ(Sheet().PressOk().outcome, host::PageHost::Outcome::Refused);
    EXPECT_EQ(Boxes(), std::vector<std::wstring>{L"Вы не ввели пароль"});

    // a weak password is refused by the server before anything is hashed, and the dialog stays open
    user.InDialog([](HWND dialog) {
        ui::Type(ui::FindControl(dialog, CDlgChangePassword::kPassword), L"weak");
        ui::Click(ui::FindControl(dialog, IDOK));
        ui::ClearText(ui::FindControl(dialog, CDlgChangePassword::kPassword));
        ui::Type(ui::FindControl(dialog, CDlgChangePassword::kPassword), L"Strong#Pass1");
        ui::Click(ui::FindControl(dialog, IDOK));
    });
    user.Answer(IDOK);  // the refusal
    ui::Click(Control(Page::kChangePassword));
    EXPECT_EQ(server->checked, (std::vector<std::wstring>{L"weak", L"Strong#Pass1"}));
    EXPECT_EQ(Boxes().back(), L"Пароль не соответствует требованиям.");
    EXPECT_EQ(Text(Page::kStatus), L"Пароль установлен");
    ASSERT_EQ(Sheet().PressOk().outcome, host::PageHost::Outcome::Applied);
    EXPECT_EQ(StoredValue<ZRPAR::StringValue>(L"NGTINSTALLERDATA", L"NGT_UNINSTALL_PASSWORD"),
              L"A2BF3C1FBCDF50D02E49CE9D39F2DD73");
    EXPECT_EQ(StoredText(L"NGTINSTALLERDATA").find("Strong#Pass1"), std::string::npos);
}

TEST_F(GeneralPage, UncheckingTheBoxAfterAChangeWritesNoPassword)
{
    Store(L"NGTINSTALLERDATA", Section({{L"NGT_UNINSTALL_PASSWORD", Setting(L"CE1473CF80C6B3FDA8E3DFC006ADC315", false)}}));
    OpenPolicyPage();
    EXPECT_TRUE(Checked(Page::kUsePassword));
    EXPECT_EQ(Text(Page::kStatus), L"Пароль установлен");
    user.InDialog([](HWND dialog) {
        EXPECT_EQ(GetDlgItemTextW(dialog, CDlgChangePassword::kPassword), L"***********");
        ui::Click(ui::FindControl(dialog, IDOK));  // untouched: the stored password stays
    });
    ui::Click(Control(Page::kChangePassword));
    ASSERT_EQ(Sheet().PressOk().outcome, host::PageHost::Outcome::Applied);
    EXPECT_EQ(StoredValue<ZRPAR::StringValue>(L"NGTINSTALLERDATA", L"NGT_UNINSTALL_PASSWORD"),
              L"CE1473CF80C6B3FDA8E3DFC006ADC315");

    user.InDialog([](HWND dialog) {
        ui::Type(ui::FindControl(dialog, CDlgChangePassword::kPassword), L"Strong#Pass1");
        ui::Click(ui::FindControl(dialog, IDOK));
    });
    ui::Click(Control(Page::kChangePassword));
    ui::Click(Control(Page::kUsePassword));
    ASSERT_EQ(Sheet().PressOk().outcome, host::PageHost::Outcome::Applied);
    EXPECT_EQ(StoredValue<ZRPAR::StringValue>(L"NGTINSTALLERDATA", L"NGT_UNINSTALL_PASSWORD"), L"");
}

TEST_F(GeneralPage, ASettingLockedAboveIsShownReadOnlyAndLeftUntouched)
{
    const testsupport::ParentLock parent{L"Офис", L"Головная политика", L""};
    Store(L"86", Section({{L"ZREVP_NF_PRSS_MAXIMUM_SIZE", LockedSetting(700, parent)}}));
    OpenPolicyPage();
    EXPECT_EQ(Text(Page::kLogSize), L"700");
    EXPECT_FALSE(Enabled(Page::kLogSize));
    EXPECT_FALSE(IsWindowEnabled(LockDropDown(Page::kLogLock)));
    ASSERT_EQ(Sheet().PressOk().outcome, host::PageHost::Outcome::Applied);
    ZRPAR::Params* stored = Stored(L"86", L"ZREVP_NF_PRSS_MAXIMUM_SIZE");
    ASSERT_TRUE(stored);
    EXPECT_NE(stored->FindValue(L"ZRPRSS_ValLck"), nullptr);  // the parent's lock data stays
    EXPECT_EQ(StoredValue<ZRPAR::IntValue>(L"86", L"ZREVP_NF_PRSS_MAXIMUM_SIZE"), 700);
}

TEST_F(GeneralPage, OutOfRangeValuesShowAsStoredAndValuesOfAnotherTypeLoadTheDefault)
{
    Store(L"86", Section({{L"ZREVP_NF_PRSS_MAXIMUM_SIZE", Setting(-5, false)},
                          {L"ZREVP_NF_EVENTS_TO_SERVER_PERIOD", Setting(L"often", false)},
                          {L"CMNG_UPD_USE_ONLY_UA", Setting(7, false)}}));
    OpenPolicyPage();
    EXPECT_EQ(Text(Page::kLogSize), L"-5");
    EXPECT_EQ(Text(Page::kInterval), L"5");
    EXPECT_FALSE(Checked(Page::kOnlyUpdateAgents));
    EXPECT_EQ(Sheet().PressOk().outcome, host::PageHost::Outcome::Refused);
    EXPECT_EQ(Boxes(), std::vector<std::wstring>{kLogSizeRefused});
}

TEST_F(GeneralPage, TheHiddenIntervalGoesBackAsStoredWithItsOwnLock)
{
    Store(L"86", Section({{L"ZREVP_NF_PRSS_MAXIMUM_SIZE", Setting(10, false)},
                          {L"ZREVP_NF_EVENTS_TO_SERVER_PERIOD", Setting(9000, true)}}));
    OpenPolicyPage();
    ASSERT_EQ(Sheet().PressOk().outcome, host::PageHost::Outcome::Applied);
    EXPECT_EQ(StoredValue<ZRPAR::IntValue>(L"86", L"ZREVP_NF_EVENTS_TO_SERVER_PERIOD"), 9000);
    EXPECT_TRUE(StoredMandatory(L"86", L"ZREVP_NF_EVENTS_TO_SERVER_PERIOD"));
    EXPECT_FALSE(StoredMandatory(L"86", L"ZREVP_NF_PRSS_MAXIMUM_SIZE"));

    // the administrator's choice of the group's lock reaches both
    Reopen();
    OpenPolicyPage();
    ui::SelectItem(LockDropDown(Page::kLogLock), L"Редактирование запрещено");
    ASSERT_EQ(Sheet().PressOk().outcome, host::PageHost::Outcome::Applied);
    EXPECT_TRUE(StoredMandatory(L"86", L"ZREVP_NF_PRSS_MAXIMUM_SIZE"));
    EXPECT_TRUE(StoredMandatory(L"86", L"ZREVP_NF_EVENTS_TO_SERVER_PERIOD"));
}

TEST_F(GeneralPage, LocalSettingsOfAnotherPlatformOfferNoUninstallPassword)
{
    source.WithComputer(0x2000);
    Open(new CPageGeneralSettingsProduct(Data(NHPP::kObjectLocalSettings, NHPP::kSectionProduct)));
    for (int id : {Page::kPasswordGroup, Page::kPasswordLock, Page::kStatus, Page::kChangePassword, Page::kUsePassword})
        EXPECT_FALSE(Visible(id)) << id;
    EXPECT_FALSE(IsWindowEnabled(LockDropDown(Page::kLogLock)));  // local settings never choose a lock
    EXPECT_TRUE(Visible(Page::kOnlyUpdateAgents));
}

TEST_F(GeneralPage, TheExportListsEachSettingWithItsLockAndOnlyADigestOfThePassword)
{
    Store(L"86", Section({{L"ZREVP_NF_PRSS_MAXIMUM_SIZE", Setting(40, true)}}));
    Store(L"NGTINSTALLERDATA", Section({{L"NGT_UNINSTALL_PASSWORD", Setting(L"CE1473CF80C6B3FDA8E3DFC006ADC315", false)}}));
    const auto results = Page::Export(*Data(NHPP::kObjectPolicy, NHPP::kSectionPolicy));
    ASSERT_EQ(results.size(), 1u);
    // the stored digest itself never leaves the page, only a digest of it
    const std::string digest = ZRSTD::ToUtf8(HashUninstallPassword(L"CE1473CF80C6B3FDA8E3DFC006ADC315"));
    EXPECT_EQ(testsupport::ExportText(*results[0]),
              "Пересылка файлов только через агентов обновлений\n"
              "  Пересылка файлов только через агентов обновлений: Нет\n"
              "  Замочек \"Пересылка файлов только через агентов обновлений\": Редактирование разрешено\n"
              "Product is allowed to acquire policy extended data on host\n"
              "  Product is allowed to acquire policy extended data on host: Нет\n"
              "  Замочек \"Product is allowed to acquire policy extended data on host\": Редактирование разрешено\n"
              "Protect Nagent service\n"
              "  Protect Nagent service: Нет\n"
              "  Замочек \"Protect Nagent service\": Редактирование разрешено\n"
              "Максимальный размер журнала событий, МБ\n"
              "  Максимальный размер журнала событий, МБ: 40\n"
              "  Замочек \"Максимальный размер журнала событий, МБ\": Редактирование запрещено\n"
              "Использовать пароль на деинсталляцию\n"
              "  Использовать пароль на деинсталляцию: Да\n"
              "  Статус: Пароль установлен\n"
              "  Пароль: <" + digest + ">\n"
              "  Замочек \"Использовать пароль на деинсталляцию\": Редактирование разрешено\n");
}
