#include "plugin/pages/agent/PageGeneralSettings.h"

#include "controls/PluginEnvironment.h"
#include "nhpp/PageData.h"
#include "plugin/frame/ErrorMessage.h"
#include "plugin/frame/Exporter.h"
#include "plugin/pages/PageResources.h"
#include "plugin/pages/agent/DlgChangePassword.h"
#include "ui/CommonControls.h"
#include "zrstd/Crypto.h"

namespace {

using pageres::kInfoIcon;
using pageres::kLockImages;
using pageres::kNo;
using pageres::kSettingsNotChanged;
using pageres::kYes;

// strings
constexpr UINT kEventLogText = 4, kLogSizeText = 5, kIntervalText = 2026, kStatusLabelText = 214, kChangeText = 14,
               kUsePasswordText = 2257, kOnlyUpdateAgentsText = 2299, kCredentialsWarningText = 5883,
               kHostPolicyDataText = 7010, kProtectServiceText = 7011, kPasswordSet = 212, kPasswordNotSet = 213,
               kPasswordLabelText = 89;
constexpr UINT kBadLogSize = 2009, kBadInterval = 2027, kNoPassword = 2258;

// settings
constexpr const wchar_t* kLogSizeKey = L"ZREVP_NF_PRSS_MAXIMUM_SIZE";
constexpr const wchar_t* kIntervalKey = L"ZREVP_NF_EVENTS_TO_SERVER_PERIOD";
constexpr const wchar_t* kInstallerSection = L"NGTINSTALLERDATA";
constexpr const wchar_t* kPasswordKey = L"NGT_UNINSTALL_PASSWORD";
constexpr const wchar_t* kOnlyUpdateAgentsKey = L"CMNG_UPD_USE_ONLY_UA";
constexpr const wchar_t* kHostDataSection = L"ZRNAG_SAPH";
constexpr const wchar_t* kHostDataKey = L"ZRNAG_SAPH_ALLOW_HOST_POLICY_DATA";
constexpr const wchar_t* kServiceSection = L"ZRNAG_SVCPRT";
constexpr const wchar_t* kServiceKey = L"ZRNAG_SVCPRT_PROTECT_NAGENT_SVC";

constexpr std::int32_t kLogSizeDefault = 2, kLogSizeMin = 1, kLogSizeMax = 2000;
constexpr std::int32_t kIntervalDefault = 5, kIntervalMin = 1, kIntervalMax = 6000;

void SetRange(HWND page, CRangeEdit& edit, int spin, std::int32_t low, std::int32_t high)
{
    edit.SetRange(static_cast<std::uint32_t>(low), static_cast<std::uint32_t>(high));
    edit.SetAllowEmpty(true);  // an empty edit is for validation to refuse, with its message
    edit.SetSpin(::GetDlgItem(page, spin));
}

}  // namespace

