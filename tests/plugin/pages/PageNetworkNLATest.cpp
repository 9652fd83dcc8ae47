#include "plugin/pages/agent/PageNetworkNLA.h"

#include <gtest/gtest.h>

#include <optional>

#include "controls/LockCtrl.h"
#include "controls/PluginEnvironment.h"
#include "plugin/pages/agent/DlgProxySettings.h"
#include "plugin/pages/agent/PageNLARuleConditions.h"
#include "plugin/pages/agent/PageNetProfileGeneral.h"
#include "support/NlaData.h"
#include "support/PageFixture.h"
#include "support/PolicyBuilder.h"
#include "support/TestProtection.h"
#include "ui/CommonControls.h"
#include "zrstd/Crypto.h"
#include "zrstd/PasswordEncoding.h"

using testsupport::Array;
using testsupport::Element;
using testsupport::LockedSetting;
using testsupport::Rule;
using testsupport::Section;
using testsupport::ServerProfile;
using testsupport::Setting;

namespace {

using testsupport::TestProtection;

using Page = CPageNetworkNLA;
using Profile = CPageNetProfileGeneral;
using RulePage = CPageNLARuleConditions;

constexpr const wchar_t* kSection = L"ZRNAG_ZRNLA_DATA";

ZRSTD::CAutoPtr<ZRPAR::ArrayValue> TwoProfiles()
{
    auto office = ServerProfile(L"p-office", L"Офис", L"adm.corp", 14001, 13001);
    office->AddValue(L"ZRNLA_FUTURE_KEY", ZRPAR::CreateValue(42).Get());  // a key this page does not know
    return Array({Element(office), Element(ServerProfile(L"p-branch", L"Филиал", L"branch.corp"))});
}

ZRSTD::CAutoPtr<ZRPAR::ArrayValue> FourRules()
{
    return Array({Element(Rule(L"Дом", L".ZRNLA_HOME_SERVER")), Element(Rule(L"Сеть офиса", L"p-office", false)),
                  Element(Rule(L"Старое", L"p-deleted")), Element(Rule(L"Без связи", L".ZRNLA_INACTIVE_PROFILE"))});
}

class NetworkNlaPage : public testsupport::PageTest {
protected:
    void SetUp() override
    {
        PageTest::SetUp();
        source.WithServerVersion(0xD0001);
    }
    // The section with both lists, and the roaming flag when given (on, mandatory).
    void StoreNla(const ZRSTD::CAutoPtr<ZRPAR::ArrayValue>& profiles, const ZRSTD::CAutoPtr<ZRPAR::ArrayValue>& rules,
                  std::optional<std::pair<bool, bool>> roaming = std::nullopt)
    {
        auto section = Section({{L"ZRNLA_PROFILES", Setting(profiles, false)}, {L"ZRNLA_LOCATIONS", Setting(rules, false)}});
        if (roaming)
            static_cast<ZRPAR::ParamsValue*>(section->FindValue(L"ZRPRSS_Val"))
                ->GetValue()
                ->AddValue(L"ZRNAG_NLA_ROAMING_IF_UNAVAIL",
                           ZRPAR::CreateValue(Setting(roaming->first, roaming->second).Get()).Get());
        policy.Replace(L"1103", L"1.0.0.0", kSection, section.Get());
    }
    void OpenPolicy() { Open(new Page(PageData(NHPP::kObjectPolicy, NHPP::kSectionPolicy, {kSection, L"86"}))); }

