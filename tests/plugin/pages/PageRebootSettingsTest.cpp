#include "plugin/pages/agent/PageRebootSettings.h"

#include <gtest/gtest.h>

#include "support/PageFixture.h"
#include "support/PolicyBuilder.h"

using testsupport::LockedSetting;
using testsupport::Section;
using testsupport::Setting;

namespace {

using Page = CPageRebootSettingsBase;
constexpr const wchar_t* kSection = L"ZRNAG_SECTION_REBOOT_SETTINGS";

class RebootPage : public testsupport::PageTest {
protected:
    void Store(std::initializer_list<ZRPAR::ParamsBodyEntry> settings) { PageTest::Store(kSection, Section(settings)); }
    void OpenPolicy() { Open(new Page(PageData(NHPP::kObjectPolicy, NHPP::kSectionPolicy, {kSection}))); }
    std::int32_t StoredInt(const wchar_t* key) { return StoredValue<ZRPAR::IntValue>(kSection, key); }
    bool StoredBool(const wchar_t* key) { return StoredValue<ZRPAR::BoolValue>(kSection, key); }
};

}  // namespace

TEST_F(RebootPage, PeriodsAreShownInMinutesAndGoBackAsStoredUnlessRetyped)
{
    Store({{L"ZRNAG_SHUTDOWN_ASK", Setting(true, false)},
           {L"ZRNAG_SHUTDOWN_ASK_PERIOD", Setting(0, false)},
           {L"ZRNAG_SHUTDOWN_FORCE", Setting(true, false)},
           {L"ZRNAG_SHUTDOWN_FORCE_TIME", Setting(90, false)},
           {L"ZRNAG_SHUTDOWN_FROCE_CLOSE_APP", Setting(true, false)},
           {L"ZRNAG_SHUTDOWN_FROCE_CLOSE_APP_PERIOD", Setting(119, false)}});
    OpenPolicy();
    EXPECT_TRUE(Checked(Page::kAskUser));
    EXPECT_FALSE(Checked(Page::kNoRestart));
    EXPECT_FALSE(Checked(Page::kRepeatQuestion));  // a period of 0 asks once
    EXPECT_EQ(Text(Page::kRepeatPeriod), L"5");
    EXPECT_EQ(Text(Page::kForceTime), L"1");    // 90 s truncated
    EXPECT_EQ(Text(Page::kClosePeriod), L"1");  // 119 s truncated
    EXPECT_FALSE(page->IsModified());
    ASSERT_EQ(Sheet().PressOk().outcome, host::PageHost::Outcome::Applied);
    EXPECT_EQ(StoredInt(L"ZRNAG_SHUTDOWN_ASK_PERIOD"), 0);
    EXPECT_EQ(StoredInt(L"ZRNAG_SHUTDOWN_FORCE_TIME"), 90);  // untouched: as stored
    EXPECT_EQ(StoredInt(L"ZRNAG_SHUTDOWN_FROCE_CLOSE_APP_PERIOD"), 119);
    EXPECT_TRUE(StoredBool(L"ZRNAG_SHUTDOWN_ASK"));
    EXPECT_FALSE(StoredBool(L"ZRNAG_SHUTDOWN_IMMEDIATELY"));

    ui::ReplaceText(Control(Page::kForceTime), L"2");
    ASSERT_EQ(Sheet().PressOk().outcome, host::PageHost::Outcome::Applied);
    EXPECT_EQ(StoredInt(L"ZRNAG_SHUTDOWN_FORCE_TIME"), 120);
    EXPECT_EQ(StoredInt(L"ZRNAG_SHUTDOWN_FROCE_CLOSE_APP_PERIOD"), 119);
}

