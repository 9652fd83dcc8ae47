#include "plugin/pages/agent/PageNetworkNLA.h"

#include <utility>

#include "controls/PluginEnvironment.h"
#include "nhpp/PageData.h"
#include "nhpp/ParamsProviderTask.h"
#include "plugin/frame/Exporter.h"
#include "plugin/pages/PageCommit.h"
#include "plugin/pages/PageResources.h"
#include "plugin/pages/agent/PageNLARuleConditions.h"
#include "plugin/pages/agent/PageNetProfileGeneral.h"
#include "ui/CommonControls.h"
#include "zrstd/Crypto.h"
#include "zrstd/Format.h"
#include "zrstd/Trace.h"

namespace {

using pageres::kInfoIcon;
using pageres::kLockImages;
using pageres::kNo;
using pageres::kYes;

// strings
constexpr UINT kProfilesText = 2128, kAddProfileText = 2129, kProfilePropertiesText = 2130, kRemoveProfileText = 2131,
               kRulesText = 5845, kAddRuleText = 2133, kRulePropertiesText = 2134, kRoamingText = 5854,
               kProfileColumnText = 2083, kRuleColumnText = 5857, kRuleProfileColumnText = 2082, kRuleUpText = 9300,
               kRuleDownText = 9301, kRemoveRuleText = 9302, kNewRuleName = 5846, kRuleEnabledText = 5850;
// export labels of a profile
constexpr UINT kServerAddressText = 9, kPortText = 10, kSslPortText = 11, kUseSslText = 571, kUpdatesOnlyText = 2144,
               kProfileRoamingText = 5855, kGatewayText = 2406, kSynchronizeText = 2583, kUseProxyText = 572,
               kProxyAddressText = 582, kProxyUserText = 585, kProxyPasswordText = 586;
// messages
constexpr UINT kConfirmRemoveProfile = 2089, kConfirmRemoveRule = 5847, kConnectionNotChanged = 2087;

constexpr int kColumnWidth = 150;
constexpr DWORD kVisible = WS_CHILD | WS_VISIBLE;

using Page = CPageNetworkNLA;

std::vector<ZRSTD::CAutoPtr<ZRPAR::Value>> Elements(const ZRPAR::ArrayValue* array)
{
    std::vector<ZRSTD::CAutoPtr<ZRPAR::Value>> elements;
    for (std::size_t i = 0; array && i < array->GetSize(); ++i) elements.emplace_back(array->ItemAt(i));
    return elements;
}

ZRSTD::CAutoPtr<ZRPAR::ArrayValue> ArrayOf(const std::vector<ZRSTD::CAutoPtr<ZRPAR::Value>>& elements)
{
    auto array = ZRPAR::CreateArrayValue();
    for (const auto& element : elements) array->Append(element.Get());
    return array;
}

// A stored array, or nothing when it is absent or of another type.
ZRSTD::CAutoPtr<ZRPAR::ArrayValue> ReadArray(NHPP::CParams& provider, const wchar_t* key, NHPP::PolicyLockInfo* lock)
{
    ZRSTD::CAutoPtr<ZRPAR::ArrayValue> array;
    if (provider.GetArray(key, &array, lock) == NHPP::kOk && array) return array;
    // no array of its own: the lock is the enclosing section's
    if (lock) provider.GetLockData(key, lock);
    return nullptr;
}

std::wstring ProfileName(const ZRPAR::Value* element)
{
    return nla::StringOf(nla::AsParams(element), nla::kProfileNameKey);
}

std::wstring RuleName(const ZRPAR::Value* element) { return nla::StringOf(nla::AsParams(element), nla::kRuleNameKey); }

void SelectLine(HWND list, int line)
{
    LVITEMW item;
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(line), reinterpret_cast<LPARAM>(&item));
}

