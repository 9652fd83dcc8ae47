#include "controls/NHCustomListCtrl.h"

#include <algorithm>
#include <utility>

#include "controls/FontCtrl.h"
#include "controls/PageMessages.h"
#include "controls/PluginEnvironment.h"
#include "ui/Mouse.h"
#include "ui/Registry.h"
#include "ui/Services.h"

namespace {

constexpr UINT kUnchecked = INDEXTOSTATEIMAGEMASK(1), kChecked = INDEXTOSTATEIMAGEMASK(2);
constexpr const wchar_t* kLinkPrefixes[] = {L"http://", L"https://", L"ftp://", L"mailto://"};
constexpr DWORD kSortedUp = 0, kSortedDown = 1, kNotSorted = 2;

void PutLe32(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

std::int32_t GetLe32(const std::vector<std::uint8_t>& in, std::size_t at)
{
    return static_cast<std::int32_t>(in[at] | (in[at + 1] << 8) | (in[at + 2] << 16) |
                                     (static_cast<std::uint32_t>(in[at + 3]) << 24));
}

bool ReadDword(HKEY key, const wchar_t* name, DWORD& value)
{
    DWORD type = 0;
    std::vector<std::uint8_t> data;
    if (RegQueryValueExW(key, name, &type, &data) != ERROR_SUCCESS || type != REG_DWORD || data.size() != 4) return false;
    value = static_cast<DWORD>(GetLe32(data, 0));
    return true;
}

bool WriteDword(HKEY key, const wchar_t* name, DWORD value)
{
    std::vector<std::uint8_t> data;
    PutLe32(data, value);
    return RegSetValueExW(key, name, REG_DWORD, data.data(), data.size()) == ERROR_SUCCESS;
}

}  // namespace

CNHCustomListCtrl::CNHCustomListCtrl() = default;

CNHCustomListCtrl::~CNHCustomListCtrl()
{
    if (m_hWnd && ::IsWindow(m_hWnd)) UnsubclassWindow();
    if (m_linkFont) DeleteObject(m_linkFont);
}

void CNHCustomListCtrl::PreSubclassWindow()
{
    ui::SetWindowTheme(m_hWnd, L"Explorer");
    SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, kExtendedStyles, kExtendedStyles);
    m_normalFont = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    if (m_linkFont) DeleteObject(m_linkFont);
    m_linkFont = CreateChangedFont(m_normalFont, FontChange{nullptr, FontChange::kUnderline, 0, 0});
}

// ---- rows and columns ----------------------------------------------------

int CNHCustomListCtrl::InsertColumn(int column, const std::wstring& title, int width)
{
    LVCOLUMNW inserted{title, width};
    return static_cast<int>(SendMessage(LVM_INSERTCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&inserted)));
}

int CNHCustomListCtrl::GetColumnCount() const { return static_cast<int>(::SendMessageW(GetHeader(), HDM_GETITEMCOUNT, 0, 0)); }

std::wstring CNHCustomListCtrl::GetColumnTitle(int column) const
{
    LVCOLUMNW read;
    return SendMessage(LVM_GETCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&read)) ? read.text : L"";
}

int CNHCustomListCtrl::InsertItem(int item, const std::wstring& text, LPARAM data)
{
    LVITEMW inserted;
    inserted.mask = LVIF_TEXT | LVIF_PARAM;
    inserted.iItem = item;
    inserted.text = text;
    inserted.lParam = data;
    return static_cast<int>(SendMessage(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&inserted)));
}

bool CNHCustomListCtrl::SetItemText(int item, int column, const std::wstring& text)
{
    LVITEMW cell;
    cell.iSubItem = column;
    cell.text = text;
    return SendMessage(LVM_SETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&cell)) != 0;
}

std::wstring CNHCustomListCtrl::GetItemText(int item, int column) const
{
    LVITEMW cell;
    cell.iSubItem = column;
    SendMessage(LVM_GETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&cell));
    return cell.text;
}

