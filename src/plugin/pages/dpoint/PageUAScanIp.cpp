#include "plugin/pages/dpoint/PageUAScanIp.h"

#include <optional>

#include "controls/PluginEnvironment.h"
#include "nhpp/PageData.h"
#include "plugin/frame/Exporter.h"
#include "plugin/pages/PageCommit.h"
#include "plugin/pages/PageResources.h"
#include "plugin/pages/agent/NLARule.h"
#include "plugin/pages/dpoint/DlgIpScanEntryProperties.h"
#include "plugin/pages/dpoint/IpInterval.h"
#include "ui/CommonControls.h"
#include "zrstd/Format.h"
#include "zrstd/Trace.h"

namespace {

// strings
constexpr UINT kEnableText = 2301, kPeriodText = 2282, kZeroconfText = 7020, kRangesText = 2579, kAddText = 2308,
               kEditText = 2303, kRemoveText = 2304, kNameColumn = 5898, kScheduleText = 2576, kNewRange = 2287,
               kNewNumberedRange = 2288, kConfirmRemove = 2289;
constexpr const wchar_t* kInvalidValue = L"<Invalid value>";

constexpr const wchar_t* kEnableKey = L"ZRSRV_SP_DPNS_ENABLE";
constexpr const wchar_t* kPeriodKey = L"ZRSRV_SP_DPNS_PERIOD";
constexpr const wchar_t* kZeroconfKey = L"ZRSRV_SP_DPNS_USE_ZEROCONF";
constexpr const wchar_t* kScheduleKey = L"ZRSRV_SP_DPNS_SCHEDULE";
constexpr const wchar_t* kRangesKey = L"ZRNAGNS_SP_DPNS_DIAPASONS_IPV4";

constexpr DWORD kVisible = WS_CHILD | WS_VISIBLE;
constexpr int kColumnWidth = 300;

// The stored ranges, or nothing when they are absent or of another type.
ZRSTD::CAutoPtr<ZRPAR::Params> ReadRanges(NHPP::CParams& provider)
{
    ZRSTD::CAutoPtr<ZRPAR::Params> ranges;
    if (provider.GetParams(kRangesKey, &ranges, nullptr) != NHPP::kOk) return nullptr;
    return ranges;
}

void SelectLine(HWND list, int line)
{
    LVITEMW item;
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(line), reinterpret_cast<LPARAM>(&item));
}

// A range as the export lists it: its intervals, one line each.
ZRSTD::CAutoPtr<ZRPAR::Params> RangeExport(const ZRPAR::Value* range)
{
    auto lines = ZRPAR::CreateParams();
    const ZRPAR::Params* params = nla::AsParams(range);
    const ZRPAR::Value* intervals = params ? params->FindValue(ipscan::kIntervalsKey) : nullptr;
    if (!intervals || intervals->GetType() != ZRPAR::VT_ARRAY) return lines;
    const auto* array = static_cast<const ZRPAR::ArrayValue*>(intervals);
    for (std::size_t i = 0; i < array->GetSize(); ++i) {
        const auto interval = ipscan::ReadInterval(array->ItemAt(i));
        lines->AddValue(std::to_wstring(i + 1),
                        ZRPAR::CreateValue(interval ? ipscan::IntervalText(*interval) : kInvalidValue).Get());
    }
    return lines;
}

}  // namespace

ui::DialogTemplate CPageUAScanIpBase::Template()
{
    ui::DialogTemplate dialog;
    dialog.id = kTemplate;
    dialog.rect = {0, 0, 440, 360};
    const DWORD lock = kVisible | WS_TABSTOP;
    dialog.controls = {
        {kEnable, L"Button", L"", kVisible | WS_TABSTOP | BS_AUTOCHECKBOX, {10, 10, 365, 26}},
        {kPollingLock, L"Static", L"", lock, {370, 8, 435, 28}},
        {kPeriodLabel, L"Static", L"", kVisible, {25, 38, 200, 54}},
        {kPeriod, L"Edit", L"", kVisible | WS_TABSTOP | ES_NUMBER, {205, 36, 270, 56}},
        {kPeriodSpin, L"msctls_updown32", L"", kVisible, {270, 36, 285, 56}},
        {kScheduleLink, L"Static", L"", kVisible | WS_TABSTOP | SS_NOTIFY, {25, 64, 365, 80}},
        {kRangesLabel, L"Static", L"", kVisible, {25, 88, 330, 104}},
        {kRanges, L"SysListView32", L"",
         kVisible | WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS, {25, 108, 330, 260}},
        {kAdd, L"Button", L"", kVisible | WS_TABSTOP, {340, 90, 435, 114}},
        {kEdit, L"Button", L"", kVisible | WS_TABSTOP, {340, 120, 435, 144}},
        {kRemove, L"Button", L"", kVisible | WS_TABSTOP, {340, 150, 435, 174}},
        {kZeroconf, L"Button", L"", kVisible | WS_TABSTOP | BS_AUTOCHECKBOX, {10, 276, 365, 292}},
        {kZeroconfLock, L"Static", L"", lock, {370, 274, 435, 294}},
    };
    return dialog;
}

