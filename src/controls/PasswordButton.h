#pragma once

#include "ui/ControlWrappers.h"

// Press and hold to reveal: while the mouse button or the space key is held
// on it, the password edit it belongs to shows its text in clear; releasing,
// or losing the focus, masks it again.
class CPasswordButton : public CButton {
public:
    void SetEdit(int editId) { m_editId = editId; }
    int GetEdit() const { return m_editId; }
    bool IsRevealing() const { return m_revealing; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Reveal();
    void Conceal();
    HWND Edit() const { return ::GetDlgItem(GetParent(), m_editId); }

    bool m_revealing = false;
    int m_editId = 0;
    wchar_t m_savedPasswordChar = 0;
};
