#include "plugin/pages/installer/PageInstallerSettingsComponents.h"

#include <gtest/gtest.h>

#include "plugin/pages/InstallerPageTest.h"
#include "ui/CommonControls.h"
#include "ui/UserActions.h"

namespace {

using Page = CPageInstallerSettingsComponents;
using Outcome = host::PageHost::Outcome;

class InstallerComponentsPage : public testsupport::InstallerPageTest {};

}  // namespace

TEST_F(InstallerComponentsPage, TheOneRowIsNetworkAccessControlAndItsCheckIsStored)
{
    for (bool stored : {true, false}) {
        SCOPED_TRACE(stored);
        StorePackage({{L"INSTALL_NAC", stored}});
        Reopen();
        Open(new Page(PackageData()));
        const HWND list = Control(Page::kComponents);
        EXPECT_EQ(Text(Page::kExplanation), L"Выберите дополнительные компоненты для установки.");
        EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 1);
        EXPECT_EQ(ui::GetListRowText(list, 0), L"Network Access Control");
        EXPECT_EQ((SendMessageW(list, LVM_GETITEMSTATE, 0, LVIS_STATEIMAGEMASK) >> 12) == 2u, stored);
        EXPECT_FALSE(page->IsModified());

        ui::SetRowChecked(list, L"network access control", !stored);
        EXPECT_TRUE(page->IsModified());
        ASSERT_EQ(Sheet().PressOk().outcome, Outcome::Applied);
        EXPECT_EQ(SavedBool(L"INSTALL_NAC"), !stored);
    }
}
