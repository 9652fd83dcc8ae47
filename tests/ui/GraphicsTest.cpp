#include "ui/Graphics.h"

#include <gtest/gtest.h>

#include "support/ImageResources.h"
#include "support/MessageSequence.h"
#include "ui/ControlWrappers.h"
#include "ui/Mouse.h"
#include "ui/UserActions.h"

namespace {


class Graphics : public ::testing::Test {
protected:
    void SetUp() override
    {
        ui::InitializePlatform();
        module.AddRaw(L"BITMAP", 6000, testsupport::BitmapHeader(40, 10));
        module.AddRaw(L"BITMAP", 6001, {1, 2, 3});  // too short to be a bitmap
        module.AddRaw(L"ICON", 300, {0});
    }
    ui::ResourceModule module{L"own"};
    ui::ModuleStateScope scope{ui::ModuleState{&module, nullptr}};
};

// A dialog whose owner-drawn button draws a frame and one image, and whose
// label asks for red text on a transparent background.
class DrawingDialog : public CDialog {
public:
    HIMAGELIST images = nullptr;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_DRAWITEM) {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            DrawFrameControl(item->hDC, item->rcItem, DFC_BUTTON,
                             DFCS_BUTTONPUSH | ((item->itemState & ODS_SELECTED) ? DFCS_PUSHED : 0));
            ImageList_Draw(images, (item->itemState & ODS_SELECTED) ? 0 : 1, item->hDC, 5, 5, ILD_NORMAL);
            return TRUE;
        }
        if (message == WM_CTLCOLORSTATIC) {
            SetTextColor(reinterpret_cast<HDC>(wParam), 0x0000FF);
            SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
            return reinterpret_cast<LRESULT>(GetStockBrush(NULL_BRUSH));
        }
        return CDialog::WindowProc(message, wParam, lParam);
    }
};

}  // namespace

TEST_F(Graphics, FontsAreDescribedUntilDeletedAndStockObjectsStay)
{
    LOGFONTW bold;
    bold.lfWeight = FW_BOLD;
    bold.lfUnderline = 1;
    HFONT font = CreateFontIndirectW(bold);
    LOGFONTW read;
    ASSERT_TRUE(GetFontInfo(font, read));
    EXPECT_EQ(read, bold);
    EXPECT_EQ(MeasureText(font, L"abcd"), (SIZE{4 * 6, 14}));  // 11 high: 5 wide, one more when bold
    EXPECT_EQ(MeasureText(nullptr, L"abcd"), (SIZE{4 * 5, 14}));
    EXPECT_TRUE(DeleteObject(font));
    EXPECT_FALSE(GetFontInfo(font, read));
    EXPECT_FALSE(DeleteObject(font));

    HFONT stock = GetStockFont(DEFAULT_GUI_FONT);
    EXPECT_TRUE(DeleteObject(stock));
    EXPECT_TRUE(IsFont(stock));
    EXPECT_EQ(GetStockFont(DEFAULT_GUI_FONT), stock);
}

