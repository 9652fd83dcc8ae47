#include "zrpar/Params.h"

#include <gtest/gtest.h>

#include "support/Errors.h"

using namespace ZRPAR;
using testsupport::Raised;

TEST(Params, NamesKeepInsertionOrderAndAReplacedValueKeepsItsPlace)
{
    auto params = CreateParamsBody({{L"zeta", 1}, {L"alpha", 2}, {L"mid", 3}});
    params->ReplaceValue(L"alpha", CreateValue(20).Get());
    params->ReplaceValue(L"new", CreateValue(true).Get());
    EXPECT_EQ(params->GetNames(), (std::vector<std::wstring>{L"zeta", L"alpha", L"mid", L"new"}));
    EXPECT_EQ(GetIntValue(params, L"alpha"), 20);

    EXPECT_TRUE(params->DeleteValue(L"zeta"));
    EXPECT_FALSE(params->DeleteValue(L"zeta"));
    EXPECT_EQ(params->GetNames(), (std::vector<std::wstring>{L"alpha", L"mid", L"new"}));
    // lookups still find every value after the positions moved
    EXPECT_EQ(GetIntValue(params, L"mid"), 3);
    EXPECT_TRUE(GetBoolValue(params, L"new"));
    EXPECT_EQ(params->GetSize(), 3u);
}

TEST(Params, AbsentWrongTypeAndDuplicateNamesRaiseTheirCodes)
{
    auto params = CreateParamsBody({{L"text", L"value"}});
    const auto absent = Raised([&] { params->GetValue(L"missing"); });
    EXPECT_EQ(absent.GetModule(), "ZRSTD");
    EXPECT_EQ(absent.GetCode(), kAbsent);

    const auto wrongType = Raised([&] { GetIntValue(params, L"text"); });
    EXPECT_EQ(wrongType.GetModule(), "ZRPAR");
    EXPECT_EQ(wrongType.GetCode(), 0x412);
    EXPECT_NE(wrongType.GetMessage().find(L"text"), std::wstring::npos);

    EXPECT_EQ(Raised([&] { params->AddValue(L"text", CreateValue(1).Get()); }).GetCode(), kAlreadyExists);
    EXPECT_EQ(Raised([&] { params->AddValue(L"null", nullptr); }).GetCode(), kInvalidValue);
    EXPECT_FALSE(params->DoesExist(L"null"));
    EXPECT_EQ(Raised([&] { CreateParamsBody({{L"a", 1}, {L"a", 2}}); }).GetCode(), kAlreadyExists);
}

