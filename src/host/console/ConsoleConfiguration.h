#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/storage/SettingsStore.h"

// How the console stand-in's services behave, kept per store so that every
// branch of the plug-in can be reached: which server version it reports,
// which functional areas it has, whether the administrator may use network
// access control, and the product mode.
namespace host {

struct ConsoleConfiguration {
    std::int32_t serverVersionId = 0xA5000;  // "server_version"
    std::int32_t functionality = 0;          // "functionality": the CUSTOM_FUNCTIONALITY mask
    bool nacAllowed = true;                  // "nac_allowed": FUNC_AREA_NAC passes the access check
    std::uint32_t productMode = 0;           // "product_mode": the maker's product mode mask
    bool forcedConnection = true;            // "forced_connection": limit item 100 of the licence
    bool proxyDetection = true;              // "proxy_detection": node property 9, packages may detect their proxy
    std::int32_t contextKind = 4;            // "context_kind": the console node's context kind (its property 12)

    // Values the store does not hold keep their defaults; a stored value
    // that is not a number raises a localized error naming the key.
    static ConsoleConfiguration Read(SettingsStore& store);
};

struct ConfigurationKey {
    const char* key;
    const char* meaning;
};
const std::vector<ConfigurationKey>& ConfigurationKeys();
// Checks and stores one value (decimal or 0x hexadecimal; nac_allowed 0 or 1).
void WriteConfiguration(SettingsStore& store, const std::string& key, const std::string& value);
// The stored (or default) value of every key, as text.
std::vector<std::pair<std::string, std::string>> DescribeConfiguration(SettingsStore& store);

}  // namespace host
