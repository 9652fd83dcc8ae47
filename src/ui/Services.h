#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ui/Api.h"
#include "ui/Win32.h"

// Services of the desktop that pages ask for, each recorded and replaceable:
// the shell's "open" verb, starting a program, HTML help, the file and folder
// pickers, the wait cursor, the themed tab background and window themes.
namespace ui {

struct ServiceCall {
    std::wstring service;  // "open", "run", "help", "save-file", "open-file", "folder", "cursor", "theme", "window-theme"
    std::wstring argument;
    std::wstring detail;
};

UI_API const std::vector<ServiceCall>& ServiceCalls();
UI_API void ClearServiceCalls();

// What the pickers return: a path, or an empty string for a cancelled dialog.
using PickerAnswer = std::function<std::wstring(const ServiceCall& request)>;
UI_API void SetPickerAnswer(PickerAnswer answer);
// Whether opening succeeds (the host may refuse, e.g. without a browser).
UI_API void SetShellOpenResult(bool succeeds);

UI_API bool ShellExecuteOpen(HWND owner, const std::wstring& target);
// Starts a program from a command line; whether that succeeds is set like opening.
UI_API bool StartProgram(const std::wstring& commandLine);
UI_API void SetStartProgramResult(bool succeeds);
UI_API bool HtmlHelpShow(HWND owner, const std::wstring& file, DWORD contextId);
// Save and open pickers: filter and default extension as the platform gives
// them; returns the chosen path or empty.
UI_API std::wstring PickSaveFile(HWND owner, const std::wstring& title, const std::wstring& filter,
                                 const std::wstring& defaultExtension, DWORD flags);
// The open picker's request carries "filter|default extension" as its detail.
UI_API std::wstring PickOpenFile(HWND owner, const std::wstring& title, const std::wstring& filter,
                                 const std::wstring& defaultExtension = L"");
UI_API std::wstring PickFolder(HWND owner, const std::wstring& title);
UI_API void SetWaitCursor(bool waiting);
UI_API bool IsWaitCursor();
inline constexpr DWORD ETDT_ENABLETAB = 6;
UI_API void EnableThemeDialogTexture(HWND window, DWORD flags);
UI_API bool HasThemeDialogTexture(HWND window);
// The visual theme a window is drawn with ("Explorer", ...); empty for the default.
UI_API void SetWindowTheme(HWND window, const std::wstring& theme);
UI_API std::wstring GetWindowTheme(HWND window);

}  // namespace ui
