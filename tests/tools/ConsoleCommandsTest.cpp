// The console host driving the built plug-in over a temporary store.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "tools/ConsoleRun.h"
#include "tools/StoreCommandTest.h"

namespace fs = std::filesystem;
using testsupport::Console;
using testsupport::ConsoleRun;

namespace {

class ConsoleSession : public testsupport::StoreCommandTest {};

}  // namespace

TEST_F(ConsoleSession, TheFirstRunCreatesTheSampleObjectsAndShowsThePolicysPages)
{
    const ConsoleRun first = Done("");
    EXPECT_NE(first.out.find("created policy:Default policy"), std::string::npos) << first.out;
    EXPECT_NE(first.out.find("  host:localhost\n"), std::string::npos);
    EXPECT_NE(first.out.find("Pages of policy:Default policy, in their groups:"), std::string::npos);
    EXPECT_NE(first.out.find("    [6] Сеть\n"), std::string::npos) << first.out;  // a page this build has
    const ConsoleRun second = Done("");
    EXPECT_EQ(second.out.find("created"), std::string::npos) << second.out;

    const auto objects = Json("list");
    ASSERT_EQ(objects.size(), 2u);
    EXPECT_EQ(objects[0]["object"], "host:localhost");
    EXPECT_EQ(Json("pages host:localhost").size(), 10u);
}

TEST_F(ConsoleSession, EveryKindOfObjectCanBeCreatedWithItsDefaults)
{
    Done("new policy P1");
    Done("new host h1 --policy P1");
    Done("new package pk");
    Done("new dpoint relay --platform 1");
    Done("new bootserver pxe");
    for (const char* type : {"DoUpdate", "ZRNAG_TASK_RECONNECTION", "ZRNAG_TASK_COMP_CONTROL", "ZRNAG_TASK_SHOW_MSG",
                             "ZRNAG_TASK_START_STOP_APP", "ZRNAG_TASK_CHECK_BASES", "ZRNAG_TASK_VAPM_SEARCH"})
        Done(std::string("new task t-") + type + " --type " + type);
    EXPECT_EQ(Json("list").size(), 12u);

    // the defaults are in the store, with their locks
    const auto general = Json("dump policy:P1 86");
    EXPECT_EQ(general["ZRPRSS_Val"]["ServerPingTimeout"]["ZRPRSS_Val"], 900000);
    EXPECT_EQ(general["ZRPRSS_Val"]["ServerPingTimeout"]["ZRPRSS_Mnd"], true);
    EXPECT_EQ(general["ZRPRSS_Val"]["Nagentports"]["ZRPRSS_Val"], nlohmann::json::array({15000}));
    const ConsoleRun packed = Done("dump policy:P1 ZREVP_NF_SECTION --format packed");
    EXPECT_EQ(packed.out.size(), 31081u);
    EXPECT_EQ(Json("dump package:pk InstallerSettings")["UseSSLConnection"], true);
    const auto shutdown = Json("dump task:t-ZRNAG_TASK_COMP_CONTROL TASK_PARAMS");
    EXPECT_EQ(shutdown["ZRNAG_SHUTDOWN_ASK_QUESTION"], "Требуется выполнить перезагрузку компьютера.");
    EXPECT_EQ(Json("dump task:t-ZRNAG_TASK_VAPM_SEARCH TASK_PARAMS")["ZRNAG_TSK_VAPMSEARCH_PATHS"].size(), 3u);

    EXPECT_EQ(Json("pages dpoint:relay").size(), 2u);
    EXPECT_EQ(Json("pages package:pk").size(), 3u);  // server 0xA5000, package version 9 by default
    EXPECT_EQ(Json("pages bootserver:pxe").size(), 1u);
    EXPECT_EQ(Json("pages task:t-ZRNAG_TASK_CHECK_BASES --wizard").size(), 3u);
}

