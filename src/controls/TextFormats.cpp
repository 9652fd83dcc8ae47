#include "controls/TextFormats.h"

#include "controls/PluginEnvironment.h"
#include "zrstd/Format.h"
#include "zrstd/Strings.h"

namespace textformat {

std::wstring FormatStoredIpv4(std::uint32_t stored)
{
    return ZRSTD::FormatW(L"%d.%d.%d.%d", stored & 0xFF, (stored >> 8) & 0xFF, (stored >> 16) & 0xFF, stored >> 24);
}

std::wstring FormatIpv4(const Ipv4Address& address)
{
    if (!address.valid) return {};
    const std::uint32_t v = address.value;
    return ZRSTD::FormatW(L"%u.%u.%u.%u", v >> 24, (v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

namespace {
std::uint32_t Reversed(std::uint32_t v)
{
    return (v >> 24) | ((v >> 8) & 0xFF00) | ((v << 8) & 0xFF0000) | (v << 24);
}
}  // namespace

std::uint32_t ToStoredIpv4(const Ipv4Address& address) { return address.valid ? Reversed(address.value) : 0; }
Ipv4Address FromStoredIpv4(std::uint32_t stored) { return Ipv4Address{Reversed(stored), true}; }

std::optional<std::uint8_t> ParseIpv4Part(std::wstring_view text)
{
    // no sign, no spaces: a part is nothing but digits (leading zeros allowed)
    if (text.empty()) return std::nullopt;
    unsigned value = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9') return std::nullopt;
        value = value * 10 + static_cast<unsigned>(c - L'0');
        if (value > 255) return std::nullopt;  // stops before it could overflow
    }
    return static_cast<std::uint8_t>(value);
}

std::optional<Ipv4Address> ParseIpv4(std::wstring_view text)
{
    std::uint32_t value = 0;
    for (int part = 0; part < 4; ++part) {
        const std::size_t dot = text.find(L'.');
        if ((part < 3) == (dot == std::wstring_view::npos)) return std::nullopt;  // exactly three dots
        const auto parsed = ParseIpv4Part(text.substr(0, dot));
        if (!parsed) return std::nullopt;
        value = (value << 8) | *parsed;
        text = dot == std::wstring_view::npos ? std::wstring_view() : text.substr(dot + 1);
    }
    return Ipv4Address{value, true};
}

std::wstring FormatEndpoint(const Endpoint& endpoint)
{
    if (!endpoint.valid) return {};
    return ZRSTD::FormatW(L"%s%s:%u", endpoint.prefix, endpoint.host, endpoint.port);
}

std::wstring FormatByteCount(std::uint64_t bytes)
{
    PluginStateScope scope;
    if (bytes >= 1048576u)
        return ZRSTD::FormatW(L"%.1f %s", static_cast<double>(bytes) / 1048576.0, ui::LoadStringW(kMegabyteUnitString));
    if (bytes >= 1024u)
        return ZRSTD::FormatW(L"%.1f %s", static_cast<double>(bytes) / 1024.0, ui::LoadStringW(kKilobyteUnitString));
    return ZRSTD::FormatW(L"%I64u %s", bytes, ui::LoadStringW(kByteUnitString));
}

std::wstring EscapeHtml(std::wstring_view text)
{
    // the ampersand first, so that the entities written after it stay as they are
    std::wstring escaped = ZRSTD::ReplaceAll(text, L"&", L"&amp;");
    escaped = ZRSTD::ReplaceAll(escaped, L"<", L"&lt;");
    escaped = ZRSTD::ReplaceAll(escaped, L">", L"&gt;");
    return ZRSTD::ReplaceAll(escaped, L"\"", L"&quot;");
}

}  // namespace textformat
