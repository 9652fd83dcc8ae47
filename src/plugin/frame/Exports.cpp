// Entry points of the plug-in. The library hands out no interface yet: the
// accessor and the interface objects arrive with the configurator.
#include <cstdint>

#define ZRNGTPLG_EXPORT extern "C" __attribute__((visibility("default")))

ZRNGTPLG_EXPORT std::int32_t QueryPluginInterface(const char* /*name*/, void** /*ppInterface*/) { return 0; }

ZRNGTPLG_EXPORT void* GetAccessor() { return nullptr; }

ZRNGTPLG_EXPORT std::int32_t FilterDllMsg(void* /*message*/) { return 0; }