ui::DialogTemplate CPageGeneralSettingsBase::Template()
{
    ui::DialogTemplate dialog;
    dialog.id = kTemplate;
    dialog.rect = {0, 0, 440, 360};
    const DWORD visible = WS_CHILD | WS_VISIBLE;
    dialog.controls = {
        {kEventLogGroup, L"Button", L"", visible | BS_GROUPBOX, {5, 5, 435, 80}},
        {kLogSizeLabel, L"Static", L"", visible, {15, 25, 300, 41}},
        {kLogSize, L"Edit", L"", visible | WS_TABSTOP | ES_NUMBER, {305, 23, 360, 43}},
        {kLogSizeSpin, L"msctls_updown32", L"", visible, {360, 23, 375, 43}},
        {kIntervalLabel, L"Static", L"", visible, {15, 50, 300, 66}},
        {kInterval, L"Edit", L"", visible | WS_TABSTOP | ES_NUMBER, {305, 48, 360, 68}},
        {kIntervalSpin, L"msctls_updown32", L"", visible, {360, 48, 375, 68}},
        {kLogLock, L"Static", L"", visible | WS_TABSTOP, {380, 23, 430, 43}},
        {kPasswordGroup, L"Button", L"", visible | BS_GROUPBOX, {5, 85, 435, 200}},
        {kUsePassword, L"Button", L"", visible | WS_TABSTOP | BS_AUTOCHECKBOX, {15, 100, 370, 116}},
        {kPasswordLock, L"Static", L"", visible | WS_TABSTOP, {380, 100, 430, 120}},
        {kStatusLabel, L"Static", L"", visible, {30, 125, 90, 141}},
        {kStatus, L"Static", L"", visible, {95, 125, 300, 141}},
        {kChangePassword, L"Button", L"", visible | WS_TABSTOP, {305, 122, 370, 144}},
        {kCredentialsWarning, L"Static", L"", visible, {30, 150, 430, 195}},
        {kOnlyUpdateAgents, L"Button", L"", visible | WS_TABSTOP | BS_AUTOCHECKBOX, {15, 210, 370, 226}},
        {kUpdateAgentsLock, L"Static", L"", visible | WS_TABSTOP, {380, 208, 430, 228}},
        {kHostPolicyData, L"Button", L"", visible | WS_TABSTOP | BS_AUTOCHECKBOX, {15, 240, 370, 256}},
        {kHostDataLock, L"Static", L"", visible | WS_TABSTOP, {380, 238, 430, 258}},
        {kProtectService, L"Button", L"", visible | WS_TABSTOP | BS_AUTOCHECKBOX, {15, 270, 370, 286}},
        {kServiceLock, L"Static", L"", visible | WS_TABSTOP, {380, 268, 430, 288}},
    };
    return dialog;
}

CPageGeneralSettingsBase::CPageGeneralSettingsBase(std::shared_ptr<NHPP::CNHPPageData> pageData)
    : CNHPPropertyPageBase(kTemplate, std::move(pageData))
{
}

bool CPageGeneralSettingsBase::OnInitDialog()
{
    CNHPPropertyPageBase::OnInitDialog();
    m_loading = true;  // what the page puts into its controls is no change of the administrator's
    SetControlTexts({{kEventLogGroup, kEventLogText}, {kLogSizeLabel, kLogSizeText}, {kIntervalLabel, kIntervalText},
                    {kStatusLabel, kStatusLabelText}, {kChangePassword, kChangeText}, {kUsePassword, kUsePasswordText},
                    {kOnlyUpdateAgents, kOnlyUpdateAgentsText}, {kCredentialsWarning, kCredentialsWarningText},
                    {kHostPolicyData, kHostPolicyDataText}, {kProtectService, kProtectServiceText}});

    m_logSize.SubclassDlgItem(kLogSize, m_hWnd);
    m_interval.SubclassDlgItem(kInterval, m_hWnd);
    SetRange(m_hWnd, m_logSize, kLogSizeSpin, kLogSizeMin, kLogSizeMax);
    SetRange(m_hWnd, m_interval, kIntervalSpin, kIntervalMin, kIntervalMax);
    // the interval of sending events is kept, never shown
    for (int id : {kIntervalLabel, kInterval, kIntervalSpin}) ::ShowWindow(GetDlgItem(id), SW_HIDE);

    const LockCtrlTexts lockTexts = LoadLockCtrlTexts(kLockImages, kInfoIcon);
    const struct {
        CLockCtrl* lock;
        int id;
        std::vector<int> governed;
    } locks[] = {{&m_logLock, kLogLock, {kLogSize, kInterval}},
                 {&m_passwordLock, kPasswordLock, {kChangePassword, kUsePassword}},
                 {&m_updateAgentsLock, kUpdateAgentsLock, {kOnlyUpdateAgents}},
                 {&m_hostDataLock, kHostDataLock, {kHostPolicyData}},
                 {&m_serviceLock, kServiceLock, {kProtectService}}};
    for (const auto& lock : locks) lock.lock->Attach(m_hWnd, lock.id, m_localMode, lock.governed, lockTexts);
    Load();
    UpdatePasswordGroup();
    m_loading = false;
    return true;
}

