#pragma once

#include <string>

#include "zrplugin/Exports.h"
#include "zrplugin/IZRConfigurator.h"

// The plug-in as the console loads it: a shared object found by path, its
// three entry points resolved by name, and nothing else of it touched. Like
// the console, the host keeps the plug-in loaded until it exits (its windows
// and objects may outlive the last call into it).
namespace host {

class PluginLibrary {
public:
    // Raises a localized error naming the file when it cannot be loaded or
    // lacks an entry point.
    explicit PluginLibrary(const std::string& path);
    ~PluginLibrary();
    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;

    const std::string& Path() const { return m_path; }
    ZRPlugin::IZRAccessor* Accessor() const { return m_getAccessor(); }
    std::int32_t FilterMessage(const MSG& message) const { return m_filterDllMsg(&message); }

    // QueryPluginInterface as it is: 1 with a new object in *ppObject, else 0.
    std::int32_t QueryByName(const char* name, ZRSTD::ZRBaseQI** ppObject) const
    {
        return m_queryPluginInterface(name, ppObject);
    }

    // The object the plug-in makes for an interface name, as I, or null.
    template <class I>
    ZRSTD::CAutoPtr<I> Query() const
    {
        ZRSTD::ZRBaseQI* object = nullptr;
        if (!m_queryPluginInterface(I::kInterfaceName, &object) || !object) return nullptr;
        return ZRSTD::CAutoPtr<I>::Adopt(static_cast<I*>(object));
    }

    // The plug-in beside an executable: <dir>/../lib/libzrngtplg.so.
    static std::string DefaultPathBeside(const std::string& executable);

private:
    std::string m_path;
    void* m_handle = nullptr;
    QueryPluginInterfaceFunction m_queryPluginInterface = nullptr;
    GetAccessorFunction m_getAccessor = nullptr;
    FilterDllMsgFunction m_filterDllMsg = nullptr;
};

// A configurator as the console holds one: made by the accessor, released at the end.
using Configurator = ZRSTD::CAutoPtr<ZRPlugin::IZRConfigurator>;
Configurator CreateConfigurator(const PluginLibrary& plugin, std::int32_t objectKind, bool wizard,
                                const std::wstring& taskType);

}  // namespace host
