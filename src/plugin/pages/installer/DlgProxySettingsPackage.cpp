#include "plugin/pages/installer/DlgProxySettingsPackage.h"

#include "controls/TextFormats.h"
#include "nhpp/PageData.h"
#include "plugin/pages/PasswordProtection.h"
#include "plugin/pages/agent/DlgProxySettings.h"
#include "plugin/pages/installer/InstallerResources.h"
#include "zrstd/Format.h"
#include "zrstd/PasswordEncoding.h"
#include "zrstd/Strings.h"

namespace {

using Dlg = CDlgProxySettingsPackage;

// strings
constexpr UINT kCaption = 2032, kAddressText = 582, kPortText = 2060, kUserText = 585, kWarningText = 2613,
               kNoProxyText = 5876, kDetectOnlyText = 5877, kGivenProxyText = 5878, kUseAuthText = 2061,
               kPasswordText = 586, kShowPasswordText = 5843, kOkText = 12, kCancelText = 13;
constexpr UINT kBadAddress = 2007, kBadAccount = 2324, kAllowedRange = 9012, kBadFieldValue = 9013;

// settings of the section "InstallerSettings"
constexpr const wchar_t* kUseKey = L"UseProxy";
constexpr const wchar_t* kAddressKey = L"ProxyServerAddress";
constexpr const wchar_t* kUserKey = L"ProxyServerUser";
constexpr const wchar_t* kPasswordKey = L"ProxyServerPassword";
constexpr const wchar_t* kProtectedPasswordKey = L"ProxyServerPasswordEncrypted";

constexpr std::wstring_view kHttp = L"http://";
constexpr std::uint32_t kMinPort = 1, kMaxPort = 65535;

}  // namespace

ui::DialogTemplate CDlgProxySettingsPackage::Template(bool withDetection)
{
    ui::DialogTemplate dialog;
    dialog.id = withDetection ? kTemplate : kTemplateWithoutDetection;
    dialog.style = WS_POPUP;
    dialog.rect = {0, 0, 420, 300};
    const DWORD visible = WS_CHILD | WS_VISIBLE;
    const DWORD detection = withDetection ? visible : WS_CHILD | WS_DISABLED;
    dialog.controls = {
        {kNoProxy, L"Button", L"", visible | WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON, {10, 10, 410, 26}},
        {kDetectOnly, L"Button", L"", detection | BS_AUTORADIOBUTTON, {10, 32, 410, 48}},
        {kGivenProxy, L"Button", L"", visible | BS_AUTORADIOBUTTON, {10, 54, 410, 70}},
        {kAddressLabel, L"Static", L"", visible | WS_GROUP, {30, 80, 160, 96}},
        {kAddress, L"Edit", L"", visible | WS_TABSTOP | ES_AUTOHSCROLL, {165, 78, 410, 98}},
        {kPortLabel, L"Static", L"", visible, {30, 106, 160, 122}},
        {kPort, L"Edit", L"", visible | WS_TABSTOP | ES_NUMBER, {165, 104, 230, 124}},
        {kPortSpin, L"msctls_updown32", L"", visible, {230, 104, 245, 124}},
        {kUseAuth, L"Button", L"", visible | WS_TABSTOP | BS_AUTOCHECKBOX, {10, 136, 410, 152}},
        {kCredentialsWarning, L"Static", L"", visible, {30, 156, 410, 182}},
        {kUserLabel, L"Static", L"", visible, {30, 188, 160, 204}},
        {kUser, L"Edit", L"", visible | WS_TABSTOP | ES_AUTOHSCROLL, {165, 186, 410, 206}},
        {kPasswordLabel, L"Static", L"", visible, {30, 214, 160, 230}},
        {kPassword, L"Edit", L"", visible | WS_TABSTOP | ES_PASSWORD | ES_AUTOHSCROLL, {165, 212, 310, 232}},
        {kShowPassword, L"Button", L"", visible | WS_TABSTOP, {315, 212, 410, 232}},
        {IDOK, L"Button", L"", visible | WS_TABSTOP | BS_DEFPUSHBUTTON, {250, 266, 325, 290}},
        {IDCANCEL, L"Button", L"", visible | WS_TABSTOP, {335, 266, 410, 290}},
    };
    return dialog;
}

