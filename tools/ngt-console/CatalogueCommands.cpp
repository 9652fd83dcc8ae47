#include "CatalogueCommands.h"

#include "host/console/ConsoleConfiguration.h"
#include "host/console/UpdateComponentCatalogue.h"
#include "zrstd/Strings.h"

namespace ngt {

int ListUpdateComponents(Session& session, Format format)
{
    host::SettingsStore& store = session.Store();
    const auto components = host::ReadUpdateComponents(store);
    if (host::ConsoleConfiguration::Read(store).serverVersionId <= 0x53010)
        Note("the configured server version offers no catalogue to the plug-in (server_version above 0x53010 does)");
    if (format == Format::Json) {
        auto json = nlohmann::json::array();
        for (const auto& component : components)
            json.push_back({{"app_id", ZRSTD::ToUtf8(component.appId)},
                            {"component_id", ZRSTD::ToUtf8(component.componentId)},
                            {"name", ZRSTD::ToUtf8(component.name)},
                            {"description", ZRSTD::ToUtf8(component.description)},
                            {"app_super_id", ZRSTD::ToUtf8(component.appSuperId)}});
        PrintJson(json);
        return 0;
    }
    for (const auto& component : components)
        std::cout << ZRSTD::ToUtf8(component.appId) << "\t" << ZRSTD::ToUtf8(component.componentId) << "\t"
                  << ZRSTD::ToUtf8(component.name) << "\t" << ZRSTD::ToUtf8(component.description) << "\n";
    return 0;
}

}  // namespace ngt
