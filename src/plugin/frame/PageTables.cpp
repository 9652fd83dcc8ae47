#include "plugin/frame/PageTables.h"

#include <map>

#include "nhpp/PageData.h"

namespace frame {

namespace {

using Pages = std::vector<PageEntry>;

// The network access control block of a policy (index 11 differs in local settings).
Pages NacBlock(bool localSettings)
{
    return {
        {2326, 0, 64059, L"CPageNacNetObjects", 10495},
        {2328, 0, 64061, L"CPageNacNetServices", 10496},
        {2330, 0, 64034, L"CPageNacWhiteList", 10497},
        {2331, 0, 64041, L"CPageNacRestrictions", 10498},
        localSettings ? PageEntry{2385, 0, 64128, L"CPageNacSettingsProduct", 10508}
                      : PageEntry{2385, 0, 64128, L"CPageNacSettingsBase", 10507},
        {51, 0, 64044, L"CPageNacCPAccounts", 10509},
        {52, 0, 64046, L"CPageNacAuthBanner", 10510},
    };
}

void Append(Pages& pages, const Pages& more) { pages.insert(pages.end(), more.begin(), more.end()); }

Pages PolicyPages(PageConditions& conditions)
{
    Pages pages = {
        {1000, 1003, 158030, L"CPageGeneralSettingsBase", 6005},
        {2187, 2188, 158030, L"CPageNetStoragesBase", 10435},
        {70, 71, 158030, L"CPageNetworkSettingsBase", 6002},
        {2079, 2079, 10806, L"CPageNetworkNLA", 10421},
        {2318, 0, 94301, L"CPageConnectionManagerSettings", 10492},
        {2505, 0, 61495, L"CPageWsusSettings", 10518},
        {19, 0, 3320, L"CPageGroupNetwork", 10519},
    };
    if (conditions.IsNacAvailable()) Append(pages, NacBlock(false));
    Append(pages, {
                      {2545, 0, 3884, L"CPageSettingsNetScanPolicy", 10294},
                      {1922, 0, 10304, L"CPageRebootSettingsBase", 10433},
                      {2584, 0, 89263, L"CPageAuditWDS", 10524},
                      {2608, 0, 148954, L"CPageSettingsInetProxy", 10525},
                      {5839, 0, 158030, L"CPageSettingsPatches", 10526},
                      {5891, 0, 158030, L"CPageUaVtnSettings", 10529},
                      {5906, 0, 158030, L"CPageUaUpdaterSettings", 10530},
                  });
    return pages;
}

Pages PolicyWizardPages()
{
    return {
        {1002, 1003, 3907, L"CPageGeneralSettingsBase", 6005},
        {2187, 2188, 3907, L"CPageNetStoragesBase", 10435},
        {70, 71, 3907, L"CPageNetworkSettingsBase", 6002},
        {1922, 0, 3907, L"CPageRebootSettingsBase", 10433},
    };
}

Pages LocalSettingsPages(PageConditions& conditions)
{
    Pages pages = {
        conditions.IsServerHostedAgent() ? PageEntry{1000, 0, 3907, L"CPageGeneralSettingsProductSNagent", 6005}
                                         : PageEntry{1000, 0, 3907, L"CPageGeneralSettingsProduct", 6005},
        {2187, 0, 3907, L"CPageNetStoragesProduct", 10435},
        {87, 0, 3907, L"CPageNetworkSettingsProduct", 6003},
        {2079, 2079, 10806, L"CPageNetworkNLAProduct", 10421},
        {2318, 0, 94301, L"CPageConnectionManagerSettingsProduct", 10492},
        {2505, 0, 61495, L"CPageWsusSettingsProduct", 10518},
        {19, 0, 0, L"CPageGroupNetwork", 10519},
    };
    if (conditions.IsNacAvailable()) Append(pages, NacBlock(true));
    Append(pages, {
                      {1922, 0, 10304, L"CPageRebootSettingsProduct", 10433},
                      {2584, 0, 89263, L"CPageAuditWDSProduct", 10524},
                      {5839, 0, 158030, L"CPageSettingsPatchesProduct", 10526},
                  });
    return pages;
}

Pages DistributionPointPages(PageConditions& conditions)
{
    const PageEntry cloudProxy{5891, 0, 3420, L"CPageUaVtnSettingsProduct", 10529};
    Pages pages;
    switch (conditions.GetPlatformType()) {
    case 0:
        pages = {
            {2275, 0, 3420, L"CPageUAScanWinBase", 10329},
            {2274, 0, 150668, L"CPageUAScanAdBase", 1015},
            {2273, 0, 3420, L"CPageUAScanIpBase", 10381},
            {2608, 0, 148954, L"CPageSettingsInetProxyProduct", 10525},
        };
        break;
    case 1: pages = {{2273, 0, 3420, L"CPageUAScanIpBase", 10381}}; break;
    default: return {};
    }
    if (!conditions.IsServerHostedAgent()) pages.push_back(cloudProxy);
    return pages;
}

Pages InstallerPackagePages(PageConditions& conditions)
{
    Pages pages = {
        {1004, 1005, 13068, L"CPageInstallerSettingsGeneral", 6009},
        {2259, 2260, 3874, L"CPageInstallerSettingsNetwork", 10437},
    };
    if (conditions.GetInstallerInternalVersion() >= 9)
        pages.push_back({32, 33, 3874, L"CPageInstallerSettingsAdvanced", 10494});
    if (conditions.IsNacAvailable() || conditions.GetServerVersionId() < 0xA5000)
        pages.push_back({2537, 0, 62012, L"CPageInstallerSettingsComponents", 10521});
    return pages;
}

struct TaskPages {
    Pages sheet;
    Pages wizard;
};

const std::map<std::wstring, TaskPages>& TaskTable()
{
    static const std::map<std::wstring, TaskPages> table = {
        {L"ZRNAG_TASK_START_STOP_APP",
         {{{1006, 1007, 52336, L"CPageTaskAppControlGeneral", 6007}},
          {{1006, 1007, 46974, L"CPageTaskAppControlGeneral", 6008}}}},
        {L"ZRNAG_TASK_RECONNECTION",
         {{{1008, 1009, 3910, L"CPageTaskChangeServerGeneral", 1056}},
          {{1008, 1009, 3910, L"CPageTaskChangeServerGeneral", 1056}}}},
        {L"ZRNAG_TASK_SHOW_MSG",
         {{{2077, 2078, 10379, L"CPageTaskMessagerGeneral", 10318}},
          {{2077, 2078, 10379, L"CPageTaskMessagerGeneral", 10318}}}},
        {L"ZRNAG_TASK_COMP_CONTROL",
         {{{2140, 2141, 3907, L"CPageTaskHostControlGeneral", 10427}},
          {{2140, 2141, 3907, L"CPageTaskHostControlGeneral", 10428}}}},
        {L"ZRNAG_TASK_CHECK_BASES",
         {{{2154, 2154, 5251, L"CPageTaskCheckUpdatesGeneral", 10430}},
          {{2161, 2162, 52515, L"CWizPageTaskCheckUpdatesUpdateTaskSelector", 10429},
           {2152, 2153, 52515, L"CWizPageTaskCheckUpdatesScanTaskSelector", 10429},
           {2163, 2164, 52515, L"CWizPageTaskCheckUpdatesOptions", 10432}}}},
        {L"DoUpdate",
         {{{2251, 2252, 3411, L"CPageTaskUpdaterNagent", 5064}},
          {{2251, 2252, 3411, L"CPageTaskUpdaterNagent", 5066}}}},
        {L"ZRNAG_TASK_VAPM_SEARCH",
         {{{2487, 0, 172011, L"CPageTaskVapmSearch", 10516}},
          {{2487, 0, 61947, L"CPageTaskVapmSearch", 10516}}}},
    };
    return table;
}

}  // namespace

ConfiguratorMode ModeOf(std::int32_t objectKind, std::int32_t wizard, const std::wstring& taskType)
{
    const bool inWizard = wizard != 0;
    if (objectKind == NHPP::kObjectTask) {
        if (!TaskTable().count(taskType)) return ConfiguratorMode::None;
        return inWizard ? ConfiguratorMode::TaskWizard : ConfiguratorMode::Task;
    }
    if (!taskType.empty()) return ConfiguratorMode::None;
    switch (objectKind) {
    case NHPP::kObjectPolicy: return inWizard ? ConfiguratorMode::PolicyWizard : ConfiguratorMode::Policy;
    case NHPP::kObjectLocalSettings: return inWizard ? ConfiguratorMode::None : ConfiguratorMode::LocalSettings;
    case NHPP::kObjectInstallerPackage: return inWizard ? ConfiguratorMode::None : ConfiguratorMode::InstallerPackage;
    case NHPP::kObjectDistributionPoint: return inWizard ? ConfiguratorMode::None : ConfiguratorMode::DistributionPoint;
    case NHPP::kObjectBootServer: return inWizard ? ConfiguratorMode::None : ConfiguratorMode::BootServer;
    default: return ConfiguratorMode::None;
    }
}

std::vector<PageEntry> PagesOf(ConfiguratorMode mode, const std::wstring& taskType, PageConditions& conditions)
{
    switch (mode) {
    case ConfiguratorMode::None: return {};
    case ConfiguratorMode::Policy: return PolicyPages(conditions);
    case ConfiguratorMode::PolicyWizard: return PolicyWizardPages();
    case ConfiguratorMode::LocalSettings: return LocalSettingsPages(conditions);
    case ConfiguratorMode::DistributionPoint: return DistributionPointPages(conditions);
    case ConfiguratorMode::BootServer:
        return {{2483, 2484, 62143, L"CPagePxeConnectionSettings", 10515}};
    case ConfiguratorMode::InstallerPackage: return InstallerPackagePages(conditions);
    case ConfiguratorMode::Task:
    case ConfiguratorMode::TaskWizard: {
        auto found = TaskTable().find(taskType);
        if (found == TaskTable().end()) return {};
        return mode == ConfiguratorMode::Task ? found->second.sheet : found->second.wizard;
    }
    }
    return {};
}

const std::vector<SectionRegistration>& SectionsOf(ConfiguratorMode mode)
{
    static const std::vector<SectionRegistration> policy = {
        {L"ZRNAG_SECTION_REBOOT_SETTINGS", false}, {L"NAC_SETTINGS", false}, {L"NAC_RESTRICTIONS", false},
        {L"NAC_WHITE_LIST", false}, {L"NAC_NET_OBJS", false}, {L"NAC_SRVC_ADDRS", false},
        {L"NGTINSTALLERDATA", false}, {L"ZRNAG_ZRNLA_DATA", false}, {L"NAC_CP_ACCOUNTS", false},
        {L"ZRNAG_SECTION_WUA", false}, {L"ZRNAG_SECTION_WUA", false}, {L"ZRNAG_VAPM_REAL_TIME_ASSESSMENT", false},
        {L"86", false}, {L"86", false}, {L"86", false}, {L"ZRNAG_SECTION_NETSCAN", false}, {L"86", false},
        {L"ZRNAG_WDS_USRLOG", false}, {L"ZRNAG_PTCH_SETTINGS_SECTION", false}, {L"VTNPROXY_SETTINGS", false},
        {L"UA", false}, {L"ZRNAG_SAPH", false}, {L"ZRNAG_SVCPRT", false}, {L"86", true},
    };
    static const std::vector<SectionRegistration> policyWizard = {
        {L"ZRNAG_SECTION_REBOOT_SETTINGS", false}, {L"NGTINSTALLERDATA", false}, {L"ZRNAG_SECTION_WUA", false},
        {L"ZRNAG_SECTION_WUA", false}, {L"ZRNAG_VAPM_REAL_TIME_ASSESSMENT", false}, {L"86", false},
        {L"86", false}, {L"86", false}, {L"86", false}, {L"ZRNAG_WDS_USRLOG", false},
        {L"ZRNAG_PTCH_SETTINGS_SECTION", false}, {L"ZRNAG_SAPH", false}, {L"ZRNAG_SVCPRT", false}, {L"86", true},
    };
    static const std::vector<SectionRegistration> localSettings = {
        {L"ZRNAG_SECTION_REBOOT_SETTINGS", false}, {L"NAC_SETTINGS", false}, {L"NAC_RESTRICTIONS", false},
        {L"NAC_WHITE_LIST", false}, {L"NAC_NET_OBJS", false}, {L"NAC_SRVC_ADDRS", false},
        {L"NGTINSTALLERDATA", false}, {L"ZRNAG_ZRNLA_DATA", false}, {L"NAC_CP_ACCOUNTS", false},
        {L"ZRNAG_SECTION_WUA", false}, {L"ZRNAG_SECTION_WUA", false}, {L"ZRNAG_VAPM_REAL_TIME_ASSESSMENT", false},
        {L"86", false}, {L"86", false}, {L"86", false}, {L"86", false}, {L"ZRNAG_WDS_USRLOG", false},
        {L"ZRNAG_PTCH_SETTINGS_SECTION", false}, {L"ZRNAG_SAPH", false}, {L"ZRNAG_SVCPRT", false}, {L"86", true},
    };
    static const std::vector<SectionRegistration> distributionPoint = {
        {L"ZRNAG_SECTION_NETSCAN", false}, {L"VTNPROXY_SETTINGS", false}, {L"ZRNAG_SECTION_DPNS", false}, {L"86", true}};
    static const std::vector<SectionRegistration> bootServer = {{L"", true}};
    static const std::vector<SectionRegistration> installerPackage = {{L"InstallerSettings", true}};
    static const std::vector<SectionRegistration> task = {{L"ZRPRSS_TASKS_POLICY", true}};
    static const std::vector<SectionRegistration> none;
    switch (mode) {
    case ConfiguratorMode::Policy: return policy;
    case ConfiguratorMode::PolicyWizard: return policyWizard;
    case ConfiguratorMode::LocalSettings: return localSettings;
    case ConfiguratorMode::DistributionPoint: return distributionPoint;
    case ConfiguratorMode::BootServer: return bootServer;
    case ConfiguratorMode::InstallerPackage: return installerPackage;
    case ConfiguratorMode::Task:
    case ConfiguratorMode::TaskWizard: return task;
    case ConfiguratorMode::None: return none;
    }
    return none;
}

int SectionProviderKindOf(ConfiguratorMode mode)
{
    switch (mode) {
    case ConfiguratorMode::Policy:
    case ConfiguratorMode::PolicyWizard: return NHPP::kSectionPolicy;
    case ConfiguratorMode::BootServer: return NHPP::kSectionParams;
    case ConfiguratorMode::Task:
    case ConfiguratorMode::TaskWizard: return NHPP::kSectionTask;
    default: return NHPP::kSectionProduct;
    }
}

}  // namespace frame
