#include "nhpp/ParamsProviderProduct.h"

#include "nhpp/ParamsProviderPolicy.h"
#include "zrpar/PolicyForm.h"
#include "zrpar/Render.h"
#include "zrstd/Trace.h"

namespace NHPP {

ZRSTD::CAutoPtr<CParamsProviderProduct> CParamsProviderProduct::Create(ZRPlugin::SettingsStorage* localStorage,
                                                                        ZRPlugin::SettingsStorage* policyStorage,
                                                                        const wchar_t* product, const wchar_t* version,
                                                                        const wchar_t* section)
{
    auto provider = ZRSTD::MakeRef<CParamsProviderProduct>();
    provider->Init(localStorage, policyStorage, product, version, section);
    return provider;
}

ZRSTD::CAutoPtr<CParamsProviderBase> CParamsProviderProduct::NewProvider() const
{
    return ZRSTD::MakeRef<CParamsProviderProduct>();
}

void CParamsProviderProduct::Init(ZRPlugin::SettingsStorage* localStorage, ZRPlugin::SettingsStorage* policyStorage,
                                  const wchar_t* product, const wchar_t* version, const wchar_t* section)
{
    if (!localStorage || !product || !version || !section) return;
    m_product = product;
    m_version = version;
    m_storageSection = section;
    m_storage = localStorage;
    m_lockSource = nullptr;
    m_policyReadError.reset();
    try {
        if (policyStorage) {
            policyStorage->Read(product, version, section, &m_lockSource);
            ZRPARLOG_LogParams2(1, ZRSTD::kTraceModule, m_lockSource.Get());
        }
    } catch (const ZRERR::Error& error) {
        ZRERR::SayFailure2(error, "NHPP::CParamsProviderProduct::Init", 1);
        m_policyReadError = error;  // what the policy enforces is unknown: nothing becomes editable
    }
    Reload();
}

ZRSTD::CAutoPtr<ZRPAR::Params> CParamsProviderProduct::MergeProductAndPolicySettings(ZRPAR::Params* local,
                                                                                     ZRPAR::Params* policy)
{
    if (!local) return nullptr;
    if (!policy) return ZRSTD::CAutoPtr<ZRPAR::Params>(local);
    ZRSTD::CAutoPtr<ZRPAR::Params> enforced, proposed, localOverProposed, merged;
    ZRPRSS_GetMandatoryAndDefault(policy, &enforced, &proposed);
    ZRPAR_Concatenate(local, proposed.Get(), &localOverProposed);
    ZRPAR_Concatenate(enforced.Get(), localOverProposed.Get(), &merged);
    return merged;
}

HResult CParamsProviderProduct::Reload()
{
    if (!m_storage || m_product.empty() || m_version.empty() || m_storageSection.empty()) return kFalse;
    try {
        ZRSTD::CAutoPtr<ZRPAR::Params> local;
        m_storage->Read(m_product.c_str(), m_version.c_str(), m_storageSection.c_str(), &local);
        if (!local) local = ZRPAR::CreateParams();
        ZRPARLOG_LogParams2(1, ZRSTD::kTraceModule, local.Get());
        ZRSTD::CAutoPtr<ZRPAR::Params> merged;
        if (m_lockSource && m_lockSource->GetSize() > 0) {  // an empty policy section enforces nothing
            try {
                merged = MergeProductAndPolicySettings(local.Get(), m_lockSource.Get());
                ZRPARLOG_LogParams2(1, ZRSTD::kTraceModule, merged.Get());
            } catch (const ZRERR::Error& error) {
                // Policy data that cannot be split: the computer's own values are shown, none editable.
                ZRERR::SayFailure2(error, "NHPP::CParamsProviderProduct::MergeProductAndPolicySettings", 1);
                m_policyReadError = error;
            }
        }
        m_root = merged ? merged : local;  // a new root object, not a refill
        m_loadError.reset();
        return kOk;
    } catch (const ZRERR::Error& error) {
        ZRERR::SayFailure2(error, "NHPP::CParamsProviderProduct::Reload", 1);
        m_root = nullptr;  // never write a default over data that could not be read
        m_loadError = error;
        return kFail;
    }
}

HResult CParamsProviderProduct::Apply(bool reloadOnError, ErrorReporter* reporter)
{
    if (!m_storage) return kOk;
    return CommitRoot(true, reloadOnError, reporter, "NHPP::CParamsProviderProduct::Apply");
}

HResult CParamsProviderProduct::Update(ErrorReporter* reporter)
{
    if (!m_storage) return kOk;
    ZRPARLOG_LogParams2(1, ZRSTD::kTraceModule, m_root.Get());
    return CommitRoot(false, false, reporter, "NHPP::CParamsProviderProduct::Update");
}

}  // namespace NHPP
