#pragma once

#include <vector>

#include "controls/HyperLink.h"
#include "controls/LockCtrl.h"
#include "controls/NHPPropertyPageBase.h"
#include "controls/RangeEdit.h"
#include "plugin/pages/dpoint/PollingSchedule.h"
#include "plugin/pages/dpoint/ScanSettings.h"

// Polling of the Windows network (domains and workgroups) by a distribution
// point: a quick poll of the domain controllers and a full poll of the
// computers, each with its period and schedule.
class CPageUAScanWinBase : public CNHPPropertyPageBase {
public:
    static constexpr UINT kTemplate = 10329;
    // controls of template 10329
    static constexpr int kLock = 20039, kEnable = 1124, kFullLabel = 1006, kFullPeriod = 1007, kFullSpin = 1013,
                         kFastLabel = 1008, kFastPeriod = 1009, kFastSpin = 1014, kFullScheduleLink = 2263,
                         kFastScheduleLink = 2264;
    static constexpr WORD kFullScheduleCommand = 9462, kFastScheduleCommand = 9463;  // what the links send
    static constexpr std::int32_t kDefaultFullPeriodMs = 3600000, kDefaultFastPeriodMs = 900000;

    static ui::DialogTemplate Template();
    // The polling flag.
    static std::vector<ZRSTD::CAutoPtr<ZRPAR::Params>> Export(NHPP::CNHPPageData& pageData);

    explicit CPageUAScanWinBase(std::shared_ptr<NHPP::CNHPPageData> pageData);

protected:
    bool OnInitDialog() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
    bool ValidatePage() override;
    bool ApplyPage() override;

private:
    void Load();
    void UpdateControls();

    CLockCtrl m_lock;
    CRangeEdit m_fullPeriod, m_fastPeriod;
    CHyperLink m_fullLink, m_fastLink;
    CPollingSchedule m_fullSchedule, m_fastSchedule;
    scan::StoredBool m_storedEnable;
    scan::StoredInt m_storedFull, m_storedFast;
    bool m_loading = false;
};
