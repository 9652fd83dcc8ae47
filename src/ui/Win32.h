#pragma once

// The user-interface vocabulary pages are written in: handle and message
// types, and the numeric values of messages, notifications, styles and
// results as the platform defines them.
#include <cstdint>

struct HWND__;
using HWND = HWND__*;
using UINT = std::uint32_t;
using DWORD = std::uint32_t;
using WORD = std::uint16_t;
using BYTE = std::uint8_t;
using BOOL = int;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using COLORREF = std::uint32_t;

#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif

struct POINT {
    std::int32_t x = 0, y = 0;
};
struct RECT {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
    std::int32_t Width() const { return right - left; }
    std::int32_t Height() const { return bottom - top; }
    bool operator==(const RECT&) const = default;
};

struct NMHDR {
    HWND hwndFrom = nullptr;
    std::uintptr_t idFrom = 0;
    UINT code = 0;
};

// A message of the message loop.
struct MSG {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

// The 32-bit layout the console exchanges: 28 bytes.
struct HELPINFO {
    UINT cbSize = 28;
    std::int32_t iContextType = 0;
    std::int32_t iCtrlId = 0;
    std::uint32_t hItemHandle = 0;
    std::uint32_t dwContextId = 0;
    POINT MousePos;
};
static_assert(sizeof(HELPINFO) == 28);

struct WINDOWPLACEMENT {
    UINT length = 44;
    UINT flags = 0;
    UINT showCmd = 1;
    POINT ptMinPosition;
    POINT ptMaxPosition;
    RECT rcNormalPosition;
};
static_assert(sizeof(WINDOWPLACEMENT) == 44);

struct NMUPDOWN {
    NMHDR hdr;
    std::int32_t iPos = 0;
    std::int32_t iDelta = 0;
};

struct NMLISTVIEW {
    NMHDR hdr;
    std::int32_t iItem = -1;
    std::int32_t iSubItem = 0;
    UINT uNewState = 0;
    UINT uOldState = 0;
    UINT uChanged = 0;
    POINT ptAction;
    LPARAM lParam = 0;
};

struct NMLVKEYDOWN {
    NMHDR hdr;
    WORD wVKey = 0;
    UINT flags = 0;
};

struct NMIPADDRESS {
    NMHDR hdr;
    std::int32_t iField = 0;
    std::int32_t iValue = 0;
};

struct SYSTEMTIME {
    WORD wYear = 0, wMonth = 0, wDayOfWeek = 0, wDay = 0, wHour = 0, wMinute = 0, wSecond = 0, wMilliseconds = 0;
    bool operator==(const SYSTEMTIME&) const = default;
};

struct NMDATETIMECHANGE {
    NMHDR nmhdr;
    DWORD dwFlags = 0;
    SYSTEMTIME st;
};

inline constexpr WORD LOWORD(std::uintptr_t v) { return static_cast<WORD>(v & 0xFFFF); }
inline constexpr WORD HIWORD(std::uintptr_t v) { return static_cast<WORD>((v >> 16) & 0xFFFF); }
inline constexpr WPARAM MAKEWPARAM(WORD low, WORD high) { return static_cast<WPARAM>(low) | (static_cast<WPARAM>(high) << 16); }

// Window messages
inline constexpr UINT WM_NULL = 0x0000, WM_CREATE = 0x0001, WM_DESTROY = 0x0002, WM_MOVE = 0x0003,
                      WM_SIZE = 0x0005, WM_SETFOCUS = 0x0007, WM_KILLFOCUS = 0x0008, WM_ENABLE = 0x000A,
                      WM_SETTEXT = 0x000C, WM_GETTEXT = 0x000D, WM_GETTEXTLENGTH = 0x000E, WM_CLOSE = 0x0010,
                      WM_SHOWWINDOW = 0x0018, WM_GETMINMAXINFO = 0x0024, WM_SETFONT = 0x0030,
                      WM_NOTIFY = 0x004E, WM_HELP = 0x0053, WM_KEYDOWN = 0x0100, WM_KEYUP = 0x0101,
                      WM_CHAR = 0x0102, WM_INITDIALOG = 0x0110, WM_COMMAND = 0x0111, WM_TIMER = 0x0113,
                      WM_LBUTTONDOWN = 0x0201, WM_LBUTTONUP = 0x0202, WM_LBUTTONDBLCLK = 0x0203,
                      WM_PASTE = 0x0302, WM_CLEAR = 0x0303, WM_USER = 0x0400;

// Property sheet
inline constexpr UINT PSM_CHANGED = WM_USER + 104, PSM_UNCHANGED = WM_USER + 109;
static_assert(PSM_CHANGED == 0x468 && PSM_UNCHANGED == 0x46D);

// Dialog results and message boxes
inline constexpr int IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6, IDNO = 7;
inline constexpr UINT MB_OK = 0x0, MB_OKCANCEL = 0x1, MB_YESNOCANCEL = 0x3, MB_YESNO = 0x4, MB_ICONERROR = 0x10,
                      MB_ICONQUESTION = 0x20, MB_ICONWARNING = 0x30, MB_ICONINFORMATION = 0x40,
                      MB_RIGHT = 0x80000, MB_RTLREADING = 0x100000;

// Window styles
inline constexpr DWORD WS_OVERLAPPED = 0x00000000, WS_TABSTOP = 0x00010000, WS_GROUP = 0x00020000,
                       WS_DISABLED = 0x08000000, WS_VISIBLE = 0x10000000, WS_CHILD = 0x40000000,
                       WS_POPUP = 0x80000000, WS_BORDER = 0x00800000, WS_VSCROLL = 0x00200000;
inline constexpr DWORD WS_EX_RIGHT = 0x1000, WS_EX_RTLREADING = 0x2000, WS_EX_LAYOUTRTL = 0x400000;
static_assert((WS_EX_LAYOUTRTL | WS_EX_RTLREADING) == 0x402000);

// Button styles, messages, notifications, states
inline constexpr DWORD BS_PUSHBUTTON = 0x0, BS_DEFPUSHBUTTON = 0x1, BS_CHECKBOX = 0x2, BS_AUTOCHECKBOX = 0x3,
                       BS_RADIOBUTTON = 0x4, BS_3STATE = 0x5, BS_AUTO3STATE = 0x6, BS_GROUPBOX = 0x7,
                       BS_AUTORADIOBUTTON = 0x9, BS_OWNERDRAW = 0xB, BS_TYPEMASK = 0xF, BS_ICON = 0x40,
                       BS_MULTILINE = 0x2000;
inline constexpr UINT BM_GETCHECK = 0x00F0, BM_SETCHECK = 0x00F1, BM_GETSTATE = 0x00F2, BM_SETSTATE = 0x00F3,
                      BM_SETSTYLE = 0x00F4, BM_CLICK = 0x00F5;
inline constexpr UINT BST_UNCHECKED = 0, BST_CHECKED = 1, BST_INDETERMINATE = 2, BST_PUSHED = 4;
inline constexpr WORD BN_CLICKED = 0;

// Edit styles, messages, notifications
inline constexpr DWORD ES_LEFT = 0x0, ES_MULTILINE = 0x4, ES_PASSWORD = 0x20, ES_AUTOVSCROLL = 0x40,
                       ES_AUTOHSCROLL = 0x80, ES_READONLY = 0x800, ES_WANTRETURN = 0x1000, ES_NUMBER = 0x2000;
inline constexpr UINT EM_GETSEL = 0x00B0, EM_SETSEL = 0x00B1, EM_SCROLLCARET = 0x00B7, EM_LIMITTEXT = 0x00C5,
                      EM_REPLACESEL = 0x00C2, EM_SETREADONLY = 0x00CF, EM_SETPASSWORDCHAR = 0x00CC,
                      EM_GETPASSWORDCHAR = 0x00D2, EM_GETLIMITTEXT = 0x00D5;
inline constexpr WORD EN_SETFOCUS = 0x0100, EN_KILLFOCUS = 0x0200, EN_CHANGE = 0x0300, EN_UPDATE = 0x0400,
                      EN_MAXTEXT = 0x0501;

// Static
inline constexpr DWORD SS_LEFT = 0x0, SS_ICON = 0x3, SS_CENTERIMAGE = 0x200, SS_NOTIFY = 0x100;
inline constexpr WORD STN_CLICKED = 0;

// Combo and list boxes
inline constexpr DWORD CBS_DROPDOWN = 0x2, CBS_DROPDOWNLIST = 0x3;
inline constexpr UINT CB_GETEDITSEL = 0x0140, CB_ADDSTRING = 0x0143, CB_DELETESTRING = 0x0144,
                      CB_GETCOUNT = 0x0146, CB_GETCURSEL = 0x0147, CB_GETLBTEXT = 0x0148, CB_GETLBTEXTLEN = 0x0149,
                      CB_INSERTSTRING = 0x014A, CB_RESETCONTENT = 0x014B, CB_SETCURSEL = 0x014E,
                      CB_GETITEMDATA = 0x0150, CB_SETITEMDATA = 0x0151, CB_FINDSTRINGEXACT = 0x0158;
inline constexpr WORD CBN_SELCHANGE = 1;
inline constexpr UINT LB_ADDSTRING = 0x0180, LB_INSERTSTRING = 0x0181, LB_DELETESTRING = 0x0182,
                      LB_RESETCONTENT = 0x0184, LB_SETCURSEL = 0x0186, LB_GETCURSEL = 0x0188, LB_GETTEXT = 0x0189,
                      LB_GETCOUNT = 0x018B, LB_GETITEMDATA = 0x0199, LB_SETITEMDATA = 0x019A;
inline constexpr WORD LBN_SELCHANGE = 1, LBN_DBLCLK = 2;
inline constexpr LRESULT CB_ERR = -1, LB_ERR = -1;

// Virtual keys
inline constexpr WORD VK_BACK = 0x08, VK_TAB = 0x09, VK_RETURN = 0x0D, VK_SHIFT = 0x10, VK_CONTROL = 0x11,
                      VK_MENU = 0x12, VK_ESCAPE = 0x1B, VK_SPACE = 0x20, VK_END = 0x23, VK_HOME = 0x24,
                      VK_LEFT = 0x25, VK_UP = 0x26, VK_RIGHT = 0x27, VK_DOWN = 0x28, VK_DELETE = 0x2E,
                      VK_F1 = 0x70, VK_LWIN = 0x5B;

// Generic notifications (WM_NOTIFY)
inline constexpr UINT NM_FIRST = 0, NM_CLICK = NM_FIRST - 2, NM_DBLCLK = NM_FIRST - 3, NM_RETURN = NM_FIRST - 4;

// Painting, mouse and hit testing
inline constexpr UINT WM_PAINT = 0x000F, WM_SETCURSOR = 0x0020, WM_DRAWITEM = 0x002B, WM_GETFONT = 0x0031,
                      WM_NCHITTEST = 0x0084, WM_CTLCOLORBTN = 0x0135, WM_CTLCOLORSTATIC = 0x0138,
                      WM_MOUSEMOVE = 0x0200, WM_MOUSELEAVE = 0x02A3;
inline constexpr LRESULT HTTRANSPARENT = -1, HTNOWHERE = 0, HTCLIENT = 1;
inline constexpr LPARAM MAKELPARAM(int low, int high)
{
    return static_cast<LPARAM>(static_cast<std::uint32_t>(static_cast<WORD>(low)) |
                               (static_cast<std::uint32_t>(static_cast<WORD>(high)) << 16));
}
// The signed coordinates a mouse message carries in lParam.
inline constexpr int GET_X_LPARAM(LPARAM v) { return static_cast<std::int16_t>(LOWORD(static_cast<std::uintptr_t>(v))); }
inline constexpr int GET_Y_LPARAM(LPARAM v) { return static_cast<std::int16_t>(HIWORD(static_cast<std::uintptr_t>(v))); }

struct SIZE {
    std::int32_t cx = 0, cy = 0;
    bool operator==(const SIZE&) const = default;
};

// Static icons
inline constexpr UINT STM_SETICON = 0x0170, STM_GETICON = 0x0171;

// Combo box item height (wParam -1: the selection field)
inline constexpr UINT CB_SETITEMHEIGHT = 0x0153, CB_GETITEMHEIGHT = 0x0154;

// Results of COM-style operations
using HRESULT = std::int32_t;
inline constexpr HRESULT S_OK = 0, S_FALSE = 1, E_FAIL = static_cast<HRESULT>(0x80004005);
