#include "ui/Controls.h"

#include <algorithm>
#include <memory>
#include <set>
#include <utility>
#include <vector>

#include "ui/Graphics.h"
#include "ui/Mouse.h"
#include "ui/RichEdit.h"
#include "ui/Window.h"

namespace ui {

namespace {

std::wstring g_clipboard;
std::set<WORD> g_keysDown;

DWORD Style(HWND window) { return GetWindowLongW(window, GWL_STYLE); }

// ---- Button ---------------------------------------------------------------

bool IsRadio(DWORD style) { return (style & BS_TYPEMASK) == BS_RADIOBUTTON || (style & BS_TYPEMASK) == BS_AUTORADIOBUTTON; }

// The radio buttons of window's group: from the nearest WS_GROUP sibling at or before it to the next one.
std::vector<HWND> RadioGroup(HWND window)
{
    const std::vector<HWND> siblings = GetChildren(GetParent(window));
    const auto self = std::find(siblings.begin(), siblings.end(), window);
    if (self == siblings.end()) return {window};
    auto first = self;
    while (first != siblings.begin() && !(Style(*first) & WS_GROUP)) --first;
    std::vector<HWND> group;
    for (auto it = first; it != siblings.end(); ++it) {
        if (it != first && (Style(*it) & WS_GROUP)) break;
        if (IsRadio(Style(*it))) group.push_back(*it);
    }
    return group;
}

WindowProc ButtonProc()
{
    struct State {
        UINT check = BST_UNCHECKED;
        bool pushed = false;
    };
    auto state = std::make_shared<State>();
    return [state](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        const DWORD type = Style(window) & BS_TYPEMASK;
        switch (message) {
        case BM_GETCHECK: return state->check;
        case BM_SETCHECK: state->check = static_cast<UINT>(wParam); return 0;
        case BM_GETSTATE: return state->check | (state->pushed ? BST_PUSHED : 0);
        case BM_SETSTATE: state->pushed = wParam != 0; return 0;
        case BM_SETSTYLE:
            SetWindowLongW(window, GWL_STYLE, (Style(window) & ~0xFFFFu) | static_cast<DWORD>(wParam & 0xFFFF));
            return 0;
        case WM_LBUTTONDOWN:
            if (!IsWindowEnabled(window)) return 0;
            SetFocus(window);
            state->pushed = true;
            return 0;
        case WM_LBUTTONUP:
            if (!state->pushed) return 0;
            state->pushed = false;
            return SendMessageW(window, BM_CLICK, 0, 0);
        case WM_KEYDOWN:
            if (wParam == VK_SPACE && IsWindowEnabled(window)) state->pushed = true;
            return 0;
        case WM_KEYUP:
            if (wParam != VK_SPACE || !state->pushed) return 0;
            state->pushed = false;
            return SendMessageW(window, BM_CLICK, 0, 0);
        case WM_KILLFOCUS: state->pushed = false; return 0;
        case WM_PAINT: {
            const auto dc = reinterpret_cast<HDC>(wParam);
            if (type == BS_OWNERDRAW) {
                // the parent draws it
                DRAWITEMSTRUCT item;
                item.CtlType = ODT_BUTTON;
                item.CtlID = static_cast<UINT>(GetDlgCtrlID(window));
                item.itemState = (state->pushed ? ODS_SELECTED : 0) | (IsWindowEnabled(window) ? 0 : ODS_DISABLED) |
                                 (GetFocus() == window ? ODS_FOCUS : 0);
                item.hwndItem = window;
                item.hDC = dc;
                item.rcItem = GetClientRect(window);
                SendMessageW(GetParent(window), WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
                return 0;
            }
            const RECT client = GetClientRect(window);
            if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON)
                DrawFrameControl(dc, client, DFC_BUTTON, DFCS_BUTTONPUSH | (state->pushed ? DFCS_PUSHED : 0));
            const HFONT previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)));
            DrawTextW(dc, GetWindowTextW(window), client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
            SelectObject(dc, previous);
            return 0;
        }
        case BM_CLICK:
            if (!IsWindowEnabled(window) || type == BS_GROUPBOX) return 0;
            if (type == BS_AUTOCHECKBOX) state->check = state->check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
            if (type == BS_AUTO3STATE) state->check = (state->check + 1) % 3;
            if (type == BS_AUTORADIOBUTTON) {
                for (HWND other : RadioGroup(window))
                    if (other != window) SendMessageW(other, BM_SETCHECK, BST_UNCHECKED, 0);
                state->check = BST_CHECKED;
            }
            NotifyParentCommand(window, BN_CLICKED);
            return 0;
        default: return DefWindowProcW(window, message, wParam, lParam);
        }
    };
}

