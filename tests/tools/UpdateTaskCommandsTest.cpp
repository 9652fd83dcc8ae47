// The update task edited end to end: the built console host drives the
// built plug-in over a temporary store, in the property sheet and the wizard.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "tools/ConsoleRun.h"
#include "tools/StoreCommandTest.h"

namespace fs = std::filesystem;
using testsupport::Console;
using testsupport::ConsoleRun;

namespace {

const std::string kAddFolderWithAccount =
    "click:1060 dialog:10407 click:1055 dialog:5067 click:1120 click:1040 folder:/srv/updates click:1 end "
    "click:1055 dialog:5067 click:1120 type:1121=ftp://mirror.corp/upd check:1048 click:1 end "
    "check:1316 'type:1040=CORP\\updater' 'type:1001=S3cret pass' click:1 end";

class UpdateTaskCommands : public testsupport::StoreCommandTest {
protected:
    void SetUp() override
    {
        StoreCommandTest::SetUp();
        Done("init");
        Done("config server_version 0xA5000");
        Done("new policy Офисы");
        Done("new task nightly --type DoUpdate --policy Офисы");
    }

    nlohmann::json Stored() { return Json("dump task:nightly TASK_PARAMS"); }

};

TEST_F(UpdateTaskCommands, ThePageIsListedInTheSheetAndTheWizard)
{
    for (const char* form : {"", " --wizard"}) {
        const auto pages = Json(std::string("pages task:nightly") + form);
        ASSERT_EQ(pages.size(), 1u) << pages.dump();
        EXPECT_NE(pages.dump().find("CPageTaskUpdaterNagent"), std::string::npos) << pages.dump();
    }
    // the wizard has no contents group
    EXPECT_NE(Done("show task:nightly 0").out.find("1058"), std::string::npos);
    const std::string wizard = Done("show task:nightly 0 --wizard").out;
    EXPECT_EQ(Run("edit task:nightly 0 --wizard click:1058").exitCode, 1) << wizard;
}

TEST_F(UpdateTaskCommands, SourcesWithAFolderAccountAreStoredAndThePasswordNeverInClear)
{
    Done("edit task:nightly 0 " + kAddFolderWithAccount);
    const auto stored = Stored();
    const std::string text = stored.dump();
    EXPECT_NE(text.find("/srv/updates\\\\"), std::string::npos) << text;
    EXPECT_NE(text.find("ftp://mirror.corp/upd"), std::string::npos) << text;
    EXPECT_NE(text.find("CORP\\\\updater"), std::string::npos) << text;
    for (const std::string& shown : {text, Done("export task:nightly --format json").out,
                                     Done("show task:nightly 0 click:1060").out})
        EXPECT_EQ(shown.find("S3cret"), std::string::npos);

    // reopened, the list shows what was saved; an untouched OK changes nothing
    const std::string shown = Done("show task:nightly 0 click:1060").out;
    EXPECT_NE(shown.find("/srv/updates\\"), std::string::npos) << shown;
    EXPECT_NE(shown.find("ftp://mirror.corp/upd (Не использовать прокси-сервер)"), std::string::npos) << shown;
    Done("edit task:nightly 0 click:1060 dialog:10407 click:1 end");
    EXPECT_EQ(Stored(), stored);
}

TEST_F(UpdateTaskCommands, ContentsComeFromTheStoresCatalogueAndTheWizardSavesTheOtherSettings)
{
    const std::string catalogue = Done("components").out;
    EXPECT_NE(catalogue.find("NAGENT_PATCHES"), std::string::npos) << catalogue;
    Done("edit task:nightly 0 click:1058 dialog:10301 check:20103 'check:1033=Патчи агента администрирования' click:1 end");
    Done("edit task:nightly 0 --wizard click:1059 dialog:10405 check:1117 click:1 end");
    const std::string stored = Stored().dump();
    EXPECT_NE(stored.find("NAGENT_PATCHES"), std::string::npos) << stored;
    const std::string exported = Done("export task:nightly").out;
    for (const char* expected : {"Источники обновлений", "Состав обновлений", "Прочие настройки",
                                 "Патчи агента администрирования (Исправления агента администрирования для Windows)"})
        EXPECT_NE(exported.find(expected), std::string::npos) << expected << "\n" << exported;
    EXPECT_NE(stored.find("\"displayAllEventsInHistory\""), std::string::npos);
}

TEST_F(UpdateTaskCommands, TheConnectionDialogOnOlderServersRefusesAProxyWithoutAddress)
{
    Done("config server_version 0x90000");
    const ConsoleRun refused = Run("edit task:nightly 0 click:1051 dialog:5001 check:1042 click:1 end");
    EXPECT_NE(refused.exitCode, 0);
    EXPECT_NE((refused.out + refused.err).find("Invalid proxy server address specified."), std::string::npos)
        << refused.out << refused.err;
    Done("edit task:nightly 0 click:1051 dialog:5001 check:1042 type:1050=proxy.corp type:1039=8080 click:1 end");
    const auto stored = Stored();
    EXPECT_NE(stored.dump().find("proxy.corp"), std::string::npos) << stored.dump();
}

}  // namespace
