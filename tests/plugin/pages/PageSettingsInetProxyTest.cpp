#include "plugin/pages/agent/PageSettingsInetProxy.h"

#include <gtest/gtest.h>

#include <functional>

#include "controls/PluginEnvironment.h"
#include "plugin/pages/agent/DlgChangePassword.h"
#include "plugin/pages/agent/DlgProxySettings.h"
#include "support/PageFixture.h"
#include "support/PolicyBuilder.h"
#include "support/TestProtection.h"
#include "zrstd/Crypto.h"
#include "zrstd/PasswordEncoding.h"

using testsupport::LockedSetting;
using testsupport::Section;
using testsupport::Setting;

namespace {

using testsupport::TestProtection;

using Page = CPageSettingsInetProxy;
using Dlg = CDlgProxySettings;
using Bytes = std::vector<std::uint8_t>;

const std::vector<const wchar_t*> kAllKeys = {L"ZRSRV_PROXY_USE",      L"ZRSRV_PROXY_SERVER",
                                              L"ZRSRV_PROXY_PORT",     L"ZRSRV_PROXY_BYPASS",
                                              L"ZRSRV_PROXY_USE_AUTH", L"ZRSRV_PROXY_USER",
                                              L"ZRSRV_PROXY_PASSWORD"};

class ProxyPage : public testsupport::PageTest {
protected:
    void SetUp() override
    {
        PageTest::SetUp();
        protection = source.Set(L"DATA_PROTECTION", ZRSTD::MakeRef<TestProtection>());
    }
    void OpenPolicyPage() { Open(new Page(PageData(NHPP::kObjectPolicy, NHPP::kSectionPolicy, {L"86"}))); }
    void Store(const ZRSTD::CAutoPtr<ZRPAR::Params>& content) { PageTest::Store(L"86", content); }
    ZRPAR::Params* Stored(const wchar_t* key) { return PageTest::Stored(L"86", key); }
    template <class V>
    auto StoredValue(const wchar_t* key)
    {
        return PageTest::StoredValue<V>(L"86", key);
    }
    bool StoredMandatory(const wchar_t* key) { return PageTest::StoredMandatory(L"86", key); }
    std::vector<std::wstring> StoredKeys()
    {
        std::vector<std::wstring> keys;
        for (const wchar_t* key : kAllKeys)
            if (Stored(key)) keys.emplace_back(key);
        return keys;
    }
    HWND LockDropDown() { return PageTest::LockDropDown(Page::kLock); }

    TestProtection* protection = nullptr;
};

// A policy with the proxy, its account and a stored protected password.
ZRSTD::CAutoPtr<ZRPAR::Params> ConfiguredProxy(bool mandatory)
{
    const Bytes blob = TestProtection::Of(L"old secret");
    return Section({{L"ZRSRV_PROXY_USE", Setting(true, mandatory)},
                    {L"ZRSRV_PROXY_SERVER", Setting(L"proxy.office", mandatory)},
                    {L"ZRSRV_PROXY_PORT", Setting(8081, mandatory)},
                    {L"ZRSRV_PROXY_BYPASS", Setting(true, mandatory)},
                    {L"ZRSRV_PROXY_USE_AUTH", Setting(true, mandatory)},
                    {L"ZRSRV_PROXY_USER", Setting(L"OFFICE\\proxyuser", mandatory)},
                    {L"ZRSRV_PROXY_PASSWORD", Setting(ZRPAR::binary_wrapper_t{blob.data(), blob.size()}, mandatory)}});
}

}  // namespace

TEST_F(ProxyPage, AnEmptyPolicyShowsTheDefaultsAndStoresOnlyTheUseFlag)
{
    OpenPolicyPage();
    EXPECT_FALSE(Checked(Page::kUseProxy));
    EXPECT_EQ(Text(Page::kAddress), L"");
    EXPECT_EQ(Text(Page::kPort), L"3128");
    EXPECT_EQ(Text(Page::kPassword), L"***********");
    EXPECT_EQ(Text(Page::kUseProxy), L"Использовать &прокси-сервер");
    EXPECT_EQ(Text(Page::kAddressLabel), L"Адрес прокси-сервера:");
    EXPECT_EQ(Text(Page::kBypassLocal), L"Не использовать прокси-сервер для &локальных адресов");
    EXPECT_FALSE(Visible(Page::kShowPassword));
    EXPECT_EQ(GetWindowTextW(LockDropDown()), L"Редактирование разрешено");
    EXPECT_FALSE(page->IsModified());

    ASSERT_EQ(Sheet().PressOk().outcome, host::PageHost::Outcome::Applied);
    EXPECT_EQ(StoredKeys(), std::vector<std::wstring>{L"ZRSRV_PROXY_USE"});
    EXPECT_FALSE(StoredValue<ZRPAR::BoolValue>(L"ZRSRV_PROXY_USE"));
    EXPECT_FALSE(StoredMandatory(L"ZRSRV_PROXY_USE"));
}

