// An installation package edited through the built console host: its pages
// listed, each edited as a user edits it, the certificate picked from files,
// the proxy dialog, and the export.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "support/TestCertificates.h"
#include "tools/ConsoleRun.h"
#include "tools/StoreCommandTest.h"
#include "zrstd/Crypto.h"

namespace fs = std::filesystem;
using testsupport::Console;
using testsupport::ConsoleRun;

namespace {

class PackageCommands : public testsupport::StoreCommandTest {
protected:
    void SetUp() override
    {
        StoreCommandTest::SetUp();
        Done("new package pk");
    }

    nlohmann::json Stored() { return Json("dump package:pk InstallerSettings"); }
    // The text a control of a page shows.
    std::string Shown(int page, int id)
    {
        const auto shown = Json("show package:pk " + std::to_string(page));
        for (const auto& control : shown["controls"])
            if (control["id"] == id) return control.value("text", "");
        return "(no control " + std::to_string(id) + ")";
    }
};

std::string Base64(const std::vector<std::uint8_t>& bytes) { return ZRSTD::Base64Encode(bytes.data(), bytes.size()); }

}  // namespace

TEST_F(PackageCommands, EveryPageOfAPackageIsListedEditedAndExported)
{
    Done("config server_version 0xA0000");  // servers before 0xA5000 offer the components page
    const auto pages = Json("pages package:pk");
    ASSERT_EQ(pages.size(), 4u);
    const char* classes[] = {"CPageInstallerSettingsGeneral", "CPageInstallerSettingsNetwork",
                             "CPageInstallerSettingsAdvanced", "CPageInstallerSettingsComponents"};
    for (std::size_t i = 0; i < pages.size(); ++i) {
        EXPECT_EQ(pages[i]["class"], classes[i]);
        EXPECT_EQ(pages[i]["available"], true) << classes[i];
    }

    Done("edit package:pk 0 check:1087 click:1000 dialog:6010 type:1001=Strong#Pass1 click:1 end "
         "click:1096 type:1094=D:\\\\Agent uncheck:1108 check:1088");
    Done("edit package:pk 1 type:6001=adm.corp type:6003=14000 type:6005=13000 uncheck:6013 type:6008=15001");
    Done("edit package:pk 2 check:1124 type:6007=gw.corp check:1089");
    Done("edit package:pk 3 check:1107='network access control'");
    const auto stored = Stored();
    EXPECT_EQ(stored["INSTALLDIR"], "D:\\Agent");
    EXPECT_EQ(stored["PTCH_ALLOW_APPLY_NONAPROVED_PATCHES"], false);
    EXPECT_EQ(stored["ZRNAG_PROTECTNGT"], true);
    EXPECT_TRUE(stored.contains("UninstallPwd"));
    EXPECT_EQ(stored["ServerName"], "adm.corp");
    EXPECT_EQ(stored["ServerPort"], "14000");
    EXPECT_EQ(stored["ServerSSLPort"], "13000");
    EXPECT_EQ(stored["UseSSLConnection"], false);  // a new package's flag keeps its type
    EXPECT_EQ(stored["Nagentports"], nlohmann::json::array({15001}));
    EXPECT_EQ(stored["GATEWAYMODE"], 2);
    EXPECT_EQ(stored["GATEWAYADDRESS"], "gw.corp");
    EXPECT_EQ(stored["VMOPTIMIZE"], true);
    EXPECT_EQ(stored["INSTALL_NAC"], true);
    for (int page = 0; page < 4; ++page)  // what was saved is shown again: OK changes nothing
        EXPECT_NE(Done("edit package:pk " + std::to_string(page)).out.find("(no stored value changed)"), std::string::npos);

    const auto exported = Json("export package:pk");
    EXPECT_EQ(exported["Settings"]["Папка установки"], "D:\\Agent");
    EXPECT_EQ(exported["Settings"]["Использовать пароль на деинсталляцию"]["Статус"], "Пароль установлен");
    EXPECT_EQ(exported["Подключение"]["Адрес сервера"], "adm.corp");
    EXPECT_EQ(exported["Подключение"]["Использовать SSL-соединение"], "Нет");
    EXPECT_EQ(exported["Advanced"]["Адрес шлюза соединений"], "gw.corp");
    EXPECT_EQ(exported["Дополнительные компоненты"]["Network Access Control"], "Да");
    EXPECT_EQ(Done("export package:pk").out.find("Strong#Pass1"), std::string::npos);
}

