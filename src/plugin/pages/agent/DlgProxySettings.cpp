#include "plugin/pages/agent/DlgProxySettings.h"

#include <algorithm>
#include <optional>

#include "controls/TextFormats.h"
#include "nhpp/PageData.h"
#include "plugin/pages/PageCommit.h"
#include "plugin/pages/PageResources.h"
#include "plugin/pages/PasswordProtection.h"
#include "plugin/pages/agent/DlgChangePassword.h"
#include "ui/CommonControls.h"
#include "zrplugin/DataSource.h"
#include "zrstd/PasswordEncoding.h"
#include "zrstd/Strings.h"

namespace {

// strings
constexpr UINT kCaption = 2032, kAddressText = 582, kPortText = 2060, kUserText = 585, kPasswordText = 586,
               kWarningText = 2613, kUseProxyText = 572, kUseAuthText = 2061, kShowPasswordText = 5843, kOkText = 12,
               kCancelText = 13, kUseProxyLabelText = 2067, kUseAuthLabelText = 2068, kInstallNoteText = 2066,
               kCloseText = 2065, kYes = 2063, kNo = 2064;
constexpr UINT kBadAddress = 2007, kBadAccount = 2324;
using pageres::kSettingsNotChanged;

constexpr std::wstring_view kHttp = L"http://";
// characters that cannot be part of a proxy host name
constexpr std::wstring_view kForbiddenInHost = L"\\/*\b;:?'~!@#$^&()=+[]{}|,<> %";
constexpr std::wstring_view kForbiddenInAccount = L"/\"[]<>:|+=;,?*@";

using Dlg = CDlgProxySettings;

}  // namespace

ProxyAddress ParseProxyAddress(std::wstring_view text, std::uint32_t defaultPort, std::wstring_view defaultScheme)
{
    ProxyAddress address{std::wstring(defaultScheme), L"", defaultPort, true};
    if (const auto scheme = text.find(L"://"); scheme != std::wstring_view::npos) {
        address.scheme = std::wstring(text.substr(0, scheme + 3));
        text.remove_prefix(scheme + 3);
    }
    const auto colon = text.find(L':');
    if (colon == std::wstring_view::npos) {
        address.host = std::wstring(text);
        return address;
    }
    const std::wstring_view port = text.substr(colon + 1);
    // a port beyond 65535 would be a different port once the agent reads it: refuse it
    std::uint32_t number = 0;
    bool good = colon != 0 && !port.empty();
    for (wchar_t c : port) {
        if (c < L'0' || c > L'9' || (number = number * 10 + static_cast<std::uint32_t>(c - L'0')) > 65535) {
            good = false;
            break;
        }
    }
    if (!good) return {std::wstring(defaultScheme), L"", 0, false};
    address.host = std::wstring(text.substr(0, colon));
    address.port = number;
    return address;
}

bool IsValidProxyHost(std::wstring_view host)
{
    if (textformat::ParseIpv4(host)) return true;
    return !host.empty() && host.find_first_of(kForbiddenInHost) == std::wstring_view::npos;
}

bool IsValidAccountName(std::wstring_view account)
{
    std::wstring_view name = account;
    if (const auto slash = account.rfind(L'\\'); slash != std::wstring_view::npos) {
        name = account.substr(slash + 1);  // DOMAIN\name
    } else if (const auto at = account.find(L'@'); at != std::wstring_view::npos) {
        name = account.substr(0, at);  // name@domain
    }
    return !name.empty() && name.find_first_of(kForbiddenInAccount) == std::wstring_view::npos;
}