    std::vector<std::wstring> Rows(int list)
    {
        std::vector<std::wstring> rows;
        const HWND control = GetDlgItem(window, list);
        for (int row = 0; row < SendMessageW(control, LVM_GETITEMCOUNT, 0, 0); ++row)
            rows.push_back(ui::GetListRowText(control, row));
        return rows;
    }
    std::wstring Cell(int list, int row, int column)
    {
        LVITEMW item;
        item.iSubItem = column;
        SendMessageW(GetDlgItem(window, list), LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
        return item.text;
    }
    int Image(int row)
    {
        LVITEMW item;
        item.iItem = row;
        SendMessageW(GetDlgItem(window, Page::kRules), LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        return item.iImage;
    }
    ZRPAR::ArrayValue* StoredArray(const wchar_t* key)
    {
        ZRPAR::Params* stored = Stored(kSection, key);
        return stored ? static_cast<ZRPAR::ArrayValue*>(stored->FindValue(L"ZRPRSS_Val")) : nullptr;
    }
    ZRPAR::Params* StoredElement(const wchar_t* key, std::size_t index)
    {
        return static_cast<ZRPAR::ParamsValue*>(StoredArray(key)->ItemAt(index))->GetValue();
    }
    std::vector<std::wstring> StoredRuleNames()
    {
        std::vector<std::wstring> names;
        for (std::size_t i = 0; i < StoredArray(L"ZRNLA_LOCATIONS")->GetSize(); ++i)
            names.push_back(ZRPAR::GetStringValue(StoredElement(L"ZRNLA_LOCATIONS", i), L"ZRNLA_LOCATION_NAME"));
        return names;
    }
    HWND LockDropDown(int lock) { return GetDlgItem(GetDlgItem(window, lock), CLockCtrl::kDropDownId); }
    void ExpectEnabled(std::initializer_list<std::pair<int, bool>> states)
    {
        for (const auto& [id, enabled] : states) EXPECT_EQ(Enabled(id), enabled) << id;
    }
};

}  // namespace

TEST_F(NetworkNlaPage, ListsTheReservedEntriesProfilesAndRulesWithTheProfileEachUses)
{
    StoreNla(TwoProfiles(), FourRules(), std::pair{true, true});
    OpenPolicy();
    EXPECT_EQ(Rows(Page::kProfiles), (std::vector<std::wstring>{L"<Оффлайн-режим>", L"<Домашний сервер администрирования>",
                                                                 L"Офис", L"Филиал"}));
    EXPECT_EQ(Rows(Page::kRules), (std::vector<std::wstring>{L"Дом", L"Сеть офиса", L"Старое", L"Без связи"}));
    const std::wstring profiles[] = {L"<Домашний сервер администрирования>", L"Офис", L"<не существует>",
                                     L"<Оффлайн-режим>"};
    for (int row = 0; row < 4; ++row) EXPECT_EQ(Cell(Page::kRules, row, 1), profiles[row]) << row;
    EXPECT_EQ(Image(0), Page::kEnabledRuleImage);
    EXPECT_EQ(Image(1), Page::kDisabledRuleImage);
    EXPECT_TRUE(Checked(Page::kRoaming));
    EXPECT_EQ(GetWindowTextW(LockDropDown(Page::kRoamingLock)), L"Редактирование запрещено");
    EXPECT_EQ(GetWindowTextW(LockDropDown(Page::kLock)), L"Редактирование разрешено");

    using P = Page;
    ExpectEnabled({{P::kAddProfile, true}, {P::kProfileProperties, false}, {P::kRemoveProfile, false}, {P::kAddRule, true},
                   {P::kRuleProperties, false}, {P::kRemoveRule, false}, {P::kRuleUp, false}, {P::kRuleDown, false}});
    ui::ClickListItem(Control(P::kProfiles), 1);  // the home server: nothing to edit
    ExpectEnabled({{P::kProfileProperties, false}, {P::kRemoveProfile, false}});
    ui::ClickListItem(Control(P::kProfiles), 2);
    ExpectEnabled({{P::kProfileProperties, true}, {P::kRemoveProfile, true}});
    ui::ClickListItem(Control(P::kRules), 0);
    ExpectEnabled({{P::kRuleUp, false}, {P::kRuleDown, true}, {P::kRuleProperties, true}, {P::kRemoveRule, true}});
    ui::ClickListItem(Control(P::kRules), 3);
    ExpectEnabled({{P::kRuleUp, true}, {P::kRuleDown, false}});
    EXPECT_FALSE(page->IsModified());
}

TEST_F(NetworkNlaPage, TheServerVersionDecidesTheHomeServerEntryAndWhereNewRulesSwitch)
{
    const struct {
        std::int32_t version;
        bool homeEntry;
        const wchar_t* newRuleProfile;
    } cases[] = {{0xA1FFF, false, L"<Оффлайн-режим>"},
                 {0xA2000, true, L"<Оффлайн-режим>"},
                 {0xA5000, true, L"<Домашний сервер администрирования>"}};
    StoreNla(TwoProfiles(), Array({}));
    for (const auto& c : cases) {
        Reopen();
        source.WithServerVersion(c.version);
        OpenPolicy();
        EXPECT_EQ(Rows(Page::kProfiles)[1], c.homeEntry ? L"<Домашний сервер администрирования>" : L"Офис") << c.version;
        std::wstring selected;
        int items = 0;
        user.InDialog([&](HWND dialog) {
            const HWND combo = ui::FindControl(dialog, RulePage::kProfile);
            items = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
            SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(SendMessageW(combo, CB_GETCURSEL, 0, 0)),
                         reinterpret_cast<LPARAM>(&selected));
            EXPECT_EQ(GetWindowTextW(dialog), L"Свойства: Новое описание");
            ui::Click(ui::FindControl(dialog, IDCANCEL));
        });
        ui::Click(Control(Page::kAddRule));
        EXPECT_EQ(selected, c.newRuleProfile) << c.version;
        EXPECT_EQ(items, c.homeEntry ? 4 : 3) << c.version;
        EXPECT_EQ(Rows(Page::kRules).size(), 0u);  // cancelled: nothing added
    }
}

TEST_F(NetworkNlaPage, AnAddedProfileGetsAnIdentifierAndIsStoredUnderTheListsLock)
{
    OpenPolicy();
    user.InDialog([](HWND dialog) {
        EXPECT_EQ(GetWindowTextW(dialog), L"Новый профиль");
        EXPECT_EQ(GetDlgItemTextW(dialog, Profile::kName), L"Новый профиль");
        EXPECT_EQ(GetDlgItemTextW(dialog, Profile::kPort), L"14000");
        EXPECT_EQ(GetDlgItemTextW(dialog, Profile::kSslPort), L"13000");
        for (int id : {Profile::kOtherServer, Profile::kUseSsl, Profile::kUpdatesOnly})
            EXPECT_EQ(SendMessageW(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0), BST_CHECKED) << id;
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, Profile::kSynchronize)));  // only profiles for everything synchronise
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, Profile::kGatewayGroup)));
        ui::EnterText(ui::FindControl(dialog, Profile::kName), L"  Офис  ");
        ui::EnterText(ui::FindControl(dialog, Profile::kAddress), L"adm.corp");
        ui::EnterText(ui::FindControl(dialog, Profile::kPort), L"14001");
        ui::Click(ui::FindControl(dialog, Profile::kUpdatesOnly));
        ui::Click(ui::FindControl(dialog, Profile::kSynchronize));
        ui::Click(ui::FindControl(dialog, IDOK));
    });
    ui::Click(Control(Page::kAddProfile));
    EXPECT_EQ(Rows(Page::kProfiles).back(), L"Офис");
    EXPECT_TRUE(page->IsModified());
    ui::SelectItem(LockDropDown(Page::kLock), L"Редактирование запрещено");
    ASSERT_EQ(Sheet().PressOk().outcome, host::PageHost::Outcome::Applied);

    EXPECT_TRUE(StoredMandatory(kSection, L"ZRNLA_PROFILES"));
    EXPECT_TRUE(StoredMandatory(kSection, L"ZRNLA_LOCATIONS"));
    ASSERT_EQ(StoredArray(L"ZRNLA_PROFILES")->GetSize(), 1u);
    const ZRPAR::Params* stored = StoredElement(L"ZRNLA_PROFILES", 0);
    EXPECT_TRUE(ZRSTD::GuidFromString(ZRPAR::GetStringValue(stored, L"ZRNLA_PROFILE_ID")).has_value());
    auto expected = ZRPAR::CreateParamsBody({{L"ZRNLA_PROFILE_ID", ZRPAR::GetStringValue(stored, L"ZRNLA_PROFILE_ID")},
                                             {L"ZRNLA_PROFILE_DISPLAY_NAME", L"Офис"},
                                             {L"ZRNLA_PROFILE_IS_HOME_SERVER", false},
                                             {L"ServerAddress", L"adm.corp"},
                                             {L"Serverports", testsupport::Ports(14001)},
                                             {L"ServerSslPorts", testsupport::Ports(13000)},
                                             {L"UseSsl", true},
                                             {L"ZRNLA_ADDRESS_FOR_UPDATES_ONLY", false},
                                             {L"ZRNLA_ROAMING_MODE", false},
                                             {L"UseProfileGateway", 1},
                                             {L"GatewayAddress", L""},
                                             {L"ZRNLA_GUEST_MODE", false}});
    EXPECT_TRUE(ZRPAR::Equals(*stored, *expected));
}

