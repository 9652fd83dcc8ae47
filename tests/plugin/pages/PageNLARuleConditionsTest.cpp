#include "plugin/pages/agent/PageNLARuleConditions.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "controls/PluginEnvironment.h"
#include "nhpp/ParamsProviderTask.h"
#include "plugin/pages/agent/DlgNLARuleConditionEditor.h"
#include "support/NlaData.h"
#include "support/PageFixture.h"
#include "support/TestCertificates.h"
#include "ui/CommonControls.h"
#include "ui/ControlTable.h"
#include "ui/Services.h"
#include "zrstd/Strings.h"

using testsupport::Array;
using testsupport::Condition;
using testsupport::Element;
using testsupport::Rule;
using testsupport::ServerProfile;

namespace {

using Page = CPageNLARuleConditions;
using Editor = CDlgNLARuleConditionEditor;
using Value = CDlgNLARuleCondPartEditor;
using Dialog = std::function<void(HWND)>;

// The console's subnets: one it knows, and the one its picker offers.
class TestPicker : public ZRSTD::ZRBaseQIImpl<ZRPlugin::IIpRangePicker> {
public:
    bool SelectIpRange(HWND, ZRPAR::Params** ppRange) override
    {
        *ppRange = ZRPAR::CreateParamsBody({{L"nIpAddress", static_cast<std::int32_t>(0xC0A80A00)},
                                            {L"nMask", static_cast<std::int32_t>(0xFFFFFF00)}})
                       .Detach();
        return true;
    }
    bool FindSubnet(std::uint32_t address, std::uint32_t mask, ZRPAR::Params** ppSubnet) override
    {
        if (address != 0xC0A80A00 || mask != 0xFFFFFF00) return false;
        *ppSubnet = ZRPAR::CreateParamsBody({{L"wstrSubnetName", L"Склад"}, {L"wstrComment", L"Первый этаж\r\nвторой корпус"}})
                        .Detach();
        return true;
    }
};

std::wstring TextOf(HWND dialog, int id) { return GetDlgItemTextW(dialog, id); }
bool Shown(HWND dialog, int id) { return IsWindowVisible(GetDlgItem(dialog, id)); }
std::vector<std::wstring> Lines(HWND dialog, int list)
{
    std::vector<std::wstring> lines;
    const HWND control = GetDlgItem(dialog, list);
    for (int row = 0; row < SendMessageW(control, LVM_GETITEMCOUNT, 0, 0); ++row)
        lines.push_back(ui::GetListRowText(control, row));
    return lines;
}
std::wstring Cell(HWND dialog, int list, int row, int column)
{
    LVITEMW item;
    item.iSubItem = column;
    SendMessageW(GetDlgItem(dialog, list), LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return item.text;
}
void Press(HWND dialog, int id) { ui::Click(ui::FindControl(dialog, id)); }
std::vector<std::wstring> ColumnTitles(HWND dialog, int list)
{
    std::vector<std::wstring> titles;
    for (int column = 0;; ++column) {
        LVCOLUMNW title;
        if (!SendMessageW(GetDlgItem(dialog, list), LVM_GETCOLUMNW, static_cast<WPARAM>(column),
                          reinterpret_cast<LPARAM>(&title)))
            return titles;
        titles.push_back(title.text);
    }
}

class RulePage : public testsupport::PageTest {
protected:
    void SetUp() override
    {
        PageTest::SetUp();
        source.WithServerVersion(0xD0001);
        data = PageData(NHPP::kObjectPolicy, NHPP::kSectionPolicy, {L"ZRNAG_ZRNLA_DATA", L"86"});
    }
    // The rule page over the rule, as the connection page opens it: with the profiles beside it.
    int Run(ZRPAR::Params& rule, const Dialog& actions, std::vector<std::wstring> others = {})
    {
        rule.ReplaceValue(L"ZRNLA_PROFILES",
                          Array({Element(ServerProfile(L"p-office", L"Офис", L"adm.corp")),
                                 Element(ServerProfile(L"p-branch", L"Филиал", L"branch.corp"))})
                              .Get());
        ZRSTD::CAutoPtr<NHPP::CParams> provider;
        EXPECT_EQ(NHPP::CreateParams(&provider, &rule), NHPP::kOk);
        PluginStateScope scope;
        Page rulePage(data, *provider, std::move(others));
        user.InDialog(actions);
        const int result = rulePage.DoModal(Sheet().Sheet());
        rule.DeleteValue(L"ZRNLA_PROFILES");
        return result;
    }
    // Chooses a type in the add menu and acts in the editor that opens.
    void AddCondition(HWND rulePage, int type, const Dialog& editor)
    {
        user.Choose(12000 + type).InDialog(editor);
        Press(rulePage, Page::kAdd);
    }
    void AddValue(HWND editor, const Dialog& value)
    {
        user.InDialog(value);
        Press(editor, Editor::kAdd);
    }
    ZRPAR::Params* ConditionOf(ZRPAR::Params& rule, const wchar_t* key)
    {
        return static_cast<ZRPAR::ParamsValue*>(rule.FindValue(key))->GetValue();
    }

    std::shared_ptr<NHPP::CNHPPageData> data;
};

}  // namespace

TEST_F(RulePage, ShowsTheRuleItsProfileAndConditionsAndOffersOnlyTypesItLacks)
{
    auto rule = Rule(L"Офис", L"p-branch", false);
    rule->AddValue(L"ZRNLA_DNS_SERVER", ZRPAR::CreateValue(Condition(Array({ZRPAR::CreateValue(0x0100000A)})).Get()).Get());
    rule->AddValue(L"ZRNLA_SUBNET", ZRPAR::CreateValue(Condition(Array({})).Get()).Get());  // no values: no condition
    rule->AddValue(L"ZRNLA_IN_DOMAIN", ZRPAR::CreateValue(Condition(Array({})).Get()).Get());
    const auto before = rule->Clone();
    const int result = Run(*rule, [&](HWND dialog) {
        EXPECT_EQ(GetWindowTextW(dialog), L"Свойства: Офис");
        EXPECT_EQ(TextOf(dialog, Page::kName), L"Офис");
        EXPECT_EQ(SendMessageW(GetDlgItem(dialog, Page::kEnabled), BM_GETCHECK, 0, 0), BST_UNCHECKED);
        EXPECT_EQ(ui::ChoicesOf(GetDlgItem(dialog, Page::kProfile)),
                  (std::vector<std::wstring>{L"<Оффлайн-режим>", L"<Домашний сервер администрирования>", L"Офис", L"Филиал"}));
        EXPECT_EQ(SendMessageW(GetDlgItem(dialog, Page::kProfile), CB_GETCURSEL, 0, 0), 3);
        EXPECT_EQ(Lines(dialog, Page::kConditions),
                  (std::vector<std::wstring>{L"DNS-серверы", L"Доступность Windows-домена"}));
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, Page::kEdit)));
        user.Choose(0);
        Press(dialog, Page::kAdd);
        const auto& items = ui::ShownMenus().back().items;
        const std::pair<UINT, bool> expected[] = {{12004, true}, {12005, true}, {12001, true}, {12002, false}, {12006, false},
                                                  {12000, true}, {12003, true}, {12007, true}, {12008, true}};
        ASSERT_EQ(items.size(), std::size(expected));
        for (std::size_t i = 0; i < items.size(); ++i) {
            EXPECT_EQ(items[i].id, expected[i].first) << i;
            EXPECT_EQ(items[i].enabled, expected[i].second) << i;
        }
        EXPECT_EQ(items[0].text, L"Адрес основного &шлюза");
        Press(dialog, IDCANCEL);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_TRUE(ZRPAR::Equals(*rule, *before));
}