TEST_F(ConsoleSession, PagesListThePolicyTablesAndTheConfigurationReachesTheNetworkAccessControlBlock)
{
    Done("new policy P");
    auto pages = Json("pages policy:P");
    ASSERT_EQ(pages.size(), 14u);
    EXPECT_EQ(pages[6]["class"], "CPageGroupNetwork");
    EXPECT_EQ(pages[6]["available"], true);
    EXPECT_EQ(pages[6]["group"], "Сеть");
    EXPECT_EQ(pages[7]["class"], "CPageSettingsNetScanPolicy");
    EXPECT_EQ(pages[0]["help_id"], 158030);
    EXPECT_EQ(pages[0]["group"], "");
    for (const char* key : {"index", "title", "description", "help_id", "class", "group", "available"})
        EXPECT_TRUE(pages[0].contains(key)) << key;

    Done("config functionality 0x44");
    pages = Json("pages policy:P");
    ASSERT_EQ(pages.size(), 21u);
    EXPECT_EQ(pages[9]["class"], "CPageNacWhiteList");
    EXPECT_EQ(pages[9]["available"], true);
    EXPECT_EQ(pages[9]["group"], "Управление доступом в сеть (NAC) / Правила доступа");
    EXPECT_EQ(Json("taskpad").size(), 1u);  // {"NESTED": [...]}
    EXPECT_EQ(Json("taskpad")["NESTED"].size(), 8u);

    Done("config nac_allowed 0");
    EXPECT_EQ(Json("pages policy:P").size(), 14u);
    EXPECT_EQ(Json("pages policy:P --wizard").size(), 4u);

    const ConsoleRun text = Done("pages policy:P");
    EXPECT_NE(text.out.find("[1] Хранилища  (CPageNetStoragesBase, help 158030, group: (top level))"), std::string::npos)
        << text.out;
}

TEST_F(ConsoleSession, GroupsTaskpadAndEventsAreShownReadably)
{
    Done("new policy P");
    const ConsoleRun groups = Done("groups policy:P");
    EXPECT_NE(groups.out.find("Сеть  [page 6: Сеть]\n  2 Сеть\n  3 Подключение\n"), std::string::npos) << groups.out;
    const ConsoleRun taskpad = Done("taskpad");
    EXPECT_NE(taskpad.out.find("Служба Windows Update -> page 2\n"), std::string::npos) << taskpad.out;
    const auto events = Json("events");
    ASSERT_EQ(events.size(), 28u);
    EXPECT_EQ(events[3]["event_id"], "ZRNAG_EV_PATCH_INSTALL_ERROR");
    EXPECT_EQ(events[3]["severity"], 3);
    const ConsoleRun text = Done("events");
    EXPECT_NE(text.out.find("error\tZRNAG_EV_PATCH_INSTALL_ERROR\tОшибка при установке патча\n"), std::string::npos);
}

