#include "plugin/pages/installer/PageInstallerSettingsNetwork.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "plugin/frame/PluginApp.h"
#include "plugin/pages/InstallerPageTest.h"
#include "plugin/pages/installer/DlgProxySettingsPackage.h"
#include "support/TestCertificates.h"
#include "ui/Interaction.h"
#include "ui/Services.h"
#include "ui/UserActions.h"

namespace fs = std::filesystem;

namespace {

using Page = CPageInstallerSettingsNetwork;
using Outcome = host::PageHost::Outcome;
using Bytes = std::vector<std::uint8_t>;

ZRSTD::CAutoPtr<ZRPAR::ArrayValue> Ports(std::initializer_list<std::int32_t> ports)
{
    auto array = ZRPAR::CreateArrayValue();
    for (std::int32_t port : ports) array->Append(ZRPAR::CreateValue(port).Get());
    return array;
}

ZRSTD::CAutoPtr<ZRPAR::Value> Binary(const Bytes& bytes)
{
    return ZRPAR::CreateValue(ZRPAR::binary_wrapper_t{bytes.data(), bytes.size()});
}

class InstallerNetworkPage : public testsupport::InstallerPageTest {
protected:
    void TearDown() override
    {
        ui::SetPickerAnswer(nullptr);
        fs::remove_all(m_folder);
        InstallerPageTest::TearDown();
    }
    void OpenPage(bool bootServer = false)
    {
        auto* created = new Page(PackageData());
        created->SetBootServer(bootServer);
        Open(created);
    }
    // A package with every setting of the page away from its default.
    void StoreConfigured()
    {
        StorePackage({{L"ServerName", L"adm.corp"}, {L"ServerPort", L"14001"}, {L"ServerSSLPort", L"13001"},
                      {L"UseSSLConnection", 1}, {L"ServerCert", Binary(certificate.der)},
                      {L"ZRNAG_ALLOW_NETBIOS_NAME_SERVICE", false}, {L"ZRNAG_SP_OPEN_PORT_IN_WFW", false},
                      {L"OpenUdpPort", false}, {L"Nagentports", Ports({15005, 16000})}});
    }
    std::string File(const std::string& name, const std::string& bytes)
    {
        fs::create_directories(m_folder);
        const fs::path path = m_folder / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }
    // The next file picker answers with this path ("" cancels).
    void PickFile(const std::string& path)
    {
        ui::SetPickerAnswer([path](const ui::ServiceCall&) { return ZRSTD::FromUtf8(path); });
    }
    Bytes SavedBytes(const wchar_t* key)
    {
        auto* value = static_cast<ZRPAR::BinaryValue*>(SavedValue(key, ZRPAR::VT_BINARY));
        if (!value) return {};
        const auto* data = static_cast<const std::uint8_t*>(value->GetData());
        return Bytes(data, data + value->GetDataSize());
    }
    std::vector<std::int32_t> SavedPorts()
    {
        std::vector<std::int32_t> ports;
        if (auto* array = static_cast<ZRPAR::ArrayValue*>(SavedValue(L"Nagentports", ZRPAR::VT_ARRAY)))
            for (std::size_t i = 0; i < array->GetSize(); ++i)
                ports.push_back(static_cast<ZRPAR::IntValue*>(array->GetAt(i).Get())->GetValue());
        return ports;
    }

    const testsupport::TestCertificate certificate = testsupport::MakeTestCertificate();
    fs::path m_folder = fs::path(::testing::TempDir()) / ("installer-network-" + std::to_string(::getpid()));
};

}  // namespace

TEST_F(InstallerNetworkPage, StoredValuesAreShownWithTheCertificateDescribedAndAnUntouchedOkKeepsThem)
{
    StoreConfigured();
    OpenPage();
    EXPECT_EQ(Text(Page::kAddress), L"adm.corp");
    EXPECT_EQ(Text(Page::kPort), L"14001");
    EXPECT_EQ(Text(Page::kSslPort), L"13001");
    EXPECT_TRUE(Checked(Page::kUseSsl));
    EXPECT_TRUE(Checked(Page::kUseCertificate));
    EXPECT_EQ(Text(Page::kCertificate), L"Thumbnails (fingerprints): " + ZRSTD::FromUtf8(certificate.sha1Hex) +
                                            L"\nSubject: CN=adm.corp, O=Example, C=RU"
                                            L"\nAlternative subject name: DNS:adm.corp, IP:10.0.0.1");
    EXPECT_FALSE(Visible(Page::kNetBios));
    EXPECT_FALSE(Checked(Page::kNetBios));
    EXPECT_FALSE(Checked(Page::kFirewallPorts));
    EXPECT_FALSE(Checked(Page::kUseUdp));
    EXPECT_EQ(Text(Page::kUdpPort), L"15005");
    EXPECT_FALSE(Enabled(Page::kUdpPort));
    EXPECT_FALSE(page->IsModified());
    ExpectUntouchedOkKeepsEverything();
}

