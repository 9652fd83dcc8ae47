#include "plugin/pages/tasks/PageTaskUpdater.h"

#include <gtest/gtest.h>

#include "support/NlaData.h"
#include "support/PageFixture.h"
#include "support/PolicyBuilder.h"
#include "support/TestProtection.h"
#include "ui/CommonControls.h"
#include "ui/Services.h"
#include "zrpar/Render.h"
#include "zrpar/UpdateSource.h"
#include "zrstd/PasswordEncoding.h"

using testsupport::Section;
using testsupport::Setting;

namespace {

using testsupport::TestProtection;

using Page = CPageTaskUpdater;
using Lan = CDlgLanSettings;
using Other = CDlgUpdPropAdvanced;
using Sources = CDlgUpdSources;
using SourceProps = CDlgUpdSrcProps;
using Contents = CDlgUpdComponents;

// A server with a two-record catalogue.
class CatalogueServer : public ZRSTD::ZRBaseQIImpl<ZRPlugin::IAdmServer> {
public:
    explicit CatalogueServer(std::int32_t version) : m_version(version) {}
    std::int32_t GetServerVersionId() override { return m_version; }
    void CheckPasswordPolicy(const wchar_t*) override {}
    bool GetUpdateComponents(ZRPAR::Params** ppCatalogue) override
    {
        auto records = ZRPAR::CreateArrayValue();
        for (auto [app, component, name] : {std::tuple{L"1103", L"NAGENT_PATCHES", L"Патчи агента"},
                                            std::tuple{L"1093", L"ADMSRV_PATCHES", L"Патчи сервера"}})
            records->Append(ZRPAR::CreateValue(ZRPAR::CreateParamsBody({{L"AppId", app},
                                                                         {L"CompId", component},
                                                                         {L"Name", name},
                                                                         {L"Descr", L"описание"},
                                                                         {L"AppSuperId", L""}})
                                                   .Get())
                                .Get());
        auto catalogue = ZRPAR::CreateParams();
        catalogue->AddValue(L"ZRUpdates", records.Get());
        *ppCatalogue = catalogue.Detach();
        return true;
    }

private:
    std::int32_t m_version;
};

std::wstring Source(std::int32_t kind, bool proxy, const wchar_t* url)
{
    return ZRSTD::FromUtf8(ZRPAR::RenderText(*ZRUPDSRV_CreateUpdSource(kind, proxy, url), ZRPAR::RenderOptions{false}));
}

class UpdateTaskPage : public testsupport::PageTest {
protected:
    void SetUp() override
    {
        PageTest::SetUp();
        task = &source.WithTask();
        UseServer(0x90000);
        source.Set(L"DATA_PROTECTION", ZRSTD::MakeRef<TestProtection>());
    }
    void UseServer(std::int32_t version)
    {
        source.WithServerVersion(version);
        source.Set(L"ZRADMSRV::AdmServer2", ZRSTD::MakeRef<CatalogueServer>(version));
    }
    void Store(std::initializer_list<ZRPAR::ParamsBodyEntry> values)
    {
        auto body = ZRPAR::CreateParamsBody(values);
        for (std::size_t i = 0; i < body->GetSize(); ++i) task->ReplaceValue(body->NameAt(i), body->ValueAt(i));
    }
    void StoreDefaults()
    {
        auto defaults = ZRUPDSRV_CreateDefaultParams();
        for (std::size_t i = 0; i < defaults->GetSize(); ++i) task->ReplaceValue(defaults->NameAt(i), defaults->ValueAt(i));
    }
    void OpenTask(UINT templateId = Page::kSheetTemplate)
    {
        auto data = std::make_shared<NHPP::CNHPPageData>(&source, NHPP::kObjectTask, L"DoUpdate");
        data->RegisterSection(L"ZRPRSS_TASKS_POLICY", NHPP::kSectionTask, true);
        Open(new CPageTaskUpdaterNagent(data, templateId));
    }
    std::string Task() const { return ZRPAR::RenderText(*task, ZRPAR::RenderOptions{false}); }
    ZRPAR::Value* Value(const wchar_t* key) const { return task->FindValue(key); }
    std::vector<std::wstring> Rows(HWND dialog, int list)
    {
        std::vector<std::wstring> rows;
        const HWND control = GetDlgItem(dialog, list);
        for (int row = 0; row < SendMessageW(control, LVM_GETITEMCOUNT, 0, 0); ++row)
            rows.push_back(ui::GetListRowText(control, row));
        return rows;
    }
    static bool Shown(HWND dialog, int id) { return IsWindowVisible(GetDlgItem(dialog, id)); }
    static bool On(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)); }
    static bool Ticked(HWND dialog, int id) { return SendMessageW(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    // Opens a link's dialog, does what act does in it and returns what the dialog showed.
    void InLink(int link, std::function<void(HWND)> act)
    {
        user.InDialog(std::move(act));
        ui::Click(Control(link));
    }
    host::PageHost::Outcome Ok() { return Sheet().PressOk().outcome; }

    ZRPAR::Params* task = nullptr;
};

// ---- legacy sources ----------------------------------------------------------------

TEST_F(UpdateTaskPage, ATaskOfTheOldFormOpensWithTheSourcesItsKeysDescribeAndIsSavedInTheNewForm)
{
    struct Case {
        bool internet, master, tryInternet;
        std::vector<std::wstring> rows;
    };
    const std::wstring service = L"Сервис обновлений Лаборатории Brenvik",
                       server = L"Сервер администрирования (Не использовать прокси-сервер)";
    const Case cases[] = {
        {false, true, true, {server}},  // the master server alone, whatever else is set
        {true, false, true, {service}},
        {false, false, true, {L"\\\\files\\upd", service}},
        {false, false, false, {L"\\\\files\\upd"}},
    };
    for (const Case& c : cases) {
        Reopen();
        task->Clear();
        Store({{L"update_srv_url", L"\\\\files\\upd"}, {L"inet_update", c.internet}, {L"master_asrv_update", c.master},
               {L"try_inet", c.tryInternet}, {L"connect_tmo", 45}});
        OpenTask();
        std::vector<std::wstring> shown;
        InLink(Page::kSourcesLink, [&](HWND dialog) {
            shown = Rows(dialog, Sources::kList);
            ui::Click(ui::FindControl(dialog, IDOK));
        });
        EXPECT_EQ(shown, c.rows);
        ASSERT_EQ(Ok(), host::PageHost::Outcome::Applied);
        ASSERT_TRUE(Value(L"UpdateSourceList"));
        EXPECT_EQ(static_cast<ZRPAR::ArrayValue*>(Value(L"UpdateSourceList"))->GetSize(), c.rows.size());
        // nothing the old form held is lost, and what it did not say takes the defaults
        EXPECT_EQ(ZRPAR::GetStringValue(task, L"update_srv_url"), L"\\\\files\\upd");
        EXPECT_EQ(ZRPAR::GetBoolValue(task, L"try_inet"), c.tryInternet);
        EXPECT_EQ(ZRPAR::GetIntValue(task, L"connect_tmo"), 45);
        EXPECT_EQ(ZRPAR::GetIntValue(task, L"proxy_port"), 3128);
        for (const wchar_t* key : {L"retranslate_bases", L"retranslate_urgent_updates", L"retranslate_available_updates"})
            EXPECT_TRUE(ZRPAR::GetBoolValue(task, key)) << ZRSTD::ToUtf8(key);
    }
}

TEST_F(UpdateTaskPage, ANewTaskTakesItsUpdatesFromTheAdministrationServer)
{
    StoreDefaults();
    OpenTask();
    InLink(Page::kSourcesLink, [&](HWND dialog) {
        EXPECT_EQ(Rows(dialog, Sources::kList), std::vector<std::wstring>{L"Сервер администрирования"});
        ui::Click(ui::FindControl(dialog, IDCANCEL));
    });
}

TEST_F(UpdateTaskPage, AnUntouchedOkWritesNothingEvenForAnOldOrDamagedTask)
{
    Store({{L"master_asrv_update", true}, {L"proxy_port", L"not a number"}, {L"UpdateSourceList", 7}});
    const std::string before = Task();
    OpenTask();
    ASSERT_EQ(Ok(), host::PageHost::Outcome::Applied);
    EXPECT_EQ(Task(), before);
}

// ---- layouts -------------------------------------------------------------------------

TEST_F(UpdateTaskPage, GroupsShownFollowTheLayoutAndTheServer)
{
    struct Case {
        UINT layout;
        std::int32_t server;
        bool connection, contents;
    };
    const Case cases[] = {
        {Page::kSheetTemplate, 0x90000, true, true},
        {Page::kSheetTemplate, 0xA2000, false, true},
        {Page::kWizardTemplate, 0x90000, true, false},
        {Page::kWizardTemplate, 0xD0003, false, false},
    };
    for (const Case& c : cases) {
        Reopen();
        UseServer(c.server);
        OpenTask(c.layout);
        SCOPED_TRACE(std::to_string(c.layout) + " on " + std::to_string(c.server));
        for (int id : {Page::kConnectionGroup, Page::kConnectionText, Page::kConnectionLink})
            EXPECT_EQ(Visible(id), c.connection);
        for (int id : {Page::kContentsGroup, Page::kContentsText, Page::kContentsLink}) {
            EXPECT_EQ(Visible(id), c.contents);
            EXPECT_EQ(Enabled(id), c.contents);
        }
        EXPECT_EQ(Text(Page::kContentsText),
                  L"Автоматически синхронизуется с задачей \"Загрузка обновлений в хранилище\" сервера администрирования.");
        EXPECT_EQ(Text(Page::kSourcesLink), L"Настроить...");
    }
}

// ---- connection ----------------------------------------------------------------------

TEST_F(UpdateTaskPage, TheLanDialogShowsTheStoredConnectionAndKeepsWhatItDoesNotShow)
{
    StoreDefaults();
    Store({{L"proxy", true}, {L"proxy_url", L"proxy.corp"}, {L"proxy_port", 8080}, {L"proxy_authorisation", true},
           {L"proxy_login", L"CORP\\upd"}, {L"proxy_pwd", L"stored-encoded"}, {L"passive_ftp", true},
           {L"bypassProxyServerForLocalAddresses", true}, {L"connect_tmo", 90}});
    OpenTask();
    InLink(Page::kConnectionLink, [&](HWND dialog) {
        EXPECT_EQ(GetWindowTextW(dialog), L"Параметры LAN");
        EXPECT_TRUE(Ticked(dialog, Lan::kUseProxy));
        EXPECT_FALSE(Ticked(dialog, Lan::kDetect));
        EXPECT_TRUE(Ticked(dialog, Lan::kPassiveFtp));
        EXPECT_EQ(GetDlgItemTextW(dialog, Lan::kAddress), L"proxy.corp");
        EXPECT_EQ(GetDlgItemTextW(dialog, Lan::kPort), L"8080");
        EXPECT_EQ(GetDlgItemTextW(dialog, Lan::kUser), L"CORP\\upd");
        EXPECT_EQ(GetDlgItemTextW(dialog, Lan::kPassword), L"***********");
        EXPECT_EQ(GetDlgItemTextW(dialog, Lan::kTimeout), L"90");
        EXPECT_FALSE(Shown(dialog, Lan::kShowPassword));
        ui::Click(ui::FindControl(dialog, IDOK));
    });
    ASSERT_EQ(Ok(), host::PageHost::Outcome::Applied);
    EXPECT_EQ(ZRPAR::GetIntValue(task, L"proxy_port"), 8080);
    EXPECT_EQ(ZRPAR::GetIntValue(task, L"connect_tmo"), 90);
    EXPECT_EQ(ZRPAR::GetStringValue(task, L"proxy_pwd"), L"stored-encoded");
    // the local-address bypass is not in the dialog: its OK does not clear it
    EXPECT_TRUE(ZRPAR::GetBoolValue(task, L"bypassProxyServerForLocalAddresses"));
}

TEST_F(UpdateTaskPage, TheLanDialogRefusesAnIncompleteProxyInOrder)
{
    struct Case {
        bool detect;
        const wchar_t* address;
        const wchar_t* port;
        std::wstring message;  // empty: accepted
    };
    const Case cases[] = {
        {false, L"", L"3128", L"Invalid proxy server address specified."},
        {false, L"proxy.corp", L"", L"Не задан номер порта прокси-сервера."},
        {true, L"", L"", L""},  // detected automatically: address and port are not asked for
        {false, L"proxy.corp", L"3128", L""},
    };
    for (const Case& c : cases) {
        Reopen();
        StoreDefaults();
        OpenTask();
        bool closed = false;
        InLink(Page::kConnectionLink, [&](HWND dialog) {
            ui::SetChecked(ui::FindControl(dialog, Lan::kUseProxy), true);
            ui::SetChecked(ui::FindControl(dialog, Lan::kDetect), c.detect);
            if (!c.detect) {
                ui::ReplaceText(ui::FindControl(dialog, Lan::kAddress), c.address);
                if (*c.port) ui::ReplaceText(ui::FindControl(dialog, Lan::kPort), c.port);
                else ui::ClearText(ui::FindControl(dialog, Lan::kPort));
            }
            ui::Click(ui::FindControl(dialog, IDOK));
            closed = ui::ModalDialogEnded(dialog);
            if (!closed) ui::Click(ui::FindControl(dialog, IDCANCEL));
        });
        EXPECT_EQ(closed, c.message.empty());
        EXPECT_EQ(Boxes(), c.message.empty() ? std::vector<std::wstring>{} : std::vector<std::wstring>{c.message});
    }
}

TEST_F(UpdateTaskPage, AProxyPasswordIsKeptOnlyEncodedAndAPortStoredOutOfRangeIsNamed)
{
    StoreDefaults();
    Store({{L"proxy", true}, {L"proxy_url", L"proxy.corp"}, {L"proxy_port", 70000}});
    OpenTask();
    InLink(Page::kConnectionLink, [&](HWND dialog) {
        EXPECT_EQ(GetDlgItemTextW(dialog, Lan::kPort), L"70000");  // shown as stored
        ui::Click(ui::FindControl(dialog, IDOK));
        ASSERT_FALSE(ui::ModalDialogEnded(dialog));
        ui::ReplaceText(ui::FindControl(dialog, Lan::kPort), L"3129");
        ui::SetChecked(ui::FindControl(dialog, Lan::kAuthenticate), true);
        ui::ReplaceText(ui::FindControl(dialog, Lan::kPassword), L"S3cret pass");
        ui::Click(ui::FindControl(dialog, IDOK));
    });
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_NE(Boxes()[0].find(L"65535"), std::wstring::npos);
    ASSERT_EQ(Ok(), host::PageHost::Outcome::Applied);
    EXPECT_EQ(ZRPAR::GetIntValue(task, L"proxy_port"), 3129);
    EXPECT_EQ(PWD_UTILS::GetDecodedPasswordString(ZRPAR::GetStringValue(task, L"proxy_pwd")), L"S3cret pass");
    EXPECT_EQ(Task().find("S3cret"), std::string::npos);
}

TEST_F(UpdateTaskPage, ASettingStoredWithAnotherTypeIsWrittenBackOnlyWhenChanged)
{
    StoreDefaults();
    Store({{L"proxy_port", L"8080"}, {L"displayAllEventsInHistory", 1}});
    OpenTask();
    InLink(Page::kOtherLink, [&](HWND dialog) {
        ui::Click(ui::FindControl(dialog, Other::kUpdateAgents));  // another setting changes
        ui::Click(ui::FindControl(dialog, IDOK));
    });
    ASSERT_EQ(Ok(), host::PageHost::Outcome::Applied);
    EXPECT_FALSE(ZRPAR::GetBoolValue(task, L"ZRSRV_NAGENT_AUTOUPDATES"));
    EXPECT_EQ(Value(L"proxy_port")->GetType(), ZRPAR::VT_STRING);
    EXPECT_EQ(Value(L"displayAllEventsInHistory")->GetType(), ZRPAR::VT_INT);

    Reopen();
    OpenTask();
    InLink(Page::kOtherLink, [&](HWND dialog) {
        ui::Click(ui::FindControl(dialog, Other::kDetailedHistory));  // now the administrator sets it
        ui::Click(ui::FindControl(dialog, IDOK));
    });
    ASSERT_EQ(Ok(), host::PageHost::Outcome::Applied);
    EXPECT_TRUE(ZRPAR::GetBoolValue(task, L"displayAllEventsInHistory"));
}

// ---- other settings ------------------------------------------------------------------------

TEST_F(UpdateTaskPage, TheOtherSettingsDialogEditsTheFolderOfALocalTasksPlatform)
{
    struct Case {
        bool local;
        std::int32_t computerType;
        std::int32_t server;
        std::wstring label;
        bool editable, unixShown, oldSchemeShown;
    };
    const Case cases[] = {
        {false, 0, 0xD0003, L"Сетевая папка обновлений:", false, true, true},
        {true, 0x2000, 0xD0002, L"Updates distribution folder for Unix systems:", true, false, false},
        {true, 0, 0xD0003, L"Сетевая папка обновлений:", true, false, true},
    };
    for (const Case& c : cases) {
        Reopen();
        StoreDefaults();
        Store({{L"retranslation_dir", L"C:\\upd"}, {L"retranslation_dir_linux", L"/srv/upd"}, {L"retranslation_schema", 2}});
        UseServer(c.server);
        source.Set(L"NH_ADDITIONAL_INFO", ZRSTD::MakeRef<host::ParamsItem>(ZRPAR::CreateParamsBody(
                                              {{L"LocalTask", c.local}, {L"ComputerType", c.computerType}})));
        OpenTask();
        InLink(Page::kOtherLink, [&](HWND dialog) {
            EXPECT_EQ(GetDlgItemTextW(dialog, Other::kFolderLabel), c.label);
            EXPECT_EQ(Shown(dialog, Other::kUnixFolder), c.unixShown);
            EXPECT_EQ(Shown(dialog, Other::kOldScheme), c.oldSchemeShown);
            EXPECT_FALSE(Ticked(dialog, Other::kOldScheme));  // scheme 2 is not the old one
            const bool readOnly = GetWindowLongW(GetDlgItem(dialog, Other::kFolder), GWL_STYLE) & ES_READONLY;
            EXPECT_EQ(readOnly, !c.editable);
            if (c.editable) ui::ReplaceText(ui::FindControl(dialog, Other::kFolder), L"D:\\mirror");
            ui::Click(ui::FindControl(dialog, IDOK));
        });
        ASSERT_EQ(Ok(), host::PageHost::Outcome::Applied);
        const bool unixEdited = c.editable && c.computerType == 0x2000;
        EXPECT_EQ(ZRPAR::GetStringValue(task, L"retranslation_dir"), c.editable && !unixEdited ? L"D:\\mirror" : L"C:\\upd");
        EXPECT_EQ(ZRPAR::GetStringValue(task, L"retranslation_dir_linux"), unixEdited ? L"D:\\mirror" : L"/srv/upd");
        EXPECT_EQ(ZRPAR::GetIntValue(task, L"retranslation_schema"), 2);  // the box was not clicked
    }
}

// ---- sources ---------------------------------------------------------------------------------

TEST_F(UpdateTaskPage, SourcesAreAddedFromTheFolderPickerOrderedAndTheServiceIsNeverTwice)
{
    StoreDefaults();
    Store({{L"UpdateSourceList", testsupport::Array({testsupport::Element(ZRUPDSRV_CreateUpdSource(1, false, L""))})}});
    ui::SetPickerAnswer([](const ui::ServiceCall& call) {
        EXPECT_EQ(call.argument, L"Выберите каталог:");
        return std::wstring(L"\\\\files\\updates");
    });
    OpenTask();
    InLink(Page::kSourcesLink, [&](HWND dialog) {
        // the first Add offers the update service
        user.InDialog([&](HWND props) {
            EXPECT_TRUE(Ticked(props, SourceProps::kVendorService));
            EXPECT_FALSE(On(props, SourceProps::kAdminServer));
            EXPECT_FALSE(On(props, SourceProps::kUrl));
            ui::Click(ui::FindControl(props, IDOK));
        });
        ui::Click(ui::FindControl(dialog, Sources::kAdd));
        // the second may not: a folder, refused while empty, then picked
        user.InDialog([&](HWND props) {
            EXPECT_FALSE(On(props, SourceProps::kVendorService));
            EXPECT_TRUE(Ticked(props, SourceProps::kFolder));
            ui::Click(ui::FindControl(props, IDOK));
            EXPECT_FALSE(ui::ModalDialogEnded(props));
            ui::Click(ui::FindControl(props, SourceProps::kBrowse));
            ui::SetChecked(ui::FindControl(props, SourceProps::kNoProxy), true);
            ui::Click(ui::FindControl(props, IDOK));
        });
        ui::Click(ui::FindControl(dialog, Sources::kAdd));
        EXPECT_EQ(Rows(dialog, Sources::kList),
                  (std::vector<std::wstring>{L"Сервер администрирования", L"Сервис обновлений Лаборатории Brenvik",
                                             L"\\\\files\\updates\\ (Не использовать прокси-сервер)"}));
        EXPECT_FALSE(On(dialog, Sources::kDown));  // the new last row is selected
        ui::Click(ui::FindControl(dialog, Sources::kUp));
        ui::Click(ui::FindControl(dialog, Sources::kUp));
        EXPECT_FALSE(On(dialog, Sources::kUp));
        EXPECT_TRUE(On(dialog, Sources::kDown));
        ui::Click(ui::FindControl(dialog, IDOK));
    });
    EXPECT_EQ(Boxes(), std::vector<std::wstring>{L"Путь к каталогу обновлений не может быть пустым."});
    ASSERT_EQ(Ok(), host::PageHost::Outcome::Applied);
    const auto* list = static_cast<ZRPAR::ArrayValue*>(Value(L"UpdateSourceList"));
    ASSERT_EQ(list->GetSize(), 3u);
    EXPECT_EQ(ZRSTD::FromUtf8(ZRPAR::RenderText(*static_cast<ZRPAR::ParamsValue*>(list->ItemAt(0))->GetValue(),
                                                ZRPAR::RenderOptions{false})),
              Source(3, false, L"\\\\files\\updates\\"));
    ui::SetPickerAnswer(nullptr);
}

TEST_F(UpdateTaskPage, TheListRefusesToBeEmptyAndAMasterServerKeepsItsKind)
{
    StoreDefaults();
    Store({{L"UpdateSourceList", testsupport::Array({testsupport::Element(ZRUPDSRV_CreateUpdSource(4, false, L""))})}});
    OpenTask();
    InLink(Page::kSourcesLink, [&](HWND dialog) {
        user.InDialog([&](HWND props) { ui::Click(ui::FindControl(props, IDOK)); });  // no kind chosen
        ui::Click(ui::FindControl(dialog, Sources::kProperties));
        EXPECT_EQ(Rows(dialog, Sources::kList),
                  std::vector<std::wstring>{L"Сервер администрирования (Не использовать прокси-сервер)"});
        ui::Click(ui::FindControl(dialog, Sources::kRemove));
        ui::Click(ui::FindControl(dialog, IDOK));
        EXPECT_FALSE(ui::ModalDialogEnded(dialog));
        ui::Click(ui::FindControl(dialog, IDCANCEL));
    });
    EXPECT_EQ(Boxes(), std::vector<std::wstring>{L"Список источников обновлений не может быть пуст."});
    EXPECT_FALSE(page->IsModified());
}

TEST_F(UpdateTaskPage, SourcesThePageCannotReadAreKeptAsStoredAndAHiddenProxyFlagStays)
{
    UseServer(0xE0200);
    StoreDefaults();
    auto badKind = ZRPAR::CreateParamsBody({{L"type", L"three"}, {L"url", L"\\\\x"}});
    Store({{L"UpdateSourceList", testsupport::Array({ZRPAR::CreateValue(7), testsupport::Element(badKind),
                                                     testsupport::Element(ZRUPDSRV_CreateUpdSource(3, false, L"\\\\f"))})}});
    OpenTask();
    InLink(Page::kSourcesLink, [&](HWND dialog) {
        EXPECT_EQ(Rows(dialog, Sources::kList),
                  (std::vector<std::wstring>{L"Нераспознанный источник обновлений", L"Нераспознанный источник обновлений",
                                             L"\\\\f (Не использовать прокси-сервер)"}));
        EXPECT_FALSE(On(dialog, Sources::kProperties));  // the selected first row cannot be edited, only moved
        EXPECT_TRUE(On(dialog, Sources::kDown));
        ui::SelectItem(ui::FindControl(dialog, Sources::kList), L"#3");
        user.InDialog([&](HWND props) {
            EXPECT_FALSE(Shown(props, SourceProps::kNoProxy));  // newer servers: no per-source proxy
            ui::Click(ui::FindControl(props, IDOK));
        });
        ui::Click(ui::FindControl(dialog, Sources::kProperties));
        ui::Click(ui::FindControl(dialog, IDOK));
    });
    ASSERT_EQ(Ok(), host::PageHost::Outcome::Applied);
    const auto* list = static_cast<ZRPAR::ArrayValue*>(Value(L"UpdateSourceList"));
    ASSERT_EQ(list->GetSize(), 3u);
    EXPECT_EQ(list->ItemAt(0)->GetType(), ZRPAR::VT_INT);
    EXPECT_EQ(ZRPAR::GetStringValue(static_cast<ZRPAR::ParamsValue*>(list->ItemAt(1))->GetValue(), L"type"), L"three");
    EXPECT_FALSE(ZRPAR::GetBoolValue(static_cast<ZRPAR::ParamsValue*>(list->ItemAt(2))->GetValue(), L"use_proxy"));
}

TEST_F(UpdateTaskPage, TheFolderAccountAppearsWithAFolderSourceAndItsPasswordIsProtected)
{
    struct Case {
        std::int32_t server;
        bool nodeLocked;
        bool offered;
    };
    const Case cases[] = {{0x90000, false, false}, {0xA2000, false, true}, {0xA2000, true, false}};
    for (const Case& c : cases) {
        Reopen();
        task->Clear();
        StoreDefaults();
        UseServer(c.server);
        if (c.nodeLocked)
            source.Set(L"NH_NODE_PROPERTIES", ZRSTD::MakeRef<host::NodeProperties>(std::map<std::int32_t, std::int32_t>{{13, 2}}));
        else
            source.Remove(L"NH_NODE_PROPERTIES");
        Store({{L"UpdateSourceList", testsupport::Array({testsupport::Element(ZRUPDSRV_CreateUpdSource(1, false, L"")),
                                                         testsupport::Element(ZRUPDSRV_CreateUpdSource(3, true, L"\\\\f\\u"))})},
               {L"ShareUsername", L"CORP\\reader"},
               {L"SharePassword", ZRSTD::MemoryChunk(reinterpret_cast<const std::uint8_t*>("PXold"), 5)}});
        OpenTask();
        SCOPED_TRACE(c.server);
        InLink(Page::kSourcesLink, [&](HWND dialog) {
            EXPECT_EQ(Shown(dialog, Sources::kUseAccount), c.offered);
            if (c.offered) {
                EXPECT_TRUE(Ticked(dialog, Sources::kUseAccount));
                EXPECT_EQ(GetDlgItemTextW(dialog, Sources::kUser), L"CORP\\reader");
                EXPECT_EQ(GetDlgItemTextW(dialog, Sources::kPassword), L"***********");
                // removing the folder source takes the account away
                ui::SelectItem(ui::FindControl(dialog, Sources::kList), L"#2");
                ui::Click(ui::FindControl(dialog, Sources::kRemove));
                EXPECT_FALSE(Shown(dialog, Sources::kUseAccount));
            }
            ui::Click(ui::FindControl(dialog, IDCANCEL));
        });
        if (!c.offered) continue;
        InLink(Page::kSourcesLink, [&](HWND dialog) {
            ui::ReplaceText(ui::FindControl(dialog, Sources::kUser), L"  ");
            ui::Click(ui::FindControl(dialog, IDOK));
            EXPECT_FALSE(ui::ModalDialogEnded(dialog));
            ui::ReplaceText(ui::FindControl(dialog, Sources::kUser), L" CORP\\writer ");
            ui::ReplaceText(ui::FindControl(dialog, Sources::kPassword), L"pw");
            ui::Click(ui::FindControl(dialog, IDOK));
        });
        EXPECT_EQ(Boxes(), std::vector<std::wstring>{L"Не задано имя пользователя."});
        ASSERT_EQ(Ok(), host::PageHost::Outcome::Applied);
        EXPECT_EQ(ZRPAR::GetStringValue(task, L"ShareUsername"), L"CORP\\writer");
        auto blob = ZRPAR::GetBinaryValue(task, L"SharePassword");
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(blob->GetData()), blob->GetDataSize()),
                  std::string("PX\0w\0p", 6));  // protected UTF-16, never clear
    }
}

