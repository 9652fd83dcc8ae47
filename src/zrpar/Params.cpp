#include "zrpar/Params.h"

#include <cstring>

#include "zrstd/Error.h"

namespace ZRPAR {

const wchar_t* TypeName(ValueType type)
{
    switch (type) {
    case VT_EMPTY: return L"empty";
    case VT_STRING: return L"string";
    case VT_BOOL: return L"bool";
    case VT_INT: return L"int";
    case VT_LONG: return L"long";
    case VT_DATETIME: return L"datetime";
    case VT_BINARY: return L"binary";
    case VT_PARAMS: return L"params";
    case VT_ARRAY: return L"array";
    }
    return L"unknown";
}

CAutoPtr<Value> Value::CloneValue(int) const { return CAutoPtr<Value>(const_cast<Value*>(this)); }

StringValue::~StringValue() = default;
BoolValue::~BoolValue() = default;
IntValue::~IntValue() = default;
LongValue::~LongValue() = default;
DateTimeValue::~DateTimeValue() = default;
BinaryValue::~BinaryValue() = default;
ArrayValue::~ArrayValue() = default;
ParamsValue::~ParamsValue() = default;
Params::~Params() = default;
ValuesFactory::~ValuesFactory() = default;

namespace {
std::vector<std::uint8_t> CopyBytes(const void* data, std::size_t size)
{
    std::vector<std::uint8_t> bytes(size);
    if (size) std::memcpy(bytes.data(), data, size);
    return bytes;
}

void CheckDepth(int depth)
{
    if (depth > kMaxDepth) ZRERR_throwError(kModule, kTooDeep, L"containers nest deeper than %d levels", kMaxDepth);
}
}  // namespace

BinaryValue::BinaryValue(const void* data, std::size_t size) : m_value(CopyBytes(data, size)) {}

ParamsValue::ParamsValue() : m_params(CreateParams()) {}
ParamsValue::ParamsValue(Params* params) : m_params(params ? CAutoPtr<Params>(params) : CreateParams()) {}

CAutoPtr<Value> ParamsValue::CloneValue(int depth) const
{
    CAutoPtr<Params> copy = m_params->CloneAt(depth + 1);
    return ZRSTD::MakeRef<ParamsValue>(copy.Get());
}

CAutoPtr<Value> ArrayValue::CloneValue(int depth) const
{
    CheckDepth(depth + 1);
    auto copy = ZRSTD::MakeRef<ArrayValue>();
    copy->m_items.reserve(m_items.size());
    for (const auto& item : m_items) copy->m_items.push_back(item ? item->CloneValue(depth + 1) : nullptr);
    return copy;
}

CAutoPtr<Value> ArrayValue::GetAt(std::size_t index) const
{
    if (index >= m_items.size())
        ZRERR_throwError(kModule, kIndexOutOfRange, L"array index %zu is beyond the size %zu", index, m_items.size());
    return m_items[index];
}

void ArrayValue::SetAt(std::size_t index, Value* value)
{
    if (index >= m_items.size())
        ZRERR_throwError(kModule, kIndexOutOfRange, L"array index %zu is beyond the size %zu", index, m_items.size());
    m_items[index] = value;
}

CAutoPtr<Value> Params::GetValue(std::wstring_view name) const
{
    Value* value = FindValue(name);
    if (!value) ZRERR_throwError("ZRSTD", kAbsent, L"value \"%s\" is absent", name);
    return CAutoPtr<Value>(value);
}

void Params::GetValue(std::wstring_view name, Value** ppValue) const
{
    ZRSTD_CHECK_ARG(ppValue);
    *ppValue = GetValue(name).Detach();
}

std::size_t Params::IndexOf(std::wstring_view name) const
{
    if (m_slots.empty()) {
        for (std::size_t i = 0; i < m_entries.size(); ++i)
            if (m_entries[i].name == name) return i;
        return kNotFound;
    }
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t slot = std::hash<std::wstring_view>{}(name) & mask;; slot = (slot + 1) & mask) {
        const std::uint32_t held = m_slots[slot];
        if (held == 0) return kNotFound;
        if (m_entries[held - 1].name == name) return held - 1;
    }
}

