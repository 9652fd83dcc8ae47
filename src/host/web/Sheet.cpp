#include "host/web/Sheet.h"

#include <set>

#include "host/console/SettingChanges.h"
#include "ui/Window.h"
#include "zrplugin/Grouping.h"
#include "zrstd/Strings.h"

namespace host::web {

namespace {

std::wstring StringOf(const ZRPAR::Params& params, const wchar_t* key)
{
    ZRPAR::Value* value = params.FindValue(key);
    return value && value->GetType() == ZRPAR::VT_STRING ? static_cast<ZRPAR::StringValue*>(value)->GetValue()
                                                          : std::wstring();
}

std::vector<const ZRPAR::Params*> ContainersOf(const ZRPAR::Params& params, const wchar_t* key)
{
    std::vector<const ZRPAR::Params*> items;
    ZRPAR::Value* value = params.FindValue(key);
    if (!value || value->GetType() != ZRPAR::VT_ARRAY) return items;
    const auto& array = *static_cast<ZRPAR::ArrayValue*>(value);
    for (std::size_t i = 0; i < array.GetSize(); ++i) {
        auto item = array.GetAt(i);
        if (item && item->GetType() == ZRPAR::VT_PARAMS)
            items.push_back(static_cast<ZRPAR::ParamsValue*>(item.Get())->GetValue());
    }
    return items;
}

// A group as the plug-in's grouping document has it: name, indexes, page_index, groups.
PageGroup ReadGroup(const ZRPAR::Params& group, int pageCount, std::set<int>& placed)
{
    PageGroup read;
    read.name = StringOf(group, L"name");
    const auto known = [&](std::int32_t index) { return index >= 0 && index < pageCount && placed.insert(index).second; };
    if (ZRPAR::Value* page = group.FindValue(L"page_index"); page && page->GetType() == ZRPAR::VT_INT)
        if (known(static_cast<ZRPAR::IntValue*>(page)->GetValue())) read.page = static_cast<ZRPAR::IntValue*>(page)->GetValue();
    if (ZRPAR::Value* value = group.FindValue(L"indexes"); value && value->GetType() == ZRPAR::VT_ARRAY) {
        const auto& array = *static_cast<ZRPAR::ArrayValue*>(value);
        for (std::size_t i = 0; i < array.GetSize(); ++i) {
            auto item = array.GetAt(i);
            if (item && item->GetType() == ZRPAR::VT_INT && known(static_cast<ZRPAR::IntValue*>(item.Get())->GetValue()))
                read.pages.push_back(static_cast<ZRPAR::IntValue*>(item.Get())->GetValue());
        }
    }
    for (const ZRPAR::Params* inner : ContainersOf(group, L"groups")) read.groups.push_back(ReadGroup(*inner, pageCount, placed));
    return read;
}

ZRSTD::CAutoPtr<ZRPAR::Params> ReadAll(ConsoleSession& console, const std::wstring& object)
{
    ZRSTD::CAutoPtr<ZRPAR::Params> everything;
    console.Store().ObjectStorage(object)->Read(L"1103", L"", L"", &everything);
    return everything;
}

std::wstring WithoutMarks(const std::wstring& text)
{
    std::wstring plain;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != L'&') plain += text[i];
        else if (i + 1 < text.size() && text[i + 1] == L'&') plain += text[++i];
    }
    return plain;
}

}  // namespace

Sheet::Sheet(ConsoleSession& console, const std::wstring& object, bool wizard)
    : m_console(console), m_object(object), m_wizard(wizard)
{
    m_dataSource = console.DataSource(object);
    m_object = m_dataSource->Object().Full();
    m_policy = m_dataSource->GoverningPolicy();
    m_configurator = console.Configure(*m_dataSource, wizard);
    m_host = std::make_unique<PageHost>();
    const std::int32_t count = m_configurator->GetPageCount();
    for (std::int32_t index = 0; index < count; ++index) {
        Page page;
        const wchar_t* title = m_configurator->GetPageTitle(index);
        page.title = WithoutMarks(title ? title : L"");
        m_pages.push_back(std::move(page));
    }
    if (!wizard) ReadGroups(console);
}

