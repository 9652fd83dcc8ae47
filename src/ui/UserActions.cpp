#include "ui/UserActions.h"

#include <algorithm>

#include "ui/CommonControls.h"
#include "ui/ControlTable.h"
#include "ui/Controls.h"
#include "ui/Mouse.h"
#include "ui/Window.h"
#include "ui/Wnd.h"
#include "zrstd/Strings.h"

namespace ui {

namespace {

std::string Name(HWND control) { return NameForUser(control); }

std::string Quoted(const std::wstring& text) { return std::string(1, '"').append(ZRSTD::ToUtf8(text)).append(1, '"'); }

std::string ChoiceList(const std::vector<std::wstring>& choices)
{
    if (choices.empty()) return "none";
    std::string list;
    for (std::size_t i = 0; i < choices.size(); ++i)
        list += (i ? ", #" : "#") + std::to_string(i + 1) + " " + Quoted(choices[i]);
    return list;
}

// The choice a person names: its text as shown, the same text in another
// case, or "#N" counting from 1; refused with the choices there are.
int ChoiceIndex(HWND control, const std::wstring& named, const char* what)
{
    const std::vector<std::wstring> choices = ChoicesOf(control);
    for (std::size_t i = 0; i < choices.size(); ++i)
        if (choices[i] == named) return static_cast<int>(i);
    const std::wstring lower = ZRSTD::ToLower(named);
    for (std::size_t i = 0; i < choices.size(); ++i)
        if (ZRSTD::ToLower(choices[i]) == lower) return static_cast<int>(i);
    if (named.size() > 1 && named[0] == L'#' && named.find_first_not_of(L"0123456789", 1) == std::wstring::npos &&
        named.size() < 10) {
        const int number = std::stoi(ZRSTD::ToUtf8(named.substr(1)));
        if (number >= 1 && number <= static_cast<int>(choices.size())) return number - 1;
    }
    throw ActionRefused(Name(control) + " has no " + what + " " + Quoted(named) + " (" + what + "s: " +
                        ChoiceList(choices) + ")");
}

// Refuses text the field did not take as asked (a field that takes numbers
// in a range keeps what it had for a keystroke that would leave it).
void RequireShown(HWND edit, const std::wstring& asked, std::wstring_view typed)
{
    const std::wstring shown = GetWindowTextW(edit);
    if (shown == asked) return;
    // what a password field holds, or was given, is never repeated
    if (SendMessageW(edit, EM_GETPASSWORDCHAR, 0, 0) != 0)
        throw ActionRefused(Name(edit) + " did not take what was typed");
    std::string message = Name(edit) + " shows " + Quoted(shown) + " after " + Quoted(std::wstring(typed)) + " was typed";
    if (const auto range = NumberRange(edit))
        message += " (it takes " + std::to_string(range->first) + " to " + std::to_string(range->second) + ")";
    throw ActionRefused(message);
}

// Types each character of text into the focused edit; a line break ("\n"
// or "\r\n") is a press of Enter.
void TypeCharacters(HWND edit, std::wstring_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        wchar_t c = text[i];
        if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') continue;
        if (c == L'\n') c = VK_RETURN;
        SendMessageW(edit, WM_CHAR, static_cast<WPARAM>(c), 0);
    }
}

// Text as an edit shows it when typed: a multi-line edit ends its lines with "\r\n".
std::wstring AsShown(HWND edit, std::wstring_view text)
{
    if ((GetWindowLongW(edit, GWL_STYLE) & ES_MULTILINE) == 0) return std::wstring(text);
    std::wstring shown;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') continue;
        shown += text[i] == L'\n' ? std::wstring(L"\r\n") : std::wstring(1, text[i]);
    }
    return shown;
}

void RequireUsable(HWND control)
{
    if (!IsWindow(control)) throw ActionRefused("the control does not exist");
    if (!IsWindowVisible(control)) throw ActionRefused(Name(control) + " is hidden");
    if (!IsWindowEnabled(control)) throw ActionRefused(Name(control) + " is disabled");
}

void RequireEditable(HWND edit)
{
    RequireUsable(edit);
    if (GetWindowLongW(edit, GWL_STYLE) & ES_READONLY) throw ActionRefused(Name(edit) + " is read-only");
}

POINT Centre(HWND control)
{
    const RECT client = GetClientRect(control);
    return POINT{client.Width() / 2, client.Height() / 2};
}

// The window that receives mouse input at a point of the control, with the
// point in its client coordinates.
std::pair<HWND, POINT> MouseTarget(HWND control, POINT client)
{
    const POINT screen = ClientToScreen(control, client);
    HWND target = control;
    const LPARAM at = MAKELPARAM(screen.x, screen.y);
    while (SendMessageW(target, WM_NCHITTEST, 0, at) == HTTRANSPARENT && GetParent(target)) target = GetParent(target);
    return {target, ScreenToClient(target, screen)};
}

