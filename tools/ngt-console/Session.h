#pragma once

#include <memory>
#include <string>

#include "host/console/ConsoleDataSource.h"
#include "host/console/PluginLibrary.h"
#include "host/storage/SettingsStore.h"

// What a command of the console host works with: the store and the plug-in,
// each opened when first needed.
namespace ngt {

class Session {
public:
    Session(std::string storePath, std::string pluginPath) : m_storePath(std::move(storePath)), m_pluginPath(std::move(pluginPath)) {}

    const std::string& StorePath() const { return m_storePath; }
    // The store; one that does not exist is refused unless create is set.
    host::SettingsStore& Store(bool create = false);
    host::PluginLibrary& Plugin();

    // The data source of a stored object; raises a clear error for a bad name or a missing object.
    std::unique_ptr<host::ConsoleDataSource> DataSource(const std::string& object);
    // A configurator of the object with the data source set.
    host::Configurator Configure(host::ConsoleDataSource& dataSource, bool wizard);

private:
    std::string m_storePath;
    std::string m_pluginPath;
    ZRSTD::CAutoPtr<host::SettingsStore> m_store;
    std::unique_ptr<host::PluginLibrary> m_plugin;
};

// Raises the console host's own refusal (exit 1) with a message.
[[noreturn]] void Refuse(const std::wstring& message);

}  // namespace ngt
