// Which pages a configurator gives for each kind of object, and what it does with bad input.
#include <gtest/gtest.h>

#include "plugin/interface/LoadedPlugin.h"
#include "support/ControlQueries.h"
#include "support/PolicyBuilder.h"
#include "ui/CommonControls.h"
#include "ui/Window.h"
#include "zrpar/Params.h"

using testsupport::Configure;
using testsupport::ErrorOf;
using testsupport::FakeDataSource;
using testsupport::PageClasses;
using testsupport::Plugin;

namespace {

const std::vector<std::string> kPolicyWithoutNac = {
    "CPageGeneralSettingsBase", "CPageNetStoragesBase", "CPageNetworkSettingsBase", "CPageNetworkNLA",
    "CPageConnectionManagerSettings", "CPageWsusSettings", "CPageGroupNetwork", "CPageSettingsNetScanPolicy",
    "CPageRebootSettingsBase", "CPageAuditWDS", "CPageSettingsInetProxy", "CPageSettingsPatches", "CPageUaVtnSettings",
    "CPageUaUpdaterSettings"};
const std::vector<std::string> kNacBlock = {"CPageNacNetObjects", "CPageNacNetServices", "CPageNacWhiteList",
                                            "CPageNacRestrictions", "CPageNacSettingsBase", "CPageNacCPAccounts",
                                            "CPageNacAuthBanner"};

std::vector<std::string> WithNacBlock(std::vector<std::string> pages, const std::vector<std::string>& block)
{
    pages.insert(pages.begin() + 7, block.begin(), block.end());
    return pages;
}

}  // namespace

