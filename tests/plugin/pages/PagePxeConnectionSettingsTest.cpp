#include "plugin/pages/dpoint/PagePxeConnectionSettings.h"

#include <gtest/gtest.h>

#include "support/PageFixture.h"

namespace {

using Page = CPagePxeConnectionSettings;
using Outcome = host::PageHost::Outcome;

class BootServerPage : public testsupport::PageTest {
protected:
    void OpenWith(std::initializer_list<ZRPAR::ParamsBodyEntry> settings)
    {
        Reopen();
        ZRPAR::Params& params = source.WithParams();
        auto body = ZRPAR::CreateParamsBody(settings);
        for (std::size_t i = 0; i < body->GetSize(); ++i) params.ReplaceValue(body->NameAt(i), body->ValueAt(i));
        m_params = &params;
        auto* created = new Page(PageData(NHPP::kObjectBootServer, NHPP::kSectionParams, {L""}));
        created->SetBootServer(true);
        Open(created);
    }
    const ZRPAR::Value* Saved(const wchar_t* key) { return m_params->FindValue(key); }
    std::int32_t SavedInt(const wchar_t* key)
    {
        const ZRPAR::Value* value = Saved(key);
        return value && value->GetType() == ZRPAR::VT_INT ? static_cast<const ZRPAR::IntValue*>(value)->GetValue() : -1;
    }

    ZRPAR::Params* m_params = nullptr;
};

}  // namespace

TEST_F(BootServerPage, PortsAreNumbersWithTheirDefaultsAndGoBackAsShown)
{
    const struct {
        const char* name;
        std::optional<std::int32_t> port, sslPort;  // none: not stored
        const wchar_t *shownPort, *shownSslPort;
        std::int32_t savedPort, savedSslPort;
    } cases[] = {
        {"none stored", std::nullopt, std::nullopt, L"14000", L"13000", 14000, 13000},
        {"stored", 14001, 13001, L"14001", L"13001", 14001, 13001},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.port) OpenWith({{L"ServerName", L"adm.corp"}, {L"ServerPort", *c.port}, {L"ServerSSLPort", *c.sslPort}});
        else OpenWith({{L"ServerName", L"adm.corp"}});
        EXPECT_EQ(Text(Page::kPort), c.shownPort);
        EXPECT_EQ(Text(Page::kSslPort), c.shownSslPort);
        ASSERT_EQ(Sheet().PressOk().outcome, Outcome::Applied);
        EXPECT_EQ(SavedInt(L"ServerPort"), c.savedPort);
        EXPECT_EQ(SavedInt(L"ServerSSLPort"), c.savedSslPort);
    }
    ui::ReplaceText(Control(Page::kPort), L"15000");
    ASSERT_EQ(Sheet().PressOk().outcome, Outcome::Applied);
    EXPECT_EQ(SavedInt(L"ServerPort"), 15000);
}

TEST_F(BootServerPage, ValidationNamesEmptyEqualAndOutOfRangePorts)
{
    const struct {
        const char* name;
        std::int32_t storedPort;
        const wchar_t* typedSslPort;  // null: left alone
        const wchar_t* message;       // the start of the message
    } cases[] = {
        {"emptied", 14000, L"", L"Неверно задано значение поля"},
        {"equal", 14000, L"14000", L"Заданы совпадающие номера портов."},
        {"stored out of range", 70000, nullptr, L"Неверно задано значение поля"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        OpenWith({{L"ServerName", L"adm.corp"}, {L"ServerPort", c.storedPort}});
        if (c.typedSslPort) ui::ReplaceText(Control(Page::kSslPort), c.typedSslPort);
        ui::ClearInteractionRecord();
        EXPECT_EQ(Sheet().PressOk().outcome, Outcome::Refused);
        ASSERT_EQ(Boxes().size(), 1u);
        EXPECT_EQ(Boxes()[0].rfind(c.message, 0), 0u) << ZRSTD::ToUtf8(Boxes()[0]);
        EXPECT_EQ(SavedInt(L"ServerPort"), c.storedPort);
    }
}

TEST_F(BootServerPage, PortsOfAnotherTypeAreKeptWhileUntouched)
{
    OpenWith({{L"ServerName", L"adm.corp"}, {L"ServerPort", L"14001"}, {L"ServerSSLPort", L"x"}});
    EXPECT_EQ(Text(Page::kPort), L"14000");
    ASSERT_EQ(Sheet().PressOk().outcome, Outcome::Applied);
    ASSERT_EQ(Saved(L"ServerPort")->GetType(), ZRPAR::VT_STRING);
    EXPECT_EQ(static_cast<const ZRPAR::StringValue*>(Saved(L"ServerSSLPort"))->GetValue(), L"x");
    ui::ReplaceText(Control(Page::kSslPort), L"13002");
    ASSERT_EQ(Sheet().PressOk().outcome, Outcome::Applied);
    EXPECT_EQ(SavedInt(L"ServerSSLPort"), 13002);
}
