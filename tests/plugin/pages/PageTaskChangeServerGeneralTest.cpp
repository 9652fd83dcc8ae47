#include "plugin/pages/tasks/PageTaskChangeServerGeneral.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "TaskParamsPageTest.h"
#include "ui/Services.h"
#include "zrstd/PasswordEncoding.h"

namespace fs = std::filesystem;

namespace {

using Page = CPageTaskChangeServerGeneral;
using host::PageHost;
constexpr const wchar_t* kType = L"ZRNAG_TASK_RECONNECTION";

ZRSTD::CAutoPtr<ZRPAR::Value> Ports(std::initializer_list<std::int32_t> ports)
{
    auto array = ZRPAR::CreateArrayValue();
    for (std::int32_t port : ports) array->Append(ZRPAR::CreateValue(port).Get());
    return ZRSTD::CAutoPtr<ZRPAR::Value>(array.Get());
}

class ChangeServerPage : public testsupport::TaskParamsPageTest {
protected:
    void TearDown() override
    {
        ui::SetPickerAnswer(nullptr);
        fs::remove_all(m_folder);
        TaskParamsPageTest::TearDown();
    }
    void OpenTask() { Open(new Page(TaskData(kType))); }
    // A task with every value away from the page's defaults.
    void StoreConfigured()
    {
        const std::uint8_t certificate[] = {0x30, 0x82, 0x00, 0x0A, 0xFF};
        StoreTask({{L"ZRNAG_VS_NAME", L""},
                   {L"ServerAddress", L"adm2.corp"},
                   {L"Serverports", Ports({14001, 14005})},
                   {L"ServerSslPorts", Ports({13001})},
                   {L"ZRNAG_PROXYHOST_USE", true},
                   {L"ZRNAG_PROXYHOST_LOCATION", L"http://proxy.corp:8080"},
                   {L"ZRNAG_PROXYHOST_LOGIN", L"bob"},
                   {L"ZRNAG_PROXYHOST_PASSWORD", PWD_UTILS::GetEncodedPasswordString(L"old")},
                   {L"ZRNAG_SSL_SERVER_CERT", ZRPAR::CreateValue(ZRPAR::binary_wrapper_t{certificate, sizeof certificate})},
                   {L"ZRNAG_TASK_RCN_TIMEOUT", 90500}});
    }
    std::string File(const std::string& bytes)
    {
        fs::create_directories(m_folder);
        const fs::path path = m_folder / "server.cer";
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }
    void PickFile(const std::string& path)
    {
        ui::SetPickerAnswer([path](const ui::ServiceCall&) { return ZRSTD::FromUtf8(path); });
    }
    std::string SavedBytes(const wchar_t* key)
    {
        auto* value = static_cast<ZRPAR::BinaryValue*>(Saved(key));
        return value ? std::string(reinterpret_cast<const char*>(value->GetData()), value->GetDataSize()) : "(none)";
    }

    fs::path m_folder = fs::path(::testing::TempDir()) / ("change-server-" + std::to_string(::getpid()));
};

}  // namespace

TEST_F(ChangeServerPage, StoredValuesAreShownAndOkWithoutAChangeKeepsEveryByte)
{
    StoreConfigured();
    const std::string before = Everything();
    OpenTask();
    EXPECT_TRUE(Checked(Page::kMainServer));
    EXPECT_EQ(Text(Page::kAddressLabel), L"Адрес сервера:");
    EXPECT_EQ(Text(Page::kAddress), L"adm2.corp");
    EXPECT_EQ(Text(Page::kPort), L"14001");
    EXPECT_EQ(Text(Page::kSslPort), L"13001");
    EXPECT_EQ(Text(Page::kProxy), L"http://proxy.corp");
    EXPECT_EQ(Text(Page::kProxyPort), L"8080");
    EXPECT_EQ(Text(Page::kUser), L"bob");
    EXPECT_EQ(Text(Page::kPassword), L"***********");
    EXPECT_EQ(Text(Page::kCertificateStatus), L"Сертификат выбран");
    EXPECT_EQ(Text(Page::kTimeout), L"90");
    EXPECT_TRUE(Enabled(Page::kProxy));
    EXPECT_FALSE(page->IsModified());
    ASSERT_EQ(PressOk(), PageHost::Outcome::Applied);
    EXPECT_EQ(Everything(), before);
}

