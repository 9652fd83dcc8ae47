#pragma once

#include <vector>

#include "controls/HyperLink.h"
#include "controls/LockCtrl.h"
#include "controls/NHCustomListCtrl.h"
#include "controls/NHPPropertyPageBase.h"
#include "controls/RangeEdit.h"
#include "plugin/pages/dpoint/PollingSchedule.h"
#include "plugin/pages/dpoint/ScanSettings.h"

// Polling of IP ranges by a distribution point: whether and how often it
// polls, its schedule, zeroconf polling, and the named ranges it polls, each
// a list of subnets and address ranges.
class CPageUAScanIpBase : public CNHPPropertyPageBase {
public:
    static constexpr UINT kTemplate = 10381;
    // controls of template 10381
    static constexpr int kPollingLock = 1016, kZeroconfLock = 1018, kEnable = 1119, kPeriodLabel = 1127,
                         kPeriod = 1130, kPeriodSpin = 1125, kZeroconf = 1131, kRangesLabel = 1111, kRanges = 1107, kAdd = 1108,
                         kEdit = 1509, kRemove = 1110, kScheduleLink = 2262;
    static constexpr WORD kScheduleCommand = 9460;  // what the schedule link sends
    static constexpr std::int32_t kDefaultPeriodMs = 25200000;  // 7 hours
    // The names tried for a new range: string 2287, then 2288 numbered from 1.
    static constexpr unsigned kMaxNumberedNames = 999999;

    static ui::DialogTemplate Template();
    // Two containers: the polling flag and the ranges; the zeroconf flag.
    static std::vector<ZRSTD::CAutoPtr<ZRPAR::Params>> Export(NHPP::CNHPPageData& pageData);
    // The first name of the sequence that no range has.
    static std::wstring NewRangeName(const ZRPAR::Params& ranges);

    explicit CPageUAScanIpBase(std::shared_ptr<NHPP::CNHPPageData> pageData);

protected:
    bool OnInitDialog() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
    bool OnNotify(NMHDR* header, LRESULT* result) override;
    bool ValidatePage() override;
    bool ApplyPage() override;

private:
    void Load();
    void UpdateControls();
    int SelectedRange() const;
    void ShowRanges();
    void AddRange();
    void EditSelectedRange();
    void RemoveSelectedRange();
    bool WriteSettings(NHPP::CParams& settings, NHPP::CParams& rangesSection, bool& rangesWritten);

    CLockCtrl m_pollingLock, m_zeroconfLock;
    CRangeEdit m_period;
    CNHCustomListCtrl m_list;
    CHyperLink m_scheduleLink;
    CPollingSchedule m_schedule;
    scan::StoredBool m_storedEnable, m_storedZeroconf;
    scan::StoredInt m_storedPeriod;
    ZRSTD::CAutoPtr<ZRPAR::Params> m_ranges;  // name -> range, in list order
    bool m_rangesStored = false;   // a container of ranges was read: written back under the current lock
    bool m_rangesChanged = false;  // the administrator added, changed or removed a range
    bool m_loading = false;
};
