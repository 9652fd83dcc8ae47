#include "plugin/pages/tasks/PageTaskChangeServerGeneral.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>

#include "controls/PluginEnvironment.h"
#include "nhpp/PageData.h"
#include "plugin/frame/Exporter.h"
#include "plugin/pages/PageCommit.h"
#include "plugin/pages/agent/DlgProxySettings.h"
#include "ui/CommonControls.h"
#include "ui/Services.h"
#include "zrstd/Error.h"
#include "zrstd/Format.h"
#include "zrstd/PasswordEncoding.h"
#include "zrstd/Strings.h"
#include "zrstd/TransportAddress.h"

namespace {

using Page = CPageTaskChangeServerGeneral;

constexpr UINT kMainServerText = 9350, kVirtualServerText = 9351, kBrowseText = 9352, kUnreadableFileText = 9353;
constexpr UINT kServerAddressText = 9, kVirtualNameText = 7016, kPortText = 583, kSslPortText = 584,
               kUseProxyText = 572, kProxyText = 582, kProxyPortText = 18, kUserText = 585, kPasswordText = 586,
               kCertificateText = 587, kNoCertificateText = 16, kCertificateChosenText = 17, kTimeoutText = 7017,
               kCertificateFilter = 855, kTitleText = 581;
constexpr UINT kBadAddress = 2003, kBadProxy = 2007, kBadVirtualName = 7015;

constexpr const wchar_t* kVirtualNameKey = L"ZRNAG_VS_NAME";
constexpr const wchar_t* kAddressKey = L"ServerAddress";
constexpr const wchar_t* kPortsKey = L"Serverports";
constexpr const wchar_t* kSslPortsKey = L"ServerSslPorts";
constexpr const wchar_t* kUseProxyKey = L"ZRNAG_PROXYHOST_USE";
constexpr const wchar_t* kProxyKey = L"ZRNAG_PROXYHOST_LOCATION";
constexpr const wchar_t* kUserKey = L"ZRNAG_PROXYHOST_LOGIN";
constexpr const wchar_t* kPasswordKey = L"ZRNAG_PROXYHOST_PASSWORD";
constexpr const wchar_t* kCertificateKey = L"ZRNAG_SSL_SERVER_CERT";
constexpr const wchar_t* kTimeoutKey = L"ZRNAG_TASK_RCN_TIMEOUT";

constexpr std::int64_t kMinPort = 1, kMaxPort = 65535;
constexpr std::int64_t kMinTimeout = 1, kMaxTimeout = 86400;  // seconds
constexpr std::int64_t kMillisecondsPerSecond = 1000;
// a certificate file larger than this is no certificate
constexpr std::streamoff kMaxCertificateFile = 1 << 20;

constexpr std::wstring_view kForbiddenInName = L"\"*<>?\\/:|";

// The controls shown only for a change to another main server.
constexpr int kMainServerControls[] = {
    Page::kPortLabel,     Page::kPort,          Page::kPortSpin,       Page::kSslPortLabel,      Page::kSslPort,
    Page::kSslPortSpin,   Page::kUseProxy,      Page::kProxyLabel,     Page::kProxy,             Page::kProxyPortLabel,
    Page::kProxyPort,     Page::kProxyPortSpin, Page::kUserLabel,      Page::kUser,              Page::kPasswordLabel,
    Page::kPassword,      Page::kCertificateLabel, Page::kCertificateStatus,
    Page::kBrowseCertificate};

bool HasForbidden(std::wstring_view text) { return text.find_first_of(kForbiddenInName) != std::wstring_view::npos; }

// An address the agent can connect to: host and ports as the transport
// splits them, a host it can reach, nothing forbidden after the host.
bool IsValidServerAddress(const std::wstring& address)
{
    try {
        const ZRTR::SplitAddressResult split = ZRTR::ZRTR_SplitAddress(address);
        if (!ZRTR::IsValidHost(split.host)) return false;
        const std::size_t hostEnd = address.find(split.host) + split.host.size();
        std::wstring_view rest = std::wstring_view(address).substr(hostEnd);
        if (!rest.empty() && rest.front() == L']') rest.remove_prefix(1);
        if (!rest.empty() && rest.front() == L':') rest.remove_prefix(1);  // the ports' separator
        return !HasForbidden(rest);
    } catch (const ZRERR::Error& error) {
        ZRERR::SayFailure2(error, "CPageTaskChangeServerGeneral::ValidatePage", 3);
        return false;
    }
}

// The first item of a stored port array, if it is a port.
std::optional<std::int32_t> FirstPort(NHPP::CParams& settings, const wchar_t* key)
{
    std::int32_t port = 0;
    if (settings.GetArrayItem(key, 0, port) != NHPP::kOk) return std::nullopt;
    return port;
}

// The proxy location as the page shows it: scheme and host, and port.
struct ShownProxy {
    std::wstring host;
    std::uint32_t port = Page::kDefaultProxyPort;
};
ShownProxy SplitProxyLocation(const std::wstring& location)
{
    const ProxyAddress parsed = ParseProxyAddress(location, 0, L"");
    // a location the parser cannot split is shown whole, so that nothing of it is lost
    if (!parsed.valid) return {location, Page::kDefaultProxyPort};
    return {parsed.scheme + parsed.host, parsed.port == 0 ? Page::kDefaultProxyPort : parsed.port};
}

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::wstring& path)
{
    std::ifstream file(ZRSTD::ToUtf8(path), std::ios::binary);
    if (!file) return std::nullopt;
    file.seekg(0, std::ios::end);
    const std::streamoff size = file.tellg();
    if (size <= 0 || size > kMaxCertificateFile) return std::nullopt;
    file.seekg(0);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    if (!file.read(reinterpret_cast<char*>(bytes.data()), size)) return std::nullopt;
    return bytes;
}