void Params::IndexInsert(std::size_t position)
{
    if (m_slots.empty()) {
        if (m_entries.size() > kLinearLimit) RebuildIndex();
        return;
    }
    if ((m_entries.size()) * 2 > m_slots.size()) {  // keep the table at most half full
        RebuildIndex();
        return;
    }
    const std::size_t mask = m_slots.size() - 1;
    std::size_t slot = std::hash<std::wstring_view>{}(m_entries[position].name) & mask;
    while (m_slots[slot] != 0) slot = (slot + 1) & mask;
    m_slots[slot] = static_cast<std::uint32_t>(position + 1);
}

void Params::RebuildIndex()
{
    m_slots.clear();
    if (m_entries.size() <= kLinearLimit) return;
    std::size_t size = 16;
    while (size < m_entries.size() * 2) size *= 2;
    m_slots.assign(size, 0);
    const std::size_t mask = size - 1;
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        std::size_t slot = std::hash<std::wstring_view>{}(m_entries[i].name) & mask;
        while (m_slots[slot] != 0) slot = (slot + 1) & mask;
        m_slots[slot] = static_cast<std::uint32_t>(i + 1);
    }
}

Value* Params::FindValue(std::wstring_view name) const
{
    const std::size_t position = IndexOf(name);
    return position == kNotFound ? nullptr : m_entries[position].value.Get();
}

void Params::AddValue(std::wstring_view name, Value* value)
{
    if (!value) ZRERR_throwError(kModule, kInvalidValue, L"null value for \"%s\"", name);
    if (!TryAppend(std::wstring(name), CAutoPtr<Value>(value)))
        ZRERR_throwError(kModule, kAlreadyExists, L"value \"%s\" exists already", name);
}

bool Params::TryAppend(std::wstring&& name, CAutoPtr<Value>&& value)
{
    if (!value) ZRERR_throwError(kModule, kInvalidValue, L"null value for \"%s\"", name);
    if (IndexOf(name) != kNotFound) return false;
    if (m_entries.size() >= UINT32_MAX - 1) ZRERR_throwError(kModule, kUnsupported, L"too many values in one container");
    m_entries.push_back({std::move(name), std::move(value)});
    IndexInsert(m_entries.size() - 1);
    return true;
}

void Params::ReplaceValue(std::wstring_view name, Value* value)
{
    if (!value) ZRERR_throwError(kModule, kInvalidValue, L"null value for \"%s\"", name);
    const std::size_t position = IndexOf(name);
    if (position == kNotFound) {
        AddValue(name, value);
        return;
    }
    m_entries[position].value = value;
}

bool Params::DeleteValue(std::wstring_view name)
{
    const std::size_t position = IndexOf(name);
    if (position == kNotFound) return false;
    m_entries.erase(m_entries.begin() + static_cast<std::ptrdiff_t>(position));
    RebuildIndex();
    return true;
}

void Params::Clear()
{
    m_slots.clear();
    m_entries.clear();
}

std::vector<std::wstring> Params::GetNames() const
{
    std::vector<std::wstring> names;
    names.reserve(m_entries.size());
    for (const auto& entry : m_entries) names.push_back(entry.name);
    return names;
}

CAutoPtr<Params> Params::Clone() const { return CloneAt(1); }

void Params::Clone(Params** ppClone) const
{
    ZRSTD_CHECK_ARG(ppClone);
    *ppClone = Clone().Detach();
}

CAutoPtr<Params> Params::CloneAt(int depth) const
{
    if (depth > kMaxDepth) ZRERR_throwError(kModule, kTooDeep, L"containers nest deeper than %d levels", kMaxDepth);
    auto copy = CreateParams();
    copy->m_entries.reserve(m_entries.size());
    for (const auto& entry : m_entries) copy->m_entries.push_back({entry.name, entry.value->CloneValue(depth)});
    copy->m_slots = m_slots;  // same names in the same positions
    return copy;
}

