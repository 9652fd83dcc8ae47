#pragma once

#include <string>

#include "ui/ControlWrappers.h"

// A password edit. For a stored password the page does not have, it shows a
// placeholder; a text still equal to the placeholder keeps the stored value.
// Typing into the placeholder replaces it with what was typed. A reveal button
// (CPasswordButton) is shown only for a newly typed password, never for the
// placeholder. The text is never traced.
class CPasswordEdit : public CEdit {
public:
    static constexpr const wchar_t* kStoredPasswordPlaceholder = L"***********";  // eleven asterisks

    void SetPlaceholder(std::wstring placeholder) { m_placeholder = std::move(placeholder); }
    const std::wstring& GetPlaceholder() const { return m_placeholder; }
    // Shows the placeholder in place of a stored password.
    void ShowPlaceholder();
    bool ShowsPlaceholder() const { return GetWindowText() == m_placeholder; }
    // The dialog id of the reveal button; 0 for none.
    void SetButton(int buttonId);
    int GetButton() const { return m_buttonId; }

protected:
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    void OnChange();
    void UpdateButton();

    bool m_hasButton = false;
    int m_buttonId = 0;
    std::wstring m_placeholder = kStoredPasswordPlaceholder;
    std::wstring m_previousText;
    bool m_settingText = false;
};
