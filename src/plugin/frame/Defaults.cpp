#include "plugin/frame/Defaults.h"

#include <algorithm>
#include <iterator>

#include "plugin/frame/PluginResources.h"
#include "zrpar/Serialize.h"
#include "zrpar/UpdateSource.h"
#include "zrplugin/IZRConfigurator.h"
#include "zrplugin/SettingsStorage.h"
#include "zrstd/ProductMode.h"
#include "ui/Resources.h"

namespace frame {

namespace {

using NHPP::CParams;

void Check(NHPP::HResult result, const wchar_t* section)
{
    if (result < 0)
        ZRERR_throwError("ZRSTD", ZRPlugin::kErrorDefaultsNotWritten,
                         L"the default settings of section \"%s\" could not be written (0x%08X)", section,
                         static_cast<std::uint32_t>(result));
}

void ApplySection(NHPP::CNHPPageData& pageData, const wchar_t* section)
{
    Check(pageData.Provider(section)->Apply(false, nullptr), section);
}

// The default event notification settings (resource "XML" 1009 of the plug-in
// itself); nothing is written when the resource is missing or empty.
void WriteNotificationDefaults(NHPP::CNHPPageData& pageData)
{
    const auto* document = PluginResources().FindRaw(L"XML", kNotificationDefaultsResource);
    if (!document || document->empty()) return;
    ZRSTD::CAutoPtr<ZRPAR::Params> defaults;
    ZRPAR_DeserializeFromMemory(document->data(), document->size(), &defaults);
    auto provider = pageData.Provider(L"ZREVP_NF_SECTION");
    Check(provider->ReplaceRoot(defaults.Get()), L"ZREVP_NF_SECTION");
    Check(provider->Apply(false, nullptr), L"ZREVP_NF_SECTION");
}

void InitPolicyDefaults(NHPP::CNHPPageData& pageData, NHPP::SectionProviderFactory& factory)
{
    pageData.RegisterSection(L"ZREVP_NF_SECTION", NHPP::kSectionPolicy, false, &factory);
    pageData.RegisterSection(L"86", NHPP::kSectionPolicy, true, &factory);
    for (const wchar_t* section :
         {L"ZRNAG_SECTION_NETSCAN", L"NAC_SETTINGS", L"NAC_RESTRICTIONS", L"NAC_WHITE_LIST", L"NAC_NET_OBJS",
          L"NAC_SRVC_ADDRS", L"NGTINSTALLERDATA", L"ZRNAG_ZRNLA_DATA", L"NAC_CP_ACCOUNTS", L"ZRNAG_SECTION_WUA",
          L"ZRNAG_SECTION_WUA", L"ZRNAG_VAPM_REAL_TIME_ASSESSMENT", L"86", L"86", L"86", L"ZRNAG_SECTION_NETSCAN",
          L"ZRNAG_PTCH_SETTINGS_SECTION"})
        pageData.RegisterSection(section, NHPP::kSectionPolicy, false, &factory);

    WriteNotificationDefaults(pageData);

    auto roaming = pageData.Provider(L"ZRNAG_ZRNLA_DATA");
    Check(roaming->SetBool(L"ZRNAG_NLA_ROAMING_IF_UNAVAIL", false, true), L"ZRNAG_ZRNLA_DATA");
    auto general = pageData.Provider(L"86");
    for (const wchar_t* key :
         {L"ENABLE_INVENTORY_FLAG", L"ZRNAGNLST_WUS_ENABLE_FLAG", L"ZRNAGNLST_VAPM_ENABLE_FLAG", L"ZRNAG_HWINV_ENABLED"})
        Check(general->SetBool(key, true, false), L"86");
    auto current = pageData.Provider();
    for (const wchar_t* key : {L"UseSsl"}) Check(current->SetBool(key, true, true), L"86");
    Check(current->SetInt(L"ServerPingTimeout", std::int32_t{900000}, true), L"86");
    for (const wchar_t* key : {L"OpenUdpPort", L"ZRNAG_COMPRESS_TRAFFIC", L"ZRNAG_ALLOW_NETBIOS_NAME_SERVICE",
                               L"ZRNAG_SP_OPEN_PORT_IN_WFW"})
        Check(current->SetBool(key, true, true), L"86");
    auto ports = ZRPAR::CreateArrayValue();
    ports->Append(ZRPAR::CreateValue(std::int32_t{15000}).Get());
    Check(current->SetArray(L"Nagentports", ports.Get(), true), L"86");
    Check(current->SetInt(L"ZREVP_NF_PRSS_MAXIMUM_SIZE", std::int32_t{2}, true), L"86");
    Check(pageData.Provider(L"ZRNAG_SECTION_WUA")->SetBool(L"ZRNAG_WUA_OPT_SWITCH", false, true), L"ZRNAG_SECTION_WUA");
    const bool autostart = (ZRSTD_GetQmcMode() & 2u) == 0;
    Check(pageData.Provider(L"ZRNAG_VAPM_REAL_TIME_ASSESSMENT")
              ->SetBool(L"VAPM_REAL_TIME_ASSESSMENT_AUTOSTART", autostart, false),
          L"ZRNAG_VAPM_REAL_TIME_ASSESSMENT");
    Check(pageData.Provider(L"ZRNAG_PTCH_SETTINGS_SECTION")
              ->SetBool(L"ZRNAG_PTCH_ALLOW_APPLY_NONAPROVED_PATCHES", true, true),
          L"ZRNAG_PTCH_SETTINGS_SECTION");

    // "86" is the current section: applying it once commits every write to it
    ApplySection(pageData, L"86");
    for (const wchar_t* section : {L"ZRNAG_ZRNLA_DATA", L"ZRNAG_SECTION_WUA", L"ZRNAG_VAPM_REAL_TIME_ASSESSMENT",
                                   L"ZRNAG_PTCH_SETTINGS_SECTION"})
        ApplySection(pageData, section);
}

void InitTaskDefaults(const std::wstring& taskType, NHPP::CNHPPageData& pageData)
{
    static const std::wstring kTypesWithDefaults[] = {L"ZRNAG_TASK_RECONNECTION", L"ZRNAG_TASK_COMP_CONTROL",
                                                      L"ZRNAG_TASK_VAPM_SEARCH", L"DoUpdate"};
    if (std::find(std::begin(kTypesWithDefaults), std::end(kTypesWithDefaults), taskType) == std::end(kTypesWithDefaults))
        return;
    auto task = pageData.Provider();
    const wchar_t* section = L"ZRPRSS_TASKS_POLICY";
    if (taskType == L"ZRNAG_TASK_RECONNECTION") {
        Check(task->SetBool(L"ZRNAG_PROXYHOST_USE", false, false), section);
    } else if (taskType == L"ZRNAG_TASK_COMP_CONTROL") {
        Check(task->SetBool(L"ZRNAG_TASK_COMP_CONTROL_SHUTDOWN", true, false), section);
        Check(task->SetBool(L"ZRNAG_SHUTDOWN_TURN_ON_AFTER_SHUTDOWN", true, false), section);
        Check(task->SetBool(L"ZRNAG_SHUTDOWN_FROCE_CLOSE_APP", false, false), section);
        Check(task->SetInt(L"ZRNAG_SHUTDOWN_FROCE_CLOSE_APP_PERIOD", std::int32_t{600}, false), section);
        Check(task->SetBool(L"ZRNAG_SHUTDOWN_ASK", true, false), section);
        Check(task->SetBool(L"ZRNAG_SHUTDOWN_IMMEDIATELY", false, false), section);
        Check(task->SetString(L"ZRNAG_SHUTDOWN_ASK_QUESTION", ui::LoadStringW(2142), false), section);
        Check(task->SetInt(L"ZRNAG_SHUTDOWN_ASK_PERIOD", std::int32_t{600}, false), section);
        Check(task->SetBool(L"ZRNAG_SHUTDOWN_FORCE", false, false), section);
        Check(task->SetInt(L"ZRNAG_SHUTDOWN_FORCE_TIME", std::int32_t{600}, false), section);
    } else if (taskType == L"ZRNAG_TASK_VAPM_SEARCH") {
        Check(task->SetInt(L"nSource", std::int32_t{0}, false), section);
        std::size_t paths = 0;
        if (task->GetArraySize(L"ZRNAG_TSK_VAPMSEARCH_PATHS", paths) != NHPP::kOk || paths == 0)
            for (const wchar_t* path : {L"%SystemRoot%", L"%ProgramFiles%", L"%ProgramFiles(x86)%"})
                Check(task->PushbackArrayItem(L"ZRNAG_TSK_VAPMSEARCH_PATHS", std::wstring(path), nullptr), section);
    } else if (taskType == L"DoUpdate") {
        auto defaults = ZRUPDSRV_CreateDefaultParams();
        defaults->ReplaceValue(L"retranslation_dir",
                               ZRPAR::CreateValue(L"%ALLUSERSPROFILE%\\Application Data\\BrenvikLab\\hubcore\\1103\\Updates").Get());
        defaults->ReplaceValue(L"retranslation_dir_linux",
                               ZRPAR::CreateValue(L"/var/opt/brenvik/zrnagent/1103/Updates").Get());
        ZRSTD::CAutoPtr<ZRPAR::Params> root;
        Check(task->GetRoot(&root), section);
        if (!root) Check(NHPP::kFail, section);
        for (std::size_t i = 0; i < defaults->GetSize(); ++i) root->ReplaceValue(defaults->NameAt(i), defaults->ValueAt(i));
    }
}

void InitInstallerDefaults(NHPP::CNHPPageData& pageData, NHPP::SectionProviderFactory& factory)
{
    if (!ZRPlugin::GetDataSourceItem<ZRPlugin::SettingsStorage>(pageData.GetDataSource(), L"LOCAL_SETTINGS"))
        ZRERR_throwError("ZRSTD", ZRPlugin::kErrorSectionNotLoaded,
                         L"the installer package has no settings container \"InstallerSettings\"");
    auto settings = pageData.RegisterSection(L"InstallerSettings", NHPP::kSectionProduct, true, &factory);
    for (const wchar_t* key : {L"UseSSLConnection", L"ZRNAG_ALLOW_NETBIOS_NAME_SERVICE", L"ZRNAG_SP_OPEN_PORT_IN_WFW"})
        Check(settings->SetBool(key, true, false), L"InstallerSettings");
    Check(settings->Apply(false, nullptr), L"InstallerSettings");
}

}  // namespace

void InitDefaults(std::int32_t objectKind, const std::wstring& taskType, NHPP::CNHPPageData& pageData,
                  NHPP::SectionProviderFactory& factory)
{
    switch (objectKind) {
    case NHPP::kObjectPolicy: InitPolicyDefaults(pageData, factory); break;
    case NHPP::kObjectTask: InitTaskDefaults(taskType, pageData); break;
    case NHPP::kObjectInstallerPackage: InitInstallerDefaults(pageData, factory); break;
    default: break;
    }
}

}  // namespace frame