TEST_F(Graphics, ImageListsCutBitmapStripsAndMakeIconsOfTheirSize)
{
    HBITMAP strip = LoadBitmapResource(6000);
    ASSERT_TRUE(strip);
    SIZE size;
    ASSERT_TRUE(GetBitmapSize(strip, size));
    EXPECT_EQ(size, (SIZE{40, 10}));
    EXPECT_EQ(LoadBitmapResource(6001), nullptr);
    EXPECT_EQ(LoadBitmapResource(6999), nullptr);

    HIMAGELIST list = ImageList_Create(10, 10, ILC_MASK | ILC_COLOR32, 4, 4);
    EXPECT_EQ(ImageList_AddMasked(list, strip, 0x0000FF), 0);
    EXPECT_EQ(ImageList_GetImageCount(list), 4);
    HICON small = LoadIconResource(300, 16, 16);
    EXPECT_EQ(ImageList_AddIcon(list, small), 4);
    EXPECT_EQ(LoadIconResource(301, 16, 16), nullptr);
    ImageListInfo info;
    ASSERT_TRUE(GetImageListInfo(list, info));
    EXPECT_EQ(info.mask, 0x0000FFu);
    EXPECT_EQ(info.sources, (std::vector<UINT>{6000, 6000, 6000, 6000, 300}));

    HICON fromList = ImageList_GetIcon(list, 4, 0);
    IconInfo icon;
    ASSERT_TRUE(GetIconInfo(fromList, icon));
    EXPECT_EQ(icon.resourceId, 300u);
    EXPECT_EQ(icon.size, (SIZE{10, 10}));
    EXPECT_EQ(ImageList_GetIcon(list, 5, 0), nullptr);
    EXPECT_TRUE(DestroyIcon(fromList));
    EXPECT_FALSE(IsIcon(fromList));
    EXPECT_TRUE(IsIcon(small));
    DestroyIcon(small);
    DeleteObject(strip);
    EXPECT_TRUE(ImageList_Destroy(list));
    EXPECT_EQ(ImageList_GetImageCount(list), 0);
}

TEST_F(Graphics, PaintingShowsWhatOwnerDrawingAndParentColoursChose)
{
    ui::DialogTemplate dialogTemplate;
    dialogTemplate.id = 7100;
    dialogTemplate.controls = {
        {10, L"Button", L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, RECT{0, 0, 20, 20}},
        {11, L"Static", L"Метка", WS_CHILD | WS_VISIBLE, RECT{0, 30, 100, 50}},
        {12, L"Static", L"", WS_CHILD | WS_VISIBLE | SS_ICON | SS_CENTERIMAGE, RECT{0, 60, 32, 92}},
    };
    module.AddTemplate(dialogTemplate);
    testsupport::RecordingParent parent;
    DrawingDialog dialog;
    dialog.images = ImageList_Create(10, 10, ILC_MASK, 2, 2);
    HBITMAP strip = LoadBitmapResource(6000);
    ImageList_AddMasked(dialog.images, strip, 0x0000FF);
    ASSERT_TRUE(dialog.Create(7100, parent.Handle()));

    HWND button = dialog.GetDlgItem(10);
    std::vector<DrawOp> drawn = ui::Paint(button);
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_EQ(drawn[0].kind, DrawOp::Kind::Frame);
    EXPECT_EQ(drawn[0].state, DFCS_BUTTONPUSH);
    EXPECT_EQ(drawn[1].image, 1);
    ui::MouseDown(button);  // held: drawn pushed
    drawn = ui::Paint(button);
    EXPECT_EQ(drawn[0].state, DFCS_BUTTONPUSH | DFCS_PUSHED);
    EXPECT_EQ(drawn[1].image, 0);
    EXPECT_EQ(drawn[1].rect, (RECT{5, 5, 15, 15}));
    ui::MouseUp(button);

    drawn = ui::Paint(dialog.GetDlgItem(11));
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].text, L"Метка");
    EXPECT_EQ(drawn[0].colour, 0x0000FFu);
    EXPECT_TRUE(drawn[0].transparent);
    EXPECT_EQ(drawn[0].font, LOGFONTW{});  // no font set: the default GUI font

    HWND icon = dialog.GetDlgItem(12);
    EXPECT_TRUE(ui::Paint(icon).empty());
    SendMessageW(icon, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconResource(300, 16, 16)), 0);
    drawn = ui::Paint(icon);
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].kind, DrawOp::Kind::Icon);
    EXPECT_EQ(drawn[0].rect, (RECT{8, 8, 24, 24}));  // centred
    DestroyIcon(reinterpret_cast<HICON>(SendMessageW(icon, STM_GETICON, 0, 0)));
    EXPECT_EQ(ui::RepaintRequests(icon), 0);
    InvalidateRect(icon);
    EXPECT_EQ(ui::RepaintRequests(icon), 1);
    ImageList_Destroy(dialog.images);
    DeleteObject(strip);
}