void CPageGeneralSettingsBase::Load()
{
    auto root = Provider();
    NHPP::PolicyLockInfo lock, intervalLock;
    m_logSize.LoadStored(root->GetIntOrDefault(kLogSizeKey, kLogSizeDefault, &lock));
    m_logLock.SetLockState(lock);
    m_loadedLogMandatory = lock.mandatory;
    std::int32_t interval = kIntervalDefault;
    const bool intervalStored = root->GetInt(kIntervalKey, interval, &intervalLock) == NHPP::kOk;
    m_interval.LoadStored(intervalStored ? interval : kIntervalDefault);
    m_loadedIntervalMandatory = intervalStored ? intervalLock.mandatory : lock.mandatory;

    NHPP::PolicyLockInfo passwordLock;
    m_storedPassword.clear();
    if (Provider(kInstallerSection)->GetString(kPasswordKey, m_storedPassword, &passwordLock) != NHPP::kOk)
        m_storedPassword.clear();
    SetDlgItemText(kStatus, ui::LoadStringW(m_storedPassword.empty() ? kPasswordNotSet : kPasswordSet));
    CheckDlgButton(kUsePassword, m_storedPassword.empty() ? BST_UNCHECKED : BST_CHECKED);
    m_passwordLock.SetLockState(passwordLock);

    const struct {
        const wchar_t* section;  // null: the page's own section
        const wchar_t* key;
        int box;
        CLockCtrl* lockControl;
    } booleans[] = {{nullptr, kOnlyUpdateAgentsKey, kOnlyUpdateAgents, &m_updateAgentsLock},
                    {kHostDataSection, kHostDataKey, kHostPolicyData, &m_hostDataLock},
                    {kServiceSection, kServiceKey, kProtectService, &m_serviceLock}};
    for (const auto& setting : booleans) {
        NHPP::PolicyLockInfo info;
        const bool value = Provider(setting.section)->GetBoolOrDefault(setting.key, false, &info);
        CheckDlgButton(setting.box, value ? BST_CHECKED : BST_UNCHECKED);
        setting.lockControl->SetLockState(info);
    }
}

void CPageGeneralSettingsBase::UpdatePasswordGroup()
{
    const bool enabled = IsDlgButtonChecked(kUsePassword) == BST_CHECKED && !m_passwordLock.IsLockedByParent();
    for (int id : {kStatus, kChangePassword, kStatusLabel, kCredentialsWarning}) ::EnableWindow(GetDlgItem(id), enabled);
}

void CPageGeneralSettingsBase::ChangePassword()
{
    CDlgChangePassword dialog(GetPageData());
    if (dialog.DoModal(m_hWnd) != IDOK) return;
    if (dialog.IsPasswordChanged()) {
        m_newPassword = dialog.GetResult();
        m_passwordChanged = true;
    }
    SetDlgItemText(kStatus, ui::LoadStringW(EffectivePassword().empty() ? kPasswordNotSet : kPasswordSet));
    SetModified();
}

bool CPageGeneralSettingsBase::OnCommand(WORD id, WORD code, HWND)
{
    if (m_loading) return false;
    switch (id) {
    case kLogSize:
    case kInterval:
        if (code == EN_CHANGE) SetModified();
        return code == EN_CHANGE;
    case kUsePassword:
        UpdatePasswordGroup();
        SetModified();
        return true;
    case kChangePassword:
        ChangePassword();
        return true;
    case kLogLock:
    case kPasswordLock:
    case kUpdateAgentsLock:
    case kHostDataLock:
    case kServiceLock:
    case kOnlyUpdateAgents:
    case kHostPolicyData:
    case kProtectService:
        if (code != BN_CLICKED) return false;
        SetModified();
        return true;
    default: return false;
    }
}

