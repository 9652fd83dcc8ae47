#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "host/storage/SettingsStore.h"
#include "tools/ConsoleRun.h"
#include "tools/StoreCommandTest.h"
#include "zrpar/Packed.h"
#include "zrpar/Serialize.h"

namespace fs = std::filesystem;

namespace {

using testsupport::Console;
using testsupport::ConsoleRun;

class ConsoleStore : public testsupport::StoreCommandTest {
protected:
    void SetUp() override
    {
        StoreCommandTest::SetUp();
        auto store = host::SettingsStore::Open(m_store);
        store->ObjectStorage(L"policy:Default policy")
            ->Replace(L"1103", L"1.0.0.0", L"86", ZRPAR::CreateParamsBody({{L"UseSsl", true}, {L"Port", 15000}}));
    }
    std::string Store() const { return "--store '" + m_store + "' "; }

};

}  // namespace

TEST_F(ConsoleStore, ListsChecksAndDumpsStoredObjects)
{
    const ConsoleRun list = Console(Store() + "list");
    EXPECT_EQ(list.exitCode, 0) << list.err;
    EXPECT_EQ(list.out, "policy:Default policy\n");

    const ConsoleRun json = Console(Store() + "list --format json");
    EXPECT_EQ(nlohmann::json::parse(json.out)[0]["kind"], "policy");

    const ConsoleRun check = Console(Store() + "check");
    EXPECT_EQ(check.exitCode, 0);
    EXPECT_NE(check.out.find(": ok (schema version 3, 1 objects)"), std::string::npos) << check.out;

    const ConsoleRun text = Console(Store() + "dump 'policy:Default policy' 86");
    EXPECT_EQ(text.exitCode, 0) << text.err;
    EXPECT_EQ(text.out, "UseSsl (bool): true\nPort (int): 15000\n");

    const ConsoleRun packed = Console(Store() + "dump 'policy:Default policy' 86 --format packed");
    const auto decoded = ZRPAR::DeserializePacked(reinterpret_cast<const std::uint8_t*>(packed.out.data()), packed.out.size());
    EXPECT_EQ(ZRPAR::GetIntValue(decoded, L"Port"), 15000);

    const ConsoleRun xml = Console(Store() + "dump 'policy:Default policy' 86 --format xml");
    EXPECT_EQ(xml.out.rfind("<?xml", 0), 0u);
    const ConsoleRun again = Console("decode - --format json", xml.out);
    EXPECT_EQ(again.exitCode, 0) << again.err;
    EXPECT_EQ(nlohmann::json::parse(again.out)["UseSsl"], true);
}

TEST_F(ConsoleStore, EveryRefusalIsOneClearLineAndANonZeroExit)
{
    const struct {
        std::string arguments;
        int exitCode;
        const char* says;
    } cases[] = {
        {"dump notanobject 86", 2, "is not an object name"},
        {"dump 'robot:x' 86", 2, "unknown object kind \"robot\""},
        {"dump 'policy:Missing' 86", 1, "there is no object \"policy:Missing\""},
        {"dump 'policy:Default policy' NOSUCH", 1, "has no section \"NOSUCH\""},
        {"dump 'policy:Default policy'", 2, "SECTION is required"},
        {"list --format xml", 2, "--format"},
        {"frobnicate", 2, "frobnicate"},
    };
    for (const auto& c : cases) {
        const ConsoleRun run = Console(Store() + c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.arguments << "\n" << run.err;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << c.arguments << "\n" << run.err;
    }
    const ConsoleRun missingStore = Console("--store /nonexistent/dir/console.db list");
    EXPECT_EQ(missingStore.exitCode, 1);
    EXPECT_NE(missingStore.err.find("there is no store at \"/nonexistent/dir/console.db\""), std::string::npos);

    std::ofstream(m_directory / "text.db") << "plain text that is not a database, long enough for a header...........";
    const ConsoleRun foreign = Console("--store '" + (m_directory / "text.db").string() + "' list");
    EXPECT_EQ(foreign.exitCode, 1);
    EXPECT_NE(foreign.err.find("is not a settings store"), std::string::npos) << foreign.err;
}

TEST_F(ConsoleStore, DecodeReadsTheResourceAndNamesTheFaultOfAMalformedDocument)
{
    const ConsoleRun resource = Console(std::string("decode ") + NOTIFICATION_DEFAULTS + " --format json");
    EXPECT_EQ(resource.exitCode, 0) << resource.err;
    const auto json = nlohmann::ordered_json::parse(resource.out);
    EXPECT_EQ(json["ZRPRSS_Val"]["ZRPRSS_EVPNotifications"]["ZRPRSS_Val"]["ERR"]["ZRPRSS_Val"].size(), 3u);

    auto bytes = ZRPAR::SerializePacked(*ZRPAR::CreateParamsBody({{L"b", true}}));
    bytes[39] = 7;  // the bool byte
    const ConsoleRun broken = Console("decode -", std::string(bytes.begin(), bytes.end()));
    EXPECT_EQ(broken.exitCode, 1);
    EXPECT_EQ(broken.err, "ngt-console: standard input: malformed packed document at offset 39: a bool byte of 7 "
                          "(only 0 and 1 are valid)\n");
    const ConsoleRun missing = Console("decode /nonexistent.xml");
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("cannot open \"/nonexistent.xml\""), std::string::npos) << missing.err;
}
