#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ui/Api.h"
#include "ui/Win32.h"

// A dialog's controls as a user sees them, for the page host and the console host.
namespace ui {

struct ControlState {
    int id = 0;
    std::wstring kind;   // "button", "check box", "radio", "edit", "label", "combo", "list", "group", ...
    std::wstring label;  // what names it to a person: its own caption, or the label before it
    std::wstring text;   // caption, or the edit's text (a password edit shows its mask)
    std::wstring state;  // "checked", "selected: item", "" ...
    std::wstring tooltip;  // what resting the mouse on it shows
    bool enabled = true;
    bool visible = true;
};

UI_API std::vector<ControlState> DescribeControls(HWND dialog);

// The controls a person sees in a dialog: its children, where a dialog
// embedded in it (a child dialog, not a modal one it owns) stands for the
// controls it holds.
UI_API std::vector<HWND> DialogControls(HWND dialog);

// What names a control to a person, without accelerator marks or a closing
// colon, on one line: a button's or label's own caption; for a field, the
// nearest caption before it in the dialog (its label, or the check box it
// follows); a part of a control made of others is named by that control.
UI_API std::wstring ControlLabel(HWND control);
// A control as messages name it: its id and label, e.g. 6009 "Размер, МБ".
UI_API std::string NameForUser(HWND control);
// The numbers an edit takes, when an up-down control serves it.
UI_API std::optional<std::pair<int, int>> NumberRange(HWND edit);
// The items of a combo or list box, or the first cells of a list view's rows.
UI_API std::vector<std::wstring> ChoicesOf(HWND control);
// One line per control: id, kind, enabled/visible, text (line breaks written
// "\n") and state; UTF-8.
UI_API std::string FormatControlTable(const std::vector<ControlState>& controls);

}  // namespace ui
