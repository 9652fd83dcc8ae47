#include "host/storage/SectionStorage.h"

#include <gtest/gtest.h>

using ZRSTD::CAutoPtr;

namespace {

CAutoPtr<ZRPAR::Params> Read(ZRPlugin::SettingsStorage& storage, const wchar_t* version, const wchar_t* section)
{
    CAutoPtr<ZRPAR::Params> params;
    storage.Read(L"1103", version, section, &params);
    return params;
}

long RaisedCode(const std::function<void()>& action)
{
    try {
        action();
    } catch (const ZRERR::Error& error) {
        return error.GetCode();
    }
    return 0;
}

}  // namespace

TEST(SectionStorage, SectionsLevelsAndTheExistsError)
{
    auto storage = host::CreateMemorySettingsStorage();
    EXPECT_FALSE(Read(*storage, L"1.0.0.0", L"86"));
    storage->CreateSection(L"1103", L"", L"");
    storage->CreateSection(L"1103", L"1.0.0.0", L"");
    storage->CreateSection(L"1103", L"1.0.0.0", L"86");
    EXPECT_EQ(RaisedCode([&] { storage->CreateSection(L"1103", L"1.0.0.0", L"86"); }), 1124);
    EXPECT_EQ(RaisedCode([&] { storage->CreateSection(L"1103", L"", L""); }), 1124);
    ASSERT_TRUE(Read(*storage, L"1.0.0.0", L"86"));
    EXPECT_EQ(Read(*storage, L"1.0.0.0", L"86")->GetSize(), 0u);

    storage->Replace(L"1103", L"1.0.0.0", L"NGTINSTALLERDATA", ZRPAR::CreateParamsBody({{L"k", 1}}));
    const auto version = Read(*storage, L"1.0.0.0", L"");
    ASSERT_TRUE(version);
    EXPECT_EQ(version->GetNames(), (std::vector<std::wstring>{L"86", L"NGTINSTALLERDATA"}));
    const auto product = Read(*storage, L"", L"");
    EXPECT_EQ(product->GetNames(), (std::vector<std::wstring>{L"1.0.0.0"}));
    EXPECT_EQ(RaisedCode([&] { storage->CreateSection(L"", L"", L""); }), 0x2002);
    EXPECT_EQ(RaisedCode([&] { storage->CreateSection(L"1103", L"", L"86"); }), 0x2002);
}

TEST(SectionStorage, ReadsAreCopiesReplaceReplacesAndUpdateMerges)
{
    auto storage = host::CreateMemorySettingsStorage();
    storage->Replace(L"1103", L"1.0.0.0", L"86",
                     ZRPAR::CreateParamsBody({{L"keep", 1}, {L"nested", ZRPAR::CreateParamsBody({{L"a", 1}})}}));
    auto read = Read(*storage, L"1.0.0.0", L"86");
    read->ReplaceValue(L"keep", ZRPAR::CreateValue(99).Get());
    EXPECT_EQ(ZRPAR::GetIntValue(Read(*storage, L"1.0.0.0", L"86"), L"keep"), 1);  // the read was a copy

    storage->Update(L"1103", L"1.0.0.0", L"86",
                    ZRPAR::CreateParamsBody({{L"nested", ZRPAR::CreateParamsBody({{L"b", 2}})}, {L"new", true}}));
    auto merged = Read(*storage, L"1.0.0.0", L"86");
    EXPECT_EQ(merged->GetNames(), (std::vector<std::wstring>{L"keep", L"nested", L"new"}));
    EXPECT_EQ(ZRPAR::GetParamsValue(merged, L"nested")->GetNames(), (std::vector<std::wstring>{L"a", L"b"}));

    storage->Replace(L"1103", L"1.0.0.0", L"86", ZRPAR::CreateParamsBody({{L"only", 1}}));
    EXPECT_EQ(Read(*storage, L"1.0.0.0", L"86")->GetNames(), (std::vector<std::wstring>{L"only"}));

    // replacing a version level makes its sections the container's entries
    storage->Replace(L"1103", L"1.0.0.0", L"",
                     ZRPAR::CreateParamsBody({{L"A", ZRPAR::CreateParams()}, {L"B", ZRPAR::CreateParamsBody({{L"x", 1}})}}));
    EXPECT_EQ(Read(*storage, L"1.0.0.0", L"")->GetNames(), (std::vector<std::wstring>{L"A", L"B"}));
    EXPECT_FALSE(Read(*storage, L"1.0.0.0", L"86"));
    // and a level that holds a value that is not a section changes nothing
    EXPECT_NE(RaisedCode([&] {
        storage->Replace(L"1103", L"1.0.0.0", L"", ZRPAR::CreateParamsBody({{L"C", ZRPAR::CreateParams()}, {L"bad", 1}}));
    }), 0);
    EXPECT_EQ(Read(*storage, L"1.0.0.0", L"")->GetNames(), (std::vector<std::wstring>{L"A", L"B"}));
}
