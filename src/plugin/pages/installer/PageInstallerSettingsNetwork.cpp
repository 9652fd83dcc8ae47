#include "plugin/pages/installer/PageInstallerSettingsNetwork.h"

#include <filesystem>
#include <fstream>

#include "controls/PluginEnvironment.h"
#include "nhpp/PageData.h"
#include "plugin/frame/Exporter.h"
#include "plugin/pages/PageCommit.h"
#include "plugin/pages/PageResources.h"
#include "plugin/pages/agent/DlgProxySettings.h"
#include "plugin/pages/installer/DlgProxySettingsPackage.h"
#include "plugin/pages/installer/InstallerResources.h"
#include "ui/Services.h"
#include "zrpar/CertParams.h"
#include "zrpar/Render.h"
#include "zrstd/Format.h"
#include "zrstd/Strings.h"
#include "zrstd/Trace.h"

namespace {

using namespace installerres;
using pageres::kNo;
using pageres::kYes;
using Page = CPageInstallerSettingsNetwork;

// strings
constexpr UINT kAddressText = 9, kPortText = 10, kSslPortText = 11, kUseCertificateText = 569, kBrowseText = 570,
               kUseSslText = 571, kProxyLinkText = 2058, kNetBiosText = 2052, kFirewallText = 2054,
               kAgentPortText = 578, kUseUdpText = 579, kUdpPortText = 580, kCertificateFilter = 855,
               kCertificateDescription = 5880;
constexpr UINT kFirewallWarning = 2062, kBadAddress = 2014, kLocalAddress = 2010, kSamePorts = 2268,
               kNoCertificate = 2256;
// the package proxy dialog's texts, for the export
constexpr UINT kNoProxyText = 5876, kDetectOnlyText = 5877, kGivenProxyText = 5878, kProxyAddressText = 582,
               kProxyPortText = 2060, kUseAuthText = 2061, kUserText = 585;

// settings of the section "InstallerSettings"
constexpr const wchar_t* kAddressKey = L"ServerName";
constexpr const wchar_t* kPortKey = L"ServerPort";
constexpr const wchar_t* kSslPortKey = L"ServerSSLPort";
constexpr const wchar_t* kUseSslKey = L"UseSSLConnection";
constexpr const wchar_t* kCertificateKey = L"ServerCert";
constexpr const wchar_t* kNetBiosKey = L"ZRNAG_ALLOW_NETBIOS_NAME_SERVICE";
constexpr const wchar_t* kFirewallKey = L"ZRNAG_SP_OPEN_PORT_IN_WFW";
constexpr const wchar_t* kUseUdpKey = L"OpenUdpPort";
constexpr const wchar_t* kAgentPortsKey = L"Nagentports";
constexpr const wchar_t* kProxyUseKey = L"UseProxy";
constexpr const wchar_t* kProxyAddressKey = L"ProxyServerAddress";
constexpr const wchar_t* kProxyUserKey = L"ProxyServerUser";

constexpr int kProxyDetectionProperty = 9;  // the console's node offers packages proxy detection when positive

std::wstring Label(UINT id) { return frame::NormalizeTitle(ui::LoadStringW(id)); }

std::wstring ReadString(NHPP::CParams& settings, const wchar_t* key)
{
    std::wstring value;
    settings.GetStringOrDefault(value, key, L"", nullptr);
    return value;
}

// The whole text as a decimal number ("-" allowed), if it is one.
std::optional<std::int64_t> WholeNumber(std::wstring_view text)
{
    const bool negative = !text.empty() && text.front() == L'-';
    if (negative) text.remove_prefix(1);
    if (text.empty() || text.size() > 18) return std::nullopt;
    std::int64_t value = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9') return std::nullopt;
        value = value * 10 + (c - L'0');
    }
    return negative ? -value : value;
}

// UseSSLConnection: an integer flag, or the bool a new package is given.
bool ReadSsl(NHPP::CParams& settings, bool* storedAsBool)
{
    std::int32_t number = 0;
    bool flag = false;
    if (storedAsBool) *storedAsBool = false;
    if (settings.GetInt(kUseSslKey, number, nullptr) == NHPP::kOk) return number != 0;
    if (settings.GetBool(kUseSslKey, flag, nullptr) != NHPP::kOk) return false;
    if (storedAsBool) *storedAsBool = true;
    return flag;
}

