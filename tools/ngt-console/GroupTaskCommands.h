#pragma once

#include <string>

#include "Output.h"
#include "Session.h"
#include "host/console/GroupTasks.h"

// "grouptasks": the group tasks of the managed applications the console
// offers to the check updates task, listed, added and removed.
namespace ngt {

int ListGroupTasks(Session& session, Format format);
int AddGroupTask(Session& session, const host::GroupTask& task, Format format);
int RemoveGroupTask(Session& session, const std::string& storageId, Format format);

}  // namespace ngt
