#include "plugin/frame/ProductEvents.h"

#include "controls/PluginEnvironment.h"
#include "ui/Resources.h"

namespace frame {

namespace {

struct EventRow {
    const wchar_t* eventId;
    std::int32_t severity;
    UINT nameId;
};

constexpr EventRow kAgentEvents[] = {
    {L"ZRNAG_EV_PATCH_INSTALLED_SUCCESSFULLY", 1, 2165},
    {L"ZRNAG_EV_PATCH_INSTALL_STARTING", 1, 2166},
    {L"ZRNAG_EV_PATCH_INSTALL_WARNING", 2, 2167},
    {L"ZRNAG_EV_PATCH_INSTALL_ERROR", 3, 2168},
    {L"ZRNAG_EV_INV_APP_INSTALLED", 1, 40},
    {L"ZRNAG_EV_INV_APP_UNINSTALLED", 1, 41},
    {L"ZRNAG_EV_INV_OBS_APP_INSTALLED", 1, 44},
    {L"ZRNAG_EV_INV_OBS_APP_UNINSTALLED", 1, 45},
    {L"ZRNAG_EV_INV_CMPTR_APP_INSTALLED", 1, 46},
    {L"ZRNAG_EV_DEVICE_ARRIVAL", 1, 36},
    {L"ZRNAG_EV_DEVICE_REMOVE", 1, 37},
    {L"ZRNAG_EV_NAC_DEVICE_DISCOVERED", 1, 2428},
    {L"ZRNAG_EV_NAC_HOST_AUTHORIZED", 1, 2429},
    {L"ZRUSRLOG_EV_FILE_READ", 1, 2589},
    {L"ZRUSRLOG_EV_FILE_MODIFIED", 1, 2590},
    {L"ZRUSRLOG_EV_PROCESS_LAUNCHED", 1, 2591},
    {L"ZRUSRLOG_EV_WDS_BEGIN", 1, 2595},
    {L"ZRUSRLOG_EV_WDS_END", 1, 2596},
    {L"ZRNAG_EV_3P_PATCH_INSTALLED_SUCCESSFULLY", 1, 2565},
    {L"ZRNAG_EV_3P_PATCH_INSTALL_STARTING", 1, 2566},
    {L"ZRNAG_EV_3P_PATCH_INSTALL_WARNING", 2, 2567},
    {L"ZRNAG_EV_3P_PATCH_INSTALL_ERROR", 3, 2568},
    {L"ZRNAG_EV_3P_PATCH_INSTALL_SLIPPED", 2, 2569},
    {L"GNRL_EV_APP_INCIDENT_OCCURED", 2, 2609},
    {L"ZRNAG_EV_WUA_INSTALL_ERROR", 3, 2610},
    {L"VTNPROXY_STARTED_CON_CHK_OK", 1, 7004},
    {L"VTNPROXY_STARTED_CON_CHK_FAILED", 2, 7005},
    {L"VTNPROXY_STOPPED", 1, 7006},
};

}  // namespace

void FillAgentEventList(ZRPlugin::EventDescriptorList& list)
{
    for (const auto& row : kAgentEvents) list.push_back({row.eventId, row.severity, ui::LoadStringW(row.nameId)});
}

void GetEvents(ZRPAR::Params* pResult, const std::function<void(ZRPlugin::EventDescriptorList&)>& fill)
{
    PluginStateScope scope;
    ZRSTD_CHECK_ARG(pResult);
    ZRPlugin::EventDescriptorList list;
    fill(list);
    auto events = ZRPAR::CreateArrayValue(list.size());
    std::size_t index = 0;
    for (const auto& event : list) {
        auto entry = ZRPAR::CreateParamsBody({{L"EventID", event.eventId},
                                              {L"LocalizedEventIDName", event.localizedName},
                                              {L"Severity", event.severity}});
        events->SetAt(index++, ZRPAR::CreateValue(entry.Get()).Get());
    }
    pResult->ReplaceValue(L"Events", events.Get());
}

}  // namespace frame

ZRPlugin::IDataSource* CProductEventsBase::SetDataSource(ZRPlugin::IDataSource* dataSource)
{
    m_dataSource = dataSource;
    return m_dataSource;
}

void CProductEventsBase::GetEvents(ZRPAR::Params* pResult)
{
    frame::GetEvents(pResult, [this](ZRPlugin::EventDescriptorList& list) { FillEventList(list); });
}

void CProductEvents::FillEventList(ZRPlugin::EventDescriptorList& list)
{
    PluginStateScope scope;
    frame::FillAgentEventList(list);
}
