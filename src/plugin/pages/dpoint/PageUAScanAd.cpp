#include "plugin/pages/dpoint/PageUAScanAd.h"

#include <optional>

#include "controls/PluginEnvironment.h"
#include "nhpp/PageData.h"
#include "plugin/frame/Exporter.h"
#include "plugin/pages/PageCommit.h"
#include "plugin/pages/PageResources.h"
#include "plugin/pages/PasswordProtection.h"
#include "plugin/pages/agent/NLARule.h"
#include "ui/CommonControls.h"
#include "zrstd/Format.h"
#include "zrstd/Strings.h"

namespace {

using Page = CPageUAScanAdBase;
using Dialog = CDlgADScanEntryProperties;

// strings
constexpr UINT kOkText = 12, kCancelText = 13, kEnableText = 2281, kPeriodText = 2282, kScheduleText = 2576,
               kDomainText = 2305, kForestText = 2306, kListedText = 2307, kAddText = 2308, kEditText = 2303,
               kRemoveText = 2304, kSettingsTitle = 2612, kAddressColumn = 9452, kCaption = 2286,
               kAddressText = 7026, kUserText = 585, kPasswordText = 586, kShowPasswordText = 5843;
// messages
constexpr UINT kConfirmRemove = 2284, kNoDomains = 2285, kNoAddress = 2283, kNotProtected = 2138;
constexpr const wchar_t* kInvalidValue = L"<Invalid value>";

constexpr const wchar_t* kEnableKey = L"ZRSRV_AD_SCAN_ENABLED";
constexpr const wchar_t* kPeriodKey = L"ZRSRV_SP_SCAN_AD";
constexpr const wchar_t* kAreaKey = L"ZRSRV_SP_SCAN_AD_AREA";
constexpr const wchar_t* kControllersKey = L"ZRSRV_AD_SCAN_ADDRESSES";
constexpr const wchar_t* kScheduleKey = L"ZRSRV_SP_SCAN_AD_SCHEDULE";
constexpr const wchar_t* kAddressKey = L"ZRSRV_SP_AD_ADDRESS";
constexpr const wchar_t* kUserKey = L"ZRSRV_SP_AD_USER";
constexpr const wchar_t* kPasswordKey = L"ZRSRV_SP_AD_PASSWORD";

constexpr DWORD kVisible = WS_CHILD | WS_VISIBLE;
constexpr int kColumnWidth = 300;

// The areas, each with its radio and text.
struct Area {
    std::int32_t value;
    int radio;
    UINT text;
};
constexpr Area kAreas[] = {{Page::kAreaDomain, Page::kCurrentDomain, kDomainText},
                           {Page::kAreaForest, Page::kForest, kForestText},
                           {Page::kAreaListed, Page::kListed, kListedText}};

// A controller's address as the list shows it.
std::wstring AddressOf(const ZRPAR::Value* controller)
{
    const ZRPAR::Params* params = nla::AsParams(controller);
    const ZRPAR::Value* address = params ? params->FindValue(kAddressKey) : nullptr;
    if (!address || address->GetType() != ZRPAR::VT_STRING) return kInvalidValue;
    return static_cast<const ZRPAR::StringValue*>(address)->GetValue();
}

void SelectLine(HWND list, int line)
{
    LVITEMW item;
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(line), reinterpret_cast<LPARAM>(&item));
}

}  // namespace

// ---- the domain controller --------------------------------------------------

ui::DialogTemplate CDlgADScanEntryProperties::Template()
{
    ui::DialogTemplate dialog;
    dialog.id = kTemplate;
    dialog.style = WS_POPUP;
    dialog.rect = {0, 0, 400, 200};
    dialog.controls = {
        {kAddressLabel, L"Static", L"", kVisible, {10, 10, 390, 26}},
        {kAddress, L"Edit", L"", kVisible | WS_TABSTOP | ES_AUTOHSCROLL, {10, 30, 390, 50}},
        {kUserLabel, L"Static", L"", kVisible, {10, 62, 150, 78}},
        {kUser, L"Edit", L"", kVisible | WS_TABSTOP | ES_AUTOHSCROLL, {155, 60, 390, 80}},
        {kPasswordLabel, L"Static", L"", kVisible, {10, 92, 150, 108}},
        {kPassword, L"Edit", L"", kVisible | WS_TABSTOP | ES_PASSWORD | ES_AUTOHSCROLL, {155, 90, 355, 110}},
        {kShowPassword, L"Button", L"", WS_CHILD | WS_TABSTOP, {360, 90, 390, 110}},
        {IDOK, L"Button", L"", kVisible | WS_TABSTOP | BS_DEFPUSHBUTTON, {230, 165, 305, 189}},
        {IDCANCEL, L"Button", L"", kVisible | WS_TABSTOP, {315, 165, 390, 189}},
    };
    return dialog;
}