int SelectedLineOf(const CNHCustomListCtrl& list)
{
    return static_cast<int>(list.SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

// Adds a value under a name, numbering a name that is there already: two
// profiles or rules of one name are both exported.
void AddNumbered(ZRPAR::Params& into, const std::wstring& name, ZRPAR::Value* value)
{
    std::wstring unique = name;
    for (int n = 2; into.DoesExist(unique); ++n) unique = name + L" (" + std::to_wstring(n) + L")";
    into.AddValue(unique, value);
}

}  // namespace

ui::DialogTemplate CPageNetworkNLA::Template()
{
    ui::DialogTemplate dialog;
    dialog.id = kTemplate;
    dialog.rect = {0, 0, 440, 420};
    const DWORD list = kVisible | WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS;
    dialog.controls = {
        {kProfilesLabel, L"Static", L"", kVisible, {10, 10, 370, 26}},
        {kLock, L"Static", L"", kVisible | WS_TABSTOP, {375, 8, 435, 28}},
        {kProfiles, L"SysListView32", L"", list, {10, 32, 330, 150}},
        {kAddProfile, L"Button", L"", kVisible | WS_TABSTOP, {340, 32, 435, 56}},
        {kProfileProperties, L"Button", L"", kVisible | WS_TABSTOP, {340, 62, 435, 86}},
        {kRemoveProfile, L"Button", L"", kVisible | WS_TABSTOP, {340, 92, 435, 116}},
        {kRulesLabel, L"Static", L"", kVisible, {10, 162, 430, 178}},
        {kRules, L"SysListView32", L"", list, {10, 184, 330, 330}},
        {kAddRule, L"Button", L"", kVisible | WS_TABSTOP, {340, 184, 435, 208}},
        {kRuleProperties, L"Button", L"", kVisible | WS_TABSTOP, {340, 214, 435, 238}},
        {kRuleUp, L"Button", L"", kVisible | WS_TABSTOP | BS_ICON, {340, 244, 365, 268}},
        {kRuleDown, L"Button", L"", kVisible | WS_TABSTOP | BS_ICON, {370, 244, 395, 268}},
        {kRemoveRule, L"Button", L"", kVisible | WS_TABSTOP | BS_ICON, {400, 244, 425, 268}},
        {kRoaming, L"Button", L"", kVisible | WS_TABSTOP | BS_AUTOCHECKBOX, {10, 344, 370, 360}},
        {kRoamingLock, L"Static", L"", kVisible | WS_TABSTOP, {375, 342, 435, 362}},
    };
    return dialog;
}

CPageNetworkNLA::CPageNetworkNLA(std::shared_ptr<NHPP::CNHPPageData> pageData)
    : CNHPPropertyPageBase(kTemplate, std::move(pageData))
{
    SetHelpTopic(kHelpTopic);
}

bool CPageNetworkNLA::OnInitDialog()
{
    CNHPPropertyPageBase::OnInitDialog();
    m_loading = true;  // what the page puts into its controls is no change of the administrator's
    SetControlTexts({{kProfilesLabel, kProfilesText},
                     {kAddProfile, kAddProfileText},
                     {kProfileProperties, kProfilePropertiesText},
                     {kRemoveProfile, kRemoveProfileText},
                     {kRulesLabel, kRulesText},
                     {kAddRule, kAddRuleText},
                     {kRuleProperties, kRulePropertiesText},
                     {kRuleUp, kRuleUpText},  // the icon buttons' accessible names
                     {kRuleDown, kRuleDownText},
                     {kRemoveRule, kRemoveRuleText},
                     {kRoaming, kRoamingText}});
    m_profiles.SubclassDlgItem(kProfiles, m_hWnd);
    m_profiles.SetSaveOnDestroy(false);
    m_profiles.InsertColumn(0, ui::LoadStringW(kProfileColumnText), 2 * kColumnWidth);
    m_rulesList.SubclassDlgItem(kRules, m_hWnd);
    m_rulesList.SetSaveOnDestroy(false);
    m_rulesList.InsertColumn(0, ui::LoadStringW(kRuleColumnText), kColumnWidth);
    m_rulesList.InsertColumn(1, ui::LoadStringW(kRuleProfileColumnText), kColumnWidth);

    const LockCtrlTexts lockTexts = LoadLockCtrlTexts(kLockImages, kInfoIcon);
    m_lock.SubclassDlgItem(kLock, m_hWnd);
    m_lock.SetLocalMode(m_localMode);
    m_lock.SetGovernedControls({kAddProfile, kRemoveProfile, kAddRule, kRemoveRule, kRuleUp, kRuleDown});
    m_lock.Setup(lockTexts);
    m_roamingLock.SubclassDlgItem(kRoamingLock, m_hWnd);
    m_roamingLock.SetLocalMode(m_localMode);
    m_roamingLock.SetGovernedControls({kRoaming});
    m_roamingLock.Setup(lockTexts);
    Load();
    UpdateControls();
    m_loading = false;
    return true;
}

ZRSTD::CAutoPtr<NHPP::CParams> CPageNetworkNLA::NlaProvider()
{
    try {
        return Provider(nla::kSection);
    } catch (const ZRERR::Error& error) {
        ZRERR::SayFailure2(error, "CPageNetworkNLA::GetData", 3);
        ZRSTD::Trace(1, L"[NODESHOST][ERROR] %hs: empty pNLA", "CPageNetworkNLA::GetData");
        return nullptr;
    }
}

void CPageNetworkNLA::Load()
{
    m_lockInfo = {};
    m_roamingLockInfo = {};
    std::vector<ZRSTD::CAutoPtr<ZRPAR::Value>> profiles;
    bool roaming = false;
    if (auto section = NlaProvider()) {
        profiles = Elements(ReadArray(*section, nla::kProfilesKey, nullptr).Get());
        m_rules = Elements(ReadArray(*section, nla::kRulesKey, &m_lockInfo).Get());
        roaming = section->GetBoolOrDefault(nla::kRoamingKey, false, &m_roamingLockInfo);
    }
    m_profiles.DeleteAllItems();
    m_profiles.AddItem(ui::LoadStringW(nla::kOfflineText), {CProfile::kOffline, nullptr});
    if (GetPageData()->GetServerVersionId() >= nla::kFirstServerWithHomeServerEntry)
        m_profiles.AddItem(ui::LoadStringW(nla::kHomeServerText), {CProfile::kHomeServer, nullptr});
    m_profilesListed = GetPageData()->GetContextKind() != kContextWithoutProfiles;
    if (m_profilesListed) {
        for (const auto& profile : profiles) m_profiles.AddItem(ProfileName(profile.Get()), {CProfile::kProfile, profile});
    } else {
        m_unlistedProfiles = std::move(profiles);
    }
    ShowRules();
    m_lock.SetLockState(m_lockInfo);
    CheckDlgButton(kRoaming, roaming ? BST_CHECKED : BST_UNCHECKED);
    m_roamingLock.SetLockState(m_roamingLockInfo);
}

void CPageNetworkNLA::UpdateControls()
{
    const bool free = !m_lock.IsLockedByParent();
    const int rule = SelectedRule();
    const int rules = static_cast<int>(m_rules.size());
    auto enable = [&](int id, bool on) { ::EnableWindow(GetDlgItem(id), on); };
    enable(kRuleUp, free && rule > 0);
    enable(kRuleDown, free && rule >= 0 && rule < rules - 1);
    enable(kRuleProperties, free && rule >= 0);
    enable(kRemoveRule, free && rule >= 0);
    enable(kAddRule, free);
    const int profile = SelectedProfile();
    const bool real = profile >= 0 && m_profiles.GetItemObject(profile).kind == CProfile::kProfile;
    enable(kAddProfile, free && m_profilesListed);
    enable(kProfileProperties, free && real);
    enable(kRemoveProfile, free && real);
}

// ---- profiles ---------------------------------------------------------------

std::vector<ZRSTD::CAutoPtr<ZRPAR::Value>> CPageNetworkNLA::CurrentProfiles()
{
    if (!m_profilesListed) return m_unlistedProfiles;
    std::vector<ZRSTD::CAutoPtr<ZRPAR::Value>> profiles;
    for (int line = 0; line < m_profiles.GetItemCount(); ++line) {
        const CProfile* item = m_profiles.FindItemObject(line);
        if (item && item->kind == CProfile::kProfile) profiles.push_back(item->element);  // reserved entries are never stored
    }
    return profiles;
}

std::vector<nla::ProfileEntry> CPageNetworkNLA::ProfileEntries(int except)
{
    if (!m_profilesListed) return nla::ProfileEntries(ArrayOf(m_unlistedProfiles).Get());
    std::vector<nla::ProfileEntry> entries;
    for (int line = 0; line < m_profiles.GetItemCount(); ++line) {
        const CProfile* item = m_profiles.FindItemObject(line);
        if (line == except || !item || item->kind != CProfile::kProfile) continue;
        const ZRPAR::Params* profile = nla::AsParams(item->element.Get());
        entries.push_back({nla::StringOf(profile, nla::kProfileIdKey), nla::StringOf(profile, nla::kProfileNameKey)});
    }
    return entries;
}

int CPageNetworkNLA::SelectedProfile() const { return SelectedLineOf(m_profiles); }

bool CPageNetworkNLA::EditProfile(ZRPAR::Params& profile, int line)
{
    ZRSTD::CAutoPtr<NHPP::CParams> provider;
    if (NHPP::CreateParams(&provider, &profile) != NHPP::kOk || !provider) return false;
    CPageNetProfileGeneral dialog(GetPageData(), *provider, ProfileEntries(line));
    return dialog.DoModal(m_hWnd) == IDOK;
}

void CPageNetworkNLA::AddProfile()
{
    auto profile = ZRPAR::CreateParams();
    profile->AddValue(nla::kProfileIdKey, ZRPAR::CreateValue(ZRSTD::GuidToString(ZRSTD::CreateGuid())).Get());
    if (!EditProfile(*profile, -1)) return;
    const int line = m_profiles.AddItem(nla::StringOf(profile.Get(), nla::kProfileNameKey),
                                        {CProfile::kProfile, ZRPAR::CreateValue(profile.Get())});
    SelectLine(m_profiles, line);
    SetModified();
    UpdateControls();
}

void CPageNetworkNLA::EditSelectedProfile()
{
    const int line = SelectedProfile();
    CProfile* item = line >= 0 ? m_profiles.FindItemObject(line) : nullptr;
    if (!item || item->kind != CProfile::kProfile) return;
    // the dialog edits a copy: cancelled, nothing of it stays
    const ZRPAR::Params* stored = nla::AsParams(item->element.Get());
    ZRSTD::CAutoPtr<ZRPAR::Params> profile = stored ? stored->Clone() : ZRPAR::CreateParams();
    if (!stored)  // an element that is no profile (bad stored data) becomes one, with an identifier of its own
        profile->AddValue(nla::kProfileIdKey, ZRPAR::CreateValue(ZRSTD::GuidToString(ZRSTD::CreateGuid())).Get());
    if (!EditProfile(*profile, line)) return;
    item->element = ZRPAR::CreateValue(profile.Get());
    m_profiles.SetItemText(line, 0, ProfileName(item->element.Get()));
    ShowRules();  // rules name the profile
    SetModified();
}

void CPageNetworkNLA::RemoveProfile()
{
    const int line = SelectedProfile();
    const CProfile* item = line >= 0 ? m_profiles.FindItemObject(line) : nullptr;
    if (!item || item->kind != CProfile::kProfile) return;
    const std::wstring question =
        ZRSTD::FormatW(ui::LoadStringW(kConfirmRemoveProfile), ProfileName(item->element.Get()));
    if (ShowPluginText(m_hWnd, question, MB_YESNO | MB_ICONWARNING) != IDYES) return;
    m_profiles.DeleteItem(line);
    ShowRules();  // rules that used it show that it does not exist
    SetModified();
    UpdateControls();
}

// ---- rules ------------------------------------------------------------------

int CPageNetworkNLA::SelectedRule() const { return SelectedLineOf(m_rulesList); }

void CPageNetworkNLA::ShowRule(int line)
{
    const ZRPAR::Params* rule = nla::AsParams(m_rules[static_cast<std::size_t>(line)].Get());
    m_rulesList.SetItemText(line, 0, nla::StringOf(rule, nla::kRuleNameKey));
    m_rulesList.SetItemText(line, 1, nla::ProfileNameFor(nla::StringOf(rule, nla::kRuleProfileKey), ProfileEntries()));
    LVITEMW image;
    image.mask = LVIF_IMAGE;
    image.iItem = line;
    image.iImage = nla::BoolOf(rule, nla::kRuleEnabledKey, true) ? kEnabledRuleImage : kDisabledRuleImage;
    m_rulesList.SendMessage(LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&image));
}

