#include "controls/NHComboBox.h"

#include <gtest/gtest.h>

#include "support/ControlPage.h"
#include "ui/UserActions.h"

using testsupport::Command;
using testsupport::ControlPage;
using testsupport::ExpectSequence;
using testsupport::kVisibleChild;

namespace {

constexpr int kCombo = 1090;

class NHComboBox : public testsupport::ControlTest {
protected:
    HWND Show(const wchar_t* className)
    {
        HWND window = ShowPage({{kCombo, className, L"", kVisibleChild | CBS_DROPDOWNLIST | WS_TABSTOP, RECT{10, 10, 210, 32}}},
                               [this](ControlPage& page) {
                                   combo.SubclassDlgItem(kCombo, page);
                                   combo.AddItem(L"Каждый день", 1, 0);
                                   combo.AddItem(L"Каждую неделю", 7, 1);
                                   combo.AddItem(L"Никогда", 0, 2, 0);  // in front
                                   combo.AddItem(L"Каждый месяц", 30);
                               });
        box = ui::FindControl(window, kCombo);
        page->received.clear();
        return window;
    }
    std::vector<std::wstring> Texts() const
    {
        std::vector<std::wstring> texts;
        for (int i = 0; i < combo.GetCount(); ++i) texts.push_back(combo.GetLBText(i));
        return texts;
    }

    CNHComboBox combo;
    HWND box = nullptr;
};

}  // namespace

TEST_F(NHComboBox, ItemsCarryDataAndImagesAndAreFoundByTheirData)
{
    Show(L"ComboBoxEx32");
    EXPECT_EQ(Texts(), (std::vector<std::wstring>{L"Никогда", L"Каждый день", L"Каждую неделю", L"Каждый месяц"}));
    EXPECT_EQ(combo.GetItemImage(0), 2);
    EXPECT_EQ(combo.GetItemImage(1), 0);
    EXPECT_EQ(combo.GetItemImage(3), -1);  // text and data only
    EXPECT_EQ(combo.GetSelectedData(-5), -5);  // nothing selected

    EXPECT_TRUE(combo.SelectByData(7));
    EXPECT_EQ(combo.GetCurSel(), 2);
    EXPECT_EQ(GetWindowTextW(box), L"Каждую неделю");
    EXPECT_FALSE(combo.SelectByData(365));  // no item has it: the selection stays
    EXPECT_EQ(combo.GetCurSel(), 2);
    EXPECT_EQ(combo.GetSelectedData(), 7);
    EXPECT_TRUE(page->received.empty());  // choosing from the program tells nobody

    ui::SelectItem(box, L"Никогда");
    EXPECT_EQ(combo.GetSelectedData(), 0);
    ExpectSequence({Command(kCombo, CBN_SELCHANGE, box)}, page->received);
    combo.ResetContent();
    EXPECT_EQ(combo.GetCount(), 0);
    EXPECT_FALSE(combo.SelectByData(0));
}

TEST_F(NHComboBox, OverAPlainComboTheItemsHaveNoImages)
{
    Show(L"ComboBox");
    EXPECT_FALSE(combo.IsExtended());
    EXPECT_EQ(Texts(), (std::vector<std::wstring>{L"Никогда", L"Каждый день", L"Каждую неделю", L"Каждый месяц"}));
    EXPECT_EQ(combo.GetItemImage(1), -1);
    EXPECT_TRUE(combo.SelectByData(30));
    EXPECT_EQ(GetWindowTextW(box), L"Каждый месяц");
}
