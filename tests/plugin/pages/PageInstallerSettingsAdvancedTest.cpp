#include "plugin/pages/installer/PageInstallerSettingsAdvanced.h"

#include <gtest/gtest.h>

#include "plugin/pages/InstallerPageTest.h"
#include "ui/UserActions.h"

namespace {

using Page = CPageInstallerSettingsAdvanced;
using Outcome = host::PageHost::Outcome;

class InstallerAdvancedPage : public testsupport::InstallerPageTest {
protected:
    void OpenPage(std::initializer_list<ZRPAR::ParamsBodyEntry> settings)
    {
        StorePackage(settings);
        Reopen();
        Open(new Page(PackageData()));
    }
};

}  // namespace

TEST_F(InstallerAdvancedPage, TheStoredModeChoosesTheBoxesAndTheirRulesHold)
{
    const struct {
        const char* what;
        std::int32_t mode;
        const wchar_t* address;
        bool gateway, through, throughEnabled, addressEnabled;
        const wchar_t* shown;
    } cases[] = {
        {"no gateway", 0, L"gw.corp", false, false, true, false, L""},
        {"a gateway itself", 1, L"gw.corp", true, false, false, false, L""},
        {"through a gateway", 2, L"gw.corp", false, true, true, true, L"gw.corp"},
        {"through a gateway without address", 2, L"", false, false, true, false, L""},
        {"an unknown mode", 7, L"gw.corp", false, false, true, false, L""},
    };
    for (const auto& entry : cases) {
        SCOPED_TRACE(entry.what);
        OpenPage({{L"GATEWAYMODE", entry.mode}, {L"GATEWAYADDRESS", entry.address}, {L"VMVDI", true}});
        EXPECT_EQ(Checked(Page::kActAsGateway), entry.gateway);
        EXPECT_EQ(Checked(Page::kUseGateway), entry.through);
        EXPECT_EQ(Enabled(Page::kUseGateway), entry.throughEnabled);
        EXPECT_EQ(Enabled(Page::kGatewayAddress), entry.addressEnabled);
        EXPECT_EQ(Enabled(Page::kGatewayLabel), entry.addressEnabled);
        EXPECT_EQ(Text(Page::kGatewayAddress), entry.shown);
        EXPECT_TRUE(Checked(Page::kVdi));
        EXPECT_FALSE(Checked(Page::kVmOptimize));
        EXPECT_FALSE(page->IsModified());
    }
}

TEST_F(InstallerAdvancedPage, ApplyWritesTheModeAndTheAddressOnlyWithAGatewayToConnectThrough)
{
    const struct {
        const char* what;
        std::int32_t storedMode;
        std::function<void()> act;
        std::int32_t mode;
        const wchar_t* address;
    } cases[] = {
        {"untouched", 2, [] {}, 2, L"gw.corp"},
        {"becoming a gateway", 2,
         [this] {
             ui::Click(Control(Page::kActAsGateway));
             EXPECT_FALSE(Checked(Page::kUseGateway));  // a gateway connects by itself
             EXPECT_FALSE(Enabled(Page::kGatewayAddress));
         },
         1, L""},
        {"another gateway", 2, [this] { ui::EnterText(Control(Page::kGatewayAddress), L"  gw2.corp "); }, 2, L"gw2.corp"},
        {"mode 2 without address", 2, [this] { ui::Click(Control(Page::kUseGateway)); }, 0, L""},
        {"an unknown mode left alone", 7, [] {}, 7, L"gw.corp"},
        {"an unknown mode replaced", 7, [this] { ui::Click(Control(Page::kActAsGateway)); }, 1, L""},
    };
    for (const auto& entry : cases) {
        SCOPED_TRACE(entry.what);
        OpenPage({{L"GATEWAYMODE", entry.storedMode}, {L"GATEWAYADDRESS", L"gw.corp"}});
        entry.act();
        ASSERT_EQ(Sheet().PressOk().outcome, Outcome::Applied) << ToUtf8Boxes();
        EXPECT_EQ(SavedInt(L"GATEWAYMODE"), entry.mode);
        EXPECT_EQ(SavedString(L"GATEWAYADDRESS"), entry.address);
        EXPECT_EQ(SavedBool(L"VMVDI"), false);
        EXPECT_EQ(SavedBool(L"VMOPTIMIZE"), false);
    }
}

TEST_F(InstallerAdvancedPage, AGatewayToConnectThroughNeedsAnAddress)
{
    OpenPage({{L"GATEWAYMODE", 0}});
    ui::Click(Control(Page::kUseGateway));
    ui::EnterText(Control(Page::kGatewayAddress), L"   ");
    EXPECT_EQ(Sheet().PressOk().outcome, Outcome::Refused);
    EXPECT_EQ(Boxes(), std::vector<std::wstring>{L"Не указан адрес шлюза соединений."});
    EXPECT_EQ(SavedInt(L"GATEWAYMODE"), 0);
    EXPECT_FALSE(SavedHas(L"VMVDI"));
}
