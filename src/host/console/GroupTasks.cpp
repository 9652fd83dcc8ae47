#include "host/console/GroupTasks.h"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "zrstd/Format.h"
#include "zrstd/Strings.h"

namespace host {

namespace {

constexpr const char* kModule = "NGTCONSOLE";
constexpr long kBadGroupTasks = 6, kGroupTaskRefused = 7;
constexpr const wchar_t* kConfigKey = L"group_tasks";

using ZRSTD::FromUtf8;
using ZRSTD::ToUtf8;

[[noreturn]] void Refuse(const std::wstring& why) { ZRERR_throwLocalizedError(kModule, kGroupTaskRefused, why); }

[[noreturn]] void Unreadable(SettingsStore& store, const std::string& why)
{
    ZRERR_throwLocalizedError(kModule, kBadGroupTasks,
                              ZRSTD::FormatW(L"the group tasks that %hs keeps (configuration \"%s\") cannot be read: %hs",
                                             store.Path(), kConfigKey, why));
}

nlohmann::json ToJson(const GroupTask& task)
{
    return {{"name", ToUtf8(task.displayName)},   {"storage_id", ToUtf8(task.storageId)},
            {"task_id", ToUtf8(task.taskId)},      {"product", ToUtf8(task.productName)},
            {"version", ToUtf8(task.productVersion)}, {"type", ToUtf8(task.typeName)},
            {"invisible", task.invisible}};
}

void WriteGroupTasks(SettingsStore& store, const std::vector<GroupTask>& tasks)
{
    nlohmann::json list = nlohmann::json::array();
    for (const auto& task : tasks) list.push_back(ToJson(task));
    store.SetConfig(kConfigKey, FromUtf8(list.dump()));
}

std::wstring NextTaskNumber(const std::vector<GroupTask>& tasks)
{
    unsigned long long last = 0;
    for (const auto& task : tasks) {
        const std::string id = ToUtf8(task.taskId);
        if (!id.empty() && id.size() < 19 && std::all_of(id.begin(), id.end(), [](char c) { return c >= '0' && c <= '9'; }))
            last = std::max(last, std::stoull(id));
    }
    return std::to_wstring(last + 1);
}

}  // namespace

const std::vector<GroupTask>& SampleGroupTasks()
{
    static const std::vector<GroupTask> tasks = {
        {L"Обновление баз", L"_BLES_UPDATE", L"101", L"BLES", L"11.0.0.0", L"Updater", false},
        {L"Поиск вирусов", L"_BLES_SCAN_FULL", L"102", L"BLES", L"11.0.0.0", L"ODS", false},
        {L"Быстрая проверка", L"_BLES_SCAN_QUICK", L"103", L"BLES", L"11.0.0.0", L"ods", false},
        {L"Откат обновления баз", L"_BLES_ROLLBACK", L"104", L"BLES", L"11.0.0.0", L"Rollback", false},
        {L"Служебное обновление модулей", L"_BLES_UPDATE_SERVICE", L"105", L"BLES", L"11.0.0.0", L"updater", true},
        {L"Обновление баз файлового сервера", L"_BLFS_UPDATE", L"201", L"BLFS", L"10.1.0.0", L"UpdateBases", false},
        {L"Проверка по требованию", L"_BLFS_ODS", L"202", L"BLFS", L"10.1.0.0", L"OnDemand", false},
        {L"Обновление баз почтового сервера", L"_BLMS_UPDATE", L"301", L"BLMS", L"8.0.0.0", L"ZRUPD_TA_UPDATE_TASK", false},
        {L"Проверка хранилища почты", L"_BLMS_SCAN", L"302", L"BLMS", L"8.0.0.0", L"ZRODS_TA_SCAN_TASK", false},
    };
    return tasks;
}

std::vector<GroupTask> ReadGroupTasks(SettingsStore& store)
{
    const auto kept = store.GetConfig(kConfigKey);
    if (!kept) return SampleGroupTasks();
    nlohmann::json list;
    try {
        list = nlohmann::json::parse(ToUtf8(*kept));
    } catch (const std::exception& error) {
        Unreadable(store, error.what());
    }
    if (!list.is_array()) Unreadable(store, "it is no list");
    std::vector<GroupTask> tasks;
    for (const auto& entry : list) {
        if (!entry.is_object()) Unreadable(store, "an entry is no object");
        auto text = [&](const char* name) {
            const auto found = entry.find(name);
            if (found == entry.end() || !found->is_string()) Unreadable(store, std::string("an entry has no text \"") + name + "\"");
            return FromUtf8(found->get<std::string>());
        };
        const auto invisible = entry.find("invisible");
        tasks.push_back({text("name"), text("storage_id"), text("task_id"), text("product"), text("version"), text("type"),
                         invisible != entry.end() && invisible->is_boolean() && invisible->get<bool>()});
    }
    return tasks;
}

GroupTask AddGroupTask(SettingsStore& store, GroupTask task)
{
    const struct {
        const std::wstring& value;
        const wchar_t* what;
    } required[] = {{task.displayName, L"a name"},
                    {task.productName, L"a product name"},
                    {task.productVersion, L"a product version"},
                    {task.typeName, L"a task type"}};
    for (const auto& field : required)
        if (ZRSTD::Trim(field.value).empty()) Refuse(ZRSTD::FormatW(L"a group task needs %s", field.what));
    store.InTransaction([&] {
        auto tasks = ReadGroupTasks(store);
        if (task.taskId.empty()) task.taskId = NextTaskNumber(tasks);
        if (task.storageId.empty()) task.storageId = L"_TASK_" + task.taskId;
        for (const auto& kept : tasks)
            if (kept.storageId == task.storageId)
                Refuse(ZRSTD::FormatW(L"there is a group task with the storage id \"%s\" already (\"%s\")", task.storageId,
                                      kept.displayName));
        tasks.push_back(task);
        WriteGroupTasks(store, tasks);
    });
    return task;
}

void RemoveGroupTask(SettingsStore& store, const std::wstring& storageId)
{
    store.InTransaction([&] {
        auto tasks = ReadGroupTasks(store);
        const auto found = std::find_if(tasks.begin(), tasks.end(), [&](const GroupTask& task) { return task.storageId == storageId; });
        if (found == tasks.end()) Refuse(ZRSTD::FormatW(L"there is no group task with the storage id \"%s\"", storageId));
        tasks.erase(found);
        WriteGroupTasks(store, tasks);
    });
}

void GroupTaskControl::GetGroupTasks(ZRPAR::ArrayValue** ppTasks)
{
    ZRSTD_CHECK_ARG(ppTasks);
    *ppTasks = nullptr;
    auto list = ZRPAR::CreateArrayValue();
    for (const auto& task : ReadGroupTasks(*m_store)) {
        auto entry = ZRPAR::CreateParamsBody({{ZRPlugin::kGroupTaskDisplayName, task.displayName},
                                              {ZRPlugin::kGroupTaskStorageId, task.storageId},
                                              {ZRPlugin::kGroupTaskId, task.taskId},
                                              {ZRPlugin::kGroupTaskProductName, task.productName},
                                              {ZRPlugin::kGroupTaskProductVersion, task.productVersion},
                                              {ZRPlugin::kGroupTaskTypeName, task.typeName},
                                              {ZRPlugin::kGroupTaskInvisible, task.invisible}});
        list->Append(ZRPAR::CreateValue(entry.Get()).Get());
    }
    *ppTasks = list.Detach();
}

}  // namespace host
