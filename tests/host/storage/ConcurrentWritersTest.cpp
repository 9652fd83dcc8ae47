// Two open data sources of one object, each with its own storage over one store.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <filesystem>

#include "host/storage/SettingsStore.h"
#include "zrpar/Render.h"
#include "zrstd/Strings.h"

namespace fs = std::filesystem;
using host::SettingsStore;
using ZRPAR::CreateParamsBody;
using ZRSTD::CAutoPtr;

namespace {

class ConcurrentWriters : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_path = fs::path(::testing::TempDir()) / ("writers-" + std::to_string(::getpid()) + "-" +
                                                   ::testing::UnitTest::GetInstance()->current_test_info()->name() +
                                                   ".db");
        fs::remove(m_path);
        m_store = SettingsStore::Open(m_path.string());
    }
    void TearDown() override
    {
        m_store = nullptr;
        for (const char* suffix : {"", "-wal", "-shm"}) fs::remove(m_path.string() + suffix);
    }

    CAutoPtr<ZRPlugin::SettingsStorage> Storage(const wchar_t* object = L"policy:P")
    {
        return m_store->ObjectStorage(object);
    }
    static CAutoPtr<ZRPAR::Params> Read(ZRPlugin::SettingsStorage& storage, const wchar_t* version = L"1.0.0.0",
                                        const wchar_t* section = L"86")
    {
        CAutoPtr<ZRPAR::Params> read;
        storage.Read(L"1103", version, section, &read);
        return read;
    }
    static void Replace(ZRPlugin::SettingsStorage& storage, const CAutoPtr<ZRPAR::Params>& params)
    {
        storage.Replace(L"1103", L"1.0.0.0", L"86", params.Get());
    }
    std::string Stored() { return ZRPAR::RenderText(*Read(*Storage())); }
    // The message of the concurrent change action raises.
    static std::string Refusal(const std::function<void()>& action)
    {
        try {
            action();
        } catch (const ZRERR::Error& error) {
            EXPECT_EQ(error.GetCode(), host::SectionStorage::kConcurrentChange);
            EXPECT_TRUE(error.IsLocalized());
            return ZRSTD::ToUtf8(error.GetMessage());
        }
        ADD_FAILURE() << "the change was not refused";
        return {};
    }

    fs::path m_path;
    CAutoPtr<SettingsStore> m_store;
};

CAutoPtr<ZRPAR::Params> Section(std::int32_t ssl, std::int32_t period, std::int32_t port)
{
    return CreateParamsBody({{L"UseSsl", ssl}, {L"ServerPingTimeout", period}, {L"Port", port}});
}

}  // namespace

TEST_F(ConcurrentWriters, ASecondWriterMergesTheFirstOnesChangeAndKeepsMergingAfterwards)
{
    Replace(*Storage(), Section(1, 900, 15000));
    auto first = Storage();
    auto second = Storage();
    Read(*first);
    Read(*second);

    Replace(*first, Section(0, 900, 15000));
    Replace(*second, Section(1, 30, 15000));
    EXPECT_EQ(Stored(), ZRPAR::RenderText(*Section(0, 30, 15000)));
    // each goes on from what it wrote, never over the other's change
    Replace(*second, Section(1, 45, 15000));
    Replace(*first, Section(0, 900, 15001));
    EXPECT_EQ(Stored(), ZRPAR::RenderText(*Section(0, 45, 15001)));

    // a storage that never read the section writes what it is given
    Replace(*Storage(), Section(1, 1, 1));
    EXPECT_EQ(Stored(), ZRPAR::RenderText(*Section(1, 1, 1)));
}

