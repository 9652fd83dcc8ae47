#include "plugin/pages/agent/PageWsusSettings.h"

#include "controls/PluginEnvironment.h"
#include "nhpp/PageData.h"
#include "plugin/frame/Exporter.h"
#include "plugin/pages/PageCommit.h"
#include "plugin/pages/PageResources.h"
#include "ui/CommonControls.h"

namespace {

using Page = CPageWsusSettings;

constexpr UINT kSwitchText = 2491, kExplanationText = 2490, kSearchModeText = 2424, kOnlineText = 2425,
               kOfflineText = 2426, kSearchOffText = 2427, kCheckText = 2504, kRevisionsText = 5911;

constexpr const wchar_t* kSection = L"ZRNAG_SECTION_WUA";
constexpr const wchar_t* kSwitchKey = L"ZRNAG_WUA_OPT_SWITCH";
constexpr const wchar_t* kSearchModeKey = L"ZRNAG_WUA_SEARCH_MODE";
constexpr const wchar_t* kRevisionModeKey = L"ZRNAG_WUA_SHOW_REVISION_MODE";
constexpr const wchar_t* kAssessmentSection = L"ZRNAG_VAPM_REAL_TIME_ASSESSMENT";
constexpr const wchar_t* kCheckKey = L"VAPM_REAL_TIME_ASSESSMENT_AUTOSTART";

// The search modes, each with its radio and text.
struct SearchMode {
    std::int32_t value;
    int radio;
    UINT text;
};
constexpr SearchMode kSearchModes[] = {{Page::kSearchOnline, Page::kOnline, kOnlineText},
                                       {Page::kSearchOffline, Page::kOffline, kOfflineText},
                                       {Page::kSearchDisabled, Page::kSearchOff, kSearchOffText}};

// The revision modes in the order of the combo, each with its text.
struct RevisionMode {
    std::int32_t value;
    UINT text;
};
constexpr RevisionMode kRevisionModes[] = {{Page::kAllRevisions, 5912}, {Page::kApprovedRevisions, 5913},
                                           {Page::kNoRevisions, 5914}};

}  // namespace

ui::DialogTemplate CPageWsusSettings::Template()
{
    ui::DialogTemplate dialog;
    dialog.id = kTemplate;
    dialog.rect = {0, 0, 440, 330};
    const DWORD visible = WS_CHILD | WS_VISIBLE;
    const DWORD lock = visible | WS_TABSTOP;
    dialog.controls = {
        {kSwitchToServer, L"Button", L"", visible | WS_TABSTOP | BS_AUTOCHECKBOX | BS_MULTILINE, {10, 10, 365, 34}},
        {kSwitchLock, L"Static", L"", lock, {370, 10, 435, 30}},
        {kExplanation, L"Static", L"", visible, {25, 38, 430, 70}},
        {kSearchModeGroup, L"Button", L"", visible | BS_GROUPBOX, {5, 78, 435, 170}},
        {kSearchLock, L"Static", L"", lock, {370, 92, 430, 112}},
        {kOnline, L"Button", L"", visible | WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON, {15, 94, 360, 110}},
        {kOffline, L"Button", L"", visible | BS_AUTORADIOBUTTON, {15, 118, 360, 134}},
        {kSearchOff, L"Button", L"", visible | BS_AUTORADIOBUTTON, {15, 142, 360, 158}},
        {kCheckOnStart, L"Button", L"", visible | WS_TABSTOP | WS_GROUP | BS_AUTOCHECKBOX | BS_MULTILINE,
         {10, 180, 365, 204}},
        {kCheckLock, L"Static", L"", lock, {370, 180, 435, 200}},
        {kRevisionsLabel, L"Static", L"", visible, {10, 214, 365, 262}},
        {kRevisionsLock, L"Static", L"", lock, {370, 214, 435, 234}},
        {kRevisions, L"ComboBox", L"", visible | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, {10, 266, 250, 386}},
    };
    return dialog;
}

CPageWsusSettings::CPageWsusSettings(std::shared_ptr<NHPP::CNHPPageData> pageData)
    : CNHPPropertyPageBase(kTemplate, std::move(pageData))
{
}

bool CPageWsusSettings::OnInitDialog()
{
    CNHPPropertyPageBase::OnInitDialog();
    m_loading = true;
    SetControlTexts({{kSwitchToServer, kSwitchText}, {kExplanation, kExplanationText}, {kSearchModeGroup, kSearchModeText},
                    {kOnline, kOnlineText}, {kOffline, kOfflineText}, {kSearchOff, kSearchOffText},
                    {kCheckOnStart, kCheckText}, {kRevisionsLabel, kRevisionsText}});
    m_revisions.SubclassDlgItem(kRevisions, m_hWnd);
    const LockCtrlTexts lockTexts = LoadLockCtrlTexts(pageres::kLockImages, pageres::kInfoIcon);
    // On one computer every lock, the revisions' too, only shows whether the
    // policy enforces its value: a choice there could not be kept, for local
    // settings store no lock.
    const struct {
        CLockCtrl* lock;
        int id;
        std::vector<int> governed;
    } locks[] = {{&m_switchLock, kSwitchLock, {kSwitchToServer}},
                 {&m_searchLock, kSearchLock, {kOnline, kOffline, kSearchOff}},
                 {&m_checkLock, kCheckLock, {kCheckOnStart}},
                 {&m_revisionsLock, kRevisionsLock, {kRevisions}}};
    for (const auto& lock : locks) lock.lock->Attach(m_hWnd, lock.id, m_localMode, lock.governed, lockTexts);
    Load();
    m_loading = false;
    return true;
}