void CPageNetworkNLA::ShowRules()
{
    const int selected = SelectedRule();
    m_rulesList.DeleteAllItems();
    for (std::size_t i = 0; i < m_rules.size(); ++i) {
        m_rulesList.InsertItem(static_cast<int>(i), L"");
        ShowRule(static_cast<int>(i));
    }
    if (selected >= 0 && selected < static_cast<int>(m_rules.size())) SelectLine(m_rulesList, selected);
}

bool CPageNetworkNLA::EditRule(ZRPAR::Params& rule, int line)
{
    // the rule page chooses among the profiles as they are now: a copy of
    // them in the rule's working container, taken out again afterwards
    const ZRSTD::CAutoPtr<ZRPAR::Value> own(rule.FindValue(nla::kProfilesKey));
    rule.ReplaceValue(nla::kProfilesKey, ArrayOf(CurrentProfiles())->CloneValue().Get());
    std::vector<std::wstring> otherNames;
    for (std::size_t i = 0; i < m_rules.size(); ++i)
        if (static_cast<int>(i) != line) otherNames.push_back(RuleName(m_rules[i].Get()));
    bool accepted = false;
    ZRSTD::CAutoPtr<NHPP::CParams> provider;
    if (NHPP::CreateParams(&provider, &rule) == NHPP::kOk && provider) {
        CPageNLARuleConditions page(GetPageData(), *provider, std::move(otherNames));
        accepted = page.DoModal(m_hWnd) == IDOK;
    }
    rule.DeleteValue(nla::kProfilesKey);
    if (own) rule.AddValue(nla::kProfilesKey, own.Get());
    return accepted;
}

