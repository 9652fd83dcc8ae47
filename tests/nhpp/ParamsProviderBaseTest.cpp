// The operations every provider shares, through a plain provider over a bare
// container (NHPP::CreateParams), the way pages use one for sub-dialogs.
#include "nhpp/ParamsProviderTask.h"

#include <gtest/gtest.h>

#include <limits>

using namespace NHPP;
using ZRSTD::CAutoPtr;

namespace {

CAutoPtr<CParams> Over(ZRPAR::Params* root)
{
    CAutoPtr<CParams> provider;
    EXPECT_EQ(CreateParams(&provider, root), kOk);
    return provider;
}

}  // namespace

TEST(ProviderBase, SectionsAndFullNames)
{
    auto provider = Over(nullptr);
    std::wstring text;
    provider->GetFullName(text, L"Key");
    EXPECT_EQ(text, L"Key");
    provider->SetSection(L"86");
    provider->GetFullName(text, L"Key");
    EXPECT_EQ(text, L"86\rKey");
    provider->GetFullName(text, L"");
    EXPECT_EQ(text, L"86");  // no trailing separator
    provider->EnterSection(L"Inner");
    provider->GetSection(text);
    EXPECT_EQ(text, L"86\rInner");
    provider->SetSection(nullptr);  // changes nothing
    provider->GetSection(text);
    EXPECT_EQ(text, L"86\rInner");
    provider->SetSection(L"");
    provider->GetFullName(text, L"Key");
    EXPECT_EQ(text, L"Key");  // no lone separator
    provider->SetSection(L"S");
    provider->ResetSection();
    provider->GetSection(text);
    EXPECT_EQ(text, L"");
}

TEST(ProviderBase, TypedWritesAndReadsOfEveryType)
{
    auto provider = Over(nullptr);
    provider->SetSection(L"86");
    ZRSTD::MemoryChunk bytes("\x01\x02", 2);
    auto array = ZRPAR::CreateArrayValue();
    array->Append(ZRPAR::CreateValue(15000).Get());
    EXPECT_EQ(provider->SetBool(L"b", true, false), kOk);
    EXPECT_EQ(provider->SetInt(L"i", -5, false), kOk);
    EXPECT_EQ(provider->SetInt(L"u", std::uint32_t{4000000000u}, false), kOk);
    EXPECT_EQ(provider->SetLong(L"l", std::int64_t{1} << 40, false), kOk);
    EXPECT_EQ(provider->SetString(L"s", std::wstring(L"текст"), false), kOk);
    EXPECT_EQ(provider->SetString(L"c", L"chars", false), kOk);
    EXPECT_EQ(provider->SetBinary(L"bin", &bytes, false), kOk);
    EXPECT_EQ(provider->SetArray(L"a", array.Get(), false), kOk);
    EXPECT_EQ(provider->SetParams(L"p", ZRPAR::CreateParamsBody({{L"x", 1}}).Get(), false), kOk);

    bool b = false;
    std::int32_t i = 0, u = 0;
    std::int64_t l = 0;
    std::wstring s;
    CString c;
    CAutoPtr<ZRSTD::MemoryChunk> chunk;
    CAutoPtr<ZRPAR::ArrayValue> readArray;
    CAutoPtr<ZRPAR::Params> nested;
    EXPECT_EQ(provider->GetBool(L"b", b, nullptr), kOk);
    EXPECT_EQ(provider->GetInt(L"i", i, nullptr), kOk);
    EXPECT_EQ(provider->GetInt(L"u", u, nullptr), kOk);
    EXPECT_EQ(provider->GetLong(L"l", l, nullptr), kOk);
    EXPECT_EQ(provider->GetString(L"s", s, nullptr), kOk);
    EXPECT_EQ(provider->GetString(L"c", c, nullptr), kOk);
    EXPECT_EQ(provider->GetBinary(L"bin", &chunk, nullptr), kOk);
    EXPECT_EQ(provider->GetArray(L"a", &readArray, nullptr), kOk);
    EXPECT_EQ(provider->GetParams(L"p", &nested, nullptr), kOk);
    EXPECT_TRUE(b);
    EXPECT_EQ(i, -5);
    EXPECT_EQ(static_cast<std::uint32_t>(u), 4000000000u);
    EXPECT_EQ(l, std::int64_t{1} << 40);
    EXPECT_EQ(s, L"текст");
    EXPECT_EQ(c, L"chars");
    EXPECT_EQ(chunk->Bytes(), (std::vector<std::uint8_t>{1, 2}));
    EXPECT_EQ(readArray.Get(), array.Get());  // the stored array itself
    EXPECT_EQ(ZRPAR::GetIntValue(nested, L"x"), 1);

    // the stored layout is plain: section container, then the values
    CAutoPtr<ZRPAR::Params> root;
    provider->GetRoot(&root);
    EXPECT_EQ(ZRPAR::GetParamsValue(root, L"86")->GetSize(), 9u);
}

