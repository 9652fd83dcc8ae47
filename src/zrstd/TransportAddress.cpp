#include "zrstd/TransportAddress.h"

#include <arpa/inet.h>

#include <cwctype>

#include "zrstd/Error.h"
#include "zrstd/Strings.h"

namespace ZRTR {

namespace {

constexpr long kMalformedAddress = 1;
constexpr std::size_t kMaxLabel = 63, kMaxName = 253;

std::uint16_t ParsePort(std::wstring_view text, std::wstring_view address)
{
    if (text.empty() || text.size() > 5)
        ZRERR_throwError("ZRTR", kMalformedAddress, L"bad port \"%s\" in address \"%s\"", std::wstring(text),
                         std::wstring(address));
    std::uint32_t port = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9')
            ZRERR_throwError("ZRTR", kMalformedAddress, L"bad port \"%s\" in address \"%s\"", std::wstring(text),
                             std::wstring(address));
        port = port * 10 + static_cast<std::uint32_t>(c - L'0');
    }
    if (port < 1 || port > 65535)
        ZRERR_throwError("ZRTR", kMalformedAddress, L"port %u out of range in address \"%s\"", port,
                         std::wstring(address));
    return static_cast<std::uint16_t>(port);
}

std::vector<std::uint16_t> ParsePorts(std::wstring_view list, std::wstring_view address)
{
    std::vector<std::uint16_t> ports;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = list.find(L',', start);
        ports.push_back(ParsePort(list.substr(start, comma - start), address));
        if (comma == std::wstring_view::npos) return ports;
        start = comma + 1;
    }
}

bool IsIpLiteral(std::wstring_view host, int family)
{
    if (host.size() > 64) return false;
    std::string narrow;
    for (wchar_t c : host) {
        if (c > 0x7F) return false;
        narrow += static_cast<char>(c);
    }
    unsigned char buffer[16];
    return inet_pton(family, narrow.c_str(), buffer) == 1;
}

bool IsDnsName(std::wstring_view host)
{
    if (!host.empty() && host.back() == L'.') host.remove_suffix(1);  // a fully qualified name
    if (host.empty() || host.size() > kMaxName) return false;
    bool lastAllDigits = false;
    std::size_t start = 0;
    while (true) {
        const std::size_t dot = host.find(L'.', start);
        const std::wstring_view label = host.substr(start, dot == std::wstring_view::npos ? dot : dot - start);
        if (label.empty() || label.size() > kMaxLabel || label.front() == L'-' || label.back() == L'-') return false;
        lastAllDigits = true;
        for (wchar_t c : label) {
            if (!(c < 0x80 && (std::iswalnum(c) || c == L'-' || c == L'_'))) return false;
            lastAllDigits = lastAllDigits && std::iswdigit(c);
        }
        if (dot == std::wstring_view::npos) break;
        start = dot + 1;
    }
    // "300.1.1.1" is a bad IPv4 address, not a name
    return !lastAllDigits || host.find(L'.') == std::wstring_view::npos;
}

}  // namespace

SplitAddressResult ZRTR_SplitAddress(std::wstring_view address)
{
    SplitAddressResult result;
    std::wstring_view rest;
    if (!address.empty() && address.front() == L'[') {
        const std::size_t close = address.find(L']');
        if (close == std::wstring_view::npos)
            ZRERR_throwError("ZRTR", kMalformedAddress, L"unclosed bracket in address \"%s\"", std::wstring(address));
        result.host = address.substr(1, close - 1);
        rest = address.substr(close + 1);
        if (!rest.empty() && rest.front() != L':')
            ZRERR_throwError("ZRTR", kMalformedAddress, L"text after the host in address \"%s\"", std::wstring(address));
    } else {
        // an unbracketed host with more than one ":" is an IPv6 address without ports
        const std::size_t colon = address.find(L':');
        const bool ipv6 = colon != std::wstring_view::npos && address.find(L':', colon + 1) != std::wstring_view::npos;
        result.host = ipv6 ? address : address.substr(0, colon);
        rest = ipv6 || colon == std::wstring_view::npos ? std::wstring_view() : address.substr(colon);
    }
    if (result.host.empty())
        ZRERR_throwError("ZRTR", kMalformedAddress, L"no host in address \"%s\"", std::wstring(address));
    if (!rest.empty()) result.ports = ParsePorts(rest.substr(1), address);
    return result;
}

bool IsValidHost(std::wstring_view host)
{
    return IsIpLiteral(host, AF_INET) || IsIpLiteral(host, AF_INET6) || IsDnsName(host);
}

}  // namespace ZRTR
