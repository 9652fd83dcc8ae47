#pragma once

// Builds a container of the default event notification document's shape: the
// 28 agent events in their severity groups, every setting a policy pair.
#include <string>
#include <vector>

#include "zrpar/Params.h"

namespace testsupport {

inline ZRSTD::CAutoPtr<ZRPAR::Params> PolicyPair(ZRPAR::Value* value, bool locked)
{
    return ZRPAR::CreateParamsBody({{L"ZRPRSS_Mnd", locked}, {L"ZRPRSS_Val", value}});
}

struct NotifiedEvent {
    const wchar_t* group;
    const wchar_t* id;
    int days;
    std::vector<const wchar_t*> switches;
};

inline std::vector<NotifiedEvent> NotifiedEvents()
{
    const std::vector<const wchar_t*> a = {L"EMAIL", L"NET_SEND", L"SCRIPT"};
    const std::vector<const wchar_t*> b = {L"EMAIL", L"SCRIPT", L"SMS", L"SNMP"};
    const std::vector<const wchar_t*> all = {L"EMAIL", L"NET_SEND", L"SCRIPT", L"SMS", L"SNMP", L"SYSLOG"};
    const std::vector<const wchar_t*> c = {L"EMAIL", L"NET_SEND", L"SCRIPT", L"SNMP"};
    return {
        {L"ERR", L"ZRNAG_EV_PATCH_INSTALL_ERROR", 30, a},
        {L"ERR", L"ZRNAG_EV_3P_PATCH_INSTALL_ERROR", 30, b},
        {L"ERR", L"ZRNAG_EV_WUA_INSTALL_ERROR", 30, b},
        {L"INF", L"ZRNAG_EV_PATCH_INSTALLED_SUCCESSFULLY", 30, a},
        {L"INF", L"ZRNAG_EV_PATCH_INSTALL_STARTING", 30, a},
        {L"INF", L"ZRNAG_EV_INV_APP_UNINSTALLED", 0, all},
        {L"INF", L"ZRNAG_EV_INV_APP_INSTALLED", 0, all},
        {L"INF", L"ZRNAG_EV_INV_OBS_APP_INSTALLED", 30, c},
        {L"INF", L"ZRNAG_EV_INV_OBS_APP_UNINSTALLED", 30, c},
        {L"INF", L"ZRNAG_EV_INV_CMPTR_APP_INSTALLED", 30, c},
        {L"INF", L"ZRNAG_EV_DEVICE_ARRIVAL", 30, c},
        {L"INF", L"ZRNAG_EV_DEVICE_REMOVE", 30, c},
        {L"INF", L"ZRNAG_EV_NAC_DEVICE_DISCOVERED", 30, b},
        {L"INF", L"ZRNAG_EV_NAC_HOST_AUTHORIZED", 30, b},
        {L"INF", L"ZRUSRLOG_EV_FILE_READ", 30, b},
        {L"INF", L"ZRUSRLOG_EV_FILE_MODIFIED", 30, b},
        {L"INF", L"ZRUSRLOG_EV_PROCESS_LAUNCHED", 30, b},
        {L"INF", L"ZRNAG_EV_3P_PATCH_INSTALLED_SUCCESSFULLY", 30, b},
        {L"INF", L"ZRNAG_EV_3P_PATCH_INSTALL_STARTING", 30, b},
        {L"INF", L"ZRUSRLOG_EV_WDS_BEGIN", 30, b},
        {L"INF", L"ZRUSRLOG_EV_WDS_END", 30, b},
        {L"INF", L"VTNPROXY_STARTED_CON_CHK_OK", 30, b},
        {L"INF", L"VTNPROXY_STOPPED", 30, b},
        {L"WRN", L"ZRNAG_EV_PATCH_INSTALL_WARNING", 30, {L"EMAIL", L"NET_SEND", L"SCRIPT", L"SMS", L"SNMP"}},
        {L"WRN", L"ZRNAG_EV_3P_PATCH_INSTALL_WARNING", 30, b},
        {L"WRN", L"ZRNAG_EV_3P_PATCH_INSTALL_SLIPPED", 30, b},
        {L"WRN", L"GNRL_EV_APP_INCIDENT_OCCURED", 30, b},
        {L"WRN", L"VTNPROXY_STARTED_CON_CHK_FAILED", 30, b},
    };
}

inline ZRSTD::CAutoPtr<ZRPAR::Params> NotificationDocument()
{
    using namespace ZRPAR;
    auto groups = CreateParamsBody({{L"CRT", CreateArrayValue()}, {L"ERR", CreateArrayValue()},
                                    {L"INF", CreateArrayValue()}, {L"WRN", CreateArrayValue()}});
    for (const auto& event : NotifiedEvents()) {
        auto element = CreateParams();
        auto pair = [&](const wchar_t* name, const CAutoPtr<Value>& value) {
            element->AddValue(name, CreateValue(PolicyPair(value.Get(), false).Get()).Get());
        };
        pair(L"ZREVP_ND_DAYS_TO_STORE_EVENT", CreateValue(event.days));
        pair(L"ZREVP_ND_EVETN_TYPE", CreateValue(event.id));
        pair(L"ZREVP_ND_STORE_AT_CLIENT_LOG", CreateValue(false));
        pair(L"ZREVP_ND_STORE_AT_CLIENT_PRES", CreateValue(false));
        pair(L"ZREVP_ND_STORE_AT_SERVER_LOG", CreateValue(false));
        for (const wchar_t* name : event.switches) pair((std::wstring(L"ZREVP_ND_USE_") + name).c_str(), CreateValue(false));
        GetArrayValue(groups, event.group)->Append(CreateValue(PolicyPair(CreateValue(element.Get()).Get(), false).Get()).Get());
    }
    auto settings = CreateParams();
    for (const wchar_t* group : {L"CRT", L"ERR", L"INF", L"WRN"})
        settings->AddValue(group, CreateValue(PolicyPair(groups->GetValue(group).Get(), group != std::wstring(L"CRT")).Get()).Get());
    settings->AddValue(L"ZREVP_NOTIFICATION_DESCR_ID",
                       CreateValue(PolicyPair(CreateValue(L"8d4224f7-2a52-4080-bbee-02dbf98396e0").Get(), false).Get()).Get());
    auto notifications = CreateParamsBody({{L"ZRPRSS_EVPNotifications", PolicyPair(CreateValue(settings.Get()).Get(), false)}});
    return PolicyPair(CreateValue(notifications.Get()).Get(), false);
}

}  // namespace testsupport