bool HoldsData(const ZRSTD::CAutoPtr<ZRSTD::MemoryChunk>& chunk) { return chunk && chunk->GetDataSize() > 0; }

}  // namespace

ui::DialogTemplate CPageTaskChangeServerGeneral::Template()
{
    ui::DialogTemplate dialog;
    dialog.id = kTemplate;
    dialog.rect = {0, 0, 440, 400};
    const DWORD visible = WS_CHILD | WS_VISIBLE;
    const DWORD edit = visible | WS_TABSTOP | ES_AUTOHSCROLL;
    const DWORD number = edit | ES_NUMBER;
    dialog.controls = {
        {kMainServer, L"Button", L"", visible | WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON, {10, 10, 430, 26}},
        {kVirtualServer, L"Button", L"", visible | BS_AUTORADIOBUTTON, {10, 30, 430, 46}},
        {kAddressLabel, L"Static", L"", visible, {10, 56, 150, 72}},
        {kAddress, L"Edit", L"", edit, {155, 54, 430, 74}},
        {kPortLabel, L"Static", L"", visible, {10, 82, 150, 98}},
        {kPort, L"Edit", L"", number, {155, 80, 215, 100}},
        {kPortSpin, L"msctls_updown32", L"", visible, {215, 80, 230, 100}},
        {kSslPortLabel, L"Static", L"", visible, {240, 82, 355, 98}},
        {kSslPort, L"Edit", L"", number, {360, 80, 415, 100}},
        {kSslPortSpin, L"msctls_updown32", L"", visible, {415, 80, 430, 100}},
        {kUseProxy, L"Button", L"", visible | WS_TABSTOP | BS_AUTOCHECKBOX, {10, 110, 430, 126}},
        {kProxyLabel, L"Static", L"", visible, {25, 134, 150, 150}},
        {kProxy, L"Edit", L"", edit, {155, 132, 300, 152}},
        {kProxyPortLabel, L"Static", L"", visible, {305, 134, 355, 150}},
        {kProxyPort, L"Edit", L"", number, {360, 132, 415, 152}},
        {kProxyPortSpin, L"msctls_updown32", L"", visible, {415, 132, 430, 152}},
        {kUserLabel, L"Static", L"", visible, {25, 160, 150, 176}},
        {kUser, L"Edit", L"", edit, {155, 158, 430, 178}},
        {kPasswordLabel, L"Static", L"", visible, {25, 186, 150, 202}},
        {kPassword, L"Edit", L"", edit | ES_PASSWORD, {155, 184, 395, 204}},
        {kShowPassword, L"Button", L"", WS_CHILD | WS_TABSTOP, {400, 184, 430, 204}},
        {kCertificateLabel, L"Static", L"", visible, {10, 216, 250, 232}},
        {kCertificateStatus, L"Static", L"", visible, {25, 238, 330, 254}},
        {kBrowseCertificate, L"Button", L"", visible | WS_TABSTOP | BS_PUSHBUTTON, {335, 234, 430, 256}},
        {kTimeoutLabel, L"Static", L"", visible, {10, 270, 350, 286}},
        {kTimeout, L"Edit", L"", number, {355, 268, 415, 288}},
        {kTimeoutSpin, L"msctls_updown32", L"", visible, {415, 268, 430, 288}},
    };
    return dialog;
}

