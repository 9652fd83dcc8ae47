#include "plugin/pages/agent/PageNLARuleConditions.h"

#include "nhpp/PageData.h"
#include "nhpp/ParamsProviderTask.h"
#include "plugin/pages/PageResources.h"
#include "plugin/pages/agent/DlgNLARuleConditionEditor.h"
#include "ui/CommonControls.h"
#include "ui/Menus.h"
#include "ui/Mouse.h"
#include "zrstd/Format.h"
#include "zrstd/Strings.h"

namespace {

// strings
constexpr UINT kNameLabelText = 5857, kEnabledText = 5850, kProfileLabelText = 2123, kConditionsLabelText = 2124,
               kConditionColumnText = 2101, kAddText = 2125, kEditText = 2126, kRemoveText = 2127, kOkText = 12,
               kCancelText = 13, kCaption = 2088;
// messages
constexpr UINT kForbiddenCharacters = 5852, kNameInUse = 5848, kNoProfile = 2114, kNoConditions = 5849,
               kEnableWarning = 5856, kConfirmRemove = 2103;
// the combo's images: the offline entry, the home server, a profile
constexpr UINT kImageIcons[] = {1002, 1000, 1004};
constexpr int kOfflineImage = 0, kHomeServerImage = 1, kProfileImage = 2;

constexpr DWORD kVisible = WS_CHILD | WS_VISIBLE;
constexpr int kConditionListWidth = 300;

using Page = CPageNLARuleConditions;

}  // namespace

ui::DialogTemplate CPageNLARuleConditions::Template()
{
    ui::DialogTemplate dialog;
    dialog.id = kTemplate;
    dialog.style = WS_POPUP;
    dialog.rect = {0, 0, 420, 360};
    dialog.controls = {
        {kNameLabel, L"Static", L"", kVisible, {10, 10, 410, 26}},
        {kName, L"Edit", L"", kVisible | WS_TABSTOP | ES_AUTOHSCROLL, {10, 30, 410, 50}},
        {kEnabled, L"Button", L"", kVisible | WS_TABSTOP | BS_AUTOCHECKBOX, {10, 58, 410, 74}},
        {kProfileLabel, L"Static", L"", kVisible, {10, 84, 410, 100}},
        {kProfile, L"ComboBoxEx32", L"", kVisible | WS_TABSTOP | CBS_DROPDOWNLIST, {10, 104, 410, 124}},
        {kConditionsLabel, L"Static", L"", kVisible, {10, 134, 410, 150}},
        {kConditions, L"SysListView32", L"",
         kVisible | WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
         {10, 154, 10 + kConditionListWidth, 314}},
        {kAdd, L"Button", L"", kVisible | WS_TABSTOP, {320, 154, 410, 178}},
        {kEdit, L"Button", L"", kVisible | WS_TABSTOP, {320, 184, 410, 208}},
        {kRemove, L"Button", L"", kVisible | WS_TABSTOP, {320, 214, 410, 238}},
        {IDOK, L"Button", L"", kVisible | WS_TABSTOP | BS_DEFPUSHBUTTON, {250, 326, 325, 350}},
        {IDCANCEL, L"Button", L"", kVisible | WS_TABSTOP, {335, 326, 410, 350}},
    };
    return dialog;
}

CPageNLARuleConditions::CPageNLARuleConditions(std::shared_ptr<NHPP::CNHPPageData> pageData, NHPP::CParams& rule,
                                               std::vector<std::wstring> otherNames)
    : CNHPPropertyPageBase(kTemplate, std::move(pageData)), m_rule(rule), m_otherNames(std::move(otherNames))
{
    SetHelpTopic(kHelpTopic);
    SetCancelToParent(false);  // a dialog of its own: cancel closes it
    SetThemed(false);
}

