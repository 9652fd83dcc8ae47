#include "controls/PolicyLockButton.h"

#include <gtest/gtest.h>

#include "support/ControlPage.h"
#include "support/ImageResources.h"
#include "ui/CommonControls.h"
#include "ui/UserActions.h"

using testsupport::Command;
using testsupport::ControlPage;
using testsupport::ExpectSequence;
using testsupport::kVisibleChild;

namespace {

constexpr int kLock = 1600, kName = 1601, kMissing = 1699;


class PolicyLockButton : public testsupport::ControlTest {
protected:
    void SetUp() override
    {
        ControlTest::SetUp();
        module.AddRaw(L"BITMAP", CPolicyLockButton::kImagesBitmap, testsupport::BitmapHeader(40, 10));  // four padlocks
        window = ShowPage({{kLock, L"Button", L"", kVisibleChild | WS_TABSTOP | BS_PUSHBUTTON, RECT{300, 10, 320, 30}},
                           {kName, L"Edit", L"Гости", kVisibleChild | WS_TABSTOP, RECT{10, 10, 290, 30}}},
                          [this](ControlPage& page) {
                              button.SubclassDlgItem(kLock, page);
                              button.SetGovernedControls({kName, kMissing});
                              button.SetTooltipTexts(L"Запрет изменения в дочерних политиках",
                                                     L"Заблокировано политикой \"%1\" группы \"%2\"",
                                                     L"Заблокировано профилем \"%3\" политики \"%1\" группы \"%2\"");
                          });
        control = ui::FindControl(window, kLock);
        page->received.clear();
    }
    // What the button shows: whether its frame is pushed, and the padlock image.
    std::pair<bool, int> Drawn() const
    {
        const std::vector<DrawOp> drawn = ui::Paint(control);
        EXPECT_EQ(drawn.size(), 2u);
        if (drawn.size() != 2) return {false, -1};
        EXPECT_EQ(drawn[1].rect, (RECT{5, 5, 15, 15}));  // centred
        return {(drawn[0].state & DFCS_PUSHED) != 0, drawn[1].image};
    }
    HWND Tooltip() const { return GetChildren(control).at(0); }

    CPolicyLockButton button;
    HWND window = nullptr, control = nullptr;
};

}  // namespace

TEST_F(PolicyLockButton, AClickTogglesTheLockAndThePageSeesEveryClick)
{
    EXPECT_EQ(GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
    EXPECT_EQ(GetWindowTextW(control), L"UNLOCKED");
    EXPECT_EQ(SendMessageW(Tooltip(), TTM_GETDELAYTIME, TTDT_INITIAL, 0), 500);
    EXPECT_EQ(Drawn(), (std::pair<bool, int>{false, 1}));

    ui::Click(control);
    EXPECT_TRUE(button.IsLocked());
    EXPECT_EQ(GetWindowTextW(control), L"LOCKED");
    EXPECT_EQ(Drawn(), (std::pair<bool, int>{true, 0}));
    ui::KeyPress(control, VK_SPACE);
    EXPECT_FALSE(button.IsLocked());
    EXPECT_EQ(Drawn(), (std::pair<bool, int>{false, 1}));
    ui::MouseDown(control);
    EXPECT_EQ(Drawn(), (std::pair<bool, int>{true, 1}));  // pushed while held
    ui::MouseUp(control);
    ExpectSequence({Command(kLock, BN_CLICKED, control), Command(kLock, BN_CLICKED, control),
                    Command(kLock, BN_CLICKED, control)},
                   page->received);
    button.SetLocked(false);
    EXPECT_EQ(GetWindowTextW(control), L"UNLOCKED");
}

TEST_F(PolicyLockButton, ALockAboveMakesItInertGreyedAndDisablesWhatItGoverns)
{
    button.SetLocked(true);
    button.SetLockedByParent(true, L"Политика Москва", L"Офис");
    EXPECT_FALSE(button.IsEditable());
    EXPECT_FALSE(GetWindowLongW(control, GWL_STYLE) & WS_TABSTOP);
    EXPECT_FALSE(IsWindowEnabled(ui::FindControl(window, kName)));
    EXPECT_EQ(ui::TooltipTextFor(control), L"Заблокировано политикой \"Политика Москва\" группы \"Офис\"");

    ui::Click(control);
    ui::KeyPress(control, VK_SPACE);
    EXPECT_TRUE(button.IsLocked());  // nothing changed
    EXPECT_TRUE(page->received.empty());  // and nothing was sent
    EXPECT_EQ(Drawn(), (std::pair<bool, int>{true, 2}));  // the greyed pair

    button.SetLockedByParent(true, L"Политика Москва", L"Офис", L"Ноутбуки");
    EXPECT_EQ(ui::TooltipTextFor(control), L"Заблокировано профилем \"Ноутбуки\" политики \"Политика Москва\" группы \"Офис\"");

    button.SetLockedByParent(false, L"", L"");
    EXPECT_TRUE(button.IsEditable());
    EXPECT_TRUE(GetWindowLongW(control, GWL_STYLE) & WS_TABSTOP);
    EXPECT_TRUE(IsWindowEnabled(ui::FindControl(window, kName)));
    EXPECT_EQ(ui::TooltipTextFor(control), L"Запрет изменения в дочерних политиках");
    EXPECT_EQ(Drawn(), (std::pair<bool, int>{true, 0}));
}

TEST_F(PolicyLockButton, AReadOnlyButtonSwallowsPressesAndExplainsNothing)
{
    button.SetReadOnly(true);
    button.SetLockedByParent(false, L"", L"");
    EXPECT_EQ(ui::TooltipTextFor(control), L"");  // no default tooltip for a read-only lock
    ui::Click(control);
    ui::KeyPress(control, VK_SPACE);
    EXPECT_FALSE(button.IsLocked());
    EXPECT_TRUE(page->received.empty());
    EXPECT_EQ(Drawn(), (std::pair<bool, int>{false, 3}));
    // locked above without a policy name: still no explanation
    button.SetLockedByParent(true, L"", L"Офис");
    EXPECT_EQ(ui::TooltipTextFor(control), L"");
}
