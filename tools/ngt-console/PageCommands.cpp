#include "PageCommands.h"

#include <algorithm>
#include <functional>
#include <iostream>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <vector>

#include "host/pagehost/PageHost.h"
#include "ui/Window.h"
#include "zrpar/Render.h"
#include "zrplugin/Grouping.h"
#include "zrplugin/ProductEvents.h"
#include "zrstd/Strings.h"

namespace ngt {

namespace {

using ZRSTD::ToUtf8;

struct PageRow {
    int index = 0;
    std::string title;
    std::string description;
    int helpId = 0;
    std::string pageClass;
    std::string group;
    bool available = false;
    std::string reason;  // why a page is not available
};

// "page class CPageX is not available in this build" names the class.
std::string ClassNamedIn(const std::wstring& message)
{
    const std::wstring marker = L"page class ";
    const auto at = message.find(marker);
    if (at == std::wstring::npos) return "";
    const auto start = at + marker.size();
    auto end = message.find_first_of(L" :", start);
    return ToUtf8(message.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start));
}

std::string StringOf(const ZRPAR::Params& params, const wchar_t* key)
{
    ZRPAR::Value* value = params.FindValue(key);
    return value && value->GetType() == ZRPAR::VT_STRING ? ToUtf8(static_cast<ZRPAR::StringValue*>(value)->GetValue())
                                                          : std::string();
}

std::optional<std::int32_t> IntOf(const ZRPAR::Params& params, const wchar_t* key)
{
    ZRPAR::Value* value = params.FindValue(key);
    if (!value || value->GetType() != ZRPAR::VT_INT) return std::nullopt;
    return static_cast<ZRPAR::IntValue*>(value)->GetValue();
}

std::vector<const ZRPAR::Params*> ContainersOf(const ZRPAR::Params& params, const wchar_t* key)
{
    std::vector<const ZRPAR::Params*> items;
    ZRPAR::Value* value = params.FindValue(key);
    if (!value || value->GetType() != ZRPAR::VT_ARRAY) return items;
    const auto& array = *static_cast<ZRPAR::ArrayValue*>(value);
    for (std::size_t i = 0; i < array.GetSize(); ++i) {
        auto item = array.GetAt(i);
        if (item && item->GetType() == ZRPAR::VT_PARAMS) items.push_back(static_cast<ZRPAR::ParamsValue*>(item.Get())->GetValue());
    }
    return items;
}

std::vector<std::int32_t> IndexesOf(const ZRPAR::Params& group)
{
    std::vector<std::int32_t> indexes;
    ZRPAR::Value* value = group.FindValue(L"indexes");
    if (!value || value->GetType() != ZRPAR::VT_ARRAY) return indexes;
    const auto& array = *static_cast<ZRPAR::ArrayValue*>(value);
    for (std::size_t i = 0; i < array.GetSize(); ++i) {
        auto item = array.GetAt(i);
        if (item && item->GetType() == ZRPAR::VT_INT) indexes.push_back(static_cast<ZRPAR::IntValue*>(item.Get())->GetValue());
    }
    return indexes;
}

// Page index -> the path of the group that holds (or represents) it.
void CollectGroups(const ZRPAR::Params& document, const std::string& parent, std::map<int, std::string>& groupOf)
{
    for (const ZRPAR::Params* group : ContainersOf(document, L"groups")) {
        const std::string name = StringOf(*group, L"name");
        const std::string path = parent.empty() ? name : (name.empty() ? parent : parent + " / " + name);
        for (std::int32_t index : IndexesOf(*group)) groupOf[index] = path;
        if (auto page = IntOf(*group, L"page_index")) groupOf[*page] = path;
        CollectGroups(*group, path, groupOf);
    }
}

ZRSTD::CAutoPtr<ZRPAR::Params> Grouping(Session& session, host::ConsoleDataSource& dataSource)
{
    auto grouping = session.Plugin().Query<ZRPlugin::IPropGrouping2>();
    if (!grouping) Refuse(L"the plug-in gives no page grouping");
    grouping->SetDataSource(&dataSource);
    ZRSTD::CAutoPtr<ZRPAR::Params> document;
    grouping->GetGrouping(&document, dataSource.PluginObjectKind());
    return document;
}

std::vector<PageRow> DescribePages(Session& session, host::ConsoleDataSource& dataSource, bool wizard)
{
    auto configurator = session.Configure(dataSource, wizard);
    std::map<int, std::string> groupOf;
    if (!wizard)
        if (auto document = Grouping(session, dataSource)) CollectGroups(*document, "", groupOf);
    host::PageHost sheet;
    std::vector<PageRow> rows;
    const std::int32_t count = configurator->GetPageCount();
    for (std::int32_t index = 0; index < count; ++index) {
        PageRow row;
        row.index = index;
        row.title = ToUtf8(configurator->GetPageTitle(index));
        row.description = ToUtf8(configurator->GetPageDescription(index));
        const wchar_t* topic = nullptr;
        std::int32_t helpId = 0;
        configurator->GetPageHelp(index, &topic, &helpId);
        row.helpId = helpId;
        row.group = groupOf.count(index) ? groupOf[index] : (wizard ? "" : "-");
        try {
            ZRSTD::CAutoPtr<ZRPlugin::IZRConfiguratorPage2> page;
            configurator->CreatePage(&page, sheet.Sheet(), index);
            if (page) {
                row.available = true;
                if (const void* name = ::GetPropW(page->GetWindow(), ZRPlugin::kPageClassProperty))
                    row.pageClass = ToUtf8(static_cast<const wchar_t*>(name));
            }
        } catch (const ZRERR::Error& error) {
            row.pageClass = ClassNamedIn(error.GetMessage());
            row.reason = "not available in this build";
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace

int ListPages(Session& session, const std::string& object, bool wizard, Format format)
{
    auto dataSource = session.DataSource(ZRSTD::FromUtf8(object));
    const auto rows = DescribePages(session, *dataSource, wizard);
    if (format == Format::Json) {
        auto list = nlohmann::json::array();
        for (const auto& row : rows)
            list.push_back({{"index", row.index}, {"title", row.title}, {"description", row.description},
                            {"help_id", row.helpId}, {"class", row.pageClass}, {"group", row.group},
                            {"available", row.available}});
        std::cout << list.dump(2) << "\n";
        return 0;
    }
    std::cout << object << ": " << rows.size() << (rows.size() == 1 ? " page" : " pages")
              << (wizard ? " in the creation wizard" : " in the property sheet") << "\n";
    for (const auto& row : rows) {
        std::cout << "  [" << row.index << "] " << row.title << "  (" << row.pageClass << ", help " << row.helpId;
        if (!wizard) std::cout << ", group: " << (row.group.empty() ? "(top level)" : row.group);
        std::cout << ")" << (row.available ? "" : "  -- " + row.reason) << "\n";
        // a description of blanks only (the boot server's) says nothing
        if (row.description.find_first_not_of(" \t") != std::string::npos) std::cout << "      " << row.description << "\n";
    }
    return 0;
}

int ShowGroups(Session& session, const std::string& object, Format format)
{
    auto dataSource = session.DataSource(ZRSTD::FromUtf8(object));
    auto document = Grouping(session, *dataSource);
    if (!document) {
        std::cout << object << ": the plug-in groups no pages of this kind of object\n";
        return 0;
    }
    if (format == Format::Json) {
        std::cout << ZRPAR::RenderJson(*document) << "\n";
        return 0;
    }
    auto configurator = session.Configure(*dataSource, false);
    const std::int32_t count = configurator->GetPageCount();
    auto title = [&](std::int32_t index) {
        return index >= 0 && index < count ? ToUtf8(configurator->GetPageTitle(index)) : std::string("(no such page)");
    };
    std::function<void(const ZRPAR::Params&, int)> print = [&](const ZRPAR::Params& parent, int depth) {
        for (const ZRPAR::Params* group : ContainersOf(parent, L"groups")) {
            const std::string indent(static_cast<std::size_t>(depth) * 2, ' ');
            const std::string name = StringOf(*group, L"name");
            std::cout << indent << (name.empty() ? "(top level)" : name);
            if (auto page = IntOf(*group, L"page_index")) std::cout << "  [page " << *page << ": " << title(*page) << "]";
            std::cout << "\n";
            for (std::int32_t index : IndexesOf(*group))
                std::cout << indent << "  " << index << " " << title(index) << "\n";
            print(*group, depth + 1);
        }
    };
    print(*document, 0);
    return 0;
}

int ShowTaskpad(Session& session, Format format)
{
    host::ConsoleDataSource dataSource(ZRSTD::CAutoPtr<host::SettingsStore>(&session.Store()));
    auto links = session.Plugin().Query<ZRPlugin::INHTaskpadLinkGrouping>();
    if (!links) Refuse(L"the plug-in gives no taskpad links");
    ZRSTD::CAutoPtr<ZRPAR::Params> document;
    links->GetLinks(&document, &dataSource);
    if (!document) Refuse(L"the plug-in gave no taskpad links");
    if (format == Format::Json) {
        std::cout << ZRPAR::RenderJson(*document) << "\n";
        return 0;
    }
    for (const ZRPAR::Params* item : ContainersOf(*document, L"NESTED")) {
        if (IntOf(*item, L"ISGROUP").value_or(0) == 1) {
            std::cout << StringOf(*item, L"NAME") << "\n";
            for (const ZRPAR::Params* link : ContainersOf(*item, L"NESTED"))
                std::cout << "  " << StringOf(*link, L"NAME") << " -> page " << IntOf(*link, L"PAGE").value_or(-1) << "\n";
        } else {
            std::cout << StringOf(*item, L"NAME") << " -> page " << IntOf(*item, L"PAGE").value_or(-1) << "\n";
        }
    }
    Note("the taskpad numbers pages its own way; `ngt-console pages policy:NAME` numbers a policy's sheet "
         "(find a page there by its title)");
    return 0;
}

int ListEvents(Session& session, Format format)
{
    auto events = ZRPAR::CreateParams();
    session.Plugin().Accessor()->GetEvents(events.Get());
    const auto list = ContainersOf(*events, L"Events");
    if (format == Format::Json) {
        auto json = nlohmann::json::array();
        for (const ZRPAR::Params* event : list)
            json.push_back({{"event_id", StringOf(*event, L"EventID")},
                            {"name", StringOf(*event, L"LocalizedEventIDName")},
                            {"severity", IntOf(*event, L"Severity").value_or(0)}});
        std::cout << json.dump(2) << "\n";
        return 0;
    }
    static const char* const kSeverity[] = {"", "information", "warning", "error"};
    for (const ZRPAR::Params* event : list) {
        const int severity = IntOf(*event, L"Severity").value_or(0);
        std::cout << (severity >= 1 && severity <= 3 ? kSeverity[severity] : "?") << "\t"
                  << StringOf(*event, L"EventID") << "\t" << StringOf(*event, L"LocalizedEventIDName") << "\n";
    }
    return 0;
}

int ShowOverview(Session& session)
{
    host::SettingsStore& store = session.Store();
    std::cout << "Store: " << store.Path() << "\n\nObjects:\n";
    std::optional<std::string> policy;
    for (const auto& object : store.ListObjects()) {
        std::cout << "  " << ToUtf8(object) << "\n";
        if (!policy && object.rfind(L"policy:", 0) == 0) policy = ToUtf8(object);
    }
    if (!policy) {
        std::cout << "\nThe store holds no policy (create one with: ngt-console new policy NAME).\n";
        return 0;
    }
    std::cout << "\nPages of " << *policy << ", in their groups:\n";
    auto dataSource = session.DataSource(ZRSTD::FromUtf8(*policy));
    const auto rows = DescribePages(session, *dataSource, false);
    std::vector<std::string> groups;
    for (const auto& row : rows)
        if (std::find(groups.begin(), groups.end(), row.group) == groups.end()) groups.push_back(row.group);
    for (const auto& group : groups) {
        std::cout << "  " << (group.empty() || group == "-" ? "(top level)" : group) << "\n";
        for (const auto& row : rows)
            if (row.group == group)
                std::cout << "    [" << row.index << "] " << row.title << (row.available ? "" : "  (not available in this build)")
                          << "\n";
    }
    std::cout << "\nMore: ngt-console --help; ngt-console pages \"" << *policy << "\"\n";
    return 0;
}

}  // namespace ngt
