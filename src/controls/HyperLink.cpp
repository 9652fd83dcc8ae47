#include "controls/HyperLink.h"

#include "ui/Mouse.h"
#include "ui/Registry.h"
#include "ui/Services.h"
#include "zrstd/Strings.h"

CHyperLink::~CHyperLink()
{
    // the window may outlive the link: it gets its own font back before the link font goes
    if (m_hWnd && ::IsWindow(m_hWnd)) {
        Default(WM_SETFONT, reinterpret_cast<WPARAM>(m_originalFont), 0);
        UnsubclassWindow();
    }
    if (m_linkFont) DeleteObject(m_linkFont);
}

COLORREF CHyperLink::TextColour() const
{
    if (m_hover && (m_flags & kHoverColour)) return kHover;
    if (m_pressed && !(m_flags & kNoPressedColour)) return kPressed;
    if (m_visited && (m_flags & kMarkVisited)) return kVisited;
    return kNormal;
}

void CHyperLink::PreSubclassWindow()
{
    m_pressed = m_hover = false;  // a new window starts at rest
    m_originalFont = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    LOGFONTW font;
    if (!GetFontInfo(m_originalFont, font)) GetFontInfo(GetStockFont(DEFAULT_GUI_FONT), font);
    if (m_flags & kUnderline) font.lfUnderline = 1;
    if (m_linkFont) DeleteObject(m_linkFont);
    m_linkFont = CreateFontIndirectW(font);
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_linkFont));
    if (m_flags & kSizeToText) {
        const SIZE text = MeasureText(m_linkFont, GetWindowText());
        const RECT rect = GetWindowRect();
        MoveWindow(RECT{rect.left, rect.top, rect.left + text.cx, rect.top + text.cy});
    }
}

void CHyperLink::Activate()
{
    if (m_address.empty()) {
        ::SendMessageW(GetParent(), WM_COMMAND, MAKEWPARAM(static_cast<WORD>(m_commandId), BN_CLICKED),
                       reinterpret_cast<LPARAM>(m_hWnd));
        return;
    }
    std::wstring target = m_address;
    if (target.find(L'@') != std::wstring::npos && target.find(L"mailto:") == std::wstring::npos)
        target = L"mailto:" + target;
    if (!ui::ShellExecuteOpen(m_hWnd, target)) OpenWithPageHandler(target);
    if (m_flags & kMarkVisited) {
        m_visited = true;
        ::InvalidateRect(m_hWnd);
    }
}

bool CHyperLink::OpenWithPageHandler(const std::wstring& target)
{
    std::wstring pageClass, command;
    if (!ui::RegistryGetString(HKEY_CLASSES_ROOT, L".htm", L"", pageClass) || pageClass.empty()) return false;
    if (!ui::RegistryGetString(HKEY_CLASSES_ROOT, pageClass + L"\\shell\\open\\command", L"", command) || command.empty())
        return false;
    // The address becomes one quoted argument: a quote inside it is escaped
    // as in a web address, so that it cannot end the argument and add others.
    const std::wstring argument = L"\"" + ZRSTD::ReplaceAll(target, L"\"", L"%22") + L"\"";
    const std::size_t slot = command.find(L"\"%1\"");
    if (slot != std::wstring::npos) command.replace(slot, 4, argument);
    else command += L" " + argument;
    return ui::StartProgram(command);
}

bool CHyperLink::OnChildNotify(UINT message, WPARAM wParam, LPARAM, LRESULT* result)
{
    if (message != WM_CTLCOLORSTATIC) return false;
    const auto dc = reinterpret_cast<HDC>(wParam);
    if (IsWindowEnabled()) SetTextColor(dc, TextColour());
    SetBkMode(dc, TRANSPARENT);
    *result = reinterpret_cast<LRESULT>(GetStockBrush(NULL_BRUSH));
    return true;
}

LRESULT CHyperLink::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_NCHITTEST: return HTCLIENT;  // a static would let the mouse through
    case WM_SETCURSOR:
        if (m_flags & kNoHandCursor) return Default(message, wParam, lParam);
        SetCursor(LoadCursorW(IDC_HAND));
        return TRUE;
    case WM_MOUSEMOVE:
        if (!m_hover) {
            m_hover = true;
            TrackMouseEvent(m_hWnd);
            if (m_flags & kHoverColour) ::InvalidateRect(m_hWnd);
        }
        return 0;
    case WM_MOUSELEAVE:
        m_hover = false;
        if (m_flags & kHoverColour) ::InvalidateRect(m_hWnd);
        return 0;
    case WM_LBUTTONDOWN:
        if (!IsWindowEnabled()) return 0;
        m_pressed = true;
        if (m_flags & kFocusOnClick) SetFocus();
        if (m_flags & kActivateOnPress) {
            m_pressed = false;
            Activate();
        }
        return 0;
    case WM_LBUTTONUP:
        if (!m_pressed) return 0;
        m_pressed = false;
        Activate();
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_SPACE && IsWindowEnabled()) Activate();
        return 0;
    case WM_CHAR: return 0;
    default: return Default(message, wParam, lParam);
    }
}