Sheet::~Sheet()
{
    // the page objects go before the sheet window that holds their windows
    m_pages.clear();
    m_host.reset();
}

void Sheet::ReadGroups(ConsoleSession& console)
{
    auto grouping = console.Plugin().Query<ZRPlugin::IPropGrouping2>();
    std::set<int> placed;
    if (grouping) {
        grouping->SetDataSource(m_dataSource.get());
        ZRSTD::CAutoPtr<ZRPAR::Params> document;
        grouping->GetGrouping(&document, m_dataSource->PluginObjectKind());
        if (document) m_groups = ReadGroup(*document, PageCount(), placed);
    }
    // pages the grouping does not place stay at the top level, in their order
    for (int index = 0; index < PageCount(); ++index)
        if (!placed.count(index)) m_groups.pages.push_back(index);
}

std::wstring Sheet::PageTitle(int index) const
{
    return index >= 0 && index < PageCount() ? m_pages[static_cast<std::size_t>(index)].title : std::wstring();
}

void Sheet::Create(int index)
{
    Page& page = m_pages[static_cast<std::size_t>(index)];
    if (page.tried) return;
    page.tried = true;
    try {
        m_configurator->CreatePage(&page.page, m_host->Sheet(), index);
    } catch (const ZRERR::Error& error) {
        page.unavailable = L"This page is not available in this build (" + error.GetMessage() + L").";
        return;
    }
    if (page.page) page.window = m_host->Embed(page.page.Get());
    if (!page.window) page.unavailable = L"The page could not be made.";
}

bool Sheet::Select(int index)
{
    if (index < 0 || index >= PageCount()) return false;
    if (index == m_selected) return true;
    if (m_selected >= 0) {
        Page& leaving = m_pages[static_cast<std::size_t>(m_selected)];
        if (leaving.page && leaving.window && !leaving.page->Deactivate()) return false;
        if (leaving.window) ShowWindow(leaving.window, SW_HIDE);
    }
    m_selected = index;
    Create(index);
    Page& shown = m_pages[static_cast<std::size_t>(index)];
    if (shown.window) {
        ShowWindow(shown.window, SW_SHOW);
        shown.page->Activate();
    }
    return true;
}

HWND Sheet::Window() const
{
    if (m_selected < 0) return nullptr;
    const HWND window = m_pages[static_cast<std::size_t>(m_selected)].window;
    return IsWindow(window) ? window : nullptr;
}

std::wstring Sheet::Unavailable(int index) const
{
    return index >= 0 && index < PageCount() ? m_pages[static_cast<std::size_t>(index)].unavailable : std::wstring();
}

bool Sheet::AnyModified() const
{
    for (const auto& page : m_pages)
        if (page.page && page.window && page.page->IsModified()) return true;
    return false;
}

Sheet::Result Sheet::Apply()
{
    if (!m_host->ValidateAll()) {
        // the sheet shows the page that refused: the one that holds the focus
        for (HWND up = GetFocus(); up; up = GetParent(up))
            for (int index = 0; index < PageCount(); ++index)
                if (m_pages[static_cast<std::size_t>(index)].window == up && index != m_selected) {
                    Select(index);
                    return {Outcome::Refused, L"", {}};
                }
        return {Outcome::Refused, L"", {}};
    }
    const auto before = ReadAll(m_console, m_object);
    const auto applied = m_host->ApplyAll();
    if (applied.outcome != PageHost::Outcome::Applied) return {Outcome::Failed, applied.error, {}};
    try {
        m_dataSource->SaveParams();
    } catch (const ZRERR::Error& error) {
        return {Outcome::Failed, error.GetMessage(), {}};
    }
    Result result;
    const auto after = ReadAll(m_console, m_object);
    for (const auto& change : SettingChanges(before.Get(), after.Get()))
        result.changed.push_back(change.section + L": " + change.setting);
    return result;
}

bool Sheet::Next()
{
    if (m_selected < 0 || m_selected + 1 >= PageCount()) return false;
    Page& shown = m_pages[static_cast<std::size_t>(m_selected)];
    if (shown.page && shown.window && !shown.page->Validate()) return false;
    return Select(m_selected + 1);
}

void Sheet::Back()
{
    if (m_selected > 0) Select(m_selected - 1);
}

}  // namespace host::web
