#include "plugin/pages/installer/PageInstallerSettingsGeneral.h"

#include <gtest/gtest.h>

#include "plugin/frame/PluginApp.h"
#include "plugin/pages/agent/DlgChangePassword.h"
#include "plugin/pages/InstallerPageTest.h"
#include "ui/Interaction.h"
#include "ui/UserActions.h"
#include "zrstd/Crypto.h"

namespace {

using Page = CPageInstallerSettingsGeneral;
using Outcome = host::PageHost::Outcome;

constexpr const wchar_t* kHash = L"CE1473CF80C6B3FDA8E3DFC006ADC315";

class InstallerGeneralPage : public testsupport::InstallerPageTest {
protected:
    void OpenPage() { Open(new Page(PackageData())); }
};

}  // namespace

TEST_F(InstallerGeneralPage, StoredValuesAreShownAndAnUntouchedOkKeepsThem)
{
    StorePackage({{L"UninstallPwd", kHash}, {L"INSTALLDIR", L"D:\\Agent"}, {L"ZRNAG_PROTECTNGT", true},
                  {L"PTCH_ALLOW_APPLY_NONAPROVED_PATCHES", false}, {L"InternalVersion", 10}});
    OpenPage();
    EXPECT_TRUE(Checked(Page::kUsePassword));
    EXPECT_EQ(Text(Page::kStatus), L"Пароль установлен");
    EXPECT_TRUE(Enabled(Page::kChangePassword));
    EXPECT_TRUE(Checked(Page::kOwnFolder));
    EXPECT_FALSE(Checked(Page::kDefaultFolder));
    EXPECT_EQ(Text(Page::kFolder), L"D:\\Agent");
    EXPECT_TRUE(Enabled(Page::kFolder));
    EXPECT_TRUE(Checked(Page::kProtectService));
    EXPECT_FALSE(Checked(Page::kPatches));
    EXPECT_EQ(Text(Page::kUsePassword), L"Использовать пароль на деинсталляцию");
    EXPECT_FALSE(page->IsModified());
    ExpectUntouchedOkKeepsEverything();
}

TEST_F(InstallerGeneralPage, APackageWithoutFolderOrPasswordShowsTheDefaultsAndWritesTheEmptyFolder)
{
    StorePackage({{L"UseSSLConnection", true}});
    OpenPage();
    EXPECT_TRUE(Checked(Page::kDefaultFolder));
    EXPECT_FALSE(Enabled(Page::kFolder));
    EXPECT_FALSE(Checked(Page::kUsePassword));
    EXPECT_FALSE(Enabled(Page::kChangePassword));
    EXPECT_EQ(Text(Page::kStatus), L"Пароль не установлен");
    EXPECT_TRUE(Checked(Page::kPatches));  // true when absent
    ASSERT_EQ(Sheet().PressOk().outcome, Outcome::Applied);
    EXPECT_EQ(SavedString(L"INSTALLDIR"), L"");
    EXPECT_FALSE(SavedHas(L"UninstallPwd"));
    EXPECT_EQ(SavedBool(L"PTCH_ALLOW_APPLY_NONAPROVED_PATCHES"), true);
    EXPECT_EQ(SavedBool(L"ZRNAG_PROTECTNGT"), false);
}

TEST_F(InstallerGeneralPage, TheFolderMustBeADriveLetterAndAColon)
{
    const struct {
        const wchar_t* folder;
        const wchar_t* refusal;  // null: accepted
    } cases[] = {
        {L"C:", nullptr},
        {L"d:\\Program Files\\Agent", nullptr},
        {L"", L"Папка установки не может быть пустой"},
        {L"\\\\server\\share", L"Некорректная папка установки"},
        {L"1:\\Agent", L"Некорректная папка установки"},
        {L"C", L"Некорректная папка установки"},
        {L"Д:\\Агент", L"Некорректная папка установки"},
    };
    for (const auto& entry : cases) {
        SCOPED_TRACE(ZRSTD::ToUtf8(entry.folder));
        StorePackage({});
        Reopen();
        OpenPage();
        ui::Click(Control(Page::kOwnFolder));
        if (*entry.folder) ui::EnterText(Control(Page::kFolder), entry.folder);
        const auto outcome = Sheet().PressOk().outcome;
        if (!entry.refusal) {
            EXPECT_EQ(outcome, Outcome::Applied);
            EXPECT_EQ(SavedString(L"INSTALLDIR"), entry.folder);
        } else {
            EXPECT_EQ(outcome, Outcome::Refused);
            EXPECT_EQ(Boxes(), std::vector<std::wstring>{entry.refusal});
            EXPECT_FALSE(SavedHas(L"INSTALLDIR"));
        }
    }
}