void CPageNetworkNLA::AddRule()
{
    auto rule = ZRPAR::CreateParams();
    rule->AddValue(nla::kRuleNameKey, ZRPAR::CreateValue(ui::LoadStringW(kNewRuleName)).Get());
    const bool home = GetPageData()->GetServerVersionId() >= nla::kFirstServerRulingToHomeServer;
    rule->AddValue(nla::kRuleProfileKey,
                   ZRPAR::CreateValue(home ? nla::kHomeServerProfileId : nla::kOfflineProfileId).Get());
    if (!EditRule(*rule, -1)) return;
    m_rules.push_back(ZRPAR::CreateValue(rule.Get()));
    const int line = static_cast<int>(m_rules.size()) - 1;
    m_rulesList.InsertItem(line, L"");
    ShowRule(line);
    SelectLine(m_rulesList, line);
    SetModified();
    UpdateControls();
}

void CPageNetworkNLA::EditSelectedRule()
{
    const int line = SelectedRule();
    if (line < 0 || line >= static_cast<int>(m_rules.size())) return;
    const ZRPAR::Params* stored = nla::AsParams(m_rules[static_cast<std::size_t>(line)].Get());
    // the page edits a copy: cancelled, nothing of it stays
    ZRSTD::CAutoPtr<ZRPAR::Params> rule = stored ? stored->Clone() : ZRPAR::CreateParams();
    if (!EditRule(*rule, line)) return;
    m_rules[static_cast<std::size_t>(line)] = ZRPAR::CreateValue(rule.Get());
    ShowRule(line);
    SetModified();
}

