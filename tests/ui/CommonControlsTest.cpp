#include "ui/CommonControls.h"

#include <gtest/gtest.h>

#include "support/ControlQueries.h"
#include "support/MessageSequence.h"
#include "ui/ControlTable.h"
#include "ui/Locale.h"
#include "ui/UserActions.h"
#include "ui/Wnd.h"
#include "zrstd/Strings.h"

using testsupport::Command;
using testsupport::ListCell;
using testsupport::ExpectSequence;
using testsupport::Message;

namespace {

class CommonControls : public ::testing::Test {
protected:
    void SetUp() override { ui::InitializePlatform(); }
    HWND Make(const wchar_t* className, int id)
    {
        return CreateWindowExW(0, className, L"", WS_CHILD | WS_VISIBLE, {}, parent.Handle(), id);
    }
    HWND ListWithRows(int id, std::initializer_list<const wchar_t*> rows)
    {
        HWND list = Make(L"SysListView32", id);
        LVCOLUMNW column{L"Интервал", 200};
        SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
        LVCOLUMNW second{L"Описание", 100};
        SendMessageW(list, LVM_INSERTCOLUMNW, 1, reinterpret_cast<LPARAM>(&second));
        int i = 0;
        for (const wchar_t* text : rows) {
            LVITEMW item;
            item.mask = LVIF_TEXT | LVIF_PARAM;
            item.iItem = i;
            item.text = text;
            item.lParam = 100 + i++;
            SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        }
        return list;
    }
    testsupport::RecordingParent parent;
};

int ByTextDescending(LPARAM a, LPARAM b, LPARAM) { return a > b ? -1 : a < b ? 1 : 0; }

}  // namespace

TEST_F(CommonControls, AListViewKeepsRowsColumnsAndStateAndNotifiesClicksAndKeys)
{
    HWND list = ListWithRows(1107, {L"08:00", L"12:00", L"18:00"});
    LVITEMW sub;
    sub.iSubItem = 1;
    sub.text = L"вечер";
    SendMessageW(list, LVM_SETITEMTEXTW, 2, reinterpret_cast<LPARAM>(&sub));
    EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_EQ(ListCell(list, 2, 1), L"вечер");
    LVITEMW image;  // a row's image: none until one is set
    image.iItem = 2;
    SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&image));
    EXPECT_EQ(image.iImage, -1);
    image.mask = LVIF_IMAGE;
    image.iImage = 3;
    SendMessageW(list, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&image));
    image.iImage = 0;
    SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&image));
    EXPECT_EQ(image.iImage, 3);

    parent.received.clear();
    ui::ClickListItem(list, 1);
    EXPECT_EQ(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 1);
    ui::ClickListItem(list, 2);
    EXPECT_EQ(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 2);
    ui::ListKeyPress(list, VK_DELETE);
    ui::DoubleClickListItem(list, 0);
    std::vector<UINT> codes;
    for (const Message& m : parent.received) codes.push_back(static_cast<UINT>(m.lParam));
    EXPECT_EQ(codes, (std::vector<UINT>{LVN_ITEMCHANGED, NM_CLICK,                       // row 1 selected
                                        LVN_ITEMCHANGED, LVN_ITEMCHANGED, NM_CLICK,      // row 1 cleared, row 2 selected
                                        LVN_KEYDOWN,
                                        LVN_ITEMCHANGED, LVN_ITEMCHANGED, NM_CLICK, NM_DBLCLK}));
    EXPECT_THROW(ui::ClickListItem(list, 7), ui::ActionRefused);

    ListSort sort{ByTextDescending, 0};
    SendMessageW(list, LVM_SORTITEMS, 0, reinterpret_cast<LPARAM>(&sort));
    EXPECT_EQ(ListCell(list, 0, 0), L"18:00");
    SendMessageW(list, LVM_DELETEITEM, 0, 0);
    EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 2);
}