TEST_F(ProxyPage, TheBoxesEnableTheProxyAndTheAccountControls)
{
    OpenPolicyPage();
    const std::vector<int> proxyControls = {Page::kAddress, Page::kPort, Page::kPortSpin, Page::kAddressLabel,
                                            Page::kPortLabel, Page::kUseAuth, Page::kBypassLocal};
    const std::vector<int> accountControls = {Page::kUser, Page::kPassword, Page::kUserLabel, Page::kPasswordLabel,
                                              Page::kCredentialsWarning};
    const struct {
        bool useProxy, useAuth, proxyEnabled, accountEnabled;
    } cases[] = {{false, false, false, false}, {true, false, true, false}, {true, true, true, true},
                 {false, true, false, false}};
    for (const auto& c : cases) {
        ui::SetChecked(Control(Page::kUseProxy), true);  // the account box can only be clicked while enabled
        ui::SetChecked(Control(Page::kUseAuth), c.useAuth);
        ui::SetChecked(Control(Page::kUseProxy), c.useProxy);
        for (int id : proxyControls) EXPECT_EQ(Enabled(id), c.proxyEnabled) << id << " " << c.useProxy << c.useAuth;
        for (int id : accountControls) EXPECT_EQ(Enabled(id), c.accountEnabled) << id << " " << c.useProxy << c.useAuth;
    }
    EXPECT_TRUE(page->IsModified());
}

TEST_F(ProxyPage, EveryChangeOfTheAdministratorsMarksThePageModified)
{
    const struct {
        const char* what;
        std::function<void()> act;
    } changes[] = {
        {"use", [this] { ui::Click(Control(Page::kUseProxy)); }},
        {"address", [this] { ui::Type(Control(Page::kAddress), L"p"); }},
        {"port", [this] { ui::Type(Control(Page::kPort), L"1"); }},
        {"bypass", [this] { ui::Click(Control(Page::kBypassLocal)); }},
        {"authentication", [this] { ui::Click(Control(Page::kUseAuth)); }},
        {"user", [this] { ui::Type(Control(Page::kUser), L"u"); }},
        {"password", [this] { ui::Type(Control(Page::kPassword), L"x"); }},
        {"lock", [this] { ui::SelectItem(LockDropDown(), L"Редактирование запрещено"); }},
    };
    Store(ConfiguredProxy(false));  // everything enabled
    for (const auto& change : changes) {
        SCOPED_TRACE(change.what);
        Reopen();
        OpenPolicyPage();
        EXPECT_FALSE(page->IsModified());
        change.act();
        EXPECT_TRUE(page->IsModified());
    }
}

TEST_F(ProxyPage, ATypedPasswordIsStoredOnlyInProtectedFormWithTheLockChoice)
{
    OpenPolicyPage();
    ui::Click(Control(Page::kUseProxy));
    ui::Type(Control(Page::kAddress), L"  proxy.branch  ");
    ui::ReplaceText(Control(Page::kPort), L"8080");
    ui::Click(Control(Page::kBypassLocal));
    ui::Click(Control(Page::kUseAuth));
    ui::Type(Control(Page::kUser), L" BRANCH\\agent ");
    ui::Type(Control(Page::kPassword), L"Pa$$w0rd");  // typed into the placeholder: replaces it
    EXPECT_EQ(Text(Page::kPassword), L"Pa$$w0rd");
    ui::SelectItem(LockDropDown(), L"Редактирование запрещено");
    ASSERT_EQ(Sheet().PressOk().outcome, host::PageHost::Outcome::Applied);

    EXPECT_EQ(StoredKeys().size(), kAllKeys.size());
    EXPECT_TRUE(StoredValue<ZRPAR::BoolValue>(L"ZRSRV_PROXY_USE"));
    EXPECT_EQ(StoredValue<ZRPAR::StringValue>(L"ZRSRV_PROXY_SERVER"), L"proxy.branch");
    EXPECT_EQ(StoredValue<ZRPAR::IntValue>(L"ZRSRV_PROXY_PORT"), 8080);
    EXPECT_TRUE(StoredValue<ZRPAR::BoolValue>(L"ZRSRV_PROXY_BYPASS"));
    EXPECT_TRUE(StoredValue<ZRPAR::BoolValue>(L"ZRSRV_PROXY_USE_AUTH"));
    EXPECT_EQ(StoredValue<ZRPAR::StringValue>(L"ZRSRV_PROXY_USER"), L"BRANCH\\agent");
    EXPECT_EQ(StoredValue<ZRPAR::BinaryValue>(L"ZRSRV_PROXY_PASSWORD"), TestProtection::Of(L"Pa$$w0rd"));
    for (const wchar_t* key : kAllKeys) EXPECT_TRUE(StoredMandatory(key)) << key;
    EXPECT_EQ(StoredText(L"86").find("Pa$$w0rd"), std::string::npos);
}