TEST_F(InstallerGeneralPage, ThePasswordComesFromTheDialogAsItsDigestAndGoesWithTheBox)
{
    StorePackage({});
    OpenPage();
    ui::Click(Control(Page::kUsePassword));
    EXPECT_TRUE(Enabled(Page::kChangePassword));
    EXPECT_EQ(Sheet().PressOk().outcome, Outcome::Refused);
    EXPECT_EQ(Boxes(), std::vector<std::wstring>{L"Вы не ввели пароль"});

    user.InDialog([](HWND dialog) {
        ui::Type(ui::FindControl(dialog, CDlgChangePassword::kPassword), L"Strong#Pass1");
        ui::Click(ui::FindControl(dialog, IDOK));
    });
    ui::Click(Control(Page::kChangePassword));
    EXPECT_EQ(Text(Page::kStatus), L"Пароль установлен");
    ASSERT_EQ(Sheet().PressOk().outcome, Outcome::Applied);
    EXPECT_EQ(SavedString(L"UninstallPwd"), HashUninstallPassword(L"Strong#Pass1"));
    EXPECT_EQ(Everything().find("Strong#Pass1"), std::string::npos);

    // an untouched dialog keeps the password; clearing the box removes it
    user.InDialog([](HWND dialog) { ui::Click(ui::FindControl(dialog, IDOK)); });
    ui::Click(Control(Page::kChangePassword));
    ASSERT_EQ(Sheet().PressOk().outcome, Outcome::Applied);
    EXPECT_EQ(SavedString(L"UninstallPwd"), HashUninstallPassword(L"Strong#Pass1"));
    ui::Click(Control(Page::kUsePassword));
    EXPECT_EQ(Text(Page::kStatus), L"Пароль не установлен");
    ASSERT_EQ(Sheet().PressOk().outcome, Outcome::Applied);
    EXPECT_FALSE(SavedHas(L"UninstallPwd"));
}

TEST_F(InstallerGeneralPage, VersionSixShowsPasswordAndFolderWithoutOfferingAChange)
{
    // a folder the page would refuse goes back as it was: the administrator cannot correct it here
    StorePackage({{L"InternalVersion", 6}, {L"UninstallPwd", kHash}, {L"INSTALLDIR", L"\\\\server\\agent"},
                  {L"ZRNAG_PROTECTNGT", false}, {L"PTCH_ALLOW_APPLY_NONAPROVED_PATCHES", true}});
    OpenPage();
    for (int id : {Page::kUsePassword, Page::kStatus, Page::kChangePassword, Page::kDefaultFolder, Page::kOwnFolder,
                   Page::kFolder})
        EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_TRUE(Checked(Page::kUsePassword));
    EXPECT_EQ(Text(Page::kFolder), L"\\\\server\\agent");
    EXPECT_TRUE(Enabled(Page::kPatches));
    ExpectUntouchedOkKeepsEverything();
}

TEST_F(InstallerGeneralPage, AFailedCommitIsReportedAsAPackageError)
{
    auto* failing = source.Set(L"LOCAL_SETTINGS", ZRSTD::MakeRef<testsupport::FailingStorage>());
    OpenPage();
    failing->failWrites = true;
    EXPECT_EQ(Sheet().PressOk().outcome, Outcome::Failed);
    ASSERT_FALSE(Boxes().empty());
    EXPECT_EQ(Boxes().back().rfind(L"Ошибка изменения настроек инсталляционного пакета", 0), 0u) << ToUtf8Boxes();
}

TEST_F(InstallerGeneralPage, TheExportHasARowForEachStoredSettingAndOnlyADigestOfThePassword)
{
    CZRNGTPlgApp::Instance().InitInstance("/nonexistent/");
    StorePackage({{L"UninstallPwd", kHash}, {L"ZRNAG_PROTECTNGT", true}});
    auto exported = Page::Export(*PackageData());
    ASSERT_EQ(exported.size(), 1u);
    const ZRPAR::Params& rows = *exported[0];
    ASSERT_EQ(rows.GetSize(), 2u);  // no folder, no patch flag stored
    EXPECT_EQ(rows.NameAt(0), L"Использовать пароль на деинсталляцию");
    EXPECT_EQ(rows.NameAt(1), L"Защищать службу Агента алдминистрирования от неавторизованного удаления, остановки или "
                              L"изменения параметров работы");
    auto* password = static_cast<ZRPAR::ParamsValue*>(rows.ValueAt(0))->GetValue();
    auto* digest = static_cast<ZRPAR::BinaryValue*>(password->FindValue(L"Пароль"));
    ASSERT_TRUE(digest);
    const auto units = PasswordBytes(kHash);
    const auto expected = ZRSTD::CalcMD5Hash(units.data(), units.size());
    EXPECT_EQ(std::vector<std::uint8_t>(static_cast<const std::uint8_t*>(digest->GetData()),
                                        static_cast<const std::uint8_t*>(digest->GetData()) + digest->GetDataSize()),
              std::vector<std::uint8_t>(expected.begin(), expected.end()));
    EXPECT_EQ(ZRPAR::RenderText(rows, ZRPAR::RenderOptions{false}).find(ZRSTD::ToUtf8(kHash)), std::string::npos);
}
