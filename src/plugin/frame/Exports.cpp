// Entry points of the plug-in: the interface query, the accessor and the
// message filter. Everything else the console reaches through the objects
// these hand out.
#include <cstring>

#include "controls/PluginEnvironment.h"
#include "plugin/frame/Accessor.h"
#include "plugin/frame/Exporter.h"
#include "plugin/frame/Grouping.h"
#include "plugin/frame/PluginApp.h"
#include "plugin/frame/ProductEvents.h"
#include "zrplugin/Exports.h"

#define ZRNGTPLG_EXPORT extern "C" __attribute__((visibility("default")))

namespace {
// The application object prepares the library when it is loaded and releases it on unload.
struct LibraryLifetime {
    LibraryLifetime() { CZRNGTPlgApp::Instance().InitInstance(); }
    ~LibraryLifetime() { CZRNGTPlgApp::Instance().ExitInstance(); }
} g_library;

template <class T>
ZRSTD::ZRBaseQI* Create()
{
    return new T();
}

struct InterfaceFactory {
    const char* name;
    ZRSTD::ZRBaseQI* (*create)();
};

constexpr InterfaceFactory kInterfaces[] = {
    {"ZRPlugin::IPropGrouping2", &Create<CGrouping>},
    {"ZRPlugin::IProductEvents", &Create<CProductEvents>},
    {"ZRPlugin::INHTaskpadLinkGrouping", &Create<CLinkGrouping>},
    {"ZRPlugin::ISettingsExporter", &Create<CExporter>},
};
}  // namespace

ZRNGTPLG_EXPORT std::int32_t QueryPluginInterface(const char* name, ZRSTD::ZRBaseQI** ppInterface)
{
    PluginStateScope scope;
    if (!name || !ppInterface) return 0;
    for (const auto& entry : kInterfaces) {
        if (std::strcmp(name, entry.name) != 0) continue;
        *ppInterface = entry.create();
        return 1;
    }
    return 0;
}

ZRNGTPLG_EXPORT ZRPlugin::IZRAccessor* GetAccessor()
{
    PluginStateScope scope;
    return &CZRNGTAccessor::Instance();
}

ZRNGTPLG_EXPORT std::int32_t FilterDllMsg(const MSG* message)
{
    PluginStateScope scope;
    if (!message) return 0;
    try {
        return CZRNGTPlgApp::Instance().PreTranslateMessage(*message) ? 1 : 0;
    } catch (...) {
        return 0;  // a failing dialog must not take the console's message loop down
    }
}
