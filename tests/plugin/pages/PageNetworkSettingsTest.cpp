#include "plugin/pages/agent/PageNetworkSettings.h"

#include <gtest/gtest.h>

#include "plugin/pages/agent/DlgProxySettings.h"
#include "support/PageFixture.h"
#include "support/PolicyBuilder.h"

using testsupport::LockedSetting;
using testsupport::Section;
using testsupport::Setting;

namespace {

using Page = CPageNetworkSettingsBase;
using Product = CPageNetworkSettingsProduct;

class NetworkPage : public testsupport::PageTest {
protected:
    void OpenPolicy(std::initializer_list<ZRPAR::ParamsBodyEntry> settings = {})
    {
        Store(L"86", Section(settings));
        Open(new Page(PageData(NHPP::kObjectPolicy, NHPP::kSectionPolicy, {L"86"})));
    }
    // The local settings of a computer of this type, holding these values.
    ZRPlugin::SettingsStorage& OpenLocal(std::int32_t computerType, const ZRSTD::CAutoPtr<ZRPAR::Params>& values)
    {
        ZRPlugin::SettingsStorage& local = source.WithComputer(computerType);
        local.Replace(L"1103", L"1.0.0.0", L"86", values.Get());
        Open(new Product(PageData(NHPP::kObjectLocalSettings, NHPP::kSectionProduct, {L"86"})));
        return local;
    }
    ZRPAR::Params* Pair(const wchar_t* key) { return Stored(L"86", key); }
    std::int32_t StoredPort()
    {
        auto* ports = static_cast<ZRPAR::ArrayValue*>(StoredValue(L"Nagentports"));
        return ports->GetSize() == 1 ? static_cast<ZRPAR::IntValue*>(ports->GetAt(0).Get())->GetValue() : -1;
    }
    ZRPAR::Value* StoredValue(const wchar_t* key) { return Pair(key)->FindValue(L"ZRPRSS_Val"); }
};

class Limits : public ZRSTD::ZRBaseQIImpl<ZRPlugin::ILimits> {
public:
    explicit Limits(std::int32_t value) : m_value(value) {}
    std::int32_t GetLimit(std::int32_t item) override { return item == 100 ? m_value : 0; }

private:
    std::int32_t m_value;
};

ZRSTD::CAutoPtr<ZRPAR::ArrayValue> Ports(std::int32_t port)
{
    auto ports = ZRPAR::CreateArrayValue();
    ports->Append(ZRPAR::CreateValue(port).Get());
    return ports;
}

}  // namespace

TEST_F(NetworkPage, StoredValuesAreShownInTheirUnitsAndInvertedWhereTheBoxSaysTheOpposite)
{
    OpenPolicy({{L"ServerPingTimeout", Setting(59999, false)}, {L"ZRNAG_USE_CGW_ONLY_IN_PROFILES", Setting(true, false)}});
    EXPECT_EQ(Text(Page::kPeriod), L"0");  // 59999 ms truncated
    EXPECT_FALSE(Checked(Page::kGatewayInDefaults));
    EXPECT_EQ(Text(Page::kUdpPort), L"15000");  // no ports stored
    EXPECT_TRUE(Checked(Page::kUseSsl));        // defaults
    EXPECT_TRUE(Checked(Page::kFirewallPorts));
    EXPECT_FALSE(Checked(Page::kUseUdp));
    EXPECT_FALSE(Enabled(Page::kUdpPort));  // the port follows its box
    EXPECT_FALSE(page->IsModified());

    ui::Click(Control(Page::kGatewayInDefaults));
    ui::Click(Control(Page::kUseUdp));
    EXPECT_TRUE(Enabled(Page::kUdpPort));
    ui::ClearText(Control(Page::kPeriod));
    ui::Type(Control(Page::kPeriod), L"35791");  // the most minutes a 32-bit period of milliseconds holds
    ASSERT_EQ(Sheet().PressOk().outcome, host::PageHost::Outcome::Applied);
    EXPECT_FALSE(static_cast<ZRPAR::BoolValue*>(StoredValue(L"ZRNAG_USE_CGW_ONLY_IN_PROFILES"))->GetValue());
    EXPECT_EQ(static_cast<ZRPAR::IntValue*>(StoredValue(L"ServerPingTimeout"))->GetValue(), 35791 * 60000);
    auto* ports = static_cast<ZRPAR::ArrayValue*>(StoredValue(L"Nagentports"));
    ASSERT_EQ(ports->GetSize(), 1u);
    EXPECT_EQ(static_cast<ZRPAR::IntValue*>(ports->GetAt(0).Get())->GetValue(), 15000);
    EXPECT_TRUE(static_cast<ZRPAR::BoolValue*>(StoredValue(L"OpenUdpPort"))->GetValue());
}

