#include "ObjectCommands.h"

#include <iostream>

#include "zrstd/Format.h"
#include "zrstd/Strings.h"

namespace ngt {

int NewObject(Session& session, const std::string& kind, const std::string& name,
              const host::NewObjectOptions& options)
{
    const auto type = host::ObjectTypeOfKind(ZRSTD::FromUtf8(kind));
    if (!type)
        Refuse(ZRSTD::FormatW(L"unknown object kind \"%hs\" (kinds: policy, host, task, package, dpoint, bootserver)", kind));
    const host::ObjectName object{*type, ZRSTD::FromUtf8(kind), ZRSTD::FromUtf8(name)};
    session.CreateObject(object, options);
    std::cout << "created " << ZRSTD::ToUtf8(object.Full()) << "\n";
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