TEST_F(CommonControls, CheckBoxesColumnOrderWidthsAndHeaderArrows)
{
    HWND list = ListWithRows(1322, {L"Понедельник", L"Вторник"});
    EXPECT_THROW(ui::ToggleListCheck(list, 0), ui::ActionRefused);  // no check boxes yet
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES, LVS_EX_CHECKBOXES);
    ui::ToggleListCheck(list, 1);
    EXPECT_EQ(SendMessageW(list, LVM_GETITEMSTATE, 1, LVIS_STATEIMAGEMASK), static_cast<LRESULT>(INDEXTOSTATEIMAGEMASK(2)));
    EXPECT_EQ(SendMessageW(list, LVM_GETITEMSTATE, 0, LVIS_STATEIMAGEMASK), static_cast<LRESULT>(INDEXTOSTATEIMAGEMASK(1)));

    int order[2] = {1, 0};
    EXPECT_TRUE(SendMessageW(list, LVM_SETCOLUMNORDERARRAY, 2, reinterpret_cast<LPARAM>(order)));
    int duplicate[2] = {1, 1};
    EXPECT_FALSE(SendMessageW(list, LVM_SETCOLUMNORDERARRAY, 2, reinterpret_cast<LPARAM>(duplicate)));
    int read[2] = {};
    SendMessageW(list, LVM_GETCOLUMNORDERARRAY, 2, reinterpret_cast<LPARAM>(read));
    EXPECT_EQ(read[0], 1);  // the refused order left the one before

    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    EXPECT_EQ(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0), 2);
    parent.received.clear();
    ui::ClickListHeader(list, 1);
    ASSERT_EQ(parent.received.size(), 1u);
    EXPECT_EQ(static_cast<UINT>(parent.received[0].lParam), LVN_COLUMNCLICK);
}

TEST_F(CommonControls, SpinningStepsWithinTheRangeAndWritesTheBuddy)
{
    HWND edit = Make(L"Edit", 1074);
    HWND spin = Make(L"msctls_updown32", 1075);
    SendMessageW(spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(edit), 0);
    SendMessageW(spin, UDM_SETRANGE32, 1, 86400);
    SetWindowTextW(edit, L"86399");
    parent.received.clear();
    ui::Spin(spin, 1);
    ui::Spin(spin, 1);  // stays at the top of the range
    EXPECT_EQ(GetWindowTextW(edit), L"86400");
    EXPECT_EQ(parent.received[0].message, static_cast<UINT>(WM_NOTIFY));
    EXPECT_EQ(static_cast<UINT>(parent.received[0].lParam), UDN_DELTAPOS);
    EXPECT_EQ(parent.received[1], Command(1074, EN_UPDATE, edit));  // the buddy's own change follows

    // a parent that refuses the step keeps the position
    SetWindowProc(parent.Handle(), [](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
        return m == WM_NOTIFY ? 1 : DefWindowProcW(w, m, wp, lp);
    });
    ui::Spin(spin, -1);
    EXPECT_EQ(GetWindowTextW(edit), L"86400");
}

