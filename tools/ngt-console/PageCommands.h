#pragma once

#include <string>

#include "Session.h"
#include "StoreCommands.h"

// Commands that ask the plug-in about pages, their grouping, the taskpad and events.
namespace ngt {

int ListPages(Session& session, const std::string& object, bool wizard, Format format);
int ShowGroups(Session& session, const std::string& object, Format format);
int ShowTaskpad(Session& session, Format format);
int ListEvents(Session& session, Format format);
// The main job: the store's objects and the sample policy's pages in their groups.
int ShowOverview(Session& session);

}  // namespace ngt