CDlgADScanEntryProperties::CDlgADScanEntryProperties(std::shared_ptr<NHPP::CNHPPageData> pageData,
                                                     const ZRPAR::Value* controller)
    : CNHPDialog(kTemplate, std::move(pageData))
{
    const ZRPAR::Params* stored = nla::AsParams(controller);
    m_controller = stored ? stored->Clone() : ZRPAR::CreateParams();
}

bool CDlgADScanEntryProperties::OnInitDialog()
{
    CNHPDialog::OnInitDialog();
    SetWindowText(ui::LoadStringW(kCaption));
    SetControlTexts({{kAddressLabel, kAddressText}, {kUserLabel, kUserText}, {kPasswordLabel, kPasswordText},
                     {kShowPassword, kShowPasswordText}, {IDOK, kOkText}, {IDCANCEL, kCancelText}});
    SetDlgItemText(kAddress, nla::StringOf(m_controller.Get(), kAddressKey));
    SetDlgItemText(kUser, nla::StringOf(m_controller.Get(), kUserKey));
    m_password.SubclassDlgItem(kPassword, m_hWnd);
    m_password.SetButton(kShowPassword);
    m_showPassword.SubclassDlgItem(kShowPassword, m_hWnd);
    m_showPassword.SetEdit(kPassword);
    // the stored password is never shown: the placeholder stands for it
    if (m_controller->DoesExist(kPasswordKey)) m_password.ShowPlaceholder();
    return true;
}

void CDlgADScanEntryProperties::OnOK()
{
    const std::wstring address = ZRSTD::Trim(GetDlgItemText(kAddress));
    if (address.empty()) {
        ShowPluginMessage(m_hWnd, kNoAddress, MB_ICONERROR);
        ::SetFocus(GetDlgItem(kAddress));
        return;
    }
    // the password is protected before anything changes: a refusal keeps the dialog as it is
    ZRSTD::CAutoPtr<ZRSTD::MemoryChunk> protectedPassword;
    const bool typed = !m_password.ShowsPlaceholder();
    const std::wstring password = typed ? m_password.GetWindowText() : L"";
    if (typed && !password.empty()) {
        try {
            protectedPassword = ProtectPassword(GetPageData() ? GetPageData()->GetDataSource() : nullptr, password);
        } catch (const ZRERR::Error& error) {
            ZRERR::SayFailure2(error, "CDlgADScanEntryProperties::OnOK");
        }
        if (!protectedPassword) {
            ShowPluginMessage(m_hWnd, kNotProtected, MB_ICONERROR);
            ::SetFocus(GetDlgItem(kPassword));
            return;
        }
    }
    m_controller->ReplaceValue(kAddressKey, ZRPAR::CreateValue(address).Get());
    m_controller->ReplaceValue(kUserKey, ZRPAR::CreateValue(ZRSTD::Trim(GetDlgItemText(kUser))).Get());
    if (protectedPassword) m_controller->ReplaceValue(kPasswordKey, ZRPAR::CreateValue(*protectedPassword).Get());
    else if (typed) m_controller->DeleteValue(kPasswordKey);  // emptied: the account has no password
    CNHPDialog::OnOK();
}

// ---- the page ---------------------------------------------------------------

