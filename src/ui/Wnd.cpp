#include "ui/Wnd.h"

#include <cwctype>
#include <limits>

#include "ui/CommonControls.h"
#include "ui/Controls.h"
#include "ui/Graphics.h"
#include "ui/Interaction.h"
#include "zrstd/Format.h"

namespace ui {

void InitializePlatform()
{
    static const bool done = [] {
        RegisterStandardControls();
        RegisterCommonControls();
        RegisterWindowClass(L"#32770", [] { return ::WindowProc(DefWindowProcW); });
        return true;
    }();
    (void)done;
}

}  // namespace ui

CWnd::~CWnd()
{
    if (m_hWnd && ::IsWindow(m_hWnd)) UnsubclassWindow();
}

CWnd* CWnd::FromHandle(HWND window) { return static_cast<CWnd*>(::GetWindowObject(window)); }

bool CWnd::SubclassWindow(HWND window)
{
    if (!::IsWindow(window) || m_hWnd) return false;
    m_hWnd = window;
    ::SetWindowObject(window, this);
    m_previous = ::SetWindowProc(window, [this](HWND, UINT message, WPARAM wParam, LPARAM lParam) {
        return WindowProc(message, wParam, lParam);
    });
    PreSubclassWindow();
    return true;
}

bool CWnd::SubclassDlgItem(int id, HWND parent) { return SubclassWindow(::GetDlgItem(parent, id)); }

HWND CWnd::UnsubclassWindow()
{
    HWND window = m_hWnd;
    if (window && ::IsWindow(window)) {
        ::SetWindowProc(window, m_previous);
        if (::GetWindowObject(window) == this) ::SetWindowObject(window, nullptr);
    }
    m_hWnd = nullptr;
    m_previous = nullptr;
    return window;
}

bool CWnd::DestroyWindow()
{
    if (!m_hWnd) return false;
    return ::DestroyWindow(m_hWnd);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) { return Default(message, wParam, lParam); }

LRESULT CWnd::Default(UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND window = m_hWnd;
    const ::WindowProc previous = m_previous ? m_previous : ::WindowProc(DefWindowProcW);
    const LRESULT result = previous(window, message, wParam, lParam);
    if (message == WM_DESTROY && m_hWnd == window) {
        // the window is going: the object lets go of it
        ::SetWindowObject(window, nullptr);
        m_hWnd = nullptr;
        m_previous = nullptr;
    }
    return result;
}

bool CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*) { return false; }

void CWnd::SetDlgItemInt(int id, std::int64_t value, bool isSigned)
{
    SetDlgItemText(id, isSigned ? ZRSTD::FormatW(L"%I64d", value) : ZRSTD::FormatW(L"%I64u", value));
}

std::int64_t CWnd::GetDlgItemInt(int id, bool* translated, bool isSigned) const
{
    const std::wstring text = GetDlgItemText(id);
    std::size_t i = 0;
    while (i < text.size() && std::iswspace(static_cast<wint_t>(text[i]))) ++i;
    bool negative = false;
    if (isSigned && i < text.size() && (text[i] == L'-' || text[i] == L'+')) negative = text[i++] == L'-';
    std::uint64_t value = 0;
    bool digits = false;
    bool overflow = false;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
        digits = true;
        const std::uint64_t next = value * 10 + static_cast<std::uint64_t>(text[i] - L'0');
        if (next / 10 != value) overflow = true;
        value = next;
    }
    const std::uint64_t limit = isSigned ? (negative ? 0x80000000ull : 0x7FFFFFFFull) : 0xFFFFFFFFull;
    const bool ok = digits && i == text.size() && !overflow && value <= limit;
    if (translated) *translated = ok;
    if (!ok) return 0;
    return negative ? -static_cast<std::int64_t>(value) : static_cast<std::int64_t>(value);
}

