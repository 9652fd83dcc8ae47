#include "ui/Resources.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

TEST(Resources, StringsComeFromTheResourceModuleFirstThenTheOwnModule)
{
    ui::ResourceModule own(L"own");
    own.AddString(1, L"Агент администрирования");
    own.AddString(2582, L"0");
    ui::ResourceModule localization(L"localization");
    localization.AddString(2582, L"1");
    {
        ui::ModuleStateScope scope({&own, &localization});
        EXPECT_EQ(ui::LoadStringW(2582), L"1");
        EXPECT_EQ(ui::LoadStringW(1), L"Агент администрирования");
        EXPECT_EQ(ui::LoadStringW(9999), L"");
        EXPECT_FALSE(ui::HasString(9999));
        {
            ui::ModuleStateScope inner({&own, nullptr});
            EXPECT_EQ(ui::LoadStringW(2582), L"0");
        }
        EXPECT_EQ(ui::LoadStringW(2582), L"1");  // restored on leaving
    }
    EXPECT_EQ(ui::LoadStringW(1), L"");
}

TEST(Resources, StringTableFilesUnescapeAndSkipMalformedLines)
{
    ui::ResourceModule module(L"m");
    std::vector<std::wstring> problems;
    ui::ParseStringTable("\xEF\xBB\xBF# comment\n5902\t%1help\\\\%2.htm\r\n5880\ta\\nb\\tc\n\nbad line\n12x\tno\n7\t\n",
                         module, problems);
    EXPECT_EQ(*module.FindString(5902), L"%1help\\%2.htm");
    EXPECT_EQ(*module.FindString(5880), L"a\nb\tc");
    EXPECT_EQ(*module.FindString(7), L"");
    EXPECT_EQ(module.StringCount(), 3u);
    EXPECT_EQ(problems, (std::vector<std::wstring>{L"line 5: expected \"id<TAB>text\"",
                                                   L"line 6: expected \"id<TAB>text\""}));

    const auto path = std::filesystem::path(::testing::TempDir()) / "zrngtplgloc.dll";
    std::ofstream(path) << "2582\t1\n";
    const auto loaded = ui::LoadResourceModuleFile(path.string());
    ASSERT_TRUE(loaded);
    EXPECT_EQ(*loaded->FindString(2582), L"1");
    std::filesystem::remove(path);
    EXPECT_FALSE(ui::LoadResourceModuleFile(path.string()));
}
