#include "ui/ControlTable.h"

#include <algorithm>

#include "ui/CommonControls.h"
#include "ui/Window.h"
#include "ui/Wnd.h"
#include "zrstd/Format.h"
#include "zrstd/Strings.h"

namespace ui {

namespace {

// Every row as the user reads it: its first cell, with the check box's state
// in front when the list has check boxes, and the selection marked.
std::wstring DescribeRows(HWND list)
{
    const auto rows = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    if (rows == 0) return L"no rows";
    const bool checks = (SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_CHECKBOXES) != 0;
    std::wstring described;
    for (int row = 0; row < rows; ++row) {
        if (row) described += L"; ";
        if (checks) described += IsListRowChecked(list, row) ? L"[x] " : L"[ ] ";
        described += L"\"" + GetListRowText(list, row) + L"\"";
        if (IsListRowSelected(list, row)) described += L" (selected)";
    }
    return described;
}

ControlState DescribeControl(HWND child)
{
        ControlState control;
        control.id = GetDlgCtrlID(child);
        control.enabled = IsWindowEnabled(child);
        control.visible = (GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE) != 0;
        control.text = GetWindowTextW(child);
        const std::wstring className = GetClassName(child);
        const DWORD style = GetWindowLongW(child, GWL_STYLE);
        if (className == L"Button") {
            const DWORD type = style & BS_TYPEMASK;
            const UINT check = static_cast<UINT>(SendMessageW(child, BM_GETCHECK, 0, 0));
            if (type == BS_GROUPBOX) {
                control.kind = L"group";
            } else if (type == BS_AUTOCHECKBOX || type == BS_CHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE) {
                control.kind = L"check box";
                control.state = check == BST_CHECKED ? L"checked" : check == BST_INDETERMINATE ? L"indeterminate" : L"cleared";
            } else if (type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON) {
                control.kind = L"radio";
                control.state = check == BST_CHECKED ? L"selected" : L"";
            } else {
                control.kind = L"button";
            }
        } else if (className == L"Edit" || className == L"RichEdit20W") {
            control.kind = (style & ES_READONLY) ? L"read-only edit" : L"edit";
            const auto mask = static_cast<wchar_t>(SendMessageW(child, EM_GETPASSWORDCHAR, 0, 0));
            if (mask) control.text = std::wstring(control.text.size(), mask);
        } else if (className == L"Static") {
            control.kind = L"label";
        } else if (className == L"ComboBox" || className == L"ComboBoxEx32" || className == L"ListBox") {
            const bool combo = className != L"ListBox";
            control.kind = combo ? L"combo" : L"list";
            const LRESULT selection = SendMessageW(child, combo ? CB_GETCURSEL : LB_GETCURSEL, 0, 0);
            std::wstring selected;
            if (selection >= 0)
                SendMessageW(child, combo ? CB_GETLBTEXT : LB_GETTEXT, static_cast<WPARAM>(selection),
                             reinterpret_cast<LPARAM>(&selected));
            control.state = selection >= 0 ? L"selected: " + selected : L"nothing selected";
            control.text.clear();
        } else if (className == L"msctls_updown32") {
            control.kind = L"spin";
        } else if (className == L"SysListView32") {
            control.kind = L"list view";
            control.state = DescribeRows(child);
        } else if (className == L"SysDateTimePick32") {
            control.kind = L"time picker";
            SYSTEMTIME time;
            SendMessageW(child, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time));
            control.text = ZRSTD::FormatW(L"%04u-%02u-%02u %02u:%02u", time.wYear, time.wMonth, time.wDay, time.wHour,
                                          time.wMinute);
        } else {
            control.kind = ZRSTD::ToLower(className);
        }
        control.tooltip = TooltipTextFor(child);
        return control;
}

std::wstring WithoutMarks(std::wstring text)
{
    std::wstring plain;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'&' && i + 1 < text.size() && text[i + 1] == L'&') {
            plain += L'&';
            ++i;
        } else if (text[i] == L'\r' || text[i] == L'\n') {
            // a caption over several lines names its control on one
            if (!plain.empty() && plain.back() != L' ') plain += L' ';
        } else if (text[i] != L'&') {
            plain += text[i];
        }
    }
    plain = ZRSTD::Trim(plain);
    if (plain.size() > 1 && plain.back() == L':') plain.pop_back();
    return ZRSTD::Trim(plain);
}

bool IsPartOfControl(HWND window)
{
    const HWND parent = GetParent(window);
    return parent && GetParent(parent) && dynamic_cast<CDialog*>(CWnd::FromHandle(parent)) == nullptr;
}

bool HasOwnCaption(HWND window)
{
    const std::wstring kind = GetClassName(window);
    return kind == L"Button" || kind == L"Static";
}

}  // namespace

