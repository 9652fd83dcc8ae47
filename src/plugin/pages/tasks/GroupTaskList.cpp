#include "plugin/pages/tasks/GroupTaskList.h"

#include <algorithm>
#include <map>

#include "ui/Registry.h"
#include "zrplugin/GroupTaskControl.h"
#include "zrstd/Format.h"
#include "zrstd/Strings.h"

namespace checkupdates {

namespace {

constexpr std::size_t kMaxTypeNameLength = 1024;
constexpr const wchar_t* kProductsKey = L"Software\\BrenvikLab\\Components\\34\\Products\\";

std::wstring StringIn(const ZRPAR::Params& task, const wchar_t* name)
{
    const ZRPAR::Value* value = task.FindValue(name);
    return value && value->GetType() == ZRPAR::VT_STRING ? static_cast<const ZRPAR::StringValue*>(value)->GetValue()
                                                          : std::wstring();
}

bool FlagIn(const ZRPAR::Params& task, const wchar_t* name)
{
    const ZRPAR::Value* value = task.FindValue(name);
    return value && value->GetType() == ZRPAR::VT_BOOL && static_cast<const ZRPAR::BoolValue*>(value)->GetValue();
}

// The types every application's tasks of a kind may have, besides the one it registers.
const std::vector<std::wstring>& UsualTypes(TaskKind kind)
{
    static const std::vector<std::wstring> update = {L"zrupd_ta_update_task", L"updater", L"updatebases"};
    static const std::vector<std::wstring> scan = {L"zrods_ta_scan_task", L"ods", L"ondemand", L"zrin_oas"};
    return kind == TaskKind::Update ? update : scan;
}

}  // namespace

std::vector<GroupTask> ReadGroupTasks(ZRPlugin::IDataSource* dataSource)
{
    auto control = ZRPlugin::GetDataSourceItem<ZRPlugin::IGroupTaskControl>(dataSource, L"ZRTSK::GroupTaskControl");
    if (!control) return {};
    ZRSTD::CAutoPtr<ZRPAR::ArrayValue> stored;
    control->GetGroupTasks(&stored);
    std::vector<GroupTask> tasks;
    for (std::size_t i = 0; stored && i < stored->GetSize(); ++i) {
        const ZRPAR::Value* item = stored->ItemAt(i);
        if (!item || item->GetType() != ZRPAR::VT_PARAMS) continue;
        const ZRPAR::Params& entry = *static_cast<const ZRPAR::ParamsValue*>(item)->GetValue();
        GroupTask task{StringIn(entry, ZRPlugin::kGroupTaskDisplayName),
                       StringIn(entry, ZRPlugin::kGroupTaskStorageId),
                       StringIn(entry, ZRPlugin::kGroupTaskId),
                       StringIn(entry, ZRPlugin::kGroupTaskProductName),
                       StringIn(entry, ZRPlugin::kGroupTaskProductVersion),
                       StringIn(entry, ZRPlugin::kGroupTaskTypeName),
                       FlagIn(entry, ZRPlugin::kGroupTaskInvisible)};
        if (!task.storageId.empty()) tasks.push_back(std::move(task));
    }
    return tasks;
}

std::wstring RegisteredTaskType(const std::wstring& productName, const std::wstring& productVersion, TaskKind kind)
{
    // a name or version that would climb to another key registers nothing
    for (const std::wstring* part : {&productName, &productVersion})
        if (part->empty() || part->find(L'\\') != std::wstring::npos) return {};
    std::wstring type;
    if (!ui::RegistryGetString(HKEY_LOCAL_MACHINE, kProductsKey + productName + L"\\" + productVersion,
                               kind == TaskKind::Update ? L"UpdateTaskType" : L"ScanTaskType", type))
        return {};
    return type.size() > kMaxTypeNameLength ? std::wstring() : type;
}

bool IsOffered(const GroupTask& task, TaskKind kind, const std::wstring& registeredType)
{
    if (task.invisible) return false;
    const std::wstring type = ZRSTD::ToLower(task.typeName);
    if (!registeredType.empty() && type == ZRSTD::ToLower(registeredType)) return true;
    const auto& usual = UsualTypes(kind);
    return std::find(usual.begin(), usual.end(), type) != usual.end();
}

std::vector<GroupTask> OfferedTasks(const std::vector<GroupTask>& tasks, TaskKind kind)
{
    std::map<std::pair<std::wstring, std::wstring>, std::wstring> registered;  // read once per application
    std::vector<GroupTask> offered;
    for (const GroupTask& task : tasks) {
        const auto application = std::make_pair(task.productName, task.productVersion);
        auto found = registered.find(application);
        if (found == registered.end())
            found = registered.emplace(application, RegisteredTaskType(task.productName, task.productVersion, kind)).first;
        if (IsOffered(task, kind, found->second)) offered.push_back(task);
    }
    return offered;
}

}  // namespace checkupdates
