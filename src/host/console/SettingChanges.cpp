#include "host/console/SettingChanges.h"

#include <set>

#include "zrpar/Render.h"
#include "zrstd/Strings.h"

namespace host {

namespace {

constexpr const wchar_t* kMandatory = L"ZRPRSS_Mnd";
constexpr const wchar_t* kValue = L"ZRPRSS_Val";

const ZRPAR::Params* AsContainer(const ZRPAR::Value* value)
{
    return value && value->GetType() == ZRPAR::VT_PARAMS ? static_cast<const ZRPAR::ParamsValue*>(value)->GetValue()
                                                         : nullptr;
}

nlohmann::json AsJson(const std::wstring& name, const ZRPAR::Value* value)
{
    if (!value) return nullptr;
    auto single = ZRPAR::CreateParams();
    single->AddValue(name, const_cast<ZRPAR::Value*>(value));
    return nlohmann::json::parse(ZRPAR::RenderJson(*single)).begin().value();
}

bool Same(const ZRPAR::Value* a, const ZRPAR::Value* b)
{
    if (!a || !b) return a == b;
    return ZRPAR::Equals(a, b);
}

std::vector<std::wstring> NamesOf(const ZRPAR::Params* first, const ZRPAR::Params* second)
{
    std::vector<std::wstring> names;
    std::set<std::wstring> seen;
    for (const ZRPAR::Params* container : {first, second}) {
        if (!container) continue;
        for (std::size_t i = 0; i < container->GetSize(); ++i)
            if (seen.insert(container->NameAt(i)).second) names.push_back(container->NameAt(i));
    }
    return names;
}

std::wstring Join(const std::wstring& path, const std::wstring& name) { return path.empty() ? name : path + L"/" + name; }

void Compare(const std::wstring& section, const std::wstring& path, const ZRPAR::Value* before, const ZRPAR::Value* after,
             std::vector<SettingChange>& changes)
{
    if (Same(before, after)) return;
    if (path.empty() && !before && !after) return;
    const ZRPAR::Params* old = AsContainer(before);
    const ZRPAR::Params* now = AsContainer(after);
    if ((before && !old) || (after && !now)) {
        changes.push_back({section, path, AsJson(path, before), AsJson(path, after)});
        return;
    }
    // a container, or the policy form's pair {"ZRPRSS_Mnd", "ZRPRSS_Val"} read through
    for (const std::wstring& name : NamesOf(old, now)) {
        const ZRPAR::Value* was = old ? old->FindValue(name) : nullptr;
        const ZRPAR::Value* is = now ? now->FindValue(name) : nullptr;
        if (name == kValue) Compare(section, path, was, is, changes);
        else if (name == kMandatory) {
            if (!Same(was, is))
                changes.push_back({section, path.empty() ? L"(the section's lock)" : path + L" (lock)", AsJson(name, was),
                                   AsJson(name, is)});
        } else {
            Compare(section, Join(path, name), was, is, changes);
        }
    }
}

}  // namespace

std::vector<SettingChange> SettingChanges(const ZRPAR::Params* before, const ZRPAR::Params* after)
{
    std::vector<SettingChange> changes;
    // product level: versions, each a container of sections
    for (const std::wstring& version : NamesOf(before, after)) {
        const ZRPAR::Params* old = AsContainer(before ? before->FindValue(version) : nullptr);
        const ZRPAR::Params* now = AsContainer(after ? after->FindValue(version) : nullptr);
        for (const std::wstring& section : NamesOf(old, now))
            Compare(section, L"", old ? old->FindValue(section) : nullptr, now ? now->FindValue(section) : nullptr, changes);
    }
    return changes;
}

}  // namespace host
