#include "plugin/pages/tasks/DlgLanSettings.h"

#include "ui/CommonControls.h"
#include "zrstd/Format.h"
#include "zrstd/Strings.h"

namespace {

// strings
constexpr UINT kCaption = 2226, kUseProxyText = 2227, kDetectText = 2228, kAddressText = 2229, kPortText = 2230,
               kAuthenticateText = 2231, kUserText = 2232, kPasswordText = 2233, kPassiveFtpText = 2234,
               kTimeoutText = 2235, kProxyGroupText = 2236, kOtherGroupText = 2237, kOkText = 12, kCancelText = 13;
constexpr UINT kBadAddress = 2007, kNoPort = 2238, kAllowedRange = 9012, kBadFieldValue = 9013;

constexpr DWORD kVisible = WS_CHILD | WS_VISIBLE;

using Block = UpdaterProxyBlock;

}  // namespace

ui::DialogTemplate CDlgLanSettings::Template()
{
    ui::DialogTemplate dialog;
    dialog.id = kTemplate;
    dialog.style = WS_POPUP;
    dialog.rect = {0, 0, 420, 330};
    const DWORD check = kVisible | WS_TABSTOP | BS_AUTOCHECKBOX;
    const DWORD edit = kVisible | WS_TABSTOP | ES_AUTOHSCROLL;
    dialog.controls = {
        {kProxyGroup, L"Button", L"", kVisible | BS_GROUPBOX, {8, 6, 412, 200}},
        {kUseProxy, L"Button", L"", check, {18, 24, 400, 40}},
        {kDetect, L"Button", L"", check, {32, 46, 400, 62}},
        {kAddressLabel, L"Static", L"", kVisible, {32, 70, 150, 86}},
        {kAddress, L"Edit", L"", edit, {155, 68, 300, 88}},
        {kPortLabel, L"Static", L"", kVisible, {305, 70, 340, 86}},
        {kPort, L"Edit", L"", edit | ES_NUMBER, {340, 68, 385, 88}},
        {kPortSpin, L"msctls_updown32", L"", kVisible, {385, 68, 400, 88}},
        {kAuthenticate, L"Button", L"", check, {32, 96, 400, 112}},
        {kUserLabel, L"Static", L"", kVisible, {46, 122, 150, 138}},
        {kUser, L"Edit", L"", edit, {155, 120, 400, 140}},
        {kPasswordLabel, L"Static", L"", kVisible, {46, 148, 150, 164}},
        {kPassword, L"Edit", L"", edit | ES_PASSWORD, {155, 146, 370, 166}},
        {kShowPassword, L"Button", L"", WS_CHILD | WS_TABSTOP, {375, 146, 400, 166}},
        {kOtherGroup, L"Button", L"", kVisible | BS_GROUPBOX, {8, 206, 412, 284}},
        {kPassiveFtp, L"Button", L"", check, {18, 224, 400, 240}},
        {kTimeoutLabel, L"Static", L"", kVisible, {18, 252, 250, 268}},
        {kTimeout, L"Edit", L"", edit | ES_NUMBER, {255, 250, 340, 270}},
        {kTimeoutSpin, L"msctls_updown32", L"", kVisible, {340, 250, 355, 270}},
        {IDOK, L"Button", L"", kVisible | WS_TABSTOP | BS_DEFPUSHBUTTON, {250, 296, 325, 320}},
        {IDCANCEL, L"Button", L"", kVisible | WS_TABSTOP, {335, 296, 410, 320}},
    };
    return dialog;
}

CDlgLanSettings::CDlgLanSettings(std::shared_ptr<NHPP::CNHPPageData> pageData, UpdaterProxyBlock block)
    : CNHPDialog(kTemplate, std::move(pageData)), m_block(std::move(block))
{
}

