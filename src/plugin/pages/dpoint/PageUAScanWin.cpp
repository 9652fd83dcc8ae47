#include "plugin/pages/dpoint/PageUAScanWin.h"

#include <optional>

#include "controls/PluginEnvironment.h"
#include "nhpp/PageData.h"
#include "plugin/frame/Exporter.h"
#include "plugin/pages/PageCommit.h"
#include "plugin/pages/PageResources.h"

namespace {

// strings
constexpr UINT kEnableText = 2277, kFullText = 2278, kFastText = 2279, kFullScheduleText = 2578,
               kFastScheduleText = 2577;

constexpr const wchar_t* kEnableKey = L"ZRSRV_NET_SCAN_ENABLED";
constexpr const wchar_t* kFullPeriodKey = L"ZRSRV_SP_FULLUPDATENET_PERIOD";
constexpr const wchar_t* kFastPeriodKey = L"ZRSRV_SP_FASTUPDATENET_PERIOD";
constexpr const wchar_t* kFullScheduleKey = L"ZRSRV_SP_FULLUPDATENET_SCHEDULE";
constexpr const wchar_t* kFastScheduleKey = L"ZRSRV_SP_FASTUPDATENET_SCHEDULE";
constexpr bool kEnableDefault = true;

constexpr DWORD kVisible = WS_CHILD | WS_VISIBLE;

}  // namespace

ui::DialogTemplate CPageUAScanWinBase::Template()
{
    ui::DialogTemplate dialog;
    dialog.id = kTemplate;
    dialog.rect = {0, 0, 440, 200};
    dialog.controls = {
        {kEnable, L"Button", L"", kVisible | WS_TABSTOP | BS_AUTOCHECKBOX, {10, 10, 365, 26}},
        {kLock, L"Static", L"", kVisible | WS_TABSTOP, {370, 8, 435, 28}},
        {kFullLabel, L"Static", L"", kVisible, {25, 40, 250, 56}},
        {kFullPeriod, L"Edit", L"", kVisible | WS_TABSTOP | ES_NUMBER, {255, 38, 320, 58}},
        {kFullSpin, L"msctls_updown32", L"", kVisible, {320, 38, 335, 58}},
        {kFullScheduleLink, L"Static", L"", kVisible | WS_TABSTOP | SS_NOTIFY, {25, 64, 430, 80}},
        {kFastLabel, L"Static", L"", kVisible, {25, 96, 250, 112}},
        {kFastPeriod, L"Edit", L"", kVisible | WS_TABSTOP | ES_NUMBER, {255, 94, 320, 114}},
        {kFastSpin, L"msctls_updown32", L"", kVisible, {320, 94, 335, 114}},
        {kFastScheduleLink, L"Static", L"", kVisible | WS_TABSTOP | SS_NOTIFY, {25, 120, 430, 136}},
    };
    return dialog;
}

CPageUAScanWinBase::CPageUAScanWinBase(std::shared_ptr<NHPP::CNHPPageData> pageData)
    : CNHPPropertyPageBase(kTemplate, std::move(pageData)),
      m_fullSchedule(kFullScheduleKey, kFullPeriodKey, kDefaultFullPeriodMs),
      m_fastSchedule(kFastScheduleKey, kFastPeriodKey, kDefaultFastPeriodMs)
{
}

bool CPageUAScanWinBase::OnInitDialog()
{
    CNHPPropertyPageBase::OnInitDialog();
    m_loading = true;  // what the page puts into its controls is no change of the administrator's
    SetControlTexts({{kEnable, kEnableText}, {kFullLabel, kFullText}, {kFastLabel, kFastText}});
    const struct {
        CHyperLink& link;
        int id;
        UINT text;
        WORD command;
    } links[] = {{m_fullLink, kFullScheduleLink, kFullScheduleText, kFullScheduleCommand},
                 {m_fastLink, kFastScheduleLink, kFastScheduleText, kFastScheduleCommand}};
    for (const auto& link : links) {
        link.link.SubclassDlgItem(link.id, m_hWnd);
        link.link.SetWindowText(scan::LinkText(link.text));
        link.link.SetCommandId(link.command);
    }
    // on the distribution point itself the lock only shows what its policy enforces
    const bool local = Provider(scan::kSection)->GetProviderType() == NHPP::kLocalSettingsProvider;
    m_lock.Attach(m_hWnd, kLock, local,
                  {kEnable, kFullLabel, kFullPeriod, kFullSpin, kFastLabel, kFastPeriod, kFastSpin, kFullScheduleLink,
                   kFastScheduleLink},
                  LoadLockCtrlTexts(pageres::kLockImages, pageres::kInfoIcon));
    Load();
    UpdateControls();
    m_loading = false;
    return true;
}