TEST(ProviderBase, AbsentWrongTypeAndBadArgumentsGiveTheirCodes)
{
    auto provider = Over(ZRPAR::CreateParamsBody({{L"text", L"v"}, {L"plain", 5}}));
    std::int32_t value = 77;
    EXPECT_EQ(provider->GetInt(L"text", value, nullptr), kUnexpected);
    EXPECT_EQ(value, 77);  // untouched
    EXPECT_EQ(provider->GetInt(L"missing", value, nullptr), kFalse);
    EXPECT_EQ(provider->GetInt(L"missing\rdeeper", value, nullptr), kFalse);
    EXPECT_EQ(provider->GetInt(nullptr, value, nullptr), kInvalidArg);
    EXPECT_EQ(provider->GetBoolOrDefault(L"text", true, nullptr), true);
    EXPECT_EQ(provider->GetLongOrDefault(L"missing", 9, nullptr), 9);
    EXPECT_EQ(provider->GetIntOrDefault(L"plain", 9, nullptr), 5);
    std::wstring text;
    provider->GetStringOrDefault(text, L"plain", L"default", nullptr);
    EXPECT_EQ(text, L"default");

    // a write through a key whose middle part names a plain value changes nothing
    EXPECT_EQ(provider->SetInt(L"plain\rinner", 1, false), kFalse);
    EXPECT_EQ(provider->GetIntOrDefault(L"plain", 0, nullptr), 5);
    EXPECT_EQ(provider->SetString(L"x", static_cast<const wchar_t*>(nullptr), false), kInvalidArg);
    EXPECT_EQ(provider->SetBinary(L"x", static_cast<const ZRSTD::MemoryChunk*>(nullptr), false), kInvalidArg);
    EXPECT_EQ(provider->SetArray(L"x", nullptr, false), kInvalidArg);
    EXPECT_EQ(provider->SetParams(L"x", static_cast<CParams*>(nullptr), false), kOk);  // nothing to store
    EXPECT_EQ(provider->SetMandatory(L"x", true), kFalse);                              // policy only
}

TEST(ProviderBase, DateTimesGoThroughLocalCalendarTimeAndUnrepresentableOnesAreRefused)
{
    auto provider = Over(nullptr);
    const std::int64_t noon = 1700000000;
    EXPECT_EQ(provider->SetDateTime(L"t", &noon, false), kOk);
    std::int64_t read = 0;
    EXPECT_EQ(provider->GetDateTime(L"t", read, nullptr), kOk);
    EXPECT_EQ(read, noon);
    std::int32_t narrow = 0;
    EXPECT_EQ(provider->GetDateTime(L"t", narrow, nullptr), kOk);
    EXPECT_EQ(narrow, 1700000000);

    const std::int64_t absurd = std::numeric_limits<std::int64_t>::max();
    EXPECT_EQ(provider->SetDateTime(L"bad", &absurd, false), kFail);
    EXPECT_EQ(provider->GetDateTime(L"bad", read, nullptr), kFalse);  // nothing stored
    EXPECT_EQ(provider->SetDateTime(L"null", static_cast<const std::int64_t*>(nullptr), false), kInvalidArg);

    const std::int64_t far = std::int64_t{1} << 40;  // valid, but beyond 32 bits
    EXPECT_EQ(provider->SetDateTime(L"far", &far, false), kOk);
    EXPECT_EQ(provider->GetDateTime(L"far", narrow, nullptr), kFail);
}

TEST(ProviderBase, ArraysAreEditedInPlace)
{
    auto provider = Over(nullptr);
    EXPECT_EQ(provider->PushbackArrayItem(L"ports", 15000, nullptr), kOk);  // an absent array is created
    std::size_t size = 0;
    EXPECT_EQ(provider->GetArraySize(L"ports", size), kOk);
    EXPECT_EQ(size, 1u);
    provider->PushbackArrayItem(L"ports", 15001, nullptr);
    provider->PushbackArrayItem(L"ports", 15002, nullptr);
    EXPECT_EQ(provider->ReplaceArrayItem(L"ports", 1, 25001), kOk);
    EXPECT_EQ(provider->RemoveArrayItem(L"ports", 3), kOk);  // index equal to the size: nothing
    EXPECT_EQ(provider->RemoveArrayItem(L"ports", 0), kOk);
    std::int32_t first = 0, second = 0;
    provider->GetArraySize(L"ports", size);
    EXPECT_EQ(size, 2u);
    EXPECT_EQ(provider->GetArrayItem(L"ports", 0, first), kOk);
    EXPECT_EQ(provider->GetArrayItem(L"ports", 1, second), kOk);
    EXPECT_EQ(first, 25001);
    EXPECT_EQ(second, 15002);
    EXPECT_EQ(provider->GetArrayItem(L"ports", 2, first), kFalse);
    std::wstring text;
    EXPECT_EQ(provider->GetArrayItem(L"ports", 0, text), kUnexpected);

    provider->PushbackArrayItem(L"paths", std::wstring(L"%SystemRoot%"), nullptr);
    CString path;
    EXPECT_EQ(provider->GetArrayItem(L"paths", 0, path), kOk);
    EXPECT_EQ(path, L"%SystemRoot%");

    CAutoPtr<CParams> interval;
    CreateParams(&interval);
    interval->SetInt(L"CMNG_HOUR", 8, false);
    EXPECT_EQ(provider->PushbackArrayItem(L"schedule", interval.Get(), nullptr), kOk);
    CAutoPtr<CParams> item;
    ASSERT_EQ(provider->GetArrayItem(L"schedule", 0, &item), kOk);
    item->SetInt(L"CMNG_MINS", 30, false);  // the child shares the item
    CAutoPtr<ZRPAR::ArrayValue> schedule;
    provider->GetArray(L"schedule", &schedule, nullptr);
    EXPECT_EQ(ZRPAR::GetIntValue(static_cast<ZRPAR::ParamsValue*>(schedule->ItemAt(0))->GetValue(), L"CMNG_MINS"), 30);
}

