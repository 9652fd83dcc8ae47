// Connection profiles and network location rules edited end to end: the
// built console host drives the built plug-in over a temporary store.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "support/TestCertificates.h"
#include "tools/ConsoleRun.h"
#include "tools/StoreCommandTest.h"
#include "zrstd/Crypto.h"
#include "zrstd/Strings.h"

namespace fs = std::filesystem;
using testsupport::Console;
using testsupport::ConsoleRun;

namespace {

const std::string kPage = " 3 ";  // "Подключение" in the policy's and the computer's sheets
const std::string kAddOffice =
    "click:1035 dialog:10523 type:1414=Офис type:6001=adm.corp type:6003=14001 click:1 end";
// A rule switching to the office profile on the gateway 192.168.1.1 in the subnet the picker gives.
const std::string kAddOfficeRule =
    "click:1038 dialog:10423 type:1043=Сеть-офиса select:1046=офис "
    "click:1040 menu:12004 dialog:10424 click:1049 dialog:10426 type:1057=192.168.1.1 click:1 end click:1 end "
    "click:1040 menu:12000 dialog:10424 click:1049 dialog:10426 click:1110 "
    "dialog:30001 type:100=10.20.0.0 type:101=255.255.0.0 click:1 end click:1 end click:1 end "
    "answer:yes click:1 end";

class NetworkLocationCommands : public testsupport::StoreCommandTest {
protected:
    void SetUp() override
    {
        StoreCommandTest::SetUp();
        Done("config server_version 0xD0001");
        Done("new policy Офисы");
        Done("new host web01 --policy Офисы");
    }

    ConsoleRun Edit(const std::string& object, const std::string& actions)
    {
        return Done("edit " + object + kPage + actions);
    }
    nlohmann::json Stored(const std::string& object) { return Json("dump " + object + " ZRNAG_ZRNLA_DATA"); }
    std::string Shown(const std::string& object) { return Done("show " + object + kPage).out; }

};

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

}  // namespace

TEST_F(NetworkLocationCommands, ThePolicyAndTheComputerOfferTheConnectionPage)
{
    const auto policyPages = Json("pages policy:Офисы");
    EXPECT_EQ(policyPages[3]["class"], "CPageNetworkNLA");
    EXPECT_EQ(policyPages[3]["available"], true);
    const auto hostPages = Json("pages host:web01");
    EXPECT_EQ(hostPages[3]["class"], "CPageNetworkNLAProduct");
    EXPECT_EQ(hostPages[3]["available"], true);
    const std::string shown = Shown("policy:Офисы");
    EXPECT_TRUE(Contains(shown, "#1 \"<Оффлайн-режим>\"\n")) << shown;
    EXPECT_TRUE(Contains(shown, "#2 \"<Домашний сервер администрирования>\"\n")) << shown;
    // the defaults of a new policy enforce the roaming flag
    EXPECT_TRUE(Contains(shown, "1172  check box      enabled  shown    \"Включить роуминг-режим\"  [cleared]")) << shown;
    EXPECT_EQ(Stored("policy:Офисы")["ZRPRSS_Val"]["ZRNAG_NLA_ROAMING_IF_UNAVAIL"]["ZRPRSS_Mnd"], true);
}

TEST_F(NetworkLocationCommands, AProfileAndARuleWithItsConditionsAreStoredShownAndExported)
{
    const auto certificate = testsupport::MakeTestCertificate();
    const fs::path file = m_directory / "server.cer";
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(certificate.der.data()), static_cast<std::streamsize>(certificate.der.size()));

    Edit("policy:Офисы", kAddOffice + " select:1030=locked");
    Edit("policy:Офисы", kAddOfficeRule);
    Edit("policy:Офисы", "select:1034=Сеть-офиса click:1039 dialog:10423 click:1040 menu:12008 dialog:10424 click:1049 "
                         "dialog:10426 type:1059=adm.corp:13000 click:1109 file:" + file.string() +
                             " click:1 end click:1 end answer:yes click:1 end");

    const auto stored = Stored("policy:Офисы")["ZRPRSS_Val"];
    EXPECT_EQ(stored["ZRNLA_PROFILES"]["ZRPRSS_Mnd"], true);
    const auto& office = stored["ZRNLA_PROFILES"]["ZRPRSS_Val"][0];
    EXPECT_EQ(office["ZRNLA_PROFILE_DISPLAY_NAME"], "Офис");
    EXPECT_EQ(office["Serverports"], nlohmann::json::array({14001}));
    EXPECT_TRUE(ZRSTD::GuidFromString(ZRSTD::FromUtf8(office["ZRNLA_PROFILE_ID"].get<std::string>())).has_value());
    const auto& rule = stored["ZRNLA_LOCATIONS"]["ZRPRSS_Val"][0];
    EXPECT_EQ(rule["ZRNLA_PROFILE_TO_USE"], office["ZRNLA_PROFILE_ID"]);
    EXPECT_EQ(rule["ZRNLA_LOCATION_ENABLED"], true);
    // first octet in the lowest byte: 192.168.1.1 is 0x0101A8C0, 10.20.0.0/255.255.0.0 is 0x140A/0xFFFF
    EXPECT_EQ(rule["ZRNLA_DEF_GATEWAY"]["ZRNLA_value"], nlohmann::json::array({0x0101A8C0}));
    EXPECT_EQ(rule["ZRNLA_SUBNET"]["ZRNLA_value"][0]["ZRNLA_SUBNET_ADDRESS"], 0x140A);
    EXPECT_EQ(rule["ZRNLA_SUBNET"]["ZRNLA_value"][0]["ZRNLA_SUBNET_MASK"], 0xFFFF);
    const auto& ssl = rule["ZRNLA_SSL_AVAILABLE"]["ZRNLA_value"][0];
    EXPECT_EQ(ssl["ZRNLA_SSL_LOCATION"], "adm.corp:13000");
    const auto pem = ZRSTD::Base64Decode(ssl["ZRNLA_SSL_CERT"].get<std::string>());
    ASSERT_TRUE(pem);
    EXPECT_EQ(std::string(pem->begin(), pem->end()), certificate.pem);

    const std::string shown = Shown("policy:Офисы");
    EXPECT_TRUE(Contains(shown, "#1 \"Сеть-офиса\" | \"Офис\"\n")) << shown;
    const auto exported = Json("export policy:Офисы")["Подключение"];
    EXPECT_EQ(exported["Профили подключения к Серверу администрирования"]["Офис"]["Номер порта"], "14001");
    EXPECT_EQ(exported["Настройки сетевого местоположения (Network location settings)"]["Сеть-офиса"]["Название профиля"],
              "Офис");
    EXPECT_EQ(exported["Замочек \"Профили подключения к Серверу администрирования\""], "Редактирование запрещено");

    // OK on the untouched page writes nothing; a deleted profile leaves its rule naming none
    const auto before = Stored("policy:Офисы");
    EXPECT_TRUE(Contains(Edit("policy:Офисы", "").out, "(no stored value changed)"));
    EXPECT_EQ(Stored("policy:Офисы"), before);
    Edit("policy:Офисы", "select:1033=Офис click:1037 answer:yes");
    EXPECT_TRUE(Contains(Shown("policy:Офисы"), "#1 \"Сеть-офиса\" | \"<не существует>\"\n"));
}

