#include "controls/HyperLink.h"

#include <gtest/gtest.h>

#include "support/ControlPage.h"
#include "ui/UserActions.h"

using testsupport::Command;
using testsupport::ControlPage;
using testsupport::ExpectSequence;
using testsupport::kVisibleChild;

namespace {

constexpr int kLink = 1040, kOther = 1041;

class HyperLink : public testsupport::ControlTest {
protected:
    // A page with a link (a plain label in the template) and a button beside it.
    HWND Show(DWORD flags, const std::wstring& address, int commandId = -1)
    {
        HWND window = ShowPage({{kLink, L"Static", L"Справка", kVisibleChild, RECT{10, 10, 210, 30}},
                                {kOther, L"Button", L"OK", kVisibleChild | WS_TABSTOP, RECT{10, 40, 80, 60}}},
                               [=, this](ControlPage& page) {
                                   link.SetFlags(flags);
                                   link.SetAddress(address);
                                   link.SetCommandId(commandId);
                                   link.SubclassDlgItem(kLink, page);
                               });
        label = ui::FindControl(window, kLink);
        page->received.clear();
        return window;
    }
    void Reset()
    {
        NextSheet();
        ui::ClearServiceCalls();
        ui::MoveMouseAway();
    }
    // The colour the link's text is drawn in now, as the user sees it.
    COLORREF Colour() const
    {
        const std::vector<DrawOp> drawn = ui::Paint(label);
        return drawn.empty() ? 0xFFFFFFFF : drawn.back().colour;
    }
    std::vector<std::wstring> Opened() const
    {
        std::vector<std::wstring> opened;
        for (const auto& call : ui::ServiceCalls())
            if (call.service == L"open" || call.service == L"run") opened.push_back(call.service + L" " + call.argument);
        return opened;
    }

    CHyperLink link;
    HWND label = nullptr;
};

constexpr DWORD kDefault = CHyperLink::kUnderline | CHyperLink::kFocusOnClick | CHyperLink::kNoPressedColour;

}  // namespace

TEST_F(HyperLink, TheTextColourFollowsHoverPressAndVisitAsTheFlagsSay)
{
    const struct {
        const char* what;
        DWORD flags;
        std::function<void(HWND)> act;
        COLORREF colour;
    } cases[] = {
        {"at rest", kDefault, [](HWND) {}, CHyperLink::kNormal},
        {"hovered, no hover colour", kDefault, [](HWND l) { ui::MoveMouseOver(l); }, CHyperLink::kNormal},
        {"hovered", kDefault | CHyperLink::kHoverColour, [](HWND l) { ui::MoveMouseOver(l); }, CHyperLink::kHover},
        {"hovered, then left", kDefault | CHyperLink::kHoverColour,
         [](HWND l) {
             ui::MoveMouseOver(l);
             ui::MoveMouseAway();
         },
         CHyperLink::kNormal},
        {"pressed, no pressed colour", kDefault, [](HWND l) { ui::MouseDown(l); }, CHyperLink::kNormal},
        {"pressed", CHyperLink::kUnderline, [](HWND l) { ui::MouseDown(l); }, CHyperLink::kPressed},
        {"pressed and hovered", CHyperLink::kUnderline | CHyperLink::kHoverColour,
         [](HWND l) {
             ui::MoveMouseOver(l);
             ui::MouseDown(l);
         },
         CHyperLink::kHover},
        {"visited, marked", kDefault | CHyperLink::kMarkVisited, [](HWND l) { ui::Click(l); }, CHyperLink::kVisited},
        {"visited, not marked", kDefault, [](HWND l) { ui::Click(l); }, CHyperLink::kNormal},
        {"disabled", kDefault, [](HWND l) { EnableWindow(l, false); }, 0x808080},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Show(c.flags, L"https://help.brenviklab.example/nagent");
        c.act(label);
        EXPECT_EQ(Colour(), c.colour);
        const std::vector<DrawOp> drawn = ui::Paint(label);
        ASSERT_FALSE(drawn.empty());
        EXPECT_TRUE(drawn.back().transparent);
        EXPECT_EQ(drawn.back().font.lfUnderline, 1);
        Reset();
    }
}