bool CPageGeneralSettingsBase::ValidatePage()
{
    const bool logFree = !m_logLock.IsLockedByParent();
    if (logFree && !m_logSize.Accepts(kLogSizeMin, kLogSizeMax))
        return ShowRangeError(kLogSize, kBadLogSize, kLogSizeMin, kLogSizeMax);
    // the interval is never shown: it goes back as it was read
    if (logFree && !m_interval.StoredOrTyped()) {
        ShowError(kBadInterval);
        return false;
    }
    if (IsDlgButtonChecked(kUsePassword) == BST_CHECKED && EffectivePassword().empty()) {
        ShowError(kNoPassword);
        return false;
    }
    return true;
}

bool CPageGeneralSettingsBase::ApplyPage()
{
    CZRNGTErrorMessage reporter(ui::LoadStringW(kSettingsNotChanged).c_str(), m_hWnd);
    bool written = true;
    auto check = [&](NHPP::HResult result) {
        if (result < 0) written = false;
    };
    auto root = Provider();
    if (!m_logLock.IsLockedByParent()) {
        const std::optional<std::int64_t> size = m_logSize.StoredOrTyped(), interval = m_interval.StoredOrTyped();
        if (!size || !interval) return ShowRangeError(kLogSize, kBadLogSize, kLogSizeMin, kLogSizeMax);
        const bool lockChanged = m_logLock.IsMandatory() != m_loadedLogMandatory;
        check(root->SetInt(kLogSizeKey, static_cast<std::int32_t>(*size), m_logLock.IsMandatory()));
        check(root->SetInt(kIntervalKey, static_cast<std::int32_t>(*interval),
                           lockChanged ? m_logLock.IsMandatory() : m_loadedIntervalMandatory));
    }
    if (!m_passwordLock.IsLockedByParent()) {
        auto installer = Provider(kInstallerSection);
        std::wstring password;
        if (m_passwordChanged) {
            password = m_newPassword;
        } else if (installer->GetString(kPasswordKey, password, nullptr) != NHPP::kOk) {
            password.clear();
        }
        if (IsDlgButtonChecked(kUsePassword) != BST_CHECKED) password.clear();
        check(installer->SetString(kPasswordKey, password, m_passwordLock.IsMandatory()));
        if (written) check(installer->Apply(false, &reporter));
    }
    if (!m_updateAgentsLock.IsLockedByParent())
        check(root->SetBool(kOnlyUpdateAgentsKey, IsDlgButtonChecked(kOnlyUpdateAgents) == BST_CHECKED,
                            m_updateAgentsLock.IsMandatory()));
    if (!m_hostDataLock.IsLockedByParent())
        check(Provider(kHostDataSection)
                  ->SetBool(kHostDataKey, IsDlgButtonChecked(kHostPolicyData) == BST_CHECKED, m_hostDataLock.IsMandatory()));
    if (!m_serviceLock.IsLockedByParent())
        check(Provider(kServiceSection)
                  ->SetBool(kServiceKey, IsDlgButtonChecked(kProtectService) == BST_CHECKED, m_serviceLock.IsMandatory()));
    if (!written) {
        ShowError(kSettingsNotChanged);
        return false;
    }
    for (const wchar_t* section : {static_cast<const wchar_t*>(nullptr), kHostDataSection, kServiceSection})
        if (Provider(section)->Apply(false, &reporter) < 0) return false;
    return true;
}

