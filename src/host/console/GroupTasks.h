#pragma once

#include <string>
#include <vector>

#include "host/storage/SettingsStore.h"
#include "zrplugin/GroupTaskControl.h"

// The group tasks of the managed applications that the console stand-in
// keeps in its store (configuration key "group_tasks", a JSON list) and
// serves as "ZRTSK::GroupTaskControl". A store that keeps none yet serves a
// sample set: a few applications, each with update and scan tasks.
namespace host {

struct GroupTask {
    std::wstring displayName;
    std::wstring storageId;  // unique in the store
    std::wstring taskId;
    std::wstring productName;
    std::wstring productVersion;
    std::wstring typeName;
    bool invisible = false;
};

const std::vector<GroupTask>& SampleGroupTasks();

// The tasks the store keeps (the sample set while it keeps none). Raises a
// localized error naming the key when what it keeps is not such a list.
std::vector<GroupTask> ReadGroupTasks(SettingsStore& store);
// Adds a task: a storage id and task id are made up when not given. Raises a
// localized error for a task without a name, product, version or type, or
// with a storage id the store has already. Returns the task as kept.
GroupTask AddGroupTask(SettingsStore& store, GroupTask task);
// Removes the task of that storage id; a localized error when there is none.
void RemoveGroupTask(SettingsStore& store, const std::wstring& storageId);

// The console service over the store: every call reads what the store keeps now.
class GroupTaskControl : public ZRSTD::ZRBaseQIImpl<ZRPlugin::IGroupTaskControl> {
public:
    explicit GroupTaskControl(ZRSTD::CAutoPtr<SettingsStore> store) : m_store(std::move(store)) {}
    void GetGroupTasks(ZRPAR::ArrayValue** ppTasks) override;

private:
    ZRSTD::CAutoPtr<SettingsStore> m_store;
};

}  // namespace host