CPageNLARuleConditions::~CPageNLARuleConditions()
{
    if (m_hWnd && ::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
    if (m_images) ImageList_Destroy(m_images);
}

bool CPageNLARuleConditions::OnInitDialog()
{
    CNHPPropertyPageBase::OnInitDialog();
    SetControlTexts({{kNameLabel, kNameLabelText},
                     {kEnabled, kEnabledText},
                     {kProfileLabel, kProfileLabelText},
                     {kConditionsLabel, kConditionsLabelText},
                     {kAdd, kAddText},
                     {kEdit, kEditText},
                     {kRemove, kRemoveText},
                     {IDOK, kOkText},
                     {IDCANCEL, kCancelText}});
    CheckDlgButton(kEnabled, m_rule.GetBoolOrDefault(nla::kRuleEnabledKey, true, nullptr) ? BST_CHECKED : BST_UNCHECKED);
    std::wstring name;
    m_rule.GetStringOrDefault(name, nla::kRuleNameKey, L"", nullptr);
    SetDlgItemText(kName, name);
    SetWindowText(ZRSTD::FormatW(ui::LoadStringW(kCaption), name));
    FillProfiles();
    m_conditions.SubclassDlgItem(kConditions, m_hWnd);
    m_conditions.SetSaveOnDestroy(false);
    m_conditions.InsertColumn(0, ui::LoadStringW(kConditionColumnText), kConditionListWidth);
    FillConditions();
    UpdateControls();
    return true;
}

void CPageNLARuleConditions::FillProfiles()
{
    m_profiles.SubclassDlgItem(kProfile, m_hWnd);
    m_images = ImageList_Create(16, 16, ILC_MASK | ILC_COLOR32, 3, 0);
    for (UINT icon : kImageIcons)
        if (HICON loaded = LoadIconResource(icon, 16, 16)) {
            ImageList_AddIcon(m_images, loaded);
            DestroyIcon(loaded);
        }
    m_profiles.SetImageList(m_images);

    m_profiles.AddItem(ui::LoadStringW(nla::kOfflineText), nla::kOfflineProfileId, kOfflineImage);
    if (GetPageData()->GetServerVersionId() >= nla::kFirstServerWithHomeServerEntry)
        m_profiles.AddItem(ui::LoadStringW(nla::kHomeServerText), nla::kHomeServerProfileId, kHomeServerImage);
    ZRSTD::CAutoPtr<ZRPAR::ArrayValue> stored;
    if (m_rule.GetArray(nla::kProfilesKey, &stored, nullptr) != NHPP::kOk) stored = nullptr;
    for (const auto& profile : nla::ProfileEntries(stored.Get()))
        if (!profile.id.empty()) m_profiles.AddItem(profile.name, profile.id, kProfileImage);  // no id, no switching to it

    std::wstring current;
    m_rule.GetStringOrDefault(current, nla::kRuleProfileKey, L"", nullptr);
    for (int i = 0; i < m_profiles.GetCount(); ++i)
        if (m_profiles.GetItemObject(i) == current) m_profiles.SetCurSel(i);
}

void CPageNLARuleConditions::FillConditions()
{
    m_conditions.DeleteAllItems();
    ZRSTD::CAutoPtr<ZRPAR::Params> rule;
    m_rule.GetRoot(&rule);
    for (const auto& type : nla::ConditionTypes())
        if (rule && nla::HasCondition(*rule, type))
            m_conditions.InsertItem(m_conditions.GetItemCount(), ui::LoadStringW(type.name), type.index);
}

int CPageNLARuleConditions::SelectedType() const
{
    const int line = static_cast<int>(m_conditions.SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    return line < 0 ? -1 : static_cast<int>(m_conditions.GetItemData(line));
}

void CPageNLARuleConditions::UpdateControls()
{
    const bool selected = SelectedType() >= 0;
    ::EnableWindow(GetDlgItem(kEdit), selected);
    ::EnableWindow(GetDlgItem(kRemove), selected);
    ::EnableWindow(GetDlgItem(kAdd), m_conditions.GetItemCount() < static_cast<int>(nla::kConditionTypeCount));
}

void CPageNLARuleConditions::ChooseConditionToAdd()
{
    ZRSTD::CAutoPtr<ZRPAR::Params> rule;
    m_rule.GetRoot(&rule);
    HMENU menu = CreatePopupMenu();
    for (int index : nla::MenuOrder()) {
        const nla::ConditionType& type = nla::ConditionTypes()[static_cast<std::size_t>(index)];
        // a rule holds at most one condition of each type
        const bool present = rule && nla::HasCondition(*rule, type);
        AppendMenuW(menu, MF_STRING | (present ? MF_GRAYED : MF_ENABLED), type.command, ui::LoadStringW(type.menuText));
    }
    const HWND button = GetDlgItem(kAdd);
    const RECT client = GetClientRect(button);
    const bool rightToLeft = (GetExStyle() & WS_EX_LAYOUTRTL) != 0;
    const POINT at = ClientToScreen(button, POINT{rightToLeft ? client.right : client.left, client.bottom});
    const UINT flags = TPM_RETURNCMD | (rightToLeft ? (TPM_RIGHTALIGN | TPM_LAYOUTRTL) : TPM_LEFTALIGN);
    int chosen = 0;
    try {
        chosen = TrackPopupMenu(menu, flags, at.x, at.y, m_hWnd);
    } catch (...) {
        DestroyMenu(menu);
        throw;
    }
    DestroyMenu(menu);
    const int type = chosen - nla::kFirstConditionCommand;
    if (type >= 0 && type < static_cast<int>(nla::kConditionTypeCount)) AddCondition(type);
}

bool CPageNLARuleConditions::RunEditor(int type, ZRPAR::Params& condition, bool isNew)
{
    ZRSTD::CAutoPtr<NHPP::CParams> provider;
    if (NHPP::CreateParams(&provider, &condition) != NHPP::kOk || !provider) return false;
    const nla::ConditionType& conditionType = nla::ConditionTypes()[static_cast<std::size_t>(type)];
    if (conditionType.form == nla::ValueForm::YesNo) {
        CDlgNLARuleSimpleConditionEditor editor(GetPageData(), conditionType, *provider, isNew);
        return editor.DoModal(m_hWnd) == IDOK;
    }
    if (conditionType.form == nla::ValueForm::Subnet) {
        CDlgNLARuleConditionEditorIpSubnets editor(GetPageData(), *provider, isNew);
        return editor.DoModal(m_hWnd) == IDOK;
    }
    CDlgNLARuleConditionEditor editor(GetPageData(), conditionType, *provider, isNew);
    return editor.DoModal(m_hWnd) == IDOK;
}

void CPageNLARuleConditions::AddCondition(int type)
{
    const nla::ConditionType& conditionType = nla::ConditionTypes()[static_cast<std::size_t>(type)];
    ZRSTD::CAutoPtr<ZRPAR::Params> existing;
    // an entry the rule keeps without values (an empty list) is taken up again
    auto condition = m_rule.GetParams(conditionType.key, &existing, nullptr) == NHPP::kOk && existing
                         ? existing->Clone()
                         : ZRPAR::CreateParams();
    condition->ReplaceValue(nla::kOperatorKey, ZRPAR::CreateValue(std::int32_t{0}).Get());
    if (!RunEditor(type, *condition, true)) return;
    if (m_rule.SetParams(conditionType.key, condition.Get(), false) != NHPP::kOk) {
        ShowError(pageres::kSettingsNotChanged);
        return;
    }
    FillConditions();
    UpdateControls();
    SetModified();
}

void CPageNLARuleConditions::EditCondition()
{
    const int type = SelectedType();
    if (type < 0 || type >= static_cast<int>(nla::kConditionTypeCount)) return;
    const nla::ConditionType& conditionType = nla::ConditionTypes()[static_cast<std::size_t>(type)];
    ZRSTD::CAutoPtr<ZRPAR::Params> existing;
    // a yes/no entry of another type (bad stored data) is edited as a new one and replaced on OK
    auto condition = m_rule.GetParams(conditionType.key, &existing, nullptr) == NHPP::kOk && existing
                         ? existing->Clone()
                         : ZRPAR::CreateParams();
    if (!RunEditor(type, *condition, false)) return;
    if (m_rule.SetParams(conditionType.key, condition.Get(), false) != NHPP::kOk) {
        ShowError(pageres::kSettingsNotChanged);
        return;
    }
    SetModified();
}

void CPageNLARuleConditions::RemoveCondition()
{
    const int type = SelectedType();
    if (type < 0 || type >= static_cast<int>(nla::kConditionTypeCount)) return;
    const nla::ConditionType& conditionType = nla::ConditionTypes()[static_cast<std::size_t>(type)];
    const std::wstring question =
        ZRSTD::FormatW(ui::LoadStringW(kConfirmRemove), ui::LoadStringW(conditionType.name));
    if (ShowPluginText(m_hWnd, question, MB_YESNO | MB_ICONWARNING) != IDYES) return;
    m_rule.Remove(conditionType.key);
    FillConditions();
    UpdateControls();
    SetModified();
}

bool CPageNLARuleConditions::OnCommand(WORD id, WORD code, HWND)
{
    if (code != BN_CLICKED) return false;
    switch (id) {
    case kAdd: ChooseConditionToAdd(); return true;
    case kEdit: EditCondition(); return true;
    case kRemove: RemoveCondition(); return true;
    case kEnabled: SetModified(); return true;
    default: return false;
    }
}

bool CPageNLARuleConditions::OnNotify(NMHDR* header, LRESULT* result)
{
    if (!header || header->idFrom != static_cast<std::uintptr_t>(kConditions)) return false;
    if (header->code == LVN_ITEMCHANGED) UpdateControls();
    else if (header->code == NM_DBLCLK) EditCondition();
    else return false;
    if (result) *result = 0;
    return true;
}

bool CPageNLARuleConditions::ValidatePage()
{
    const std::wstring name = ZRSTD::Trim(GetDlgItemText(kName));
    if (const UINT problem = nla::RuleNameProblem(name)) {
        if (problem == kForbiddenCharacters)
            ShowPluginText(m_hWnd, ZRSTD::FormatW(ui::LoadStringW(kForbiddenCharacters), nla::ForbiddenCharactersText()),
                           MB_ICONERROR);
        else
            ShowError(problem);
        ::SetFocus(GetDlgItem(kName));
        return false;
    }
    for (const auto& other : m_otherNames)
        if (nla::SameName(other, name)) {
            ShowError(kNameInUse);
            ::SetFocus(GetDlgItem(kName));
            return false;
        }
    if (m_profiles.GetCurSel() < 0) {
        ShowError(kNoProfile);
        ::SetFocus(GetDlgItem(kProfile));
        return false;
    }
    if (m_conditions.GetItemCount() == 0) {
        ShowError(kNoConditions);
        return false;
    }
    // a wrong active rule can cut the policy's computers off from their server
    if (IsDlgButtonChecked(kEnabled) == BST_CHECKED &&
        ShowPluginMessage(m_hWnd, kEnableWarning, MB_YESNO | MB_ICONINFORMATION) != IDYES)
        return false;
    return true;
}

bool CPageNLARuleConditions::ApplyPage()
{
    bool written = true;
    auto check = [&](NHPP::HResult result) { written = written && result == NHPP::kOk; };
    check(m_rule.SetBool(nla::kRuleEnabledKey, IsDlgButtonChecked(kEnabled) == BST_CHECKED, false));
    check(m_rule.SetString(nla::kRuleNameKey, ZRSTD::Trim(GetDlgItemText(kName)), false));
    check(m_rule.SetString(nla::kRuleProfileKey, m_profiles.GetSelectedObject(), false));
    if (!written) ShowError(pageres::kSettingsNotChanged);
    return written;
}

void CPageNLARuleConditions::OnOK()
{
    if (!ValidatePage() || !ApplyPage()) return;
    EndDialog(IDOK);
}
