#include "plugin/pages/agent/PageWsusSettings.h"

#include <gtest/gtest.h>

#include "support/PageFixture.h"
#include "support/PolicyBuilder.h"
#include "ui/ControlTable.h"
#include "zrpar/Render.h"

using testsupport::LockedSetting;
using testsupport::Section;
using testsupport::Setting;

namespace {

using Page = CPageWsusSettings;
constexpr const wchar_t* kSection = L"ZRNAG_SECTION_WUA";
constexpr const wchar_t* kAssessment = L"ZRNAG_VAPM_REAL_TIME_ASSESSMENT";
constexpr const wchar_t* kSearchKey = L"ZRNAG_WUA_SEARCH_MODE";
constexpr const wchar_t* kRevisionKey = L"ZRNAG_WUA_SHOW_REVISION_MODE";

class WsusPage : public testsupport::PageTest {
protected:
    void Store(std::initializer_list<ZRPAR::ParamsBodyEntry> settings)
    {
        policy.Replace(L"1103", L"1.0.0.0", kSection, Section(settings).Get());
    }
    void OpenPolicy()
    {
        Reopen();
        Open(new Page(PageData(NHPP::kObjectPolicy, NHPP::kSectionPolicy, {kSection, kAssessment, L"86"})));
    }
    HWND Lock(int id) { return GetDlgItem(GetDlgItem(window, id), CLockCtrl::kDropDownId); }
    std::wstring Revision() { return GetWindowTextW(Control(Page::kRevisions)); }
    std::vector<int> CheckedRadios()
    {
        std::vector<int> radios;
        for (int id : {Page::kOnline, Page::kOffline, Page::kSearchOff})
            if (Checked(id)) radios.push_back(id);
        return radios;
    }
};

}  // namespace

TEST_F(WsusPage, AnEmptyPolicySearchesOnlineAndOffersAllApplicableRevisions)
{
    OpenPolicy();
    EXPECT_FALSE(Checked(Page::kSwitchToServer));
    EXPECT_EQ(CheckedRadios(), std::vector<int>{Page::kOnline});
    EXPECT_FALSE(Checked(Page::kCheckOnStart));
    EXPECT_EQ(ui::ChoicesOf(Control(Page::kRevisions)),
              (std::vector<std::wstring>{L"All applicable revisions", L"Approved revisions", L"Do not allow"}));
    EXPECT_EQ(Revision(), L"All applicable revisions");
    EXPECT_EQ(Text(Page::kSearchModeGroup), L"Режим поиска обновлений Windows");
    ui::SelectItem(Control(Page::kRevisions), L"Do not allow");
    EXPECT_TRUE(page->IsModified());
    ASSERT_EQ(Sheet().PressOk().outcome, host::PageHost::Outcome::Applied);
    EXPECT_EQ(StoredValue<ZRPAR::IntValue>(kSection, kRevisionKey), 3);
    EXPECT_EQ(StoredValue<ZRPAR::IntValue>(kSection, kSearchKey), 0);
    EXPECT_FALSE(StoredValue<ZRPAR::BoolValue>(kAssessment, L"VAPM_REAL_TIME_ASSESSMENT_AUTOSTART"));
}

TEST_F(WsusPage, StoredModesShowAsTheirChoicesAndUnknownOnesAsNone)
{
    const struct {
        std::int32_t search, revision;
        std::vector<int> radios;
        const wchar_t* shown;
        std::int32_t writtenSearch, writtenRevision;
    } cases[] = {
        {1, 2, {Page::kOffline}, L"Approved revisions", 1, 2},
        {2, 3, {Page::kSearchOff}, L"Do not allow", 2, 3},
        {3, 7, {}, L"", 2, 7},  // no radio goes back as "off"; no item keeps the stored mode
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.search);
        Store({{kSearchKey, Setting(c.search, false)}, {kRevisionKey, Setting(c.revision, false)}});
        OpenPolicy();
        EXPECT_EQ(CheckedRadios(), c.radios);
        EXPECT_EQ(Revision(), c.shown);
        ASSERT_EQ(Sheet().PressOk().outcome, host::PageHost::Outcome::Applied);
        EXPECT_EQ(StoredValue<ZRPAR::IntValue>(kSection, kSearchKey), c.writtenSearch);
        EXPECT_EQ(StoredValue<ZRPAR::IntValue>(kSection, kRevisionKey), c.writtenRevision);
    }
}

