#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ui/Win32.h"
#include "zrpar/Params.h"

// Network location rules: which connection profile the agent switches to
// when the computer's network environment meets a rule's conditions. This
// is the stored form of rules, conditions and profiles, and the fixed table
// of the nine condition types that the rule page and its editors share.
namespace nla {

// The section that holds profiles, rules and the roaming flag (where the
// defaults of a new policy put it, enforced).
inline constexpr const wchar_t* kSection = L"ZRNAG_ZRNLA_DATA";
inline constexpr const wchar_t* kProfilesKey = L"ZRNLA_PROFILES";
inline constexpr const wchar_t* kRulesKey = L"ZRNLA_LOCATIONS";
inline constexpr const wchar_t* kRoamingKey = L"ZRNAG_NLA_ROAMING_IF_UNAVAIL";

// A profile.
inline constexpr const wchar_t* kProfileIdKey = L"ZRNLA_PROFILE_ID";
inline constexpr const wchar_t* kProfileNameKey = L"ZRNLA_PROFILE_DISPLAY_NAME";
inline constexpr const wchar_t* kHomeServerKey = L"ZRNLA_PROFILE_IS_HOME_SERVER";
inline constexpr const wchar_t* kServerAddressKey = L"ServerAddress";
inline constexpr const wchar_t* kPortsKey = L"Serverports";
inline constexpr const wchar_t* kSslPortsKey = L"ServerSslPorts";
inline constexpr const wchar_t* kUseSslKey = L"UseSsl";
inline constexpr const wchar_t* kRoamingModeKey = L"ZRNLA_ROAMING_MODE";
inline constexpr const wchar_t* kUpdatesOnlyKey = L"ZRNLA_ADDRESS_FOR_UPDATES_ONLY";
inline constexpr const wchar_t* kUseGatewayKey = L"UseProfileGateway";
inline constexpr const wchar_t* kGatewayAddressKey = L"GatewayAddress";
inline constexpr const wchar_t* kGuestModeKey = L"ZRNLA_GUEST_MODE";
inline constexpr const wchar_t* kProxyUseKey = L"ZRNAG_PROXYHOST_USE";
inline constexpr const wchar_t* kProxyLocationKey = L"ZRNAG_PROXYHOST_LOCATION";
inline constexpr const wchar_t* kProxyLoginKey = L"ZRNAG_PROXYHOST_LOGIN";
inline constexpr const wchar_t* kProxyPasswordKey = L"ZRNAG_PROXYHOST_PASSWORD";
inline constexpr const wchar_t* kProxyProtectedPasswordKey = L"ZRNAG_PROXYHOST_PASSWORD_PROTECTED";
inline constexpr std::int32_t kDefaultPort = 14000, kDefaultSslPort = 13000;

// Entries of the profile lists that stand for no stored profile.
inline constexpr const wchar_t* kOfflineProfileId = L".ZRNLA_INACTIVE_PROFILE";
inline constexpr const wchar_t* kHomeServerProfileId = L".ZRNLA_HOME_SERVER";

// A rule.
inline constexpr const wchar_t* kRuleNameKey = L"ZRNLA_LOCATION_NAME";
inline constexpr const wchar_t* kRuleEnabledKey = L"ZRNLA_LOCATION_ENABLED";
inline constexpr const wchar_t* kRuleProfileKey = L"ZRNLA_PROFILE_TO_USE";

// A condition, and the values of its subnet and SSL forms.
inline constexpr const wchar_t* kOperatorKey = L"ZRNLA_COP";  // 0: matches one of the values; else matches none
inline constexpr const wchar_t* kValuesKey = L"ZRNLA_value";
inline constexpr const wchar_t* kSubnetAddressKey = L"ZRNLA_SUBNET_ADDRESS";
inline constexpr const wchar_t* kSubnetMaskKey = L"ZRNLA_SUBNET_MASK";
inline constexpr const wchar_t* kSslLocationKey = L"ZRNLA_SSL_LOCATION";
inline constexpr const wchar_t* kSslCertificateKey = L"ZRNLA_SSL_CERT";

// Administration server versions (signed comparison).
inline constexpr std::int32_t kFirstServerWithHomeServerEntry = 0xA2000;  // the home-server entry is offered
inline constexpr std::int32_t kFirstServerRulingToHomeServer = 0xA5000;   // new rules switch to the home server
inline constexpr std::int32_t kFirstServerWithHomeServerProfiles = 0xF0100;  // a profile may name the home server

// Names of the reserved entries and of a profile that no longer exists.
inline constexpr UINT kOfflineText = 5844, kHomeServerText = 2599, kMissingProfileText = 2137;

enum class ValueForm {
    Subnet,   // Params: address and mask
    Text,     // a DNS domain or a computer name
    Address,  // an IPv4 address
    YesNo,    // one bool instead of a list
    Ssl,      // Params: host:port and the certificate
};

struct ConditionType {
    int index;
    const wchar_t* key;
    UINT name;        // the condition's line in the rule page
    UINT valueLabel;  // the value editor's label (0: none)
    UINT addCaption, editCaption;
    UINT menuText;
    WORD command;  // 12000 + index
    ValueForm form;
};
inline constexpr std::size_t kConditionTypeCount = 9;
inline constexpr WORD kFirstConditionCommand = 12000;
// The nine types, addressed by index.
const std::array<ConditionType, kConditionTypeCount>& ConditionTypes();
// The type indexes in the order the add menu lists them.
const std::array<int, kConditionTypeCount>& MenuOrder();

// Whether a rule has a condition of the type: the yes/no type whenever its
// entry exists, the others when their value list exists and is not empty.
bool HasCondition(const ZRPAR::Params& rule, const ConditionType& type);

// IPv4 addresses are stored with the first octet in the lowest byte; the
// address control holds it in the highest. Either way the bytes reverse.
std::uint32_t ReverseBytes(std::uint32_t value);
// What is wrong with a subnet in the control's form: 0, or the message 1919
// (no address), 1918 (no mask), 1917 (a mask that is not a run of ones from
// the top ending before bit 0, or an address with bits outside it).
UINT SubnetProblem(std::uint32_t address, std::uint32_t mask);

// Rule names.
inline constexpr std::size_t kMaxRuleNameLength = 260;
inline constexpr std::wstring_view kForbiddenNameCharacters = L"\"*<>?\\/:|";
// The forbidden characters separated by blanks, for message 5852.
std::wstring ForbiddenCharactersText();
// What is wrong with a trimmed name: 0, 5851 (empty), 5853 (too long) or 5852 (a forbidden character).
UINT RuleNameProblem(std::wstring_view name);
bool SameName(std::wstring_view a, std::wstring_view b);

// Stored elements: an element's container, or null for anything else.
ZRPAR::Params* AsParams(const ZRPAR::Value* value);
std::wstring StringOf(const ZRPAR::Params* params, const wchar_t* key, const std::wstring& fallback = L"");
bool BoolOf(const ZRPAR::Params* params, const wchar_t* key, bool fallback);

// A profile as the lists name it.
struct ProfileEntry {
    std::wstring id;
    std::wstring name;
};
// The profiles of an array of profile containers, in order (elements that
// are no container have no id and no name).
std::vector<ProfileEntry> ProfileEntries(const ZRPAR::ArrayValue* profiles);
// The name shown for the profile a rule uses: the reserved entries' names,
// the profile's display name, or "<не существует>".
std::wstring ProfileNameFor(const std::wstring& id, const std::vector<ProfileEntry>& profiles);

// A value line of a condition editor: a text as it is, an address dotted, an
// SSL value as "host:port (сертификат задан)". Values of another type show empty.
std::wstring ValueText(const ConditionType& type, const ZRPAR::Value* value);

}  // namespace nla