TEST_F(CommonControls, AnIpAddressFieldChangeAndADatePickNotifyTheParent)
{
    HWND address = Make(L"SysIPAddress32", 1057);
    EXPECT_TRUE(SendMessageW(address, IPM_ISBLANK, 0, 0));
    SendMessageW(address, IPM_SETADDRESS, 0, static_cast<LPARAM>(0xC0A80001));
    EXPECT_EQ(GetWindowTextW(address), L"192.168.0.1");
    parent.received.clear();
    ui::SetIpField(address, 3, 254);
    DWORD value = 0;
    EXPECT_EQ(SendMessageW(address, IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&value)), 4);
    EXPECT_EQ(value, 0xC0A800FEu);
    EXPECT_EQ(static_cast<UINT>(parent.received[0].lParam), IPN_FIELDCHANGED);
    EXPECT_EQ(parent.received[1], Command(1057, EN_CHANGE, address));
    EXPECT_THROW(ui::SetIpField(address, 0, 256), ui::ActionRefused);
    // a dotted address typed field by field, or nothing at all
    ui::EnterAddress(address, L"10.20.0.1");
    EXPECT_EQ(SendMessageW(address, IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&value)), 4);
    EXPECT_EQ(value, 0x0A140001u);
    ui::EnterAddress(address, L"");
    EXPECT_TRUE(SendMessageW(address, IPM_ISBLANK, 0, 0));
    for (const wchar_t* bad : {L"10.0.0", L"10.0.0.256", L"10.0.0.1.2", L"10..0.1", L"a.b.c.d", L"1000.0.0.1"})
        EXPECT_THROW(ui::EnterAddress(address, bad), ui::ActionRefused) << ZRSTD::ToUtf8(bad);

    HWND picker = Make(L"SysDateTimePick32", 1114);
    const SYSTEMTIME range[2] = {{2000, 1, 0, 1, 0, 0, 0, 0}, {2032, 1, 0, 1, 0, 0, 0, 0}};
    SendMessageW(picker, DTM_SETRANGE, 0, reinterpret_cast<LPARAM>(range));
    const SYSTEMTIME evening{2010, 5, 2, 18, 19, 30, 0, 0};
    parent.received.clear();
    ui::PickDateTime(picker, evening);
    SYSTEMTIME read;
    SendMessageW(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&read));
    EXPECT_EQ(read, evening);
    EXPECT_EQ(static_cast<UINT>(parent.received[0].lParam), DTN_DATETIMECHANGE);
    EXPECT_THROW(ui::PickDateTime(picker, SYSTEMTIME{1999, 12, 0, 31, 0, 0, 0, 0}), ui::ActionRefused);
}

TEST_F(CommonControls, ATooltipShowsTheTextOfItsToolOnlyWhileActive)
{
    HWND button = Make(L"Button", 10);
    HWND other = Make(L"Button", 11);
    HWND tooltip = CreateWindowExW(0, L"tooltips_class32", L"", WS_POPUP, {}, button, 0);
    TOOLINFOW tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = parent.Handle();
    tool.uId = reinterpret_cast<std::uintptr_t>(button);
    EXPECT_TRUE(SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool)));
    EXPECT_EQ(ui::TooltipTextFor(button), L"");  // no text yet
    tool.text = L"Заблокировано политикой";
    SendMessageW(tooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    EXPECT_EQ(ui::TooltipTextFor(button), L"Заблокировано политикой");
    EXPECT_EQ(ui::TooltipTextFor(other), L"");
    SendMessageW(tooltip, TTM_ACTIVATE, FALSE, 0);
    EXPECT_EQ(ui::TooltipTextFor(button), L"");
    SendMessageW(tooltip, TTM_ACTIVATE, TRUE, 0);
    EXPECT_EQ(ui::TooltipTextFor(button), L"Заблокировано политикой");
    DestroyWindow(button);  // the tooltip goes with its owner
    EXPECT_FALSE(IsWindow(tooltip));
}

TEST_F(CommonControls, AnExtendedComboKeepsImagesAndDataAndShowsTheSelectedItem)
{
    HWND combo = Make(L"ComboBoxEx32", 10001);
    HIMAGELIST images = ImageList_Create(10, 10, ILC_MASK, 2, 2);
    HBITMAP strip = CreateBitmap(20, 10);
    ImageList_AddMasked(images, strip, 0x0000FF);
    SendMessageW(combo, CBEM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
    COMBOBOXEXITEMW item;
    item.mask = CBEIF_TEXT | CBEIF_IMAGE | CBEIF_SELECTEDIMAGE | CBEIF_LPARAM;
    item.text = L"Редактирование запрещено";
    item.iImage = item.iSelectedImage = 0;
    item.lParam = 1;
    EXPECT_EQ(SendMessageW(combo, CBEM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)), 0);
    item.text = L"Редактирование разрешено";
    item.iImage = item.iSelectedImage = 1;
    item.lParam = 0;
    item.iItem = 0;  // in front
    EXPECT_EQ(SendMessageW(combo, CBEM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)), 0);
    EXPECT_EQ(SendMessageW(combo, CB_GETITEMDATA, 1, 0), 1);
    EXPECT_TRUE(ui::Paint(combo).empty());  // nothing selected

    parent.received.clear();
    ui::SelectItem(combo, L"Редактирование запрещено");
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(GetWindowTextW(combo), L"Редактирование запрещено");
    testsupport::ExpectSequence({Command(10001, CBN_SELCHANGE, combo)}, parent.received);
    const std::vector<DrawOp> drawn = ui::Paint(combo);
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_EQ(drawn[0].kind, DrawOp::Kind::Image);
    EXPECT_EQ(drawn[0].image, 0);
    EXPECT_EQ(drawn[1].text, L"Редактирование запрещено");
    EXPECT_EQ(drawn[1].rect.left, 16);  // after the image

    SendMessageW(combo, CB_DELETESTRING, 0, 0);
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 0);  // the selection moved with its item
    EnableWindow(combo, false);
    EXPECT_THROW(ui::SelectItem(combo, L"Редактирование запрещено"), ui::ActionRefused);
    ImageList_Destroy(images);
    DeleteObject(strip);
}

