#include "controls/ListExport.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

#include "controls/DlgExportFileSelect.h"
#include "controls/NHCustomListCtrl.h"
#include "support/ControlPage.h"
#include "support/TempFolder.h"
#include "ui/UserActions.h"
#include "zrstd/Strings.h"

using testsupport::ControlPage;
using testsupport::kVisibleChild;
using testsupport::ReadFile;

namespace fs = std::filesystem;

namespace {

constexpr int kList = 1800, kExport = 1801;
const std::string kBom = "\xEF\xBB\xBF";

std::string Utf8(const std::wstring& text) { return ZRSTD::ToUtf8(text); }

// A page with a list of addresses and an export button that exports it.
class ListExport : public testsupport::ControlTest {
protected:
    void SetUp() override
    {
        ControlTest::SetUp();
        module.AddString(CNHCustomListCtrl::kExportCaptionString, L"Только выделенные строки");
    }
    void Show(std::vector<std::pair<std::wstring, std::wstring>> rows)
    {
        window = ShowPage({{kList, L"SysListView32", L"", kVisibleChild | WS_TABSTOP, RECT{10, 10, 410, 210}},
                           {kExport, L"Button", L"&Экспорт...", kVisibleChild | WS_TABSTOP, RECT{10, 220, 110, 244}}},
                          [=, this](ControlPage& page) {
                              list.SubclassDlgItem(kList, page);
                              list.InsertColumn(0, L"Адрес", 200);
                              list.InsertColumn(1, L"Описание", 150);
                              for (std::size_t i = 0; i < rows.size(); ++i) {
                                  const int row = list.InsertItem(static_cast<int>(i), rows[i].first);
                                  list.SetItemText(row, 1, rows[i].second);
                              }
                          });
        control = ui::FindControl(window, kList);
        page->onCommand = [this](WORD id, WORD code) {
            if (id == kExport && code == BN_CLICKED) result = list.ExportToFile(L"Списки (*.csv)|*.csv||", L"Экспорт списка");
        };
    }
    // The user presses Export and, in the dialog, ticks the box or not and saves as name (or cancels).
    // With replacing, the user answers Yes when asked whether to replace the file.
    HRESULT Export(const fs::path& name, bool selectedOnly, bool cancel = false, bool replacing = false)
    {
        user.InDialog([=](HWND dialog) {
            if (selectedOnly) ui::SetChecked(ui::FindControl(dialog, CDlgExportFileSelect::kCheckBoxId), true);
            ui::Type(ui::FindControl(dialog, kFileNameEditId), name.wstring());
            ui::Click(ui::FindControl(dialog, cancel ? IDCANCEL : IDOK));
        });
        if (replacing) user.Answer(IDYES);
        result = S_OK - 1;
        ui::Click(ui::FindControl(window, kExport));
        EXPECT_TRUE(user.Finished());
        return result;
    }

    CNHCustomListCtrl list;
    HWND window = nullptr, control = nullptr;
    testsupport::TempFolder folder;
    HRESULT result = 0;
};

}  // namespace

TEST_F(ListExport, TheFileIsUtf8WithAByteOrderMarkAndTabsInDisplayColumnOrder)
{
    Show({{L"10.0.0.1", L"шлюз"}, {L"10.0.0.2", L"сервер"}, {L"10.0.0.3", L""}});
    ui::MoveListColumn(control, 1, 0);
    ASSERT_EQ(Export(folder / "hosts", false), S_OK);
    EXPECT_EQ(ReadFile(folder / "hosts.csv"), kBom + Utf8(L"Описание\tАдрес\r\n"
                                                          L"шлюз\t10.0.0.1\r\n"
                                                          L"сервер\t10.0.0.2\r\n"
                                                          L"\t10.0.0.3\r\n"));
    EXPECT_EQ(folder.Contents(), (std::vector<std::string>{"hosts.csv"}));  // nothing else left beside it

    // the wait cursor while writing, the arrow after
    std::vector<std::wstring> cursors;
    for (const auto& call : ui::ServiceCalls())
        if (call.service == L"cursor") cursors.push_back(call.argument);
    EXPECT_EQ(cursors, (std::vector<std::wstring>{L"wait", L"arrow"}));
    EXPECT_FALSE(ui::IsWaitCursor());
}

TEST_F(ListExport, TheBoxRestrictsTheRowsToTheSelectedOnes)
{
    Show({{L"10.0.0.1", L"шлюз"}, {L"10.0.0.2", L"сервер"}});
    ASSERT_EQ(Export(folder / "none.csv", true), S_OK);  // nothing selected yet
    EXPECT_EQ(ReadFile(folder / "none.csv"), kBom + Utf8(L"Адрес\tОписание\r\n"));
    ui::ClickListItem(control, 1);
    ASSERT_EQ(Export(folder / "selected.csv", true), S_OK);
    EXPECT_EQ(ReadFile(folder / "selected.csv"), kBom + Utf8(L"Адрес\tОписание\r\n10.0.0.2\tсервер\r\n"));
    ASSERT_EQ(Export(folder / "all.csv", false), S_OK);
    EXPECT_EQ(ReadFile(folder / "all.csv"), kBom + Utf8(L"Адрес\tОписание\r\n10.0.0.1\tшлюз\r\n10.0.0.2\tсервер\r\n"));
}

