#include "plugin/pages/dpoint/ScanSettings.h"

#include "ui/Resources.h"
#include "zrstd/Strings.h"

namespace scan {

StoredBool ReadBool(NHPP::CParams& provider, const wchar_t* key, bool fallback, NHPP::PolicyLockInfo* lock)
{
    bool value = false;
    const NHPP::HResult result = provider.GetBool(key, value, lock);
    if (result == NHPP::kOk) return {value, false};
    return {fallback, result == NHPP::kUnexpected};
}

StoredInt ReadInt(NHPP::CParams& provider, const wchar_t* key, std::int32_t fallback, NHPP::PolicyLockInfo* lock)
{
    std::int32_t value = 0;
    const NHPP::HResult result = provider.GetInt(key, value, lock);
    if (result == NHPP::kOk) return {value, false};
    return {fallback, result == NHPP::kUnexpected};
}

void SetupPeriod(HWND page, CRangeEdit& edit, int editId, int spinId, const StoredInt& stored)
{
    edit.SubclassDlgItem(editId, page);
    edit.SetRange(kMinMinutes, kMaxMinutes);
    edit.SetSpin(::GetDlgItem(page, spinId));
    // out of range it shows as stored, and validation names it
    edit.LoadStored(stored.value, kMsPerMinute);
}

std::optional<std::int32_t> PeriodToWrite(const CRangeEdit& edit)
{
    const std::optional<std::int64_t> value = edit.StoredOrTyped();
    if (!value || *value < INT32_MIN || *value > INT32_MAX) return std::nullopt;
    return static_cast<std::int32_t>(*value);
}

std::wstring LinkText(UINT stringId)
{
    return ZRSTD::ReplaceAll(ZRSTD::ReplaceAll(ui::LoadStringW(stringId), L"<a>", L""), L"</a>", L"");
}

}  // namespace scan