TEST_F(HyperLink, ActivationOpensTheAddressOrActsAsACommandButton)
{
    const struct {
        const char* what;
        DWORD flags;
        std::wstring address;
        std::function<void(HWND)> act;
        std::vector<std::wstring> opened;
    } cases[] = {
        {"a click", kDefault, L"https://help.brenviklab.example", [](HWND l) { ui::Click(l); },
         {L"open https://help.brenviklab.example"}},
        {"an address with @", kDefault, L"support@brenviklab.example", [](HWND l) { ui::Click(l); },
         {L"open mailto:support@brenviklab.example"}},
        {"a mail address already marked", kDefault, L"mailto:support@brenviklab.example", [](HWND l) { ui::Click(l); },
         {L"open mailto:support@brenviklab.example"}},
        {"the space key", kDefault, L"https://a.example", [](HWND l) { ui::KeyPress(l, VK_SPACE); },
         {L"open https://a.example"}},
        {"a press without activate-on-press", kDefault, L"https://a.example", [](HWND l) { ui::MouseDown(l); }, {}},
        {"a press with activate-on-press", kDefault | CHyperLink::kActivateOnPress, L"https://a.example",
         [](HWND l) { ui::MouseDown(l); }, {L"open https://a.example"}},
        {"a click with activate-on-press opens once", kDefault | CHyperLink::kActivateOnPress, L"https://a.example",
         [](HWND l) { ui::Click(l); }, {L"open https://a.example"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Show(c.flags, c.address);
        c.act(label);
        EXPECT_EQ(Opened(), c.opened);
        EXPECT_TRUE(page->received.empty());  // nothing for the page when an address opens
        Reset();
    }

    Show(kDefault, L"", 4711);
    ui::Click(label);
    ui::KeyPress(label, VK_SPACE);
    ExpectSequence({Command(4711, BN_CLICKED, label), Command(4711, BN_CLICKED, label)}, page->received);
    EXPECT_TRUE(Opened().empty());
    EXPECT_EQ(GetFocus(), label);  // focus on click
}

TEST_F(HyperLink, WhenTheShellCannotOpenItThePageHandlerStartsWithTheAddressAsOneArgument)
{
    ui::SetShellOpenResult(false);
    const struct {
        const char* what;
        std::wstring command;  // the open command of web pages, empty for none
        std::wstring address;
        std::vector<std::wstring> opened;
    } cases[] = {
        {"the address in place of \"%1\"", L"\"/opt/browser/browser\" -new \"%1\" -quiet", L"https://a.example",
         {L"open https://a.example", L"run \"/opt/browser/browser\" -new \"https://a.example\" -quiet"}},
        {"no placeholder: appended", L"/opt/browser/browser", L"https://a.example",
         {L"open https://a.example", L"run /opt/browser/browser \"https://a.example\""}},
        {"a quote cannot end the argument", L"browser \"%1\"", L"https://a.example/\" --evil",
         {L"open https://a.example/\" --evil", L"run browser \"https://a.example/%22 --evil\""}},
        {"no handler", L"", L"https://a.example", {L"open https://a.example"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ui::ResetRegistry();
        if (!c.command.empty()) {
            ui::RegistrySetString(HKEY_CLASSES_ROOT, L".htm", L"", L"htmlfile");
            ui::RegistrySetString(HKEY_CLASSES_ROOT, L"htmlfile\\shell\\open\\command", L"", c.command);
        }
        Show(kDefault, c.address);
        ui::Click(label);
        EXPECT_EQ(Opened(), c.opened);
        Reset();
    }
}

TEST_F(HyperLink, TheHandCursorTheMouseAndTheSizeOfTheText)
{
    Show(kDefault | CHyperLink::kSizeToText, L"https://a.example");
    ui::MoveMouseOver(label);
    EXPECT_EQ(CursorId(GetCursor()), IDC_HAND);
    // sized to "Справка" in the default font: 7 characters of 5 pixels, 14 high
    EXPECT_EQ(GetWindowRect(label), (RECT{10, 10, 45, 24}));
    Reset();

    Show(kDefault | CHyperLink::kNoHandCursor, L"https://a.example");
    ui::MoveMouseOver(label);
    EXPECT_EQ(CursorId(GetCursor()), IDC_ARROW);
    EXPECT_EQ(GetWindowRect(label), (RECT{10, 10, 210, 30}));  // not sized without the flag
}
