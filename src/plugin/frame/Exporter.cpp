#include "plugin/frame/Exporter.h"

#include <algorithm>
#include <cwctype>
#include <map>

#include "controls/LockCtrl.h"
#include "controls/PluginEnvironment.h"
#include "plugin/pages/PageResources.h"
#include "plugin/pages/agent/PageAuditWDS.h"
#include "plugin/pages/agent/PageConnectionManagerSettings.h"
#include "plugin/pages/agent/PageGeneralSettings.h"
#include "plugin/pages/agent/PageNetStorages.h"
#include "plugin/pages/agent/PageNetworkNLA.h"
#include "plugin/pages/agent/PageNetworkSettings.h"
#include "plugin/pages/agent/PageRebootSettings.h"
#include "plugin/pages/agent/PageSettingsInetProxy.h"
#include "plugin/pages/installer/PageInstallerSettingsAdvanced.h"
#include "plugin/pages/installer/PageInstallerSettingsComponents.h"
#include "plugin/pages/installer/PageInstallerSettingsGeneral.h"
#include "plugin/pages/installer/PageInstallerSettingsNetwork.h"
#include "plugin/pages/agent/PageSettingsPatches.h"
#include "plugin/pages/agent/PageWsusSettings.h"
#include "plugin/pages/dpoint/PagePxeConnectionSettings.h"
#include "plugin/pages/dpoint/PageSettingsNetScan.h"
#include "plugin/pages/dpoint/PageUaUpdaterSettings.h"
#include "plugin/pages/dpoint/PageUaVtnSettings.h"
#include "plugin/pages/dpoint/PageUAScanAd.h"
#include "plugin/pages/dpoint/PageUAScanIp.h"
#include "plugin/pages/dpoint/PageUAScanWin.h"
#include "plugin/pages/tasks/PageTaskUpdater.h"
#include "plugin/pages/tasks/PageTaskCheckUpdatesGeneral.h"
#include "plugin/pages/tasks/PageTaskVapmSearch.h"
#include "plugin/pages/tasks/PageTaskAppControlGeneral.h"
#include "plugin/pages/tasks/PageTaskChangeServerGeneral.h"
#include "plugin/pages/tasks/PageTaskHostControlGeneral.h"
#include "plugin/pages/tasks/PageTaskMessagerGeneral.h"
#include "ui/Resources.h"
#include "zrstd/Trace.h"

