#pragma once

#include <string>
#include <vector>

#include "ui/Api.h"
#include "ui/Win32.h"

// A dialog's controls as a user sees them, for the page host and the console host.
namespace ui {

struct ControlState {
    int id = 0;
    std::wstring kind;   // "button", "check box", "radio", "edit", "label", "combo", "list", "group", ...
    std::wstring text;   // caption, or the edit's text (a password edit shows its mask)
    std::wstring state;  // "checked", "selected: item", "" ...
    std::wstring tooltip;  // what resting the mouse on it shows
    bool enabled = true;
    bool visible = true;
};

UI_API std::vector<ControlState> DescribeControls(HWND dialog);
// One line per control: id, kind, enabled/visible, text and state; UTF-8.
UI_API std::string FormatControlTable(const std::vector<ControlState>& controls);

}  // namespace ui
