#include "plugin/pages/tasks/PageTaskVapmSearch.h"

#include <gtest/gtest.h>

#include "plugin/pages/TaskPageTest.h"
#include "plugin/pages/tasks/DlgVapmSearchAddFolder.h"
#include "ui/CommonControls.h"
#include "ui/Services.h"

namespace {

using Page = CPageTaskVapmSearch;
using Dlg = CDlgVapmSearchAddFolder;
using Outcome = host::PageHost::Outcome;

constexpr std::int32_t kOldServer = 0xA5000, kNewServer = 0xB0000;

class VapmSearchPage : public testsupport::TaskPageTest {
protected:
    void SetUp() override
    {
        TaskPageTest::SetUp();
        taskType = L"ZRNAG_TASK_VAPM_SEARCH";
        source.WithServerVersion(kNewServer);
    }
    void TearDown() override
    {
        ui::SetPickerAnswer(nullptr);
        TaskPageTest::TearDown();
    }
    void OpenPage() { Open(new Page(TaskData())); }
    void StoreFolders(std::initializer_list<ZRSTD::CAutoPtr<ZRPAR::Value>> items)
    {
        auto array = ZRPAR::CreateArrayValue();
        for (const auto& item : items) array->Append(item.Get());
        params.ReplaceValue(L"ZRNAG_TSK_VAPMSEARCH_PATHS", array.Get());
    }
    std::vector<std::wstring> Folders()
    {
        std::vector<std::wstring> rows;
        const HWND list = Control(Page::kFolders);
        for (int row = 0; row < static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); ++row)
            rows.push_back(ui::GetListRowText(list, row));
        return rows;
    }
    std::vector<std::wstring> StoredFolders()
    {
        std::vector<std::wstring> texts;
        auto array = ZRPAR::GetArrayValue(&params, L"ZRNAG_TSK_VAPMSEARCH_PATHS");
        for (std::size_t i = 0; i < array->GetSize(); ++i)
            texts.push_back(array->ItemAt(i)->GetType() == ZRPAR::VT_STRING
                                ? static_cast<ZRPAR::StringValue*>(array->ItemAt(i))->GetValue()
                                : L"(no text)");
        return texts;
    }
    // The folder dialog answered with text typed into it (and OK).
    void TypeInFolderDialog(const std::wstring& text, std::wstring* shown = nullptr)
    {
        user.InDialog([text, shown](HWND dialog) {
            if (shown) *shown = GetDlgItemTextW(dialog, Dlg::kFolder);
            ui::ReplaceText(ui::FindControl(dialog, Dlg::kFolder), text);
            ui::Click(ui::FindControl(dialog, IDOK));
        });
    }
};

}  // namespace

TEST_F(VapmSearchPage, StoredSourcesRefreshFoldersAndDiagnosticsShow)
{
    const struct {
        std::int32_t source;
        std::int32_t searchMode;  // -1: none stored
        bool updater, makers, refresh;
    } cases[] = {
        {0, -1, true, true, true}, {1, 0, true, false, true}, {2, 1, false, true, false}, {7, 5, false, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.source);
        params.Clear();
        params.ReplaceValue(L"nSource", ZRPAR::CreateValue(c.source).Get());
        if (c.searchMode >= 0) params.ReplaceValue(L"ZRNAG_WUA_SEARCH_MODE", ZRPAR::CreateValue(c.searchMode).Get());
        StoreFolders({ZRPAR::CreateValue(L"D:\\Apps"), ZRPAR::CreateValue(L"%ProgramFiles%")});
        params.ReplaceValue(L"ZRNAG_TSK_VAPM_EXTENDED_DIAG", ZRPAR::CreateValue(true).Get());
        params.ReplaceValue(L"ZRNAG_TSK_VAPM_EXTENDED_DIAG_DISK_SPACE", ZRPAR::CreateValue(std::int32_t{512}).Get());
        const auto before = Bytes();
        Reopen();
        OpenPage();
        EXPECT_EQ(Checked(Page::kUseWindowsUpdater), c.updater);
        EXPECT_EQ(Checked(Page::kUseMakersData), c.makers);
        EXPECT_EQ(Checked(Page::kRefreshData), c.refresh);
        EXPECT_EQ(Enabled(Page::kRefreshData), c.updater);
        EXPECT_EQ(Visible(Page::kFolders), c.makers);
        EXPECT_EQ(Folders(), (std::vector<std::wstring>{L"D:\\Apps", L"%ProgramFiles%"}));
        EXPECT_TRUE(Checked(Page::kExtendedDiag));
        EXPECT_EQ(Text(Page::kDiagSize), L"512");
        ASSERT_EQ(Sheet().PressOk().outcome, Outcome::Applied);
        EXPECT_EQ(Bytes(), before);  // an unknown source and search mode stay as stored
    }
}