ui::DialogTemplate CPageUAScanAdBase::Template()
{
    ui::DialogTemplate dialog;
    dialog.id = kTemplate;
    dialog.rect = {0, 0, 440, 360};
    dialog.controls = {
        {kEnable, L"Button", L"", kVisible | WS_TABSTOP | BS_AUTOCHECKBOX, {10, 10, 365, 26}},
        {kLock, L"Static", L"", kVisible | WS_TABSTOP, {370, 8, 435, 28}},
        {kPeriodLabel, L"Static", L"", kVisible, {25, 38, 200, 54}},
        {kPeriod, L"Edit", L"", kVisible | WS_TABSTOP | ES_NUMBER, {205, 36, 270, 56}},
        {kPeriodSpin, L"msctls_updown32", L"", kVisible, {270, 36, 285, 56}},
        {kScheduleLink, L"Static", L"", kVisible | WS_TABSTOP | SS_NOTIFY, {25, 64, 365, 80}},
        {kCurrentDomain, L"Button", L"", kVisible | WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON, {25, 90, 430, 106}},
        {kForest, L"Button", L"", kVisible | BS_AUTORADIOBUTTON, {25, 112, 430, 128}},
        {kListed, L"Button", L"", kVisible | BS_AUTORADIOBUTTON, {25, 134, 430, 150}},
        {kControllers, L"SysListView32", L"",
         kVisible | WS_TABSTOP | WS_GROUP | WS_BORDER | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
         {40, 158, 330, 320}},
        {kAdd, L"Button", L"", kVisible | WS_TABSTOP, {340, 158, 435, 182}},
        {kEdit, L"Button", L"", kVisible | WS_TABSTOP, {340, 188, 435, 212}},
        {kRemove, L"Button", L"", kVisible | WS_TABSTOP, {340, 218, 435, 242}},
    };
    return dialog;
}

CPageUAScanAdBase::CPageUAScanAdBase(std::shared_ptr<NHPP::CNHPPageData> pageData)
    : CNHPPropertyPageBase(kTemplate, std::move(pageData)), m_schedule(kScheduleKey, kPeriodKey, kDefaultPeriodMs)
{
}

bool CPageUAScanAdBase::OnInitDialog()
{
    CNHPPropertyPageBase::OnInitDialog();
    m_loading = true;  // what the page puts into its controls is no change of the administrator's
    SetControlTexts({{kEnable, kEnableText}, {kPeriodLabel, kPeriodText}, {kCurrentDomain, kDomainText},
                     {kForest, kForestText}, {kListed, kListedText}, {kAdd, kAddText}, {kEdit, kEditText},
                     {kRemove, kRemoveText}});
    m_scheduleLink.SubclassDlgItem(kScheduleLink, m_hWnd);
    m_scheduleLink.SetWindowText(scan::LinkText(kScheduleText));
    m_scheduleLink.SetCommandId(kScheduleCommand);
    m_list.SubclassDlgItem(kControllers, m_hWnd);
    m_list.SetSaveOnDestroy(false);
    m_list.InsertColumn(0, ui::LoadStringW(kAddressColumn), kColumnWidth);
    // on the distribution point itself the lock only shows what its policy enforces
    const bool local = Provider(scan::kSection)->GetProviderType() == NHPP::kLocalSettingsProvider;
    m_lock.Attach(m_hWnd, kLock, local,
                  {kEnable, kPeriodLabel, kPeriod, kPeriodSpin, kScheduleLink, kCurrentDomain, kForest, kListed,
                   kControllers, kAdd, kEdit, kRemove},
                  LoadLockCtrlTexts(pageres::kLockImages, pageres::kInfoIcon));
    Load();
    UpdateControls();
    m_loading = false;
    return true;
}

void CPageUAScanAdBase::Load()
{
    auto settings = Provider(scan::kSection);
    NHPP::PolicyLockInfo lock;
    m_storedEnable = scan::ReadBool(*settings, kEnableKey, false, &lock);
    CheckDlgButton(kEnable, m_storedEnable.value ? BST_CHECKED : BST_UNCHECKED);
    m_storedPeriod = scan::ReadInt(*settings, kPeriodKey, kDefaultPeriodMs, nullptr);
    scan::SetupPeriod(m_hWnd, m_period, kPeriod, kPeriodSpin, m_storedPeriod);
    // an area the page does not know checks no radio, and is written back as it was
    m_storedArea = scan::ReadInt(*settings, kAreaKey, kAreaDomain, nullptr);
    for (const Area& area : kAreas)
        CheckDlgButton(area.radio, area.value == m_storedArea.value ? BST_CHECKED : BST_UNCHECKED);

    ZRSTD::CAutoPtr<ZRPAR::ArrayValue> controllers;
    const NHPP::HResult read = settings->GetArray(kControllersKey, &controllers, nullptr);
    m_controllersUnreadable = read == NHPP::kUnexpected;
    m_controllersChanged = false;
    m_controllers.clear();
    for (std::size_t i = 0; read == NHPP::kOk && controllers && i < controllers->GetSize(); ++i)
        m_controllers.emplace_back(controllers->ItemAt(i));
    m_list.DeleteAllItems();
    for (std::size_t i = 0; i < m_controllers.size(); ++i) {
        m_list.InsertItem(static_cast<int>(i), L"");
        ShowController(static_cast<int>(i));
    }
    m_lock.SetLockState(lock);
}