TEST_F(NetworkNlaPage, TheProfileDialogRefusesInTheOrderAPersonMeetsTheFields)
{
    StoreNla(TwoProfiles(), Array({}));
    OpenPolicy();
    const struct {
        int field;
        const wchar_t* typed;
        std::wstring message;  // empty: the next field is refused next
        int focus;
    } steps[] = {
        {Profile::kName, L"   ", L"Неверное имя профиля.", Profile::kName},
        {Profile::kName, L"оФИС", L"Указанное имя профиля уже используется.", Profile::kName},
        {Profile::kName, L"Дом", L"Invalid Brenvik Administration Server address specified", Profile::kAddress},
        {Profile::kAddress, L"LocalHost", L"Address of Brenvik Administration Server cannot be 'localhost' or '127.0.0.1'.",
         Profile::kAddress},
        {Profile::kAddress, L"127.0.0.1", L"Address of Brenvik Administration Server cannot be 'localhost' or '127.0.0.1'.",
         Profile::kAddress},
        {Profile::kAddress, L"home.corp", L"", 0},
        {Profile::kPort, L"", L"Неверно задано значение поля «Номер порта».\nДопустимые значения: от 1 до 65535.",
         Profile::kPort},
    };
    user.InDialog([&](HWND dialog) {
        for (const auto& step : steps) {
            ui::ClearInteractionRecord();
            ui::ReplaceText(ui::FindControl(dialog, step.field), step.typed);
            if (step.message.empty()) continue;
            ui::Click(ui::FindControl(dialog, IDOK));
            ASSERT_EQ(Boxes(), std::vector<std::wstring>{step.message}) << ZRSTD::ToUtf8(step.typed);
            EXPECT_EQ(GetFocus(), GetDlgItem(dialog, step.focus));
        }
        ui::Click(ui::FindControl(dialog, IDCANCEL));
    });
    ui::Click(Control(Page::kAddProfile));
    EXPECT_EQ(Rows(Page::kProfiles).size(), 4u);
    EXPECT_FALSE(page->IsModified());
}

