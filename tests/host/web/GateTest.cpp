#include "host/web/Gate.h"

#include <gtest/gtest.h>

namespace host::web {
namespace {

constexpr const char* kHost = "127.0.0.1:8080";

WebRequest Request(std::string method, std::string path, std::multimap<std::string, std::string> params = {},
                   std::map<std::string, std::string> headers = {})
{
    headers.emplace("host", kHost);
    return {std::move(method), std::move(path), std::move(params), std::move(headers)};
}

std::string Header(const WebResponse& response, const std::string& name)
{
    for (const auto& [key, value] : response.headers)
        if (key == name) return value;
    return "";
}

class GateTest : public ::testing::Test {
protected:
    Gate gate{"a1b2c3", {kHost, "localhost:8080"}};

    // A session opened with the access link: its cookie header and its anti-forgery token.
    std::pair<std::string, std::string> Open()
    {
        auto opened = gate.Admit(Request("GET", "/", {{"token", "a1b2c3"}}));
        const std::string cookie = Header(std::get<WebResponse>(opened), "Set-Cookie");
        const std::string id = cookie.substr(cookie.find('=') + 1, cookie.find(';') - cookie.find('=') - 1);
        auto admitted = gate.Admit(Request("GET", "/", {}, {{"cookie", std::string(kSessionCookie) + "=" + id}}));
        return {std::string(kSessionCookie) + "=" + id, std::get<Gate::Admitted>(admitted).csrf};
    }
};

TEST_F(GateTest, AccessLinkOpensSessionWithStrictHttpOnlyCookieAndDropsTheToken)
{
    auto opened = gate.Admit(Request("GET", "/sheet", {{"token", "a1b2c3"}}));
    ASSERT_TRUE(std::holds_alternative<WebResponse>(opened));
    const WebResponse& response = std::get<WebResponse>(opened);
    EXPECT_EQ(response.status, 303);
    EXPECT_EQ(Header(response, "Location"), "/sheet");
    const std::string cookie = Header(response, "Set-Cookie");
    EXPECT_NE(cookie.find("HttpOnly"), std::string::npos);
    EXPECT_NE(cookie.find("SameSite=Strict"), std::string::npos);
    EXPECT_EQ(cookie.find("a1b2c3"), std::string::npos);
    EXPECT_EQ(gate.SessionCount(), 1u);
    // the access link never sends the browser to another site
    for (const char* elsewhere : {"//evil.example/x", "/\\evil.example/x"}) {
        auto response = gate.Admit(Request("GET", elsewhere, {{"token", "a1b2c3"}}));
        EXPECT_EQ(Header(std::get<WebResponse>(response), "Location"), "/") << elsewhere;
    }
}

TEST_F(GateTest, RefusesWhatComesWithoutTheTokenOrFromElsewhere)
{
    const auto [cookie, csrf] = Open();
    struct Case {
        const char* what;
        WebRequest request;
        int status;
    };
    const Case cases[] = {
        {"no cookie", Request("GET", "/"), 403},
        {"a wrong access token", Request("GET", "/", {{"token", "a1b2c4"}}), 403},
        {"an empty access token", Request("GET", "/", {{"token", ""}}), 403},
        {"a session nobody opened", Request("GET", "/", {}, {{"cookie", std::string(kSessionCookie) + "=feed"}}), 403},
        {"a POST without its form token", Request("POST", "/sheet/act", {}, {{"cookie", cookie}}), 403},
        {"a POST with another session's form token", Request("POST", "/sheet/act", {{"csrf", csrf + "0"}}, {{"cookie", cookie}}),
         403},
        {"a POST from another site", Request("POST", "/sheet/act", {{"csrf", csrf}}, {{"cookie", cookie}, {"origin", "http://evil.example"}}),
         403},
        {"a POST from a sandboxed frame", Request("POST", "/sheet/act", {{"csrf", csrf}}, {{"cookie", cookie}, {"origin", "null"}}),
         403},
        {"another host name (rebinding)", Request("GET", "/", {}, {{"cookie", cookie}, {"host", "attacker.example:8080"}}), 400},
        {"another method", Request("PUT", "/", {}, {{"cookie", cookie}}), 405},
    };
    for (const Case& c : cases) {
        auto result = gate.Admit(c.request);
        ASSERT_TRUE(std::holds_alternative<WebResponse>(result)) << c.what;
        EXPECT_EQ(std::get<WebResponse>(result).status, c.status) << c.what;
    }
}

TEST_F(GateTest, AdmitsTheSessionsOwnRequests)
{
    const auto [cookie, csrf] = Open();
    auto get = gate.Admit(Request("GET", "/sheet", {}, {{"cookie", "other=1; " + cookie}}));
    ASSERT_TRUE(std::holds_alternative<Gate::Admitted>(get));
    auto post = gate.Admit(Request("POST", "/sheet/act", {{"csrf", csrf}}, {{"cookie", cookie}, {"origin", std::string("http://") + kHost}}));
    ASSERT_TRUE(std::holds_alternative<Gate::Admitted>(post));
    EXPECT_EQ(std::get<Gate::Admitted>(post).session, std::get<Gate::Admitted>(get).session);
}

TEST_F(GateTest, EverySessionHasItsOwnTokens)
{
    const auto first = Open();
    const auto second = Open();
    EXPECT_NE(first.first, second.first);
    EXPECT_NE(first.second, second.second);
    auto crossed = gate.Admit(Request("POST", "/sheet/act", {{"csrf", second.second}}, {{"cookie", first.first}}));
    EXPECT_TRUE(std::holds_alternative<WebResponse>(crossed));
}

TEST(CookieValueTest, FindsTheNamedCookieOnly)
{
    const struct {
        const char* header;
        std::optional<std::string> value;
    } cases[] = {
        {"ngt_session=abc", "abc"},
        {"a=1; ngt_session=abc; b=2", "abc"},
        {"xngt_session=abc", std::nullopt},
        {"", std::nullopt},
        {"ngt_session=", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(CookieValue(c.header, kSessionCookie), c.value) << c.header;
}

}  // namespace
}  // namespace host::web
