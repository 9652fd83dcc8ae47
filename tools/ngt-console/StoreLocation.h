#pragma once

#include <string>

namespace ngt {

// --store LOCATION, else $NGT_CONSOLE_STORE, else console.db under the user's
// data directory ($XDG_DATA_HOME/ngt-console, or ~/.local/share/ngt-console).
// A location is an SQLite file or a postgresql:// URI (SettingsStore::Open).
std::string ResolveStorePath(const std::string& option);
// Whether that is the default store, whose folder is made when missing.
bool IsDefaultStore(const std::string& option);

}  // namespace ngt