TEST_F(UpdateTaskPage, AnUntouchedPasswordKeepsTheStoredBlobAndNoServiceChangesNothing)
{
    UseServer(0xA2000);
    StoreDefaults();
    Store({{L"UpdateSourceList", testsupport::Array({testsupport::Element(ZRUPDSRV_CreateUpdSource(3, true, L"\\\\f\\u"))})},
           {L"ShareUsername", L"reader"},
           {L"SharePassword", ZRSTD::MemoryChunk(reinterpret_cast<const std::uint8_t*>("PXold"), 5)}});
    OpenTask();
    InLink(Page::kSourcesLink, [&](HWND dialog) { ui::Click(ui::FindControl(dialog, IDOK)); });
    ASSERT_EQ(Ok(), host::PageHost::Outcome::Applied);
    auto blob = ZRPAR::GetBinaryValue(task, L"SharePassword");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(blob->GetData()), blob->GetDataSize()), "PXold");

    source.Remove(L"DATA_PROTECTION");
    InLink(Page::kSourcesLink, [&](HWND dialog) {
        ui::ReplaceText(ui::FindControl(dialog, Sources::kPassword), L"new");
        ui::Click(ui::FindControl(dialog, IDOK));
        EXPECT_FALSE(ui::ModalDialogEnded(dialog));  // nothing can protect it: it is not taken
        ui::Click(ui::FindControl(dialog, IDCANCEL));
    });
    EXPECT_EQ(Boxes().size(), 1u);
}

