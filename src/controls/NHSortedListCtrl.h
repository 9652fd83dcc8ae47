#pragma once

#include <map>
#include <string>

#include "controls/NHCustomListCtrl.h"

// A list sorted by clicking its column headers: another column sorts in its
// default direction, the same column again reverses it. Rows compare by the
// text of the sort column without regard to case. Rows must carry distinct
// data (the custom-data lists give every row its own id): the texts are
// cached by row data for each sort.
class CNHSortedListCtrl : public CNHCustomListCtrl {
public:
    void Sort(int column, bool ascending) override;

protected:
    bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    // The cached texts of two rows compared without regard to case; negated when descending.
    virtual int CompareItems(LPARAM first, LPARAM second);
    // The text a row sorts by in a column: by default the cell's text.
    virtual void GetSortText(std::wstring& text, LPARAM rowData, int column);

private:
    static int CompareCallback(LPARAM first, LPARAM second, LPARAM self);

    std::map<LPARAM, std::wstring> m_sortTexts;
    int m_fillingRow = -1;  // the row whose text is being read while the cache fills
};