TEST_F(ProxyPage, AnUntouchedPasswordIsWrittenBackUnchangedUnderTheCurrentLock)
{
    Store(ConfiguredProxy(false));
    OpenPolicyPage();
    EXPECT_TRUE(Checked(Page::kUseProxy));
    EXPECT_EQ(Text(Page::kAddress), L"proxy.office");
    EXPECT_EQ(Text(Page::kPort), L"8081");
    EXPECT_TRUE(Checked(Page::kBypassLocal));
    EXPECT_TRUE(Checked(Page::kUseAuth));
    EXPECT_EQ(Text(Page::kUser), L"OFFICE\\proxyuser");
    EXPECT_EQ(Text(Page::kPassword), L"***********");  // never the stored password
    EXPECT_TRUE(Enabled(Page::kPassword));

    ui::SelectItem(LockDropDown(), L"Редактирование запрещено");
    ASSERT_EQ(Sheet().PressOk().outcome, host::PageHost::Outcome::Applied);
    EXPECT_EQ(StoredValue<ZRPAR::BinaryValue>(L"ZRSRV_PROXY_PASSWORD"), TestProtection::Of(L"old secret"));
    EXPECT_TRUE(StoredMandatory(L"ZRSRV_PROXY_PASSWORD"));
}

TEST_F(ProxyPage, TurningOffTheAccountOrTheProxyRemovesTheirKeys)
{
    const struct {
        int box;
        std::vector<std::wstring> kept;
    } cases[] = {{Page::kUseAuth,
                  {L"ZRSRV_PROXY_USE", L"ZRSRV_PROXY_SERVER", L"ZRSRV_PROXY_PORT", L"ZRSRV_PROXY_BYPASS",
                   L"ZRSRV_PROXY_USE_AUTH"}},
                 {Page::kUseProxy, {L"ZRSRV_PROXY_USE"}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.box);
        Reopen();
        Store(ConfiguredProxy(false));
        OpenPolicyPage();
        ui::Click(Control(c.box));
        ASSERT_EQ(Sheet().PressOk().outcome, host::PageHost::Outcome::Applied);
        EXPECT_EQ(StoredKeys(), c.kept);
    }
}

TEST_F(ProxyPage, AProxyWithoutAnAddressIsRefusedWithItsMessage)
{
    OpenPolicyPage();
    ui::Click(Control(Page::kUseProxy));
    ui::Type(Control(Page::kAddress), L"   ");
    user.Answer(IDOK);
    EXPECT_EQ(Sheet().PressOk().outcome, host::PageHost::Outcome::Refused);
    ASSERT_EQ(ui::ShownBoxes().size(), 1u);
    EXPECT_EQ(ui::ShownBoxes()[0].text, L"Invalid proxy server address specified.");
    EXPECT_EQ(ui::ShownBoxes()[0].caption, L"Агент администрирования Brenvik");
    EXPECT_EQ(ui::ShownBoxes()[0].style & MB_ICONERROR, static_cast<UINT>(MB_ICONERROR));
    EXPECT_FALSE(testsupport::ReadStored(policy, L"86"));

    ui::Click(Control(Page::kUseProxy));  // no proxy, no address needed
    EXPECT_EQ(Sheet().PressOk().outcome, host::PageHost::Outcome::Applied);
}

TEST_F(ProxyPage, APortBeyondTheRangeCannotBeTyped)
{
    OpenPolicyPage();
    ui::Click(Control(Page::kUseProxy));
    ui::Type(Control(Page::kPort), L"99");  // 31289, then 312899 is undone
    EXPECT_EQ(Text(Page::kPort), L"31289");
    ui::ReplaceText(Control(Page::kPort), L"65535");
    EXPECT_EQ(Text(Page::kPort), L"65535");
    ui::Type(Control(Page::kPort), L"9");
    EXPECT_EQ(Text(Page::kPort), L"65535");
    ui::Type(Control(Page::kAddress), L"10.0.0.1");
    ASSERT_EQ(Sheet().PressOk().outcome, host::PageHost::Outcome::Applied);
    EXPECT_EQ(StoredValue<ZRPAR::IntValue>(L"ZRSRV_PROXY_PORT"), 65535);
}

