#include "zrpar/Render.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "zrstd/Strings.h"
#include "zrstd/Trace.h"

using namespace ZRPAR;

namespace {

CAutoPtr<Params> Sample()
{
    const std::uint8_t bytes[] = {'h', 'i'};
    auto ports = CreateArrayValue(1);
    ports->SetAt(0, CreateValue(15000).Get());
    return CreateParamsBody({
        {L"UseSsl", true},
        {L"Nagentports", ports},
        {L"Name", L"Сервер \"main\""},
        {L"When", DateTime{0}},
        {L"Blob", binary_wrapper_t{bytes, 2}},
        {L"Section", CreateParamsBody({{L"Big", std::int64_t{5000000000}}})},
        {L"NGT_UNINSTALL_PASSWORD", L"C0FFEE"},
        {L"ZRSRV_PROXY_PASSWORD", binary_wrapper_t{bytes, 2}},
    });
}

}  // namespace

TEST(Rendering, TextTreeShowsTypesValuesAndNestingInOrder)
{
    const std::string text = RenderText(*Sample());
    const std::string expected =
        "UseSsl (bool): true\n"
        "Nagentports (array[1]):\n"
        "  [0] (int): 15000\n"
        "Name (string): \"Сервер \\\"main\\\"\"\n"
        "When (datetime): 1970-01-01T00:00:00Z\n"
        "Blob (binary): 2 bytes aGk=\n"
        "Section (params):\n"
        "  Big (long): 5000000000\n"
        "NGT_UNINSTALL_PASSWORD (string): <hidden>\n"
        "ZRSRV_PROXY_PASSWORD (binary): <hidden, 2 bytes>\n";
    EXPECT_EQ(text, expected);
    EXPECT_NE(RenderText(*Sample(), {.hideSecrets = false}).find("C0FFEE"), std::string::npos);
}

TEST(Rendering, JsonKeepsContainerOrderAndHidesSecrets)
{
    const auto json = nlohmann::ordered_json::parse(RenderJson(*Sample()));
    std::vector<std::string> keys;
    for (const auto& item : json.items()) keys.push_back(item.key());
    EXPECT_EQ(keys, (std::vector<std::string>{"UseSsl", "Nagentports", "Name", "When", "Blob", "Section",
                                              "NGT_UNINSTALL_PASSWORD", "ZRSRV_PROXY_PASSWORD"}));
    EXPECT_EQ(json["UseSsl"], true);
    EXPECT_EQ(json["Nagentports"], nlohmann::json::array({15000}));
    EXPECT_EQ(json["Name"], "Сервер \"main\"");
    EXPECT_EQ(json["When"], "1970-01-01T00:00:00Z");
    EXPECT_EQ(json["Blob"], "aGk=");
    EXPECT_EQ(json["Section"]["Big"], 5000000000LL);
    EXPECT_EQ(json["NGT_UNINSTALL_PASSWORD"], "<hidden>");
    EXPECT_EQ(json["ZRSRV_PROXY_PASSWORD"], "<hidden, 2 bytes>");
}

TEST(Rendering, ContainerTracesNeverCarrySecrets)
{
    std::wstring traced;
    ZRSTD::SetTraceSink([&](int, std::string_view, std::wstring_view text) { traced += std::wstring(text) + L"\n"; }, 4);
    ZRPARLOG_LogParams2(4, "ZRNGTPLG", Sample());
    ZRPARLOG_LogParams2(5, "ZRNGTPLG", Sample());  // above the level: nothing
    ZRSTD::SetTraceSink(nullptr, 0);
    EXPECT_NE(traced.find(L"UseSsl (bool): true"), std::wstring::npos);
    EXPECT_EQ(traced.find(L"C0FFEE"), std::wstring::npos);
    EXPECT_EQ(traced.find(L"aGk=\nZRSRV"), std::wstring::npos);
    EXPECT_EQ(std::count(traced.begin(), traced.end(), L'\n'), 11);  // a header line and ten value lines
}

TEST(Rendering, SecretNamesAreRecognisedWhateverTheirCase)
{
    for (const wchar_t* name : {L"ZRNAG_PROXYHOST_PASSWORD", L"ZRNAG_PROXYHOST_PASSWORD_PROTECTED", L"proxyPwd",
                                L"client_secret"})
        EXPECT_TRUE(IsSecretName(name)) << ZRSTD::ToUtf8(name);
    for (const wchar_t* name : {L"UseSsl", L"ZRNAG_PROXYHOST_LOGIN", L"ServerAddress"})
        EXPECT_FALSE(IsSecretName(name)) << ZRSTD::ToUtf8(name);
}
