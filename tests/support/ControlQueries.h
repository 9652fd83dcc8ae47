#pragma once

// What a user reads off a control, for assertions: an edit's selection, a
// list's cells and rows.
#include <string>
#include <utility>
#include <vector>

#include "ui/CommonControls.h"
#include "ui/Controls.h"
#include "ui/Window.h"

namespace testsupport {

// An edit's selection as (start, end); a caret is an empty selection.
inline std::pair<int, int> Selection(HWND edit)
{
    DWORD start = 0, end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {static_cast<int>(start), static_cast<int>(end)};
}

inline std::wstring ListCell(HWND list, int row, int column)
{
    LVITEMW item;
    item.iSubItem = column;
    SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return item.text;
}

// The first cell of every row, top to bottom.
inline std::vector<std::wstring> ListRows(HWND list)
{
    std::vector<std::wstring> rows;
    const auto count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) rows.push_back(ui::GetListRowText(list, row));
    return rows;
}

}  // namespace testsupport