TEST_F(RulePage, RefusesInTheOrderAPersonMeetsTheProblemsAndAsksBeforeActivating)
{
    auto rule = Rule(L"Новое описание", L".ZRNLA_HOME_SERVER");
    const int result = Run(
        *rule,
        [&](HWND dialog) {
            const struct {
                std::wstring name;
                std::wstring message;
            } steps[] = {
                {L"  ", L"Не задано имя для описания сетевого местоположения"},
                {std::wstring(261, L'x'), L"Задано слишком длинное имя для описания сетевого местоположения."},
                {L"Дом|Дача", L"Имя описания сетевого местоположения не может содержать следующие символы: \" * < > ? \\ / : |"},
                {L"ДОМ", L"Указанное имя для описания сетевого местоположения уже используется"},
                {L" Дача ", L"Не указаны условия для описания сетевого местоположения"},
            };
            for (const auto& step : steps) {
                ui::ClearInteractionRecord();
                ui::ReplaceText(ui::FindControl(dialog, Page::kName), step.name);
                Press(dialog, IDOK);
                ASSERT_EQ(Boxes(), std::vector<std::wstring>{step.message}) << ZRSTD::ToUtf8(step.name);
            }
            AddCondition(dialog, 6, [](HWND editor) {
                EXPECT_EQ(GetWindowTextW(editor), L"Добавить доступность Windows-домена");
                EXPECT_EQ(TextOf(editor, CDlgNLARuleSimpleConditionEditor::kValue), L"Доступен &Windows-домен");
                Press(editor, CDlgNLARuleSimpleConditionEditor::kValue);
                Press(editor, IDOK);
            });
            EXPECT_EQ(Lines(dialog, Page::kConditions), std::vector<std::wstring>{L"Доступность Windows-домена"});
            ui::ClearInteractionRecord();
            user.Answer(IDNO);
            Press(dialog, IDOK);  // an active rule is a question: no keeps the page open
            ASSERT_EQ(ui::ShownBoxes().size(), 1u);
            EXPECT_NE(ui::ShownBoxes()[0].text.find(L"Продолжить?"), std::wstring::npos);
            EXPECT_EQ(ui::ShownBoxes()[0].style & 0xFF, static_cast<UINT>(MB_YESNO | MB_ICONINFORMATION));
            user.Answer(IDYES);
            Press(dialog, IDOK);
        },
        {L"Дом"});
    ASSERT_EQ(result, IDOK);
    EXPECT_EQ(ZRPAR::GetStringValue(rule.Get(), L"ZRNLA_LOCATION_NAME"), L"Дача");
    EXPECT_TRUE(ZRPAR::GetBoolValue(rule.Get(), L"ZRNLA_LOCATION_ENABLED"));
    EXPECT_EQ(ZRPAR::GetStringValue(rule.Get(), L"ZRNLA_PROFILE_TO_USE"), L".ZRNLA_HOME_SERVER");
    EXPECT_TRUE(ZRPAR::Equals(*ConditionOf(*rule, L"ZRNLA_IN_DOMAIN"),
                              *ZRPAR::CreateParamsBody({{L"ZRNLA_COP", 0}, {L"ZRNLA_value", true}})));
    EXPECT_FALSE(rule->DoesExist(L"ZRNLA_PROFILES"));

    // a rule whose profile is gone needs one; a name of 260 characters is taken
    auto orphan = Rule(std::wstring(260, L'я'), L"p-deleted", false);
    orphan->AddValue(L"ZRNLA_IN_DOMAIN", ZRPAR::CreateValue(true).Get());
    EXPECT_EQ(Run(*orphan, [&](HWND dialog) {
                  EXPECT_EQ(SendMessageW(GetDlgItem(dialog, Page::kProfile), CB_GETCURSEL, 0, 0), CB_ERR);
                  ui::ClearInteractionRecord();
                  Press(dialog, IDOK);
                  EXPECT_EQ(Boxes(), std::vector<std::wstring>{L"Не указан профиль подключения."});
                  ui::SelectItem(ui::FindControl(dialog, Page::kProfile), L"офис");
                  Press(dialog, IDOK);
              }),
              IDOK);
    EXPECT_EQ(ZRPAR::GetStringValue(orphan.Get(), L"ZRNLA_PROFILE_TO_USE"), L"p-office");
}