TEST_F(ProxyPage, ValuesLockedAboveShowReadOnlyAndAreLeftToTheParent)
{
    const testsupport::ParentLock parent{L"Офис", L"Головная политика", L""};
    Store(Section({{L"ZRSRV_PROXY_USE", LockedSetting(true, parent)},
                   {L"ZRSRV_PROXY_SERVER", LockedSetting(L"", parent)}}));
    OpenPolicyPage();
    EXPECT_TRUE(Checked(Page::kUseProxy));
    EXPECT_EQ(GetWindowTextW(LockDropDown()), L"Редактирование запрещено");
    EXPECT_FALSE(IsWindowEnabled(LockDropDown()));
    for (int id : {Page::kUseProxy, Page::kAddress, Page::kPort, Page::kUseAuth, Page::kBypassLocal, Page::kUser,
                   Page::kPassword})
        EXPECT_FALSE(Enabled(id)) << id;
    // the parent's empty address is not the administrator's to correct here
    ASSERT_EQ(Sheet().PressOk().outcome, host::PageHost::Outcome::Applied);
    EXPECT_TRUE(ui::ShownBoxes().empty());
    ASSERT_TRUE(Stored(L"ZRSRV_PROXY_USE"));
    EXPECT_NE(Stored(L"ZRSRV_PROXY_USE")->FindValue(L"ZRPRSS_ValLck"), nullptr);
    EXPECT_FALSE(Stored(L"ZRSRV_PROXY_PORT"));
}

TEST_F(ProxyPage, StoredValuesOfAnotherTypeLoadTheDefaultsAndOutOfRangePortsShowAsStored)
{
    const struct {
        ZRSTD::CAutoPtr<ZRPAR::Params> port;
        const char* what;
        const wchar_t* shown;
    } ports[] = {{Setting(L"8080", false), "a string", L"3128"},
                 {Setting(70000, false), "beyond 65535", L"70000"},
                 {Setting(0, false), "zero", L"0"},
                 {Setting(-1, false), "negative", L"-1"},
                 {Setting(std::int64_t{8080}, false), "a long", L"3128"}};
    for (const auto& port : ports) {
        SCOPED_TRACE(port.what);
        Reopen();
        Store(Section({{L"ZRSRV_PROXY_USE", Setting(1, false)},
                       {L"ZRSRV_PROXY_SERVER", Setting(42, false)},
                       {L"ZRSRV_PROXY_PORT", port.port},
                       {L"ZRSRV_PROXY_USE_AUTH", Setting(L"yes", false)},
                       {L"ZRSRV_PROXY_USER", Setting(true, false)},
                       {L"ZRSRV_PROXY_PASSWORD", Setting(L"clear text", false)}}));
        OpenPolicyPage();
        EXPECT_FALSE(Checked(Page::kUseProxy));
        EXPECT_EQ(Text(Page::kAddress), L"");
        EXPECT_EQ(Text(Page::kPort), port.shown);
        EXPECT_FALSE(Checked(Page::kUseAuth));
        EXPECT_EQ(Text(Page::kUser), L"");
        EXPECT_EQ(Text(Page::kPassword), L"***********");
    }
}

TEST_F(ProxyPage, AnOutOfRangePortInUseIsNamedByValidation)
{
    Store(Section({{L"ZRSRV_PROXY_USE", Setting(true, false)},
                   {L"ZRSRV_PROXY_SERVER", Setting(L"proxy.corp", false)},
                   {L"ZRSRV_PROXY_PORT", Setting(70000, false)}}));
    OpenPolicyPage();
    EXPECT_EQ(Sheet().PressOk().outcome, host::PageHost::Outcome::Refused);
    EXPECT_EQ(Boxes(), std::vector<std::wstring>{L"Неверно задано значение поля «Номер порта».\n"
                                                 L"Допустимые значения: от 1 до 65535."});
    ui::ReplaceText(Control(Page::kPort), L"8080");
    ASSERT_EQ(Sheet().PressOk().outcome, host::PageHost::Outcome::Applied);
    EXPECT_EQ(StoredValue<ZRPAR::IntValue>(L"ZRSRV_PROXY_PORT"), 8080);
}

