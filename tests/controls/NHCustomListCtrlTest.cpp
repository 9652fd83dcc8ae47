#include "controls/NHCustomListCtrl.h"

#include <gtest/gtest.h>

#include "controls/NHSortedListCtrl.h"
#include "controls/PageMessages.h"
#include "support/ControlPage.h"
#include "ui/UserActions.h"

using testsupport::ControlPage;
using testsupport::kVisibleChild;

namespace {

constexpr int kList = 1700;
const std::wstring kKey = std::wstring(CNHCustomListCtrl::kStateKeyRoot) + L"ip_scan_entry";

std::vector<std::uint8_t> Blob(std::initializer_list<std::int32_t> numbers)
{
    std::vector<std::uint8_t> bytes;
    for (std::int32_t n : numbers)
        for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(n) >> (8 * i)));
    return bytes;
}

testsupport::RegistryValue Read(const std::wstring& name) { return testsupport::ReadRegistryValue(kKey, name); }

template <class List>
class ListTest : public testsupport::ControlTest {
protected:
    // A page with the list: two columns and the rows given (address, description).
    HWND Show(std::vector<std::pair<std::wstring, std::wstring>> rows, std::function<void(List&)> prepare = {})
    {
        HWND window = ShowPage({{kList, L"SysListView32", L"", kVisibleChild | WS_TABSTOP, RECT{10, 10, 410, 210}}},
                               [=, this](ControlPage& page) {
                                   list.SubclassDlgItem(kList, page);
                                   list.InsertColumn(0, L"Адрес", 200);
                                   list.InsertColumn(1, L"Описание", 150);
                                   for (std::size_t i = 0; i < rows.size(); ++i) {
                                       const int row = list.InsertItem(static_cast<int>(i), rows[i].first,
                                                                       static_cast<LPARAM>(100 + i));
                                       list.SetItemText(row, 1, rows[i].second);
                                   }
                                   if (prepare) prepare(list);
                               });
        control = ui::FindControl(window, kList);
        page->received.clear();
        return window;
    }
    std::vector<std::wstring> Column(int column) const
    {
        std::vector<std::wstring> texts;
        for (int i = 0; i < list.GetItemCount(); ++i) texts.push_back(list.GetItemText(i, column));
        return texts;
    }
    std::vector<int> Order() const
    {
        std::vector<int> order(2);
        SendMessageW(control, LVM_GETCOLUMNORDERARRAY, 2, reinterpret_cast<LPARAM>(order.data()));
        return order;
    }
    int Width(int column) const { return static_cast<int>(SendMessageW(control, LVM_GETCOLUMNWIDTH, column, 0)); }
    int Arrow(int column) const
    {
        HDITEMW item;
        SendMessageW(list.GetHeader(), HDM_GETITEMW, column, reinterpret_cast<LPARAM>(&item));
        return item.fmt & (HDF_SORTUP | HDF_SORTDOWN);
    }

    List list;
    HWND control = nullptr;
};

using NHCustomListCtrl = ListTest<CNHCustomListCtrl>;
using RememberedList = ListTest<CNHSortedListCtrl>;

}  // namespace