TEST_F(ChangeServerPage, AnEmptyTaskShowsTheDefaultsAndStoresWhatItShowed)
{
    OpenTask();
    const struct {
        int id;
        const wchar_t* shown;
    } defaults[] = {{Page::kPort, L"14000"},        {Page::kSslPort, L"13000"},
                    {Page::kTimeout, L"60"},        {Page::kProxyPort, L"3128"},
                    {Page::kCertificateStatus, L"Сертификат не выбран"}, {Page::kAddress, L""}};
    for (const auto& entry : defaults) EXPECT_EQ(Text(entry.id), entry.shown) << entry.id;
    EXPECT_FALSE(Enabled(Page::kProxy));
    EXPECT_FALSE(Enabled(Page::kPassword));
    ui::ReplaceText(Control(Page::kAddress), L"adm.corp");
    ASSERT_EQ(PressOk(), PageHost::Outcome::Applied);
    EXPECT_EQ(SavedInt(L"ZRNAG_TASK_RCN_TIMEOUT"), 60000);
    EXPECT_EQ(static_cast<ZRPAR::ArrayValue*>(Saved(L"ServerSslPorts"))->GetSize(), 1u);
    EXPECT_EQ(Saved(L"ZRNAG_PROXYHOST_PASSWORD"), nullptr);  // the placeholder left alone writes no password
}

TEST_F(ChangeServerPage, EditedValuesAreStoredPortsAfterTheFirstStayAndThePasswordIsEncoded)
{
    StoreConfigured();
    OpenTask();
    ui::ReplaceText(Control(Page::kAddress), L"  adm3.corp:14000  ");
    ui::ReplaceText(Control(Page::kPort), L"15000");
    ui::ReplaceText(Control(Page::kTimeout), L"120");
    ui::ReplaceText(Control(Page::kProxy), L"proxy2.corp");
    ui::ReplaceText(Control(Page::kProxyPort), L"3129");
    ui::ReplaceText(Control(Page::kPassword), L"Secr3t!");
    ASSERT_EQ(PressOk(), PageHost::Outcome::Applied);
    EXPECT_EQ(SavedString(L"ServerAddress"), L"adm3.corp:14000");
    auto* ports = static_cast<ZRPAR::ArrayValue*>(Saved(L"Serverports"));
    ASSERT_EQ(ports->GetSize(), 2u);
    EXPECT_EQ(static_cast<ZRPAR::IntValue*>(ports->ItemAt(0))->GetValue(), 15000);
    EXPECT_EQ(static_cast<ZRPAR::IntValue*>(ports->ItemAt(1))->GetValue(), 14005);
    EXPECT_EQ(SavedInt(L"ZRNAG_TASK_RCN_TIMEOUT"), 120000);
    EXPECT_EQ(SavedString(L"ZRNAG_PROXYHOST_LOCATION"), L"proxy2.corp:3129");
    EXPECT_EQ(PWD_UTILS::GetDecodedPasswordString(SavedString(L"ZRNAG_PROXYHOST_PASSWORD")), L"Secr3t!");
    EXPECT_EQ(Everything().find("Secr3t"), std::string::npos);
    EXPECT_EQ(SavedString(L"ZRNAG_VS_NAME"), L"");
}

TEST_F(ChangeServerPage, BadAddressesAreRefusedWithTheirMessagesAndNothingIsWritten)
{
    const struct {
        const wchar_t* address;
        bool virtualServer;
        const wchar_t* proxy;  // nullptr: the proxy is not used
        const wchar_t* message;
    } cases[] = {
        {L"", false, nullptr, L"Invalid address of Brenvik Administration Server specified."},
        {L"bad host!", false, nullptr, L"Invalid address of Brenvik Administration Server specified."},
        {L"adm.corp:99999", false, nullptr, L"Invalid address of Brenvik Administration Server specified."},
        {L"adm.corp:14000:x", false, nullptr, L"Invalid address of Brenvik Administration Server specified."},
        {L"[::1", false, nullptr, L"Invalid address of Brenvik Administration Server specified."},
        {L"300.1.1.1", false, nullptr, L"Invalid address of Brenvik Administration Server specified."},
        {L"adm.corp", false, L"", L"Invalid proxy server address specified."},
        {L"adm.corp", false, L"proxy.corp:port", L"Invalid proxy server address specified."},
        {L"", true, nullptr, L"Invalid virtual server name specified."},
        {L"vs/1", true, nullptr, L"Invalid virtual server name specified."},
    };
    for (const auto& entry : cases) {
        SCOPED_TRACE(ZRSTD::ToUtf8(entry.address));
        Reopen();
        const std::string before = Everything();
        OpenTask();
        if (entry.virtualServer) ui::Click(Control(Page::kVirtualServer));
        ui::ReplaceText(Control(Page::kAddress), entry.address);
        if (entry.proxy) {
            ui::SetChecked(Control(Page::kUseProxy), true);
            ui::ReplaceText(Control(Page::kProxy), entry.proxy);
        }
        EXPECT_EQ(PressOk(), PageHost::Outcome::Refused);
        EXPECT_EQ(Boxes(), std::vector<std::wstring>{entry.message});
        EXPECT_EQ(Everything(), before);
    }
}

