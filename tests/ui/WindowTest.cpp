#include "ui/Window.h"

#include <gtest/gtest.h>

#include "support/MessageSequence.h"
#include "ui/Wnd.h"

using testsupport::Message;

namespace {

class Windows : public ::testing::Test {
protected:
    void SetUp() override { ui::InitializePlatform(); }
    testsupport::RecordingParent parent;
};

}  // namespace

TEST_F(Windows, HandlesOfDestroyedWindowsAreRecognisedAsStale)
{
    HWND first = CreateWindowExW(0, L"Static", L"one", WS_CHILD | WS_VISIBLE, {}, parent.Handle(), 10);
    ASSERT_TRUE(IsWindow(first));
    EXPECT_EQ(GetParent(first), parent.Handle());
    EXPECT_EQ(GetDlgItem(parent.Handle(), 10), first);
    DestroyWindow(first);
    EXPECT_FALSE(IsWindow(first));
    HWND second = CreateWindowExW(0, L"Static", L"two", WS_CHILD, {}, parent.Handle(), 11);  // may reuse the slot
    EXPECT_NE(second, first);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(SendMessageW(first, WM_SETTEXT, 0, 0), 0);  // nothing reaches a stale handle
    EXPECT_EQ(GetWindowTextW(second), L"two");
    EXPECT_EQ(GetDlgItem(parent.Handle(), 10), nullptr);
}

TEST_F(Windows, AWindowBeingDestroyedHearsItBeforeItsChildrenGo)
{
    HWND list = CreateWindowExW(0, L"Static", L"", WS_CHILD, {}, parent.Handle(), 20);
    HWND header = CreateWindowExW(0, L"Static", L"", WS_CHILD, {}, list, 21);
    std::vector<std::string> heard;
    SetWindowProc(list, [&](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
        if (m == WM_DESTROY) heard.push_back(IsWindow(header) ? "list, header still there" : "list, header gone");
        return DefWindowProcW(w, m, wp, lp);
    });
    SetWindowProc(header, [&](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
        if (m == WM_DESTROY) heard.push_back("header");
        return DefWindowProcW(w, m, wp, lp);
    });
    DestroyWindow(list);
    EXPECT_EQ(heard, (std::vector<std::string>{"list, header still there", "header"}));
    EXPECT_FALSE(IsWindow(header));
}

TEST_F(Windows, PostedMessagesWaitForThePumpAndSentOnesArriveAtOnce)
{
    parent.Interest({WM_USER + 1, WM_USER + 2});
    SendMessageW(parent.Handle(), WM_USER + 1, 1, 0);
    PostMessageW(parent.Handle(), WM_USER + 2, 2, 0);
    EXPECT_EQ(parent.received.size(), 1u);
    EXPECT_EQ(PumpMessages(), 1);
    testsupport::ExpectSequence({{WM_USER + 1, 1, 0}, {WM_USER + 2, 2, 0}}, parent.received);
    EXPECT_EQ(PumpMessages(), 0);
}

TEST_F(Windows, RegisteredMessagesAreStablePerNameAndInTheRegisteredRange)
{
    const UINT modified = RegisterWindowMessageW(L"RWM_ZRHCCON_PPN_PAGE_MODIFIED");
    EXPECT_EQ(RegisterWindowMessageW(L"RWM_ZRHCCON_PPN_PAGE_MODIFIED"), modified);
    const UINT other = RegisterWindowMessageW(L"RWM_PPN_PAGE_JUMP_TO_SUBPAGE");
    EXPECT_NE(other, modified);
    for (UINT id : {modified, other}) {
        EXPECT_GE(id, 0xC000u);
        EXPECT_LE(id, 0xFFFFu);
    }
    EXPECT_EQ(RegisterWindowMessageW(L""), 0u);
}

TEST_F(Windows, ADisabledWindowLosesTheFocusAndAHiddenParentHidesItsChildren)
{
    HWND edit = CreateWindowExW(0, L"Edit", L"", WS_CHILD | WS_VISIBLE, {}, parent.Handle(), 5);
    SetFocus(edit);
    EXPECT_EQ(GetFocus(), edit);
    EnableWindow(edit, false);
    EXPECT_FALSE(IsWindowEnabled(edit));
    EXPECT_EQ(GetFocus(), nullptr);  // a disabled window loses the focus
    ShowWindow(parent.Handle(), SW_HIDE);
    EXPECT_FALSE(IsWindowVisible(edit));  // hidden with its parent
    ShowWindow(parent.Handle(), SW_SHOW);
    EXPECT_TRUE(IsWindowVisible(edit));
}

TEST_F(Windows, PropertiesBelongToTheirWindowAndGoWithIt)
{
    static const wchar_t kValue[] = L"value";
    HWND window = CreateWindowExW(0, L"Static", L"", WS_CHILD, {}, parent.Handle(), 12);
    HWND other = CreateWindowExW(0, L"Static", L"", WS_CHILD, {}, parent.Handle(), 13);
    EXPECT_EQ(GetPropW(window, L"name"), nullptr);
    EXPECT_TRUE(SetPropW(window, L"name", const_cast<wchar_t*>(kValue)));
    EXPECT_FALSE(SetPropW(window, L"", const_cast<wchar_t*>(kValue)));
    EXPECT_EQ(GetPropW(window, L"name"), kValue);
    EXPECT_EQ(GetPropW(other, L"name"), nullptr);
    EXPECT_EQ(RemovePropW(window, L"name"), kValue);
    EXPECT_EQ(GetPropW(window, L"name"), nullptr);
    SetPropW(window, L"name", const_cast<wchar_t*>(kValue));
    DestroyWindow(window);
    EXPECT_EQ(GetPropW(window, L"name"), nullptr);
    EXPECT_FALSE(SetPropW(window, L"name", nullptr));
}
