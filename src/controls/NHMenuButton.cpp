#include "controls/NHMenuButton.h"

#include "ui/Mouse.h"

CNHMenuButton::~CNHMenuButton()
{
    if (m_menu) DestroyMenu(m_menu);
}

void CNHMenuButton::SetMenu(HMENU menu)
{
    if (m_menu && m_menu != menu) DestroyMenu(m_menu);
    m_menu = menu;
}

bool CNHMenuButton::OnMenuPart(LPARAM point) const
{
    if (!m_split) return true;
    return GET_X_LPARAM(point) >= GetClientRect(m_hWnd).Width() - kMenuPartWidth;
}

void CNHMenuButton::RefreshItems()
{
    auto* parent = dynamic_cast<CDialog*>(CWnd::FromHandle(GetParent()));
    if (!parent) return;
    const int count = GetMenuItemCount(m_menu);
    for (int i = 0; i < count; ++i) {
        const UINT id = GetMenuItemID(m_menu, i);
        if (id == 0 || id == kNoMenuItem) continue;  // separators and submenus
        CCmdUI item(m_menu, i);
        parent->OnUpdateCommandUI(item);
    }
}

UINT CNHMenuButton::OpenMenu()
{
    if (!m_menu || m_menuOpen) return 0;
    RefreshItems();
    const RECT client = GetClientRect(m_hWnd);
    // below the button, from its leading corner: the right one when laid out right to left
    const bool rightToLeft = (GetExStyle() & WS_EX_LAYOUTRTL) != 0;
    const POINT at = ClientToScreen(m_hWnd, POINT{rightToLeft ? client.right : client.left, client.bottom});
    const UINT flags = TPM_RETURNCMD | (rightToLeft ? (TPM_RIGHTALIGN | TPM_LAYOUTRTL) : TPM_LEFTALIGN);
    m_menuOpen = true;
    SetState(true);
    UINT chosen = 0;
    try {
        chosen = static_cast<UINT>(TrackPopupMenu(m_menu, flags, at.x, at.y, m_hWnd));
    } catch (...) {
        m_menuOpen = false;
        SetState(false);
        throw;
    }
    m_menuOpen = false;
    if (m_hWnd) SetState(false);
    if (chosen) ::SendMessageW(GetParent(), WM_COMMAND, MAKEWPARAM(static_cast<WORD>(chosen), 0), 0);
    return chosen;
}

LRESULT CNHMenuButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (!IsWindowEnabled() || !OnMenuPart(lParam)) break;
        SetFocus();
        OpenMenu();
        return 0;
    case WM_LBUTTONUP:
        if (m_split) break;
        return 0;  // the press opened the menu: the release is not a click
    case WM_KEYDOWN:
        // space opens the menu of a plain menu button; Down opens it on both kinds
        if ((wParam == VK_SPACE && !m_split) || wParam == VK_DOWN) {
            OpenMenu();
            return 0;
        }
        break;
    case WM_KEYUP:
        if (wParam == VK_SPACE && !m_split) return 0;
        break;
    default: break;
    }
    return Default(message, wParam, lParam);
}
