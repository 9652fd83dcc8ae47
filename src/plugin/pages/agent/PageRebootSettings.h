#pragma once

#include <string>
#include <vector>

#include "controls/LockCtrl.h"
#include "controls/NHPPropertyPageBase.h"
#include "controls/RangeEdit.h"

// What the agent does when installing, running or removing an application
// needs the operating system restarted: nothing, restart at once, or ask the
// user (again every few minutes, force it after a delay, close applications
// in locked sessions). Periods are stored in seconds and shown in minutes.
class CPageRebootSettingsBase : public CNHPPropertyPageBase {
public:
    static constexpr UINT kTemplate = 10433;
    static constexpr int kExplanation = 1050, kNoRestart = 1080, kRestartAutomatically = 1081, kAskUser = 1082;
    static constexpr int kRepeatQuestion = 1073, kRepeatPeriod = 1074, kRepeatSpin = 1075;
    static constexpr int kForceRestart = 1070, kForceTime = 1071, kForceSpin = 1072;
    static constexpr int kCloseApplications = 1063, kClosePeriod = 1065, kCloseSpin = 1067;
    static constexpr int kLock = 1079;

    static ui::DialogTemplate Template();
    static std::vector<ZRSTD::CAutoPtr<ZRPAR::Params>> Export(NHPP::CNHPPageData& pageData);

    explicit CPageRebootSettingsBase(std::shared_ptr<NHPP::CNHPPageData> pageData);

    // Local-settings mode (set by the page factory for the local-settings page).
    void SetLocalMode(bool local) { m_localMode = local; }

protected:
    bool OnInitDialog() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
    bool ValidatePage() override;
    bool ApplyPage() override;

    void Load();
    void UpdateControls();

    CRangeEdit m_repeatPeriod, m_forceTime, m_closePeriod;
    // The ask period as stored: one that asks nothing (not above 0) goes back as it was.
    std::int32_t m_storedAskPeriod = 0;
    CLockCtrl m_lock;
    bool m_localMode = false;
    bool m_loading = false;
};

// The same page over one computer's local settings. An agent on another
// platform class, or older than version 7, cannot be told to restart: the
// page shows "do not restart".
class CPageRebootSettingsProduct : public CPageRebootSettingsBase {
public:
    explicit CPageRebootSettingsProduct(std::shared_ptr<NHPP::CNHPPageData> pageData);

protected:
    bool OnInitDialog() override;
};
