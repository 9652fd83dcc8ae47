#include "plugin/pages/agent/PageSettingsPatches.h"

#include "controls/PluginEnvironment.h"
#include "nhpp/PageData.h"
#include "plugin/frame/Exporter.h"
#include "plugin/pages/PageCommit.h"
#include "plugin/pages/PageResources.h"

namespace {

using Page = CPageSettingsPatches;

constexpr UINT kApplyText = 2600, kOfflineText = 2606;

// Each flag with its section (null: the page's own), box, lock and label.
struct Flag {
    const wchar_t* section;
    const wchar_t* key;
    int box;
    int lock;
    UINT label;
};
constexpr Flag kFlags[] = {
    {L"ZRNAG_PTCH_SETTINGS_SECTION", L"ZRNAG_PTCH_ALLOW_APPLY_NONAPROVED_PATCHES", Page::kApplyAtOnce, Page::kApplyLock,
     kApplyText},
    {nullptr, L"ZRNAG_USE_OFFLINE_UPDATES", Page::kOfflineUpdates, Page::kOfflineLock, kOfflineText},
};
constexpr bool kFlagDefault = true;

}  // namespace

ui::DialogTemplate CPageSettingsPatches::Template()
{
    ui::DialogTemplate dialog;
    dialog.id = kTemplate;
    dialog.rect = {0, 0, 440, 130};
    const DWORD visible = WS_CHILD | WS_VISIBLE;
    const DWORD box = visible | WS_TABSTOP | BS_AUTOCHECKBOX | BS_MULTILINE;
    dialog.controls = {
        {kApplyAtOnce, L"Button", L"", box, {10, 10, 365, 50}},
        {kApplyLock, L"Static", L"", visible | WS_TABSTOP, {370, 10, 435, 30}},
        {kOfflineUpdates, L"Button", L"", box, {10, 60, 365, 110}},
        {kOfflineLock, L"Static", L"", visible | WS_TABSTOP, {370, 60, 435, 80}},
    };
    return dialog;
}

CPageSettingsPatches::CPageSettingsPatches(std::shared_ptr<NHPP::CNHPPageData> pageData)
    : CNHPPropertyPageBase(kTemplate, std::move(pageData))
{
}

bool CPageSettingsPatches::OnInitDialog()
{
    CNHPPropertyPageBase::OnInitDialog();
    m_loading = true;
    SetControlTexts({{kApplyAtOnce, kApplyText}, {kOfflineUpdates, kOfflineText}});
    const LockCtrlTexts lockTexts = LoadLockCtrlTexts(pageres::kLockImages, pageres::kInfoIcon);
    CLockCtrl* locks[] = {&m_applyLock, &m_offlineLock};
    for (std::size_t i = 0; i < std::size(kFlags); ++i) {
        const Flag& flag = kFlags[i];
        locks[i]->Attach(m_hWnd, flag.lock, m_localMode, {flag.box}, lockTexts);
        NHPP::PolicyLockInfo lock;
        const bool value = Provider(flag.section)->GetBoolOrDefault(flag.key, kFlagDefault, &lock);
        CheckDlgButton(flag.box, value ? BST_CHECKED : BST_UNCHECKED);
        locks[i]->SetLockState(lock);
    }
    m_loading = false;
    return true;
}

bool CPageSettingsPatches::OnCommand(WORD id, WORD code, HWND)
{
    if (m_loading || code != BN_CLICKED) return false;
    switch (id) {
    case kApplyAtOnce:
    case kOfflineUpdates:
    case kApplyLock:
    case kOfflineLock: SetModified(); return true;
    default: return false;
    }
}

bool CPageSettingsPatches::ApplyPage()
{
    const CLockCtrl* locks[] = {&m_applyLock, &m_offlineLock};
    for (std::size_t i = 0; i < std::size(kFlags); ++i) {
        if (locks[i]->IsLockedByParent()) continue;  // the parent's value stays as it is
        auto provider = Provider(kFlags[i].section);
        const bool written =
            provider->SetBool(kFlags[i].key, IsDlgButtonChecked(kFlags[i].box) == BST_CHECKED, locks[i]->IsMandatory()) >= 0;
        if (!CommitPageSettings(m_hWnd, *provider, written)) return false;
    }
    return true;
}

std::vector<ZRSTD::CAutoPtr<ZRPAR::Params>> CPageSettingsPatches::Export(NHPP::CNHPPageData& pageData)
{
    PluginStateScope scope;
    auto page = ZRPAR::CreateParams();
    for (const Flag& flag : kFlags) {
        NHPP::PolicyLockInfo lock;
        const bool value = pageData.Provider(flag.section)->GetBoolOrDefault(flag.key, kFlagDefault, &lock);
        frame::AddSettingNode(*page, flag.label, frame::YesNoText(value), lock.mandatory);
    }
    return {page};
}

CPageSettingsPatchesProduct::CPageSettingsPatchesProduct(std::shared_ptr<NHPP::CNHPPageData> pageData)
    : CPageSettingsPatches(std::move(pageData))
{
    m_localMode = true;
}