TEST_F(ConsoleSession, RefusalsSayWhatIsWrongAndChangeNothing)
{
    Done("new policy P");
    const struct {
        std::string arguments;
        int exitCode;
        const char* says;
    } cases[] = {
        {"new policy P", 1, "\"policy:P\" exists already"},
        {"new host h --policy Missing", 1, "there is no policy \"Missing\""},
        {"new task t", 1, "a task needs --type"},
        {"new task t --type Nonsense", 1, "unknown task type \"Nonsense\""},
        {"new policy Q --platform 1", 1, "--platform, --server and --server-hosted are for hosts"},
        {"new host h --server \"\"", 1, "--server needs the address of the administration server"},
        {"new dpoint d --platform 3", 2, "--platform"},
        {"new robot r", 2, "robot"},
        {"pages policy:Missing", 1, "there is no object \"policy:Missing\""},
        {"pages nonsense", 2, "is not an object name"},
        {"config functionality lots", 1, "\"lots\" is not a valid value of functionality"},
        {"config colour 1", 1, "unknown configuration key \"colour\""},
        {"config nac_allowed", 2, "needs a VALUE"},
        {"--plugin /nonexistent/libzrngtplg.so events", 1, "cannot be loaded"},
    };
    for (const auto& c : cases) {
        const ConsoleRun run = Run(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.arguments << "\n" << run.err;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << c.arguments << "\n" << run.err;
    }
    EXPECT_EQ(Json("list").size(), 1u);  // no half-made objects
}

TEST_F(ConsoleSession, PagesCanBeShownEditedAndExportedAsAUserWould)
{
    Done("new policy P");
    const ConsoleRun shown = Done("show policy:P CPageGroupNetwork");
    EXPECT_NE(shown.out.find("policy:P: page 6 Сеть (CPageGroupNetwork)"), std::string::npos) << shown.out;
    EXPECT_NE(shown.out.find("1203  label"), std::string::npos) << shown.out;
    EXPECT_EQ(Json("show policy:P 6")["controls"].size(), 6u);
    EXPECT_EQ(Json("show policy:P 'менеджер соединений'")["class"], "CPageConnectionManagerSettings");  // by title
    const ConsoleRun twoNetworkPages = Run("show policy:P сеть");
    EXPECT_EQ(twoNetworkPages.exitCode, 1);
    EXPECT_NE(twoNetworkPages.err.find("\"сеть\" names several pages of policy:P; say which by index or class:\n"
                                       "  2  Сеть (CPageNetworkSettingsBase)\n  6  Сеть (CPageGroupNetwork)"),
              std::string::npos) << twoNetworkPages.err;

    Done("new dpoint relay --platform 1");
    const ConsoleRun edited = Done("edit policy:P 6 click:1203");
    EXPECT_NE(edited.out.find("applied Сеть of policy:P"), std::string::npos);

    const struct {
        std::string arguments;
        int exitCode;
        const char* says;
    } refusals[] = {
        {"edit policy:P 6 click:4242", 1, "4242"},
        {"edit policy:P 6 type:1201", 2, "needs =TEXT"},
        {"edit policy:P 6 frob:1", 2, "unknown verb"},
        {"edit policy:P 6 answer:maybe", 2, "neither yes, no, ok nor cancel"},
        {"edit policy:P 6 end", 2, "closes no dialog"},
        {"edit policy:P 6 dialog:6010 click:1", 2, "has no \"end\""},
        {"show policy:P 99", 1, "has no page 99"},
        {"show policy:P CPageNoSuchPage", 1, "has no page \"CPageNoSuchPage\"; its pages:\n  0  Settings (CPageGeneralSettingsBase)"},
    };
    for (const auto& r : refusals) {
        const ConsoleRun run = Run(r.arguments);
        EXPECT_EQ(run.exitCode, r.exitCode) << r.arguments;
        EXPECT_NE(run.err.find(r.says), std::string::npos) << r.arguments << "\n" << run.err;
    }

    // every page of a policy and of a distribution point is built and exports
    const ConsoleRun exported = Done("export dpoint:relay");
    EXPECT_NE(exported.out.find("IP-диапазоны"), std::string::npos) << exported.out;
    EXPECT_EQ(exported.err.find("not in this build"), std::string::npos) << exported.err;
    EXPECT_EQ(Done("export policy:P").err.find("not in this build"), std::string::npos);
    EXPECT_EQ(Json("export policy:P").is_object(), true);
}

TEST_F(ConsoleSession, InventoryAuditAndUpdatePagesAreEditedAndExportedAndEnforcedOnAHost)
{
    Done("new policy P");
    Done("new host h --policy P");
    // a line break in typed text starts a new line of the masks
    Done("edit policy:P CPageAuditWDS check:1026 'type:1136=*.log\n  *.cfg' select:1256=locked");
    Done("edit policy:P CPageNetStoragesBase uncheck:6028");
    Done("edit policy:P CPageWsusSettings click:1176 'select:1235=approved revisions'");
    const std::string exported = Done("export policy:P").out;
    for (const char* line : {"    Информация о реестре оборудования: Нет\n", "    Режим поиска обновлений Windows: Выключено\n",
                             ": Approved revisions\n", "      [1] (string): \"  *.cfg\"\n", "Управление патчами\n"})
        EXPECT_NE(exported.find(line), std::string::npos) << line << "\n" << exported;

    // on the host the locked masks are the policy's, the rest its own
    const ConsoleRun shown = Done("show host:h CPageAuditWDSProduct");
    EXPECT_NE(shown.out.find("1136  read-only edit disabled shown    \"*.log\\n  *.cfg\\n\""), std::string::npos)
        << shown.out;
    Done("edit host:h CPageAuditWDSProduct uncheck:1026");
    const ConsoleRun refused = Run("edit host:h CPageAuditWDSProduct type:1136=*.exe");
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find("locked by the policy"), std::string::npos) << refused.err;
}