TEST_F(ProxyPage, APasswordThatCannotBeProtectedIsNeitherStoredNorReportedAsSaved)
{
    const struct {
        bool serviceMissing;
        const char* what;
    } cases[] = {{false, "the service refuses"}, {true, "no service"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Reopen();
        if (c.serviceMissing) source.Set<TestProtection>(L"DATA_PROTECTION", nullptr);
        else protection->fail = true;
        OpenPolicyPage();
        ui::Click(Control(Page::kUseProxy));
        ui::Type(Control(Page::kAddress), L"proxy");
        ui::Click(Control(Page::kUseAuth));
        ui::Type(Control(Page::kUser), L"agent");
        ui::Type(Control(Page::kPassword), L"secret");
        user.Answer(IDOK);
        EXPECT_EQ(Sheet().PressOk().outcome, host::PageHost::Outcome::Failed);
        EXPECT_EQ(Boxes(), std::vector<std::wstring>{L"Ошибка изменения настроек"});
        EXPECT_FALSE(testsupport::ReadStored(policy, L"86"));
        EXPECT_EQ(Text(Page::kPassword), L"secret");  // the page keeps what was typed
    }
}

TEST_F(ProxyPage, OnAGovernedHostAnEnforcedProxyIsReadOnly)
{
    source.WithComputer();
    Store(Section({{L"ZRSRV_PROXY_USE", Setting(true, true)}, {L"ZRSRV_PROXY_SERVER", Setting(L"proxy.enforced", true)}}));
    Open(new CPageSettingsInetProxyProduct(PageData(NHPP::kObjectLocalSettings, NHPP::kSectionProduct, {L"86"})));
    EXPECT_TRUE(Checked(Page::kUseProxy));
    EXPECT_EQ(Text(Page::kAddress), L"proxy.enforced");
    EXPECT_FALSE(IsWindowEnabled(LockDropDown()));
    EXPECT_EQ(GetWindowTextW(LockDropDown()), L"Редактирование запрещено");
    for (int id : {Page::kUseProxy, Page::kAddress, Page::kPort, Page::kUseAuth}) EXPECT_FALSE(Enabled(id)) << id;
}

TEST_F(ProxyPage, OnAFreeHostTheLockStaysInLocalMode)
{
    source.WithComputer();
    Open(new CPageSettingsInetProxyProduct(PageData(NHPP::kObjectLocalSettings, NHPP::kSectionProduct, {L"86"})));
    EXPECT_FALSE(IsWindowEnabled(LockDropDown()));  // one computer never chooses a lock
    EXPECT_TRUE(Enabled(Page::kUseProxy));
    ui::Click(Control(Page::kUseProxy));
    EXPECT_TRUE(Enabled(Page::kAddress));
}

TEST_F(ProxyPage, TheExportCarriesEachSettingAndOnlyADigestOfTheProtectedPassword)
{
    Store(ConfiguredProxy(true));
    const auto results = Page::Export(*PageData(NHPP::kObjectPolicy, NHPP::kSectionPolicy, {L"86"}));
    ASSERT_EQ(results.size(), 2u);
    EXPECT_NE(results[0].Get(), results[1].Get());
    const Bytes blob = TestProtection::Of(L"old secret");
    const ZRSTD::Md5Digest digest = ZRSTD::CalcMD5Hash(blob.data(), blob.size());
    const std::string expected = "Использовать прокси-сервер\n"
                                 "  Использовать прокси-сервер: Да\n"
                                 "  Адрес прокси-сервера: proxy.office\n"
                                 "  Номер порта: 8081\n"
                                 "  Не использовать прокси-сервер для локальных адресов: Да\n"
                                 "  Авторизация на прокси-сервере: Да\n"
                                 "  Имя пользователя: OFFICE\\proxyuser\n"
                                 "  Пароль: <" + ZRSTD::HexUpper(digest.data(), digest.size()) + ">\n"
                                 "  Замочек \"Использовать прокси-сервер\": Редактирование запрещено\n";
    for (const auto& result : results) EXPECT_EQ(testsupport::ExportText(*result), expected);
}

TEST_F(ProxyPage, AnExportWithoutAStoredPasswordHasNoPasswordNode)
{
    Store(Section({{L"ZRSRV_PROXY_PORT", Setting(99999, false)}}));
    const auto results = Page::Export(*PageData(NHPP::kObjectPolicy, NHPP::kSectionPolicy, {L"86"}));
    ASSERT_EQ(results.size(), 2u);
    EXPECT_EQ(testsupport::ExportText(*results[0]),
              "Использовать прокси-сервер\n"
              "  Использовать прокси-сервер: Нет\n"
              "  Адрес прокси-сервера: \n"
              "  Номер порта: 99999\n"
              "  Не использовать прокси-сервер для локальных адресов: Нет\n"
              "  Авторизация на прокси-сервере: Нет\n"
              "  Имя пользователя: \n"
              "  Замочек \"Использовать прокси-сервер\": Редактирование разрешено\n");
}

// The proxy dialog ----------------------------------------------------------

TEST(ProxyAddress, SchemeHostAndPortAreSplitWithTheirDefaults)
{
    const struct {
        const wchar_t* text;
        ProxyAddress expected;
    } cases[] = {
        {L"proxy.local", {L"", L"proxy.local", 8080, true}},
        {L"proxy.local:3128", {L"", L"proxy.local", 3128, true}},
        {L"https://proxy.local:443", {L"https://", L"proxy.local", 443, true}},
        {L"http://proxy.local", {L"http://", L"proxy.local", 8080, true}},
        {L"proxy.local:", {L"", L"", 0, false}},
        {L":3128", {L"", L"", 0, false}},
        {L"proxy:80a", {L"", L"", 0, false}},
        {L"proxy:65536", {L"", L"", 0, false}},
        {L"proxy:99999999999", {L"", L"", 0, false}},
        {L"", {L"", L"", 8080, true}},
    };
    for (const auto& c : cases) {
        const ProxyAddress parsed = ParseProxyAddress(c.text, 8080, L"");
        EXPECT_EQ(parsed.valid, c.expected.valid) << c.text;
        if (!c.expected.valid) continue;
        EXPECT_EQ(parsed.scheme, c.expected.scheme) << c.text;
        EXPECT_EQ(parsed.host, c.expected.host) << c.text;
        EXPECT_EQ(parsed.port, c.expected.port) << c.text;
    }
    EXPECT_EQ(ParseProxyAddress(L"proxy", 3128, L"http://").scheme, L"http://");
}

TEST(ProxyAddress, HostsAndAccountsRefuseTheirForbiddenCharacters)
{
    EXPECT_TRUE(IsValidProxyHost(L"proxy.office.example"));
    EXPECT_TRUE(IsValidProxyHost(L"10.0.0.1"));
    EXPECT_FALSE(IsValidProxyHost(L""));
    for (wchar_t c : std::wstring(L"\\/*\b;:?'~!@#$^&()=+[]{}|,<> %")) EXPECT_FALSE(IsValidProxyHost(std::wstring(L"pro") + c + L"xy")) << int(c);
    EXPECT_FALSE(IsValidProxyHost(L"http://proxy"));  // a scheme or a port is no host
    EXPECT_FALSE(IsValidProxyHost(L"proxy:3128"));

    const struct {
        const wchar_t* account;
        bool valid;
    } accounts[] = {{L"agent", true},      {L"OFFICE\\agent", true}, {L"agent@office.example", true},
                    {L"", false},          {L"OFFICE\\", false},     {L"@office", false},
                    {L"a/b", false},       {L"a\"b", false},         {L"a[b", false},
                    {L"a]b", false},       {L"a<b", false},          {L"a>b", false},
                    {L"a:b", false},       {L"a|b", false},          {L"a+b", false},
                    {L"a=b", false},       {L"a;b", false},          {L"a,b", false},
                    {L"a?b", false},       {L"a*b", false},          {L"OFFICE\\a@b", false}};
    for (const auto& a : accounts) EXPECT_EQ(IsValidAccountName(a.account), a.valid) << a.account;
}

namespace {

class ProxyDialog : public ProxyPage {
protected:
    const Dlg::Keys kKeys{L"ZRNAG_PROXYHOST_USE", L"ZRNAG_PROXYHOST_LOCATION", L"ZRNAG_PROXYHOST_LOGIN",
                          L"ZRNAG_PROXYHOST_PASSWORD", L"ZRNAG_PROXYHOST_PASSWORD_PROTECTED"};
    void SetUp() override
    {
        ProxyPage::SetUp();
        pageData = PageData(NHPP::kObjectPolicy, NHPP::kSectionPolicy, {L"86"});
    }
    // Shows the dialog with the user's actions in it, and answers so many message boxes with OK.
    int Run(bool readOnly, std::function<void(HWND)> actions, Dlg::Keys keys = {}, int answers = 0)
    {
        if (keys.use.empty()) keys = kKeys;
        user.InDialog(std::move(actions));
        for (int i = 0; i < answers; ++i) user.Answer(IDOK);
        PluginStateScope scope;  // as the calling page has it: the plug-in's templates and strings
        Dlg dialog(pageData, *pageData->Provider(), keys, readOnly);
        const int result = dialog.DoModal(nullptr);
        EXPECT_TRUE(user.Finished()) << "the dialog did not show";
        return result;
    }
    void Store(const ZRSTD::CAutoPtr<ZRPAR::Params>& content)
    {
        ProxyPage::Store(content);
        pageData->Provider()->Reload();
    }
    std::wstring Read(const wchar_t* key)
    {
        std::wstring value;
        pageData->Provider()->GetString(key, value, nullptr);
        return value;
    }

    std::shared_ptr<NHPP::CNHPPageData> pageData;
};

}  // namespace

TEST_F(ProxyDialog, TheStoredLocationIsShownAsHostAndPort)
{
    const struct {
        const wchar_t* location;
        const wchar_t* host;
        const wchar_t* port;
    } cases[] = {{L"http://proxy.local:3128", L"proxy.local", L"3128"},
                 {L"proxy.local", L"proxy.local", L"8080"},
                 {L"proxy.local:", L"", L"0"},
                 {L":3128", L"", L"0"}};
    for (const auto& c : cases) {
        Store(Section({{L"ZRNAG_PROXYHOST_USE", Setting(true, false)},
                       {L"ZRNAG_PROXYHOST_LOCATION", Setting(c.location, false)},
                       {L"ZRNAG_PROXYHOST_LOGIN", Setting(L"agent", false)}}));
        EXPECT_EQ(Run(false, [&](HWND dialog) {
            EXPECT_EQ(GetWindowTextW(dialog), L"Параметры");
            EXPECT_EQ(GetDlgItemTextW(dialog, Dlg::kAddress), c.host) << c.location;
            EXPECT_EQ(GetDlgItemTextW(dialog, Dlg::kPort), c.port) << c.location;
            EXPECT_EQ(SendMessageW(GetDlgItem(dialog, Dlg::kUseAuth), BM_GETCHECK, 0, 0), BST_CHECKED);
            EXPECT_EQ(GetDlgItemTextW(dialog, Dlg::kPassword), L"***********");
            EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, Dlg::kShowPassword)));
            EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, Dlg::kUser)));
            ui::Click(ui::FindControl(dialog, IDCANCEL));
        }), IDCANCEL);
    }
}

