// The command line as an administrator meets it: input that does not land is
// refused and nothing is written, choices and pages are found by what a person
// sees, exit codes say whether a command was refused or written wrong, the
// store is made only where asked, and the README's walkthrough runs as written.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "tools/ConsoleRun.h"
#include "tools/StoreCommandTest.h"

namespace fs = std::filesystem;
using testsupport::Console;
using testsupport::ConsoleRun;

namespace {

class CommandLine : public testsupport::StoreCommandTest {
protected:
    void PolicyAndHost()
    {
        Done("new policy P");
        Done("new host h --policy P");
    }

};

nlohmann::json ControlOf(const nlohmann::json& controls, int id)
{
    for (const auto& control : controls)
        if (control["id"] == id) return control;
    return nullptr;
}

}  // namespace

TEST_F(CommandLine, TextThatDoesNotLandIsRefusedNamingTheFieldAndNothingIsWritten)
{
    PolicyAndHost();
    Done("edit policy:P CPageSettingsInetProxy check:1015 type:837=proxy.corp");
    const std::string before = Done("dump policy:P 86").out;
    const struct {
        std::string arguments;
        const char* says;
    } cases[] = {
        {"edit policy:P 0 type:6009=99999",
         "6009 \"Максимальный размер журнала событий, МБ\" shows \"999\" after \"99999\" was typed (it takes 1 to 2000)"},
        {"edit policy:P 0 type:6009=-5", "shows \"5\" after \"-5\" was typed (it takes 1 to 2000)"},
        {"edit policy:P 0 append:6009=0000", "shows \"2000\" after \"0000\" was typed (it takes 1 to 2000)"},
        {"edit policy:P CPageSettingsInetProxy type:840=70000", "840 \"Номер порта\" shows \"7000\" after \"70000\""},
        {"edit policy:P 0 select:20038=maybe",
         "20038 \"Максимальный размер журнала событий, МБ\" has no item \"maybe\" (items: #1 \"Редактирование запрещено\", #2 \"Редактирование "
         "разрешено\")"},
        {"edit policy:P 'менеджер соединений' click:1121 click:1108 dialog:10493 uncheck:1322=funday click:1 end",
         "has no row \"funday\" (rows: #1 \"понедельник\""},
        {"edit policy:P 0 select:20038=#3", "has no item \"#3\""},
    };
    for (const auto& c : cases) {
        const ConsoleRun run = Run(c.arguments);
        EXPECT_EQ(run.exitCode, 1) << c.arguments;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << c.arguments << "\n" << run.err;
        EXPECT_NE(run.err.find("nothing was written"), std::string::npos) << run.err;
    }
    EXPECT_EQ(Done("dump policy:P 86").out, before);

    // typed over as a whole, a number in range lands
    Done("edit policy:P 0 type:6009=50");
    EXPECT_EQ(Json("dump policy:P 86")["ZRPRSS_Val"]["ZREVP_NF_PRSS_MAXIMUM_SIZE"]["ZRPRSS_Val"], 50);
}

TEST_F(CommandLine, ShowRunsActionsWithoutOkAndShowsTheDialogTheyOpen)
{
    PolicyAndHost();
    const ConsoleRun shown = Done("show policy:P 'менеджер соединений' click:1121 click:1108");
    EXPECT_NE(shown.out.find("dialog 10493 \""), std::string::npos) << shown.out;
    EXPECT_NE(shown.out.find("#6 [x] \"суббота\""), std::string::npos) << shown.out;
    EXPECT_EQ(Json("dump policy:P 86")["ZRPRSS_Val"].count("CMNG_SCH_ACTIVATED"), 0u);  // no OK

    const auto json = Json("show policy:P 'менеджер соединений' click:1121 click:1108");
    ASSERT_EQ(json["dialogs"].size(), 1u);
    EXPECT_EQ(json["dialogs"][0]["id"], 10493);
    const auto days = ControlOf(json["dialogs"][0]["controls"], 1322);
    EXPECT_EQ(days["rows"][0], (nlohmann::json{{"text", "понедельник"}, {"checked", true}, {"selected", false}}));

    const auto network = Json("show policy:P CPageNetworkSettingsBase")["controls"];
    EXPECT_EQ(ControlOf(network, 6013)["text"], "Использовать SSL-соединение");  // no accelerator marks
    EXPECT_EQ(ControlOf(network, 6013)["checked"], true);
    EXPECT_EQ(ControlOf(network, 6013)["governed_by"], 20036);
    EXPECT_EQ(ControlOf(network, 6008)["range"], (nlohmann::json{1, 65535}));
    EXPECT_EQ(ControlOf(network, 6008)["label"], "Номер UDP-порта");
    EXPECT_EQ(ControlOf(network, 20036)["items"].size(), 2u);
    const auto host = Json("show host:h CPageNetworkSettingsProduct")["controls"];
    EXPECT_EQ(ControlOf(host, 20036)["locked_by_policy"], true);
}

