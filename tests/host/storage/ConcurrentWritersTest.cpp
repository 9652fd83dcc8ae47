// Two open data sources of one object, each with its own storage over one
// store, on each database behind the store.
#include <gtest/gtest.h>

#include <memory>

#include "host/storage/SettingsStore.h"
#include "support/StoreBackends.h"
#include "zrpar/Render.h"
#include "zrstd/Strings.h"

using host::SettingsStore;
using ZRPAR::CreateParamsBody;
using ZRSTD::CAutoPtr;

namespace {

template <typename Backend>
class ConcurrentWriters : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (const std::string why = Backend::Unavailable(); !why.empty()) GTEST_SKIP() << why;
        m_backend = std::make_unique<Backend>();
        m_store = SettingsStore::Open(m_backend->Location());
    }
    void TearDown() override { m_store = nullptr; }

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

    std::unique_ptr<Backend> m_backend;
    CAutoPtr<SettingsStore> m_store;
};

using Backends = ::testing::Types<testsupport::SqliteBackend, testsupport::PostgresBackend>;
TYPED_TEST_SUITE(ConcurrentWriters, Backends, testsupport::BackendNames);

CAutoPtr<ZRPAR::Params> Section(std::int32_t ssl, std::int32_t period, std::int32_t port)
{
    return CreateParamsBody({{L"UseSsl", ssl}, {L"ServerPingTimeout", period}, {L"Port", port}});
}

}  // namespace

TYPED_TEST(ConcurrentWriters, ASecondWriterMergesTheFirstOnesChangeAndKeepsMergingAfterwards)
{
    this->Replace(*this->Storage(), Section(1, 900, 15000));
    auto first = this->Storage();
    auto second = this->Storage();
    this->Read(*first);
    this->Read(*second);

    this->Replace(*first, Section(0, 900, 15000));
    this->Replace(*second, Section(1, 30, 15000));
    EXPECT_EQ(this->Stored(), ZRPAR::RenderText(*Section(0, 30, 15000)));
    // each goes on from what it wrote, never over the other's change
    this->Replace(*second, Section(1, 45, 15000));
    this->Replace(*first, Section(0, 900, 15001));
    EXPECT_EQ(this->Stored(), ZRPAR::RenderText(*Section(0, 45, 15001)));

    // a storage that never read the section writes what it is given
    this->Replace(*this->Storage(), Section(1, 1, 1));
    EXPECT_EQ(this->Stored(), ZRPAR::RenderText(*Section(1, 1, 1)));
}

TYPED_TEST(ConcurrentWriters, ASettingBothChangedIsRefusedByNameAndNothingIsWritten)
{
    this->Replace(*this->Storage(), Section(1, 900, 15000));
    auto first = this->Storage();
    auto second = this->Storage();
    this->Read(*first);
    this->Read(*second);
    this->Replace(*first, Section(1, 30, 15000));

    const std::string message = this->Refusal([&] { this->Replace(*second, Section(0, 45, 15000)); });
    for (const std::string& named : {std::string("\"1103/1.0.0.0/86\""), std::string("\"policy:P\""), this->m_store->Path(),
                                     std::string("both changed ServerPingTimeout;"), std::string("nothing was written")})
        EXPECT_NE(message.find(named), std::string::npos) << named << " is not in: " << message;
    EXPECT_EQ(this->Stored(), ZRPAR::RenderText(*Section(1, 30, 15000)));

    // read again, the change goes through
    this->Read(*second);
    this->Replace(*second, Section(0, 45, 15000));
    EXPECT_EQ(this->Stored(), ZRPAR::RenderText(*Section(0, 45, 15000)));
}

TYPED_TEST(ConcurrentWriters, UpdateMergesIntoWhatWasReadAndThenAsReplaceDoes)
{
    this->Replace(*this->Storage(), Section(1, 900, 15000));
    auto first = this->Storage();
    auto second = this->Storage();
    this->Read(*first);
    this->Read(*second);
    this->Replace(*first, Section(0, 900, 15000));
    second->Update(L"1103", L"1.0.0.0", L"86", CreateParamsBody({{L"ServerPingTimeout", 30}}).Get());
    EXPECT_EQ(this->Stored(), ZRPAR::RenderText(*Section(0, 30, 15000)));

    this->Read(*first);
    this->Replace(*first, Section(0, 45, 15000));
    this->Refusal([&] { second->Update(L"1103", L"1.0.0.0", L"86", CreateParamsBody({{L"ServerPingTimeout", 60}}).Get()); });
    EXPECT_EQ(this->Stored(), ZRPAR::RenderText(*Section(0, 45, 15000)));

    // without a read it merges into what is stored
    this->Storage()->Update(L"1103", L"1.0.0.0", L"86", CreateParamsBody({{L"Extra", 1}}).Get());
    EXPECT_EQ(this->Stored(), ZRPAR::RenderText(*CreateParamsBody(
                            {{L"UseSsl", 0}, {L"ServerPingTimeout", 45}, {L"Port", 15000}, {L"Extra", 1}})));
}

TYPED_TEST(ConcurrentWriters, ACreatedSectionIsStoredOnlyWithTheChangeThatFollowsIt)
{
    auto writer = this->Storage();
    auto reader = this->Storage();
    writer->CreateSection(L"1103", L"", L"");
    writer->CreateSection(L"1103", L"1.0.0.0", L"");
    writer->CreateSection(L"1103", L"1.0.0.0", L"86");
    EXPECT_THROW(writer->CreateSection(L"1103", L"1.0.0.0", L"86"), ZRERR::Error);
    ASSERT_TRUE(this->Read(*writer));
    EXPECT_EQ(this->Read(*writer)->GetSize(), 0u);
    ASSERT_TRUE(this->Read(*writer, L"1.0.0.0", L""));

    // no other reader sees an empty section or its levels
    EXPECT_FALSE(this->Read(*reader));
    EXPECT_FALSE(this->Read(*reader, L"1.0.0.0", L""));
    EXPECT_FALSE(this->Read(*reader, L"", L""));
    EXPECT_FALSE(this->m_store->HasObject(L"policy:P"));

    this->Replace(*writer, Section(1, 900, 15000));
    EXPECT_EQ(ZRPAR::RenderText(*this->Read(*reader)), ZRPAR::RenderText(*Section(1, 900, 15000)));
    EXPECT_EQ(this->Read(*reader, L"1.0.0.0", L"")->GetNames(), std::vector<std::wstring>{L"86"});

    // a change that fails takes the creations before it with it
    auto failing = this->Storage(L"policy:Q");
    failing->CreateSection(L"1103", L"", L"");
    failing->CreateSection(L"1103", L"1.0.0.0", L"86");
    EXPECT_THROW(failing->Replace(L"1103", L"1.0.0.0", L"", CreateParamsBody({{L"not a section", 1}}).Get()),
                 ZRERR::Error);
    EXPECT_FALSE(this->m_store->HasObject(L"policy:Q"));
}