void SendMouse(HWND control, POINT client, UINT message)
{
    RequireUsable(control);
    const auto [target, point] = MouseTarget(control, client);
    SetCursorPos(ClientToScreen(target, point));
    SendMessageW(target, message, 0, MAKELPARAM(point.x, point.y));
}

}  // namespace

HWND FindControl(HWND dialog, int id)
{
    if (HWND control = GetDlgItem(dialog, id)) return control;
    // a control of a dialog embedded in this one
    for (HWND control : DialogControls(dialog))
        if (GetDlgCtrlID(control) == id) return control;
    throw ActionRefused("there is no control " + std::to_string(id));
}

void Type(HWND edit, std::wstring_view text)
{
    RequireEditable(edit);
    if (GetFocus() != edit) {
        // clicking into the field puts the caret after its text
        SetFocus(edit);
        const auto length = static_cast<WPARAM>(GetWindowTextW(edit).size());
        SendMessageW(edit, EM_SETSEL, length, static_cast<LPARAM>(length));
    }
    TypeCharacters(edit, text);
}

void ClearText(HWND edit)
{
    RequireEditable(edit);
    SetFocus(edit);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SendMessageW(edit, WM_KEYDOWN, VK_DELETE, 0);
    SendMessageW(edit, WM_KEYUP, VK_DELETE, 0);
}

void ReplaceText(HWND edit, std::wstring_view text)
{
    if (text.empty()) {
        ClearText(edit);
        return;
    }
    RequireEditable(edit);
    SetFocus(edit);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    TypeCharacters(edit, text);
}

void EnterText(HWND edit, std::wstring_view text)
{
    ReplaceText(edit, text);
    RequireShown(edit, AsShown(edit, text), text);
}

void AppendText(HWND edit, std::wstring_view text)
{
    RequireEditable(edit);
    const std::wstring asked = GetWindowTextW(edit) + AsShown(edit, text);
    SetFocus(edit);
    const auto length = static_cast<WPARAM>(GetWindowTextW(edit).size());
    SendMessageW(edit, EM_SETSEL, length, static_cast<LPARAM>(length));
    Type(edit, text);
    RequireShown(edit, asked, text);
}

void EnterAddress(HWND address, std::wstring_view text)
{
    RequireUsable(address);
    int fields[4] = {-1, -1, -1, -1};
    std::size_t field = 0, digits = 0;
    bool good = true;
    for (wchar_t c : text) {
        if (c == L'.') {
            good = good && digits > 0 && ++field < 4;
            digits = 0;
        } else if (c >= L'0' && c <= L'9' && field < 4 && digits < 3) {
            fields[field] = (fields[field] < 0 ? 0 : fields[field] * 10) + (c - L'0');
            ++digits;
        } else {
            good = false;
        }
    }
    good = good && (text.empty() || (field == 3 && digits > 0));
    for (int value : fields) good = good && value <= 255;
    if (!good)
        throw ActionRefused(Name(address) + " takes an address as four numbers 0 to 255 with dots between, not " +
                            Quoted(std::wstring(text)));
    for (int i = 0; i < 4; ++i) SetIpField(address, i, fields[i]);
}

void SelectText(HWND edit, int start, int end)
{
    RequireUsable(edit);
    SetFocus(edit);
    SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(start), end);
}

void Paste(HWND edit, const std::wstring& text)
{
    RequireEditable(edit);
    SetFocus(edit);
    SetClipboardText(text);
    SendMessageW(edit, WM_PASTE, 0, 0);
}

void Click(HWND control)
{
    RequireUsable(control);
    ClickAt(control, Centre(control));
}

void ClickAt(HWND control, POINT client)
{
    SendMouse(control, client, WM_LBUTTONDOWN);
    if (IsWindow(control)) MouseUp(control, client);
}

void MouseDown(HWND control, POINT client) { SendMouse(control, client, WM_LBUTTONDOWN); }
void MouseDown(HWND control)
{
    RequireUsable(control);
    MouseDown(control, Centre(control));
}

void MouseUp(HWND control, POINT client)
{
    if (!IsWindow(control)) throw ActionRefused("the control does not exist");
    // the release goes where the press went, even when the control became disabled meanwhile
    const auto [target, point] = MouseTarget(control, client);
    SetCursorPos(ClientToScreen(target, point));
    SendMessageW(target, WM_LBUTTONUP, 0, MAKELPARAM(point.x, point.y));
}
void MouseUp(HWND control) { MouseUp(control, Centre(control)); }

void MoveMouse(HWND control, POINT client)
{
    if (!IsWindow(control)) throw ActionRefused("the control does not exist");
    if (!IsWindowVisible(control)) throw ActionRefused(Name(control) + " is hidden");
    const auto [target, point] = MouseTarget(control, client);
    const HWND tracking = GetMouseTrackingWindow();
    if (tracking && tracking != target) {
        ClearMouseTracking();
        SendMessageW(tracking, WM_MOUSELEAVE, 0, 0);
    }
    SetCursorPos(ClientToScreen(target, point));
    if (!SendMessageW(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)))
        SetCursor(LoadCursorW(IDC_ARROW));
    SendMessageW(target, WM_MOUSEMOVE, 0, MAKELPARAM(point.x, point.y));
}

