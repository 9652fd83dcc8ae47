// Comparing and explaining settings through the built console host.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "tools/ConsoleRun.h"

namespace fs = std::filesystem;
using testsupport::Console;
using testsupport::ConsoleRun;

namespace {

class Compare : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_directory = fs::path(::testing::TempDir()) / ("compare-" + std::to_string(::getpid()));
        fs::remove_all(m_directory);
        fs::create_directories(m_directory);
        m_store = "--store '" + (m_directory / "console.db").string() + "' ";
    }
    void TearDown() override { fs::remove_all(m_directory); }
    ConsoleRun Run(const std::string& arguments) { return Console(m_store + arguments); }
    void Done(const std::string& arguments)
    {
        const ConsoleRun run = Run(arguments);
        ASSERT_EQ(run.exitCode, 0) << arguments << "\n" << run.err;
    }
    nlohmann::json Json(const std::string& arguments, int exitCode)
    {
        const ConsoleRun run = Run(arguments + " --format json");
        EXPECT_EQ(run.exitCode, exitCode) << arguments << "\n" << run.err;
        return nlohmann::json::parse(run.out);
    }

    fs::path m_directory;
    std::string m_store;
};

std::string Path(const nlohmann::json& path)
{
    std::string joined;
    for (const auto& part : path) joined += (joined.empty() ? "" : " / ") + part.get<std::string>();
    return joined;
}

}  // namespace

TEST_F(Compare, TwoPoliciesDifferInExactlyTheSettingsAndLocksChanged)
{
    Done("new policy A");
    Done("new policy B");
    EXPECT_TRUE(Json("diff policy:A policy:B", 0)["equal"]);

    Done("edit policy:B CPageNetworkSettingsBase type:6011=60 select:20036=unlocked");
    Done("edit policy:B 0 check:1107");
    const auto result = Json("diff policy:A policy:B", 1);
    std::map<std::string, std::pair<nlohmann::json, nlohmann::json>> changed;
    for (const auto& d : result["differences"]) {
        EXPECT_EQ(d["kind"], "changed") << d;
        changed[Path(d["path"])] = {d["first"], d["second"]};
    }
    const std::string connection = "Сеть / Подключение к Серверу администрирования / ";
    EXPECT_EQ(changed.size(), 3u) << result.dump(2);
    EXPECT_EQ(changed[connection + "Период синхронизации, мин."], std::make_pair(nlohmann::json("15"), nlohmann::json("60")));
    EXPECT_EQ(changed[connection + "Замочек \"Подключение к Серверу администрирования\""].second, "Редактирование разрешено");
    EXPECT_EQ(changed["Settings / Пересылка файлов только через агентов обновлений / Пересылка файлов только через "
                      "агентов обновлений"].second,
              "Да");

    const ConsoleRun text = Run("diff policy:A policy:B");
    EXPECT_NE(text.out.find("lock changed: " + connection + "Замочек"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("3 differences between policy:A and policy:B"), std::string::npos) << text.out;
}

TEST_F(Compare, AComputersSettingsAreToldApartAsEnforcedProposedOrItsOwn)
{
    Done("new policy P");
    Done("new host h --policy P");
    // the computer keeps a log size of its own; then the policy enforces a period it does not hold yet
    Done("edit policy:P 0 select:20038=unlocked");
    Done("edit host:h 0 type:6009=7");
    Done("edit policy:P CPageNetworkSettingsBase type:6011=30 select:20036=locked");
    const auto explained = Json("effective host:h", 0);
    EXPECT_EQ(explained["policy"], "P");
    std::map<std::string, nlohmann::json> settings;
    for (const auto& row : explained["settings"]) settings.emplace(Path(row["path"]), row);
    const auto& period = settings.at("Сеть / Период синхронизации, мин.");
    EXPECT_EQ(period["enforced"], true);
    EXPECT_EQ(period["shown"], "30");
    EXPECT_EQ(period["policy"], "30");
    EXPECT_EQ(period["computer"], "15");  // what the computer holds itself
    EXPECT_EQ(period["brought_back"], true);
    const auto& size = settings.at("Settings / Максимальный размер журнала событий, МБ");
    EXPECT_EQ(size["enforced"], false);
    EXPECT_EQ(size["computer"], "7");
    EXPECT_EQ(size["shown"], "7");  // a proposal gives way to the computer's own value
    EXPECT_EQ(size["brought_back"], false);

    // the computer against its policy, as their pages show them
    const auto against = Json("diff host:h policy:P", 1);
    EXPECT_EQ(against["compared"], "pages");
    bool sizeDiffers = false;
    for (const auto& d : against["differences"])
        if (Path(d["path"]) == "Settings / Максимальный размер журнала событий, МБ") sizeDiffers = d["kind"] == "changed";
    EXPECT_TRUE(sizeDiffers) << against.dump(2);
}

TEST_F(Compare, ObjectsThatDoNotCompareAreAUsageError)
{
    Done("new policy P");
    Done("new task u --type DoUpdate");
    Done("new task m --type ZRNAG_TASK_SHOW_MSG");
    const struct {
        const char* arguments;
        const char* says;
    } cases[] = {
        {"diff policy:P task:u", "compares with another policy"},
        {"diff task:u task:m", "of one type"},
        {"diff policy:P nonsense", "is not an object name"},
        {"effective policy:P", "explains a computer"},
    };
    for (const auto& c : cases) {
        const ConsoleRun run = Run(c.arguments);
        EXPECT_EQ(run.exitCode, 2) << c.arguments << "\n" << run.err;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
    }
}
