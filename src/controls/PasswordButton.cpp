#include "controls/PasswordButton.h"

#include "ui/Graphics.h"

void CPasswordButton::Reveal()
{
    const HWND edit = Edit();
    if (m_revealing || !m_editId || !edit) return;
    m_savedPasswordChar = static_cast<wchar_t>(::SendMessageW(edit, EM_GETPASSWORDCHAR, 0, 0));
    ::SendMessageW(edit, EM_SETPASSWORDCHAR, 0, 0);
    ::InvalidateRect(edit);
    m_revealing = true;
}

void CPasswordButton::Conceal()
{
    if (!m_revealing) return;
    m_revealing = false;
    if (const HWND edit = Edit()) {
        ::SendMessageW(edit, EM_SETPASSWORDCHAR, m_savedPasswordChar, 0);
        ::InvalidateRect(edit);
    }
}

LRESULT CPasswordButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_KEYDOWN: {
        if (message == WM_KEYDOWN && wParam != VK_SPACE) break;
        if (!IsWindowEnabled()) return 0;
        Reveal();
        const LRESULT result = Default(message, wParam, lParam);
        SetState(true);
        return result;
    }
    case WM_LBUTTONUP:
    case WM_KEYUP:
    case WM_KILLFOCUS: {
        if (message == WM_KEYUP && wParam != VK_SPACE) break;
        Conceal();
        const LRESULT result = Default(message, wParam, lParam);
        if (m_hWnd) SetState(false);
        if (message == WM_LBUTTONUP)
            if (const HWND edit = Edit()) ::SetFocus(edit);
        return result;
    }
    default: break;
    }
    return Default(message, wParam, lParam);
}
