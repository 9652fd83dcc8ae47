#include "host/console/ConsoleDataSource.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "host/console/ConsoleDialogs.h"
#include "ui/CommonControls.h"
#include "ui/Interaction.h"
#include "ui/UserActions.h"
#include "ui/Wnd.h"
#include "zrpar/Render.h"
#include "zrstd/Strings.h"

namespace fs = std::filesystem;
using host::ConsoleDataSource;

namespace {

class ConsoleStore : public ::testing::Test {
protected:
    void SetUp() override
    {
        ui::InitializePlatform();
        m_directory = fs::path(::testing::TempDir()) /
                      ("datasource-" + std::to_string(::getpid()) + "-" +
                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_directory);
        fs::create_directories(m_directory);
        m_store = host::SettingsStore::Open((m_directory / "console.db").string());
    }
    void TearDown() override
    {
        ui::SetInteractionDriver(nullptr);
        fs::remove_all(m_directory);
    }

    host::ObjectName Add(const std::wstring& object, ZRSTD::CAutoPtr<ZRPAR::Params> attributes = ZRPAR::CreateParams())
    {
        const host::ObjectName name = host::ParseObjectName(object);
        m_store->PutCatalogueEntry(object, name.kind, attributes.Get());
        return name;
    }

    template <class I>
    ZRSTD::CAutoPtr<I> Item(ConsoleDataSource& source, const wchar_t* name)
    {
        return ZRPlugin::GetDataSourceItem<I>(&source, name);
    }

    fs::path m_directory;
    ZRSTD::CAutoPtr<host::SettingsStore> m_store;
};

}  // namespace

