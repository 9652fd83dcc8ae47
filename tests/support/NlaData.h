#pragma once

// Connection profiles and network location rules as the stored section
// "ZRNAG_ZRNLA_DATA" holds them, built readably.
#include <initializer_list>
#include <string>

#include "zrpar/Params.h"

namespace testsupport {

inline ZRSTD::CAutoPtr<ZRPAR::ArrayValue> Array(std::initializer_list<ZRSTD::CAutoPtr<ZRPAR::Value>> elements)
{
    auto array = ZRPAR::CreateArrayValue();
    for (const auto& element : elements) array->Append(element.Get());
    return array;
}

inline ZRSTD::CAutoPtr<ZRPAR::Value> Element(const ZRSTD::CAutoPtr<ZRPAR::Params>& params)
{
    return ZRPAR::CreateValue(params.Get());
}

inline ZRSTD::CAutoPtr<ZRPAR::Value> Ports(std::int32_t port)
{
    auto ports = ZRPAR::CreateArrayValue();
    ports->Append(ZRPAR::CreateValue(port).Get());
    return ZRSTD::CAutoPtr<ZRPAR::Value>(ports.Get());
}

// A profile that connects to another server.
inline ZRSTD::CAutoPtr<ZRPAR::Params> ServerProfile(const std::wstring& id, const std::wstring& name,
                                                    const std::wstring& address, std::int32_t port = 14000,
                                                    std::int32_t sslPort = 13000)
{
    return ZRPAR::CreateParamsBody({{L"ZRNLA_PROFILE_ID", id},
                                    {L"ZRNLA_PROFILE_DISPLAY_NAME", name},
                                    {L"ZRNLA_PROFILE_IS_HOME_SERVER", false},
                                    {L"ServerAddress", address},
                                    {L"Serverports", Ports(port)},
                                    {L"ServerSslPorts", Ports(sslPort)},
                                    {L"UseSsl", true}});
}

// A rule: its name, profile, whether it is active, and its conditions (type key, condition container).
inline ZRSTD::CAutoPtr<ZRPAR::Params> Rule(const std::wstring& name, const std::wstring& profileId, bool enabled = true)
{
    return ZRPAR::CreateParamsBody(
        {{L"ZRNLA_LOCATION_NAME", name}, {L"ZRNLA_LOCATION_ENABLED", enabled}, {L"ZRNLA_PROFILE_TO_USE", profileId}});
}

// A list condition: its values and operator.
inline ZRSTD::CAutoPtr<ZRPAR::Params> Condition(ZRSTD::CAutoPtr<ZRPAR::ArrayValue> values, std::int32_t op = 0)
{
    return ZRPAR::CreateParamsBody({{L"ZRNLA_COP", op}, {L"ZRNLA_value", ZRSTD::CAutoPtr<ZRPAR::Value>(values.Get())}});
}

inline ZRSTD::CAutoPtr<ZRPAR::Value> Text(const std::wstring& text) { return ZRPAR::CreateValue(text); }

}  // namespace testsupport
