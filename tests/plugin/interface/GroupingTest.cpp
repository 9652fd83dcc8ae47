// The page tree and the taskpad links the console asks for.
#include <gtest/gtest.h>

#include "plugin/interface/LoadedPlugin.h"
#include "zrplugin/Grouping.h"

using testsupport::FakeDataSource;
using testsupport::Plugin;

namespace {

std::vector<const ZRPAR::Params*> Containers(const ZRPAR::Params& params, const wchar_t* key)
{
    std::vector<const ZRPAR::Params*> items;
    ZRPAR::Value* value = params.FindValue(key);
    if (!value || value->GetType() != ZRPAR::VT_ARRAY) return items;
    const auto& array = *static_cast<ZRPAR::ArrayValue*>(value);
    for (std::size_t i = 0; i < array.GetSize(); ++i)
        items.push_back(static_cast<ZRPAR::ParamsValue*>(array.GetAt(i).Get())->GetValue());
    return items;
}

std::vector<std::int32_t> Indexes(const ZRPAR::Params& group)
{
    std::vector<std::int32_t> indexes;
    const auto& array = *static_cast<ZRPAR::ArrayValue*>(group.FindValue(L"indexes"));
    for (std::size_t i = 0; i < array.GetSize(); ++i)
        indexes.push_back(static_cast<ZRPAR::IntValue*>(array.GetAt(i).Get())->GetValue());
    return indexes;
}

std::wstring Name(const ZRPAR::Params& group) { return ZRPAR::GetStringValue(&group, L"name"); }

ZRSTD::CAutoPtr<ZRPAR::Params> Grouping(ZRPlugin::IDataSource* source, std::int32_t kind)
{
    auto grouping = Plugin().Query<ZRPlugin::IPropGrouping2>();
    EXPECT_EQ(grouping->SetDataSource(source), source);
    ZRSTD::CAutoPtr<ZRPAR::Params> document;
    grouping->GetGrouping(&document, kind);
    return document;
}

}  // namespace

TEST(Grouping, PolicyGroupsShiftByTheNetworkAccessControlBlock)
{
    FakeDataSource source;
    source.WithPolicyStorage();
    auto without = Grouping(&source, 0);
    ASSERT_TRUE(without);
    auto groups = Containers(*without, L"groups");
    ASSERT_EQ(groups.size(), 3u);
    EXPECT_EQ(Name(*groups[0]), L"");
    EXPECT_EQ(Indexes(*groups[0]), (std::vector<std::int32_t>{0, 1, 5, 8, 9, 11}));
    EXPECT_EQ(Name(*groups[1]), L"Сеть");
    EXPECT_EQ(ZRPAR::GetIntValue(groups[1], L"page_index"), 6);
    EXPECT_FALSE(ZRPAR::GetBoolValue(groups[1], L"expanded"));
    EXPECT_EQ(Indexes(*groups[2]), (std::vector<std::int32_t>{7, 10, 12, 13}));
    EXPECT_EQ(groups[0]->FindValue(L"expanded"), nullptr);  // the first group carries no flags

    source.WithFunctionality(0x44);
    auto with = Grouping(&source, 0);
    groups = Containers(*with, L"groups");
    ASSERT_EQ(groups.size(), 4u);
    EXPECT_EQ(Indexes(*groups[0]), (std::vector<std::int32_t>{0, 1, 5, 15, 16, 18}));
    EXPECT_EQ(Indexes(*groups[2]), (std::vector<std::int32_t>{14, 17, 19, 20}));
    EXPECT_EQ(Name(*groups[3]), L"Управление доступом в сеть (NAC)");
    EXPECT_EQ(Indexes(*groups[3]), (std::vector<std::int32_t>{7, 8, 11}));
    const auto nested = Containers(*groups[3], L"groups");
    ASSERT_EQ(nested.size(), 2u);
    EXPECT_EQ(Indexes(*nested[0]), (std::vector<std::int32_t>{9, 10}));
    EXPECT_EQ(nested[0]->FindValue(L"expanded"), nullptr);
    EXPECT_FALSE(ZRPAR::GetBoolValue(nested[0], L"bold_pages"));
    EXPECT_EQ(Indexes(*nested[1]), (std::vector<std::int32_t>{12, 13}));
}

