#pragma once

#include <string>
#include <vector>

#include "ui/Api.h"
#include "ui/Win32.h"

// The common controls: the report list view "SysListView32" with its header,
// the up-down "msctls_updown32", the IP address "SysIPAddress32" and the
// date-time picker "SysDateTimePick32". Their messages carry the platform's
// numbers; item texts travel as std::wstring pointers.

// List view
inline constexpr UINT LVM_GETITEMCOUNT = 0x1004, LVM_DELETEITEM = 0x1008, LVM_DELETEALLITEMS = 0x1009,
                      LVM_GETNEXTITEM = 0x100C, LVM_GETCOLUMNWIDTH = 0x101D, LVM_SETCOLUMNWIDTH = 0x101E,
                      LVM_GETHEADER = 0x101F, LVM_SETITEMSTATE = 0x102B, LVM_GETITEMSTATE = 0x102C,
                      LVM_SORTITEMS = 0x1030, LVM_SETEXTENDEDLISTVIEWSTYLE = 0x1036,
                      LVM_GETEXTENDEDLISTVIEWSTYLE = 0x1037, LVM_SETCOLUMNORDERARRAY = 0x103A,
                      LVM_GETCOLUMNORDERARRAY = 0x103B, LVM_GETITEMW = 0x104B, LVM_SETITEMW = 0x104C,
                      LVM_INSERTITEMW = 0x104D, LVM_INSERTCOLUMNW = 0x1061, LVM_GETITEMTEXTW = 0x1073,
                      LVM_SETITEMTEXTW = 0x1074;
inline constexpr UINT LVIF_TEXT = 0x1, LVIF_STATE = 0x8, LVIF_PARAM = 0x4;
inline constexpr UINT LVIS_FOCUSED = 0x1, LVIS_SELECTED = 0x2, LVIS_STATEIMAGEMASK = 0xF000;
inline constexpr UINT LVNI_ALL = 0x0, LVNI_SELECTED = 0x2;
inline constexpr DWORD LVS_EX_CHECKBOXES = 0x4, LVS_EX_FULLROWSELECT = 0x20;
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
};
struct LVCOLUMNW {
    std::wstring text;
    int cx = 100;
};
struct HDITEMW {
    int fmt = 0;  // HDF_SORTUP, HDF_SORTDOWN
};
// The comparison LVM_SORTITEMS uses: the two rows' data and the caller's context.
using ListCompare = int (*)(LPARAM first, LPARAM second, LPARAM context);
struct ListSort {
    ListCompare compare = nullptr;
    LPARAM context = 0;
};

// Up-down
inline constexpr UINT UDM_SETBUDDY = 0x0469, UDM_SETRANGE32 = 0x046F, UDM_GETRANGE32 = 0x0470, UDM_SETPOS32 = 0x0471,
                      UDM_GETPOS32 = 0x0472;
inline constexpr UINT UDN_DELTAPOS = static_cast<UINT>(-722);

// IP address
inline constexpr UINT IPM_CLEARADDRESS = 0x0464, IPM_SETADDRESS = 0x0465, IPM_GETADDRESS = 0x0466, IPM_ISBLANK = 0x0469;
inline constexpr UINT IPN_FIELDCHANGED = static_cast<UINT>(-860);

// Date-time picker
inline constexpr UINT DTM_GETSYSTEMTIME = 0x1001, DTM_SETSYSTEMTIME = 0x1002, DTM_SETRANGE = 0x1004;
inline constexpr UINT DTN_DATETIMECHANGE = static_cast<UINT>(-759);

namespace ui {

UI_API void RegisterCommonControls();

// User actions on them; a refused action raises ActionRefused.
UI_API void ClickListItem(HWND list, int item, int subItem = 0);
UI_API void DoubleClickListItem(HWND list, int item, int subItem = 0);
UI_API void ToggleListCheck(HWND list, int item);
UI_API void ClickListHeader(HWND list, int column);
UI_API void ListKeyPress(HWND list, WORD key);
// One step of the arrows (+1 up, -1 down).
UI_API void Spin(HWND upDown, int delta);
UI_API void SetIpField(HWND address, int field, int value);
UI_API void PickDateTime(HWND picker, const SYSTEMTIME& time);

}  // namespace ui
