#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ui/Api.h"
#include "ui/Win32.h"
#include "ui/Window.h"

// The rich edit: an edit that can report changes and links to its parent
// (event mask) and detect addresses in its text. Text is laid out headless
// in fixed cells, kRichEditCharWidth by kRichEditLineHeight pixels, one line
// per line break, so that a point maps to a character and back.
inline constexpr UINT EM_POSFROMCHAR = 0x00D6, EM_CHARFROMPOS = 0x00D7, EM_GETEVENTMASK = WM_USER + 59,
                      EM_SETEVENTMASK = WM_USER + 69, EM_GETTEXTRANGE = WM_USER + 75, EM_AUTOURLDETECT = WM_USER + 91;
inline constexpr DWORD ENM_CHANGE = 0x00000001, ENM_LINK = 0x04000000;
inline constexpr UINT EN_LINK = 0x070B;
inline constexpr int kRichEditCharWidth = 6, kRichEditLineHeight = 16;

struct CHARRANGE {
    std::int32_t cpMin = 0, cpMax = 0;
};
// EN_LINK: the mouse message over a link, and the link's characters.
struct ENLINK {
    NMHDR nmhdr;
    UINT msg = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    CHARRANGE chrg;
};
struct TEXTRANGEW {
    CHARRANGE chrg;
    wchar_t* lpstrText = nullptr;  // room for the range and a terminator
};

namespace ui {

// The addresses automatic detection finds: from "http://", "https://",
// "ftp://", "mailto:" or "www." up to a blank or one of < > " , without a
// final punctuation mark.
UI_API std::vector<CHARRANGE> FindUrls(std::wstring_view text);
// The rich edit's procedure over an edit's.
UI_API WindowProc RichEditProc(WindowProc edit);
// A user action: a click on the first occurrence of text in the rich edit;
// ActionRefused when the edit does not hold it.
UI_API void ClickRichEditText(HWND richEdit, std::wstring_view text);

}  // namespace ui