TEST_F(ConcurrentWriters, ASettingBothChangedIsRefusedByNameAndNothingIsWritten)
{
    Replace(*Storage(), Section(1, 900, 15000));
    auto first = Storage();
    auto second = Storage();
    Read(*first);
    Read(*second);
    Replace(*first, Section(1, 30, 15000));

    const std::string message = Refusal([&] { Replace(*second, Section(0, 45, 15000)); });
    for (const std::string& named : {std::string("\"1103/1.0.0.0/86\""), std::string("\"policy:P\""), m_path.string(),
                                     std::string("both changed ServerPingTimeout;"), std::string("nothing was written")})
        EXPECT_NE(message.find(named), std::string::npos) << named << " is not in: " << message;
    EXPECT_EQ(Stored(), ZRPAR::RenderText(*Section(1, 30, 15000)));

    // read again, the change goes through
    Read(*second);
    Replace(*second, Section(0, 45, 15000));
    EXPECT_EQ(Stored(), ZRPAR::RenderText(*Section(0, 45, 15000)));
}

TEST_F(ConcurrentWriters, UpdateMergesIntoWhatWasReadAndThenAsReplaceDoes)
{
    Replace(*Storage(), Section(1, 900, 15000));
    auto first = Storage();
    auto second = Storage();
    Read(*first);
    Read(*second);
    Replace(*first, Section(0, 900, 15000));
    second->Update(L"1103", L"1.0.0.0", L"86", CreateParamsBody({{L"ServerPingTimeout", 30}}).Get());
    EXPECT_EQ(Stored(), ZRPAR::RenderText(*Section(0, 30, 15000)));

    Read(*first);
    Replace(*first, Section(0, 45, 15000));
    Refusal([&] { second->Update(L"1103", L"1.0.0.0", L"86", CreateParamsBody({{L"ServerPingTimeout", 60}}).Get()); });
    EXPECT_EQ(Stored(), ZRPAR::RenderText(*Section(0, 45, 15000)));

    // without a read it merges into what is stored
    Storage()->Update(L"1103", L"1.0.0.0", L"86", CreateParamsBody({{L"Extra", 1}}).Get());
    EXPECT_EQ(Stored(), ZRPAR::RenderText(*CreateParamsBody(
                            {{L"UseSsl", 0}, {L"ServerPingTimeout", 45}, {L"Port", 15000}, {L"Extra", 1}})));
}

TEST_F(ConcurrentWriters, ACreatedSectionIsStoredOnlyWithTheChangeThatFollowsIt)
{
    auto writer = Storage();
    auto reader = Storage();
    writer->CreateSection(L"1103", L"", L"");
    writer->CreateSection(L"1103", L"1.0.0.0", L"");
    writer->CreateSection(L"1103", L"1.0.0.0", L"86");
    EXPECT_THROW(writer->CreateSection(L"1103", L"1.0.0.0", L"86"), ZRERR::Error);
    ASSERT_TRUE(Read(*writer));
    EXPECT_EQ(Read(*writer)->GetSize(), 0u);
    ASSERT_TRUE(Read(*writer, L"1.0.0.0", L""));

    // no other reader sees an empty section or its levels
    EXPECT_FALSE(Read(*reader));
    EXPECT_FALSE(Read(*reader, L"1.0.0.0", L""));
    EXPECT_FALSE(Read(*reader, L"", L""));
    EXPECT_FALSE(m_store->HasObject(L"policy:P"));

    Replace(*writer, Section(1, 900, 15000));
    EXPECT_EQ(ZRPAR::RenderText(*Read(*reader)), ZRPAR::RenderText(*Section(1, 900, 15000)));
    EXPECT_EQ(Read(*reader, L"1.0.0.0", L"")->GetNames(), std::vector<std::wstring>{L"86"});

    // a change that fails takes the creations before it with it
    auto failing = Storage(L"policy:Q");
    failing->CreateSection(L"1103", L"", L"");
    failing->CreateSection(L"1103", L"1.0.0.0", L"86");
    EXPECT_THROW(failing->Replace(L"1103", L"1.0.0.0", L"", CreateParamsBody({{L"not a section", 1}}).Get()),
                 ZRERR::Error);
    EXPECT_FALSE(m_store->HasObject(L"policy:Q"));
}
