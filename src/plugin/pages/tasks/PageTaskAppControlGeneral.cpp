#include "plugin/pages/tasks/PageTaskAppControlGeneral.h"

#include <algorithm>
#include <optional>

#include "controls/PluginEnvironment.h"
#include "nhpp/PageData.h"
#include "plugin/frame/Exporter.h"
#include "plugin/pages/PageCommit.h"
#include "ui/CommonControls.h"
#include "ui/Mouse.h"
#include "ui/Registry.h"
#include "ui/Services.h"
#include "zrstd/Format.h"

namespace {

constexpr UINT kNameText = 67, kStartText = 68, kStopText = 69, kApplicationsText = 72, kCommandText = 73,
               kUnsupportedCommand = 2000, kNothingChosen = 2001;

constexpr const wchar_t* kListKey = L"ZRNAG_TASK_START_STOP_APP_LISTAPPS";
constexpr const wchar_t* kStartKey = L"ZRNAG_TASK_START_STOP_APP_ACTIONSTART";
constexpr const wchar_t* kNameKey = L"ZRNAG_PRODUCT_NAME";
constexpr const wchar_t* kVersionKey = L"ZRNAG_PRODUCT_VERSION";
constexpr const wchar_t* kDisplayNameKey = L"ZRNAG_PRODUCT_DISP_NAME";

constexpr const wchar_t* kProductsKey = L"Software\\BrenvikLab\\Components\\34\\Products";
constexpr std::size_t kMaxDisplayName = 1024;

// A stored item of the list, if it is one the page can read.
std::optional<ProductInfo> ReadItem(const ZRPAR::Value* value)
{
    if (!value || value->GetType() != ZRPAR::VT_PARAMS) return std::nullopt;
    const ZRPAR::Params* item = static_cast<const ZRPAR::ParamsValue*>(value)->GetValue();
    auto text = [&](const wchar_t* key) -> std::optional<std::wstring> {
        const ZRPAR::Value* found = item ? item->FindValue(key) : nullptr;
        if (!found || found->GetType() != ZRPAR::VT_STRING) return std::nullopt;
        return static_cast<const ZRPAR::StringValue*>(found)->GetValue();
    };
    const auto name = text(kNameKey), version = text(kVersionKey);
    if (!name || !version) return std::nullopt;
    ProductInfo info;
    info.name = *name;
    info.version = *version;
    info.displayName = text(kDisplayNameKey).value_or(L"");
    if (info.displayName.empty()) info.displayName = info.name;
    info.registered = false;
    return info;
}

std::vector<std::pair<ProductInfo, ZRSTD::CAutoPtr<ZRPAR::Value>>> StoredItems(NHPP::CParams& settings,
                                                                             NHPP::PolicyLockInfo* lock)
{
    std::vector<std::pair<ProductInfo, ZRSTD::CAutoPtr<ZRPAR::Value>>> items;
    ZRSTD::CAutoPtr<ZRPAR::ArrayValue> list;
    if (settings.GetArray(kListKey, &list, lock) != NHPP::kOk || !list) return items;
    for (std::size_t i = 0; i < list->GetSize(); ++i) {
        ZRSTD::CAutoPtr<ZRPAR::Value> value(list->ItemAt(i));
        if (!value) continue;  // an empty slot holds nothing to show or keep
        items.emplace_back(ReadItem(value.Get()).value_or(ProductInfo{}), value);
    }
    return items;
}

}  // namespace

std::vector<ProductInfo> ReadRegisteredApplications()
{
    std::vector<ProductInfo> applications;
    HKEY products = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kProductsKey, KEY_READ, &products) != ERROR_SUCCESS) return applications;
    RegCloseKey(products);
    for (const std::wstring& name : RegEnumKeys(HKEY_LOCAL_MACHINE, kProductsKey)) {
        const std::wstring productKey = ZRSTD::FormatW(L"%s\\%s", kProductsKey, name);
        for (const std::wstring& version : RegEnumKeys(HKEY_LOCAL_MACHINE, productKey)) {
            const std::wstring versionKey = ZRSTD::FormatW(L"%s\\%s", productKey, version);
            ProductInfo info;
            info.name = name;
            info.version = version;
            if (!ui::RegistryGetString(HKEY_LOCAL_MACHINE, versionKey, L"", info.displayName)) continue;
            if (info.displayName.size() > kMaxDisplayName) info.displayName.resize(kMaxDisplayName);
            DWORD buttons = 0;
            info.ctrlButtons = ui::RegistryGetDword(HKEY_LOCAL_MACHINE, versionKey, L"CtrlButtons", buttons)
                                   ? buttons
                                   : ProductInfo::kCanStart | ProductInfo::kCanStop;
            if (!(info.ctrlButtons & (ProductInfo::kCanStart | ProductInfo::kCanStop))) continue;
            const bool known = std::any_of(applications.begin(), applications.end(), [&](const ProductInfo& other) {
                return other.name == info.name && other.version == info.version;
            });
            if (!known) applications.push_back(std::move(info));
        }
    }
    return applications;
}