CDlgProxySettingsPackage::CDlgProxySettingsPackage(std::shared_ptr<NHPP::CNHPPageData> pageData, NHPP::CParams& settings,
                                                   bool withDetection)
    : CNHPDialog(withDetection ? kTemplate : kTemplateWithoutDetection, std::move(pageData)), m_settings(settings)
{
    SetHelpTopic(kHelpTopic);
}

bool CDlgProxySettingsPackage::OnInitDialog()
{
    CNHPDialog::OnInitDialog();
    SetWindowText(ui::LoadStringW(kCaption));
    SetControlTexts({{kAddressLabel, kAddressText},
                     {kPortLabel, kPortText},
                     {kUserLabel, kUserText},
                     {kCredentialsWarning, kWarningText},
                     {kNoProxy, kNoProxyText},
                     {kDetectOnly, kDetectOnlyText},
                     {kGivenProxy, kGivenProxyText},
                     {kUseAuth, kUseAuthText},
                     {kPasswordLabel, kPasswordText},
                     {kShowPassword, kShowPasswordText},
                     {IDOK, kOkText},
                     {IDCANCEL, kCancelText}});
    m_port.SubclassDlgItem(kPort, m_hWnd);
    m_port.SetRange(kMinPort, kMaxPort);
    m_port.SetAllowEmpty(true);  // a cleared port is refused by OK, naming the range
    m_port.SetSpin(GetDlgItem(kPortSpin));
    m_password.SubclassDlgItem(kPassword, m_hWnd);
    m_showPassword.SubclassDlgItem(kShowPassword, m_hWnd);
    m_showPassword.SetEdit(kPassword);
    m_password.SetButton(kShowPassword);

    std::wstring location, user;
    m_settings.GetStringOrDefault(location, kAddressKey, L"", nullptr);
    m_settings.GetStringOrDefault(user, kUserKey, L"", nullptr);
    const ProxyAddress address = ParseProxyAddress(location, kDefaultPort, L"");
    m_scheme = address.valid && !address.scheme.empty() ? address.scheme : std::wstring(kHttp);
    if (address.valid && address.host == kDetected) {
        Choose(kDetectOnly);
    } else {
        Choose(m_settings.GetBoolOrDefault(kUseKey, false, nullptr) ? kGivenProxy : kNoProxy);
        SetDlgItemText(kAddress, address.valid ? address.host : L"");
    }
    m_port.LoadStored(address.valid ? address.port : 0);  // 0: the location did not parse
    SetDlgItemText(kUser, user);
    CheckDlgButton(kUseAuth, user.empty() ? BST_UNCHECKED : BST_CHECKED);
    m_password.ShowPlaceholder();
    UpdateControls();
    return true;
}

void CDlgProxySettingsPackage::Choose(int choice)
{
    for (int id : {kNoProxy, kDetectOnly, kGivenProxy}) CheckDlgButton(id, id == choice ? BST_CHECKED : BST_UNCHECKED);
    UpdateControls();
}

void CDlgProxySettingsPackage::UpdateControls()
{
    // a detected proxy may ask for an account as well as a given one
    const bool given = Checked(kGivenProxy);
    const bool account = given || Checked(kDetectOnly);
    for (int id : {kAddressLabel, kAddress, kPortLabel, kPort, kPortSpin}) ::EnableWindow(GetDlgItem(id), given);
    ::EnableWindow(GetDlgItem(kUseAuth), account);
    const bool credentials = account && Checked(kUseAuth);
    for (int id : {kCredentialsWarning, kUserLabel, kUser, kPasswordLabel, kPassword, kShowPassword})
        ::EnableWindow(GetDlgItem(id), credentials);
}

bool CDlgProxySettingsPackage::OnCommand(WORD id, WORD code, HWND)
{
    if (code != BN_CLICKED || (id != kNoProxy && id != kDetectOnly && id != kGivenProxy && id != kUseAuth)) return false;
    UpdateControls();
    return true;
}

