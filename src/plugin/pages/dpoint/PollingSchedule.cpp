#include "plugin/pages/dpoint/PollingSchedule.h"

#include <ctime>

#include "zrpar/Render.h"
#include "zrpar/Schedule.h"
#include "zrplugin/DataSource.h"
#include "zrstd/Strings.h"
#include "zrstd/Trace.h"

namespace {

ZRSTD::CAutoPtr<ZRPAR::Params> ReadSchedule(NHPP::CParams& provider, const wchar_t* key)
{
    ZRSTD::CAutoPtr<ZRPAR::Params> stored;
    if (provider.GetParams(key, &stored, nullptr) != NHPP::kOk) return nullptr;
    return stored;
}

void TraceSchedule(const wchar_t* when, const wchar_t* key, const ZRPAR::Params* schedule)
{
    ZRSTD::Trace(4, L"%s %s: %s", when, key, schedule ? ZRSTD::FromUtf8(ZRPAR::RenderText(*schedule)) : L"(none)");
}

}  // namespace

ZRSTD::CAutoPtr<ZRPAR::Params> CPollingSchedule::BuildDefault(NHPP::CParams& provider) const
{
    std::int32_t periodMs = 0;
    if (provider.GetInt(m_periodKey, periodMs, nullptr) != NHPP::kOk || periodMs <= 0) periodMs = m_defaultPeriodMs;
    ZRSCH::Task task = ZRSCH_CreateTask();
    task.schedule = ZRSCH_CreateSecondsSchedule(periodMs / 1000, static_cast<std::int64_t>(std::time(nullptr)));
    task.hasSchedule = true;
    return ZRPRTS_SerializeSchedule(task);
}

bool CPollingSchedule::Edit(HWND owner, NHPP::CNHPPageData& pageData, NHPP::CParams& provider)
{
    auto editor = ZRPlugin::GetDataSourceItem<ZRPlugin::IScheduleEditor>(pageData.GetDataSource(), L"NH_DLG_SCHEDULE");
    if (!editor) {
        ZRSTD::Trace(1, L"CPollingSchedule::Edit: the console offers no schedule editor");
        return false;
    }
    ZRSTD::CAutoPtr<ZRPAR::Params> schedule = m_edited;
    if (!schedule) schedule = ReadSchedule(provider, m_scheduleKey);
    if (!schedule) schedule = BuildDefault(provider);
    TraceSchedule(L"before", m_scheduleKey, schedule.Get());
    ZRSTD::CAutoPtr<ZRPAR::Params> edited;
    if (!editor->EditSchedule(owner, schedule.Get(), kEditorOptions, &edited) || !edited) return false;
    TraceSchedule(L"after", m_scheduleKey, edited.Get());
    m_edited = edited;
    return true;
}

NHPP::HResult CPollingSchedule::Write(NHPP::CParams& provider, bool mandatory) const
{
    ZRSTD::CAutoPtr<ZRPAR::Params> schedule = m_edited ? m_edited : ReadSchedule(provider, m_scheduleKey);
    if (!schedule) return NHPP::kOk;
    return provider.SetParams(m_scheduleKey, schedule.Get(), mandatory);
}