ui::DialogTemplate CPageTaskAppControlGeneral::Template(UINT templateId)
{
    ui::DialogTemplate dialog;
    dialog.id = templateId;
    const int height = templateId == kWizardTemplate ? 260 : 300;
    dialog.rect = {0, 0, 440, height};
    const DWORD visible = WS_CHILD | WS_VISIBLE;
    dialog.controls = {
        {kApplicationsLabel, L"Static", L"", visible, {10, 10, 430, 26}},
        {kApplications, L"SysListView32", L"", visible | WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_SINGLESEL,
         {10, 30, 430, height - 90}},
        {kCommandLabel, L"Static", L"", visible, {10, height - 80, 430, height - 64}},
        {kStart, L"Button", L"", visible | WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON, {20, height - 58, 430, height - 42}},
        {kStop, L"Button", L"", visible | BS_AUTORADIOBUTTON, {20, height - 36, 430, height - 20}},
    };
    return dialog;
}

CPageTaskAppControlGeneral::CPageTaskAppControlGeneral(UINT templateId, std::shared_ptr<NHPP::CNHPPageData> pageData)
    : CNHPPropertyPageBase(templateId == kWizardTemplate ? kWizardTemplate : kSheetTemplate, std::move(pageData))
{
}

bool CPageTaskAppControlGeneral::OnInitDialog()
{
    CNHPPropertyPageBase::OnInitDialog();
    m_loading = true;
    SetControlTexts({{kApplicationsLabel, kApplicationsText}, {kCommandLabel, kCommandText}, {kStart, kStartText},
                     {kStop, kStopText}});
    m_list.SubclassDlgItem(kApplications, m_hWnd);
    m_list.SetSaveOnDestroy(false);  // one fixed column: no layout to remember
    m_list.SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES, LVS_EX_CHECKBOXES);
    const RECT client = ::GetClientRect(GetDlgItem(kApplications));
    m_list.InsertColumn(0, ui::LoadStringW(kNameText), client.right - client.left);
    m_list.SetFitWidth(true);
    Load();
    m_loading = false;
    return true;
}

