#include "controls/Layout.h"

#include <gtest/gtest.h>

#include "ui/Wnd.h"
#include "zrstd/Trace.h"

TEST(Layout, AnchorsEdgesToTheDialogAndToOtherControls)
{
    ui::InitializePlatform();
    HWND dialog = CreateWindowExW(0, L"#32770", L"", WS_VISIBLE, RECT{0, 0, 400, 300}, nullptr, 0);
    HWND frame = CreateWindowExW(0, L"Button", L"", WS_CHILD | BS_GROUPBOX, RECT{8, 8, 200, 100}, dialog, 20100);
    HWND lock = CreateWindowExW(0, L"Static", L"", WS_CHILD, RECT{100, 10, 150, 30}, dialog, 20038);
    HWND half = CreateWindowExW(0, L"Static", L"", WS_CHILD, RECT{0, 120, 10, 140}, dialog, 30);
    std::wstring traced;
    ZRSTD::SetTraceSink([&](int, std::string_view, std::wstring_view text) { traced += text; }, 1);
    layout::Apply(dialog, {
                              {layout::kAnchor, 20100, 0, layout::kRight, layout::kDialog, layout::kRight, 0, -8},
                              {layout::kAnchor, 20038, 0, layout::kRight, 20100, layout::kRight, 0, 0},
                              {layout::kPercent, 30, 0, layout::kRight, layout::kDialog, layout::kLeft, 50, 0},
                              {layout::kAnchor, 12345, 0, layout::kLeft, layout::kDialog, layout::kLeft, 0, 0},
                              {layout::kEnd},
                              {layout::kAnchor, 30, 0, layout::kRight, layout::kDialog, layout::kRight, 0, 0},
                          });
    ZRSTD::SetTraceSink(nullptr, 0);
    EXPECT_EQ(GetWindowRect(frame).right, 392);  // 8 pixels inside the dialog's right edge
    EXPECT_EQ(GetWindowRect(lock).right, 392);   // aligned with the frame
    EXPECT_EQ(GetWindowRect(half).right, 200);   // half the dialog's width; entries after the end are not read
    EXPECT_EQ(traced, L"Layout couldn't find control of id=12345");
    DestroyWindow(dialog);
}