TEST(ProviderBase, ChildrenShareOrCopyTheDataAsTheirKindSays)
{
    auto provider = Over(ZRPAR::CreateParamsBody({{L"S", ZRPAR::CreateParamsBody({{L"v", 1}})}}));

    CAutoPtr<CParams> child;
    ASSERT_EQ(provider->GetParamsProvider(L"S", &child, nullptr), kOk);
    child->SetInt(L"v", 2, false);
    EXPECT_EQ(provider->GetIntOrDefault(L"S\rv", 0, nullptr), 2);  // lands in the parent

    CAutoPtr<CParams> duplicate;
    provider->Duplicate(&duplicate);
    duplicate->SetInt(L"S\rv", 3, false);
    EXPECT_EQ(provider->GetIntOrDefault(L"S\rv", 0, nullptr), 3);  // shares the root

    CAutoPtr<CParams> copy;
    provider->CloneParams(&copy);
    copy->SetInt(L"S\rv", 4, false);
    EXPECT_EQ(provider->GetIntOrDefault(L"S\rv", 0, nullptr), 3);  // owns a copy
    EXPECT_EQ(copy->GetIntOrDefault(L"S\rv", 0, nullptr), 4);

    CAutoPtr<CParams> section;
    ASSERT_EQ(provider->Clone(&section, L"S", false), kOk);
    EXPECT_EQ(section->GetIntOrDefault(L"v", 0, nullptr), 3);  // the section is the clone's root
    section->SetInt(L"v", 5, false);
    EXPECT_EQ(provider->GetIntOrDefault(L"S\rv", 0, nullptr), 3);

    CAutoPtr<CParams> withPath;
    ASSERT_EQ(provider->Clone(&withPath, L"S", true), kOk);
    EXPECT_EQ(withPath->GetIntOrDefault(L"v", 0, nullptr), 3);  // its section is the key
    std::wstring sectionName;
    withPath->GetSection(sectionName);
    EXPECT_EQ(sectionName, L"S");

    CAutoPtr<CParams> missing;
    EXPECT_EQ(provider->Clone(&missing, L"Nowhere", false), kFalse);
    EXPECT_FALSE(missing);
    EXPECT_EQ(provider->Clone(&missing, nullptr, false), kInvalidArg);
}

TEST(ProviderBase, ReplaceRootKeepsTheRootsIdentityForEverySharer)
{
    auto provider = Over(ZRPAR::CreateParamsBody({{L"old", 1}}));
    CAutoPtr<CParams> sharer;
    provider->Duplicate(&sharer);
    CAutoPtr<ZRPAR::Params> before;
    provider->GetRoot(&before);

    EXPECT_EQ(provider->ReplaceRoot(ZRPAR::CreateParamsBody({{L"new", 2}}).Get()), kOk);
    CAutoPtr<ZRPAR::Params> after;
    provider->GetRoot(&after);
    EXPECT_EQ(after.Get(), before.Get());
    EXPECT_EQ(sharer->GetIntOrDefault(L"new", 0, nullptr), 2);
    EXPECT_EQ(sharer->GetIntOrDefault(L"old", 0, nullptr), 0);
    EXPECT_EQ(provider->ReplaceRoot(static_cast<CParams*>(nullptr)), kFail);
}

TEST(ProviderBase, NamesSizesAndRemoval)
{
    auto provider = Over(ZRPAR::CreateParamsBody({{L"S", ZRPAR::CreateParamsBody({{L"a", 1}, {L"b", 2}})}}));
    std::vector<std::wstring> names;
    EXPECT_EQ(provider->GetNames(L"S", names), kOk);
    EXPECT_EQ(names, (std::vector<std::wstring>{L"a", L"b"}));
    std::size_t count = 0;
    EXPECT_EQ(provider->GetSize(L"", count), kOk);
    EXPECT_EQ(count, 1u);
    EXPECT_EQ(provider->Remove(L"S\ra"), kOk);
    EXPECT_EQ(provider->GetSize(L"S", count), kOk);
    EXPECT_EQ(count, 1u);
    EXPECT_EQ(provider->Remove(L"S\ra"), kFalse);
    EXPECT_NE(provider->GetNames(L"Nowhere", names), kOk);
    EXPECT_TRUE(names.empty());
}