void CPageWsusSettings::Load()
{
    auto updates = Provider(kSection);
    NHPP::PolicyLockInfo switchLock, searchLock, checkLock, revisionsLock;
    CheckDlgButton(kSwitchToServer, updates->GetBoolOrDefault(kSwitchKey, false, &switchLock) ? BST_CHECKED : BST_UNCHECKED);
    m_switchLock.SetLockState(switchLock);

    // a mode the page does not know checks no radio
    const std::int32_t searchMode = updates->GetIntOrDefault(kSearchModeKey, kSearchOnline, &searchLock);
    for (const SearchMode& mode : kSearchModes)
        CheckDlgButton(mode.radio, mode.value == searchMode ? BST_CHECKED : BST_UNCHECKED);
    m_searchLock.SetLockState(searchLock);

    const bool check = Provider(kAssessmentSection)->GetBoolOrDefault(kCheckKey, false, &checkLock);
    CheckDlgButton(kCheckOnStart, check ? BST_CHECKED : BST_UNCHECKED);
    m_checkLock.SetLockState(checkLock);

    m_storedRevisionMode = updates->GetIntOrDefault(kRevisionModeKey, kAllRevisions, &revisionsLock);
    m_revisions.ResetContent();
    for (const RevisionMode& mode : kRevisionModes) m_revisions.AddItem(ui::LoadStringW(mode.text), mode.value);
    m_revisions.SelectByData(m_storedRevisionMode);
    m_revisionsLock.SetLockState(revisionsLock);
}

bool CPageWsusSettings::OnCommand(WORD id, WORD code, HWND)
{
    if (m_loading) return false;
    switch (id) {
    case kRevisions:
        if (code != CBN_SELCHANGE) return false;
        break;
    case kSwitchToServer:
    case kOnline:
    case kOffline:
    case kSearchOff:
    case kCheckOnStart:
    case kSwitchLock:
    case kSearchLock:
    case kCheckLock:
    case kRevisionsLock:
        if (code != BN_CLICKED) return false;
        break;
    default: return false;
    }
    SetModified();
    return true;
}

bool CPageWsusSettings::ApplyPage()
{
    auto updates = Provider(kSection);
    auto assessment = Provider(kAssessmentSection);
    auto checked = [&](int id) { return IsDlgButtonChecked(id) == BST_CHECKED; };
    bool written = true;
    auto check = [&](NHPP::HResult result) { written = result >= 0 && written; };
    check(updates->SetBool(kSwitchKey, checked(kSwitchToServer), m_switchLock.IsMandatory()));
    // while no item shows the stored mode, it goes back as it was
    const std::int32_t revisionMode =
        m_revisions.GetCurSel() >= 0 ? static_cast<std::int32_t>(m_revisions.GetSelectedData()) : m_storedRevisionMode;
    check(updates->SetInt(kRevisionModeKey, revisionMode, m_revisionsLock.IsMandatory()));
    if (!m_searchLock.IsLockedByParent()) {
        // a mode no radio shows is written as "off"
        const std::int32_t searchMode = checked(kOnline) ? kSearchOnline : checked(kOffline) ? kSearchOffline : kSearchDisabled;
        check(updates->SetInt(kSearchModeKey, searchMode, m_searchLock.IsMandatory()));
    }
    check(assessment->SetBool(kCheckKey, checked(kCheckOnStart), m_checkLock.IsMandatory()));
    return CommitPageSettings(m_hWnd, *updates, written) && CommitPageSettings(m_hWnd, *assessment, true);
}

std::vector<ZRSTD::CAutoPtr<ZRPAR::Params>> CPageWsusSettings::Export(NHPP::CNHPPageData& pageData)
{
    PluginStateScope scope;
    auto updates = pageData.Provider(kSection);
    auto page = ZRPAR::CreateParams();
    // a mode that has no text is shown as its number
    auto textOf = [](std::int32_t value, UINT text) {
        return text ? frame::NormalizeTitle(ui::LoadStringW(text)) : std::to_wstring(value);
    };

    NHPP::PolicyLockInfo switchLock, searchLock, checkLock, revisionsLock;
    const bool switched = updates->GetBoolOrDefault(kSwitchKey, false, &switchLock);
    frame::AddSettingNode(*page, kSwitchText, frame::YesNoText(switched), switchLock.mandatory);

    const std::int32_t searchMode = updates->GetIntOrDefault(kSearchModeKey, kSearchOnline, &searchLock);
    UINT searchText = 0;
    for (const SearchMode& mode : kSearchModes)
        if (mode.value == searchMode) searchText = mode.text;
    frame::AddSettingNode(*page, kSearchModeText, textOf(searchMode, searchText), searchLock.mandatory);

    const bool check = pageData.Provider(kAssessmentSection)->GetBoolOrDefault(kCheckKey, false, &checkLock);
    frame::AddSettingNode(*page, kCheckText, frame::YesNoText(check), checkLock.mandatory);

    const std::int32_t revisionMode = updates->GetIntOrDefault(kRevisionModeKey, kAllRevisions, &revisionsLock);
    UINT revisionText = 0;
    for (const RevisionMode& mode : kRevisionModes)
        if (mode.value == revisionMode) revisionText = mode.text;
    frame::AddSettingNode(*page, kRevisionsText, textOf(revisionMode, revisionText), revisionsLock.mandatory);
    return {page};
}

CPageWsusSettingsProduct::CPageWsusSettingsProduct(std::shared_ptr<NHPP::CNHPPageData> pageData)
    : CPageWsusSettings(std::move(pageData))
{
    m_localMode = true;
}
