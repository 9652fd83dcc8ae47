// Entry points of the plug-in. The library does not hand out its interfaces
// yet: the accessor and the interface objects arrive with the configurator.
#include <cstdint>

#include "plugin/frame/PluginApp.h"

#define ZRNGTPLG_EXPORT extern "C" __attribute__((visibility("default")))

namespace {
// The application object prepares the library when it is loaded and releases it on unload.
struct LibraryLifetime {
    LibraryLifetime() { CZRNGTPlgApp::Instance().InitInstance(); }
    ~LibraryLifetime() { CZRNGTPlgApp::Instance().ExitInstance(); }
} g_library;
}  // namespace

ZRNGTPLG_EXPORT std::int32_t QueryPluginInterface(const char* /*name*/, void** /*ppInterface*/) { return 0; }

ZRNGTPLG_EXPORT void* GetAccessor() { return nullptr; }

ZRNGTPLG_EXPORT std::int32_t FilterDllMsg(void* /*message*/) { return 0; }
