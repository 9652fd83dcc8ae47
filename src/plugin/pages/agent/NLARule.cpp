#include "plugin/pages/agent/NLARule.h"

#include "controls/TextFormats.h"
#include "ui/Resources.h"
#include "zrstd/Format.h"
#include "zrstd/Strings.h"

namespace nla {

namespace {

constexpr UINT kCertificateSet = 2561, kCertificateNotSet = 2562, kSslValueFormat = 2442;

}  // namespace

const std::array<ConditionType, kConditionTypeCount>& ConditionTypes()
{
    using F = ValueForm;
    static const std::array<ConditionType, kConditionTypeCount> types = {{
        {0, L"ZRNLA_SUBNET", 2094, 0, 5858, 5859, 2525, 12000, F::Subnet},
        {1, L"ZRNLA_DNSDOMAIN", 2095, 2145, 5860, 5861, 2522, 12001, F::Text},
        {2, L"ZRNLA_DNS_SERVER", 2098, 2146, 5862, 5863, 2523, 12002, F::Address},
        {3, L"ZRNLA_WINS_SERVER", 2099, 2147, 5864, 5865, 2526, 12003, F::Address},
        {4, L"ZRNLA_DEF_GATEWAY", 2096, 2148, 5866, 5867, 2520, 12004, F::Address},
        {5, L"ZRNLA_DHCP_SERVER", 2097, 2149, 5868, 5869, 2521, 12005, F::Address},
        {6, L"ZRNLA_IN_DOMAIN", 2100, 2104, 5870, 5871, 2524, 12006, F::YesNo},
        {7, L"ZRNLA_DNS_RESOLVE", 2386, 2387, 5872, 5873, 2527, 12007, F::Text},
        {8, L"ZRNLA_SSL_AVAILABLE", 2560, 2206, 5874, 5875, 2415, 12008, F::Ssl},
    }};
    return types;
}

const std::array<int, kConditionTypeCount>& MenuOrder()
{
    // gateway, DHCP, DNS domain, DNS server, Windows domain, subnet, WINS, name resolution, SSL address
    static const std::array<int, kConditionTypeCount> order = {4, 5, 1, 2, 6, 0, 3, 7, 8};
    return order;
}

bool HasCondition(const ZRPAR::Params& rule, const ConditionType& type)
{
    const ZRPAR::Value* entry = rule.FindValue(type.key);
    if (!entry) return false;
    if (type.form == ValueForm::YesNo) return true;
    const ZRPAR::Params* condition = AsParams(entry);
    const ZRPAR::Value* values = condition ? condition->FindValue(kValuesKey) : nullptr;
    return values && values->GetType() == ZRPAR::VT_ARRAY && static_cast<const ZRPAR::ArrayValue*>(values)->GetSize() > 0;
}

std::uint32_t ReverseBytes(std::uint32_t value)
{
    return (value >> 24) | ((value >> 8) & 0xFF00u) | ((value << 8) & 0xFF0000u) | (value << 24);
}

UINT SubnetProblem(std::uint32_t address, std::uint32_t mask)
{
    if (address == 0) return 1919;
    if (mask == 0) return 1918;
    const std::uint32_t hostBits = ~mask;  // a mask is ones from bit 31 down: its complement is ones from bit 0 up
    if ((mask & 1u) || (hostBits & (hostBits + 1u)) != 0 || (address & mask) != address) return 1917;
    return 0;
}

std::wstring ForbiddenCharactersText()
{
    std::wstring text;
    for (wchar_t c : kForbiddenNameCharacters) {
        if (!text.empty()) text += L' ';
        text += c;
    }
    return text;
}

UINT RuleNameProblem(std::wstring_view name)
{
    if (name.empty()) return 5851;
    if (name.size() > kMaxRuleNameLength) return 5853;
    if (name.find_first_of(kForbiddenNameCharacters) != std::wstring_view::npos) return 5852;
    return 0;
}

bool SameName(std::wstring_view a, std::wstring_view b) { return ZRSTD::CompareNoCase(a, b) == 0; }

ZRPAR::Params* AsParams(const ZRPAR::Value* value)
{
    return value && value->GetType() == ZRPAR::VT_PARAMS ? static_cast<const ZRPAR::ParamsValue*>(value)->GetValue()
                                                         : nullptr;
}

std::wstring StringOf(const ZRPAR::Params* params, const wchar_t* key, const std::wstring& fallback)
{
    const ZRPAR::Value* value = params ? params->FindValue(key) : nullptr;
    return value && value->GetType() == ZRPAR::VT_STRING ? static_cast<const ZRPAR::StringValue*>(value)->GetValue()
                                                          : fallback;
}

bool BoolOf(const ZRPAR::Params* params, const wchar_t* key, bool fallback)
{
    const ZRPAR::Value* value = params ? params->FindValue(key) : nullptr;
    return value && value->GetType() == ZRPAR::VT_BOOL ? static_cast<const ZRPAR::BoolValue*>(value)->GetValue()
                                                        : fallback;
}

std::vector<ProfileEntry> ProfileEntries(const ZRPAR::ArrayValue* profiles)
{
    std::vector<ProfileEntry> entries;
    for (std::size_t i = 0; profiles && i < profiles->GetSize(); ++i) {
        const ZRPAR::Params* profile = AsParams(profiles->ItemAt(i));
        entries.push_back({StringOf(profile, kProfileIdKey), StringOf(profile, kProfileNameKey)});
    }
    return entries;
}

std::wstring ProfileNameFor(const std::wstring& id, const std::vector<ProfileEntry>& profiles)
{
    if (id == kOfflineProfileId) return ui::LoadStringW(kOfflineText);
    if (id == kHomeServerProfileId) return ui::LoadStringW(kHomeServerText);
    if (!id.empty())
        for (const auto& profile : profiles)
            if (profile.id == id) return profile.name;
    return ui::LoadStringW(kMissingProfileText);
}

std::wstring ValueText(const ConditionType& type, const ZRPAR::Value* value)
{
    switch (type.form) {
    case ValueForm::Text:
        return value && value->GetType() == ZRPAR::VT_STRING ? static_cast<const ZRPAR::StringValue*>(value)->GetValue()
                                                              : L"";
    case ValueForm::Address:
        return value && value->GetType() == ZRPAR::VT_INT
                   ? textformat::FormatStoredIpv4(
                         static_cast<std::uint32_t>(static_cast<const ZRPAR::IntValue*>(value)->GetValue()))
                   : L"";
    case ValueForm::Ssl: {
        const ZRPAR::Params* ssl = AsParams(value);
        if (!ssl) return L"";
        const ZRPAR::Value* certificate = ssl->FindValue(kSslCertificateKey);
        const bool set = certificate && certificate->GetType() == ZRPAR::VT_BINARY &&
                         static_cast<const ZRPAR::BinaryValue*>(certificate)->GetDataSize() > 0;
        return ZRSTD::FormatW(ui::LoadStringW(kSslValueFormat), StringOf(ssl, kSslLocationKey),
                              ui::LoadStringW(set ? kCertificateSet : kCertificateNotSet));
    }
    case ValueForm::Subnet: {
        const ZRPAR::Params* subnet = AsParams(value);
        auto part = [&](const wchar_t* key) -> std::wstring {
            const ZRPAR::Value* number = subnet ? subnet->FindValue(key) : nullptr;
            return number && number->GetType() == ZRPAR::VT_INT
                       ? textformat::FormatStoredIpv4(
                             static_cast<std::uint32_t>(static_cast<const ZRPAR::IntValue*>(number)->GetValue()))
                       : L"";
        };
        return subnet ? part(kSubnetAddressKey) + L"/" + part(kSubnetMaskKey) : L"";
    }
    case ValueForm::YesNo: return L"";
    }
    return L"";
}

}  // namespace nla
