// copy-store, and the console host's commands on a store on a PostgreSQL server.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "support/StoreBackends.h"
#include "tools/ConsoleRun.h"
#include "zrpar/Serialize.h"

namespace fs = std::filesystem;
using testsupport::Console;
using testsupport::ConsoleRun;

namespace {

class CopyStore : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_directory = fs::path(::testing::TempDir()) /
                      ("copy-" + std::to_string(::getpid()) + "-" +
                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_directory);
        fs::create_directories(m_directory);
        // the key file of a server store: in the test's folder, not in the user's
        ::setenv("NGT_CONSOLE_KEY_FILE", (m_directory / "server.key").c_str(), 1);
    }
    void TearDown() override
    {
        ::unsetenv("NGT_CONSOLE_KEY_FILE");
        fs::remove_all(m_directory);
    }
    std::string File(const char* name) const { return (m_directory / name).string(); }

    static ConsoleRun Done(const std::string& store, const std::string& arguments)
    {
        ConsoleRun run = Console("--store '" + store + "' " + arguments);
        EXPECT_EQ(run.exitCode, 0) << arguments << "\n" << run.err;
        return run;
    }
    static nlohmann::json Json(const std::string& store, const std::string& arguments)
    {
        const ConsoleRun run = Done(store, arguments + " --format json");
        return run.exitCode == 0 ? nlohmann::json::parse(run.out) : nlohmann::json();
    }
    // A store with an object of every kind, a configuration value and a
    // password protected with the store's key.
    static void Fill(const std::string& store)
    {
        Done(store, "new policy P");
        Done(store, "new host h --policy P");
        Done(store, "new dpoint d --policy P --platform 1");
        Done(store, "new task t --type DoUpdate --policy P");
        Done(store, "new package pk");
        Done(store, "new bootserver pxe");
        Done(store, "config functionality 0x44");
        Done(store, "edit policy:P CPageSettingsInetProxy check:1015 type:837=proxy.office clear:840 type:840=8080 "
                    "check:1044 'type:842=OFFICE\\agent' type:844=Pa55word");
    }
    // Everything a person can see of a store through the console host.
    static nlohmann::json Everything(const std::string& store)
    {
        nlohmann::json seen = {{"list", Json(store, "list")}, {"config", Json(store, "config")}};
        for (const auto& row : seen["list"]) {
            const std::string object = row["object"];
            seen[object]["export"] = Done(store, std::string("export ") + object).out;
            for (const auto& section : Json(store, std::string("sections ") + object)) {
                const std::string name = section["section"];
                seen[object][name] = Done(store, std::string("dump ") + object + " '" + name + "' --format xml").out;
            }
        }
        return seen;
    }
    static std::string Copy(const std::string& from, const std::string& to, const std::string& options = "")
    {
        const ConsoleRun run = Console("copy-store '" + from + "' '" + to + "' " + options);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        return run.out;
    }

    fs::path m_directory;
};

}  // namespace

TEST_F(CopyStore, AFileStoreIsCopiedWithItsKeyFileAndComparedAndTheSameStoreIsRefused)
{
    const std::string from = File("from.db"), to = File("to.db");
    Fill(from);
    const std::string said = Copy(from, to);
    EXPECT_NE(said.find("copied 6 objects (6 catalogue entries, "), std::string::npos) << said;
    EXPECT_NE(said.find(" sections) and 2 configuration values from " + from + " to " + to), std::string::npos) << said;
    EXPECT_NE(said.find("copied the key file of its secrets to " + to + ".key"), std::string::npos) << said;
    EXPECT_NE(said.find("verified:"), std::string::npos) << said;
    EXPECT_EQ(Everything(to), Everything(from));
    EXPECT_EQ(ZRPAR::ReadFile(to + ".key"), ZRPAR::ReadFile(from + ".key"));
    struct stat key {};
    ASSERT_EQ(::stat((to + ".key").c_str(), &key), 0);
    EXPECT_EQ(key.st_mode & 0777, 0600u);
    EXPECT_NE(Done(to, "check").out.find("matches the store"), std::string::npos);

    const struct {
        std::string from, to, says;
    } refusals[] = {
        {from, from, "FROM and TO are the same store"},
        {from, m_directory.string() + "/./from.db", "FROM and TO are the same store"},
        {File("missing.db"), File("other.db"), "there is no store at"},
        {from, File("no-such-folder/x.db"), "the folder"},
        {from, to, "holds 6 objects and 2 configuration values already; copy into an empty store, or pass --force"},
    };
    for (const auto& refusal : refusals) {
        const ConsoleRun run = Console("copy-store '" + refusal.from + "' '" + refusal.to + "'");
        EXPECT_EQ(run.exitCode, 1) << refusal.from << " " << refusal.to;
        EXPECT_NE(run.err.find(refusal.says), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
    }
    EXPECT_FALSE(fs::exists(File("other.db")));
    EXPECT_NE(Console("copy-store --help").out.find("--force"), std::string::npos);
}

TEST_F(CopyStore, ForceEmptiesTheTargetFirstAndAForeignKeyFileIsNeverOverwritten)
{
    const std::string from = File("from.db"), to = File("to.db");
    Done(from, "new policy P");
    Done(from, "config functionality 0x44");
    Done(to, "new policy Other");
    Done(to, "config product_mode 1");
    const std::string said = Copy(from, to, "--force --format json");
    const auto json = nlohmann::json::parse(said);
    EXPECT_EQ(json["objects"], 1);
    EXPECT_EQ(json["configuration_values"], 1);
    EXPECT_EQ(json["verified"], true);
    EXPECT_EQ(Json(to, "list").size(), 1u);
    EXPECT_EQ(Json(to, "list")[0]["object"], "policy:P");

    std::ofstream(from + ".key") << std::string(32, 'a');
    std::ofstream(to + ".key") << std::string(32, 'b');
    const ConsoleRun run = Console("copy-store '" + from + "' '" + to + "' --force");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("protects other secrets"), std::string::npos) << run.err;
    EXPECT_EQ(std::ifstream(to + ".key").get(), 'b');
}