TEST_F(CommandLine, UsageFaultsExitTwoAndRefusalsExitOneWithAMessage)
{
    PolicyAndHost();
    const struct {
        std::string arguments;
        int exitCode;
        const char* says;
    } cases[] = {
        {"new", 2, "KIND is required"},
        {"pages P", 2, "is not an object name"},
        {"edit policy:P 0 end", 2, "closes no dialog"},
        {"edit policy:P 0 click:1000 dialog:6010 click:1", 2, "has no \"end\""},
        {"edit policy:P 0 type:6009", 2, "needs =TEXT"},
        {"edit policy:P 0 frob:1", 2, "unknown verb"},
        {"show policy:P 0 --format xml", 2, "--format"},
        {"edit policy:P 0 click:4242", 1, "there is no control 4242"},
        {"edit policy:P 0 clear:6009", 1, "OK refused: Invalid maximum size for events log specified"},
        {"edit policy:P 0 check:1087 click:1000", 1, "the dialog 6010"},
        {"delete policy:Nobody", 1, "there is no object \"policy:Nobody\""},
        {"dump policy:P NOSUCHSECTION", 1, "has no section \"NOSUCHSECTION\""},
    };
    for (const auto& c : cases) {
        const ConsoleRun run = Run(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.arguments << "\n" << run.err;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << c.arguments << "\n" << run.err;
    }
}

TEST_F(CommandLine, HostileArgumentsEndInAMessageNeverInACrash)
{
    PolicyAndHost();
    const std::string empty = (m_directory / "empty").string();
    std::ofstream(empty).flush();
    const std::string garbage = (m_directory / "garbage").string();
    std::ofstream(garbage) << "<!--ZRPARBIN -->\x01\xff\xff\xff\xff";
    const std::string folder = m_directory.string();
    const std::string notUtf8 = "'policy:\xff\xfe'";
    const std::string huge = "99999999999999999999999";
    const std::vector<std::string> arguments = {
        "decode " + folder, "decode " + empty, "decode " + garbage, "decode /no/such/file",
        "--store " + folder + " list", "--store " + empty + " list", "--store " + garbage + " check",
        "--store /no/such/dir/s.db new policy X", "pages " + notUtf8, "show " + notUtf8 + " 0", "show policy:P " + huge,
        "edit policy:P 0 type:" + huge + "=1", "edit policy:P 0 'type:6009=\xff\xfe'", "config server_version " + huge,
        "config functionality -1x", "dump policy:P " + huge + "/a", "dump policy:P a/", "new task t --type " + huge,
        "new host h2 --policy " + notUtf8, "export " + notUtf8, "sections policy:" + huge, "delete host:" + huge,
    };
    for (const auto& argument : arguments) {
        const ConsoleRun run = argument.rfind("--store", 0) == 0 ? Console(argument) : Run(argument);
        EXPECT_TRUE(run.exitCode == 1 || run.exitCode == 2) << argument << " exited " << run.exitCode << "\n" << run.err;
        EXPECT_EQ(run.err.rfind("ngt-console: ", 0), 0u) << argument << "\n" << run.err;
    }
}

TEST_F(CommandLine, AStoreIsMadeOnlyWhereAskedAndItsKeyFileIsChecked)
{
    const ConsoleRun missing = Run("list");
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("ngt-console init --store"), std::string::npos) << missing.err;
    const ConsoleRun noFolder = Console("--store /no/such/dir/s.db new policy P");
    EXPECT_EQ(noFolder.exitCode, 1);
    EXPECT_NE(noFolder.err.find("the folder /no/such/dir does not exist"), std::string::npos) << noFolder.err;

    EXPECT_EQ(Json("init")["schema_version"], 3);
    EXPECT_EQ(Run("init").exitCode, 1);  // never over an existing store
    EXPECT_EQ(Console("list --store '" + m_store + "'").exitCode, 0);  // global options after the command

    Done("new policy P");
    EXPECT_EQ(Json("check")["key_file"]["state"], "not_needed");
    Done("edit policy:P CPageSettingsInetProxy check:1015 type:837=proxy check:1044 type:842=u type:844=secret-pass");
    EXPECT_EQ(Json("check")["key_file"]["state"], "matching");

    const std::string key = m_store + ".key";
    fs::rename(key, key + ".away");
    const ConsoleRun lost = Run("check --format json");
    EXPECT_EQ(lost.exitCode, 1);
    EXPECT_EQ(nlohmann::json::parse(lost.out)["key_file"]["state"], "missing");
    const ConsoleRun noKey = Run("edit policy:P CPageSettingsInetProxy type:844=other-pass");
    EXPECT_EQ(noKey.exitCode, 1);
    EXPECT_NE(noKey.err.find("is missing"), std::string::npos) << noKey.err;  // no new key is made silently
    EXPECT_FALSE(fs::exists(key));

    // a key of another store is refused, and no store is made beside a key without one
    const std::string other = (m_directory / "other.db").string();
    Console("--store '" + other + "' init");
    Console("--store '" + other + "' new policy Q");
    Console("--store '" + other + "' edit policy:Q CPageSettingsInetProxy check:1015 type:837=p check:1044 type:842=u "
            "type:844=secret-pass");
    fs::copy_file(other + ".key", key);
    EXPECT_EQ(nlohmann::json::parse(Run("check --format json").out)["key_file"]["state"], "foreign");
    fs::remove(other);
    const ConsoleRun orphan = Console("--store '" + other + "' init");
    EXPECT_EQ(orphan.exitCode, 1);
    EXPECT_NE(orphan.err.find("without its store"), std::string::npos) << orphan.err;
}