TEST_F(InstallerNetworkPage, ANewPackagesSslFlagIsShownAndKeepsItsType)
{
    // a new package gets UseSSLConnection as a bool; the page reads and writes integers
    StorePackage({{L"ServerName", L"adm.corp"}, {L"UseSSLConnection", true}, {L"ZRNAG_ALLOW_NETBIOS_NAME_SERVICE", true},
                  {L"ZRNAG_SP_OPEN_PORT_IN_WFW", true}, {L"OpenUdpPort", true}});
    OpenPage();
    EXPECT_TRUE(Checked(Page::kUseSsl));
    EXPECT_EQ(Text(Page::kPort), L"");
    EXPECT_TRUE(Enabled(Page::kUdpPort));
    ExpectUntouchedOkKeepsEverything();  // no ports appear, no flag changes its type
    ui::Click(Control(Page::kUseSsl));
    ASSERT_EQ(Sheet().PressOk().outcome, Outcome::Applied);
    EXPECT_EQ(SavedBool(L"UseSSLConnection"), false);

    StorePackage({{L"ServerName", L"adm.corp"}, {L"UseSSLConnection", 0}});
    Reopen();
    OpenPage();
    ui::Click(Control(Page::kUseSsl));
    ASSERT_EQ(Sheet().PressOk().outcome, Outcome::Applied);
    EXPECT_EQ(SavedInt(L"UseSSLConnection"), 1);
}

TEST_F(InstallerNetworkPage, ValidationRefusesInTheOrderTheFieldsAreMet)
{
    const struct {
        const char* what;
        std::function<void()> act;
        std::wstring refusal;  // empty: accepted
    } cases[] = {
        {"no address", [this] { ui::ClearText(Control(Page::kAddress)); },
         L"Invalid Brenvik Administration Server address specified"},
        {"localhost", [this] { ui::EnterText(Control(Page::kAddress), L" LocalHost "); },
         L"Address of Brenvik Administration Server cannot be 'localhost' or '127.0.0.1'."},
        {"the loopback address", [this] { ui::EnterText(Control(Page::kAddress), L"127.0.0.1"); },
         L"Address of Brenvik Administration Server cannot be 'localhost' or '127.0.0.1'."},
        {"equal ports, SSL off",
         [this] {
             ui::Click(Control(Page::kUseSsl));
             ui::EnterText(Control(Page::kSslPort), L"14001");
         },
         L"Заданы совпадающие номера портов."},
        {"the certificate box cleared and checked again, which keeps the held certificate",
         [this] {
             ui::Click(Control(Page::kUseCertificate));
             ui::Click(Control(Page::kUseCertificate));
         },
         L""},
        {"a cleared UDP port that had a value",
         [this] {
             ui::Click(Control(Page::kUseUdp));
             ui::ClearText(Control(Page::kUdpPort));
         },
         L"Неверно задано значение поля «Номер UDP-порта».\nДопустимые значения: от 1 до 65535."},
    };
    for (const auto& entry : cases) {
        SCOPED_TRACE(entry.what);
        StoreConfigured();
        Reopen();
        OpenPage();
        const std::string before = Everything();
        entry.act();
        const auto outcome = Sheet().PressOk().outcome;
        if (entry.refusal.empty()) {
            EXPECT_EQ(outcome, Outcome::Applied);  // the held certificate is still there
            EXPECT_EQ(SavedBytes(L"ServerCert"), certificate.der);
            continue;
        }
        EXPECT_EQ(outcome, Outcome::Refused);
        EXPECT_EQ(Boxes(), std::vector<std::wstring>{entry.refusal});
        EXPECT_EQ(Everything(), before);
    }

    // the certificate box needs a certificate
    StorePackage({{L"ServerName", L"adm.corp"}});
    Reopen();
    OpenPage();
    ui::Click(Control(Page::kUseCertificate));
    EXPECT_EQ(Sheet().PressOk().outcome, Outcome::Refused);
    EXPECT_EQ(Boxes(), std::vector<std::wstring>{L"Вы не выбрали сертификат"});

    // a stored port the field does not take is named with its range
    StorePackage({{L"ServerName", L"adm.corp"}, {L"ServerPort", L"70000"}});
    Reopen();
    OpenPage();
    EXPECT_EQ(Text(Page::kPort), L"70000");
    EXPECT_EQ(Sheet().PressOk().outcome, Outcome::Refused);
    EXPECT_EQ(Boxes(), std::vector<std::wstring>{L"Неверно задано значение поля «Номер порта».\n"
                                                 L"Допустимые значения: от 1 до 65535."});
}

