#include "plugin/pages/tasks/DlgUpdPropAdvanced.h"

namespace {

// strings
constexpr UINT kCaption = 2221, kFolderText = 2222, kUnixFolderText = 7023, kUpdateAgentsText = 2223,
               kDetailedHistoryText = 2224, kOldSchemeText = 7019, kOkText = 12, kCancelText = 13;

constexpr DWORD kVisible = WS_CHILD | WS_VISIBLE;

}  // namespace

ui::DialogTemplate CDlgUpdPropAdvanced::Template()
{
    ui::DialogTemplate dialog;
    dialog.id = kTemplate;
    dialog.style = WS_POPUP;
    dialog.rect = {0, 0, 420, 250};
    const DWORD check = kVisible | WS_TABSTOP | BS_AUTOCHECKBOX;
    const DWORD edit = kVisible | WS_TABSTOP | ES_AUTOHSCROLL;
    dialog.controls = {
        {kDetailedHistory, L"Button", L"", check, {10, 10, 410, 26}},
        {kUpdateAgents, L"Button", L"", check, {10, 34, 410, 50}},
        {kOldScheme, L"Button", L"", check, {10, 58, 410, 74}},
        {kFolderLabel, L"Static", L"", kVisible, {10, 86, 410, 102}},
        {kFolder, L"Edit", L"", edit, {10, 106, 410, 126}},
        {kUnixFolderLabel, L"Static", L"", kVisible, {10, 136, 410, 152}},
        {kUnixFolder, L"Edit", L"", edit, {10, 156, 410, 176}},
        {IDOK, L"Button", L"", kVisible | WS_TABSTOP | BS_DEFPUSHBUTTON, {250, 216, 325, 240}},
        {IDCANCEL, L"Button", L"", kVisible | WS_TABSTOP, {335, 216, 410, 240}},
    };
    return dialog;
}

CDlgUpdPropAdvanced::CDlgUpdPropAdvanced(std::shared_ptr<NHPP::CNHPPageData> pageData, UpdaterOtherSettings settings,
                                         Context context)
    : CNHPDialog(kTemplate, std::move(pageData)), m_settings(std::move(settings)), m_context(context)
{
}

bool CDlgUpdPropAdvanced::OnInitDialog()
{
    CNHPDialog::OnInitDialog();
    SetWindowText(ui::LoadStringW(kCaption));
    SetControlTexts({{kFolderLabel, kFolderText},
                     {kUnixFolderLabel, kUnixFolderText},
                     {kUpdateAgents, kUpdateAgentsText},
                     {kDetailedHistory, kDetailedHistoryText},
                     {kOldScheme, kOldSchemeText},
                     {IDOK, kOkText},
                     {IDCANCEL, kCancelText}});
    CheckDlgButton(kDetailedHistory, m_settings.detailedHistory ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(kUpdateAgents, m_settings.updateAgents ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(kOldScheme, m_settings.schema == 1 ? BST_CHECKED : BST_UNCHECKED);
    if (m_context.localTask) {
        // one folder: the one of the computer's own platform
        ::ShowWindow(GetDlgItem(kUnixFolderLabel), SW_HIDE);
        ::ShowWindow(GetDlgItem(kUnixFolder), SW_HIDE);
        SetControlTexts({{kFolderLabel, m_context.unixPlatform ? kUnixFolderText : kFolderText}});
        SetDlgItemText(kFolder, m_context.unixPlatform ? m_settings.unixFolder : m_settings.folder);
    } else {
        SetDlgItemText(kFolder, m_settings.folder);
        SetDlgItemText(kUnixFolder, m_settings.unixFolder);
        for (int id : {kFolder, kUnixFolder}) ::SendMessageW(GetDlgItem(id), EM_SETREADONLY, TRUE, 0);
    }
    m_oldSchemeShown = m_context.serverVersion > kNewestServerWithoutOldScheme;
    if (!m_oldSchemeShown) ::ShowWindow(GetDlgItem(kOldScheme), SW_HIDE);
    return true;
}

void CDlgUpdPropAdvanced::OnOK()
{
    m_settings.detailedHistory = IsDlgButtonChecked(kDetailedHistory) == BST_CHECKED;
    m_settings.updateAgents = IsDlgButtonChecked(kUpdateAgents) == BST_CHECKED;
    // a scheme the box does not show (neither 0 nor 1) changes only when the administrator clicks the box
    const bool oldScheme = IsDlgButtonChecked(kOldScheme) == BST_CHECKED;
    if (oldScheme != (m_settings.schema == 1)) m_settings.schema = oldScheme ? 1 : 0;
    if (m_context.localTask) (m_context.unixPlatform ? m_settings.unixFolder : m_settings.folder) = GetDlgItemText(kFolder);
    CNHPDialog::OnOK();
}