TEST_F(VapmSearchPage, ClearingBothSourcesChecksTheUpdateAgentAgain)
{
    OpenPage();
    ui::Click(Control(Page::kUseWindowsUpdater));
    EXPECT_FALSE(Checked(Page::kUseWindowsUpdater));
    EXPECT_FALSE(Enabled(Page::kRefreshData));
    ui::Click(Control(Page::kUseMakersData));
    EXPECT_TRUE(Checked(Page::kUseWindowsUpdater));
    EXPECT_FALSE(Checked(Page::kUseMakersData));
    EXPECT_FALSE(Visible(Page::kFolders));
    EXPECT_FALSE(Visible(Page::kAdd));
    ASSERT_EQ(Sheet().PressOk().outcome, Outcome::Applied);
    EXPECT_EQ(ZRPAR::GetIntValue(&params, L"nSource"), Page::kWindowsUpdaterOnly);
    EXPECT_FALSE(params.DoesExist(L"ZRNAG_WUA_SEARCH_MODE"));
}

TEST_F(VapmSearchPage, FoldersAreAddedChangedAndRemovedThroughTheFolderDialog)
{
    StoreFolders({ZRPAR::CreateValue(L"%SystemRoot%"), ZRPAR::CreateValue(std::int32_t{3})});
    OpenPage();
    EXPECT_FALSE(Enabled(Page::kProperties));
    EXPECT_FALSE(Enabled(Page::kRemove));

    std::wstring shown = L"(not opened)";
    user.InDialog([&shown](HWND dialog) {
        shown = GetDlgItemTextW(dialog, Dlg::kFolder);
        ui::ReplaceText(ui::FindControl(dialog, Dlg::kFolder), L"   ");
        ui::Click(ui::FindControl(dialog, IDOK));  // refused: the dialog stays
        EXPECT_TRUE(IsWindowVisible(dialog));
        ui::Click(ui::FindControl(dialog, IDCANCEL));
    });
    user.Answer(IDOK);
    ui::Click(Control(Page::kAdd));
    EXPECT_EQ(shown, L"");
    EXPECT_TRUE(Folders().size() == 1);
    EXPECT_EQ(Boxes(), std::vector<std::wstring>{L"Неправильный путь к папке."});

    TypeInFolderDialog(L"  D:\\Tools  ");
    ui::Click(Control(Page::kAdd));
    ui::SelectItem(Control(Page::kFolders), L"%SystemRoot%");
    EXPECT_TRUE(Enabled(Page::kProperties));
    TypeInFolderDialog(L"%WINDIR%", &shown);
    ui::Click(Control(Page::kProperties));
    EXPECT_EQ(shown, L"%SystemRoot%");
    EXPECT_EQ(Folders(), (std::vector<std::wstring>{L"%WINDIR%", L"D:\\Tools"}));
    ASSERT_EQ(Sheet().PressOk().outcome, Outcome::Applied);
    // the item that is no folder goes back as it was
    EXPECT_EQ(StoredFolders(), (std::vector<std::wstring>{L"%WINDIR%", L"D:\\Tools", L"(no text)"}));

    for (int i = 0; i < 2; ++i) {
        ui::SelectItem(Control(Page::kFolders), Folders().front());
        ui::Click(Control(Page::kRemove));
    }
    ASSERT_EQ(Sheet().PressOk().outcome, Outcome::Applied);
    Reopen();
    OpenPage();
    EXPECT_TRUE(Folders().empty());  // an emptied list stays empty
}

