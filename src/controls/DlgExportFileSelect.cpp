#include "controls/DlgExportFileSelect.h"

CDlgExportFileSelect::CDlgExportFileSelect(std::wstring filter, std::wstring title, std::wstring checkBoxCaption)
    : CFileDialog(false, L"csv", L"", kFlags, std::move(filter)), m_checkBoxCaption(std::move(checkBoxCaption))
{
    SetTitle(std::move(title));
}

bool CDlgExportFileSelect::OnInitDialog()
{
    CFileDialog::OnInitDialog();
    const RECT frame = GetWindowRect();
    MoveWindow(RECT{frame.left, frame.top, frame.right, frame.bottom + kExtraHeight});
    // below the file-type list, aligned with the labels on the left
    const RECT label = ::GetWindowRect(GetDlgItem(kFileTypeLabelId));
    const HWND types = GetDlgItem(kFileTypeListId);
    const RECT list = ::GetWindowRect(types);
    const int top = list.bottom + kBoxGap;
    const HWND box = ::CreateWindowExW(0, L"Button", m_checkBoxCaption, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX,
                                       RECT{label.left, top, list.right, top + kBoxHeight}, m_hWnd, kCheckBoxId);
    ::SendMessageW(box, WM_SETFONT, ::SendMessageW(types, WM_GETFONT, 0, 0), 0);
    return true;
}

void CDlgExportFileSelect::OnDestroy()
{
    m_boxState = IsDlgButtonChecked(kCheckBoxId) == BST_CHECKED;
    CFileDialog::OnDestroy();
}
