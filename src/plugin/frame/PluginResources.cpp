#include "plugin/frame/PluginResources.h"

#include <string_view>

#include "plugin/pages/agent/DlgChangePassword.h"
#include "plugin/pages/agent/DlgConnectionManagerTimeInterval.h"
#include "plugin/pages/agent/DlgNLARuleConditionEditor.h"
#include "plugin/pages/agent/DlgProxySettings.h"
#include "plugin/pages/agent/PageAuditWDS.h"
#include "plugin/pages/agent/PageConnectionManagerSettings.h"
#include "plugin/pages/agent/PageGeneralSettings.h"
#include "plugin/pages/agent/PageGroupNetwork.h"
#include "plugin/pages/agent/PageNetStorages.h"
#include "plugin/pages/agent/PageNLARuleConditions.h"
#include "plugin/pages/agent/PageNetProfileGeneral.h"
#include "plugin/pages/agent/PageNetworkNLA.h"
#include "plugin/pages/agent/PageNetworkSettings.h"
#include "plugin/pages/agent/PageRebootSettings.h"
#include "plugin/pages/agent/PageSettingsInetProxy.h"
#include "plugin/pages/installer/DlgProxySettingsPackage.h"
#include "plugin/pages/installer/PageInstallerSettingsAdvanced.h"
#include "plugin/pages/installer/PageInstallerSettingsComponents.h"
#include "plugin/pages/installer/PageInstallerSettingsGeneral.h"
#include "plugin/pages/installer/PageInstallerSettingsNetwork.h"
#include "plugin/pages/agent/PageSettingsPatches.h"
#include "plugin/pages/agent/PageWsusSettings.h"
#include "plugin/pages/nac/PageNacSettingsView.h"
#include "plugin/pages/dpoint/PagePxeConnectionSettings.h"
#include "plugin/pages/dpoint/PageSettingsNetScan.h"
#include "plugin/pages/dpoint/PageUaUpdaterSettings.h"
#include "plugin/pages/dpoint/PageUaVtnSettings.h"
#include "plugin/pages/dpoint/DlgIpScanEntryProperties.h"
#include "plugin/pages/dpoint/PageUAScanAd.h"
#include "plugin/pages/dpoint/PageUAScanIp.h"
#include "plugin/pages/dpoint/PageUAScanWin.h"
#include "plugin/pages/tasks/PageTaskUpdater.h"
#include "plugin/pages/tasks/DlgVapmSearchAddFolder.h"
#include "plugin/pages/tasks/PageTaskCheckUpdatesGeneral.h"
#include "plugin/pages/tasks/PageTaskVapmSearch.h"
#include "plugin/pages/tasks/PageTaskAppControlGeneral.h"
#include "plugin/pages/tasks/PageTaskChangeServerGeneral.h"
#include "plugin/pages/tasks/PageTaskHostControlGeneral.h"
#include "plugin/pages/tasks/PageTaskMessagerGeneral.h"
#include "zrstd/Trace.h"

extern const unsigned char g_stringTable[];
extern const std::size_t g_stringTable_size;
extern const unsigned char g_notificationDefaults[];
extern const std::size_t g_notificationDefaults_size;

