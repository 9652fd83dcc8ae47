// Distribution points, boot-server connections and the policy pages that set
// them, edited through the built console host as an administrator does.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <nlohmann/json.hpp>

#include "tools/ConsoleRun.h"
#include "tools/StoreCommandTest.h"

namespace fs = std::filesystem;
using testsupport::Console;
using testsupport::ConsoleRun;

namespace {

class DistributionPointCommands : public testsupport::StoreCommandTest {
protected:
    void SetUp() override
    {
        StoreCommandTest::SetUp();
        Done("init");
        Done("new policy Points");
    }

    // The classes of an object's pages that this build has.
    std::vector<std::string> Available(const std::string& object)
    {
        std::vector<std::string> classes;
        for (const auto& page : Json("pages " + object))
            if (page["available"] == true) classes.push_back(page["class"]);
        return classes;
    }

};

bool Contains(const std::vector<std::string>& list, const std::string& item)
{
    return std::find(list.begin(), list.end(), item) != list.end();
}

}  // namespace

TEST_F(DistributionPointCommands, EveryPlatformListsItsPagesAndTheCloudProxyIsAvailable)
{
    const struct {
        int platform;
        std::size_t pages;
    } cases[] = {{0, 5}, {1, 2}, {2, 0}};
    for (const auto& c : cases) {
        const std::string object = "dpoint:p" + std::to_string(c.platform);
        Done("new dpoint p" + std::to_string(c.platform) + " --platform " + std::to_string(c.platform) + " --policy Points");
        EXPECT_EQ(Json("pages " + object).size(), c.pages) << object;
        EXPECT_EQ(Contains(Available(object), "CPageUaVtnSettingsProduct"), c.platform != 2) << object;
    }
    for (const char* page : {"CPageSettingsNetScanPolicy", "CPageUaVtnSettings", "CPageUaUpdaterSettings"})
        EXPECT_TRUE(Contains(Available("policy:Points"), page)) << page;
}

TEST_F(DistributionPointCommands, ThePolicysCloudProxyGovernsThePointAndBothExportIt)
{
    Done("new dpoint relay --platform 1 --policy Points");
    // the policy enforces its ports; the point may still switch the proxy on
    Done("edit policy:Points CPageUaVtnSettings check:1026 type:1004=14111 uncheck:1236 select:2418=locked");
    const auto policy = Json("dump policy:Points VTNPROXY_SETTINGS")["ZRPRSS_Val"];
    EXPECT_EQ(policy["VTNPROXY_TCP_PORT"]["ZRPRSS_Val"], 14111);
    EXPECT_EQ(policy["VTNPROXY_TCP_PORT"]["ZRPRSS_Mnd"], true);
    EXPECT_EQ(policy["VTNPROXY_UDP_PORT"]["ZRPRSS_Val"], 0);

    const ConsoleRun refused = Run("edit dpoint:relay CPageUaVtnSettingsProduct check:1026 type:1004=14112");
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find("locked by the policy \"Points\""), std::string::npos) << refused.err;
    Done("edit dpoint:relay CPageUaVtnSettingsProduct check:1026 click:1227 check:1237");
    const auto local = Json("dump dpoint:relay VTNPROXY_SETTINGS");
    EXPECT_EQ(local["VTNPROXY_ENABLE"], true);
    EXPECT_EQ(local["VTNPROXY_USE_MASTER_VTNPROXY_AS_VTN"], false);
    EXPECT_EQ(local["VTNPROXY_USE_DIRECT_CONN_PRVN"], true);

    EXPECT_EQ(Json("export policy:Points")["VTN proxy"]["VTN proxy"]["Port"]["Port"], "14111");
    EXPECT_EQ(Json("export dpoint:relay")["VTN proxy"]["VTN proxy"]["Method"]["Method"],
              "Access VTN Cloud directly by Internet");
}

TEST_F(DistributionPointCommands, ThePolicysNetworkScanAndUpdaterPagesSaveWhatTheAdministratorSets)
{
    const std::string scheduleEditor = "30002";  // the console's schedule editor
    Done("edit policy:Points CPageSettingsNetScanPolicy check:1121 type:1130=7 click:1212 dialog:" + scheduleEditor +
         " click:1 end select:1016=locked uncheck:1124");
    const auto scan = Json("dump policy:Points ZRNAG_SECTION_NETSCAN")["ZRPRSS_Val"];
    EXPECT_EQ(scan["ZRSRV_SP_DPNS_PERIOD"]["ZRPRSS_Val"], 420000);
    EXPECT_EQ(scan["ZRSRV_SP_DPNS_PERIOD"]["ZRPRSS_Mnd"], true);
    EXPECT_EQ(scan["ZRSRV_SP_DPNS_SCHEDULE"]["ZRPRSS_Val"]["ZRSCH_PERIOD_SEC"], 25200);  // built from the stored period
    EXPECT_EQ(scan["ZRSRV_NET_SCAN_ENABLED"]["ZRPRSS_Val"], false);

    const ConsoleRun refused = Run("edit policy:Points CPageSettingsNetScanPolicy clear:1130");
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find("Неверно задан диапазон опроса IP-подсети."), std::string::npos) << refused.err;

    Done("edit policy:Points CPageUaUpdaterSettings uncheck:2615");
    EXPECT_EQ(Json("dump policy:Points UA")["ZRPRSS_Val"]["ZRNAG_UA_RETRANSLATE_DIFFS"]["ZRPRSS_Val"], false);
    const auto exported = Json("export policy:Points");
    EXPECT_EQ(exported["Сканирование сети"]["IP-подсети"]["Период сканирования IP-подсетей (мин)"]
                      ["Период сканирования IP-подсетей (мин)"],
              "7");
    EXPECT_EQ(exported["Updates"]["Retranslate Updater Diff files"]["Retranslate Updater Diff files"], "Нет");
}

TEST_F(DistributionPointCommands, ABootServersConnectionKeepsItsPortsAsNumbers)
{
    Done("new bootserver pxe");
    EXPECT_EQ(Available("bootserver:pxe"), std::vector<std::string>{"CPagePxeConnectionSettings"});
    // its blank description prints no empty line
    std::istringstream listed(Done("pages bootserver:pxe").out);
    for (std::string line; std::getline(listed, line);)
        EXPECT_NE(line.find_first_not_of(' '), std::string::npos) << "a line of blanks";
    const ConsoleRun refused = Run("edit bootserver:pxe 0 type:6001=localhost");
    EXPECT_EQ(refused.exitCode, 1);
    Done("edit bootserver:pxe 0 type:6001=adm.corp type:6003=14001");
    const auto stored = Json("dump bootserver:pxe PARAMS");
    EXPECT_EQ(stored["ServerName"], "adm.corp");
    EXPECT_EQ(stored["ServerPort"], 14001);
    EXPECT_EQ(stored["ServerSSLPort"], 13000);
    const auto exported = Json("export bootserver:pxe")["Настройки подключения к серверу"];
    EXPECT_EQ(exported["Номер порта"], "14001");
    EXPECT_EQ(exported["Адрес сервера"], "adm.corp");
}