void CPageNetworkNLA::RemoveRule()
{
    const int line = SelectedRule();
    if (line < 0 || line >= static_cast<int>(m_rules.size())) return;
    const std::wstring question =
        ZRSTD::FormatW(ui::LoadStringW(kConfirmRemoveRule), RuleName(m_rules[static_cast<std::size_t>(line)].Get()));
    if (ShowPluginText(m_hWnd, question, MB_YESNO | MB_ICONWARNING) != IDYES) return;
    m_rules.erase(m_rules.begin() + line);
    m_rulesList.DeleteItem(line);
    SetModified();
    UpdateControls();
}

void CPageNetworkNLA::MoveRule(int by)
{
    const int line = SelectedRule();
    const int other = line + by;
    if (line < 0 || other < 0 || other >= static_cast<int>(m_rules.size())) return;
    std::swap(m_rules[static_cast<std::size_t>(line)], m_rules[static_cast<std::size_t>(other)]);
    ShowRule(line);
    ShowRule(other);
    LVITEMW cleared;  // the selection moves with the rule
    cleared.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    m_rulesList.SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(line), reinterpret_cast<LPARAM>(&cleared));
    SelectLine(m_rulesList, other);
    SetModified();
    UpdateControls();
}

// ---- events -----------------------------------------------------------------