namespace frame {

const ui::ResourceModule& PluginResources()
{
    static const ui::ResourceModule* module = [] {
        auto* resources = new ui::ResourceModule(L"zrngtplg");
        std::vector<std::wstring> problems;
        ui::ParseStringTable(std::string_view(reinterpret_cast<const char*>(g_stringTable), g_stringTable_size),
                             *resources, problems);
        for (const auto& problem : problems) ZRSTD::Trace(1, L"the plug-in's string table: %s", problem);
        resources->AddRaw(L"XML", kNotificationDefaultsResource,
                          std::vector<std::uint8_t>(g_notificationDefaults, g_notificationDefaults + g_notificationDefaults_size));
        resources->AddTemplate(CPageGroupNetwork::Template());
        resources->AddTemplate(CPageGeneralSettingsBase::Template());
        resources->AddTemplate(CDlgChangePassword::Template());
        resources->AddTemplate(CPageRebootSettingsBase::Template());
        resources->AddTemplate(CPageNetworkSettingsBase::Template());
        resources->AddTemplate(CPageNetworkSettingsProduct::Template());
        resources->AddTemplate(CPageSettingsInetProxy::Template());
        resources->AddTemplate(CPageConnectionManagerSettings::Template());
        resources->AddTemplate(CDlgConnectionManagerTimeInterval::Template());
        resources->AddTemplate(CPageNetStoragesBase::Template());
        resources->AddTemplate(CPageAuditWDS::Template());
        resources->AddTemplate(CPageSettingsPatches::Template());
        resources->AddTemplate(CPageWsusSettings::Template());
        resources->AddTemplate(CDlgProxySettings::EditableTemplate());
        resources->AddTemplate(CDlgProxySettings::ReadOnlyTemplate());
        resources->AddTemplate(CPageInstallerSettingsGeneral::Template());
        resources->AddTemplate(CPageInstallerSettingsNetwork::Template());
        resources->AddTemplate(CPageInstallerSettingsAdvanced::Template());
        resources->AddTemplate(CPageInstallerSettingsComponents::Template());
        resources->AddTemplate(CDlgProxySettingsPackage::Template(true));
        resources->AddTemplate(CDlgProxySettingsPackage::Template(false));
        resources->AddTemplate(CPageNetworkNLA::Template());
        resources->AddTemplate(CPageNetProfileGeneral::Template());
        resources->AddTemplate(CPageNLARuleConditions::Template());
        resources->AddTemplate(CDlgNLARuleConditionEditor::Template());
        resources->AddTemplate(CDlgNLARuleSimpleConditionEditor::Template());
        resources->AddTemplate(CDlgNLARuleCondPartEditor::Template());
        resources->AddTemplate(CPageUAScanIpBase::Template());
        resources->AddTemplate(CDlgIpScanEntryProperties::Template());
        resources->AddTemplate(CDlgIpIntervalProperties::Template());
        resources->AddTemplate(CPageUAScanAdBase::Template());
        resources->AddTemplate(CDlgADScanEntryProperties::Template());
        resources->AddTemplate(CPageUAScanWinBase::Template());
        for (auto& dialog : CPageNacSettingsView::Templates()) resources->AddTemplate(std::move(dialog));
        resources->AddTemplate(CPageSettingsNetScan::Template());
        resources->AddTemplate(CPageUaVtnSettings::Template());
        resources->AddTemplate(CPageUaUpdaterSettings::Template());
        resources->AddTemplate(CPagePxeConnectionSettings::Template());
        resources->AddTemplate(CPageTaskUpdater::SheetTemplate());
        resources->AddTemplate(CPageTaskUpdater::WizardTemplate());
        resources->AddTemplate(CDlgLanSettings::Template());
        resources->AddTemplate(CDlgUpdPropAdvanced::Template());
        resources->AddTemplate(CDlgUpdSources::Template());
        resources->AddTemplate(CDlgUpdSrcProps::Template());
        resources->AddTemplate(CDlgUpdComponents::Template());
        resources->AddTemplate(CPageTaskCheckUpdatesGeneral::Template());
        resources->AddTemplate(CWizPageTaskCheckUpdatesOptions::Template());
        resources->AddTemplate(CWizPageTaskCheckUpdatesTaskSelectorBase::Template(CWizPageTaskCheckUpdatesTaskSelectorBase::kWizardTemplate));
        resources->AddTemplate(CWizPageTaskCheckUpdatesTaskSelectorBase::Template(CWizPageTaskCheckUpdatesTaskSelectorBase::kEmbeddedTemplate));
        resources->AddTemplate(CPageTaskVapmSearch::Template());
        resources->AddTemplate(CDlgVapmSearchAddFolder::Template());
        resources->AddTemplate(CPageTaskChangeServerGeneral::Template());
        resources->AddTemplate(CPageTaskHostControlGeneral::Template(CPageTaskHostControlGeneral::kFullTemplate));
        resources->AddTemplate(CPageTaskHostControlGeneral::Template(CPageTaskHostControlGeneral::kCompactTemplate));
        resources->AddTemplate(CPageTaskMessagerGeneral::Template());
        resources->AddTemplate(CPageTaskAppControlGeneral::Template(CPageTaskAppControlGeneral::kSheetTemplate));
        resources->AddTemplate(CPageTaskAppControlGeneral::Template(CPageTaskAppControlGeneral::kWizardTemplate));
        return resources;
    }();
    return *module;
}

}  // namespace frame
