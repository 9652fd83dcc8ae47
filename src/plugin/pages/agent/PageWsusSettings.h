#pragma once

#include <cstdint>
#include <vector>

#include "controls/LockCtrl.h"
#include "controls/NHComboBox.h"
#include "controls/NHPPropertyPageBase.h"

// The update service: whether the Windows Update service is switched to the
// administration server, how the agent searches for Windows updates, whether
// executables are checked for vulnerabilities when started, and which update
// revisions users may install.
class CPageWsusSettings : public CNHPPropertyPageBase {
public:
    static constexpr UINT kTemplate = 10518;
    // controls of template 10518
    static constexpr int kSwitchToServer = 1199, kExplanation = 1112, kSearchModeGroup = 20103, kOnline = 1173,
                         kOffline = 1175, kSearchOff = 1176, kCheckOnStart = 1203, kRevisionsLabel = 1234,
                         kRevisions = 1235;
    static constexpr int kSwitchLock = 20043, kSearchLock = 20044, kCheckLock = 1202, kRevisionsLock = 1204;
    // the stored search modes and revision modes
    static constexpr std::int32_t kSearchOnline = 0, kSearchOffline = 1, kSearchDisabled = 2;
    static constexpr std::int32_t kAllRevisions = 1, kApprovedRevisions = 2, kNoRevisions = 3;

    static ui::DialogTemplate Template();
    // The page's export: the switch, the search mode, the check on start and
    // the revision mode, each with its lock.
    static std::vector<ZRSTD::CAutoPtr<ZRPAR::Params>> Export(NHPP::CNHPPageData& pageData);

    explicit CPageWsusSettings(std::shared_ptr<NHPP::CNHPPageData> pageData);

    // Lock controls in local-settings mode (set by the page factory for the
    // local-settings page).
    void SetLocalMode(bool local) { m_localMode = local; }

protected:
    bool OnInitDialog() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
    bool ApplyPage() override;

    void Load();

    CNHComboBox m_revisions;
    CLockCtrl m_switchLock, m_searchLock, m_checkLock, m_revisionsLock;
    // the revision mode as read: written back while no item shows it
    std::int32_t m_storedRevisionMode = kAllRevisions;
    bool m_localMode = false;
    bool m_loading = false;
};

// The same page over one computer's local settings.
class CPageWsusSettingsProduct : public CPageWsusSettings {
public:
    explicit CPageWsusSettingsProduct(std::shared_ptr<NHPP::CNHPPageData> pageData);
};
