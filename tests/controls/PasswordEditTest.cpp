#include "controls/PasswordEdit.h"

#include <gtest/gtest.h>

#include "support/ControlPage.h"
#include "support/ControlQueries.h"
#include "ui/ControlTable.h"
#include "ui/UserActions.h"
#include "zrstd/Trace.h"

using testsupport::ControlPage;
using testsupport::kVisibleChild;

namespace {

constexpr int kPassword = 1020, kReveal = 1021;
const std::wstring kPlaceholder = CPasswordEdit::kStoredPasswordPlaceholder;

class PasswordEdit : public testsupport::ControlTest {
protected:
    // A page whose password edit shows the placeholder of a stored password.
    void Show(bool withButton = true)
    {
        HWND window = ShowPage({{kPassword, L"Edit", L"", kVisibleChild | WS_TABSTOP | ES_PASSWORD, RECT{10, 10, 200, 30}},
                                {kReveal, L"Button", L"", kVisibleChild, RECT{205, 10, 230, 30}}},
                               [=, this](ControlPage& page) {
                                   edit.SubclassDlgItem(kPassword, page);
                                   if (withButton) edit.SetButton(kReveal);
                                   edit.ShowPlaceholder();
                               });
        field = ui::FindControl(window, kPassword);
        button = ui::FindControl(window, kReveal);
    }
    std::pair<int, int> Selection() const { return testsupport::Selection(field); }

    CPasswordEdit edit;
    HWND field = nullptr, button = nullptr;
};

}  // namespace

TEST_F(PasswordEdit, WhateverIsTypedIntoThePlaceholderReplacesIt)
{
    const struct {
        const char* what;
        int start, end;  // the selection before the user acts
        std::function<void(HWND)> act;
        std::wstring text;
        bool revealable;
    } edits[] = {
        {"a letter at the end", 11, 11, [](HWND e) { ui::Type(e, L"a"); }, L"a", true},
        {"a letter in the middle", 5, 5, [](HWND e) { ui::Type(e, L"a"); }, L"a", true},
        {"a letter at the start", 0, 0, [](HWND e) { ui::Type(e, L"a"); }, L"a", true},
        {"an asterisk at the end", 11, 11, [](HWND e) { ui::Type(e, L"*"); }, L"*", true},
        {"a paste at the end", 11, 11, [](HWND e) { ui::Paste(e, L"Secr3t!"); }, L"Secr3t!", true},
        {"a letter over some asterisks", 3, 6, [](HWND e) { ui::Type(e, L"x"); }, L"x", true},
        {"a letter over all of it", 0, 11, [](HWND e) { ui::Type(e, L"b"); }, L"b", true},
        {"deleting one asterisk", 11, 11, [](HWND e) { ui::KeyPress(e, VK_BACK); }, L"", false},
        {"deleting all of it", 0, 11, [](HWND e) { ui::KeyPress(e, VK_DELETE); }, L"", false},
    };
    for (const auto& e : edits) {
        SCOPED_TRACE(e.what);
        Show();
        EXPECT_FALSE(IsWindowVisible(button));  // a stored password cannot be revealed
        ui::SelectText(field, e.start, e.end);
        e.act(field);
        EXPECT_EQ(GetWindowTextW(field), e.text);
        const int end = static_cast<int>(e.text.size());
        EXPECT_EQ(Selection(), (std::pair<int, int>{end, end}));
        EXPECT_EQ(IsWindowVisible(button), e.revealable);
        NextSheet();
    }
}

TEST_F(PasswordEdit, ANewPasswordIsEditedAsTypedAndTheButtonFollowsIt)
{
    Show();
    ui::Type(field, L"a");
    ui::Type(field, L"bc");
    EXPECT_EQ(GetWindowTextW(field), L"abc");
    EXPECT_TRUE(IsWindowVisible(button));
    // what the user sees: the mask, never the text
    const auto controls = ui::DescribeControls(GetParent(field));
    EXPECT_EQ(controls[0].text, std::wstring(3, L'\u25CF'));

    ShowWindow(field, SW_HIDE);
    EXPECT_FALSE(IsWindowVisible(button));
    ShowWindow(field, SW_SHOW);
    EXPECT_TRUE(IsWindowVisible(button));
    ui::ClearText(field);
    EXPECT_FALSE(IsWindowVisible(button));
    edit.ShowPlaceholder();  // the page shows the stored password again
    EXPECT_TRUE(edit.ShowsPlaceholder());
    ShowWindow(field, SW_HIDE);
    ShowWindow(field, SW_SHOW);
    EXPECT_FALSE(IsWindowVisible(button));
    // the page is told of every change
    EXPECT_FALSE(page->received.empty());
    EXPECT_EQ(page->received.back(), testsupport::Command(kPassword, EN_CHANGE, field));
}

TEST_F(PasswordEdit, WithoutAButtonNothingElseIsShownAndNothingIsTraced)
{
    std::vector<std::wstring> traced;
    ZRSTD::SetTraceSink([&](int, std::string_view, std::wstring_view line) { traced.emplace_back(line); }, 9);
    Show(false);
    ShowWindow(button, SW_HIDE);
    ui::SelectText(field, 11, 11);
    ui::Paste(field, L"Tr0ub4dor&3");
    ui::Type(field, L"x");
    EXPECT_EQ(GetWindowTextW(field), L"Tr0ub4dor&3x");
    EXPECT_FALSE(IsWindowVisible(button));
    ZRSTD::SetTraceSink(nullptr, 0);
    for (const std::wstring& line : traced) EXPECT_EQ(line.find(L"Tr0ub4dor"), std::wstring::npos) << "traced in clear";
}