TEST(Grouping, LocalSettingsNeverListTheRebootPage)
{
    for (std::int32_t mask : {0, 0x44}) {
        FakeDataSource source;
        source.WithComputer();
        source.WithFunctionality(mask);
        const std::int32_t reboot = mask ? 14 : 7;
        auto document = Grouping(&source, 1);
        const auto groups = Containers(*document, L"groups");
        ASSERT_EQ(groups.size(), mask ? 3u : 2u);
        EXPECT_EQ(Indexes(*groups[0]), mask ? (std::vector<std::int32_t>{0, 1, 5, 15, 16}) : (std::vector<std::int32_t>{0, 1, 5, 8, 9}));
        std::function<void(const ZRPAR::Params&)> check = [&](const ZRPAR::Params& parent) {
            for (const auto* group : Containers(parent, L"groups")) {
                const auto indexes = Indexes(*group);
                EXPECT_EQ(std::count(indexes.begin(), indexes.end(), reboot), 0);
                check(*group);
            }
        };
        check(*document);
    }
}

TEST(Grouping, DistributionPointGroupsFollowThePlatformClass)
{
    struct Case {
        std::int32_t computerType;
        bool serverHosted;
        std::vector<std::int32_t> first;
        std::vector<std::int32_t> scanning;
    } cases[] = {
        {0, false, {3, 4}, {0, 1, 2}},
        {0, true, {3}, {0, 1, 2}},
        {0x2000, false, {1}, {0}},
        {0x80, true, {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.computerType);
        FakeDataSource source;
        ZRPlugin::SettingsStorage& local = source.WithComputer(c.computerType);
        if (c.serverHosted)
            local.Replace(L"1103", L"1.0.0.0", L"86", ZRPAR::CreateParamsBody({{L"ZRNAG_SERVER_INSTALLED", true}}).Get());
        auto document = Grouping(&source, 4);
        ASSERT_TRUE(document);
        const auto groups = Containers(*document, L"groups");
        ASSERT_EQ(groups.size(), 2u);
        EXPECT_EQ(Indexes(*groups[0]), c.first);
        EXPECT_EQ(Indexes(*groups[1]), c.scanning);
        EXPECT_EQ(Name(*groups[1]), L"Сканирование сети");
        EXPECT_TRUE(ZRPAR::GetBoolValue(groups[1], L"bold"));
    }
}

TEST(Grouping, OtherKindsAndNoDataSourceAreHandled)
{
    EXPECT_FALSE(Grouping(nullptr, 2));
    EXPECT_FALSE(Grouping(nullptr, 3));
    // without a data source the block counts as absent and the platform as 0
    EXPECT_EQ(Containers(*Grouping(nullptr, 0), L"groups").size(), 3u);
    EXPECT_EQ(Indexes(*Containers(*Grouping(nullptr, 4), L"groups")[0]), (std::vector<std::int32_t>{3, 4}));
}

TEST(Taskpad, LinksNameTheTaskpadsOwnPagesAndGrowByTheNetworkAccessControlGroup)
{
    auto links = Plugin().Query<ZRPlugin::INHTaskpadLinkGrouping>();
    FakeDataSource source;
    ZRSTD::CAutoPtr<ZRPAR::Params> document;
    links->GetLinks(&document, &source);
    auto items = Containers(*document, L"NESTED");
    ASSERT_EQ(items.size(), 7u);
    EXPECT_EQ(ZRPAR::GetStringValue(items[2], L"NAME"), L"Служба Windows Update");
    EXPECT_EQ(ZRPAR::GetIntValue(items[2], L"PAGE"), 2);
    EXPECT_EQ(ZRPAR::GetIntValue(items[5], L"ISGROUP"), 1);
    const auto network = Containers(*items[5], L"NESTED");
    ASSERT_EQ(network.size(), 3u);
    EXPECT_EQ(ZRPAR::GetIntValue(network[2], L"PAGE"), 8);

    source.WithFunctionality(0x44);
    links->GetLinks(&document, &source);
    items = Containers(*document, L"NESTED");
    ASSERT_EQ(items.size(), 8u);
    const auto nac = Containers(*items[7], L"NESTED");
    ASSERT_EQ(nac.size(), 7u);
    std::vector<std::int32_t> pages;
    for (const auto* link : nac) pages.push_back(ZRPAR::GetIntValue(link, L"PAGE"));
    EXPECT_EQ(pages, (std::vector<std::int32_t>{18, 19, 13, 14, 20, 16, 17}));
}
