#include "zrpar/Schedule.h"

#include <algorithm>

ZRSCH::Task ZRSCH_CreateTask() { return {}; }

ZRSCH::Schedule ZRSCH_CreateSecondsSchedule(std::int32_t periodSeconds, std::int64_t start)
{
    return {ZRSCH::ScheduleKind::kEverySeconds, std::max<std::int32_t>(periodSeconds, 1), start};
}

ZRSTD::CAutoPtr<ZRPAR::Params> ZRPRTS_SerializeSchedule(const ZRSCH::Task& task)
{
    auto serialized = ZRPAR::CreateParams();
    if (!task.hasSchedule) return serialized;
    serialized->AddValue(ZRSCH::kKindKey, ZRPAR::CreateValue(static_cast<std::int32_t>(task.schedule.kind)).Get());
    serialized->AddValue(ZRSCH::kPeriodKey, ZRPAR::CreateValue(task.schedule.periodSeconds).Get());
    serialized->AddValue(ZRSCH::kStartKey, ZRPAR::CreateValue(ZRPAR::DateTime{task.schedule.start}).Get());
    return serialized;
}
