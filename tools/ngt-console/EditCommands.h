#pragma once

#include <string>
#include <vector>

#include "Session.h"
#include "StoreCommands.h"

// Commands that open a page as the console's property sheet does.
namespace ngt {

// The page's controls as a user sees them. PAGE is an index or a page class.
int ShowPage(Session& session, const std::string& object, const std::string& page, Format format);
// Performs the actions on the page as a user would, then presses OK.
int EditPage(Session& session, const std::string& object, const std::string& page,
             const std::vector<std::string>& actions);
// The export tree of the object's settings.
int ExportObject(Session& session, const std::string& object, Format format);

// One action of "edit": "type:ID=TEXT", "clear:ID", "click:ID", "check:ID",
// "uncheck:ID", "select:ID=TEXT", "answer:yes|no|ok|cancel", "dialog:ID"
// (what follows, up to "end", happens inside the modal dialog ID).
struct UserAction {
    std::string verb;
    int id = 0;
    std::wstring text;
    bool hasText = false;  // "=TEXT" was given
    int answer = 0;
};
// The parsed actions; a localized error naming the first one that is malformed.
std::vector<UserAction> ParseActions(const std::vector<std::string>& actions);

}  // namespace ngt