CPageTaskChangeServerGeneral::CPageTaskChangeServerGeneral(std::shared_ptr<NHPP::CNHPPageData> pageData)
    : CNHPPropertyPageBase(kTemplate, std::move(pageData))
{
}

bool CPageTaskChangeServerGeneral::OnInitDialog()
{
    CNHPPropertyPageBase::OnInitDialog();
    m_loading = true;
    SetControlTexts({{kMainServer, kMainServerText},
                     {kVirtualServer, kVirtualServerText},
                     {kPortLabel, kPortText},
                     {kSslPortLabel, kSslPortText},
                     {kUseProxy, kUseProxyText},
                     {kProxyLabel, kProxyText},
                     {kProxyPortLabel, kProxyPortText},
                     {kUserLabel, kUserText},
                     {kPasswordLabel, kPasswordText},
                     {kShowPassword, 5843},
                     {kCertificateLabel, kCertificateText},
                     {kBrowseCertificate, kBrowseText},
                     {kTimeoutLabel, kTimeoutText}});
    const struct {
        CRangeEdit& edit;
        int id, spin;
        std::int64_t low, high;
    } ranges[] = {{m_port, kPort, kPortSpin, kMinPort, kMaxPort},
                  {m_sslPort, kSslPort, kSslPortSpin, kMinPort, kMaxPort},
                  {m_proxyPort, kProxyPort, kProxyPortSpin, kMinPort, kMaxPort},
                  {m_timeout, kTimeout, kTimeoutSpin, kMinTimeout, kMaxTimeout}};
    for (const auto& range : ranges) {
        range.edit.SubclassDlgItem(range.id, m_hWnd);
        range.edit.SetRange(static_cast<std::uint32_t>(range.low), static_cast<std::uint32_t>(range.high));
        range.edit.SetSpin(GetDlgItem(range.spin));
    }
    m_password.SubclassDlgItem(kPassword, m_hWnd);
    m_showPassword.SubclassDlgItem(kShowPassword, m_hWnd);
    m_showPassword.SetEdit(kPassword);
    m_password.SetButton(kShowPassword);
    Load();
    UpdateControls();
    m_loading = false;
    return true;
}

void CPageTaskChangeServerGeneral::Load()
{
    m_settings = std::make_unique<CTaskSettings>(Provider());
    CTaskSettings& settings = *m_settings;
    const std::wstring virtualName = settings.ReadString(kVirtualNameKey, L"");
    const std::wstring address = settings.ReadString(kAddressKey, L"");
    bool virtualServer = !virtualName.empty();
    if (!virtualServer) {
        const std::optional<std::int32_t> node = GetPageData()->GetNodeProperty(kNodeKindProperty);
        virtualServer = node && *node == kVirtualServerNode;
    }
    SetDlgItemText(kAddress, virtualName.empty() ? address : virtualName);
    CheckDlgButton(kMainServer, virtualServer ? BST_UNCHECKED : BST_CHECKED);
    CheckDlgButton(kVirtualServer, virtualServer ? BST_CHECKED : BST_UNCHECKED);

    // a stored port out of range is shown as it is; validation names it
    m_storedPort = FirstPort(settings.Provider(), kPortsKey);
    m_storedSslPort = FirstPort(settings.Provider(), kSslPortsKey);
    m_port.LoadStored(m_storedPort.value_or(kDefaultPort));
    m_sslPort.LoadStored(m_storedSslPort.value_or(kDefaultSslPort));

    m_timeout.LoadStored(settings.ReadInt(kTimeoutKey, kDefaultTimeoutMs), kMillisecondsPerSecond);

    CheckDlgButton(kUseProxy, settings.ReadBool(kUseProxyKey, false) ? BST_CHECKED : BST_UNCHECKED);
    const ShownProxy proxy = SplitProxyLocation(settings.ReadString(kProxyKey, L""));
    m_shownProxyHost = proxy.host;
    m_shownProxyPort = proxy.port;
    SetDlgItemText(kProxy, proxy.host);
    m_proxyPort.LoadStored(proxy.port);
    SetDlgItemText(kUser, settings.ReadString(kUserKey, L""));
    m_password.ShowPlaceholder();  // the stored password is never read back

    m_certificate = nullptr;
    ZRSTD::CAutoPtr<ZRSTD::MemoryChunk> stored;
    if (settings.Provider().GetBinary(kCertificateKey, &stored, nullptr) == NHPP::kOk) m_certificate = stored;
    m_certificateChosen = false;
    ShowCertificateStatus();
}

