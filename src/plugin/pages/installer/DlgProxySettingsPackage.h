#pragma once

#include <string>

#include "controls/NHPDialog.h"
#include "controls/PasswordButton.h"
#include "controls/PasswordEdit.h"
#include "controls/RangeEdit.h"
#include "nhpp/CParams.h"

// The proxy through which a new agent installed from a package reaches the
// administration server: none, only the automatically detected one (offered
// when the console's node allows it), or a given proxy tried first; and the
// proxy account. The dialog writes into the package's settings when closed
// with OK; the page commits them.
class CDlgProxySettingsPackage : public CNHPDialog {
public:
    static constexpr UINT kTemplate = 10531, kTemplateWithoutDetection = 10528, kHelpTopic = 10806;
    static constexpr int kNoProxy = 1224, kDetectOnly = 1225, kGivenProxy = 1226;
    static constexpr int kAddressLabel = 838, kAddress = 837, kPortLabel = 839, kPort = 840, kPortSpin = 1014;
    static constexpr int kUseAuth = 1044, kCredentialsWarning = 1219, kUserLabel = 841, kUser = 842,
                         kPasswordLabel = 843, kPassword = 844, kShowPassword = 1220;
    static constexpr std::uint32_t kDefaultPort = 8080;
    static constexpr const wchar_t* kDetected = L"*autodetect*";

    // The two forms; without detection, 1225 is hidden and disabled.
    static ui::DialogTemplate Template(bool withDetection);

    CDlgProxySettingsPackage(std::shared_ptr<NHPP::CNHPPageData> pageData, NHPP::CParams& settings, bool withDetection);

protected:
    bool OnInitDialog() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
    void OnOK() override;

private:
    void Choose(int choice);
    void UpdateControls();
    bool Checked(int id) const { return IsDlgButtonChecked(id) == BST_CHECKED; }
    bool Write();

    NHPP::CParams& m_settings;
    // the scheme of the stored location, kept when the proxy is written again
    std::wstring m_scheme;
    CRangeEdit m_port;
    CPasswordEdit m_password;
    CPasswordButton m_showPassword;
};
