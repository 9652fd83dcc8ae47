#pragma once

// The platform is one shared library that the console host and the plug-in
// both load, so they share one window table, message queue and registry.
#define UI_API __attribute__((visibility("default")))
