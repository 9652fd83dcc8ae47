#pragma once

#include <vector>

#include "controls/LockCtrl.h"
#include "controls/NHPPropertyPageBase.h"

// Whether patches are applied right after download, and whether the agent
// downloads updates and anti-virus databases from the administration server.
class CPageSettingsPatches : public CNHPPropertyPageBase {
public:
    static constexpr UINT kTemplate = 10526;
    // controls of template 10526
    static constexpr int kApplyAtOnce = 1108, kOfflineUpdates = 1109, kApplyLock = 20043, kOfflineLock = 20044;

    static ui::DialogTemplate Template();
    // The page's export: the two flags, each with its lock.
    static std::vector<ZRSTD::CAutoPtr<ZRPAR::Params>> Export(NHPP::CNHPPageData& pageData);

    explicit CPageSettingsPatches(std::shared_ptr<NHPP::CNHPPageData> pageData);

    // Lock controls in local-settings mode (set by the page factory for the local-settings page).
    void SetLocalMode(bool local) { m_localMode = local; }

protected:
    bool OnInitDialog() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
    bool ApplyPage() override;

    CLockCtrl m_applyLock, m_offlineLock;
    bool m_localMode = false;
    bool m_loading = false;
};

// The same page over one computer's local settings.
class CPageSettingsPatchesProduct : public CPageSettingsPatches {
public:
    explicit CPageSettingsPatchesProduct(std::shared_ptr<NHPP::CNHPPageData> pageData);
};
