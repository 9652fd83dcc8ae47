#include "plugin/pages/tasks/PageTaskHostControlGeneral.h"

#include <gtest/gtest.h>

#include "TaskParamsPageTest.h"

namespace {

using Page = CPageTaskHostControlGeneral;
using host::PageHost;
constexpr const wchar_t* kType = L"ZRNAG_TASK_COMP_CONTROL";

class HostControlPage : public testsupport::TaskParamsPageTest {
protected:
    void OpenTask(UINT layout = Page::kFullTemplate) { Open(new Page(layout, TaskData(kType))); }
};

}  // namespace

TEST_F(HostControlPage, TheStoredActionChoosesTheRadioAndWhatIsShown)
{
    const struct {
        bool shutdown, turnOnAfter;
        int radio;
        bool userGroup;
        const wchar_t* forceLabel;
    } cases[] = {
        {false, false, Page::kTurnOn, false, L"Форсировать перезагрузку через, минуты:"},
        {false, true, Page::kTurnOn, false, L"Форсировать перезагрузку через, минуты:"},
        {true, false, Page::kShutDown, true, L"Форсировать выключение через (мин.):"},
        {true, true, Page::kRestart, true, L"Форсировать перезагрузку через, минуты:"},
    };
    for (const auto& entry : cases) {
        SCOPED_TRACE(testing::Message() << entry.shutdown << entry.turnOnAfter);
        Reopen();
        StoreTask({{L"ZRNAG_TASK_COMP_CONTROL_SHUTDOWN", entry.shutdown},
                   {L"ZRNAG_SHUTDOWN_TURN_ON_AFTER_SHUTDOWN", entry.turnOnAfter}});
        OpenTask();
        EXPECT_TRUE(Checked(entry.radio));
        EXPECT_EQ(Visible(Page::kAsk), entry.userGroup);
        EXPECT_EQ(Visible(Page::kCloseApplications), entry.userGroup);
        EXPECT_EQ(Text(Page::kForce), entry.forceLabel);
        ASSERT_EQ(PressOk(), PageHost::Outcome::Applied);
        // the action left alone is not rewritten, whatever "turn on after" holds
        EXPECT_EQ(SavedBool(L"ZRNAG_TASK_COMP_CONTROL_SHUTDOWN"), entry.shutdown);
        EXPECT_EQ(SavedBool(L"ZRNAG_SHUTDOWN_TURN_ON_AFTER_SHUTDOWN"), entry.turnOnAfter);
    }
}

TEST_F(HostControlPage, PeriodsAreEditedInMinutesAndAnUntouchedOneStaysAsStored)
{
    StoreTask({{L"ZRNAG_SHUTDOWN_ASK", true}, {L"ZRNAG_SHUTDOWN_ASK_PERIOD", 90}, {L"ZRNAG_SHUTDOWN_FORCE", true},
               {L"ZRNAG_SHUTDOWN_FORCE_TIME", 300}, {L"ZRNAG_SHUTDOWN_FROCE_CLOSE_APP", true},
               {L"ZRNAG_SHUTDOWN_FROCE_CLOSE_APP_PERIOD", 1200}});
    OpenTask();
    EXPECT_TRUE(Checked(Page::kRepeat));
    EXPECT_EQ(Text(Page::kRepeatPeriod), L"1");  // 90 s truncated
    EXPECT_EQ(Text(Page::kForceTime), L"5");
    EXPECT_EQ(Text(Page::kClosePeriod), L"20");
    ui::ReplaceText(Control(Page::kForceTime), L"7");
    ASSERT_EQ(PressOk(), PageHost::Outcome::Applied);
    EXPECT_EQ(SavedInt(L"ZRNAG_SHUTDOWN_ASK_PERIOD"), 90);
    EXPECT_EQ(SavedInt(L"ZRNAG_SHUTDOWN_FORCE_TIME"), 420);
    EXPECT_EQ(SavedInt(L"ZRNAG_SHUTDOWN_FROCE_CLOSE_APP_PERIOD"), 1200);

    ui::SetChecked(Control(Page::kRepeat), false);
    ASSERT_EQ(PressOk(), PageHost::Outcome::Applied);
    EXPECT_EQ(SavedInt(L"ZRNAG_SHUTDOWN_ASK_PERIOD"), 0);
    Reopen();
    OpenTask();
    EXPECT_FALSE(Checked(Page::kRepeat));
    EXPECT_FALSE(Enabled(Page::kRepeatPeriod));
}

