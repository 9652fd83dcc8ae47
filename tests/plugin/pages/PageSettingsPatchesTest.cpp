#include "plugin/pages/agent/PageSettingsPatches.h"

#include <gtest/gtest.h>

#include "support/PageFixture.h"
#include "support/PolicyBuilder.h"
#include "zrpar/Render.h"

using testsupport::LockedSetting;
using testsupport::Section;
using testsupport::Setting;

namespace {

using Page = CPageSettingsPatches;
constexpr const wchar_t* kPatchSection = L"ZRNAG_PTCH_SETTINGS_SECTION";
constexpr const wchar_t* kApplyKey = L"ZRNAG_PTCH_ALLOW_APPLY_NONAPROVED_PATCHES";
constexpr const wchar_t* kOfflineKey = L"ZRNAG_USE_OFFLINE_UPDATES";

class PatchesPage : public testsupport::PageTest {
protected:
    void OpenPolicy() { Open(new Page(PageData(NHPP::kObjectPolicy, NHPP::kSectionPolicy, {kPatchSection, L"86"}))); }
    HWND Lock(int id) { return GetDlgItem(GetDlgItem(window, id), CLockCtrl::kDropDownId); }
};

}  // namespace

TEST_F(PatchesPage, BothFlagsAreOnByDefaultAndEachGoesToItsSectionWithItsLock)
{
    OpenPolicy();
    EXPECT_TRUE(Checked(Page::kApplyAtOnce));
    EXPECT_TRUE(Checked(Page::kOfflineUpdates));
    EXPECT_NE(Text(Page::kOfflineUpdates).find(L"администрирования.\nЕсли"), std::wstring::npos);
    ui::Click(Control(Page::kOfflineUpdates));
    ui::SelectItem(Lock(Page::kApplyLock), L"Редактирование запрещено");
    EXPECT_TRUE(page->IsModified());
    ASSERT_EQ(Sheet().PressOk().outcome, host::PageHost::Outcome::Applied);
    EXPECT_TRUE(StoredValue<ZRPAR::BoolValue>(kPatchSection, kApplyKey));
    EXPECT_TRUE(StoredMandatory(kPatchSection, kApplyKey));
    EXPECT_FALSE(StoredValue<ZRPAR::BoolValue>(L"86", kOfflineKey));
    EXPECT_FALSE(StoredMandatory(L"86", kOfflineKey));
}

TEST_F(PatchesPage, AFlagLockedAboveIsLeftUntouched)
{
    const auto locked = Section({{kApplyKey, LockedSetting(false, {L"Офис", L"Головная", L""})}}, true);
    locked->ReplaceValue(L"ZRPRSS_Mnd", ZRPAR::CreateValue(false).Get());  // the section itself is free here
    policy.Replace(L"1103", L"1.0.0.0", kPatchSection, locked.Get());
    OpenPolicy();
    EXPECT_FALSE(Checked(Page::kApplyAtOnce));
    EXPECT_FALSE(Enabled(Page::kApplyAtOnce));
    EXPECT_TRUE(Enabled(Page::kOfflineUpdates));
    ASSERT_EQ(Sheet().PressOk().outcome, host::PageHost::Outcome::Applied);
    EXPECT_TRUE(ZRPAR::Equals(*testsupport::ReadStored(policy, kPatchSection), *locked));
    EXPECT_TRUE(StoredValue<ZRPAR::BoolValue>(L"86", kOfflineKey));
}

TEST_F(PatchesPage, OnOneComputerTheLocksOnlyShowWhatThePolicyEnforces)
{
    source.WithComputer();
    Open(new CPageSettingsPatchesProduct(PageData(NHPP::kObjectLocalSettings, NHPP::kSectionProduct,
                                                  {kPatchSection, L"86"})));
    for (int id : {Page::kApplyLock, Page::kOfflineLock}) EXPECT_FALSE(IsWindowEnabled(Lock(id))) << id;
    ui::Click(Control(Page::kApplyAtOnce));
    ASSERT_EQ(Sheet().PressOk().outcome, host::PageHost::Outcome::Applied);
}

TEST_F(PatchesPage, TheExportHasBothFlagsWithTheirLocks)
{
    policy.Replace(L"1103", L"1.0.0.0", kPatchSection, Section({{kApplyKey, Setting(true, true)}}).Get());
    NHPP::CNHPPageData data(&source, NHPP::kObjectPolicy);
    data.RegisterSection(L"86", NHPP::kSectionPolicy, true);
    data.RegisterSection(kPatchSection, NHPP::kSectionPolicy, false);
    const auto results = Page::Export(data);
    ASSERT_EQ(results.size(), 1u);
    ASSERT_EQ(results[0]->GetSize(), 2u);
    const std::string text = ZRPAR::RenderText(*results[0]);
    EXPECT_EQ(text.find("Устанавливать патчи сразу после загрузки"), 0u) << text;
    EXPECT_NE(text.find("(string): \"Да\"\n  Замочек"), std::string::npos) << text;
    EXPECT_NE(text.find("\"Редактирование запрещено\""), std::string::npos) << text;
    EXPECT_NE(text.find("Загружать обновления и антивирусные базы с сервера администрирования."), std::string::npos);
}