TEST_F(NetworkNlaPage, AProfileForTheHomeServerLosesItsServerKeysAndKeepsWhatThePageDoesNotKnow)
{
    source.WithServerVersion(0xF0100);
    StoreNla(TwoProfiles(), Array({}));
    OpenPolicy();
    ui::ClickListItem(Control(Page::kProfiles), 2);
    user.InDialog([](HWND dialog) {
        EXPECT_EQ(GetWindowTextW(dialog), L"Свойства: Офис");
        EXPECT_EQ(GetDlgItemTextW(dialog, Profile::kPort), L"14001");
        ui::Click(ui::FindControl(dialog, Profile::kOtherServer));
        for (int id : {Profile::kAddress, Profile::kPort, Profile::kSslPort, Profile::kUseSsl})
            EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, id))) << id;
        ui::Click(ui::FindControl(dialog, IDOK));  // no address needed now
    });
    ui::Click(Control(Page::kProfileProperties));
    ASSERT_EQ(Sheet().PressOk().outcome, host::PageHost::Outcome::Applied);
    const ZRPAR::Params* office = StoredElement(L"ZRNLA_PROFILES", 0);
    EXPECT_TRUE(ZRPAR::GetBoolValue(office, L"ZRNLA_PROFILE_IS_HOME_SERVER"));
    for (const wchar_t* key : {L"ServerAddress", L"Serverports", L"ServerSslPorts", L"UseSsl"})
        EXPECT_FALSE(office->DoesExist(key)) << ZRSTD::ToUtf8(key);
    EXPECT_EQ(ZRPAR::GetIntValue(office, L"ZRNLA_FUTURE_KEY"), 42);
    EXPECT_EQ(ZRPAR::GetStringValue(office, L"ZRNLA_PROFILE_ID"), L"p-office");

    // on servers before 0xF0100 a profile always names its own server
    Reopen();
    source.WithServerVersion(0xF00FF);
    OpenPolicy();
    ui::ClickListItem(Control(Page::kProfiles), 2);
    user.InDialog([](HWND dialog) {
        EXPECT_EQ(SendMessageW(GetDlgItem(dialog, Profile::kOtherServer), BM_GETCHECK, 0, 0), BST_CHECKED);
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, Profile::kOtherServer)));
        ui::Click(ui::FindControl(dialog, IDCANCEL));
    });
    ui::Click(Control(Page::kProfileProperties));
}

