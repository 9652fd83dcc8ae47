#include "plugin/pages/agent/PageGroupNetwork.h"

#include <gtest/gtest.h>

#include "controls/PageMessages.h"
#include "host/pagehost/PageHost.h"
#include "support/PluginFixture.h"
#include "ui/UserActions.h"

using PageGroupNetwork = testsupport::PluginTest;

TEST_F(PageGroupNetwork, EachLinkAsksForItsPageAndThePageIsNeverModified)
{
    host::PageHost sheet;
    sheet.RecordOnly({RWM_PPN_PAGE_JUMP_TO_SUBPAGE, PSM_CHANGED, RWM_ZRHCCON_PPN_PAGE_MODIFIED});
    auto* page = new CPageGroupNetwork;
    HWND window = sheet.Embed(page);
    ASSERT_TRUE(window);
    EXPECT_EQ(GetDlgItemTextW(window, 1201), L"Настроить сетевые параметры");
    EXPECT_EQ(GetDlgItemTextW(window, 1203), L"Настроить профили подключения");
    EXPECT_EQ(GetDlgItemTextW(window, 1205), L"Настроить периодичность подключения к серверу");
    EXPECT_FALSE(GetDlgItemTextW(window, 1200).empty());

    ui::Click(ui::FindControl(window, 1201));
    ui::KeyPress(ui::FindControl(window, 1203), VK_SPACE);
    ui::Click(ui::FindControl(window, 1205));
    ui::Click(ui::FindControl(window, 1202));  // plain text does nothing
    const std::vector<host::SheetMessage> expected = {{RWM_PPN_PAGE_JUMP_TO_SUBPAGE, false, 0, 0},
                                                      {RWM_PPN_PAGE_JUMP_TO_SUBPAGE, false, 1, 0},
                                                      {RWM_PPN_PAGE_JUMP_TO_SUBPAGE, false, 2, 0}};
    EXPECT_EQ(sheet.Messages(), expected);
    EXPECT_FALSE(page->IsModified());
    page->Release();
}
