#pragma once

#include "ui/Win32.h"

// Strings and images every settings page uses.
namespace pageres {

inline constexpr UINT kYes = 2573, kNo = 2574;            // booleans as exports show them
inline constexpr UINT kSettingsNotChanged = 2030;        // a failed apply
inline constexpr UINT kLockImages = 6000, kInfoIcon = 6001;  // the lock controls' item images and information icon

}  // namespace pageres
