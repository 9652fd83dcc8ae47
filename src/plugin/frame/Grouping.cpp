#include "plugin/frame/Grouping.h"

#include <optional>
#include <vector>

#include "controls/PluginEnvironment.h"
#include "nhpp/PageData.h"
#include "nhpp/ParamsProviderTask.h"
#include "ui/Resources.h"

namespace {

// One group of the grouping document; flags are written only when set here.
struct Group {
    Group(UINT name, std::vector<std::int32_t> pages) : nameId(name), indexes(std::move(pages)) {}
    UINT nameId = 0;  // 0: the unnamed first group
    std::vector<std::int32_t> indexes;
    std::optional<std::int32_t> pageIndex;
    std::optional<bool> expanded;
    std::optional<bool> boldPages;
    std::optional<bool> bold;
    std::vector<Group> groups;
};

ZRSTD::CAutoPtr<ZRPAR::Value> IndexArray(const std::vector<std::int32_t>& indexes)
{
    auto array = ZRPAR::CreateArrayValue();
    for (std::int32_t index : indexes) array->Append(ZRPAR::CreateValue(index).Get());
    return ZRSTD::CAutoPtr<ZRPAR::Value>(array.Get());
}

ZRSTD::CAutoPtr<ZRPAR::Value> GroupArray(const std::vector<Group>& groups);

ZRSTD::CAutoPtr<ZRPAR::Params> GroupContainer(const Group& group)
{
    auto container = ZRPAR::CreateParams();
    container->AddValue(L"name", ZRPAR::CreateValue(group.nameId ? ui::LoadStringW(group.nameId) : std::wstring()).Get());
    container->AddValue(L"indexes", IndexArray(group.indexes).Get());
    if (group.pageIndex) container->AddValue(L"page_index", ZRPAR::CreateValue(*group.pageIndex).Get());
    if (group.expanded) container->AddValue(L"expanded", ZRPAR::CreateValue(*group.expanded).Get());
    if (group.boldPages) container->AddValue(L"bold_pages", ZRPAR::CreateValue(*group.boldPages).Get());
    if (group.bold) container->AddValue(L"bold", ZRPAR::CreateValue(*group.bold).Get());
    if (!group.groups.empty()) container->AddValue(L"groups", GroupArray(group.groups).Get());
    return container;
}

ZRSTD::CAutoPtr<ZRPAR::Value> GroupArray(const std::vector<Group>& groups)
{
    auto array = ZRPAR::CreateArrayValue();
    for (const Group& group : groups) array->Append(ZRPAR::CreateValue(GroupContainer(group).Get()).Get());
    return ZRSTD::CAutoPtr<ZRPAR::Value>(array.Get());
}

Group NacGroup()
{
    Group nac{2327, {7, 8, 11}};
    nac.expanded = false;
    Group rules{2329, {9, 10}};
    rules.boldPages = false;
    Group banner{53, {12, 13}};
    banner.expanded = false;
    banner.boldPages = false;
    nac.groups = {rules, banner};
    return nac;
}

Group NetworkGroup()
{
    Group network{19, {2, 3, 4}};
    network.pageIndex = 6;
    network.expanded = false;
    return network;
}

std::vector<Group> PolicyGrouping(bool nac)
{
    const std::int32_t n = nac ? 7 : 0;
    Group updateAgents{2546, {7 + n, 10 + n, 12 + n, 13 + n}};
    updateAgents.expanded = false;
    std::vector<Group> groups = {Group{0, {0, 1, 5, 8 + n, 9 + n, 11 + n}}, NetworkGroup(), updateAgents};
    if (nac) groups.push_back(NacGroup());
    return groups;
}

std::vector<Group> LocalSettingsGrouping(bool nac)
{
    const std::int32_t n = nac ? 7 : 0;
    std::vector<Group> groups = {Group{0, {0, 1, 5, 8 + n, 9 + n}}, NetworkGroup()};
    if (nac) groups.push_back(NacGroup());
    return groups;
}

std::vector<Group> DistributionPointGrouping(ZRPlugin::IDataSource* dataSource)
{
    NHPP::CNHPPageData pageData(dataSource, NHPP::kObjectDistributionPoint);
    try {
        pageData.RegisterSection(L"86", NHPP::kSectionProduct, true);
    } catch (const ZRERR::Error& error) {
        ZRERR::SayFailure2(error, "CGrouping::GetGrouping", 3);
    }
    const int platform = pageData.GetPlatformType();
    const bool serverHosted = NHPP::IsServerHostedAgent(dataSource);
    Group pages{0, {}};
    if (platform == 0) pages.indexes.push_back(3);
    if (!serverHosted && platform <= 1) pages.indexes.push_back(platform == 0 ? 4 : 1);
    Group scanning{2276, {}};
    scanning.expanded = false;
    scanning.boldPages = false;
    scanning.bold = true;
    if (platform == 0) scanning.indexes = {0, 1, 2};
    if (platform == 1) scanning.indexes = {0};
    return {pages, scanning};
}

}  // namespace

