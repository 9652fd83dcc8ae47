#include "controls/NHSortedListCtrl.h"

#include <gtest/gtest.h>

#include "support/ControlPage.h"
#include "ui/UserActions.h"

using testsupport::ControlPage;
using testsupport::kVisibleChild;

namespace {

constexpr int kList = 1710;

// A sorted list whose second column may not be sorted and whose third sorts by a number it keeps per row.
class HostList : public CNHSortedListCtrl {
public:
    bool IsColumnSortable(int column) const override { return column != 1; }
    std::map<LPARAM, std::wstring> keys;

protected:
    void GetSortText(std::wstring& text, LPARAM rowData, int column) override
    {
        if (column == 2 && keys.count(rowData)) text = keys[rowData];
        else CNHSortedListCtrl::GetSortText(text, rowData, column);
    }
};

class NHSortedListCtrl : public testsupport::ControlTest {
protected:
    void SetUp() override
    {
        ControlTest::SetUp();
        HWND window = ShowPage({{kList, L"SysListView32", L"", kVisibleChild, RECT{10, 10, 410, 210}}},
                               [this](ControlPage& page) {
                                   list.SubclassDlgItem(kList, page);
                                   list.InsertColumn(0, L"Имя", 150);
                                   list.InsertColumn(1, L"Описание", 150);
                                   list.InsertColumn(2, L"Размер", 100);
                                   const wchar_t* rows[][3] = {{L"beta", L"2", L"1 КБ"},
                                                               {L"Alpha", L"1", L"2 МБ"},
                                                               {L"ALPHA-2", L"3", L"10 байт"},
                                                               {L"gamma", L"4", L""}};
                                   for (int i = 0; i < 4; ++i) {
                                       list.InsertItem(i, rows[i][0], 10 + i);
                                       list.SetItemText(i, 1, rows[i][1]);
                                       list.SetItemText(i, 2, rows[i][2]);
                                   }
                                   // sizes sort by their number of bytes (the last row has none)
                                   list.keys = {{10, L"0000001024"}, {11, L"0002097152"}, {12, L"0000000010"}};
                               });
        control = ui::FindControl(window, kList);
        page->received.clear();
    }
    std::vector<std::wstring> Names() const
    {
        std::vector<std::wstring> names;
        for (int i = 0; i < list.GetItemCount(); ++i) names.push_back(list.GetItemText(i, 0));
        return names;
    }
    std::vector<int> Arrows() const
    {
        std::vector<int> arrows;
        for (int column = 0; column < 3; ++column) {
            HDITEMW item;
            SendMessageW(list.GetHeader(), HDM_GETITEMW, column, reinterpret_cast<LPARAM>(&item));
            arrows.push_back(item.fmt);
        }
        return arrows;
    }

    HostList list;
    HWND control = nullptr;
};

}  // namespace

TEST_F(NHSortedListCtrl, HeaderClicksSortWithoutRegardToCaseAndTheSameHeaderAgainReverses)
{
    const struct {
        int clicked;
        std::vector<std::wstring> names;
        std::vector<int> arrows;
    } clicks[] = {
        {0, {L"Alpha", L"ALPHA-2", L"beta", L"gamma"}, {HDF_SORTUP, 0, 0}},
        {0, {L"gamma", L"beta", L"ALPHA-2", L"Alpha"}, {HDF_SORTDOWN, 0, 0}},
        {0, {L"Alpha", L"ALPHA-2", L"beta", L"gamma"}, {HDF_SORTUP, 0, 0}},
        {1, {L"Alpha", L"ALPHA-2", L"beta", L"gamma"}, {HDF_SORTUP, 0, 0}},  // not sortable: nothing changes
        {2, {L"gamma", L"ALPHA-2", L"beta", L"Alpha"}, {0, 0, HDF_SORTUP}},  // another column: ascending, by its own text
        {2, {L"Alpha", L"beta", L"ALPHA-2", L"gamma"}, {0, 0, HDF_SORTDOWN}},
    };
    for (const auto& click : clicks) {
        SCOPED_TRACE(click.clicked);
        ui::ClickListHeader(control, click.clicked);
        EXPECT_EQ(Names(), click.names);
        EXPECT_EQ(Arrows(), click.arrows);
    }
    EXPECT_EQ(page->received.size(), 6u);  // the page sees every header click
}

TEST_F(NHSortedListCtrl, TextsEqualButForCaseKeepTheirOrderAndNewRowsSortOnTheNextClick)
{
    list.SetItemText(1, 0, L"ABC");
    list.SetItemText(3, 0, L"abc");
    ui::ClickListHeader(control, 0);
    EXPECT_EQ(Names(), (std::vector<std::wstring>{L"ABC", L"abc", L"ALPHA-2", L"beta"}));
    list.InsertItem(4, L"Aardvark", 99);
    EXPECT_EQ(Names().back(), L"Aardvark");
    ui::ClickListHeader(control, 2);
    ui::ClickListHeader(control, 0);
    EXPECT_EQ(Names().front(), L"Aardvark");
}