CDialog::~CDialog()
{
    if (m_hWnd && ::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
}

bool CDialog::CreateFromTemplate(HWND parent, DWORD styleToAdd, DWORD styleToRemove)
{
    ui::InitializePlatform();
    const ui::DialogTemplate* dialog = m_ownTemplate ? m_ownTemplate : ui::FindDialogTemplate(m_templateId);
    if (!dialog) return false;
    const DWORD style = (dialog->style & ~styleToRemove) | styleToAdd;
    HWND window = ::CreateWindowExW(0, L"#32770", dialog->caption, style, dialog->rect, parent, 0);
    if (!window) return false;
    SubclassWindow(window);
    OnCreateWindow();
    for (const ui::ControlTemplate& control : dialog->controls)
        ::CreateWindowExW(control.exStyle, control.className, control.caption, control.style, control.rect, window,
                          control.id);
    SendMessage(WM_INITDIALOG, 0, 0);
    return true;
}

bool CDialog::Create(UINT templateId, HWND parent)
{
    if (templateId) m_templateId = templateId;
    m_modal = false;
    return CreateFromTemplate(parent, WS_CHILD | WS_VISIBLE, WS_POPUP);
}

int CDialog::DoModal(HWND owner)
{
    m_modal = true;
    m_ended = false;
    m_result = -1;
    if (!CreateFromTemplate(owner, WS_POPUP | WS_VISIBLE, WS_CHILD)) return -1;
    const HWND window = m_hWnd;
    try {
        ui::RunModalLoop(window, {owner, m_templateId, GetWindowText(), 0}, [this] { return m_ended; },
                         [this] { return m_result; });
    } catch (...) {
        ::DestroyWindow(window);
        throw;
    }
    ::DestroyWindow(window);
    return m_result;
}

void CDialog::EndDialog(int result)
{
    m_result = result;
    m_ended = true;
}

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: return OnInitDialog() ? TRUE : FALSE;
    case WM_COMMAND: {
        const HWND control = reinterpret_cast<HWND>(lParam);
        if (CWnd* child = CWnd::FromHandle(control)) {
            LRESULT result = 0;
            if (child->OnChildNotify(message, wParam, lParam, &result)) return result;
        }
        if (OnCommand(LOWORD(wParam), HIWORD(wParam), control)) return 0;
        if (LOWORD(wParam) == IDOK && HIWORD(wParam) == BN_CLICKED) OnOK();
        else if (LOWORD(wParam) == IDCANCEL && HIWORD(wParam) == BN_CLICKED) OnCancel();
        return 0;
    }
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        LRESULT result = 0;
        if (header) {
            if (CWnd* child = CWnd::FromHandle(header->hwndFrom))
                if (child->OnChildNotify(message, wParam, lParam, &result)) return result;
            if (OnNotify(header, &result)) return result;
        }
        return 0;
    }
    case WM_DRAWITEM:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
        // offered to the control first (owner drawing and colours reflected to it)
        const HWND control = message == WM_DRAWITEM
                                 ? (lParam ? reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hwndItem : nullptr)
                                 : reinterpret_cast<HWND>(lParam);
        if (CWnd* child = CWnd::FromHandle(control)) {
            LRESULT result = 0;
            if (child->OnChildNotify(message, wParam, lParam, &result)) return result;
        }
        return Default(message, wParam, lParam);
    }
    case WM_SIZE: OnSize(LOWORD(static_cast<WPARAM>(lParam)), HIWORD(static_cast<WPARAM>(lParam))); return 0;
    case WM_HELP:
        if (OnHelp(reinterpret_cast<HELPINFO*>(lParam))) return TRUE;
        return Default(message, wParam, lParam);
    case WM_KEYDOWN:
        if (PreTranslateKey(static_cast<WORD>(wParam))) return 0;
        return Default(message, wParam, lParam);
    case WM_DESTROY: OnDestroy(); return Default(message, wParam, lParam);
    default: return Default(message, wParam, lParam);
    }
}
