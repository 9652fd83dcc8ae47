#pragma once

// Builds policy-form containers readably: every setting and section is a
// value container {"ZRPRSS_Mnd", "ZRPRSS_Val", lock data}.
#include <initializer_list>
#include <string>

#include "zrpar/Params.h"

namespace testsupport {

struct ParentLock {
    std::wstring group;
    std::wstring policy;
    std::wstring profile;
};

// A setting (or a section, when value is a Section's content) with its flag.
template <class T>
ZRSTD::CAutoPtr<ZRPAR::Params> Setting(const T& value, bool mandatory)
{
    return ZRPAR::CreateParamsBody({{L"ZRPRSS_Mnd", mandatory}, {L"ZRPRSS_Val", value}});
}

// A setting locked by a parent policy.
template <class T>
ZRSTD::CAutoPtr<ZRPAR::Params> LockedSetting(const T& value, const ParentLock& lock)
{
    auto setting = Setting(value, true);
    setting->AddValue(L"ZRPRSS_ValLck", ZRPAR::CreateValue(true).Get());
    setting->AddValue(L"ZRPRSS_ValLckGroup", ZRPAR::CreateValue(lock.group).Get());
    setting->AddValue(L"ZRPRSS_ValLckPolicy", ZRPAR::CreateValue(lock.policy).Get());
    setting->AddValue(L"ZRPRSS_ValLckPrf", ZRPAR::CreateValue(lock.profile).Get());
    return setting;
}

// A policy root or section: a value container whose value holds the settings.
inline ZRSTD::CAutoPtr<ZRPAR::Params> Section(std::initializer_list<ZRPAR::ParamsBodyEntry> settings,
                                              bool mandatory = false)
{
    return Setting(ZRPAR::CreateParamsBody(settings), mandatory);
}

}  // namespace testsupport
