#include "plugin/pages/agent/PageNetStorages.h"

#include "controls/PluginEnvironment.h"
#include "nhpp/PageData.h"
#include "plugin/frame/Exporter.h"
#include "plugin/pages/PageCommit.h"
#include "plugin/pages/PageResources.h"

namespace {

using Page = CPageNetStoragesBase;

constexpr UINT kExplanationText = 2182, kApplicationsText = 2186, kUpdatesText = 2515, kVulnerabilitiesText = 2516,
               kHardwareText = 2564, kPatchesText = 7009, kWarningText = 7012;

constexpr const wchar_t* kSection = L"86";

// The settings in the order they are read and written; a lock control set
// twice (the applications' lock) keeps the lock of the last value read.
struct Flag {
    const wchar_t* key;
    int box;
    int lock;
};
constexpr Flag kFlags[] = {
    {L"ENABLE_INVENTORY_FLAG", Page::kInstalledApplications, Page::kApplicationsLock},
    {L"INVENTORY_INCLUDE_PATCHES_FLAG", Page::kPatches, Page::kApplicationsLock},
    {L"ZRNAGNLST_WUS_ENABLE_FLAG", Page::kWindowsUpdates, Page::kUpdatesLock},
    {L"ZRNAGNLST_VAPM_ENABLE_FLAG", Page::kVulnerabilities, Page::kVulnerabilitiesLock},
    {L"ZRNAG_HWINV_ENABLED", Page::kHardware, Page::kHardwareLock},
};
constexpr bool kFlagDefault = true;

}  // namespace

ui::DialogTemplate CPageNetStoragesBase::Template()
{
    ui::DialogTemplate dialog;
    dialog.id = kTemplate;
    dialog.rect = {0, 0, 440, 250};
    const DWORD visible = WS_CHILD | WS_VISIBLE;
    const DWORD box = visible | WS_TABSTOP | BS_AUTOCHECKBOX;
    dialog.controls = {
        {kExplanation, L"Static", L"", visible, {10, 10, 430, 50}},
        {kInstalledApplications, L"Button", L"", box, {10, 60, 365, 76}},
        {kApplicationsLock, L"Static", L"", visible | WS_TABSTOP, {370, 58, 435, 78}},
        {kPatches, L"Button", L"", box, {30, 82, 365, 98}},
        {kPatchesWarning, L"Static", L"", visible, {30, 102, 430, 134}},
        {kWindowsUpdates, L"Button", L"", box, {10, 142, 365, 158}},
        {kUpdatesLock, L"Static", L"", visible | WS_TABSTOP, {370, 140, 435, 160}},
        {kVulnerabilities, L"Button", L"", box, {10, 168, 365, 184}},
        {kVulnerabilitiesLock, L"Static", L"", visible | WS_TABSTOP, {370, 166, 435, 186}},
        {kHardware, L"Button", L"", box, {10, 194, 365, 210}},
        {kHardwareLock, L"Static", L"", visible | WS_TABSTOP, {370, 192, 435, 212}},
    };
    return dialog;
}

CPageNetStoragesBase::CPageNetStoragesBase(std::shared_ptr<NHPP::CNHPPageData> pageData)
    : CNHPPropertyPageBase(kTemplate, std::move(pageData))
{
}

CLockCtrl& CPageNetStoragesBase::LockOf(int lockId)
{
    switch (lockId) {
    case kUpdatesLock: return m_updatesLock;
    case kVulnerabilitiesLock: return m_vulnerabilitiesLock;
    case kHardwareLock: return m_hardwareLock;
    default: return m_applicationsLock;
    }
}

bool CPageNetStoragesBase::OnInitDialog()
{
    CNHPPropertyPageBase::OnInitDialog();
    m_loading = true;
    SetControlTexts({{kExplanation, kExplanationText}, {kInstalledApplications, kApplicationsText},
                    {kWindowsUpdates, kUpdatesText}, {kVulnerabilities, kVulnerabilitiesText},
                    {kHardware, kHardwareText}, {kPatches, kPatchesText}, {kPatchesWarning, kWarningText}});
    const LockCtrlTexts lockTexts = LoadLockCtrlTexts(pageres::kLockImages, pageres::kInfoIcon);
    // each lock governs the boxes of its values
    for (int lockId : {kApplicationsLock, kUpdatesLock, kVulnerabilitiesLock, kHardwareLock}) {
        std::vector<int> governed;
        for (const Flag& flag : kFlags)
            if (flag.lock == lockId) governed.push_back(flag.box);
        LockOf(lockId).Attach(m_hWnd, lockId, m_localMode, std::move(governed), lockTexts);
    }
    Load();
    m_loading = false;
    return true;
}

void CPageNetStoragesBase::Load()
{
    auto provider = Provider(kSection);
    for (const Flag& flag : kFlags) {
        NHPP::PolicyLockInfo lock;
        const bool value = provider->GetBoolOrDefault(flag.key, kFlagDefault, &lock);
        CheckDlgButton(flag.box, value ? BST_CHECKED : BST_UNCHECKED);
        LockOf(flag.lock).SetLockState(lock);
    }
    // the warning shows when the page opens, whatever the patches box says
    ::ShowWindow(GetDlgItem(kPatchesWarning), SW_SHOW);
}

bool CPageNetStoragesBase::OnCommand(WORD id, WORD code, HWND)
{
    if (m_loading) return false;
    switch (id) {
    case kPatches:
        if (code != BN_CLICKED) return false;
        ::ShowWindow(GetDlgItem(kPatchesWarning), IsDlgButtonChecked(kPatches) == BST_CHECKED ? SW_SHOW : SW_HIDE);
        break;
    case kInstalledApplications:
    case kWindowsUpdates:
    case kVulnerabilities:
    case kHardware:
    case kApplicationsLock:
    case kUpdatesLock:
    case kVulnerabilitiesLock:
    case kHardwareLock:
        if (code != BN_CLICKED) return false;
        break;
    default: return false;
    }
    SetModified();
    return true;
}

bool CPageNetStoragesBase::ApplyPage()
{
    auto provider = Provider(kSection);
    bool written = true;
    for (const Flag& flag : kFlags) {
        const bool checked = IsDlgButtonChecked(flag.box) == BST_CHECKED;
        written = provider->SetBool(flag.key, checked, LockOf(flag.lock).IsMandatory()) >= 0 && written;
    }
    return CommitPageSettings(m_hWnd, *provider, written);
}

std::vector<ZRSTD::CAutoPtr<ZRPAR::Params>> CPageNetStoragesBase::Export(NHPP::CNHPPageData& pageData)
{
    PluginStateScope scope;
    auto provider = pageData.Provider(kSection);
    auto page = ZRPAR::CreateParams();
    const struct {
        UINT label;
        const wchar_t* key;
    } exported[] = {{kApplicationsText, kFlags[0].key},
                    {kUpdatesText, kFlags[2].key},
                    {kVulnerabilitiesText, kFlags[3].key},
                    {kHardwareText, kFlags[4].key}};
    for (const auto& setting : exported) {
        NHPP::PolicyLockInfo lock;
        const bool value = provider->GetBoolOrDefault(setting.key, kFlagDefault, &lock);
        frame::AddSettingNode(*page, setting.label, frame::YesNoText(value), lock.mandatory);
    }
    return {page};
}

CPageNetStoragesProduct::CPageNetStoragesProduct(std::shared_ptr<NHPP::CNHPPageData> pageData)
    : CPageNetStoragesBase(std::move(pageData))
{
    m_localMode = true;
    SetHelpTopic(kHelpTopic);
}
