#include "plugin/pages/dpoint/PageSettingsNetScan.h"

#include <optional>

#include "controls/LockCtrl.h"
#include "controls/PluginEnvironment.h"
#include "nhpp/PageData.h"
#include "plugin/frame/Exporter.h"
#include "plugin/pages/PageCommit.h"
#include "plugin/pages/PageResources.h"
#include "ui/CommonControls.h"
#include "zrpar/Render.h"
#include "zrstd/Format.h"
#include "zrstd/Trace.h"

namespace {

using Page = CPageSettingsNetScan;

constexpr UINT kOldAgentsMark = 2581, kOldAgentsNoteText = 9400, kNoScheduleText = 9402;
constexpr UINT kBadIpPeriod = 2557;

constexpr const wchar_t* kSection = L"ZRNAG_SECTION_NETSCAN";
constexpr std::int32_t kMillisecondsPerMinute = 60000;

enum GroupIndex : std::size_t { kWindows = 0, kIp = 1, kAd = 2, kZeroconfGroupIndex = 3 };

// A polling kind switched on or off, with its lock.
struct GroupInfo {
    int groupBox;
    UINT groupText;
    int check;
    UINT checkText;
    int lock;
    const wchar_t* key;
    bool fallback;
};
constexpr GroupInfo kGroupInfo[Page::kGroups] = {
    {Page::kWindowsGroup, 2553, Page::kWindowsScan, 2277, Page::kWindowsLock, L"ZRSRV_NET_SCAN_ENABLED", true},
    {Page::kIpGroup, 2547, Page::kIpScan, 2548, Page::kIpLock, L"ZRSRV_SP_DPNS_ENABLE", false},
    {Page::kAdGroup, 1470, Page::kAdScan, 2281, Page::kAdLock, L"ZRSRV_AD_SCAN_ENABLED", false},
    {Page::kZeroconfGroup, 7021, Page::kZeroconf, 7020, Page::kZeroconfLock, L"ZRSRV_SP_DPNS_USE_ZEROCONF", false},
};

// A period shown in minutes, stored in milliseconds.
struct PeriodInfo {
    std::size_t group;
    int label, edit, spin;
    UINT text;        // the label's (marked as for older agents)
    UINT exportText;  // the export's row
    const wchar_t* key;
    std::int32_t fallbackMs;
};
constexpr PeriodInfo kPeriodInfo[Page::kPeriods] = {
    {kWindows, Page::kFullPeriodLabel, Page::kFullPeriod, Page::kFullPeriodSpin, 2278, 2554,
     L"ZRSRV_SP_FULLUPDATENET_PERIOD", 3600000},
    {kWindows, Page::kFastPeriodLabel, Page::kFastPeriod, Page::kFastPeriodSpin, 2279, 2555,
     L"ZRSRV_SP_FASTUPDATENET_PERIOD", 900000},
    {kIp, Page::kIpPeriodLabel, Page::kIpPeriod, Page::kIpPeriodSpin, 2320, 2320, L"ZRSRV_SP_DPNS_PERIOD", 25200000},
    {kAd, Page::kAdPeriodLabel, Page::kAdPeriod, Page::kAdPeriodSpin, 2282, 2282, L"ZRSRV_SP_SCAN_AD", 3600000},
};

// A schedule link and the keys its schedule is kept and built from.
struct ScheduleInfo {
    std::size_t group;
    int link;
    UINT text;
    WORD command;
    struct {
        const wchar_t* schedule;
        const wchar_t* period;  // milliseconds
        std::int32_t defaultPeriodMs;
    } keys;
};
constexpr ScheduleInfo kScheduleInfo[Page::kSchedules] = {
    {kWindows, Page::kFullSchedule, 2578, 32263,
     {L"ZRSRV_SP_FULLUPDATENET_SCHEDULE", L"ZRSRV_SP_FULLUPDATENET_PERIOD", 3600000}},
    {kWindows, Page::kFastSchedule, 2577, 32264,
     {L"ZRSRV_SP_FASTUPDATENET_SCHEDULE", L"ZRSRV_SP_FASTUPDATENET_PERIOD", 900000}},
    {kIp, Page::kIpSchedule, 2576, 31212, {L"ZRSRV_SP_DPNS_SCHEDULE", L"ZRSRV_SP_DPNS_PERIOD", 25200000}},
    {kAd, Page::kAdSchedule, 2576, 32265, {L"ZRSRV_SP_SCAN_AD_SCHEDULE", L"ZRSRV_SP_SCAN_AD", 3600000}},
};

// A link's text without its markup ("<a>...</a>").
std::wstring LinkText(UINT id)
{
    std::wstring text = ui::LoadStringW(id);
    for (const wchar_t* tag : {L"<a>", L"</a>"})
        for (auto at = text.find(tag); at != std::wstring::npos; at = text.find(tag)) text.erase(at, std::wcslen(tag));
    return text;
}

void TraceSettings(NHPP::CParams& settings)
{
    ZRSTD::CAutoPtr<ZRPAR::Params> root;
    if (settings.GetRoot(&root) == NHPP::kOk && root) ZRPARLOG_LogParams2(1, ZRSTD::kTraceModule, root.Get());
}

// One row of the export: the value under its label and the lock's state under the lock's name.
void AddRow(ZRPAR::Params& group, const std::wstring& label, ZRPAR::Value* value, bool mandatory)
{
    auto node = ZRPAR::CreateParams();
    node->ReplaceValue(label, value);
    node->ReplaceValue(LockNameText(label), ZRPAR::CreateValue(LockStateText(mandatory)).Get());
    group.ReplaceValue(label, ZRPAR::CreateValue(node.Get()).Get());
}

}  // namespace

