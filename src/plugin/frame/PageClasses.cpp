#include "plugin/frame/PageClasses.h"

#include <map>
#include <string>

#include "plugin/pages/agent/PageAuditWDS.h"
#include "plugin/pages/agent/PageConnectionManagerSettings.h"
#include "plugin/pages/agent/PageGeneralSettings.h"
#include "plugin/pages/agent/PageGroupNetwork.h"
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
#include "plugin/pages/nac/PageNacSettingsView.h"
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
#include "plugin/pages/tasks/WizPageTaskCheckUpdatesTaskSelector.h"
#include "plugin/pages/tasks/PageTaskAppControlGeneral.h"
#include "plugin/pages/tasks/PageTaskChangeServerGeneral.h"
#include "plugin/pages/tasks/PageTaskHostControlGeneral.h"
#include "plugin/pages/tasks/PageTaskMessagerGeneral.h"

namespace frame {

namespace {

PageCreator NacView(int initialSelection)
{
    return [initialSelection](std::shared_ptr<NHPP::CNHPPageData> pageData, UINT dialogId) -> CNHPPropertyPageBase* {
        auto* page = new CPageNacSettingsView(dialogId, std::move(pageData));
        page->SetInitialSelection(initialSelection);
        return page;
    };
}

// A page whose template the factory chooses (a property sheet's or a wizard's layout).
template <class Page>
CNHPPropertyPageBase* CreateWithTemplate(std::shared_ptr<NHPP::CNHPPageData> pageData, UINT dialogId)
{
    return new Page(dialogId, std::move(pageData));
}

template <class Page>
CNHPPropertyPageBase* Create(std::shared_ptr<NHPP::CNHPPageData> pageData, UINT)
{
    return new Page(std::move(pageData));
}

// A local-settings page whose lock controls the factory switches to local-settings mode.
template <class Page>
CNHPPropertyPageBase* CreateLocal(std::shared_ptr<NHPP::CNHPPageData> pageData, UINT)
{
    auto* page = new Page(std::move(pageData));
    page->SetLocalMode(true);
    return page;
}

const std::map<std::wstring, PageCreator, std::less<>>& Creators()
{
    static const std::map<std::wstring, PageCreator, std::less<>> creators = {
        {L"CPageGeneralSettingsBase", &Create<CPageGeneralSettingsBase>},
        {L"CPageGeneralSettingsProduct", &Create<CPageGeneralSettingsProduct>},
        {L"CPageGeneralSettingsProductSNagent",
         [](std::shared_ptr<NHPP::CNHPPageData> pageData, UINT) -> CNHPPropertyPageBase* {
             auto* page = new CPageGeneralSettingsProductSNagent(std::move(pageData));
             page->SetServerHostedAgent(true);
             return page;
         }},
        {L"CPageRebootSettingsBase", &Create<CPageRebootSettingsBase>},
        {L"CPageRebootSettingsProduct", &CreateLocal<CPageRebootSettingsProduct>},
        {L"CPageNetworkSettingsBase", &Create<CPageNetworkSettingsBase>},
        {L"CPageNetworkSettingsProduct", &Create<CPageNetworkSettingsProduct>},
        {L"CPageNetworkNLA", &Create<CPageNetworkNLA>},
        {L"CPageNetworkNLAProduct", &Create<CPageNetworkNLAProduct>},
        {L"CPageGroupNetwork", &Create<CPageGroupNetwork>},
        {L"CPageConnectionManagerSettings", &Create<CPageConnectionManagerSettings>},
        {L"CPageConnectionManagerSettingsProduct", &Create<CPageConnectionManagerSettingsProduct>},
        {L"CPageSettingsInetProxy", &Create<CPageSettingsInetProxy>},
        {L"CPageSettingsInetProxyProduct", &Create<CPageSettingsInetProxyProduct>},
        {L"CPageInstallerSettingsGeneral", &Create<CPageInstallerSettingsGeneral>},
        {L"CPageInstallerSettingsNetwork", &Create<CPageInstallerSettingsNetwork>},
        {L"CPageInstallerSettingsAdvanced", &Create<CPageInstallerSettingsAdvanced>},
        {L"CPageInstallerSettingsComponents", &Create<CPageInstallerSettingsComponents>},
        {L"CPageNetStoragesBase", &Create<CPageNetStoragesBase>},
        {L"CPageNetStoragesProduct", &Create<CPageNetStoragesProduct>},
        {L"CPageAuditWDS", &Create<CPageAuditWDS>},
        {L"CPageAuditWDSProduct", &Create<CPageAuditWDSProduct>},
        {L"CPageSettingsPatches", &Create<CPageSettingsPatches>},
        {L"CPageSettingsPatchesProduct", &CreateLocal<CPageSettingsPatchesProduct>},
        {L"CPageWsusSettings", &Create<CPageWsusSettings>},
        {L"CPageWsusSettingsProduct", &CreateLocal<CPageWsusSettingsProduct>},
        {L"CPageNacNetObjects", NacView(0)},
        {L"CPageNacNetServices", NacView(-1)},
        {L"CPageNacWhiteList", NacView(-1)},
        {L"CPageNacRestrictions", NacView(-1)},
        {L"CPageNacSettingsBase", NacView(-1)},
        {L"CPageNacSettingsProduct", NacView(-1)},
        {L"CPageNacCPAccounts", NacView(-1)},
        {L"CPageNacAuthBanner", NacView(-1)},
        {L"CPageSettingsNetScanPolicy", &Create<CPageSettingsNetScanPolicy>},
        {L"CPageUaVtnSettings", &Create<CPageUaVtnSettings>},
        {L"CPageUaVtnSettingsProduct", &Create<CPageUaVtnSettingsProduct>},
        {L"CPageUaUpdaterSettings", &Create<CPageUaUpdaterSettings>},
        {L"CPagePxeConnectionSettings",
         [](std::shared_ptr<NHPP::CNHPPageData> pageData, UINT) -> CNHPPropertyPageBase* {
             auto* page = new CPagePxeConnectionSettings(std::move(pageData));
             page->SetBootServer(true);
             return page;
         }},
        {L"CPageUAScanIpBase", &Create<CPageUAScanIpBase>},
        {L"CPageUAScanAdBase", &Create<CPageUAScanAdBase>},
        {L"CPageUAScanWinBase", &Create<CPageUAScanWinBase>},
        {L"CPageTaskUpdaterNagent",
         [](std::shared_ptr<NHPP::CNHPPageData> pageData, UINT dialogId) -> CNHPPropertyPageBase* {
             return new CPageTaskUpdaterNagent(std::move(pageData), dialogId);
         }},
        {L"CPageTaskCheckUpdatesGeneral", &Create<CPageTaskCheckUpdatesGeneral>},
        {L"CWizPageTaskCheckUpdatesUpdateTaskSelector", &Create<CWizPageTaskCheckUpdatesUpdateTaskSelector>},
        {L"CWizPageTaskCheckUpdatesScanTaskSelector", &Create<CWizPageTaskCheckUpdatesScanTaskSelector>},
        {L"CWizPageTaskCheckUpdatesOptions", &Create<CWizPageTaskCheckUpdatesOptions>},
        {L"CPageTaskVapmSearch", &Create<CPageTaskVapmSearch>},
        {L"CPageTaskChangeServerGeneral", &Create<CPageTaskChangeServerGeneral>},
        {L"CPageTaskHostControlGeneral", &CreateWithTemplate<CPageTaskHostControlGeneral>},
        {L"CPageTaskMessagerGeneral", &Create<CPageTaskMessagerGeneral>},
        {L"CPageTaskAppControlGeneral", &CreateWithTemplate<CPageTaskAppControlGeneral>},
    };
    return creators;
}

}  // namespace

const PageCreator* FindPageCreator(std::wstring_view className)
{
    auto found = Creators().find(className);
    return found == Creators().end() ? nullptr : &found->second;
}

}  // namespace frame