void MoveMouseOver(HWND control) { MoveMouse(control, Centre(control)); }

void MoveMouseAway()
{
    const HWND tracking = GetMouseTrackingWindow();
    ClearMouseTracking();
    SetCursorPos(POINT{-1000, -1000});
    SetCursor(LoadCursorW(IDC_ARROW));
    if (tracking) SendMessageW(tracking, WM_MOUSELEAVE, 0, 0);
}

void DoubleClick(HWND control)
{
    Click(control);
    SendMouse(control, Centre(control), WM_LBUTTONDBLCLK);
    SendMouse(control, Centre(control), WM_LBUTTONUP);
}

void SetChecked(HWND button, bool checked)
{
    RequireUsable(button);
    const UINT wanted = checked ? BST_CHECKED : BST_UNCHECKED;
    for (int i = 0; i < 3 && static_cast<UINT>(SendMessageW(button, BM_GETCHECK, 0, 0)) != wanted; ++i) Click(button);
    if (static_cast<UINT>(SendMessageW(button, BM_GETCHECK, 0, 0)) != wanted)
        throw ActionRefused("clicking " + Name(button) + " does not " + (checked ? "check" : "clear") + " it");
}

namespace {

// The row of a list view a person names; refused for any other control or row.
int RowOf(HWND list, const std::wstring& rowText)
{
    RequireUsable(list);
    if (GetClassName(list) != L"SysListView32") throw ActionRefused(Name(list) + " has no rows");
    return ChoiceIndex(list, rowText, "row");
}

}  // namespace

void SetRowChecked(HWND list, const std::wstring& rowText, bool checked)
{
    SetListCheck(list, RowOf(list, rowText), checked);
}

void SelectItem(HWND box, const std::wstring& itemText)
{
    RequireUsable(box);
    if (GetClassName(box) == L"SysListView32") {
        ClickListItem(box, RowOf(box, itemText));
        return;
    }
    const bool combo = GetClassName(box) == L"ComboBox" || GetClassName(box) == L"ComboBoxEx32";
    if (!combo && GetClassName(box) != L"ListBox") throw ActionRefused(Name(box) + " has no items to choose");
    const int item = ChoiceIndex(box, itemText, "item");
    SetFocus(box);
    SendMessageW(box, combo ? CB_SETCURSEL : LB_SETCURSEL, static_cast<WPARAM>(item), 0);
    NotifyParentCommand(box, combo ? CBN_SELCHANGE : LBN_SELCHANGE);
}

void KeyPress(HWND control, WORD key, Modifiers modifiers)
{
    RequireUsable(control);
    SetFocus(control);
    const std::pair<WORD, bool> held[] = {
        {VK_CONTROL, modifiers.control}, {VK_SHIFT, modifiers.shift}, {VK_MENU, modifiers.alt}, {VK_LWIN, modifiers.windows}};
    for (const auto& [vk, down] : held) SetKeyDown(vk, down);
    // the message loop offers the key to the dialogs around the control first (accelerators)
    for (HWND ancestor = GetParent(control); ancestor; ancestor = GetParent(ancestor)) {
        auto* dialog = dynamic_cast<CDialog*>(CWnd::FromHandle(ancestor));
        if (dialog && dialog->PreTranslateKey(key)) {
            for (const auto& [vk, down] : held) SetKeyDown(vk, false);
            return;
        }
    }
    if (key == VK_TAB) {
        // the dialog moves the focus to the next (or, with Shift, the previous) tab stop
        const std::vector<HWND> siblings = GetChildren(GetParent(control));
        const auto count = static_cast<std::ptrdiff_t>(siblings.size());
        const auto self = std::find(siblings.begin(), siblings.end(), control) - siblings.begin();
        for (std::ptrdiff_t step = 1; step < count; ++step) {
            const HWND next = siblings[static_cast<std::size_t>(((self + (modifiers.shift ? -step : step)) % count + count) % count)];
            if ((GetWindowLongW(next, GWL_STYLE) & WS_TABSTOP) && IsWindowEnabled(next) && IsWindowVisible(next)) {
                SetFocus(next);
                break;
            }
        }
        for (const auto& [vk, down] : held) SetKeyDown(vk, false);
        return;
    }
    SendMessageW(control, WM_KEYDOWN, key, 0);
    if (key == VK_SPACE || key == VK_RETURN || key == VK_BACK) SendMessageW(control, WM_CHAR, key, 0);
    SendMessageW(control, WM_KEYUP, key, 0);
    for (const auto& [vk, down] : held) SetKeyDown(vk, false);
}

void KeyDown(HWND control, WORD key)
{
    RequireUsable(control);
    SetFocus(control);
    SendMessageW(control, WM_KEYDOWN, key, 0);
}

void KeyUp(HWND control, WORD key)
{
    if (!IsWindow(control)) throw ActionRefused("the control does not exist");
    SendMessageW(GetFocus() ? GetFocus() : control, WM_KEYUP, key, 0);
}

}  // namespace ui
