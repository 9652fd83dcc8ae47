#pragma once

#include <vector>

#include "controls/LockCtrl.h"
#include "controls/NHPPropertyPageBase.h"

// Which kinds of inventory the agent sends to the administration server:
// installed applications (and their patches), Windows updates, software
// vulnerabilities and the hardware registry. Every value lies in section "86".
class CPageNetStoragesBase : public CNHPPropertyPageBase {
public:
    static constexpr UINT kTemplate = 10435;
    // controls of template 10435
    static constexpr int kExplanation = 1083, kInstalledApplications = 1084, kPatches = 1086, kPatchesWarning = 1238,
                         kWindowsUpdates = 6026, kVulnerabilities = 6027, kHardware = 6028;
    static constexpr int kApplicationsLock = 1085, kUpdatesLock = 20042, kVulnerabilitiesLock = 20043,
                         kHardwareLock = 20044;

    static ui::DialogTemplate Template();
    // The page's export: one container per kind of inventory (the patches
    // flag is not exported).
    static std::vector<ZRSTD::CAutoPtr<ZRPAR::Params>> Export(NHPP::CNHPPageData& pageData);

    explicit CPageNetStoragesBase(std::shared_ptr<NHPP::CNHPPageData> pageData);

    // Lock controls in local-settings mode.
    void SetLocalMode(bool local) { m_localMode = local; }

protected:
    bool OnInitDialog() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
    bool ApplyPage() override;

    void Load();
    CLockCtrl& LockOf(int lockId);

    CLockCtrl m_applicationsLock, m_updatesLock, m_vulnerabilitiesLock, m_hardwareLock;
    bool m_localMode = false;
    bool m_loading = false;
};

// The same page over one computer's local settings: the locks only show
// whether the policy enforces the values.
class CPageNetStoragesProduct : public CPageNetStoragesBase {
public:
    static constexpr UINT kHelpTopic = 3907;
    explicit CPageNetStoragesProduct(std::shared_ptr<NHPP::CNHPPageData> pageData);
};
