#include "plugin/pages/agent/PageConnectionManagerSettings.h"

#include "controls/PluginEnvironment.h"
#include "nhpp/PageData.h"
#include "plugin/frame/Exporter.h"
#include "plugin/pages/PageCommit.h"
#include "plugin/pages/PageResources.h"
#include "plugin/pages/agent/DlgConnectionManagerTimeInterval.h"
#include "ui/CommonControls.h"
#include "ui/Controls.h"

namespace {

using pageres::kInfoIcon;
using pageres::kLockImages;

constexpr UINT kExplanationText = 2313, kAddText = 2308, kEditText = 2303, kRemoveText = 2304, kHelpLinkText = 2311,
               kWhenNeededText = 2321, kInIntervalsText = 2322, kTitleText = 2318;
constexpr UINT kNoIntervals = 2309, kConfirmRemove = 2310;

constexpr const wchar_t* kActivatedKey = L"CMNG_SCH_ACTIVATED";
constexpr const wchar_t* kScheduleKey = L"CMNG_SCHEDULE";

bool NoModifierHeld()
{
    for (int key : {VK_CONTROL, VK_MENU, VK_SHIFT, VK_LWIN})
        if (GetKeyState(key) & 0x8000) return false;
    return true;
}

// The stored schedule, or an empty one when there is none or it is no array.
ZRSTD::CAutoPtr<ZRPAR::ArrayValue> ReadSchedule(NHPP::CParams& provider, NHPP::PolicyLockInfo* lock)
{
    ZRSTD::CAutoPtr<ZRPAR::ArrayValue> schedule;
    if (provider.GetArray(kScheduleKey, &schedule, lock) != NHPP::kOk || !schedule)
        schedule = ZRPAR::CreateArrayValue();
    return schedule;
}

}  // namespace

ui::DialogTemplate CPageConnectionManagerSettings::Template()
{
    ui::DialogTemplate dialog;
    dialog.id = kTemplate;
    dialog.rect = {0, 0, 440, 300};
    const DWORD visible = WS_CHILD | WS_VISIBLE;
    dialog.controls = {
        {kExplanation, L"Static", L"", visible, {10, 10, 370, 44}},
        {kLock, L"Static", L"", visible | WS_TABSTOP, {375, 10, 435, 30}},
        {kWhenNeeded, L"Button", L"", visible | WS_TABSTOP | BS_AUTORADIOBUTTON, {10, 52, 430, 68}},
        {kInIntervals, L"Button", L"", visible | BS_AUTORADIOBUTTON, {10, 74, 430, 90}},
        {kIntervals, L"SysListView32", L"",
         visible | WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOCOLUMNHEADER,
         {25, 96, 340, 260}},
        {kAdd, L"Button", L"", visible | WS_TABSTOP, {345, 96, 430, 120}},
        {kEdit, L"Button", L"", visible | WS_TABSTOP, {345, 126, 430, 150}},
        {kRemove, L"Button", L"", visible | WS_TABSTOP | BS_ICON, {345, 156, 370, 180}},
        {kHelpLink, L"Static", L"", visible | WS_TABSTOP | SS_NOTIFY, {25, 270, 430, 286}},
    };
    return dialog;
}

CPageConnectionManagerSettings::CPageConnectionManagerSettings(std::shared_ptr<NHPP::CNHPPageData> pageData)
    : CNHPPropertyPageBase(kTemplate, std::move(pageData)), m_schedule(ZRPAR::CreateArrayValue())
{
    SetHelpTopic(kHelpTopic);
}