ui::DialogTemplate CPageSettingsNetScan::Template()
{
    ui::DialogTemplate dialog;
    dialog.id = kTemplate;
    dialog.rect = {0, 0, 440, 420};
    const DWORD visible = WS_CHILD | WS_VISIBLE;
    const DWORD lock = visible | WS_TABSTOP;
    const DWORD box = visible | WS_TABSTOP | BS_AUTOCHECKBOX;
    const DWORD number = visible | WS_TABSTOP | ES_NUMBER;
    const DWORD link = visible | WS_TABSTOP | SS_NOTIFY;
    dialog.controls = {
        {kWindowsGroup, L"Button", L"", visible | BS_GROUPBOX, {5, 5, 435, 130}},
        {kWindowsScan, L"Button", L"", box, {15, 20, 360, 36}},
        {kWindowsLock, L"Static", L"", lock, {370, 18, 430, 38}},
        {kFullPeriodLabel, L"Static", L"", visible, {30, 44, 300, 60}},
        {kFullPeriod, L"Edit", L"", number, {305, 42, 360, 62}},
        {kFullPeriodSpin, L"msctls_updown32", L"", visible, {360, 42, 375, 62}},
        {kFastPeriodLabel, L"Static", L"", visible, {30, 68, 300, 84}},
        {kFastPeriod, L"Edit", L"", number, {305, 66, 360, 86}},
        {kFastPeriodSpin, L"msctls_updown32", L"", visible, {360, 66, 375, 86}},
        {kFullSchedule, L"Static", L"", link, {30, 92, 430, 106}},
        {kFastSchedule, L"Static", L"", link, {30, 110, 430, 124}},
        {kIpGroup, L"Button", L"", visible | BS_GROUPBOX, {5, 135, 435, 210}},
        {kIpScan, L"Button", L"", box, {15, 150, 360, 166}},
        {kIpLock, L"Static", L"", lock, {370, 148, 430, 168}},
        {kIpPeriodLabel, L"Static", L"", visible, {30, 174, 300, 190}},
        {kIpPeriod, L"Edit", L"", number, {305, 172, 360, 192}},
        {kIpPeriodSpin, L"msctls_updown32", L"", visible, {360, 172, 375, 192}},
        {kIpSchedule, L"Static", L"", link, {30, 194, 430, 208}},
        {kZeroconfGroup, L"Button", L"", visible | BS_GROUPBOX, {5, 215, 435, 255}},
        {kZeroconf, L"Button", L"", box, {15, 230, 360, 246}},
        {kZeroconfLock, L"Static", L"", lock, {370, 228, 430, 248}},
        {kAdGroup, L"Button", L"", visible | BS_GROUPBOX, {5, 260, 435, 340}},
        {kAdScan, L"Button", L"", box, {15, 275, 360, 291}},
        {kAdLock, L"Static", L"", lock, {370, 273, 430, 293}},
        {kAdPeriodLabel, L"Static", L"", visible, {30, 299, 300, 315}},
        {kAdPeriod, L"Edit", L"", number, {305, 297, 360, 317}},
        {kAdPeriodSpin, L"msctls_updown32", L"", visible, {360, 297, 375, 317}},
        {kAdSchedule, L"Static", L"", link, {30, 321, 430, 335}},
        {kOldAgentsNote, L"Static", L"", visible, {10, 350, 430, 366}},
    };
    return dialog;
}

