#include "nhpp/ParamsProviderParams.h"

#include "zrstd/Trace.h"

namespace NHPP {

HResult CParamsProviderParams::ReadValue(const wchar_t* key, ZRPAR::ValueType type,
                                         ZRSTD::CAutoPtr<ZRPAR::Value>& value, PolicyLockInfo* lock,
                                         const char* operation)
{
    if (!m_root || !key) return kInvalidArg;
    const std::wstring fullName = FullName(key);
    auto path = GetValueCompatiblePath(fullName, PathForm::Plain);
    if (!path) return kUnexpected;
    HResult result = kOk;
    try {
        ZRPAR::Value* found = WalkContainers(m_root.Get(), path->containers)->GetValue(path->name).Get();
        if (found->GetType() != type) return kUnexpected;  // the lock stays as it was
        value = found;
    } catch (const ZRERR::Error& error) {
        ZRERR::SayFailure2(error, operation, 5);
        result = kFalse;
    }
    if (lock) {
        if (m_policyReadError) {
            SetUnreadablePolicyLock(*lock);
        } else if (ReadPolicyLock(m_lockSource.Get(), fullName, lock) < 0) {
            // policy data whose locks cannot be read at all governs everything
            ZRSTD::Trace(3, L"%hs: the lock of \"%s\" cannot be read; taken as enforced", operation, fullName);
            SetUnreadablePolicyLock(*lock);
        }
        lock->locked = lock->mandatory;  // on one computer a value is locked when the policy enforces it
    }
    return result;
}

HResult CParamsProviderParams::WriteValue(const wchar_t* key, ZRPAR::Value* value, bool)
{
    if (!m_root || !key) return kInvalidArg;
    auto path = GetValueCompatiblePath(FullName(key), PathForm::Plain);
    if (!path) return kUnexpected;
    try {
        WalkCreatingContainers(m_root.Get(), path->containers, [](ZRPAR::Params*) {})->ReplaceValue(path->name, value);
        return kOk;
    } catch (const ZRERR::Error& error) {
        ZRERR::SayFailure2(error, Operation("SetValue").c_str(), 5);
        return kFalse;
    }
}

}  // namespace NHPP