bool CPageConnectionManagerSettings::OnInitDialog()
{
    CNHPPropertyPageBase::OnInitDialog();
    m_loading = true;  // what the page puts into its controls is no change of the administrator's
    SetControlTexts({{kExplanation, kExplanationText},
                     {kAdd, kAddText},
                     {kEdit, kEditText},
                     {kWhenNeeded, kWhenNeededText},
                     {kInIntervals, kInIntervalsText},
                     {kRemove, kRemoveText}});  // the icon button's accessible name

    m_helpLink.SubclassDlgItem(kHelpLink, m_hWnd);
    m_helpLink.SetWindowText(ui::LoadStringW(kHelpLinkText));
    m_helpLink.SetCommandId(kHelpLink);

    m_intervals.SubclassDlgItem(kIntervals, m_hWnd);
    m_intervals.SetSaveOnDestroy(false);
    m_intervals.InsertColumn(0, L"", 600);

    m_lock.SubclassDlgItem(kLock, m_hWnd);
    m_lock.SetGovernedControls({kWhenNeeded, kInIntervals, kIntervals, kAdd, kRemove, kEdit});
    m_lock.Setup(LoadLockCtrlTexts(kLockImages, kInfoIcon));

    auto root = Provider();
    m_lockInfo = {};
    m_schedule = ReadSchedule(*root, &m_lockInfo);
    FillList();
    m_lock.SetLockState(m_lockInfo);
    const bool inIntervals = root->GetBoolOrDefault(kActivatedKey, false, nullptr);
    CheckDlgButton(kInIntervals, inIntervals ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(kWhenNeeded, inIntervals ? BST_UNCHECKED : BST_CHECKED);
    UpdateControls();
    m_loading = false;
    return true;
}

void CPageConnectionManagerSettings::FillList()
{
    m_intervals.DeleteAllItems();
    for (std::size_t i = 0; i < m_schedule->GetSize(); ++i) {
        const int line = static_cast<int>(i);
        m_intervals.InsertItem(line, IntervalLine(ReadConnectionInterval(m_schedule->ItemAt(i))),
                               static_cast<LPARAM>(i));
    }
}

int CPageConnectionManagerSettings::SelectedLine() const
{
    return static_cast<int>(m_intervals.SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void CPageConnectionManagerSettings::UpdateControls()
{
    const bool editable = IsDlgButtonChecked(kInIntervals) == BST_CHECKED && !m_lock.IsLockedByParent();
    const bool selected = editable && SelectedLine() >= 0;
    ::EnableWindow(GetDlgItem(kIntervals), editable);
    ::EnableWindow(GetDlgItem(kAdd), editable);
    ::EnableWindow(GetDlgItem(kEdit), selected);
    ::EnableWindow(GetDlgItem(kRemove), selected);
}

void CPageConnectionManagerSettings::AddInterval()
{
    auto interval = ZRPAR::CreateParams();
    CDlgConnectionManagerTimeInterval dialog(GetPageData(), *interval);
    if (dialog.DoModal(m_hWnd) != IDOK) return;
    const std::size_t index = m_schedule->GetSize();
    m_schedule->Append(ZRPAR::CreateValue(interval.Get()).Get());
    m_intervals.InsertItem(m_intervals.GetItemCount(), IntervalLine(ReadConnectionInterval(m_schedule->ItemAt(index))),
                           static_cast<LPARAM>(index));
    SetModified();
    UpdateControls();
}

std::optional<std::size_t> CPageConnectionManagerSettings::SelectedIndex() const
{
    const int line = SelectedLine();
    if (line < 0) return std::nullopt;
    const auto index = static_cast<std::size_t>(m_intervals.GetItemData(line));
    if (index >= m_schedule->GetSize()) return std::nullopt;
    return index;
}

void CPageConnectionManagerSettings::EditInterval()
{
    const auto index = SelectedIndex();
    if (!index) return;
    ZRPAR::Value* element = m_schedule->ItemAt(*index);
    ZRPAR::Params* stored = element && element->GetType() == ZRPAR::VT_PARAMS
                                ? static_cast<ZRPAR::ParamsValue*>(element)->GetValue()
                                : nullptr;
    // an element that is no interval (bad stored data) is edited as a new one and replaced on OK
    ZRSTD::CAutoPtr<ZRPAR::Params> interval = stored ? ZRSTD::CAutoPtr<ZRPAR::Params>(stored) : ZRPAR::CreateParams();
    CDlgConnectionManagerTimeInterval dialog(GetPageData(), *interval);
    if (dialog.DoModal(m_hWnd) != IDOK) return;
    if (!stored) m_schedule->SetAt(*index, ZRPAR::CreateValue(interval.Get()).Get());
    m_intervals.SetItemText(SelectedLine(), 0, IntervalLine(ReadConnectionInterval(m_schedule->ItemAt(*index))));
    SetModified();
}

void CPageConnectionManagerSettings::RemoveInterval()
{
    const auto index = SelectedIndex();
    if (!index) return;
    if (ShowPluginMessage(m_hWnd, kConfirmRemove, MB_YESNO | MB_ICONWARNING) != IDYES) return;
    auto rest = ZRPAR::CreateArrayValue();
    for (std::size_t i = 0; i < m_schedule->GetSize(); ++i)
        if (i != *index) rest->Append(m_schedule->ItemAt(i));
    m_schedule = rest;
    FillList();  // the lines after it move up, and so do their indexes
    SetModified();
    UpdateControls();
}

bool CPageConnectionManagerSettings::OnCommand(WORD id, WORD code, HWND)
{
    if (m_loading) return false;
    switch (id) {
    case kAdd:
    case kEdit:
    case kRemove:
        if (code != BN_CLICKED) return false;
        if (id == kAdd) AddInterval();
        else if (id == kEdit) EditInterval();
        else RemoveInterval();
        return true;
    case kHelpLink:
        Help();
        return true;
    case kLock:
        if (code != BN_CLICKED) return false;
        SetModified();
        return true;
    case kWhenNeeded:
    case kInIntervals:
        if (code != BN_CLICKED) return false;
        UpdateControls();
        SetModified();
        return true;
    default: return false;
    }
}

bool CPageConnectionManagerSettings::OnNotify(NMHDR* header, LRESULT* result)
{
    if (m_loading || !header || header->idFrom != static_cast<std::uintptr_t>(kIntervals)) return false;
    if (header->code == LVN_ITEMCHANGED) {
        UpdateControls();
    } else if (header->code == NM_DBLCLK) {
        if (SelectedLine() >= 0 && ::IsWindowEnabled(GetDlgItem(kEdit))) EditInterval();
    } else if (header->code == LVN_KEYDOWN) {
        const auto* press = reinterpret_cast<const NMLVKEYDOWN*>(header);
        if (!NoModifierHeld() || !::IsWindowEnabled(GetDlgItem(kIntervals))) return false;
        if (press->wVKey == VK_SPACE) EditInterval();
        else if (press->wVKey == VK_DELETE) RemoveInterval();
        else return false;
    } else {
        return false;
    }
    if (result) *result = 0;
    return true;
}

bool CPageConnectionManagerSettings::ValidatePage()
{
    if (IsDlgButtonChecked(kInIntervals) == BST_CHECKED && m_intervals.GetItemCount() == 0) {
        ShowError(kNoIntervals);
        return false;
    }
    return true;
}

bool CPageConnectionManagerSettings::ApplyPage()
{
    // both values are written under the lock's state even when a parent
    // enforces them: what the page read comes back unchanged
    const bool mandatory = m_lock.IsMandatory();
    auto root = Provider();
    bool written = true;
    auto check = [&](NHPP::HResult result) { written = written && result >= 0; };
    check(root->SetBool(kActivatedKey, IsDlgButtonChecked(kInIntervals) == BST_CHECKED, mandatory));
    check(root->SetArray(kScheduleKey, m_schedule.Get(), mandatory));
    return CommitPageSettings(m_hWnd, *root, written);
}

std::vector<ZRSTD::CAutoPtr<ZRPAR::Params>> CPageConnectionManagerSettings::Export(NHPP::CNHPPageData& pageData)
{
    PluginStateScope scope;
    auto root = pageData.Provider();
    auto label = [](UINT id) { return frame::NormalizeTitle(ui::LoadStringW(id)); };
    NHPP::PolicyLockInfo lock;
    const auto schedule = ReadSchedule(*root, &lock);
    std::wstring when = label(kWhenNeededText);
    if (root->GetBoolOrDefault(kActivatedKey, false, nullptr)) {
        when.clear();
        for (std::size_t i = 0; i < schedule->GetSize(); ++i) {
            if (i) when += L"; ";
            when += IntervalLine(ReadConnectionInterval(schedule->ItemAt(i)));
        }
    }
    const std::wstring title = label(kTitleText);
    auto content = ZRPAR::CreateParams();
    content->AddValue(label(kInIntervalsText), ZRPAR::CreateValue(when).Get());
    content->AddValue(LockNameText(title), ZRPAR::CreateValue(LockStateText(lock.mandatory)).Get());

    // the exporter stores the container under the page's title, and the copy under the network title
    return {content, content->Clone()};
}

CPageConnectionManagerSettingsProduct::CPageConnectionManagerSettingsProduct(
    std::shared_ptr<NHPP::CNHPPageData> pageData)
    : CPageConnectionManagerSettings(std::move(pageData))
{
}

bool CPageConnectionManagerSettingsProduct::OnInitDialog()
{
    CPageConnectionManagerSettings::OnInitDialog();
    m_lock.SetLocalMode(true);
    m_lock.SetLockState(m_lockInfo);
    UpdateControls();
    return true;
}