TEST(Configurator, PolicyPagesDependOnTheNetworkAccessControlArea)
{
    struct Case {
        const char* name;
        std::optional<std::int32_t> functionality;
        std::optional<bool> nacAllowed;
        bool nacPages;
    } cases[] = {
        {"no functionality mask", std::nullopt, std::nullopt, false},
        {"0x04 alone", 0x04, std::nullopt, false},
        {"0x40 alone", 0x40, std::nullopt, false},
        {"both bits, no access checker", 0x44, std::nullopt, true},
        {"both bits and more, allowed", 0x7F, true, true},
        {"both bits, access denied", 0x44, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeDataSource source;
        source.WithPolicyStorage();
        if (c.functionality) source.WithFunctionality(*c.functionality);
        if (c.nacAllowed) source.WithNacAccess(*c.nacAllowed);
        auto configurator = Configure(source, 0);
        EXPECT_EQ(PageClasses(*configurator), c.nacPages ? WithNacBlock(kPolicyWithoutNac, kNacBlock) : kPolicyWithoutNac);
    }
}

TEST(Configurator, PolicyDescriptorsCarryTitlesDescriptionsAndHelpIds)
{
    FakeDataSource source;
    source.WithPolicyStorage();
    auto configurator = Configure(source, 0);
    ASSERT_EQ(configurator->GetPageCount(), 14);
    EXPECT_EQ(std::wstring(configurator->GetPageTitle(0)), L"Settings");
    EXPECT_EQ(std::wstring(configurator->GetPageDescription(0)),
              L"On this page you can modify desired application policy settings");
    EXPECT_EQ(std::wstring(configurator->GetPageDescription(4)), L"");  // description id 0
    EXPECT_EQ(std::wstring(configurator->GetPageTitle(7)), L"Сканирование сети");
    const wchar_t* topic = nullptr;
    std::int32_t helpId = 0;
    configurator->GetPageHelp(3, &topic, &helpId);
    EXPECT_EQ(helpId, 10806);
    EXPECT_EQ(std::wstring(topic), L"");
    configurator->GetPageHelp(13, &topic, &helpId);
    EXPECT_EQ(helpId, 158030);
    EXPECT_EQ(configurator->GetPageFlags(7), 0);

    auto wizard = Configure(source, 0, true);
    EXPECT_EQ(PageClasses(*wizard), (std::vector<std::string>{"CPageGeneralSettingsBase", "CPageNetStoragesBase",
                                                              "CPageNetworkSettingsBase", "CPageRebootSettingsBase"}));
    wizard->GetPageHelp(2, &topic, &helpId);
    EXPECT_EQ(helpId, 3907);
}

TEST(Configurator, LocalSettingsOfTheServersOwnAgentStartWithItsGeneralPage)
{
    FakeDataSource source;
    ZRPlugin::SettingsStorage& local = source.WithComputer();
    auto ordinary = Configure(source, 1);
    const auto pages = PageClasses(*ordinary);
    ASSERT_EQ(pages.size(), 10u);
    EXPECT_EQ(pages[0], "CPageGeneralSettingsProduct");
    EXPECT_EQ(pages[7], "CPageRebootSettingsProduct");
    EXPECT_EQ(pages[9], "CPageSettingsPatchesProduct");

    local.Replace(L"1103", L"1.0.0.0", L"86", ZRPAR::CreateParamsBody({{L"ZRNAG_SERVER_INSTALLED", true}}).Get());
    auto serverHosted = Configure(source, 1);
    EXPECT_EQ(PageClasses(*serverHosted)[0], "CPageGeneralSettingsProductSNagent");

    source.WithFunctionality(0x44);
    auto withNac = Configure(source, 1);
    const auto nacPages = PageClasses(*withNac);
    ASSERT_EQ(nacPages.size(), 17u);
    EXPECT_EQ(nacPages[11], "CPageNacSettingsProduct");
    EXPECT_EQ(nacPages[14], "CPageRebootSettingsProduct");

    // local settings have no wizard
    EXPECT_EQ(Configure(source, 1, true)->GetPageCount(), 0);
}

TEST(Configurator, OnOneComputerNoLockOffersAChoice)
{
    FakeDataSource source;
    source.WithComputer();
    source.WithFunctionality(0x44);
    auto configurator = Configure(source, 1);
    host::PageHost sheet;
    int locks = 0;
    for (std::int32_t index = 0; index < configurator->GetPageCount(); ++index) {
        ZRSTD::CAutoPtr<ZRPlugin::IZRConfiguratorPage2> page;
        try {
            configurator->CreatePage(&page, sheet.Sheet(), index);
        } catch (const ZRERR::Error&) {
            continue;  // a page this build lacks
        }
        for (HWND control : GetChildren(page->GetWindow()))
            if (HWND dropDown = GetDlgItem(control, 10001)) {  // a lock control's drop-down
                ++locks;
                EXPECT_FALSE(IsWindowEnabled(dropDown)) << "page " << index << ", lock " << GetDlgCtrlID(control);
            }
    }
    EXPECT_GE(locks, 20);
}

TEST(Configurator, DistributionPointPagesFollowThePlatformClassAndTheServerHostedAgent)
{
    struct Case {
        std::int32_t computerType;
        bool serverHosted;
        std::vector<std::string> pages;
    } cases[] = {
        {0, false, {"CPageUAScanWinBase", "CPageUAScanAdBase", "CPageUAScanIpBase", "CPageSettingsInetProxyProduct", "CPageUaVtnSettingsProduct"}},
        {0, true, {"CPageUAScanWinBase", "CPageUAScanAdBase", "CPageUAScanIpBase", "CPageSettingsInetProxyProduct"}},
        {0x2000, false, {"CPageUAScanIpBase", "CPageUaVtnSettingsProduct"}},
        {0x200000, true, {"CPageUAScanIpBase"}},
        {0x80, false, {}},
        {0x80 | 0x2000, false, {}},  // bit 0x80 decides first
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.computerType);
        FakeDataSource source;
        ZRPlugin::SettingsStorage& local = source.WithComputer(c.computerType);
        if (c.serverHosted)
            local.Replace(L"1103", L"1.0.0.0", L"86", ZRPAR::CreateParamsBody({{L"ZRNAG_SERVER_INSTALLED", true}}).Get());
        EXPECT_EQ(PageClasses(*Configure(source, 4)), c.pages);
    }
}