TEST_F(RulePage, AddressConditionsStoreTheFirstOctetInTheLowestByte)
{
    auto rule = Rule(L"Шлюз", L"p-office", false);
    ASSERT_EQ(Run(*rule, [&](HWND dialog) {
                  AddCondition(dialog, 4, [&](HWND editor) {
                      EXPECT_EQ(GetWindowTextW(editor), L"Добавить шлюзы по умолчанию (Default gateways)");
                      ui::ClearInteractionRecord();
                      Press(editor, IDOK);
                      EXPECT_EQ(Boxes(), std::vector<std::wstring>{L"Не заданы необходимые атрибуты условия."});
                      for (const wchar_t* address : {L"192.168.1.1", L"0.0.0.0", L"10.0.0.1"})
                          AddValue(editor, [&](HWND value) {
                              EXPECT_EQ(GetWindowTextW(value), L"Добавить значение");
                              EXPECT_EQ(TextOf(value, Value::kAddressLabel),
                                        L"Ip-адрес шлюза по умолчанию (Default gateway):");
                              for (int id : {Value::kMask, Value::kText, Value::kCertificate, Value::kChooseSubnet})
                                  EXPECT_FALSE(Shown(value, id)) << id;
                              ui::EnterAddress(ui::FindControl(value, Value::kAddress), address);
                              Press(value, IDOK);
                          });
                      EXPECT_EQ(Lines(editor, Editor::kValues),
                                (std::vector<std::wstring>{L"192.168.1.1", L"0.0.0.0", L"10.0.0.1"}));
                      ui::ClickListItem(ui::FindControl(editor, Editor::kValues), 2);
                      Press(editor, Editor::kRemove);  // no question
                      Press(editor, Editor::kMatchesNone);
                      Press(editor, IDOK);
                  });
                  Press(dialog, IDOK);
              }),
              IDOK);
    EXPECT_TRUE(ZRPAR::Equals(*ConditionOf(*rule, L"ZRNLA_DEF_GATEWAY"),
                              *Condition(Array({ZRPAR::CreateValue(static_cast<std::int32_t>(0x0101A8C0)),
                                                ZRPAR::CreateValue(std::int32_t{0})}),
                                         1)));

    // "matches none" keeps the number it was stored with; the values are edited in place
    ConditionOf(*rule, L"ZRNLA_DEF_GATEWAY")->ReplaceValue(L"ZRNLA_COP", ZRPAR::CreateValue(7).Get());
    ASSERT_EQ(Run(*rule, [&](HWND dialog) {
                  user.InDialog([&](HWND editor) {
                      EXPECT_EQ(GetWindowTextW(editor), L"Изменить шлюзы по умолчанию (Default gateways)");
                      user.InDialog([](HWND value) {
                          EXPECT_EQ(GetWindowTextW(value), L"Изменить значение");
                          EXPECT_EQ(TextOf(value, Value::kAddress), L"192.168.1.1");
                          ui::EnterAddress(ui::FindControl(value, Value::kAddress), L"192.168.1.254");
                          Press(value, IDOK);
                      });
                      ui::DoubleClickListItem(ui::FindControl(editor, Editor::kValues), 0);
                      Press(editor, IDOK);
                  });
                  ui::DoubleClickListItem(ui::FindControl(dialog, Page::kConditions), 0);
                  Press(dialog, IDOK);
              }),
              IDOK);
    EXPECT_EQ(ZRPAR::GetIntValue(ConditionOf(*rule, L"ZRNLA_DEF_GATEWAY"), L"ZRNLA_COP"), 7);
    EXPECT_EQ(ZRPAR::GetArrayValue(ConditionOf(*rule, L"ZRNLA_DEF_GATEWAY"), L"ZRNLA_value")->GetAt(0).Get()->GetType(),
              ZRPAR::VT_INT);
    EXPECT_EQ(static_cast<ZRPAR::IntValue*>(
                  ZRPAR::GetArrayValue(ConditionOf(*rule, L"ZRNLA_DEF_GATEWAY"), L"ZRNLA_value")->ItemAt(0))
                  ->GetValue(),
              static_cast<std::int32_t>(0xFE01A8C0));
}

