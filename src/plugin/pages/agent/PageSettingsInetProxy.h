#pragma once

#include <string>
#include <vector>

#include "controls/LockCtrl.h"
#include "controls/NHPPropertyPageBase.h"
#include "controls/PasswordButton.h"
#include "controls/PasswordEdit.h"
#include "controls/RangeEdit.h"

namespace ZRSTD {
class MemoryChunk;
}

// The proxy server through which the agent reaches the internet: address,
// port, bypass for local addresses and the proxy account. The account's
// password is kept only as the console's data-protection blob; the page never
// reads it back and shows the placeholder for it.
class CPageSettingsInetProxy : public CNHPPropertyPageBase {
public:
    static constexpr UINT kTemplate = 10525;
    static constexpr UINT kHelpTopic = 148954;
    // controls of template 10525
    static constexpr int kUseProxy = 1015, kAddressLabel = 838, kAddress = 837, kPortLabel = 839, kPort = 840,
                         kPortSpin = 1014, kBypassLocal = 1050, kUseAuth = 1044, kUserLabel = 841, kUser = 842,
                         kPasswordLabel = 843, kPassword = 844, kShowPassword = 1220, kCredentialsWarning = 2567,
                         kLock = 2417;
    static constexpr std::int32_t kDefaultPort = 3128, kMinPort = 1, kMaxPort = 65535;

    static ui::DialogTemplate Template();
    // The page's export: the proxy container under the internet connection
    // title and, again, under the update agents' title (they reach the
    // internet through the same proxy).
    static std::vector<ZRSTD::CAutoPtr<ZRPAR::Params>> Export(NHPP::CNHPPageData& pageData);

    explicit CPageSettingsInetProxy(std::shared_ptr<NHPP::CNHPPageData> pageData);

protected:
    bool OnInitDialog() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
    bool ValidatePage() override;
    bool ApplyPage() override;

    void Load();
    void UpdateControls();
    // The writes of apply; false when one of them failed.
    bool WriteSettings(NHPP::CParams& root);
    // The password typed into the edit, protected by the console's service;
    // raises the service's error, or a ZRSTD error when there is no service.
    ZRSTD::CAutoPtr<ZRSTD::MemoryChunk> ProtectTypedPassword() const;

    CRangeEdit m_port;
    CPasswordEdit m_password;
    CPasswordButton m_showPassword;
    CLockCtrl m_lock;
    NHPP::PolicyLockInfo m_lockInfo;
    bool m_loading = false;
};

// The same page over one computer's local settings: the lock only shows
// whether the policy enforces the values.
class CPageSettingsInetProxyProduct : public CPageSettingsInetProxy {
public:
    explicit CPageSettingsInetProxyProduct(std::shared_ptr<NHPP::CNHPPageData> pageData);

protected:
    bool OnInitDialog() override;
};
