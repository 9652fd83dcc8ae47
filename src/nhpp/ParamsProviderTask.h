#pragma once

#include "nhpp/ParamsProviderParams.h"

namespace NHPP {

// The parameters of one task, edited in place (the root is the console's own
// container), with lock states from the policy's entry for the task type; or,
// made by CreateParams, a plain provider over any container.
class CParamsProviderTask : public CParamsProviderParams {
public:
    HResult Init(ZRPAR::Params* taskParams, ZRPlugin::SettingsStorage* policyStorage, const wchar_t* taskKey,
                 const wchar_t* product, const wchar_t* version, const wchar_t* section);

    int GetProviderType() override { return kTaskProvider; }
    // The console reads the container itself; under a policy that could not
    // be read the page's apply is refused all the same.
    HResult Apply(bool, ErrorReporter* reporter) override { return m_policyReadError ? RefuseUnreadable(reporter) : kFalse; }
    HResult Update(ErrorReporter* reporter) override { return m_policyReadError ? RefuseUnreadable(reporter) : kFalse; }
    HResult Reload() override { return kFalse; }

    const std::wstring& TaskKey() const { return m_taskKey; }

protected:
    ZRSTD::CAutoPtr<CParamsProviderBase> NewProvider() const override;
    const char* ClassName() const override { return "NHPP::CParamsProviderTask"; }
    void CopyExtraFrom(const CParamsProviderBase& source) override;

private:
    std::wstring m_taskKey;
};

// A task provider over params (a new empty container when null): no storage, no locks.
HResult CreateParams(CParams** ppProvider, ZRPAR::Params* params = nullptr);

}  // namespace NHPP
