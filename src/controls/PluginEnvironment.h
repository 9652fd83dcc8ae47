#pragma once

#include <string>

#include "ui/Resources.h"

// What pages and dialogs need from the plug-in they live in: its module state
// (strings, templates), the message captions, the right-to-left flag and the
// help path templates. The plug-in's application object fills it at start-up;
// the page framework reads it and never includes the frame.
struct PluginEnvironment {
    ui::ModuleState moduleState;
    std::wstring messageCaption;     // string 1
    std::wstring secondCaption;      // string 1 as well
    bool rightToLeft = false;        // string 2582 is not "0"
    std::wstring localHelpTemplate;  // "<folder>help\%1.htm"
    std::wstring onlineHelpTemplate; // an address with "%1" for the topic
    std::wstring helpFile;           // a compiled help file, when one is configured
};

PluginEnvironment& GetPluginEnvironment();

// Selects the plug-in's module state for one call from the console.
class PluginStateScope : public ui::ModuleStateScope {
public:
    PluginStateScope() : ui::ModuleStateScope(GetPluginEnvironment().moduleState) {}
};

// Right-to-left reading and alignment for message boxes when the interface is right-to-left.
inline UINT RightToLeftBoxStyle() { return GetPluginEnvironment().rightToLeft ? (MB_RTLREADING | MB_RIGHT) : 0; }