void CPageTaskChangeServerGeneral::ShowCertificateStatus()
{
    SetDlgItemText(kCertificateStatus,
                   ui::LoadStringW(HoldsData(m_certificate) ? kCertificateChosenText : kNoCertificateText));
}

void CPageTaskChangeServerGeneral::UpdateControls()
{
    const bool mainServer = IsDlgButtonChecked(kMainServer) == BST_CHECKED;
    SetDlgItemText(kAddressLabel, ui::LoadStringW(mainServer ? kServerAddressText : kVirtualNameText));
    for (int id : kMainServerControls) ::ShowWindow(GetDlgItem(id), mainServer ? SW_SHOW : SW_HIDE);
    // the reveal button is for a typed password only, never for the placeholder
    ::ShowWindow(GetDlgItem(kShowPassword), mainServer && !m_password.ShowsPlaceholder() ? SW_SHOW : SW_HIDE);

    // what the policy of the task type enforces cannot be changed here
    const CTaskSettings& settings = *m_settings;
    const bool serverFree = !settings.IsLocked(kVirtualNameKey) && !settings.IsLocked(kAddressKey);
    for (int id : {kMainServer, kVirtualServer, kAddress}) ::EnableWindow(GetDlgItem(id), serverFree);
    for (int id : {kPort, kPortSpin}) ::EnableWindow(GetDlgItem(id), !settings.IsLocked(kPortsKey));
    for (int id : {kSslPort, kSslPortSpin}) ::EnableWindow(GetDlgItem(id), !settings.IsLocked(kSslPortsKey));
    ::EnableWindow(GetDlgItem(kUseProxy), !settings.IsLocked(kUseProxyKey));
    const bool proxy = IsDlgButtonChecked(kUseProxy) == BST_CHECKED;
    for (int id : {kProxy, kProxyPort, kProxyPortSpin})
        ::EnableWindow(GetDlgItem(id), proxy && !settings.IsLocked(kProxyKey));
    ::EnableWindow(GetDlgItem(kUser), proxy && !settings.IsLocked(kUserKey));
    for (int id : {kPassword, kShowPassword})
        ::EnableWindow(GetDlgItem(id), proxy && !settings.IsLocked(kPasswordKey));
    ::EnableWindow(GetDlgItem(kBrowseCertificate), !settings.IsLocked(kCertificateKey));
    for (int id : {kTimeout, kTimeoutSpin}) ::EnableWindow(GetDlgItem(id), !settings.IsLocked(kTimeoutKey));
}

void CPageTaskChangeServerGeneral::BrowseCertificate()
{
    const std::wstring path =
        ui::PickOpenFile(m_hWnd, frame::NormalizeTitle(ui::LoadStringW(kCertificateText)),
                         ui::LoadStringW(kCertificateFilter), L"cer");
    if (path.empty()) return;  // cancelled
    const auto bytes = ReadWholeFile(path);
    if (!bytes) {
        // the certificate held stays; the administrator learns why nothing changed
        ShowPluginText(m_hWnd, ZRSTD::FormatW(ui::LoadStringW(kUnreadableFileText), path), MB_ICONERROR);
        return;
    }
    auto chosen = ZRSTD::MakeRef<ZRSTD::MemoryChunk>(bytes->size());
    std::copy(bytes->begin(), bytes->end(), chosen->GetData());
    m_certificate = chosen;
    m_certificateChosen = true;
    ShowCertificateStatus();
    SetModified();
}

bool CPageTaskChangeServerGeneral::OnCommand(WORD id, WORD code, HWND)
{
    if (m_loading) return false;
    switch (id) {
    case kMainServer:
    case kVirtualServer:
    case kUseProxy:
        if (code != BN_CLICKED) return false;
        UpdateControls();
        SetModified();
        return true;
    case kBrowseCertificate:
        if (code != BN_CLICKED) return false;
        BrowseCertificate();
        return true;
    case kAddress:
    case kPort:
    case kSslPort:
    case kProxy:
    case kProxyPort:
    case kUser:
    case kPassword:
    case kTimeout:
        if (code != EN_CHANGE) return false;
        SetModified();
        return true;
    default: return false;
    }
}

