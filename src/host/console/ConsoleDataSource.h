#pragma once

#include <map>
#include <memory>
#include <string>

#include "host/console/ConsoleConfiguration.h"
#include "host/console/ConsoleObjects.h"
#include "host/storage/SettingsStore.h"
#include "zrplugin/DataSource.h"

// The data source the console hands a configurator for one stored object:
// its settings storages, its parameters, facts about its computer, and the
// console's services, as the store's catalogue and configuration describe
// them.
namespace host {

class ConsoleDataSource : public ZRPlugin::IDataSource {
public:
    struct Options {
        // The object seen without its governing policy: a computer's own values.
        bool withoutPolicy = false;
    };
    // Raises a localized error when the object is not in the store.
    ConsoleDataSource(ZRSTD::CAutoPtr<SettingsStore> store, const ObjectName& object, const Options& options);
    ConsoleDataSource(ZRSTD::CAutoPtr<SettingsStore> store, const ObjectName& object)
        : ConsoleDataSource(std::move(store), object, Options{})
    {
    }
    // The console's own services only, for calls about no object (the taskpad).
    explicit ConsoleDataSource(ZRSTD::CAutoPtr<SettingsStore> store);
    ~ConsoleDataSource();
    ConsoleDataSource(const ConsoleDataSource&) = delete;
    ConsoleDataSource& operator=(const ConsoleDataSource&) = delete;

    void ReservedSlot0() override {}
    std::int32_t GetItem(const wchar_t* name, ZRSTD::ZRBaseQI** ppItem) override;

    const ObjectName& Object() const { return m_object; }
    std::int32_t PluginObjectKind() const { return host::PluginObjectKind(m_object.type); }
    // The task type of a task ("" for other objects).
    const std::wstring& TaskType() const { return m_taskType; }
    // The policy that governs a computer or task ("" for none).
    const std::wstring& GoverningPolicy() const { return m_policy; }

    // Writes the parameters the plug-in edited in place (a task's, a
    // boot-server connection's) back to the store, through the storage that
    // read them: another writer's change since is merged, not overwritten,
    // and a parameter both changed is refused (SectionStorage).
    void SaveParams();

private:
    ZRSTD::CAutoPtr<ZRPlugin::SettingsStorage> PolicyStorageOf(const std::wstring& policyName);
    void AddItem(const std::wstring& name, ZRSTD::CAutoPtr<ZRSTD::ZRBaseQI> item);
    void AddConsoleItems();

    ZRSTD::CAutoPtr<SettingsStore> m_store;
    ObjectName m_object;
    ConsoleConfiguration m_configuration;
    std::wstring m_taskType;
    std::wstring m_policy;
    ZRSTD::CAutoPtr<ZRPAR::Params> m_params;  // TASK_PARAMS or PARAMS
    ZRSTD::CAutoPtr<ZRPlugin::SettingsStorage> m_paramsStorage;  // what read m_params
    std::map<std::wstring, ZRSTD::CAutoPtr<ZRSTD::ZRBaseQI>> m_items;
};

// Attribute names of the catalogue.
inline constexpr const wchar_t* kAttributePolicy = L"policy";          // the governing policy's name
inline constexpr const wchar_t* kAttributeTaskType = L"taskType";
inline constexpr const wchar_t* kAttributeComputerType = L"computerType";

}  // namespace host