CPageUAScanIpBase::CPageUAScanIpBase(std::shared_ptr<NHPP::CNHPPageData> pageData)
    : CNHPPropertyPageBase(kTemplate, std::move(pageData)), m_schedule(kScheduleKey, kPeriodKey, kDefaultPeriodMs)
{
}

std::wstring CPageUAScanIpBase::NewRangeName(const ZRPAR::Params& ranges)
{
    std::wstring name = ui::LoadStringW(kNewRange);
    const std::wstring numbered = ui::LoadStringW(kNewNumberedRange);
    for (unsigned n = 1; ranges.DoesExist(name); ++n) {
        if (n > kMaxNumberedNames) return L"";
        name = ZRSTD::FormatW(numbered, n);
    }
    return name;
}

bool CPageUAScanIpBase::OnInitDialog()
{
    CNHPPropertyPageBase::OnInitDialog();
    m_loading = true;  // what the page puts into its controls is no change of the administrator's
    SetControlTexts({{kEnable, kEnableText}, {kPeriodLabel, kPeriodText}, {kRangesLabel, kRangesText},
                     {kZeroconf, kZeroconfText}, {kAdd, kAddText}, {kEdit, kEditText}, {kRemove, kRemoveText}});
    m_scheduleLink.SubclassDlgItem(kScheduleLink, m_hWnd);
    m_scheduleLink.SetWindowText(scan::LinkText(kScheduleText));
    m_scheduleLink.SetCommandId(kScheduleCommand);
    m_list.SubclassDlgItem(kRanges, m_hWnd);
    m_list.SetSaveOnDestroy(false);
    m_list.InsertColumn(0, ui::LoadStringW(kNameColumn), kColumnWidth);

    // on the distribution point itself the locks only show what its policy enforces
    const bool local = Provider(scan::kSection)->GetProviderType() == NHPP::kLocalSettingsProvider;
    const LockCtrlTexts lockTexts = LoadLockCtrlTexts(pageres::kLockImages, pageres::kInfoIcon);
    m_pollingLock.Attach(
        m_hWnd, kPollingLock, local,
        {kEnable, kPeriodLabel, kPeriod, kPeriodSpin, kScheduleLink, kRangesLabel, kRanges, kAdd, kEdit, kRemove}, lockTexts);
    m_zeroconfLock.Attach(m_hWnd, kZeroconfLock, local, {kZeroconf}, lockTexts);
    Load();
    UpdateControls();
    m_loading = false;
    return true;
}

void CPageUAScanIpBase::Load()
{
    auto settings = Provider(scan::kSection);
    NHPP::PolicyLockInfo pollingLock, zeroconfLock;
    m_storedEnable = scan::ReadBool(*settings, kEnableKey, false, &pollingLock);
    CheckDlgButton(kEnable, m_storedEnable.value ? BST_CHECKED : BST_UNCHECKED);
    m_storedPeriod = scan::ReadInt(*settings, kPeriodKey, kDefaultPeriodMs, nullptr);
    scan::SetupPeriod(m_hWnd, m_period, kPeriod, kPeriodSpin, m_storedPeriod);
    m_storedZeroconf = scan::ReadBool(*settings, kZeroconfKey, false, &zeroconfLock);
    CheckDlgButton(kZeroconf, m_storedZeroconf.value ? BST_CHECKED : BST_UNCHECKED);

    auto stored = ReadRanges(*Provider(scan::kRangesSection));
    m_rangesStored = stored.Get() != nullptr;
    m_ranges = stored ? stored->Clone() : ZRPAR::CreateParams();
    m_rangesChanged = false;
    ShowRanges();
    m_pollingLock.SetLockState(pollingLock);
    m_zeroconfLock.SetLockState(zeroconfLock);
}

