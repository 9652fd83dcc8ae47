#include "controls/FontCtrl.h"

#include <gtest/gtest.h>

#include "support/ControlPage.h"
#include "ui/ControlWrappers.h"
#include "ui/UserActions.h"

using testsupport::ControlPage;
using testsupport::kVisibleChild;

namespace {

constexpr int kTitle = 1050, kCaption = 1051;

LOGFONTW FontOf(HWND control)
{
    LOGFONTW font;
    GetFontInfo(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), font);
    return font;
}

LOGFONTW Font(std::int32_t height, std::int32_t weight, BYTE italic, BYTE underline, BYTE strikeOut)
{
    LOGFONTW font;
    font.lfHeight = height;
    font.lfWeight = weight;
    font.lfItalic = italic;
    font.lfUnderline = underline;
    font.lfStrikeOut = strikeOut;
    font.lfFaceName = L"Tahoma";
    return font;
}

}  // namespace

TEST(FontChanges, FlagsToAddAndToRemoveAndTheHeight)
{
    HFONT base = CreateFontIndirectW(Font(-11, FW_BOLD, 1, 1, 0));
    const struct {
        FontChange change;
        LOGFONTW expected;
    } cases[] = {
        {{nullptr, 0, 0, 0}, Font(-11, FW_BOLD, 1, 1, 0)},
        {{nullptr, FontChange::kStrikeOut, 0, 0}, Font(-11, FW_BOLD, 1, 1, 1)},
        {{nullptr, 0, FontChange::kNormalWeight | FontChange::kNotItalic, 0}, Font(-11, FW_NORMAL, 0, 1, 0)},
        {{nullptr, 0, FontChange::kNotUnderlined, -16}, Font(-16, FW_BOLD, 1, 0, 0)},
        {{nullptr, FontChange::kBold | FontChange::kItalic | FontChange::kUnderline | FontChange::kStrikeOut,
          FontChange::kNormalWeight | FontChange::kNotItalic | FontChange::kNotUnderlined | FontChange::kNotStruckOut, 0},
         Font(-11, FW_BOLD, 1, 1, 1)},  // adding wins over removing
    };
    for (const auto& c : cases) {
        HFONT changed = CreateChangedFont(base, c.change);
        LOGFONTW font;
        ASSERT_TRUE(GetFontInfo(changed, font));
        EXPECT_EQ(font, c.expected);
        DeleteObject(changed);
    }
    HFONT fromNothing = CreateChangedFont(nullptr, {nullptr, FontChange::kBold, 0, 0});
    LOGFONTW font;
    GetFontInfo(fromNothing, font);
    EXPECT_EQ(font.lfFaceName, LOGFONTW{}.lfFaceName);  // the default GUI font
    EXPECT_EQ(font.lfWeight, FW_BOLD);
    DeleteObject(fromNothing);
    DeleteObject(base);
}

class FontCtrl : public testsupport::ControlTest {};

TEST_F(FontCtrl, ASubclassedControlShowsItsChangedFontAndGetsItsOwnBackWhenReleased)
{
    HFONT pageFont = CreateFontIndirectW(Font(-12, FW_NORMAL, 0, 0, 0));
    auto title = std::make_unique<CBoldCtrl<CStatic>>();
    CFontCtrl<CButton> caption(FontChange{nullptr, FontChange::kItalic, 0, -14});
    HWND window = ShowPage({{kTitle, L"Static", L"Журнал событий", kVisibleChild, RECT{10, 10, 200, 30}},
                            {kCaption, L"Button", L"&Включить", kVisibleChild | BS_AUTOCHECKBOX, RECT{10, 40, 200, 60}}},
                           [&](ControlPage& page) {
                               SendMessageW(page.GetDlgItem(kTitle), WM_SETFONT, reinterpret_cast<WPARAM>(pageFont), 0);
                               title->SubclassDlgItem(kTitle, page);
                               caption.SubclassDlgItem(kCaption, page);
                           });
    HWND label = ui::FindControl(window, kTitle);
    EXPECT_EQ(FontOf(label), Font(-12, FW_BOLD, 0, 0, 0));
    const std::vector<DrawOp> drawn = ui::Paint(label);
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].font.lfWeight, FW_BOLD);  // what the user sees
    // no font of its own: the default GUI font, changed
    const LOGFONTW button = FontOf(ui::FindControl(window, kCaption));
    EXPECT_EQ(button.lfItalic, 1);
    EXPECT_EQ(button.lfHeight, -14);
    ui::Click(ui::FindControl(window, kCaption));  // still the control it was
    EXPECT_EQ(SendMessageW(ui::FindControl(window, kCaption), BM_GETCHECK, 0, 0), BST_CHECKED);

    const HFONT changed = title->GetChangedFont();
    title.reset();
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)), pageFont);
    EXPECT_FALSE(IsFont(changed));
    ClosePage();
    DeleteObject(pageFont);
}

TEST_F(FontCtrl, InsideARightToLeftPageTheControlIsMirrored)
{
    SetWindowLongW(sheet->Sheet(), GWL_EXSTYLE, WS_EX_LAYOUTRTL);  // the page follows the sheet
    CBoldCtrl<CStatic> title;
    CStatic plain;
    HWND window = ShowPage({{kTitle, L"Static", L"Сеть", kVisibleChild, RECT{10, 10, 200, 30}},
                            {kCaption, L"Static", L"Сеть", kVisibleChild, RECT{10, 40, 200, 60}}},
                           [&](ControlPage& page) {
                               title.SubclassDlgItem(kTitle, page);
                               plain.SubclassDlgItem(kCaption, page);
                           });
    EXPECT_TRUE(GetWindowLongW(ui::FindControl(window, kTitle), GWL_EXSTYLE) & WS_EX_LAYOUTRTL);
    EXPECT_FALSE(GetWindowLongW(ui::FindControl(window, kCaption), GWL_EXSTYLE) & WS_EX_LAYOUTRTL);
}