bool CPageNetworkNLA::OnCommand(WORD id, WORD code, HWND)
{
    if (m_loading || code != BN_CLICKED) return false;
    switch (id) {
    case kAddProfile: AddProfile(); return true;
    case kProfileProperties: EditSelectedProfile(); return true;
    case kRemoveProfile: RemoveProfile(); return true;
    case kAddRule: AddRule(); return true;
    case kRuleProperties: EditSelectedRule(); return true;
    case kRemoveRule: RemoveRule(); return true;
    case kRuleUp: MoveRule(-1); return true;
    case kRuleDown: MoveRule(1); return true;
    case kLock:
    case kRoamingLock:
    case kRoaming: SetModified(); return true;
    default: return false;
    }
}

bool CPageNetworkNLA::OnNotify(NMHDR* header, LRESULT* result)
{
    if (m_loading || !header) return false;
    const auto from = static_cast<int>(header->idFrom);
    if (from != kProfiles && from != kRules) return false;
    if (header->code == LVN_ITEMCHANGED) {
        UpdateControls();
    } else if (header->code == NM_DBLCLK) {
        // read only while a parent policy locks the lists
        if (m_lock.IsLockedByParent()) return false;
        if (from == kRules) EditSelectedRule();
        else EditSelectedProfile();
    } else {
        return false;
    }
    if (result) *result = 0;
    return true;
}

bool CPageNetworkNLA::ApplyPage()
{
    const bool lists = !m_lock.IsLockedByParent(), roaming = !m_roamingLock.IsLockedByParent();
    if (!lists && !roaming) return true;  // a parent policy enforces all of it
    auto section = NlaProvider();
    if (!section) {  // nothing is written, and the administrator is told so
        ShowError(kConnectionNotChanged);
        return false;
    }
    bool written = true;
    auto check = [&](NHPP::HResult result) { written = written && result >= 0; };
    if (lists) {
        const bool mandatory = m_lock.IsMandatory();
        check(section->SetArray(nla::kProfilesKey, ArrayOf(CurrentProfiles()).Get(), mandatory));
        check(section->SetArray(nla::kRulesKey, ArrayOf(m_rules).Get(), mandatory));
    }
    if (roaming)
        check(section->SetBool(nla::kRoamingKey, IsDlgButtonChecked(kRoaming) == BST_CHECKED, m_roamingLock.IsMandatory()));
    return CommitPageSettings(m_hWnd, *section, written, kConnectionNotChanged);
}

// ---- export -----------------------------------------------------------------

