#include "ui/Registry.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

const std::wstring kKey = L"Software\\BrenvikLab\\Components\\34";

class Registry : public ::testing::Test {
protected:
    void SetUp() override { ui::ResetRegistry(); }
    void TearDown() override { ui::ResetRegistry(); }
};

}  // namespace

TEST_F(Registry, KeysHoldTypedValuesAndAreCaseInsensitive)
{
    EXPECT_TRUE(ui::RegistrySetDword(HKEY_CURRENT_USER, kKey, L"UseOnlineHelp", 0));
    DWORD value = 7;
    EXPECT_TRUE(ui::RegistryGetDword(HKEY_CURRENT_USER, L"software\\brenviklab\\COMPONENTS\\34", L"useonlinehelp", value));
    EXPECT_EQ(value, 0u);
    EXPECT_FALSE(ui::RegistryGetDword(HKEY_LOCAL_MACHINE, kKey, L"UseOnlineHelp", value));  // another root

    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kKey + L"\\Wnds\\ngt\\ip_scan_entry", KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
    const std::uint8_t blob[] = {1, 2, 3, 4, 5, 6, 7, 8};
    EXPECT_EQ(RegSetValueExW(key, L"state", REG_BINARY, blob, sizeof blob), ERROR_SUCCESS);
    DWORD type = 0;
    std::vector<std::uint8_t> data;
    EXPECT_EQ(RegQueryValueExW(key, L"state", &type, &data), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_BINARY);
    EXPECT_EQ(data, std::vector<std::uint8_t>(blob, blob + 8));
    EXPECT_EQ(RegQueryValueExW(key, L"missing", &type, &data), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegDeleteValueW(key, L"state"), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);

    EXPECT_EQ(RegEnumKeys(HKEY_CURRENT_USER, kKey), (std::vector<std::wstring>{L"Wnds"}));
    HKEY missing = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Nowhere", KEY_READ, &missing), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegDeleteTreeW(HKEY_CURRENT_USER, kKey + L"\\Wnds"), ERROR_SUCCESS);
    EXPECT_TRUE(RegEnumKeys(HKEY_CURRENT_USER, kKey).empty());
}

TEST_F(Registry, AFileKeepsTheRegistryAcrossRunsAndABadFileIsRefused)
{
    const std::string path = (std::filesystem::path(::testing::TempDir()) / "registry.json").string();
    std::filesystem::remove(path);
    ASSERT_TRUE(ui::SetRegistryFile(path));
    ui::RegistrySetString(HKEY_CURRENT_USER, kKey, L"Name", L"значение");
    ui::ResetRegistry();
    std::wstring read;
    EXPECT_FALSE(ui::RegistryGetString(HKEY_CURRENT_USER, kKey, L"Name", read));
    ASSERT_TRUE(ui::SetRegistryFile(path));
    EXPECT_TRUE(ui::RegistryGetString(HKEY_CURRENT_USER, kKey, L"Name", read));
    EXPECT_EQ(read, L"значение");

    std::ofstream(path) << "{ not json";
    std::string problem;
    EXPECT_FALSE(ui::SetRegistryFile(path, &problem));
    EXPECT_NE(problem.find(path), std::string::npos);
    std::filesystem::remove(path);
}

TEST_F(Registry, AFileThatCannotBeRewrittenRefusesTheChangeAndLeavesNothingBesideIt)
{
    const auto folder = std::filesystem::path(::testing::TempDir()) / ("registry-" + std::to_string(::getpid()));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const auto path = folder / "registry.json";
    ASSERT_TRUE(ui::SetRegistryFile(path.string()));
    std::filesystem::remove(path);
    std::filesystem::create_directory(path);  // the name is taken: no rename can replace it

    EXPECT_FALSE(ui::RegistrySetString(HKEY_CURRENT_USER, kKey, L"Name", L"value"));
    std::vector<std::string> contents;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) contents.push_back(entry.path().filename());
    EXPECT_EQ(contents, std::vector<std::string>{"registry.json"});
    std::string problem;
    EXPECT_FALSE(ui::SetRegistryFile((folder / "missing" / "registry.json").string(), &problem));
    EXPECT_NE(problem.find("cannot create a temporary file beside"), std::string::npos) << problem;
    ui::SetRegistryFile("");
    std::filesystem::remove_all(folder);
}