TEST_F(NetworkNlaPage, AnUntouchedOkWritesProfilesAndRulesBackAsTheyWereRead)
{
    auto profiles = TwoProfiles();
    profiles->Append(ZRPAR::CreateValue(L"not a profile").Get());
    auto rules = FourRules();
    StoreNla(profiles, rules);
    OpenPolicy();
    // a dialog opened and cancelled changes nothing either
    ui::ClickListItem(Control(Page::kRules), 1);
    user.InDialog([](HWND dialog) { ui::Click(ui::FindControl(dialog, IDCANCEL)); });
    ui::Click(Control(Page::kRuleProperties));
    EXPECT_FALSE(page->IsModified());
    ASSERT_EQ(Sheet().PressOk().outcome, host::PageHost::Outcome::Applied);
    EXPECT_TRUE(ZRPAR::Equals(StoredArray(L"ZRNLA_PROFILES"), profiles.Get()));
    EXPECT_TRUE(ZRPAR::Equals(StoredArray(L"ZRNLA_LOCATIONS"), rules.Get()));
    EXPECT_EQ(Rows(Page::kProfiles).back(), L"");  // the element that is no profile has a line of its own
}

TEST_F(NetworkNlaPage, ADeletedProfileLeavesItsRulesNamingNoProfile)
{
    StoreNla(TwoProfiles(), FourRules());
    OpenPolicy();
    ui::ClickListItem(Control(Page::kProfiles), 2);
    user.Answer(IDNO);
    ui::Click(Control(Page::kRemoveProfile));
    EXPECT_EQ(Boxes(), std::vector<std::wstring>{L"Вы действительно хотите удалить профиль \"Офис\"?"});
    EXPECT_EQ(ui::ShownBoxes().back().style & 0xFF, static_cast<UINT>(MB_YESNO | MB_ICONWARNING));
    EXPECT_EQ(Rows(Page::kProfiles).size(), 4u);

    user.Answer(IDYES);
    ui::Click(Control(Page::kRemoveProfile));
    EXPECT_EQ(Rows(Page::kProfiles).size(), 3u);
    EXPECT_EQ(Cell(Page::kRules, 1, 1), L"<не существует>");
    ASSERT_EQ(Sheet().PressOk().outcome, host::PageHost::Outcome::Applied);
    EXPECT_EQ(StoredArray(L"ZRNLA_PROFILES")->GetSize(), 1u);
    EXPECT_EQ(ZRPAR::GetStringValue(StoredElement(L"ZRNLA_LOCATIONS", 1), L"ZRNLA_PROFILE_TO_USE"), L"p-office");
}

TEST_F(NetworkNlaPage, RulesMoveUpAndDownAndAreDeletedAfterAQuestion)
{
    StoreNla(TwoProfiles(), FourRules());
    OpenPolicy();
    ui::ClickListItem(Control(Page::kRules), 2);
    ui::Click(Control(Page::kRuleUp));
    ui::Click(Control(Page::kRuleUp));  // the selection moved with the rule
    EXPECT_EQ(Rows(Page::kRules), (std::vector<std::wstring>{L"Старое", L"Дом", L"Сеть офиса", L"Без связи"}));
    EXPECT_FALSE(Enabled(Page::kRuleUp));
    ui::Click(Control(Page::kRuleDown));
    EXPECT_EQ(Cell(Page::kRules, 1, 1), L"<не существует>");
    EXPECT_EQ(Image(2), Page::kDisabledRuleImage);

    ui::ClickListItem(Control(Page::kRules), 0);
    user.Answer(IDNO).Answer(IDYES);
    ui::Click(Control(Page::kRemoveRule));
    ui::Click(Control(Page::kRemoveRule));
    EXPECT_EQ(Boxes().back(), L"Вы действительно хотите удалить описание сетевого местоположения \"Дом\"?");
    EXPECT_EQ(Rows(Page::kRules), (std::vector<std::wstring>{L"Старое", L"Сеть офиса", L"Без связи"}));
    ASSERT_EQ(Sheet().PressOk().outcome, host::PageHost::Outcome::Applied);
    EXPECT_EQ(StoredRuleNames(), (std::vector<std::wstring>{L"Старое", L"Сеть офиса", L"Без связи"}));
}