LPARAM CNHCustomListCtrl::GetItemData(int item) const
{
    LVITEMW row;
    row.iItem = item;
    row.mask = LVIF_PARAM;
    return SendMessage(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&row)) ? row.lParam : 0;
}

int CNHCustomListCtrl::GetItemCount() const { return static_cast<int>(SendMessage(LVM_GETITEMCOUNT)); }
bool CNHCustomListCtrl::DeleteItem(int item) { return SendMessage(LVM_DELETEITEM, static_cast<WPARAM>(item)) != 0; }
bool CNHCustomListCtrl::DeleteAllItems() { return SendMessage(LVM_DELETEALLITEMS) != 0; }

bool CNHCustomListCtrl::GetCheck(int item) const
{
    return static_cast<UINT>(SendMessage(LVM_GETITEMSTATE, static_cast<WPARAM>(item), LVIS_STATEIMAGEMASK)) == kChecked;
}

void CNHCustomListCtrl::SetCheck(int item, bool checked)
{
    LVITEMW state;
    state.stateMask = LVIS_STATEIMAGEMASK;
    state.state = checked ? kChecked : kUnchecked;
    SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&state));
}

bool CNHCustomListCtrl::IsSelected(int item) const
{
    return (SendMessage(LVM_GETITEMSTATE, static_cast<WPARAM>(item), LVIS_SELECTED) & LVIS_SELECTED) != 0;
}

// ---- column state and its persistence --------------------------------------

std::vector<std::uint8_t> CNHCustomListCtrl::GetColumnState() const
{
    const int count = GetColumnCount();
    std::vector<std::uint8_t> state;
    if (count <= 0) return state;
    std::vector<int> order(static_cast<std::size_t>(count));
    SendMessage(LVM_GETCOLUMNORDERARRAY, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(order.data()));
    for (int i = 0; i < count; ++i)
        PutLe32(state, static_cast<std::uint32_t>(SendMessage(LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(i))));
    for (int column : order) PutLe32(state, static_cast<std::uint32_t>(column));
    return state;
}

bool CNHCustomListCtrl::SetColumnState(const std::vector<std::uint8_t>& state)
{
    const int count = GetColumnCount();
    const auto n = static_cast<std::size_t>(std::max(count, 0));
    if (n == 0 || state.size() != 8 * n) return false;
    std::vector<int> widths(n), order(n);
    std::vector<bool> seen(n, false);
    for (std::size_t i = 0; i < n; ++i) {
        widths[i] = GetLe32(state, 4 * i);
        order[i] = GetLe32(state, 4 * (n + i));
        // the order must name every column once; a width is never negative
        if (widths[i] < 0 || order[i] < 0 || static_cast<std::size_t>(order[i]) >= n || seen[static_cast<std::size_t>(order[i])])
            return false;
        seen[static_cast<std::size_t>(order[i])] = true;
    }
    for (std::size_t i = 0; i < n; ++i) SendMessage(LVM_SETCOLUMNWIDTH, i, widths[i]);
    SendMessage(LVM_SETCOLUMNORDERARRAY, n, reinterpret_cast<LPARAM>(order.data()));
    return true;
}

HRESULT CNHCustomListCtrl::SaveStateResult()
{
    if (m_stateKey.empty()) return S_OK;
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, m_stateKey, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return E_FAIL;
    const std::vector<std::uint8_t> state = GetColumnState();
    DWORD order = kNotSorted;
    if (m_sortColumn >= 0 && IsColumnSortable(m_sortColumn)) {
        const int arrow = GetHeaderArrow(m_sortColumn);
        order = arrow == HDF_SORTUP ? kSortedUp : arrow == HDF_SORTDOWN ? kSortedDown : kNotSorted;
    }
    const bool written = RegSetValueExW(key, L"state", REG_BINARY, state.data(), state.size()) == ERROR_SUCCESS &&
                         WriteDword(key, L"SortColumnIndex", m_sortColumn >= 0 ? static_cast<DWORD>(m_sortColumn) : kNoColumn) &&
                         WriteDword(key, L"SortOrder", order);
    RegCloseKey(key);
    return written ? S_OK : E_FAIL;
}

