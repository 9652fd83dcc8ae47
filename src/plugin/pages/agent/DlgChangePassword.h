#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "controls/NHPDialog.h"
#include "controls/PasswordButton.h"
#include "controls/PasswordEdit.h"

// The dialog in which the administrator sets the password that protects the
// agent against uninstallation. It hands back what the caller stores: the
// password's digest as 32 upper-case hexadecimal digits, or "" for no password.
// The password itself leaves the dialog only as that digest.
class CDlgChangePassword : public CNHPDialog {
public:
    static constexpr UINT kTemplate = 6010;
    static constexpr int kPasswordLabel = 1004, kPassword = 1001, kShowPassword = 1220, kRules = 2573;
    static ui::DialogTemplate Template();

    explicit CDlgChangePassword(std::shared_ptr<NHPP::CNHPPageData> pageData);

    // After OK: whether the administrator changed the password, and the text to store then.
    bool IsPasswordChanged() const { return m_changed; }
    const std::wstring& GetResult() const { return m_result; }

protected:
    bool OnInitDialog() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
    void OnOK() override;

private:
    CPasswordEdit m_password;
    CPasswordButton m_showPassword;
    bool m_edited = false;
    bool m_changed = false;
    std::wstring m_result;
};

// The password's UTF-16 little-endian bytes, two per code unit, no terminator.
std::vector<std::uint8_t> PasswordBytes(const std::wstring& password);

// MD5 over the password's UTF-16 little-endian bytes (no terminator), as 32
// upper-case hexadecimal digits, high nibble first.
std::wstring HashUninstallPassword(const std::wstring& password);