// ---- Edit -----------------------------------------------------------------

WindowProc EditProc()
{
    struct State {
        std::wstring text;
        std::size_t selStart = 0, selEnd = 0;
        std::size_t limit = 30000;
        wchar_t passwordChar = 0;
    };
    auto state = std::make_shared<State>();
    auto changed = [](HWND window) {
        NotifyParentCommand(window, EN_UPDATE);
        NotifyParentCommand(window, EN_CHANGE);
    };
    // Replaces the selection with text, within the limit; false when nothing fits.
    auto replaceSelection = [state](std::wstring_view text) {
        const std::size_t start = std::min(state->selStart, state->selEnd);
        const std::size_t end = std::max(state->selStart, state->selEnd);
        const std::size_t room = state->limit + (end - start) - std::min(state->limit, state->text.size());
        const std::wstring_view fitting = text.substr(0, std::min(text.size(), room));
        state->text.replace(start, end - start, fitting);
        state->selStart = state->selEnd = start + fitting.size();
        return fitting.size() == text.size();
    };
    return [state, changed, replaceSelection](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        const bool readOnly = (Style(window) & ES_READONLY) != 0;
        switch (message) {
        case WM_CREATE: {  // the initial caption, as the default procedure holds it
            const auto length = static_cast<std::size_t>(DefWindowProcW(window, WM_GETTEXTLENGTH, 0, 0));
            std::wstring caption(length + 1, L'\0');
            DefWindowProcW(window, WM_GETTEXT, caption.size(), reinterpret_cast<LPARAM>(caption.data()));
            caption.resize(length);
            state->text = std::move(caption);
            if (Style(window) & ES_PASSWORD) state->passwordChar = L'\u25CF';  // a password edit masks from the start
            return 0;
        }
        case WM_SETTEXT:
            state->text = lParam ? reinterpret_cast<const wchar_t*>(lParam) : L"";
            if (state->text.size() > state->limit) state->text.resize(state->limit);
            state->selStart = state->selEnd = 0;
            DefWindowProcW(window, message, wParam, lParam);
            changed(window);
            return TRUE;
        case WM_GETTEXTLENGTH:
        case WM_GETTEXT: {
            DefWindowProcW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(state->text.c_str()));
            return DefWindowProcW(window, message, wParam, lParam);
        }
        case EM_GETSEL:
            if (wParam) *reinterpret_cast<DWORD*>(wParam) = static_cast<DWORD>(state->selStart);
            if (lParam) *reinterpret_cast<DWORD*>(lParam) = static_cast<DWORD>(state->selEnd);
            return static_cast<LRESULT>(MAKEWPARAM(static_cast<WORD>(state->selStart), static_cast<WORD>(state->selEnd)));
        case EM_SETSEL: {
            const auto size = state->text.size();
            const auto start = static_cast<std::intptr_t>(static_cast<std::int32_t>(wParam));
            const auto end = static_cast<std::intptr_t>(static_cast<std::int32_t>(lParam));
            if (start < 0) {
                state->selStart = state->selEnd = std::min(state->selEnd, size);
            } else {
                state->selStart = std::min<std::size_t>(static_cast<std::size_t>(start), size);
                state->selEnd = end < 0 ? size : std::min<std::size_t>(static_cast<std::size_t>(end), size);
                if (state->selStart > state->selEnd) std::swap(state->selStart, state->selEnd);
            }
            return 0;
        }
        case EM_SCROLLCARET: return TRUE;
        case EM_LIMITTEXT: state->limit = wParam == 0 ? 0x7FFFFFFE : static_cast<std::size_t>(wParam); return 0;
        case EM_GETLIMITTEXT: return static_cast<LRESULT>(state->limit);
        case EM_SETREADONLY:
            SetWindowLongW(window, GWL_STYLE, wParam ? (Style(window) | ES_READONLY) : (Style(window) & ~ES_READONLY));
            return TRUE;
        case EM_SETPASSWORDCHAR: state->passwordChar = static_cast<wchar_t>(wParam); return 0;
        case EM_GETPASSWORDCHAR: return state->passwordChar;
        case EM_REPLACESEL:
            replaceSelection(lParam ? reinterpret_cast<const wchar_t*>(lParam) : L"");
            changed(window);
            return 0;
        case WM_CHAR: {
            if (readOnly || !IsWindowEnabled(window)) return 0;
            const auto c = static_cast<wchar_t>(wParam);
            if (c == VK_BACK) {
                if (state->selStart == state->selEnd) {
                    if (state->selStart == 0) return 0;
                    --state->selStart;
                }
                replaceSelection(L"");
                changed(window);
                return 0;
            }
            // Enter starts a new line of a multi-line edit that wants it
            const bool newLine = c == VK_RETURN && (Style(window) & (ES_MULTILINE | ES_WANTRETURN)) ==
                                                       (ES_MULTILINE | ES_WANTRETURN);
            if (c < 0x20 && !newLine) return 0;
            if (newLine) {
                if (!replaceSelection(L"\r\n")) NotifyParentCommand(window, EN_MAXTEXT);
                changed(window);
                return 0;
            }
            if ((Style(window) & ES_NUMBER) && (c < L'0' || c > L'9')) return 0;  // refused, as the platform does
            if (!replaceSelection(std::wstring_view(&c, 1))) {
                NotifyParentCommand(window, EN_MAXTEXT);
                return 0;
            }
            changed(window);
            return 0;
        }
        case WM_KEYDOWN:
            switch (wParam) {
            case VK_DELETE:
                if (readOnly || !IsWindowEnabled(window)) return 0;
                if (state->selStart == state->selEnd) {
                    if (state->selEnd >= state->text.size()) return 0;
                    ++state->selEnd;
                }
                replaceSelection(L"");
                changed(window);
                return 0;
            case VK_LEFT:
                state->selStart = state->selEnd = state->selStart > 0 ? state->selStart - 1 : 0;
                return 0;
            case VK_RIGHT:
                state->selStart = state->selEnd = std::min(state->selEnd + 1, state->text.size());
                return 0;
            case VK_HOME: state->selStart = state->selEnd = 0; return 0;
            case VK_END: state->selStart = state->selEnd = state->text.size(); return 0;
            default: return 0;
            }
        case WM_PASTE:
            if (readOnly || !IsWindowEnabled(window)) return 0;
            if ((Style(window) & ES_NUMBER) &&
                !std::all_of(g_clipboard.begin(), g_clipboard.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; }))
                return 0;
            replaceSelection(g_clipboard);
            changed(window);
            return 0;
        case WM_CLEAR:
            if (readOnly || state->selStart == state->selEnd) return 0;
            replaceSelection(L"");
            changed(window);
            return 0;
        case WM_LBUTTONDOWN:
            if (IsWindowEnabled(window)) SetFocus(window);
            return 0;
        default: return DefWindowProcW(window, message, wParam, lParam);
        }
    };
}

