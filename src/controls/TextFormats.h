#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The text forms pages share for addresses, endpoints, sizes and generated HTML.
namespace textformat {

// A stored IPv4 address: a 32-bit integer whose lowest byte is the first part.
// Written "%d.%d.%d.%d" from the lowest byte to the highest.
std::wstring FormatStoredIpv4(std::uint32_t stored);

// An IPv4 address as edit controls hold it: the highest byte is the first part.
struct Ipv4Address {
    std::uint32_t value = 0;
    bool valid = false;
};
// "%u.%u.%u.%u" from the highest byte to the lowest; empty when not valid.
std::wstring FormatIpv4(const Ipv4Address& address);
// The stored form: the four bytes reversed; 0 when not valid.
std::uint32_t ToStoredIpv4(const Ipv4Address& address);
Ipv4Address FromStoredIpv4(std::uint32_t stored);

// One part of an address: decimal digits only, all of them used, below 256.
std::optional<std::uint8_t> ParseIpv4Part(std::wstring_view text);
// Four parts separated by dots, in the edit controls' order (first part highest).
std::optional<Ipv4Address> ParseIpv4(std::wstring_view text);

struct Endpoint {
    std::wstring prefix;  // e.g. a scheme
    std::wstring host;
    std::uint32_t port = 0;
    bool valid = false;
};
// "%s%s:%u" (prefix, host, port); empty when not valid.
std::wstring FormatEndpoint(const Endpoint& endpoint);

// The unit texts of byte counts: megabytes, kilobytes, bytes.
inline constexpr unsigned kMegabyteUnitString = 9001, kKilobyteUnitString = 9002, kByteUnitString = 9003;
// "%.1f MB" from 1048576 bytes on, "%.1f KB" from 1024, else the whole count
// with the byte unit; the units are the plug-in's strings.
std::wstring FormatByteCount(std::uint64_t bytes);

// Text put into generated HTML: & < > and the double quote as entities.
std::wstring EscapeHtml(std::wstring_view text);

}  // namespace textformat
