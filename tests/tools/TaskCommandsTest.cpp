// The change server, host control, show message and application start/stop
// tasks through the built console host: created, listed in sheet and wizard,
// edited as a user edits them, and exported; the administrator's registered
// applications listed and changed from the command line.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "tools/ConsoleRun.h"
#include "tools/StoreCommandTest.h"

namespace fs = std::filesystem;
using testsupport::Console;
using testsupport::ConsoleRun;

namespace {

class TaskSettingsCommands : public testsupport::StoreCommandTest {
protected:
    void SetUp() override
    {
        StoreCommandTest::SetUp();
        Done("init");
    }

    nlohmann::json Stored(const std::string& task) { return Json("dump task:" + task + " TASK_PARAMS"); }
};

}  // namespace

TEST_F(TaskSettingsCommands, EveryTaskTypeHasItsPageInSheetAndWizardAndExports)
{
    const struct {
        const char* type;
        const char* className;
        const char* exported;  // a label of its export
    } tasks[] = {
        {"ZRNAG_TASK_RECONNECTION", "CPageTaskChangeServerGeneral", "Параметры подключения к Серверу администрирования"},
        {"ZRNAG_TASK_COMP_CONTROL", "CPageTaskHostControlGeneral", "Настройки"},
        {"ZRNAG_TASK_SHOW_MSG", "CPageTaskMessagerGeneral", "Текст сообщения"},
        {"ZRNAG_TASK_START_STOP_APP", "CPageTaskAppControlGeneral", "1. Select application(s) to control"},
    };
    for (const auto& task : tasks) {
        SCOPED_TRACE(task.type);
        Done(std::string("new task t --type ") + task.type);
        for (const char* wizard : {"", " --wizard"}) {
            const auto pages = Json(std::string("pages task:t") + wizard);
            ASSERT_EQ(pages.size(), 1u);
            EXPECT_EQ(pages[0]["class"], task.className);
            EXPECT_EQ(pages[0]["available"], true);
        }
        EXPECT_TRUE(Json("export task:t").contains(task.exported)) << Done("export task:t").out;
        Done("delete task:t");
    }
}

TEST_F(TaskSettingsCommands, ChangeServerIsEditedWithACertificateFileAndAnEncodedPassword)
{
    Done("new task move --type ZRNAG_TASK_RECONNECTION");
    const std::string certificate = File("server.cer", std::string("\x30\x82\x01\x0A\x00\xFF", 6));
    Done("edit task:move 0 type:6001=adm2.corp type:1004=14001 type:1006=90 check:761 type:837=proxy.corp "
         "type:1011=8080 type:842=bob type:844=Pa55word click:1079 file:" + certificate);
    const auto stored = Stored("move");
    EXPECT_EQ(stored["ServerAddress"], "adm2.corp");
    EXPECT_EQ(stored["ZRNAG_PROXYHOST_LOCATION"], "proxy.corp:8080");
    EXPECT_EQ(Done("dump task:move TASK_PARAMS --format xml").out.find("Pa55word"), std::string::npos);
    EXPECT_EQ(Done("export task:move").out.find("Pa55word"), std::string::npos);
    EXPECT_EQ(Done("show task:move 0").out.find("Pa55word"), std::string::npos);

    // a malformed address is refused with the page's message, and nothing changes
    const ConsoleRun refused = Run("edit task:move 0 type:6001=adm2.corp:70000");
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find("Invalid address of Brenvik Administration Server specified."), std::string::npos)
        << refused.err;
    EXPECT_EQ(Stored("move")["ServerAddress"], "adm2.corp");
}

TEST_F(TaskSettingsCommands, HostControlAndMessageAreEditedAsAUserEditsThem)
{
    Done("new task reboot --type ZRNAG_TASK_COMP_CONTROL");
    Done("edit task:reboot 0 click:1061 type:1068=Выключение uncheck:1073 check:1070 type:1071=15");
    const auto reboot = Stored("reboot");
    EXPECT_EQ(reboot["ZRNAG_SHUTDOWN_TURN_ON_AFTER_SHUTDOWN"], false);
    EXPECT_EQ(reboot["ZRNAG_SHUTDOWN_FORCE_TIME"], 900);

    Done("new task notice --type ZRNAG_TASK_SHOW_MSG");
    const ConsoleRun empty = Run("edit task:notice 0");
    EXPECT_EQ(empty.exitCode, 1);
    EXPECT_NE(empty.err.find("Не задан текст сообщения."), std::string::npos) << empty.err;
    Done("edit task:notice 0 type:1145='See https://intranet.corp/news' link:1145=intranet.corp");
    EXPECT_EQ(Stored("notice")["ZRNAG_MSG_TEXT"], "See https://intranet.corp/news");
}

TEST_F(TaskSettingsCommands, TheApplicationTaskOffersTheApplicationsRegisteredInTheStore)
{
    const auto starters = Json("apps list");
    ASSERT_EQ(starters.size(), 4u);  // a new store's starter set
    EXPECT_EQ(starters[0]["display_name"], "Brenvik Endpoint Security 11 для Windows");

    Done("apps add ZRBACKUP 3.0.0.0 'Brenvik Backup 3' --control stop");
    Done("new task stopav --type ZRNAG_TASK_START_STOP_APP");
    const std::string shown = Done("show task:stopav 0").out;
    EXPECT_NE(shown.find("Brenvik Backup 3"), std::string::npos) << shown;

    const ConsoleRun refused = Run("edit task:stopav 0 check:1088='Brenvik Backup 3' click:1175");
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find("The application 'Brenvik Backup 3' does not support desired control command."),
              std::string::npos)
        << refused.err;
    Done("edit task:stopav 0 check:1088='Brenvik Backup 3'");
    const auto stored = Stored("stopav");
    ASSERT_EQ(stored["ZRNAG_TASK_START_STOP_APP_LISTAPPS"].size(), 1u);
    EXPECT_EQ(stored["ZRNAG_TASK_START_STOP_APP_LISTAPPS"][0]["ZRNAG_PRODUCT_NAME"], "ZRBACKUP");
    EXPECT_NE(Done("export task:stopav").out.find("Brenvik Backup 3 3.0.0.0"), std::string::npos);

    // an application removed from this computer stays in the task
    Done("apps remove ZRBACKUP 3.0.0.0");
    EXPECT_EQ(Json("apps list").size(), 4u);
    Done("edit task:stopav 0 click:1175 click:1176");
    EXPECT_EQ(Stored("stopav")["ZRNAG_TASK_START_STOP_APP_LISTAPPS"].size(), 1u);

    const struct {
        const char* arguments;
        int exitCode;
    } refusals[] = {{"apps add 'a\\b' 1.0 Name", 1}, {"apps add A 1.0 ''", 1},   {"apps remove NONE 1.0", 1},
                    {"apps add A 1.0 Name --control never", 2}};
    for (const auto& entry : refusals) EXPECT_EQ(Run(entry.arguments).exitCode, entry.exitCode) << entry.arguments;
}
