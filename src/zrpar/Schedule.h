#pragma once

#include <cstdint>

#include "zrpar/Params.h"

// The maker's schedule library, as far as the settings pages build schedules:
// a task that runs every so many seconds from a start time, serialized into a
// container that the console's schedule editor reads and writes back.
namespace ZRSCH {

enum class ScheduleKind : std::int32_t { kEverySeconds = 1 };

struct Schedule {
    ScheduleKind kind = ScheduleKind::kEverySeconds;
    std::int32_t periodSeconds = 0;
    std::int64_t start = 0;  // seconds since 1970-01-01 UTC
};

struct Task {
    Schedule schedule;
    bool hasSchedule = false;
};

// Keys of the serialized form.
inline constexpr const wchar_t* kKindKey = L"ZRSCH_KIND";
inline constexpr const wchar_t* kPeriodKey = L"ZRSCH_PERIOD_SEC";
inline constexpr const wchar_t* kStartKey = L"ZRSCH_START";

}  // namespace ZRSCH

// A task without a schedule.
ZR_API ZRSCH::Task ZRSCH_CreateTask();
// A schedule that runs every periodSeconds (at least one) from start.
ZR_API ZRSCH::Schedule ZRSCH_CreateSecondsSchedule(std::int32_t periodSeconds, std::int64_t start);
// The task's schedule as a container: {kind, period in seconds, start as a
// date-time}; a task without a schedule gives an empty container.
ZR_API ZRSTD::CAutoPtr<ZRPAR::Params> ZRPRTS_SerializeSchedule(const ZRSCH::Task& task);