TEST_F(RulePage, ASubnetMustBeARunOfOnesCoveringTheAddressAndIsNamedByTheConsole)
{
    source.Set(L"SELECT_IPDIAPASON", ZRSTD::MakeRef<TestPicker>());
    auto rule = Rule(L"Склад", L"p-office", false);
    ASSERT_EQ(Run(*rule, [&](HWND dialog) {
                  AddCondition(dialog, 0, [&](HWND editor) {
                      EXPECT_EQ(ColumnTitles(editor, Editor::kValues),
                                (std::vector<std::wstring>{L"Name", L"IP", L"Mask", L"Description"}));
                      AddValue(editor, [&](HWND value) {
                          EXPECT_EQ(TextOf(value, Value::kAddressLabel), L"Адрес подсети:");
                          EXPECT_EQ(TextOf(value, Value::kMaskLabel), L"Маска подсети:");
                          EXPECT_FALSE(Shown(value, Value::kText));
                          const struct {
                              const wchar_t *address, *mask, *message;
                          } refused[] = {
                              {L"0.0.0.0", L"255.0.0.0", L"Задан пустой адрес IP - подсети."},
                              {L"10.0.0.0", L"", L"Задана пустая маска IP - подсети."},
                              {L"10.0.0.0", L"255.255.255.255", L"Неправильно задана маска IP - подсети."},
                              {L"10.0.0.0", L"255.0.255.0", L"Неправильно задана маска IP - подсети."},
                              {L"10.1.0.0", L"255.0.0.0", L"Неправильно задана маска IP - подсети."},
                          };
                          for (const auto& c : refused) {
                              ui::EnterAddress(ui::FindControl(value, Value::kAddress), c.address);
                              ui::EnterAddress(ui::FindControl(value, Value::kMask), c.mask);
                              ui::ClearInteractionRecord();
                              Press(value, IDOK);
                              EXPECT_EQ(Boxes(), std::vector<std::wstring>{c.message}) << ZRSTD::ToUtf8(c.mask);
                          }
                          Press(value, Value::kChooseSubnet);  // the console's picker fills both
                          EXPECT_EQ(TextOf(value, Value::kAddress), L"192.168.10.0");
                          EXPECT_EQ(TextOf(value, Value::kMask), L"255.255.255.0");
                          Press(value, IDOK);
                      });
                      EXPECT_EQ(Cell(editor, Editor::kValues, 0, 0), L"Склад");
                      EXPECT_EQ(Cell(editor, Editor::kValues, 0, 1), L"192.168.10.0");
                      EXPECT_EQ(Cell(editor, Editor::kValues, 0, 2), L"255.255.255.0");
                      EXPECT_EQ(Cell(editor, Editor::kValues, 0, 3), L"Первый этаж второй корпус");
                      Press(editor, IDOK);
                  });
                  Press(dialog, IDOK);
              }),
              IDOK);
    const auto values = ZRPAR::GetArrayValue(ConditionOf(*rule, L"ZRNLA_SUBNET"), L"ZRNLA_value");
    ASSERT_EQ(values->GetSize(), 1u);
    const ZRPAR::Params* subnet = static_cast<ZRPAR::ParamsValue*>(values->ItemAt(0))->GetValue();
    EXPECT_EQ(ZRPAR::GetIntValue(subnet, L"ZRNLA_SUBNET_ADDRESS"), 0x000AA8C0);
    EXPECT_EQ(ZRPAR::GetIntValue(subnet, L"ZRNLA_SUBNET_MASK"), 0x00FFFFFF);
}

