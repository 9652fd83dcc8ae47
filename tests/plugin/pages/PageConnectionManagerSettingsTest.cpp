#include "plugin/pages/agent/PageConnectionManagerSettings.h"

#include <gtest/gtest.h>

#include "controls/PluginEnvironment.h"
#include "plugin/pages/agent/DlgConnectionManagerTimeInterval.h"
#include "support/ControlQueries.h"
#include "support/PageFixture.h"
#include "support/PolicyBuilder.h"
#include "ui/Locale.h"
#include "ui/Services.h"

using testsupport::LockedSetting;
using testsupport::Section;
using testsupport::Setting;

namespace {

using Page = CPageConnectionManagerSettings;
using Dlg = CDlgConnectionManagerTimeInterval;

ZRSTD::CAutoPtr<ZRPAR::Params> Interval(std::int32_t mask, std::int32_t hour, std::int32_t minute,
                                        std::int32_t duration)
{
    return ZRPAR::CreateParamsBody(
        {{L"CMNG_DAYSMASK", mask}, {L"CMNG_HOUR", hour}, {L"CMNG_MINS", minute}, {L"CMNG_DURATION", duration}});
}

ZRSTD::CAutoPtr<ZRPAR::ArrayValue> Schedule(std::initializer_list<ZRSTD::CAutoPtr<ZRPAR::Params>> intervals)
{
    auto schedule = ZRPAR::CreateArrayValue();
    for (const auto& interval : intervals) schedule->Append(ZRPAR::CreateValue(interval.Get()).Get());
    return schedule;
}

const std::wstring kWorkdayMorning = L"Время начала: 09:30, продолжительность (минут): 120, дни недели: Пн, Вт, Ср, Чт, Пт";
const std::wstring kSundayNight = L"Время начала: 23:05, продолжительность (минут): 60, дни недели: Вс";

class ConnectionManagerPage : public testsupport::PageTest {
protected:
    void Store(std::initializer_list<ZRPAR::ParamsBodyEntry> settings) { PageTest::Store(L"86", Section(settings)); }
    void StoreTwoIntervals(bool mandatory = false)
    {
        Store({{L"CMNG_SCH_ACTIVATED", Setting(true, mandatory)},
               {L"CMNG_SCHEDULE", Setting(Schedule({Interval(0x3E, 9, 30, 120), Interval(1, 23, 5, 60)}), mandatory)}});
    }
    void OpenPolicy() { Open(new Page(PageData(NHPP::kObjectPolicy, NHPP::kSectionPolicy, {L"86"}))); }

    HWND List() { return Control(Page::kIntervals); }
    std::vector<std::wstring> Lines() { return testsupport::ListRows(List()); }
    // The stored schedule as list lines, read back from the policy.
    std::vector<std::wstring> StoredLines()
    {
        PluginStateScope scope;  // the lines are the plug-in's strings
        std::vector<std::wstring> lines;
        auto* schedule = static_cast<ZRPAR::ArrayValue*>(Stored(L"86", L"CMNG_SCHEDULE")->FindValue(L"ZRPRSS_Val"));
        for (std::size_t i = 0; i < schedule->GetSize(); ++i)
            lines.push_back(IntervalLine(ReadConnectionInterval(schedule->ItemAt(i))));
        return lines;
    }
    HWND LockDropDown() { return PageTest::LockDropDown(Page::kLock); }
};

bool DayChecked(HWND dialog, int item) { return ui::IsListRowChecked(GetDlgItem(dialog, Dlg::kDays), item); }

}  // namespace

TEST(ConnectionInterval, LinesNameTheStartTheLengthAndTheDaysSundayFirst)
{
    CZRNGTPlgApp::Instance().InitInstance("/nonexistent/");
    PluginStateScope scope;
    EXPECT_EQ(IntervalLine({0x3E, 9, 30, 120}), kWorkdayMorning);
    EXPECT_EQ(IntervalDaysText(1), L"Вс");
    EXPECT_EQ(IntervalDaysText(-1), L"Вс, Пн, Вт, Ср, Чт, Пт, Сб");
    EXPECT_EQ(IntervalDaysText(0x41), L"Вс, Сб");
    EXPECT_EQ(IntervalDaysText(0), L"");
    EXPECT_EQ(IntervalStartText(0, 0), L"00:00");
    EXPECT_EQ(IntervalStartText(24, 0), L"Invalid DateTime");
    EXPECT_EQ(IntervalStartText(-1, -1), L"Invalid DateTime");
    EXPECT_EQ(IntervalStartText(12, 60), L"Invalid DateTime");
    // a negative length from bad data is written as the unsigned number it is
    EXPECT_NE(IntervalLine({1, 0, 0, -1}).find(L"4294967295"), std::wstring::npos);

    ASSERT_TRUE(ui::SetUserLocale(L"en-US"));
    EXPECT_EQ(IntervalDaysText(0x3E), L"Mon, Tue, Wed, Thu, Fri");
    ASSERT_TRUE(ui::SetUserLocale(L"ru-RU"));
}