bool CDlgProxySettingsPackage::Write()
{
    bool written = true;
    auto check = [&](NHPP::HResult result) { written = written && result >= 0; };
    // the password is protected before anything is written: a refusal of
    // the service leaves the package's settings as they were
    const bool auth = Checked(kUseAuth);
    const bool newPassword = auth && !m_password.ShowsPlaceholder();
    const std::wstring password = newPassword ? m_password.GetWindowText() : L"";
    ZRSTD::CAutoPtr<ZRSTD::MemoryChunk> protectedPassword;
    if (newPassword) protectedPassword = ProtectPassword(GetPageData() ? GetPageData()->GetDataSource() : nullptr, password);

    check(m_settings.SetBool(kUseKey, !Checked(kNoProxy), false));
    std::wstring location = kDetected;
    if (!Checked(kDetectOnly)) {
        const std::wstring host = ZRSTD::Trim(GetDlgItemText(kAddress));
        const std::optional<std::int64_t> typed = m_port.StoredOrTyped();
        const auto port = typed && *typed >= kMinPort && *typed <= kMaxPort ? static_cast<std::uint32_t>(*typed) : kDefaultPort;
        location = host.empty() ? L"" : textformat::FormatEndpoint({m_scheme, host, port, true});
    }
    check(m_settings.SetString(kAddressKey, location, false));
    if (auth) {
        check(m_settings.SetString(kUserKey, ZRSTD::Trim(GetDlgItemText(kUser)), false));
        if (newPassword) {
            check(m_settings.SetString(kPasswordKey, PWD_UTILS::GetEncodedPasswordString(password), false));
            check(m_settings.SetBinary(kProtectedPasswordKey, *protectedPassword, false));
        }
    } else {
        // the secret goes with the account, in both of its forms
        check(m_settings.SetString(kUserKey, L"", false));
        check(m_settings.SetString(kPasswordKey, L"", false));
        check(m_settings.SetBinary(kProtectedPasswordKey, *ZRSTD::MakeRef<ZRSTD::MemoryChunk>(), false));
    }
    return written;
}

void CDlgProxySettingsPackage::OnOK()
{
    if (Checked(kGivenProxy)) {
        if (!IsValidProxyHost(ZRSTD::Trim(GetDlgItemText(kAddress)))) {
            ShowPluginMessage(m_hWnd, kBadAddress, MB_ICONERROR);
            ::SetFocus(GetDlgItem(kAddress));
            return;
        }
        if (!m_port.Accepts(kMinPort, kMaxPort)) {
            std::wstring label = ui::LoadStringW(kPortText);
            std::erase(label, L'&');
            while (!label.empty() && (label.back() == L':' || label.back() == L' ')) label.pop_back();
            ShowPluginText(m_hWnd,
                           ZRSTD::FormatW(ui::LoadStringW(kBadFieldValue), label) + L"\n" +
                               ZRSTD::FormatW(ui::LoadStringW(kAllowedRange), static_cast<std::int64_t>(kMinPort),
                                              static_cast<std::int64_t>(kMaxPort)),
                           MB_ICONERROR);
            ::SetFocus(GetDlgItem(kPort));
            return;
        }
    }
    // an account box the administrator cannot reach is not theirs to correct
    if (::IsWindowEnabled(GetDlgItem(kUseAuth)) && Checked(kUseAuth) && !IsValidAccountName(ZRSTD::Trim(GetDlgItemText(kUser)))) {
        ShowPluginMessage(m_hWnd, kBadAccount, MB_ICONERROR);
        ::SetFocus(GetDlgItem(kUser));
        return;
    }
    bool written = false;
    try {
        written = Write();
    } catch (const ZRERR::Error& error) {
        ZRERR::SayFailure2(error, "CDlgProxySettingsPackage::OnOK");
    }
    if (!written) {
        ShowPluginMessage(m_hWnd, installerres::kPackageNotChanged, MB_ICONERROR);
        return;
    }
    CNHPDialog::OnOK();
}
