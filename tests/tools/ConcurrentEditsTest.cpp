// Console hosts that work on one store at the same moment, on each database
// behind the store.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <iostream>
#include <memory>
#include <thread>

#include "host/storage/SettingsStore.h"
#include "support/StoreBackends.h"
#include "tools/ConsoleRun.h"

using testsupport::ConsoleRun;
using testsupport::StartedConsole;

namespace {

template <typename Backend>
class ConcurrentConsoles : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (const std::string why = Backend::Unavailable(); !why.empty()) GTEST_SKIP() << why;
        m_backend = std::make_unique<Backend>();
        m_store = m_backend->Location();
    }

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

    std::unique_ptr<Backend> m_backend;
    std::string m_store;
};

using Backends = ::testing::Types<testsupport::SqliteBackend, testsupport::PostgresBackend>;
TYPED_TEST_SUITE(ConcurrentConsoles, Backends, testsupport::BackendNames);

}  // namespace

TYPED_TEST(ConcurrentConsoles, TwoHostsApplyingDifferentSettingsOfOnePolicyAtOnceBothLand)
{
    ASSERT_EQ(this->Run("new policy P").exitCode, 0);
    // each host toggles its own check box of the network page
    const struct {
        const char* actions;
        const wchar_t* setting;
    } editors[] = {{"click:6013", L"UseSsl"}, {"click:6015", L"ZRNAG_COMPRESS_TRAFFIC"}};
    std::int32_t expected[] = {this->Setting(editors[0].setting), this->Setting(editors[1].setting)};
    constexpr int kRounds = 100;
    int applied = 0, appliedAndLost = 0, refused = 0, bothLanded = 0;
    for (int round = 0; round < kRounds; ++round) {
        std::unique_ptr<StartedConsole> started[2];
        for (int i = 0; i < 2; ++i)
            started[i] = this->Start(std::string("edit policy:P CPageNetworkSettingsBase ") + editors[i].actions);
        int landed = 0;
        for (int i = 0; i < 2; ++i) {
            const ConsoleRun run = started[i]->Finish();
            if (this->Applied(run)) {
                ++applied;
                expected[i] = !expected[i];
            } else {
                ++refused;
                ADD_FAILURE() << "round " << round << ": " << editors[i].actions << " was refused: " << run.err;
            }
            const std::int32_t stored = this->Setting(editors[i].setting);
            if (this->Applied(run) && stored != expected[i]) ++appliedAndLost;
            else if (this->Applied(run)) ++landed;
            expected[i] = stored;
        }
        if (landed == 2) ++bothLanded;
    }
    std::cout << "concurrent applies: " << kRounds << " rounds, " << applied << " applied, " << appliedAndLost
              << " applied and lost, " << refused << " refused, both edits landed in " << bothLanded << " rounds\n";
    EXPECT_EQ(appliedAndLost, 0);
    EXPECT_EQ(bothLanded, kRounds);
}

TYPED_TEST(ConcurrentConsoles, OfTwoHostsChangingOneSettingAtOnceTheLaterIsRefusedInOneLine)
{
    ASSERT_EQ(this->Run("new policy P").exitCode, 0);
    const std::int32_t periods[] = {30, 45};
    std::unique_ptr<StartedConsole> started[2];
    ConsoleRun runs[2];
    // both read the policy while this connection holds the store's write lock;
    // then one commits first and the other finds the section changed
    host::SettingsStore::Open(this->m_store)->InTransaction([&] {
        for (int i = 0; i < 2; ++i)
            started[i] = this->Start("edit policy:P CPageNetworkSettingsBase clear:6011 type:6011=" +
                               std::to_string(periods[i]));
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    });
    for (int i = 0; i < 2; ++i) runs[i] = started[i]->Finish();

    ASSERT_NE(this->Applied(runs[0]), this->Applied(runs[1])) << runs[0].err << runs[1].err;
    const int winner = this->Applied(runs[0]) ? 0 : 1;
    const ConsoleRun& loser = runs[1 - winner];
    EXPECT_EQ(this->Setting(L"ServerPingTimeout"), periods[winner] * 60000);
    EXPECT_EQ(loser.exitCode, 1);
    EXPECT_EQ(loser.err.find('\n'), loser.err.size() - 1) << loser.err;  // one line
    for (const char* says : {"ngt-console: ", "\"policy:P\"", "\"1103/1.0.0.0/86\"", "both changed ServerPingTimeout;",
                             "nothing was written"})
        EXPECT_NE(loser.err.find(says), std::string::npos) << says << " is not in: " << loser.err;
}

TYPED_TEST(ConcurrentConsoles, HostsCreatingObjectsInAFreshStoreTogetherAllSucceed)
{
    std::unique_ptr<StartedConsole> started[3];
    for (int i = 0; i < 3; ++i) started[i] = this->Start("new policy P" + std::to_string(i));
    for (auto& console : started) {
        const ConsoleRun run = console->Finish();
        EXPECT_EQ(run.exitCode, 0) << run.err;
    }
    EXPECT_EQ(host::SettingsStore::Open(this->m_store)->ListObjects().size(), 3u);
}
