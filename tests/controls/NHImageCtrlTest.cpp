#include "controls/NHImageCtrl.h"

#include <gtest/gtest.h>

#include "support/ControlPage.h"
#include "ui/UserActions.h"

using testsupport::ControlPage;
using testsupport::kVisibleChild;

namespace {

constexpr int kImage = 1060;

class NHImageCtrl : public testsupport::ControlTest {
protected:
    void SetUp() override
    {
        ControlTest::SetUp();
        module.AddRaw(L"ICON", 2001, {0});
        module.AddRaw(L"ICON", 2002, {0});
        window = ShowPage({{kImage, L"Static", L"", kVisibleChild | SS_ICON | SS_CENTERIMAGE, RECT{10, 10, 58, 58}}},
                          [this](ControlPage& page) { image.SubclassDlgItem(kImage, page); });
        shown = ui::FindControl(window, kImage);
    }
    HICON Shown() const { return reinterpret_cast<HICON>(SendMessageW(shown, STM_GETICON, 0, 0)); }

    CNHImageCtrl image;
    HWND window = nullptr, shown = nullptr;
};

}  // namespace

TEST_F(NHImageCtrl, AnIconIsShownAt32PixelsAndReplacesAndDestroysThePreviousOne)
{
    ASSERT_TRUE(image.SetImage(2001));
    HICON first = Shown();
    IconInfo info;
    ASSERT_TRUE(GetIconInfo(first, info));
    EXPECT_EQ(info.resourceId, 2001u);
    EXPECT_EQ(info.size, (SIZE{32, 32}));
    const std::vector<DrawOp> drawn = ui::Paint(shown);
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].kind, DrawOp::Kind::Icon);
    EXPECT_EQ(drawn[0].rect, (RECT{8, 8, 40, 40}));  // centred in 48 x 48

    ASSERT_TRUE(image.SetImage(2002));
    EXPECT_FALSE(IsIcon(first));
    GetIconInfo(Shown(), info);
    EXPECT_EQ(info.resourceId, 2002u);

    HICON second = Shown();
    EXPECT_FALSE(image.SetImage(2999));  // missing: the icon stays
    EXPECT_EQ(Shown(), second);
    EXPECT_TRUE(IsIcon(second));
    ClosePage();
    EXPECT_FALSE(IsIcon(second));  // the last icon goes with the control
}