ui::DialogTemplate CDlgProxySettings::EditableTemplate()
{
    ui::DialogTemplate dialog;
    dialog.id = kEditableTemplate;
    dialog.style = WS_POPUP;
    dialog.rect = {0, 0, 400, 250};
    const DWORD visible = WS_CHILD | WS_VISIBLE;
    dialog.controls = {
        {kUseProxy, L"Button", L"", visible | WS_TABSTOP | BS_AUTOCHECKBOX, {10, 10, 390, 26}},
        {kAddressLabel, L"Static", L"", visible, {25, 36, 150, 52}},
        {kAddress, L"Edit", L"", visible | WS_TABSTOP | ES_AUTOHSCROLL, {155, 34, 390, 54}},
        {kPortLabel, L"Static", L"", visible, {25, 62, 150, 78}},
        {kPort, L"Edit", L"", visible | WS_TABSTOP | ES_NUMBER, {155, 60, 220, 80}},
        {kPortSpin, L"msctls_updown32", L"", visible, {220, 60, 235, 80}},
        {kUseAuth, L"Button", L"", visible | WS_TABSTOP | BS_AUTOCHECKBOX, {25, 88, 390, 104}},
        {kCredentialsWarning, L"Static", L"", visible, {40, 108, 390, 134}},
        {kUserLabel, L"Static", L"", visible, {40, 140, 150, 156}},
        {kUser, L"Edit", L"", visible | WS_TABSTOP | ES_AUTOHSCROLL, {155, 138, 390, 158}},
        {kPasswordLabel, L"Static", L"", visible, {40, 166, 150, 182}},
        {kPassword, L"Edit", L"", visible | WS_TABSTOP | ES_PASSWORD | ES_AUTOHSCROLL, {155, 164, 355, 184}},
        {kShowPassword, L"Button", L"", WS_CHILD | WS_TABSTOP, {360, 164, 390, 184}},
        {IDOK, L"Button", L"", visible | WS_TABSTOP | BS_DEFPUSHBUTTON, {230, 215, 305, 239}},
        {IDCANCEL, L"Button", L"", visible | WS_TABSTOP, {315, 215, 390, 239}},
    };
    return dialog;
}

ui::DialogTemplate CDlgProxySettings::ReadOnlyTemplate()
{
    ui::DialogTemplate dialog;
    dialog.id = kReadOnlyTemplate;
    dialog.style = WS_POPUP;
    dialog.rect = {0, 0, 400, 250};
    const DWORD visible = WS_CHILD | WS_VISIBLE;
    dialog.controls = {
        {kInstallNote, L"Static", L"", visible, {10, 8, 390, 34}},
        {kUseProxyLabel, L"Static", L"", visible, {10, 40, 200, 56}},
        {kUseProxyAnswer, L"Static", L"", visible, {205, 40, 390, 56}},
        {kAddressLabel, L"Static", L"", visible, {25, 62, 150, 78}},
        {kAddress, L"Edit", L"", visible | ES_READONLY | ES_AUTOHSCROLL, {155, 60, 390, 80}},
        {kPortLabel, L"Static", L"", visible, {25, 88, 150, 104}},
        {kPort, L"Edit", L"", visible | ES_READONLY, {155, 86, 220, 106}},
        {kPortSpin, L"msctls_updown32", L"", WS_CHILD, {220, 86, 235, 106}},
        {kUseAuthLabel, L"Static", L"", visible, {10, 114, 200, 130}},
        {kUseAuthAnswer, L"Static", L"", visible, {205, 114, 390, 130}},
        {kCredentialsWarning, L"Static", L"", visible, {25, 136, 390, 162}},
        {kUserLabel, L"Static", L"", visible, {25, 168, 150, 184}},
        {kUser, L"Edit", L"", visible | ES_READONLY | ES_AUTOHSCROLL, {155, 166, 390, 186}},
        {kShowPassword, L"Button", L"", WS_CHILD, {360, 190, 390, 206}},
        {IDCANCEL, L"Button", L"", visible | WS_TABSTOP | BS_DEFPUSHBUTTON, {315, 215, 390, 239}},
    };
    return dialog;
}