TEST_F(NetworkNlaPage, ListsLockedAboveAreReadOnlyAndNotWritten)
{
    const testsupport::ParentLock parent{L"Офисы", L"Головная политика", L""};
    policy.Replace(L"1103", L"1.0.0.0", kSection,
                   Section({{L"ZRNLA_PROFILES", LockedSetting(TwoProfiles(), parent)},
                            {L"ZRNLA_LOCATIONS", LockedSetting(FourRules(), parent)}})
                       .Get());
    OpenPolicy();
    ui::ClickListItem(Control(Page::kRules), 1);
    ui::ClickListItem(Control(Page::kProfiles), 2);
    using P = Page;
    ExpectEnabled({{P::kAddProfile, false}, {P::kProfileProperties, false}, {P::kRemoveProfile, false}, {P::kAddRule, false},
                   {P::kRuleProperties, false}, {P::kRemoveRule, false}, {P::kRuleUp, false}, {P::kRuleDown, false},
                   {P::kRoaming, true}});
    ui::DoubleClickListItem(Control(P::kRules), 1);
    ui::DoubleClickListItem(Control(P::kProfiles), 2);
    EXPECT_TRUE(ui::ShownDialogs().empty());
    ui::Click(Control(P::kRoaming));
    ASSERT_EQ(Sheet().PressOk().outcome, host::PageHost::Outcome::Applied);
    EXPECT_NE(Stored(kSection, L"ZRNLA_LOCATIONS")->FindValue(L"ZRPRSS_ValLck"), nullptr);
    EXPECT_TRUE(ZRPAR::Equals(StoredArray(L"ZRNLA_LOCATIONS"), FourRules().Get()));
    EXPECT_TRUE(StoredValue<ZRPAR::BoolValue>(kSection, L"ZRNAG_NLA_ROAMING_IF_UNAVAIL"));
}

TEST_F(NetworkNlaPage, InAContextWithoutProfilesTheStoredOnesAreNeitherListedNorLost)
{
    source.Set(L"NH_CONTEXT_KIND", ZRSTD::MakeRef<testsupport::ValueItem>(std::int32_t{2}));
    StoreNla(TwoProfiles(), FourRules());
    OpenPolicy();
    EXPECT_EQ(Rows(Page::kProfiles).size(), 2u);
    EXPECT_FALSE(Enabled(Page::kAddProfile));
    EXPECT_EQ(Cell(Page::kRules, 1, 1), L"Офис");
    ui::ClickListItem(Control(Page::kRules), 3);
    ui::Click(Control(Page::kRuleUp));
    ASSERT_EQ(Sheet().PressOk().outcome, host::PageHost::Outcome::Applied);
    EXPECT_TRUE(ZRPAR::Equals(StoredArray(L"ZRNLA_PROFILES"), TwoProfiles().Get()));
    EXPECT_EQ(StoredRuleNames(), (std::vector<std::wstring>{L"Дом", L"Сеть офиса", L"Без связи", L"Старое"}));
}

