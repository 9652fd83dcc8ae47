#include "plugin/pages/agent/PageGroupNetwork.h"

#include <gtest/gtest.h>

#include "controls/PageMessages.h"
#include "host/pagehost/PageHost.h"
#include "plugin/frame/PluginApp.h"
#include "ui/Services.h"
#include "ui/UserActions.h"

TEST(PageGroupNetwork, EachLinkAsksForItsPageAndThePageIsNeverModified)
{
    CZRNGTPlgApp::Instance().InitInstance("/nonexistent/");
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

TEST(HyperLinks, OpenTheirAddressWithMailtoForMailAddressesOrSendTheirCommand)
{
    CZRNGTPlgApp::Instance().InitInstance("/nonexistent/");
    ui::ClearServiceCalls();
    host::PageHost sheet;
    sheet.RecordOnly({WM_COMMAND});
    HWND parent = sheet.Sheet();
    HWND mail = CreateWindowExW(0, L"Static", L"", WS_CHILD | WS_VISIBLE | SS_NOTIFY, {}, parent, 1);
    HWND web = CreateWindowExW(0, L"Static", L"", WS_CHILD | WS_VISIBLE | SS_NOTIFY, {}, parent, 2);
    HWND command = CreateWindowExW(0, L"Static", L"", WS_CHILD | WS_VISIBLE | SS_NOTIFY, {}, parent, 3);
    CHyperLink mailLink, webLink, commandLink;
    mailLink.SubclassWindow(mail);
    mailLink.SetAddress(L"admin@example.org");
    webLink.SubclassWindow(web);
    webLink.SetAddress(L"mailto:x@example.org");
    webLink.SetFlags(CHyperLink::kMarkVisited | CHyperLink::kHoverColour);
    commandLink.SubclassWindow(command);
    commandLink.SetCommandId(6019);
    ui::Click(mail);
    ui::Click(web);
    ui::Click(command);
    ASSERT_EQ(ui::ServiceCalls().size(), 2u);
    EXPECT_EQ(ui::ServiceCalls()[0].argument, L"mailto:admin@example.org");
    EXPECT_EQ(ui::ServiceCalls()[1].argument, L"mailto:x@example.org");  // not twice
    EXPECT_TRUE(webLink.IsVisited());
    EXPECT_EQ(webLink.TextColour(), CHyperLink::kVisited);
    EXPECT_EQ(mailLink.TextColour(), CHyperLink::kNormal);
    ASSERT_EQ(sheet.Messages().size(), 1u);
    EXPECT_EQ(LOWORD(sheet.Messages()[0].wParam), 6019);
}
