#include "plugin/pages/agent/PageNetStorages.h"

#include <gtest/gtest.h>

#include "support/PageFixture.h"
#include "support/PolicyBuilder.h"
#include "zrpar/Render.h"

using testsupport::LockedSetting;
using testsupport::Section;
using testsupport::Setting;

namespace {

using Page = CPageNetStoragesBase;
constexpr const wchar_t* kSection = L"86";

class StoragesPage : public testsupport::PageTest {
protected:
    void Store(std::initializer_list<ZRPAR::ParamsBodyEntry> settings)
    {
        policy.Replace(L"1103", L"1.0.0.0", kSection, Section(settings).Get());
    }
    void OpenPolicy() { Open(new Page(PageData(NHPP::kObjectPolicy, NHPP::kSectionPolicy, {kSection}))); }
    HWND Lock(int id) { return GetDlgItem(GetDlgItem(window, id), CLockCtrl::kDropDownId); }
    bool StoredBool(const wchar_t* key) { return StoredValue<ZRPAR::BoolValue>(kSection, key); }
};

const wchar_t* const kKeys[] = {L"ENABLE_INVENTORY_FLAG", L"INVENTORY_INCLUDE_PATCHES_FLAG", L"ZRNAGNLST_WUS_ENABLE_FLAG",
                                L"ZRNAGNLST_VAPM_ENABLE_FLAG", L"ZRNAG_HWINV_ENABLED"};
const int kBoxes[] = {Page::kInstalledApplications, Page::kPatches, Page::kWindowsUpdates, Page::kVulnerabilities,
                      Page::kHardware};

}  // namespace

TEST_F(StoragesPage, AnEmptySectionShowsEveryKindCheckedAndTheWarning)
{
    OpenPolicy();
    for (int box : kBoxes) EXPECT_TRUE(Checked(box)) << box;
    EXPECT_TRUE(Visible(Page::kPatchesWarning));
    EXPECT_EQ(Text(Page::kExplanation), L"Выберите типы объектов информацию о которых следует отправлять на Сервер  "
                                        L"администрирования. Просмотр и управление данными объектами осуществляется  "
                                        L"в узле Хранилища");
    EXPECT_EQ(Text(Page::kPatches), L"Information about &patches");
    EXPECT_FALSE(page->IsModified());
}

TEST_F(StoragesPage, ThePatchesBoxTogglesTheWarningAndEveryBoxIsWrittenAsShown)
{
    Store({{L"INVENTORY_INCLUDE_PATCHES_FLAG", Setting(false, false)}});
    OpenPolicy();
    EXPECT_FALSE(Checked(Page::kPatches));
    EXPECT_TRUE(Visible(Page::kPatchesWarning));  // when the page opens, whatever the box says
    ui::Click(Control(Page::kInstalledApplications));
    EXPECT_TRUE(Enabled(Page::kPatches));  // clearing the applications does not disable their patches
    ui::Click(Control(Page::kPatches));
    EXPECT_TRUE(Visible(Page::kPatchesWarning));
    ui::Click(Control(Page::kPatches));
    EXPECT_FALSE(Visible(Page::kPatchesWarning));
    ui::Click(Control(Page::kHardware));
    ui::SelectItem(Lock(Page::kUpdatesLock), L"Редактирование запрещено");
    EXPECT_TRUE(page->IsModified());
    ASSERT_EQ(Sheet().PressOk().outcome, host::PageHost::Outcome::Applied);
    const bool values[] = {false, false, true, true, false};
    const bool mandatory[] = {false, false, true, false, false};
    for (std::size_t i = 0; i < std::size(kKeys); ++i) {
        EXPECT_EQ(StoredBool(kKeys[i]), values[i]) << i;
        EXPECT_EQ(StoredMandatory(kSection, kKeys[i]), mandatory[i]) << i;
    }
}

TEST_F(StoragesPage, EachLockGovernsItsKindsAndTheApplicationsLockFollowsThePatchesFlag)
{
    Store({{L"ENABLE_INVENTORY_FLAG", Setting(true, false)},
           {L"INVENTORY_INCLUDE_PATCHES_FLAG", LockedSetting(true, {L"Офис", L"Головная", L""})},
           {L"ZRNAG_HWINV_ENABLED", Setting(false, true)}});
    OpenPolicy();
    EXPECT_FALSE(Enabled(Page::kInstalledApplications));
    EXPECT_FALSE(Enabled(Page::kPatches));
    EXPECT_FALSE(IsWindowEnabled(Lock(Page::kApplicationsLock)));
    EXPECT_TRUE(Enabled(Page::kWindowsUpdates));
    EXPECT_TRUE(Enabled(Page::kHardware));
    EXPECT_EQ(GetWindowTextW(Lock(Page::kHardwareLock)), L"Редактирование запрещено");
    EXPECT_EQ(GetWindowTextW(Lock(Page::kUpdatesLock)), L"Редактирование разрешено");
}

TEST_F(StoragesPage, OnOneComputerTheLocksOnlyShowWhatThePolicyEnforces)
{
    source.WithComputer();
    policy.Replace(L"1103", L"1.0.0.0", kSection, Section({{L"ZRNAGNLST_VAPM_ENABLE_FLAG", Setting(false, true)}}).Get());
    Open(new CPageNetStoragesProduct(PageData(NHPP::kObjectLocalSettings, NHPP::kSectionProduct, {kSection})));
    EXPECT_EQ(page->GetHelpTopic(), 3907u);
    for (int lock : {Page::kApplicationsLock, Page::kUpdatesLock, Page::kVulnerabilitiesLock, Page::kHardwareLock})
        EXPECT_FALSE(IsWindowEnabled(Lock(lock))) << lock;
    EXPECT_FALSE(Checked(Page::kVulnerabilities));
    EXPECT_FALSE(Enabled(Page::kVulnerabilities));  // enforced
    EXPECT_TRUE(Enabled(Page::kHardware));
}

TEST_F(StoragesPage, TheExportHasAContainerPerKindWithoutThePatches)
{
    Store({{L"ZRNAGNLST_WUS_ENABLE_FLAG", Setting(false, true)}, {L"INVENTORY_INCLUDE_PATCHES_FLAG", Setting(false, true)}});
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
