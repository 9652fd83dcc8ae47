#include "plugin/pages/dpoint/PageSettingsNetScan.h"

#include <gtest/gtest.h>

#include "support/PageFixture.h"
#include "support/TestScheduleEditor.h"
#include "zrpar/Render.h"

using testsupport::LockedSetting;
using testsupport::Setting;

namespace {

using Page = CPageSettingsNetScan;
using Outcome = host::PageHost::Outcome;
constexpr const wchar_t* kSection = L"ZRNAG_SECTION_NETSCAN";

class NetScanPage : public testsupport::PageTest {
protected:
    void SetUp() override
    {
        PageTest::SetUp();
        editor = source.Set(L"NH_DLG_SCHEDULE", ZRSTD::MakeRef<testsupport::TestScheduleEditor>());
    }
    void OpenPolicy()
    {
        Reopen();
        Open(new CPageSettingsNetScanPolicy(PageData(NHPP::kObjectPolicy, NHPP::kSectionPolicy, {kSection, L"86"})));
    }
    std::int32_t SavedInt(const wchar_t* key) { return StoredValue<ZRPAR::IntValue>(kSection, key); }
    bool OkApplies() { return Sheet().PressOk().outcome == Outcome::Applied; }

    testsupport::TestScheduleEditor* editor = nullptr;
};

}  // namespace

TEST_F(NetScanPage, ShowsPeriodsInMinutesWithTheirDefaultsAndEnablesEachGroupByItsBox)
{
    const struct {
        const char* name;
        ZRSTD::CAutoPtr<ZRPAR::Params> section;
        std::vector<const wchar_t*> periods;  // full, fast, IP, AD
        std::vector<bool> boxes;              // Windows, IP, zeroconf, AD
    } cases[] = {
        {"empty policy", testsupport::Section({}), {L"60", L"15", L"420", L"60"}, {true, false, false, false}},
        {"configured",
         testsupport::Section({{L"ZRSRV_NET_SCAN_ENABLED", Setting(false, true)},
                               {L"ZRSRV_SP_FULLUPDATENET_PERIOD", Setting(7200000, true)},
                               {L"ZRSRV_SP_FASTUPDATENET_PERIOD", Setting(90000, true)},  // 1.5 minutes: 1
                               {L"ZRSRV_SP_DPNS_ENABLE", Setting(true, false)},
                               {L"ZRSRV_SP_DPNS_PERIOD", Setting(600000, false)},
                               {L"ZRSRV_SP_DPNS_USE_ZEROCONF", Setting(true, false)},
                               {L"ZRSRV_AD_SCAN_ENABLED", Setting(true, false)},
                               {L"ZRSRV_SP_SCAN_AD", Setting(1800000, false)}}),
         {L"120", L"1", L"10", L"30"},
         {false, true, true, true}},
    };
    const int edits[] = {Page::kFullPeriod, Page::kFastPeriod, Page::kIpPeriod, Page::kAdPeriod};
    const int boxes[] = {Page::kWindowsScan, Page::kIpScan, Page::kZeroconf, Page::kAdScan};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Store(kSection, c.section);
        OpenPolicy();
        for (std::size_t i = 0; i < 4; ++i) {
            EXPECT_EQ(Text(edits[i]), c.periods[i]) << edits[i];
            EXPECT_EQ(Checked(boxes[i]), c.boxes[i]) << boxes[i];
        }
        for (int id : {Page::kFullPeriod, Page::kFastSchedule}) EXPECT_EQ(Enabled(id), c.boxes[0]) << id;
        for (int id : {Page::kIpPeriod, Page::kIpSchedule}) EXPECT_EQ(Enabled(id), c.boxes[1]) << id;
        EXPECT_EQ(Enabled(Page::kAdPeriod), c.boxes[3]);
        ASSERT_TRUE(OkApplies());
        const std::string saved = StoredText(kSection);
        OpenPolicy();
        ASSERT_TRUE(OkApplies());
        EXPECT_EQ(StoredText(kSection), saved);  // an untouched OK changes nothing
    }
    EXPECT_EQ(SavedInt(L"ZRSRV_SP_FASTUPDATENET_PERIOD"), 90000);  // whole minutes shown, the stored value kept
    EXPECT_EQ(Text(Page::kFullPeriodLabel), L"Период полного опроса (мин): (*)");
    EXPECT_EQ(Text(Page::kOldAgentsNote), L"(*) - Настройка для версий Агента администрирования ниже 10.2");
    EXPECT_EQ(Text(Page::kIpSchedule), L"Настроить расписание сканирования");
}

