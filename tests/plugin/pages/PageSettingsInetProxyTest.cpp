#include "plugin/pages/agent/PageSettingsInetProxy.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "controls/PluginEnvironment.h"
#include "host/pagehost/PageHost.h"
#include "nhpp/PageData.h"
#include "plugin/frame/PluginApp.h"
#include "plugin/pages/agent/DlgChangePassword.h"
#include "plugin/pages/agent/DlgProxySettings.h"
#include "support/FakeDataSource.h"
#include "support/PolicyBuilder.h"
#include "support/StorageDoubles.h"
#include "ui/Interaction.h"
#include "ui/UserActions.h"
#include "zrpar/Render.h"
#include "zrstd/Crypto.h"
#include "zrstd/PasswordEncoding.h"

using testsupport::LockedSetting;
using testsupport::Section;
using testsupport::Setting;

namespace {

using Page = CPageSettingsInetProxy;
using Dlg = CDlgProxySettings;
using Bytes = std::vector<std::uint8_t>;

// The console's protection as the tests want it: "PX" and the bytes reversed,
// so that what was protected can be read back; "fail" makes it refuse.
class TestProtection : public ZRSTD::ZRBaseQIImpl<ZRPlugin::IDataProtection> {
public:
    void ProtectData(const void* data, std::size_t size, ZRSTD::MemoryChunk** ppProtected) override
    {
        if (fail) ZRERR_throwError("ZRDPAPI", 5, L"the key is gone");
        const auto* bytes = static_cast<const std::uint8_t*>(data);
        const Bytes blob = Wrap(Bytes(bytes, bytes + size));
        *ppProtected = new ZRSTD::MemoryChunk(blob.data(), blob.size());
    }
    static Bytes Of(const std::wstring& password) { return Wrap(PasswordBytes(password)); }
    static Bytes Wrap(const Bytes& units)
    {
        Bytes blob(units.size() + 2);
        blob[0] = 'P';
        blob[1] = 'X';
        for (std::size_t i = 0; i < units.size(); ++i) blob[2 + i] = units[units.size() - 1 - i];
        return blob;
    }
    bool fail = false;
};

const std::vector<const wchar_t*> kAllKeys = {L"ZRSRV_PROXY_USE",      L"ZRSRV_PROXY_SERVER",
                                              L"ZRSRV_PROXY_PORT",     L"ZRSRV_PROXY_BYPASS",
                                              L"ZRSRV_PROXY_USE_AUTH", L"ZRSRV_PROXY_USER",
                                              L"ZRSRV_PROXY_PASSWORD"};

class ProxyPage : public ::testing::Test {
protected:
    void SetUp() override
    {
        CZRNGTPlgApp::Instance().InitInstance("/nonexistent/");
        ui::ClearInteractionRecord();
        ui::SetInteractionDriver(&user);
        protection = source.Set(L"DATA_PROTECTION", ZRSTD::MakeRef<TestProtection>());
    }
    void TearDown() override
    {
        if (page) page->Release();
        ui::SetInteractionDriver(nullptr);
    }