CDlgProxySettings::CDlgProxySettings(std::shared_ptr<NHPP::CNHPPageData> pageData, NHPP::CParams& settings, Keys keys,
                                     bool readOnly)
    : CNHPDialog(readOnly ? kReadOnlyTemplate : kEditableTemplate, std::move(pageData)),
      m_settings(settings),
      m_keys(std::move(keys)),
      m_readOnly(readOnly)
{
    SetHelpTopic(kHelpTopic);
}

bool CDlgProxySettings::OnInitDialog()
{
    CNHPDialog::OnInitDialog();
    SetWindowText(ui::LoadStringW(kCaption));
    SetControlTexts({{kAddressLabel, kAddressText},
                     {kPortLabel, kPortText},
                     {kUserLabel, kUserText},
                     {kCredentialsWarning, kWarningText}});
    if (m_readOnly) {
        SetControlTexts({{kUseProxyLabel, kUseProxyLabelText},
                         {kUseAuthLabel, kUseAuthLabelText},
                         {kInstallNote, kInstallNoteText},
                         {IDCANCEL, kCloseText}});
    } else {
        SetControlTexts({{kUseProxy, kUseProxyText},
                         {kUseAuth, kUseAuthText},
                         {kPasswordLabel, kPasswordText},
                         {kShowPassword, kShowPasswordText},
                         {IDOK, kOkText},
                         {IDCANCEL, kCancelText}});
    }

    m_port.SubclassDlgItem(kPort, m_hWnd);
    m_port.SetRange(1, 65535);
    m_port.SetSpin(GetDlgItem(kPortSpin));

    NHPP::PolicyLockInfo lock;
    const bool use = m_settings.GetBoolOrDefault(m_keys.use.c_str(), false, &lock);
    m_lockedByPolicy = lock.locked;
    std::wstring location, login;
    m_settings.GetStringOrDefault(location, m_keys.location.c_str(), L"", nullptr);
    m_settings.GetStringOrDefault(login, m_keys.login.c_str(), L"", nullptr);
    const ProxyAddress address = ParseProxyAddress(location, kDefaultPort, L"");
    SetDlgItemText(kAddress, address.valid ? address.host : L"");
    m_port.SetValue(address.valid ? address.port : 0);
    SetDlgItemText(kUser, login);
    const bool auth = !login.empty();
    if (m_readOnly) {
        SetDlgItemText(kUseProxyAnswer, ui::LoadStringW(use ? kYes : kNo));
        SetDlgItemText(kUseAuthAnswer, ui::LoadStringW(auth ? kYes : kNo));
    } else {
        CheckDlgButton(kUseProxy, use ? BST_CHECKED : BST_UNCHECKED);
        CheckDlgButton(kUseAuth, auth ? BST_CHECKED : BST_UNCHECKED);
        m_password.SubclassDlgItem(kPassword, m_hWnd);
        m_showPassword.SubclassDlgItem(kShowPassword, m_hWnd);
        m_showPassword.SetEdit(kPassword);
        m_password.ShowPlaceholder();
        UpdateControls();
    }
    ::ShowWindow(GetDlgItem(kShowPassword), SW_HIDE);
    return true;
}

void CDlgProxySettings::UpdateControls()
{
    const bool editable = !m_lockedByPolicy;
    const bool proxy = editable && IsDlgButtonChecked(kUseProxy) == BST_CHECKED;
    const bool credentials = proxy && IsDlgButtonChecked(kUseAuth) == BST_CHECKED;
    ::EnableWindow(GetDlgItem(kUseProxy), editable);
    for (int id : {kAddress, kPort, kPortSpin, kAddressLabel, kPortLabel, kUseAuth})
        ::EnableWindow(GetDlgItem(id), proxy);
    for (int id : {kUser, kPassword, kUserLabel, kPasswordLabel, kShowPassword, kCredentialsWarning})
        ::EnableWindow(GetDlgItem(id), credentials);
}

