// One set of tests for the settings store, run on each database behind it
// (typed over the backends of support/StoreBackends.h), then what only the
// SQLite file has.
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
#include "support/StorageDoubles.h"
#include "support/StoreBackends.h"
#include "zrpar/Packed.h"
#include "zrstd/Strings.h"

namespace fs = std::filesystem;
using host::SettingsStore;
using ZRSTD::CAutoPtr;

namespace {

// The localized message of what action raises.
std::string Refusal(const std::function<void()>& action)
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

void Put(SettingsStore& store, const wchar_t* object, const wchar_t* section, ZRPAR::Params* params)
{
    store.ObjectStorage(object)->Replace(L"1103", L"1.0.0.0", section, params);
}

CAutoPtr<ZRPAR::Params> Get(SettingsStore& store, const wchar_t* object, const wchar_t* section)
{
    return testsupport::ReadStored(*store.ObjectStorage(object), section);
}

template <typename Backend>
class Store : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (const std::string why = Backend::Unavailable(); !why.empty()) GTEST_SKIP() << why;
        m_backend = std::make_unique<Backend>();
        m_location = m_backend->Location();
    }
    // SQL on the store's database behind the store's back.
    void Execute(const std::string& sql) { m_backend->Execute(m_location, sql); }

    std::unique_ptr<Backend> m_backend;
    std::string m_location;
};

using Backends = ::testing::Types<testsupport::SqliteBackend, testsupport::PostgresBackend>;
TYPED_TEST_SUITE(Store, Backends, testsupport::BackendNames);

}  // namespace

TYPED_TEST(Store, ObjectsKeepTheirSectionsAcrossReopening)
{
    {
        auto store = SettingsStore::Open(this->m_location);
        EXPECT_EQ(store->SchemaVersion(), SettingsStore::kSchemaVersion);
        Put(*store, L"policy:Default policy", L"86", ZRPAR::CreateParamsBody({{L"UseSsl", true}}));
        Put(*store, L"host:localhost", L"86", ZRPAR::CreateParamsBody({{L"UseSsl", false}}));
    }
    auto store = SettingsStore::Open(this->m_location);
    EXPECT_EQ(store->ListObjects(), (std::vector<std::wstring>{L"host:localhost", L"policy:Default policy"}));
    EXPECT_TRUE(ZRPAR::GetBoolValue(Get(*store, L"policy:Default policy", L"86"), L"UseSsl"));
    EXPECT_FALSE(ZRPAR::GetBoolValue(Get(*store, L"host:localhost", L"86"), L"UseSsl"));
    EXPECT_TRUE(store->IntegrityProblems().empty());
    EXPECT_EQ(store->ListSections(L"host:localhost"), (std::vector<host::SectionKey>{{L"1103", L"1.0.0.0", L"86"}}));
    store->DeleteObject(L"host:localhost");
    EXPECT_FALSE(store->HasObject(L"host:localhost"));
    EXPECT_TRUE(store->HasObject(L"policy:Default policy"));
}

TYPED_TEST(Store, NamesSortBytewiseAndKeepEveryCharacter)
{
    auto store = SettingsStore::Open(this->m_location);
    // bytewise: capitals before small letters, Cyrillic after both, whatever the server's locale
    const std::vector<std::wstring> names = {L"policy:B", L"policy:a", L"policy:Сервер", L"policy:b 'quoted' \\ \"x\""};
    for (const auto& name : names) store->PutCatalogueEntry(name, L"policy", nullptr);
    EXPECT_EQ(store->ListObjects(), (std::vector<std::wstring>{L"policy:B", L"policy:a", L"policy:b 'quoted' \\ \"x\"",
                                                              L"policy:Сервер"}));
    for (const auto& name : names) EXPECT_TRUE(store->HasObject(name)) << ZRSTD::ToUtf8(name);
}

