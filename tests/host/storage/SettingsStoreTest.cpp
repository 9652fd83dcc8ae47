#include "host/storage/SettingsStore.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "nhpp/ParamsProviderProduct.h"
#include "zrpar/Packed.h"
#include "support/StorageDoubles.h"
#include "zrstd/Strings.h"

namespace fs = std::filesystem;
using host::SettingsStore;
using ZRSTD::CAutoPtr;

namespace {

class StoreFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_directory = fs::path(::testing::TempDir()) /
                      ("store-" + std::to_string(::getpid()) + "-" +
                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_directory);
        fs::create_directories(m_directory);
        m_path = (m_directory / "console.db").string();
    }
    void TearDown() override
    {
        SetImmutable(m_path, false);
        fs::remove_all(m_directory);
    }

    // Makes the file unwritable even for root (who ignores permission bits).
    static bool MakeUnwritable(const std::string& path)
    {
        ::chmod(path.c_str(), 0444);
        return ::access(path.c_str(), W_OK) != 0 || SetImmutable(path, true);
    }
    static bool SetImmutable(const std::string& path, bool on)
    {
        const int fd = ::open(path.c_str(), O_RDONLY);
        if (fd < 0) return false;
        int flags = 0;
        bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        if (done) {
            flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
            done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        }
        ::close(fd);
        return done;
    }

    // The localized message of what action raises.
    static std::string Refusal(const std::function<void()>& action)
    {
        try {
            action();
        } catch (const ZRERR::Error& error) {
            EXPECT_TRUE(error.IsLocalized()) << error.what();
            return ZRSTD::ToUtf8(error.GetMessage());
        }
        ADD_FAILURE() << "nothing was refused";
        return {};
    }

    static void Put(SettingsStore& store, const wchar_t* object, const wchar_t* section, ZRPAR::Params* params)
    {
        store.ObjectStorage(object)->Replace(L"1103", L"1.0.0.0", section, params);
    }
    static CAutoPtr<ZRPAR::Params> Get(SettingsStore& store, const wchar_t* object, const wchar_t* section)
    {
        return testsupport::ReadStored(*store.ObjectStorage(object), section);
    }

    fs::path m_directory;
    std::string m_path;
};

}  // namespace

TEST_F(StoreFile, ObjectsKeepTheirSectionsAcrossReopening)
{
    {
        auto store = SettingsStore::Open(m_path);
        EXPECT_EQ(store->SchemaVersion(), SettingsStore::kSchemaVersion);
        Put(*store, L"policy:Default policy", L"86", ZRPAR::CreateParamsBody({{L"UseSsl", true}}));
        Put(*store, L"host:localhost", L"86", ZRPAR::CreateParamsBody({{L"UseSsl", false}}));
    }
    auto store = SettingsStore::Open(m_path);
    EXPECT_EQ(store->ListObjects(), (std::vector<std::wstring>{L"host:localhost", L"policy:Default policy"}));
    EXPECT_TRUE(ZRPAR::GetBoolValue(Get(*store, L"policy:Default policy", L"86"), L"UseSsl"));
    EXPECT_FALSE(ZRPAR::GetBoolValue(Get(*store, L"host:localhost", L"86"), L"UseSsl"));
    EXPECT_TRUE(store->IntegrityProblems().empty());
    store->DeleteObject(L"host:localhost");
    EXPECT_FALSE(store->HasObject(L"host:localhost"));
    EXPECT_TRUE(store->HasObject(L"policy:Default policy"));
}

TEST_F(StoreFile, ASectionIsOneRowInThePackedForm)
{
    auto store = SettingsStore::Open(m_path);
    Put(*store, L"policy:p", L"86", ZRPAR::CreateParamsBody({{L"v", 7}}));
    sqlite3_stmt* statement = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(store->Handle(),
                                 "SELECT data FROM sections WHERE object='policy:p' AND section='86'", -1, &statement,
                                 nullptr),
              SQLITE_OK);
    ASSERT_EQ(sqlite3_step(statement), SQLITE_ROW);
    const std::string blob(static_cast<const char*>(sqlite3_column_blob(statement, 0)), sqlite3_column_bytes(statement, 0));
    sqlite3_finalize(statement);
    EXPECT_EQ(blob.rfind("<!--ZRPARBIN -->", 0), 0u);
}

