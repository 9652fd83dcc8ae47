#include "ObjectCommands.h"

#include <algorithm>
#include <iostream>

#include "zrstd/Format.h"
#include "zrstd/Strings.h"

namespace ngt {

namespace {

void RequirePolicy(host::SettingsStore& store, const std::string& policy)
{
    if (policy.empty()) return;
    if (!store.HasObject(L"policy:" + ZRSTD::FromUtf8(policy)))
        Refuse(ZRSTD::FormatW(L"there is no policy \"%hs\" in %hs (create it with: ngt-console new policy \"%hs\")",
                              policy, store.Path(), policy));
}

std::wstring TaskTypeList()
{
    std::wstring list;
    for (const auto& type : host::AgentTaskTypes()) list += (list.empty() ? L"" : L", ") + type;
    return list;
}

// The attributes of the catalogue entry, checked against the kind.
ZRSTD::CAutoPtr<ZRPAR::Params> Attributes(host::ObjectType type, const NewObjectOptions& options,
                                          host::SettingsStore& store)
{
    auto attributes = ZRPAR::CreateParams();
    const bool computer = type == host::ObjectType::Host || type == host::ObjectType::DistributionPoint;
    const bool governed = computer || type == host::ObjectType::Task;
    if (!options.policy.empty() && !governed) Refuse(L"--policy is for hosts, distribution points and tasks");
    if ((options.platform || options.serverHosted || options.serverAddress != NewObjectOptions().serverAddress) &&
        !computer)
        Refuse(L"--platform, --server and --server-hosted are for hosts and distribution points");
    if (computer && ZRSTD::Trim(ZRSTD::FromUtf8(options.serverAddress)).empty())
        Refuse(L"--server needs the address of the administration server");
    RequirePolicy(store, options.policy);
    if (!options.policy.empty())
        attributes->AddValue(host::kAttributePolicy, ZRPAR::CreateValue(ZRSTD::FromUtf8(options.policy)).Get());
    if (computer)
        attributes->AddValue(host::kAttributeComputerType,
                             ZRPAR::CreateValue(host::ComputerTypeOfPlatform(options.platform.value_or(0))).Get());
    if (type == host::ObjectType::Task) {
        const std::wstring taskType = ZRSTD::FromUtf8(options.taskType);
        const auto& known = host::AgentTaskTypes();
        if (taskType.empty()) Refuse(L"a task needs --type (one of " + TaskTypeList() + L")");
        if (std::find(known.begin(), known.end(), taskType) == known.end())
            Refuse(ZRSTD::FormatW(L"unknown task type \"%s\" (types: %s)", taskType, TaskTypeList()));
        attributes->AddValue(host::kAttributeTaskType, ZRPAR::CreateValue(taskType).Get());
    } else if (!options.taskType.empty()) {
        Refuse(L"--type is for tasks");
    }
    return attributes;
}

// What the computer itself reports: its agent's version, the server the
// agent was installed to connect to, and whether it runs on that server.
void WriteComputerFacts(host::SettingsStore& store, const std::wstring& object, const NewObjectOptions& options)
{
    auto storage = store.ObjectStorage(object);
    storage->Replace(L".core", L".independent", L"ZRNAG_VERSIONINFO",
                     ZRPAR::CreateParamsBody({{L"ZRNAG_VERSION", ZRSTD::FromUtf8(options.agentVersion)}}).Get());
    auto installed = ZRPAR::CreateParamsBody({{L"ServerAddress", ZRSTD::FromUtf8(options.serverAddress)}});
    if (options.serverHosted) installed->AddValue(L"ZRNAG_SERVER_INSTALLED", ZRPAR::CreateValue(true).Get());
    storage->Update(L"1103", L"1.0.0.0", L"86", installed.Get());
}

}  // namespace

int NewObject(Session& session, const std::string& kind, const std::string& name, const NewObjectOptions& options)
{
    const auto type = host::ObjectTypeOfKind(ZRSTD::FromUtf8(kind));
    if (!type)
        Refuse(ZRSTD::FormatW(L"unknown object kind \"%hs\" (kinds: policy, host, task, package, dpoint, bootserver)", kind));
    if (name.empty()) Refuse(L"the object needs a name");
    host::SettingsStore& store = session.Store(true);
    const host::ObjectName object{*type, ZRSTD::FromUtf8(kind), ZRSTD::FromUtf8(name)};
    if (store.HasObject(object.Full()))
        Refuse(ZRSTD::FormatW(L"\"%s\" exists already in %hs", object.Full(), store.Path()));
    auto attributes = Attributes(*type, options, store);

    store.PutCatalogueEntry(object.Full(), object.kind, attributes.Get());
    try {
        const bool computer = *type == host::ObjectType::Host || *type == host::ObjectType::DistributionPoint;
        if (computer) WriteComputerFacts(store, object.Full(), options);
        host::ConsoleDataSource dataSource(ZRSTD::CAutoPtr<host::SettingsStore>(&store), object);
        const bool wizard = *type == host::ObjectType::Policy || *type == host::ObjectType::Task;
        auto configurator = session.Configure(dataSource, wizard);
        configurator->InitDefaults();
        dataSource.SaveParams();
    } catch (...) {
        store.DeleteObject(object.Full());  // no half-made object stays behind
        throw;
    }
    std::cout << "created " << ZRSTD::ToUtf8(object.Full()) << "\n";
    return 0;
}

void EnsureSampleObjects(Session& session)
{
    host::SettingsStore& store = session.Store(true);
    if (!store.ListObjects().empty()) return;
    NewObject(session, "policy", "Default policy", {});
    NewObjectOptions host;
    host.policy = "Default policy";
    NewObject(session, "host", "localhost", host);
}

int Configure(Session& session, const std::string& key, const std::string& value)
{
    host::SettingsStore& store = session.Store(!key.empty());
    if (!key.empty()) {
        host::WriteConfiguration(store, key, value);
        std::cout << key << " = " << value << "\n";
        return 0;
    }
    const auto values = host::DescribeConfiguration(store);
    for (std::size_t i = 0; i < values.size(); ++i)
        std::cout << values[i].first << " = " << values[i].second << "    # " << host::ConfigurationKeys()[i].meaning
                  << "\n";
    return 0;
}

}  // namespace ngt