TEST_F(VapmSearchPage, TheFolderDialogTakesAPickedFolderAndRefusesNamesNoFolderHas)
{
    const struct {
        std::wstring typed;
        std::optional<std::wstring> accepted;
    } cases[] = {
        {L"  C:\\Program Files  ", L"C:\\Program Files"}, {L"%ProgramFiles(x86)%", L"%ProgramFiles(x86)%"},
        {L"", std::nullopt}, {L"\t", std::nullopt}, {L"C:\\a\nb", std::nullopt}, {L"C:\\*", std::nullopt},
        {L"D:\\a|b", std::nullopt}, {std::wstring(40000, L'a'), std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(Dlg::AcceptedFolder(c.typed), c.accepted) << ZRSTD::ToUtf8(c.typed.substr(0, 20));

    ui::SetPickerAnswer([](const ui::ServiceCall&) { return std::wstring(L"/srv/apps"); });
    OpenPage();
    user.InDialog([](HWND dialog) {
        EXPECT_EQ(GetWindowTextW(dialog), L"Настройки");
        ui::Click(ui::FindControl(dialog, Dlg::kBrowse));
        ui::Click(ui::FindControl(dialog, IDOK));
    });
    ui::Click(Control(Page::kAdd));
    EXPECT_EQ(Folders(), std::vector<std::wstring>{L"/srv/apps"});
}

TEST_F(VapmSearchPage, DiagnosticsExistFromServerVersionB0000AndTheirSizeIsChecked)
{
    params.ReplaceValue(L"ZRNAG_TSK_VAPM_EXTENDED_DIAG", ZRPAR::CreateValue(true).Get());
    params.ReplaceValue(L"ZRNAG_TSK_VAPM_EXTENDED_DIAG_DISK_SPACE", ZRPAR::CreateValue(std::int32_t{5000}).Get());
    OpenPage();
    EXPECT_EQ(Text(Page::kDiagSize), L"5000");  // shown as stored
    ui::Click(Control(Page::kUseMakersData));
    user.Answer(IDOK);
    EXPECT_EQ(Sheet().PressOk().outcome, Outcome::Refused);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_NE(Boxes()[0].find(L"Maximum size for extended diagnostics storage"), std::wstring::npos);
    ui::ReplaceText(Control(Page::kDiagSize), L"300");
    ASSERT_EQ(Sheet().PressOk().outcome, Outcome::Applied);
    EXPECT_EQ(ZRPAR::GetIntValue(&params, L"ZRNAG_TSK_VAPM_EXTENDED_DIAG_DISK_SPACE"), 300);
    ui::ReplaceText(Control(Page::kDiagSize), L"400");  // a typed size alone is a change
    EXPECT_TRUE(page->IsModified());
    ASSERT_EQ(Sheet().PressOk().outcome, Outcome::Applied);
    EXPECT_EQ(ZRPAR::GetIntValue(&params, L"ZRNAG_TSK_VAPM_EXTENDED_DIAG_DISK_SPACE"), 400);

    ui::Click(Control(Page::kExtendedDiag));
    EXPECT_FALSE(Enabled(Page::kDiagSize));
    ASSERT_EQ(Sheet().PressOk().outcome, Outcome::Applied);
    EXPECT_FALSE(ZRPAR::GetBoolValue(&params, L"ZRNAG_TSK_VAPM_EXTENDED_DIAG"));

    params.Clear();
    source.WithServerVersion(kOldServer);
    Reopen();
    OpenPage();
    for (int id : {Page::kExtendedDiag, Page::kDiagSizeLabel, Page::kDiagSize, Page::kDiagSizeSpin}) {
        EXPECT_FALSE(Visible(id)) << id;
        EXPECT_FALSE(Enabled(id)) << id;
    }
    ui::Click(Control(Page::kRefreshData));
    ASSERT_EQ(Sheet().PressOk().outcome, Outcome::Applied);
    EXPECT_EQ(ZRPAR::GetIntValue(&params, L"ZRNAG_WUA_SEARCH_MODE"), 1);
    EXPECT_FALSE(params.DoesExist(L"ZRNAG_TSK_VAPM_EXTENDED_DIAG"));
    EXPECT_FALSE(params.DoesExist(L"ZRNAG_TSK_VAPM_EXTENDED_DIAG_DISK_SPACE"));
}

TEST_F(VapmSearchPage, TheExportShowsSourcesRefreshFoldersAndDiagnosticsOfNewServers)
{
    params.ReplaceValue(L"nSource", ZRPAR::CreateValue(std::int32_t{2}).Get());
    params.ReplaceValue(L"ZRNAG_WUA_SEARCH_MODE", ZRPAR::CreateValue(std::int32_t{1}).Get());
    StoreFolders({ZRPAR::CreateValue(L"D:\\Apps"), ZRPAR::CreateValue(L"E:\\Tools")});
    auto data = TaskData();
    EXPECT_EQ(testsupport::ExportText(*Page::Export(*data)[0]),
              "Использовать Microsoft Windows Updater: Нет\n"
              "Использовать данные Brenvik: Да\n"
              "Соединяться с сервером обновлений для актуализации данных: Нет\n"
              "Дополнительные папки для поиска приложений: D:\\Apps; E:\\Tools\n"
              "Enable extended diagnostics: Нет\n"
              "Maximum size for extended diagnostics storage, Mb: 100\n");
    source.WithServerVersion(kOldServer);
    auto old = TaskData();
    EXPECT_EQ(Page::Export(*old)[0]->GetSize(), 4u);
}