HRESULT CNHCustomListCtrl::LoadStateResult()
{
    if (m_stateKey.empty()) return S_OK;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, m_stateKey, KEY_READ, &key) != ERROR_SUCCESS) return E_FAIL;
    DWORD type = 0;
    std::vector<std::uint8_t> state;
    if (RegQueryValueExW(key, L"state", &type, &state) == ERROR_SUCCESS && type == REG_BINARY && !state.empty())
        SetColumnState(state);
    DWORD column = kNoColumn;
    ReadDword(key, L"SortColumnIndex", column);
    if (column < static_cast<DWORD>(std::max(GetColumnCount(), 0))) {
        DWORD order = kSortedUp;
        ReadDword(key, L"SortOrder", order);
        const int sorted = static_cast<int>(column);
        if ((order == kSortedUp || order == kSortedDown) && IsColumnSortable(sorted)) Sort(sorted, order == kSortedUp);
    }
    RegCloseKey(key);
    return S_OK;
}

// ---- sorting state -----------------------------------------------------------

void CNHCustomListCtrl::SetHeaderArrow(int column, int arrow)
{
    HDITEMW item;
    const HWND header = GetHeader();
    if (!::SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item))) return;
    item.fmt = (item.fmt & ~(HDF_SORTUP | HDF_SORTDOWN)) | arrow;
    ::SendMessageW(header, HDM_SETITEMW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item));
}

int CNHCustomListCtrl::GetHeaderArrow(int column) const
{
    HDITEMW item;
    if (!::SendMessageW(GetHeader(), HDM_GETITEMW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item))) return 0;
    return item.fmt & (HDF_SORTUP | HDF_SORTDOWN);
}

void CNHCustomListCtrl::Sort(int column, bool ascending)
{
    if (m_sortColumn >= 0 && m_sortColumn != column) SetHeaderArrow(m_sortColumn, 0);
    m_sortColumn = column;
    m_sortAscending = ascending;
    SetHeaderArrow(column, ascending ? HDF_SORTUP : HDF_SORTDOWN);
}

// ---- links -------------------------------------------------------------------

bool CNHCustomListCtrl::IsLinkCell(int item, int column) const
{
    const auto flags = m_columnFlags.find(column);
    if (flags == m_columnFlags.end() || !(flags->second & kLinkColumn)) return false;
    const std::wstring text = GetItemText(item, column);
    return std::any_of(std::begin(kLinkPrefixes), std::end(kLinkPrefixes),
                       [&](const wchar_t* prefix) { return text.find(prefix) != std::wstring::npos; });
}