TEST_F(CommandLine, ObjectsAreListedWithWhatTheyAreAndDeletedWithoutOrphans)
{
    PolicyAndHost();
    Done("new task t --type DoUpdate --policy P");
    Done("new dpoint d --platform 1");
    const auto objects = Json("list");
    const auto row = [&](const std::string& name) {
        for (const auto& object : objects)
            if (object["object"] == name) return object;
        return nlohmann::json();
    };
    EXPECT_EQ(row("host:h")["policy"], "P");
    EXPECT_EQ(row("task:t")["task_type"], "DoUpdate");
    EXPECT_EQ(row("dpoint:d")["platform"], 1);
    const auto sections = Json("sections host:h");
    ASSERT_FALSE(sections.empty());
    for (const auto& section : sections) Done("dump host:h '" + section["section"].get<std::string>() + "'");

    const ConsoleRun refused = Run("delete policy:P");
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find("governs host:h, task:t"), std::string::npos) << refused.err;
    EXPECT_EQ(Json("delete policy:P --force")["detached"], (nlohmann::json{"host:h", "task:t"}));
    EXPECT_EQ(Json("list")[0].count("policy"), 0u);
    Done("show host:h 0");  // a detached computer still opens, governed by nothing
}

TEST_F(CommandLine, TheReadmeWalkthroughRunsAsWritten)
{
    std::ifstream readme(README);
    const std::string text((std::istreambuf_iterator<char>(readme)), {});
    const auto start = text.find("<!-- walkthrough -->");
    ASSERT_NE(start, std::string::npos);
    const auto open = text.find("```sh\n", start) + 6;
    const std::string script = text.substr(open, text.find("```", open) - open);
    const std::string file = (m_directory / "walkthrough.sh").string();
    std::ofstream(file) << "set -euo pipefail\n" << script;
    const std::string command = "env -u NGT_CONSOLE_STORE HOME='" + m_directory.string() + "' PATH='" +
                                fs::path(NGT_CONSOLE).parent_path().string() + ":/usr/bin:/bin' bash '" + file + "' 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    std::string output;
    std::array<char, 4096> buffer;
    for (std::size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0;) output.append(buffer.data(), n);
    const int status = ::pclose(pipe);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << output;
    for (const char* says : {"created host:web01", "refused: the policy locks it", "dialog 10493",
                             "\"setting\":\"ServerPingTimeout\"", "matches the store"})
        EXPECT_NE(output.find(says), std::string::npos) << says << " is not in:\n" << output;
}
