#pragma once

// The built plug-in, loaded as the console loads it, and helpers that ask it
// what a console asks.
#include <string>
#include <vector>

#include "host/console/PluginLibrary.h"
#include "host/pagehost/PageHost.h"
#include "support/Errors.h"
#include "support/FakeDataSource.h"
#include "ui/Window.h"
#include "zrstd/Strings.h"

namespace testsupport {

inline host::PluginLibrary& Plugin()
{
    static host::PluginLibrary plugin(ZRNGTPLG_PATH);
    return plugin;
}

inline host::Configurator Configure(ZRPlugin::IDataSource& dataSource, std::int32_t kind, bool wizard = false,
                                    const std::wstring& taskType = L"")
{
    auto configurator = host::CreateConfigurator(Plugin(), kind, wizard, taskType);
    configurator->SetInterfaces(&dataSource);
    return configurator;
}

struct PageClass {
    std::string name;
    bool available = false;  // false: this build lacks the page, and CreatePage said so
};

// The class of each page, as the page's window names it or, for a page this
// build lacks, as the error names it.
inline std::vector<PageClass> DescribePageClasses(ZRPlugin::IZRConfigurator& configurator)
{
    host::PageHost sheet;
    std::vector<PageClass> classes;
    for (std::int32_t index = 0; index < configurator.GetPageCount(); ++index) {
        try {
            ZRSTD::CAutoPtr<ZRPlugin::IZRConfiguratorPage2> page;
            configurator.CreatePage(&page, sheet.Sheet(), index);
            const void* name = page ? ::GetPropW(page->GetWindow(), ZRPlugin::kPageClassProperty) : nullptr;
            classes.push_back({name ? ZRSTD::ToUtf8(static_cast<const wchar_t*>(name)) : "(none)", true});
        } catch (const ZRERR::Error& error) {
            const std::string message = ZRSTD::ToUtf8(error.GetMessage());
            const std::string marker = "page class ";
            const auto at = message.find(marker);
            if (error.GetCode() != ZRPlugin::kErrorNotImplemented || at == std::string::npos) throw;
            const auto start = at + marker.size();
            classes.push_back({message.substr(start, message.find_first_of(" :", start) - start), false});
        }
    }
    return classes;
}

inline std::vector<std::string> PageClasses(ZRPlugin::IZRConfigurator& configurator)
{
    std::vector<std::string> names;
    for (const auto& page : DescribePageClasses(configurator)) names.push_back(page.name);
    return names;
}

inline std::vector<std::string> PageTitles(ZRPlugin::IZRConfigurator& configurator)
{
    std::vector<std::string> titles;
    for (std::int32_t index = 0; index < configurator.GetPageCount(); ++index)
        titles.push_back(ZRSTD::ToUtf8(configurator.GetPageTitle(index)));
    return titles;
}

}  // namespace testsupport
