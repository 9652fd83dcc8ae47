#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/Api.h"
#include "ui/Win32.h"

// Windows: a table of handles (a destroyed window's handle is recognised as
// stale, never dereferenced), a parent chain, styles, text, enable, visible
// and focus state, and a window procedure that receives every message.
// SendMessage calls it at once; PostMessage queues the message until the
// queue is pumped (by the modal loop, or by PumpMessages).
using WindowProc = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;

// A window class: makes the procedure each new window of the class starts
// with (a control keeps its state inside its procedure).
using WindowProcFactory = std::function<WindowProc()>;
UI_API void RegisterWindowClass(const std::wstring& className, WindowProcFactory factory);

UI_API HWND CreateWindowExW(DWORD exStyle, const std::wstring& className, const std::wstring& text, DWORD style,
                            const RECT& rect, HWND parent, int id);
UI_API bool DestroyWindow(HWND window);
UI_API bool IsWindow(HWND window);

UI_API LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
UI_API bool PostMessageW(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
// Delivers queued messages until the queue is empty; returns how many.
UI_API int PumpMessages();
// True while a window procedure handles a message that was posted rather than sent.
UI_API bool IsDeliveringPostedMessage();
// Same name, same id, in 0xC000..0xFFFF; 0 for an empty name.
UI_API UINT RegisterWindowMessageW(const std::wstring& name);

// What a window procedure does with what it does not handle itself.
UI_API LRESULT DefWindowProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Replaces the window's procedure and returns the previous one (subclassing).
UI_API WindowProc SetWindowProc(HWND window, WindowProc procedure);

UI_API HWND GetParent(HWND window);
UI_API HWND GetDlgItem(HWND dialog, int id);
UI_API int GetDlgCtrlID(HWND window);
UI_API std::vector<HWND> GetChildren(HWND window);  // in creation (tab) order
UI_API std::wstring GetClassName(HWND window);

UI_API bool SetWindowTextW(HWND window, std::wstring_view text);
UI_API std::wstring GetWindowTextW(HWND window);
UI_API bool SetDlgItemTextW(HWND dialog, int id, std::wstring_view text);
UI_API std::wstring GetDlgItemTextW(HWND dialog, int id);

inline constexpr int GWL_STYLE = -16, GWL_EXSTYLE = -20, GWL_ID = -12;
UI_API DWORD GetWindowLongW(HWND window, int index);
UI_API DWORD SetWindowLongW(HWND window, int index, DWORD value);

UI_API bool EnableWindow(HWND window, bool enable);  // returns whether it was disabled
UI_API bool IsWindowEnabled(HWND window);
inline constexpr int SW_HIDE = 0, SW_SHOW = 5;
UI_API bool ShowWindow(HWND window, int command);
UI_API bool IsWindowVisible(HWND window);
UI_API HWND SetFocus(HWND window);
UI_API HWND GetFocus();

UI_API RECT GetWindowRect(HWND window);
UI_API bool MoveWindow(HWND window, const RECT& rect);

// An opaque slot a class layer keeps its object in.
UI_API void SetWindowObject(HWND window, void* object);
UI_API void* GetWindowObject(HWND window);

// Named values attached to a window (null when absent); a property goes with its window.
UI_API bool SetPropW(HWND window, const std::wstring& name, void* value);
UI_API void* GetPropW(HWND window, const std::wstring& name);
UI_API void* RemovePropW(HWND window, const std::wstring& name);

// Sends WM_COMMAND (id, code, control) to the control's parent, as controls notify.
UI_API LRESULT NotifyParentCommand(HWND control, WORD code);
// Sends WM_NOTIFY to the control's parent with hdr filled in.
UI_API LRESULT NotifyParent(HWND control, NMHDR& hdr, UINT code);