TEST_F(PackageCommands, TheServerCertificateIsPickedFromAFileAndABadFileKeepsTheHeldOne)
{
    const auto certificate = testsupport::MakeTestCertificate();
    const std::string der = File("server.cer", std::string(certificate.der.begin(), certificate.der.end()));
    Done("edit package:pk 1 type:6001=adm.corp click:967 file:" + der);
    EXPECT_EQ(Stored()["ServerCert"], Base64(certificate.der));
    const std::string described = Shown(1, 1136);
    EXPECT_EQ(described, "Thumbnails (fingerprints): " + certificate.sha1Hex +
                             "\nSubject: CN=adm.corp, O=Example, C=RU\nAlternative subject name: DNS:adm.corp, IP:10.0.0.1");

    const std::string junk = File("notes.txt", "no certificate here");
    const ConsoleRun refused = Done("edit package:pk 1 click:967 file:" + junk);
    EXPECT_NE(refused.err.find("не содержит сертификата X.509"), std::string::npos) << refused.err;
    EXPECT_NE(refused.out.find("(no stored value changed)"), std::string::npos) << refused.out;
    const ConsoleRun missing = Done("edit package:pk 1 click:967 file:" + (m_directory / "gone.cer").string());
    EXPECT_NE(missing.err.find("Не удалось прочитать файл"), std::string::npos) << missing.err;
    EXPECT_EQ(Stored()["ServerCert"], Base64(certificate.der));
    EXPECT_EQ(Shown(1, 1136), described);

    // a PKCS #7 bundle is described as well, and stored as the file holds it
    const std::string bundle = File("chain.p7b", std::string(certificate.bundleDer.begin(), certificate.bundleDer.end()));
    Done("edit package:pk 1 click:967 file:" + bundle);
    EXPECT_EQ(Stored()["ServerCert"], Base64(certificate.bundleDer));
    EXPECT_EQ(Shown(1, 1136), described);
    EXPECT_EQ(Json("export package:pk")["Подключение"]["Задать файл сертификата сервера"], described);

    Done("edit package:pk 1 uncheck:6022");
    EXPECT_FALSE(Stored().contains("ServerCert"));
}

TEST_F(PackageCommands, TheProxyDialogFollowsTheConsolesNodeAndKeepsThePasswordOutOfSight)
{
    Done("edit package:pk 1 type:6001=adm.corp click:1017 dialog:10531 click:1226 type:837=proxy.corp type:840=3128 "
         "check:1044 type:842=agent type:844=Proxy#Pass1 click:1 end");
    auto stored = Stored();
    EXPECT_EQ(stored["UseProxy"], true);
    EXPECT_EQ(stored["ProxyServerAddress"], "http://proxy.corp:3128");
    EXPECT_EQ(stored["ProxyServerUser"], "agent");
    EXPECT_TRUE(stored.contains("ProxyServerPasswordEncrypted"));
    for (const char* command : {"dump package:pk InstallerSettings", "export package:pk", "show package:pk 1"})
        EXPECT_EQ(Done(command).out.find("Proxy#Pass1"), std::string::npos) << command;

    Done("config proxy_detection 0");  // the node offers no detection: the dialog without it
    const ConsoleRun other = Run("edit package:pk 1 click:1017 dialog:10531 click:1 end");
    EXPECT_EQ(other.exitCode, 1);
    EXPECT_NE(other.err.find("the dialog that opened is 10528"), std::string::npos) << other.err;
    const ConsoleRun hidden = Run("edit package:pk 1 click:1017 dialog:10528 click:1225 click:1 end");
    EXPECT_EQ(hidden.exitCode, 1);
    Done("edit package:pk 1 click:1017 dialog:10528 click:1224 click:1 end");
    EXPECT_EQ(Stored()["UseProxy"], false);
}

TEST_F(PackageCommands, RefusalsNameTheFieldAndWriteNothing)
{
    const struct {
        const char* actions;
        const char* reason;
    } cases[] = {
        {"0 click:1096 type:1094=\\\\\\\\srv\\\\share", "Некорректная папка установки"},
        {"0 check:1087", "Вы не ввели пароль"},
        {"1 type:6001=localhost", "cannot be 'localhost' or '127.0.0.1'"},
        {"1 type:6001=adm.corp type:6003=14000 type:6005=14000", "Заданы совпадающие номера портов."},
        {"1 type:6001=adm.corp check:6022", "Вы не выбрали сертификат"},
        {"2 check:1124", "Не указан адрес шлюза соединений."},
    };
    const auto before = Stored();
    for (const auto& entry : cases) {
        const ConsoleRun run = Run(std::string("edit package:pk ") + entry.actions);
        EXPECT_EQ(run.exitCode, 1) << entry.actions;
        EXPECT_NE(run.err.find(entry.reason), std::string::npos) << entry.actions << "\n" << run.err;
    }
    EXPECT_EQ(Stored(), before);
}
