#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/console/ConsoleDataSource.h"
#include "host/console/PluginLibrary.h"
#include "host/storage/SettingsStore.h"

// What a console works with: its store and the plug-in, each opened when
// first needed, the data source of a stored object, configurators over it,
// and new objects made with the plug-in's defaults. The command line and
// the tests drive the plug-in through it.
namespace host {

// What a new object is made with besides its kind and name.
struct NewObjectOptions {
    std::wstring policy;            // host, dpoint, task: the governing policy
    std::wstring taskType;          // task
    std::optional<int> platform;    // host, dpoint: 0, 1 or 2
    bool serverHosted = false;      // host, dpoint: the agent runs on the administration server
    std::wstring agentVersion = L"15.0.0.0";
    std::wstring serverAddress = L"localhost";  // host, dpoint: the server its agent was installed to connect to
};

class ConsoleSession {
public:
    // makeFolder: the folder of a new store is made when missing (the
    // default store's); otherwise a store is made only in a folder that exists.
    ConsoleSession(std::string storePath, std::string pluginPath, bool makeFolder = false)
        : m_storePath(std::move(storePath)), m_pluginPath(std::move(pluginPath)), m_makeFolder(makeFolder)
    {
    }

    const std::string& StorePath() const { return m_storePath; }
    // The store; one that does not exist is refused unless create is set.
    SettingsStore& Store(bool create = false);
    PluginLibrary& Plugin();

    // The data source of a stored object; a clear error for a bad name or a missing object.
    std::unique_ptr<ConsoleDataSource> DataSource(const std::wstring& object);
    // A configurator of the object with the data source set.
    Configurator Configure(ConsoleDataSource& dataSource, bool wizard);

    // The catalogue entry, then the plug-in's defaults written through a
    // configurator as the console does. Nothing is left behind when that fails.
    void CreateObject(const ObjectName& object, const NewObjectOptions& options);
    // Removes a stored object. A policy that still governs objects is refused
    // unless force is set, which detaches them (in the same transaction);
    // returns the objects detached.
    std::vector<std::wstring> DeleteObject(const std::wstring& object, bool force);
    // The name of the policy that governs a stored object ("" for none).
    std::wstring GoverningPolicy(const std::wstring& object);

private:
    std::string m_storePath;
    std::string m_pluginPath;
    bool m_makeFolder;
    ZRSTD::CAutoPtr<SettingsStore> m_store;
    std::unique_ptr<PluginLibrary> m_plugin;
};

// Refuses what a user asked of the console (a localized error, module "NGTCONSOLE").
[[noreturn]] void RefuseRequest(const std::wstring& message);

}  // namespace host