bool Equals(const Value* a, const Value* b)
{
    if (!a || !b) return a == b;
    if (a->GetType() != b->GetType()) return false;
    switch (a->GetType()) {
    case VT_EMPTY: return true;
    case VT_STRING: return static_cast<const StringValue*>(a)->GetValue() == static_cast<const StringValue*>(b)->GetValue();
    case VT_BOOL: return static_cast<const BoolValue*>(a)->GetValue() == static_cast<const BoolValue*>(b)->GetValue();
    case VT_INT: return static_cast<const IntValue*>(a)->GetValue() == static_cast<const IntValue*>(b)->GetValue();
    case VT_LONG: return static_cast<const LongValue*>(a)->GetValue() == static_cast<const LongValue*>(b)->GetValue();
    case VT_DATETIME:
        return static_cast<const DateTimeValue*>(a)->GetValue() == static_cast<const DateTimeValue*>(b)->GetValue();
    case VT_BINARY: return static_cast<const BinaryValue*>(a)->GetValue() == static_cast<const BinaryValue*>(b)->GetValue();
    case VT_PARAMS:
        return Equals(*static_cast<const ParamsValue*>(a)->GetValue(), *static_cast<const ParamsValue*>(b)->GetValue());
    case VT_ARRAY: {
        const auto* x = static_cast<const ArrayValue*>(a);
        const auto* y = static_cast<const ArrayValue*>(b);
        if (x->GetSize() != y->GetSize()) return false;
        for (std::size_t i = 0; i < x->GetSize(); ++i)
            if (!Equals(x->ItemAt(i), y->ItemAt(i))) return false;
        return true;
    }
    }
    return false;
}

bool Equals(const Params& a, const Params& b)
{
    if (&a == &b) return true;
    if (a.GetSize() != b.GetSize()) return false;
    for (std::size_t i = 0; i < a.GetSize(); ++i) {
        if (a.NameAt(i) != b.NameAt(i) || !Equals(a.ValueAt(i), b.ValueAt(i))) return false;
    }
    return true;
}

CAutoPtr<Params> CreateParams() { return ZRSTD::MakeRef<Params>(); }

CAutoPtr<Value> CreateValue(std::wstring_view value) { return ZRSTD::MakeRef<StringValue>(std::wstring(value)); }
CAutoPtr<Value> CreateValue(const wchar_t* value) { return CreateValue(std::wstring_view(value ? value : L"")); }
CAutoPtr<Value> CreateValue(const std::wstring& value) { return ZRSTD::MakeRef<StringValue>(value); }
CAutoPtr<Value> CreateValue(std::wstring&& value) { return ZRSTD::MakeRef<StringValue>(std::move(value)); }
CAutoPtr<Value> CreateValue(bool value)
{
    // Values are immutable, so every container can share the two bools.
    static Value* const kFalse = new BoolValue(false);
    static Value* const kTrue = new BoolValue(true);
    return CAutoPtr<Value>(value ? kTrue : kFalse);
}
CAutoPtr<Value> CreateValue(std::int32_t value) { return ZRSTD::MakeRef<IntValue>(value); }
CAutoPtr<Value> CreateValue(std::int64_t value) { return ZRSTD::MakeRef<LongValue>(value); }
CAutoPtr<Value> CreateValue(DateTime value) { return ZRSTD::MakeRef<DateTimeValue>(value.seconds); }
CAutoPtr<Value> CreateValue(binary_wrapper_t value)
{
    if (!value.data && value.size) ZRERR_throwError(kModule, kInvalidValue, L"binary value without data");
    return ZRSTD::MakeRef<BinaryValue>(value.data, value.size);
}
CAutoPtr<Value> CreateValue(const ZRSTD::MemoryChunk& chunk)
{
    return ZRSTD::MakeRef<BinaryValue>(chunk.GetData(), chunk.GetDataSize());
}
CAutoPtr<Value> CreateValue(Params* value) { return ZRSTD::MakeRef<ParamsValue>(value); }

CAutoPtr<ArrayValue> CreateArrayValue(std::size_t size)
{
    auto array = ZRSTD::MakeRef<ArrayValue>();
    array->SetSize(size);
    return array;
}

namespace {
template <class V>
const V* TypedChild(const Params* params, std::wstring_view name, ValueType type)
{
    ZRSTD_CHECK_ARG(params);
    Value* value = params->FindValue(name);
    if (!value) ZRERR_throwError("ZRSTD", kAbsent, L"value \"%s\" is absent", name);
    if (value->GetType() != type)
        ZRERR_throwError(kModule, kWrongType, L"value \"%s\" is %s, not %s", name, TypeName(value->GetType()),
                         TypeName(type));
    return static_cast<const V*>(value);
}
}  // namespace

CAutoPtr<Value> GetValue(const Params* params, std::wstring_view name)
{
    ZRSTD_CHECK_ARG(params);
    return params->GetValue(name);
}