TEST_F(HostControlPage, NotAskingStoresAskFalseAndImmediatelyTrue)
{
    OpenTask();
    EXPECT_TRUE(Checked(Page::kRestart));  // an empty task restarts and asks
    EXPECT_TRUE(Checked(Page::kAsk));
    ui::SetChecked(Control(Page::kAsk), false);
    for (int id : {Page::kMessage, Page::kRepeat, Page::kForce, Page::kRepeatPeriod, Page::kForceTime})
        EXPECT_FALSE(Enabled(id)) << id;
    ASSERT_EQ(PressOk(), PageHost::Outcome::Applied);
    EXPECT_EQ(SavedBool(L"ZRNAG_SHUTDOWN_ASK"), false);
    EXPECT_EQ(SavedBool(L"ZRNAG_SHUTDOWN_IMMEDIATELY"), true);
}

TEST_F(HostControlPage, TheWizardsMessageFollowsTheActionAndTheSheetsDoesNot)
{
    for (UINT layout : {Page::kCompactTemplate, Page::kFullTemplate}) {
        SCOPED_TRACE(layout);
        Reopen();
        task.Clear();
        StoreTask({{L"ZRNAG_SHUTDOWN_ASK_QUESTION", L"Сохраните работу."}});
        OpenTask(layout);
        const bool compact = layout == Page::kCompactTemplate;
        EXPECT_EQ(Visible(Page::kCloseApplications), !compact);
        ui::Click(Control(Page::kShutDown));
        EXPECT_EQ(Text(Page::kMessage), compact ? L"Нужно выключить компьютер." : L"Сохраните работу.");
        ui::Click(Control(Page::kRestart));
        EXPECT_EQ(Text(Page::kMessage), compact ? L"Требуется выполнить перезагрузку компьютера." : L"Сохраните работу.");
        ui::Click(Control(Page::kTurnOn));
        ASSERT_EQ(PressOk(), PageHost::Outcome::Applied);
        EXPECT_EQ(SavedBool(L"ZRNAG_TASK_COMP_CONTROL_SHUTDOWN"), false);
        EXPECT_EQ(SavedBool(L"ZRNAG_SHUTDOWN_TURN_ON_AFTER_SHUTDOWN"), true);
    }
}

TEST_F(HostControlPage, APeriodInForceMustBeInRange)
{
    StoreTask({{L"ZRNAG_SHUTDOWN_FORCE", true}, {L"ZRNAG_SHUTDOWN_FORCE_TIME", 0}});
    OpenTask();
    EXPECT_EQ(Text(Page::kForceTime), L"0");  // shown as stored
    EXPECT_EQ(PressOk(), PageHost::Outcome::Refused);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_NE(Boxes()[0].find(L"Форсировать перезагрузку"), std::wstring::npos) << ZRSTD::ToUtf8(Boxes()[0]);
    EXPECT_EQ(SavedInt(L"ZRNAG_SHUTDOWN_FORCE_TIME"), 0);
}

TEST_F(HostControlPage, WhatThePolicyEnforcesCannotBeChanged)
{
    StoreTask({{L"ZRNAG_SHUTDOWN_ASK", true}, {L"ZRNAG_SHUTDOWN_ASK_QUESTION", L"Q"}});
    Govern(kType, {L"ZRNAG_SHUTDOWN_ASK", L"ZRNAG_TASK_COMP_CONTROL_SHUTDOWN"});
    OpenTask();
    EXPECT_FALSE(Enabled(Page::kAsk));
    EXPECT_FALSE(Enabled(Page::kTurnOn));
    EXPECT_TRUE(Enabled(Page::kMessage));
    ui::ReplaceText(Control(Page::kMessage), L"Перезагрузка в 18:00");
    ASSERT_EQ(PressOk(), PageHost::Outcome::Applied);
    EXPECT_EQ(SavedString(L"ZRNAG_SHUTDOWN_ASK_QUESTION"), L"Перезагрузка в 18:00");
    EXPECT_EQ(Saved(L"ZRNAG_SHUTDOWN_IMMEDIATELY"), nullptr);  // derived from an enforced value: left alone
}