    void OpenPolicyPage()
    {
        pageData = std::make_shared<NHPP::CNHPPageData>(&source, NHPP::kObjectPolicy);
        pageData->RegisterSection(L"86", NHPP::kSectionPolicy, true);
        Open(new Page(pageData));
    }
    void Open(Page* created)
    {
        page = created;
        window = sheet->Embed(page);
        ASSERT_TRUE(window);
    }
    // Closes the sheet and the page, for the next case of a table.
    void Close()
    {
        sheet.reset();
        page->Release();
        page = nullptr;
        sheet = std::make_unique<host::PageHost>();
    }
    void Store(ZRSTD::CAutoPtr<ZRPAR::Params> content) { policy->Replace(L"1103", L"1.0.0.0", L"86", content.Get()); }
    ZRPAR::Params* Stored(const wchar_t* key)
    {
        kept = testsupport::ReadStored(*policy, L"86");
        if (!kept) return nullptr;
        auto* settings = static_cast<ZRPAR::ParamsValue*>(kept->FindValue(L"ZRPRSS_Val"))->GetValue();
        ZRPAR::Value* pair = settings->FindValue(key);
        return pair ? static_cast<ZRPAR::ParamsValue*>(pair)->GetValue() : nullptr;
    }
    template <class V>
    auto StoredValue(const wchar_t* key)
    {
        return static_cast<V*>(Stored(key)->FindValue(L"ZRPRSS_Val"))->GetValue();
    }
    Bytes StoredBytes(const wchar_t* key)
    {
        auto* value = static_cast<ZRPAR::BinaryValue*>(Stored(key)->FindValue(L"ZRPRSS_Val"));
        const auto* data = static_cast<const std::uint8_t*>(value->GetData());
        return Bytes(data, data + value->GetDataSize());
    }
    bool StoredMandatory(const wchar_t* key)
    {
        return static_cast<ZRPAR::BoolValue*>(Stored(key)->FindValue(L"ZRPRSS_Mnd"))->GetValue();
    }
    std::vector<std::wstring> StoredKeys()
    {
        std::vector<std::wstring> keys;
        for (const wchar_t* key : kAllKeys)
            if (Stored(key)) keys.emplace_back(key);
        return keys;
    }
    HWND Control(int id) { return ui::FindControl(window, id); }
    std::wstring Text(int id) { return GetDlgItemTextW(window, id); }
    bool Enabled(int id) { return IsWindowEnabled(GetDlgItem(window, id)); }
    bool Visible(int id) { return IsWindowVisible(GetDlgItem(window, id)); }
    bool Checked(int id) { return SendMessageW(GetDlgItem(window, id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    HWND LockDropDown() { return GetDlgItem(GetDlgItem(window, Page::kLock), CLockCtrl::kDropDownId); }
    void Retype(int id, const std::wstring& text)
    {
        ui::ClearText(Control(id));
        ui::Type(Control(id), text);
    }
    std::vector<std::wstring> Boxes()
    {
        std::vector<std::wstring> texts;
        for (const auto& box : ui::ShownBoxes()) texts.push_back(box.text);
        return texts;
    }
    std::string Everything()
    {
        auto stored = testsupport::ReadStored(*policy, L"86");
        return stored ? ZRPAR::RenderText(*stored, ZRPAR::RenderOptions{false}) : std::string();
    }

    testsupport::FakeDataSource source;
    ZRPlugin::SettingsStorage* policy = &source.WithPolicyStorage();
    TestProtection* protection = nullptr;
    std::shared_ptr<NHPP::CNHPPageData> pageData;
    std::unique_ptr<host::PageHost> sheet = std::make_unique<host::PageHost>();
    Page* page = nullptr;
    HWND window = nullptr;
    ui::ScriptedUser user;
    ZRSTD::CAutoPtr<ZRPAR::Params> kept;
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

    ASSERT_EQ(sheet->PressOk().outcome, host::PageHost::Outcome::Applied);
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
        OpenPolicyPage();
        EXPECT_FALSE(page->IsModified()) << change.what;
        change.act();
        EXPECT_TRUE(page->IsModified()) << change.what;
        Close();
    }
}

TEST_F(ProxyPage, ATypedPasswordIsStoredOnlyInProtectedFormWithTheLockChoice)
{
    OpenPolicyPage();
    ui::Click(Control(Page::kUseProxy));
    ui::Type(Control(Page::kAddress), L"  proxy.branch  ");
    Retype(Page::kPort, L"8080");
    ui::Click(Control(Page::kBypassLocal));
    ui::Click(Control(Page::kUseAuth));
    ui::Type(Control(Page::kUser), L" BRANCH\\agent ");
    ui::Type(Control(Page::kPassword), L"Pa$$w0rd");  // typed into the placeholder: replaces it
    EXPECT_EQ(Text(Page::kPassword), L"Pa$$w0rd");
    ui::SelectItem(LockDropDown(), L"Редактирование запрещено");
    ASSERT_EQ(sheet->PressOk().outcome, host::PageHost::Outcome::Applied);

    EXPECT_EQ(StoredKeys().size(), kAllKeys.size());
    EXPECT_TRUE(StoredValue<ZRPAR::BoolValue>(L"ZRSRV_PROXY_USE"));
    EXPECT_EQ(StoredValue<ZRPAR::StringValue>(L"ZRSRV_PROXY_SERVER"), L"proxy.branch");
    EXPECT_EQ(StoredValue<ZRPAR::IntValue>(L"ZRSRV_PROXY_PORT"), 8080);
    EXPECT_TRUE(StoredValue<ZRPAR::BoolValue>(L"ZRSRV_PROXY_BYPASS"));
    EXPECT_TRUE(StoredValue<ZRPAR::BoolValue>(L"ZRSRV_PROXY_USE_AUTH"));
    EXPECT_EQ(StoredValue<ZRPAR::StringValue>(L"ZRSRV_PROXY_USER"), L"BRANCH\\agent");
    EXPECT_EQ(StoredBytes(L"ZRSRV_PROXY_PASSWORD"), TestProtection::Of(L"Pa$$w0rd"));
    for (const wchar_t* key : kAllKeys) EXPECT_TRUE(StoredMandatory(key)) << key;
    EXPECT_EQ(Everything().find("Pa$$w0rd"), std::string::npos);
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
    ASSERT_EQ(sheet->PressOk().outcome, host::PageHost::Outcome::Applied);
    EXPECT_EQ(StoredBytes(L"ZRSRV_PROXY_PASSWORD"), TestProtection::Of(L"old secret"));
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
        Store(ConfiguredProxy(false));
        OpenPolicyPage();
        ui::Click(Control(c.box));
        ASSERT_EQ(sheet->PressOk().outcome, host::PageHost::Outcome::Applied);
        EXPECT_EQ(StoredKeys(), c.kept) << c.box;
        Close();
    }
}

TEST_F(ProxyPage, AProxyWithoutAnAddressIsRefusedWithItsMessage)
{
    OpenPolicyPage();
    ui::Click(Control(Page::kUseProxy));
    ui::Type(Control(Page::kAddress), L"   ");
    user.Answer(IDOK);
    EXPECT_EQ(sheet->PressOk().outcome, host::PageHost::Outcome::Refused);
    ASSERT_EQ(ui::ShownBoxes().size(), 1u);
    EXPECT_EQ(ui::ShownBoxes()[0].text, L"Invalid proxy server address specified.");
    EXPECT_EQ(ui::ShownBoxes()[0].caption, L"Агент администрирования Brenvik");
    EXPECT_EQ(ui::ShownBoxes()[0].style & MB_ICONERROR, static_cast<UINT>(MB_ICONERROR));
    EXPECT_FALSE(testsupport::ReadStored(*policy, L"86"));

    ui::Click(Control(Page::kUseProxy));  // no proxy, no address needed
    EXPECT_EQ(sheet->PressOk().outcome, host::PageHost::Outcome::Applied);
}

TEST_F(ProxyPage, APortBeyondTheRangeCannotBeTyped)
{
    OpenPolicyPage();
    ui::Click(Control(Page::kUseProxy));
    ui::Type(Control(Page::kPort), L"99");  // 31289, then 312899 is undone
    EXPECT_EQ(Text(Page::kPort), L"31289");
    Retype(Page::kPort, L"65535");
    EXPECT_EQ(Text(Page::kPort), L"65535");
    ui::Type(Control(Page::kPort), L"9");
    EXPECT_EQ(Text(Page::kPort), L"65535");
    ui::Type(Control(Page::kAddress), L"10.0.0.1");
    ASSERT_EQ(sheet->PressOk().outcome, host::PageHost::Outcome::Applied);
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
    ASSERT_EQ(sheet->PressOk().outcome, host::PageHost::Outcome::Applied);
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
        Store(Section({{L"ZRSRV_PROXY_USE", Setting(1, false)},
                       {L"ZRSRV_PROXY_SERVER", Setting(42, false)},
                       {L"ZRSRV_PROXY_PORT", port.port},
                       {L"ZRSRV_PROXY_USE_AUTH", Setting(L"yes", false)},
                       {L"ZRSRV_PROXY_USER", Setting(true, false)},
                       {L"ZRSRV_PROXY_PASSWORD", Setting(L"clear text", false)}}));
        OpenPolicyPage();
        EXPECT_FALSE(Checked(Page::kUseProxy)) << port.what;
        EXPECT_EQ(Text(Page::kAddress), L"") << port.what;
        EXPECT_EQ(Text(Page::kPort), port.shown) << port.what;
        EXPECT_FALSE(Checked(Page::kUseAuth)) << port.what;
        EXPECT_EQ(Text(Page::kUser), L"") << port.what;
        EXPECT_EQ(Text(Page::kPassword), L"***********") << port.what;
        Close();
    }
}

TEST_F(ProxyPage, AnOutOfRangePortInUseIsNamedByValidation)
{
    Store(Section({{L"ZRSRV_PROXY_USE", Setting(true, false)},
                   {L"ZRSRV_PROXY_SERVER", Setting(L"proxy.corp", false)},
                   {L"ZRSRV_PROXY_PORT", Setting(70000, false)}}));
    OpenPolicyPage();
    EXPECT_EQ(sheet->PressOk().outcome, host::PageHost::Outcome::Refused);
    EXPECT_EQ(Boxes(), std::vector<std::wstring>{L"Неверно задано значение поля «Номер порта».\n"
                                                 L"Допустимые значения: от 1 до 65535."});
    ui::ReplaceText(Control(Page::kPort), L"8080");
    ASSERT_EQ(sheet->PressOk().outcome, host::PageHost::Outcome::Applied);
    EXPECT_EQ(StoredValue<ZRPAR::IntValue>(L"ZRSRV_PROXY_PORT"), 8080);
}

TEST_F(ProxyPage, APasswordThatCannotBeProtectedIsNeitherStoredNorReportedAsSaved)
{
    const struct {
        bool serviceMissing;
        const char* what;
    } cases[] = {{false, "the service refuses"}, {true, "no service"}};
    for (const auto& c : cases) {
        if (c.serviceMissing) {
            source.Set<TestProtection>(L"DATA_PROTECTION", nullptr);
        } else {
            protection->fail = true;
        }
        ui::ClearInteractionRecord();
        OpenPolicyPage();
        ui::Click(Control(Page::kUseProxy));
        ui::Type(Control(Page::kAddress), L"proxy");
        ui::Click(Control(Page::kUseAuth));
        ui::Type(Control(Page::kUser), L"agent");
        ui::Type(Control(Page::kPassword), L"secret");
        user.Answer(IDOK);
        EXPECT_EQ(sheet->PressOk().outcome, host::PageHost::Outcome::Failed) << c.what;
        EXPECT_EQ(Boxes(), std::vector<std::wstring>{L"Ошибка изменения настроек"}) << c.what;
        EXPECT_FALSE(testsupport::ReadStored(*policy, L"86")) << c.what;
        EXPECT_EQ(Text(Page::kPassword), L"secret");  // the page keeps what was typed
        Close();
    }
}

TEST_F(ProxyPage, OnAGovernedHostAnEnforcedProxyIsReadOnly)
{
    ZRPlugin::SettingsStorage& local = source.WithComputer();
    (void)local;
    policy->Replace(L"1103", L"1.0.0.0", L"86",
                    Section({{L"ZRSRV_PROXY_USE", Setting(true, true)},
                             {L"ZRSRV_PROXY_SERVER", Setting(L"proxy.enforced", true)}})
                        .Get());
    pageData = std::make_shared<NHPP::CNHPPageData>(&source, NHPP::kObjectLocalSettings);
    pageData->RegisterSection(L"86", NHPP::kSectionProduct, true);
    Open(new CPageSettingsInetProxyProduct(pageData));
    EXPECT_TRUE(Checked(Page::kUseProxy));
    EXPECT_EQ(Text(Page::kAddress), L"proxy.enforced");
    EXPECT_FALSE(IsWindowEnabled(LockDropDown()));
    EXPECT_EQ(GetWindowTextW(LockDropDown()), L"Редактирование запрещено");
    for (int id : {Page::kUseProxy, Page::kAddress, Page::kPort, Page::kUseAuth}) EXPECT_FALSE(Enabled(id)) << id;
}

TEST_F(ProxyPage, OnAFreeHostTheLockStaysInLocalMode)
{
    source.WithComputer();
    pageData = std::make_shared<NHPP::CNHPPageData>(&source, NHPP::kObjectLocalSettings);
    pageData->RegisterSection(L"86", NHPP::kSectionProduct, true);
    Open(new CPageSettingsInetProxyProduct(pageData));
    EXPECT_FALSE(IsWindowEnabled(LockDropDown()));  // one computer never chooses a lock
    EXPECT_TRUE(Enabled(Page::kUseProxy));
    ui::Click(Control(Page::kUseProxy));
    EXPECT_TRUE(Enabled(Page::kAddress));
}

TEST_F(ProxyPage, TheExportCarriesEachSettingAndOnlyADigestOfTheProtectedPassword)
{
    Store(ConfiguredProxy(true));
    pageData = std::make_shared<NHPP::CNHPPageData>(&source, NHPP::kObjectPolicy);
    pageData->RegisterSection(L"86", NHPP::kSectionPolicy, true);
    const auto results = Page::Export(*pageData);
    ASSERT_EQ(results.size(), 2u);
    for (const auto& result : results) {
        ASSERT_EQ(result->GetSize(), 1u);
        EXPECT_EQ(result->NameAt(0), L"Использовать прокси-сервер");
        const auto* content = static_cast<ZRPAR::ParamsValue*>(result->ValueAt(0))->GetValue();
        const std::vector<std::pair<std::wstring, std::wstring>> expected = {
            {L"Использовать прокси-сервер", L"Да"},
            {L"Адрес прокси-сервера", L"proxy.office"},
            {L"Номер порта", L"8081"},
            {L"Не использовать прокси-сервер для локальных адресов", L"Да"},
            {L"Авторизация на прокси-сервере", L"Да"},
            {L"Имя пользователя", L"OFFICE\\proxyuser"},
            {L"Пароль", L""},
            {L"Замочек \"Использовать прокси-сервер\"", L"Редактирование запрещено"}};
        ASSERT_EQ(content->GetSize(), expected.size()) << ZRPAR::RenderText(*content);
        for (std::size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(content->NameAt(i), expected[i].first);
            if (expected[i].first == L"Пароль") continue;
            EXPECT_EQ(static_cast<ZRPAR::StringValue*>(content->ValueAt(i))->GetValue(), expected[i].second);
        }
        const Bytes blob = TestProtection::Of(L"old secret");
        const ZRSTD::Md5Digest digest = ZRSTD::CalcMD5Hash(blob.data(), blob.size());
        auto* password = static_cast<ZRPAR::BinaryValue*>(content->FindValue(L"Пароль"));
        ASSERT_EQ(password->GetType(), ZRPAR::VT_BINARY);
        ASSERT_EQ(password->GetDataSize(), 16u);
        EXPECT_EQ(Bytes(static_cast<const std::uint8_t*>(password->GetData()),
                        static_cast<const std::uint8_t*>(password->GetData()) + 16),
                  Bytes(digest.begin(), digest.end()));
    }
    EXPECT_NE(results[0].Get(), results[1].Get());
}

TEST_F(ProxyPage, AnExportWithoutAStoredPasswordHasNoPasswordNode)
{
    Store(Section({{L"ZRSRV_PROXY_PORT", Setting(99999, false)}}));
    pageData = std::make_shared<NHPP::CNHPPageData>(&source, NHPP::kObjectPolicy);
    pageData->RegisterSection(L"86", NHPP::kSectionPolicy, true);
    const auto results = Page::Export(*pageData);
    ASSERT_EQ(results.size(), 2u);
    const auto* content = static_cast<ZRPAR::ParamsValue*>(results[0]->ValueAt(0))->GetValue();
    EXPECT_FALSE(content->FindValue(L"Пароль"));
    EXPECT_EQ(static_cast<ZRPAR::StringValue*>(content->FindValue(L"Номер порта"))->GetValue(), L"99999");
    EXPECT_EQ(static_cast<ZRPAR::StringValue*>(content->FindValue(L"Использовать прокси-сервер"))->GetValue(), L"Нет");
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
    const std::wstring forbidden = L"\\/*\b;:?'~!@#$^&()=+[]{}|,<> %";
    EXPECT_EQ(forbidden.size(), 29u);
    for (wchar_t c : forbidden) EXPECT_FALSE(IsValidProxyHost(std::wstring(L"pro") + c + L"xy")) << int(c);
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
        pageData = std::make_shared<NHPP::CNHPPageData>(&source, NHPP::kObjectPolicy);
        pageData->RegisterSection(L"86", NHPP::kSectionPolicy, true);
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
    void Store(ZRSTD::CAutoPtr<ZRPAR::Params> content)
    {
        ProxyPage::Store(std::move(content));
        pageData->Provider()->Reload();
    }
    std::wstring Read(const wchar_t* key)
    {
        std::wstring value;
        pageData->Provider()->GetString(key, value, nullptr);
        return value;
    }
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
