#include "plugin/pages/dpoint/DlgIpScanEntryProperties.h"

#include "nhpp/PageData.h"
#include "plugin/pages/agent/NLARule.h"
#include "ui/CommonControls.h"
#include "ui/Resources.h"
#include "zrplugin/DataSource.h"
#include "zrstd/Format.h"
#include "zrstd/Strings.h"

namespace {

// strings
constexpr UINT kOkText = 12, kCancelText = 13, kIntervalCaption = 2290, kBySubnetText = 2291, kByRangeText = 2292,
               kSubnetAddressText = 2293, kSubnetMaskText = 2294, kStartText = 2295, kEndText = 2296,
               kChooseText = 2400, kRangeCaption = 2300, kIntervalsText = 2302, kAddText = 2308, kEditText = 2303,
               kRemoveText = 2304, kNameColumn = 5898, kSubnetColumn = 5909, kDescriptionColumn = 5901;
// messages
constexpr UINT kConfirmRemove = 2284, kNameNotUnique = 2319, kEmptyName = 9451;

constexpr DWORD kVisible = WS_CHILD | WS_VISIBLE;
constexpr int kColumnWidth = 150;

int SelectedLineOf(const CNHCustomListCtrl& list)
{
    return static_cast<int>(list.SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void SelectLine(HWND list, int line)
{
    LVITEMW item;
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(line), reinterpret_cast<LPARAM>(&item));
}

}  // namespace

// ---- one interval -----------------------------------------------------------

ui::DialogTemplate CDlgIpIntervalProperties::Template()
{
    ui::DialogTemplate dialog;
    dialog.id = kTemplate;
    dialog.style = WS_POPUP;
    dialog.rect = {0, 0, 380, 200};
    dialog.controls = {
        {kBySubnet, L"Button", L"", kVisible | WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON, {10, 10, 370, 26}},
        {kByRange, L"Button", L"", kVisible | BS_AUTORADIOBUTTON, {10, 32, 370, 48}},
        {kFirstLabel, L"Static", L"", kVisible, {25, 62, 170, 78}},
        {kFirst, L"SysIPAddress32", L"", kVisible | WS_TABSTOP | WS_GROUP, {175, 60, 300, 80}},
        {kChooseSubnet, L"Button", L"", kVisible | WS_TABSTOP, {305, 58, 370, 82}},
        {kSecondLabel, L"Static", L"", kVisible, {25, 92, 170, 108}},
        {kSecond, L"SysIPAddress32", L"", kVisible | WS_TABSTOP, {175, 90, 300, 110}},
        {IDOK, L"Button", L"", kVisible | WS_TABSTOP | BS_DEFPUSHBUTTON, {210, 165, 285, 189}},
        {IDCANCEL, L"Button", L"", kVisible | WS_TABSTOP, {295, 165, 370, 189}},
    };
    return dialog;
}

CDlgIpIntervalProperties::CDlgIpIntervalProperties(std::shared_ptr<NHPP::CNHPPageData> pageData,
                                                   const ZRPAR::Value* interval)
    : CNHPDialog(kTemplate, std::move(pageData)), m_stored(ipscan::ReadInterval(interval))
{
}

bool CDlgIpIntervalProperties::OnInitDialog()
{
    CNHPDialog::OnInitDialog();
    SetWindowText(ui::LoadStringW(kIntervalCaption));
    SetControlTexts({{kBySubnet, kBySubnetText}, {kByRange, kByRangeText}, {kChooseSubnet, kChooseText},
                     {IDOK, kOkText}, {IDCANCEL, kCancelText}});
    const ipscan::IpInterval shown = m_stored.value_or(ipscan::IpInterval{});
    // the radio's own handler runs, so that the labels and the picker follow it
    ShowForm(shown.subnet);
    SetAddress(kFirst, ipscan::FirstField(shown));
    SetAddress(kSecond, ipscan::SecondField(shown));
    return true;
}

void CDlgIpIntervalProperties::ShowForm(bool subnet)
{
    CheckDlgButton(kBySubnet, subnet ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(kByRange, subnet ? BST_UNCHECKED : BST_CHECKED);
    SetControlTexts({{kFirstLabel, subnet ? kSubnetAddressText : kStartText},
                     {kSecondLabel, subnet ? kSubnetMaskText : kEndText}});
    ::ShowWindow(GetDlgItem(kChooseSubnet), subnet ? SW_SHOW : SW_HIDE);
}

void CDlgIpIntervalProperties::SetAddress(int control, std::uint32_t hostForm)
{
    ::SendMessageW(GetDlgItem(control), IPM_SETADDRESS, 0, static_cast<LPARAM>(hostForm));
}

std::uint32_t CDlgIpIntervalProperties::AddressOf(int control) const
{
    DWORD address = 0;
    ::SendMessageW(GetDlgItem(control), IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&address));
    return address;
}

bool CDlgIpIntervalProperties::OnCommand(WORD id, WORD code, HWND)
{
    if (code != BN_CLICKED) return false;
    switch (id) {
    case kBySubnet: ShowForm(true); return true;
    case kByRange: ShowForm(false); return true;
    case kChooseSubnet: ChooseSubnet(); return true;
    default: return false;
    }
}

void CDlgIpIntervalProperties::ChooseSubnet()
{
    auto picker = ZRPlugin::GetDataSourceItem<ZRPlugin::IIpRangePicker>(
        GetPageData() ? GetPageData()->GetDataSource() : nullptr, L"SELECT_IPDIAPASON");
    ZRSTD::CAutoPtr<ZRPAR::Params> chosen;
    if (!picker || !picker->SelectIpRange(m_hWnd, &chosen) || !chosen) return;
    auto field = [&](const wchar_t* key) {
        const ZRPAR::Value* value = chosen->FindValue(key);
        return value && value->GetType() == ZRPAR::VT_INT
                   ? static_cast<std::uint32_t>(static_cast<const ZRPAR::IntValue*>(value)->GetValue())
                   : 0u;
    };
    ShowForm(true);
    SetAddress(kFirst, field(L"nIpAddress"));
    SetAddress(kSecond, field(L"nMask"));
}

void CDlgIpIntervalProperties::OnOK()
{
    const bool subnet = IsDlgButtonChecked(kBySubnet) == BST_CHECKED;
    const std::uint32_t first = AddressOf(kFirst), second = AddressOf(kSecond);
    if (const UINT problem = ipscan::IntervalProblem(subnet, first, second)) {
        ShowPluginMessage(m_hWnd, problem, MB_ICONERROR);
        ::SetFocus(GetDlgItem(subnet && first == 0 ? kFirst : kSecond));
        return;
    }
    m_result = ipscan::IntervalFromHostForm(subnet, first, second);
    CNHPDialog::OnOK();
}

// ---- one range --------------------------------------------------------------

ui::DialogTemplate CDlgIpScanEntryProperties::Template()
{
    ui::DialogTemplate dialog;
    dialog.id = kTemplate;
    dialog.style = WS_POPUP;
    dialog.rect = {0, 0, 460, 330};
    dialog.controls = {
        {kName, L"Edit", L"", kVisible | WS_TABSTOP | ES_AUTOHSCROLL, {10, 10, 450, 30}},
        {kIntervalsLabel, L"Static", L"", kVisible, {10, 40, 450, 56}},
        {kIntervals, L"SysListView32", L"",
         kVisible | WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS, {10, 60, 450, 250}},
        {kAdd, L"Button", L"", kVisible | WS_TABSTOP, {10, 258, 100, 282}},
        {kEdit, L"Button", L"", kVisible | WS_TABSTOP, {110, 258, 200, 282}},
        {kRemove, L"Button", L"", kVisible | WS_TABSTOP, {210, 258, 300, 282}},
        {IDOK, L"Button", L"", kVisible | WS_TABSTOP | BS_DEFPUSHBUTTON, {290, 295, 365, 319}},
        {IDCANCEL, L"Button", L"", kVisible | WS_TABSTOP, {375, 295, 450, 319}},
    };
    return dialog;
}

CDlgIpScanEntryProperties::CDlgIpScanEntryProperties(std::shared_ptr<NHPP::CNHPPageData> pageData,
                                                     const ZRPAR::Params& ranges, std::wstring name,
                                                     const ZRPAR::Value* range)
    : CNHPDialog(kTemplate, std::move(pageData)), m_ranges(ranges), m_formerName(std::move(name))
{
    const ZRPAR::Params* stored = nla::AsParams(range);
    m_range = stored ? stored->Clone() : ZRPAR::CreateParams();
    const ZRPAR::Value* intervals = m_range->FindValue(ipscan::kIntervalsKey);
    if (intervals && intervals->GetType() == ZRPAR::VT_ARRAY) {
        const auto* array = static_cast<const ZRPAR::ArrayValue*>(intervals);
        for (std::size_t i = 0; i < array->GetSize(); ++i) m_intervals.emplace_back(array->ItemAt(i));
    }
}

bool CDlgIpScanEntryProperties::OnInitDialog()
{
    CNHPDialog::OnInitDialog();
    SetWindowText(ui::LoadStringW(kRangeCaption));
    SetControlTexts({{kIntervalsLabel, kIntervalsText}, {kAdd, kAddText}, {kEdit, kEditText}, {kRemove, kRemoveText},
                     {IDOK, kOkText}, {IDCANCEL, kCancelText}});
    SetDlgItemText(kName, m_formerName);
    m_list.SubclassDlgItem(kIntervals, m_hWnd);
    m_list.SetStateKey(kListState);
    int column = 0;
    for (UINT title : {kNameColumn, kSubnetColumn, kDescriptionColumn})
        m_list.InsertColumn(column++, ui::LoadStringW(title), kColumnWidth);
    m_list.LoadState();
    for (std::size_t i = 0; i < m_intervals.size(); ++i) {
        m_list.InsertItem(static_cast<int>(i), L"");
        ShowInterval(static_cast<int>(i));
    }
    UpdateButtons();
    return true;
}

int CDlgIpScanEntryProperties::SelectedLine() const
{
    const int line = SelectedLineOf(m_list);
    return line >= 0 && line < static_cast<int>(m_intervals.size()) ? line : -1;
}

void CDlgIpScanEntryProperties::ShowInterval(int line)
{
    const auto interval = ipscan::ReadInterval(m_intervals[static_cast<std::size_t>(line)].Get());
    std::wstring name, description;
    // the console's own name and description of a subnet it knows
    auto console = ZRPlugin::GetDataSourceItem<ZRPlugin::IIpRangePicker>(
        GetPageData() ? GetPageData()->GetDataSource() : nullptr, L"SELECT_IPDIAPASON");
    ZRSTD::CAutoPtr<ZRPAR::Params> known;
    if (interval && console &&
        console->FindSubnet(ipscan::FirstField(*interval), ipscan::SecondField(*interval), &known) && known) {
        name = nla::StringOf(known.Get(), L"wstrSubnetName");
        description = ZRSTD::ReplaceAll(nla::StringOf(known.Get(), L"wstrComment"), L"\r\n", L" ");
    }
    m_list.SetItemText(line, 0, name);
    m_list.SetItemText(line, 1, interval ? ipscan::IntervalText(*interval) : L"");
    m_list.SetItemText(line, 2, description);
}

void CDlgIpScanEntryProperties::UpdateButtons()
{
    const bool selected = SelectedLine() >= 0;
    ::EnableWindow(GetDlgItem(kEdit), selected);
    ::EnableWindow(GetDlgItem(kRemove), selected);
}

void CDlgIpScanEntryProperties::AddInterval()
{
    CDlgIpIntervalProperties dialog(GetPageData(), nullptr);
    if (dialog.DoModal(m_hWnd) != IDOK) return;
    m_intervals.push_back(ZRPAR::CreateValue(ipscan::IntervalContainer(dialog.Result()).Get()));
    const int line = static_cast<int>(m_intervals.size()) - 1;
    m_list.InsertItem(line, L"");
    ShowInterval(line);
    SelectLine(m_list.GetSafeHwnd(), line);
    UpdateButtons();
}

void CDlgIpScanEntryProperties::EditSelectedInterval()
{
    const int line = SelectedLine();
    if (line < 0) return;
    auto& element = m_intervals[static_cast<std::size_t>(line)];
    CDlgIpIntervalProperties dialog(GetPageData(), element.Get());
    if (dialog.DoModal(m_hWnd) != IDOK) return;
    // keys of the element the dialog does not know stay as they were
    const ZRPAR::Params* stored = nla::AsParams(element.Get());
    auto edited = stored ? stored->Clone() : ZRPAR::CreateParams();
    auto accepted = ipscan::IntervalContainer(dialog.Result());
    for (std::size_t i = 0; i < accepted->GetSize(); ++i) edited->ReplaceValue(accepted->NameAt(i), accepted->ValueAt(i));
    element = ZRPAR::CreateValue(edited.Get());
    ShowInterval(line);
}

void CDlgIpScanEntryProperties::RemoveSelectedInterval()
{
    const int line = SelectedLine();
    if (line < 0) return;
    // the row is named by its subnet's name, or by its addresses when the console knows no name
    std::wstring shown = m_list.GetItemText(line, 0);
    if (shown.empty()) shown = m_list.GetItemText(line, 1);
    if (ShowPluginText(m_hWnd, ZRSTD::FormatW(ui::LoadStringW(kConfirmRemove), shown), MB_YESNO | MB_ICONWARNING) !=
        IDYES)
        return;
    m_intervals.erase(m_intervals.begin() + line);
    m_list.DeleteItem(line);
    UpdateButtons();
}

bool CDlgIpScanEntryProperties::OnCommand(WORD id, WORD code, HWND)
{
    if (code != BN_CLICKED) return false;
    switch (id) {
    case kAdd: AddInterval(); return true;
    case kEdit: EditSelectedInterval(); return true;
    case kRemove: RemoveSelectedInterval(); return true;
    default: return false;
    }
}

bool CDlgIpScanEntryProperties::OnNotify(NMHDR* header, LRESULT* result)
{
    if (!header || static_cast<int>(header->idFrom) != kIntervals) return false;
    if (header->code == LVN_ITEMCHANGED) UpdateButtons();
    else if (header->code == NM_DBLCLK) EditSelectedInterval();
    else return false;
    if (result) *result = 0;
    return true;
}

void CDlgIpScanEntryProperties::OnOK()
{
    const std::wstring name = ZRSTD::Trim(GetDlgItemText(kName));
    if (name.empty()) {
        ShowPluginMessage(m_hWnd, kEmptyName, MB_ICONERROR);
        ::SetFocus(GetDlgItem(kName));
        return;
    }
    if (name != m_formerName && m_ranges.DoesExist(name)) {
        ShowPluginMessage(m_hWnd, kNameNotUnique, MB_ICONERROR);
        ::SetFocus(GetDlgItem(kName));
        return;
    }
    auto intervals = ZRPAR::CreateArrayValue();
    for (const auto& interval : m_intervals) intervals->Append(interval.Get());
    m_range->ReplaceValue(ipscan::kScanEnabledKey, ZRPAR::CreateValue(true).Get());
    m_range->ReplaceValue(ipscan::kIntervalsKey, intervals.Get());
    m_name = name;
    m_result = m_range;
    CNHPDialog::OnOK();
}
