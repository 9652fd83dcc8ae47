#pragma once

#include "nhpp/ParamsProviderBase.h"

namespace NHPP {

// The plain form (local settings, tasks, bare containers): values stand under
// their names in nested containers; lock states come from the policy data in
// the lock source, and a value is locked exactly when the policy enforces it.
class CParamsProviderParams : public CParamsProviderBase {
protected:
    ZRSTD::CAutoPtr<ZRPAR::Params> NewEmptyRoot() const override { return ZRPAR::CreateParams(); }
    HResult ReadValue(const wchar_t* key, ZRPAR::ValueType type, ZRSTD::CAutoPtr<ZRPAR::Value>& value,
                      PolicyLockInfo* lock, const char* operation) override;
    HResult WriteValue(const wchar_t* key, ZRPAR::Value* value, bool mandatory) override;
    PathForm SettingContainerForm() const override { return PathForm::Plain; }
};

}  // namespace NHPP