void CPageUAScanAdBase::ShowController(int line)
{
    m_list.SetItemText(line, 0, AddressOf(m_controllers[static_cast<std::size_t>(line)].Get()));
}

int CPageUAScanAdBase::SelectedController() const
{
    const int line = static_cast<int>(m_list.SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    return line >= 0 && static_cast<std::size_t>(line) < m_controllers.size() ? line : -1;
}

std::int32_t CPageUAScanAdBase::AreaShown() const
{
    for (const Area& area : kAreas)
        if (IsDlgButtonChecked(area.radio) == BST_CHECKED) return area.value;
    return m_storedArea.value;
}

void CPageUAScanAdBase::UpdateControls()
{
    const bool editable = !m_lock.IsLockedByParent();
    const bool polling = editable && IsDlgButtonChecked(kEnable) == BST_CHECKED;
    ::EnableWindow(GetDlgItem(kEnable), editable);
    for (int id : {kPeriodLabel, kPeriod, kPeriodSpin, kScheduleLink, kCurrentDomain, kForest, kListed})
        ::EnableWindow(GetDlgItem(id), polling);
    const bool listed = polling && IsDlgButtonChecked(kListed) == BST_CHECKED;
    ::EnableWindow(GetDlgItem(kControllers), listed);
    ::EnableWindow(GetDlgItem(kAdd), listed);
    const bool selected = listed && SelectedController() >= 0;
    ::EnableWindow(GetDlgItem(kEdit), selected);
    ::EnableWindow(GetDlgItem(kRemove), selected);
}

void CPageUAScanAdBase::AddController()
{
    Dialog dialog(GetPageData(), nullptr);
    if (dialog.DoModal(m_hWnd) != IDOK) return;
    m_controllers.push_back(ZRPAR::CreateValue(dialog.Result().Get()));
    const int line = static_cast<int>(m_controllers.size()) - 1;
    m_list.InsertItem(line, L"");
    ShowController(line);
    SelectLine(m_list.GetSafeHwnd(), line);
    m_controllersChanged = true;
    SetModified();
    UpdateControls();
}

void CPageUAScanAdBase::EditSelectedController()
{
    const int line = SelectedController();
    if (line < 0) return;
    auto& controller = m_controllers[static_cast<std::size_t>(line)];
    Dialog dialog(GetPageData(), controller.Get());
    if (dialog.DoModal(m_hWnd) != IDOK) return;
    controller = ZRPAR::CreateValue(dialog.Result().Get());
    ShowController(line);
    m_controllersChanged = true;
    SetModified();
}

void CPageUAScanAdBase::RemoveSelectedController()
{
    const int line = SelectedController();
    if (line < 0) return;
    const std::wstring question = ZRSTD::FormatW(ui::LoadStringW(kConfirmRemove),
                                                 AddressOf(m_controllers[static_cast<std::size_t>(line)].Get()));
    if (ShowPluginText(m_hWnd, question, MB_YESNO | MB_ICONWARNING) != IDYES) return;
    m_controllers.erase(m_controllers.begin() + line);
    m_list.DeleteItem(line);
    m_controllersChanged = true;
    SetModified();
    UpdateControls();
}

bool CPageUAScanAdBase::OnCommand(WORD id, WORD code, HWND)
{
    if (m_loading) return false;
    switch (id) {
    case kPeriod:
        if (code == EN_CHANGE) SetModified();
        return code == EN_CHANGE;
    case kScheduleCommand:
        if (code != BN_CLICKED) return false;
        if (m_schedule.Edit(m_hWnd, *GetPageData(), *Provider(scan::kSection))) SetModified();
        return true;
    case kAdd:
    case kEdit:
    case kRemove:
        if (code != BN_CLICKED) return false;
        if (id == kAdd) AddController();
        else if (id == kEdit) EditSelectedController();
        else RemoveSelectedController();
        return true;
    case kEnable:
    case kCurrentDomain:
    case kForest:
    case kListed:
    case kLock:
        if (code != BN_CLICKED) return false;
        UpdateControls();
        SetModified();
        return true;
    default: return false;
    }
}

bool CPageUAScanAdBase::OnNotify(NMHDR* header, LRESULT* result)
{
    if (m_loading || !header || static_cast<int>(header->idFrom) != kControllers) return false;
    if (header->code == LVN_ITEMCHANGED) {
        UpdateControls();
    } else if (header->code == NM_DBLCLK) {
        if (!::IsWindowEnabled(GetDlgItem(kEdit))) return false;
        EditSelectedController();
    } else {
        return false;
    }
    if (result) *result = 0;
    return true;
}

bool CPageUAScanAdBase::ValidatePage()
{
    if (m_lock.IsLockedByParent()) return true;
    if (!m_period.Accepts(scan::kMinMinutes, scan::kMaxMinutes))
        return ShowRangeError(kPeriod, 0, scan::kMinMinutes, scan::kMaxMinutes, kPeriodText);
    // with polling off nothing is polled, so no domain is needed
    if (IsDlgButtonChecked(kEnable) == BST_CHECKED && IsDlgButtonChecked(kListed) == BST_CHECKED &&
        m_controllers.empty()) {
        ShowError(kNoDomains);
        ::SetFocus(GetDlgItem(kControllers));
        return false;
    }
    return true;
}

bool CPageUAScanAdBase::ApplyPage()
{
    if (m_lock.IsLockedByParent()) return true;  // the policy's values stay as they are
    auto settings = Provider(scan::kSection);
    const bool mandatory = m_lock.IsMandatory();
    bool written = true;
    auto check = [&](NHPP::HResult result) { written = result >= 0 && written; };
    // a stored value of another type stays until the administrator changes what shows it
    const bool enabled = IsDlgButtonChecked(kEnable) == BST_CHECKED;
    if (!m_storedEnable.unreadable || enabled != m_storedEnable.value)
        check(settings->SetBool(kEnableKey, enabled, mandatory));
    if (!m_storedPeriod.unreadable || !m_period.IsUntouched()) {
        const std::optional<std::int32_t> period = scan::PeriodToWrite(m_period);
        if (!period) return false;  // validation names it first
        check(settings->SetInt(kPeriodKey, *period, mandatory));
    }
    const std::int32_t area = AreaShown();
    if (!m_storedArea.unreadable || area != m_storedArea.value) check(settings->SetInt(kAreaKey, area, mandatory));
    if (!m_controllersUnreadable || m_controllersChanged) {
        auto controllers = ZRPAR::CreateArrayValue();
        for (const auto& controller : m_controllers) controllers->Append(controller.Get());
        check(settings->SetArray(kControllersKey, controllers.Get(), mandatory));
    }
    check(m_schedule.Write(*settings, mandatory));
    if (!CommitPageSettings(m_hWnd, *settings, written)) return false;
    m_controllersUnreadable = m_controllersUnreadable && !m_controllersChanged;
    return true;
}

std::vector<ZRSTD::CAutoPtr<ZRPAR::Params>> CPageUAScanAdBase::Export(NHPP::CNHPPageData& pageData)
{
    PluginStateScope scope;
    auto settings = pageData.Provider(scan::kSection);
    NHPP::PolicyLockInfo lock;
    const bool enabled = settings->GetBoolOrDefault(kEnableKey, false, &lock);
    const std::int32_t area = settings->GetIntOrDefault(kAreaKey, kAreaDomain, nullptr);
    UINT areaText = kDomainText;
    for (const Area& known : kAreas)
        if (known.value == area) areaText = known.text;
    std::wstring addresses;
    ZRSTD::CAutoPtr<ZRPAR::ArrayValue> controllers;
    if (settings->GetArray(kControllersKey, &controllers, nullptr) == NHPP::kOk && controllers)
        for (std::size_t i = 0; i < controllers->GetSize(); ++i)
            addresses += (i ? L"; " : L"") + AddressOf(controllers->ItemAt(i));

    auto rows = ZRPAR::CreateParams();
    frame::AddSettingNode(*rows, kEnableText, frame::YesNoText(enabled), lock.mandatory);
    frame::AddSettingNode(*rows, areaText, addresses, lock.mandatory);
    auto page = ZRPAR::CreateParams();
    page->AddValue(frame::NormalizeTitle(ui::LoadStringW(kSettingsTitle)), ZRPAR::CreateValue(rows.Get()).Get());
    return {page};
}
