#pragma once

// The plug-in library's three entry points, as the console resolves them by name.
#include <cstdint>

#include "ui/Win32.h"
#include "zrplugin/Accessor.h"
#include "zrstd/ZRBase.h"

extern "C" {

// A new object (reference count 1, owned by the caller) for one of the names
// "ZRPlugin::IPropGrouping2", "ZRPlugin::IProductEvents",
// "ZRPlugin::INHTaskpadLinkGrouping", "ZRPlugin::ISettingsExporter" (exact
// bytes), stored in *ppInterface; 1 then, else 0 with *ppInterface untouched.
using QueryPluginInterfaceFunction = std::int32_t (*)(const char* name, ZRSTD::ZRBaseQI** ppInterface);
// The process's one accessor; the caller does not release it.
using GetAccessorFunction = ZRPlugin::IZRAccessor* (*)();
// Offers a message of the console's loop to the plug-in's dialogs (accelerators); non-zero when taken.
using FilterDllMsgFunction = std::int32_t (*)(const MSG* message);

}

namespace ZRPlugin {
inline constexpr const char* kQueryPluginInterfaceName = "QueryPluginInterface";
inline constexpr const char* kGetAccessorName = "GetAccessor";
inline constexpr const char* kFilterDllMsgName = "FilterDllMsg";
}  // namespace ZRPlugin
