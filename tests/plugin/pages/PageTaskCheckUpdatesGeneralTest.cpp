#include "plugin/pages/tasks/PageTaskCheckUpdatesGeneral.h"

#include <gtest/gtest.h>

#include "plugin/frame/Exporter.h"
#include "plugin/pages/TaskPageTest.h"
#include "plugin/pages/tasks/CheckUpdatesTask.h"
#include "ui/CommonControls.h"

namespace {

using Page = CPageTaskCheckUpdatesGeneral;
using Selector = CWizPageTaskCheckUpdatesTaskSelectorBase;
using Outcome = host::PageHost::Outcome;
using checkupdates::GroupTask;
using checkupdates::TaskKind;

constexpr const wchar_t* kProducts = L"Software\\BrenvikLab\\Components\\34\\Products\\";

class CheckUpdatesPage : public testsupport::TaskPageTest {
protected:
    void SetUp() override
    {
        TaskPageTest::SetUp();
        taskType = L"ZRNAG_TASK_CHECK_BASES";
        groupTasks->tasks = {
            {L"Обновление баз", L"_ES_UPD", L"ES", L"11.0", L"updater"},
            {L"Обновление модулей", L"_ES_UPD2", L"ES", L"11.0", L"UpdateBases"},
            {L"Полная проверка", L"_ES_SCAN", L"ES", L"11.0", L"ONDEMAND"},
            {L"Служебное обновление", L"_ES_HIDDEN", L"ES", L"11.0", L"updater", true},
            {L"Обновление файлового сервера", L"_FS_UPD", L"FS", L"10.1", L"fs_update"},
            {L"Проверка файлового сервера", L"_FS_SCAN", L"FS", L"10.1", L"FS_SCAN"},
            {L"Резервное копирование", L"_FS_BACKUP", L"FS", L"10.1", L"backup"},
        };
        // the file server registers its own task types
        ui::RegistrySetString(HKEY_LOCAL_MACHINE, std::wstring(kProducts) + L"FS\\10.1", L"UpdateTaskType", L"FS_UPDATE");
        ui::RegistrySetString(HKEY_LOCAL_MACHINE, std::wstring(kProducts) + L"FS\\10.1", L"ScanTaskType", L"fs_scan");
    }
    void OpenPage() { Open(new Page(TaskData())); }
    HWND UpdateList() { return Control(Selector::kTasks); }
    HWND ScanList() { return Control(Selector::kScanTasks); }
    static std::vector<std::wstring> Rows(HWND list, bool checkedOnly = false)
    {
        std::vector<std::wstring> rows;
        for (int row = 0; row < static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); ++row)
            if (!checkedOnly || ui::IsListRowChecked(list, row)) rows.push_back(ui::GetListRowText(list, row));
        return rows;
    }
    static ZRSTD::CAutoPtr<ZRPAR::Value> Item(const wchar_t* storageId, const wchar_t* product = L"ES",
                                              const wchar_t* version = L"11.0")
    {
        return ZRPAR::CreateValue(ZRPAR::CreateParamsBody({{checkupdates::kItemProductName, product},
                                                           {checkupdates::kItemProductVersion, version},
                                                           {checkupdates::kItemStorageId, storageId},
                                                           {checkupdates::kItemTaskId, L"stored"}})
                                      .Get());
    }
    void StoreChoice(const wchar_t* key, std::initializer_list<ZRSTD::CAutoPtr<ZRPAR::Value>> items)
    {
        auto array = ZRPAR::CreateArrayValue();
        for (const auto& item : items) array->Append(item.Get());
        params.ReplaceValue(key, array.Get());
    }
    // The storage ids of a stored choice, in order ("(no task)" for an item that names none).
    std::vector<std::wstring> StoredChoice(const wchar_t* key)
    {
        std::vector<std::wstring> ids;
        auto array = ZRPAR::GetArrayValue(&params, key);
        for (std::size_t i = 0; i < array->GetSize(); ++i) {
            const ZRPAR::Value* item = array->ItemAt(i);
            ids.push_back(item->GetType() == ZRPAR::VT_PARAMS
                              ? ZRPAR::GetStringValue(static_cast<const ZRPAR::ParamsValue*>(item)->GetValue(),
                                                      checkupdates::kItemStorageId)
                              : L"(no task)");
        }
        return ids;
    }
};

}  // namespace

