#pragma once

#include "ui/Resources.h"

// The plug-in's own resources: its string table, the default event
// notification settings (raw resource "XML" 1009) and the dialog templates of
// its pages.
namespace frame {

inline constexpr UINT kNotificationDefaultsResource = 1009;

const ui::ResourceModule& PluginResources();

}  // namespace frame