TEST_F(CopyStore, EveryKindRoundTripsFromAFileToAServerAndBackAndTheServerStoreWorksLikeTheFile)
{
    if (testsupport::PostgresServer().empty()) GTEST_SKIP() << testsupport::kNoPostgresServer;
    testsupport::PostgresTestDatabase database(testsupport::PostgresServer());
    const std::string from = File("from.db"), back = File("back.db"), server = database.Uri();
    Fill(from);
    const nlohmann::json original = Everything(from);
    ASSERT_EQ(original["list"].size(), 6u);

    const std::string there = Copy(from, server);
    EXPECT_NE(there.find("copied 6 objects (6 catalogue entries, "), std::string::npos) << there;
    EXPECT_NE(there.find("copied the key file of its secrets to " + File("server.key")), std::string::npos) << there;
    EXPECT_EQ(Everything(server), original);
    // pages, comparisons and the console's own services read the same from either store
    for (const char* command : {"pages policy:P", "show policy:P CPageSettingsInetProxy --format json",
                                "show host:h 0 --format json", "show task:t 0 --wizard", "diff policy:P host:h",
                                "effective host:h --format json", "grouptasks list", "components"}) {
        const ConsoleRun onFile = Console("--store '" + from + "' " + command);
        const ConsoleRun onServer = Console("--store '" + server + "' " + command);
        EXPECT_FALSE(onFile.out.empty()) << command << "\n" << onFile.err;
        EXPECT_EQ(onServer.exitCode, onFile.exitCode) << command << "\n" << onServer.err;
        EXPECT_EQ(onServer.out, onFile.out) << command;
    }
    const ConsoleRun check = Done(server, "check");
    EXPECT_NE(check.out.find(": ok (schema version 3, 6 objects)"), std::string::npos) << check.out;
    EXPECT_NE(check.out.find("matches the store"), std::string::npos) << check.out;

    // the server store takes every kind of change as the file does
    Done(server, "edit policy:P CPageNetworkSettingsBase clear:6011 type:6011=45");
    Done(server, "new policy Added");
    Done(server, "delete host:h");
    EXPECT_EQ(Json(server, "dump policy:P 86")["ZRPRSS_Val"]["ServerPingTimeout"]["ZRPRSS_Val"], 45 * 60000);

    const std::string back_said = Copy(server, back);
    EXPECT_NE(back_said.find("copied 6 objects (6 catalogue entries, "), std::string::npos) << back_said;
    const nlohmann::json returned = Everything(back);
    EXPECT_EQ(returned, Everything(server));
    EXPECT_EQ(returned["policy:P"]["export"], Done(back, "export policy:P").out);
    EXPECT_NE(returned["policy:P"]["export"], original["policy:P"]["export"]);  // the edit made on the server came back
    EXPECT_EQ(ZRPAR::ReadFile(back + ".key"), ZRPAR::ReadFile(from + ".key"));
    EXPECT_NE(Done(back, "check").out.find("matches the store"), std::string::npos);

    // and a server store with objects is refused as a target
    const ConsoleRun refused = Console("copy-store '" + from + "' '" + server + "'");
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find("holds 6 objects"), std::string::npos) << refused.err;
}

TEST_F(CopyStore, AServerStoreIsMadeByInitOnlyOnceAndAnUnreachableServerIsOneLine)
{
    if (testsupport::PostgresServer().empty()) GTEST_SKIP() << testsupport::kNoPostgresServer;
    testsupport::PostgresTestDatabase database(testsupport::PostgresServer());
    const ConsoleRun none = Console("--store '" + database.Uri() + "' list");
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_NE(none.err.find("holds no settings store (make one with: ngt-console init"), std::string::npos) << none.err;
    EXPECT_NE(Done(database.Uri(), "init").out.find("made an empty store at postgresql://"), std::string::npos);
    const ConsoleRun again = Console("--store '" + database.Uri() + "' init");
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_NE(again.err.find("holds a settings store already"), std::string::npos) << again.err;
    EXPECT_NE(Done(database.Uri(), "list").out.find("The store holds no objects"), std::string::npos);

    const ConsoleRun unreachable =
        Console("--store 'postgresql://alice:s3cret@/console?host=/nonexistent-ngt-folder' list");
    EXPECT_EQ(unreachable.exitCode, 1);
    EXPECT_EQ(unreachable.err.rfind("ngt-console: cannot connect to the settings store \"postgresql://alice:***@/", 0), 0u)
        << unreachable.err;
    EXPECT_EQ(unreachable.err.find("s3cret"), std::string::npos) << unreachable.err;
    EXPECT_EQ(unreachable.err.find('\n'), unreachable.err.size() - 1) << unreachable.err;
}
