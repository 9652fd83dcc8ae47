#include "plugin/pages/agent/PageNetStorages.h"

#include <gtest/gtest.h>

#include "support/PageFixture.h"
#include "zrpar/Render.h"

using testsupport::LockedSetting;
using testsupport::Setting;

namespace {

using Page = CPageNetStoragesBase;
constexpr const wchar_t* kSection = L"86";
const wchar_t* const kKeys[] = {L"ENABLE_INVENTORY_FLAG", L"INVENTORY_INCLUDE_PATCHES_FLAG", L"ZRNAGNLST_WUS_ENABLE_FLAG",
                                L"ZRNAGNLST_VAPM_ENABLE_FLAG", L"ZRNAG_HWINV_ENABLED"};
const int kBoxes[] = {Page::kInstalledApplications, Page::kPatches, Page::kWindowsUpdates, Page::kVulnerabilities,
                      Page::kHardware};

class StoragesPage : public testsupport::PageTest {
protected:
    void OpenPolicy() { Open(new Page(PageData(NHPP::kObjectPolicy, NHPP::kSectionPolicy, {kSection}))); }
};

}  // namespace

TEST_F(StoragesPage, AnEmptySectionShowsEveryKindCheckedAndTheWarning)
{
    OpenPolicy();
    for (int box : kBoxes) EXPECT_TRUE(Checked(box)) << box;
    EXPECT_TRUE(Visible(Page::kPatchesWarning));
    EXPECT_NE(Text(Page::kExplanation).find(L"Сервер  администрирования"), std::wstring::npos);  // its double blanks
    EXPECT_FALSE(page->IsModified());
}

TEST_F(StoragesPage, ThePatchesBoxTogglesTheWarningAndEveryBoxIsWrittenAsShownWithItsLock)
{
    StorePolicySection(kSection, {{L"INVENTORY_INCLUDE_PATCHES_FLAG", Setting(false, false)}});
    OpenPolicy();
    EXPECT_TRUE(Visible(Page::kPatchesWarning));  // when the page opens, whatever the box says
    ui::Click(Control(Page::kInstalledApplications));
    EXPECT_TRUE(Enabled(Page::kPatches));  // clearing the applications does not disable their patches
    for (bool shown : {true, false}) {
        ui::Click(Control(Page::kPatches));
        EXPECT_EQ(Visible(Page::kPatchesWarning), shown);
    }
    ui::Click(Control(Page::kHardware));
    SetLock(Page::kUpdatesLock, true);
    ASSERT_EQ(Sheet().PressOk().outcome, host::PageHost::Outcome::Applied);
    const bool values[] = {false, false, true, true, false}, mandatory[] = {false, false, true, false, false};
    for (std::size_t i = 0; i < std::size(kKeys); ++i) {
        EXPECT_EQ(StoredValue<ZRPAR::BoolValue>(kSection, kKeys[i]), values[i]) << i;
        EXPECT_EQ(StoredMandatory(kSection, kKeys[i]), mandatory[i]) << i;
    }
}

TEST_F(StoragesPage, EachLockGovernsItsKindsAndTheApplicationsLockFollowsThePatchesFlag)
{
    StorePolicySection(kSection, {{L"ENABLE_INVENTORY_FLAG", Setting(true, false)},
                                  {L"INVENTORY_INCLUDE_PATCHES_FLAG", LockedSetting(true, {L"Офис", L"Головная", L""})},
                                  {L"ZRNAG_HWINV_ENABLED", Setting(false, true)}});
    OpenPolicy();
    for (int id : {Page::kInstalledApplications, Page::kPatches}) EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_FALSE(IsWindowEnabled(LockDropDown(Page::kApplicationsLock)));
    EXPECT_TRUE(Enabled(Page::kHardware));
    EXPECT_EQ(LockShown(Page::kHardwareLock), L"Редактирование запрещено");
    EXPECT_EQ(LockShown(Page::kUpdatesLock), L"Редактирование разрешено");
}

TEST_F(StoragesPage, OnOneComputerTheLocksOnlyShowWhatThePolicyEnforces)
{
    source.WithComputer();
    StorePolicySection(kSection, {{L"ZRNAGNLST_VAPM_ENABLE_FLAG", Setting(false, true)}});
    Open(new CPageNetStoragesProduct(PageData(NHPP::kObjectLocalSettings, NHPP::kSectionProduct, {kSection})));
    EXPECT_EQ(page->GetHelpTopic(), 3907u);
    for (int lock : {Page::kApplicationsLock, Page::kUpdatesLock, Page::kVulnerabilitiesLock, Page::kHardwareLock})
        EXPECT_FALSE(IsWindowEnabled(LockDropDown(lock))) << lock;
    EXPECT_FALSE(Checked(Page::kVulnerabilities));
    EXPECT_FALSE(Enabled(Page::kVulnerabilities));  // enforced
    EXPECT_TRUE(Enabled(Page::kHardware));
}

TEST_F(StoragesPage, TheExportHasAContainerPerKindWithoutThePatches)
{
    StorePolicySection(kSection, {{L"ZRNAGNLST_WUS_ENABLE_FLAG", Setting(false, true)},
                                  {L"INVENTORY_INCLUDE_PATCHES_FLAG", Setting(false, true)}});
    NHPP::CNHPPageData data(&source, NHPP::kObjectPolicy);
    data.RegisterSection(kSection, NHPP::kSectionPolicy, true);
    const auto results = Page::Export(data);
    ASSERT_EQ(results.size(), 1u);
    auto node = [](const std::string& label, const char* value, bool locked) {
        return label + " (params):\n  " + label + " (string): \"" + value + "\"\n  Замочек \"" + label +
               "\" (string): \"" + (locked ? "Редактирование запрещено" : "Редактирование разрешено") + "\"\n";
    };
    EXPECT_EQ(ZRPAR::RenderText(*results[0]),
              node("Информация об установленных приложениях", "Да", false) +
                  node("Информация об обновлениях Microsoft Windows", "Нет", true) +
                  node("Информация об уязвимостях ПО", "Да", false) + node("Информация о реестре оборудования", "Да", false));
}
