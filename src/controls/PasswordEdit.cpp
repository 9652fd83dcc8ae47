#include "controls/PasswordEdit.h"

#include <algorithm>
#include <utility>

void CPasswordEdit::PreSubclassWindow() { m_previousText = GetWindowText(); }

void CPasswordEdit::ShowPlaceholder() { SetWindowText(m_placeholder); }

void CPasswordEdit::SetButton(int buttonId)
{
    m_buttonId = buttonId;
    m_hasButton = buttonId != 0;
    if (m_hWnd) UpdateButton();
}

bool CPasswordEdit::OnChildNotify(UINT message, WPARAM wParam, LPARAM, LRESULT*)
{
    if (message == WM_COMMAND && HIWORD(wParam) == EN_CHANGE && !m_settingText) OnChange();
    return false;  // the page sees the change too
}

void CPasswordEdit::OnChange()
{
    const std::wstring text = GetWindowText();
    const std::wstring previous = std::exchange(m_previousText, text);
    if (!text.empty() && text != m_placeholder && previous == m_placeholder && !m_placeholder.empty()) {
        // An edit of the placeholder: whatever was typed or pasted into it
        // replaces it, so that no part of the placeholder is ever taken for a
        // password. What was inserted lies between the part of the
        // placeholder kept in front and the part kept behind.
        const std::size_t limit = std::min(text.size(), previous.size());
        std::size_t front = 0;
        while (front < limit && text[front] == previous[front]) ++front;
        std::size_t back = 0;
        while (back < limit - front && text[text.size() - 1 - back] == previous[previous.size() - 1 - back]) ++back;
        const std::wstring typed = text.substr(front, text.size() - front - back);
        m_previousText = typed;
        const bool outer = std::exchange(m_settingText, true);
        SetWindowText(typed);
        m_settingText = outer;
        const int end = static_cast<int>(typed.size());
        SetSel(end, end);
    }
    UpdateButton();
}

void CPasswordEdit::UpdateButton()
{
    if (!m_hasButton) return;
    const HWND button = ::GetDlgItem(GetParent(), m_buttonId);
    if (!button) return;
    const std::wstring text = GetWindowText();
    // a stored password can never be revealed, only a newly typed one
    const bool reveal = IsWindowVisible() && !text.empty() && text != m_placeholder;
    ::ShowWindow(button, reveal ? SW_SHOW : SW_HIDE);
}

LRESULT CPasswordEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = Default(message, wParam, lParam);
    if (message == WM_SHOWWINDOW && m_hWnd) {
        // the button goes with the edit: hidden with it, shown with it when there is something to reveal
        if (!wParam && m_hasButton) ::ShowWindow(::GetDlgItem(GetParent(), m_buttonId), SW_HIDE);
        else UpdateButton();
    }
    return result;
}
