#include "nhpp/PolicyPath.h"

#include "zrstd/Trace.h"

namespace NHPP {

std::vector<std::wstring> SplitFullName(std::wstring_view fullName)
{
    std::vector<std::wstring> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = fullName.find(kSeparator, start);
        parts.emplace_back(fullName.substr(start, end == std::wstring_view::npos ? std::wstring_view::npos : end - start));
        if (end == std::wstring_view::npos) break;
        start = end + 1;
    }
    return parts;
}

std::optional<ValuePath> GetValueCompatiblePath(std::wstring_view fullName, PathForm form)
{
    if (fullName.empty()) return std::nullopt;
    std::vector<std::wstring> parts = SplitFullName(fullName);
    ValuePath path;
    switch (form) {
    case PathForm::Plain:
        path.name = std::move(parts.back());
        parts.pop_back();
        path.containers = std::move(parts);
        break;
    case PathForm::PolicyValue:
        for (auto& part : parts) {
            path.containers.emplace_back(kValue);
            path.containers.push_back(std::move(part));
        }
        path.name = kValue;
        break;
    case PathForm::PolicySettingContainer:
        path.name = std::move(parts.back());
        parts.pop_back();
        for (auto& part : parts) {
            path.containers.emplace_back(kValue);
            path.containers.push_back(std::move(part));
        }
        path.containers.emplace_back(kValue);
        break;
    }
    return path;
}

ZRPAR::Params* WalkContainers(ZRPAR::Params* root, const std::vector<std::wstring>& names)
{
    ZRPAR::Params* current = root;
    for (const std::wstring& name : names) {
        ZRPAR::Value* value = current->FindValue(name);
        if (!value) ZRERR_throwError("ZRSTD", ZRPAR::kAbsent, L"container \"%s\" is absent", name);
        if (value->GetType() != ZRPAR::VT_PARAMS)
            ZRERR_throwError(ZRPAR::kModule, ZRPAR::kWrongType, L"\"%s\" holds a %s, not a container", name,
                             ZRPAR::TypeName(value->GetType()));
        current = static_cast<ZRPAR::ParamsValue*>(value)->GetValue();
    }
    return current;
}

namespace {

template <class T, class V>
bool ReadOptional(ZRPAR::Params* container, const wchar_t* name, ZRPAR::ValueType type, T& target)
{
    ZRPAR::Value* value = container->FindValue(name);
    if (!value) {
        ZRSTD::Trace(5, L"lock data: \"%s\" is absent", name);
        return false;
    }
    if (value->GetType() != type)
        ZRERR_throwError(ZRPAR::kModule, ZRPAR::kWrongType, L"lock data \"%s\" is a %s", name,
                         ZRPAR::TypeName(value->GetType()));
    target = static_cast<V*>(value)->GetValue();
    return true;
}

}  // namespace

void GetLockData(ZRPAR::Params* valueContainer, PolicyLockInfo& lock)
{
    lock = PolicyLockInfo{};
    lock.mandatory = ZRPAR::GetBoolValue(valueContainer, kMandatory);
    ReadOptional<bool, ZRPAR::BoolValue>(valueContainer, kValueLocked, ZRPAR::VT_BOOL, lock.locked);
    ReadOptional<bool, ZRPAR::BoolValue>(valueContainer, kConcatArray, ZRPAR::VT_BOOL, lock.concatArray);
    ReadOptional<std::wstring, ZRPAR::StringValue>(valueContainer, kLockGroup, ZRPAR::VT_STRING, lock.lockGroup);
    ReadOptional<std::wstring, ZRPAR::StringValue>(valueContainer, kLockPolicy, ZRPAR::VT_STRING, lock.lockPolicy);
    ReadOptional<std::wstring, ZRPAR::StringValue>(valueContainer, kLockProfile, ZRPAR::VT_STRING, lock.lockProfile);
}

HResult ReadPolicyLock(ZRPAR::Params* lockSource, const std::wstring& fullName, PolicyLockInfo* lock)
{
    if (!lock) return kInvalidArg;
    lock->locked = false;
    lock->mandatory = false;
    if (!lockSource || lockSource->GetSize() == 0) return kFalse;
    auto path = GetValueCompatiblePath(fullName, PathForm::PolicyValue);
    if (!path) return kUnexpected;
    // The containers that hold the value's own entry: every name but the final "ZRPRSS_Val".
    return ReadLockClimbing(lockSource, std::move(path->containers), *lock);
}

HResult ReadLockClimbing(ZRPAR::Params* source, std::vector<std::wstring> names, PolicyLockInfo& lock)
{
    while (true) {
        try {
            GetLockData(WalkContainers(source, names), lock);
            return kOk;
        } catch (const ZRERR::Error& error) {
            ZRERR::SayFailure2(error, "NHPP::_GetPolicyLockAndMandatoryDataInternal", 5);
            lock.locked = false;
            lock.mandatory = false;
            if (names.size() < 2) {
                ZRERR::SayFailure2(error, "NHPP::_GetPolicyLockAndMandatoryDataInternal", 3);
                return kUnexpected;
            }
            names.resize(names.size() - 2);  // the enclosing section's entry
        }
    }
}

void SetUnreadablePolicyLock(PolicyLockInfo& lock)
{
    lock = PolicyLockInfo{};
    lock.locked = true;
    lock.mandatory = true;
}

ZRSTD::CAutoPtr<ZRPAR::Params> CreateEmptyPolicyContainer()
{
    return ZRPAR::CreateParamsBody({{kMandatory, false}, {kValue, ZRPAR::CreateParams()}});
}

}  // namespace NHPP
