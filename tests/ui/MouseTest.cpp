#include "ui/Mouse.h"

#include <gtest/gtest.h>

#include "support/MessageSequence.h"
#include "ui/Controls.h"
#include "ui/UserActions.h"
#include "ui/Wnd.h"

using testsupport::Command;
using testsupport::ExpectSequence;
using testsupport::Message;

namespace {

// A window that records the mouse messages it receives and answers the hit test and cursor as told.
struct MouseWindow {
    explicit MouseWindow(HWND parent, RECT rect, LRESULT hitTest = HTCLIENT, bool setsCursor = false)
    {
        window = CreateWindowExW(0, L"Static", L"", WS_CHILD | WS_VISIBLE | SS_NOTIFY, rect, parent, 50);
        SetWindowProc(window, [this, hitTest, setsCursor](HWND w, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
            if (message == WM_NCHITTEST) return hitTest;
            if (message == WM_SETCURSOR && setsCursor) {
                SetCursor(LoadCursorW(IDC_HAND));
                return TRUE;
            }
            if (message == WM_LBUTTONDOWN || message == WM_MOUSEMOVE || message == WM_MOUSELEAVE)
                received.push_back({message, 0, message == WM_MOUSELEAVE ? 0 : lParam});
            if (message == WM_MOUSEMOVE) TrackMouseEvent(w);
            return 0;
        });
    }
    HWND window;
    std::vector<Message> received;
};

}  // namespace

TEST(Mouse, ClientPointsMapThroughTheParentChain)
{
    ui::InitializePlatform();
    testsupport::RecordingParent parent;
    MoveWindow(parent.Handle(), RECT{100, 50, 900, 650});
    HWND inner = CreateWindowExW(0, L"Static", L"", WS_CHILD | WS_VISIBLE, RECT{10, 20, 60, 40}, parent.Handle(), 1);
    EXPECT_EQ(ClientToScreen(inner, POINT{3, 4}).x, 113);
    EXPECT_EQ(ClientToScreen(inner, POINT{3, 4}).y, 74);
    const POINT back = ScreenToClient(inner, POINT{113, 74});
    EXPECT_EQ(back.x, 3);
    EXPECT_EQ(back.y, 4);
    EXPECT_EQ(GetClientRect(inner), (RECT{0, 0, 50, 20}));
}

TEST(Mouse, AClickGoesWhereTheHitTestSendsIt)
{
    ui::InitializePlatform();
    testsupport::RecordingParent parent;
    parent.Interest({WM_COMMAND, WM_LBUTTONDOWN});
    // a plain label lets the click through to its parent; a notifying one takes it
    HWND label = CreateWindowExW(0, L"Static", L"", WS_CHILD | WS_VISIBLE, RECT{10, 10, 50, 30}, parent.Handle(), 7);
    HWND notifying = CreateWindowExW(0, L"Static", L"", WS_CHILD | WS_VISIBLE | SS_NOTIFY, RECT{10, 40, 50, 60},
                                     parent.Handle(), 8);
    ui::ClickAt(label, POINT{5, 6});
    ui::Click(notifying);
    ExpectSequence({{WM_LBUTTONDOWN, 0, MAKELPARAM(15, 16)}, Command(8, STN_CLICKED, notifying)}, parent.received);
    EXPECT_EQ(GetCursorPos().x, 30);  // the centre of the notifying label, on the screen
    EXPECT_EQ(GetCursorPos().y, 50);
}

TEST(Mouse, MovingOnTellsTheTrackedWindowThatTheMouseLeftAndSetsTheCursor)
{
    ui::InitializePlatform();
    testsupport::RecordingParent parent;
    MouseWindow hand(parent.Handle(), RECT{0, 0, 40, 20}, HTCLIENT, true);
    MouseWindow plain(parent.Handle(), RECT{0, 30, 40, 50});
    ui::MoveMouse(hand.window, POINT{4, 5});
    EXPECT_EQ(CursorId(GetCursor()), IDC_HAND);
    ui::MoveMouse(hand.window, POINT{6, 5});
    ui::MoveMouseOver(plain.window);
    EXPECT_EQ(CursorId(GetCursor()), IDC_ARROW);  // nobody set one: the class cursor
    ui::MoveMouseAway();
    ExpectSequence({{WM_MOUSEMOVE, 0, MAKELPARAM(4, 5)}, {WM_MOUSEMOVE, 0, MAKELPARAM(6, 5)}, {WM_MOUSELEAVE, 0, 0}},
                   hand.received);
    ExpectSequence({{WM_MOUSEMOVE, 0, MAKELPARAM(20, 10)}, {WM_MOUSELEAVE, 0, 0}}, plain.received);
    EXPECT_EQ(GetMouseTrackingWindow(), nullptr);
}
