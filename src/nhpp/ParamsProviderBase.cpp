#include "nhpp/ParamsProviderBase.h"

#include <ctime>
#include <limits>

#include "nhpp/ParamsProviderPolicy.h"
#include "zrpar/Serialize.h"
#include "zrstd/Strings.h"
#include "zrstd/Trace.h"

namespace NHPP {

namespace {

template <class Action>
HResult Guarded(const std::string& operation, HResult onError, Action&& action)
{
    try {
        return action();
    } catch (const ZRERR::Error& error) {
        ZRERR::SayFailure2(error, operation.c_str(), 5);
        return onError;
    }
}

CParamsProviderBase* AsProvider(CParams* provider) { return dynamic_cast<CParamsProviderBase*>(provider); }

}  // namespace

CParamsProviderBase::~CParamsProviderBase() = default;

std::optional<std::int64_t> NormalizeLocalTime(std::int64_t time)
{
    if (time < std::numeric_limits<std::time_t>::min() || time > std::numeric_limits<std::time_t>::max())
        return std::nullopt;
    const std::time_t t = static_cast<std::time_t>(time);
    std::tm local{};
    if (!localtime_r(&t, &local)) return std::nullopt;
    local.tm_isdst = -1;
    const std::time_t back = std::mktime(&local);
    if (back == static_cast<std::time_t>(-1) && time != -1) return std::nullopt;
    return static_cast<std::int64_t>(back);
}

const ZRERR::Error* CParamsProviderBase::UnreadableSettings(bool& ofPolicy) const
{
    ofPolicy = !m_loadError && m_policyReadError;
    if (m_loadError) return &*m_loadError;
    return m_policyReadError ? &*m_policyReadError : nullptr;
}

HResult CParamsProviderBase::RefuseUnreadable(ErrorReporter* reporter) const
{
    bool ofPolicy = false;
    const ZRERR::Error* error = UnreadableSettings(ofPolicy);
    if (!error) return kOk;
    if (reporter) reporter->ReportError(*error);
    return kFail;
}

HResult CParamsProviderBase::CommitRoot(bool replace, bool reloadOnError, ErrorReporter* reporter, const char* operation)
{
    // nothing is written over data that was never read, or under a policy whose locks are unknown
    if (!m_root || m_policyReadError) return RefuseUnreadable(reporter);
    const HResult result = CommitToStorage(
        m_storage.Get(), m_product, m_version, m_storageSection,
        [&] {
            if (replace) m_storage->Replace(m_product.c_str(), m_version.c_str(), m_storageSection.c_str(), m_root.Get());
            else m_storage->Update(m_product.c_str(), m_version.c_str(), m_storageSection.c_str(), m_root.Get());
        },
        reporter, operation);
    if (result != kOk && reloadOnError) Reload();
    return result;
}

// Names and sections --------------------------------------------------------

std::wstring CParamsProviderBase::FullName(const wchar_t* key) const
{
    if (!key || !*key) {
        std::wstring section = m_section;
        if (!section.empty() && section.back() == kSeparator) section.pop_back();
        return section;
    }
    return m_section + key;
}

void CParamsProviderBase::GetFullName(std::wstring& fullName, const wchar_t* key) { fullName = FullName(key); }

void CParamsProviderBase::SetSection(const wchar_t* section)
{
    if (!section) return;
    m_section = section;
    if (!m_section.empty()) m_section += kSeparator;
}

void CParamsProviderBase::EnterSection(const wchar_t* key) { SetSection(FullName(key).c_str()); }

void CParamsProviderBase::GetSection(std::wstring& section) { section = FullName(nullptr); }

void CParamsProviderBase::ResetSection() { m_section.clear(); }

// Creation and copies -------------------------------------------------------

HResult CParamsProviderBase::CreateInstance(CParams** ppOut, ZRPAR::Params* root, bool keepNull)
{
    if (!ppOut) return kInvalidArg;
    *ppOut = nullptr;
    auto provider = NewProvider();
    if (root) provider->m_root = root;
    else if (!keepNull) provider->m_root = provider->NewEmptyRoot();
    *ppOut = provider.Detach();
    return kOk;
}

HResult CParamsProviderBase::Duplicate(CParams** ppOut)
{
    if (!ppOut) return kInvalidArg;
    *ppOut = nullptr;
    auto provider = NewProvider();
    provider->CopyFrom(this, false);
    *ppOut = provider.Detach();
    return kOk;
}

HResult CParamsProviderBase::CloneParams(CParams** ppOut)
{
    if (!ppOut) return kInvalidArg;
    *ppOut = nullptr;
    return Guarded(Operation("CloneParams").c_str(), kFail, [&] {
        auto provider = NewProvider();
        provider->CopyFrom(this, false);
        provider->m_root = m_root ? m_root->Clone() : nullptr;
        *ppOut = provider.Detach();
        return kOk;
    });
}

HResult CParamsProviderBase::Clone(CParams** ppOut, const wchar_t* sectionKey, bool keepPath)
{
    if (!ppOut) return kInvalidArg;
    *ppOut = nullptr;
    if (!sectionKey) return kInvalidArg;
    return Guarded(Operation("Clone").c_str(), kFail, [&]() -> HResult {
        auto provider = NewProvider();
        provider->CopyFrom(this, false);
        provider->m_root = provider->NewEmptyRoot();  // the lock source stays shared
        const std::wstring path = keepPath ? FullName(sectionKey) : std::wstring(sectionKey);
        if (path.empty()) {
            if (!m_root) return kFalse;
            provider->m_root = m_root->Clone();
            *ppOut = provider.Detach();
            return kOk;
        }
        ZRPAR::Params* section = FindSection(path.c_str(), true);
        if (!section) return kFalse;
        auto copy = section->Clone();
        if (keepPath) {
            provider->SetParams(sectionKey, copy.Get(), false);
            provider->EnterSection(sectionKey);  // where the copy was stored
        } else {
            provider->AdoptSectionCopy(copy.Get());
        }
        *ppOut = provider.Detach();
        return kOk;
    });
}

void CParamsProviderBase::CopyFrom(CParams* source, bool resetSection)
{
    CParamsProviderBase* other = AsProvider(source);
    if (!other || other == this) return;
    m_root = other->m_root;
    m_lockSource = other->m_lockSource;
    m_policyReadError = other->m_policyReadError;
    m_section = resetSection ? std::wstring() : other->m_section;
    m_product = other->m_product;
    m_version = other->m_version;
    m_storageSection = other->m_storageSection;
    CopyExtraFrom(*other);
}

HResult CParamsProviderBase::GetRoot(ZRPAR::Params** ppRoot)
{
    if (!ppRoot) return kInvalidArg;
    ZRSTD::ReturnRef(ppRoot, m_root.Get());
    return kOk;
}

HResult CParamsProviderBase::ReplaceRoot(ZRPAR::Params* root)
{
    if (!root) return kInvalidArg;
    return Guarded(Operation("ReplaceRoot").c_str(), kFail, [&] {
        if (!m_root) {
            m_root = root;
            return kOk;
        }
        if (root == m_root.Get()) return kOk;
        // Every provider and page sharing this root keeps seeing the same object.
        auto copy = root->Clone();
        m_root->Clear();
        for (std::size_t i = 0; i < copy->GetSize(); ++i) m_root->AddValue(copy->NameAt(i), copy->ValueAt(i));
        return kOk;
    });
}

HResult CParamsProviderBase::ReplaceRoot(CParams* provider)
{
    if (!provider) return kFail;
    ZRSTD::CAutoPtr<ZRPAR::Params> root;
    provider->GetRoot(&root);
    return ReplaceRoot(root.Get());
}

// Policy flags: meaningful in the policy form only ---------------------------

HResult CParamsProviderBase::SetMandatory(const wchar_t*, bool) { return kFalse; }
HResult CParamsProviderBase::SetMandatoryForContainer(const wchar_t*, bool) { return kFalse; }
HResult CParamsProviderBase::SetMandatoryForArray(const wchar_t*, bool, bool) { return kFalse; }

HResult CParamsProviderBase::WriteFlags(const wchar_t* key, std::initializer_list<std::pair<const wchar_t*, bool>> flags,
                                        const char* operation)
{
    if (!key) return kInvalidArg;
    if (!m_root) return kFalse;
    return Guarded(operation, kFail, [&] {
        auto path = GetValueCompatiblePath(FullName(key), PathForm::PolicyValue);
        if (!path) return kUnexpected;
        // A container that holds only the flags at the setting's place, merged
        // into the root: every other entry stays, missing containers appear.
        auto patch = ZRPAR::CreateParams();
        ZRPAR::Params* target = WalkCreatingContainers(patch.Get(), path->containers, [](ZRPAR::Params*) {});
        for (const auto& [name, value] : flags) target->ReplaceValue(name, ZRPAR::CreateValue(value).Get());
        ZRPAR_Write(m_root.Get(), patch.Get(), 3);
        return kOk;
    });
}

HResult CParamsProviderBase::GetLockData(const wchar_t* key, PolicyLockInfo* lock)
{
    if (!key || !lock) return kInvalidArg;
    if (m_policyReadError) {
        SetUnreadablePolicyLock(*lock);
        return kFail;
    }
    return ReadPolicyLock(m_lockSource.Get(), FullName(key), lock);
}

// Sections ------------------------------------------------------------------

ZRPAR::Params* CParamsProviderBase::FindSection(const wchar_t* sectionKey, bool keyIsFullName) const
{
    if (!m_root) return nullptr;
    std::wstring full = keyIsFullName ? std::wstring(sectionKey ? sectionKey : L"") : FullName(sectionKey);
    if (!full.empty()) full += kSeparator;
    full += kFakeValue;
    auto path = GetValueCompatiblePath(full, SettingContainerForm());
    if (!path) return nullptr;
    try {
        return WalkContainers(m_root.Get(), path->containers);
    } catch (const ZRERR::Error& error) {
        ZRERR::SayFailure2(error, Operation("GetNames").c_str(), 5);
        return nullptr;
    }
}

HResult CParamsProviderBase::GetNames(const wchar_t* sectionKey, std::vector<std::wstring>& names)
{
    names.clear();
    ZRPAR::Params* section = FindSection(sectionKey, false);
    if (!section) return kFalse;
    names = section->GetNames();
    return kOk;
}

HResult CParamsProviderBase::GetSize(const wchar_t* sectionKey, std::size_t& count)
{
    count = 0;
    ZRPAR::Params* section = FindSection(sectionKey, false);
    if (!section) return kFalse;
    count = section->GetSize();
    return kOk;
}

HResult CParamsProviderBase::Remove(const wchar_t* key)
{
    if (!key) return kInvalidArg;
    if (!m_root) return kFalse;
    return Guarded(Operation("Remove").c_str(), kFalse, [&] {
        auto path = GetValueCompatiblePath(FullName(key), SettingContainerForm());
        if (!path) return kUnexpected;
        return WalkContainers(m_root.Get(), path->containers)->DeleteValue(path->name) ? kOk : kFalse;
    });
}

// Arrays --------------------------------------------------------------------

HResult CParamsProviderBase::EditArray(const wchar_t* key, const char* operation,
                                       const std::function<void(ZRPAR::ArrayValue&)>& edit, bool createWhenAbsent)
{
    ZRSTD::CAutoPtr<ZRPAR::ArrayValue> array;
    HResult result = GetArray(key, &array, nullptr);
    if (result < 0) return result;
    if (result == kFalse) {
        if (!createWhenAbsent) return kFalse;
        array = ZRPAR::CreateArrayValue();
        result = SetArray(key, array.Get(), false);
        if (result != kOk) return result < 0 ? result : kFail;
    }
    return Guarded(operation, kFail, [&] {
        edit(*array);
        return kOk;
    });
}

HResult CParamsProviderBase::GetArraySize(const wchar_t* key, std::size_t& size)
{
    size = 0;
    ZRSTD::CAutoPtr<ZRPAR::ArrayValue> array;
    const HResult result = GetArray(key, &array, nullptr);
    if (result == kOk) size = array->GetSize();
    return result;
}

template <class Scalar, class Get>
HResult CParamsProviderBase::ReadArrayItem(const wchar_t* key, std::size_t index, ZRPAR::ValueType type, Get get,
                                           Scalar& out)
{
    ZRSTD::CAutoPtr<ZRPAR::ArrayValue> array;
    const HResult result = GetArray(key, &array, nullptr);
    if (result != kOk) return result;
    if (index >= array->GetSize()) return kFalse;
    ZRPAR::Value* item = type == ZRPAR::VT_LONG || type == ZRPAR::VT_PARAMS ? array->ItemAt(index)
                                                                            : ItemScalar(array->ItemAt(index));
    if (!item) return kFalse;
    if (item->GetType() != type) return kUnexpected;
    out = get(item);
    return kOk;
}

HResult CParamsProviderBase::GetArrayItem(const wchar_t* key, std::size_t index, std::int64_t& value)
{
    return ReadArrayItem(key, index, ZRPAR::VT_LONG,
                         [](ZRPAR::Value* v) { return static_cast<ZRPAR::LongValue*>(v)->GetValue(); }, value);
}

HResult CParamsProviderBase::GetArrayItem(const wchar_t* key, std::size_t index, std::int32_t& value)
{
    return ReadArrayItem(key, index, ZRPAR::VT_INT,
                         [](ZRPAR::Value* v) { return static_cast<ZRPAR::IntValue*>(v)->GetValue(); }, value);
}

HResult CParamsProviderBase::GetArrayItem(const wchar_t* key, std::size_t index, std::wstring& value)
{
    return ReadArrayItem(key, index, ZRPAR::VT_STRING,
                         [](ZRPAR::Value* v) { return static_cast<ZRPAR::StringValue*>(v)->GetValue(); }, value);
}

HResult CParamsProviderBase::GetArrayItem(const wchar_t* key, std::size_t index, CString& value)
{
    std::wstring text;
    const HResult result = GetArrayItem(key, index, text);
    if (result == kOk) value = CString(std::move(text));
    return result;
}

HResult CParamsProviderBase::GetArrayItem(const wchar_t* key, std::size_t index, CParams** ppItem)
{
    if (!ppItem) return kInvalidArg;
    *ppItem = nullptr;
    ZRPAR::Params* item = nullptr;
    const HResult result = ReadArrayItem(key, index, ZRPAR::VT_PARAMS,
                                         [](ZRPAR::Value* v) { return static_cast<ZRPAR::ParamsValue*>(v)->GetValue(); },
                                         item);
    if (result != kOk) return result;
    return CreateInstance(ppItem, item, false);
}

ZRSTD::CAutoPtr<ZRPAR::Value> CParamsProviderBase::MakeScalarItem(ZRPAR::Value* scalar, const wchar_t*) const
{
    return ZRSTD::CAutoPtr<ZRPAR::Value>(scalar);
}

void CParamsProviderBase::ReplaceScalarItem(ZRPAR::ArrayValue& array, std::size_t index, ZRPAR::Value* scalar) const
{
    array.SetAt(index, scalar);
}

ZRSTD::CAutoPtr<ZRPAR::Value> CParamsProviderBase::MakeProviderItem(ZRPAR::Params* root, const wchar_t*) const
{
    return ZRPAR::CreateValue(root);
}

void CParamsProviderBase::ReplaceProviderItem(ZRPAR::ArrayValue& array, std::size_t index, ZRPAR::Params* root) const
{
    array.SetAt(index, ZRPAR::CreateValue(root).Get());
}

HResult CParamsProviderBase::RemoveArrayItem(const wchar_t* key, std::size_t index)
{
    return EditArray(key, Operation("RemoveArrayItem").c_str(), [&](ZRPAR::ArrayValue& array) {
        if (index >= array.GetSize()) return;
        for (std::size_t i = index + 1; i < array.GetSize(); ++i) array.SetAt(i - 1, array.ItemAt(i));
        array.SetSize(array.GetSize() - 1);
    }, false);
}

HResult CParamsProviderBase::ReplaceArrayItem(const wchar_t* key, std::size_t index, std::int64_t value)
{
    return EditArray(key, Operation("ReplaceArrayItem").c_str(), [&](ZRPAR::ArrayValue& array) {
        if (index < array.GetSize()) array.SetAt(index, ZRPAR::CreateValue(value).Get());
    }, false);
}

HResult CParamsProviderBase::ReplaceArrayItem(const wchar_t* key, std::size_t index, std::int32_t value)
{
    return EditArray(key, Operation("ReplaceArrayItem").c_str(), [&](ZRPAR::ArrayValue& array) {
        if (index < array.GetSize()) ReplaceScalarItem(array, index, ZRPAR::CreateValue(value).Get());
    }, false);
}

HResult CParamsProviderBase::ReplaceArrayItem(const wchar_t* key, std::size_t index, const std::wstring& value)
{
    return EditArray(key, Operation("ReplaceArrayItem").c_str(), [&](ZRPAR::ArrayValue& array) {
        if (index < array.GetSize()) ReplaceScalarItem(array, index, ZRPAR::CreateValue(value).Get());
    }, false);
}

HResult CParamsProviderBase::ReplaceArrayItem(const wchar_t* key, std::size_t index, CParams* item)
{
    CParamsProviderBase* provider = AsProvider(item);
    if (!provider || !provider->m_root) return kInvalidArg;
    return EditArray(key, Operation("ReplaceArrayItem").c_str(), [&](ZRPAR::ArrayValue& array) {
        if (index < array.GetSize()) ReplaceProviderItem(array, index, provider->m_root.Get());
    }, false);
}

HResult CParamsProviderBase::PushbackArrayItem(const wchar_t* key, std::int64_t value, const wchar_t*)
{
    return EditArray(key, Operation("PushbackArrayItem").c_str(), [&](ZRPAR::ArrayValue& array) {
        array.Append(ZRPAR::CreateValue(value).Get());
    }, true);
}

HResult CParamsProviderBase::PushbackArrayItem(const wchar_t* key, std::int32_t value, const wchar_t* concatItemName)
{
    return EditArray(key, Operation("PushbackArrayItem").c_str(), [&](ZRPAR::ArrayValue& array) {
        array.Append(MakeScalarItem(ZRPAR::CreateValue(value).Get(), concatItemName).Get());
    }, true);
}

HResult CParamsProviderBase::PushbackArrayItem(const wchar_t* key, const std::wstring& value,
                                               const wchar_t* concatItemName)
{
    return EditArray(key, Operation("PushbackArrayItem").c_str(), [&](ZRPAR::ArrayValue& array) {
        array.Append(MakeScalarItem(ZRPAR::CreateValue(value).Get(), concatItemName).Get());
    }, true);
}

HResult CParamsProviderBase::PushbackArrayItem(const wchar_t* key, CParams* item, const wchar_t* concatItemName)
{
    CParamsProviderBase* provider = AsProvider(item);
    if (!provider || !provider->m_root) return kInvalidArg;
    return EditArray(key, Operation("PushbackArrayItem").c_str(), [&](ZRPAR::ArrayValue& array) {
        array.Append(MakeProviderItem(provider->m_root.Get(), concatItemName).Get());
    }, true);
}

// Typed reads ---------------------------------------------------------------

template <class V, class T>
HResult CParamsProviderBase::ReadScalar(const wchar_t* key, ZRPAR::ValueType type, T& out, PolicyLockInfo* lock,
                                        const char* name)
{
    ZRSTD::CAutoPtr<ZRPAR::Value> value;
    const HResult result = ReadValue(key, type, value, lock, Operation(name).c_str());
    if (result == kOk) out = static_cast<V*>(value.Get())->GetValue();
    return result;
}

HResult CParamsProviderBase::GetDateTime(const wchar_t* key, std::int64_t& value, PolicyLockInfo* lock)
{
    return ReadScalar<ZRPAR::DateTimeValue>(key, ZRPAR::VT_DATETIME, value, lock, "GetDateTime");
}

HResult CParamsProviderBase::GetDateTime(const wchar_t* key, std::int32_t& value, PolicyLockInfo* lock)
{
    std::int64_t wide = 0;
    const HResult result = GetDateTime(key, wide, lock);
    if (result != kOk) return result;
    if (wide < std::numeric_limits<std::int32_t>::min() || wide > std::numeric_limits<std::int32_t>::max()) {
        ZRSTD::Trace(5, L"the date-time \"%s\" does not fit 32 bits", FullName(key));
        return kFail;
    }
    value = static_cast<std::int32_t>(wide);
    return kOk;
}

HResult CParamsProviderBase::GetString(const wchar_t* key, std::wstring& value, PolicyLockInfo* lock)
{
    return ReadScalar<ZRPAR::StringValue>(key, ZRPAR::VT_STRING, value, lock, "GetString");
}

HResult CParamsProviderBase::GetString(const wchar_t* key, CString& value, PolicyLockInfo* lock)
{
    std::wstring text;
    const HResult result = GetString(key, text, lock);
    if (result == kOk) value = CString(std::move(text));
    return result;
}

HResult CParamsProviderBase::GetBinary(const wchar_t* key, ZRPAR::BinaryValue** ppValue, PolicyLockInfo* lock)
{
    if (!ppValue) return kInvalidArg;
    ZRSTD::CAutoPtr<ZRPAR::Value> v;
    const HResult result = ReadValue(key, ZRPAR::VT_BINARY, v, lock, Operation("GetBinary").c_str());
    if (result == kOk) *ppValue = static_cast<ZRPAR::BinaryValue*>(v.Detach());
    return result;
}

HResult CParamsProviderBase::GetBinary(const wchar_t* key, ZRSTD::MemoryChunk** ppChunk, PolicyLockInfo* lock)
{
    if (!ppChunk) return kInvalidArg;
    ZRSTD::CAutoPtr<ZRPAR::BinaryValue> value;
    const HResult result = GetBinary(key, &value, lock);
    if (result != kOk) return result;
    ZRSTD_AllocMemoryChunk(value->GetDataSize(), ppChunk);
    if (value->GetDataSize()) std::copy(value->GetValue().begin(), value->GetValue().end(), (*ppChunk)->GetData());
    return kOk;
}

HResult CParamsProviderBase::GetArray(const wchar_t* key, ZRPAR::ArrayValue** ppArray, PolicyLockInfo* lock)
{
    if (!ppArray) return kInvalidArg;
    ZRSTD::CAutoPtr<ZRPAR::Value> v;
    const HResult result = ReadValue(key, ZRPAR::VT_ARRAY, v, lock, Operation("GetArray").c_str());
    if (result == kOk) *ppArray = static_cast<ZRPAR::ArrayValue*>(v.Detach());
    return result;
}

HResult CParamsProviderBase::GetParams(const wchar_t* key, ZRPAR::Params** ppParams, PolicyLockInfo* lock)
{
    if (!ppParams) return kInvalidArg;
    ZRSTD::CAutoPtr<ZRPAR::Value> v;
    const HResult result = ReadValue(key, ZRPAR::VT_PARAMS, v, lock, Operation("GetParams").c_str());
    if (result == kOk) ZRSTD::ReturnRef(ppParams, static_cast<ZRPAR::ParamsValue*>(v.Get())->GetValue());
    return result;
}

HResult CParamsProviderBase::GetParamsProvider(const wchar_t* key, CParams** ppProvider, PolicyLockInfo* lock)
{
    if (!ppProvider) return kInvalidArg;
    *ppProvider = nullptr;
    ZRSTD::CAutoPtr<ZRPAR::Params> nested;
    const HResult result = GetParams(key, &nested, lock);
    if (result != kOk) return result;
    return CreateInstance(ppProvider, nested.Get(), false);
}

HResult CParamsProviderBase::GetLong(const wchar_t* key, std::int64_t& value, PolicyLockInfo* lock)
{
    return ReadScalar<ZRPAR::LongValue>(key, ZRPAR::VT_LONG, value, lock, "GetLong");
}

HResult CParamsProviderBase::GetBool(const wchar_t* key, bool& value, PolicyLockInfo* lock)
{
    return ReadScalar<ZRPAR::BoolValue>(key, ZRPAR::VT_BOOL, value, lock, "GetBool");
}

HResult CParamsProviderBase::GetInt(const wchar_t* key, std::int32_t& value, PolicyLockInfo* lock)
{
    return ReadScalar<ZRPAR::IntValue>(key, ZRPAR::VT_INT, value, lock, "GetInt");
}

// Read with default ---------------------------------------------------------

HResult CParamsProviderBase::GetBinaryOrDefault(ZRSTD::MemoryChunk** ppChunk, const wchar_t* key,
                                                ZRSTD::MemoryChunk* defaultChunk, PolicyLockInfo* lock)
{
    if (!ppChunk) return kInvalidArg;
    *ppChunk = nullptr;
    const HResult result = GetBinary(key, ppChunk, lock);
    if (result != kOk) ZRSTD::ReturnRef(ppChunk, defaultChunk);
    return result;
}

std::int64_t CParamsProviderBase::GetLongOrDefault(const wchar_t* key, std::int64_t defaultValue, PolicyLockInfo* lock)
{
    std::int64_t value = 0;
    return GetLong(key, value, lock) == kOk ? value : defaultValue;
}

bool CParamsProviderBase::GetBoolOrDefault(const wchar_t* key, bool defaultValue, PolicyLockInfo* lock)
{
    bool value = false;
    return GetBool(key, value, lock) == kOk ? value : defaultValue;
}

void CParamsProviderBase::GetStringOrDefault(std::wstring& value, const wchar_t* key, const wchar_t* defaultValue,
                                             PolicyLockInfo* lock)
{
    if (GetString(key, value, lock) != kOk) value = defaultValue ? defaultValue : L"";
}

void CParamsProviderBase::GetStringOrDefault(CString& value, const wchar_t* key, const wchar_t* defaultValue,
                                             PolicyLockInfo* lock)
{
    std::wstring text;
    GetStringOrDefault(text, key, defaultValue, lock);
    value = CString(std::move(text));
}

// Typed writes --------------------------------------------------------------

HResult CParamsProviderBase::SetDateTime(const wchar_t* key, const std::int64_t* time, bool mandatory)
{
    if (!time) return kInvalidArg;
    const auto normalized = NormalizeLocalTime(*time);
    if (!normalized) {
        ZRSTD::Trace(5, L"%hs: %I64d has no local calendar time", Operation("SetDateTime"), *time);
        return kFail;
    }
    return WriteValue(key, ZRPAR::CreateValue(ZRPAR::DateTime{*normalized}).Get(), mandatory);
}

HResult CParamsProviderBase::SetDateTime(const wchar_t* key, const std::int32_t* time, bool mandatory)
{
    if (!time) return kInvalidArg;
    const std::int64_t wide = *time;
    return SetDateTime(key, &wide, mandatory);
}

HResult CParamsProviderBase::SetString(const wchar_t* key, const wchar_t* value, bool mandatory)
{
    if (!value) return kInvalidArg;
    return WriteValue(key, ZRPAR::CreateValue(value).Get(), mandatory);
}

HResult CParamsProviderBase::SetString(const wchar_t* key, const std::wstring& value, bool mandatory)
{
    return WriteValue(key, ZRPAR::CreateValue(value).Get(), mandatory);
}

HResult CParamsProviderBase::SetBinary(const wchar_t* key, const ZRSTD::MemoryChunk* source, bool mandatory)
{
    if (!source) return kInvalidArg;
    ZRSTD::MemoryChunk copy(source->GetData(), source->GetDataSize());
    return SetBinary(key, copy, mandatory);
}

HResult CParamsProviderBase::SetBinary(const wchar_t* key, ZRSTD::MemoryChunk& chunk, bool mandatory)
{
    return WriteValue(key, ZRPAR::CreateValue(chunk).Get(), mandatory);
}

HResult CParamsProviderBase::SetArray(const wchar_t* key, ZRPAR::ArrayValue* array, bool mandatory)
{
    if (!array) return kInvalidArg;
    return WriteValue(key, array, mandatory);
}

HResult CParamsProviderBase::SetParams(const wchar_t* key, CParams* provider, bool mandatory)
{
    CParamsProviderBase* other = AsProvider(provider);
    if (!other || !other->m_root) return kOk;  // nothing to store
    return SetParams(key, other->m_root.Get(), mandatory);
}

HResult CParamsProviderBase::SetParams(const wchar_t* key, ZRPAR::Params* params, bool mandatory)
{
    if (!params) return kInvalidArg;
    return WriteValue(key, ZRPAR::CreateValue(params).Get(), mandatory);
}

HResult CParamsProviderBase::SetLong(const wchar_t* key, std::int64_t value, bool mandatory)
{
    return WriteValue(key, ZRPAR::CreateValue(value).Get(), mandatory);
}

HResult CParamsProviderBase::SetBool(const wchar_t* key, bool value, bool mandatory)
{
    return WriteValue(key, ZRPAR::CreateValue(value).Get(), mandatory);
}

HResult CParamsProviderBase::SetInt(const wchar_t* key, std::uint32_t value, bool mandatory)
{
    return SetInt(key, static_cast<std::int32_t>(value), mandatory);
}

HResult CParamsProviderBase::SetInt(const wchar_t* key, std::int16_t value, bool mandatory)
{
    return SetInt(key, static_cast<std::int32_t>(value), mandatory);
}

HResult CParamsProviderBase::SetInt(const wchar_t* key, std::int32_t value, bool mandatory)
{
    return WriteValue(key, ZRPAR::CreateValue(value).Get(), mandatory);
}

HResult CParamsProviderBase::SerializeEffectiveSettings(const wchar_t* path)
{
    if (!path || !m_root) return kFalse;
    return Guarded(Operation("SerializeEffectiveSettings").c_str(), kFail, [&] {
        ZRPAR_SerializeToFile(m_root.Get(), ZRSTD::ToUtf8(path));
        return kOk;
    });
}

}  // namespace NHPP