TEST_F(ConsoleSession, TheGeneralPageIsEditedValidatedAppliedAndSeenLockedOnAGovernedHost)
{
    Done("new policy P");
    Done("new host h --policy P");
    // the event log size is enforced by a new policy
    auto lockedHost = Json("show host:h 0")["controls"];
    auto control = [](const nlohmann::json& controls, int id) {
        for (const auto& c : controls)
            if (c["id"] == id) return c;
        return nlohmann::json();
    };
    EXPECT_EQ(control(lockedHost, 6009)["enabled"], false);
    EXPECT_EQ(control(lockedHost, 20038)["selected"], "Редактирование запрещено");
    EXPECT_EQ(control(lockedHost, 6009)["governed_by"], 20038);
    const ConsoleRun lockedEdit = Run("edit host:h 0 type:6009=5");
    EXPECT_EQ(lockedEdit.exitCode, 1);
    EXPECT_NE(lockedEdit.err.find("6009 \"Максимальный размер журнала событий, МБ\" is locked by the policy \"P\""),
              std::string::npos) << lockedEdit.err;
    EXPECT_EQ(control(lockedHost, 20038)["tooltip"],
              "Настройка заблокирована для изменения в дочерних политиках и настройках продукта.");

    // what the field does not take is refused, naming it; validation refuses an empty one; nothing is written
    const ConsoleRun tooBig = Run("edit policy:P 0 type:6009=99999");
    EXPECT_EQ(tooBig.exitCode, 1);
    EXPECT_NE(tooBig.err.find("6009 \"Максимальный размер журнала событий, МБ\" shows \"999\" after \"99999\" was "
                              "typed (it takes 1 to 2000)"),
              std::string::npos) << tooBig.err;
    const ConsoleRun refused = Run("edit policy:P 0 clear:6009");
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find("OK refused: Invalid maximum size for events log specified; Допустимые значения: от 1 "
                               "до 2000. (6009 \"Максимальный размер журнала событий, МБ\")"),
              std::string::npos) << refused.err;
    const ConsoleRun noPassword = Run("edit policy:P 0 check:1087");
    EXPECT_EQ(noPassword.exitCode, 1);
    EXPECT_NE(noPassword.err.find("OK refused: Вы не ввели пароль"), std::string::npos) << noPassword.err;
    const ConsoleRun weak = Run("edit policy:P 0 check:1087 click:1000 dialog:6010 type:1001=weak click:1 click:2 end");
    EXPECT_EQ(weak.exitCode, 1);
    EXPECT_NE(weak.err.find("Длина пароля должна быть от 8 до 16 символов."), std::string::npos) << weak.err;
    EXPECT_EQ(Json("dump policy:P 86")["ZRPRSS_Val"]["ZREVP_NF_PRSS_MAXIMUM_SIZE"]["ZRPRSS_Val"], 2);

    Done("edit policy:P 0 clear:6009 type:6009=300 select:20038=Редактирование\\ разрешено check:1107 "
         "select:20042=Редактирование\\ запрещено check:1087 click:1000 dialog:6010 type:1001=Strong#Pass1 click:1 end");
    const auto general = Json("dump policy:P 86")["ZRPRSS_Val"];
    EXPECT_EQ(general["ZREVP_NF_PRSS_MAXIMUM_SIZE"]["ZRPRSS_Val"], 300);
    EXPECT_EQ(general["ZREVP_NF_PRSS_MAXIMUM_SIZE"]["ZRPRSS_Mnd"], false);
    EXPECT_EQ(general["CMNG_UPD_USE_ONLY_UA"]["ZRPRSS_Val"], true);
    EXPECT_EQ(general["CMNG_UPD_USE_ONLY_UA"]["ZRPRSS_Mnd"], true);
    EXPECT_EQ(Json("dump policy:P NGTINSTALLERDATA")["ZRPRSS_Val"]["NGT_UNINSTALL_PASSWORD"]["ZRPRSS_Val"],
              "A2BF3C1FBCDF50D02E49CE9D39F2DD73");

    // the host now shows the size free and the file transfer enforced
    const auto host = Json("show host:h 0")["controls"];
    EXPECT_EQ(control(host, 6009)["text"], "300");
    EXPECT_EQ(control(host, 1107)["enabled"], false);
    EXPECT_EQ(control(host, 1107)["checked"], true);

    const ConsoleRun exported = Done("export policy:P");
    EXPECT_NE(exported.out.find("  Максимальный размер журнала событий, МБ\n    Максимальный размер журнала событий, МБ: 300\n"),
              std::string::npos) << exported.out;
    EXPECT_NE(exported.out.find("Использовать пароль на деинсталляцию: Да"), std::string::npos);
    EXPECT_EQ(exported.out.find("Strong#Pass1"), std::string::npos);
    EXPECT_EQ(exported.out.find("A2BF3C1FBCDF50D02E49CE9D39F2DD73"), std::string::npos);
}