TEST_F(NetworkPage, ValidationNamesTheFieldAndItsRangeAndWritesNothing)
{
    const std::wstring port = L"Invalid Brenvik Network Agent port specified\nДопустимые значения: от 1 до 65535.";
    const std::wstring period = L"Invalid connection period to the Brenvik Administration Server specified.\n"
                                L"Допустимые значения: от 1 до 35791.";
    const struct {
        const char* name;
        std::initializer_list<ZRPAR::ParamsBodyEntry> stored;
        int control;
        const wchar_t* typed;  // null: left as loaded; empty: cleared
        std::wstring message;
    } cases[] = {
        {"no port", {}, Page::kUdpPort, L"", port},
        {"no period", {}, Page::kPeriod, L"", period},
        {"period beyond 32 bits", {}, Page::kPeriod, L"35792", period},
        {"stored port out of range", {{L"Nagentports", Setting(Ports(70000), false)}}, 0, nullptr, port},
        {"stored period below a minute", {{L"ServerPingTimeout", Setting(59999, false)}}, 0, nullptr, period},
        {"stored negative period", {{L"ServerPingTimeout", Setting(-60000, false)}}, 0, nullptr, period},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Reopen();
        auto section = Section(c.stored);
        ZRPAR::GetParamsValue(section, L"ZRPRSS_Val")->AddValue(L"OpenUdpPort", ZRPAR::CreateValue(Setting(true, false).Get()).Get());
        Store(L"86", section);
        Open(new Page(PageData(NHPP::kObjectPolicy, NHPP::kSectionPolicy, {L"86"})));
        if (c.typed) ui::ReplaceText(Control(c.control), c.typed);
        EXPECT_EQ(Sheet().PressOk().outcome, host::PageHost::Outcome::Refused);
        EXPECT_EQ(Boxes(), std::vector<std::wstring>{c.message});
        EXPECT_EQ(Pair(L"UseSsl"), nullptr);  // nothing written
    }
}

TEST_F(NetworkPage, AStoredPortAndPeriodGoBackAsStoredWhenOtherSettingsChange)
{
    OpenPolicy({{L"Nagentports", Setting(Ports(15555), false)}, {L"ServerPingTimeout", Setting(90001, false)}});
    EXPECT_EQ(Text(Page::kUdpPort), L"15555");
    EXPECT_EQ(Text(Page::kPeriod), L"1");
    ui::Click(Control(Page::kCompress));
    ASSERT_EQ(Sheet().PressOk().outcome, host::PageHost::Outcome::Applied);
    EXPECT_EQ(StoredPort(), 15555);
    EXPECT_EQ(static_cast<ZRPAR::IntValue*>(StoredValue(L"ServerPingTimeout"))->GetValue(), 90001);

    Reopen();
    Open(new Page(PageData(NHPP::kObjectPolicy, NHPP::kSectionPolicy, {L"86"})));
    EXPECT_EQ(Text(Page::kUdpPort), L"15555");
    ui::Click(Control(Page::kUseUdp));
    ui::ReplaceText(Control(Page::kUdpPort), L"16000");
    ui::ReplaceText(Control(Page::kPeriod), L"2");
    ASSERT_EQ(Sheet().PressOk().outcome, host::PageHost::Outcome::Applied);
    EXPECT_EQ(StoredPort(), 16000);
    EXPECT_EQ(static_cast<ZRPAR::IntValue*>(StoredValue(L"ServerPingTimeout"))->GetValue(), 120000);
}

