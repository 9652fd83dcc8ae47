#pragma once

#include "Output.h"
#include "Session.h"

namespace ngt {

// Lists the update components the store's administration server offers the
// update task's contents dialog.
int ListUpdateComponents(Session& session, Format format);

}  // namespace ngt
