// The check updates and vulnerability search tasks end to end: the built
// console host creates them, lists their pages, edits them as a user would,
// exports them, and manages the group tasks the selectors offer.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "tools/ConsoleRun.h"
#include "tools/StoreCommandTest.h"

namespace fs = std::filesystem;
using testsupport::Console;
using testsupport::ConsoleRun;

namespace {

class TaskCommands : public testsupport::StoreCommandTest {
protected:
    void SetUp() override
    {
        StoreCommandTest::SetUp();
        Done("new policy Офисы");
    }

    nlohmann::json Control(const std::string& object, int page, int id)
    {
        const auto shown = Json("show " + object + " " + std::to_string(page));
        for (const auto& control : shown["controls"])
            if (control["id"] == id) return control;
        return nullptr;
    }
    static std::vector<std::string> RowTexts(const nlohmann::json& list, bool checkedOnly = false)
    {
        std::vector<std::string> texts;
        for (const auto& row : list["rows"])
            if (!checkedOnly || row["checked"] == true) texts.push_back(row["text"]);
        return texts;
    }

};

}  // namespace

TEST_F(TaskCommands, ACheckUpdatesTaskHasThreeWizardPagesAndOneSheetPage)
{
    Done("new task nightly --type ZRNAG_TASK_CHECK_BASES --policy Офисы");
    const auto wizard = Json("pages task:nightly --wizard");
    ASSERT_EQ(wizard.size(), 3u);
    const char* classes[] = {"CWizPageTaskCheckUpdatesUpdateTaskSelector", "CWizPageTaskCheckUpdatesScanTaskSelector",
                             "CWizPageTaskCheckUpdatesOptions"};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(wizard[i]["class"], classes[i]);
        EXPECT_EQ(wizard[i]["available"], true);
    }
    const auto sheet = Json("pages task:nightly");
    ASSERT_EQ(sheet.size(), 1u);
    EXPECT_EQ(sheet[0]["class"], "CPageTaskCheckUpdatesGeneral");
    EXPECT_EQ(sheet[0]["available"], true);
}

TEST_F(TaskCommands, TheSelectorsOfferTheConsolesGroupTasksAndTheChoiceIsSavedAndExported)
{
    Done("new task nightly --type ZRNAG_TASK_CHECK_BASES");
    // a new store offers its sample tasks, the invisible one left out
    EXPECT_EQ(RowTexts(Control("task:nightly", 0, 1075)),
              (std::vector<std::string>{"Обновление баз", "Обновление баз файлового сервера", "Обновление баз почтового сервера"}));
    EXPECT_EQ(RowTexts(Control("task:nightly", 0, 1095)),
              (std::vector<std::string>{"Поиск вирусов", "Быстрая проверка", "Проверка по требованию", "Проверка хранилища почты"}));

    const ConsoleRun none = Run("edit task:nightly 0 uncheck:1078");
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_NE(none.err.find("Не выбрана ни одна задача обновления."), std::string::npos) << none.err;

    Done("edit task:nightly 0 'check:1075=Обновление баз' 'check:1075=Обновление баз файлового сервера' "
         "'check:1095=быстрая проверка' uncheck:1078");
    EXPECT_EQ(RowTexts(Control("task:nightly", 0, 1075), true),
              (std::vector<std::string>{"Обновление баз", "Обновление баз файлового сервера"}));
    EXPECT_EQ(Control("task:nightly", 0, 1078)["checked"], false);
    const auto exported = Json("export task:nightly");
    EXPECT_EQ(exported["Укажите одну или несколько задач обновления для разных продуктов."],
              "Обновление баз; Обновление баз файлового сервера");
    EXPECT_EQ(exported["Укажите одну или несколько задач поиска вирусов для проверки полученных обновлений."], "Быстрая проверка");
    EXPECT_EQ(exported["Перезагрузить коипьютер после закачки баз"], "Нет");

    // a second update task of one application is refused
    Done("grouptasks add 'Обновление модулей' --product BLES --version 11.0.0.0 --type UpdateBases --storage-id _BLES_MODULES");
    const ConsoleRun twice = Run("edit task:nightly 0 'check:1075=Обновление модулей'");
    EXPECT_EQ(twice.exitCode, 1);
    EXPECT_NE(twice.err.find("Может быть выбрана только одна задача обновления для каждого продукта."), std::string::npos)
        << twice.err;

    // a chosen task the console no longer keeps is still shown, by its storage id, and exported so
    Done("grouptasks remove _BLFS_UPDATE");
    EXPECT_EQ(RowTexts(Control("task:nightly", 0, 1075), true), (std::vector<std::string>{"Обновление баз", "_BLFS_UPDATE"}));
    EXPECT_EQ(Json("export task:nightly")["Укажите одну или несколько задач обновления для разных продуктов."],
              "Обновление баз; _BLFS_UPDATE");
}