int CNHCustomListCtrl::CellUnderCursor(int& column) const
{
    LVHITTESTINFO hit;
    hit.pt = ScreenToClient(m_hWnd, GetCursorPos());
    const int item = static_cast<int>(SendMessage(LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    column = hit.iSubItem;
    return item;
}

LRESULT CNHCustomListCtrl::OnCustomDraw(NMLVCUSTOMDRAW& draw)
{
    switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT: return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: return CDRF_NOTIFYSUBITEMDRAW;
    case CDDS_SUBITEM | CDDS_ITEMPREPAINT: {
        const bool link = IsLinkCell(static_cast<int>(draw.nmcd.dwItemSpec), draw.iSubItem);
        if (link) draw.clrText = m_linkColour;
        else if (m_textColour != static_cast<COLORREF>(-1)) draw.clrText = m_textColour;
        SelectObject(draw.nmcd.hdc, link ? m_linkFont : m_normalFont);
        return CDRF_NEWFONT;
    }
    default: return CDRF_DODEFAULT;
    }
}

bool CNHCustomListCtrl::OnClick(const NMITEMACTIVATE& click)
{
    if (click.iItem < 0 || !IsLinkCell(click.iItem, click.iSubItem)) return false;
    if (m_openLinksItself) ui::ShellExecuteOpen(m_hWnd, GetItemText(click.iItem, click.iSubItem));
    else ::SendMessageW(GetParent(), RWM_NHCLC_CLICK_URL, static_cast<WPARAM>(click.iItem), click.iSubItem);
    return true;
}

// ---- single check --------------------------------------------------------------

void CNHCustomListCtrl::OnItemChanged(const NMLISTVIEW& change)
{
    if (!m_singleCheck || m_inCheckChange || !(change.uChanged & LVIF_STATE)) return;
    if (!((change.uNewState ^ change.uOldState) & LVIS_STATEIMAGEMASK)) return;
    // the handler's own unchecking must not come back here
    const bool outer = std::exchange(m_inCheckChange, true);
    const int count = GetItemCount();
    for (int i = 0; i < count; ++i) {
        if (i != change.iItem && GetCheck(i)) {
            SetCheck(i, false);
            break;
        }
    }
    m_inCheckChange = outer;
}

// ---- messages ------------------------------------------------------------------

bool CNHCustomListCtrl::OnChildNotify(UINT message, WPARAM, LPARAM lParam, LRESULT* result)
{
    if (message != WM_NOTIFY) return false;
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    switch (header->code) {
    case NM_CUSTOMDRAW: *result = OnCustomDraw(*reinterpret_cast<NMLVCUSTOMDRAW*>(lParam)); return true;
    case LVN_ITEMCHANGED: OnItemChanged(*reinterpret_cast<const NMLISTVIEW*>(lParam)); return false;
    case NM_CLICK: OnClick(*reinterpret_cast<const NMITEMACTIVATE*>(lParam)); return false;
    default: return false;
    }
}

LRESULT CNHCustomListCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_DESTROY:
        if (m_saveOnDestroy) SaveState();
        break;
    case WM_SETCURSOR: {
        int column = -1;
        const int item = CellUnderCursor(column);
        SetCursor(LoadCursorW(item >= 0 && IsLinkCell(item, column) ? IDC_HAND : IDC_ARROW));
        return TRUE;
    }
    case WM_SIZE: {
        const LRESULT result = Default(message, wParam, lParam);
        if (m_fitWidth && !m_fitting && IsWindowVisible()) {
            const bool outer = std::exchange(m_fitting, true);
            SendMessage(LVM_SETCOLUMNWIDTH, 0, GetClientRect(m_hWnd).Width());
            m_fitting = outer;
        }
        return result;
    }
    default: break;
    }
    return Default(message, wParam, lParam);
}

// ---- export ----------------------------------------------------------------------

HRESULT CNHCustomListCtrl::ExportToFile(const std::wstring& filter, const std::wstring& title)
{
    std::wstring caption = m_exportCaption;
    if (caption.empty()) {
        PluginStateScope scope;
        caption = ui::LoadStringW(kExportCaptionString);
    }
    return ExportList(GetParent(), *this, filter, title, caption);
}

std::vector<int> CNHCustomListCtrl::ExportColumns() const
{
    const int count = GetColumnCount();
    std::vector<int> order(static_cast<std::size_t>(std::max(count, 0)));
    if (count > 0)
        SendMessage(LVM_GETCOLUMNORDERARRAY, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(order.data()));
    return order;
}

bool CNHCustomListCtrl::ExportHeader(ListExportWriter& writer, const std::vector<int>& columns)
{
    std::vector<std::wstring> titles;
    for (int column : columns) titles.push_back(GetColumnTitle(column));
    return writer.WriteLine(titles);
}

bool CNHCustomListCtrl::ExportRows(ListExportWriter& writer, const std::vector<int>& columns, bool selectedOnly)
{
    const int count = GetItemCount();
    for (int item = 0; item < count; ++item)
        if ((!selectedOnly || IsSelected(item)) && !ExportRow(item, writer, columns)) return false;
    return true;
}

bool CNHCustomListCtrl::ExportRow(int item, ListExportWriter& writer, const std::vector<int>& columns)
{
    std::vector<std::wstring> fields;
    for (int column : columns) fields.push_back(GetItemText(item, column));
    return writer.WriteLine(fields);
}
