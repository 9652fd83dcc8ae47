#include "plugin/pages/dpoint/PageUaVtnSettings.h"

#include <gtest/gtest.h>

#include "support/PageFixture.h"
#include "zrpar/Render.h"

using testsupport::LockedSetting;
using testsupport::Setting;

namespace {

using Page = CPageUaVtnSettings;
using Product = CPageUaVtnSettingsProduct;
using Outcome = host::PageHost::Outcome;
constexpr const wchar_t* kSection = L"VTNPROXY_SETTINGS";

class VtnPage : public testsupport::PageTest {
protected:
    void OpenPolicy()
    {
        Reopen();
        Open(new Page(PageData(NHPP::kObjectPolicy, NHPP::kSectionPolicy, {kSection, L"86"})));
    }
    // The distribution point's own page over its local settings (and its policy's).
    ZRPlugin::SettingsStorage& OpenLocal(ZRSTD::CAutoPtr<ZRPAR::Params> values)
    {
        Reopen();
        ZRPlugin::SettingsStorage& local = source.WithComputer();
        local.Replace(L"1103", L"1.0.0.0", kSection, values.Get());
        Open(new Product(PageData(NHPP::kObjectDistributionPoint, NHPP::kSectionProduct, {kSection})));
        return local;
    }
    std::string Shown() { return host::PageHost::ControlTable(window); }
    bool OkApplies() { return Sheet().PressOk().outcome == Outcome::Applied; }
};

// A policy holding every setting of the page away from its default.
ZRSTD::CAutoPtr<ZRPAR::Params> Configured(bool mandatory)
{
    return testsupport::Section({{L"VTNPROXY_ENABLE", Setting(true, mandatory)},
                                 {L"VTNPROXY_USE_MASTER_VTNPROXY_AS_VTN", Setting(false, mandatory)},
                                 {L"VTNPROXY_USE_DIRECT_CONN_PRVN", Setting(true, mandatory)},
                                 {L"VTNPROXY_TCP_PORT", Setting(14111, mandatory)},
                                 {L"VTNPROXY_UDP_PORT", Setting(0, mandatory)},
                                 {L"VTNPROXY_ENABLE_HTTPS", Setting(true, mandatory)},
                                 {L"VTNPROXY_HTTPS_PORT", Setting(18111, mandatory)}});
}

}  // namespace

