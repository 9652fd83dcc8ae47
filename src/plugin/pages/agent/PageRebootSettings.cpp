#include "plugin/pages/agent/PageRebootSettings.h"

#include <algorithm>
#include <optional>

#include "controls/PluginEnvironment.h"
#include "nhpp/PageData.h"
#include "plugin/frame/Exporter.h"
#include "plugin/pages/PageCommit.h"
#include "plugin/pages/PageResources.h"
#include "ui/CommonControls.h"
#include "zrpar/PolicyForm.h"
#include "zrstd/Format.h"

namespace {

using pageres::kInfoIcon;
using pageres::kLockImages;
using pageres::kNo;
using pageres::kSettingsNotChanged;
using pageres::kYes;

constexpr UINT kExplanationText = 1913, kNoRestartText = 1914, kRestartText = 1915, kAskText = 1916,
               kRepeatText = 2179, kForceText = 2180, kCloseText = 2173, kTitleText = 1923;

constexpr const wchar_t* kSection = L"ZRNAG_SECTION_REBOOT_SETTINGS";
constexpr const wchar_t* kImmediatelyKey = L"ZRNAG_SHUTDOWN_IMMEDIATELY";
constexpr const wchar_t* kAskKey = L"ZRNAG_SHUTDOWN_ASK";
constexpr const wchar_t* kAskPeriodKey = L"ZRNAG_SHUTDOWN_ASK_PERIOD";
constexpr const wchar_t* kForceKey = L"ZRNAG_SHUTDOWN_FORCE";
constexpr const wchar_t* kForceTimeKey = L"ZRNAG_SHUTDOWN_FORCE_TIME";
constexpr const wchar_t* kCloseKey = L"ZRNAG_SHUTDOWN_FROCE_CLOSE_APP";
constexpr const wchar_t* kClosePeriodKey = L"ZRNAG_SHUTDOWN_FROCE_CLOSE_APP_PERIOD";

constexpr std::int32_t kAskPeriodDefault = 300;
constexpr std::int32_t kMinutesMin = 1, kMinutesMax = 86400;
// agents before this version do not restart on request
constexpr std::uint32_t kFirstRestartingAgent = 0x70000;

constexpr std::int32_t kSecondsPerMinute = 60;

// Minutes of a stored number of seconds, truncated toward zero.
std::int32_t Minutes(std::int32_t seconds) { return seconds / kSecondsPerMinute; }

void SetRange(HWND page, CRangeEdit& edit, int spin)
{
    edit.SetRange(kMinutesMin, kMinutesMax);  // cleared, it shows its last minutes again
    edit.SetSpin(::GetDlgItem(page, spin));
}

}  // namespace

ui::DialogTemplate CPageRebootSettingsBase::Template()
{
    ui::DialogTemplate dialog;
    dialog.id = kTemplate;
    dialog.rect = {0, 0, 440, 300};
    const DWORD visible = WS_CHILD | WS_VISIBLE;
    dialog.controls = {
        {kExplanation, L"Static", L"", visible, {10, 10, 370, 50}},
        {kLock, L"Static", L"", visible | WS_TABSTOP, {375, 10, 435, 30}},
        {kNoRestart, L"Button", L"", visible | WS_TABSTOP | BS_AUTORADIOBUTTON, {10, 60, 430, 76}},
        {kRestartAutomatically, L"Button", L"", visible | BS_AUTORADIOBUTTON, {10, 82, 430, 98}},
        {kAskUser, L"Button", L"", visible | BS_AUTORADIOBUTTON, {10, 104, 430, 120}},
        {kRepeatQuestion, L"Button", L"", visible | WS_TABSTOP | BS_AUTOCHECKBOX, {30, 128, 330, 144}},
        {kRepeatPeriod, L"Edit", L"", visible | WS_TABSTOP | ES_NUMBER, {335, 126, 395, 146}},
        {kRepeatSpin, L"msctls_updown32", L"", visible, {395, 126, 410, 146}},
        {kForceRestart, L"Button", L"", visible | WS_TABSTOP | BS_AUTOCHECKBOX, {30, 152, 330, 168}},
        {kForceTime, L"Edit", L"", visible | WS_TABSTOP | ES_NUMBER, {335, 150, 395, 170}},
        {kForceSpin, L"msctls_updown32", L"", visible, {395, 150, 410, 170}},
        {kCloseApplications, L"Button", L"", visible | WS_TABSTOP | BS_AUTOCHECKBOX, {10, 184, 330, 200}},
        {kClosePeriod, L"Edit", L"", visible | WS_TABSTOP | ES_NUMBER, {335, 182, 395, 202}},
        {kCloseSpin, L"msctls_updown32", L"", visible, {395, 182, 410, 202}},
    };
    return dialog;
}