// ---- Static ---------------------------------------------------------------

WindowProc StaticProc()
{
    auto icon = std::make_shared<HICON>(nullptr);
    return [icon](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        const DWORD style = Style(window);
        switch (message) {
        case WM_LBUTTONUP:
            if ((style & SS_NOTIFY) && IsWindowEnabled(window)) NotifyParentCommand(window, STN_CLICKED);
            return 0;
        case WM_NCHITTEST:
            // a static lets the mouse through to its parent unless it notifies
            return (style & SS_NOTIFY) ? HTCLIENT : HTTRANSPARENT;
        case STM_SETICON: return reinterpret_cast<LRESULT>(std::exchange(*icon, reinterpret_cast<HICON>(wParam)));
        case STM_GETICON: return reinterpret_cast<LRESULT>(*icon);
        case WM_PAINT: {
            const auto dc = reinterpret_cast<HDC>(wParam);
            const RECT client = GetClientRect(window);
            // the parent chooses the colours (reflected to the control when it wants them)
            const auto brush = reinterpret_cast<HBRUSH>(
                SendMessageW(GetParent(window), WM_CTLCOLORSTATIC, wParam, reinterpret_cast<LPARAM>(window)));
            if (brush) FillRect(dc, client, brush);
            if ((style & 0x1F) == SS_ICON) {
                IconInfo info;
                if (GetIconInfo(*icon, info)) {
                    const bool centred = (style & SS_CENTERIMAGE) != 0;
                    DrawIconEx(dc, centred ? (client.Width() - info.size.cx) / 2 : 0,
                               centred ? (client.Height() - info.size.cy) / 2 : 0, *icon, 0, 0);
                }
                return 0;
            }
            const HFONT previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)));
            if (!IsWindowEnabled(window)) SetTextColor(dc, 0x808080);
            DrawTextW(dc, GetWindowTextW(window), client, DT_LEFT);
            SelectObject(dc, previous);
            return 0;
        }
        default: return DefWindowProcW(window, message, wParam, lParam);
        }
    };
}