TEST(Params, TypedReadsReturnEachType)
{
    const std::uint8_t bytes[] = {1, 2, 3};
    auto nested = CreateParamsBody({{L"inner", 7}});
    auto array = CreateArrayValue(2);
    array->SetAt(0, CreateValue(L"x").Get());
    auto params = CreateParamsBody({
        {L"s", L"строка"},
        {L"b", true},
        {L"i", -7},
        {L"l", std::int64_t{1} << 40},
        {L"t", DateTime{1700000000}},
        {L"bin", binary_wrapper_t{bytes, 3}},
        {L"p", nested},
        {L"a", array},
    });
    EXPECT_EQ(GetStringValue(params, L"s"), L"строка");
    EXPECT_TRUE(GetBoolValue(params, L"b"));
    EXPECT_EQ(GetIntValue(params, L"i"), -7);
    EXPECT_EQ(GetLongValue(params, L"l"), std::int64_t{1} << 40);
    EXPECT_EQ(GetDateTimeValue(params, L"t"), 1700000000);
    EXPECT_EQ(GetBinaryValue(params, L"bin")->GetValue(), (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_EQ(GetParamsValue(params, L"p").Get(), nested.Get());  // shared, not copied
    EXPECT_EQ(GetArrayValue(params, L"a")->GetSize(), 2u);
    EXPECT_EQ(GetArrayValue(params, L"a")->ItemAt(1), nullptr);
    EXPECT_EQ(params->GetValue(L"t")->GetType(), VT_DATETIME);
    EXPECT_EQ(params->GetValue(L"bin")->GetType(), VT_BINARY);
}

TEST(Params, ArraysGrowShrinkAndRefuseIndexesBeyondTheirSize)
{
    auto array = CreateArrayValue();
    array->SetSize(3);
    array->SetAt(2, CreateValue(5).Get());
    EXPECT_EQ(array->GetSize(), 3u);
    EXPECT_EQ(static_cast<IntValue*>(array->GetAt(2).Get())->GetValue(), 5);
    EXPECT_FALSE(array->GetAt(0));
    EXPECT_EQ(Raised([&] { array->GetAt(3); }).GetCode(), kIndexOutOfRange);
    EXPECT_EQ(Raised([&] { array->SetAt(3, CreateValue(1).Get()); }).GetCode(), kIndexOutOfRange);
    array->SetSize(1);
    EXPECT_EQ(array->GetSize(), 1u);
}

TEST(Params, CloneIsDeep)
{
    auto inner = CreateParamsBody({{L"v", 1}});
    auto array = CreateArrayValue(1);
    array->SetAt(0, CreateValue(inner.Get()).Get());
    auto original = CreateParamsBody({{L"inner", inner}, {L"list", array}});

    auto copy = original->Clone();
    EXPECT_TRUE(Equals(*copy, *original));
    GetParamsValue(copy, L"inner")->ReplaceValue(L"v", CreateValue(2).Get());
    GetArrayValue(copy, L"list")->SetSize(0);

    EXPECT_EQ(GetIntValue(inner, L"v"), 1);
    EXPECT_EQ(GetArrayValue(original, L"list")->GetSize(), 1u);
    EXPECT_FALSE(Equals(*copy, *original));
}

TEST(Params, CloneOfAContainerThatHoldsItselfStopsAtTheDepthLimit)
{
    auto params = CreateParams();
    params->AddValue(L"self", CreateValue(params.Get()).Get());
    EXPECT_EQ(Raised([&] { params->Clone(); }).GetCode(), kTooDeep);
    params->DeleteValue(L"self");  // break the cycle so the container is freed
}

TEST(Params, ConcatenateKeepsTheFirstValueOfEachNameAndCopiesItsInputs)
{
    auto enforced = CreateParamsBody({{L"a", 1}, {L"b", 2}});
    auto local = CreateParamsBody({{L"b", 20}, {L"c", 30}});
    ZRSTD::CAutoPtr<Params> merged;
    ZRPAR_Concatenate(enforced, local, &merged);
    EXPECT_EQ(merged->GetNames(), (std::vector<std::wstring>{L"a", L"b", L"c"}));
    EXPECT_EQ(GetIntValue(merged, L"b"), 2);
    EXPECT_EQ(GetIntValue(merged, L"c"), 30);

    ZRSTD::CAutoPtr<Params> onlySecond;
    ZRPAR_Concatenate(nullptr, local, &onlySecond);
    EXPECT_TRUE(Equals(*onlySecond, *local));
    ZRSTD::CAutoPtr<Params> neither;
    ZRPAR_Concatenate(nullptr, nullptr, &neither);
    EXPECT_EQ(neither->GetSize(), 0u);

    auto nested = CreateParamsBody({{L"n", CreateParamsBody({{L"x", 1}})}});
    ZRSTD::CAutoPtr<Params> copy;
    ZRPAR_Concatenate(nested, nullptr, &copy);
    GetParamsValue(copy, L"n")->ReplaceValue(L"x", CreateValue(9).Get());
    EXPECT_EQ(GetIntValue(GetParamsValue(nested, L"n"), L"x"), 1);
}

TEST(Params, WriteMode3MergesContainersAndReplacesValues)
{
    auto target = CreateParamsBody({
        {L"keep", 1},
        {L"section", CreateParamsBody({{L"old", 1}, {L"flag", false}})},
        {L"scalarBecomesContainer", 5},
    });
    auto source = CreateParamsBody({
        {L"section", CreateParamsBody({{L"flag", true}, {L"deeper", CreateParamsBody({{L"x", 1}})}})},
        {L"added", L"new"},
        {L"scalarBecomesContainer", CreateParamsBody({{L"y", 2}})},
    });
    ZRPAR_Write(target, source, 3);

    EXPECT_EQ(GetIntValue(target, L"keep"), 1);
    auto section = GetParamsValue(target, L"section");
    EXPECT_EQ(section->GetNames(), (std::vector<std::wstring>{L"old", L"flag", L"deeper"}));
    EXPECT_TRUE(GetBoolValue(section, L"flag"));
    EXPECT_EQ(GetIntValue(GetParamsValue(section, L"deeper"), L"x"), 1);
    EXPECT_EQ(GetStringValue(target, L"added"), L"new");
    EXPECT_EQ(GetIntValue(GetParamsValue(target, L"scalarBecomesContainer"), L"y"), 2);

    // the target owns copies: later edits of the source do not reach it
    GetParamsValue(GetParamsValue(source, L"section"), L"deeper")->ReplaceValue(L"x", CreateValue(2).Get());
    EXPECT_EQ(GetIntValue(GetParamsValue(section, L"deeper"), L"x"), 1);

    EXPECT_EQ(Raised([&] { ZRPAR_Write(target, source, 1); }).GetCode(), kUnsupported);
    ZRPAR_Write(target, nullptr, 3);  // nothing to merge
    EXPECT_EQ(target->GetSize(), 4u);
}

TEST(Params, FactoryAndCreateParamsMakeEmptyContainers)
{
    ZRSTD::CAutoPtr<ValuesFactory> factory;
    ZRPAR_CreateValuesFactory(&factory);
    auto value = factory->CreateParamsValue();
    ASSERT_TRUE(value);
    EXPECT_EQ(value->GetType(), VT_PARAMS);
    EXPECT_EQ(value->GetValue()->GetSize(), 0u);

    ZRSTD::CAutoPtr<Params> params;
    ZRPAR_CreateParams(&params);
    ASSERT_TRUE(params);
    EXPECT_EQ(params->GetRefCount(), 1);
}
