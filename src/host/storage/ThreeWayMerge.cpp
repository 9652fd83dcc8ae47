#include "host/storage/ThreeWayMerge.h"

namespace host {

namespace {

// Names of the policy form (nhpp/PolicyPath.h, a layer this one may not include).
constexpr std::wstring_view kPolicyValue = L"ZRPRSS_Val";
constexpr std::wstring_view kPolicyLock = L"ZRPRSS_Mnd";

const ZRPAR::Params* ContainerOf(const ZRPAR::Value* value)
{
    return value && value->GetType() == ZRPAR::VT_PARAMS ? static_cast<const ZRPAR::ParamsValue*>(value)->GetValue()
                                                          : nullptr;
}

class Merger {
public:
    std::vector<SettingPath> conflicts;

    void Merge(const ZRPAR::Params& base, const ZRPAR::Params& theirs, const ZRPAR::Params& ours, ZRPAR::Params& merged)
    {
        for (std::size_t i = 0; i < theirs.GetSize(); ++i) Decide(theirs.NameAt(i), base, theirs, ours, merged);
        for (std::size_t i = 0; i < ours.GetSize(); ++i)
            if (!theirs.DoesExist(ours.NameAt(i))) Decide(ours.NameAt(i), base, theirs, ours, merged);
    }

private:
    void Decide(const std::wstring& name, const ZRPAR::Params& base, const ZRPAR::Params& theirs,
                const ZRPAR::Params& ours, ZRPAR::Params& merged)
    {
        const ZRPAR::Value* before = base.FindValue(name);
        const ZRPAR::Value* their = theirs.FindValue(name);
        const ZRPAR::Value* our = ours.FindValue(name);
        // an absent value is a value too: a deletion is a change like any other
        const ZRPAR::Value* taken = nullptr;
        if (ZRPAR::Equals(our, before)) taken = their;
        else if (ZRPAR::Equals(their, before) || ZRPAR::Equals(our, their)) taken = our;
        else {
            m_path.push_back(name);
            const ZRPAR::Params* theirContainer = ContainerOf(their);
            const ZRPAR::Params* ourContainer = ContainerOf(our);
            if (theirContainer && ourContainer) {
                const ZRPAR::Params* baseContainer = ContainerOf(before);
                auto nested = ZRPAR::CreateParams();
                Merge(baseContainer ? *baseContainer : *ZRPAR::CreateParams(), *theirContainer, *ourContainer, *nested);
                merged.AddValue(name, ZRPAR::CreateValue(nested.Get()).Get());
            } else {
                conflicts.push_back(m_path);
            }
            m_path.pop_back();
            return;
        }
        if (taken) merged.AddValue(name, taken->CloneValue().Get());
    }

    SettingPath m_path;
};

}  // namespace

MergeResult MergeSections(const ZRPAR::Params& base, const ZRPAR::Params& theirs, const ZRPAR::Params& ours)
{
    Merger merger;
    auto merged = ZRPAR::CreateParams();
    merger.Merge(base, theirs, ours, *merged);
    if (!merger.conflicts.empty()) return {nullptr, std::move(merger.conflicts)};
    return {merged, {}};
}

std::wstring DescribeSettingPath(const SettingPath& path)
{
    std::wstring text;
    bool lock = false;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (path[i] == kPolicyValue) continue;
        if (path[i] == kPolicyLock && i + 1 == path.size()) {
            lock = true;
            continue;
        }
        text += (text.empty() ? L"" : L"/") + path[i];
    }
    if (text.empty()) {  // the section's own value or lock: nothing else names it
        for (const auto& name : path) text += (text.empty() ? L"" : L"/") + name;
        return text;
    }
    return lock ? text + L" (lock)" : text;
}

}  // namespace host
