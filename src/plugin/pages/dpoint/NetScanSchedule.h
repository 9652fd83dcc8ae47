#pragma once

#include <cstdint>

#include "nhpp/CParams.h"
#include "nhpp/PageData.h"
#include "ui/Win32.h"
#include "zrpar/Params.h"

// The polling schedule of a distribution point's network scan: a schedule
// key and the period key it is built from when none is stored yet.
namespace dpoint {

struct PollingScheduleKeys {
    const wchar_t* schedule;
    const wchar_t* period;             // milliseconds
    std::int32_t defaultPeriodMs;      // when the period is missing or unusable
};

// The option word the console's schedule editor is opened with.
inline constexpr std::uint32_t kScheduleEditorOptions = 0xa0402;

// A schedule that starts at startSeconds (since 1970, UTC) and repeats every
// period; a period below one second repeats every defaultPeriodMs.
ZRSTD::CAutoPtr<ZRPAR::Params> MakePollingSchedule(std::int64_t periodMs, std::int64_t defaultPeriodMs,
                                                   std::int64_t startSeconds);

// The schedule to edit: the one already edited on the page (pending), else
// the stored one, else one built from the stored period, starting now.
ZRSTD::CAutoPtr<ZRPAR::Params> PollingScheduleToEdit(NHPP::CParams& settings, const PollingScheduleKeys& keys,
                                                     const ZRPAR::Params* pending);

// Opens the console's schedule editor ("NH_DLG_SCHEDULE") on schedule: the
// edited copy when the administrator pressed OK, else null (also when the
// console offers no editor).
ZRSTD::CAutoPtr<ZRPAR::Params> EditPollingSchedule(HWND owner, NHPP::CNHPPageData& pageData, ZRPAR::Params* schedule);

}  // namespace dpoint
