#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ui/Api.h"
#include "ui/Graphics.h"
#include "ui/Win32.h"

// The common controls: the report list view "SysListView32" with its header,
// the up-down "msctls_updown32", the IP address "SysIPAddress32", the
// date-time picker "SysDateTimePick32", the tooltip "tooltips_class32" and the
// extended combo box "ComboBoxEx32" (items with images). Their messages carry
// the platform's numbers; item texts travel as std::wstring pointers.

// List view
inline constexpr UINT LVM_GETITEMCOUNT = 0x1004, LVM_DELETEITEM = 0x1008, LVM_DELETEALLITEMS = 0x1009,
                      LVM_GETNEXTITEM = 0x100C, LVM_GETCOLUMNWIDTH = 0x101D, LVM_SETCOLUMNWIDTH = 0x101E,
                      LVM_GETHEADER = 0x101F, LVM_SETITEMSTATE = 0x102B, LVM_GETITEMSTATE = 0x102C,
                      LVM_SORTITEMS = 0x1030, LVM_SETEXTENDEDLISTVIEWSTYLE = 0x1036,
                      LVM_GETEXTENDEDLISTVIEWSTYLE = 0x1037, LVM_SETCOLUMNORDERARRAY = 0x103A,
                      LVM_GETCOLUMNORDERARRAY = 0x103B, LVM_GETITEMW = 0x104B, LVM_SETITEMW = 0x104C,
                      LVM_INSERTITEMW = 0x104D, LVM_INSERTCOLUMNW = 0x1061, LVM_GETITEMTEXTW = 0x1073,
                      LVM_SETITEMTEXTW = 0x1074;
inline constexpr UINT LVM_GETSUBITEMRECT = 0x1038, LVM_SUBITEMHITTEST = 0x1039, LVM_GETCOLUMNW = 0x105F;
inline constexpr UINT LVIF_TEXT = 0x1, LVIF_IMAGE = 0x2, LVIF_STATE = 0x8, LVIF_PARAM = 0x4;
inline constexpr UINT LVIS_FOCUSED = 0x1, LVIS_SELECTED = 0x2, LVIS_STATEIMAGEMASK = 0xF000;
inline constexpr UINT LVNI_ALL = 0x0, LVNI_SELECTED = 0x2;
inline constexpr DWORD LVS_REPORT = 0x1, LVS_SINGLESEL = 0x4, LVS_SHOWSELALWAYS = 0x8, LVS_NOCOLUMNHEADER = 0x4000;
inline constexpr DWORD LVS_EX_SUBITEMIMAGES = 0x2, LVS_EX_CHECKBOXES = 0x4, LVS_EX_FULLROWSELECT = 0x20,
                       LVS_EX_INFOTIP = 0x400, LVS_EX_LABELTIP = 0x4000, LVS_EX_DOUBLEBUFFER = 0x10000;
inline constexpr UINT LVN_ITEMCHANGED = static_cast<UINT>(-101), LVN_COLUMNCLICK = static_cast<UINT>(-108),
                      LVN_KEYDOWN = static_cast<UINT>(-155);
inline constexpr UINT HDM_GETITEMCOUNT = 0x1200, HDM_GETITEMW = 0x120B, HDM_SETITEMW = 0x120C;
inline constexpr int HDF_SORTDOWN = 0x0200, HDF_SORTUP = 0x0400;
inline constexpr UINT INDEXTOSTATEIMAGEMASK(UINT i) { return i << 12; }

struct LVITEMW {
    UINT mask = 0;
    int iItem = 0;
    int iSubItem = 0;
    UINT state = 0;
    UINT stateMask = 0;
    std::wstring text;
    LPARAM lParam = 0;
    int iImage = -1;  // the row's image in the list's image list, -1 for none
};
struct LVCOLUMNW {
    std::wstring text;
    int cx = 100;
};
struct HDITEMW {
    int fmt = 0;  // HDF_SORTUP, HDF_SORTDOWN
};
// Geometry of a report list: the header is kListHeaderHeight high and every
// row kListRowHeight; columns follow each other in display order.
inline constexpr int kListHeaderHeight = 24, kListRowHeight = 18;
inline constexpr UINT LVHT_NOWHERE = 0x1, LVHT_ONITEMLABEL = 0x4;
struct LVHITTESTINFO {
    POINT pt;  // client coordinates
    UINT flags = 0;
    int iItem = -1;
    int iSubItem = -1;
};

// Custom drawing: NM_CUSTOMDRAW asks the parent before the list, each row and
// (when asked for) each cell is drawn; the parent may set the text colour and
// select a font into the context.
inline constexpr UINT NM_CUSTOMDRAW = NM_FIRST - 12;
inline constexpr DWORD CDDS_PREPAINT = 0x1, CDDS_ITEM = 0x10000, CDDS_ITEMPREPAINT = 0x10001, CDDS_SUBITEM = 0x20000;
inline constexpr LRESULT CDRF_DODEFAULT = 0x0, CDRF_NEWFONT = 0x2, CDRF_NOTIFYITEMDRAW = 0x20,
                         CDRF_NOTIFYSUBITEMDRAW = 0x20;