// ---- contents ---------------------------------------------------------------------------------

TEST_F(UpdateTaskPage, TheContentsDialogChoosesComponentsAndKeepsIdsTheCatalogueLacks)
{
    StoreDefaults();
    auto contents = ZRPAR::CreateParamsBody(
        {{L"Components", ZRPAR::CreateParamsBody({{L"LEGACY_COMPONENT", ZRPAR::CreateParams()}})},
         {L"Applications", ZRPAR::CreateParamsBody({{L"1000", ZRPAR::CreateParams()}})}});
    Store({{L"RetranslationListData", contents}, {L"retranslate_only_listed_apps", false}, {L"bRetranslateDiffs", false}});
    OpenTask();
    InLink(Page::kContentsLink, [&](HWND dialog) {
        EXPECT_TRUE(Ticked(dialog, Contents::kForced));
        EXPECT_EQ(Rows(dialog, Contents::kList), (std::vector<std::wstring>{L"Патчи агента", L"Патчи сервера"}));
        ui::SetRowChecked(ui::FindControl(dialog, Contents::kList), L"Патчи сервера", true);
        ui::Click(ui::FindControl(dialog, Contents::kDiffs));
        ui::Click(ui::FindControl(dialog, IDOK));
    });
    ASSERT_EQ(Ok(), host::PageHost::Outcome::Applied);
    auto data = ZRPAR::GetParamsValue(task, L"RetranslationListData");
    EXPECT_EQ(ZRPAR::GetParamsValue(data, L"Components")->GetNames(),
              (std::vector<std::wstring>{L"LEGACY_COMPONENT", L"ADMSRV_PATCHES"}));
    EXPECT_EQ(ZRPAR::GetParamsValue(data, L"Applications")->GetNames(), (std::vector<std::wstring>{L"1000", L"1093"}));
    EXPECT_TRUE(ZRPAR::GetBoolValue(task, L"retranslate_only_listed_apps"));
    EXPECT_TRUE(ZRPAR::GetBoolValue(task, L"bRetranslateDiffs"));

    // the forced list cleared: nothing is forced
    Reopen();
    OpenTask();
    InLink(Page::kContentsLink, [&](HWND dialog) {
        ui::Click(ui::FindControl(dialog, Contents::kForced));
        EXPECT_FALSE(On(dialog, Contents::kList));  // servers before 0xB0000
        ui::Click(ui::FindControl(dialog, Contents::kForInstalled));
        EXPECT_FALSE(On(dialog, IDOK));  // nothing left to download
        ui::Click(ui::FindControl(dialog, Contents::kForInstalled));
        ui::Click(ui::FindControl(dialog, IDOK));
    });
    ASSERT_EQ(Ok(), host::PageHost::Outcome::Applied);
    data = ZRPAR::GetParamsValue(task, L"RetranslationListData");
    EXPECT_EQ(ZRPAR::GetParamsValue(data, L"Components")->GetSize(), 0u);
    EXPECT_EQ(ZRPAR::GetParamsValue(data, L"Applications")->GetSize(), 0u);
}