bool CPageTaskChangeServerGeneral::ValidatePage()
{
    const CTaskSettings& settings = *m_settings;
    auto refuse = [&](UINT message, int field) {
        ShowError(message);
        ::SetFocus(GetDlgItem(field));
        return false;
    };
    const bool serverFree = !settings.IsLocked(kVirtualNameKey) && !settings.IsLocked(kAddressKey);
    const std::wstring text = ZRSTD::Trim(GetDlgItemText(kAddress));
    if (IsDlgButtonChecked(kVirtualServer) == BST_CHECKED) {
        if (serverFree && (text.empty() || HasForbidden(text))) return refuse(kBadVirtualName, kAddress);
        if (!m_timeout.Accepts(kMinTimeout, kMaxTimeout))
            return ShowRangeError(kTimeout, 0, kMinTimeout, kMaxTimeout, kTimeoutText);
        return true;
    }
    if (serverFree && (text.empty() || !IsValidServerAddress(text))) return refuse(kBadAddress, kAddress);
    const bool proxy = IsDlgButtonChecked(kUseProxy) == BST_CHECKED;
    if (proxy && !settings.IsLocked(kProxyKey)) {
        const std::wstring host = ZRSTD::Trim(GetDlgItemText(kProxy));
        // a location the agent could not parse would be stored empty: refused as well
        if (host.empty() || !ParseProxyAddress(host, m_proxyPort.GetValue(), L"").valid)
            return refuse(kBadProxy, kProxy);
    }
    const struct {
        const CRangeEdit& edit;
        int id;
        std::int64_t low, high;
        UINT label;
    } ranges[] = {{m_port, kPort, kMinPort, kMaxPort, kPortText},
                  {m_sslPort, kSslPort, kMinPort, kMaxPort, kSslPortText},
                  {m_proxyPort, kProxyPort, kMinPort, kMaxPort, kProxyPortText},
                  {m_timeout, kTimeout, kMinTimeout, kMaxTimeout, kTimeoutText}};
    for (const auto& range : ranges) {
        if (range.id == kProxyPort && !proxy) continue;
        if (!range.edit.Accepts(range.low, range.high))
            return ShowRangeError(range.id, 0, range.low, range.high, range.label);
    }
    return true;
}

bool CPageTaskChangeServerGeneral::WritePort(const wchar_t* key, const CRangeEdit& edit,
                                             std::optional<std::int32_t> stored)
{
    const std::optional<std::int64_t> value = edit.StoredOrTyped();
    if (!value || m_settings->IsLocked(key) || (stored && *value == *stored)) return true;
    NHPP::CParams& settings = m_settings->Provider();
    ZRSTD::CAutoPtr<ZRPAR::ArrayValue> storedPorts;
    ZRSTD::CAutoPtr<ZRPAR::ArrayValue> ports;
    if (settings.GetArray(key, &storedPorts, nullptr) == NHPP::kOk && storedPorts && storedPorts->GetSize() > 0) {
        ports = static_cast<ZRPAR::ArrayValue*>(storedPorts->CloneValue().Get());  // the ports after the first stay
    } else {
        ports = ZRPAR::CreateArrayValue(1);
    }
    ports->SetAt(0, ZRPAR::CreateValue(static_cast<std::int32_t>(*value)).Get());
    return settings.SetArray(key, ports.Get(), false) >= 0;
}

bool CPageTaskChangeServerGeneral::WriteProxyLocation()
{
    const std::wstring host = ZRSTD::Trim(GetDlgItemText(kProxy));
    const std::optional<std::int64_t> port = m_proxyPort.StoredOrTyped();
    const bool untouched = host == m_shownProxyHost && port && *port == m_shownProxyPort;
    if (untouched && m_settings->IsStored(kProxyKey)) return true;  // as stored, whatever form it has
    if (host.empty()) return m_settings->Write(kProxyKey, std::wstring());
    const ProxyAddress parsed = ParseProxyAddress(host, port ? static_cast<std::uint32_t>(*port) : 0, L"");
    // validation refuses a bad location while the proxy is used; unused, the stored one stays
    if (!parsed.valid) return true;
    return m_settings->Write(kProxyKey, ZRSTD::FormatW(L"%s%s:%u", parsed.scheme, parsed.host, parsed.port));
}