TEST(ConnectionInterval, ValuesOfAnotherTypeOrNoContainerReadAsDefaults)
{
    const auto wrongTypes = ZRPAR::CreateParamsBody({{L"CMNG_DAYSMASK", L"all"}, {L"CMNG_HOUR", 7}, {L"CMNG_DURATION", true}});
    const auto element = ZRPAR::CreateValue(wrongTypes.Get());
    const ConnectionInterval read = ReadConnectionInterval(element.Get());
    EXPECT_EQ(read.daysMask, -1);
    EXPECT_EQ(read.hour, 7);
    EXPECT_EQ(read.minute, 0);
    EXPECT_EQ(read.duration, 1440);
    const ConnectionInterval fromText = ReadConnectionInterval(ZRPAR::CreateValue(L"not an interval").Get());
    EXPECT_EQ(fromText.daysMask, -1);
    EXPECT_EQ(ReadConnectionInterval(nullptr).duration, 1440);
}

TEST_F(ConnectionManagerPage, TheStoredScheduleIsListedInOrderAndTheButtonsFollowTheSelection)
{
    StoreTwoIntervals();
    OpenPolicy();
    EXPECT_EQ(Lines(), (std::vector<std::wstring>{kWorkdayMorning, kSundayNight}));
    EXPECT_TRUE(Checked(Page::kInIntervals));
    EXPECT_FALSE(Checked(Page::kWhenNeeded));
    EXPECT_TRUE(Enabled(Page::kIntervals));
    EXPECT_TRUE(Enabled(Page::kAdd));
    EXPECT_FALSE(Enabled(Page::kEdit));
    EXPECT_FALSE(Enabled(Page::kRemove));
    EXPECT_EQ(Text(Page::kHelpLink), L"Подробнее об этой функции");
    EXPECT_FALSE(page->IsModified());

    ui::ClickListItem(List(), 1);
    EXPECT_TRUE(Enabled(Page::kEdit));
    EXPECT_TRUE(Enabled(Page::kRemove));
    EXPECT_FALSE(page->IsModified());  // choosing a line changes nothing

    ui::Click(Control(Page::kWhenNeeded));
    EXPECT_TRUE(page->IsModified());
    for (int id : {Page::kIntervals, Page::kAdd, Page::kEdit, Page::kRemove}) EXPECT_FALSE(Enabled(id)) << id;
    ASSERT_EQ(Sheet().PressOk().outcome, host::PageHost::Outcome::Applied);
    EXPECT_FALSE(StoredValue<ZRPAR::BoolValue>(L"86", L"CMNG_SCH_ACTIVATED"));
    EXPECT_EQ(StoredLines(), (std::vector<std::wstring>{kWorkdayMorning, kSundayNight}));  // kept for later
}