// ---- policy locks -------------------------------------------------------------------------------

TEST_F(UpdateTaskPage, APolicyThatEnforcesTheTaskLeavesItReadOnly)
{
    for (bool mandatory : {true, false}) {
        Reopen();
        task->Clear();
        StoreDefaults();
        Store({{L"connect_tmo", 75}});
        policy.Replace(L"1103", L"1.0.0.0", L"ZRPRSS_TASKS_POLICY",
                       Section({{L"DoUpdate", Section({{L"connect_tmo", Setting(30, mandatory)}})}}));
        OpenTask();
        for (int link : {Page::kSourcesLink, Page::kConnectionLink, Page::kContentsLink, Page::kOtherLink})
            EXPECT_EQ(Enabled(link), !mandatory) << link;
        if (!mandatory) {
            InLink(Page::kConnectionLink, [&](HWND dialog) {
                EXPECT_EQ(GetDlgItemTextW(dialog, Lan::kTimeout), L"75");  // the task's own value
                ui::ReplaceText(ui::FindControl(dialog, Lan::kTimeout), L"60");
                ui::Click(ui::FindControl(dialog, IDOK));
            });
        }
        const std::string before = Task();
        ASSERT_EQ(Ok(), host::PageHost::Outcome::Applied);
        if (mandatory) EXPECT_EQ(Task(), before);
        else EXPECT_EQ(ZRPAR::GetIntValue(task, L"connect_tmo"), 60);
    }
}

