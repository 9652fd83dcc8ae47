#include "plugin/pages/tasks/DlgVapmSearchAddFolder.h"

#include "ui/Services.h"
#include "zrstd/Strings.h"

namespace {

constexpr UINT kOkText = 12, kCancelText = 13, kBrowseText = 9550, kPickerTitle = 9551;
// the longest folder name the agent's file system takes
constexpr std::size_t kMaxPathLength = 32767;

}  // namespace

ui::DialogTemplate CDlgVapmSearchAddFolder::Template()
{
    ui::DialogTemplate dialog;
    dialog.id = kTemplate;
    dialog.style = WS_POPUP;
    dialog.rect = {0, 0, 360, 90};
    const DWORD visible = WS_CHILD | WS_VISIBLE;
    dialog.controls = {
        {kLabel, L"Static", L"", visible, {10, 10, 80, 26}},
        {kFolder, L"Edit", L"", visible | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, {85, 8, 310, 28}},
        {kBrowse, L"Button", L"", visible | WS_TABSTOP, {315, 8, 350, 28}},
        {IDOK, L"Button", L"", visible | WS_TABSTOP | BS_DEFPUSHBUTTON, {195, 56, 270, 80}},
        {IDCANCEL, L"Button", L"", visible | WS_TABSTOP, {275, 56, 350, 80}},
    };
    return dialog;
}

std::optional<std::wstring> CDlgVapmSearchAddFolder::AcceptedFolder(const std::wstring& typed)
{
    std::wstring folder = ZRSTD::Trim(typed);
    if (folder.empty() || folder.size() > kMaxPathLength) return std::nullopt;
    // characters no folder name holds (control characters would also break the agent's list)
    for (wchar_t c : folder)
        if (c < 0x20 || c == 0x7F || std::wstring_view(L"<>\"|?*").find(c) != std::wstring_view::npos)
            return std::nullopt;
    return folder;
}

CDlgVapmSearchAddFolder::CDlgVapmSearchAddFolder(std::wstring folder)
    : CNHPDialog(kTemplate), m_folder(std::move(folder))
{
}

bool CDlgVapmSearchAddFolder::OnInitDialog()
{
    CNHPDialog::OnInitDialog();
    SetWindowText(ui::LoadStringW(kCaptionText));
    SetControlTexts({{kLabel, kLabelText}, {kBrowse, kBrowseText}, {IDOK, kOkText}, {IDCANCEL, kCancelText}});
    SetDlgItemText(kFolder, m_folder);
    return true;
}

bool CDlgVapmSearchAddFolder::OnCommand(WORD id, WORD code, HWND)
{
    if (id != kBrowse || code != BN_CLICKED) return false;
    const std::wstring picked = ui::PickFolder(m_hWnd, ui::LoadStringW(kPickerTitle));
    if (!picked.empty()) SetDlgItemText(kFolder, picked);  // a cancelled picker leaves the text
    return true;
}

void CDlgVapmSearchAddFolder::OnOK()
{
    const auto folder = AcceptedFolder(GetDlgItemText(kFolder));
    if (!folder) {
        ShowPluginMessage(m_hWnd, kBadPath, MB_ICONERROR);
        ::SetFocus(GetDlgItem(kFolder));
        return;
    }
    m_folder = *folder;
    CNHPDialog::OnOK();
}
