#include "ui/Controls.h"

#include <gtest/gtest.h>

#include "support/ControlQueries.h"
#include "support/MessageSequence.h"
#include "ui/ControlTable.h"
#include "ui/ControlWrappers.h"
#include "ui/UserActions.h"

using testsupport::Command;
using testsupport::ExpectSequence;
using testsupport::RecordingParent;
using testsupport::Selection;

namespace {

class Controls : public ::testing::Test {
protected:
    void SetUp() override { ui::InitializePlatform(); }
    HWND Make(const wchar_t* className, DWORD style, int id, const wchar_t* caption = L"")
    {
        return CreateWindowExW(0, className, caption, WS_CHILD | WS_VISIBLE | style, {}, parent.Handle(), id);
    }
    std::wstring Text(HWND window) { return GetWindowTextW(window); }
    RecordingParent parent;
};

}  // namespace

TEST_F(Controls, TypingSendsUpdateThenChangeForEveryCharacter)
{
    HWND edit = Make(L"Edit", 0, 6009);
    ui::Type(edit, L"12");
    EXPECT_EQ(Text(edit), L"12");
    ExpectSequence({Command(6009, EN_UPDATE, edit), Command(6009, EN_CHANGE, edit), Command(6009, EN_UPDATE, edit),
                    Command(6009, EN_CHANGE, edit)},
                   parent.received);
    EXPECT_EQ(Selection(edit), (std::pair<int, int>{2, 2}));
}

TEST_F(Controls, EditingHonoursTheSelectionLimitAndStyles)
{
    HWND edit = Make(L"Edit", 0, 1);
    SetWindowTextW(edit, L"8640");
    ui::SelectText(edit, 1, 3);
    ui::Type(edit, L"x");
    EXPECT_EQ(Text(edit), L"8x0");
    EXPECT_EQ(Selection(edit), (std::pair<int, int>{2, 2}));
    ui::KeyPress(edit, VK_BACK);  // backspace arrives as its character too
    EXPECT_EQ(Text(edit), L"80");
    ui::KeyPress(edit, VK_HOME);
    ui::KeyPress(edit, VK_DELETE);
    EXPECT_EQ(Text(edit), L"0");
    ui::Paste(edit, L"pasted ");
    EXPECT_EQ(Text(edit), L"pasted 0");
    ui::ClearText(edit);
    EXPECT_EQ(Text(edit), L"");

    SendMessageW(edit, EM_LIMITTEXT, 3, 0);
    parent.received.clear();
    ui::Type(edit, L"1234");
    EXPECT_EQ(Text(edit), L"123");
    EXPECT_EQ(parent.received.back(), Command(1, EN_MAXTEXT, edit));

    HWND number = Make(L"Edit", ES_NUMBER, 2);
    ui::Type(number, L"4a2");
    EXPECT_EQ(Text(number), L"42");
    ui::Paste(number, L"x");
    EXPECT_EQ(Text(number), L"42");

    HWND readOnly = Make(L"Edit", ES_READONLY, 3, L"fixed");
    EXPECT_EQ(Text(readOnly), L"fixed");
    EXPECT_THROW(ui::Type(readOnly, L"x"), ui::ActionRefused);

    EnableWindow(number, false);
    EXPECT_THROW(ui::Type(number, L"1"), ui::ActionRefused);
}

TEST_F(Controls, EnterStartsALineOnlyInAMultiLineEditThatWantsIt)
{
    HWND lines = Make(L"Edit", ES_MULTILINE | ES_WANTRETURN, 1);
    HWND single = Make(L"Edit", 0, 2);
    HWND noReturn = Make(L"Edit", ES_MULTILINE, 3);
    for (HWND edit : {lines, single, noReturn}) ui::ReplaceText(edit, L"a\nb\r\nc");
    EXPECT_EQ(Text(lines), L"a\r\nb\r\nc");
    EXPECT_EQ(Text(single), L"abc");
    EXPECT_EQ(Text(noReturn), L"abc");
    EXPECT_THROW(ui::EnterText(single, L"x\ny"), ui::ActionRefused);  // "xy" is not what was typed
    ui::EnterText(lines, L"x\ny");                                     // shown as typed, its break as "\r\n"
    ui::AppendText(lines, L"\nz");
    EXPECT_EQ(Text(lines), L"x\r\ny\r\nz");
    // a caption over two lines names its control on one
    EXPECT_EQ(ui::ControlLabel(Make(L"Button", BS_AUTOCHECKBOX, 4, L"&Two\r\nlines:")), L"Two lines");
    ui::ControlState shown;
    shown.id = 1;
    shown.kind = L"edit";
    shown.text = L"a\r\nb";
    EXPECT_EQ(ui::FormatControlTable({shown}), "     1  edit           enabled  shown    \"a\\nb\"\n");
}