TEST_F(VtnPage, ShowsTheStoredSettingsOrTheDefaultsAndAnUntouchedOkKeepsThem)
{
    const struct {
        const char* name;
        ZRSTD::CAutoPtr<ZRPAR::Params> section;
        bool enabled, forward, ignoreProxy, udpOpen, https;
        const wchar_t *tcp, *udp, *httpsPort;
        const wchar_t* lockShown;
    } cases[] = {
        {"empty policy", testsupport::Section({}), false, true, false, true, false, L"13111", L"15111", L"17111",
         L"Редактирование разрешено"},
        {"configured", Configured(false), true, false, true, false, true, L"14111", L"15111", L"18111",
         L"Редактирование разрешено"},
        {"configured and locked", Configured(true), true, false, true, false, true, L"14111", L"15111", L"18111",
         L"Редактирование запрещено"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Store(kSection, c.section);
        OpenPolicy();
        EXPECT_EQ(Checked(Page::kEnable), c.enabled);
        EXPECT_EQ(Checked(Page::kForward), c.forward);
        EXPECT_EQ(Checked(Page::kDirect), !c.forward);
        EXPECT_EQ(Checked(Page::kIgnoreServerProxy), c.ignoreProxy);
        EXPECT_EQ(Enabled(Page::kIgnoreServerProxy), !c.forward);  // only for the direct way
        EXPECT_EQ(Text(Page::kTcpPort), c.tcp);
        EXPECT_EQ(Checked(Page::kOpenUdp), c.udpOpen);
        EXPECT_EQ(Text(Page::kUdpPort), c.udp);
        EXPECT_EQ(Enabled(Page::kUdpPort), c.udpOpen);
        EXPECT_EQ(Checked(Page::kUseHttps), c.https);
        EXPECT_EQ(Text(Page::kHttpsPort), c.httpsPort);
        EXPECT_EQ(Enabled(Page::kHttpsPort), c.https);
        for (int lock : {Page::kEnableLock, Page::kMethodLock, Page::kPortsLock}) EXPECT_EQ(LockShown(lock), c.lockShown);
        EXPECT_EQ(Text(Page::kPortsGroup), L"Open ports");
        EXPECT_TRUE(OkApplies());
        const std::string saved = StoredText(kSection);
        OpenPolicy();
        EXPECT_TRUE(OkApplies());
        EXPECT_EQ(StoredText(kSection), saved);  // the second OK changes nothing
        EXPECT_EQ(StoredValue<ZRPAR::IntValue>(kSection, L"VTNPROXY_UDP_PORT"), c.udpOpen ? 15111 : 0);
    }
}

TEST_F(VtnPage, ClosingTheUdpPortStoresZeroAndReopensClosed)
{
    OpenPolicy();
    ui::Click(Control(Page::kOpenUdp));
    EXPECT_FALSE(Enabled(Page::kUdpPort));
    ui::Click(Control(Page::kUseHttps));
    ui::ReplaceText(Control(Page::kHttpsPort), L"8443");
    SetLock(Page::kPortsLock, true);
    ASSERT_TRUE(OkApplies());
    EXPECT_EQ(StoredValue<ZRPAR::IntValue>(kSection, L"VTNPROXY_UDP_PORT"), 0);
    EXPECT_EQ(StoredValue<ZRPAR::IntValue>(kSection, L"VTNPROXY_HTTPS_PORT"), 8443);
    EXPECT_TRUE(StoredMandatory(kSection, L"VTNPROXY_TCP_PORT"));
    EXPECT_FALSE(StoredMandatory(kSection, L"VTNPROXY_ENABLE"));  // another lock
    OpenPolicy();
    EXPECT_FALSE(Checked(Page::kOpenUdp));
    ui::ClearText(Control(Page::kHttpsPort));
    ui::Click(Control(Page::kUseHttps));  // an emptied port switched off: the stored one stays
    ui::Click(Control(Page::kOpenUdp));  // opened again: the usual port
    ASSERT_TRUE(OkApplies());
    EXPECT_EQ(StoredValue<ZRPAR::IntValue>(kSection, L"VTNPROXY_UDP_PORT"), 15111);
    EXPECT_EQ(StoredValue<ZRPAR::IntValue>(kSection, L"VTNPROXY_HTTPS_PORT"), 8443);
}

TEST_F(VtnPage, WhereRequestsCannotBeForwardedTheDirectWayIsShownAndTheStoredChoiceKept)
{
    source.Set(L"NH_CONTEXT_KIND", ZRSTD::MakeRef<host::ValueItem>(std::int32_t{2}));
    Store(kSection, testsupport::Section({{L"VTNPROXY_USE_MASTER_VTNPROXY_AS_VTN", Setting(true, false)}}));
    OpenPolicy();
    EXPECT_TRUE(Checked(Page::kDirect));
    EXPECT_FALSE(Checked(Page::kForward));
    EXPECT_FALSE(Enabled(Page::kForward));
    EXPECT_TRUE(Enabled(Page::kIgnoreServerProxy));
    ASSERT_TRUE(OkApplies());
    EXPECT_TRUE(StoredValue<ZRPAR::BoolValue>(kSection, L"VTNPROXY_USE_MASTER_VTNPROXY_AS_VTN"));  // untouched
    ui::Click(Control(Page::kIgnoreServerProxy));  // the method group used: what it shows is saved
    ASSERT_TRUE(OkApplies());
    EXPECT_FALSE(StoredValue<ZRPAR::BoolValue>(kSection, L"VTNPROXY_USE_MASTER_VTNPROXY_AS_VTN"));
    EXPECT_TRUE(StoredValue<ZRPAR::BoolValue>(kSection, L"VTNPROXY_USE_DIRECT_CONN_PRVN"));
}

TEST_F(VtnPage, SettingsAParentPolicyLocksStayReadOnlyAndAsTheyWere)
{
    const testsupport::ParentLock parent{L"Офис", L"Головная", L""};
    Store(kSection, testsupport::Section({{L"VTNPROXY_TCP_PORT", LockedSetting(14111, parent)},
                                          {L"VTNPROXY_UDP_PORT", LockedSetting(16111, parent)},
                                          {L"VTNPROXY_HTTPS_PORT", LockedSetting(99999, parent)}}));
    OpenPolicy();
    EXPECT_EQ(Text(Page::kTcpPort), L"14111");
    EXPECT_EQ(Text(Page::kHttpsPort), L"99999");  // out of range, shown as stored
    for (int id : {Page::kTcpPort, Page::kOpenUdp, Page::kUdpPort, Page::kUseHttps, Page::kHttpsPort})
        EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_TRUE(Enabled(Page::kEnable));
    ui::Click(Control(Page::kEnable));
    ASSERT_TRUE(OkApplies());  // the parent's port is not this policy's to refuse
    EXPECT_TRUE(StoredValue<ZRPAR::BoolValue>(kSection, L"VTNPROXY_ENABLE"));
    EXPECT_EQ(StoredValue<ZRPAR::IntValue>(kSection, L"VTNPROXY_HTTPS_PORT"), 99999);
    EXPECT_TRUE(ZRPAR::GetBoolValue(Stored(kSection, L"VTNPROXY_TCP_PORT"), L"ZRPRSS_ValLck"));
}

TEST_F(VtnPage, BadStoredValuesAreKeptUntilChangedAndPortsOutOfRangeAreNamed)
{
    // another type: the default is shown and the stored value kept
    Store(kSection, testsupport::Section({{L"VTNPROXY_TCP_PORT", Setting(L"13111; drop", false)},
                                          {L"VTNPROXY_ENABLE", Setting(1, false)},
                                          {L"VTNPROXY_UDP_PORT", Setting(true, false)}}));
    OpenPolicy();
    EXPECT_EQ(Text(Page::kTcpPort), L"13111");
    EXPECT_FALSE(Checked(Page::kEnable));
    ASSERT_TRUE(OkApplies());
    EXPECT_EQ(StoredValue<ZRPAR::StringValue>(kSection, L"VTNPROXY_TCP_PORT"), L"13111; drop");
    EXPECT_EQ(StoredValue<ZRPAR::IntValue>(kSection, L"VTNPROXY_ENABLE"), 1);
    EXPECT_TRUE(StoredValue<ZRPAR::BoolValue>(kSection, L"VTNPROXY_UDP_PORT"));
    ui::ReplaceText(Control(Page::kTcpPort), L"13112");  // changed: now it is the page's
    ASSERT_TRUE(OkApplies());
    EXPECT_EQ(StoredValue<ZRPAR::IntValue>(kSection, L"VTNPROXY_TCP_PORT"), 13112);

    const struct {
        const wchar_t* key;
        std::int32_t stored;
        const wchar_t* label;
    } outOfRange[] = {{L"VTNPROXY_TCP_PORT", 0, L"Port"}, {L"VTNPROXY_UDP_PORT", 70000, L"UDP Port"},
                      {L"VTNPROXY_HTTPS_PORT", -1, L"Use HTTPS through port"}};
    for (const auto& c : outOfRange) {
        SCOPED_TRACE(testing::PrintToString(c.stored));
        Store(kSection, testsupport::Section({{c.key, Setting(c.stored, false)}, {L"VTNPROXY_ENABLE_HTTPS", Setting(true, false)}}));
        OpenPolicy();
        ui::ClearInteractionRecord();
        EXPECT_EQ(Sheet().PressOk().outcome, Outcome::Refused);
        ASSERT_EQ(Boxes().size(), 1u);
        EXPECT_NE(Boxes()[0].find(c.label), std::wstring::npos) << ZRSTD::ToUtf8(Boxes()[0]);
        EXPECT_NE(Boxes()[0].find(L"65535"), std::wstring::npos);
        EXPECT_EQ(StoredValue<ZRPAR::IntValue>(kSection, c.key), c.stored);
    }
}

TEST_F(VtnPage, OnTheDistributionPointTheProxySwitchGovernsTheRestAndThePolicyEnforcedStaysReadOnly)
{
    Store(kSection, testsupport::Section({{L"VTNPROXY_USE_MASTER_VTNPROXY_AS_VTN", Setting(false, true)}}));
    ZRPlugin::SettingsStorage& local = OpenLocal(ZRPAR::CreateParamsBody(
        {{L"VTNPROXY_ENABLE", false}, {L"VTNPROXY_UDP_PORT", 16111}}));
    for (int id : {Page::kForward, Page::kDirect, Page::kTcpPort, Page::kOpenUdp, Page::kUdpPort, Page::kUseHttps})
        EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_TRUE(Checked(Page::kDirect));        // the policy's
    EXPECT_EQ(Text(Page::kUdpPort), L"16111");  // the computer's
    EXPECT_FALSE(IsWindowEnabled(LockDropDown(Page::kEnableLock)));  // a computer stores no lock
    ui::Click(Control(Page::kEnable));
    EXPECT_TRUE(Enabled(Page::kUdpPort));
    EXPECT_FALSE(Enabled(Page::kForward));  // enforced by the policy
    ui::ReplaceText(Control(Page::kUdpPort), L"16112");
    ASSERT_TRUE(OkApplies());
    auto stored = testsupport::ReadStored(local, kSection);
    EXPECT_TRUE(ZRPAR::GetBoolValue(stored.Get(), L"VTNPROXY_ENABLE"));
    EXPECT_EQ(ZRPAR::GetIntValue(stored.Get(), L"VTNPROXY_UDP_PORT"), 16112);
}

TEST_F(VtnPage, TheExportListsTheProxyUnderItsGroupWithTheLocks)
{
    Store(kSection, Configured(true));
    const auto results = Page::Export(*PageData(NHPP::kObjectPolicy, NHPP::kSectionPolicy, {kSection}));
    ASSERT_EQ(results.size(), 1u);
    const std::string text = testsupport::ExportText(*results[0]);
    EXPECT_EQ(text.rfind("VTN proxy\n", 0), 0u) << text;
    for (const char* row : {"    Launch VTN Proxy on update agent side: Да\n", "    Method: Access VTN Cloud directly by Internet\n",
                            "    Port: 14111\n", "    Open UDP Port: Нет\n", "    Use HTTPS through port: 18111\n",
                            "    Замочек \"Port\": Редактирование запрещено\n"})
        EXPECT_NE(text.find(row), std::string::npos) << row << "\n" << text;
    EXPECT_EQ(text.find("\n    UDP Port:"), std::string::npos);  // closed: no port to name
}

TEST_F(VtnPage, APointWhosePolicyCannotBeReadShowsItsValuesLockedAndSavesNothing)
{
    auto* damaged = source.Set(L"POLICY_SETTINGS", ZRSTD::MakeRef<testsupport::FailingStorage>());
    damaged->failReads = true;
    ZRPlugin::SettingsStorage& local = OpenLocal(ZRPAR::CreateParamsBody({{L"VTNPROXY_ENABLE", true}}));
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_TRUE(Checked(Page::kEnable));  // the point's own value
    for (int id : {Page::kEnable, Page::kDirect, Page::kTcpPort, Page::kOpenUdp}) EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_NE(Sheet().PressOk().outcome, Outcome::Applied);
    EXPECT_TRUE(ZRPAR::Equals(*testsupport::ReadStored(local, kSection), *ZRPAR::CreateParamsBody({{L"VTNPROXY_ENABLE", true}})));
}