void CGrouping::GetGrouping(ZRPAR::Params** ppGrouping, std::int32_t objectKind)
{
    PluginStateScope scope;
    ZRSTD_CHECK_ARG(ppGrouping);
    *ppGrouping = nullptr;
    std::vector<Group> groups;
    switch (objectKind) {
    case NHPP::kObjectPolicy: groups = PolicyGrouping(NHPP::IsNacAvailable(m_dataSource)); break;
    case NHPP::kObjectLocalSettings: groups = LocalSettingsGrouping(NHPP::IsNacAvailable(m_dataSource)); break;
    case NHPP::kObjectDistributionPoint: groups = DistributionPointGrouping(m_dataSource); break;
    default: return;
    }
    auto document = ZRPAR::CreateParams();
    document->AddValue(L"groups", GroupArray(groups).Get());
    *ppGrouping = document.Detach();
}

ZRPlugin::IDataSource* CGrouping::SetDataSource(ZRPlugin::IDataSource* dataSource)
{
    m_dataSource = dataSource;
    return m_dataSource;
}

namespace {

struct Link {
    UINT nameId;
    std::int32_t page;
};

void PushLink(NHPP::CParams& nested, const wchar_t* arrayName, const Link& link)
{
    ZRSTD::CAutoPtr<NHPP::CParams> item;
    NHPP::CreateParams(&item);
    item->SetString(L"NAME", ui::LoadStringW(link.nameId), false);
    item->SetInt(L"PAGE", link.page, false);
    nested.PushbackArrayItem(arrayName, item.Get(), nullptr);
}

void PushGroup(NHPP::CParams& nested, UINT nameId, std::initializer_list<Link> links)
{
    ZRSTD::CAutoPtr<NHPP::CParams> group;
    NHPP::CreateParams(&group);
    group->SetInt(L"ISGROUP", std::int32_t{1}, false);
    group->SetString(L"NAME", ui::LoadStringW(nameId), false);
    auto empty = ZRPAR::CreateArrayValue();
    group->SetArray(L"NESTED", empty.Get(), false);
    for (const Link& link : links) PushLink(*group, L"NESTED", link);
    nested.PushbackArrayItem(L"NESTED", group.Get(), nullptr);
}

}  // namespace

void CLinkGrouping::GetLinks(ZRPAR::Params** ppLinks, ZRPlugin::IDataSource* dataSource)
{
    PluginStateScope scope;
    ZRSTD_CHECK_ARG(ppLinks);
    *ppLinks = nullptr;
    ZRSTD::CAutoPtr<NHPP::CParams> tree;
    NHPP::CreateParams(&tree);
    auto empty = ZRPAR::CreateArrayValue();
    tree->SetArray(L"NESTED", empty.Get(), false);
    for (const Link& link : {Link{1000, 0}, Link{2187, 1}, Link{2492, 2}, Link{1922, 3}, Link{2584, 4}})
        PushLink(*tree, L"NESTED", link);
    PushGroup(*tree, 19, {{70, 6}, {2079, 7}, {2318, 8}});
    PushGroup(*tree, 2546, {{2545, 9}});
    if (NHPP::IsNacAvailable(dataSource))
        PushGroup(*tree, 2327, {{2326, 18}, {2328, 19}, {2330, 13}, {2331, 14}, {2385, 20}, {51, 16}, {52, 17}});
    ZRSTD::CAutoPtr<ZRPAR::Params> root;
    tree->GetRoot(&root);
    *ppLinks = root.Detach();
}
