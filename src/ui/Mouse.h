#pragma once

#include "ui/Api.h"
#include "ui/Win32.h"

// The mouse: the system cursors, the cursor position in screen coordinates,
// mapping between a window's client area and the screen (a window's
// rectangle is relative to its parent's client area; a window without a
// parent is placed on the screen), and leave tracking: a window that asked
// for it receives WM_MOUSELEAVE when the mouse moves to another window.
struct HCURSOR__;
using HCURSOR = HCURSOR__*;

inline constexpr int IDC_ARROW = 32512, IDC_IBEAM = 32513, IDC_WAIT = 32514, IDC_HAND = 32649;

UI_API HCURSOR LoadCursorW(int systemCursor);
UI_API HCURSOR SetCursor(HCURSOR cursor);
UI_API HCURSOR GetCursor();
// The system id of a cursor (IDC_HAND, ...), 0 for none.
UI_API int CursorId(HCURSOR cursor);

UI_API POINT GetCursorPos();
UI_API void SetCursorPos(POINT screen);

UI_API POINT ClientToScreen(HWND window, POINT client);
UI_API POINT ScreenToClient(HWND window, POINT screen);
UI_API RECT GetClientRect(HWND window);

UI_API bool TrackMouseEvent(HWND window);
// The window that tracks the mouse's leaving, or null.
UI_API HWND GetMouseTrackingWindow();
UI_API void ClearMouseTracking();
