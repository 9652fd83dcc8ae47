#include "plugin/pages/installer/DlgProxySettingsPackage.h"

#include <gtest/gtest.h>

#include <map>

#include "host/console/ConsoleItems.h"
#include "plugin/pages/InstallerPageTest.h"
#include "plugin/pages/agent/DlgChangePassword.h"
#include "plugin/pages/installer/PageInstallerSettingsNetwork.h"
#include "support/TestProtection.h"
#include "ui/Interaction.h"
#include "ui/UserActions.h"
#include "zrstd/PasswordEncoding.h"

namespace {

using testsupport::TestProtection;

using Dlg = CDlgProxySettingsPackage;
using Page = CPageInstallerSettingsNetwork;
using Outcome = host::PageHost::Outcome;
using Bytes = std::vector<std::uint8_t>;

class PackageProxyDialog : public testsupport::InstallerPageTest {
protected:
    void SetUp() override
    {
        InstallerPageTest::SetUp();
        source.Set(L"DATA_PROTECTION", ZRSTD::MakeRef<TestProtection>());
    }
    void WithDetection(std::int32_t property9)
    {
        source.Set(L"NH_NODE_PROPERTIES",
                   ZRSTD::MakeRef<host::NodeProperties>(std::map<std::int32_t, std::int32_t>{{9, property9}}));
    }
    void OpenPage(std::initializer_list<ZRPAR::ParamsBodyEntry> proxy)
    {
        auto settings = ZRPAR::CreateParamsBody(proxy);
        settings->AddValue(L"ServerName", ZRPAR::CreateValue(L"adm.corp").Get());
        package.Replace(L"1103", L"1.0.0.0", kSection, settings.Get());
        Reopen();
        Open(new Page(PackageData()));
    }
    // Opens the dialog from the page's link and does what act does inside it.
    void InDialog(std::function<void(HWND)> act)
    {
        user.InDialog(std::move(act));
        ui::Click(Control(Page::kProxyLink));
    }
    Bytes SavedBytes(const wchar_t* key)
    {
        auto* value = static_cast<ZRPAR::BinaryValue*>(SavedValue(key, ZRPAR::VT_BINARY));
        if (!value) return {0xEE};  // no binary value at all
        const auto* data = static_cast<const std::uint8_t*>(value->GetData());
        return Bytes(data, data + value->GetDataSize());
    }
};

bool IsChecked(HWND dialog, int id) { return SendMessageW(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
bool IsEnabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)); }

}  // namespace

TEST_F(PackageProxyDialog, TheConsolesNodeDecidesWhetherDetectionIsOffered)
{
    const struct {
        std::optional<std::int32_t> property9;
        UINT templateId;
        bool offered;
    } cases[] = {{1, Dlg::kTemplate, true}, {0, Dlg::kTemplateWithoutDetection, false},
                 {std::nullopt, Dlg::kTemplateWithoutDetection, false}};
    for (const auto& entry : cases) {
        if (entry.property9) WithDetection(*entry.property9);
        else source.Remove(L"NH_NODE_PROPERTIES");
        OpenPage({});
        bool visible = false, enabled = false;
        InDialog([&](HWND dialog) {
            visible = IsWindowVisible(GetDlgItem(dialog, Dlg::kDetectOnly));
            enabled = IsEnabled(dialog, Dlg::kDetectOnly);
            EXPECT_TRUE(IsChecked(dialog, Dlg::kNoProxy));
            ui::Click(ui::FindControl(dialog, IDCANCEL));
        });
        ASSERT_FALSE(ui::ShownDialogs().empty());
        EXPECT_EQ(ui::ShownDialogs().back().templateId, entry.templateId);
        EXPECT_EQ(visible, entry.offered);
        EXPECT_EQ(enabled, entry.offered);
        EXPECT_FALSE(page->IsModified());  // cancelled
    }
}

TEST_F(PackageProxyDialog, AStoredProxyIsShownAndAnUntouchedOkWritesItBackWithItsScheme)
{
    WithDetection(1);
    OpenPage({{L"UseProxy", true}, {L"ProxyServerAddress", L"https://proxy.corp:3129"}, {L"ProxyServerUser", L"CORP\\agent"}});
    InDialog([](HWND dialog) {
        EXPECT_TRUE(IsChecked(dialog, Dlg::kGivenProxy));
        EXPECT_EQ(GetDlgItemTextW(dialog, Dlg::kAddress), L"proxy.corp");
        EXPECT_EQ(GetDlgItemTextW(dialog, Dlg::kPort), L"3129");
        EXPECT_TRUE(IsChecked(dialog, Dlg::kUseAuth));
        EXPECT_EQ(GetDlgItemTextW(dialog, Dlg::kUser), L"CORP\\agent");
        EXPECT_EQ(GetDlgItemTextW(dialog, Dlg::kPassword), L"***********");
        EXPECT_TRUE(IsEnabled(dialog, Dlg::kPassword));
        ui::Click(ui::FindControl(dialog, IDOK));
    });
    EXPECT_TRUE(page->IsModified());
    ASSERT_EQ(Sheet().PressOk().outcome, Outcome::Applied);
    EXPECT_EQ(SavedString(L"ProxyServerAddress"), L"https://proxy.corp:3129");
    EXPECT_EQ(SavedBool(L"UseProxy"), true);
    EXPECT_EQ(SavedString(L"ProxyServerUser"), L"CORP\\agent");
    EXPECT_FALSE(SavedHas(L"ProxyServerPassword"));  // the placeholder writes no password
}