inline constexpr COLORREF CLR_DEFAULT = 0xFF000000;
struct NMCUSTOMDRAW {
    NMHDR hdr;
    DWORD dwDrawStage = 0;
    HDC hdc = nullptr;
    RECT rc;
    std::uintptr_t dwItemSpec = 0;
    UINT uItemState = 0;
    LPARAM lItemlParam = 0;
};
struct NMLVCUSTOMDRAW {
    NMCUSTOMDRAW nmcd;
    COLORREF clrText = CLR_DEFAULT;
    COLORREF clrTextBk = CLR_DEFAULT;
    int iSubItem = 0;
};
// NM_CLICK and NM_DBLCLK from a list carry the row and cell.
using NMITEMACTIVATE = NMLISTVIEW;

// The comparison LVM_SORTITEMS uses: the two rows' data and the caller's context.
using ListCompare = int (*)(LPARAM first, LPARAM second, LPARAM context);
struct ListSort {
    ListCompare compare = nullptr;
    LPARAM context = 0;
};

// Up-down
inline constexpr UINT UDM_SETBUDDY = 0x0469, UDM_GETBUDDY = 0x046A, UDM_SETRANGE32 = 0x046F, UDM_GETRANGE32 = 0x0470, UDM_SETPOS32 = 0x0471,
                      UDM_GETPOS32 = 0x0472;
inline constexpr UINT UDN_DELTAPOS = static_cast<UINT>(-722);

// IP address
inline constexpr UINT IPM_CLEARADDRESS = 0x0464, IPM_SETADDRESS = 0x0465, IPM_GETADDRESS = 0x0466, IPM_ISBLANK = 0x0469;
inline constexpr UINT IPN_FIELDCHANGED = static_cast<UINT>(-860);

// Date-time picker
inline constexpr UINT DTM_GETSYSTEMTIME = 0x1001, DTM_SETSYSTEMTIME = 0x1002, DTM_SETRANGE = 0x1004;
inline constexpr DWORD DTS_TIMEFORMAT = 0x9;
inline constexpr WPARAM GDT_VALID = 0, GDTR_MIN = 0x1, GDTR_MAX = 0x2;
inline constexpr UINT DTN_DATETIMECHANGE = static_cast<UINT>(-759);

// Tooltip
inline constexpr UINT TTM_ACTIVATE = 0x0401, TTM_SETDELAYTIME = 0x0403, TTM_GETTOOLCOUNT = 0x040D,
                      TTM_GETDELAYTIME = 0x0415, TTM_ADDTOOLW = 0x0432, TTM_DELTOOLW = 0x0433, TTM_GETTEXTW = 0x0438,
                      TTM_UPDATETIPTEXTW = 0x0439;
inline constexpr UINT TTF_IDISHWND = 0x1, TTF_SUBCLASS = 0x10;
inline constexpr WPARAM TTDT_AUTOMATIC = 0, TTDT_RESHOW = 1, TTDT_AUTOPOP = 2, TTDT_INITIAL = 3;
struct TOOLINFOW {
    UINT uFlags = 0;
    HWND hwnd = nullptr;       // the window that holds the tool
    std::uintptr_t uId = 0;    // with TTF_IDISHWND: the tool's own window
    RECT rect;
    std::wstring text;
};

// Extended combo box: the combo box messages, and items with images
inline constexpr UINT CBEM_SETIMAGELIST = 0x0402, CBEM_GETIMAGELIST = 0x0403, CBEM_SETITEMW = 0x040C,
                      CBEM_GETITEMW = 0x040D, CBEM_INSERTITEMW = 0x040B;
inline constexpr UINT CBEIF_TEXT = 0x1, CBEIF_IMAGE = 0x2, CBEIF_SELECTEDIMAGE = 0x4, CBEIF_OVERLAY = 0x8,
                      CBEIF_INDENT = 0x10, CBEIF_LPARAM = 0x20;
struct COMBOBOXEXITEMW {
    UINT mask = 0;
    std::intptr_t iItem = -1;  // -1 inserts at the end
    std::wstring text;
    int iImage = -1;
    int iSelectedImage = -1;
    int iOverlay = -1;
    int iIndent = 0;
    LPARAM lParam = 0;
};

namespace ui {

UI_API void RegisterCommonControls();

// The tooltip text a user sees when resting the mouse on the control: the
// text of an active tooltip that has the control as a tool; empty when none.
UI_API std::wstring TooltipTextFor(HWND control);

// User actions on them; a refused action raises ActionRefused.
UI_API void ClickListItem(HWND list, int item, int subItem = 0);
UI_API void DoubleClickListItem(HWND list, int item, int subItem = 0);
UI_API void ToggleListCheck(HWND list, int item);
// The text of a row's first cell.
UI_API std::wstring GetListRowText(HWND list, int item);
// The first row whose first cell shows the text, or -1.
UI_API int FindListRow(HWND list, const std::wstring& text);
UI_API bool IsListRowChecked(HWND list, int item);
UI_API bool IsListRowSelected(HWND list, int item);
// Clicks the row's check box until it shows the state.
UI_API void SetListCheck(HWND list, int item, bool checked);
// Rests the mouse in a cell (WM_SETCURSOR, WM_MOUSEMOVE at its centre).
UI_API void HoverListCell(HWND list, int item, int subItem);
UI_API void ClickListHeader(HWND list, int column);
// Drags a column's divider to a new width, or a column to a new place in the display order, as on the header.
UI_API void ResizeListColumn(HWND list, int column, int width);
UI_API void MoveListColumn(HWND list, int column, int position);
UI_API void ListKeyPress(HWND list, WORD key);
// One step of the arrows (+1 up, -1 down).
UI_API void Spin(HWND upDown, int delta);
UI_API void SetIpField(HWND address, int field, int value);
UI_API void PickDateTime(HWND picker, const SYSTEMTIME& time);

}  // namespace ui