TEST_F(RebootPage, ControlsFollowTheChosenActionAndTheirBoxes)
{
    OpenPolicy();
    EXPECT_TRUE(Checked(Page::kNoRestart));
    const struct {
        const char* step;
        std::function<void()> act;
        bool repeat, repeatPeriod, force, forceTime, close, closePeriod;
    } steps[] = {
        {"do not restart", [] {}, false, false, false, false, false, false},
        {"ask", [&] { ui::Click(Control(Page::kAskUser)); }, true, true, true, false, true, false},
        {"force", [&] { ui::Click(Control(Page::kForceRestart)); }, true, true, true, true, true, false},
        {"close", [&] { ui::Click(Control(Page::kCloseApplications)); }, true, true, true, true, true, true},
        {"automatic", [&] { ui::Click(Control(Page::kRestartAutomatically)); }, false, false, false,
         false, true, true},
        {"none again", [&] { ui::Click(Control(Page::kNoRestart)); }, false, false, false, false, false,
         false},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.step);
        step.act();
        EXPECT_EQ(Enabled(Page::kRepeatQuestion), step.repeat);
        EXPECT_EQ(Enabled(Page::kRepeatPeriod), step.repeatPeriod);  // the period is checked by default (300 s)
        EXPECT_EQ(Enabled(Page::kForceRestart), step.force);
        EXPECT_EQ(Enabled(Page::kForceTime), step.forceTime);
        EXPECT_EQ(Enabled(Page::kCloseApplications), step.close);
        EXPECT_EQ(Enabled(Page::kClosePeriod), step.closePeriod);
    }
    EXPECT_TRUE(page->IsModified());
    ui::Click(Control(Page::kAskUser));
    // forcing and closing are on with no minutes: each is named in turn
    for (const auto& [field, label] : {std::pair{Page::kForceTime, L"Форсировать перезагрузку через, минуты"},
                                       std::pair{Page::kClosePeriod, L"Принудительно завершать приложения в заблокированных сессиях через, минуты"}}) {
        ui::ClearInteractionRecord();
        EXPECT_EQ(Sheet().PressOk().outcome, host::PageHost::Outcome::Refused);
        EXPECT_EQ(Boxes(), std::vector<std::wstring>{std::wstring(L"Неверно задано значение поля «") + label +
                                                     L"».\nДопустимые значения: от 1 до 86400."});
        ui::ReplaceText(Control(field), L"10");
    }
    ui::ClearText(Control(Page::kRepeatPeriod));
    EXPECT_EQ(Text(Page::kRepeatPeriod), L"5");  // cleared, it shows its minutes again, selected
    ui::Type(Control(Page::kRepeatPeriod), L"0");  // 0 minutes is refused
    EXPECT_EQ(Text(Page::kRepeatPeriod), L"5");
    ui::ClearText(Control(Page::kRepeatPeriod));
    ui::Type(Control(Page::kRepeatPeriod), L"70000");
    ui::Type(Control(Page::kRepeatPeriod), L"0");  // 700000 minutes is beyond the range
    EXPECT_EQ(Text(Page::kRepeatPeriod), L"70000");
    ASSERT_EQ(Sheet().PressOk().outcome, host::PageHost::Outcome::Applied);
    EXPECT_EQ(StoredInt(L"ZRNAG_SHUTDOWN_ASK_PERIOD"), 70000 * 60);
    EXPECT_EQ(StoredInt(L"ZRNAG_SHUTDOWN_FORCE_TIME"), 600);
}

TEST_F(RebootPage, ALockedAboveSectionIsReadOnlyAndUntouched)
{
    Store({{L"ZRNAG_SHUTDOWN_IMMEDIATELY", LockedSetting(true, {L"Офис", L"Головная", L""})}});
    OpenPolicy();
    EXPECT_TRUE(Checked(Page::kRestartAutomatically));
    for (int id : {Page::kNoRestart, Page::kAskUser, Page::kCloseApplications, Page::kClosePeriod})
        EXPECT_FALSE(Enabled(id)) << id;
    ASSERT_EQ(Sheet().PressOk().outcome, host::PageHost::Outcome::Applied);
    auto stored = testsupport::ReadStored(policy, kSection);
    auto* settings = static_cast<ZRPAR::ParamsValue*>(stored->FindValue(L"ZRPRSS_Val"))->GetValue();
    EXPECT_EQ(settings->GetSize(), 1u);  // nothing written beside the parent's value
}

TEST_F(RebootPage, ValuesOfAnotherTypeLoadTheDefaultsAndOutOfRangeOnesShowAsStored)
{
    Store({{L"ZRNAG_SHUTDOWN_ASK", Setting(L"yes", false)},
           {L"ZRNAG_SHUTDOWN_ASK_PERIOD", Setting(L"often", false)},
           {L"ZRNAG_SHUTDOWN_FORCE_TIME", Setting(-600, false)}});
    OpenPolicy();
    EXPECT_TRUE(Checked(Page::kNoRestart));
    EXPECT_TRUE(Checked(Page::kRepeatQuestion));  // 300 s by default
    EXPECT_EQ(Text(Page::kRepeatPeriod), L"5");
    EXPECT_EQ(Text(Page::kForceTime), L"-10");
    // the field is out of reach (forcing is off): it goes back as it was
    ASSERT_EQ(Sheet().PressOk().outcome, host::PageHost::Outcome::Applied);
    EXPECT_EQ(StoredInt(L"ZRNAG_SHUTDOWN_FORCE_TIME"), -600);
}