bool CPageTaskChangeServerGeneral::ApplyPage()
{
    CTaskSettings& settings = *m_settings;
    bool written = true;
    auto check = [&](bool result) { written = result && written; };
    const std::wstring text = ZRSTD::Trim(GetDlgItemText(kAddress));
    const bool serverFree = !settings.IsLocked(kVirtualNameKey) && !settings.IsLocked(kAddressKey);
    if (IsDlgButtonChecked(kVirtualServer) == BST_CHECKED) {
        if (serverFree) {
            check(settings.Write(kVirtualNameKey, text));
            check(settings.Write(kAddressKey, std::wstring()));
        }
    } else {
        if (serverFree) check(settings.Write(kAddressKey, text));
        check(WritePort(kPortsKey, m_port, m_storedPort));
        check(WritePort(kSslPortsKey, m_sslPort, m_storedSslPort));
        check(settings.Write(kUseProxyKey, IsDlgButtonChecked(kUseProxy) == BST_CHECKED));
        check(WriteProxyLocation());
        check(settings.Write(kUserKey, ZRSTD::Trim(GetDlgItemText(kUser))));
        if (!m_password.ShowsPlaceholder() && !settings.IsLocked(kPasswordKey))
            check(settings.Provider().SetString(kPasswordKey,
                                                PWD_UTILS::GetEncodedPasswordString(m_password.GetWindowText()),
                                                false) >= 0);
        if (m_certificateChosen && HoldsData(m_certificate) && !settings.IsLocked(kCertificateKey))
            check(settings.Provider().SetBinary(kCertificateKey, m_certificate.Get(), false) >= 0);
        if (serverFree) check(settings.Write(kVirtualNameKey, std::wstring()));
    }
    if (const std::optional<std::int64_t> timeout = m_timeout.StoredOrTyped();
        timeout && *timeout >= INT32_MIN && *timeout <= INT32_MAX)
        check(settings.Write(kTimeoutKey, static_cast<std::int32_t>(*timeout)));
    if (written) {
        m_certificateChosen = false;
        return true;
    }
    ShowSettingsNotChanged(m_hWnd, nullptr);
    return false;
}

std::vector<ZRSTD::CAutoPtr<ZRPAR::Params>> CPageTaskChangeServerGeneral::Export(NHPP::CNHPPageData& pageData)
{
    PluginStateScope scope;
    auto settings = pageData.Provider();
    auto rows = ZRPAR::CreateParams();
    NHPP::PolicyLockInfo lock;
    auto row = [&](UINT label, const std::wstring& text) { frame::AddSettingNode(*rows, label, text, lock.mandatory); };

    std::wstring virtualName;
    settings->GetStringOrDefault(virtualName, kVirtualNameKey, L"", &lock);
    if (!virtualName.empty()) {
        row(kVirtualNameText, virtualName);
    } else {
        std::wstring address;
        settings->GetStringOrDefault(address, kAddressKey, L"", &lock);
        row(kServerAddressText, address);
        lock = {};
        row(kPortText, std::to_wstring(FirstPort(*settings, kPortsKey).value_or(kDefaultPort)));
        row(kSslPortText, std::to_wstring(FirstPort(*settings, kSslPortsKey).value_or(kDefaultSslPort)));
        const bool proxy = settings->GetBoolOrDefault(kUseProxyKey, false, &lock);
        row(kUseProxyText, frame::YesNoText(proxy));
        std::wstring location, user;
        settings->GetStringOrDefault(location, kProxyKey, L"", &lock);
        const ShownProxy shown = SplitProxyLocation(location);
        row(kProxyText, shown.host);
        row(kProxyPortText, std::to_wstring(shown.port));
        settings->GetStringOrDefault(user, kUserKey, L"", &lock);
        row(kUserText, user);
        // the password itself never leaves the task: only whether one is set
        std::wstring password;
        const bool hasPassword = settings->GetString(kPasswordKey, password, &lock) == NHPP::kOk && !password.empty();
        row(kPasswordText, hasPassword ? CPasswordEdit::kStoredPasswordPlaceholder : L"");
        ZRSTD::CAutoPtr<ZRSTD::MemoryChunk> certificate;
        lock = {};
        settings->GetBinary(kCertificateKey, &certificate, &lock);
        row(kCertificateText, ui::LoadStringW(HoldsData(certificate) ? kCertificateChosenText : kNoCertificateText));
    }
    const std::int32_t timeout = settings->GetIntOrDefault(kTimeoutKey, kDefaultTimeoutMs, &lock);
    row(kTimeoutText, std::to_wstring(timeout / kMillisecondsPerSecond));

    auto page = ZRPAR::CreateParams();
    page->AddValue(frame::NormalizeTitle(ui::LoadStringW(kTitleText)), ZRPAR::CreateValue(rows.Get()).Get());
    return {page};
}
