#include "host/console/ConsoleConfiguration.h"

#include <charconv>

#include "zrstd/Format.h"
#include "zrstd/Strings.h"

namespace host {

namespace {

constexpr const char* kModule = "NGTCONSOLE";
constexpr long kBadConfiguration = 3;

std::optional<std::int64_t> ParseNumber(const std::string& text)
{
    if (text.empty()) return std::nullopt;
    int base = 10;
    std::string_view digits = text;
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        base = 16;
        digits.remove_prefix(2);
    }
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
    if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
    return value;
}

std::int64_t Checked(const std::string& key, const std::string& text, std::int64_t low, std::int64_t high)
{
    const auto value = ParseNumber(text);
    if (!value || *value < low || *value > high)
        ZRERR_throwLocalizedError(kModule, kBadConfiguration,
                                  ZRSTD::FormatW(L"\"%hs\" is not a valid value of %hs (a number from %lld to %lld)",
                                                 text, key, static_cast<long long>(low), static_cast<long long>(high)));
    return *value;
}

std::string Stored(SettingsStore& store, const char* key, const std::string& fallback)
{
    const auto value = store.GetConfig(ZRSTD::FromUtf8(key));
    return value ? ZRSTD::ToUtf8(*value) : fallback;
}

std::string Hex(std::uint32_t value) { return ZRSTD::ToUtf8(ZRSTD::FormatW(L"0x%X", value)); }

}  // namespace

const std::vector<ConfigurationKey>& ConfigurationKeys()
{
    static const std::vector<ConfigurationKey> keys = {
        {"server_version", "the administration server's version id (e.g. 0xA5000)"},
        {"functionality", "the mask of optional functional areas; 0x44 has network access control"},
        {"nac_allowed", "1 when the administrator may use network access control, else 0"},
        {"product_mode", "the product mode mask; bit 0x2 turns off real-time vulnerability assessment"},
        {"forced_connection", "1 when the licence lets agents force their connection through update agents, else 0"},
        {"proxy_detection", "1 when the console's node offers installation packages automatic proxy detection "
                            "(node property 9), else 0"},
        {"context_kind", "the context kind of the console node the object is opened from (4; 2 hides the "
                         "connection profiles)"},
    };
    return keys;
}

ConsoleConfiguration ConsoleConfiguration::Read(SettingsStore& store)
{
    ConsoleConfiguration configuration;
    configuration.serverVersionId = static_cast<std::int32_t>(
        Checked("server_version", Stored(store, "server_version", Hex(configuration.serverVersionId)), INT32_MIN, INT32_MAX));
    configuration.functionality = static_cast<std::int32_t>(
        Checked("functionality", Stored(store, "functionality", "0"), INT32_MIN, UINT32_MAX));
    configuration.nacAllowed = Checked("nac_allowed", Stored(store, "nac_allowed", "1"), 0, 1) == 1;
    configuration.forcedConnection = Checked("forced_connection", Stored(store, "forced_connection", "1"), 0, 1) == 1;
    configuration.proxyDetection = Checked("proxy_detection", Stored(store, "proxy_detection", "1"), 0, 1) == 1;
    configuration.contextKind =
        static_cast<std::int32_t>(Checked("context_kind", Stored(store, "context_kind", "4"), INT32_MIN, INT32_MAX));
    configuration.productMode =
        static_cast<std::uint32_t>(Checked("product_mode", Stored(store, "product_mode", "0"), 0, UINT32_MAX));
    return configuration;
}

void WriteConfiguration(SettingsStore& store, const std::string& key, const std::string& value)
{
    bool known = false;
    for (const auto& entry : ConfigurationKeys()) known = known || key == entry.key;
    if (!known)
        ZRERR_throwLocalizedError(kModule, kBadConfiguration,
                                  ZRSTD::FormatW(L"unknown configuration key \"%hs\" (keys: server_version, "
                                                 L"functionality, nac_allowed, product_mode, forced_connection, "
                                                 L"proxy_detection, context_kind)",
                                                 key));
    if (key == "nac_allowed" || key == "forced_connection" || key == "proxy_detection") Checked(key, value, 0, 1);
    else if (key == "server_version" || key == "context_kind") Checked(key, value, INT32_MIN, INT32_MAX);
    else Checked(key, value, 0, UINT32_MAX);
    store.SetConfig(ZRSTD::FromUtf8(key), ZRSTD::FromUtf8(value));
}

std::vector<std::pair<std::string, std::string>> DescribeConfiguration(SettingsStore& store)
{
    const ConsoleConfiguration configuration = ConsoleConfiguration::Read(store);
    return {
        {"server_version", Hex(static_cast<std::uint32_t>(configuration.serverVersionId))},
        {"functionality", Hex(static_cast<std::uint32_t>(configuration.functionality))},
        {"nac_allowed", configuration.nacAllowed ? "1" : "0"},
        {"product_mode", Hex(configuration.productMode)},
        {"forced_connection", configuration.forcedConnection ? "1" : "0"},
        {"proxy_detection", configuration.proxyDetection ? "1" : "0"},
        {"context_kind", std::to_string(configuration.contextKind)},
    };
}

}  // namespace host
