#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <variant>

#include "nhpp/CParams.h"

// A task page's values as it read them through the task provider: what the
// page showed for each key (the stored value, or the page's default when the
// key is absent or of another type), whether it was stored, and whether the
// policy of the task type enforces it. A write skips a value the policy
// enforces, and a stored value (of the right type or not) equal to what the
// page showed, so that a task opened and saved without a change, or a value
// of a wrong type the administrator left alone, stays exactly as it was. An
// absent value is written, so that the agent gets what the page showed.
class CTaskSettings {
public:
    explicit CTaskSettings(ZRSTD::CAutoPtr<NHPP::CParams> provider) : m_provider(std::move(provider)) {}

    bool ReadBool(const wchar_t* key, bool defaultValue);
    std::int32_t ReadInt(const wchar_t* key, std::int32_t defaultValue);
    std::wstring ReadString(const wchar_t* key, const std::wstring& defaultValue);
    // Whether the policy enforces the key (an unreadable policy enforces everything).
    bool IsLocked(const wchar_t* key) const;
    // Whether the key held a value (of any type) when the page read it.
    bool IsStored(const wchar_t* key) const;

    // False when the provider refused the write.
    bool Write(const wchar_t* key, bool value);
    bool Write(const wchar_t* key, std::int32_t value);
    bool Write(const wchar_t* key, const std::wstring& value);

    NHPP::CParams& Provider() { return *m_provider; }

private:
    using Shown = std::variant<bool, std::int32_t, std::wstring>;
    struct Entry {
        Shown shown;
        bool stored = false;
        bool locked = false;
    };
    void Remember(const wchar_t* key, Shown shown, NHPP::HResult read, const NHPP::PolicyLockInfo& lock);
    bool LockedByPolicy(const wchar_t* key) const;
    // Whether a write of value is needed and allowed.
    bool Wanted(const wchar_t* key, const Shown& value) const;

    ZRSTD::CAutoPtr<NHPP::CParams> m_provider;
    std::map<std::wstring, Entry> m_read;
};
