#include "host/console/PluginLibrary.h"

#include <dlfcn.h>

#include <filesystem>

#include "zrstd/Format.h"

namespace host {

namespace {
constexpr const char* kModule = "NGTCONSOLE";
constexpr long kPluginMissing = 5;

template <class F>
F Resolve(void* handle, const char* name, const std::string& path)
{
    void* symbol = dlsym(handle, name);
    if (!symbol)
        ZRERR_throwLocalizedError(kModule, kPluginMissing,
                                  ZRSTD::FormatW(L"the plug-in \"%hs\" has no entry point %hs", path, name));
    return reinterpret_cast<F>(symbol);
}
}  // namespace

PluginLibrary::PluginLibrary(const std::string& path) : m_path(path)
{
    m_handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (!m_handle) {
        const char* reason = dlerror();
        ZRERR_throwLocalizedError(kModule, kPluginMissing,
                                  ZRSTD::FormatW(L"the plug-in \"%hs\" cannot be loaded: %hs", path,
                                                 reason ? reason : "unknown reason"));
    }
    try {
        m_queryPluginInterface = Resolve<QueryPluginInterfaceFunction>(m_handle, ZRPlugin::kQueryPluginInterfaceName, path);
        m_getAccessor = Resolve<GetAccessorFunction>(m_handle, ZRPlugin::kGetAccessorName, path);
        m_filterDllMsg = Resolve<FilterDllMsgFunction>(m_handle, ZRPlugin::kFilterDllMsgName, path);
    } catch (...) {
        dlclose(m_handle);
        throw;
    }
}

PluginLibrary::~PluginLibrary()
{
    if (m_handle) dlclose(m_handle);
}

std::string PluginLibrary::DefaultPathBeside(const std::string& executable)
{
    std::error_code error;
    std::filesystem::path self = std::filesystem::canonical(executable, error);
    if (error) self = executable;
    return (self.parent_path().parent_path() / "lib" / "libzrngtplg.so").string();
}

Configurator CreateConfigurator(const PluginLibrary& plugin, std::int32_t objectKind, bool wizard,
                                const std::wstring& taskType)
{
    return Configurator::Adopt(plugin.Accessor()->CreateConfigurator(objectKind, wizard ? 1 : 0, taskType.c_str()));
}

}  // namespace host
