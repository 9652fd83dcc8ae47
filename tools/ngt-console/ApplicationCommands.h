#pragma once

#include <string>

#include "Output.h"
#include "Session.h"

// The applications registered on the administrator's computer, which the
// application start and stop task offers. Each command returns the exit code.
namespace ngt {

int ListApplications(Session& session, Format format);
// control: "start", "stop" or "both".
int AddApplication(Session& session, const std::string& name, const std::string& version,
                   const std::string& displayName, const std::string& control, Format format);
int RemoveApplication(Session& session, const std::string& name, const std::string& version, Format format);

}  // namespace ngt
