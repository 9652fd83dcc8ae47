#include "plugin/pages/tasks/TaskSettings.h"

void CTaskSettings::Remember(const wchar_t* key, Shown shown, NHPP::HResult read, const NHPP::PolicyLockInfo& lock)
{
    // a value of a wrong type is stored too (the read says so); it reports
    // no lock, so the policy is asked again
    const bool stored = read == NHPP::kOk || read == NHPP::kUnexpected;
    m_read[key] = Entry{std::move(shown), stored, lock.locked || LockedByPolicy(key)};
}

bool CTaskSettings::LockedByPolicy(const wchar_t* key) const
{
    NHPP::PolicyLockInfo lock;
    return m_provider->GetLockData(key, &lock) < 0 || lock.locked || lock.mandatory;
}

bool CTaskSettings::ReadBool(const wchar_t* key, bool defaultValue)
{
    NHPP::PolicyLockInfo lock;
    bool value = defaultValue;
    const NHPP::HResult read = m_provider->GetBool(key, value, &lock);
    if (read != NHPP::kOk) value = defaultValue;
    Remember(key, value, read, lock);
    return value;
}

std::int32_t CTaskSettings::ReadInt(const wchar_t* key, std::int32_t defaultValue)
{
    NHPP::PolicyLockInfo lock;
    std::int32_t value = defaultValue;
    const NHPP::HResult read = m_provider->GetInt(key, value, &lock);
    if (read != NHPP::kOk) value = defaultValue;
    Remember(key, value, read, lock);
    return value;
}

std::wstring CTaskSettings::ReadString(const wchar_t* key, const std::wstring& defaultValue)
{
    NHPP::PolicyLockInfo lock;
    std::wstring value;
    const NHPP::HResult read = m_provider->GetString(key, value, &lock);
    if (read != NHPP::kOk) value = defaultValue;
    Remember(key, value, read, lock);
    return value;
}

bool CTaskSettings::IsLocked(const wchar_t* key) const
{
    auto found = m_read.find(key);
    return found != m_read.end() ? found->second.locked : LockedByPolicy(key);
}

bool CTaskSettings::IsStored(const wchar_t* key) const
{
    auto found = m_read.find(key);
    return found != m_read.end() && found->second.stored;
}

bool CTaskSettings::Wanted(const wchar_t* key, const Shown& value) const
{
    if (IsLocked(key)) return false;
    auto found = m_read.find(key);
    return found == m_read.end() || !found->second.stored || found->second.shown != value;
}

bool CTaskSettings::Write(const wchar_t* key, bool value)
{
    return !Wanted(key, value) || m_provider->SetBool(key, value, false) >= 0;
}

bool CTaskSettings::Write(const wchar_t* key, std::int32_t value)
{
    return !Wanted(key, value) || m_provider->SetInt(key, value, false) >= 0;
}

bool CTaskSettings::Write(const wchar_t* key, const std::wstring& value)
{
    return !Wanted(key, value) || m_provider->SetString(key, value, false) >= 0;
}
