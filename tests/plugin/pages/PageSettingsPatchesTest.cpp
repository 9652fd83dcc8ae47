#include "plugin/pages/agent/PageSettingsPatches.h"

#include <gtest/gtest.h>

#include "support/PageFixture.h"
#include "zrpar/Render.h"

using testsupport::LockedSetting;
using testsupport::Setting;

namespace {

using Page = CPageSettingsPatches;
constexpr const wchar_t* kPatchSection = L"ZRNAG_PTCH_SETTINGS_SECTION";
constexpr const wchar_t* kApplyKey = L"ZRNAG_PTCH_ALLOW_APPLY_NONAPROVED_PATCHES";
constexpr const wchar_t* kOfflineKey = L"ZRNAG_USE_OFFLINE_UPDATES";

class PatchesPage : public testsupport::PageTest {
protected:
    void OpenPolicy() { Open(new Page(PageData(NHPP::kObjectPolicy, NHPP::kSectionPolicy, {kPatchSection, L"86"}))); }
};

}  // namespace

TEST_F(PatchesPage, BothFlagsAreOnByDefaultAndEachGoesToItsSectionWithItsLock)
{
    OpenPolicy();
    EXPECT_TRUE(Checked(Page::kApplyAtOnce));
    EXPECT_TRUE(Checked(Page::kOfflineUpdates));
    EXPECT_NE(Text(Page::kOfflineUpdates).find(L"администрирования.\nЕсли"), std::wstring::npos);
    ui::Click(Control(Page::kOfflineUpdates));
    SetLock(Page::kApplyLock, true);
    ASSERT_EQ(Sheet().PressOk().outcome, host::PageHost::Outcome::Applied);
    EXPECT_TRUE(StoredValue<ZRPAR::BoolValue>(kPatchSection, kApplyKey));
    EXPECT_TRUE(StoredMandatory(kPatchSection, kApplyKey));
    EXPECT_FALSE(StoredValue<ZRPAR::BoolValue>(L"86", kOfflineKey));
    EXPECT_FALSE(StoredMandatory(L"86", kOfflineKey));
}

TEST_F(PatchesPage, AFlagLockedAboveIsLeftUntouched)
{
    StorePolicySection(kPatchSection, {{kApplyKey, LockedSetting(false, {L"Офис", L"Головная", L""})}});
    const auto before = testsupport::ReadStored(policy, kPatchSection);
    OpenPolicy();
    EXPECT_FALSE(Checked(Page::kApplyAtOnce));
    EXPECT_FALSE(Enabled(Page::kApplyAtOnce));
    ASSERT_EQ(Sheet().PressOk().outcome, host::PageHost::Outcome::Applied);
    EXPECT_TRUE(ZRPAR::Equals(*testsupport::ReadStored(policy, kPatchSection), *before));
    EXPECT_TRUE(StoredValue<ZRPAR::BoolValue>(L"86", kOfflineKey));
}

TEST_F(PatchesPage, TheExportHasBothFlagsWithTheirLocks)
{
    StorePolicySection(kPatchSection, {{kApplyKey, Setting(true, true)}});
    NHPP::CNHPPageData data(&source, NHPP::kObjectPolicy);
    data.RegisterSection(L"86", NHPP::kSectionPolicy, true);
    data.RegisterSection(kPatchSection, NHPP::kSectionPolicy, false);
    const auto results = Page::Export(data);
    ASSERT_EQ(results.size(), 1u);
    const std::string text = ZRPAR::RenderText(*results[0]);
    EXPECT_EQ(text.find("Устанавливать патчи сразу после загрузки"), 0u) << text;
    EXPECT_NE(text.find("(string): \"Да\"\n  Замочек \"Устанавливать"), std::string::npos) << text;
    EXPECT_NE(text.find("(string): \"Редактирование запрещено\"\nЗагружать обновления"), std::string::npos) << text;
}