TEST_F(RulePage, AnSslAddressTakesItsCertificateAsPemAndKeepsItWhenNoneIsChosen)
{
    const auto directory = std::filesystem::path(::testing::TempDir()) / "nla-ssl";
    std::filesystem::create_directories(directory);
    const auto certificate = testsupport::MakeTestCertificate();
    const std::filesystem::path der = directory / "server.cer", text = directory / "notes.txt";
    std::ofstream(der, std::ios::binary).write(reinterpret_cast<const char*>(certificate.der.data()),
                                               static_cast<std::streamsize>(certificate.der.size()));
    std::ofstream(text) << "not a certificate";
    std::vector<ui::ServiceCall> asked;
    std::vector<std::wstring> answers = {text.wstring(), der.wstring()};
    ui::SetPickerAnswer([&](const ui::ServiceCall& call) {
        asked.push_back(call);
        const std::wstring answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    });

    auto rule = Rule(L"Сервер", L"p-office", false);
    ASSERT_EQ(Run(*rule, [&](HWND dialog) {
                  AddCondition(dialog, 8, [&](HWND editor) {
                      AddValue(editor, [&](HWND value) {
                          EXPECT_EQ(TextOf(value, Value::kTextLabel), L"Сетевой адрес (имя:порт):");
                          EXPECT_EQ(TextOf(value, Value::kCertificateLabel), L"Сертификат SSL-соединения:");
                          EXPECT_EQ(TextOf(value, Value::kCertificate), L"сертификат не задан");
                          Press(value, Value::kChooseCertificate);  // a file that is read but is no certificate
                          EXPECT_EQ(TextOf(value, Value::kCertificate), L"сертификат задан");
                          ui::ClearInteractionRecord();
                          Press(value, IDOK);
                          EXPECT_EQ(Boxes(), std::vector<std::wstring>{L"Неправильный сетевой адрес."});
                          ui::EnterText(ui::FindControl(value, Value::kText), L"adm.corp:13000");
                          Press(value, IDOK);
                          EXPECT_EQ(Boxes().back(), L"You must specify Brenvik Administration Server certificate.");
                          Press(value, Value::kChooseCertificate);
                          Press(value, IDOK);
                      });
                      EXPECT_EQ(Lines(editor, Editor::kValues),
                                std::vector<std::wstring>{L"adm.corp:13000 (сертификат задан)"});
                      Press(editor, IDOK);
                  });
                  Press(dialog, IDOK);
              }),
              IDOK);
    ui::SetPickerAnswer(nullptr);
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].service, L"open-file");
    EXPECT_EQ(asked[0].detail, L"Certificate Files(*.cer)|*.cer|All Files(*.*)|*.*|||cer");
    auto ssl = [&] {
        return static_cast<ZRPAR::ParamsValue*>(
                   ZRPAR::GetArrayValue(ConditionOf(*rule, L"ZRNLA_SSL_AVAILABLE"), L"ZRNLA_value")->ItemAt(0))
            ->GetValue();
    };
    const auto stored = ZRPAR::GetBinaryValue(ssl(), L"ZRNLA_SSL_CERT");
    ASSERT_TRUE(stored);
    EXPECT_EQ(std::string(stored->GetValue().begin(), stored->GetValue().end()), certificate.pem);

    // edited without choosing a certificate: the stored one stays
    ASSERT_EQ(Run(*rule, [&](HWND dialog) {
                  user.InDialog([&](HWND editor) {
                      user.InDialog([](HWND value) {
                          EXPECT_EQ(TextOf(value, Value::kCertificate), L"сертификат задан");
                          ui::EnterText(ui::FindControl(value, Value::kText), L"adm.corp:13001");
                          Press(value, IDOK);
                      });
                      ui::DoubleClickListItem(ui::FindControl(editor, Editor::kValues), 0);
                      Press(editor, IDOK);
                  });
                  ui::DoubleClickListItem(ui::FindControl(dialog, Page::kConditions), 0);
                  Press(dialog, IDOK);
              }),
              IDOK);
    EXPECT_EQ(ZRPAR::GetStringValue(ssl(), L"ZRNLA_SSL_LOCATION"), L"adm.corp:13001");
    EXPECT_EQ(ZRPAR::GetBinaryValue(ssl(), L"ZRNLA_SSL_CERT")->GetValue(), stored->GetValue());
    std::filesystem::remove_all(directory);
}