// The first item of the agent's ports when it is an integer.
std::optional<std::int32_t> FirstAgentPort(NHPP::CParams& settings)
{
    ZRSTD::CAutoPtr<ZRPAR::ArrayValue> ports;
    if (settings.GetArray(kAgentPortsKey, &ports, nullptr) != NHPP::kOk || !ports || ports->GetSize() == 0) return std::nullopt;
    const ZRPAR::Value* first = ports->ItemAt(0);
    if (!first || first->GetType() != ZRPAR::VT_INT) return std::nullopt;
    return static_cast<const ZRPAR::IntValue*>(first)->GetValue();
}

void TraceSettings(NHPP::CParams& settings)
{
    ZRSTD::CAutoPtr<ZRPAR::Params> root;
    if (settings.GetRoot(&root) == NHPP::kOk && root) ZRPARLOG_LogParams2(1, ZRSTD::kTraceModule, root.Get());
}

// The file's bytes, at most one more than a certificate file may hold;
// nothing when it cannot be read (missing, a folder, no permission).
std::optional<std::vector<std::uint8_t>> ReadCertificateFile(const std::wstring& path)
{
    const std::string name = ZRSTD::ToUtf8(path);
    std::error_code error;
    if (!std::filesystem::is_regular_file(name, error)) return std::nullopt;
    std::ifstream file(name, std::ios::binary);
    if (!file) return std::nullopt;
    std::vector<std::uint8_t> bytes(ZRCERTUTIL::kMaxCertificateFileSize + 1);
    file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (file.bad()) return std::nullopt;
    bytes.resize(static_cast<std::size_t>(file.gcount()));
    return bytes;
}

void SetRange(HWND page, CRangeEdit& edit, int spin)
{
    edit.SetRange(Page::kMinPort, Page::kMaxPort);
    edit.SetAllowEmpty(true);  // an empty port is the package's default; validation decides the rest
    edit.SetSpin(::GetDlgItem(page, spin));
}

}  // namespace

std::optional<std::wstring> DescribeCertificateBytes(const ZRSTD::MemoryChunk& certificate)
{
    try {
        const std::string pem = ZRCERTUTIL::ConvertAnyX509ToPEM(certificate.GetData(), certificate.GetDataSize());
        const auto params = ZRCERTUTIL::Certificate2Params(pem);
        auto text = [&](const wchar_t* name) {
            const ZRPAR::Value* value = params->FindValue(name);
            return value && value->GetType() == ZRPAR::VT_STRING ? static_cast<const ZRPAR::StringValue*>(value)->GetValue()
                                                                  : std::wstring();
        };
        return ZRSTD::FormatInsert(ui::LoadStringW(kCertificateDescription),
                                   {text(L"CertSha1Thumbprint"), text(L"CertSubject"), text(L"CertSubjectAltNames")});
    } catch (const ZRERR::Error& error) {
        ZRERR::SayFailure2(error, "DescribeCertificateBytes", 3);
        return std::nullopt;
    }
}

std::vector<ui::ControlTemplate> CPageInstallerSettingsNetwork::Controls()
{
    const DWORD visible = WS_CHILD | WS_VISIBLE;
    return {
        {kAddressLabel, L"Static", L"", visible, {10, 12, 150, 28}},
        {kAddress, L"Edit", L"", visible | WS_TABSTOP | ES_AUTOHSCROLL, {155, 10, 430, 30}},
        {kPortLabel, L"Static", L"", visible, {10, 38, 150, 54}},
        {kPort, L"Edit", L"", visible | WS_TABSTOP | ES_NUMBER, {155, 36, 220, 56}},
        {kPortSpin, L"msctls_updown32", L"", visible, {220, 36, 235, 56}},
        {kSslPortLabel, L"Static", L"", visible, {245, 38, 360, 54}},
        {kSslPort, L"Edit", L"", visible | WS_TABSTOP | ES_NUMBER, {365, 36, 415, 56}},
        {kSslPortSpin, L"msctls_updown32", L"", visible, {415, 36, 430, 56}},
        {kUseSsl, L"Button", L"", visible | WS_TABSTOP | BS_AUTOCHECKBOX, {10, 64, 430, 80}},
        {kUseCertificate, L"Button", L"", visible | WS_TABSTOP | BS_AUTOCHECKBOX, {10, 86, 330, 102}},
        {kBrowse, L"Button", L"", visible | WS_TABSTOP, {335, 82, 430, 104}},
        {kCertificate, L"Static", L"", visible, {25, 108, 430, 156}},
        {kNetBios, L"Button", L"", WS_CHILD | WS_TABSTOP | BS_AUTOCHECKBOX, {10, 160, 430, 176}},
        {kFirewallPorts, L"Button", L"", visible | WS_TABSTOP | BS_AUTOCHECKBOX, {10, 160, 430, 176}},
        {kAgentPortGroup, L"Button", L"", visible | BS_GROUPBOX, {5, 182, 435, 240}},
        {kUseUdp, L"Button", L"", visible | WS_TABSTOP | BS_AUTOCHECKBOX, {15, 198, 425, 214}},
        {kUdpPortLabel, L"Static", L"", visible, {30, 218, 200, 234}},
        {kUdpPort, L"Edit", L"", visible | WS_TABSTOP | ES_NUMBER, {205, 216, 270, 236}},
        {kUdpPortSpin, L"msctls_updown32", L"", visible, {270, 216, 285, 236}},
        {kProxyLink, L"Static", L"", visible | WS_TABSTOP | SS_NOTIFY, {10, 250, 430, 266}},
    };
}