TEST_F(WsusPage, EachValueIsWrittenWithItsLockAndASearchModeLockedAboveStays)
{
    Store({{kSearchKey, LockedSetting(1, {L"Офис", L"Головная", L""})}});
    OpenPolicy();
    EXPECT_EQ(CheckedRadios(), std::vector<int>{Page::kOffline});
    for (int id : {Page::kOnline, Page::kOffline, Page::kSearchOff}) EXPECT_FALSE(Enabled(id)) << id;
    ui::Click(Control(Page::kSwitchToServer));
    ui::Click(Control(Page::kCheckOnStart));
    ui::SelectItem(Lock(Page::kSwitchLock), L"Редактирование запрещено");
    ui::SelectItem(Lock(Page::kCheckLock), L"Редактирование запрещено");
    ASSERT_EQ(Sheet().PressOk().outcome, host::PageHost::Outcome::Applied);
    EXPECT_TRUE(StoredValue<ZRPAR::BoolValue>(kSection, L"ZRNAG_WUA_OPT_SWITCH"));
    EXPECT_TRUE(StoredMandatory(kSection, L"ZRNAG_WUA_OPT_SWITCH"));
    EXPECT_TRUE(StoredValue<ZRPAR::BoolValue>(kAssessment, L"VAPM_REAL_TIME_ASSESSMENT_AUTOSTART"));
    EXPECT_TRUE(StoredMandatory(kAssessment, L"VAPM_REAL_TIME_ASSESSMENT_AUTOSTART"));
    EXPECT_FALSE(StoredMandatory(kSection, kRevisionKey));
    EXPECT_TRUE(ZRPAR::GetBoolValue(Stored(kSection, kSearchKey), L"ZRPRSS_ValLck"));  // the parent's, as it was
}

TEST_F(WsusPage, OnOneComputerEveryLockOnlyShowsWhatThePolicyEnforces)
{
    source.WithComputer();
    Open(new CPageWsusSettingsProduct(PageData(NHPP::kObjectLocalSettings, NHPP::kSectionProduct,
                                               {kSection, kAssessment, L"86"})));
    for (int id : {Page::kSwitchLock, Page::kSearchLock, Page::kCheckLock, Page::kRevisionsLock})
        EXPECT_FALSE(IsWindowEnabled(Lock(id))) << id;
    EXPECT_TRUE(Enabled(Page::kRevisions));
}

TEST_F(WsusPage, TheExportNamesTheModesByTheirTexts)
{
    Store({{kSearchKey, Setting(1, true)}, {kRevisionKey, Setting(2, false)}});
    NHPP::CNHPPageData data(&source, NHPP::kObjectPolicy);
    for (const wchar_t* section : {kSection, kAssessment, L"86"}) data.RegisterSection(section, NHPP::kSectionPolicy, false);
    const auto results = Page::Export(data);
    ASSERT_EQ(results.size(), 1u);
    std::vector<std::wstring> labels;
    for (std::size_t i = 0; i < results[0]->GetSize(); ++i) labels.push_back(results[0]->NameAt(i));
    EXPECT_EQ(labels.size(), 4u);
    EXPECT_EQ(labels[0], L"Переключить службу Windows Update на Сервер администрирования.");
    const std::string text = ZRPAR::RenderText(*results[0]);
    EXPECT_NE(text.find("  Режим поиска обновлений Windows (string): \"Off-line\"\n"
                        "  Замочек \"Режим поиска обновлений Windows\" (string): \"Редактирование запрещено\"\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("(string): \"Approved revisions\"\n"), std::string::npos) << text;
    EXPECT_NE(text.find("при запуске (string): \"Нет\"\n"), std::string::npos) << text;
}
