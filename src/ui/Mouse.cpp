#include "ui/Mouse.h"

#include <utility>

#include "ui/Window.h"

namespace {

struct MouseState {
    HCURSOR cursor = nullptr;
    POINT position;
    HWND tracking = nullptr;
};

MouseState& State()
{
    static MouseState state;
    return state;
}

}  // namespace

HCURSOR LoadCursorW(int systemCursor)
{
    switch (systemCursor) {
    case IDC_ARROW:
    case IDC_IBEAM:
    case IDC_WAIT:
    case IDC_HAND: return reinterpret_cast<HCURSOR>(static_cast<std::uintptr_t>(systemCursor));
    default: return nullptr;
    }
}

HCURSOR SetCursor(HCURSOR cursor) { return std::exchange(State().cursor, cursor); }
HCURSOR GetCursor() { return State().cursor; }
int CursorId(HCURSOR cursor) { return static_cast<int>(reinterpret_cast<std::uintptr_t>(cursor)); }

POINT GetCursorPos() { return State().position; }
void SetCursorPos(POINT screen) { State().position = screen; }

POINT ClientToScreen(HWND window, POINT client)
{
    for (HWND w = window; w; w = GetParent(w)) {
        const RECT rect = GetWindowRect(w);
        client.x += rect.left;
        client.y += rect.top;
    }
    return client;
}

POINT ScreenToClient(HWND window, POINT screen)
{
    const POINT origin = ClientToScreen(window, POINT{0, 0});
    return POINT{screen.x - origin.x, screen.y - origin.y};
}

RECT GetClientRect(HWND window)
{
    const RECT rect = GetWindowRect(window);
    return RECT{0, 0, rect.Width(), rect.Height()};
}

bool TrackMouseEvent(HWND window)
{
    if (!IsWindow(window)) return false;
    State().tracking = window;
    return true;
}

HWND GetMouseTrackingWindow() { return IsWindow(State().tracking) ? State().tracking : nullptr; }
void ClearMouseTracking() { State().tracking = nullptr; }
