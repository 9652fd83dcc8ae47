// Console hosts that work on one store at the same moment.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <iostream>
#include <memory>
#include <thread>

#include "host/storage/SettingsStore.h"
#include "tools/ConsoleRun.h"

namespace fs = std::filesystem;
using testsupport::ConsoleRun;
using testsupport::StartedConsole;

namespace {

class ConcurrentConsoles : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_directory = fs::path(::testing::TempDir()) /
                      ("concurrent-" + std::to_string(::getpid()) + "-" +
                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_directory);
        fs::create_directories(m_directory);
        m_store = (m_directory / "console.db").string();
    }
    void TearDown() override { fs::remove_all(m_directory); }

    std::unique_ptr<StartedConsole> Start(const std::string& arguments)
    {
        return std::make_unique<StartedConsole>("--store '" + m_store + "' " + arguments);
    }
    ConsoleRun Run(const std::string& arguments) { return Start(arguments)->Finish(); }

    // A setting of the policy's network section, as stored.
    std::int32_t Setting(const wchar_t* name)
    {
        ZRSTD::CAutoPtr<ZRPAR::Params> section;
        host::SettingsStore::Open(m_store)->ObjectStorage(L"policy:P")->Read(L"1103", L"1.0.0.0", L"86", &section);
        ZRPAR::Value* value = ZRPAR::GetParamsValue(ZRPAR::GetParamsValue(section.Get(), L"ZRPRSS_Val").Get(), name)
                                  ->FindValue(L"ZRPRSS_Val");
        return value->GetType() == ZRPAR::VT_BOOL ? static_cast<ZRPAR::BoolValue*>(value)->GetValue()
                                                  : static_cast<ZRPAR::IntValue*>(value)->GetValue();
    }
    static bool Applied(const ConsoleRun& run) { return run.exitCode == 0 && run.out.find("applied ") != std::string::npos; }

    fs::path m_directory;
    std::string m_store;
};

}  // namespace

TEST_F(ConcurrentConsoles, TwoHostsApplyingDifferentSettingsOfOnePolicyAtOnceBothLand)
{
    ASSERT_EQ(Run("new policy P").exitCode, 0);
    // each host toggles its own check box of the network page
    const struct {
        const char* actions;
        const wchar_t* setting;
    } editors[] = {{"click:6013", L"UseSsl"}, {"click:6015", L"ZRNAG_COMPRESS_TRAFFIC"}};
    std::int32_t expected[] = {Setting(editors[0].setting), Setting(editors[1].setting)};
    constexpr int kRounds = 100;
    int applied = 0, appliedAndLost = 0, refused = 0, bothLanded = 0;
    for (int round = 0; round < kRounds; ++round) {
        std::unique_ptr<StartedConsole> started[2];
        for (int i = 0; i < 2; ++i)
            started[i] = Start(std::string("edit policy:P CPageNetworkSettingsBase ") + editors[i].actions);
        int landed = 0;
        for (int i = 0; i < 2; ++i) {
            const ConsoleRun run = started[i]->Finish();
            if (Applied(run)) {
                ++applied;
                expected[i] = !expected[i];
            } else {
                ++refused;
                ADD_FAILURE() << "round " << round << ": " << editors[i].actions << " was refused: " << run.err;
            }
            const std::int32_t stored = Setting(editors[i].setting);
            if (Applied(run) && stored != expected[i]) ++appliedAndLost;
            else if (Applied(run)) ++landed;
            expected[i] = stored;
        }
        if (landed == 2) ++bothLanded;
    }
    std::cout << "concurrent applies: " << kRounds << " rounds, " << applied << " applied, " << appliedAndLost
              << " applied and lost, " << refused << " refused, both edits landed in " << bothLanded << " rounds\n";
    EXPECT_EQ(appliedAndLost, 0);
    EXPECT_EQ(bothLanded, kRounds);
}

TEST_F(ConcurrentConsoles, OfTwoHostsChangingOneSettingAtOnceTheLaterIsRefusedInOneLine)
{
    ASSERT_EQ(Run("new policy P").exitCode, 0);
    const std::int32_t periods[] = {30, 45};
    std::unique_ptr<StartedConsole> started[2];
    ConsoleRun runs[2];
    // both read the policy while this connection holds the store's write lock;
    // then one commits first and the other finds the section changed
    host::SettingsStore::Open(m_store)->InTransaction([&] {
        for (int i = 0; i < 2; ++i)
            started[i] = Start("edit policy:P CPageNetworkSettingsBase clear:6011 type:6011=" +
                               std::to_string(periods[i]));
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    });
    for (int i = 0; i < 2; ++i) runs[i] = started[i]->Finish();

    ASSERT_NE(Applied(runs[0]), Applied(runs[1])) << runs[0].err << runs[1].err;
    const int winner = Applied(runs[0]) ? 0 : 1;
    const ConsoleRun& loser = runs[1 - winner];
    EXPECT_EQ(Setting(L"ServerPingTimeout"), periods[winner] * 60000);
    EXPECT_EQ(loser.exitCode, 1);
    EXPECT_EQ(loser.err.find('\n'), loser.err.size() - 1) << loser.err;  // one line
    for (const char* says : {"ngt-console: ", "\"policy:P\"", "\"1103/1.0.0.0/86\"", "both changed ServerPingTimeout;",
                             "nothing was written"})
        EXPECT_NE(loser.err.find(says), std::string::npos) << says << " is not in: " << loser.err;
}

TEST_F(ConcurrentConsoles, HostsCreatingObjectsInAFreshStoreTogetherAllSucceed)
{
    std::unique_ptr<StartedConsole> started[3];
    for (int i = 0; i < 3; ++i) started[i] = Start("new policy P" + std::to_string(i));
    for (auto& console : started) {
        const ConsoleRun run = console->Finish();
        EXPECT_EQ(run.exitCode, 0) << run.err;
    }
    EXPECT_EQ(host::SettingsStore::Open(m_store)->ListObjects().size(), 3u);
}