ui::DialogTemplate CPageInstallerSettingsNetwork::Template()
{
    ui::DialogTemplate dialog;
    dialog.id = kTemplate;
    dialog.rect = {0, 0, 440, 280};
    dialog.controls = Controls();
    return dialog;
}

CPageInstallerSettingsNetwork::CPageInstallerSettingsNetwork(std::shared_ptr<NHPP::CNHPPageData> pageData, UINT templateId)
    : CNHPPropertyPageBase(templateId, std::move(pageData))
{
}

bool CPageInstallerSettingsNetwork::OnInitDialog()
{
    CNHPPropertyPageBase::OnInitDialog();
    m_loading = true;
    SetControlTexts({{kAddressLabel, kAddressText},     {kPortLabel, kPortText},       {kSslPortLabel, kSslPortText},
                     {kUseCertificate, kUseCertificateText}, {kBrowse, kBrowseText}, {kUseSsl, kUseSslText},
                     {kNetBios, kNetBiosText},          {kFirewallPorts, kFirewallText}, {kAgentPortGroup, kAgentPortText},
                     {kUseUdp, kUseUdpText},            {kUdpPortLabel, kUdpPortText}});
    m_port.SubclassDlgItem(kPort, m_hWnd);
    m_sslPort.SubclassDlgItem(kSslPort, m_hWnd);
    m_udpPort.SubclassDlgItem(kUdpPort, m_hWnd);
    SetRange(m_hWnd, m_port, kPortSpin);
    SetRange(m_hWnd, m_sslPort, kSslPortSpin);
    SetRange(m_hWnd, m_udpPort, kUdpPortSpin);
    m_proxyLink.SubclassDlgItem(kProxyLink, m_hWnd);
    m_proxyLink.SetWindowText(ui::LoadStringW(kProxyLinkText));
    m_proxyLink.SetCommandId(kProxyCommand);
    Load();
    m_loading = false;
    return true;
}

void CPageInstallerSettingsNetwork::Load()
{
    auto settings = Provider();
    TraceSettings(*settings);
    auto check = [&](int id, bool on) { CheckDlgButton(id, on ? BST_CHECKED : BST_UNCHECKED); };
    SetDlgItemText(kAddress, ReadString(*settings, kAddressKey));
    check(kUseSsl, ReadSsl(*settings, &m_sslStoredAsBool));
    LoadPorts(*settings);

    m_certificate = nullptr;
    ZRSTD::CAutoPtr<ZRSTD::MemoryChunk> certificate;
    if (settings->GetBinary(kCertificateKey, &certificate, nullptr) == NHPP::kOk && certificate) m_certificate = certificate;
    check(kUseCertificate, m_certificate.Get() != nullptr);
    ShowCertificate();

    check(kNetBios, settings->GetBoolOrDefault(kNetBiosKey, true, nullptr));
    check(kFirewallPorts, settings->GetBoolOrDefault(kFirewallKey, true, nullptr));
    check(kUseUdp, settings->GetBoolOrDefault(kUseUdpKey, true, nullptr));
    const auto udpPort = FirstAgentPort(*settings);
    m_udpPortLoaded = udpPort.has_value();
    if (udpPort) m_udpPort.LoadStored(*udpPort);
    else m_udpPort.SetWindowText(L"");
    UpdateUdpGroup();
}