TEST_F(ProxyDialog, AUseValueLockedByAPolicyDisablesEveryControl)
{
    const testsupport::ParentLock parent{L"Офис", L"Головная политика", L""};
    Store(Section({{L"ZRNAG_PROXYHOST_USE", LockedSetting(true, parent)}}));
    EXPECT_EQ(Run(false, [](HWND dialog) {
        for (int id : {Dlg::kUseProxy, Dlg::kAddress, Dlg::kPort, Dlg::kPortSpin, Dlg::kAddressLabel, Dlg::kPortLabel,
                       Dlg::kUseAuth, Dlg::kUser, Dlg::kPassword, Dlg::kUserLabel, Dlg::kPasswordLabel,
                       Dlg::kShowPassword, Dlg::kCredentialsWarning})
            EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, id))) << id;
        ui::Click(ui::FindControl(dialog, IDCANCEL));
    }), IDCANCEL);
}

TEST_F(ProxyDialog, OkRefusesABadAddressThenABadAccountAndStaysOpen)
{
    const struct {
        const wchar_t* address;
        const wchar_t* account;
        const wchar_t* message;
    } cases[] = {
        {L"http://proxy", L"agent", L"Invalid proxy server address specified."},
        {L"proxy:3128", L"agent", L"Invalid proxy server address specified."},
        {L"", L"agent", L"Invalid proxy server address specified."},
        {L"proxy", L"ag*ent", L"Неверное имя учетной записи. Имя не может содержать следующие символы: / \" [ ] < > : | + = ; , ? * @"},
        {L"proxy", L"", L"Неверное имя учетной записи. Имя не может содержать следующие символы: / \" [ ] < > : | + = ; , ? * @"},
    };
    for (const auto& c : cases) {
        ui::ClearInteractionRecord();
        const int result = Run(false, [&](HWND dialog) {
            ui::Click(ui::FindControl(dialog, Dlg::kUseProxy));
            ui::Type(ui::FindControl(dialog, Dlg::kAddress), c.address);
            ui::Click(ui::FindControl(dialog, Dlg::kUseAuth));
            ui::Type(ui::FindControl(dialog, Dlg::kUser), c.account);
            ui::Click(ui::FindControl(dialog, IDOK));
            EXPECT_TRUE(IsWindowVisible(dialog));
            ui::Click(ui::FindControl(dialog, IDCANCEL));
        }, {}, 1);
        EXPECT_EQ(result, IDCANCEL);
        EXPECT_EQ(Boxes(), std::vector<std::wstring>{c.message}) << c.address << " " << c.account;
        EXPECT_EQ(Read(L"ZRNAG_PROXYHOST_LOCATION"), L"");
    }
}

