#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "nhpp/CParams.h"
#include "zrpar/Params.h"

// Full names, the paths they stand for in the plain and the policy form, and
// the reading of lock data.
namespace NHPP {

inline constexpr const wchar_t* kMandatory = L"ZRPRSS_Mnd";
inline constexpr const wchar_t* kValue = L"ZRPRSS_Val";
inline constexpr const wchar_t* kValueLocked = L"ZRPRSS_ValLck";
inline constexpr const wchar_t* kConcatArray = L"ZRPRSS_ValConcatArray";
inline constexpr const wchar_t* kLockGroup = L"ZRPRSS_ValLckGroup";
inline constexpr const wchar_t* kLockPolicy = L"ZRPRSS_ValLckPolicy";
inline constexpr const wchar_t* kLockProfile = L"ZRPRSS_ValLckPrf";
inline constexpr const wchar_t* kConcatItemName = L"ZRPRSS_ValConcatItemName";
// Names a value inside a section so that looking up its container yields the section.
inline constexpr const wchar_t* kFakeValue = L"NHP_FAKE_VAL";

std::vector<std::wstring> SplitFullName(std::wstring_view fullName);

struct ValuePath {
    std::vector<std::wstring> containers;  // walked from the root
    std::wstring name;                     // looked up in the last container
};

enum class PathForm {
    Plain,                   // p1 ... p(n-1), name pn
    PolicyValue,             // "ZRPRSS_Val", p1, ..., "ZRPRSS_Val", pn; name "ZRPRSS_Val"
    PolicySettingContainer,  // "ZRPRSS_Val", p1, ..., "ZRPRSS_Val"; name pn
};

// Nothing for an empty full name.
std::optional<ValuePath> GetValueCompatiblePath(std::wstring_view fullName, PathForm form);

// The container at the end of the names. Raises module "ZRSTD" 0x49F for a
// missing name and "ZRPAR" 0x412 for one that is not a container.
ZRPAR::Params* WalkContainers(ZRPAR::Params* root, const std::vector<std::wstring>& names);

// The same, creating missing containers; a name that holds something else
// raises "ZRPAR" 0x412 "pValueContainer". onEnterValue(container) is called
// with the container the walk leaves each time it enters a "ZRPRSS_Val" child.
template <class OnEnterValue>
ZRPAR::Params* WalkCreatingContainers(ZRPAR::Params* root, const std::vector<std::wstring>& names,
                                      OnEnterValue onEnterValue);

// Reads the six lock fields from one value container ("ZRPRSS_Mnd" required).
void GetLockData(ZRPAR::Params* valueContainer, PolicyLockInfo& lock);

// The lock of a full name in a policy-form source, climbing to the enclosing
// sections when the value has no entry of its own (or one whose lock data is
// damaged). An empty source enforces nothing: unlocked, result kFalse.
HResult ReadPolicyLock(ZRPAR::Params* lockSource, const std::wstring& fullName, PolicyLockInfo* lock);
// The same from the value container the names lead to: the first container
// on the way back to the root whose lock data reads is taken.
HResult ReadLockClimbing(ZRPAR::Params* source, std::vector<std::wstring> names, PolicyLockInfo& lock);
// The lock of a policy that could not be read: everything it may govern is
// taken as enforced, so that nothing it governs becomes editable.
void SetUnreadablePolicyLock(PolicyLockInfo& lock);

// An empty policy container: { "ZRPRSS_Mnd": false, "ZRPRSS_Val": {} }.
ZRSTD::CAutoPtr<ZRPAR::Params> CreateEmptyPolicyContainer();

template <class OnEnterValue>
ZRPAR::Params* WalkCreatingContainers(ZRPAR::Params* root, const std::vector<std::wstring>& names,
                                      OnEnterValue onEnterValue)
{
    ZRPAR::Params* current = root;
    for (const std::wstring& name : names) {
        if (name == kValue) onEnterValue(current);
        ZRPAR::Value* value = current->FindValue(name);
        if (!value) {
            auto created = ZRPAR::CreateParams();
            current->AddValue(name, ZRPAR::CreateValue(created.Get()).Get());
            current = created.Get();
        } else if (value->GetType() == ZRPAR::VT_PARAMS) {
            current = static_cast<ZRPAR::ParamsValue*>(value)->GetValue();
        } else {
            ZRERR_throwError(ZRPAR::kModule, ZRPAR::kWrongType, L"pValueContainer: \"%s\" holds a %s, not a container",
                             name, ZRPAR::TypeName(value->GetType()));
        }
    }
    return current;
}

}  // namespace NHPP