CPageSettingsNetScan::CPageSettingsNetScan(std::shared_ptr<NHPP::CNHPPageData> pageData)
    : CNHPPropertyPageBase(kTemplate, std::move(pageData))
{
    for (const ScheduleInfo& info : kScheduleInfo)
        m_schedules.emplace_back(info.keys.schedule, info.keys.period, info.keys.defaultPeriodMs);
}

bool CPageSettingsNetScan::OnInitDialog()
{
    CNHPPropertyPageBase::OnInitDialog();
    m_loading = true;
    const std::wstring mark = ui::LoadStringW(kOldAgentsMark);
    SetDlgItemText(kOldAgentsNote, ui::LoadStringW(kOldAgentsNoteText));
    for (const GroupInfo& group : kGroupInfo) {
        SetDlgItemText(group.groupBox, ui::LoadStringW(group.groupText));
        SetDlgItemText(group.check, ui::LoadStringW(group.checkText));
    }
    for (std::size_t i = 0; i < kPeriods; ++i) {
        const PeriodInfo& period = kPeriodInfo[i];
        SetDlgItemText(period.label, ZRSTD::FormatW(L"%s %s", ui::LoadStringW(period.text), mark));
        CRangeEdit& edit = m_periods[i].edit;
        edit.SubclassDlgItem(period.edit, m_hWnd);
        edit.SetRange(static_cast<std::uint32_t>(kMinMinutes), static_cast<std::uint32_t>(kMaxMinutes));
        edit.SetAllowEmpty(true);  // an emptied period is for validation to name
        edit.SetSpin(GetDlgItem(period.spin));
    }
    for (std::size_t i = 0; i < kSchedules; ++i) {
        m_links[i].SubclassDlgItem(kScheduleInfo[i].link, m_hWnd);
        m_links[i].SetWindowText(LinkText(kScheduleInfo[i].text));
        m_links[i].SetCommandId(kScheduleInfo[i].command);
    }
    const LockCtrlTexts lockTexts = LoadLockCtrlTexts(pageres::kLockImages, pageres::kInfoIcon);
    for (std::size_t g = 0; g < kGroups; ++g) {
        std::vector<int> governed{kGroupInfo[g].check};
        for (const PeriodInfo& period : kPeriodInfo)
            if (period.group == g) governed.insert(governed.end(), {period.label, period.edit, period.spin});
        for (const ScheduleInfo& schedule : kScheduleInfo)
            if (schedule.group == g) governed.push_back(schedule.link);
        m_groups[g].lock.Attach(m_hWnd, kGroupInfo[g].lock, false, governed, lockTexts);
    }
    Load();
    UpdateControls();
    m_loading = false;
    return true;
}

