#include "Session.h"

#include <filesystem>

#include "StoreLocation.h"
#include "zrstd/Format.h"
#include "zrstd/ProductMode.h"
#include "zrstd/Strings.h"

namespace ngt {

void Refuse(const std::wstring& message) { ZRERR_throwLocalizedError("NGTCONSOLE", 1, message); }

host::SettingsStore& Session::Store(bool create)
{
    if (!m_store) {
        if (!create && !std::filesystem::exists(m_storePath))
            Refuse(ZRSTD::FormatW(L"there is no store at \"%hs\"", m_storePath));
        if (create) EnsureParentDirectory(m_storePath);
        m_store = host::SettingsStore::Open(m_storePath);
    }
    return *m_store;
}

host::PluginLibrary& Session::Plugin()
{
    if (!m_plugin) m_plugin = std::make_unique<host::PluginLibrary>(m_pluginPath);
    return *m_plugin;
}

std::unique_ptr<host::ConsoleDataSource> Session::DataSource(const std::string& object)
{
    const host::ObjectName name = host::ParseObjectName(ZRSTD::FromUtf8(object));
    host::SettingsStore& store = Store();
    return std::make_unique<host::ConsoleDataSource>(ZRSTD::CAutoPtr<host::SettingsStore>(&store), name);
}

host::Configurator Session::Configure(host::ConsoleDataSource& dataSource, bool wizard)
{
    // the console tells its libraries its product mode before it loads plug-ins
    ZRSTD_SetQmcMode(host::ConsoleConfiguration::Read(Store()).productMode);
    auto configurator = host::CreateConfigurator(Plugin(), dataSource.PluginObjectKind(), wizard, dataSource.TaskType());
    configurator->SetInterfaces(&dataSource);
    return configurator;
}

}  // namespace ngt