TEST_F(Controls, ButtonsCheckToggleAndNotifyOnClick)
{
    HWND check = Make(L"Button", BS_AUTOCHECKBOX, 1087);
    HWND push = Make(L"Button", BS_PUSHBUTTON, 1000);
    ui::Click(check);
    EXPECT_EQ(SendMessageW(check, BM_GETCHECK, 0, 0), BST_CHECKED);
    ui::Click(push);
    ui::KeyPress(check, VK_SPACE);
    EXPECT_EQ(SendMessageW(check, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    ExpectSequence({Command(1087, BN_CLICKED, check), Command(1000, BN_CLICKED, push), Command(1087, BN_CLICKED, check)},
                   parent.received);

    HWND threeState = Make(L"Button", BS_AUTO3STATE, 3);
    ui::Click(threeState);
    ui::Click(threeState);
    EXPECT_EQ(SendMessageW(threeState, BM_GETCHECK, 0, 0), BST_INDETERMINATE);

    EnableWindow(push, false);
    parent.received.clear();
    EXPECT_THROW(ui::Click(push), ui::ActionRefused);
    SendMessageW(push, BM_CLICK, 0, 0);  // not even a programmatic click reaches a disabled button's parent
    EXPECT_TRUE(parent.received.empty());
}

TEST_F(Controls, RadioButtonsClearTheOthersOfTheirGroupOnly)
{
    HWND a = Make(L"Button", BS_AUTORADIOBUTTON | WS_GROUP, 1080);
    HWND b = Make(L"Button", BS_AUTORADIOBUTTON, 1081);
    HWND c = Make(L"Button", BS_AUTORADIOBUTTON, 1082);
    HWND other = Make(L"Button", BS_AUTORADIOBUTTON | WS_GROUP, 1120);
    ui::Click(other);
    ui::Click(a);
    ui::Click(c);
    EXPECT_EQ(SendMessageW(a, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(SendMessageW(b, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(SendMessageW(c, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageW(other, BM_GETCHECK, 0, 0), BST_CHECKED);  // another group
}

TEST_F(Controls, ComboAndListBoxesKeepItemsWithDataAndNotifyAUsersChoice)
{
    HWND combo = Make(L"ComboBox", CBS_DROPDOWNLIST, 10001);
    CComboBox box;
    box.SubclassWindow(combo);
    EXPECT_EQ(box.AddString(L"Редактирование запрещено"), 0);
    EXPECT_EQ(box.AddString(L"Редактирование разрешено"), 1);
    box.SetItemData(0, 1);
    box.SetItemData(1, 0);
    box.SetCurSel(1);  // a program's choice notifies nothing
    EXPECT_TRUE(parent.received.empty());
    ui::SelectItem(combo, L"Редактирование запрещено");
    EXPECT_EQ(box.GetCurSel(), 0);
    EXPECT_EQ(box.GetItemData(box.GetCurSel()), 1);
    EXPECT_EQ(Text(combo), L"Редактирование запрещено");
    ExpectSequence({Command(10001, CBN_SELCHANGE, combo)}, parent.received);
    EXPECT_THROW(ui::SelectItem(combo, L"missing"), ui::ActionRefused);
    box.InsertString(0, L"first");
    EXPECT_EQ(box.GetCurSel(), 1);  // the selection moves with its item
    box.DeleteString(1);
    EXPECT_EQ(box.GetCurSel(), -1);
    box.UnsubclassWindow();

    HWND list = Make(L"ListBox", 0, 1322);
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Понедельник"));
    parent.received.clear();
    ui::SelectItem(list, L"Понедельник");
    ui::DoubleClick(list);
    ExpectSequence({Command(1322, LBN_SELCHANGE, list), Command(1322, LBN_DBLCLK, list)}, parent.received);
}

TEST_F(Controls, SubclassedControlsSeeTheirMessagesFirst)
{
    struct CountingEdit : CEdit {
        int characters = 0;
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
        {
            if (message == WM_CHAR) ++characters;
            return Default(message, wParam, lParam);
        }
    } edit;
    HWND window = Make(L"Edit", 0, 7);
    ASSERT_TRUE(edit.SubclassWindow(window));
    EXPECT_EQ(CWnd::FromHandle(window), &edit);
    ui::Type(window, L"abc");
    EXPECT_EQ(edit.characters, 3);
    EXPECT_EQ(Text(window), L"abc");
    DestroyWindow(window);
    EXPECT_EQ(edit.GetSafeHwnd(), nullptr);  // the object let go of the window
}

TEST_F(Controls, TabMovesTheFocusThroughEnabledTabStopsInOrder)
{
    HWND first = Make(L"Edit", WS_TABSTOP, 1);
    Make(L"Static", 0, 2);  // not a tab stop
    HWND disabled = Make(L"Edit", WS_TABSTOP, 3);
    HWND last = Make(L"Button", WS_TABSTOP | BS_AUTOCHECKBOX, 4);
    EnableWindow(disabled, false);
    ui::KeyPress(first, VK_TAB);
    EXPECT_EQ(GetFocus(), last);
    ui::KeyPress(last, VK_TAB);
    EXPECT_EQ(GetFocus(), first);  // round to the first again
    ui::KeyPress(first, VK_TAB, {.shift = true});
    EXPECT_EQ(GetFocus(), last);
    EXPECT_EQ(SendMessageW(last, BM_GETCHECK, 0, 0), BST_UNCHECKED);  // tabbing clicks nothing
}
