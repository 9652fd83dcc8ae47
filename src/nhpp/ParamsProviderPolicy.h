#pragma once

#include "nhpp/ParamsProviderBase.h"

namespace NHPP {

// One section of a policy in the policy form: every setting and section is a
// value container {"ZRPRSS_Mnd", "ZRPRSS_Val", lock data written by the
// server}; the lock states come from the root itself.
class CParamsProviderPolicy : public CParamsProviderBase {
public:
    // Over the policy's settings storage; with storage and all three names the
    // section is read at once. Without storage the provider stays empty.
    static ZRSTD::CAutoPtr<CParamsProviderPolicy> Create(ZRPlugin::SettingsStorage* storage, const wchar_t* product,
                                                         const wchar_t* version, const wchar_t* storageSection);

    int GetProviderType() override { return kPolicyProvider; }
    HResult Apply(bool reloadOnError, ErrorReporter* reporter) override;
    HResult Update(ErrorReporter* reporter) override;
    HResult Reload() override;
    HResult SetMandatory(const wchar_t* key, bool mandatory) override;
    HResult SetMandatoryForContainer(const wchar_t* key, bool mandatory) override;
    HResult SetMandatoryForArray(const wchar_t* key, bool mandatory, bool concatenate) override;
    HResult GetLockData(const wchar_t* key, PolicyLockInfo* lock) override;

protected:
    ZRSTD::CAutoPtr<CParamsProviderBase> NewProvider() const override;
    const char* ClassName() const override { return "NHPP::CParamsProviderPolicy"; }
    ZRSTD::CAutoPtr<ZRPAR::Params> NewEmptyRoot() const override { return CreateEmptyPolicyContainer(); }
    HResult ReadValue(const wchar_t* key, ZRPAR::ValueType type, ZRSTD::CAutoPtr<ZRPAR::Value>& value,
                      PolicyLockInfo* lock, const char* operation) override;
    HResult WriteValue(const wchar_t* key, ZRPAR::Value* value, bool mandatory) override;
    PathForm SettingContainerForm() const override { return PathForm::PolicySettingContainer; }
    ZRPAR::Value* ItemScalar(ZRPAR::Value* item) const override;
    ZRSTD::CAutoPtr<ZRPAR::Value> MakeScalarItem(ZRPAR::Value* scalar, const wchar_t* concatItemName) const override;
    void ReplaceScalarItem(ZRPAR::ArrayValue& array, std::size_t index, ZRPAR::Value* scalar) const override;
    ZRSTD::CAutoPtr<ZRPAR::Value> MakeProviderItem(ZRPAR::Params* root, const wchar_t* concatItemName) const override;
    void ReplaceProviderItem(ZRPAR::ArrayValue& array, std::size_t index, ZRPAR::Params* root) const override;
    void AdoptSectionCopy(ZRPAR::Params* sectionCopy) override;
};

// Creates the three levels of a storage section (product, version, section),
// ignoring "exists already", then commits the root with commit(). Errors are
// traced under operation, reported, and give kFail.
HResult CommitToStorage(ZRPlugin::SettingsStorage* storage, const std::wstring& product, const std::wstring& version,
                        const std::wstring& section, const std::function<void()>& commit, ErrorReporter* reporter,
                        const char* operation);

}  // namespace NHPP