void CPageTaskAppControlGeneral::Load()
{
    ui::SetWaitCursor(true);
    m_applications = ReadRegisteredApplications();
    ui::SetWaitCursor(false);

    m_settings = std::make_unique<CTaskSettings>(Provider());
    NHPP::PolicyLockInfo lock;
    std::vector<bool> checked(m_applications.size(), false);
    m_unreadableItems.clear();
    for (auto& [item, value] : StoredItems(m_settings->Provider(), &lock)) {
        if (item.name.empty() && item.version.empty()) {
            m_unreadableItems.push_back(value);
            continue;
        }
        auto known = std::find_if(m_applications.begin(), m_applications.end(), [&](const ProductInfo& info) {
            return info.name == item.name && info.version == item.version;
        });
        if (known != m_applications.end()) {
            checked[static_cast<std::size_t>(known - m_applications.begin())] = true;
        } else {
            // an application this computer does not know stays in the task, shown as the task names it
            m_applications.push_back(item);
            checked.push_back(true);
        }
    }
    m_listLocked = m_settings->IsLocked(kListKey) || lock.locked;
    for (std::size_t i = 0; i < m_applications.size(); ++i) {
        const int row = m_list.InsertItem(static_cast<int>(i), m_applications[i].displayName, static_cast<LPARAM>(i));
        m_list.SetCheck(row, checked[i]);
    }
    ::EnableWindow(GetDlgItem(kApplications), !m_listLocked);

    const bool start = m_settings->ReadBool(kStartKey, false);
    CheckDlgButton(kStart, start ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(kStop, start ? BST_UNCHECKED : BST_CHECKED);
    const bool commandFree = !m_settings->IsLocked(kStartKey);
    for (int id : {kStart, kStop}) ::EnableWindow(GetDlgItem(id), commandFree);
    m_listChanged = false;
}

bool CPageTaskAppControlGeneral::OnCommand(WORD id, WORD code, HWND)
{
    if (m_loading || (id != kStart && id != kStop) || code != BN_CLICKED) return false;
    SetModified();
    return true;
}

bool CPageTaskAppControlGeneral::OnNotify(NMHDR* header, LRESULT*)
{
    if (m_loading || header->idFrom != static_cast<std::uintptr_t>(kApplications) || header->code != LVN_ITEMCHANGED)
        return false;
    const auto* change = reinterpret_cast<const NMLISTVIEW*>(header);
    if ((change->uChanged & LVIF_STATE) && ((change->uNewState ^ change->uOldState) & LVIS_STATEIMAGEMASK)) {
        m_listChanged = true;
        SetModified();
    }
    return false;
}

bool CPageTaskAppControlGeneral::ValidatePage()
{
    const bool start = IsDlgButtonChecked(kStart) == BST_CHECKED;
    const std::uint32_t needed = start ? ProductInfo::kCanStart : ProductInfo::kCanStop;
    bool any = false;
    for (int row = 0; row < m_list.GetItemCount(); ++row) {
        if (!m_list.GetCheck(row)) continue;
        any = true;
        const ProductInfo& info = m_applications[static_cast<std::size_t>(m_list.GetItemData(row))];
        // what an application this computer does not know supports is the agent's to tell
        if (info.registered && !(info.ctrlButtons & needed)) {
            ShowPluginText(m_hWnd, ZRSTD::FormatW(ui::LoadStringW(kUnsupportedCommand), info.displayName), MB_ICONERROR);
            return false;
        }
    }
    if (!any && !m_listLocked) {
        ShowError(kNothingChosen);
        return false;
    }
    return true;
}

bool CPageTaskAppControlGeneral::ApplyPage()
{
    bool written = m_settings->Write(kStartKey, IsDlgButtonChecked(kStart) == BST_CHECKED);
    if (m_listChanged && !m_listLocked) {
        auto list = ZRPAR::CreateArrayValue();
        for (int row = 0; row < m_list.GetItemCount(); ++row) {
            if (!m_list.GetCheck(row)) continue;
            const ProductInfo& info = m_applications[static_cast<std::size_t>(m_list.GetItemData(row))];
            auto item = ZRPAR::CreateParamsBody(
                {{kNameKey, info.name}, {kVersionKey, info.version}, {kDisplayNameKey, info.displayName}});
            list->Append(ZRPAR::CreateValue(item.Get()).Get());
        }
        for (const auto& kept : m_unreadableItems) list->Append(kept.Get());
        written = m_settings->Provider().SetArray(kListKey, list.Get(), false) >= 0 && written;
    }
    if (written) {
        m_listChanged = false;
        return true;
    }
    ShowSettingsNotChanged(m_hWnd, nullptr);
    return false;
}

std::vector<ZRSTD::CAutoPtr<ZRPAR::Params>> CPageTaskAppControlGeneral::Export(NHPP::CNHPPageData& pageData)
{
    PluginStateScope scope;
    auto settings = pageData.Provider();
    NHPP::PolicyLockInfo lock;
    std::wstring applications;
    for (const auto& [item, value] : StoredItems(*settings, &lock)) {
        if (item.name.empty() && item.version.empty()) continue;
        applications += (applications.empty() ? L"" : L", ") + item.displayName + L" " + item.version;
    }
    auto page = ZRPAR::CreateParams();
    frame::AddSettingNode(*page, kApplicationsText, applications, lock.mandatory);
    NHPP::PolicyLockInfo startLock;
    const bool start = settings->GetBoolOrDefault(kStartKey, false, &startLock);
    frame::AddSettingNode(*page, kCommandText, frame::NormalizeTitle(ui::LoadStringW(start ? kStartText : kStopText)),
                          startLock.mandatory);
    return {page};
}