TEST_F(StoreFile, ADamagedRowIsAClearErrorAndTheProviderReportsItOnApply)
{
    auto store = SettingsStore::Open(m_path);
    Put(*store, L"host:h", L"86", ZRPAR::CreateParamsBody({{L"v", 7}}));
    ASSERT_EQ(sqlite3_exec(store->Handle(),
                           "UPDATE sections SET data=substr(data, 1, 40) WHERE object='host:h' AND section='86'",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    const std::string message = Refusal([&] { Get(*store, L"host:h", L"86"); });
    EXPECT_NE(message.find("\"1103/1.0.0.0/86\""), std::string::npos) << message;
    EXPECT_NE(message.find(m_path), std::string::npos) << message;
    EXPECT_NE(message.find("is damaged"), std::string::npos) << message;
    EXPECT_NE(message.find("offset"), std::string::npos) << message;

    auto local = store->ObjectStorage(L"host:h");
    auto provider = NHPP::CParamsProviderProduct::Create(local.Get(), nullptr, L"1103", L"1.0.0.0", L"86");
    testsupport::RecordingReporter reporter;
    EXPECT_EQ(provider->Apply(false, &reporter), NHPP::kFail);
    ASSERT_EQ(reporter.reported.size(), 1u);
    EXPECT_NE(ZRSTD::ToUtf8(reporter.reported[0]).find("is damaged"), std::string::npos);

    ASSERT_EQ(sqlite3_exec(store->Handle(), "DELETE FROM revision_counter", nullptr, nullptr, nullptr), SQLITE_OK);
    const std::string noCounter = Refusal([&] { Put(*store, L"host:h", L"87", ZRPAR::CreateParams().Get()); });
    EXPECT_NE(noCounter.find("its revision counter is missing"), std::string::npos) << noCounter;
}

TEST_F(StoreFile, AFileThatIsNotAStoreOrIsNewerIsRefusedByName)
{
    std::ofstream(m_path) << "this is a text file, not a database, and it is long enough to have a header ....";
    const std::string notStore = Refusal([&] { SettingsStore::Open(m_path); });
    EXPECT_NE(notStore.find("is not a settings store"), std::string::npos) << notStore;
    EXPECT_NE(notStore.find(m_path), std::string::npos);
    std::ifstream in(m_path);
    std::string kept((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(kept.rfind("this is a text file", 0), 0u);  // nothing lost

    fs::remove(m_path);
    {
        auto store = SettingsStore::Open(m_path);
        sqlite3_exec(store->Handle(), "PRAGMA user_version=99", nullptr, nullptr, nullptr);
    }
    const std::string newer = Refusal([&] { SettingsStore::Open(m_path); });
    EXPECT_NE(newer.find("schema version 99"), std::string::npos) << newer;
}

TEST_F(StoreFile, AReadOnlyStoreIsRefusedForWritingAndStillReadable)
{
    {
        auto store = SettingsStore::Open(m_path);
        Put(*store, L"policy:p", L"86", ZRPAR::CreateParamsBody({{L"v", 1}}));
        sqlite3_exec(store->Handle(), "PRAGMA wal_checkpoint(TRUNCATE)", nullptr, nullptr, nullptr);
    }
    if (!MakeUnwritable(m_path)) GTEST_SKIP() << "this file system cannot make the file unwritable for this user";
    const std::string message = Refusal([&] { SettingsStore::Open(m_path); });
    EXPECT_NE(message.find("is read-only"), std::string::npos) << message;
    SettingsStore::Options options;
    options.readOnly = true;
    auto store = SettingsStore::Open(m_path, options);
    EXPECT_EQ(ZRPAR::GetIntValue(Get(*store, L"policy:p", L"86"), L"v"), 1);
}

TEST_F(StoreFile, AWriterThatHoldsTheLockPastTheTimeoutGivesAClearErrorAndLosesNothing)
{
    auto holder = SettingsStore::Open(m_path);
    Put(*holder, L"policy:p", L"86", ZRPAR::CreateParamsBody({{L"v", 1}}));
    SettingsStore::Options quick;
    quick.busyTimeoutMs = 100;
    auto waiting = SettingsStore::Open(m_path, quick);
    holder->InTransaction([&] {
        Put(*holder, L"policy:p", L"86", ZRPAR::CreateParamsBody({{L"v", 2}}));
        const std::string message = Refusal([&] { Put(*waiting, L"policy:p", L"86", ZRPAR::CreateParamsBody({{L"v", 3}})); });
        EXPECT_NE(message.find("is locked by another process"), std::string::npos) << message;
        EXPECT_NE(message.find(m_path), std::string::npos);
        // readers are not blocked by the writer and see the last commit
        EXPECT_EQ(ZRPAR::GetIntValue(Get(*waiting, L"policy:p", L"86"), L"v"), 1);
    });
    EXPECT_EQ(ZRPAR::GetIntValue(Get(*waiting, L"policy:p", L"86"), L"v"), 2);
}

TEST_F(StoreFile, AFailedChangeRollsBackAsAWhole)
{
    auto store = SettingsStore::Open(m_path);
    Put(*store, L"policy:p", L"A", ZRPAR::CreateParamsBody({{L"v", 1}}));
    EXPECT_THROW(store->InTransaction([&] {
        Put(*store, L"policy:p", L"A", ZRPAR::CreateParamsBody({{L"v", 2}}));
        Put(*store, L"policy:p", L"B", ZRPAR::CreateParamsBody({{L"v", 2}}));
        ZRERR_throwError("TEST", 1, L"a failure halfway");
    }), ZRERR::Error);
    EXPECT_EQ(ZRPAR::GetIntValue(Get(*store, L"policy:p", L"A"), L"v"), 1);
    EXPECT_FALSE(Get(*store, L"policy:p", L"B"));
}

TEST_F(StoreFile, AProcessKilledWhileWritingLeavesOnlyCommittedVersions)
{
    {
        auto store = SettingsStore::Open(m_path);
        store->InTransaction([&] {
            Put(*store, L"policy:p", L"A", ZRPAR::CreateParamsBody({{L"round", 0}}));
            Put(*store, L"policy:p", L"B", ZRPAR::CreateParamsBody({{L"round", 0}}));
        });
    }
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Writes both sections in one transaction per round, as fast as it can, until killed.
        try {
            auto store = SettingsStore::Open(m_path);
            const std::vector<std::uint8_t> padding(64 * 1024, 0xAB);
            for (std::int32_t round = 1;; ++round) {
                auto section = ZRPAR::CreateParamsBody(
                    {{L"round", round}, {L"padding", ZRPAR::binary_wrapper_t{padding.data(), padding.size()}}});
                store->InTransaction([&] {
                    Put(*store, L"policy:p", L"A", section.Get());
                    Put(*store, L"policy:p", L"B", section.Get());
                });
            }
        } catch (...) {
        }
        ::_exit(3);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    ASSERT_EQ(::kill(child, SIGKILL), 0);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped on its own";

    auto store = SettingsStore::Open(m_path);
    EXPECT_TRUE(store->IntegrityProblems().empty());
    const std::int32_t a = ZRPAR::GetIntValue(Get(*store, L"policy:p", L"A"), L"round");
    const std::int32_t b = ZRPAR::GetIntValue(Get(*store, L"policy:p", L"B"), L"round");
    EXPECT_EQ(a, b);  // never a mix of two rounds
    EXPECT_GT(a, 0);  // some rounds were committed
}

TEST_F(StoreFile, AStoreOfTheFirstSchemaGetsItsObjectsCataloguedWhenOpened)
{
    {
        // a store as the first schema made it: sections only
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(m_path.c_str(), &db), SQLITE_OK);
        const std::vector<std::uint8_t> packed = ZRPAR::SerializePacked(*ZRPAR::CreateParamsBody({{L"UseSsl", true}}));
        sqlite3_exec(db,
                     "CREATE TABLE sections(object TEXT NOT NULL, product TEXT NOT NULL, version TEXT NOT NULL, "
                     "section TEXT NOT NULL, data BLOB NOT NULL, PRIMARY KEY(object, product, version, section)) "
                     "WITHOUT ROWID; PRAGMA user_version=1",
                     nullptr, nullptr, nullptr);
        sqlite3_stmt* insert = nullptr;
        sqlite3_prepare_v2(db, "INSERT INTO sections VALUES ('policy:Old', '1103', '1.0.0.0', '86', ?1)", -1, &insert,
                           nullptr);
        sqlite3_bind_blob(insert, 1, packed.data(), static_cast<int>(packed.size()), SQLITE_TRANSIENT);
        ASSERT_EQ(sqlite3_step(insert), SQLITE_DONE);
        sqlite3_finalize(insert);
        sqlite3_close(db);
    }
    SettingsStore::Options readOnly;
    readOnly.readOnly = true;
    const std::string refused = Refusal([&] { SettingsStore::Open(m_path, readOnly); });
    EXPECT_NE(refused.find("has schema version 1: open it once for writing"), std::string::npos) << refused;
    auto store = SettingsStore::Open(m_path);
    EXPECT_EQ(store->SchemaVersion(), SettingsStore::kSchemaVersion);
    const auto entry = store->GetCatalogueEntry(L"policy:Old");
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->kind, L"policy");
    EXPECT_EQ(entry->attributes->GetSize(), 0u);
    EXPECT_TRUE(Get(*store, L"policy:Old", L"86"));  // the data stays
    EXPECT_TRUE(store->IntegrityProblems().empty());

    // the rows it had carry a revision: a reader of one merges a later writer's change
    auto reader = store->ObjectStorage(L"policy:Old");
    testsupport::ReadStored(*reader, L"86");
    Put(*store, L"policy:Old", L"86", ZRPAR::CreateParamsBody({{L"UseSsl", false}}));
    reader->Replace(L"1103", L"1.0.0.0", L"86", ZRPAR::CreateParamsBody({{L"UseSsl", true}, {L"New", 1}}).Get());
    EXPECT_TRUE(ZRPAR::Equals(*Get(*store, L"policy:Old", L"86"), *ZRPAR::CreateParamsBody({{L"UseSsl", false}, {L"New", 1}})));
}

TEST_F(StoreFile, TheCatalogueAndTheConfigurationKeepWhatIsPutAndGoWithTheObject)
{
    auto store = SettingsStore::Open(m_path);
    EXPECT_FALSE(store->GetCatalogueEntry(L"host:web"));
    store->PutCatalogueEntry(L"host:web", L"host", ZRPAR::CreateParamsBody({{L"policy", L"P"}}).Get());
    EXPECT_TRUE(store->HasObject(L"host:web"));  // an object without sections yet
    EXPECT_EQ(store->ListObjects(), std::vector<std::wstring>{L"host:web"});
    Put(*store, L"policy:P", L"86", ZRPAR::CreateParams().Get());  // sections without an entry count too
    EXPECT_EQ(store->ListObjects(), (std::vector<std::wstring>{L"host:web", L"policy:P"}));
    EXPECT_EQ(store->GetCatalogueEntry(L"policy:P")->kind, L"policy");

    store->PutCatalogueEntry(L"host:web", L"host", ZRPAR::CreateParamsBody({{L"policy", L"Q"}}).Get());
    const auto entry = store->GetCatalogueEntry(L"host:web");
    EXPECT_EQ(static_cast<ZRPAR::StringValue*>(entry->attributes->FindValue(L"policy"))->GetValue(), L"Q");
    store->DeleteObject(L"host:web");
    EXPECT_FALSE(store->HasObject(L"host:web"));

    EXPECT_FALSE(store->GetConfig(L"functionality"));
    store->SetConfig(L"functionality", L"0x44");
    store->SetConfig(L"functionality", L"0x4");
    EXPECT_EQ(store->GetConfig(L"functionality"), L"0x4");

    sqlite3_exec(store->Handle(), "UPDATE objects SET attributes=x'0102' WHERE name='policy:P'", nullptr, nullptr, nullptr);
    store->PutCatalogueEntry(L"policy:Broken", L"policy", nullptr);
    sqlite3_exec(store->Handle(), "UPDATE objects SET attributes=x'0102' WHERE name='policy:Broken'", nullptr, nullptr,
                 nullptr);
    const std::string damaged = Refusal([&] { store->GetCatalogueEntry(L"policy:Broken"); });
    EXPECT_NE(damaged.find("catalogue entry of \"policy:Broken\""), std::string::npos) << damaged;
}

TEST_F(StoreFile, ProcessesThatOpenAFreshFileTogetherAllGetOneSchema)
{
    constexpr int kRounds = 5, kProcesses = 6;
    for (int round = 0; round < kRounds; ++round) {
        const std::string path = (m_directory / ("fresh-" + std::to_string(round) + ".db")).string();
        int start[2];
        ASSERT_EQ(::pipe(start), 0);
        std::vector<pid_t> children;
        for (int i = 0; i < kProcesses; ++i) {
            const pid_t child = ::fork();
            ASSERT_GE(child, 0);
            if (child == 0) {
                ::close(start[1]);
                char go;
                (void)!::read(start[0], &go, 1);  // all start when the pipe closes
                try {
                    auto store = SettingsStore::Open(path);
                    Put(*store, (L"policy:P" + std::to_wstring(i)).c_str(), L"86", ZRPAR::CreateParams().Get());
                } catch (const ZRERR::Error& error) {
                    std::ofstream(path + ".err" + std::to_string(i)) << ZRSTD::ToUtf8(error.GetMessage());
                    ::_exit(1);
                }
                ::_exit(0);
            }
            children.push_back(child);
        }
        ::close(start[0]);
        ::close(start[1]);
        for (std::size_t i = 0; i < children.size(); ++i) {
            int status = 0;
            ::waitpid(children[i], &status, 0);
            std::ifstream error(path + ".err" + std::to_string(i));
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
                << "round " << round << ", process " << i << ": " << std::string(std::istreambuf_iterator<char>(error), {});
        }
        auto store = SettingsStore::Open(path);
        EXPECT_EQ(store->SchemaVersion(), SettingsStore::kSchemaVersion);
        EXPECT_EQ(store->ListObjects().size(), static_cast<std::size_t>(kProcesses)) << "round " << round;
    }
}
