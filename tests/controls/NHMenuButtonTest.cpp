#include "controls/NHMenuButton.h"

#include <gtest/gtest.h>

#include "support/ControlPage.h"
#include "ui/UserActions.h"

using testsupport::Command;
using testsupport::ControlPage;
using testsupport::ExpectSequence;
using testsupport::kVisibleChild;
using testsupport::Message;

namespace {

constexpr int kAdd = 1080;
constexpr UINT kAddRange = 40001, kAddSubnet = 40002, kImport = 40003;

class NHMenuButton : public testsupport::ControlTest {
protected:
    void Show(bool split, DWORD exStyle = 0)
    {
        HWND window = ShowPage({{kAdd, L"Button", L"&Добавить", kVisibleChild | WS_TABSTOP, RECT{20, 30, 120, 54}, exStyle}},
                               [=, this](ControlPage& page) {
                                   button.SubclassDlgItem(kAdd, page);
                                   HMENU menu = CreatePopupMenu();
                                   AppendMenuW(menu, MF_STRING, kAddRange, L"Диапазон...");
                                   AppendMenuW(menu, MF_STRING, kAddSubnet, L"Подсеть...");
                                   AppendMenuW(menu, MF_SEPARATOR, 0);
                                   AppendMenuW(menu, MF_STRING, kImport, L"Импорт...");
                                   button.SetMenu(menu);
                                   button.SetSplit(split);
                               });
        control = ui::FindControl(window, kAdd);
        // the page allows importing only when it has nothing yet, and marks the last choice
        page->updateCommand = [this](CCmdUI& item) {
            if (item.m_nID == kImport) item.Enable(importAllowed);
            item.SetCheck(item.m_nID == lastChoice);
            return true;
        };
        page->received.clear();
    }
    static Message MenuCommand(UINT id) { return {WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), 0), 0}; }

    CNHMenuButton button;
    HWND control = nullptr;
    bool importAllowed = true;
    UINT lastChoice = 0;
};

}  // namespace

TEST_F(NHMenuButton, APressOpensTheMenuBelowWithItemsRefreshedAndTheChoiceGoesToThePage)
{
    Show(false);
    importAllowed = false;
    lastChoice = kAddSubnet;
    user.Choose(kAddRange);
    ui::Click(control);
    ExpectSequence({MenuCommand(kAddRange)}, page->received);  // no click of the button itself
    ASSERT_EQ(ui::ShownMenus().size(), 1u);
    const ui::ShownMenu& menu = ui::ShownMenus()[0];
    EXPECT_EQ(menu.at.x, 20);  // the button's lower-left corner on the screen
    EXPECT_EQ(menu.at.y, 54);
    EXPECT_EQ(menu.flags & (TPM_RIGHTALIGN | TPM_LAYOUTRTL), 0u);
    ASSERT_EQ(menu.items.size(), 4u);
    EXPECT_EQ(menu.items[0], (ui::ShownMenu::Item{kAddRange, L"Диапазон...", true, false, false}));
    EXPECT_EQ(menu.items[1], (ui::ShownMenu::Item{kAddSubnet, L"Подсеть...", true, true, false}));
    EXPECT_EQ(menu.items[3], (ui::ShownMenu::Item{kImport, L"Импорт...", false, false, false}));
    EXPECT_FALSE(button.IsMenuOpen());
    EXPECT_FALSE(button.IsPushed());

    // dismissed: nothing for the page; a disabled item cannot be chosen
    page->received.clear();
    user.Choose(0).Choose(kImport);
    ui::Click(control);
    EXPECT_TRUE(page->received.empty());
    EXPECT_THROW(ui::Click(control), ui::UnscriptedInteraction);
    EXPECT_TRUE(page->received.empty());
    EXPECT_FALSE(button.IsMenuOpen());

    importAllowed = true;
    user.Choose(kImport);
    ui::KeyPress(control, VK_DOWN);
    ExpectSequence({MenuCommand(kImport)}, page->received);
}

TEST_F(NHMenuButton, ASplitButtonOpensTheMenuOnlyFromItsRightmost16Pixels)
{
    const struct {
        int x;
        bool opensMenu;
    } presses[] = {{0, false}, {50, false}, {83, false}, {84, true}, {99, true}};
    for (const auto& press : presses) {
        SCOPED_TRACE(press.x);
        Show(true);
        if (press.opensMenu) user.Choose(kAddSubnet);
        ui::ClickAt(control, POINT{press.x, 12});
        if (press.opensMenu) ExpectSequence({MenuCommand(kAddSubnet)}, page->received);
        else ExpectSequence({Command(kAdd, BN_CLICKED, control)}, page->received);
        EXPECT_TRUE(user.Finished());
        NextSheet();
    }
    Show(true);
    ui::KeyPress(control, VK_SPACE);  // the space key is the plain button's
    ExpectSequence({Command(kAdd, BN_CLICKED, control)}, page->received);
}

TEST_F(NHMenuButton, ARightToLeftButtonOpensTheMenuRightAlignedAndMirrored)
{
    Show(false, WS_EX_LAYOUTRTL);
    user.Choose(0);
    ui::Click(control);
    ASSERT_EQ(ui::ShownMenus().size(), 1u);
    EXPECT_EQ(ui::ShownMenus()[0].at.x, 120);  // from the right edge
    EXPECT_EQ(ui::ShownMenus()[0].flags & (TPM_RIGHTALIGN | TPM_LAYOUTRTL), TPM_RIGHTALIGN | TPM_LAYOUTRTL);
}