void CPageUAScanIpBase::ShowRanges()
{
    m_list.DeleteAllItems();
    for (std::size_t i = 0; i < m_ranges->GetSize(); ++i) m_list.InsertItem(static_cast<int>(i), m_ranges->NameAt(i));
}

int CPageUAScanIpBase::SelectedRange() const
{
    const int line = static_cast<int>(m_list.SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    return line >= 0 && static_cast<std::size_t>(line) < m_ranges->GetSize() ? line : -1;
}

void CPageUAScanIpBase::UpdateControls()
{
    const bool editable = !m_pollingLock.IsLockedByParent();
    const bool polling = editable && IsDlgButtonChecked(kEnable) == BST_CHECKED;
    ::EnableWindow(GetDlgItem(kEnable), editable);
    for (int id : {kPeriodLabel, kPeriod, kPeriodSpin, kScheduleLink, kRangesLabel, kRanges, kAdd})
        ::EnableWindow(GetDlgItem(id), polling);
    const bool selected = polling && SelectedRange() >= 0;
    ::EnableWindow(GetDlgItem(kEdit), selected);
    ::EnableWindow(GetDlgItem(kRemove), selected);
    ::EnableWindow(GetDlgItem(kZeroconf), !m_zeroconfLock.IsLockedByParent());
}

void CPageUAScanIpBase::AddRange()
{
    const std::wstring name = NewRangeName(*m_ranges);
    if (name.empty()) return;
    CDlgIpScanEntryProperties dialog(GetPageData(), *m_ranges, name, nullptr);
    if (dialog.DoModal(m_hWnd) != IDOK) return;
    m_ranges->AddValue(dialog.ResultName(), ZRPAR::CreateValue(dialog.ResultRange().Get()).Get());
    const int line = static_cast<int>(m_ranges->GetSize()) - 1;
    m_list.InsertItem(line, dialog.ResultName());
    SelectLine(m_list.GetSafeHwnd(), line);
    m_rangesChanged = true;
    SetModified();
    UpdateControls();
}

void CPageUAScanIpBase::EditSelectedRange()
{
    const int line = SelectedRange();
    if (line < 0) return;
    const auto index = static_cast<std::size_t>(line);
    const std::wstring former = m_ranges->NameAt(index);
    CDlgIpScanEntryProperties dialog(GetPageData(), *m_ranges, former, m_ranges->ValueAt(index));
    if (dialog.DoModal(m_hWnd) != IDOK) return;
    auto range = ZRPAR::CreateValue(dialog.ResultRange().Get());
    if (dialog.ResultName() == former) {
        m_ranges->ReplaceValue(former, range.Get());
    } else {
        // renamed: the range keeps its place in the list under its new name
        auto renamed = ZRPAR::CreateParams();
        for (std::size_t i = 0; i < m_ranges->GetSize(); ++i) {
            if (i == index) renamed->AddValue(dialog.ResultName(), range.Get());
            else renamed->AddValue(m_ranges->NameAt(i), m_ranges->ValueAt(i));
        }
        m_ranges = renamed;
        m_list.SetItemText(line, 0, dialog.ResultName());
    }
    m_rangesChanged = true;
    SetModified();
}

void CPageUAScanIpBase::RemoveSelectedRange()
{
    const int line = SelectedRange();
    if (line < 0) return;
    const std::wstring name = m_ranges->NameAt(static_cast<std::size_t>(line));
    if (ShowPluginText(m_hWnd, ZRSTD::FormatW(ui::LoadStringW(kConfirmRemove), name), MB_YESNO | MB_ICONWARNING) != IDYES)
        return;
    m_ranges->DeleteValue(name);
    m_list.DeleteItem(line);
    m_rangesChanged = true;
    SetModified();
    UpdateControls();
}

bool CPageUAScanIpBase::OnCommand(WORD id, WORD code, HWND)
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
        if (id == kAdd) AddRange();
        else if (id == kEdit) EditSelectedRange();
        else RemoveSelectedRange();
        return true;
    case kEnable:
    case kZeroconf:
    case kPollingLock:
    case kZeroconfLock:
        if (code != BN_CLICKED) return false;
        UpdateControls();
        SetModified();
        return true;
    default: return false;
    }
}

