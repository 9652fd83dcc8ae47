#include "host/web/Console.h"

#include <gtest/gtest.h>

#include "support/TempFolder.h"

// The console's routes on a real store and the built plug-in, without a
// server: every request here is admitted, so what is checked is what the
// console itself refuses, and that a refusal changes nothing.
namespace host::web {
namespace {

class ConsoleTest : public ::testing::Test {
protected:
    testsupport::TempFolder folder;
    std::string store = (folder.Path() / "console.db").string();
    Gate::Admitted session{"s1", "csrf1"};

    std::unique_ptr<Console> Start()
    {
        {
            ConsoleSession made(store, ZRNGTPLG_PATH);
            made.Store(true);
        }
        return std::make_unique<Console>(store, ZRNGTPLG_PATH, std::chrono::seconds(600));
    }

    static WebRequest Post(std::string path, std::multimap<std::string, std::string> params)
    {
        return {"POST", std::move(path), std::move(params), {}};
    }
};

TEST_F(ConsoleTest, RefusesMalformedRequestsWithTheirStatusAndKeepsThePageAsItWas)
{
    auto console = Start();
    ASSERT_EQ(console->Handle(Post("/objects/new", {{"kind", "policy"}, {"name", "Servers"}}), session).status, 303);
    ASSERT_EQ(console->Handle(Post("/sheet/open", {{"object", "policy:Servers"}}), session).status, 303);
    const std::string stored = "name=\"id\" value=\"6009\"><input type=\"hidden\" name=\"verb\" value=\"type\">"
                               "<input type=\"text\" name=\"text\" value=\"2\"";
    ASSERT_NE(console->Handle({"GET", "/sheet", {}, {}}, session).body.find(stored), std::string::npos);
    const std::multimap<std::string, std::string> act = {{"window", "page:0"}, {"id", "6009"}, {"verb", "type"}, {"text", "55"}};
    const auto with = [&](const std::string& name, const std::string& value) {
        auto params = act;
        params.erase(name);
        params.emplace(name, value);
        return params;
    };
    const struct {
        const char* what;
        WebRequest request;
        int status;
    } cases[] = {
        {"an unknown page", {"GET", "/nowhere", {}, {}}, 404},
        {"an unknown object", Post("/sheet/open", {{"object", "policy:nobody"}}), 404},
        {"an object name without its kind", Post("/sheet/open", {{"object", "Servers"}}), 400},
        {"a control of another window", Post("/sheet/act", with("id", "1322")), 400},
        {"a control id that is no number", Post("/sheet/act", with("id", "6009x")), 400},
        {"a window that is not shown", Post("/sheet/act", with("window", "page:4")), 409},
        {"a verb the console does not have", Post("/sheet/act", with("verb", "dialog")), 400},
        {"an id given twice", Post("/sheet/act", [&] { auto p = act; p.emplace("id", "6009"); return p; }()), 400},
        {"text that is not UTF-8", Post("/sheet/act", with("text", "\xC3\x28")), 400},
        {"a control character", Post("/sheet/act", with("text", std::string("5\0", 2))), 400},
        {"an answer nothing waits for", Post("/sheet/answer", {{"kind", "box"}, {"button", "1"}}), 409},
        {"a sheet button that does not exist", Post("/sheet/button", {{"button", "format"}}), 400},
        {"a page past the last", Post("/sheet/page", {{"page", "999"}}), 400},
        {"an export of nothing", {"GET", "/export", {{"object", "host:nobody"}}, {}}, 404},
    };
    for (const auto& c : cases) EXPECT_EQ(console->Handle(c.request, session).status, c.status) << c.what;
    EXPECT_NE(console->Handle({"GET", "/sheet", {}, {}}, session).body.find(stored), std::string::npos);
}

TEST_F(ConsoleTest, ActionsOfOneSessionDoNotReachAnotherSessionsSheet)
{
    auto console = Start();
    console->Handle(Post("/objects/new", {{"kind", "policy"}, {"name", "Servers"}}), session);
    console->Handle(Post("/sheet/open", {{"object", "policy:Servers"}}), session);
    const Gate::Admitted other{"s2", "csrf2"};
    EXPECT_EQ(console->Handle(Post("/sheet/act", {{"window", "page:0"}, {"id", "6009"}, {"verb", "type"}, {"text", "9"}}), other).status,
              409);
    console->Handle(Post("/sheet/act", {{"window", "page:0"}, {"id", "6009"}, {"verb", "type"}, {"text", "9"}}), session);
    const std::string shown = console->Handle({"GET", "/sheet", {}, {}}, session).body;
    EXPECT_NE(shown.find("name=\"text\" value=\"9\""), std::string::npos);
    // nothing reached the store before OK: another session sees the stored value
    console->Handle(Post("/sheet/open", {{"object", "policy:Servers"}}), other);
    const std::string theirs = console->Handle({"GET", "/sheet", {}, {}}, other).body;
    EXPECT_EQ(theirs.find("name=\"text\" value=\"9\""), std::string::npos);
    EXPECT_NE(theirs.find("name=\"text\" value=\"2\""), std::string::npos);
}

}  // namespace
}  // namespace host::web
