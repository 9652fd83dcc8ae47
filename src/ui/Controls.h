#pragma once

#include <string>

#include "ui/Api.h"
#include "ui/Win32.h"

// The standard controls, as window classes: "Button" (push, check, radio,
// three-state, group box), "Edit", "Static", "ComboBox" and "ListBox". They
// keep their state behind the messages the platform defines and notify their
// parent as the platform does (WM_COMMAND with BN_CLICKED, EN_UPDATE then
// EN_CHANGE, CBN_SELCHANGE, LBN_SELCHANGE, LBN_DBLCLK, STN_CLICKED).
namespace ui {

UI_API void RegisterStandardControls();

// The text the clipboard holds for WM_PASTE.
UI_API void SetClipboardText(const std::wstring& text);
UI_API std::wstring GetClipboardText();

// Whether a key is held (VK_SHIFT, VK_CONTROL, VK_MENU, VK_LWIN), as user actions set it.
UI_API void SetKeyDown(WORD key, bool down);
UI_API bool IsKeyDown(WORD key);

}  // namespace ui

// The platform's key-state query: the high bit is set while the key is held.
UI_API short GetKeyState(int key);