TEST_F(RebootPage, AnAskPeriodThatAsksNothingStaysAsStored)
{
    Store({{L"ZRNAG_SHUTDOWN_ASK", Setting(true, false)}, {L"ZRNAG_SHUTDOWN_ASK_PERIOD", Setting(-5, false)}});
    OpenPolicy();
    EXPECT_FALSE(Checked(Page::kRepeatQuestion));
    ASSERT_EQ(Sheet().PressOk().outcome, host::PageHost::Outcome::Applied);
    EXPECT_EQ(StoredInt(L"ZRNAG_SHUTDOWN_ASK_PERIOD"), -5);
}

TEST_F(RebootPage, ComputersThatCannotRestartOnRequestShowDoNotRestartAndKeepTheStoredChoice)
{
    const struct {
        std::int32_t computerType;
        const wchar_t* agentVersion;
        bool forced;
    } cases[] = {{0, L"15.0.0.0", false}, {0, L"6.5.0", true}, {0x2000, L"15.0.0.0", true}, {0, L"", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.computerType);
        Reopen();
        ZRPlugin::SettingsStorage& local = source.WithComputer(c.computerType);
        local.Replace(L"1103", L"1.0.0.0", kSection, ZRPAR::CreateParamsBody({{L"ZRNAG_SHUTDOWN_ASK", true}}).Get());
        auto data = PageData(NHPP::kObjectLocalSettings, NHPP::kSectionProduct, {kSection});
        data->SetAgentVersion(c.agentVersion);
        Open(new CPageRebootSettingsProduct(data));
        EXPECT_EQ(Checked(Page::kNoRestart), c.forced);
        EXPECT_EQ(Enabled(Page::kAskUser), !c.forced);
        EXPECT_FALSE(IsWindowEnabled(LockDropDown(Page::kLock)));
        ASSERT_EQ(Sheet().PressOk().outcome, host::PageHost::Outcome::Applied);
        EXPECT_TRUE(ZRPAR::GetBoolValue(testsupport::ReadStored(local, kSection), L"ZRNAG_SHUTDOWN_ASK"));
    }
}

TEST_F(RebootPage, TheExportDescribesTheChosenAction)
{
    const struct {
        const char* name;
        ZRSTD::CAutoPtr<ZRPAR::Params> stored;
        std::string expected;
    } cases[] = {
        {"nothing", Section({}),
         "  Замочек \"Управление перезагрузкой\": Редактирование разрешено\n"
         "  Не перезагружать операционную систему: Да\n"},
        {"automatic",
         Section({{L"ZRNAG_SHUTDOWN_IMMEDIATELY", Setting(true, false)}, {L"ZRNAG_SHUTDOWN_FROCE_CLOSE_APP", Setting(true, false)},
                  {L"ZRNAG_SHUTDOWN_FROCE_CLOSE_APP_PERIOD", Setting(600, false)}}),
         "  Замочек \"Управление перезагрузкой\": Редактирование разрешено\n"
         "  При необходимости перезагрузить операционную систему автоматически\n"
         "    Принудительно завершать приложения в заблокированных сессиях через, минуты: 10\n"},
        {"ask",
         Section({{L"ZRNAG_SHUTDOWN_IMMEDIATELY", Setting(false, true)}, {L"ZRNAG_SHUTDOWN_ASK", Setting(true, true)},
                  {L"ZRNAG_SHUTDOWN_ASK_PERIOD", Setting(0, true)}, {L"ZRNAG_SHUTDOWN_FORCE", Setting(true, true)},
                  {L"ZRNAG_SHUTDOWN_FORCE_TIME", Setting(125, true)}}),
         "  Замочек \"Управление перезагрузкой\": Редактирование запрещено\n"
         "  Запросить у пользователя разрешение на перезагрузку\n"
         "    Принудительно завершать приложения в заблокированных сессиях через, минуты: Нет\n"
         "    Повторять запрос периодически, минуты: Нет\n"
         "    Форсировать перезагрузку через, минуты: 2\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PageTest::Store(kSection, c.stored);
        const auto results = Page::Export(*PageData(NHPP::kObjectPolicy, NHPP::kSectionPolicy, {kSection}));
        ASSERT_EQ(results.size(), 1u);
        EXPECT_EQ(testsupport::ExportText(*results[0], "  "), c.expected);
    }
}
