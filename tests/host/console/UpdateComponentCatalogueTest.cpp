#include "host/console/UpdateComponentCatalogue.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "zrstd/Error.h"
#include "zrstd/Strings.h"

namespace fs = std::filesystem;

namespace {

class UpdateCatalogue : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_directory = fs::path(::testing::TempDir()) / ("catalogue-" + std::to_string(::getpid()));
        fs::remove_all(m_directory);
        fs::create_directories(m_directory);
        store = host::SettingsStore::Open((m_directory / "console.db").string());
    }
    void TearDown() override { fs::remove_all(m_directory); }

    ZRSTD::CAutoPtr<host::SettingsStore> store;

private:
    fs::path m_directory;
};

TEST_F(UpdateCatalogue, AStoreWithoutOneHasTheStarterAndKeepsWhatIsWritten)
{
    EXPECT_EQ(host::ReadUpdateComponents(*store), host::StarterUpdateComponents());
    const std::vector<host::UpdateComponent> own = {{L"1103", L"NAGENT_PATCHES", L"Патчи \"агента\"", L"описание", L""},
                                                    {L"2000", L"X", L"", L"", L"1103"}};
    host::WriteUpdateComponents(*store, own);
    EXPECT_EQ(host::ReadUpdateComponents(*store), own);
    const auto params = host::UpdateCatalogueParams(own);
    const auto records = ZRPAR::GetArrayValue(params, L"ZRUpdates");
    ASSERT_EQ(records->GetSize(), 2u);
    const auto* second = static_cast<ZRPAR::ParamsValue*>(records->ItemAt(1))->GetValue();
    EXPECT_EQ(ZRPAR::GetStringValue(second, L"AppSuperId"), L"1103");
    EXPECT_EQ(ZRPAR::GetStringValue(second, L"CompId"), L"X");
}

TEST_F(UpdateCatalogue, AnUnreadableStoredCatalogueIsRefusedByName)
{
    for (const wchar_t* stored : {L"{", L"{\"a\": 1}", L"[1]", L"[{\"CompId\": 5}]", L"[{\"Name\": \"no id\"}]"}) {
        store->SetConfig(host::kUpdateComponentsConfig, stored);
        try {
            host::ReadUpdateComponents(*store);
            ADD_FAILURE() << "accepted " << ZRSTD::ToUtf8(stored);
        } catch (const ZRERR::Error& error) {
            EXPECT_NE(error.GetMessage().find(L"update_components"), std::wstring::npos);
        }
    }
}

}  // namespace
