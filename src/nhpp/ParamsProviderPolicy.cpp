#include "nhpp/ParamsProviderPolicy.h"

#include "zrpar/Render.h"
#include "zrstd/Trace.h"

namespace NHPP {

ZRSTD::CAutoPtr<CParamsProviderPolicy> CParamsProviderPolicy::Create(ZRPlugin::SettingsStorage* storage,
                                                                      const wchar_t* product, const wchar_t* version,
                                                                      const wchar_t* storageSection)
{
    auto provider = ZRSTD::MakeRef<CParamsProviderPolicy>();
    if (storage && product && version && storageSection) {
        provider->m_storage = storage;
        provider->m_product = product;
        provider->m_version = version;
        provider->m_storageSection = storageSection;
        provider->Reload();
    }
    return provider;
}

ZRSTD::CAutoPtr<CParamsProviderBase> CParamsProviderPolicy::NewProvider() const
{
    return ZRSTD::MakeRef<CParamsProviderPolicy>();
}

HResult CParamsProviderPolicy::Reload()
{
    if (!m_storage || m_product.empty() || m_version.empty() || m_storageSection.empty()) return kFalse;
    try {
        ZRSTD::CAutoPtr<ZRPAR::Params> stored;
        m_storage->Read(m_product.c_str(), m_version.c_str(), m_storageSection.c_str(), &stored);
        ReplaceRoot(stored ? stored.Get() : CreateEmptyPolicyContainer().Get());
        m_loadError.reset();
        return kOk;
    } catch (const ZRERR::Error& error) {
        ZRERR::SayFailure2(error, "NHPP::CParamsProviderPolicy::Reload", 1);
        m_loadError = error;
        return kFail;
    }
}

HResult CommitToStorage(ZRPlugin::SettingsStorage* storage, const std::wstring& product, const std::wstring& version,
                        const std::wstring& section, const std::function<void()>& commit, ErrorReporter* reporter,
                        const char* operation)
{
    try {
        const std::pair<const wchar_t*, const wchar_t*> levels[] = {
            {L"", L""}, {version.c_str(), L""}, {version.c_str(), section.c_str()}};
        for (const auto& [levelVersion, levelSection] : levels) {
            try {
                storage->CreateSection(product.c_str(), levelVersion, levelSection);
            } catch (const ZRERR::Error& error) {
                if (error.GetCode() != ZRPlugin::SettingsStorage::kSectionExists) throw;
                ZRERR::SayFailure2(error, operation, 5);
            }
        }
        commit();
        return kOk;
    } catch (const ZRERR::Error& error) {
        ZRERR::SayFailure2(error, operation, 1);
        if (reporter) reporter->ReportError(error);
        return kFail;
    }
}

HResult CParamsProviderPolicy::Apply(bool reloadOnError, ErrorReporter* reporter)
{
    if (!m_storage) return kOk;
    ZRPARLOG_LogParams2(4, ZRSTD::kTraceModule, m_root.Get());
    return CommitRoot(true, reloadOnError, reporter, "NHPP::CParamsProviderPolicy::Apply");
}

HResult CParamsProviderPolicy::Update(ErrorReporter* reporter)
{
    if (!m_storage) return kUnexpected;
    return CommitRoot(false, false, reporter, "NHPP::CParamsProviderPolicy::Update");
}

HResult CParamsProviderPolicy::ReadValue(const wchar_t* key, ZRPAR::ValueType type,
                                         ZRSTD::CAutoPtr<ZRPAR::Value>& value, PolicyLockInfo* lock,
                                         const char* operation)
{
    if (!m_root || !key) return kInvalidArg;
    auto path = GetValueCompatiblePath(FullName(key), PathForm::PolicyValue);
    if (!path) return kUnexpected;
    ZRPAR::Params* valueContainer = nullptr;
    try {
        valueContainer = WalkContainers(m_root.Get(), path->containers);
        ZRPAR::Value* found = valueContainer->GetValue(kValue).Get();
        if (found->GetType() != type) return kUnexpected;
        value = found;
    } catch (const ZRERR::Error& error) {
        ZRERR::SayFailure2(error, operation, 5);
        return kFalse;
    }
    if (lock) {
        // The setting's own entry; lock data that is missing or of another
        // type is taken as an absent flag, never as an absent value.
        PolicyLockInfo read;
        try {
            NHPP::GetLockData(valueContainer, read);
        } catch (const ZRERR::Error& error) {
            ZRERR::SayFailure2(error, operation, 3);
            std::vector<std::wstring> enclosing = path->containers;
            enclosing.resize(enclosing.size() - 2);
            ReadLockClimbing(m_root.Get(), std::move(enclosing), read);
        }
        *lock = read;
    }
    return kOk;
}

HResult CParamsProviderPolicy::WriteValue(const wchar_t* key, ZRPAR::Value* value, bool mandatory)
{
    if (!key) return kInvalidArg;
    if (!m_root) return kFalse;
    auto path = GetValueCompatiblePath(FullName(key), PathForm::PolicyValue);
    if (!path) return kUnexpected;
    try {
        const auto flag = ZRPAR::CreateValue(mandatory);
        ZRPAR::Params* valueContainer =
            WalkCreatingContainers(m_root.Get(), path->containers, [&](ZRPAR::Params* left) {
                // a container the walk leaves for its "ZRPRSS_Val" is a value container
                if (!left->DoesExist(kMandatory)) left->AddValue(kMandatory, flag.Get());
            });
        valueContainer->ReplaceValue(kValue, value);
        valueContainer->ReplaceValue(kMandatory, flag.Get());
        return kOk;
    } catch (const ZRERR::Error& error) {
        ZRERR::SayFailure2(error, Operation("SetValue").c_str(), 5);
        return kFail;
    }
}

HResult CParamsProviderPolicy::GetLockData(const wchar_t* key, PolicyLockInfo* lock)
{
    if (!key || !lock) return kInvalidArg;
    return ReadPolicyLock(m_root.Get(), FullName(key), lock);
}

HResult CParamsProviderPolicy::SetMandatory(const wchar_t* key, bool mandatory)
{
    return WriteFlags(key, {{kMandatory, mandatory}}, "NHPP::CParamsProviderPolicy::SetMandatory");
}

HResult CParamsProviderPolicy::SetMandatoryForContainer(const wchar_t* key, bool mandatory)
{
    ZRSTD::CAutoPtr<ZRPAR::Params> existing;
    if (GetParams(key, &existing, nullptr) != kOk) {
        const HResult result = SetParams(key, ZRPAR::CreateParams().Get(), false);
        if (result != kOk) return result;
    }
    return WriteFlags(key, {{kMandatory, mandatory}}, "NHPP::CParamsProviderPolicy::SetMandatoryForContainer");
}

HResult CParamsProviderPolicy::SetMandatoryForArray(const wchar_t* key, bool mandatory, bool concatenate)
{
    ZRSTD::CAutoPtr<ZRPAR::ArrayValue> existing;
    if (GetArray(key, &existing, nullptr) != kOk) {
        const HResult result = SetArray(key, ZRPAR::CreateArrayValue().Get(), false);
        if (result != kOk) return result;
    }
    return WriteFlags(key, {{kMandatory, mandatory}, {kConcatArray, concatenate}},
                      "NHPP::CParamsProviderPolicy::SetMandatoryForArray");
}

ZRPAR::Value* CParamsProviderPolicy::ItemScalar(ZRPAR::Value* item) const
{
    if (!item || item->GetType() != ZRPAR::VT_PARAMS) return nullptr;
    return static_cast<ZRPAR::ParamsValue*>(item)->GetValue()->FindValue(kValue);
}

ZRSTD::CAutoPtr<ZRPAR::Value> CParamsProviderPolicy::MakeScalarItem(ZRPAR::Value* scalar,
                                                                    const wchar_t* concatItemName) const
{
    auto item = ZRPAR::CreateParamsBody({{kValue, scalar}, {kMandatory, false}});
    if (concatItemName) item->AddValue(kConcatItemName, ZRPAR::CreateValue(concatItemName).Get());
    return ZRPAR::CreateValue(item.Get());
}

void CParamsProviderPolicy::ReplaceScalarItem(ZRPAR::ArrayValue& array, std::size_t index, ZRPAR::Value* scalar) const
{
    ZRPAR::Value* item = array.ItemAt(index);
    if (item && item->GetType() == ZRPAR::VT_PARAMS) {
        static_cast<ZRPAR::ParamsValue*>(item)->GetValue()->ReplaceValue(kValue, scalar);  // other entries stay
    } else {
        array.SetAt(index, MakeScalarItem(scalar, nullptr).Get());
    }
}

ZRSTD::CAutoPtr<ZRPAR::Value> CParamsProviderPolicy::MakeProviderItem(ZRPAR::Params* root,
                                                                      const wchar_t* concatItemName) const
{
    // The pushed provider's root is itself the item container of the policy form.
    if (!root->DoesExist(kMandatory)) root->AddValue(kMandatory, ZRPAR::CreateValue(false).Get());
    if (concatItemName) root->ReplaceValue(kConcatItemName, ZRPAR::CreateValue(concatItemName).Get());
    return ZRPAR::CreateValue(root);
}

void CParamsProviderPolicy::ReplaceProviderItem(ZRPAR::ArrayValue& array, std::size_t index, ZRPAR::Params* root) const
{
    ZRPAR::Value* old = array.ItemAt(index);
    if (old && old->GetType() == ZRPAR::VT_PARAMS) {
        if (ZRPAR::Value* name = static_cast<ZRPAR::ParamsValue*>(old)->GetValue()->FindValue(kConcatItemName))
            root->ReplaceValue(kConcatItemName, name);
    }
    array.SetAt(index, ZRPAR::CreateValue(root).Get());
}

void CParamsProviderPolicy::AdoptSectionCopy(ZRPAR::Params* sectionCopy)
{
    // The copy holds the section's settings; the root of a policy provider is a value container.
    m_root = ZRPAR::CreateParamsBody({{kMandatory, false}, {kValue, ZRSTD::CAutoPtr<ZRPAR::Params>(sectionCopy)}});
}

}  // namespace NHPP