TEST_F(NHCustomListCtrl, TheListLooksAsTheExplorerDoes)
{
    Show({});
    EXPECT_EQ(ui::GetWindowTheme(control), L"Explorer");
    EXPECT_EQ(SendMessageW(control, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & 0x14422, 0x14422);
    list.SetFitWidth(true);
    MoveWindow(control, RECT{10, 10, 310, 210});
    EXPECT_EQ(Width(0), 300);  // the first column fills the list
    EXPECT_EQ(Width(1), 150);
    ShowWindow(control, SW_HIDE);
    MoveWindow(control, RECT{10, 10, 510, 210});
    EXPECT_EQ(Width(0), 300);  // not while hidden
}

TEST_F(NHCustomListCtrl, TheColumnStateIsWidthsThenOrderAndOnlyAWellFormedOneIsAccepted)
{
    Show({{L"10.0.0.1", L"шлюз"}});
    ui::ResizeListColumn(control, 0, 180);
    ui::MoveListColumn(control, 1, 0);
    EXPECT_EQ(list.GetColumnState(), Blob({180, 150, 1, 0}));

    const struct {
        const char* what;
        std::vector<std::uint8_t> state;
        bool accepted;
    } cases[] = {
        {"well formed", Blob({90, 60, 0, 1}), true},
        {"a byte short", [] { auto b = Blob({90, 60, 0, 1}); b.pop_back(); return b; }(), false},
        {"for three columns", Blob({90, 60, 40, 0, 1, 2}), false},
        {"empty", {}, false},
        {"a column twice", Blob({90, 60, 1, 1}), false},
        {"a column that does not exist", Blob({90, 60, 0, 5}), false},
        {"a negative width", Blob({-90, 60, 0, 1}), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<std::uint8_t> before = list.GetColumnState();
        EXPECT_EQ(list.SetColumnState(c.state), c.accepted);
        EXPECT_EQ(list.GetColumnState(), c.accepted ? c.state : before);
    }
    EXPECT_EQ(Width(0), 90);
    EXPECT_EQ(Order(), (std::vector<int>{0, 1}));
}

TEST_F(RememberedList, LayoutAndSortAreRememberedPerUserAndComeBack)
{
    const std::vector<std::pair<std::wstring, std::wstring>> rows = {
        {L"10.0.0.1", L"b"}, {L"10.0.0.2", L"A"}, {L"10.0.0.3", L"c"}};
    auto remember = [](CNHSortedListCtrl& l) {
        l.SetStateKey(kKey);
        l.LoadState();
    };
    Show(rows, remember);
    ui::ResizeListColumn(control, 0, 180);
    ui::MoveListColumn(control, 1, 0);
    ui::ClickListHeader(control, 1);
    ui::ClickListHeader(control, 1);  // descending
    ClosePage();

    EXPECT_EQ(Read(L"state").type, REG_BINARY);
    EXPECT_EQ(Read(L"state").data, Blob({180, 150, 1, 0}));
    EXPECT_EQ(Read(L"SortColumnIndex").data, Blob({1}));
    EXPECT_EQ(Read(L"SortOrder").data, Blob({1}));
    EXPECT_EQ(Read(L"SortOrder").type, REG_DWORD);

    sheet = std::make_unique<host::PageHost>();
    Show(rows, remember);
    EXPECT_EQ(Width(0), 180);
    EXPECT_EQ(Order(), (std::vector<int>{1, 0}));
    EXPECT_EQ(Column(1), (std::vector<std::wstring>{L"c", L"b", L"A"}));
    EXPECT_EQ(Arrow(1), HDF_SORTDOWN);
    EXPECT_EQ(Arrow(0), 0);
    ui::ClickListHeader(control, 1);  // the remembered direction toggles
    EXPECT_EQ(Column(1), (std::vector<std::wstring>{L"A", L"b", L"c"}));
}

TEST_F(RememberedList, WhatDoesNotFitTheListIsIgnoredAndNothingIsWrittenWithoutAKey)
{
    // a layout stored for three columns, a sort order that shows no arrow
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kKey, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
    const auto three = Blob({90, 60, 40, 2, 1, 0});
    RegSetValueExW(key, L"state", REG_BINARY, three.data(), three.size());
    const auto column = Blob({1}), neither = Blob({2});
    RegSetValueExW(key, L"SortColumnIndex", REG_DWORD, column.data(), 4);
    RegSetValueExW(key, L"SortOrder", REG_DWORD, neither.data(), 4);
    RegCloseKey(key);
    Show({{L"10.0.0.2", L"b"}, {L"10.0.0.1", L"a"}}, [](CNHSortedListCtrl& l) {
        l.SetStateKey(kKey);
        EXPECT_EQ(l.LoadStateResult(), S_OK);
    });
    EXPECT_EQ(Width(0), 200);
    EXPECT_EQ(Order(), (std::vector<int>{0, 1}));
    EXPECT_EQ(Column(1), (std::vector<std::wstring>{L"b", L"a"}));  // not sorted
    EXPECT_EQ(list.GetSortColumn(), -1);
    NextSheet();

    ui::ResetRegistry();
    Show({{L"10.0.0.1", L"a"}}, [](CNHSortedListCtrl& l) {
        l.SetStateKey(L"");  // no key: nothing to load, nothing to save
        EXPECT_EQ(l.LoadStateResult(), S_OK);
    });
    ui::ClickListHeader(control, 0);
    NextSheet();
    Show({{L"10.0.0.1", L"a"}}, [](CNHSortedListCtrl& l) {
        l.SetStateKey(kKey);
        EXPECT_EQ(l.LoadStateResult(), E_FAIL);  // nothing stored yet
        l.SetSaveOnDestroy(false);
    });
    ui::ClickListHeader(control, 0);
    ClosePage();
    EXPECT_TRUE(RegEnumKeys(HKEY_CURRENT_USER, L"Software\\BrenvikLab\\Components\\34\\Wnds\\ngt").empty());
}

TEST_F(RememberedList, ARegistryThatCannotBeWrittenIsReported)
{
    Show({{L"10.0.0.1", L"a"}}, [](CNHSortedListCtrl& l) { l.SetStateKey(kKey); });
    ASSERT_FALSE(ui::SetRegistryFile("/nonexistent-folder/registry.json"));
    EXPECT_EQ(list.SaveStateResult(), E_FAIL);
    ui::ResetRegistry();
    EXPECT_EQ(list.SaveStateResult(), S_OK);
    list.SetSaveOnDestroy(false);
}

TEST_F(NHCustomListCtrl, AddressCellsAreLinksDrawnUnderlinedWithAHandAndOpenedOnAClick)
{
    Show({{L"http://update.corp/", L"https://not.a.link.column"},
          {L"ftp://files.corp", L"плюс"},
          {L"mailto://admin@corp", L""},
          {L"files.corp", L""},
          {L"see https://help.corp", L""}},
         [](CNHCustomListCtrl& l) {
             l.SetColumnFlags(0, CNHCustomListCtrl::kLinkColumn);
             l.SetTextColour(0x00AA00);
         });
    const std::vector<bool> links = {true, true, true, false, true};
    for (int row = 0; row < 5; ++row) {
        EXPECT_EQ(list.IsLinkCell(row, 0), links[static_cast<std::size_t>(row)]) << row;
        EXPECT_FALSE(list.IsLinkCell(row, 1));  // the column has no link flag
    }
    const std::vector<DrawOp> drawn = ui::Paint(control);
    ASSERT_EQ(drawn.size(), 10u);
    for (int row = 0; row < 5; ++row) {
        const DrawOp& address = drawn[static_cast<std::size_t>(2 * row)];
        const DrawOp& description = drawn[static_cast<std::size_t>(2 * row + 1)];
        const bool link = links[static_cast<std::size_t>(row)];
        EXPECT_EQ(address.colour, link ? 0xFF0000u : 0x00AA00u) << row;
        EXPECT_EQ(address.font.lfUnderline, link ? 1 : 0) << row;
        EXPECT_EQ(description.colour, 0x00AA00u);
        EXPECT_EQ(description.font.lfUnderline, 0);
    }

    ui::HoverListCell(control, 0, 0);
    EXPECT_EQ(CursorId(GetCursor()), IDC_HAND);
    ui::HoverListCell(control, 0, 1);
    EXPECT_EQ(CursorId(GetCursor()), IDC_ARROW);
    ui::HoverListCell(control, 3, 0);
    EXPECT_EQ(CursorId(GetCursor()), IDC_ARROW);

    auto opened = [] {
        std::vector<std::wstring> targets;
        for (const auto& call : ui::ServiceCalls())
            if (call.service == L"open") targets.push_back(call.argument);
        return targets;
    };
    ui::ClickListItem(control, 0, 0);
    ui::ClickListItem(control, 3, 0);  // not a link: nothing opens
    ui::ClickListItem(control, 0, 1);  // a link's text in a column without links
    EXPECT_EQ(opened(), (std::vector<std::wstring>{L"http://update.corp/"}));

    // a list that leaves links to its page tells it which cell was clicked
    list.SetOpenLinks(false);
    page->received.clear();
    ui::ClickListItem(control, 1, 0);
    EXPECT_EQ(opened().size(), 1u);
    const testsupport::Message clickUrl{RWM_NHCLC_CLICK_URL, 1, 0};
    EXPECT_NE(std::find(page->received.begin(), page->received.end(), clickUrl), page->received.end());
}

TEST_F(NHCustomListCtrl, InSingleCheckModeAtMostOneRowIsChecked)
{
    auto checkBoxes = [](bool single) {
        return [single](CNHCustomListCtrl& l) {
            l.SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES, LVS_EX_CHECKBOXES);
            l.SetSingleCheck(single);
        };
    };
    auto checked = [this] {
        std::vector<int> rows;
        for (int i = 0; i < list.GetItemCount(); ++i)
            if (list.GetCheck(i)) rows.push_back(i);
        return rows;
    };
    Show({{L"Офис", L""}, {L"Дом", L""}, {L"Роуминг", L""}}, checkBoxes(true));
    ui::ToggleListCheck(control, 0);
    EXPECT_EQ(checked(), (std::vector<int>{0}));
    ui::ToggleListCheck(control, 2);
    EXPECT_EQ(checked(), (std::vector<int>{2}));
    // the page saw both changes: the row checked, then the one unchecked for it
    std::vector<std::int32_t> codes;
    for (const auto& m : page->received) codes.push_back(static_cast<std::int32_t>(m.lParam));
    EXPECT_EQ(std::count(codes.begin(), codes.end(), static_cast<std::int32_t>(LVN_ITEMCHANGED)), 3);
    ui::ToggleListCheck(control, 2);
    EXPECT_TRUE(checked().empty());  // unchecking leaves none
    list.SetCheck(1, true);  // the page's own checks follow the rule too
    list.SetCheck(0, true);
    EXPECT_EQ(checked(), (std::vector<int>{0}));
    NextSheet();

    Show({{L"Офис", L""}, {L"Дом", L""}}, checkBoxes(false));
    ui::ToggleListCheck(control, 0);
    ui::ToggleListCheck(control, 1);
    EXPECT_EQ(checked(), (std::vector<int>{0, 1}));
}