bool CDlgLanSettings::OnInitDialog()
{
    CNHPDialog::OnInitDialog();
    SetWindowText(ui::LoadStringW(kCaption));
    SetControlTexts({{kUseProxy, kUseProxyText},       {kDetect, kDetectText},         {kAddressLabel, kAddressText},
                     {kPortLabel, kPortText},          {kAuthenticate, kAuthenticateText}, {kUserLabel, kUserText},
                     {kPasswordLabel, kPasswordText},  {kPassiveFtp, kPassiveFtpText}, {kTimeoutLabel, kTimeoutText},
                     {kProxyGroup, kProxyGroupText},   {kOtherGroup, kOtherGroupText}, {IDOK, kOkText},
                     {IDCANCEL, kCancelText}});
    m_port.SubclassDlgItem(kPort, m_hWnd);
    m_port.SetRange(1, 65535);
    m_port.SetAllowEmpty(true);  // an empty port is refused by name on OK
    m_port.SetSpin(GetDlgItem(kPortSpin));
    m_port.LoadStored(m_block.port);  // shown as stored, even out of range: OK names it
    m_timeout.SubclassDlgItem(kTimeout, m_hWnd);
    m_timeout.SetRange(1, static_cast<std::uint32_t>(kMaxTimeout));
    m_timeout.SetSpin(GetDlgItem(kTimeoutSpin));
    m_timeout.LoadStored(m_block.timeout);
    m_password.SubclassDlgItem(kPassword, m_hWnd);
    m_password.ShowPlaceholder();  // the stored password is never shown
    ::ShowWindow(GetDlgItem(kShowPassword), SW_HIDE);

    CheckDlgButton(kUseProxy, (m_block.flags & Block::kUseProxy) ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(kDetect, (m_block.flags & Block::kDetectAutomatically) ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(kAuthenticate, (m_block.flags & Block::kAuthenticate) ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(kPassiveFtp, (m_block.flags & Block::kPassiveFtp) ? BST_CHECKED : BST_UNCHECKED);
    SetDlgItemText(kAddress, m_block.address);
    SetDlgItemText(kUser, m_block.user);
    UpdateControls();
    return true;
}

void CDlgLanSettings::UpdateControls()
{
    const bool proxy = Checked(kUseProxy);
    const bool manual = proxy && !Checked(kDetect);
    const bool account = proxy && Checked(kAuthenticate);
    for (int id : {kDetect, kAuthenticate}) ::EnableWindow(GetDlgItem(id), proxy);
    for (int id : {kAddress, kPort, kPortSpin, kAddressLabel, kPortLabel}) ::EnableWindow(GetDlgItem(id), manual);
    for (int id : {kUser, kPassword, kUserLabel, kPasswordLabel}) ::EnableWindow(GetDlgItem(id), account);
}

bool CDlgLanSettings::OnCommand(WORD id, WORD code, HWND)
{
    if (code != BN_CLICKED || (id != kUseProxy && id != kDetect && id != kAuthenticate)) return false;
    UpdateControls();
    return true;
}

bool CDlgLanSettings::AcceptsNumber(CRangeEdit& edit, int field, UINT label, std::int64_t low, std::int64_t high)
{
    if (edit.Accepts(low, high)) return true;
    std::wstring name = ui::LoadStringW(label);
    std::erase(name, L'&');
    while (!name.empty() && (name.back() == L':' || name.back() == L' ')) name.pop_back();
    ShowPluginText(m_hWnd,
                   ZRSTD::FormatW(ui::LoadStringW(kBadFieldValue), name) + L"\n" +
                       ZRSTD::FormatW(ui::LoadStringW(kAllowedRange), low, high),
                   MB_ICONERROR);
    ::SetFocus(GetDlgItem(field));
    return false;
}

void CDlgLanSettings::OnOK()
{
    const bool manual = Checked(kUseProxy) && !Checked(kDetect);
    if (manual) {
        if (ZRSTD::Trim(GetDlgItemText(kAddress)).empty()) {
            ShowPluginMessage(m_hWnd, kBadAddress, MB_ICONERROR);
            ::SetFocus(GetDlgItem(kAddress));
            return;
        }
        if (ZRSTD::Trim(GetDlgItemText(kPort)).empty()) {
            ShowPluginMessage(m_hWnd, kNoPort, MB_ICONERROR);
            ::SetFocus(GetDlgItem(kPort));
            return;
        }
        // a port stored out of range is shown as it is; it is not taken on
        if (!AcceptsNumber(m_port, kPort, kPortText, 1, 65535)) return;
    }
    if (!AcceptsNumber(m_timeout, kTimeout, kTimeoutText, 1, kMaxTimeout)) return;

    // the local-address bypass is not shown here: it stays as stored rather than being cleared unseen
    std::int32_t flags = m_block.flags & ~(Block::kUseProxy | Block::kDetectAutomatically | Block::kAuthenticate |
                                           Block::kPassiveFtp);
    if (Checked(kUseProxy)) flags |= Block::kUseProxy;
    if (Checked(kDetect)) flags |= Block::kDetectAutomatically;
    if (Checked(kAuthenticate)) flags |= Block::kAuthenticate;
    if (Checked(kPassiveFtp)) flags |= Block::kPassiveFtp;
    m_block.flags = flags;
    m_block.address = ZRSTD::Trim(GetDlgItemText(kAddress));
    // an edit the administrator could not reach keeps what it showed, even a number out of range
    if (auto port = m_port.StoredOrTyped()) m_block.port = *port;
    m_block.user = ZRSTD::Trim(GetDlgItemText(kUser));
    if (auto timeout = m_timeout.StoredOrTyped()) m_block.timeout = *timeout;
    if (!m_password.ShowsPlaceholder()) m_block.newPassword = m_password.GetWindowText();
    CNHPDialog::OnOK();
}
