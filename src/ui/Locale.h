#pragma once

#include <string>

#include "ui/Api.h"
#include "ui/Win32.h"

// The user's locale: the names the desktop gives days of the week. The
// platform knows "ru-RU" (the user's locale unless changed) and "en-US".
using LCID = DWORD;
using LCTYPE = DWORD;
inline constexpr LCID LOCALE_USER_DEFAULT = 0x0400;
// Day names count from Monday (1) to Sunday (7).
inline constexpr LCTYPE LOCALE_SDAYNAME1 = 0x2A, LOCALE_SABBREVDAYNAME1 = 0x31;

// The text of a locale item; empty for an item the platform does not know.
UI_API std::wstring GetLocaleInfoW(LCID locale, LCTYPE type);

namespace ui {

// Switches the user's locale; false (and no change) for a locale the platform does not know.
UI_API bool SetUserLocale(const std::wstring& name);
UI_API std::wstring GetUserLocale();

}  // namespace ui
