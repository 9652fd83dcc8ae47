#include "zrpar/PolicyForm.h"

#include "zrstd/Error.h"

namespace {

using namespace ZRPAR;

constexpr const wchar_t* kMandatory = L"ZRPRSS_Mnd";
constexpr const wchar_t* kValue = L"ZRPRSS_Val";

// A value container: one with "ZRPRSS_Val". Its flag is "ZRPRSS_Mnd"; a flag
// that is missing or no bool is taken from the enclosing section, as the
// lock read takes it.
const Params* AsValueContainer(const Value* value)
{
    if (!value || value->GetType() != VT_PARAMS) return nullptr;
    const Params* container = static_cast<const ParamsValue*>(value)->GetValue();
    return container->DoesExist(kValue) ? container : nullptr;
}

bool FlagOf(const Params& container, bool enclosing)
{
    const Value* flag = container.FindValue(kMandatory);
    return flag && flag->GetType() == VT_BOOL ? static_cast<const BoolValue*>(flag)->GetValue() : enclosing;
}

// A section's "ZRPRSS_Val": a non-empty container of value containers only.
const Params* AsSectionContent(const Value* value)
{
    if (!value || value->GetType() != VT_PARAMS) return nullptr;
    const Params* content = static_cast<const ParamsValue*>(value)->GetValue();
    if (content->GetSize() == 0) return nullptr;
    for (std::size_t i = 0; i < content->GetSize(); ++i)
        if (!AsValueContainer(content->ValueAt(i))) return nullptr;
    return content;
}

// A setting's value in the plain form: an array whose items are item
// containers ({"ZRPRSS_Val": item, ...}, as items are appended to a policy's
// array) holds the items themselves; any other value is copied as it is.
CAutoPtr<Value> PlainValue(const Value& value, int depth)
{
    if (value.GetType() != VT_ARRAY) return value.CloneValue(depth);
    const auto& array = static_cast<const ArrayValue&>(value);
    auto plain = CreateArrayValue();
    for (std::size_t i = 0; i < array.GetSize(); ++i) {
        const Value* item = array.ItemAt(i);
        const Params* container = AsValueContainer(item);
        const Value* inner = container ? container->FindValue(kValue) : item;
        plain->Append(inner ? inner->CloneValue(depth + 1).Get() : nullptr);
    }
    return plain;
}

void Split(const Params& content, Params& mandatory, Params& proposed, bool enclosing, int depth)
{
    if (depth > kMaxDepth) ZRERR_throwError(kModule, kTooDeep, L"policy sections nest deeper than %d levels", kMaxDepth);
    for (std::size_t i = 0; i < content.GetSize(); ++i) {
        const std::wstring& name = content.NameAt(i);
        const Params* setting = AsValueContainer(content.ValueAt(i));
        if (!setting)
            ZRERR_throwError(kModule, kWrongType, L"policy setting \"%s\" is not a value container", name);
        const bool flag = FlagOf(*setting, enclosing);
        const Value* value = setting->FindValue(kValue);
        if (const Params* section = AsSectionContent(value)) {
            auto enforcedPart = CreateParams();
            auto proposedPart = CreateParams();
            Split(*section, *enforcedPart, *proposedPart, flag, depth + 1);
            if (enforcedPart->GetSize()) mandatory.AddValue(name, CreateValue(enforcedPart.Get()).Get());
            if (proposedPart->GetSize()) proposed.AddValue(name, CreateValue(proposedPart.Get()).Get());
            continue;
        }
        (flag ? mandatory : proposed).AddValue(name, PlainValue(*value, depth).Get());
    }
}

}  // namespace

void ZRPRSS_GetMandatoryAndDefault(const ZRPAR::Params* policy, ZRPAR::Params** ppMandatory, ZRPAR::Params** ppDefault)
{
    ZRSTD_CHECK_ARG(ppMandatory);
    ZRSTD_CHECK_ARG(ppDefault);
    auto mandatory = CreateParams();
    auto proposed = CreateParams();
    if (policy) {
        const Value* content = policy->FindValue(kValue);
        if (!content || content->GetType() != VT_PARAMS)
            ZRERR_throwError(kModule, kWrongType, L"the policy data has no \"ZRPRSS_Val\" container");
        // a root without a flag of its own enforces what it holds: unknown locks fail closed
        Split(*static_cast<const ParamsValue*>(content)->GetValue(), *mandatory, *proposed, FlagOf(*policy, true), 1);
    }
    *ppMandatory = mandatory.Detach();
    *ppDefault = proposed.Detach();
}

std::uint32_t ZRPRSS_ConvertProductVersion(const wchar_t* version)
{
    if (!version) return 0;
    std::uint32_t parts[3] = {0, 0, 0};
    std::size_t part = 0;
    bool digits = false;
    for (const wchar_t* c = version; *c; ++c) {
        if (*c == L'.') {
            if (!digits) return 0;
            if (++part >= 4) return 0;
            digits = false;
            continue;
        }
        if (*c < L'0' || *c > L'9') return 0;
        digits = true;
        if (part < 3) {
            parts[part] = parts[part] * 10 + static_cast<std::uint32_t>(*c - L'0');
            if (parts[part] > (part == 0 ? 0xFFFFu : 0xFFu)) return 0;
        }
    }
    if (!digits) return 0;
    return parts[0] << 16 | parts[1] << 8 | parts[2];
}
