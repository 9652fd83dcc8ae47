#pragma once

#include <string>
#include <vector>

#include "controls/LockCtrl.h"
#include "controls/NHPPropertyPageBase.h"
#include "controls/RangeEdit.h"

// The general page of a policy and of the agent's local settings: the size of
// the event log (and the hidden interval of sending events), the uninstall
// password, file transfer only through update agents, extended policy data
// from the host, and the protection of the agent's service.
class CPageGeneralSettingsBase : public CNHPPropertyPageBase {
public:
    static constexpr UINT kTemplate = 6005;
    // controls of template 6005
    static constexpr int kEventLogGroup = 20100, kLogSizeLabel = 6010, kLogSize = 6009, kLogSizeSpin = 1005;
    static constexpr int kIntervalLabel = 6011, kInterval = 6012, kIntervalSpin = 1006;
    static constexpr int kPasswordGroup = 1099, kUsePassword = 1087, kStatusLabel = 1008, kStatus = 1007;
    static constexpr int kChangePassword = 1000, kCredentialsWarning = 1225;
    static constexpr int kOnlyUpdateAgents = 1107, kHostPolicyData = 1108, kProtectService = 1109;
    static constexpr int kLogLock = 20038, kPasswordLock = 20040, kUpdateAgentsLock = 20042, kHostDataLock = 20043,
                         kServiceLock = 20044;

    static ui::DialogTemplate Template();
    // The page's export: one node per setting, in the console's order.
    static std::vector<ZRSTD::CAutoPtr<ZRPAR::Params>> Export(NHPP::CNHPPageData& pageData);

    explicit CPageGeneralSettingsBase(std::shared_ptr<NHPP::CNHPPageData> pageData);

    // Lock controls in local-settings mode (set for every local-settings page).
    void SetLocalMode(bool local) { m_localMode = local; }

protected:
    bool OnInitDialog() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
    bool ValidatePage() override;
    bool ApplyPage() override;

    void Load();
    void UpdatePasswordGroup();
    void ChangePassword();
    std::wstring EffectivePassword() const { return m_passwordChanged ? m_newPassword : m_storedPassword; }

    CRangeEdit m_logSize;
    CRangeEdit m_interval;
    CLockCtrl m_logLock, m_passwordLock, m_updateAgentsLock, m_hostDataLock, m_serviceLock;
    // The lock the log size was read with, and the hidden interval's own: the
    // interval keeps its flag unless the administrator changes the lock.
    bool m_loadedLogMandatory = false, m_loadedIntervalMandatory = false;
    std::wstring m_newPassword;
    std::wstring m_storedPassword;
    bool m_passwordChanged = false;
    bool m_hidePasswordGroup = false;
    bool m_localMode = false;
    bool m_loading = false;
};

// The same page over one computer's local settings; on a computer of another
// platform class (or with the group hidden) the uninstall password is not offered.
class CPageGeneralSettingsProduct : public CPageGeneralSettingsBase {
public:
    explicit CPageGeneralSettingsProduct(std::shared_ptr<NHPP::CNHPPageData> pageData);

protected:
    bool OnInitDialog() override;
};

// The local-settings page of the agent on the administration server's own
// computer: its uninstall password group is always hidden.
class CPageGeneralSettingsProductSNagent : public CPageGeneralSettingsProduct {
public:
    explicit CPageGeneralSettingsProductSNagent(std::shared_ptr<NHPP::CNHPPageData> pageData);
    void SetServerHostedAgent(bool serverHosted) { m_hidePasswordGroup = serverHosted; }
};