bool CDlgProxySettings::OnCommand(WORD id, WORD code, HWND)
{
    if (m_readOnly || (id != kUseProxy && id != kUseAuth) || code != BN_CLICKED) return false;
    UpdateControls();
    return true;
}

bool CDlgProxySettings::Write()
{
    bool written = true;
    auto check = [&](NHPP::HResult result) {
        if (result < 0) written = false;
    };
    // the password is protected before anything is written: a refusal of
    // the service leaves the caller's settings as they were
    const bool auth = IsDlgButtonChecked(kUseAuth) == BST_CHECKED;
    const bool newPassword = auth && !m_password.ShowsPlaceholder();
    const std::wstring password = newPassword ? m_password.GetWindowText() : L"";
    ZRSTD::CAutoPtr<ZRSTD::MemoryChunk> protectedPassword;
    if (newPassword && !m_keys.protectedPassword.empty())
        protectedPassword = ProtectPassword(GetPageData() ? GetPageData()->GetDataSource() : nullptr, password);

    const bool use = IsDlgButtonChecked(kUseProxy) == BST_CHECKED;
    check(m_settings.SetBool(m_keys.use.c_str(), use, false));
    std::uint32_t port = m_port.GetValue();
    if (port < 1 || port > 65535) port = kDefaultPort;  // a location read as invalid showed 0
    ProxyAddress address = ParseProxyAddress(ZRSTD::Trim(GetDlgItemText(kAddress)), port, kHttp);
    // no host, no proxy: "http://:8080" would name none
    const std::wstring location =
        address.valid && !address.host.empty()
            ? textformat::FormatEndpoint({address.scheme, address.host, address.port, true})
            : L"";
    check(m_settings.SetString(m_keys.location.c_str(), location, false));

    if (auth) {
        check(m_settings.SetString(m_keys.login.c_str(), ZRSTD::Trim(GetDlgItemText(kUser)), false));
        if (newPassword) {
            check(m_settings.SetString(m_keys.password.c_str(), PWD_UTILS::GetEncodedPasswordString(password), false));
            if (protectedPassword)
                check(m_settings.SetBinary(m_keys.protectedPassword.c_str(), *protectedPassword, false));
        }
    } else {
        check(m_settings.SetString(m_keys.login.c_str(), L"", false));
        check(m_settings.SetString(m_keys.password.c_str(), L"", false));
        // the secret goes with the account, not only its encoded copy
        if (!m_keys.protectedPassword.empty()) check(m_settings.Remove(m_keys.protectedPassword.c_str()));
    }
    return written;
}

void CDlgProxySettings::OnOK()
{
    if (m_readOnly) return CNHPDialog::OnOK();
    if (IsDlgButtonChecked(kUseProxy) == BST_CHECKED && !IsValidProxyHost(ZRSTD::Trim(GetDlgItemText(kAddress)))) {
        ShowPluginMessage(m_hWnd, kBadAddress, MB_ICONERROR);
        ::SetFocus(GetDlgItem(kAddress));
        return;
    }
    // a disabled account box is not the administrator's to correct
    if (IsDlgButtonChecked(kUseProxy) == BST_CHECKED && IsDlgButtonChecked(kUseAuth) == BST_CHECKED &&
        !IsValidAccountName(ZRSTD::Trim(GetDlgItemText(kUser)))) {
        ShowPluginMessage(m_hWnd, kBadAccount, MB_ICONERROR);
        ::SetFocus(GetDlgItem(kUser));
        return;
    }
    bool written = false;
    std::optional<ZRERR::Error> why;
    try {
        written = Write();
    } catch (const ZRERR::Error& error) {
        ZRERR::SayFailure2(error, "CDlgProxySettings::OnOK");
        why = error;
    }
    if (!written) {
        ShowSettingsNotChanged(m_hWnd, why ? &*why : nullptr);
        return;
    }
    CNHPDialog::OnOK();
}