TYPED_TEST(Store, ADamagedRowIsAClearErrorAndTheProviderReportsItOnApply)
{
    auto store = SettingsStore::Open(this->m_location);
    Put(*store, L"host:h", L"86", ZRPAR::CreateParamsBody({{L"v", 7}}));
    this->Execute("UPDATE sections SET data=substr(data, 1, 40) WHERE object='host:h' AND section='86'");
    const std::string message = Refusal([&] { Get(*store, L"host:h", L"86"); });
    EXPECT_NE(message.find("\"1103/1.0.0.0/86\""), std::string::npos) << message;
    EXPECT_NE(message.find(store->Path()), std::string::npos) << message;
    EXPECT_NE(message.find("is damaged"), std::string::npos) << message;
    EXPECT_NE(message.find("offset"), std::string::npos) << message;

    auto local = store->ObjectStorage(L"host:h");
    auto provider = NHPP::CParamsProviderProduct::Create(local.Get(), nullptr, L"1103", L"1.0.0.0", L"86");
    testsupport::RecordingReporter reporter;
    EXPECT_EQ(provider->Apply(false, &reporter), NHPP::kFail);
    ASSERT_EQ(reporter.reported.size(), 1u);
    EXPECT_NE(ZRSTD::ToUtf8(reporter.reported[0]).find("is damaged"), std::string::npos);

    this->Execute("DELETE FROM revision_counter");
    const std::string noCounter = Refusal([&] { Put(*store, L"host:h", L"87", ZRPAR::CreateParams().Get()); });
    EXPECT_NE(noCounter.find("its revision counter is missing"), std::string::npos) << noCounter;
}

TYPED_TEST(Store, ANewerSchemaIsRefusedByItsVersion)
{
    SettingsStore::Open(this->m_location);
    this->Execute(TypeParam::RecordSchemaVersion(99));
    const std::string newer = Refusal([&] { SettingsStore::Open(this->m_location); });
    EXPECT_NE(newer.find("has schema version 99; this program knows versions up to 3"), std::string::npos) << newer;
}

TYPED_TEST(Store, AStoreThatIsNotThereIsMadeOnlyWhenCreationIsAllowed)
{
    SettingsStore::Options existing;
    existing.create = false;
    EXPECT_FALSE(Refusal([&] { SettingsStore::Open(this->m_location, existing); }).empty());
    SettingsStore::Options readOnly;
    readOnly.readOnly = true;
    EXPECT_FALSE(Refusal([&] { SettingsStore::Open(this->m_location, readOnly); }).empty());
    auto made = SettingsStore::Open(this->m_location);
    EXPECT_EQ(made->SchemaVersion(), SettingsStore::kSchemaVersion);
    EXPECT_EQ(SettingsStore::Open(this->m_location, existing)->SchemaVersion(), SettingsStore::kSchemaVersion);
}

TYPED_TEST(Store, AStoreOpenedReadOnlyReadsAndRefusesEveryChange)
{
    {
        auto store = SettingsStore::Open(this->m_location);
        Put(*store, L"policy:p", L"86", ZRPAR::CreateParamsBody({{L"v", 1}}));
    }
    SettingsStore::Options options;
    options.readOnly = true;
    auto store = SettingsStore::Open(this->m_location, options);
    EXPECT_EQ(ZRPAR::GetIntValue(Get(*store, L"policy:p", L"86"), L"v"), 1);
    const std::function<void()> changes[] = {
        [&] { Put(*store, L"policy:p", L"86", ZRPAR::CreateParamsBody({{L"v", 2}})); },
        [&] { store->SetConfig(L"functionality", L"0x4"); },
        [&] { store->PutCatalogueEntry(L"policy:q", L"policy", nullptr); },
        [&] { store->DeleteObject(L"policy:p"); },
    };
    for (const auto& change : changes) {
        const std::string message = Refusal(change);
        EXPECT_NE(message.find("is read-only"), std::string::npos) << message;
    }
    EXPECT_EQ(ZRPAR::GetIntValue(Get(*SettingsStore::Open(this->m_location), L"policy:p", L"86"), L"v"), 1);
}