void CPageSettingsNetScan::Load()
{
    auto settings = Provider(kSection);
    for (std::size_t g = 0; g < kGroups; ++g) {
        NHPP::PolicyLockInfo lock;
        m_groups[g].enabled = dpoint::ReadBool(*settings, kGroupInfo[g].key, kGroupInfo[g].fallback, &lock);
        CheckDlgButton(kGroupInfo[g].check, m_groups[g].enabled.value ? BST_CHECKED : BST_UNCHECKED);
        m_groups[g].lock.SetLockState(lock);
    }
    for (std::size_t i = 0; i < kPeriods; ++i) {
        m_periods[i].stored = dpoint::ReadInt(*settings, kPeriodInfo[i].key, kPeriodInfo[i].fallbackMs, nullptr);
        m_periods[i].edit.LoadStored(m_periods[i].stored.value, kMillisecondsPerMinute);
    }
    for (CPollingSchedule& schedule : m_schedules) schedule.Forget();
}

void CPageSettingsNetScan::UpdateControls()
{
    auto editable = [&](std::size_t g) {
        return IsDlgButtonChecked(kGroupInfo[g].check) == BST_CHECKED && !m_groups[g].lock.IsLockedByParent();
    };
    for (const PeriodInfo& period : kPeriodInfo)
        for (int id : {period.label, period.edit, period.spin}) ::EnableWindow(GetDlgItem(id), editable(period.group));
    for (const ScheduleInfo& schedule : kScheduleInfo) ::EnableWindow(GetDlgItem(schedule.link), editable(schedule.group));
}

void CPageSettingsNetScan::EditSchedule(std::size_t index)
{
    auto settings = Provider(kSection);
    TraceSettings(*settings);
    if (!m_schedules[index].Edit(m_hWnd, *GetPageData(), *settings)) return;  // cancelled
    TraceSettings(*settings);
    SetModified();
}

bool CPageSettingsNetScan::OnCommand(WORD id, WORD code, HWND)
{
    if (m_loading) return false;
    for (std::size_t i = 0; i < kSchedules; ++i) {
        if (id != kScheduleInfo[i].command) continue;
        EditSchedule(i);
        return true;
    }
    bool known = false;
    for (const GroupInfo& group : kGroupInfo) known = known || ((id == group.check || id == group.lock) && code == BN_CLICKED);
    for (const PeriodInfo& period : kPeriodInfo) known = known || (id == period.edit && code == EN_CHANGE);
    if (!known) return false;
    SetModified();
    UpdateControls();
    return true;
}

bool CPageSettingsNetScan::ValidatePage()
{
    for (std::size_t i = 0; i < kPeriods; ++i) {
        const PeriodInfo& info = kPeriodInfo[i];
        const Group& group = m_groups[info.group];
        // a group that is off, or that a parent policy enforces, keeps its periods as they are
        if (group.lock.IsLockedByParent() || IsDlgButtonChecked(kGroupInfo[info.group].check) != BST_CHECKED) continue;
        const CRangeEdit& edit = m_periods[i].edit;
        if (edit.Accepts(kMinMinutes, kMaxMinutes)) continue;
        if (info.group == kIp && edit.TextNumber().value_or(0) == 0) {
            ShowError(kBadIpPeriod);
            ::SetFocus(GetDlgItem(info.edit));
            return false;
        }
        return ShowRangeError(info.edit, 0, kMinMinutes, kMaxMinutes, info.text);
    }
    return true;
}

