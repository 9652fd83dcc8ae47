// Copying a store into another of either database, and telling two stores apart.
#include "host/storage/StoreCopy.h"

#include <gtest/gtest.h>

#include "support/StoreBackends.h"

using host::SettingsStore;

namespace {

template <typename Backend>
class StoreCopy : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (const std::string why = Backend::Unavailable(); !why.empty()) GTEST_SKIP() << why;
        m_source = SettingsStore::Open(m_files.Location("source"));
        m_backend = std::make_unique<Backend>();
        m_targetLocation = m_backend->Location("target");
        m_target = SettingsStore::Open(m_targetLocation);
    }
    void Fill()
    {
        m_source->PutCatalogueEntry(L"policy:P", L"policy", nullptr);
        m_source->PutCatalogueEntry(L"host:h", L"host", ZRPAR::CreateParamsBody({{L"policy", L"P"}, {L"type", 2}}).Get());
        auto policy = m_source->ObjectStorage(L"policy:P");
        policy->Replace(L"1103", L"1.0.0.0", L"86", ZRPAR::CreateParamsBody({{L"UseSsl", true}, {L"Port", 15000}}).Get());
        policy->Replace(L"1103", L"1.0.0.0", L"ZREVP_NF_SECTION", ZRPAR::CreateParamsBody({{L"Имя", L"значение"}}).Get());
        // sections without a catalogue entry, under another product
        m_source->ObjectStorage(L"task:t")->Replace(L".core", L".independent", L"TASK_PARAMS",
                                                    ZRPAR::CreateParamsBody({{L"n", 1}}).Get());
        m_source->SetConfig(L"functionality", L"0x44");
        m_source->SetConfig(L"data_protection_key_id", L"abc");
    }

    testsupport::SqliteBackend m_files;
    std::unique_ptr<Backend> m_backend;
    std::string m_targetLocation;
    ZRSTD::CAutoPtr<SettingsStore> m_source, m_target;
};

using Backends = ::testing::Types<testsupport::SqliteBackend, testsupport::PostgresBackend>;
TYPED_TEST_SUITE(StoreCopy, Backends, testsupport::BackendNames);

}  // namespace

TYPED_TEST(StoreCopy, EverythingArrivesAndIsCounted)
{
    this->Fill();
    const host::StoreCopyCounts counts = host::CopySettingsStore(*this->m_source, *this->m_target);
    EXPECT_EQ(counts.objects, 3u);
    EXPECT_EQ(counts.catalogueEntries, 3u);  // the task's is the one its name gives
    EXPECT_EQ(counts.sections, 3u);
    EXPECT_EQ(counts.configurationValues, 2u);
    EXPECT_EQ(host::CompareSettingsStores(*this->m_source, *this->m_target), std::vector<std::string>{});
    EXPECT_EQ(this->m_target->ListSections(L"task:t"),
              (std::vector<host::SectionKey>{{L".core", L".independent", L"TASK_PARAMS"}}));
    EXPECT_TRUE(this->m_target->IntegrityProblems().empty());
}

TYPED_TEST(StoreCopy, EveryDifferenceBetweenTwoStoresIsNamed)
{
    this->Fill();
    const struct {
        std::string tamper;
        std::string named;
    } cases[] = {
        {"UPDATE sections SET data=(SELECT data FROM sections WHERE section='TASK_PARAMS') WHERE section='86'",
         "the section \"policy:P\" 1103/1.0.0.0/86 differs"},
        {"DELETE FROM sections WHERE section='ZREVP_NF_SECTION'", "\"policy:P\" has other sections"},
        {"UPDATE objects SET kind='host' WHERE name='policy:P'", "the catalogue entry of \"policy:P\" differs"},
        {"UPDATE objects SET attributes=(SELECT attributes FROM objects WHERE name='policy:P') WHERE name='host:h'",
         "the catalogue entry of \"host:h\" differs"},
        {"DELETE FROM objects WHERE name='host:h'", "\"host:h\" is missing"},
        {"DELETE FROM objects WHERE name='host:h'", "3 objects against 2"},
        {"UPDATE console SET value='0x4' WHERE key='functionality'", "the configuration value \"functionality\" differs"},
        {"INSERT INTO console(key, value) VALUES ('extra', '1')", "2 configuration values against 3"},
    };
    for (const auto& c : cases) {
        this->m_target->Clear();
        host::CopySettingsStore(*this->m_source, *this->m_target);
        ASSERT_TRUE(host::CompareSettingsStores(*this->m_source, *this->m_target).empty());
        this->m_backend->Execute(this->m_targetLocation, c.tamper);
        const auto differences = host::CompareSettingsStores(*this->m_source, *this->m_target);
        EXPECT_NE(std::find(differences.begin(), differences.end(), c.named), differences.end())
            << c.tamper << " is not told: " << ::testing::PrintToString(differences);
    }
}

TYPED_TEST(StoreCopy, ACopyThatFailsLeavesTheTargetAsItWas)
{
    this->Fill();
    this->m_target->SetConfig(L"kept", L"1");
    // a damaged section of the source stops the copy halfway
    this->m_files.Execute(this->m_source->Path(), "UPDATE sections SET data=x'00' WHERE section='TASK_PARAMS'");
    EXPECT_THROW(host::CopySettingsStore(*this->m_source, *this->m_target), ZRERR::Error);
    EXPECT_TRUE(this->m_target->ListObjects().empty());
    EXPECT_EQ(this->m_target->ListConfig(), (std::vector<std::pair<std::wstring, std::wstring>>{{L"kept", L"1"}}));
}