TEST_F(ListExport, AnEmptyListGivesTheHeaderAndTabsOrLineBreaksInATextCannotSplitIt)
{
    Show({});
    ASSERT_EQ(Export(folder / "empty.csv", false), S_OK);
    EXPECT_EQ(ReadFile(folder / "empty.csv"), kBom + Utf8(L"Адрес\tОписание\r\n"));
    list.InsertItem(0, L"a\tb");
    list.SetItemText(0, 1, L"line one\r\nline two");
    ASSERT_EQ(Export(folder / "split.csv", false), S_OK);
    EXPECT_EQ(ReadFile(folder / "split.csv"), kBom + Utf8(L"Адрес\tОписание\r\na b\tline one  line two\r\n"));
}

TEST_F(ListExport, CancellingWritesNothingAndReplacingAFileIsAskedFirst)
{
    Show({{L"10.0.0.1", L"шлюз"}});
    EXPECT_EQ(Export(folder / "hosts.csv", false, true), S_FALSE);
    EXPECT_TRUE(folder.Contents().empty());

    std::ofstream(folder / "hosts.csv") << "old";
    EXPECT_EQ(Export(folder / "hosts.csv", false, false, true), S_OK);
    EXPECT_EQ(ui::ShownBoxes().size(), 1u);
    EXPECT_EQ(ReadFile(folder / "hosts.csv"), kBom + Utf8(L"Адрес\tОписание\r\n10.0.0.1\tшлюз\r\n"));
}

TEST_F(ListExport, AFileThatCannotBeWrittenFailsAndLeavesNothingHalfWritten)
{
    std::vector<std::pair<std::wstring, std::wstring>> many;
    for (int i = 0; i < 3000; ++i) many.push_back({L"10.0." + std::to_wstring(i / 256) + L"." + std::to_wstring(i % 256), L"узел сети"});
    Show(many);

    // a folder that does not exist
    EXPECT_EQ(Export(folder / "missing" / "hosts.csv", false), E_FAIL);
    EXPECT_TRUE(folder.Contents().empty());

    // a name taken by a folder: everything is written, but it cannot take the name
    fs::create_directory(folder / "taken.csv");
    EXPECT_EQ(Export(folder / "taken.csv", false, false, true), E_FAIL);
    EXPECT_TRUE(fs::is_directory(folder / "taken.csv"));
    EXPECT_EQ(folder.Contents(), (std::vector<std::string>{"taken.csv"}));

    // the disk refuses more bytes part of the way: the older file stays as it was
    std::ofstream(folder / "hosts.csv") << "the export of yesterday";
    struct rlimit saved;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 70000;  // beyond the first block of the export, short of its end
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const HRESULT written = Export(folder / "hosts.csv", false, false, true);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_EQ(written, E_FAIL);
    const std::string kept = ReadFile(folder / "hosts.csv");
    EXPECT_TRUE(kept == "the export of yesterday") << "the older file now holds " << kept.size() << " bytes";
    EXPECT_EQ(folder.Contents(), (std::vector<std::string>{"hosts.csv", "taken.csv"}));
}

namespace {

// A source of a fixed table, for the writer on its own.
struct Table : ListExportSource {
    std::vector<std::vector<std::wstring>> rows;
    std::vector<int> ExportColumns() const override { return {0, 1}; }
    bool ExportHeader(ListExportWriter& writer, const std::vector<int>&) override { return writer.WriteLine({L"a", L"b"}); }
    bool ExportRows(ListExportWriter& writer, const std::vector<int>& columns, bool) override
    {
        for (int i = 0; i < static_cast<int>(rows.size()); ++i)
            if (!ExportRow(i, writer, columns)) return false;
        return true;
    }
    bool ExportRow(int item, ListExportWriter& writer, const std::vector<int>&) override
    {
        return item != failingRow && writer.WriteLine(rows[static_cast<std::size_t>(item)]);
    }
    int failingRow = -1;  // a row that cannot be read
};

}  // namespace

TEST_F(ListExport, ASourceThatFailsHalfwayLeavesTheOlderExportAndNothingElse)
{
    Table table;
    table.rows = {{L"1", L"один"}, {L"2"}};
    EXPECT_EQ(WriteListExport(folder / "table.csv", table, false), S_OK);
    EXPECT_EQ(ReadFile(folder / "table.csv"), kBom + Utf8(L"a\tb\r\n1\tодин\r\n2\r\n"));
    EXPECT_EQ(WriteListExport(fs::path(), table, false), E_FAIL);

    table.failingRow = 1;
    table.rows.push_back({L"3"});
    EXPECT_EQ(WriteListExport(folder / "table.csv", table, false), E_FAIL);
    EXPECT_EQ(ReadFile(folder / "table.csv"), kBom + Utf8(L"a\tb\r\n1\tодин\r\n2\r\n"));
    EXPECT_EQ(folder.Contents(), std::vector<std::string>{"table.csv"});
}