TEST_F(NetworkPage, ClearingTheFirewallBoxWarnsOnce)
{
    OpenPolicy();
    user.Answer(IDOK);
    ui::Click(Control(Page::kFirewallPorts));
    ui::Click(Control(Page::kFirewallPorts));  // checking it again says nothing
    ASSERT_EQ(ui::ShownBoxes().size(), 1u);
    EXPECT_EQ(ui::ShownBoxes()[0].style & MB_ICONINFORMATION, static_cast<UINT>(MB_ICONINFORMATION));
    EXPECT_NE(ui::ShownBoxes()[0].text.find(L"Windows Firewall"), std::wstring::npos);
}

TEST_F(NetworkPage, ForcedConnectionIsOfferedByNewServersWhoseLicenceAllowsIt)
{
    const struct {
        std::int32_t server;
        std::optional<std::int32_t> limit;
        bool shown;
    } cases[] = {{0xD0001, 1, true}, {0xD0000, 1, false}, {0xD0001, 0, false}, {0xE0000, std::nullopt, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.server);
        Reopen();
        source.WithServerVersion(c.server);
        if (c.limit) source.Set(L"ZRLIM::Limits", ZRSTD::MakeRef<Limits>(*c.limit));
        else source.Remove(L"ZRLIM::Limits");
        OpenPolicy();
        EXPECT_EQ(Visible(Page::kForcedConnection), c.shown);
        EXPECT_EQ(Visible(Page::kForcedGroup), c.shown);
    }
}

TEST_F(NetworkPage, ALockedGroupIsReadOnlyAndUntouched)
{
    OpenPolicy({{L"UseSsl", LockedSetting(false, {L"Офис", L"Головная", L""})},
                {L"ServerPingTimeout", LockedSetting(120000, {L"Офис", L"Головная", L""})}});
    EXPECT_FALSE(Checked(Page::kUseSsl));
    EXPECT_EQ(Text(Page::kPeriod), L"2");
    for (int id : {Page::kUseSsl, Page::kCompress, Page::kPeriod, Page::kFirewallPorts}) EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_TRUE(Enabled(Page::kUseUdp));  // the UDP group has its own lock
    ASSERT_EQ(Sheet().PressOk().outcome, host::PageHost::Outcome::Applied);
    EXPECT_EQ(Pair(L"ZRNAG_COMPRESS_TRAFFIC"), nullptr);
    EXPECT_EQ(static_cast<ZRPAR::IntValue*>(StoredValue(L"ServerPingTimeout"))->GetValue(), 120000);
}

TEST_F(NetworkPage, LocalSettingsNameTheServerAndFollowThePlatform)
{
    const struct {
        std::int32_t computerType;
        ZRSTD::CAutoPtr<ZRPAR::Params> local;
        std::wstring line;
        bool sslEnabled, firewallEnabled;
    } cases[] = {
        {0, ZRPAR::CreateParamsBody({{L"ServerAddress", L"http://adm.example.org"}, {L"UseSsl", false}}),
         L"Агент администрирования подключен к серверу администрирования с адресом adm.example.org:14000 без "
         L"использования SSL.",
         true, true},
        {0x2000, ZRPAR::CreateParamsBody({{L"ServerAddress", L"adm"}}),
         L"Агент администрирования подключен к серверу администрирования с адресом adm:13000 с использованием SSL.", true,
         false},
        {0x80, ZRPAR::CreateParamsBody({{L"ServerAddress", L"adm"}}),
         L"Агент администрирования подключен к серверу администрирования с адресом adm:13000 с использованием SSL.", false,
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.computerType);
        Reopen();
        OpenLocal(c.computerType, c.local);
        EXPECT_EQ(Text(Product::kConnectedTo), c.line);
        EXPECT_EQ(Enabled(Page::kUseSsl), c.sslEnabled);
        EXPECT_EQ(Enabled(Page::kFirewallPorts), c.firewallEnabled);
        if (!c.firewallEnabled) {
            EXPECT_FALSE(Checked(Page::kFirewallPorts));
        }
        EXPECT_EQ(Text(Product::kProxyLink), L"Настройки подключения через &прокси-сервер");
    }
}