TEST_F(CheckUpdatesPage, AFilterOffersTheKindsTypesInAnyCaseAndNeverAnInvisibleTask)
{
    const struct {
        const wchar_t* type;
        bool invisible;
        const wchar_t* registered;
        TaskKind kind;
        bool offered;
    } cases[] = {
        {L"updater", false, L"", TaskKind::Update, true},
        {L"UPDATEBASES", false, L"", TaskKind::Update, true},
        {L"zrupd_ta_update_task", false, L"", TaskKind::Update, true},
        {L"updater", true, L"", TaskKind::Update, false},
        {L"updater", false, L"", TaskKind::Scan, false},
        {L"ondemand", false, L"", TaskKind::Scan, true},
        {L"Ods", false, L"", TaskKind::Scan, true},
        {L"zrin_oas", false, L"", TaskKind::Scan, true},
        {L"ZRODS_TA_SCAN_TASK", true, L"", TaskKind::Scan, false},
        {L"mail_update", false, L"MAIL_UPDATE", TaskKind::Update, true},
        {L"mail_update", false, L"", TaskKind::Update, false},
        {L"", false, L"", TaskKind::Update, false},
    };
    for (const auto& c : cases) {
        GroupTask task;
        task.typeName = c.type;
        task.invisible = c.invisible;
        EXPECT_EQ(checkupdates::IsOffered(task, c.kind, c.registered), c.offered) << c.type << " " << c.registered;
    }
}

TEST_F(CheckUpdatesPage, RegisteredTypesAreReadPerApplicationAndAnOverlongOneRegistersNothing)
{
    const std::wstring key = std::wstring(kProducts) + L"MAIL\\8.0";
    ui::RegistrySetString(HKEY_LOCAL_MACHINE, key, L"UpdateTaskType", std::wstring(1025, L'x'));
    ui::RegistrySetString(HKEY_LOCAL_MACHINE, key, L"ScanTaskType", std::wstring(1024, L'y'));
    EXPECT_EQ(checkupdates::RegisteredTaskType(L"MAIL", L"8.0", TaskKind::Update), L"");
    EXPECT_EQ(checkupdates::RegisteredTaskType(L"MAIL", L"8.0", TaskKind::Scan), std::wstring(1024, L'y'));
    EXPECT_EQ(checkupdates::RegisteredTaskType(L"FS", L"10.1", TaskKind::Update), L"FS_UPDATE");
    EXPECT_EQ(checkupdates::RegisteredTaskType(L"FS", L"9.0", TaskKind::Update), L"");
    // a name that would climb to another application's key registers nothing
    EXPECT_EQ(checkupdates::RegisteredTaskType(L"FS\\10.1", L"..", TaskKind::Update), L"");
}

TEST_F(CheckUpdatesPage, EachSelectorOffersItsTasksWithTheirApplications)
{
    OpenPage();
    EXPECT_EQ(GetWindowTextW(Control(Selector::kPrompt)), L"Укажите одну или несколько задач обновления для разных продуктов.");
    EXPECT_EQ(GetWindowTextW(Control(Selector::kScanPrompt)), L"Укажите одну или несколько задач поиска вирусов для проверки полученных обновлений.");
    EXPECT_EQ(Rows(UpdateList()), (std::vector<std::wstring>{L"Обновление баз", L"Обновление модулей",
                                                             L"Обновление файлового сервера"}));
    EXPECT_EQ(Rows(ScanList()), (std::vector<std::wstring>{L"Полная проверка", L"Проверка файлового сервера"}));
    LVITEMW cell;
    cell.iSubItem = 1;
    SendMessageW(UpdateList(), LVM_GETITEMTEXTW, 2, reinterpret_cast<LPARAM>(&cell));
    EXPECT_EQ(cell.text, L"FS");
    EXPECT_EQ(Text(Page::kNeedRestart), L"&Перезагрузить коипьютер после закачки баз");
    EXPECT_TRUE(Checked(Page::kNeedRestart));  // a new task restarts and checks RDP
    EXPECT_TRUE(Checked(Page::kCheckRdp));
}