TEST_F(TaskCommands, GroupTasksAreListedAddedAndRemovedAndMistakesAreRefused)
{
    const auto sample = Json("grouptasks list");
    ASSERT_EQ(sample.size(), 9u);
    int invisible = 0;
    for (const auto& task : sample) invisible += task["invisible"] == true ? 1 : 0;
    EXPECT_EQ(invisible, 1);

    const auto added = Json("grouptasks add 'Проверка архива' --product BLFS --version 10.1.0.0 --type ods --invisible");
    EXPECT_EQ(added["task_id"], "303");
    EXPECT_EQ(added["storage_id"], "_TASK_303");
    EXPECT_EQ(Json("grouptasks list").size(), 10u);

    const struct {
        std::string arguments;
        std::string says;
    } refusals[] = {
        {"grouptasks add X --product BLES --version 1 --type ods --storage-id _BLES_SCAN_FULL", "already"},
        {"grouptasks add ' ' --product BLES --version 1 --type ods", "needs a name"},
        {"grouptasks remove _NO_SUCH_TASK", "no group task"},
    };
    for (const auto& refusal : refusals) {
        const ConsoleRun run = Run(refusal.arguments);
        EXPECT_EQ(run.exitCode, 1) << refusal.arguments;
        EXPECT_NE(run.err.find(refusal.says), std::string::npos) << run.err;
    }
    Done("grouptasks remove _TASK_303");
    EXPECT_EQ(Json("grouptasks list").size(), 9u);
    EXPECT_NE(Done("grouptasks list").out.find("_BLES_UPDATE_SERVICE  \"Служебное обновление модулей\""), std::string::npos);
}

TEST_F(TaskCommands, AVulnerabilitySearchTaskIsEditedThroughItsFolderDialogAndExported)
{
    Done("config server_version 0xB0000");
    Done("new task scan --type ZRNAG_TASK_VAPM_SEARCH --policy Офисы");
    EXPECT_EQ(Json("pages task:scan --wizard")[0]["class"], "CPageTaskVapmSearch");
    EXPECT_EQ(RowTexts(Control("task:scan", 0, 1107)),
              (std::vector<std::string>{"%SystemRoot%", "%ProgramFiles%", "%ProgramFiles(x86)%"}));

    Done("edit task:scan 0 click:1108 dialog:10517 folder:/srv/apps click:1137 click:1 end "
         "'select:1107=%ProgramFiles(x86)%' click:1110 uncheck:1198 check:1230 type:1232=300");
    const auto exported = Json("export task:scan");
    EXPECT_EQ(exported["Дополнительные папки для поиска приложений"], "%SystemRoot%; %ProgramFiles%; /srv/apps");
    EXPECT_EQ(exported["Соединяться с сервером обновлений для актуализации данных"], "Нет");
    EXPECT_EQ(exported["Enable extended diagnostics"], "Да");
    EXPECT_EQ(exported["Maximum size for extended diagnostics storage, Mb"], "300");

    const ConsoleRun tooLarge = Run("edit task:scan 0 type:1232=3000");
    EXPECT_EQ(tooLarge.exitCode, 1);
    Done("edit task:scan 0 uncheck:1196 uncheck:1197");  // neither source: the update agent is used again
    EXPECT_EQ(Control("task:scan", 0, 1196)["checked"], true);
    EXPECT_EQ(Control("task:scan", 0, 1107)["visible"], false);
}
