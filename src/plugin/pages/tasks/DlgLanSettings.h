#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "controls/NHPDialog.h"
#include "controls/PasswordEdit.h"
#include "controls/RangeEdit.h"

// How the update task connects: its proxy and the connection time-out, as
// one block the page hands the LAN settings dialog. The stored proxy
// password never travels in it; a password typed in the dialog comes back in
// newPassword.
struct UpdaterProxyBlock {
    enum Flags : std::int32_t {
        kUseProxy = 1,
        kDetectAutomatically = 2,
        kAuthenticate = 4,
        kPassiveFtp = 8,
        kBypassLocal = 16,
    };
    std::int32_t flags = 0;
    std::wstring address;
    std::int64_t port = 3128;
    std::wstring user;
    std::int64_t timeout = 20;  // seconds
    std::optional<std::wstring> newPassword;
};

// The LAN settings dialog: the proxy, its account, passive FTP and the
// connection time-out.
class CDlgLanSettings : public CNHPDialog {
public:
    static constexpr UINT kTemplate = 5001;
    static constexpr int kUseProxy = 1042, kDetect = 1045, kAuthenticate = 1044, kPassiveFtp = 1047, kAddress = 1050,
                         kPort = 1039, kPortSpin = 1013, kUser = 1040, kPassword = 1001, kShowPassword = 1220,
                         kTimeout = 1048, kTimeoutSpin = 1043;
    // labels and group boxes
    static constexpr int kProxyGroup = 1100, kAddressLabel = 1101, kPortLabel = 1102, kUserLabel = 1103,
                         kPasswordLabel = 1104, kOtherGroup = 1105, kTimeoutLabel = 1106;
    static constexpr std::int64_t kMaxTimeout = 2147483647;

    static ui::DialogTemplate Template();

    CDlgLanSettings(std::shared_ptr<NHPP::CNHPPageData> pageData, UpdaterProxyBlock block);
    const UpdaterProxyBlock& Result() const { return m_block; }

protected:
    bool OnInitDialog() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
    void OnOK() override;

private:
    void UpdateControls();
    bool Checked(int id) const { return IsDlgButtonChecked(id) == BST_CHECKED; }
    // Refuses a number outside [low, high] naming the field's label; false then.
    bool AcceptsNumber(CRangeEdit& edit, int field, UINT label, std::int64_t low, std::int64_t high);

    UpdaterProxyBlock m_block;
    CRangeEdit m_port, m_timeout;
    CPasswordEdit m_password;
};
