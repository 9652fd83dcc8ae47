#include "controls/PasswordButton.h"

#include <gtest/gtest.h>

#include "controls/PasswordEdit.h"
#include "support/ControlPage.h"
#include "ui/ControlTable.h"
#include "ui/Graphics.h"
#include "ui/UserActions.h"

using testsupport::Command;
using testsupport::ControlPage;
using testsupport::ExpectSequence;
using testsupport::kVisibleChild;

namespace {

constexpr int kPassword = 1030, kReveal = 1031, kOther = 1032;
const std::wstring kMasked(6, L'\u25CF');

class PasswordButton : public testsupport::ControlTest {
protected:
    void SetUp() override
    {
        ControlTest::SetUp();
        window = ShowPage({{kPassword, L"Edit", L"", kVisibleChild | WS_TABSTOP | ES_PASSWORD, RECT{10, 10, 200, 30}},
                           {kReveal, L"Button", L"", kVisibleChild | WS_TABSTOP, RECT{205, 10, 230, 30}},
                           {kOther, L"Button", L"OK", kVisibleChild | WS_TABSTOP, RECT{10, 40, 80, 60}}},
                          [this](ControlPage& page) {
                              edit.SubclassDlgItem(kPassword, page);
                              edit.SetButton(kReveal);
                              reveal.SubclassDlgItem(kReveal, page);
                              reveal.SetEdit(kPassword);
                          });
        field = ui::FindControl(window, kPassword);
        button = ui::FindControl(window, kReveal);
        ui::Type(field, L"Secr3t");
        page->received.clear();
    }
    // The password edit as the user sees it.
    std::wstring Shown() const { return ui::DescribeControls(window)[0].text; }

    CPasswordEdit edit;
    CPasswordButton reveal;
    HWND window = nullptr, field = nullptr, button = nullptr;
};

}  // namespace

TEST_F(PasswordButton, HoldingTheMouseRevealsAndReleasingMasksAndReturnsToTheEdit)
{
    EXPECT_EQ(Shown(), kMasked);
    const int repaints = ui::RepaintRequests(field);
    ui::MouseDown(button);
    EXPECT_EQ(Shown(), L"Secr3t");
    EXPECT_TRUE(reveal.IsPushed());
    EXPECT_GT(ui::RepaintRequests(field), repaints);  // the edit is redrawn in clear
    ui::MouseUp(button);
    EXPECT_EQ(Shown(), kMasked);
    EXPECT_FALSE(reveal.IsPushed());
    EXPECT_EQ(GetFocus(), field);
    EXPECT_EQ(SendMessageW(field, EM_GETPASSWORDCHAR, 0, 0), L'\u25CF');  // the same mask as before
    ExpectSequence({Command(kReveal, BN_CLICKED, button)}, page->received);
}

TEST_F(PasswordButton, TheSpaceKeyRevealsWhileHeldAndLosingTheFocusMasks)
{
    ui::KeyDown(button, VK_SPACE);
    EXPECT_EQ(Shown(), L"Secr3t");
    ui::KeyDown(button, VK_SPACE);  // the key repeats: still one reveal, the mask is kept
    ui::KeyUp(button, VK_SPACE);
    EXPECT_EQ(Shown(), kMasked);
    EXPECT_EQ(GetFocus(), button);  // a key release leaves the focus where it is

    ui::MouseDown(button);
    EXPECT_EQ(Shown(), L"Secr3t");
    SetFocus(ui::FindControl(window, kOther));  // e.g. another window takes the focus
    EXPECT_EQ(Shown(), kMasked);
    EXPECT_FALSE(reveal.IsPushed());
    ui::MouseUp(button);
    EXPECT_EQ(Shown(), kMasked);
    EXPECT_EQ(SendMessageW(field, EM_GETPASSWORDCHAR, 0, 0), L'\u25CF');
}

TEST_F(PasswordButton, AButtonWithoutItsEditRevealsNothing)
{
    reveal.SetEdit(0);
    ui::MouseDown(button);
    EXPECT_EQ(Shown(), kMasked);
    EXPECT_FALSE(reveal.IsRevealing());
    ui::MouseUp(button);
    reveal.SetEdit(kPassword);
    EnableWindow(button, false);
    EXPECT_THROW(ui::MouseDown(button), ui::ActionRefused);
    EXPECT_EQ(Shown(), kMasked);
}