TEST_F(CheckUpdatesPage, AStoredChoiceShowsAndAnUntouchedOkChangesNoByte)
{
    StoreChoice(checkupdates::kUpdateTasksKey, {Item(L"_FS_UPD", L"FS", L"10.1")});
    StoreChoice(checkupdates::kScanTasksKey, {Item(L"_ES_SCAN"), Item(L"_FS_SCAN", L"FS", L"10.1")});
    params.ReplaceValue(checkupdates::kNeedRestartKey, ZRPAR::CreateValue(false).Get());
    params.ReplaceValue(checkupdates::kCheckRdpKey, ZRPAR::CreateValue(false).Get());
    const auto before = Bytes();
    OpenPage();
    EXPECT_EQ(Rows(UpdateList(), true), std::vector<std::wstring>{L"Обновление файлового сервера"});
    EXPECT_EQ(Rows(ScanList(), true), (std::vector<std::wstring>{L"Полная проверка", L"Проверка файлового сервера"}));
    EXPECT_FALSE(Checked(Page::kNeedRestart));
    EXPECT_FALSE(Checked(Page::kCheckRdp));
    EXPECT_FALSE(page->IsModified());
    ASSERT_EQ(Sheet().PressOk().outcome, Outcome::Applied);
    EXPECT_EQ(Bytes(), before);
}

TEST_F(CheckUpdatesPage, UpdateTasksAreRefusedWhenNoneOrTwoOfOneApplicationAreChecked)
{
    const struct {
        std::vector<std::wstring> checked;
        std::vector<std::wstring> boxes;
    } cases[] = {
        {{}, {L"Не выбрана ни одна задача обновления."}},
        {{L"Обновление баз", L"Обновление модулей"}, {L"Может быть выбрана только одна задача обновления для каждого продукта."}},
        {{L"Обновление баз", L"Обновление файлового сервера"}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.checked.size());
        params.Clear();
        Reopen();
        OpenPage();
        for (const auto& row : c.checked) ui::SetRowChecked(UpdateList(), row, true);
        const auto outcome = Sheet().PressOk().outcome;
        EXPECT_EQ(Boxes(), c.boxes);
        EXPECT_EQ(outcome, c.boxes.empty() ? Outcome::Applied : Outcome::Refused);
        EXPECT_EQ(params.DoesExist(checkupdates::kUpdateTasksKey), c.boxes.empty());
    }
}

TEST_F(CheckUpdatesPage, ACheckedRowTellsThePageAndIsSavedInListOrderWithItsFourValues)
{
    OpenPage();
    Sheet().ClearMessages();
    ui::SetRowChecked(UpdateList(), L"Обновление файлового сервера", true);
    // the selector tells the page, and the page the console
    EXPECT_TRUE(page->IsModified());
    ASSERT_FALSE(Sheet().Messages().empty());
    EXPECT_EQ(Sheet().Messages().front().message, PSM_CHANGED);
    ui::SetRowChecked(UpdateList(), L"Обновление баз", true);
    ui::SetRowChecked(ScanList(), L"Проверка файлового сервера", true);
    ASSERT_EQ(Sheet().PressOk().outcome, Outcome::Applied);
    EXPECT_EQ(StoredChoice(checkupdates::kUpdateTasksKey), (std::vector<std::wstring>{L"_ES_UPD", L"_FS_UPD"}));
    EXPECT_EQ(StoredChoice(checkupdates::kScanTasksKey), std::vector<std::wstring>{L"_FS_SCAN"});
    auto fileServer = ZRPAR::GetArrayValue(&params, checkupdates::kUpdateTasksKey)->ItemAt(1);
    const ZRPAR::Params* item = static_cast<const ZRPAR::ParamsValue*>(fileServer)->GetValue();
    EXPECT_EQ(ZRPAR::GetStringValue(item, checkupdates::kItemProductName), L"FS");
    EXPECT_EQ(ZRPAR::GetStringValue(item, checkupdates::kItemProductVersion), L"10.1");
    EXPECT_EQ(ZRPAR::GetStringValue(item, checkupdates::kItemTaskId), L"id_FS_UPD");
    // the flags nobody touched stay unstored
    EXPECT_FALSE(params.DoesExist(checkupdates::kNeedRestartKey));
    EXPECT_FALSE(params.DoesExist(checkupdates::kCheckRdpKey));
}

