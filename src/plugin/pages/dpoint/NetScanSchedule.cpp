#include "plugin/pages/dpoint/NetScanSchedule.h"

#include <ctime>

#include "zrplugin/DataSource.h"
#include "zrstd/Trace.h"

namespace dpoint {

namespace {

// The schedule as the agent reads it: a task repeated every so many seconds from its start.
constexpr const wchar_t* kKindKey = L"ZRSCH_KIND";
constexpr const wchar_t* kPeriodKey = L"ZRSCH_PERIOD_SECONDS";
constexpr const wchar_t* kStartKey = L"ZRSCH_START";
constexpr std::int32_t kSecondsSchedule = 1;
constexpr std::int64_t kMillisecondsPerSecond = 1000;

}  // namespace

ZRSTD::CAutoPtr<ZRPAR::Params> MakePollingSchedule(std::int64_t periodMs, std::int64_t defaultPeriodMs,
                                                   std::int64_t startSeconds)
{
    const std::int64_t seconds = periodMs >= kMillisecondsPerSecond ? periodMs / kMillisecondsPerSecond
                                                                     : defaultPeriodMs / kMillisecondsPerSecond;
    auto schedule = ZRPAR::CreateParams();
    schedule->ReplaceValue(kKindKey, ZRPAR::CreateValue(kSecondsSchedule).Get());
    schedule->ReplaceValue(kPeriodKey, ZRPAR::CreateValue(static_cast<std::int32_t>(seconds)).Get());
    schedule->ReplaceValue(kStartKey, ZRPAR::CreateValue(ZRPAR::DateTime{startSeconds}).Get());
    return schedule;
}

ZRSTD::CAutoPtr<ZRPAR::Params> PollingScheduleToEdit(NHPP::CParams& settings, const PollingScheduleKeys& keys,
                                                     const ZRPAR::Params* pending)
{
    if (pending) return pending->Clone();
    ZRSTD::CAutoPtr<ZRPAR::Params> stored;
    if (settings.GetParams(keys.schedule, &stored, nullptr) == NHPP::kOk && stored) return stored->Clone();
    std::int32_t period = 0;
    if (settings.GetInt(keys.period, period, nullptr) != NHPP::kOk) period = keys.defaultPeriodMs;
    return MakePollingSchedule(period, keys.defaultPeriodMs, static_cast<std::int64_t>(std::time(nullptr)));
}

ZRSTD::CAutoPtr<ZRPAR::Params> EditPollingSchedule(HWND owner, NHPP::CNHPPageData& pageData, ZRPAR::Params* schedule)
{
    auto editor = ZRPlugin::GetDataSourceItem<ZRPlugin::IScheduleEditor>(pageData.GetDataSource(), L"NH_DLG_SCHEDULE");
    if (!editor) {
        ZRSTD::Trace(3, L"EditPollingSchedule: the console offers no schedule editor");
        return nullptr;
    }
    ZRSTD::CAutoPtr<ZRPAR::Params> edited;
    if (!editor->EditSchedule(owner, schedule, kScheduleEditorOptions, &edited) || !edited) return nullptr;
    return edited;
}

}  // namespace dpoint