TEST_F(ConnectionManagerPage, AnAddedIntervalStartsWithEveryDayAndNeedsOneToBeAccepted)
{
    OpenPolicy();
    EXPECT_TRUE(Checked(Page::kWhenNeeded));
    EXPECT_FALSE(Enabled(Page::kAdd));
    ui::Click(Control(Page::kInIntervals));

    user.InDialog([](HWND dialog) {
        EXPECT_EQ(GetWindowTextW(dialog), L"Период подключения");
        for (int item = 0; item < 7; ++item) EXPECT_TRUE(DayChecked(dialog, item)) << item;
        EXPECT_EQ(ui::GetListRowText(GetDlgItem(dialog, Dlg::kDays), 0), L"понедельник");  // the locale's week starts on Monday
        EXPECT_EQ(GetDlgItemTextW(dialog, Dlg::kDuration), L"1440");
        SYSTEMTIME shown;
        SendMessageW(GetDlgItem(dialog, Dlg::kStart), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&shown));
        EXPECT_EQ(shown.wYear, 2010);
        EXPECT_EQ(shown.wMonth, 5);
        EXPECT_EQ(shown.wDay, 18);
        EXPECT_EQ(shown.wHour, 0);

        for (int item = 0; item < 7; ++item) ui::ToggleListCheck(ui::FindControl(dialog, Dlg::kDays), item);
        ui::Click(ui::FindControl(dialog, IDOK));  // no day: refused, the dialog stays
        ui::ToggleListCheck(ui::FindControl(dialog, Dlg::kDays), 6);  // Sunday
        ui::PickDateTime(ui::FindControl(dialog, Dlg::kStart), {2010, 5, 2, 18, 23, 5, 0, 0});
        ui::ClearText(ui::FindControl(dialog, Dlg::kDuration));
        ui::Type(ui::FindControl(dialog, Dlg::kDuration), L"60");
        ui::Click(ui::FindControl(dialog, IDOK));
    });
    user.Answer(IDOK);  // the refusal
    ui::Click(Control(Page::kAdd));
    EXPECT_EQ(Boxes(), std::vector<std::wstring>{L"Не заданы дни недели."});
    EXPECT_EQ(Lines(), std::vector<std::wstring>{kSundayNight});
    EXPECT_TRUE(page->IsModified());

    ui::SelectItem(LockDropDown(), L"Редактирование запрещено");
    ASSERT_EQ(Sheet().PressOk().outcome, host::PageHost::Outcome::Applied);
    EXPECT_TRUE(StoredValue<ZRPAR::BoolValue>(L"86", L"CMNG_SCH_ACTIVATED"));
    EXPECT_TRUE(StoredMandatory(L"86", L"CMNG_SCH_ACTIVATED"));
    EXPECT_TRUE(StoredMandatory(L"86", L"CMNG_SCHEDULE"));
    auto* schedule = static_cast<ZRPAR::ArrayValue*>(Stored(L"86", L"CMNG_SCHEDULE")->FindValue(L"ZRPRSS_Val"));
    ASSERT_EQ(schedule->GetSize(), 1u);
    const auto* added = static_cast<ZRPAR::ParamsValue*>(schedule->ItemAt(0))->GetValue();
    EXPECT_EQ(ZRPAR::GetIntValue(added, L"CMNG_DAYSMASK"), 1);
    EXPECT_EQ(ZRPAR::GetIntValue(added, L"CMNG_HOUR"), 23);
    EXPECT_EQ(ZRPAR::GetIntValue(added, L"CMNG_MINS"), 5);
    EXPECT_EQ(ZRPAR::GetIntValue(added, L"CMNG_DURATION"), 60);
}

TEST_F(ConnectionManagerPage, CancellingTheDialogAddsNothing)
{
    StoreTwoIntervals();
    OpenPolicy();
    user.InDialog([](HWND dialog) {
        ui::ToggleListCheck(ui::FindControl(dialog, Dlg::kDays), 0);
        ui::Click(ui::FindControl(dialog, IDCANCEL));
    });
    ui::Click(Control(Page::kAdd));
    EXPECT_EQ(Lines().size(), 2u);
    EXPECT_FALSE(page->IsModified());
}

TEST_F(ConnectionManagerPage, DoubleClickAndSpaceEditTheLineButNotWithAModifierHeld)
{
    StoreTwoIntervals();
    OpenPolicy();
    int opened = 0;
    auto showDays = [&](HWND dialog) {
        ++opened;
        // 0x3E: Monday to Friday checked, the weekend not
        for (int item = 0; item < 7; ++item) EXPECT_EQ(DayChecked(dialog, item), item < 5) << item;
        ui::ToggleListCheck(ui::FindControl(dialog, Dlg::kDays), 5);  // and Saturday
        ui::Click(ui::FindControl(dialog, IDOK));
    };
    user.InDialog(showDays);
    ui::DoubleClickListItem(List(), 0);
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(Lines()[0], L"Время начала: 09:30, продолжительность (минут): 120, дни недели: Пн, Вт, Ср, Чт, Пт, Сб");
    EXPECT_EQ(Lines()[1], kSundayNight);
    EXPECT_TRUE(page->IsModified());

    ui::SetKeyDown(VK_CONTROL, true);
    ui::ListKeyPress(List(), VK_SPACE);
    ui::SetKeyDown(VK_CONTROL, false);
    EXPECT_EQ(opened, 1);

    user.InDialog([&](HWND dialog) {
        ++opened;
        ui::Click(ui::FindControl(dialog, IDCANCEL));
    });
    ui::ListKeyPress(List(), VK_SPACE);
    EXPECT_EQ(opened, 2);

    ASSERT_EQ(Sheet().PressOk().outcome, host::PageHost::Outcome::Applied);
    EXPECT_EQ(StoredLines()[0], Lines()[0]);
}