void CPageInstallerSettingsNetwork::LoadTextPort(NHPP::CParams& settings, const wchar_t* key, CRangeEdit& edit, TextPort& port)
{
    std::wstring text;
    port.stored.reset();
    if (settings.GetString(key, text, nullptr) == NHPP::kOk) port.stored = text;
    const auto number = port.stored ? WholeNumber(*port.stored) : std::nullopt;
    if (number) edit.LoadStored(*number);
    else edit.SetWindowText(L"");  // no port to show: the package's default
    port.shown = edit.GetWindowText();
}

void CPageInstallerSettingsNetwork::LoadPorts(NHPP::CParams& settings)
{
    LoadTextPort(settings, kPortKey, m_port, m_serverPort);
    LoadTextPort(settings, kSslPortKey, m_sslPort, m_serverSslPort);
}

void CPageInstallerSettingsNetwork::UpdateUdpGroup()
{
    const bool udp = IsDlgButtonChecked(kUseUdp) == BST_CHECKED;
    for (int id : {kUdpPortLabel, kUdpPort, kUdpPortSpin}) ::EnableWindow(GetDlgItem(id), udp);
}

void CPageInstallerSettingsNetwork::ShowCertificate()
{
    // the description is of the certificate the package will carry: none while the box is clear
    std::wstring text;
    if (IsDlgButtonChecked(kUseCertificate) == BST_CHECKED && m_certificate)
        text = DescribeCertificateBytes(*m_certificate).value_or(ui::LoadStringW(kUnreadableStoredCertificate));
    SetDlgItemText(kCertificate, text);
}

void CPageInstallerSettingsNetwork::BrowseCertificate()
{
    const std::wstring path = ui::PickOpenFile(m_hWnd, Label(kUseCertificateText), ui::LoadStringW(kCertificateFilter));
    if (path.empty()) return;  // cancelled
    // a file that is no certificate leaves the certificate the page holds as it is
    const auto bytes = ReadCertificateFile(path);
    if (!bytes) {
        ShowPluginText(m_hWnd, ZRSTD::FormatW(ui::LoadStringW(kUnreadableCertificateFile), path), MB_ICONERROR);
        return;
    }
    auto chosen = ZRSTD::MakeRef<ZRSTD::MemoryChunk>(bytes->size());
    std::copy(bytes->begin(), bytes->end(), chosen->GetData());
    if (bytes->empty() || !DescribeCertificateBytes(*chosen)) {
        ShowPluginText(m_hWnd, ZRSTD::FormatW(ui::LoadStringW(kNoCertificateInFile), path), MB_ICONERROR);
        return;
    }
    m_certificate = chosen;
    CheckDlgButton(kUseCertificate, BST_CHECKED);  // a chosen certificate is one to use
    ShowCertificate();
    SetModified();
}

void CPageInstallerSettingsNetwork::OpenProxySettings()
{
    const std::optional<std::int32_t> detection = GetPageData()->GetNodeProperty(kProxyDetectionProperty);
    auto settings = Provider();
    CDlgProxySettingsPackage dialog(GetPageData(), *settings, detection && *detection > 0);
    if (dialog.DoModal(m_hWnd) == IDOK) SetModified();
}

bool CPageInstallerSettingsNetwork::OnCommand(WORD id, WORD code, HWND)
{
    if (m_loading) return false;
    switch (id) {
    case kProxyCommand:
        OpenProxySettings();
        return true;
    case kBrowse:
        if (code != BN_CLICKED) return false;
        BrowseCertificate();
        return true;
    case kUseCertificate:
        if (code != BN_CLICKED) return false;
        ShowCertificate();
        break;
    case kUseUdp:
        if (code != BN_CLICKED) return false;
        UpdateUdpGroup();
        break;
    case kFirewallPorts:
        if (code != BN_CLICKED) return false;
        if (IsDlgButtonChecked(kFirewallPorts) != BST_CHECKED) ShowPluginMessage(m_hWnd, kFirewallWarning, MB_ICONINFORMATION);
        break;
    case kUseSsl:
    case kNetBios:
        if (code != BN_CLICKED) return false;
        break;
    case kAddress:
    case kPort:
    case kSslPort:
    case kUdpPort:
        if (code != EN_CHANGE) return false;
        break;
    default: return false;
    }
    SetModified();
    return true;
}