TEST_F(CommonControls, AListDrawsItsCellsAsCustomDrawingAsksAndFindsTheCellUnderAPoint)
{
    HWND list = ListWithRows(1107, {L"http://a", L"b"});
    LVCOLUMNW column;
    ASSERT_TRUE(SendMessageW(list, LVM_GETCOLUMNW, 1, reinterpret_cast<LPARAM>(&column)));
    EXPECT_EQ(column.text, L"Описание");
    LOGFONTW underlined;
    underlined.lfUnderline = 1;
    HFONT linkFont = CreateFontIndirectW(underlined);
    // the parent draws the first cell of every row blue and underlined
    SetWindowProc(parent.Handle(), [linkFont](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
        if (m != WM_NOTIFY || reinterpret_cast<NMHDR*>(lp)->code != NM_CUSTOMDRAW) return DefWindowProcW(w, m, wp, lp);
        auto* draw = reinterpret_cast<NMLVCUSTOMDRAW*>(lp);
        if (draw->nmcd.dwDrawStage == CDDS_PREPAINT || draw->nmcd.dwDrawStage == CDDS_ITEMPREPAINT)
            return CDRF_NOTIFYITEMDRAW;
        if (draw->iSubItem != 0) return CDRF_DODEFAULT;
        draw->clrText = 0xFF0000;
        SelectObject(draw->nmcd.hdc, linkFont);
        return CDRF_NEWFONT;
    });
    int order[2] = {1, 0};
    SendMessageW(list, LVM_SETCOLUMNORDERARRAY, 2, reinterpret_cast<LPARAM>(order));
    const std::vector<DrawOp> drawn = ui::Paint(list);
    ASSERT_EQ(drawn.size(), 4u);
    EXPECT_EQ(drawn[0].text, L"");  // the second column comes first in display order
    EXPECT_EQ(drawn[0].colour, 0u);
    EXPECT_EQ(drawn[1].text, L"http://a");
    EXPECT_EQ(drawn[1].colour, 0xFF0000u);
    EXPECT_EQ(drawn[1].font.lfUnderline, 1);
    EXPECT_EQ(drawn[1].rect, (RECT{100, kListHeaderHeight, 300, kListHeaderHeight + kListRowHeight}));
    EXPECT_EQ(drawn[2].font.lfUnderline, 0);  // the font goes back for the next cell

    LVHITTESTINFO hit;
    hit.pt = POINT{150, kListHeaderHeight + kListRowHeight + 2};
    EXPECT_EQ(SendMessageW(list, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 1);
    EXPECT_EQ(hit.iSubItem, 0);
    hit.pt = POINT{150, kListHeaderHeight - 1};  // on the header
    EXPECT_EQ(SendMessageW(list, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit)), -1);
    DeleteObject(linkFont);
}