CPageRebootSettingsBase::CPageRebootSettingsBase(std::shared_ptr<NHPP::CNHPPageData> pageData)
    : CNHPPropertyPageBase(kTemplate, std::move(pageData))
{
}

bool CPageRebootSettingsBase::OnInitDialog()
{
    CNHPPropertyPageBase::OnInitDialog();
    m_loading = true;
    SetControlTexts({{kExplanation, kExplanationText}, {kNoRestart, kNoRestartText}, {kRestartAutomatically, kRestartText},
                    {kAskUser, kAskText},             {kRepeatQuestion, kRepeatText}, {kForceRestart, kForceText},
                    {kCloseApplications, kCloseText}});
    m_repeatPeriod.SubclassDlgItem(kRepeatPeriod, m_hWnd);
    m_forceTime.SubclassDlgItem(kForceTime, m_hWnd);
    m_closePeriod.SubclassDlgItem(kClosePeriod, m_hWnd);
    SetRange(m_hWnd, m_repeatPeriod, kRepeatSpin);
    SetRange(m_hWnd, m_forceTime, kForceSpin);
    SetRange(m_hWnd, m_closePeriod, kCloseSpin);
    m_lock.SubclassDlgItem(kLock, m_hWnd);
    m_lock.SetLocalMode(m_localMode);
    m_lock.SetGovernedControls({kNoRestart, kRestartAutomatically, kAskUser, kRepeatQuestion, kForceRestart,
                                kCloseApplications, kRepeatPeriod, kForceTime, kClosePeriod});
    m_lock.Setup(LoadLockCtrlTexts(kLockImages, kInfoIcon));
    Load();
    UpdateControls();
    m_loading = false;
    return true;
}