TEST_F(ConnectionManagerPage, RemovingAsksFirstAndKeepsTheOthersInOrder)
{
    Store({{L"CMNG_SCH_ACTIVATED", Setting(true, false)},
           {L"CMNG_SCHEDULE",
            Setting(Schedule({Interval(0x3E, 9, 30, 120), Interval(2, 12, 0, 30), Interval(1, 23, 5, 60)}), false)}});
    OpenPolicy();
    ui::ClickListItem(List(), 1);
    user.Answer(IDNO);
    ui::ListKeyPress(List(), VK_DELETE);
    EXPECT_EQ(Boxes(), std::vector<std::wstring>{L"Вы действительно хотите удалить выбранный интервал?"});
    EXPECT_EQ(ui::ShownBoxes().back().style & MB_ICONWARNING, static_cast<UINT>(MB_ICONWARNING));
    EXPECT_EQ(Lines().size(), 3u);
    EXPECT_FALSE(page->IsModified());

    user.Answer(IDYES);
    ui::Click(Control(Page::kRemove));
    EXPECT_EQ(Lines(), (std::vector<std::wstring>{kWorkdayMorning, kSundayNight}));
    EXPECT_FALSE(Enabled(Page::kRemove));  // nothing is selected any more

    // the line that moved up edits its own element
    user.InDialog([](HWND dialog) {
        ui::ClearText(ui::FindControl(dialog, Dlg::kDuration));
        ui::Type(ui::FindControl(dialog, Dlg::kDuration), L"90");
        ui::Click(ui::FindControl(dialog, IDOK));
    });
    ui::DoubleClickListItem(List(), 1);
    ASSERT_EQ(Sheet().PressOk().outcome, host::PageHost::Outcome::Applied);
    EXPECT_EQ(StoredLines(), (std::vector<std::wstring>{
                                 kWorkdayMorning, L"Время начала: 23:05, продолжительность (минут): 90, дни недели: Вс"}));
}

TEST_F(ConnectionManagerPage, RemovingTheOnlyIntervalWhileTheyAreUsedIsRefused)
{
    Store({{L"CMNG_SCH_ACTIVATED", Setting(true, false)}, {L"CMNG_SCHEDULE", Setting(Schedule({Interval(1, 1, 0, 5)}), false)}});
    OpenPolicy();
    ui::ClickListItem(List(), 0);
    user.Answer(IDYES).Answer(IDOK);
    ui::Click(Control(Page::kRemove));
    EXPECT_EQ(Sheet().PressOk().outcome, host::PageHost::Outcome::Refused);
    EXPECT_EQ(Boxes().back(), L"Не указаны временные интервалы подключения.");
    EXPECT_EQ(StoredLines().size(), 1u);  // nothing was written
}

TEST_F(ConnectionManagerPage, AScheduleLockedAboveIsReadOnlyAndWrittenBackUnchanged)
{
    const testsupport::ParentLock parent{L"Офис", L"Головная политика", L""};
    Store({{L"CMNG_SCH_ACTIVATED", LockedSetting(true, parent)},
           {L"CMNG_SCHEDULE", LockedSetting(Schedule({Interval(0x3E, 9, 30, 120)}), parent)}});
    OpenPolicy();
    EXPECT_EQ(Lines(), std::vector<std::wstring>{kWorkdayMorning});
    for (int id : {Page::kWhenNeeded, Page::kInIntervals, Page::kIntervals, Page::kAdd}) EXPECT_FALSE(Enabled(id)) << id;
    ASSERT_EQ(Sheet().PressOk().outcome, host::PageHost::Outcome::Applied);
    EXPECT_NE(Stored(L"86", L"CMNG_SCHEDULE")->FindValue(L"ZRPRSS_ValLck"), nullptr);
    EXPECT_EQ(StoredLines(), std::vector<std::wstring>{kWorkdayMorning});
}