TEST_F(ConsoleSession, TheProxyPageStoresItsPasswordProtectedAndIsSeenLockedOnAGovernedDistributionPoint)
{
    Done("new policy P");
    Done("new dpoint d --policy P");
    auto control = [](const nlohmann::json& controls, int id) {
        for (const auto& c : controls)
            if (c["id"] == id) return c;
        return nlohmann::json();
    };
    const ConsoleRun refused = Run("edit policy:P CPageSettingsInetProxy check:1015");
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find("OK refused: Invalid proxy server address specified."), std::string::npos) << refused.err;
    EXPECT_EQ(Json("dump policy:P 86")["ZRPRSS_Val"].count("ZRSRV_PROXY_USE"), 0u);

    Done("edit policy:P CPageSettingsInetProxy check:1015 type:837=proxy.office clear:840 type:840=8080 check:1044 "
         "'type:842=OFFICE\\agent' type:844=Pa55word 'select:2417=Редактирование запрещено'");
    const auto proxy = Json("dump policy:P 86")["ZRPRSS_Val"];
    EXPECT_EQ(proxy["ZRSRV_PROXY_SERVER"]["ZRPRSS_Val"], "proxy.office");
    EXPECT_EQ(proxy["ZRSRV_PROXY_PORT"]["ZRPRSS_Val"], 8080);
    EXPECT_EQ(proxy["ZRSRV_PROXY_USER"]["ZRPRSS_Val"], "OFFICE\\agent");
    EXPECT_EQ(proxy["ZRSRV_PROXY_PASSWORD"]["ZRPRSS_Mnd"], true);
    const std::string blob = proxy["ZRSRV_PROXY_PASSWORD"]["ZRPRSS_Val"];
    EXPECT_GT(blob.size(), 20u);  // protected: nonce, ciphertext and tag
    EXPECT_EQ(Done("dump policy:P 86").out.find("Pa55word"), std::string::npos);

    // an untouched password survives a second apply, the digest of its blob is exported
    Done("edit policy:P CPageSettingsInetProxy check:1050");
    EXPECT_EQ(Json("dump policy:P 86")["ZRPRSS_Val"]["ZRSRV_PROXY_PASSWORD"]["ZRPRSS_Val"], blob);
    const ConsoleRun exported = Done("export policy:P");
    EXPECT_NE(exported.out.find("Настройки подключения к Интернету\n  Использовать прокси-сервер\n"
                                "    Использовать прокси-сервер: Да\n    Адрес прокси-сервера: proxy.office\n"),
              std::string::npos) << exported.out;
    EXPECT_NE(exported.out.find("Агенты обновления\n  Использовать прокси-сервер\n"), std::string::npos);
    EXPECT_NE(exported.out.find("Пароль (binary): 16 bytes"), std::string::npos);
    EXPECT_EQ(exported.out.find("Pa55word"), std::string::npos);
    EXPECT_EQ(exported.out.find(blob), std::string::npos);

    // the distribution point the policy governs shows the enforced proxy read-only
    const auto governed = Json("show dpoint:d CPageSettingsInetProxyProduct")["controls"];
    EXPECT_EQ(control(governed, 1015)["checked"], true);
    EXPECT_EQ(control(governed, 1015)["enabled"], false);
    EXPECT_EQ(control(governed, 837)["text"], "proxy.office");
    EXPECT_EQ(control(governed, 837)["enabled"], false);
    EXPECT_EQ(control(governed, 2417)["selected"], "Редактирование запрещено");
    EXPECT_EQ(control(governed, 844)["text"], "●●●●●●●●●●●");  // the placeholder, masked as every password
}