TEST_F(CheckUpdatesPage, AChosenTaskTheConsoleDoesNotOfferStaysShownAndKept)
{
    auto unreadable = ZRPAR::CreateValue(std::int32_t{42});
    StoreChoice(checkupdates::kUpdateTasksKey, {Item(L"_ES_HIDDEN"), unreadable, Item(L"_GONE", L"OLD", L"1.0")});
    OpenPage();
    EXPECT_EQ(Rows(UpdateList(), true), (std::vector<std::wstring>{L"Служебное обновление", L"_GONE"}));
    ui::Click(Control(Page::kCheckRdp));
    ASSERT_EQ(Sheet().PressOk().outcome, Outcome::Applied);
    EXPECT_EQ(StoredChoice(checkupdates::kUpdateTasksKey), (std::vector<std::wstring>{L"_ES_HIDDEN", L"(no task)", L"_GONE"}));
    EXPECT_FALSE(ZRPAR::GetBoolValue(&params, checkupdates::kCheckRdpKey));

    ui::SetRowChecked(UpdateList(), L"_GONE", false);
    ASSERT_EQ(Sheet().PressOk().outcome, Outcome::Applied);
    EXPECT_EQ(StoredChoice(checkupdates::kUpdateTasksKey), (std::vector<std::wstring>{L"_ES_HIDDEN", L"(no task)"}));
}

TEST_F(CheckUpdatesPage, AConsoleThatCannotGiveItsTasksIsReportedAndTheChosenOnesStillShow)
{
    groupTasks->failing = true;
    StoreChoice(checkupdates::kUpdateTasksKey, {Item(L"_ES_UPD")});
    OpenPage();
    ASSERT_EQ(Boxes().size(), 2u);  // one box per selector
    EXPECT_NE(Boxes()[0].find(L"the server did not answer"), std::wstring::npos);
    EXPECT_EQ(Rows(UpdateList(), true), std::vector<std::wstring>{L"_ES_UPD"});
    EXPECT_TRUE(Rows(ScanList()).empty());
}

TEST_F(CheckUpdatesPage, TheWizardChoosesUpdateTasksFirstAndOffersTheFlagsLast)
{
    Open(new CWizPageTaskCheckUpdatesUpdateTaskSelector(TaskData()));
    EXPECT_EQ(Rows(Control(Selector::kTasks)).size(), 3u);
    user.Answer(IDOK);
    EXPECT_EQ(Sheet().PressOk().outcome, Outcome::Refused);
    ui::SetRowChecked(Control(Selector::kTasks), L"Обновление баз", true);
    EXPECT_TRUE(page->IsModified());
    ASSERT_EQ(Sheet().PressOk().outcome, Outcome::Applied);
    EXPECT_EQ(StoredChoice(checkupdates::kUpdateTasksKey), std::vector<std::wstring>{L"_ES_UPD"});

    Reopen();
    Open(new CWizPageTaskCheckUpdatesOptions(TaskData()));
    EXPECT_TRUE(Checked(CWizPageTaskCheckUpdatesOptions::kNeedRestart));
    EXPECT_TRUE(Checked(CWizPageTaskCheckUpdatesOptions::kCheckRdp));
    const auto before = Bytes();
    ASSERT_EQ(Sheet().PressOk().outcome, Outcome::Applied);
    EXPECT_EQ(Bytes(), before);
    ui::Click(Control(CWizPageTaskCheckUpdatesOptions::kNeedRestart));
    ASSERT_EQ(Sheet().PressOk().outcome, Outcome::Applied);
    EXPECT_FALSE(ZRPAR::GetBoolValue(&params, checkupdates::kNeedRestartKey));
    EXPECT_FALSE(params.DoesExist(checkupdates::kCheckRdpKey));
}

TEST_F(CheckUpdatesPage, TheExportNamesTheChosenTasksAsTheConsoleKnowsThem)
{
    StoreChoice(checkupdates::kUpdateTasksKey, {Item(L"_ES_UPD"), Item(L"_GONE")});
    StoreChoice(checkupdates::kScanTasksKey, {Item(L"_FS_SCAN", L"FS", L"10.1")});
    params.ReplaceValue(checkupdates::kNeedRestartKey, ZRPAR::CreateValue(false).Get());
    auto data = TaskData();
    const auto exported = Page::Export(*data);
    ASSERT_EQ(exported.size(), 1u);
    EXPECT_EQ(testsupport::ExportText(*exported[0]),
              "Укажите одну или несколько задач обновления для разных продуктов.: Обновление баз; _GONE\n"
              "Укажите одну или несколько задач поиска вирусов для проверки полученных обновлений.: Проверка файлового сервера\n"
              "Перезагрузить коипьютер после закачки баз: Нет\n"
              "Проверять статуст RDP после закачки баз и перезапуска компьютера: Да\n");
}