TEST_F(NetworkLocationCommands, RefusalsNameTheProblemAndWriteNothing)
{
    Edit("policy:Офисы", kAddOffice);
    const auto before = Stored("policy:Офисы");
    const struct {
        std::string actions;
        std::string said;
    } refused[] = {
        {"click:1035 dialog:10523 type:1414=ОФИС type:6001=other.corp click:1 end", "Указанное имя профиля уже используется."},
        {"click:1035 dialog:10523 type:1414=Дом type:6001=localhost click:1 end", "cannot be 'localhost' or '127.0.0.1'"},
        {"click:1038 dialog:10423 type:1043=a/b click:1 end", "не может содержать следующие символы: \" * < > ? \\ / : |"},
        {"click:1038 dialog:10423 click:1 end", "Не указаны условия для описания сетевого местоположения"},
        {"click:1038 dialog:10423 click:1040 menu:12000 dialog:10424 click:1049 dialog:10426 type:1057=10.0.0.0 "
         "type:1055=255.255.255.255 click:1 end end end",
         "Неправильно задана маска IP - подсети."},
        {"click:1038 dialog:10423 click:1040 menu:12002 dialog:10424 click:1049 dialog:10426 type:1057=10.0.0.300 end end end",
         "takes an address as four numbers 0 to 255"},
    };
    for (const auto& c : refused) {
        const ConsoleRun run = Run("edit policy:Офисы" + kPage + c.actions);
        EXPECT_EQ(run.exitCode, 1) << c.actions;
        EXPECT_TRUE(Contains(run.err, c.said)) << c.actions << "\n" << run.err;
    }
    EXPECT_EQ(Stored("policy:Офисы"), before);
}

TEST_F(NetworkLocationCommands, AComputerShowsWhatItsPolicyEnforcesAndKeepsItsOwnRules)
{
    Edit("policy:Офисы", kAddOffice + " " + kAddOfficeRule + " select:1030=locked");
    const std::string locked = Shown("host:web01");
    EXPECT_TRUE(Contains(locked, "#1 \"Сеть-офиса\" | \"Офис\"\n")) << locked;
    EXPECT_TRUE(Contains(locked, "1038  button         disabled")) << locked;
    const ConsoleRun refused = Run("edit host:web01" + kPage + "click:1038");
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(Contains(refused.err, "locked by the policy \"Офисы\"")) << refused.err;

    Edit("policy:Офисы", "select:1030=unlocked");
    Edit("host:web01", "click:1038 dialog:10423 type:1043=Дом select:1046=#2 click:1040 menu:12006 dialog:10425 "
                       "check:1052 click:1 end answer:yes click:1 end");
    const auto own = Stored("host:web01");
    ASSERT_EQ(own["ZRNLA_LOCATIONS"].size(), 2u);
    EXPECT_EQ(own["ZRNLA_LOCATIONS"][1]["ZRNLA_PROFILE_TO_USE"], ".ZRNLA_HOME_SERVER");
    EXPECT_EQ(own["ZRNLA_LOCATIONS"][1]["ZRNLA_IN_DOMAIN"]["ZRNLA_value"], true);
}

TEST_F(NetworkLocationCommands, OlderServersAndAContextWithoutProfilesOfferLess)
{
    Edit("policy:Офисы", kAddOffice);
    Done("config server_version 0xA1000");
    std::string shown = Shown("policy:Офисы");
    EXPECT_FALSE(Contains(shown, "<Домашний сервер администрирования>")) << shown;
    EXPECT_TRUE(Contains(shown, "#2 \"Офис\"\n")) << shown;

    Done("config context_kind 2");
    shown = Shown("policy:Офисы");
    EXPECT_FALSE(Contains(shown, "\"Офис\"")) << shown;
    EXPECT_TRUE(Contains(shown, "1035  button         disabled")) << shown;
    const auto before = Stored("policy:Офисы");
    Edit("policy:Офисы", "check:1172");
    EXPECT_EQ(Stored("policy:Офисы")["ZRPRSS_Val"]["ZRNLA_PROFILES"], before["ZRPRSS_Val"]["ZRNLA_PROFILES"]);
}