bool CPageSettingsNetScan::WriteSettings(NHPP::CParams& settings)
{
    bool written = true;
    auto check = [&](NHPP::HResult result) { written = written && result >= 0; };
    for (std::size_t g = 0; g < kGroups; ++g) {
        const Group& group = m_groups[g];
        if (group.lock.IsLockedByParent()) continue;
        const bool on = IsDlgButtonChecked(kGroupInfo[g].check) == BST_CHECKED;
        if (group.enabled.Writes(on)) check(settings.SetBool(kGroupInfo[g].key, on, group.lock.IsMandatory()));
    }
    for (std::size_t i = 0; i < kPeriods; ++i) {
        const Group& group = m_groups[kPeriodInfo[i].group];
        const Period& period = m_periods[i];
        if (group.lock.IsLockedByParent() || (period.stored.foreign && period.edit.IsUntouched())) continue;
        const std::optional<std::int64_t> milliseconds = period.edit.StoredOrTyped();
        // an emptied period of a group switched off stays as stored
        if (!milliseconds || *milliseconds < INT32_MIN || *milliseconds > INT32_MAX) continue;
        check(settings.SetInt(kPeriodInfo[i].key, static_cast<std::int32_t>(*milliseconds), group.lock.IsMandatory()));
    }
    for (std::size_t i = 0; i < kSchedules; ++i) {
        const Group& group = m_groups[kScheduleInfo[i].group];
        if (group.lock.IsLockedByParent()) continue;
        // a stored schedule takes the group's lock as the other settings do
        check(m_schedules[i].Write(settings, group.lock.IsMandatory()));
    }
    return written;
}

bool CPageSettingsNetScan::ApplyPage()
{
    auto settings = Provider(kSection);
    bool written = false;
    try {
        written = WriteSettings(*settings);
    } catch (const ZRERR::Error& error) {
        ZRERR::SayFailure2(error, "CPageSettingsNetScan::ApplyPage");
    }
    return CommitPageSettings(m_hWnd, *settings, written);
}

std::vector<ZRSTD::CAutoPtr<ZRPAR::Params>> CPageSettingsNetScan::Export(NHPP::CNHPPageData& pageData)
{
    PluginStateScope scope;
    auto settings = pageData.Provider(kSection);
    auto label = [](UINT id) { return frame::NormalizeTitle(ui::LoadStringW(id)); };
    std::array<ZRSTD::CAutoPtr<ZRPAR::Params>, kGroups> groups;
    std::array<bool, kGroups> mandatory{};
    for (std::size_t g = 0; g < kGroups; ++g) {
        groups[g] = ZRPAR::CreateParams();
        NHPP::PolicyLockInfo lock;
        const bool on = settings->GetBoolOrDefault(kGroupInfo[g].key, kGroupInfo[g].fallback, &lock);
        mandatory[g] = lock.mandatory;
        frame::AddSettingNode(*groups[g], kGroupInfo[g].checkText, frame::YesNoText(on), lock.mandatory);
    }
    for (const PeriodInfo& period : kPeriodInfo) {
        const std::int32_t milliseconds = settings->GetIntOrDefault(period.key, period.fallbackMs, nullptr);
        frame::AddSettingNode(*groups[period.group], period.exportText, std::to_wstring(milliseconds / kMillisecondsPerMinute),
                              mandatory[period.group]);
    }
    for (const ScheduleInfo& info : kScheduleInfo) {
        ZRSTD::CAutoPtr<ZRPAR::Params> schedule;
        const bool stored = settings->GetParams(info.keys.schedule, &schedule, nullptr) == NHPP::kOk && schedule;
        auto value = stored ? ZRPAR::CreateValue(schedule.Get()) : ZRPAR::CreateValue(ui::LoadStringW(kNoScheduleText));
        AddRow(*groups[info.group], frame::NormalizeTitle(LinkText(info.text)), value.Get(), mandatory[info.group]);
    }
    auto page = ZRPAR::CreateParams();
    for (std::size_t g = 0; g < kGroups; ++g)
        page->ReplaceValue(label(kGroupInfo[g].groupText), ZRPAR::CreateValue(groups[g].Get()).Get());
    return {page};
}

CPageSettingsNetScanPolicy::CPageSettingsNetScanPolicy(std::shared_ptr<NHPP::CNHPPageData> pageData)
    : CPageSettingsNetScan(std::move(pageData))
{
}
