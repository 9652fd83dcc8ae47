#include "plugin/pages/dpoint/PageUaUpdaterSettings.h"

#include <gtest/gtest.h>

#include "support/PageFixture.h"

using testsupport::LockedSetting;
using testsupport::Setting;

namespace {

using Page = CPageUaUpdaterSettings;
using Outcome = host::PageHost::Outcome;
constexpr const wchar_t* kSection = L"UA";
constexpr const wchar_t* kKey = L"ZRNAG_UA_RETRANSLATE_DIFFS";

class UpdaterPage : public testsupport::PageTest {
protected:
    void OpenPolicy()
    {
        Reopen();
        Open(new Page(PageData(NHPP::kObjectPolicy, NHPP::kSectionPolicy, {kSection, L"86"})));
    }
};

}  // namespace

TEST_F(UpdaterPage, TheOptionShowsAsStoredWithItsNoteAndLock)
{
    const struct {
        const char* name;
        ZRSTD::CAutoPtr<ZRPAR::Params> section;
        bool checked, editable;
        const wchar_t* lock;
    } cases[] = {
        {"missing: on", testsupport::Section({}), true, true, L"Редактирование разрешено"},
        {"off, enforced", testsupport::Section({{kKey, Setting(false, true)}}), false, true, L"Редактирование запрещено"},
        {"off, locked above", testsupport::Section({{kKey, LockedSetting(false, {L"Офис", L"Головная", L""})}}), false,
         false, L"Редактирование запрещено"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Store(kSection, c.section);
        OpenPolicy();
        EXPECT_EQ(Checked(Page::kRetranslateDiffs), c.checked);
        EXPECT_EQ(Visible(Page::kNote), c.checked);
        EXPECT_EQ(Visible(Page::kNoteIcon), c.checked);
        EXPECT_EQ(Enabled(Page::kRetranslateDiffs), c.editable);
        EXPECT_EQ(LockShown(Page::kLock), c.lock);
        EXPECT_EQ(Text(Page::kRetranslateDiffs), L"&Retranslate Updater Diff files");
        ASSERT_EQ(Sheet().PressOk().outcome, Outcome::Applied);
        EXPECT_EQ(StoredValue<ZRPAR::BoolValue>(kSection, kKey), c.checked);
    }
}

TEST_F(UpdaterPage, ClearingTheOptionHidesTheNoteAndSavesItWithTheLock)
{
    OpenPolicy();
    ui::Click(Control(Page::kRetranslateDiffs));
    EXPECT_FALSE(Visible(Page::kNote));
    EXPECT_TRUE(page->IsModified());
    SetLock(Page::kLock, true);
    ASSERT_EQ(Sheet().PressOk().outcome, Outcome::Applied);
    EXPECT_FALSE(StoredValue<ZRPAR::BoolValue>(kSection, kKey));
    EXPECT_TRUE(StoredMandatory(kSection, kKey));
}

TEST_F(UpdaterPage, AValueOfAnotherTypeStaysUntilTheBoxIsChanged)
{
    Store(kSection, testsupport::Section({{kKey, Setting(L"yes", false)}}));
    OpenPolicy();
    EXPECT_TRUE(Checked(Page::kRetranslateDiffs));  // the default
    ASSERT_EQ(Sheet().PressOk().outcome, Outcome::Applied);
    EXPECT_EQ(StoredValue<ZRPAR::StringValue>(kSection, kKey), L"yes");
    ui::Click(Control(Page::kRetranslateDiffs));
    ASSERT_EQ(Sheet().PressOk().outcome, Outcome::Applied);
    EXPECT_FALSE(StoredValue<ZRPAR::BoolValue>(kSection, kKey));
}
