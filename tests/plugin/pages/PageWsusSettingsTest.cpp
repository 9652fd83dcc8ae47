#include "plugin/pages/agent/PageWsusSettings.h"

#include <gtest/gtest.h>

#include <optional>

#include "support/PageFixture.h"
#include "ui/ControlTable.h"
#include "zrpar/Render.h"

using testsupport::LockedSetting;
using testsupport::Setting;

namespace {

using Page = CPageWsusSettings;
constexpr const wchar_t* kSection = L"ZRNAG_SECTION_WUA";
constexpr const wchar_t* kAssessment = L"ZRNAG_VAPM_REAL_TIME_ASSESSMENT";
constexpr const wchar_t* kSwitchKey = L"ZRNAG_WUA_OPT_SWITCH";
constexpr const wchar_t* kSearchKey = L"ZRNAG_WUA_SEARCH_MODE";
constexpr const wchar_t* kRevisionKey = L"ZRNAG_WUA_SHOW_REVISION_MODE";
constexpr const wchar_t* kCheckKey = L"VAPM_REAL_TIME_ASSESSMENT_AUTOSTART";

class WsusPage : public testsupport::PageTest {
protected:
    void OpenPolicy()
    {
        Reopen();
        Open(new Page(PageData(NHPP::kObjectPolicy, NHPP::kSectionPolicy, {kSection, kAssessment, L"86"})));
    }
    std::vector<int> CheckedRadios()
    {
        std::vector<int> radios;
        for (int id : {Page::kOnline, Page::kOffline, Page::kSearchOff})
            if (Checked(id)) radios.push_back(id);
        return radios;
    }
};

}  // namespace

TEST_F(WsusPage, StoredModesShowAsTheirChoicesAndUnknownOnesAsNone)
{
    const struct {
        std::optional<std::int32_t> search, revision;  // none: not stored
        std::vector<int> radios;
        const wchar_t* shown;
        std::int32_t writtenSearch, writtenRevision;
    } cases[] = {
        {std::nullopt, std::nullopt, {Page::kOnline}, L"All applicable revisions", 0, 1},
        {1, 2, {Page::kOffline}, L"Approved revisions", 1, 2},
        {2, 3, {Page::kSearchOff}, L"Do not allow", 2, 3},
        {3, 7, {}, L"", 2, 7},  // no radio goes back as "off"; no item keeps the stored mode
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.writtenRevision);
        StorePolicySection(kSection, {});
        if (c.search)
            StorePolicySection(kSection, {{kSearchKey, Setting(*c.search, false)}, {kRevisionKey, Setting(*c.revision, false)}});
        OpenPolicy();
        EXPECT_EQ(CheckedRadios(), c.radios);
        EXPECT_EQ(Text(Page::kRevisions), c.shown);
        ASSERT_EQ(Sheet().PressOk().outcome, host::PageHost::Outcome::Applied);
        EXPECT_EQ(StoredValue<ZRPAR::IntValue>(kSection, kSearchKey), c.writtenSearch);
        EXPECT_EQ(StoredValue<ZRPAR::IntValue>(kSection, kRevisionKey), c.writtenRevision);
    }
    EXPECT_EQ(ui::ChoicesOf(Control(Page::kRevisions)),
              (std::vector<std::wstring>{L"All applicable revisions", L"Approved revisions", L"Do not allow"}));
}

TEST_F(WsusPage, EachValueIsWrittenWithItsLockAndASearchModeLockedAboveStays)
{
    StorePolicySection(kSection, {{kSearchKey, LockedSetting(1, {L"Офис", L"Головная", L""})}});
    OpenPolicy();
    EXPECT_EQ(CheckedRadios(), std::vector<int>{Page::kOffline});
    for (int id : {Page::kOnline, Page::kOffline, Page::kSearchOff}) EXPECT_FALSE(Enabled(id)) << id;
    ui::Click(Control(Page::kSwitchToServer));
    ui::Click(Control(Page::kCheckOnStart));
    ui::SelectItem(Control(Page::kRevisions), L"Do not allow");
    SetLock(Page::kSwitchLock, true);
    SetLock(Page::kCheckLock, true);
    EXPECT_TRUE(page->IsModified());
    ASSERT_EQ(Sheet().PressOk().outcome, host::PageHost::Outcome::Applied);
    for (const auto& [section, key] : {std::pair{kSection, kSwitchKey}, std::pair{kAssessment, kCheckKey}}) {
        EXPECT_TRUE(StoredValue<ZRPAR::BoolValue>(section, key)) << key;
        EXPECT_TRUE(StoredMandatory(section, key)) << key;
    }
    EXPECT_EQ(StoredValue<ZRPAR::IntValue>(kSection, kRevisionKey), 3);
    EXPECT_FALSE(StoredMandatory(kSection, kRevisionKey));
    EXPECT_TRUE(ZRPAR::GetBoolValue(Stored(kSection, kSearchKey), L"ZRPRSS_ValLck"));  // the parent's, as it was
}

TEST_F(WsusPage, TheExportNamesTheModesByTheirTexts)
{
    StorePolicySection(kSection, {{kSearchKey, Setting(1, true)}, {kRevisionKey, Setting(2, false)}});
    NHPP::CNHPPageData data(&source, NHPP::kObjectPolicy);
    for (const wchar_t* section : {kSection, kAssessment, L"86"}) data.RegisterSection(section, NHPP::kSectionPolicy, false);
    const auto results = Page::Export(data);
    ASSERT_EQ(results.size(), 1u);
    auto names = results[0]->GetNames();
    ASSERT_EQ(names.size(), 4u);
    EXPECT_NE(names.back().back(), L':');  // the revisions' label as a title
    names.pop_back();
    EXPECT_EQ(names, (std::vector<std::wstring>{L"Переключить службу Windows Update на Сервер администрирования.",
                                                L"Режим поиска обновлений Windows",
                                                L"Проверять исполняемые файлы на наличие уязвимостей при запуске"}));
    const std::string text = ZRPAR::RenderText(*results[0]);
    for (const char* part : {"  Режим поиска обновлений Windows (string): \"Off-line\"\n"
                             "  Замочек \"Режим поиска обновлений Windows\" (string): \"Редактирование запрещено\"\n",
                             "(string): \"Approved revisions\"\n", "при запуске (string): \"Нет\"\n"})
        EXPECT_NE(text.find(part), std::string::npos) << part << "\n" << text;
}
