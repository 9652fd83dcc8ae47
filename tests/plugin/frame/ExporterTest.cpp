#include "plugin/frame/Exporter.h"

#include <gtest/gtest.h>

#include "zrstd/Strings.h"

TEST(Exporter, TitlesLoseAcceleratorsTrailingBlanksAndAFinalColon)
{
    const struct {
        const wchar_t* text;
        const wchar_t* title;
    } cases[] = {
        {L"&Settings:", L"Settings"},
        {L"Сеть", L"Сеть"},
        {L"Адрес &сервера:  ", L"Адрес сервера"},
        {L":", L":"},            // a single colon stays
        {L"&:", L":"},           // so does one left alone by the ampersand's removal
        {L"a:", L"a"},
        {L"a::", L"a:"},         // only the last one goes
        {L"", L""},
        {L"&&Двойной", L"Двойной"},
    };
    for (const auto& c : cases) EXPECT_EQ(frame::NormalizeTitle(c.text), c.title) << static_cast<const void*>(c.text);
}

TEST(Exporter, PagesWithoutAnExportRoutineAreNamed)
{
    const auto policy = frame::MissingExportRoutines(0, L"");
    for (const wchar_t* built : {L"CPageGeneralSettingsBase", L"CPageUaVtnSettings", L"CPageSettingsNetScan",
                                 L"CPageUaUpdaterSettings"})
        EXPECT_EQ(std::find(policy.begin(), policy.end(), built), policy.end()) << ZRSTD::ToUtf8(built);
    EXPECT_EQ(std::find(policy.begin(), policy.end(), L"CPageConnectionManagerSettings"), policy.end());
    // every polling page of a distribution point exports (the IP range scan gives two results)
    EXPECT_TRUE(frame::MissingExportRoutines(4, L"").empty());
    EXPECT_TRUE(frame::MissingExportRoutines(2, L"ZRNAG_TASK_SHOW_MSG").empty());  // built
    EXPECT_TRUE(frame::MissingExportRoutines(2, L"NoSuchTask").empty());
    EXPECT_TRUE(frame::MissingExportRoutines(1, L"").empty());  // local settings export nothing
    EXPECT_TRUE(frame::MissingExportRoutines(10, L"").empty());  // the boot server's connection exports
}

TEST(Exporter, ASecondPageUnderTheSameTitleIsMergedIntoTheFirst)
{
    auto result = ZRPAR::CreateParams();
    frame::StoreTitled(*result, L"Сеть", ZRPAR::CreateParamsBody({{L"Порт", L"14000"}, {L"UDP", L"Да"}}).Get());
    frame::StoreTitled(*result, L"Подключение", ZRPAR::CreateParamsBody({{L"Профили", L"2"}}).Get());
    frame::StoreTitled(*result, L"Сеть", ZRPAR::CreateParamsBody({{L"Интервалы", L"нет"}, {L"UDP", L"Нет"}}).Get());
    ASSERT_EQ(result->GetSize(), 2u);
    // a label both use keeps the first page's value; the second's is numbered
    const auto expected = ZRPAR::CreateParamsBody(
        {{L"Порт", L"14000"}, {L"UDP", L"Да"}, {L"Интервалы", L"нет"}, {L"UDP (2)", L"Нет"}});
    EXPECT_TRUE(ZRPAR::Equals(*static_cast<ZRPAR::ParamsValue*>(result->FindValue(L"Сеть"))->GetValue(), *expected));
    EXPECT_EQ(result->NameAt(0), L"Сеть");  // in the order the pages came
}