namespace {

nlohmann::json ControlOf(const nlohmann::json& controls, int id)
{
    for (const auto& c : controls)
        if (c["id"] == id) return c;
    return nlohmann::json();
}

}  // namespace

TEST_F(ConsoleSession, TheNetworkAndRebootPagesAreEditedOnAPolicyAndSeenOnTheHostItGoverns)
{
    Done("new policy P");
    Done("new host h --policy P --server adm.corp");

    const ConsoleRun refused = Run("edit policy:P CPageNetworkSettingsBase clear:6011");
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find("OK refused: Invalid connection period"), std::string::npos) << refused.err;

    Done("edit policy:P CPageNetworkSettingsBase clear:6011 type:6011=30 uncheck:6006 "
         "'select:20036=Редактирование разрешено'");
    const auto network = Json("dump policy:P 86")["ZRPRSS_Val"];
    EXPECT_EQ(network["ServerPingTimeout"]["ZRPRSS_Val"], 30 * 60000);
    EXPECT_EQ(network["ServerPingTimeout"]["ZRPRSS_Mnd"], false);
    EXPECT_EQ(network["OpenUdpPort"]["ZRPRSS_Val"], false);

    const auto host = Json("show host:h CPageNetworkSettingsProduct")["controls"];
    EXPECT_EQ(ControlOf(host, 6011)["text"], "30");
    EXPECT_EQ(ControlOf(host, 6011)["enabled"], true);  // no longer enforced
    EXPECT_EQ(ControlOf(host, 6006)["enabled"], false);  // still enforced
    EXPECT_EQ(ControlOf(host, 6000)["text"],
              "Агент администрирования подключен к серверу администрирования с адресом adm.corp:13000 с использованием SSL.");
    // the proxy link opens the installed proxy read-only; it has only a close button
    const ConsoleRun proxy = Run("edit host:h CPageNetworkSettingsProduct click:1017 dialog:6014 click:1 end");
    EXPECT_EQ(proxy.exitCode, 1);
    EXPECT_NE(proxy.err.find("there is no control 1;"), std::string::npos) << proxy.err;
    Done("edit host:h CPageNetworkSettingsProduct click:1017 dialog:6014 click:2 end");

    Done("edit policy:P CPageRebootSettingsBase click:1082 check:1070 clear:1071 type:1071=30 "
         "'select:1079=Редактирование запрещено'");
    const auto reboot = Json("dump policy:P ZRNAG_SECTION_REBOOT_SETTINGS")["ZRPRSS_Val"];
    EXPECT_EQ(reboot["ZRNAG_SHUTDOWN_ASK"]["ZRPRSS_Val"], true);
    EXPECT_EQ(reboot["ZRNAG_SHUTDOWN_FORCE_TIME"]["ZRPRSS_Val"], 1800);
    EXPECT_EQ(reboot["ZRNAG_SHUTDOWN_FORCE_TIME"]["ZRPRSS_Mnd"], true);
    const auto hostReboot = Json("show host:h CPageRebootSettingsProduct")["controls"];
    EXPECT_EQ(ControlOf(hostReboot, 1082)["checked"], true);
    EXPECT_EQ(ControlOf(hostReboot, 1082)["enabled"], false);

    const ConsoleRun exported = Done("export policy:P");
    EXPECT_NE(exported.out.find("    Период синхронизации, мин.: 30\n"), std::string::npos) << exported.out;
    EXPECT_NE(exported.out.find("  Запросить у пользователя разрешение на перезагрузку\n"), std::string::npos);
}

