#include "controls/HyperLink.h"

#include "ui/Services.h"

COLORREF CHyperLink::TextColour() const
{
    if (m_hover && (m_flags & kHoverColour)) return kHover;
    if (m_pressed && !(m_flags & kNoPressedColour)) return kPressed;
    if (m_visited && (m_flags & kMarkVisited)) return kVisited;
    return kNormal;
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
    ui::ShellExecuteOpen(m_hWnd, target);
    if (m_flags & kMarkVisited) m_visited = true;
}

LRESULT CHyperLink::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
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
