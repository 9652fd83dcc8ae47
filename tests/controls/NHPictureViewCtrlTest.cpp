#include "controls/NHPictureViewCtrl.h"

#include <gtest/gtest.h>

#include "support/ControlPage.h"
#include "support/ImageResources.h"
#include "ui/UserActions.h"

using testsupport::ControlPage;
using testsupport::kVisibleChild;

namespace {

constexpr int kPicture = 1070;


}  // namespace

TEST(PictureFit, APictureIsScaledToFitWithItsProportionsAndCentred)
{
    const struct {
        SIZE picture;
        RECT client;
        RECT drawn;
    } cases[] = {
        {{200, 100}, {0, 0, 100, 100}, {0, 25, 100, 75}},    // wide: full width
        {{100, 200}, {0, 0, 100, 100}, {25, 0, 75, 100}},    // tall: full height
        {{10, 10}, {0, 0, 300, 100}, {100, 0, 200, 100}},    // small pictures grow too
        {{640, 480}, {0, 0, 320, 240}, {0, 0, 320, 240}},    // same proportions
        {{0, 10}, {0, 0, 100, 100}, {0, 0, 0, 0}},           // no picture
        {{10, 10}, {0, 0, 0, 100}, {0, 0, 0, 0}},            // no room
    };
    for (const auto& c : cases) EXPECT_EQ(CNHPictureViewCtrl::FitInto(c.picture, c.client), c.drawn);
}

class NHPictureViewCtrl : public testsupport::ControlTest {};

TEST_F(NHPictureViewCtrl, ThePicturePaintsOnItsBackground)
{
    module.AddRaw(L"BITMAP", 3001, testsupport::BitmapHeader(400, 100));
    CNHPictureViewCtrl view;
    HWND window = ShowPage({{kPicture, L"Static", L"", kVisibleChild, RECT{0, 0, 200, 100}}},
                           [&](ControlPage& page) { view.SubclassDlgItem(kPicture, page); });
    HWND shown = ui::FindControl(window, kPicture);
    std::vector<DrawOp> drawn = ui::Paint(shown);
    ASSERT_EQ(drawn.size(), 1u);  // no picture yet: the background only
    EXPECT_EQ(drawn[0].kind, DrawOp::Kind::Fill);
    EXPECT_EQ(drawn[0].colour, 0xFFFFFFu);

    EXPECT_FALSE(view.LoadPicture(3999));
    ASSERT_TRUE(view.LoadPicture(3001));
    view.SetBackground(0x000000);
    drawn = ui::Paint(shown);
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_EQ(drawn[0].colour, 0u);
    EXPECT_EQ(drawn[1].kind, DrawOp::Kind::Bitmap);
    EXPECT_EQ(drawn[1].resourceId, 3001u);
    EXPECT_EQ(drawn[1].rect, (RECT{0, 25, 200, 75}));

    HBITMAP first = view.GetPicture();
    view.SetPicture(CreateBitmap(10, 10));
    SIZE size;
    EXPECT_FALSE(GetBitmapSize(first, size));  // the control owned and deleted it
}