TEST_F(CommonControls, ColumnsAreResizedAndMovedAsOnTheHeader)
{
    HWND list = ListWithRows(1107, {L"a"});
    LVCOLUMNW third{L"Третий", 50};
    SendMessageW(list, LVM_INSERTCOLUMNW, 2, reinterpret_cast<LPARAM>(&third));
    ui::ResizeListColumn(list, 1, 75);
    EXPECT_EQ(SendMessageW(list, LVM_GETCOLUMNWIDTH, 1, 0), 75);
    ui::MoveListColumn(list, 2, 0);
    int order[3] = {};
    SendMessageW(list, LVM_GETCOLUMNORDERARRAY, 3, reinterpret_cast<LPARAM>(order));
    EXPECT_EQ(std::vector<int>(order, order + 3), (std::vector<int>{2, 0, 1}));
    ui::MoveListColumn(list, 2, 2);
    SendMessageW(list, LVM_GETCOLUMNORDERARRAY, 3, reinterpret_cast<LPARAM>(order));
    EXPECT_EQ(std::vector<int>(order, order + 3), (std::vector<int>{0, 1, 2}));
    EXPECT_THROW(ui::MoveListColumn(list, 3, 0), ui::ActionRefused);
    EXPECT_THROW(ui::ResizeListColumn(list, 5, 10), ui::ActionRefused);
}

TEST_F(CommonControls, ListRowsAreChosenAndCheckedByTheirTextAndDescribedAsSeen)
{
    HWND list = ListWithRows(1322, {L"понедельник", L"вторник"});
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES, LVS_EX_CHECKBOXES);
    EXPECT_EQ(ui::FindListRow(list, L"вторник"), 1);
    EXPECT_EQ(ui::FindListRow(list, L"среда"), -1);

    ui::SetRowChecked(list, L"вторник", true);
    ui::SetRowChecked(list, L"вторник", true);  // already shows the state: no second click
    EXPECT_TRUE(ui::IsListRowChecked(list, 1));
    EXPECT_FALSE(ui::IsListRowChecked(list, 0));
    ui::SelectItem(list, L"понедельник");
    EXPECT_TRUE(ui::IsListRowSelected(list, 0));
    EXPECT_THROW(ui::SelectItem(list, L"среда"), ui::ActionRefused);
    EXPECT_THROW(ui::SetRowChecked(list, L"среда", true), ui::ActionRefused);

    const auto described = ui::DescribeControls(parent.Handle());
    ASSERT_EQ(described.size(), 1u);
    EXPECT_EQ(described[0].kind, L"list view");
    EXPECT_EQ(described[0].state, L"[ ] \"понедельник\" (selected); [x] \"вторник\"");

    HWND empty = ListWithRows(1107, {});
    EXPECT_EQ(ui::DescribeControls(parent.Handle())[1].state, L"no rows");
    EnableWindow(empty, false);
    EXPECT_THROW(ui::SelectItem(empty, L"x"), ui::ActionRefused);
}

TEST_F(CommonControls, ATimePickerShowsItsDateAndTime)
{
    HWND picker = Make(L"SysDateTimePick32", 1114);
    ui::PickDateTime(picker, {2010, 5, 2, 18, 9, 5, 0, 0});
    const auto described = ui::DescribeControls(parent.Handle());
    EXPECT_EQ(described[0].kind, L"time picker");
    EXPECT_EQ(described[0].text, L"2010-05-18 09:05");
}

TEST(Locale, DayNamesFollowTheUsersLocaleFromMonday)
{
    ASSERT_EQ(ui::GetUserLocale(), L"ru-RU");
    EXPECT_EQ(GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDAYNAME1), L"понедельник");
    EXPECT_EQ(GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SABBREVDAYNAME1 + 6), L"Вс");
    EXPECT_EQ(GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SABBREVDAYNAME1 + 7), L"");  // beyond Sunday
    EXPECT_EQ(GetLocaleInfoW(0x409, LOCALE_SDAYNAME1), L"");  // only the user's locale is known
    ASSERT_TRUE(ui::SetUserLocale(L"en-US"));
    EXPECT_EQ(GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDAYNAME1 + 6), L"Sunday");
    EXPECT_FALSE(ui::SetUserLocale(L"de-DE"));
    EXPECT_EQ(ui::GetUserLocale(), L"en-US");
    ui::SetUserLocale(L"ru-RU");
}
