#include "controls/RangeEdit.h"

#include <gtest/gtest.h>

#include "support/ControlPage.h"
#include "support/ControlQueries.h"
#include "ui/UserActions.h"

using testsupport::Command;
using testsupport::ControlPage;
using testsupport::ExpectSequence;
using testsupport::kVisibleChild;

namespace {

constexpr int kPeriod = 1010;

class RangeEdit : public testsupport::ControlTest {
protected:
    // A page with one range edit holding value within [minimum, maximum].
    HWND Show(std::uint32_t minimum, std::uint32_t maximum, std::uint32_t value, bool allowEmpty = false)
    {
        HWND window = ShowPage({{kPeriod, L"Edit", L"", kVisibleChild | WS_TABSTOP, RECT{10, 10, 90, 30}}},
                               [=, this](ControlPage& page) {
                                   edit.SubclassDlgItem(kPeriod, page);
                                   edit.SetRange(minimum, maximum);
                                   edit.SetAllowEmpty(allowEmpty);
                                   edit.SetValue(value);
                               });
        field = ui::FindControl(window, kPeriod);
        page->received.clear();
        return window;
    }
    std::pair<int, int> Selection() const { return testsupport::Selection(field); }

    CRangeEdit edit;
    HWND field = nullptr;
};

// What a user does to the edit, from the caret or selection it starts with.
struct Edit {
    const char* what;
    int selectionStart, selectionEnd;  // -1: click into the field (caret after the text)
    std::function<void(HWND)> act;
    std::wstring text;
    std::pair<int, int> caret;
    std::uint32_t value;
};

}  // namespace

TEST_F(RangeEdit, AKeystrokeThatLeavesTheRangeIsUndoneWithTheCaretWhereItWasTyped)
{
    const Edit edits[] = {
        {"a digit making 86401", -1, -1, [](HWND e) { ui::Type(e, L"1"); }, L"8640", {4, 4}, 8640},
        {"a digit making 86400", -1, -1, [](HWND e) { ui::Type(e, L"0"); }, L"86400", {5, 5}, 86400},
        {"a letter at the end", -1, -1, [](HWND e) { ui::Type(e, L"a"); }, L"8640", {4, 4}, 8640},
        {"a letter in the middle", 2, 2, [](HWND e) { ui::Type(e, L"x"); }, L"8640", {2, 2}, 8640},
        {"a letter at the start", 0, 0, [](HWND e) { ui::Type(e, L"-"); }, L"8640", {0, 0}, 8640},
        {"a digit over a selection", 1, 3, [](HWND e) { ui::Type(e, L"9"); }, L"890", {2, 2}, 890},
        {"a letter over a selection", 1, 3, [](HWND e) { ui::Type(e, L"x"); }, L"8640", {1, 3}, 8640},
        {"deleting a selection", 1, 3, [](HWND e) { ui::KeyPress(e, VK_DELETE); }, L"80", {1, 1}, 80},
        {"backspace at the end", 4, 4, [](HWND e) { ui::KeyPress(e, VK_BACK); }, L"864", {3, 3}, 864},
        {"pasting text with letters", 2, 2, [](HWND e) { ui::Paste(e, L"12ab"); }, L"8640", {2, 2}, 8640},
        {"pasting a number that overflows", 0, -1, [](HWND e) { ui::Paste(e, L"99999999999999"); }, L"8640", {0, 4}, 8640},
        {"pasting a number in range", 0, -1, [](HWND e) { ui::Paste(e, L"3600"); }, L"3600", {4, 4}, 3600},
        {"a very long number typed", -1, -1, [](HWND e) { ui::Type(e, std::wstring(40, L'9')); }, L"8640", {4, 4}, 8640},
    };
    for (const Edit& e : edits) {
        SCOPED_TRACE(e.what);
        Show(1, 86400, 8640);
        if (e.selectionStart >= 0) ui::SelectText(field, e.selectionStart, e.selectionEnd);
        e.act(field);
        EXPECT_EQ(GetWindowTextW(field), e.text);
        EXPECT_EQ(Selection(), e.caret);
        EXPECT_EQ(edit.GetValue(), e.value);
        NextSheet();
    }
}

TEST_F(RangeEdit, TheParentSeesTheUndoneKeystrokeAndTheRestoredText)
{
    Show(1, 86400, 8640);
    ui::Type(field, L"1");
    // restoring the text notifies first, then the keystroke's own notifications arrive
    ExpectSequence({Command(kPeriod, EN_UPDATE, field), Command(kPeriod, EN_CHANGE, field),
                    Command(kPeriod, EN_UPDATE, field), Command(kPeriod, EN_CHANGE, field)},
                   page->received);
}

TEST_F(RangeEdit, ClearingShowsTheLastValueSelectedUnlessEmptyIsAllowed)
{
    Show(1, 86400, 8640);
    ui::ClearText(field);
    EXPECT_EQ(GetWindowTextW(field), L"8640");
    EXPECT_EQ(Selection(), (std::pair<int, int>{0, 4}));
    ui::Type(field, L"5");  // typing replaces the selected value
    EXPECT_EQ(GetWindowTextW(field), L"5");
    EXPECT_EQ(edit.GetValue(), 5u);
    NextSheet();
    Show(1, 86400, 8640, true);
    ui::ClearText(field);
    EXPECT_EQ(GetWindowTextW(field), L"");
    EXPECT_EQ(edit.GetValue(), 8640u);  // the last accepted number stays
}

TEST_F(RangeEdit, ALastValueOutsideTheRangeIsRestoredOnceAndNeverTyped)
{
    // the page's value lies below the range: clearing shows it once (restoring it
    // is not checked again, which would refuse it and clear the field for ever)
    Show(100, 200, 5);
    ui::ClearText(field);
    EXPECT_EQ(GetWindowTextW(field), L"5");
    EXPECT_EQ(Selection(), (std::pair<int, int>{0, 1}));
    ui::Type(field, L"9");  // refused, and the value is no number to go back to
    EXPECT_EQ(GetWindowTextW(field), L"");
    EXPECT_EQ(edit.GetValue(), 5u);
    ui::Paste(field, L"150");
    EXPECT_EQ(edit.GetValue(), 150u);
    ui::SelectText(field, 0, 1);
    ui::KeyPress(field, VK_DELETE);  // "50" is below the range
    EXPECT_EQ(GetWindowTextW(field), L"150");
    EXPECT_EQ(Selection(), (std::pair<int, int>{0, 1}));
}

TEST_F(RangeEdit, ValuesAboveTheSignedRangeAreWrittenAsTheyAre)
{
    Show(0, 0xFFFFFFFF, 4000000000u);
    EXPECT_EQ(GetWindowTextW(field), L"4000000000");
    ui::Type(field, L"0");  // 40000000000 does not fit in 32 bits
    EXPECT_EQ(GetWindowTextW(field), L"4000000000");
    EXPECT_EQ(edit.GetValue(), 4000000000u);
}