namespace frame {

namespace {

struct TitledExport {
    UINT titleId;          // 0: the routine writes at the top level (tasks)
    const wchar_t* className;
    std::size_t result;    // which of the routine's containers
};

const std::vector<TitledExport>& PolicyExports()
{
    static const std::vector<TitledExport> exports = {
        {1002, L"CPageGeneralSettingsBase", 0},    {2187, L"CPageNetStoragesBase", 0},
        {2505, L"CPageWsusSettings", 0},           {1923, L"CPageRebootSettingsBase", 0},
        {2584, L"CPageAuditWDS", 0},               {70, L"CPageNetworkSettingsBase", 0},
        {2079, L"CPageNetworkNLA", 0},             {2318, L"CPageConnectionManagerSettings", 0},
        {70, L"CPageConnectionManagerSettings", 1}, {2545, L"CPageSettingsNetScan", 0},
        {2608, L"CPageSettingsInetProxy", 0},      {2546, L"CPageSettingsInetProxy", 1},
        {5839, L"CPageSettingsPatches", 0},        {5891, L"CPageUaVtnSettings", 0},
        {5906, L"CPageUaUpdaterSettings", 0},  // the updater page exports too, after the pages before it
    };
    return exports;
}

const std::vector<TitledExport>& DistributionPointExports()
{
    static const std::vector<TitledExport> exports = {
        {2275, L"CPageUAScanWinBase", 0},
        {2274, L"CPageUAScanAdBase", 0},
        {2273, L"CPageUAScanIpBase", 0},
        {2276, L"CPageUAScanIpBase", 1},
        {5891, L"CPageUaVtnSettings", 0},  // the cloud proxy the point's sheet shows
    };
    return exports;
}

const std::vector<TitledExport>& InstallerPackageExports()
{
    static const std::vector<TitledExport> exports = {
        {1004, L"CPageInstallerSettingsGeneral", 0},
        {2259, L"CPageInstallerSettingsNetwork", 0},
        {32, L"CPageInstallerSettingsAdvanced", 0},
        {2537, L"CPageInstallerSettingsComponents", 0},
    };
    return exports;
}

// Task types in the order they are compared.
const std::vector<std::pair<std::wstring, const wchar_t*>>& TaskExports()
{
    static const std::vector<std::pair<std::wstring, const wchar_t*>> exports = {
        {L"ZRNAG_TASK_CHECK_BASES", L"CPageTaskCheckUpdatesGeneral"},
        {L"ZRNAG_TASK_SHOW_MSG", L"CPageTaskMessagerGeneral"},
        {L"ZRNAG_TASK_RECONNECTION", L"CPageTaskChangeServerGeneral"},
        {L"ZRNAG_TASK_COMP_CONTROL", L"CPageTaskHostControlGeneral"},
        {L"ZRNAG_TASK_START_STOP_APP", L"CPageTaskAppControlGeneral"},
        {L"ZRNAG_TASK_VAPM_SEARCH", L"CPageTaskVapmSearch"},
        {L"DoUpdate", L"CPageTaskUpdater"},
    };
    return exports;
}

std::vector<TitledExport> ExportsOf(std::int32_t objectKind, const std::wstring& taskType)
{
    switch (objectKind) {
    case NHPP::kObjectPolicy: return PolicyExports();
    case NHPP::kObjectDistributionPoint: return DistributionPointExports();
    case NHPP::kObjectInstallerPackage: return InstallerPackageExports();
    case NHPP::kObjectBootServer: return {{2483, L"CPagePxeConnectionSettings", 0}};
    case NHPP::kObjectTask:
        for (const auto& [type, className] : TaskExports())
            if (type == taskType) return {{0, className, 0}};
        return {};
    default: return {};
    }
}

void RegisterExportSections(std::int32_t objectKind, NHPP::CNHPPageData& pageData)
{
    switch (objectKind) {
    case NHPP::kObjectPolicy: {
        const wchar_t* sections[] = {
            L"ZREVP_NF_SECTION", L"86", L"ZRNAG_SECTION_NETSCAN", L"NAC_SETTINGS", L"NAC_RESTRICTIONS",
            L"NAC_WHITE_LIST", L"NAC_NET_OBJS", L"NAC_SRVC_ADDRS", L"NGTINSTALLERDATA", L"ZRNAG_ZRNLA_DATA",
            L"NAC_CP_ACCOUNTS", L"ZRNAG_SECTION_WUA", L"ZRNAG_SECTION_WUA", L"ZRNAG_VAPM_REAL_TIME_ASSESSMENT", L"86",
            L"86", L"86", L"ZRNAG_SECTION_NETSCAN", L"ZRNAG_PTCH_SETTINGS_SECTION", L"ZRNAG_SECTION_REBOOT_SETTINGS",
            L"ZRNAG_WDS_USRLOG", L"VTNPROXY_SETTINGS", L"ZRNAG_SAPH", L"ZRNAG_SVCPRT"};
        bool first86 = true;
        for (const wchar_t* section : sections) {
            const bool current = first86 && std::wstring_view(section) == L"86";
            if (current) first86 = false;
            pageData.RegisterSection(section, NHPP::kSectionPolicy, current);
        }
        pageData.RegisterSection(L"UA", NHPP::kSectionPolicy, false);  // the updater page's
        break;
    }
    case NHPP::kObjectTask: pageData.RegisterSection(L"", NHPP::kSectionTask, true); break;
    case NHPP::kObjectDistributionPoint:
        pageData.RegisterSection(L"ZRNAG_SECTION_DPNS", NHPP::kSectionProduct, false);
        pageData.RegisterSection(L"ZRNAG_SECTION_NETSCAN", NHPP::kSectionProduct, true);
        pageData.RegisterSection(L"VTNPROXY_SETTINGS", NHPP::kSectionProduct, false);
        break;
    case NHPP::kObjectBootServer: pageData.RegisterSection(L"", NHPP::kSectionParams, true); break;
    case NHPP::kObjectInstallerPackage: pageData.RegisterSection(L"InstallerSettings", NHPP::kSectionProduct, true); break;
    default: break;
    }
}

const std::map<std::wstring, ExportRoutine, std::less<>>& Routines()
{
    // each page that exports adds its routine here
    static const std::map<std::wstring, ExportRoutine, std::less<>> routines = {
        {L"CPageGeneralSettingsBase", &CPageGeneralSettingsBase::Export},
        {L"CPageRebootSettingsBase", &CPageRebootSettingsBase::Export},
        {L"CPageNetworkSettingsBase", &CPageNetworkSettingsBase::Export},
        {L"CPageSettingsInetProxy", &CPageSettingsInetProxy::Export},
        {L"CPageConnectionManagerSettings", &CPageConnectionManagerSettings::Export},
        {L"CPageInstallerSettingsGeneral", &CPageInstallerSettingsGeneral::Export},
        {L"CPageInstallerSettingsNetwork", &CPageInstallerSettingsNetwork::Export},
        {L"CPageInstallerSettingsAdvanced", &CPageInstallerSettingsAdvanced::Export},
        {L"CPageInstallerSettingsComponents", &CPageInstallerSettingsComponents::Export},
        {L"CPageNetStoragesBase", &CPageNetStoragesBase::Export},
        {L"CPageWsusSettings", &CPageWsusSettings::Export},
        {L"CPageAuditWDS", &CPageAuditWDS::Export},
        {L"CPageSettingsPatches", &CPageSettingsPatches::Export},
        {L"CPageNetworkNLA", &CPageNetworkNLA::Export},
        {L"CPageSettingsNetScan", &CPageSettingsNetScan::Export},
        {L"CPageUaVtnSettings", &CPageUaVtnSettings::Export},
        {L"CPageUaUpdaterSettings", &CPageUaUpdaterSettings::Export},
        {L"CPagePxeConnectionSettings", &CPagePxeConnectionSettings::Export},
        {L"CPageUAScanWinBase", &CPageUAScanWinBase::Export},
        {L"CPageUAScanAdBase", &CPageUAScanAdBase::Export},
        {L"CPageUAScanIpBase", &CPageUAScanIpBase::Export},
        {L"CPageTaskUpdater", &CPageTaskUpdater::Export},
        {L"CPageTaskCheckUpdatesGeneral", &CPageTaskCheckUpdatesGeneral::Export},
        {L"CPageTaskVapmSearch", &CPageTaskVapmSearch::Export},
        {L"CPageTaskChangeServerGeneral", &CPageTaskChangeServerGeneral::Export},
        {L"CPageTaskHostControlGeneral", &CPageTaskHostControlGeneral::Export},
        {L"CPageTaskMessagerGeneral", &CPageTaskMessagerGeneral::Export},
        {L"CPageTaskAppControlGeneral", &CPageTaskAppControlGeneral::Export},
    };
    return routines;
}

}  // namespace

const ExportRoutine* FindExportRoutine(std::wstring_view className)
{
    auto found = Routines().find(className);
    return found == Routines().end() ? nullptr : &found->second;
}

void StoreTitled(ZRPAR::Params& result, const std::wstring& title, ZRPAR::Params* page)
{
    ZRPAR::Value* existing = result.FindValue(title);
    if (existing && existing->GetType() == ZRPAR::VT_PARAMS) {
        ZRPAR::Params* into = static_cast<ZRPAR::ParamsValue*>(existing)->GetValue();
        for (std::size_t i = 0; i < page->GetSize(); ++i) {
            // a label both pages use keeps the first page's value and numbers the second's
            std::wstring name = page->NameAt(i);
            for (int n = 2; into->DoesExist(name); ++n) name = page->NameAt(i) + L" (" + std::to_wstring(n) + L")";
            into->AddValue(name, page->ValueAt(i));
        }
        return;
    }
    result.ReplaceValue(title, ZRPAR::CreateValue(page).Get());
}

void AddSettingNode(ZRPAR::Params& page, UINT labelId, const std::wstring& valueText, bool mandatory)
{
    AddSettingNode(page, labelId, ZRPAR::CreateValue(valueText).Get(), mandatory);
}

void AddSettingNode(ZRPAR::Params& page, UINT labelId, ZRPAR::Value* value, bool mandatory)
{
    const std::wstring label = NormalizeTitle(ui::LoadStringW(labelId));
    auto node = ZRPAR::CreateParams();
    node->ReplaceValue(label, value);
    node->ReplaceValue(LockNameText(label), ZRPAR::CreateValue(LockStateText(mandatory)).Get());
    page.ReplaceValue(label, ZRPAR::CreateValue(node.Get()).Get());
}

std::wstring YesNoText(bool value) { return ui::LoadStringW(value ? pageres::kYes : pageres::kNo); }

std::wstring NormalizeTitle(const std::wstring& text)
{
    std::wstring title;
    for (wchar_t c : text)
        if (c != L'&') title += c;
    while (!title.empty() && std::iswspace(title.back())) title.pop_back();
    if (title.size() >= 2 && title.back() == L':') title.pop_back();
    return title;
}

std::vector<std::wstring> MissingExportRoutines(std::int32_t objectKind, const std::wstring& taskType)
{
    std::vector<std::wstring> missing;
    for (const auto& entry : ExportsOf(objectKind, taskType))
        if (!FindExportRoutine(entry.className) &&
            std::find(missing.begin(), missing.end(), entry.className) == missing.end())
            missing.push_back(entry.className);
    return missing;
}

}  // namespace frame

