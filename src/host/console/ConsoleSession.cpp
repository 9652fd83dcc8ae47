#include "host/console/ConsoleSession.h"

#include <algorithm>
#include <filesystem>

#include "host/console/RegisteredApplications.h"

#include "zrstd/Format.h"
#include "zrstd/ProductMode.h"
#include "zrstd/Strings.h"

namespace host {

namespace {

// Creates the folders above path (mode 0700) when they are missing.
void EnsureParentDirectory(const std::string& path)
{
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    if (parent.empty() || std::filesystem::exists(parent)) return;
    std::error_code error;
    std::filesystem::create_directories(parent, error);
    if (error)
        RefuseRequest(ZRSTD::FormatW(L"cannot create the folder \"%hs\": %hs", parent.string(), error.message()));
    std::filesystem::permissions(parent, std::filesystem::perms::owner_all, std::filesystem::perm_options::replace, error);
}

std::wstring TaskTypeList()
{
    std::wstring list;
    for (const auto& type : AgentTaskTypes()) list += (list.empty() ? L"" : L", ") + type;
    return list;
}

// The attributes of the catalogue entry, checked against the kind.
ZRSTD::CAutoPtr<ZRPAR::Params> Attributes(ObjectType type, const NewObjectOptions& options, SettingsStore& store)
{
    auto attributes = ZRPAR::CreateParams();
    const bool computer = type == ObjectType::Host || type == ObjectType::DistributionPoint;
    const bool governed = computer || type == ObjectType::Task;
    if (!options.policy.empty() && !governed) RefuseRequest(L"--policy is for hosts, distribution points and tasks");
    if ((options.platform || options.serverHosted || options.serverAddress != NewObjectOptions().serverAddress) &&
        !computer)
        RefuseRequest(L"--platform, --server and --server-hosted are for hosts and distribution points");
    if (computer && ZRSTD::Trim(options.serverAddress).empty())
        RefuseRequest(L"--server needs the address of the administration server");
    if (!options.policy.empty()) {
        if (!store.HasObject(L"policy:" + options.policy))
            RefuseRequest(ZRSTD::FormatW(L"there is no policy \"%s\" in %hs (create it with: ngt-console new policy \"%s\")",
                                         options.policy, store.Path(), options.policy));
        attributes->AddValue(kAttributePolicy, ZRPAR::CreateValue(options.policy).Get());
    }
    if (computer)
        attributes->AddValue(kAttributeComputerType,
                             ZRPAR::CreateValue(ComputerTypeOfPlatform(options.platform.value_or(0))).Get());
    if (type == ObjectType::Task) {
        const auto& known = AgentTaskTypes();
        if (options.taskType.empty()) RefuseRequest(L"a task needs --type (one of " + TaskTypeList() + L")");
        if (std::find(known.begin(), known.end(), options.taskType) == known.end())
            RefuseRequest(ZRSTD::FormatW(L"unknown task type \"%s\" (types: %s)", options.taskType, TaskTypeList()));
        attributes->AddValue(kAttributeTaskType, ZRPAR::CreateValue(options.taskType).Get());
    } else if (!options.taskType.empty()) {
        RefuseRequest(L"--type is for tasks");
    }
    return attributes;
}

// What the computer itself reports: its agent's version, the server the
// agent was installed to connect to, and whether it runs on that server.
void WriteComputerFacts(SettingsStore& store, const std::wstring& object, const NewObjectOptions& options)
{
    auto storage = store.ObjectStorage(object);
    storage->Replace(L".core", L".independent", L"ZRNAG_VERSIONINFO",
                     ZRPAR::CreateParamsBody({{L"ZRNAG_VERSION", options.agentVersion}}).Get());
    auto installed = ZRPAR::CreateParamsBody({{L"ServerAddress", options.serverAddress}});
    if (options.serverHosted) installed->AddValue(L"ZRNAG_SERVER_INSTALLED", ZRPAR::CreateValue(true).Get());
    storage->Update(L"1103", L"1.0.0.0", L"86", installed.Get());
}

}  // namespace

void RefuseRequest(const std::wstring& message) { ZRERR_throwLocalizedError("NGTCONSOLE", 1, message); }

SettingsStore& ConsoleSession::Store(bool create)
{
    if (!m_store && IsServerLocation(m_storePath)) {
        SettingsStore::Options options;
        options.create = create;
        m_store = SettingsStore::Open(m_storePath, options);
    }
    if (!m_store) {
        if (!create && !std::filesystem::exists(m_storePath))
            RefuseRequest(ZRSTD::FormatW(L"there is no store at \"%hs\" (make one with: ngt-console init --store \"%hs\")",
                                         m_storePath, m_storePath));
        // an empty file would silently become a store: only init or new make one
        std::error_code error;
        if (!create && std::filesystem::is_regular_file(m_storePath) && std::filesystem::file_size(m_storePath, error) == 0)
            RefuseRequest(ZRSTD::FormatW(L"\"%hs\" is an empty file, not a settings store", m_storePath));
        if (create && m_makeFolder) EnsureParentDirectory(m_storePath);
        const std::filesystem::path folder = std::filesystem::path(m_storePath).parent_path();
        if (create && !folder.empty() && !std::filesystem::is_directory(folder))
            RefuseRequest(ZRSTD::FormatW(L"the folder %hs does not exist", folder.string()));
        m_store = SettingsStore::Open(m_storePath);
    }
    return *m_store;
}

PluginLibrary& ConsoleSession::Plugin()
{
    if (!m_plugin) m_plugin = std::make_unique<PluginLibrary>(m_pluginPath);
    return *m_plugin;
}

std::unique_ptr<ConsoleDataSource> ConsoleSession::DataSource(const std::wstring& object)
{
    const ObjectName name = ParseObjectName(object);
    return std::make_unique<ConsoleDataSource>(ZRSTD::CAutoPtr<SettingsStore>(&Store()), name);
}

Configurator ConsoleSession::Configure(ConsoleDataSource& dataSource, bool wizard)
{
    // the console tells its libraries its product mode before it loads plug-ins
    ZRSTD_SetQmcMode(ConsoleConfiguration::Read(Store()).productMode);
    // the applications page reads the registry of the administrator's computer
    if (dataSource.TaskType() == L"ZRNAG_TASK_START_STOP_APP") PublishRegisteredApplications(Store());
    auto configurator = CreateConfigurator(Plugin(), dataSource.PluginObjectKind(), wizard, dataSource.TaskType());
    configurator->SetInterfaces(&dataSource);
    return configurator;
}

void ConsoleSession::CreateObject(const ObjectName& object, const NewObjectOptions& options)
{
    if (object.name.empty()) RefuseRequest(L"the object needs a name");
    SettingsStore& store = Store(true);
    if (store.HasObject(object.Full()))
        RefuseRequest(ZRSTD::FormatW(L"\"%s\" exists already in %hs", object.Full(), store.Path()));
    auto attributes = Attributes(object.type, options, store);
    store.PutCatalogueEntry(object.Full(), object.kind, attributes.Get());
    try {
        const bool computer = object.type == ObjectType::Host || object.type == ObjectType::DistributionPoint;
        if (computer) WriteComputerFacts(store, object.Full(), options);
        ConsoleDataSource dataSource(ZRSTD::CAutoPtr<SettingsStore>(&store), object);
        const bool wizard = object.type == ObjectType::Policy || object.type == ObjectType::Task;
        auto configurator = Configure(dataSource, wizard);
        configurator->InitDefaults();
        dataSource.SaveParams();
    } catch (...) {
        store.DeleteObject(object.Full());  // no half-made object stays behind
        throw;
    }
}

std::wstring ConsoleSession::GoverningPolicy(const std::wstring& object)
{
    const auto entry = Store().GetCatalogueEntry(object);
    ZRPAR::Value* policy = entry && entry->attributes ? entry->attributes->FindValue(kAttributePolicy) : nullptr;
    return policy && policy->GetType() == ZRPAR::VT_STRING ? static_cast<ZRPAR::StringValue*>(policy)->GetValue() : L"";
}

std::vector<std::wstring> ConsoleSession::DeleteObject(const std::wstring& object, bool force)
{
    SettingsStore& store = Store();
    const ObjectName name = ParseObjectName(object);
    if (!store.HasObject(name.Full()))
        RefuseRequest(ZRSTD::FormatW(L"there is no object \"%s\" in %hs (ngt-console list shows the objects)", name.Full(),
                                     store.Path()));
    std::vector<std::wstring> governed;
    if (name.type == ObjectType::Policy)
        for (const auto& other : store.ListObjects())
            if (GoverningPolicy(other) == name.name) governed.push_back(other);
    if (!governed.empty() && !force) {
        std::wstring list;
        for (const auto& other : governed) list += (list.empty() ? L"" : L", ") + other;
        RefuseRequest(ZRSTD::FormatW(L"the policy \"%s\" governs %s; delete them first, or pass --force to detach them",
                                     name.name, list));
    }
    store.InTransaction([&] {
        for (const auto& other : governed) {
            auto entry = store.GetCatalogueEntry(other);
            entry->attributes->DeleteValue(kAttributePolicy);
            store.PutCatalogueEntry(other, entry->kind, entry->attributes.Get());
        }
        store.DeleteObject(name.Full());
    });
    return governed;
}

}  // namespace host