TEST_F(ProxyDialog, OkWritesTheLocationTheAccountAndBothPasswordForms)
{
    const int result = Run(false, [](HWND dialog) {
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, Dlg::kAddress)));
        ui::Click(ui::FindControl(dialog, Dlg::kUseProxy));
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, Dlg::kAddress)));
        ui::Type(ui::FindControl(dialog, Dlg::kAddress), L" proxy.branch ");
        ui::ClearText(ui::FindControl(dialog, Dlg::kPort));
        ui::Type(ui::FindControl(dialog, Dlg::kPort), L"3128");
        ui::Click(ui::FindControl(dialog, Dlg::kUseAuth));
        ui::Type(ui::FindControl(dialog, Dlg::kUser), L"BRANCH\\agent ");
        ui::Type(ui::FindControl(dialog, Dlg::kPassword), L"s3cret");
        ui::Click(ui::FindControl(dialog, IDOK));
    });
    ASSERT_EQ(result, IDOK);
    auto settings = pageData->Provider();
    EXPECT_TRUE(settings->GetBoolOrDefault(L"ZRNAG_PROXYHOST_USE", false, nullptr));
    EXPECT_EQ(Read(L"ZRNAG_PROXYHOST_LOCATION"), L"http://proxy.branch:3128");
    EXPECT_EQ(Read(L"ZRNAG_PROXYHOST_LOGIN"), L"BRANCH\\agent");
    const std::wstring encoded = Read(L"ZRNAG_PROXYHOST_PASSWORD");
    EXPECT_EQ(encoded.find(L"s3cret"), std::wstring::npos);
    EXPECT_EQ(PWD_UTILS::GetDecodedPasswordString(encoded), L"s3cret");
    ZRSTD::CAutoPtr<ZRSTD::MemoryChunk> blob;
    ASSERT_EQ(settings->GetBinary(L"ZRNAG_PROXYHOST_PASSWORD_PROTECTED", &blob, nullptr), NHPP::kOk);
    EXPECT_EQ(blob->Bytes(), TestProtection::Of(L"s3cret"));

    // without a protected-password key only the encoded form is written; turning the account off clears it
    Dlg::Keys plain = kKeys;
    plain.protectedPassword.clear();
    ASSERT_EQ(Run(false, [](HWND dialog) {
        ui::Click(ui::FindControl(dialog, Dlg::kUseAuth));
        ui::Click(ui::FindControl(dialog, IDOK));
    }, plain), IDOK);
    EXPECT_EQ(Read(L"ZRNAG_PROXYHOST_LOGIN"), L"");
    EXPECT_EQ(Read(L"ZRNAG_PROXYHOST_PASSWORD"), L"");
    EXPECT_EQ(Read(L"ZRNAG_PROXYHOST_LOCATION"), L"http://proxy.branch:3128");
}