void CPageRebootSettingsBase::Load()
{
    auto provider = Provider(kSection);
    NHPP::PolicyLockInfo lock;
    const bool immediately = provider->GetBoolOrDefault(kImmediatelyKey, false, &lock);
    m_lock.SetLockState(lock);
    const bool ask = provider->GetBoolOrDefault(kAskKey, false, nullptr);
    CheckDlgButton(kRestartAutomatically, immediately ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(kAskUser, ask ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(kNoRestart, !immediately && !ask ? BST_CHECKED : BST_UNCHECKED);

    m_storedAskPeriod = provider->GetIntOrDefault(kAskPeriodKey, kAskPeriodDefault, nullptr);
    CheckDlgButton(kRepeatQuestion, m_storedAskPeriod > 0 ? BST_CHECKED : BST_UNCHECKED);
    m_repeatPeriod.LoadStored(m_storedAskPeriod < 1 ? kAskPeriodDefault : m_storedAskPeriod, kSecondsPerMinute);
    CheckDlgButton(kForceRestart, provider->GetBoolOrDefault(kForceKey, false, nullptr) ? BST_CHECKED : BST_UNCHECKED);
    m_forceTime.LoadStored(provider->GetIntOrDefault(kForceTimeKey, 0, nullptr), kSecondsPerMinute);
    CheckDlgButton(kCloseApplications, provider->GetBoolOrDefault(kCloseKey, false, nullptr) ? BST_CHECKED : BST_UNCHECKED);
    m_closePeriod.LoadStored(provider->GetIntOrDefault(kClosePeriodKey, 0, nullptr), kSecondsPerMinute);
}

void CPageRebootSettingsBase::UpdateControls()
{
    const bool free = !m_lock.IsLockedByParent();
    auto checked = [&](int id) { return IsDlgButtonChecked(id) == BST_CHECKED; };
    auto enable = [&](int id, bool on) { ::EnableWindow(GetDlgItem(id), free && on); };
    const bool ask = checked(kAskUser);
    const bool restarts = !checked(kNoRestart);
    enable(kRepeatQuestion, ask);
    enable(kForceRestart, ask);
    for (int id : {kRepeatPeriod, kRepeatSpin}) enable(id, ask && checked(kRepeatQuestion));
    for (int id : {kForceTime, kForceSpin}) enable(id, ask && checked(kForceRestart));
    enable(kCloseApplications, restarts);
    for (int id : {kClosePeriod, kCloseSpin}) enable(id, restarts && checked(kCloseApplications));
}

bool CPageRebootSettingsBase::OnCommand(WORD id, WORD code, HWND)
{
    if (m_loading) return false;
    switch (id) {
    case kLock:
    case kNoRestart:
    case kRestartAutomatically:
    case kAskUser:
    case kRepeatQuestion:
    case kForceRestart:
    case kCloseApplications:
        if (code != BN_CLICKED) return false;
        break;
    case kClosePeriod:
    case kRepeatPeriod:
    case kForceTime:
        if (code != EN_CHANGE) return false;
        break;
    default: return false;
    }
    SetModified();
    UpdateControls();
    return true;
}

bool CPageRebootSettingsBase::ValidatePage()
{
    if (m_lock.IsLockedByParent()) return true;  // nothing of it is written
    const struct {
        const CRangeEdit& edit;
        int id;
        UINT label;
    } periods[] = {{m_repeatPeriod, kRepeatPeriod, kRepeatText},
                   {m_forceTime, kForceTime, kForceText},
                   {m_closePeriod, kClosePeriod, kCloseText}};
    for (const auto& period : periods)
        if (!period.edit.Accepts(kMinutesMin, kMinutesMax))
            return ShowRangeError(period.id, 0, kMinutesMin, kMinutesMax, period.label);
    return true;
}

bool CPageRebootSettingsBase::ApplyPage()
{
    if (m_lock.IsLockedByParent()) return true;
    const bool mandatory = m_lock.IsMandatory();
    auto provider = Provider(kSection);
    auto checked = [&](int id) { return IsDlgButtonChecked(id) == BST_CHECKED; };
    // seconds: the stored ones while the minutes shown are untouched
    auto seconds = [&](const CRangeEdit& edit) -> std::optional<std::int32_t> {
        const std::optional<std::int64_t> value = edit.StoredOrTyped();
        if (!value || *value < INT32_MIN || *value > INT32_MAX) return std::nullopt;
        return static_cast<std::int32_t>(*value);
    };
    // an ask period that asks nothing stays as stored while the box stays cleared
    const std::int32_t noRepeat = m_storedAskPeriod > 0 ? 0 : m_storedAskPeriod;
    const auto askPeriod = checked(kRepeatQuestion) ? seconds(m_repeatPeriod) : std::optional<std::int32_t>(noRepeat);
    const auto forceTime = seconds(m_forceTime);
    const auto closePeriod = seconds(m_closePeriod);
    if (!askPeriod || !forceTime || !closePeriod) {
        ShowError(kSettingsNotChanged);
        return false;
    }
    bool written = true;
    auto check = [&](NHPP::HResult result) { written = written && result >= 0; };
    check(provider->SetBool(kImmediatelyKey, checked(kRestartAutomatically), mandatory));
    check(provider->SetBool(kAskKey, checked(kAskUser), mandatory));
    check(provider->SetInt(kAskPeriodKey, *askPeriod, mandatory));
    check(provider->SetBool(kForceKey, checked(kForceRestart), mandatory));
    check(provider->SetInt(kForceTimeKey, *forceTime, mandatory));
    check(provider->SetBool(kCloseKey, checked(kCloseApplications), mandatory));
    check(provider->SetInt(kClosePeriodKey, *closePeriod, mandatory));
    return CommitPageSettings(m_hWnd, *provider, written);
}

std::vector<ZRSTD::CAutoPtr<ZRPAR::Params>> CPageRebootSettingsBase::Export(NHPP::CNHPPageData& pageData)
{
    PluginStateScope scope;
    auto provider = pageData.Provider(kSection);
    auto label = [](UINT id) { return frame::NormalizeTitle(ui::LoadStringW(id)); };
    auto minutesOr = [&](bool on, std::int32_t seconds) {
        return on ? ZRSTD::FormatW(L"%d", Minutes(seconds)) : ui::LoadStringW(kNo);
    };
    NHPP::PolicyLockInfo lock;
    const bool immediately = provider->GetBoolOrDefault(kImmediatelyKey, false, &lock);
    const bool ask = provider->GetBoolOrDefault(kAskKey, false, nullptr);
    const std::int32_t askPeriod = provider->GetIntOrDefault(kAskPeriodKey, kAskPeriodDefault, nullptr);
    const bool force = provider->GetBoolOrDefault(kForceKey, false, nullptr);
    const std::int32_t forceTime = provider->GetIntOrDefault(kForceTimeKey, 0, nullptr);
    const bool close = provider->GetBoolOrDefault(kCloseKey, false, nullptr);
    const std::int32_t closePeriod = provider->GetIntOrDefault(kClosePeriodKey, 0, nullptr);

    auto restart = ZRPAR::CreateParams();
    const std::wstring title = label(kTitleText);
    restart->AddValue(LockNameText(title), ZRPAR::CreateValue(LockStateText(lock.mandatory)).Get());
    if (ask) {
        auto asking = ZRPAR::CreateParams();
        asking->AddValue(label(kCloseText), ZRPAR::CreateValue(minutesOr(close, closePeriod)).Get());
        asking->AddValue(label(kRepeatText), ZRPAR::CreateValue(minutesOr(askPeriod >= 1, askPeriod)).Get());
        asking->AddValue(label(kForceText), ZRPAR::CreateValue(minutesOr(force, forceTime)).Get());
        restart->AddValue(label(kAskText), ZRPAR::CreateValue(asking.Get()).Get());
    } else if (immediately) {
        auto automatic = ZRPAR::CreateParams();
        automatic->AddValue(label(kCloseText), ZRPAR::CreateValue(minutesOr(close, closePeriod)).Get());
        restart->AddValue(label(kRestartText), ZRPAR::CreateValue(automatic.Get()).Get());
    } else {
        restart->AddValue(label(kNoRestartText), ZRPAR::CreateValue(ui::LoadStringW(kYes)).Get());
    }
    return {restart};  // the exporter stores it under the page's title
}

CPageRebootSettingsProduct::CPageRebootSettingsProduct(std::shared_ptr<NHPP::CNHPPageData> pageData)
    : CPageRebootSettingsBase(std::move(pageData))
{
    m_localMode = true;
}

bool CPageRebootSettingsProduct::OnInitDialog()
{
    CPageRebootSettingsBase::OnInitDialog();
    const std::uint32_t agent = ZRPRSS_ConvertProductVersion(GetPageData()->GetAgentVersion().c_str());
    if (GetPageData()->GetPlatformType() != 0 || agent < kFirstRestartingAgent) {
        // the computer cannot restart on request: the page says so, and the
        // stored choice (kept as it is) cannot be changed here
        CheckDlgButton(kNoRestart, BST_CHECKED);
        for (int id : {kNoRestart, kRestartAutomatically, kAskUser}) ::EnableWindow(GetDlgItem(id), false);
        UpdateControls();
    }
    return true;
}
