#include "controls/NHSortedListCtrl.h"

#include "zrstd/Strings.h"

void CNHSortedListCtrl::Sort(int column, bool ascending)
{
    CNHCustomListCtrl::Sort(column, ascending);
    m_sortTexts.clear();
    const int count = GetItemCount();
    for (int row = 0; row < count; ++row) {
        const LPARAM data = GetItemData(row);
        m_fillingRow = row;
        std::wstring text;
        GetSortText(text, data, column);
        m_sortTexts[data] = std::move(text);
    }
    m_fillingRow = -1;
    ListSort sort{&CompareCallback, reinterpret_cast<LPARAM>(this)};
    SendMessage(LVM_SORTITEMS, 0, reinterpret_cast<LPARAM>(&sort));
}

void CNHSortedListCtrl::GetSortText(std::wstring& text, LPARAM rowData, int column)
{
    // the row being cached is known; otherwise the row with this data
    int row = m_fillingRow >= 0 && GetItemData(m_fillingRow) == rowData ? m_fillingRow : -1;
    for (int i = 0, count = GetItemCount(); row < 0 && i < count; ++i)
        if (GetItemData(i) == rowData) row = i;
    text = row >= 0 ? GetItemText(row, column) : std::wstring();
}

int CNHSortedListCtrl::CompareItems(LPARAM first, LPARAM second)
{
    // a row missing from the cache sorts as an empty text
    static const std::wstring kEmpty;
    const auto a = m_sortTexts.find(first), b = m_sortTexts.find(second);
    const std::wstring& left = a == m_sortTexts.end() ? kEmpty : a->second;
    const std::wstring& right = b == m_sortTexts.end() ? kEmpty : b->second;
    const int order = ZRSTD::CompareNoCase(left, right);
    return m_sortAscending ? order : -order;
}

int CNHSortedListCtrl::CompareCallback(LPARAM first, LPARAM second, LPARAM self)
{
    return reinterpret_cast<CNHSortedListCtrl*>(self)->CompareItems(first, second);
}

bool CNHSortedListCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lParam)->code == LVN_COLUMNCLICK) {
        const int column = reinterpret_cast<const NMLISTVIEW*>(lParam)->iSubItem;
        if (IsColumnSortable(column)) Sort(column, column == m_sortColumn ? !m_sortAscending : GetDefaultAscending());
        return false;  // the page sees the click too
    }
    return CNHCustomListCtrl::OnChildNotify(message, wParam, lParam, result);
}