TEST_F(ProxyDialog, APasswordTheServiceRefusesLeavesTheSettingsAsTheyWereAndTheDialogOpen)
{
    protection->fail = true;
    bool reopened = false;
    const int result = Run(false, [&](HWND dialog) {
        ui::Click(ui::FindControl(dialog, Dlg::kUseProxy));
        ui::Type(ui::FindControl(dialog, Dlg::kAddress), L"proxy.branch");
        ui::Click(ui::FindControl(dialog, Dlg::kUseAuth));
        ui::Type(ui::FindControl(dialog, Dlg::kUser), L"agent");
        ui::Type(ui::FindControl(dialog, Dlg::kPassword), L"s3cret");
        ui::Click(ui::FindControl(dialog, IDOK));  // refused: the dialog stays
        reopened = IsWindow(dialog);
        ui::Click(ui::FindControl(dialog, IDCANCEL));
    }, {}, 1);
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_TRUE(reopened);
    EXPECT_EQ(Boxes(), std::vector<std::wstring>{L"Ошибка изменения настроек"});
    for (const wchar_t* key : {L"ZRNAG_PROXYHOST_USE", L"ZRNAG_PROXYHOST_LOCATION", L"ZRNAG_PROXYHOST_LOGIN",
                               L"ZRNAG_PROXYHOST_PASSWORD", L"ZRNAG_PROXYHOST_PASSWORD_PROTECTED"}) {
        std::wstring value;  // absent, whatever type a write would have given it
        EXPECT_EQ(pageData->Provider()->GetString(key, value, nullptr), NHPP::kFalse) << ZRSTD::ToUtf8(key);
    }
}

TEST_F(ProxyDialog, TheReadOnlyFormAnswersYesOrNo)
{
    Store(Section({{L"ZRNAG_PROXYHOST_USE", Setting(true, false)},
                   {L"ZRNAG_PROXYHOST_LOCATION", Setting(L"http://proxy.local:3128", false)}}));
    const int result = Run(true, [](HWND dialog) {
        EXPECT_EQ(GetDlgItemTextW(dialog, Dlg::kUseProxyLabel), L"Использовать прокси-сервер:");
        EXPECT_EQ(GetDlgItemTextW(dialog, Dlg::kUseProxyAnswer), L"Да");
        EXPECT_EQ(GetDlgItemTextW(dialog, Dlg::kUseAuthAnswer), L"Нет");
        EXPECT_EQ(GetDlgItemTextW(dialog, Dlg::kAddress), L"proxy.local");
        EXPECT_EQ(GetDlgItemTextW(dialog, IDCANCEL), L"&Закрыть");
        EXPECT_EQ(GetDlgItemTextW(dialog, Dlg::kCredentialsWarning),
                  L"Please do not enter credentials of a privileged account into the fields below.");
        ui::Click(ui::FindControl(dialog, IDCANCEL));
    });
    EXPECT_EQ(result, IDCANCEL);
}
