#include "GroupTaskCommands.h"

#include "zrstd/Strings.h"

namespace ngt {

namespace {

using ZRSTD::ToUtf8;

nlohmann::json Describe(const host::GroupTask& task)
{
    return {{"name", ToUtf8(task.displayName)},        {"storage_id", ToUtf8(task.storageId)},
            {"task_id", ToUtf8(task.taskId)},           {"product", ToUtf8(task.productName)},
            {"version", ToUtf8(task.productVersion)}, {"type", ToUtf8(task.typeName)},
            {"invisible", task.invisible}};
}

void PrintTask(const host::GroupTask& task)
{
    std::cout << ToUtf8(task.storageId) << "  \"" << ToUtf8(task.displayName) << "\"  " << ToUtf8(task.productName) << " "
              << ToUtf8(task.productVersion) << "  type " << ToUtf8(task.typeName) << "  id " << ToUtf8(task.taskId)
              << (task.invisible ? "  (invisible)" : "") << "\n";
}

}  // namespace

int ListGroupTasks(Session& session, Format format)
{
    const auto tasks = host::ReadGroupTasks(session.Store());
    if (format == Format::Json) {
        nlohmann::json list = nlohmann::json::array();
        for (const auto& task : tasks) list.push_back(Describe(task));
        PrintJson(list);
        return 0;
    }
    for (const auto& task : tasks) PrintTask(task);
    return 0;
}

int AddGroupTask(Session& session, const host::GroupTask& task, Format format)
{
    const host::GroupTask added = host::AddGroupTask(session.Store(true), task);
    if (format == Format::Json) PrintJson(Describe(added));
    else std::cout << "added group task " << ToUtf8(added.storageId) << "\n";
    return 0;
}

int RemoveGroupTask(Session& session, const std::string& storageId, Format format)
{
    host::RemoveGroupTask(session.Store(true), ZRSTD::FromUtf8(storageId));
    if (format == Format::Json) PrintJson({{"removed", storageId}});
    else std::cout << "removed group task " << storageId << "\n";
    return 0;
}

}  // namespace ngt
