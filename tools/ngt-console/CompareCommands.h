#pragma once

#include <string>

#include "Output.h"
#include "Session.h"

// Commands that compare settings and explain a computer's.
namespace ngt {

// The settings of two objects compared path by path (page title, group,
// label): exit 0 when equal, 1 when they differ. Policies, tasks of one type,
// packages, distribution points and boot-server connections compare their
// export trees; computers compare what their pages show (two computers, or a
// computer and a policy).
int DiffObjects(Session& session, const std::string& first, const std::string& second, Format format);
// For every setting a computer's pages show: its own value, its policy's
// value, and whether the policy enforces it; enforced values the computer
// holds otherwise are flagged.
int ExplainEffective(Session& session, const std::string& computer, Format format);

}  // namespace ngt