// ---- Combo and list boxes -------------------------------------------------

struct Item {
    std::wstring text;
    LPARAM data = 0;
};

struct ListState {
    std::vector<Item> items;
    LRESULT selection = -1;
};

// The messages combo and list boxes share, with their own message numbers.
struct ListMessages {
    UINT add, insert, remove, reset, setSelection, getSelection, getText, getCount, getData, setData;
    WORD selectionChanged;
};

LRESULT ListMessage(ListState& state, const ListMessages& m, HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                    bool& handled)
{
    handled = true;
    const auto index = static_cast<std::intptr_t>(static_cast<std::int32_t>(wParam));
    const auto count = static_cast<std::intptr_t>(state.items.size());
    auto text = [lParam] { return std::wstring(lParam ? reinterpret_cast<const wchar_t*>(lParam) : L""); };
    if (message == m.add) {
        state.items.push_back({text(), 0});
        return count;
    }
    if (message == m.insert) {
        const auto at = index < 0 || index > count ? count : index;
        state.items.insert(state.items.begin() + at, {text(), 0});
        if (state.selection >= at) ++state.selection;
        return at;
    }
    if (message == m.remove) {
        if (index < 0 || index >= count) return -1;
        state.items.erase(state.items.begin() + index);
        if (state.selection == index) state.selection = -1;
        else if (state.selection > index) --state.selection;
        return count - 1;
    }
    if (message == m.reset) {
        state.items.clear();
        state.selection = -1;
        return 0;
    }
    if (message == m.setSelection) {
        state.selection = index >= 0 && index < count ? index : -1;
        return index >= 0 && index < count ? index : -1;
    }
    if (message == m.getSelection) return state.selection;
    if (message == m.getCount) return count;
    if (message == m.getText) {
        if (index < 0 || index >= count) return -1;
        // lParam: a std::wstring* to fill (the platform's buffers are strings here)
        if (lParam) *reinterpret_cast<std::wstring*>(lParam) = state.items[static_cast<std::size_t>(index)].text;
        return static_cast<LRESULT>(state.items[static_cast<std::size_t>(index)].text.size());
    }
    if (message == m.getData) return index >= 0 && index < count ? state.items[static_cast<std::size_t>(index)].data : -1;
    if (message == m.setData) {
        if (index < 0 || index >= count) return -1;
        state.items[static_cast<std::size_t>(index)].data = lParam;
        return 0;
    }
    handled = false;
    return 0;
}