TEST_F(ChangeServerPage, AVirtualServerHidesTheMainServersControlsAndStoresOnlyItsName)
{
    StoreConfigured();
    OpenTask();
    ui::Click(Control(Page::kVirtualServer));
    EXPECT_EQ(Text(Page::kAddressLabel), L"VIrtual server name:");
    for (int id : {Page::kPort, Page::kUseProxy, Page::kPassword, Page::kBrowseCertificate}) EXPECT_FALSE(Visible(id));
    EXPECT_TRUE(Visible(Page::kTimeout));
    ui::ReplaceText(Control(Page::kAddress), L"vs-office");
    ASSERT_EQ(PressOk(), PageHost::Outcome::Applied);
    EXPECT_EQ(SavedString(L"ZRNAG_VS_NAME"), L"vs-office");
    EXPECT_EQ(SavedString(L"ServerAddress"), L"");
    EXPECT_EQ(SavedString(L"ZRNAG_PROXYHOST_LOGIN"), L"bob");  // the main server's block stays as it was

    // a console node of a virtual server opens an empty task on the virtual server choice
    Reopen();
    task.Clear();
    source.Set(L"NH_NODE_PROPERTIES", ZRSTD::MakeRef<testsupport::NodeWithProperty>(13, 2));
    OpenTask();
    EXPECT_TRUE(Checked(Page::kVirtualServer));
}

TEST_F(ChangeServerPage, TheCertificateFileIsStoredByteForByteAndAnUnreadableOneChangesNothing)
{
    StoreConfigured();
    OpenTask();
    const std::string bytes("\x00\x01\x02 not even DER\r\n\xFF", 20);
    PickFile(File(bytes));
    ui::Click(Control(Page::kBrowseCertificate));
    EXPECT_TRUE(page->IsModified());
    ASSERT_EQ(PressOk(), PageHost::Outcome::Applied);
    EXPECT_EQ(SavedBytes(L"ZRNAG_SSL_SERVER_CERT"), bytes);

    PickFile((m_folder / "missing.cer").string());
    ui::Click(Control(Page::kBrowseCertificate));
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_NE(Boxes()[0].find(L"missing.cer"), std::wstring::npos);
    ASSERT_EQ(PressOk(), PageHost::Outcome::Applied);
    EXPECT_EQ(SavedBytes(L"ZRNAG_SSL_SERVER_CERT"), bytes);
}

TEST_F(ChangeServerPage, WhatThePolicyEnforcesCannotBeChangedAndIsNotWritten)
{
    for (bool enforced : {true, false}) {
        SCOPED_TRACE(enforced ? "enforced" : "proposed");
        Reopen();
        StoreConfigured();
        Govern(kType, {L"ServerAddress", L"ZRNAG_TASK_RCN_TIMEOUT"}, enforced);
        OpenTask();
        EXPECT_EQ(Enabled(Page::kAddress), !enforced);
        EXPECT_EQ(Enabled(Page::kMainServer), !enforced);
        EXPECT_EQ(Enabled(Page::kTimeout), !enforced);
        EXPECT_TRUE(Enabled(Page::kPort));
        ui::ReplaceText(Control(Page::kPort), L"14100");
        ASSERT_EQ(PressOk(), PageHost::Outcome::Applied);
        EXPECT_EQ(SavedString(L"ServerAddress"), L"adm2.corp");
        EXPECT_EQ(SavedInt(L"ZRNAG_TASK_RCN_TIMEOUT"), 90500);
        EXPECT_EQ(static_cast<ZRPAR::IntValue*>(static_cast<ZRPAR::ArrayValue*>(Saved(L"Serverports"))->ItemAt(0))->GetValue(),
                  14100);
    }
}

TEST_F(ChangeServerPage, AnUnreadablePolicyLeavesNothingEditable)
{
    StoreConfigured();
    const std::string before = Everything();
    source.Set(L"POLICY_SETTINGS", ZRSTD::MakeRef<testsupport::FailingStorage>())->failReads = true;
    OpenTask();
    for (int id : {Page::kAddress, Page::kMainServer, Page::kPort, Page::kUseProxy, Page::kProxy, Page::kTimeout,
                   Page::kBrowseCertificate})
        EXPECT_FALSE(Enabled(id)) << id;
    ASSERT_EQ(PressOk(), PageHost::Outcome::Applied);
    EXPECT_EQ(Everything(), before);
}
