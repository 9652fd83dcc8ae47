#pragma once

#include "nhpp/ParamsProviderParams.h"

namespace NHPP {

// The agent's local settings on one computer. The root holds the effective
// values: what the policy enforces, else what the computer stores, else what
// the policy proposes; locks come from the policy's section.
class CParamsProviderProduct : public CParamsProviderParams {
public:
    static ZRSTD::CAutoPtr<CParamsProviderProduct> Create(ZRPlugin::SettingsStorage* localStorage,
                                                          ZRPlugin::SettingsStorage* policyStorage,
                                                          const wchar_t* product, const wchar_t* version,
                                                          const wchar_t* section);

    // Nothing happens unless the local storage and the three names are given.
    void Init(ZRPlugin::SettingsStorage* localStorage, ZRPlugin::SettingsStorage* policyStorage,
              const wchar_t* product, const wchar_t* version, const wchar_t* section);

    int GetProviderType() override { return kLocalSettingsProvider; }
    HResult Apply(bool reloadOnError, ErrorReporter* reporter) override;
    HResult Update(ErrorReporter* reporter) override;
    HResult Reload() override;

    // Enforced values over local ones over proposals; nothing when local is null.
    static ZRSTD::CAutoPtr<ZRPAR::Params> MergeProductAndPolicySettings(ZRPAR::Params* local, ZRPAR::Params* policy);

protected:
    ZRSTD::CAutoPtr<CParamsProviderBase> NewProvider() const override;
    const char* ClassName() const override { return "NHPP::CParamsProviderProduct"; }
};

}  // namespace NHPP
