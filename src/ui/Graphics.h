#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ui/Api.h"
#include "ui/Win32.h"

// Drawing without a screen. Fonts, bitmaps, icons, brushes and image lists
// are handles into a table (a deleted handle is recognised as stale). A
// device context records what is drawn into it, so that what a window shows
// can be read back: ui::Paint sends the window WM_PAINT with a recording
// context in wParam and returns what it drew.
struct HFONT__;
using HFONT = HFONT__*;
struct HBITMAP__;
using HBITMAP = HBITMAP__*;
struct HICON__;
using HICON = HICON__*;
struct HBRUSH__;
using HBRUSH = HBRUSH__*;
struct HIMAGELIST__;
using HIMAGELIST = HIMAGELIST__*;
struct HDC__;
using HDC = HDC__*;

struct LOGFONTW {
    std::int32_t lfHeight = -11;  // negative: the character height in pixels
    std::int32_t lfWeight = 400;
    BYTE lfItalic = 0;
    BYTE lfUnderline = 0;
    BYTE lfStrikeOut = 0;
    std::wstring lfFaceName = L"MS Shell Dlg 2";
    bool operator==(const LOGFONTW&) const = default;
};
inline constexpr std::int32_t FW_NORMAL = 400, FW_BOLD = 700;

// Stock objects
inline constexpr int NULL_BRUSH = 5, DEFAULT_GUI_FONT = 17;

UI_API HFONT CreateFontIndirectW(const LOGFONTW& font);
// The description of a live font; false for a stale or null handle.
UI_API bool GetFontInfo(HFONT font, LOGFONTW& out);
UI_API HFONT GetStockFont(int which);
UI_API HBRUSH GetStockBrush(int which);
UI_API HBRUSH CreateSolidBrush(COLORREF colour);
// Stock objects stay; false for a stale handle.
UI_API bool DeleteObject(HFONT font);
UI_API bool DeleteObject(HBITMAP bitmap);
UI_API bool DeleteObject(HBRUSH brush);
UI_API bool IsFont(HFONT font);

// Bitmaps: a resource of type "BITMAP" in the own module holds a bitmap
// information header (its width and height as 32-bit little-endian numbers at
// offsets 4 and 8); the pixels are not kept.
UI_API HBITMAP LoadBitmapResource(UINT id);
UI_API HBITMAP CreateBitmap(int width, int height);
UI_API bool GetBitmapSize(HBITMAP bitmap, SIZE& size);

// Icons: a resource of type "ICON" in the own module, at the size asked for.
UI_API HICON LoadIconResource(UINT id, int width, int height);
UI_API bool DestroyIcon(HICON icon);
UI_API bool IsIcon(HICON icon);
struct IconInfo {
    UINT resourceId = 0;
    SIZE size;
};
UI_API bool GetIconInfo(HICON icon, IconInfo& info);

// Image lists: images of one size, from bitmap strips or icons.
inline constexpr UINT ILC_MASK = 0x1, ILC_COLOR32 = 0x20;
inline constexpr UINT ILD_NORMAL = 0x0, ILD_TRANSPARENT = 0x1;
UI_API HIMAGELIST ImageList_Create(int width, int height, UINT flags, int initial, int grow);
UI_API bool ImageList_Destroy(HIMAGELIST list);
// Cuts the bitmap into images of the list's width; the first new index, or -1.
UI_API int ImageList_AddMasked(HIMAGELIST list, HBITMAP bitmap, COLORREF mask);
UI_API int ImageList_AddIcon(HIMAGELIST list, HICON icon);
UI_API int ImageList_GetImageCount(HIMAGELIST list);
UI_API bool ImageList_GetIconSize(HIMAGELIST list, int& width, int& height);
// A new icon of the list's size made from an image (the caller destroys it).
UI_API HICON ImageList_GetIcon(HIMAGELIST list, int index, UINT flags);
UI_API bool ImageList_Draw(HIMAGELIST list, int index, HDC dc, int x, int y, UINT style);
struct ImageListInfo {
    SIZE imageSize;
    UINT flags = 0;
    int grow = 0;
    COLORREF mask = 0;  // the mask colour of the last masked strip
    std::vector<UINT> sources;  // per image: the resource it came from
};
UI_API bool GetImageListInfo(HIMAGELIST list, ImageListInfo& info);

// What a recording device context holds.
struct DrawOp {
    enum class Kind { Text, Frame, Image, Icon, Fill, Bitmap };
    Kind kind = Kind::Text;
    RECT rect;
    std::wstring text;         // Text
    COLORREF colour = 0;       // Text: the text colour; Fill: the brush colour
    LOGFONTW font;             // Text: the font
    bool transparent = false;  // Text: drawn without its background
    int image = -1;            // Image: the index in its list
    UINT state = 0;            // Frame: the DFCS_ state; Image: the ILD_ style
    UINT resourceId = 0;       // Image, Icon, Bitmap: the resource shown
};

inline constexpr int TRANSPARENT = 1, OPAQUE = 2;
inline constexpr UINT DT_LEFT = 0x0, DT_CENTER = 0x1, DT_VCENTER = 0x4, DT_SINGLELINE = 0x20, DT_END_ELLIPSIS = 0x8000;
inline constexpr UINT DFC_BUTTON = 4, DFCS_BUTTONPUSH = 0x10, DFCS_INACTIVE = 0x100, DFCS_PUSHED = 0x200;

UI_API COLORREF SetTextColor(HDC dc, COLORREF colour);
UI_API COLORREF GetTextColor(HDC dc);
UI_API int SetBkMode(HDC dc, int mode);
// Returns the font selected before (null: the default GUI font).
UI_API HFONT SelectObject(HDC dc, HFONT font);
UI_API HFONT GetCurrentFont(HDC dc);
UI_API int DrawTextW(HDC dc, std::wstring_view text, const RECT& rect, UINT format);
UI_API bool DrawFrameControl(HDC dc, const RECT& rect, UINT type, UINT state);
UI_API bool FillRect(HDC dc, const RECT& rect, HBRUSH brush);
UI_API bool DrawIconEx(HDC dc, int x, int y, HICON icon, int width, int height);
UI_API bool StretchBitmap(HDC dc, const RECT& destination, HBITMAP bitmap);
// The extent of a line of text in the font: a character is half the font's
// height wide (one more when bold), a line is the height and three.
UI_API SIZE MeasureText(HFONT font, std::wstring_view text);
UI_API SIZE GetTextExtentPoint32W(HDC dc, std::wstring_view text);

// Owner-drawn controls are asked to draw with WM_DRAWITEM.
inline constexpr UINT ODT_BUTTON = 4, ODT_STATIC = 5;
inline constexpr UINT ODA_DRAWENTIRE = 0x1;
inline constexpr UINT ODS_SELECTED = 0x1, ODS_DISABLED = 0x4, ODS_FOCUS = 0x10;
struct DRAWITEMSTRUCT {
    UINT CtlType = 0;
    UINT CtlID = 0;
    UINT itemID = 0;
    UINT itemAction = ODA_DRAWENTIRE;
    UINT itemState = 0;
    HWND hwndItem = nullptr;
    HDC hDC = nullptr;
    RECT rcItem;
    LPARAM itemData = 0;
};

// Asks for a repaint; counted per window.
UI_API bool InvalidateRect(HWND window, const RECT* rect = nullptr, bool erase = true);

namespace ui {

// What the window draws now, as a user would see it.
UI_API std::vector<DrawOp> Paint(HWND window);
// How often the window asked to be repainted since it was created.
UI_API int RepaintRequests(HWND window);

}  // namespace ui
