#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "controls/NHPDialog.h"
#include "controls/PasswordButton.h"
#include "controls/PasswordEdit.h"
#include "controls/RangeEdit.h"
#include "nhpp/CParams.h"

// A proxy address as settings keep it: scheme + host + ":" + port.
struct ProxyAddress {
    std::wstring scheme;
    std::wstring host;
    std::uint32_t port = 0;
    bool valid = false;
};
// Splits off the scheme (up to and including "://") and the port after the
// first ":"; what is missing takes the defaults. An empty port, a port that is
// not a decimal number of at most 65535, or a ":" in the first position make
// the result invalid.
ProxyAddress ParseProxyAddress(std::wstring_view text, std::uint32_t defaultPort, std::wstring_view defaultScheme);
// A proxy host the dialog accepts: a dotted IPv4 address, or a non-empty name
// without any of the characters that cannot be part of a host name.
bool IsValidProxyHost(std::wstring_view host);
// An account name, with an optional domain part before a backslash or after an
// at sign: the name is not empty and has none of / " [ ] < > : | + = ; , ? * @.
bool IsValidAccountName(std::wstring_view account);

// The proxy of a connection: which proxy, and with which account. The caller
// names the keys; the dialog reads and writes them in the caller's settings.
// The read-only form (template 6014) shows the proxy that the agent's
// installation set; the editable form (template 6001) edits it.
class CDlgProxySettings : public CNHPDialog {
public:
    static constexpr UINT kEditableTemplate = 6001, kReadOnlyTemplate = 6014, kHelpTopic = 10806;
    static constexpr int kUseProxy = 1015, kAddressLabel = 838, kAddress = 837, kPortLabel = 839, kPort = 840,
                         kPortSpin = 1014, kUseAuth = 1044, kUserLabel = 841, kUser = 842, kPasswordLabel = 843,
                         kPassword = 844, kShowPassword = 1220, kCredentialsWarning = 1219;
    // the read-only form's answers
    static constexpr int kUseProxyLabel = 1018, kUseProxyAnswer = 1019, kUseAuthLabel = 1020, kUseAuthAnswer = 1021,
                         kInstallNote = 1023;
    static constexpr std::uint32_t kDefaultPort = 8080;

    // Use, location, login, password and protected password; the last may be empty.
    struct Keys {
        std::wstring use, location, login, password, protectedPassword;
    };

    static ui::DialogTemplate EditableTemplate();
    static ui::DialogTemplate ReadOnlyTemplate();

    CDlgProxySettings(std::shared_ptr<NHPP::CNHPPageData> pageData, NHPP::CParams& settings, Keys keys, bool readOnly);

protected:
    bool OnInitDialog() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
    void OnOK() override;

private:
    void UpdateControls();
    bool Write();

    NHPP::CParams& m_settings;
    Keys m_keys;
    bool m_readOnly;
    bool m_lockedByPolicy = false;
    CRangeEdit m_port;
    CPasswordEdit m_password;
    CPasswordButton m_showPassword;
};