WindowProc ComboBoxProc()
{
    static const ListMessages kMessages = {CB_ADDSTRING,  CB_INSERTSTRING, CB_DELETESTRING, CB_RESETCONTENT,
                                           CB_SETCURSEL,  CB_GETCURSEL,    CB_GETLBTEXT,    CB_GETCOUNT,
                                           CB_GETITEMDATA, CB_SETITEMDATA,  CBN_SELCHANGE};
    auto state = std::make_shared<ListState>();
    return [state](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (message == CB_FINDSTRINGEXACT) {
            const std::wstring wanted = lParam ? reinterpret_cast<const wchar_t*>(lParam) : L"";
            for (std::size_t i = 0; i < state->items.size(); ++i)
                if (state->items[i].text == wanted) return static_cast<LRESULT>(i);
            return CB_ERR;
        }
        if (message == CB_GETLBTEXTLEN) {
            const auto index = static_cast<std::size_t>(wParam);
            return index < state->items.size() ? static_cast<LRESULT>(state->items[index].text.size()) : CB_ERR;
        }
        if (message == WM_GETTEXTLENGTH || message == WM_GETTEXT) {
            const std::wstring shown =
                state->selection >= 0 ? state->items[static_cast<std::size_t>(state->selection)].text : std::wstring();
            DefWindowProcW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(shown.c_str()));
            return DefWindowProcW(window, message, wParam, lParam);
        }
        bool handled = false;
        const LRESULT result = ListMessage(*state, kMessages, window, message, wParam, lParam, handled);
        return handled ? result : DefWindowProcW(window, message, wParam, lParam);
    };
}

WindowProc ListBoxProc()
{
    static const ListMessages kMessages = {LB_ADDSTRING, LB_INSERTSTRING, LB_DELETESTRING, LB_RESETCONTENT,
                                           LB_SETCURSEL, LB_GETCURSEL,    LB_GETTEXT,      LB_GETCOUNT,
                                           LB_GETITEMDATA, LB_SETITEMDATA, LBN_SELCHANGE};
    auto state = std::make_shared<ListState>();
    return [state](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (message == WM_LBUTTONDBLCLK && IsWindowEnabled(window)) {
            NotifyParentCommand(window, LBN_DBLCLK);
            return 0;
        }
        bool handled = false;
        const LRESULT result = ListMessage(*state, kMessages, window, message, wParam, lParam, handled);
        return handled ? result : DefWindowProcW(window, message, wParam, lParam);
    };
}

}  // namespace

void RegisterStandardControls()
{
    RegisterWindowClass(L"Button", ButtonProc);
    RegisterWindowClass(L"Edit", EditProc);
    RegisterWindowClass(L"RichEdit20W", [] { return RichEditProc(EditProc()); });
    RegisterWindowClass(L"Static", StaticProc);
    RegisterWindowClass(L"ComboBox", ComboBoxProc);
    RegisterWindowClass(L"ListBox", ListBoxProc);
}

void SetClipboardText(const std::wstring& text) { g_clipboard = text; }
std::wstring GetClipboardText() { return g_clipboard; }

void SetKeyDown(WORD key, bool down)
{
    if (down) g_keysDown.insert(key);
    else g_keysDown.erase(key);
}

bool IsKeyDown(WORD key) { return g_keysDown.count(key) != 0; }

}  // namespace ui

short GetKeyState(int key) { return ui::IsKeyDown(static_cast<WORD>(key)) ? static_cast<short>(0x8000) : 0; }
