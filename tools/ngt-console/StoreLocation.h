#pragma once

#include <string>

namespace ngt {

// --store FILE, else $NGT_CONSOLE_STORE, else console.db under the user's data
// directory ($XDG_DATA_HOME/ngt-console, or ~/.local/share/ngt-console).
std::string ResolveStorePath(const std::string& option);

}  // namespace ngt