TEST_F(InstallerNetworkPage, AChosenCertificateFileIsKeptByteForByteAndABadOneChangesNothing)
{
    StoreConfigured();
    OpenPage();
    const auto other = testsupport::MakeTestCertificate({{{"CN", "other.corp"}}, ""});
    const std::string pemFile = File("server.cer", "Subject: other.corp\r\n" + other.pem);
    const struct {
        const char* what;
        std::string path;
        std::wstring message;  // empty: taken
    } cases[] = {
        {"a file that is no certificate", File("notes.txt", "just words"),
         L"Файл «" + ZRSTD::FromUtf8(m_folder.string()) + L"/notes.txt» не содержит сертификата X.509 (PEM, DER или PKCS #7). "
         L"Сертификат не изменён."},
        {"a truncated certificate", File("cut.cer", other.pem.substr(0, 100)),
         L"Файл «" + ZRSTD::FromUtf8(m_folder.string()) + L"/cut.cer» не содержит сертификата X.509 (PEM, DER или PKCS #7). "
         L"Сертификат не изменён."},
        {"a missing file", (m_folder / "missing.cer").string(),
         L"Не удалось прочитать файл «" + ZRSTD::FromUtf8(m_folder.string()) + L"/missing.cer». Сертификат не изменён."},
        {"a folder", m_folder.string(),
         L"Не удалось прочитать файл «" + ZRSTD::FromUtf8(m_folder.string()) + L"». Сертификат не изменён."},
        {"the picker cancelled", "", L""},
    };
    const std::wstring described = Text(Page::kCertificate);
    for (const auto& entry : cases) {
        SCOPED_TRACE(entry.what);
        ui::ClearInteractionRecord();
        PickFile(entry.path);
        ui::Click(Control(Page::kBrowse));
        EXPECT_EQ(Boxes(), entry.message.empty() ? std::vector<std::wstring>{} : std::vector<std::wstring>{entry.message});
        EXPECT_EQ(Text(Page::kCertificate), described);
    }
    EXPECT_FALSE(page->IsModified());

    ui::Click(Control(Page::kUseCertificate));
    EXPECT_EQ(Text(Page::kCertificate), L"");  // described only while it is to be used
    PickFile(pemFile);
    ui::Click(Control(Page::kBrowse));
    EXPECT_TRUE(Checked(Page::kUseCertificate));
    EXPECT_NE(Text(Page::kCertificate).find(L"Subject: CN=other.corp"), std::wstring::npos);
    ASSERT_EQ(Sheet().PressOk().outcome, Outcome::Applied);
    const std::string saved = [&] {
        const Bytes bytes = SavedBytes(L"ServerCert");
        return std::string(bytes.begin(), bytes.end());
    }();
    EXPECT_EQ(saved, "Subject: other.corp\r\n" + other.pem);  // the file as it is, no conversion

    ui::Click(Control(Page::kUseCertificate));
    ASSERT_EQ(Sheet().PressOk().outcome, Outcome::Applied);
    EXPECT_FALSE(SavedHas(L"ServerCert"));
}

TEST_F(InstallerNetworkPage, AStoredCertificateThatCannotBeReadIsSaidSoAndKept)
{
    StorePackage({{L"ServerName", L"adm.corp"}, {L"ServerCert", Binary({0x30, 0x82, 0x01})}, {L"UseSSLConnection", 0},
                  {L"ZRNAG_ALLOW_NETBIOS_NAME_SERVICE", true}, {L"ZRNAG_SP_OPEN_PORT_IN_WFW", true}, {L"OpenUdpPort", true}});
    OpenPage();
    EXPECT_TRUE(Checked(Page::kUseCertificate));
    EXPECT_EQ(Text(Page::kCertificate), L"Сохранённый сертификат не удаётся прочитать: он будет сохранён без изменений.");
    ExpectUntouchedOkKeepsEverything();
}

TEST_F(InstallerNetworkPage, TheUdpPortReplacesTheFirstAgentPortOrIsAppended)
{
    const struct {
        const char* what;
        ZRSTD::CAutoPtr<ZRPAR::ArrayValue> stored;  // null: none
        std::vector<std::int32_t> saved;
    } cases[] = {
        {"ports stored", Ports({15005, 16000}), {15100, 16000}},
        {"an empty array", Ports({}), {15100}},
        {"no array", nullptr, {15100}},
    };
    for (const auto& entry : cases) {
        SCOPED_TRACE(entry.what);
        if (entry.stored) StorePackage({{L"ServerName", L"adm.corp"}, {L"Nagentports", entry.stored}});
        else StorePackage({{L"ServerName", L"adm.corp"}});
        Reopen();
        OpenPage();
        ui::EnterText(Control(Page::kUdpPort), L"15100");
        ASSERT_EQ(Sheet().PressOk().outcome, Outcome::Applied);
        EXPECT_EQ(SavedPorts(), entry.saved);
    }
}