std::vector<ZRSTD::CAutoPtr<ZRPAR::Params>> CPageNetworkNLA::Export(NHPP::CNHPPageData& pageData)
{
    PluginStateScope scope;
    auto label = [](UINT id) { return frame::NormalizeTitle(ui::LoadStringW(id)); };
    auto text = [](const std::wstring& value) { return ZRPAR::CreateValue(value); };
    auto yesNo = [](bool value) { return ZRPAR::CreateValue(ui::LoadStringW(value ? kYes : kNo)); };
    auto firstInt = [](const ZRPAR::Params* params, const wchar_t* key, std::int32_t fallback) {
        const ZRPAR::Value* value = params->FindValue(key);
        if (!value || value->GetType() != ZRPAR::VT_ARRAY) return fallback;
        const ZRPAR::Value* first = static_cast<const ZRPAR::ArrayValue*>(value)->ItemAt(0);
        return first && first->GetType() == ZRPAR::VT_INT ? static_cast<const ZRPAR::IntValue*>(first)->GetValue()
                                                          : fallback;
    };

    auto section = pageData.Provider(nla::kSection);
    NHPP::PolicyLockInfo lock, roamingLock;
    const auto profiles = ReadArray(*section, nla::kProfilesKey, nullptr);
    const auto rules = ReadArray(*section, nla::kRulesKey, &lock);
    const auto entries = nla::ProfileEntries(profiles.Get());

    auto profileList = ZRPAR::CreateParams();
    for (const auto& element : Elements(profiles.Get())) {
        const ZRPAR::Params* profile = nla::AsParams(element.Get());
        if (!profile) continue;
        auto shown = ZRPAR::CreateParams();
        if (nla::BoolOf(profile, nla::kHomeServerKey, false)) {
            shown->AddValue(label(kServerAddressText), text(ui::LoadStringW(nla::kHomeServerText)).Get());
        } else {
            shown->AddValue(label(kServerAddressText), text(nla::StringOf(profile, nla::kServerAddressKey)).Get());
            shown->AddValue(label(kPortText), text(std::to_wstring(firstInt(profile, nla::kPortsKey, nla::kDefaultPort))).Get());
            shown->AddValue(label(kSslPortText),
                            text(std::to_wstring(firstInt(profile, nla::kSslPortsKey, nla::kDefaultSslPort))).Get());
            shown->AddValue(label(kUseSslText), yesNo(nla::BoolOf(profile, nla::kUseSslKey, true)).Get());
        }
        shown->AddValue(label(kUpdatesOnlyText), yesNo(nla::BoolOf(profile, nla::kUpdatesOnlyKey, true)).Get());
        shown->AddValue(label(kProfileRoamingText), yesNo(nla::BoolOf(profile, nla::kRoamingModeKey, false)).Get());
        shown->AddValue(label(kGatewayText), text(nla::StringOf(profile, nla::kGatewayAddressKey)).Get());
        shown->AddValue(label(kSynchronizeText), yesNo(!nla::BoolOf(profile, nla::kGuestModeKey, true)).Get());
        shown->AddValue(label(kUseProxyText), yesNo(nla::BoolOf(profile, nla::kProxyUseKey, false)).Get());
        shown->AddValue(label(kProxyAddressText), text(nla::StringOf(profile, nla::kProxyLocationKey)).Get());
        shown->AddValue(label(kProxyUserText), text(nla::StringOf(profile, nla::kProxyLoginKey)).Get());
        const ZRPAR::Value* secret = profile->FindValue(nla::kProxyProtectedPasswordKey);
        if (secret && secret->GetType() == ZRPAR::VT_BINARY) {
            // only a digest of the protected bytes leaves the page
            const auto* bytes = static_cast<const ZRPAR::BinaryValue*>(secret);
            const ZRSTD::Md5Digest hash = ZRSTD::CalcMD5Hash(bytes->GetData(), bytes->GetDataSize());
            shown->AddValue(label(kProxyPasswordText),
                            ZRPAR::CreateValue(ZRPAR::binary_wrapper_t{hash.data(), hash.size()}).Get());
        }
        AddNumbered(*profileList, nla::StringOf(profile, nla::kProfileNameKey), ZRPAR::CreateValue(shown.Get()).Get());
    }

    auto ruleList = ZRPAR::CreateParams();
    for (const auto& element : Elements(rules.Get())) {
        const ZRPAR::Params* rule = nla::AsParams(element.Get());
        if (!rule) continue;
        auto shown = ZRPAR::CreateParams();
        shown->AddValue(label(kProfileColumnText),
                        text(nla::ProfileNameFor(nla::StringOf(rule, nla::kRuleProfileKey), entries)).Get());
        shown->AddValue(label(kRuleEnabledText), yesNo(nla::BoolOf(rule, nla::kRuleEnabledKey, true)).Get());
        AddNumbered(*ruleList, nla::StringOf(rule, nla::kRuleNameKey), ZRPAR::CreateValue(shown.Get()).Get());
    }

    const bool roaming = section->GetBoolOrDefault(nla::kRoamingKey, false, &roamingLock);
    auto page = ZRPAR::CreateParams();
    page->AddValue(label(kProfilesText), ZRPAR::CreateValue(profileList.Get()).Get());
    page->AddValue(label(kRulesText), ZRPAR::CreateValue(ruleList.Get()).Get());
    page->AddValue(label(kRoamingText), yesNo(roaming).Get());
    page->AddValue(LockNameText(label(kProfilesText)), text(LockStateText(lock.mandatory)).Get());
    page->AddValue(LockNameText(label(kRoamingText)), text(LockStateText(roamingLock.mandatory)).Get());
    return {page};  // the exporter stores it under the page's title
}

// ---- local settings -----------------------------------------------------------

CPageNetworkNLAProduct::CPageNetworkNLAProduct(std::shared_ptr<NHPP::CNHPPageData> pageData)
    : CPageNetworkNLA(std::move(pageData))
{
    m_localMode = true;
}