// ---- export -------------------------------------------------------------------------------------

TEST_F(UpdateTaskPage, TheSummaryShowsTheThreeGroupsAndOnlyADigestOfThePassword)
{
    UseServer(0xD0003);
    StoreDefaults();
    Store({{L"UpdateSourceList", testsupport::Array({testsupport::Element(ZRUPDSRV_CreateUpdSource(3, false, L"\\\\f\\u"))})},
           {L"ShareUsername", L"reader"},
           {L"SharePassword", ZRSTD::MemoryChunk(reinterpret_cast<const std::uint8_t*>("PXsecret"), 8)},
           {L"RetranslationListData",
            ZRPAR::CreateParamsBody({{L"Components", ZRPAR::CreateParamsBody({{L"NAGENT_PATCHES", ZRPAR::CreateParams()},
                                                                              {L"GONE", ZRPAR::CreateParams()}})},
                                     {L"Applications", ZRPAR::CreateParams()}})},
           {L"retranslation_schema", 1}});
    auto data = std::make_shared<NHPP::CNHPPageData>(&source, NHPP::kObjectTask, L"DoUpdate");
    data->RegisterSection(L"ZRPRSS_TASKS_POLICY", NHPP::kSectionTask, true);
    const auto exported = Page::Export(*data);
    ASSERT_EQ(exported.size(), 1u);
    const std::string text = testsupport::ExportText(*exported[0]);
    for (const char* expected : {"Источники обновлений\n  Источники обновлений\n    \\\\f\\u (Не использовать прокси-сервер)\n"
                                 "      Каталог обновлений: \\\\f\\u\n      Не использовать прокси-сервер: Да\n",
                                 "  Имя пользователя: reader\n", "  Пароль: <",
                                 "Состав обновлений\n  Retranslate updater diff files: Нет\n",
                                 "    1: Патчи агента (описание)\n    2: GONE(~GONE)\n",
                                 "Прочие настройки\n", "  Download updates using old scheme: Да\n"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
    EXPECT_EQ(text.find("secret"), std::string::npos);
}

}  // namespace