TEST_F(NetScanPage, PeriodsAreSavedInMillisecondsWithTheirGroupsLock)
{
    OpenPolicy();
    ui::Click(Control(Page::kIpScan));
    ui::Click(Control(Page::kAdScan));
    ui::ReplaceText(Control(Page::kIpPeriod), L"7");
    ui::ReplaceText(Control(Page::kAdPeriod), L"5");
    ui::ReplaceText(Control(Page::kFastPeriod), L"35791");  // the most that fits
    ui::ReplaceText(Control(Page::kFullPeriod), L"35792");  // its last digit is refused as typed
    EXPECT_EQ(Text(Page::kFullPeriod), L"3579");
    SetLock(Page::kIpLock, true);
    ASSERT_TRUE(OkApplies());
    const struct {
        const wchar_t* key;
        std::int32_t value;
        bool mandatory;
    } saved[] = {{L"ZRSRV_SP_DPNS_PERIOD", 420000, true},
                 {L"ZRSRV_SP_SCAN_AD", 300000, false},
                 {L"ZRSRV_SP_FASTUPDATENET_PERIOD", 2147460000, false},
                 {L"ZRSRV_SP_FULLUPDATENET_PERIOD", 214740000, false}};
    for (const auto& s : saved) {
        EXPECT_EQ(SavedInt(s.key), s.value) << s.key;
        EXPECT_EQ(StoredMandatory(kSection, s.key), s.mandatory) << s.key;
    }
    EXPECT_TRUE(StoredValue<ZRPAR::BoolValue>(kSection, L"ZRSRV_SP_DPNS_ENABLE"));
    EXPECT_FALSE(StoredMandatory(kSection, L"ZRSRV_SP_DPNS_USE_ZEROCONF"));  // its own lock
}