TYPED_TEST(Store, AWriterThatHoldsTheLockPastTheTimeoutGivesAClearErrorAndLosesNothing)
{
    auto holder = SettingsStore::Open(this->m_location);
    Put(*holder, L"policy:p", L"86", ZRPAR::CreateParamsBody({{L"v", 1}}));
    SettingsStore::Options quick;
    quick.busyTimeoutMs = 100;
    auto waiting = SettingsStore::Open(this->m_location, quick);
    holder->InTransaction([&] {
        Put(*holder, L"policy:p", L"86", ZRPAR::CreateParamsBody({{L"v", 2}}));
        const std::string message = Refusal([&] { Put(*waiting, L"policy:p", L"86", ZRPAR::CreateParamsBody({{L"v", 3}})); });
        EXPECT_NE(message.find("is locked by another process"), std::string::npos) << message;
        EXPECT_NE(message.find(waiting->Path()), std::string::npos);
        // readers are not blocked by the writer and see the last commit
        EXPECT_EQ(ZRPAR::GetIntValue(Get(*waiting, L"policy:p", L"86"), L"v"), 1);
    });
    EXPECT_EQ(ZRPAR::GetIntValue(Get(*waiting, L"policy:p", L"86"), L"v"), 2);
    // the refused writer can write again once the lock is free
    Put(*waiting, L"policy:p", L"87", ZRPAR::CreateParamsBody({{L"v", 4}}));
    EXPECT_EQ(ZRPAR::GetIntValue(Get(*holder, L"policy:p", L"87"), L"v"), 4);
}

TYPED_TEST(Store, AFailedChangeRollsBackAsAWhole)
{
    auto store = SettingsStore::Open(this->m_location);
    Put(*store, L"policy:p", L"A", ZRPAR::CreateParamsBody({{L"v", 1}}));
    EXPECT_THROW(store->InTransaction([&] {
        Put(*store, L"policy:p", L"A", ZRPAR::CreateParamsBody({{L"v", 2}}));
        Put(*store, L"policy:p", L"B", ZRPAR::CreateParamsBody({{L"v", 2}}));
        store->SetConfig(L"functionality", L"0x4");
        ZRERR_throwError("TEST", 1, L"a failure halfway");
    }), ZRERR::Error);
    EXPECT_EQ(ZRPAR::GetIntValue(Get(*store, L"policy:p", L"A"), L"v"), 1);
    EXPECT_FALSE(Get(*store, L"policy:p", L"B"));
    EXPECT_FALSE(store->GetConfig(L"functionality"));
    // and the store takes the next change
    Put(*store, L"policy:p", L"B", ZRPAR::CreateParamsBody({{L"v", 3}}));
    EXPECT_EQ(ZRPAR::GetIntValue(Get(*store, L"policy:p", L"B"), L"v"), 3);
}

TYPED_TEST(Store, AProcessKilledWhileWritingLeavesOnlyCommittedVersions)
{
    const std::string location = this->m_location;
    {
        auto store = SettingsStore::Open(location);
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
            auto store = SettingsStore::Open(location);
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

    auto store = SettingsStore::Open(location);
    EXPECT_TRUE(store->IntegrityProblems().empty());
    const std::int32_t a = ZRPAR::GetIntValue(Get(*store, L"policy:p", L"A"), L"round");
    const std::int32_t b = ZRPAR::GetIntValue(Get(*store, L"policy:p", L"B"), L"round");
    EXPECT_EQ(a, b);  // never a mix of two rounds
    EXPECT_GT(a, 0);  // some rounds were committed
}

TYPED_TEST(Store, TheCatalogueAndTheConfigurationKeepWhatIsPutAndGoWithTheObject)
{
    auto store = SettingsStore::Open(this->m_location);
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
    EXPECT_TRUE(store->ListConfig().empty());
    store->SetConfig(L"functionality", L"0x44");
    store->SetConfig(L"functionality", L"0x4");
    store->SetConfig(L"a_key", L"значение");
    EXPECT_EQ(store->GetConfig(L"functionality"), L"0x4");
    EXPECT_EQ(store->ListConfig(), (std::vector<std::pair<std::wstring, std::wstring>>{{L"a_key", L"значение"},
                                                                                        {L"functionality", L"0x4"}}));

    store->PutCatalogueEntry(L"policy:Broken", L"policy", nullptr);
    this->Execute("UPDATE objects SET attributes=" + TypeParam::Bytes("0102") + " WHERE name='policy:Broken'");
    const std::string damaged = Refusal([&] { store->GetCatalogueEntry(L"policy:Broken"); });
    EXPECT_NE(damaged.find("catalogue entry of \"policy:Broken\""), std::string::npos) << damaged;
}

TYPED_TEST(Store, ProcessesThatOpenAFreshStoreTogetherAllGetOneSchema)
{
    constexpr int kRounds = 5, kProcesses = 6;
    for (int round = 0; round < kRounds; ++round) {
        const std::string location = this->m_backend->Location("fresh-" + std::to_string(round));
        const fs::path errors = fs::path(::testing::TempDir()) / ("fresh-errors-" + std::to_string(::getpid()));
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
                    auto store = SettingsStore::Open(location);
                    Put(*store, (L"policy:P" + std::to_wstring(i)).c_str(), L"86", ZRPAR::CreateParams().Get());
                } catch (const ZRERR::Error& error) {
                    std::ofstream(errors.string() + std::to_string(i)) << ZRSTD::ToUtf8(error.GetMessage());
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
            std::ifstream error(errors.string() + std::to_string(i));
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
                << "round " << round << ", process " << i << ": " << std::string(std::istreambuf_iterator<char>(error), {});
            fs::remove(errors.string() + std::to_string(i));
        }
        auto store = SettingsStore::Open(location);
        EXPECT_EQ(store->SchemaVersion(), SettingsStore::kSchemaVersion);
        EXPECT_EQ(store->ListObjects().size(), static_cast<std::size_t>(kProcesses)) << "round " << round;
    }
}

