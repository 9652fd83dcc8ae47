// The polling pages of distribution points edited end to end: the built
// console host drives the built plug-in over a temporary store.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "tools/ConsoleRun.h"
#include "tools/StoreCommandTest.h"

namespace fs = std::filesystem;
using testsupport::Console;
using testsupport::ConsoleRun;

namespace {

class DistributionPointScanCommands : public testsupport::StoreCommandTest {
protected:
    void SetUp() override
    {
        StoreCommandTest::SetUp();
        Done("new policy Офисы");
        for (int platform : {0, 1, 2})
            Done("new dpoint dp" + std::to_string(platform) + " --platform " + std::to_string(platform) + " --policy Офисы");
    }

    static nlohmann::json Control(const nlohmann::json& shown, int id)
    {
        for (const auto& control : shown["controls"])
            if (control["id"] == id) return control;
        return nlohmann::json();
    }

};

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

}  // namespace

TEST_F(DistributionPointScanCommands, EachPlatformOffersThePollingPagesItsTableLists)
{
    const struct {
        const char* object;
        std::vector<std::string> classes;
    } cases[] = {
        {"dpoint:dp0", {"CPageUAScanWinBase", "CPageUAScanAdBase", "CPageUAScanIpBase"}},
        {"dpoint:dp1", {"CPageUAScanIpBase"}},
        {"dpoint:dp2", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.object);
        std::vector<std::string> polling;
        for (const auto& page : Json(std::string("pages ") + c.object)) {
            const std::string name = page["class"];
            if (name.rfind("CPageUAScan", 0) != 0) continue;
            polling.push_back(name);
            EXPECT_EQ(page["available"], true) << name;
        }
        EXPECT_EQ(polling, c.classes);
    }
}

TEST_F(DistributionPointScanCommands, ARangeWithAPickedSubnetAndAnAddressRangeIsStoredShownAndExported)
{
    Done("edit dpoint:dp1 CPageUAScanIpBase check:1119 type:1130=7 check:1131 "
         "click:1108 dialog:10491 type:1121=Офис "
         "click:1108 dialog:9450 click:1082 click:1109 dialog:30001 type:100=192.168.1.0 type:101=255.255.255.0 "
         "click:1 end click:1 end "
         "click:1108 dialog:9450 click:1083 type:1084=10.0.0.20 type:1085=10.0.0.10 click:1 end "
         "click:1 end");
    const auto settings = Json("dump dpoint:dp1 ZRNAG_SECTION_NETSCAN");
    EXPECT_EQ(settings["ZRSRV_SP_DPNS_ENABLE"], true);
    EXPECT_EQ(settings["ZRSRV_SP_DPNS_PERIOD"], 420000);
    EXPECT_EQ(settings["ZRSRV_SP_DPNS_USE_ZEROCONF"], true);
    const auto office = Json("dump dpoint:dp1 ZRNAG_SECTION_DPNS")["ZRNAGNS_SP_DPNS_DIAPASONS_IPV4"]["Офис"];
    EXPECT_EQ(office["ZRDPNS_ScanEnabled"], true);
    ASSERT_EQ(office["ZRDPNS_ILS"].size(), 2u);
    // first octet in the lowest byte: the subnet 192.168.1.0 is 0x0001A8C0, its mask 0x00FFFFFF
    EXPECT_EQ(office["ZRDPNS_ILS"][0]["ZRDPNS_IL_ISSUBNET"], true);
    EXPECT_EQ(office["ZRDPNS_ILS"][0]["ZRDPNS_IL_SUBNETORHI"], 0x0001A8C0);
    EXPECT_EQ(office["ZRDPNS_ILS"][0]["ZRDPNS_IL_MASKORLOW"], 0x00FFFFFF);
    EXPECT_EQ(office["ZRDPNS_ILS"][1]["ZRDPNS_IL_MASKORLOW"], 0x0A00000A);  // the ends put in order
    EXPECT_EQ(office["ZRDPNS_ILS"][1]["ZRDPNS_IL_SUBNETORHI"], 0x1400000A);

    const auto shown = Json("show dpoint:dp1 CPageUAScanIpBase");
    EXPECT_EQ(Control(shown, 1130)["text"], "7");
    const std::string text = Done("show dpoint:dp1 CPageUAScanIpBase").out;
    EXPECT_TRUE(Contains(text, "#1 \"Офис\"")) << text;

    const auto exported = Json("export dpoint:dp1");
    const auto& ranges = exported["IP-диапазоны"]["Сканируемые диапазоны"]["Сканируемые диапазоны"]["Офис"];
    EXPECT_EQ(ranges["1"], "Маска подсети: 255.255.255.0; адрес: 192.168.1.0");
    EXPECT_EQ(ranges["2"], "10.0.0.10 - 10.0.0.20");
    EXPECT_EQ(exported["Сканирование сети"]["Enable polling with zeroconf technology"]["Enable polling with zeroconf technology"],
              "Да");

    // OK on the untouched page writes nothing
    EXPECT_TRUE(Contains(Done("edit dpoint:dp1 CPageUAScanIpBase").out, "(no stored value changed)"));
}

