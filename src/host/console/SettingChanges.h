#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "zrpar/Params.h"

// What changed between two readings of an object's settings, setting by
// setting, as a console reports an edit. Values are shown as JSON (secrets
// hidden, byte blocks as base64); the policy form's wrappers are read
// through: a setting's value is named by its key, its lock as "KEY (lock)".
namespace host {

struct SettingChange {
    std::wstring section;  // e.g. "86"
    std::wstring setting;  // e.g. "UseSsl", "Nested/Key", "UseSsl (lock)"
    nlohmann::json before;  // null when the setting was absent
    nlohmann::json after;   // null when it is gone
};

// before and after hold the product level of an object ("1103": versions,
// then sections), as the storage reads it.
std::vector<SettingChange> SettingChanges(const ZRPAR::Params* before, const ZRPAR::Params* after);

}  // namespace host