TEST_F(InstallerNetworkPage, PortTextsTheAdministratorLeavesAloneStayAsTheyWere)
{
    StorePackage({{L"ServerName", L"adm.corp"}, {L"ServerSSLPort", L"ssl"}, {L"UseSSLConnection", 1},
                  {L"ZRNAG_ALLOW_NETBIOS_NAME_SERVICE", true}, {L"ZRNAG_SP_OPEN_PORT_IN_WFW", true}, {L"OpenUdpPort", true}});
    OpenPage();
    EXPECT_EQ(Text(Page::kSslPort), L"");
    ExpectUntouchedOkKeepsEverything();  // no ServerPort appears, "ssl" stays
    ui::EnterText(Control(Page::kPort), L"14000");
    ASSERT_EQ(Sheet().PressOk().outcome, Outcome::Applied);
    EXPECT_EQ(SavedString(L"ServerPort"), L"14000");
    EXPECT_EQ(SavedString(L"ServerSSLPort"), L"ssl");
}

TEST_F(InstallerNetworkPage, ClearingTheFirewallBoxWarnsAndEveryClickCounts)
{
    StorePackage({{L"ServerName", L"adm.corp"}});
    OpenPage();
    ui::Click(Control(Page::kFirewallPorts));
    EXPECT_TRUE(page->IsModified());
    ASSERT_EQ(ui::ShownBoxes().size(), 1u);
    EXPECT_EQ(ui::ShownBoxes()[0].style & 0xF0, static_cast<UINT>(MB_ICONINFORMATION));
    EXPECT_EQ(Boxes()[0].rfind(L"Если флажок снят и на компьютере включен Windows Firewall", 0), 0u);
    ui::Click(Control(Page::kFirewallPorts));
    EXPECT_EQ(ui::ShownBoxes().size(), 1u);
}

TEST_F(InstallerNetworkPage, AFailedCommitNamesThePackageOrTheBootServersConnection)
{
    for (bool bootServer : {false, true}) {
        SCOPED_TRACE(bootServer ? "boot server" : "package");
        auto* failing = source.Set(L"LOCAL_SETTINGS", ZRSTD::MakeRef<testsupport::FailingStorage>());
        failing->Inner().Replace(L"1103", L"1.0.0.0", kSection, ZRPAR::CreateParamsBody({{L"ServerName", L"adm.corp"}}).Get());
        Reopen();
        OpenPage(bootServer);
        failing->failWrites = true;
        EXPECT_EQ(Sheet().PressOk().outcome, Outcome::Failed);
        ASSERT_FALSE(Boxes().empty());
        const std::wstring expected = bootServer ? L"Ошибка изменения настроек подклучения к Серверу администрирования."
                                                 : L"Ошибка изменения настроек инсталляционного пакета";
        EXPECT_EQ(Boxes().back().rfind(expected, 0), 0u) << ToUtf8Boxes();
    }
}

TEST_F(InstallerNetworkPage, TheExportDescribesTheConnectionAndTheProxyWithoutItsPassword)
{
    CZRNGTPlgApp::Instance().InitInstance("/nonexistent/");
    StoreConfigured();
    auto saved = Saved();
    saved->ReplaceValue(L"UseProxy", ZRPAR::CreateValue(true).Get());
    saved->ReplaceValue(L"ProxyServerAddress", ZRPAR::CreateValue(L"http://proxy.corp:3128").Get());
    saved->ReplaceValue(L"ProxyServerUser", ZRPAR::CreateValue(L"CORP\\agent").Get());
    saved->ReplaceValue(L"ProxyServerPassword", ZRPAR::CreateValue(L"E1:secret-form").Get());
    package.Replace(L"1103", L"1.0.0.0", kSection, saved.Get());
    auto exported = Page::Export(*PackageData());
    ASSERT_EQ(exported.size(), 1u);
    const std::string text = ZRPAR::RenderText(*exported[0], ZRPAR::RenderOptions{false});
    for (const char* shown : {"Адрес сервера", "adm.corp", "14001", "13001", certificate.sha1Hex.c_str(), "proxy.corp",
                              "3128", "agent"})
        EXPECT_NE(text.find(shown), std::string::npos) << shown << "\n" << text;
    EXPECT_EQ(text.find("secret-form"), std::string::npos) << text;
}