TEST(Configurator, InstallerPackagePagesDependOnItsVersionAndTheServer)
{
    struct Case {
        std::optional<std::int32_t> internalVersion;
        std::int32_t serverVersion;
        bool nac;
        std::vector<std::string> pages;
    } cases[] = {
        {8, 0xA5000, false, {"CPageInstallerSettingsGeneral", "CPageInstallerSettingsNetwork"}},
        {std::nullopt, 0xA5000, false,
         {"CPageInstallerSettingsGeneral", "CPageInstallerSettingsNetwork", "CPageInstallerSettingsAdvanced"}},
        {9, 0xA4FFF, false,
         {"CPageInstallerSettingsGeneral", "CPageInstallerSettingsNetwork", "CPageInstallerSettingsAdvanced",
          "CPageInstallerSettingsComponents"}},
        {8, 0xB0000, true,
         {"CPageInstallerSettingsGeneral", "CPageInstallerSettingsNetwork", "CPageInstallerSettingsComponents"}},
    };
    for (const auto& c : cases) {
        FakeDataSource source;
        ZRPlugin::SettingsStorage& package = source.WithComputer();
        if (c.internalVersion)
            package.Replace(L"1103", L"1.0.0.0", L"InstallerSettings",
                            ZRPAR::CreateParamsBody({{L"InternalVersion", *c.internalVersion}}).Get());
        source.WithServerVersion(c.serverVersion);
        if (c.nac) source.WithFunctionality(0x44);
        EXPECT_EQ(PageClasses(*Configure(source, 3)), c.pages);
    }
}

TEST(Configurator, EachTaskTypeHasItsPagesAndOtherObjectsNeedAnEmptyTaskType)
{
    FakeDataSource source;
    source.WithTask();
    EXPECT_EQ(PageClasses(*Configure(source, 2, false, L"ZRNAG_TASK_CHECK_BASES")),
              std::vector<std::string>{"CPageTaskCheckUpdatesGeneral"});
    EXPECT_EQ(PageClasses(*Configure(source, 2, true, L"ZRNAG_TASK_CHECK_BASES")),
              (std::vector<std::string>{"CWizPageTaskCheckUpdatesUpdateTaskSelector",
                                        "CWizPageTaskCheckUpdatesScanTaskSelector", "CWizPageTaskCheckUpdatesOptions"}));
    EXPECT_EQ(PageClasses(*Configure(source, 2, false, L"DoUpdate")), std::vector<std::string>{"CPageTaskUpdaterNagent"});
    auto vapm = Configure(source, 2, true, L"ZRNAG_TASK_VAPM_SEARCH");
    const wchar_t* topic = nullptr;
    std::int32_t helpId = 0;
    vapm->GetPageHelp(0, &topic, &helpId);
    EXPECT_EQ(helpId, 61947);
    EXPECT_EQ(std::wstring(vapm->GetPageDescription(0)), L"");
    EXPECT_EQ(Configure(source, 2, false, L"doupdate")->GetPageCount(), 0);  // compared exactly
    EXPECT_EQ(Configure(source, 2, false, L"")->GetPageCount(), 0);

    FakeDataSource policy;
    policy.WithPolicyStorage();
    auto odd = Configure(policy, 0, false, L"DoUpdate");
    EXPECT_EQ(odd->GetPageCount(), 0);
    EXPECT_EQ(std::wstring(odd->GetPageTitle(0)), L"");
    ZRSTD::CAutoPtr<ZRPlugin::IZRConfiguratorPage2> page;
    host::PageHost sheet;
    odd->CreatePage(&page, sheet.Sheet(), 0);
    EXPECT_FALSE(page);
}

TEST(Configurator, TheBootServerConnectionHasOnePageOverItsParameters)
{
    FakeDataSource source;
    source.WithParams();
    auto configurator = Configure(source, 10);
    EXPECT_EQ(PageClasses(*configurator), std::vector<std::string>{"CPagePxeConnectionSettings"});
    EXPECT_EQ(std::wstring(configurator->GetPageTitle(0)), L"Настройки подключения к серверу");
    EXPECT_EQ(std::wstring(configurator->GetPageDescription(0)), L" ");
}