TYPED_TEST(Store, ALargeSectionComesBackByteForByte)
{
    auto store = SettingsStore::Open(this->m_location);
    std::vector<std::uint8_t> bytes(1 << 20);
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 131 + (i >> 9));
    auto section = ZRPAR::CreateParamsBody({{L"blob", ZRPAR::binary_wrapper_t{bytes.data(), bytes.size()}}});
    Put(*store, L"package:big", L"86", section.Get());
    EXPECT_TRUE(ZRPAR::Equals(*Get(*SettingsStore::Open(this->m_location), L"package:big", L"86"), *section));
}

// What only the SQLite file has: a file on disk, its permissions, its older schemas.
class StoreFile : public ::testing::Test {
protected:
    void SetUp() override { m_path = m_backend.Location(); }
    void TearDown() override { SetImmutable(m_path, false); }

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

    testsupport::SqliteBackend m_backend;
    std::string m_path;
};

TEST_F(StoreFile, ASectionIsOneRowInThePackedForm)
{
    auto store = SettingsStore::Open(m_path);
    Put(*store, L"policy:p", L"86", ZRPAR::CreateParamsBody({{L"v", 7}}));
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(m_path.c_str(), &db), SQLITE_OK);
    sqlite3_stmt* statement = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db, "SELECT data FROM sections WHERE object='policy:p' AND section='86'", -1,
                                 &statement, nullptr),
              SQLITE_OK);
    ASSERT_EQ(sqlite3_step(statement), SQLITE_ROW);
    const std::string blob(static_cast<const char*>(sqlite3_column_blob(statement, 0)), sqlite3_column_bytes(statement, 0));
    sqlite3_finalize(statement);
    sqlite3_close(db);
    EXPECT_EQ(blob.rfind("<!--ZRPARBIN -->", 0), 0u);
}

TEST_F(StoreFile, AFileThatIsNotAStoreIsRefusedByNameAndKept)
{
    std::ofstream(m_path) << "this is a text file, not a database, and it is long enough to have a header ....";
    const std::string notStore = Refusal([&] { SettingsStore::Open(m_path); });
    EXPECT_NE(notStore.find("is not a settings store"), std::string::npos) << notStore;
    EXPECT_NE(notStore.find(m_path), std::string::npos);
    std::ifstream in(m_path);
    std::string kept((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(kept.rfind("this is a text file", 0), 0u);  // nothing lost
}

TEST_F(StoreFile, AReadOnlyFileIsRefusedForWritingAndStillReadable)
{
    {
        auto store = SettingsStore::Open(m_path);
        Put(*store, L"policy:p", L"86", ZRPAR::CreateParamsBody({{L"v", 1}}));
    }
    m_backend.Execute(m_path, "PRAGMA wal_checkpoint(TRUNCATE)");
    if (!MakeUnwritable(m_path)) GTEST_SKIP() << "this file system cannot make the file unwritable for this user";
    const std::string message = Refusal([&] { SettingsStore::Open(m_path); });
    EXPECT_NE(message.find("is read-only"), std::string::npos) << message;
    SettingsStore::Options options;
    options.readOnly = true;
    auto store = SettingsStore::Open(m_path, options);
    EXPECT_EQ(ZRPAR::GetIntValue(Get(*store, L"policy:p", L"86"), L"v"), 1);
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