TEST_F(NetScanPage, AnUnusablePeriodOfAGroupThatIsOnIsRefused)
{
    const struct {
        const char* name;
        std::int32_t storedIpPeriod;
        bool ipOn;
        const wchar_t* typed;  // into the IP period; null: left alone
        const wchar_t* message;  // the start of the message; null: applied
    } cases[] = {
        {"emptied", 600000, true, L"", L"Неверно задан диапазон опроса IP-подсети."},
        {"stored as 0", 0, true, nullptr, L"Неверно задан диапазон опроса IP-подсети."},
        {"stored below 0", -60000, true, nullptr, L"Неверно задано значение поля"},
        {"emptied while off", 600000, false, L"", nullptr},
        {"stored as 0 while off", 0, false, nullptr, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Store(kSection, testsupport::Section({{L"ZRSRV_SP_DPNS_ENABLE", Setting(c.ipOn, false)},
                                              {L"ZRSRV_SP_DPNS_PERIOD", Setting(c.storedIpPeriod, false)}}));
        OpenPolicy();
        if (c.typed) {
            if (!c.ipOn) ui::Click(Control(Page::kIpScan));
            ui::ReplaceText(Control(Page::kIpPeriod), c.typed);
            if (!c.ipOn) ui::Click(Control(Page::kIpScan));
        }
        ui::ClearInteractionRecord();
        const auto outcome = Sheet().PressOk().outcome;
        if (!c.message) {
            EXPECT_EQ(outcome, Outcome::Applied);
        } else {
            EXPECT_EQ(outcome, Outcome::Refused);
            ASSERT_EQ(Boxes().size(), 1u);
            EXPECT_EQ(Boxes()[0].rfind(c.message, 0), 0u) << ZRSTD::ToUtf8(Boxes()[0]);
        }
        EXPECT_EQ(SavedInt(L"ZRSRV_SP_DPNS_PERIOD"), c.storedIpPeriod);  // refused or off: kept
    }
}

TEST_F(NetScanPage, AScheduleIsBuiltFromThePeriodEditedInTheConsolesEditorAndSavedWithTheLock)
{
    Store(kSection, testsupport::Section({{L"ZRSRV_SP_SCAN_AD", Setting(1800000, false)},
                                          {L"ZRSRV_AD_SCAN_ENABLED", Setting(true, false)}}));
    OpenPolicy();
    editor->accept = false;
    ui::Click(Control(Page::kAdSchedule));
    ASSERT_FALSE(editor->opened.empty());
    EXPECT_EQ(editor->lastOptions, 0xa0402u);
    EXPECT_EQ(ZRPAR::GetIntValue(editor->opened.back().Get(), L"ZRSCH_PERIOD_SEC"), 1800);
    EXPECT_FALSE(page->IsModified());  // cancelled
    editor->accept = true;
    ui::Click(Control(Page::kAdSchedule));
    EXPECT_TRUE(page->IsModified());
    ui::Click(Control(Page::kAdSchedule));  // opened again: on the edited one
    EXPECT_TRUE(ZRPAR::GetBoolValue(editor->opened.back().Get(), L"EditedByTest"));
    SetLock(Page::kAdLock, true);
    ASSERT_TRUE(OkApplies());
    EXPECT_TRUE(ZRPAR::GetBoolValue(StoredValue<ZRPAR::ParamsValue>(kSection, L"ZRSRV_SP_SCAN_AD_SCHEDULE"), L"EditedByTest"));
    EXPECT_TRUE(StoredMandatory(kSection, L"ZRSRV_SP_SCAN_AD_SCHEDULE"));
    for (const wchar_t* key : {L"ZRSRV_SP_DPNS_SCHEDULE", L"ZRSRV_SP_FULLUPDATENET_SCHEDULE"})
        EXPECT_EQ(Stored(kSection, key), nullptr) << ZRSTD::ToUtf8(key);  // built only on demand

    // a schedule missing with its period missing too: the IP ranges' 7 hours
    Store(kSection, testsupport::Section({{L"ZRSRV_SP_DPNS_ENABLE", Setting(true, false)}}));
    OpenPolicy();
    ui::Click(Control(Page::kIpSchedule));
    EXPECT_EQ(ZRPAR::GetIntValue(editor->opened.back().Get(), L"ZRSCH_PERIOD_SEC"), 25200);
}

TEST_F(NetScanPage, GroupsAParentPolicyLocksStayReadOnlyAndBadValuesStay)
{
    const testsupport::ParentLock parent{L"Офис", L"Головная", L""};
    Store(kSection, testsupport::Section({{L"ZRSRV_AD_SCAN_ENABLED", LockedSetting(true, parent)},
                                          {L"ZRSRV_SP_SCAN_AD", LockedSetting(0, parent)},
                                          {L"ZRSRV_NET_SCAN_ENABLED", Setting(L"on", false)},
                                          {L"ZRSRV_SP_FULLUPDATENET_PERIOD", Setting(true, false)}}));
    OpenPolicy();
    for (int id : {Page::kAdScan, Page::kAdPeriod, Page::kAdSchedule}) EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_EQ(Text(Page::kAdPeriod), L"0");  // shown as stored, not this policy's to refuse
    EXPECT_TRUE(Checked(Page::kWindowsScan));  // the default for a value of another type
    EXPECT_EQ(Text(Page::kFullPeriod), L"60");
    ASSERT_TRUE(OkApplies());
    EXPECT_EQ(SavedInt(L"ZRSRV_SP_SCAN_AD"), 0);
    EXPECT_EQ(StoredValue<ZRPAR::StringValue>(kSection, L"ZRSRV_NET_SCAN_ENABLED"), L"on");
    EXPECT_TRUE(StoredValue<ZRPAR::BoolValue>(kSection, L"ZRSRV_SP_FULLUPDATENET_PERIOD"));
    ui::ReplaceText(Control(Page::kFullPeriod), L"90");
    ASSERT_TRUE(OkApplies());
    EXPECT_EQ(SavedInt(L"ZRSRV_SP_FULLUPDATENET_PERIOD"), 5400000);
}

TEST_F(NetScanPage, TheExportGroupsThePollingKindsWithTheirLocks)
{
    auto schedule = ZRPAR::CreateParamsBody({{L"ZRSCH_PERIOD_SEC", 600}});
    Store(kSection, testsupport::Section({{L"ZRSRV_SP_DPNS_ENABLE", Setting(true, true)},
                                          {L"ZRSRV_SP_DPNS_PERIOD", Setting(600000, true)},
                                          {L"ZRSRV_SP_DPNS_SCHEDULE", Setting(schedule, true)}}));
    const auto results = Page::Export(*PageData(NHPP::kObjectPolicy, NHPP::kSectionPolicy, {kSection}));
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0]->GetNames(), (std::vector<std::wstring>{L"Период обновления информации о компьютерной сети",
                                                                  L"IP-подсети", L"Сканирование ActiveDirectory",
                                                                  L"Zeroconf polling"}));
    const std::string text = testsupport::ExportText(*results[0]);
    for (const char* row : {"    Период запроса информации с доменов, мин.: 60\n",
                            "    Замочек \"Период сканирования IP-подсетей (мин)\": Редактирование запрещено\n",
                            "      ZRSCH_PERIOD_SEC: (int)\n",
                            "    Настроить расписание полного сканирования компьютеров: Расписание не задано\n"})
        EXPECT_NE(text.find(row), std::string::npos) << row << "\n" << text;
}
