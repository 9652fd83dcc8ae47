#pragma once

#include <cstdint>
#include <string>

#include "controls/NHCustomListCtrl.h"
#include "controls/NHPDialog.h"
#include "controls/RangeEdit.h"
#include "zrpar/Params.h"

// One weekly interval within which the agent may connect, as a schedule
// element keeps it. Days are a bit mask from Sunday (bit 0) to Saturday (bit 6).
struct ConnectionInterval {
    static constexpr std::int32_t kAllDays = -1, kDefaultDuration = 1440;
    std::int32_t daysMask = kAllDays;
    std::int32_t hour = 0;
    std::int32_t minute = 0;
    std::int32_t duration = kDefaultDuration;  // minutes
};

// An element's values; a value that is absent or of another type (or an
// element that is no container at all) reads as its default.
ConnectionInterval ReadConnectionInterval(const ZRPAR::Value* element);
// "09:30", or "Invalid DateTime" for an hour or minute no clock shows.
std::wstring IntervalStartText(std::int32_t hour, std::int32_t minute);
// The locale's abbreviated names of the days in the mask, Sunday first, joined by ", ".
std::wstring IntervalDaysText(std::int32_t daysMask);
// The interval's line in the page's list.
std::wstring IntervalLine(const ConnectionInterval& interval);
// The day-list item (Monday 0 to Sunday 6) and its bit in the mask.
constexpr int DayBit(int item) { return item == 6 ? 0 : item + 1; }

// Edits one interval in place: the days, the start time and the length. The
// values are written into the element only when OK is accepted.
class CDlgConnectionManagerTimeInterval : public CNHPDialog {
public:
    static constexpr UINT kTemplate = 10493, kHelpTopic = 94301;
    static constexpr int kDaysLabel = 1113, kDays = 1322, kStartLabel = 1115, kStart = 1114, kDurationLabel = 1116,
                         kDuration = 1117, kDurationSpin = 1118;

    static ui::DialogTemplate Template();

    CDlgConnectionManagerTimeInterval(std::shared_ptr<NHPP::CNHPPageData> pageData, ZRPAR::Params& interval);

protected:
    bool OnInitDialog() override;
    void OnOK() override;

private:
    ZRPAR::Params& m_interval;
    CNHCustomListCtrl m_days;
    CRangeEdit m_duration;
};