std::wstring ControlLabel(HWND control)
{
    if (!IsWindow(control)) return L"";
    if (IsPartOfControl(control)) return ControlLabel(GetParent(control));
    if (HasOwnCaption(control)) {
        std::wstring own = WithoutMarks(GetWindowTextW(control));
        if (!own.empty() || GetClassName(control) == L"Button") return own;
    }
    // the nearest caption before it: its label, or the check box it belongs to
    const std::vector<HWND> siblings = GetChildren(GetParent(control));
    auto self = std::find(siblings.begin(), siblings.end(), control);
    while (self != siblings.begin()) {
        --self;
        if (!HasOwnCaption(*self) || !(GetWindowLongW(*self, GWL_STYLE) & WS_VISIBLE)) continue;
        const std::wstring caption = WithoutMarks(GetWindowTextW(*self));
        if (!caption.empty()) return caption;
    }
    return L"";
}

std::string NameForUser(HWND control)
{
    const HWND named = IsPartOfControl(control) ? GetParent(control) : control;
    const std::wstring label = ControlLabel(named);
    std::string name = std::to_string(GetDlgCtrlID(named));
    if (!label.empty()) name += " \"" + ZRSTD::ToUtf8(label) + "\"";
    return name;
}

std::optional<std::pair<int, int>> NumberRange(HWND edit)
{
    for (HWND sibling : GetChildren(GetParent(edit))) {
        if (GetClassName(sibling) != L"msctls_updown32") continue;
        if (reinterpret_cast<HWND>(SendMessageW(sibling, UDM_GETBUDDY, 0, 0)) != edit) continue;
        int low = 0, high = 0;
        SendMessageW(sibling, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
        return std::pair{std::min(low, high), std::max(low, high)};
    }
    return std::nullopt;
}

std::vector<std::wstring> ChoicesOf(HWND control)
{
    std::vector<std::wstring> choices;
    const std::wstring kind = GetClassName(control);
    if (kind == L"SysListView32") {
        const auto rows = static_cast<int>(SendMessageW(control, LVM_GETITEMCOUNT, 0, 0));
        for (int row = 0; row < rows; ++row) choices.push_back(GetListRowText(control, row));
        return choices;
    }
    const bool combo = kind == L"ComboBox" || kind == L"ComboBoxEx32";
    if (!combo && kind != L"ListBox") return choices;
    const LRESULT count = SendMessageW(control, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::wstring text;
        SendMessageW(control, combo ? CB_GETLBTEXT : LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&text));
        choices.push_back(std::move(text));
    }
    return choices;
}

std::vector<HWND> DialogControls(HWND dialog)
{
    std::vector<HWND> controls;
    for (HWND child : GetChildren(dialog)) {
        // a modal dialog (a popup its owner parents) is no part of the owner
        if (GetClassName(child) != L"#32770" || !(GetWindowLongW(child, GWL_STYLE) & WS_CHILD)) {
            controls.push_back(child);
            continue;
        }
        for (HWND inner : DialogControls(child)) controls.push_back(inner);
    }
    return controls;
}

std::vector<ControlState> DescribeControls(HWND dialog)
{
    std::vector<ControlState> controls;
    for (HWND child : DialogControls(dialog)) {
        ControlState control = DescribeControl(child);
        control.label = ControlLabel(child);
        // a control made of others (a drop-down with an icon beside it) shows
        // as its drop-down, with whatever tip its parts give
        for (HWND part : GetChildren(child)) {
            const ControlState inner = DescribeControl(part);
            if (inner.kind == L"combo" && control.kind == L"label") {
                control.kind = L"drop-down";
                control.state = inner.state;
                control.enabled = control.enabled && inner.enabled;
            }
            if (control.tooltip.empty()) control.tooltip = inner.tooltip;
        }
        controls.push_back(std::move(control));
    }
    return controls;
}

std::string FormatControlTable(const std::vector<ControlState>& controls)
{
    // a text of several lines stays on its control's line, its breaks written "\n"
    auto oneLine = [](const std::wstring& text) {
        return ZRSTD::ReplaceAll(ZRSTD::ReplaceAll(ZRSTD::ReplaceAll(text, L"\r\n", L"\n"), L"\r", L"\\r"), L"\n",
                                 L"\\n");
    };
    std::wstring table;
    for (const auto& control : controls) {
        table += ZRSTD::FormatW(L"%6d  %-14s %-8s %-7s", control.id, control.kind,
                                control.enabled ? L"enabled" : L"disabled", control.visible ? L"shown" : L"hidden");
        if (!control.text.empty()) table += L"  \"" + oneLine(control.text) + L"\"";
        if (!control.state.empty()) table += L"  [" + control.state + L"]";
        if (!control.tooltip.empty()) table += L"  (tip: " + control.tooltip + L")";
        table += L"\n";
    }
    return ZRSTD::ToUtf8(table);
}

}  // namespace ui
