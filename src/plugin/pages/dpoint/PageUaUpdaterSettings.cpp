#include "plugin/pages/dpoint/PageUaUpdaterSettings.h"

#include "controls/PluginEnvironment.h"
#include "nhpp/PageData.h"
#include "plugin/frame/Exporter.h"
#include "plugin/pages/PageCommit.h"
#include "plugin/pages/PageResources.h"

namespace {

using Page = CPageUaUpdaterSettings;

constexpr UINT kRetranslateText = 5908, kNoteText = 5916;

constexpr const wchar_t* kSection = L"UA";
constexpr const wchar_t* kRetranslateKey = L"ZRNAG_UA_RETRANSLATE_DIFFS";

}  // namespace

ui::DialogTemplate CPageUaUpdaterSettings::Template()
{
    ui::DialogTemplate dialog;
    dialog.id = kTemplate;
    dialog.rect = {0, 0, 440, 120};
    const DWORD visible = WS_CHILD | WS_VISIBLE;
    dialog.controls = {
        {kRetranslateDiffs, L"Button", L"", visible | WS_TABSTOP | BS_AUTOCHECKBOX, {10, 10, 365, 26}},
        {kLock, L"Static", L"", visible | WS_TABSTOP, {370, 8, 435, 28}},
        {kNoteIcon, L"Static", L"", visible | SS_ICON, {25, 36, 41, 52}},
        {kNote, L"Static", L"", visible, {45, 36, 430, 100}},
    };
    return dialog;
}

CPageUaUpdaterSettings::CPageUaUpdaterSettings(std::shared_ptr<NHPP::CNHPPageData> pageData)
    : CNHPPropertyPageBase(kTemplate, std::move(pageData))
{
}

bool CPageUaUpdaterSettings::OnInitDialog()
{
    CNHPPropertyPageBase::OnInitDialog();
    m_loading = true;
    SetControlTexts({{kRetranslateDiffs, kRetranslateText}, {kNote, kNoteText}});
    m_lock.Attach(m_hWnd, kLock, false, {kRetranslateDiffs}, LoadLockCtrlTexts(pageres::kLockImages, pageres::kInfoIcon));
    NHPP::PolicyLockInfo lock;
    m_retranslate = dpoint::ReadBool(*Provider(kSection), kRetranslateKey, true, &lock);
    CheckDlgButton(kRetranslateDiffs, m_retranslate.value ? BST_CHECKED : BST_UNCHECKED);
    m_lock.SetLockState(lock);
    UpdateNote();
    m_loading = false;
    return true;
}

void CPageUaUpdaterSettings::UpdateNote()
{
    const int show = IsDlgButtonChecked(kRetranslateDiffs) == BST_CHECKED ? SW_SHOW : SW_HIDE;
    for (int id : {kNote, kNoteIcon}) ::ShowWindow(GetDlgItem(id), show);
}

bool CPageUaUpdaterSettings::OnCommand(WORD id, WORD code, HWND)
{
    if (m_loading || (id != kRetranslateDiffs && id != kLock) || code != BN_CLICKED) return false;
    UpdateNote();
    SetModified();
    return true;
}

bool CPageUaUpdaterSettings::ApplyPage()
{
    auto settings = Provider(kSection);
    const bool retranslate = IsDlgButtonChecked(kRetranslateDiffs) == BST_CHECKED;
    bool written = true;
    if (!m_lock.IsLockedByParent() && m_retranslate.Writes(retranslate))
        written = settings->SetBool(kRetranslateKey, retranslate, m_lock.IsMandatory()) >= 0;
    return CommitPageSettings(m_hWnd, *settings, written);
}

std::vector<ZRSTD::CAutoPtr<ZRPAR::Params>> CPageUaUpdaterSettings::Export(NHPP::CNHPPageData& pageData)
{
    PluginStateScope scope;
    NHPP::PolicyLockInfo lock;
    const bool retranslate = pageData.Provider(kSection)->GetBoolOrDefault(kRetranslateKey, true, &lock);
    auto page = ZRPAR::CreateParams();
    frame::AddSettingNode(*page, kRetranslateText, frame::YesNoText(retranslate), lock.mandatory);
    return {page};
}