TEST_F(NetworkNlaPage, TheProfilesProxyPasswordIsStoredProtectedAndExportedOnlyAsADigest)
{
    source.Set(L"DATA_PROTECTION", ZRSTD::MakeRef<TestProtection>());
    StoreNla(TwoProfiles(), FourRules(), std::pair{false, false});
    OpenPolicy();
    ui::ClickListItem(Control(Page::kProfiles), 3);
    user.InDialog([&](HWND dialog) {
        user.InDialog([](HWND proxy) {
            ui::Click(ui::FindControl(proxy, CDlgProxySettings::kUseProxy));
            ui::EnterText(ui::FindControl(proxy, CDlgProxySettings::kAddress), L"proxy.corp");
            ui::Click(ui::FindControl(proxy, CDlgProxySettings::kUseAuth));
            ui::EnterText(ui::FindControl(proxy, CDlgProxySettings::kUser), L"agent");
            ui::ReplaceText(ui::FindControl(proxy, CDlgProxySettings::kPassword), L"Secret#1");
            ui::Click(ui::FindControl(proxy, IDOK));
        });
        ui::Click(ui::FindControl(dialog, Profile::kProxyLink));
        ui::Click(ui::FindControl(dialog, IDOK));
    });
    ui::Click(Control(Page::kProfileProperties));
    ASSERT_EQ(Sheet().PressOk().outcome, host::PageHost::Outcome::Applied);
    const ZRPAR::Params* branch = StoredElement(L"ZRNLA_PROFILES", 1);
    EXPECT_EQ(ZRPAR::GetStringValue(branch, L"ZRNAG_PROXYHOST_LOCATION"), L"http://proxy.corp:8080");
    const auto blob = ZRPAR::GetBinaryValue(branch, L"ZRNAG_PROXYHOST_PASSWORD_PROTECTED");
    ASSERT_TRUE(blob);
    EXPECT_EQ(blob->GetData()[0], 'P');
    EXPECT_NE(ZRPAR::GetStringValue(branch, L"ZRNAG_PROXYHOST_PASSWORD"), L"Secret#1");

    NHPP::CNHPPageData data(&source, NHPP::kObjectPolicy);
    data.RegisterSection(kSection, NHPP::kSectionPolicy, false);
    data.RegisterSection(L"86", NHPP::kSectionPolicy, true);
    const auto results = Page::Export(data);
    ASSERT_EQ(results.size(), 1u);
    const auto profiles = ZRPAR::GetParamsValue(results[0].Get(), L"Профили подключения к Серверу администрирования");
    ASSERT_TRUE(profiles);
    const auto exported = ZRPAR::GetParamsValue(profiles.Get(), L"Филиал");
    ASSERT_TRUE(exported);
    EXPECT_EQ(ZRPAR::GetStringValue(exported.Get(), L"Адрес сервера"), L"branch.corp");
    EXPECT_EQ(ZRPAR::GetStringValue(exported.Get(), L"Адрес прокси-сервера"), L"http://proxy.corp:8080");
    const auto digest = ZRSTD::CalcMD5Hash(blob->GetData(), blob->GetDataSize());
    const auto shown = ZRPAR::GetBinaryValue(exported.Get(), L"Пароль");
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->GetValue(), std::vector<std::uint8_t>(digest.begin(), digest.end()));
    EXPECT_EQ(ZRPAR::GetStringValue(ZRPAR::GetParamsValue(profiles.Get(), L"Офис").Get(), L"Номер порта"), L"14001");

    const auto rules = ZRPAR::GetParamsValue(results[0].Get(), L"Настройки сетевого местоположения (Network location settings)");
    ASSERT_TRUE(rules);
    EXPECT_EQ(ZRPAR::GetStringValue(ZRPAR::GetParamsValue(rules.Get(), L"Старое").Get(), L"Название профиля"),
              L"<не существует>");
    EXPECT_EQ(ZRPAR::GetStringValue(ZRPAR::GetParamsValue(rules.Get(), L"Дом").Get(), L"Название профиля"),
              L"<Домашний сервер администрирования>");
    EXPECT_EQ(ZRPAR::GetStringValue(results[0].Get(), L"Включить роуминг-режим"), L"Нет");
    EXPECT_EQ(ZRPAR::GetStringValue(results[0].Get(), L"Замочек \"Профили подключения к Серверу администрирования\""),
              L"Редактирование разрешено");
}

TEST_F(NetworkNlaPage, OnOneComputerTheLocksOnlyShowThePolicy)
{
    testsupport::FakeDataSource computer;
    computer.WithServerVersion(0xD0001);
    computer.WithComputer(0).Replace(L"1103", L"1.0.0.0", kSection,
                                     ZRPAR::CreateParamsBody({{L"ZRNLA_PROFILES", TwoProfiles()},
                                                              {L"ZRNLA_LOCATIONS", FourRules()}})
                                         .Get());
    auto data = std::make_shared<NHPP::CNHPPageData>(&computer, NHPP::kObjectLocalSettings);
    data->RegisterSection(kSection, NHPP::kSectionProduct, false);
    data->RegisterSection(L"86", NHPP::kSectionProduct, true);
    Open(new CPageNetworkNLAProduct(data));
    EXPECT_EQ(Rows(Page::kRules).size(), 4u);
    EXPECT_FALSE(IsWindowEnabled(LockDropDown(Page::kLock)));
    EXPECT_FALSE(IsWindowEnabled(LockDropDown(Page::kRoamingLock)));
    EXPECT_TRUE(Enabled(Page::kAddRule));
}