TEST_F(ConsoleSession, ConnectionIntervalsAreAddedInTheirDialogRemovedAfterAskingAndExported)
{
    Done("new policy P");
    Done("new host h --policy P");
    const std::string line = "Время начала: 09:30, продолжительность (минут): 120, дни недели: Пн, Вт, Ср, Чт, Пт";

    const ConsoleRun noDays = Run("edit policy:P CPageConnectionManagerSettings click:1121 dialog:10493 "
                                  "uncheck:1322=понедельник uncheck:1322=вторник uncheck:1322=среда "
                                  "uncheck:1322=четверг uncheck:1322=пятница uncheck:1322=суббота "
                                  "uncheck:1322=воскресенье click:1 click:2 end click:1108");
    EXPECT_EQ(noDays.exitCode, 1);
    EXPECT_NE(noDays.err.find("Не заданы дни недели."), std::string::npos) << noDays.err;
    EXPECT_NE(noDays.err.find("OK refused: Не указаны временные интервалы подключения."), std::string::npos) << noDays.err;
    EXPECT_EQ(Json("dump policy:P 86")["ZRPRSS_Val"].count("CMNG_SCHEDULE"), 0u);

    Done("edit policy:P CPageConnectionManagerSettings click:1121 dialog:10493 uncheck:1322=sat "
         "uncheck:1322=SUN type:1114=09:30 type:1117=120 click:1 end click:1108 select:1119=locked");
    const auto stored = Json("dump policy:P 86")["ZRPRSS_Val"];
    EXPECT_EQ(stored["CMNG_SCH_ACTIVATED"]["ZRPRSS_Val"], true);
    EXPECT_EQ(stored["CMNG_SCHEDULE"]["ZRPRSS_Mnd"], true);
    const auto interval = stored["CMNG_SCHEDULE"]["ZRPRSS_Val"][0];
    EXPECT_EQ(interval["CMNG_DAYSMASK"], 0x3E);
    EXPECT_EQ(interval["CMNG_HOUR"], 9);
    EXPECT_EQ(interval["CMNG_MINS"], 30);
    EXPECT_EQ(interval["CMNG_DURATION"], 120);

    const auto host = Json("show host:h CPageConnectionManagerSettingsProduct")["controls"];
    EXPECT_EQ(ControlOf(host, 1107)["rows"][0]["text"], line);
    EXPECT_EQ(ControlOf(host, 1107)["enabled"], false);
    EXPECT_EQ(ControlOf(host, 1119)["selected"], "Редактирование запрещено");

    const ConsoleRun exported = Done("export policy:P");
    EXPECT_NE(exported.out.find("Менеджер соединений\n  Подключаться в указанные периоды времени: " + line + "\n"),
              std::string::npos) << exported.out;
    // the second copy is merged into the network title, not lost: it ends that title, the connection page follows
    EXPECT_NE(exported.out.find("  Подключаться в указанные периоды времени: " + line + "\n  Замочек \"Менеджер "
                                "соединений\": Редактирование запрещено\nПодключение\n"),
              std::string::npos) << exported.out;

    // removing the only interval asks first; then the page refuses to go without one
    const ConsoleRun removed = Run("edit policy:P 4 answer:yes select:1107=#1 click:1110");
    EXPECT_EQ(removed.exitCode, 1);
    EXPECT_NE(removed.err.find("Вы действительно хотите удалить выбранный интервал?"), std::string::npos) << removed.err;
    Done("edit policy:P 4 answer:yes 'select:1107=" + line + "' click:1110 click:1120");
    EXPECT_EQ(Json("dump policy:P 86")["ZRPRSS_Val"]["CMNG_SCHEDULE"]["ZRPRSS_Val"].size(), 0u);
}