TEST(Configurator, MissingDataIsRefusedWithTheMakersErrors)
{
    auto configurator = host::CreateConfigurator(Plugin(), 0, false, L"");
    EXPECT_EQ(ErrorOf([&] { configurator->SetInterfaces(nullptr); }), "ZRSTD 1186");
    FakeDataSource empty;
    EXPECT_EQ(ErrorOf([&] { configurator->SetInterfaces(&empty); }), "ZRSTD 1182");
    FakeDataSource policyOnly;
    policyOnly.WithPolicyStorage();
    EXPECT_EQ(ErrorOf([&] { Configure(policyOnly, 1); }), "ZRSTD 1182");  // local settings need LOCAL_SETTINGS
    EXPECT_EQ(ErrorOf([&] { Configure(policyOnly, 2, false, L"DoUpdate"); }), "ZRSTD 1182");
    // an unknown kind registers nothing and has no pages
    EXPECT_EQ(Configure(empty, 7)->GetPageCount(), 0);
}

TEST(Configurator, OnlyIndexesOfTheListCreateAPage)
{
    FakeDataSource source;
    source.WithComputer(0x2000);  // a distribution point of platform class 1: the IP range scan, the cloud proxy
    auto configurator = Configure(source, 4);
    host::PageHost sheet;
    ZRSTD::CAutoPtr<ZRPlugin::IZRConfiguratorPage2> page;
    configurator->CreatePage(&page, sheet.Sheet(), 1);
    EXPECT_TRUE(page);
    for (int outside : {2, -1}) {
        ZRSTD::CAutoPtr<ZRPlugin::IZRConfiguratorPage2> none;
        configurator->CreatePage(&none, sheet.Sheet(), outside);
        EXPECT_FALSE(none) << outside;
    }
}

TEST(NacPages, ShowTheirSectionReadOnlyWithTheLocks)
{
    FakeDataSource source;
    ZRPlugin::SettingsStorage& policy = source.WithPolicyStorage();
    source.WithFunctionality(0x44);
    policy.Replace(L"1103", L"1.0.0.0", L"NAC_SETTINGS",
                   testsupport::Section({{L"NAC_ENABLED", testsupport::Setting(true, true)},
                                         {L"NAC_ADMIN_PASSWORD", testsupport::Setting(L"secret", false)}}).Get());
    auto configurator = Configure(source, 0);
    ASSERT_EQ(configurator->GetPageCount(), 21);

    host::PageHost sheet;
    ZRSTD::CAutoPtr<ZRPlugin::IZRConfiguratorPage2> page;
    configurator->CreatePage(&page, sheet.Sheet(), 11);  // the settings page
    ASSERT_TRUE(page);
    const HWND list = GetDlgItem(page->GetWindow(), 1001);
    ASSERT_TRUE(IsWindow(list));
    ASSERT_EQ(SendMessageW(list, LVM_GETITEMCOUNT), 2);
    auto cell = [&](int row, int column) { return testsupport::ListCell(list, row, column); };
    EXPECT_EQ(cell(0, 0), L"NAC_ENABLED");
    EXPECT_EQ(cell(0, 1), L"Да");
    EXPECT_EQ(cell(0, 2), L"Да");
    EXPECT_EQ(cell(1, 1), L"***********");  // secrets are not shown
    EXPECT_EQ(cell(1, 2), L"Нет");
    EXPECT_EQ(GetDlgItemTextW(page->GetWindow(), 1000), L"Настройки");
    EXPECT_TRUE(page->Validate());
    page->Apply();  // changes nothing
    EXPECT_FALSE(page->IsModified());

    // the network objects page opens with its first row selected; an empty section says so
    configurator->CreatePage(&page, sheet.Sheet(), 7);
    ASSERT_TRUE(page);
    const HWND objects = GetDlgItem(page->GetWindow(), 1001);
    ASSERT_EQ(SendMessageW(objects, LVM_GETITEMCOUNT), 1);
    EXPECT_EQ(SendMessageW(objects, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 0);
}