std::vector<ZRSTD::CAutoPtr<ZRPAR::Params>> CPageGeneralSettingsBase::Export(NHPP::CNHPPageData& pageData)
{
    PluginStateScope scope;
    auto page = ZRPAR::CreateParams();
    auto node = [&](UINT labelId, const std::function<void(ZRPAR::Params&, const std::wstring&)>& fill, bool mandatory) {
        const std::wstring label = frame::NormalizeTitle(ui::LoadStringW(labelId));
        auto content = ZRPAR::CreateParams();
        fill(*content, label);
        content->ReplaceValue(LockNameText(label), ZRPAR::CreateValue(LockStateText(mandatory)).Get());
        page->ReplaceValue(label, ZRPAR::CreateValue(content.Get()).Get());
    };
    auto yesNo = [](bool value) { return ui::LoadStringW(value ? kYes : kNo); };
    auto root = pageData.Provider();
    const struct {
        UINT label;
        const wchar_t* section;
        const wchar_t* key;
    } booleans[] = {{kOnlyUpdateAgentsText, nullptr, kOnlyUpdateAgentsKey},
                    {kHostPolicyDataText, kHostDataSection, kHostDataKey},
                    {kProtectServiceText, kServiceSection, kServiceKey}};
    for (const auto& setting : booleans) {
        NHPP::PolicyLockInfo lock;
        const bool value = pageData.Provider(setting.section)->GetBoolOrDefault(setting.key, false, &lock);
        node(setting.label, [&](ZRPAR::Params& content, const std::wstring& label) {
            content.ReplaceValue(label, ZRPAR::CreateValue(yesNo(value)).Get());
        }, lock.mandatory);
    }
    NHPP::PolicyLockInfo sizeLock;
    const std::int32_t size = root->GetIntOrDefault(kLogSizeKey, kLogSizeDefault, &sizeLock);
    node(kLogSizeText, [&](ZRPAR::Params& content, const std::wstring& label) {
        content.ReplaceValue(label, ZRPAR::CreateValue(std::to_wstring(size)).Get());
    }, sizeLock.mandatory);

    NHPP::PolicyLockInfo passwordLock;
    std::wstring password;
    if (pageData.Provider(kInstallerSection)->GetString(kPasswordKey, password, &passwordLock) != NHPP::kOk)
        password.clear();
    node(kUsePasswordText, [&](ZRPAR::Params& content, const std::wstring& label) {
        content.ReplaceValue(label, ZRPAR::CreateValue(yesNo(!password.empty())).Get());
        content.ReplaceValue(frame::NormalizeTitle(ui::LoadStringW(kStatusLabelText)),
                             ZRPAR::CreateValue(ui::LoadStringW(password.empty() ? kPasswordNotSet : kPasswordSet)).Get());
        if (!password.empty()) {
            // only a digest of the stored value leaves the page
            const std::vector<std::uint8_t> units = PasswordBytes(password);
            const ZRSTD::Md5Digest hash = ZRSTD::CalcMD5Hash(units.data(), units.size());
            content.ReplaceValue(frame::NormalizeTitle(ui::LoadStringW(kPasswordLabelText)),
                                 ZRPAR::CreateValue(ZRPAR::binary_wrapper_t{hash.data(), hash.size()}).Get());
        }
    }, passwordLock.mandatory);
    return {page};
}

CPageGeneralSettingsProduct::CPageGeneralSettingsProduct(std::shared_ptr<NHPP::CNHPPageData> pageData)
    : CPageGeneralSettingsBase(std::move(pageData))
{
    m_localMode = true;
}

bool CPageGeneralSettingsProduct::OnInitDialog()
{
    CPageGeneralSettingsBase::OnInitDialog();
    if (m_hidePasswordGroup || GetPageData()->GetPlatformType() != 0) {
        for (int id : {kPasswordGroup, kPasswordLock, kStatusLabel, kStatus}) ::ShowWindow(GetDlgItem(id), SW_HIDE);
        for (int id : {kChangePassword, kUsePassword}) {
            ::EnableWindow(GetDlgItem(id), false);
            ::ShowWindow(GetDlgItem(id), SW_HIDE);
        }
    }
    return true;
}

CPageGeneralSettingsProductSNagent::CPageGeneralSettingsProductSNagent(std::shared_ptr<NHPP::CNHPPageData> pageData)
    : CPageGeneralSettingsProduct(std::move(pageData))
{
    m_hidePasswordGroup = true;
}