TEST_F(NetworkPage, TheProxyLinkShowsTheInstalledProxyReadOnlyAndChangesNothing)
{
    OpenLocal(0, ZRPAR::CreateParamsBody({{L"ServerAddress", L"adm"},
                                          {L"ZRNAG_PROXYHOST_USE", true},
                                          {L"ZRNAG_PROXYHOST_LOCATION", L"http://proxy.corp"},
                                          {L"ZRNAG_PROXYHOST_LOGIN", L"CORP\\agent"}}));
    bool opened = false;
    user.InDialog([&](HWND dialog) {
        opened = true;
        EXPECT_EQ(GetDlgItemTextW(dialog, CDlgProxySettings::kUseProxyAnswer), L"Да");
        EXPECT_EQ(GetDlgItemTextW(dialog, CDlgProxySettings::kAddress), L"proxy.corp");
        EXPECT_EQ(GetDlgItemTextW(dialog, CDlgProxySettings::kPort), L"8080");  // no port stored
        EXPECT_EQ(GetDlgItemTextW(dialog, CDlgProxySettings::kUser), L"CORP\\agent");
        EXPECT_EQ(GetDlgItemTextW(dialog, CDlgProxySettings::kUseAuthAnswer), L"Да");
        EXPECT_EQ(GetDlgItem(dialog, IDOK), nullptr);  // nothing here to confirm
        ui::Click(ui::FindControl(dialog, IDCANCEL));
    });
    ui::Click(Control(Product::kProxyLink));
    EXPECT_TRUE(opened);
    EXPECT_FALSE(page->IsModified());
}

TEST_F(NetworkPage, AComputerWhosePolicyCannotBeReadShowsItsValuesLockedAndSavesNothing)
{
    auto* damaged = source.Set(L"POLICY_SETTINGS", ZRSTD::MakeRef<testsupport::FailingStorage>());
    damaged->failReads = true;
    ZRPlugin::SettingsStorage& local = OpenLocal(0, ZRPAR::CreateParamsBody({{L"UseSsl", false}}));
    EXPECT_EQ(Boxes(), std::vector<std::wstring>{
                           L"Параметры политики не удалось прочитать: the test storage refuses to read\n"
                           L"Параметры, которые может задавать политика, недоступны для изменения, и изменения на этой "
                           L"странице сохранить нельзя."});
    EXPECT_FALSE(Checked(Page::kUseSsl));  // the computer's value
    for (int id : {Page::kUseSsl, Page::kPeriod, Page::kUseUdp, Page::kForcedConnection}) EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_EQ(Sheet().PressOk().outcome, host::PageHost::Outcome::Failed);
    const auto stored = testsupport::ReadStored(local, L"86");  // nothing written
    EXPECT_TRUE(ZRPAR::Equals(*stored, *ZRPAR::CreateParamsBody({{L"UseSsl", false}}))) << ZRPAR::RenderText(*stored);
}

TEST_F(NetworkPage, TheExportGroupsTheConnectionUnderItsLock)
{
    Store(L"86", Section({{L"ServerPingTimeout", Setting(300000, true)}, {L"UseSsl", Setting(true, true)},
                          {L"OpenUdpPort", Setting(true, false)}}));
    const auto results = Page::Export(*PageData(NHPP::kObjectPolicy, NHPP::kSectionPolicy, {L"86"}));
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(testsupport::ExportText(*results[0]),
              "Подключение к Серверу администрирования\n"
              "  Период синхронизации, мин.: 5\n"
              "  Сжимать сетевой трафик: Да\n"
              "  Открывать порты Агента администрирования в Windows Firewall: Да\n"
              "  Использовать SSL-соединение: Да\n"
              "  Использовать шлюз соединений Агента обновлений (при наличии) в настройках подключения по умолчанию: Да\n"
              "  Замочек \"Подключение к Серверу администрирования\": Редактирование запрещено\n"
              "Use update agent to force connection to Administration Server: Нет\n"
              "Замочек \"Use update agent to force connection to Administration Server\": Редактирование разрешено\n"
              "Использовать UDP-порт: Да\n"
              "Номер UDP-порта: 15000\n"
              "Замочек \"Использовать UDP-порт\": Редактирование разрешено\n");
}