bool CPageInstallerSettingsNetwork::ValidatePorts()
{
    const struct {
        const CRangeEdit& edit;
        int id;
        UINT label;
    } ports[] = {{m_port, kPort, kPortText}, {m_sslPort, kSslPort, kSslPortText}};
    for (const auto& port : ports)
        if (!port.edit.GetWindowText().empty() && !port.edit.Accepts(kMinPort, kMaxPort))
            return ShowRangeError(port.id, 0, kMinPort, kMaxPort, port.label);
    return true;
}

bool CPageInstallerSettingsNetwork::ValidatePage()
{
    const std::wstring address = ZRSTD::Trim(GetDlgItemText(kAddress));
    if (address.empty() || ZRSTD::CompareNoCase(address, L"localhost") == 0 || address == L"127.0.0.1") {
        ShowError(address.empty() ? kBadAddress : kLocalAddress);
        ::SetFocus(GetDlgItem(kAddress));
        return false;
    }
    if (!ValidatePorts()) return false;
    const auto port = m_port.TextNumber(), sslPort = m_sslPort.TextNumber();
    if (port && sslPort && *port == *sslPort) {
        ShowError(kSamePorts);
        ::SetFocus(GetDlgItem(kSslPort));
        return false;
    }
    if (IsDlgButtonChecked(kUseCertificate) == BST_CHECKED && !m_certificate) {
        ShowError(kNoCertificate);
        ::SetFocus(GetDlgItem(kBrowse));
        return false;
    }
    // an empty UDP port leaves the package's ports as they are, unless it had one to replace
    const bool udpEmpty = m_udpPort.GetWindowText().empty();
    if (udpEmpty ? m_udpPortLoaded : !m_udpPort.Accepts(kMinPort, kMaxPort))
        return ShowRangeError(kUdpPort, 0, kMinPort, kMaxPort, kUdpPortText);
    return true;
}

bool CPageInstallerSettingsNetwork::WritePorts(NHPP::CParams& settings)
{
    bool written = true;
    const struct {
        const wchar_t* key;
        int id;
        const TextPort& port;
    } ports[] = {{kPortKey, kPort, m_serverPort}, {kSslPortKey, kSslPort, m_serverSslPort}};
    for (const auto& port : ports) {
        const std::wstring text = GetDlgItemText(port.id);
        if (text == port.port.shown) continue;  // left alone: the package keeps what it had
        written = written && settings.SetString(port.key, text, false) >= 0;
    }
    return written;
}

UINT CPageInstallerSettingsNetwork::FailureText() const { return m_bootServer ? kConnectionNotChanged : kPackageNotChanged; }

bool CPageInstallerSettingsNetwork::WriteSettings(NHPP::CParams& settings)
{
    bool written = true;
    auto check = [&](NHPP::HResult result) { written = written && result >= 0; };
    auto checked = [&](int id) { return IsDlgButtonChecked(id) == BST_CHECKED; };
    check(settings.SetString(kAddressKey, ZRSTD::Trim(GetDlgItemText(kAddress)), false));
    if (m_sslStoredAsBool) check(settings.SetBool(kUseSslKey, checked(kUseSsl), false));
    else check(settings.SetInt(kUseSslKey, checked(kUseSsl) ? 1 : 0, false));
    if (!checked(kUseCertificate)) check(settings.Remove(kCertificateKey));
    else if (m_certificate) check(settings.SetBinary(kCertificateKey, *m_certificate, false));
    else written = false;  // validation refuses a certificate box without a certificate
    check(settings.SetBool(kNetBiosKey, checked(kNetBios), false));
    check(settings.SetBool(kFirewallKey, checked(kFirewallPorts), false));
    check(settings.SetBool(kUseUdpKey, checked(kUseUdp), false));
    if (!m_udpPort.IsUntouched()) {
        if (const std::optional<std::int64_t> port = m_udpPort.StoredOrTyped()) {
            if (*port < kMinPort || *port > kMaxPort) return false;  // validation names it first
            const auto value = static_cast<std::int32_t>(*port);
            std::size_t count = 0;
            ZRSTD::CAutoPtr<ZRPAR::ArrayValue> ports;
            if (settings.GetArray(kAgentPortsKey, &ports, nullptr) != NHPP::kOk || !ports) {
                // none, or not an array: the agent's ports are this one
                auto fresh = ZRPAR::CreateArrayValue();
                fresh->Append(ZRPAR::CreateValue(value).Get());
                check(settings.SetArray(kAgentPortsKey, fresh.Get(), false));
            } else if (settings.GetArraySize(kAgentPortsKey, count) == NHPP::kOk && count > 0) {
                check(settings.ReplaceArrayItem(kAgentPortsKey, 0, value));
            } else {
                check(settings.PushbackArrayItem(kAgentPortsKey, value, nullptr));
            }
        }
    }
    TraceSettings(settings);
    return WritePorts(settings) && written;
}

