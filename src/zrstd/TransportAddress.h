#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "zrstd/Api.h"

// The transport library's address form: "host", "host:port" or
// "host:port,port,..."; an IPv6 host is written in brackets ("[::1]:13000").
namespace ZRTR {

struct SplitAddressResult {
    std::wstring host;                // without brackets
    std::vector<std::uint16_t> ports;  // in the order written; empty when none
};

// Splits an address into its host and ports. Raises a ZRTR error (code 1)
// naming the problem for an empty host, an unclosed bracket, text after a
// bracketed host that is not a port list, or a port that is not a decimal
// number from 1 to 65535.
ZR_API SplitAddressResult ZRTR_SplitAddress(std::wstring_view address);

// A host the transport can reach: a dotted IPv4 address, an IPv6 address, or
// a DNS name (labels of letters, digits, "-" and "_", at most 63 characters
// each and 253 in all, none starting or ending with "-").
ZR_API bool IsValidHost(std::wstring_view host);

}  // namespace ZRTR