TEST_F(RulePage, WithEveryTypePresentNothingCanBeAddedUntilOneIsDeleted)
{
    auto rule = Rule(L"Всё", L"p-office", false);
    for (const auto& type : nla::ConditionTypes())
        rule->AddValue(type.key, type.form == nla::ValueForm::YesNo
                                     ? ZRPAR::CreateValue(Condition(Array({})).Get()).Get()
                                     : ZRPAR::CreateValue(Condition(Array({ZRPAR::CreateValue(1)})).Get()).Get());
    ASSERT_EQ(Run(*rule, [&](HWND dialog) {
                  EXPECT_EQ(Lines(dialog, Page::kConditions).size(), 9u);
                  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, Page::kAdd)));
                  ui::ClickListItem(ui::FindControl(dialog, Page::kConditions), 0);
                  ui::ClearInteractionRecord();
                  user.Answer(IDNO).Answer(IDYES);
                  Press(dialog, Page::kRemove);
                  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, Page::kAdd)));
                  ui::ClickListItem(ui::FindControl(dialog, Page::kConditions), 0);
                  Press(dialog, Page::kRemove);
                  EXPECT_EQ(Boxes().back(), L"Вы действительно хотите удалить условие \"Нахождение в подсетях\"?");
                  EXPECT_EQ(Lines(dialog, Page::kConditions).size(), 8u);
                  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, Page::kAdd)));
                  Press(dialog, IDOK);
              }),
              IDOK);
    EXPECT_FALSE(rule->DoesExist(L"ZRNLA_SUBNET"));
    EXPECT_TRUE(rule->DoesExist(L"ZRNLA_DNSDOMAIN"));
}