TEST_F(ConnectionManagerPage, BadStoredDataShowsDefaultsAndIsNotLost)
{
    auto schedule = Schedule({Interval(0x3E, 9, 30, 120)});
    schedule->Append(ZRPAR::CreateValue(L"garbage").Get());
    schedule->Append(ZRPAR::CreateValue(Interval(1, 25, 0, 5000).Get()).Get());
    Store({{L"CMNG_SCH_ACTIVATED", Setting(L"yes", false)}, {L"CMNG_SCHEDULE", Setting(schedule, false)}});
    OpenPolicy();
    EXPECT_TRUE(Checked(Page::kWhenNeeded));  // a flag of another type reads as false
    ui::Click(Control(Page::kInIntervals));
    ASSERT_EQ(Lines().size(), 3u);
    EXPECT_EQ(Lines()[1],
              L"Время начала: 00:00, продолжительность (минут): 1440, дни недели: Вс, Пн, Вт, Ср, Чт, Пт, Сб");
    EXPECT_EQ(Lines()[2], L"Время начала: Invalid DateTime, продолжительность (минут): 5000, дни недели: Вс");

    // the hour no clock shows opens at midnight, the length beyond the range at its default
    user.InDialog([](HWND dialog) {
        SYSTEMTIME shown;
        SendMessageW(GetDlgItem(dialog, Dlg::kStart), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&shown));
        EXPECT_EQ(shown.wHour, 0);
        EXPECT_EQ(GetDlgItemTextW(dialog, Dlg::kDuration), L"1440");
        ui::Click(ui::FindControl(dialog, IDCANCEL));
    });
    ui::DoubleClickListItem(List(), 2);

    ASSERT_EQ(Sheet().PressOk().outcome, host::PageHost::Outcome::Applied);
    auto* stored = static_cast<ZRPAR::ArrayValue*>(Stored(L"86", L"CMNG_SCHEDULE")->FindValue(L"ZRPRSS_Val"));
    ASSERT_EQ(stored->GetSize(), 3u);
    EXPECT_EQ(stored->ItemAt(1)->GetType(), ZRPAR::VT_STRING);  // kept as it was
}

TEST_F(ConnectionManagerPage, TheHelpLinkOpensThePagesTopic)
{
    OpenPolicy();
    ui::ClearServiceCalls();
    ui::Click(Control(Page::kHelpLink));
    bool shown = false;
    for (const auto& call : ui::ServiceCalls())
        shown = shown || call.argument.find(L"94301") != std::wstring::npos || call.detail.find(L"94301") != std::wstring::npos;
    EXPECT_TRUE(shown);
}

TEST_F(ConnectionManagerPage, OnOneComputerTheLockOnlyShowsThePolicy)
{
    source.WithComputer(0).Replace(
        L"1103", L"1.0.0.0", L"86",
        ZRPAR::CreateParamsBody({{L"CMNG_SCH_ACTIVATED", true}, {L"CMNG_SCHEDULE", Schedule({Interval(1, 23, 5, 60)})}}).Get());
    Open(new CPageConnectionManagerSettingsProduct(PageData(NHPP::kObjectLocalSettings, NHPP::kSectionProduct, {L"86"})));
    EXPECT_EQ(Lines(), std::vector<std::wstring>{kSundayNight});
    EXPECT_FALSE(IsWindowEnabled(LockDropDown()));
    EXPECT_TRUE(Enabled(Page::kAdd));
}

TEST_F(ConnectionManagerPage, TheExportNamesTheModeOrListsTheIntervals)
{
    Store({{L"CMNG_SCH_ACTIVATED", Setting(false, true)},
           {L"CMNG_SCHEDULE", Setting(Schedule({Interval(0x3E, 9, 30, 120)}), true)}});
    auto results = Page::Export(*PageData(NHPP::kObjectPolicy, NHPP::kSectionPolicy, {L"86"}));
    ASSERT_EQ(results.size(), 2u);
    EXPECT_EQ(ZRPAR::GetStringValue(results[0].Get(), L"Подключаться в указанные периоды времени"),
              L"Подключаться при необходимости");
    EXPECT_EQ(ZRPAR::GetStringValue(results[0].Get(), L"Замочек \"Менеджер соединений\""), L"Редактирование запрещено");
    EXPECT_TRUE(ZRPAR::Equals(*results[0], *results[1]));
    EXPECT_NE(results[0].Get(), results[1].Get());  // two containers: the exporter may merge one into another

    StoreTwoIntervals();
    results = Page::Export(*PageData(NHPP::kObjectPolicy, NHPP::kSectionPolicy, {L"86"}));
    EXPECT_EQ(ZRPAR::GetStringValue(results[0].Get(), L"Подключаться в указанные периоды времени"),
              kWorkdayMorning + L"; " + kSundayNight);
    EXPECT_EQ(ZRPAR::GetStringValue(results[0].Get(), L"Замочек \"Менеджер соединений\""), L"Редактирование разрешено");
}