void CPageUAScanWinBase::Load()
{
    auto settings = Provider(scan::kSection);
    NHPP::PolicyLockInfo lock;
    m_storedEnable = scan::ReadBool(*settings, kEnableKey, kEnableDefault, &lock);
    CheckDlgButton(kEnable, m_storedEnable.value ? BST_CHECKED : BST_UNCHECKED);
    m_storedFull = scan::ReadInt(*settings, kFullPeriodKey, kDefaultFullPeriodMs, nullptr);
    m_storedFast = scan::ReadInt(*settings, kFastPeriodKey, kDefaultFastPeriodMs, nullptr);
    scan::SetupPeriod(m_hWnd, m_fullPeriod, kFullPeriod, kFullSpin, m_storedFull);
    scan::SetupPeriod(m_hWnd, m_fastPeriod, kFastPeriod, kFastSpin, m_storedFast);
    m_lock.SetLockState(lock);
}

void CPageUAScanWinBase::UpdateControls()
{
    const bool editable = !m_lock.IsLockedByParent();
    const bool polling = editable && IsDlgButtonChecked(kEnable) == BST_CHECKED;
    ::EnableWindow(GetDlgItem(kEnable), editable);
    for (int id : {kFullLabel, kFullPeriod, kFullSpin, kFastLabel, kFastPeriod, kFastSpin, kFullScheduleLink,
                   kFastScheduleLink})
        ::EnableWindow(GetDlgItem(id), polling);
}

bool CPageUAScanWinBase::OnCommand(WORD id, WORD code, HWND)
{
    if (m_loading) return false;
    switch (id) {
    case kFullPeriod:
    case kFastPeriod:
        if (code == EN_CHANGE) SetModified();
        return code == EN_CHANGE;
    case kFullScheduleCommand:
    case kFastScheduleCommand: {
        if (code != BN_CLICKED) return false;
        CPollingSchedule& schedule = id == kFullScheduleCommand ? m_fullSchedule : m_fastSchedule;
        if (schedule.Edit(m_hWnd, *GetPageData(), *Provider(scan::kSection))) SetModified();
        return true;
    }
    case kEnable:
    case kLock:
        if (code != BN_CLICKED) return false;
        UpdateControls();
        SetModified();
        return true;
    default: return false;
    }
}

bool CPageUAScanWinBase::ValidatePage()
{
    if (m_lock.IsLockedByParent()) return true;
    if (!m_fullPeriod.Accepts(scan::kMinMinutes, scan::kMaxMinutes))
        return ShowRangeError(kFullPeriod, 0, scan::kMinMinutes, scan::kMaxMinutes, kFullText);
    if (!m_fastPeriod.Accepts(scan::kMinMinutes, scan::kMaxMinutes))
        return ShowRangeError(kFastPeriod, 0, scan::kMinMinutes, scan::kMaxMinutes, kFastText);
    return true;
}

bool CPageUAScanWinBase::ApplyPage()
{
    if (m_lock.IsLockedByParent()) return true;  // the policy's values stay as they are
    auto settings = Provider(scan::kSection);
    const bool mandatory = m_lock.IsMandatory();
    bool written = true;
    auto check = [&](NHPP::HResult result) { written = result >= 0 && written; };
    const bool enabled = IsDlgButtonChecked(kEnable) == BST_CHECKED;
    // a stored value of another type stays until the administrator changes what shows it
    if (!m_storedEnable.unreadable || enabled != m_storedEnable.value)
        check(settings->SetBool(kEnableKey, enabled, mandatory));
    const struct {
        const CRangeEdit& edit;
        const scan::StoredInt& stored;
        const wchar_t* key;
    } periods[] = {{m_fastPeriod, m_storedFast, kFastPeriodKey}, {m_fullPeriod, m_storedFull, kFullPeriodKey}};
    for (const auto& period : periods) {
        if (period.stored.unreadable && period.edit.IsUntouched()) continue;
        const std::optional<std::int32_t> value = scan::PeriodToWrite(period.edit);
        if (!value) return false;  // validation names it first
        check(settings->SetInt(period.key, *value, mandatory));
    }
    check(m_fullSchedule.Write(*settings, mandatory));
    check(m_fastSchedule.Write(*settings, mandatory));
    return CommitPageSettings(m_hWnd, *settings, written);
}

std::vector<ZRSTD::CAutoPtr<ZRPAR::Params>> CPageUAScanWinBase::Export(NHPP::CNHPPageData& pageData)
{
    PluginStateScope scope;
    NHPP::PolicyLockInfo lock;
    const bool enabled = pageData.Provider(scan::kSection)->GetBoolOrDefault(kEnableKey, kEnableDefault, &lock);
    auto page = ZRPAR::CreateParams();
    frame::AddSettingNode(*page, kEnableText, frame::YesNoText(enabled), lock.mandatory);
    return {page};
}
