#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "host/storage/SettingsStore.h"

// Moving a console's settings from one store to another (an SQLite file to a
// PostgreSQL database and back).
namespace host {

struct StoreCopyCounts {
    std::size_t objects = 0;
    std::size_t catalogueEntries = 0;
    std::size_t sections = 0;
    std::size_t configurationValues = 0;
};

// Copies every catalogue entry, section (with its contents) and
// configuration value of from into to, in one transaction of to: all of it
// lands or none. What to held before stays unless it is overwritten; clear it
// first for an exact copy.
StoreCopyCounts CopySettingsStore(SettingsStore& from, SettingsStore& to);

// How the two stores differ, one line per difference (at most limit of
// them): objects, catalogue entries, sections and their contents,
// configuration values. Empty when they hold the same.
std::vector<std::string> CompareSettingsStores(SettingsStore& from, SettingsStore& to, std::size_t limit = 20);

}  // namespace host
