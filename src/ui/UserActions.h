#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "ui/Api.h"
#include "ui/Win32.h"

// What a user does, delivered to controls as the platform delivers input, so
// that the control and its parent see exactly the messages they would see.
// An action a user could not perform (on a control that is missing, disabled
// or hidden, or an item that is not there) raises ActionRefused with the reason.
namespace ui {

class UI_API ActionRefused : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct Modifiers {
    bool control = false, shift = false, alt = false, windows = false;
};

// Types text into an edit character by character: at its caret when it has
// the focus, else after its text (as when clicked into). A line break is a
// press of Enter, which starts a new line in a multi-line edit.
UI_API void Type(HWND edit, std::wstring_view text);
// Selects the whole text and deletes it.
UI_API void ClearText(HWND edit);
// Selects the whole text and types over it, as a field entered with Tab is
// typed over; an empty text clears it.
UI_API void ReplaceText(HWND edit, std::wstring_view text);
// The same, refused (ActionRefused naming the field, what it shows and the
// range it takes) when the field does not show exactly the text afterwards.
UI_API void EnterText(HWND edit, std::wstring_view text);
// Types at the end of the text, refused likewise when not all of it lands.
UI_API void AppendText(HWND edit, std::wstring_view text);
// Types a dotted address ("10.0.0.1") into an IP address control field by
// field; an empty text blanks it. Anything else is refused.
UI_API void EnterAddress(HWND address, std::wstring_view text);
UI_API void SelectText(HWND edit, int start, int end);
UI_API void Paste(HWND edit, const std::wstring& text);
// A click at the centre of the control. Mouse input goes to the window the
// hit test names: a window that answers HTTRANSPARENT lets it through to its parent.
UI_API void Click(HWND control);
// A click, a press or a release at a point of the control's client area.
UI_API void ClickAt(HWND control, POINT client);
UI_API void MouseDown(HWND control, POINT client);
UI_API void MouseDown(HWND control);
UI_API void MouseUp(HWND control, POINT client);
UI_API void MouseUp(HWND control);
// Moves the mouse onto a point of the control (WM_SETCURSOR, then WM_MOUSEMOVE);
// the window that tracked the mouse before receives WM_MOUSELEAVE.
UI_API void MoveMouse(HWND control, POINT client);
UI_API void MoveMouseOver(HWND control);
// Moves the mouse off every window.
UI_API void MoveMouseAway();
UI_API void DoubleClick(HWND control);
// Clicks a check box or radio button until it shows the state.
UI_API void SetChecked(HWND button, bool checked);
// Chooses an item of a combo or list box, or clicks a row of a list view, as
// a person names it: its text (in any case) or "#N" counting from 1; refused
// with the choices there are.
UI_API void SelectItem(HWND box, const std::wstring& itemText);
// Clicks the check box of the list view's row with this text until it shows the state.
UI_API void SetRowChecked(HWND list, const std::wstring& rowText, bool checked);
UI_API void KeyPress(HWND control, WORD key, Modifiers modifiers = {});
// A key held down on the focused control, and its release.
UI_API void KeyDown(HWND control, WORD key);
UI_API void KeyUp(HWND control, WORD key);

// The control with this id in a dialog, or ActionRefused naming it.
UI_API HWND FindControl(HWND dialog, int id);

}  // namespace ui