TEST_F(ConsoleStore, EachKindOfObjectOffersTheItemsItsConfiguratorNeeds)
{
    Add(L"policy:P");
    const struct {
        const wchar_t* object;
        std::vector<const wchar_t*> present;
        std::vector<const wchar_t*> absent;
    } cases[] = {
        {L"policy:P", {L"POLICY_SETTINGS"}, {L"LOCAL_SETTINGS", L"TASK_PARAMS", L"PARAMS"}},
        {L"host:h", {L"LOCAL_SETTINGS", L"POLICY_SETTINGS", L"NH_ADDITIONAL_INFO", L"ZRHST::Hosts"}, {L"TASK_PARAMS"}},
        {L"task:t", {L"TASK_PARAMS", L"POLICY_SETTINGS", L"NH_ADDITIONAL_INFO"}, {L"LOCAL_SETTINGS"}},
        {L"package:p", {L"LOCAL_SETTINGS", L"POLICY_SETTINGS"}, {L"PARAMS"}},
        {L"bootserver:b", {L"PARAMS"}, {L"POLICY_SETTINGS"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(ZRSTD::ToUtf8(c.object));
        if (!m_store->HasObject(c.object)) Add(c.object);
        ConsoleDataSource source(m_store, host::ParseObjectName(c.object));
        ZRSTD::CAutoPtr<ZRSTD::ZRBaseQI> item;
        for (const wchar_t* name : c.present) EXPECT_EQ(source.GetItem(name, &item), 1) << ZRSTD::ToUtf8(name);
        for (const wchar_t* name : c.absent) EXPECT_EQ(source.GetItem(name, &item), 0) << ZRSTD::ToUtf8(name);
        for (const wchar_t* name : {L"CUSTOM_FUNCTIONALITY", L"NH_ACCESS_CHECK", L"ZRADMSRV::AdmServer",
                                    L"SELECT_IPDIAPASON", L"NH_DLG_SCHEDULE"})
            EXPECT_EQ(source.GetItem(name, &item), 1) << ZRSTD::ToUtf8(name);
    }
    EXPECT_THROW(ConsoleDataSource(m_store, host::ParseObjectName(L"host:missing")), ZRERR::Error);
}

TEST_F(ConsoleStore, AComputerSeesItsPolicyAndReportsItsPlatform)
{
    Add(L"policy:P");
    m_store->ObjectStorage(L"policy:P")->Replace(L"1103", L"1.0.0.0", L"86", ZRPAR::CreateParamsBody({{L"x", 1}}).Get());
    Add(L"dpoint:relay", ZRPAR::CreateParamsBody({{host::kAttributePolicy, L"P"}, {host::kAttributeComputerType, 0x2000}}));
    ConsoleDataSource source(m_store, host::ParseObjectName(L"dpoint:relay"));
    EXPECT_EQ(source.PluginObjectKind(), 4);
    ZRSTD::CAutoPtr<ZRPAR::Params> policy;
    Item<ZRPlugin::SettingsStorage>(source, L"POLICY_SETTINGS")->Read(L"1103", L"1.0.0.0", L"86", &policy);
    ASSERT_TRUE(policy);
    ZRSTD::CAutoPtr<ZRPAR::Params> info;
    Item<ZRPlugin::IParamsItem>(source, L"NH_ADDITIONAL_INFO")->GetParams(&info);
    EXPECT_TRUE(ZRPAR::Equals(*info, *ZRPAR::CreateParamsBody({{L"ComputerAddress", L"relay"}, {L"ComputerType", 0x2000}})));
    ZRSTD::CAutoPtr<ZRPlugin::SettingsStorage> productInfo;
    EXPECT_TRUE(Item<ZRPlugin::IHostsItem>(source, L"ZRHST::Hosts")->GetHostStorage(L"relay", L"SS_PRODINFO", &productInfo));
    EXPECT_FALSE(Item<ZRPlugin::IHostsItem>(source, L"ZRHST::Hosts")->GetHostStorage(L"other", L"SS_PRODINFO", &productInfo));
}

TEST_F(ConsoleStore, TaskParametersEditedInPlaceAreSavedBack)
{
    Add(L"task:t", ZRPAR::CreateParamsBody({{host::kAttributeTaskType, L"DoUpdate"}}));
    {
        ConsoleDataSource source(m_store, host::ParseObjectName(L"task:t"));
        EXPECT_EQ(source.TaskType(), L"DoUpdate");
        ZRSTD::CAutoPtr<ZRPAR::Params> params;
        Item<ZRPlugin::IParamsItem>(source, L"TASK_PARAMS")->GetParams(&params);
        params->AddValue(L"connect_tmo", ZRPAR::CreateValue(30).Get());
        source.SaveParams();
    }
    ConsoleDataSource again(m_store, host::ParseObjectName(L"task:t"));
    ZRSTD::CAutoPtr<ZRPAR::Params> params;
    Item<ZRPlugin::IParamsItem>(again, L"TASK_PARAMS")->GetParams(&params);
    EXPECT_NE(params->FindValue(L"connect_tmo"), nullptr);
}

TEST_F(ConsoleStore, TwoOpenTasksSaveTheirParametersWithoutLosingEachOthers)
{
    Add(L"task:t", ZRPAR::CreateParamsBody({{host::kAttributeTaskType, L"DoUpdate"}}));
    m_store->ObjectStorage(L"task:t")->Replace(L"1103", L"1.0.0.0", host::kTaskParamsSection,
                                               ZRPAR::CreateParamsBody({{L"connect_tmo", 10}, {L"retries", 1}}).Get());
    auto edit = [&](ConsoleDataSource& source, const wchar_t* name, std::int32_t value) {
        ZRSTD::CAutoPtr<ZRPAR::Params> params;
        Item<ZRPlugin::IParamsItem>(source, L"TASK_PARAMS")->GetParams(&params);
        params->ReplaceValue(name, ZRPAR::CreateValue(value).Get());
        source.SaveParams();
    };
    auto stored = [&] {
        ZRSTD::CAutoPtr<ZRPAR::Params> params;
        m_store->ObjectStorage(L"task:t")->Read(L"1103", L"1.0.0.0", host::kTaskParamsSection, &params);
        return ZRPAR::RenderText(*params);
    };
    ConsoleDataSource first(m_store, host::ParseObjectName(L"task:t"));
    ConsoleDataSource second(m_store, host::ParseObjectName(L"task:t"));
    edit(first, L"connect_tmo", 30);
    edit(second, L"retries", 5);
    EXPECT_EQ(stored(), ZRPAR::RenderText(*ZRPAR::CreateParamsBody({{L"connect_tmo", 30}, {L"retries", 5}})));
    // both changed the retries: the later save is refused and changes nothing
    EXPECT_THROW(edit(first, L"retries", 7), ZRERR::Error);
    EXPECT_EQ(stored(), ZRPAR::RenderText(*ZRPAR::CreateParamsBody({{L"connect_tmo", 30}, {L"retries", 5}})));
}

TEST_F(ConsoleStore, TheServerFollowsTheStoresConfiguration)
{
    Add(L"policy:P");
    m_store->SetConfig(L"server_version", L"0x53010");
    ConsoleDataSource old(m_store, host::ParseObjectName(L"policy:P"));
    auto server = Item<ZRPlugin::IAdmServer>(old, L"ZRADMSRV::AdmServer2");
    EXPECT_EQ(server->GetServerVersionId(), 0x53010);
    ZRSTD::CAutoPtr<ZRPAR::Params> catalogue;
    EXPECT_FALSE(server->GetUpdateComponents(&catalogue));

    m_store->SetConfig(L"server_version", L"0xA5000");
    m_store->SetConfig(L"nac_allowed", L"0");
    ConsoleDataSource current(m_store, host::ParseObjectName(L"policy:P"));
    server = Item<ZRPlugin::IAdmServer>(current, L"ZRADMSRV::AdmServer");
    ASSERT_TRUE(server->GetUpdateComponents(&catalogue));
    EXPECT_EQ(catalogue->FindValue(L"ZRUpdates")->GetType(), ZRPAR::VT_ARRAY);
    EXPECT_FALSE(Item<ZRPlugin::IAccessChecker>(current, L"NH_ACCESS_CHECK")->IsAreaAllowed(1, L"FUNC_AREA_NAC"));
    EXPECT_TRUE(Item<ZRPlugin::IAccessChecker>(current, L"NH_ACCESS_CHECK")->IsAreaAllowed(1, L"FUNC_AREA_OTHER"));
    EXPECT_NO_THROW(server->CheckPasswordPolicy(L"Strong#Pass1"));
    try {
        server->CheckPasswordPolicy(L"weak");
        FAIL() << "a weak password passed";
    } catch (const ZRERR::Error& error) {
        EXPECT_TRUE(error.IsLocalized());
        EXPECT_EQ(error.GetModule(), "ZRADMSRV");
    }

    // the node's property 9 lets installation packages detect their proxy
    std::int32_t property = -1;
    EXPECT_TRUE(Item<ZRPlugin::INodeProperties>(current, L"NH_NODE_PROPERTIES")->GetNodeProperty(9, property));
    EXPECT_EQ(property, 1);
    EXPECT_FALSE(Item<ZRPlugin::INodeProperties>(current, L"NH_NODE_PROPERTIES")->GetNodeProperty(12, property));
    m_store->SetConfig(L"proxy_detection", L"0");
    ConsoleDataSource noDetection(m_store, host::ParseObjectName(L"policy:P"));
    EXPECT_TRUE(Item<ZRPlugin::INodeProperties>(noDetection, L"NH_NODE_PROPERTIES")->GetNodeProperty(9, property));
    EXPECT_EQ(property, 0);

    m_store->SetConfig(L"functionality", L"many");
    EXPECT_THROW(ConsoleDataSource(m_store, host::ParseObjectName(L"policy:P")), ZRERR::Error);
}

TEST_F(ConsoleStore, TheKeyOfDataProtectionIsMadeWhenFirstAskedForAndKeptPrivate)
{
    Add(L"policy:P");
    ConsoleDataSource source(m_store, host::ParseObjectName(L"policy:P"));
    const fs::path key = m_store->Path() + ".key";
    EXPECT_FALSE(fs::exists(key));
    auto protection = Item<ZRPlugin::IDataProtection>(source, L"DATA_PROTECTION");
    ASSERT_TRUE(protection);
    ASSERT_TRUE(fs::exists(key));
    struct stat info{};
    ::stat(key.c_str(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    ZRSTD::CAutoPtr<ZRSTD::MemoryChunk> sealed;
    protection->ProtectData("secret", 6, &sealed);
    ASSERT_TRUE(sealed);
    EXPECT_GT(sealed->GetDataSize(), 6u);
}

TEST_F(ConsoleStore, TheSubnetPickerIsADialogTheAdministratorAnswers)
{
    Add(L"policy:P");
    ConsoleDataSource source(m_store, host::ParseObjectName(L"policy:P"));
    auto picker = Item<ZRPlugin::IIpRangePicker>(source, L"SELECT_IPDIAPASON");
    ui::ScriptedUser user;
    user.InDialog([](HWND dialog) {
        const int address[] = {10, 1, 0, 0}, mask[] = {255, 255, 0, 0};
        for (int field = 0; field < 4; ++field) {
            ui::SetIpField(GetDlgItem(dialog, host::kPickerAddress), field, address[field]);
            ui::SetIpField(GetDlgItem(dialog, host::kPickerMask), field, mask[field]);
        }
        ui::Click(GetDlgItem(dialog, IDOK));
    });
    user.InDialog([](HWND dialog) { ui::Click(GetDlgItem(dialog, IDCANCEL)); });
    ui::SetInteractionDriver(&user);
    ZRSTD::CAutoPtr<ZRPAR::Params> range;
    ASSERT_TRUE(picker->SelectIpRange(nullptr, &range));
    EXPECT_TRUE(ZRPAR::Equals(*range, *ZRPAR::CreateParamsBody({{L"nIpAddress", 0x0A010000}, {L"nMask",
                                                                  static_cast<std::int32_t>(0xFFFF0000u)}})));
    EXPECT_FALSE(picker->SelectIpRange(nullptr, &range));
    EXPECT_FALSE(range);

    ZRSTD::CAutoPtr<ZRPAR::Params> subnet;
    EXPECT_FALSE(picker->FindSubnet(0x0A010000, 0xFFFF0000u, &subnet));
    m_store->SetConfig(host::SubnetKey(0x0A010000, 0xFFFF0000u), L"Office\tsecond floor");
    ASSERT_TRUE(picker->FindSubnet(0x0A010000, 0xFFFF0000u, &subnet));
    EXPECT_TRUE(ZRPAR::Equals(*subnet, *ZRPAR::CreateParamsBody({{L"wstrSubnetName", L"Office"},
                                                                  {L"wstrComment", L"second floor"}})));
}

TEST_F(ConsoleStore, TheScheduleEditorGivesAnEditedCopyOnOk)
{
    Add(L"policy:P");
    ConsoleDataSource source(m_store, host::ParseObjectName(L"policy:P"));
    auto editor = Item<ZRPlugin::IScheduleEditor>(source, L"NH_DLG_SCHEDULE");
    auto schedule = ZRPAR::CreateParamsBody({{L"period", 25200}});
    ui::ScriptedUser user;
    user.InDialog([](HWND dialog) {
        EXPECT_NE(GetDlgItemTextW(dialog, host::kScheduleText).find(L"period (int): 25200"), std::wstring::npos);
        ui::Click(GetDlgItem(dialog, IDOK));
    });
    ui::SetInteractionDriver(&user);
    ZRSTD::CAutoPtr<ZRPAR::Params> edited;
    ASSERT_TRUE(editor->EditSchedule(nullptr, schedule.Get(), 0xa0402, &edited));
    EXPECT_NE(edited.Get(), schedule.Get());
    EXPECT_TRUE(ZRPAR::Equals(*edited, *schedule));
}
