#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "ui/Win32.h"
#include "zrpar/Params.h"

// The IP intervals a distribution point polls: a subnet (address and mask) or
// a range of addresses. Stored addresses hold the first octet in the lowest
// byte; the address controls and the checks below work on the host form,
// first octet in the highest byte.
namespace ipscan {

// An interval container.
inline constexpr const wchar_t* kIsSubnetKey = L"ZRDPNS_IL_ISSUBNET";
inline constexpr const wchar_t* kMaskOrLowKey = L"ZRDPNS_IL_MASKORLOW";
inline constexpr const wchar_t* kSubnetOrHighKey = L"ZRDPNS_IL_SUBNETORHI";
// A range container: its intervals and its polling flag.
inline constexpr const wchar_t* kScanEnabledKey = L"ZRDPNS_ScanEnabled";
inline constexpr const wchar_t* kIntervalsKey = L"ZRDPNS_ILS";

// Messages of the interval checks.
inline constexpr UINT kBadMask = 1917, kEmptyMask = 1918, kEmptySubnet = 1919, kSameEnds = 1920, kBadRange = 2514;

// An interval as stored.
struct IpInterval {
    bool subnet = false;
    std::uint32_t maskOrLow = 0;     // the mask, or the lowest address
    std::uint32_t subnetOrHigh = 0;  // the subnet address, or the highest address
};

// What is wrong with the interval the dialog shows (first: the subnet or
// start address; second: the mask or end address; host form): 0, or the
// message naming it.
UINT IntervalProblem(bool subnet, std::uint32_t first, std::uint32_t second);

// The interval to store for what the dialog shows: a range's ends are put
// in order (compared as unsigned host-form numbers).
IpInterval IntervalFromHostForm(bool subnet, std::uint32_t first, std::uint32_t second);
// The dialog's first and second fields (host form) for a stored interval.
std::uint32_t FirstField(const IpInterval& interval);
std::uint32_t SecondField(const IpInterval& interval);

// A stored interval, or nothing when the element is no container or a key
// is absent or of another type.
std::optional<IpInterval> ReadInterval(const ZRPAR::Value* element);
ZRSTD::CAutoPtr<ZRPAR::Params> IntervalContainer(const IpInterval& interval);

// "Маска подсети: 255.255.255.0; адрес: 192.168.1.0" or "10.0.0.1 - 10.0.0.9".
std::wstring IntervalText(const IpInterval& interval);

}  // namespace ipscan