bool CPageUAScanIpBase::OnNotify(NMHDR* header, LRESULT* result)
{
    if (m_loading || !header || static_cast<int>(header->idFrom) != kRanges) return false;
    if (header->code == LVN_ITEMCHANGED) {
        UpdateControls();
    } else if (header->code == NM_DBLCLK) {
        if (!::IsWindowEnabled(GetDlgItem(kEdit))) return false;
        EditSelectedRange();
    } else {
        return false;
    }
    if (result) *result = 0;
    return true;
}

bool CPageUAScanIpBase::ValidatePage()
{
    // values a policy enforces are not the administrator's to correct here
    if (m_pollingLock.IsLockedByParent()) return true;
    if (!m_period.Accepts(scan::kMinMinutes, scan::kMaxMinutes))
        return ShowRangeError(kPeriod, 0, scan::kMinMinutes, scan::kMaxMinutes, kPeriodText);
    return true;
}

bool CPageUAScanIpBase::WriteSettings(NHPP::CParams& settings, NHPP::CParams& rangesSection, bool& rangesWritten)
{
    bool written = true;
    auto check = [&](NHPP::HResult result) { written = result >= 0 && written; };
    auto checked = [&](int id) { return IsDlgButtonChecked(id) == BST_CHECKED; };
    if (!m_pollingLock.IsLockedByParent()) {
        const bool mandatory = m_pollingLock.IsMandatory();
        // a stored value of another type stays until the administrator changes what shows it
        if (!m_storedPeriod.unreadable || !m_period.IsUntouched()) {
            const std::optional<std::int32_t> period = scan::PeriodToWrite(m_period);
            if (!period) return false;  // validation names it first
            check(settings.SetInt(kPeriodKey, *period, mandatory));
        }
        if (!m_storedEnable.unreadable || checked(kEnable) != m_storedEnable.value)
            check(settings.SetBool(kEnableKey, checked(kEnable), mandatory));
        if (m_rangesChanged || m_rangesStored) {
            check(rangesSection.SetParams(kRangesKey, m_ranges.Get(), mandatory));
            rangesWritten = true;
        }
        check(m_schedule.Write(settings, mandatory));
    }
    if (!m_zeroconfLock.IsLockedByParent() && (!m_storedZeroconf.unreadable || checked(kZeroconf) != m_storedZeroconf.value))
        check(settings.SetBool(kZeroconfKey, checked(kZeroconf), m_zeroconfLock.IsMandatory()));
    return written;
}

bool CPageUAScanIpBase::ApplyPage()
{
    // the policy's values stay as they are
    if (m_pollingLock.IsLockedByParent() && m_zeroconfLock.IsLockedByParent()) return true;
    auto settings = Provider(scan::kSection);
    auto rangesSection = Provider(scan::kRangesSection);
    bool rangesWritten = false;
    const bool written = WriteSettings(*settings, *rangesSection, rangesWritten);
    if (!CommitPageSettings(m_hWnd, *settings, written)) return false;
    if (!rangesWritten) return true;
    if (!CommitPageSettings(m_hWnd, *rangesSection, true)) return false;
    m_rangesStored = true;
    m_rangesChanged = false;
    return true;
}

std::vector<ZRSTD::CAutoPtr<ZRPAR::Params>> CPageUAScanIpBase::Export(NHPP::CNHPPageData& pageData)
{
    PluginStateScope scope;
    auto settings = pageData.Provider(scan::kSection);
    NHPP::PolicyLockInfo pollingLock, zeroconfLock;
    const bool enabled = settings->GetBoolOrDefault(kEnableKey, false, &pollingLock);
    const bool zeroconf = settings->GetBoolOrDefault(kZeroconfKey, false, &zeroconfLock);

    auto polling = ZRPAR::CreateParams();
    frame::AddSettingNode(*polling, kEnableText, frame::YesNoText(enabled), pollingLock.mandatory);
    auto ranges = ZRPAR::CreateParams();
    if (auto stored = ReadRanges(*pageData.Provider(scan::kRangesSection)))
        for (std::size_t i = 0; i < stored->GetSize(); ++i)
            ranges->AddValue(stored->NameAt(i), ZRPAR::CreateValue(RangeExport(stored->ValueAt(i)).Get()).Get());
    frame::AddSettingNode(*polling, kRangesText, ZRPAR::CreateValue(ranges.Get()).Get(), pollingLock.mandatory);

    auto zeroconfPage = ZRPAR::CreateParams();
    frame::AddSettingNode(*zeroconfPage, kZeroconfText, frame::YesNoText(zeroconf), zeroconfLock.mandatory);
    return {polling, zeroconfPage};
}
