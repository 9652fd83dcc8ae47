#include "ui/Menus.h"

#include <gtest/gtest.h>

#include "support/MessageSequence.h"
#include "support/UserFixture.h"
#include "ui/Interaction.h"
#include "ui/Wnd.h"

namespace {

class Menus : public testsupport::UserTest {
protected:
    void SetUp() override
    {
        UserTest::SetUp();
        menu = CreatePopupMenu();
        AppendMenuW(menu, MF_STRING, 101, L"&Добавить");
        AppendMenuW(menu, MF_SEPARATOR, 0);
        AppendMenuW(menu, MF_STRING | MF_GRAYED, 102, L"&Удалить");
        HMENU more = CreatePopupMenu();
        AppendMenuW(more, MF_STRING | MF_CHECKED, 201, L"Вложенный");
        AppendMenuW(menu, MF_POPUP, reinterpret_cast<std::uintptr_t>(more), L"Ещё");
    }
    void TearDown() override
    {
        DestroyMenu(menu);
        UserTest::TearDown();
    }
    HMENU menu = nullptr;
};

}  // namespace

TEST_F(Menus, ItemsKeepTheirStateByCommandOrPositionAndSubmenusAreSearched)
{
    EXPECT_EQ(GetMenuItemCount(menu), 4);
    EXPECT_EQ(GetMenuItemID(menu, 0), 101u);
    EXPECT_EQ(GetMenuItemID(menu, 1), 0u);            // a separator
    EXPECT_EQ(GetMenuItemID(menu, 3), kNoMenuItem);   // a submenu
    EXPECT_EQ(GetMenuState(menu, 102, MF_BYCOMMAND), MF_GRAYED);
    EXPECT_EQ(GetMenuState(menu, 201, MF_BYCOMMAND), MF_CHECKED);
    EXPECT_EQ(EnableMenuItem(menu, 102, MF_ENABLED), MF_GRAYED);
    EXPECT_EQ(CheckMenuItem(menu, 2, MF_BYPOSITION | MF_CHECKED), MF_UNCHECKED);
    EXPECT_EQ(GetMenuState(menu, 102, MF_BYCOMMAND), MF_CHECKED);
    EXPECT_EQ(EnableMenuItem(menu, 999, MF_GRAYED), kNoMenuItem);
    EXPECT_EQ(GetMenuStringW(menu, 0, MF_BYPOSITION), L"&Добавить");

    CCmdUI item(menu, 0);
    EXPECT_EQ(item.m_nID, 101u);
    item.Enable(false);
    item.SetCheck(1);
    EXPECT_EQ(GetMenuState(menu, 101, MF_BYCOMMAND), MF_GRAYED | MF_CHECKED);
}

TEST_F(Menus, TheUserChoosesAnEnabledItemOrNothingAndEveryMenuIsRecorded)
{
    testsupport::RecordingParent owner;
    user.Choose(101).Choose(0).Choose(101);
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 30, 40, owner.Handle()), 101);
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 30, 40, owner.Handle()), 0);
    EXPECT_TRUE(owner.received.empty());
    // without TPM_RETURNCMD the command is posted to the owner
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RIGHTALIGN, 30, 40, owner.Handle()), 1);
    EXPECT_TRUE(owner.received.empty());
    PumpMessages();
    testsupport::ExpectSequence({{WM_COMMAND, MAKEWPARAM(101, 0), 0}}, owner.received);

    ASSERT_EQ(ui::ShownMenus().size(), 3u);
    const ui::ShownMenu& shown = ui::ShownMenus()[2];
    EXPECT_EQ(shown.at.x, 30);
    EXPECT_EQ(shown.flags, TPM_RIGHTALIGN);
    EXPECT_EQ(shown.chosen, 101u);
    ASSERT_EQ(shown.items.size(), 4u);
    EXPECT_FALSE(shown.items[2].enabled);
    EXPECT_TRUE(shown.items[1].separator);

    user.Choose(102);  // greyed: a user cannot choose it
    EXPECT_THROW(TrackPopupMenu(menu, TPM_RETURNCMD, 0, 0, owner.Handle()), ui::UnscriptedInteraction);
    EXPECT_THROW(TrackPopupMenu(menu, TPM_RETURNCMD, 0, 0, owner.Handle()), ui::UnscriptedInteraction);  // nothing scripted
}
