#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "controls/HyperLink.h"
#include "controls/LockCtrl.h"
#include "controls/NHPPropertyPageBase.h"
#include "controls/RangeEdit.h"
#include "plugin/pages/dpoint/KeptSetting.h"
#include "plugin/pages/dpoint/PollingSchedule.h"

// The three kinds of network polling a policy sets for its distribution
// points on one page: the Windows network (a full and a quick poll), IP
// ranges (with zeroconf) and Active Directory, each switched on or off with
// its period in minutes (for agents older than 10.2) and its schedule.
class CPageSettingsNetScan : public CNHPPropertyPageBase {
public:
    static constexpr UINT kTemplate = 10294;
    // Windows network
    static constexpr int kWindowsGroup = 20110, kWindowsScan = 1124, kWindowsLock = 20039;
    static constexpr int kFullPeriodLabel = 1006, kFullPeriod = 1007, kFullPeriodSpin = 1013, kFullSchedule = 2263;
    static constexpr int kFastPeriodLabel = 1008, kFastPeriod = 1009, kFastPeriodSpin = 1014, kFastSchedule = 2264;
    // IP ranges and zeroconf
    static constexpr int kIpGroup = 20111, kIpScan = 1121, kIpLock = 1016;
    static constexpr int kIpPeriodLabel = 1123, kIpPeriod = 1130, kIpPeriodSpin = 1125, kIpSchedule = 1212;
    static constexpr int kZeroconfGroup = 20112, kZeroconf = 1131, kZeroconfLock = 1018;
    // Active Directory
    static constexpr int kAdGroup = 20113, kAdScan = 1126, kAdLock = 1017;
    static constexpr int kAdPeriodLabel = 1127, kAdPeriod = 1128, kAdPeriodSpin = 1129, kAdSchedule = 2265;
    static constexpr int kOldAgentsNote = 1211;
    // Periods are stored in milliseconds as 32-bit numbers: at most this many minutes fit.
    static constexpr std::int64_t kMinMinutes = 1, kMaxMinutes = INT32_MAX / 60000;

    static ui::DialogTemplate Template();
    // The page's export: the Windows network, IP ranges, Active Directory and
    // zeroconf groups with their settings, schedules and locks.
    static std::vector<ZRSTD::CAutoPtr<ZRPAR::Params>> Export(NHPP::CNHPPageData& pageData);

    explicit CPageSettingsNetScan(std::shared_ptr<NHPP::CNHPPageData> pageData);

    // Number of polling groups, periods and schedule links (the tables in the source).
    static constexpr std::size_t kGroups = 4, kPeriods = 4, kSchedules = 4;

protected:
    bool OnInitDialog() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
    bool ValidatePage() override;
    bool ApplyPage() override;

    void Load();
    void UpdateControls();
    void EditSchedule(std::size_t schedule);
    bool WriteSettings(NHPP::CParams& settings);

    struct Group {
        CLockCtrl lock;
        KeptSetting<bool> enabled;
    };
    struct Period {
        CRangeEdit edit;
        KeptSetting<std::int32_t> stored;
    };
    std::array<Group, kGroups> m_groups;
    std::array<Period, kPeriods> m_periods;
    std::array<CHyperLink, kSchedules> m_links;
    // schedules edited on the page, written on apply
    std::vector<CPollingSchedule> m_schedules;  // one per schedule link, in link order
    bool m_loading = false;
};

// The page as a policy's property sheet shows it.
class CPageSettingsNetScanPolicy : public CPageSettingsNetScan {
public:
    explicit CPageSettingsNetScanPolicy(std::shared_ptr<NHPP::CNHPPageData> pageData);
};
