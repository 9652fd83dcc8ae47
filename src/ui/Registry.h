#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ui/Api.h"
#include "ui/Win32.h"

// The registry: HKEY_CLASSES_ROOT, HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE, keys with DWORD,
// string and binary values. It lives in memory, or in a file that every change
// rewrites atomically (SetRegistryFile).
struct HKEY__;
using HKEY = HKEY__*;
using LSTATUS = long;

UI_API extern const HKEY HKEY_CLASSES_ROOT;
UI_API extern const HKEY HKEY_CURRENT_USER;
UI_API extern const HKEY HKEY_LOCAL_MACHINE;

inline constexpr LSTATUS ERROR_SUCCESS = 0, ERROR_FILE_NOT_FOUND = 2, ERROR_INVALID_HANDLE = 6,
                         ERROR_MORE_DATA = 234, ERROR_WRITE_FAULT = 29;
inline constexpr DWORD REG_SZ = 1, REG_BINARY = 3, REG_DWORD = 4;
inline constexpr DWORD KEY_ALL_ACCESS = 0xF003F, KEY_READ = 0x20019;

// Key paths are case-insensitive and separated by backslashes.
UI_API LSTATUS RegCreateKeyExW(HKEY root, const std::wstring& subKey, DWORD access, HKEY* result);
UI_API LSTATUS RegOpenKeyExW(HKEY root, const std::wstring& subKey, DWORD access, HKEY* result);
UI_API LSTATUS RegCloseKey(HKEY key);
UI_API LSTATUS RegSetValueExW(HKEY key, const std::wstring& name, DWORD type, const void* data, std::size_t size);
// The value's type and bytes (strings are UTF-16LE without terminator).
UI_API LSTATUS RegQueryValueExW(HKEY key, const std::wstring& name, DWORD* type, std::vector<std::uint8_t>* data);
UI_API LSTATUS RegDeleteValueW(HKEY key, const std::wstring& name);
UI_API LSTATUS RegDeleteTreeW(HKEY root, const std::wstring& subKey);
UI_API std::vector<std::wstring> RegEnumKeys(HKEY root, const std::wstring& subKey);

namespace ui {

// Typed helpers over the calls above.
UI_API bool RegistryGetDword(HKEY root, const std::wstring& key, const std::wstring& name, DWORD& value);
UI_API bool RegistrySetDword(HKEY root, const std::wstring& key, const std::wstring& name, DWORD value);
UI_API bool RegistryGetString(HKEY root, const std::wstring& key, const std::wstring& name, std::wstring& value);
UI_API bool RegistrySetString(HKEY root, const std::wstring& key, const std::wstring& name, const std::wstring& value);

// Persists the registry in path from now on (loading what the file holds);
// an empty path returns to memory only. False, with the reason, when the file
// cannot be read, is not a registry file or cannot be written.
UI_API bool SetRegistryFile(const std::string& path, std::string* problem = nullptr);
// Forgets every key (tests).
UI_API void ResetRegistry();

}  // namespace ui
