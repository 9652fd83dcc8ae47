#include "zrpar/UpdateSource.h"

ZRSTD::CAutoPtr<ZRPAR::Params> ZRUPDSRV_CreateUpdSource(std::int32_t kind, bool useProxy, const wchar_t* url)
{
    return ZRPAR::CreateParamsBody({{L"type", kind}, {L"use_proxy", useProxy}, {L"url", url ? url : L""}});
}

ZRSTD::CAutoPtr<ZRPAR::Params> ZRUPDSRV_CreateDefaultParams()
{
    auto sources = ZRPAR::CreateArrayValue();
    // the administration server, which is reached without a proxy
    sources->Append(ZRPAR::CreateValue(ZRUPDSRV_CreateUpdSource(1, false, L"").Get()).Get());
    auto contents = ZRPAR::CreateParamsBody(
        {{L"Components", ZRPAR::CreateParams()}, {L"Applications", ZRPAR::CreateParams()}});
    auto params = ZRPAR::CreateParamsBody({
        {L"proxy", false},
        {L"use_ie_proxy", false},
        {L"proxy_url", L""},
        {L"proxy_port", 3128},
        {L"proxy_authorisation", false},
        {L"proxy_login", L""},
        {L"passive_ftp", false},
        {L"bypassProxyServerForLocalAddresses", false},
        {L"connect_tmo", 20},
        {L"ZRSRV_FORCE_UPD_SLAVES", false},
        {L"displayAllEventsInHistory", false},
        {L"ZRSRV_SERVER_AUTOUPDATES", true},
        {L"ZRSRV_NAGENT_AUTOUPDATES", true},
        {L"ZRSRV_EXTPROD_AUTOUPDATES", true},
        {L"use_additional_targets", false},
        {L"wait_additional_targets", false},
        {L"ZRSRV_FORCE_UPD_PACKAGES", true},
        {L"retranslation_schema", 0},
        {L"retranslation_dir", L""},
        {L"retranslation_dir_linux", L""},
        {L"RetranslationListData", contents},
        {L"ZRUPDSRV_RetrForInstalledProds", true},
        {L"ZRUPDSRV_RetrForInstalledProdsOnSlaves", true},
        {L"bRetranslateDiffs", false},
        {L"retranslate_only_listed_apps", true},
    });
    params->AddValue(L"UpdateSourceList", sources.Get());
    params->AddValue(L"additional_targets", ZRPAR::CreateArrayValue().Get());
    return params;
}
