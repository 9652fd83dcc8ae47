#pragma once

#include <string>
#include <vector>

#include "Output.h"
#include "Session.h"

// Commands that open a page as the console's property sheet (or, with wizard, its creation wizard) does. PAGE is a
// page's index, its class or its title (any case).
namespace ngt {

// The page's controls as a person sees them, after the actions (no OK):
// a dialog the actions leave open, or open without saying what to do in it,
// is shown too.
int ShowPage(Session& session, const std::string& object, const std::string& page,
             const std::vector<std::string>& actions, Format format, bool wizard = false);
// Performs the actions on the page as a person would, then presses OK.
int EditPage(Session& session, const std::string& object, const std::string& page,
             const std::vector<std::string>& actions, Format format, bool wizard = false);
// The export tree of the object's settings.
int ExportObject(Session& session, const std::string& object, Format format);

}  // namespace ngt