bool CPageInstallerSettingsNetwork::ApplyPage()
{
    auto settings = Provider();
    bool written = false;
    try {
        written = WriteSettings(*settings);
    } catch (const ZRERR::Error& error) {
        ZRERR::SayFailure2(error, "CPageInstallerSettingsNetwork::ApplyPage");
    }
    return CommitPageSettings(m_hWnd, *settings, written, FailureText());
}

std::vector<ZRSTD::CAutoPtr<ZRPAR::Params>> CPageInstallerSettingsNetwork::Export(NHPP::CNHPPageData& pageData)
{
    PluginStateScope scope;
    auto settings = pageData.Provider();
    auto text = [](const std::wstring& value) { return ZRPAR::CreateValue(value); };
    auto yesNo = [&](bool value) { return text(ui::LoadStringW(value ? kYes : kNo)); };
    auto page = ZRPAR::CreateParams();
    page->ReplaceValue(Label(kAddressText), text(ReadString(*settings, kAddressKey)).Get());
    page->ReplaceValue(Label(kPortText), text(ReadString(*settings, kPortKey)).Get());
    page->ReplaceValue(Label(kSslPortText), text(ReadString(*settings, kSslPortKey)).Get());
    page->ReplaceValue(Label(kUseSslText), yesNo(ReadSsl(*settings, nullptr)).Get());
    ZRSTD::CAutoPtr<ZRSTD::MemoryChunk> certificate;
    if (settings->GetBinary(kCertificateKey, &certificate, nullptr) == NHPP::kOk && certificate)
        page->ReplaceValue(Label(kUseCertificateText),
                           text(DescribeCertificateBytes(*certificate).value_or(ui::LoadStringW(kUnreadableStoredCertificate))).Get());
    else
        page->ReplaceValue(Label(kUseCertificateText), yesNo(false).Get());
    page->ReplaceValue(Label(kNetBiosText), yesNo(settings->GetBoolOrDefault(kNetBiosKey, true, nullptr)).Get());
    page->ReplaceValue(Label(kFirewallText), yesNo(settings->GetBoolOrDefault(kFirewallKey, true, nullptr)).Get());
    page->ReplaceValue(Label(kUseUdpText), yesNo(settings->GetBoolOrDefault(kUseUdpKey, true, nullptr)).Get());
    const auto udpPort = FirstAgentPort(*settings);
    page->ReplaceValue(Label(kUdpPortText), text(udpPort ? std::to_wstring(*udpPort) : std::wstring()).Get());

    // the proxy, as its dialog shows it; its password never leaves the package
    const std::wstring location = ReadString(*settings, kProxyAddressKey);
    const ProxyAddress address = ParseProxyAddress(location, CDlgProxySettingsPackage::kDefaultPort, L"");
    const bool detected = address.valid && address.host == CDlgProxySettingsPackage::kDetected;
    const bool given = !detected && settings->GetBoolOrDefault(kProxyUseKey, false, nullptr);
    const std::wstring user = ReadString(*settings, kProxyUserKey);
    auto proxy = ZRPAR::CreateParams();
    proxy->ReplaceValue(Label(detected ? kDetectOnlyText : given ? kGivenProxyText : kNoProxyText), yesNo(true).Get());
    if (given && address.valid) {
        proxy->ReplaceValue(Label(kProxyAddressText), text(address.host).Get());
        proxy->ReplaceValue(Label(kProxyPortText), text(std::to_wstring(address.port)).Get());
    }
    proxy->ReplaceValue(Label(kUseAuthText), yesNo(!user.empty()).Get());
    if (!user.empty()) proxy->ReplaceValue(Label(kUserText), text(user).Get());
    page->ReplaceValue(Label(kProxyLinkText), ZRPAR::CreateValue(proxy.Get()).Get());
    return {page};
}
