#include "nhpp/ParamsProviderTask.h"

#include "nhpp/PolicyPath.h"

namespace NHPP {

ZRSTD::CAutoPtr<CParamsProviderBase> CParamsProviderTask::NewProvider() const
{
    return ZRSTD::MakeRef<CParamsProviderTask>();
}

void CParamsProviderTask::CopyExtraFrom(const CParamsProviderBase& source)
{
    if (const auto* task = dynamic_cast<const CParamsProviderTask*>(&source)) m_taskKey = task->m_taskKey;
}

HResult CParamsProviderTask::Init(ZRPAR::Params* taskParams, ZRPlugin::SettingsStorage* policyStorage,
                                  const wchar_t* taskKey, const wchar_t* product, const wchar_t* version,
                                  const wchar_t* section)
{
    if (!taskParams || !taskKey || !product || !version || !section) return kInvalidArg;
    m_taskKey = taskKey;
    m_product = product;
    m_version = version;
    m_storageSection = section;
    m_root = nullptr;
    m_lockSource = nullptr;
    m_policyReadError.reset();
    if (policyStorage) {
        try {
            ZRSTD::CAutoPtr<ZRPAR::Params> tasksPolicy;
            policyStorage->Read(product, version, section, &tasksPolicy);
            ZRPAR::Value* content = tasksPolicy ? tasksPolicy->FindValue(kValue) : nullptr;
            if (content && content->GetType() == ZRPAR::VT_PARAMS) {
                ZRPAR::Value* entry = static_cast<ZRPAR::ParamsValue*>(content)->GetValue()->FindValue(taskKey);
                if (entry && entry->GetType() == ZRPAR::VT_PARAMS)
                    m_lockSource = static_cast<ZRPAR::ParamsValue*>(entry)->GetValue();
            }
        } catch (const ZRERR::Error& error) {
            ZRERR::SayFailure2(error, "NHPP::CParamsProviderTask::Init", 1);
            m_policyReadError = error;  // what the policy enforces is unknown: nothing becomes editable
        }
    }
    m_root = taskParams;
    return kOk;
}

HResult CreateParams(CParams** ppProvider, ZRPAR::Params* params)
{
    if (!ppProvider) return kInvalidArg;
    auto provider = ZRSTD::MakeRef<CParamsProviderTask>();
    return provider->CreateInstance(ppProvider, params, false);
}

}  // namespace NHPP
