#pragma once

#include <functional>
#include <string>
#include <vector>

#include "zrplugin/DataSource.h"

// The group tasks the console keeps for the managed applications, and which
// of them the check updates task may run: update tasks and scan tasks.
namespace checkupdates {

struct GroupTask {
    std::wstring displayName;
    std::wstring storageId;
    std::wstring taskId;
    std::wstring productName;
    std::wstring productVersion;
    std::wstring typeName;
    bool invisible = false;
};

enum class TaskKind { Update, Scan };

// The console's group tasks in its order. A console without the service has
// none; an entry that is no container, or has no storage id, is left out
// (a missing string reads as empty, a missing flag as visible). Raises
// ZRERR::Error when the console cannot give them.
std::vector<GroupTask> ReadGroupTasks(ZRPlugin::IDataSource* dataSource);

// The task type an application registers for its tasks of that kind (values
// "UpdateTaskType" and "ScanTaskType" of the local machine's key
// "Software\BrenvikLab\Components\34\Products\<name>\<version>"); empty when
// it registers none, or a name longer than the 1024 characters a type name
// may have.
std::wstring RegisteredTaskType(const std::wstring& productName, const std::wstring& productVersion, TaskKind kind);

// Whether a selector of that kind offers the task: never when it is
// invisible; otherwise when its type name equals, in any letter case, the
// registered type or one of the kind's usual types.
bool IsOffered(const GroupTask& task, TaskKind kind, const std::wstring& registeredType);

// The tasks a selector of that kind offers, with the types each application registers.
std::vector<GroupTask> OfferedTasks(const std::vector<GroupTask>& tasks, TaskKind kind);

}  // namespace checkupdates
