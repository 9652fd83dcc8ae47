#include "plugin/pages/dpoint/IpInterval.h"

#include <algorithm>

#include "controls/TextFormats.h"
#include "plugin/pages/agent/NLARule.h"
#include "ui/Resources.h"
#include "zrstd/Format.h"

namespace ipscan {

namespace {

constexpr UINT kSubnetText = 2297, kRangeText = 2298;
constexpr std::uint32_t kAllOnes = 0xFFFFFFFFu;

const ZRPAR::Value* Typed(const ZRPAR::Params& params, const wchar_t* key, ZRPAR::ValueType type)
{
    const ZRPAR::Value* value = params.FindValue(key);
    return value && value->GetType() == type ? value : nullptr;
}

}  // namespace

UINT IntervalProblem(bool subnet, std::uint32_t first, std::uint32_t second)
{
    // the subnet checks are the location rules' own
    if (subnet) return nla::SubnetProblem(first, second);
    if (first == kAllOnes || second == kAllOnes || (first == 0 && second == 0)) return kBadRange;
    if (first == second) return kSameEnds;
    return 0;
}

IpInterval IntervalFromHostForm(bool subnet, std::uint32_t first, std::uint32_t second)
{
    if (subnet) return {true, nla::ReverseBytes(second), nla::ReverseBytes(first)};
    return {false, nla::ReverseBytes(std::min(first, second)), nla::ReverseBytes(std::max(first, second))};
}

std::uint32_t FirstField(const IpInterval& interval)
{
    return nla::ReverseBytes(interval.subnet ? interval.subnetOrHigh : interval.maskOrLow);
}

std::uint32_t SecondField(const IpInterval& interval)
{
    return nla::ReverseBytes(interval.subnet ? interval.maskOrLow : interval.subnetOrHigh);
}

std::optional<IpInterval> ReadInterval(const ZRPAR::Value* element)
{
    const ZRPAR::Params* params = nla::AsParams(element);
    if (!params) return std::nullopt;
    const auto* subnet = Typed(*params, kIsSubnetKey, ZRPAR::VT_BOOL);
    const auto* low = Typed(*params, kMaskOrLowKey, ZRPAR::VT_INT);
    const auto* high = Typed(*params, kSubnetOrHighKey, ZRPAR::VT_INT);
    if (!subnet || !low || !high) return std::nullopt;
    return IpInterval{static_cast<const ZRPAR::BoolValue*>(subnet)->GetValue(),
                      static_cast<std::uint32_t>(static_cast<const ZRPAR::IntValue*>(low)->GetValue()),
                      static_cast<std::uint32_t>(static_cast<const ZRPAR::IntValue*>(high)->GetValue())};
}

ZRSTD::CAutoPtr<ZRPAR::Params> IntervalContainer(const IpInterval& interval)
{
    return ZRPAR::CreateParamsBody({{kIsSubnetKey, interval.subnet},
                                    {kMaskOrLowKey, static_cast<std::int32_t>(interval.maskOrLow)},
                                    {kSubnetOrHighKey, static_cast<std::int32_t>(interval.subnetOrHigh)}});
}

std::wstring IntervalText(const IpInterval& interval)
{
    const std::wstring low = textformat::FormatStoredIpv4(interval.maskOrLow);
    const std::wstring high = textformat::FormatStoredIpv4(interval.subnetOrHigh);
    return ZRSTD::FormatInsert(ui::LoadStringW(interval.subnet ? kSubnetText : kRangeText), {low, high});
}

}  // namespace ipscan