TEST_F(PackageProxyDialog, DetectionIsChosenForItsMarkAndLeavingItWritesTheTypedChoice)
{
    WithDetection(1);
    OpenPage({{L"UseProxy", true}, {L"ProxyServerAddress", L"*autodetect*"}});
    InDialog([](HWND dialog) {
        EXPECT_TRUE(IsChecked(dialog, Dlg::kDetectOnly));
        EXPECT_EQ(GetDlgItemTextW(dialog, Dlg::kAddress), L"");
        EXPECT_FALSE(IsEnabled(dialog, Dlg::kAddress));
        EXPECT_TRUE(IsEnabled(dialog, Dlg::kUseAuth));  // a detected proxy may want an account too
        ui::Click(ui::FindControl(dialog, IDOK));
    });
    ASSERT_EQ(Sheet().PressOk().outcome, Outcome::Applied);
    EXPECT_EQ(SavedString(L"ProxyServerAddress"), L"*autodetect*");

    InDialog([](HWND dialog) {
        ui::Click(ui::FindControl(dialog, Dlg::kNoProxy));
        EXPECT_FALSE(IsEnabled(dialog, Dlg::kUseAuth));
        ui::Click(ui::FindControl(dialog, IDOK));
    });
    ASSERT_EQ(Sheet().PressOk().outcome, Outcome::Applied);
    EXPECT_EQ(SavedBool(L"UseProxy"), false);
    EXPECT_EQ(SavedString(L"ProxyServerAddress"), L"");  // so that it is not read as detection again
}

TEST_F(PackageProxyDialog, OkRefusesABadHostOrAccountAndStoresThePasswordOnlyProtectedAndEncoded)
{
    OpenPage({});
    InDialog([](HWND dialog) {
        ui::Click(ui::FindControl(dialog, Dlg::kGivenProxy));
        ui::EnterText(ui::FindControl(dialog, Dlg::kAddress), L"proxy/corp");
        ui::Click(ui::FindControl(dialog, IDOK));
        ui::EnterText(ui::FindControl(dialog, Dlg::kAddress), L"proxy.corp");
        ui::ClearText(ui::FindControl(dialog, Dlg::kPort));
        ui::Click(ui::FindControl(dialog, IDOK));
        ui::Type(ui::FindControl(dialog, Dlg::kPort), L"3128");
        ui::Click(ui::FindControl(dialog, Dlg::kUseAuth));
        ui::EnterText(ui::FindControl(dialog, Dlg::kUser), L"agent*");
        ui::Click(ui::FindControl(dialog, IDOK));
        ui::EnterText(ui::FindControl(dialog, Dlg::kUser), L"agent");
        ui::Type(ui::FindControl(dialog, Dlg::kPassword), L"Proxy#Pass1");
        ui::Click(ui::FindControl(dialog, IDOK));
    });
    const std::vector<std::wstring> refusals = Boxes();
    ASSERT_EQ(refusals.size(), 3u);
    EXPECT_EQ(refusals[0], L"Invalid proxy server address specified.");
    EXPECT_EQ(refusals[1], L"Неверно задано значение поля «Номер порта».\nДопустимые значения: от 1 до 65535.");
    EXPECT_EQ(refusals[2].rfind(L"Неверное имя учетной записи", 0), 0u) << ZRSTD::ToUtf8(refusals[2]);
    ASSERT_EQ(Sheet().PressOk().outcome, Outcome::Applied);
    EXPECT_EQ(SavedString(L"ProxyServerAddress"), L"http://proxy.corp:3128");
    const auto encoded = SavedString(L"ProxyServerPassword");
    ASSERT_TRUE(encoded);
    EXPECT_EQ(PWD_UTILS::GetDecodedPasswordString(*encoded), L"Proxy#Pass1");
    EXPECT_EQ(SavedBytes(L"ProxyServerPasswordEncrypted"), TestProtection::Wrap(PasswordBytes(L"Proxy#Pass1")));
    EXPECT_EQ(Everything().find("Proxy#Pass1"), std::string::npos);

    // without the account both forms of the password go
    InDialog([](HWND dialog) {
        ui::Click(ui::FindControl(dialog, Dlg::kUseAuth));
        ui::Click(ui::FindControl(dialog, IDOK));
    });
    ASSERT_EQ(Sheet().PressOk().outcome, Outcome::Applied);
    EXPECT_EQ(SavedString(L"ProxyServerUser"), L"");
    EXPECT_EQ(SavedString(L"ProxyServerPassword"), L"");
    EXPECT_EQ(SavedBytes(L"ProxyServerPasswordEncrypted"), Bytes{});
}
