#include "ObjectCommands.h"

#include "zrstd/Format.h"
#include "zrstd/Strings.h"

namespace ngt {

int NewObject(Session& session, const std::string& kind, const std::string& name,
              const host::NewObjectOptions& options, Format format)
{
    const auto type = host::ObjectTypeOfKind(ZRSTD::FromUtf8(kind));
    if (!type)
        throw UsageError("unknown object kind \"" + kind + "\" (kinds: policy, host, task, package, dpoint, bootserver)");
    const host::ObjectName object{*type, ZRSTD::FromUtf8(kind), ZRSTD::FromUtf8(name)};
    session.CreateObject(object, options);
    if (format == Format::Json) PrintJson({{"created", ZRSTD::ToUtf8(object.Full())}, {"kind", kind}, {"name", name}});
    else std::cout << "created " << ZRSTD::ToUtf8(object.Full()) << "\n";
    return 0;
}

void EnsureSampleObjects(Session& session)
{
    host::SettingsStore& store = session.Store(true);
    if (!store.ListObjects().empty()) return;
    NewObject(session, "policy", "Default policy", {});
    host::NewObjectOptions computer;
    computer.policy = L"Default policy";
    NewObject(session, "host", "localhost", computer);
}

int Configure(Session& session, const std::string& key, const std::string& value, Format format)
{
    host::SettingsStore& store = session.Store(!key.empty());
    if (!key.empty()) host::WriteConfiguration(store, key, value);
    const auto values = host::DescribeConfiguration(store);
    if (format == Format::Json) {
        nlohmann::json config = nlohmann::json::object();
        for (const auto& [name, stored] : values) config[name] = stored;
        PrintJson(config);
        return 0;
    }
    for (std::size_t i = 0; i < values.size(); ++i)
        if (key.empty() || values[i].first == key)
            std::cout << values[i].first << " = " << values[i].second << "    # " << host::ConfigurationKeys()[i].meaning
                      << "\n";
    return 0;
}

}  // namespace ngt