TEST_F(DistributionPointScanCommands, RefusalsNameTheRuleAndWriteNothing)
{
    Done("edit dpoint:dp1 CPageUAScanIpBase check:1119");
    const auto before = Json("dump dpoint:dp1 ZRNAG_SECTION_NETSCAN");
    const struct {
        std::string actions;
        std::string said;
    } refused[] = {
        {"click:1108 dialog:10491 click:1108 dialog:9450 click:1082 type:1084=192.168.1.5 type:1085=255.255.255.0 "
         "click:1 end end",
         "Неправильно задана маска IP - подсети."},
        {"click:1108 dialog:10491 click:1108 dialog:9450 click:1083 type:1084=10.0.0.7 type:1085=10.0.0.7 click:1 end end",
         "Задан одинаковый начальный и конечный адрес IP-диапазона."},
    };
    for (const auto& r : refused) {
        SCOPED_TRACE(r.said);
        const ConsoleRun run = Run("edit dpoint:dp1 CPageUAScanIpBase " + r.actions);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(Contains(run.err, r.said)) << run.err;
        EXPECT_EQ(Json("dump dpoint:dp1 ZRNAG_SECTION_NETSCAN"), before);
    }
}

TEST_F(DistributionPointScanCommands, ADomainControllerKeepsItsPasswordProtectedAndOutOfTheExport)
{
    Done("edit dpoint:dp0 CPageUAScanAdBase check:1126 type:1128=5 click:1617 "
         "click:1108 dialog:10490 type:6001=dc1.corp type:1619=CORP\\\\scan type:1001=Pa55word click:1 end");
    const auto settings = Json("dump dpoint:dp0 ZRNAG_SECTION_NETSCAN");
    EXPECT_EQ(settings["ZRSRV_AD_SCAN_ENABLED"], true);
    EXPECT_EQ(settings["ZRSRV_SP_SCAN_AD"], 300000);
    EXPECT_EQ(settings["ZRSRV_SP_SCAN_AD_AREA"], 3);
    const auto& controller = settings["ZRSRV_AD_SCAN_ADDRESSES"][0];
    EXPECT_EQ(controller["ZRSRV_SP_AD_ADDRESS"], "dc1.corp");
    EXPECT_EQ(controller["ZRSRV_SP_AD_USER"], "CORP\\scan");
    ASSERT_TRUE(controller.contains("ZRSRV_SP_AD_PASSWORD"));
    const std::string dumped = Done("dump dpoint:dp0 ZRNAG_SECTION_NETSCAN --format json").out;
    const std::string exported = Done("export dpoint:dp0").out;
    for (const std::string& text : {dumped, exported}) EXPECT_FALSE(Contains(text, "Pa55word"));
    EXPECT_TRUE(Contains(exported, "Указанные домены: dc1.corp")) << exported;

    // edited again with the placeholder untouched, the protected password stays as it was
    Done("edit dpoint:dp0 CPageUAScanAdBase select:1107=dc1.corp click:1509 dialog:10490 type:1619=CORP\\\\other click:1 end");
    const auto again = Json("dump dpoint:dp0 ZRNAG_SECTION_NETSCAN")["ZRSRV_AD_SCAN_ADDRESSES"][0];
    EXPECT_EQ(again["ZRSRV_SP_AD_USER"], "CORP\\other");
    EXPECT_EQ(again["ZRSRV_SP_AD_PASSWORD"], controller["ZRSRV_SP_AD_PASSWORD"]);
}

TEST_F(DistributionPointScanCommands, TheWindowsNetworkPollingAndItsScheduleAreEditedFromTheConsole)
{
    const auto shown = Json("show dpoint:dp0 CPageUAScanWinBase");
    EXPECT_EQ(Control(shown, 1007)["text"], "60");
    EXPECT_EQ(Control(shown, 1009)["text"], "15");
    Done("edit dpoint:dp0 CPageUAScanWinBase type:1009=20 click:2263 dialog:30002 click:1 end");
    const auto settings = Json("dump dpoint:dp0 ZRNAG_SECTION_NETSCAN");
    EXPECT_EQ(settings["ZRSRV_NET_SCAN_ENABLED"], true);
    EXPECT_EQ(settings["ZRSRV_SP_FASTUPDATENET_PERIOD"], 1200000);
    EXPECT_EQ(settings["ZRSRV_SP_FULLUPDATENET_PERIOD"], 3600000);
    EXPECT_EQ(settings["ZRSRV_SP_FULLUPDATENET_SCHEDULE"]["ZRSCH_PERIOD_SEC"], 3600);
    EXPECT_FALSE(settings.contains("ZRSRV_SP_FASTUPDATENET_SCHEDULE"));

    Done("edit dpoint:dp0 CPageUAScanWinBase uncheck:1124");
    const auto disabled = Json("show dpoint:dp0 CPageUAScanWinBase");
    for (int id : {1007, 1009, 2263, 2264}) EXPECT_EQ(Control(disabled, id)["enabled"], false) << id;
    EXPECT_TRUE(Contains(Done("export dpoint:dp0").out, "Разрешить сканирование сети: Нет"));
}