std::wstring GetStringValue(const Params* p, std::wstring_view n) { return TypedChild<StringValue>(p, n, VT_STRING)->GetValue(); }
bool GetBoolValue(const Params* p, std::wstring_view n) { return TypedChild<BoolValue>(p, n, VT_BOOL)->GetValue(); }
std::int32_t GetIntValue(const Params* p, std::wstring_view n) { return TypedChild<IntValue>(p, n, VT_INT)->GetValue(); }
std::int64_t GetLongValue(const Params* p, std::wstring_view n) { return TypedChild<LongValue>(p, n, VT_LONG)->GetValue(); }
std::int64_t GetDateTimeValue(const Params* p, std::wstring_view n)
{
    return TypedChild<DateTimeValue>(p, n, VT_DATETIME)->GetValue();
}
CAutoPtr<BinaryValue> GetBinaryValue(const Params* p, std::wstring_view n)
{
    return CAutoPtr<BinaryValue>(const_cast<BinaryValue*>(TypedChild<BinaryValue>(p, n, VT_BINARY)));
}
CAutoPtr<ArrayValue> GetArrayValue(const Params* p, std::wstring_view n)
{
    return CAutoPtr<ArrayValue>(const_cast<ArrayValue*>(TypedChild<ArrayValue>(p, n, VT_ARRAY)));
}
CAutoPtr<Params> GetParamsValue(const Params* p, std::wstring_view n)
{
    return CAutoPtr<Params>(TypedChild<ParamsValue>(p, n, VT_PARAMS)->GetValue());
}

CAutoPtr<Params> CreateParamsBody(std::initializer_list<ParamsBodyEntry> entries)
{
    auto params = CreateParams();
    for (const auto& entry : entries) params->AddValue(entry.name, entry.value.Get());
    return params;
}

CAutoPtr<ParamsValue> ValuesFactory::CreateParamsValue() const { return ZRSTD::MakeRef<ParamsValue>(); }

void ValuesFactory::CreateParamsValue(ParamsValue** ppValue) const
{
    ZRSTD_CHECK_ARG(ppValue);
    *ppValue = CreateParamsValue().Detach();
}

}  // namespace ZRPAR

void ZRPAR_CreateParams(ZRPAR::Params** ppParams)
{
    ZRSTD_CHECK_ARG(ppParams);
    *ppParams = ZRPAR::CreateParams().Detach();
}

void ZRPAR_CreateValuesFactory(ZRPAR::ValuesFactory** ppFactory)
{
    ZRSTD_CHECK_ARG(ppFactory);
    *ppFactory = ZRSTD::MakeRef<ZRPAR::ValuesFactory>().Detach();
}

void ZRPAR_Concatenate(const ZRPAR::Params* first, const ZRPAR::Params* second, ZRPAR::Params** ppResult)
{
    ZRSTD_CHECK_ARG(ppResult);
    auto result = first ? first->Clone() : ZRPAR::CreateParams();
    if (second) {
        for (std::size_t i = 0; i < second->GetSize(); ++i) {
            const std::wstring& name = second->NameAt(i);
            if (!result->DoesExist(name)) result->AddValue(name, second->ValueAt(i)->CloneValue(1).Get());
        }
    }
    *ppResult = result.Detach();
}

namespace {
void WriteMerge(ZRPAR::Params* target, const ZRPAR::Params* source, int depth)
{
    using namespace ZRPAR;
    if (depth > kMaxDepth) ZRERR_throwError(kModule, kTooDeep, L"containers nest deeper than %d levels", kMaxDepth);
    for (std::size_t i = 0; i < source->GetSize(); ++i) {
        const std::wstring& name = source->NameAt(i);
        Value* incoming = source->ValueAt(i);
        Value* existing = target->FindValue(name);
        if (incoming->GetType() == VT_PARAMS && existing && existing->GetType() == VT_PARAMS) {
            WriteMerge(static_cast<ParamsValue*>(existing)->GetValue(), static_cast<ParamsValue*>(incoming)->GetValue(),
                       depth + 1);
        } else {
            target->ReplaceValue(name, incoming->CloneValue(depth).Get());
        }
    }
}
}  // namespace

void ZRPAR_Write(ZRPAR::Params* target, const ZRPAR::Params* source, int mode)
{
    ZRSTD_CHECK_ARG(target);
    if (mode != 3) ZRERR_throwError(ZRPAR::kModule, ZRPAR::kUnsupported, L"write mode %d is not supported", mode);
    if (source && source != target) WriteMerge(target, source, 1);
}