void CExporter::ExportSettings(std::int32_t objectKind, ZRPlugin::IDataSource* dataSource, const wchar_t* taskType,
                               ZRPAR::Params* pResult, std::int32_t)
{
    PluginStateScope scope;
    ZRSTD_CHECK_ARG(pResult);
    const std::wstring type = taskType ? taskType : L"";
    NHPP::CNHPPageData pageData(dataSource, objectKind, type);
    const auto exports = frame::ExportsOf(objectKind, type);
    if (exports.empty()) return;
    frame::RegisterExportSections(objectKind, pageData);
    for (const auto& missing : frame::MissingExportRoutines(objectKind, type))
        ZRSTD::Trace(3, L"ExportSettings: this build has no export of %s", missing);

    std::map<std::wstring, std::vector<ZRSTD::CAutoPtr<ZRPAR::Params>>> produced;  // one run per class
    for (const auto& entry : exports) {
        const frame::ExportRoutine* routine = frame::FindExportRoutine(entry.className);
        if (!routine) continue;
        auto& results = produced[entry.className];
        if (results.empty()) results = (*routine)(pageData);
        if (entry.result >= results.size() || !results[entry.result]) continue;
        ZRPAR::Params* page = results[entry.result].Get();
        if (entry.titleId == 0) {
            for (std::size_t i = 0; i < page->GetSize(); ++i) pResult->ReplaceValue(page->NameAt(i), page->ValueAt(i));
        } else {
            frame::StoreTitled(*pResult, frame::NormalizeTitle(ui::LoadStringW(entry.titleId)), page);
        }
    }
}
