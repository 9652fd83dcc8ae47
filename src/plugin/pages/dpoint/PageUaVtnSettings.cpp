#include "plugin/pages/dpoint/PageUaVtnSettings.h"

#include <optional>

#include "controls/PluginEnvironment.h"
#include "nhpp/PageData.h"
#include "plugin/frame/Exporter.h"
#include "plugin/pages/PageCommit.h"
#include "plugin/pages/PageResources.h"
#include "ui/CommonControls.h"

namespace {

using Page = CPageUaVtnSettings;

constexpr UINT kEnableText = 5885, kForwardText = 5886, kDirectText = 5887, kPortsText = 5888, kTcpPortText = 5889,
               kUdpPortText = 5890, kOpenUdpText = 5915, kUseHttpsText = 7024, kIgnoreServerProxyText = 7008;
// the export's group and method row; the switch's row is labelled with the
// switch's own text (2585, the audit page's "Включить аудит", would misname it)
constexpr UINT kGroupText = 5891, kMethodText = 5892;

constexpr const wchar_t* kSection = L"VTNPROXY_SETTINGS";
constexpr const wchar_t* kEnableKey = L"VTNPROXY_ENABLE";
constexpr const wchar_t* kForwardKey = L"VTNPROXY_USE_MASTER_VTNPROXY_AS_VTN";
constexpr const wchar_t* kIgnoreServerProxyKey = L"VTNPROXY_USE_DIRECT_CONN_PRVN";
constexpr const wchar_t* kTcpPortKey = L"VTNPROXY_TCP_PORT";
constexpr const wchar_t* kUdpPortKey = L"VTNPROXY_UDP_PORT";
constexpr const wchar_t* kUseHttpsKey = L"VTNPROXY_ENABLE_HTTPS";
constexpr const wchar_t* kHttpsPortKey = L"VTNPROXY_HTTPS_PORT";

constexpr std::int32_t kTcpPortDefault = 13111, kUdpPortDefault = 15111, kHttpsPortDefault = 17111;
constexpr std::int32_t kUdpClosed = 0;  // a UDP port of 0: no UDP port is opened

void SetRange(HWND page, CRangeEdit& edit, int spin)
{
    edit.SetRange(Page::kMinPort, Page::kMaxPort);
    edit.SetAllowEmpty(true);  // an emptied port is for validation to name
    edit.SetSpin(::GetDlgItem(page, spin));
}

// What apply writes of a port edit, if it can be written.
std::optional<std::int32_t> PortOf(const CRangeEdit& edit)
{
    const std::optional<std::int64_t> value = edit.StoredOrTyped();
    if (!value || *value < INT32_MIN || *value > INT32_MAX) return std::nullopt;
    return static_cast<std::int32_t>(*value);
}

}  // namespace

ui::DialogTemplate CPageUaVtnSettings::Template()
{
    ui::DialogTemplate dialog;
    dialog.id = kTemplate;
    dialog.rect = {0, 0, 440, 300};
    const DWORD visible = WS_CHILD | WS_VISIBLE;
    const DWORD lock = visible | WS_TABSTOP;
    const DWORD box = visible | WS_TABSTOP | BS_AUTOCHECKBOX;
    dialog.controls = {
        {kEnable, L"Button", L"", box, {10, 10, 365, 26}},
        {kEnableLock, L"Static", L"", lock, {370, 8, 435, 28}},
        {kForward, L"Button", L"", visible | WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON, {25, 40, 365, 56}},
        {kDirect, L"Button", L"", visible | BS_AUTORADIOBUTTON, {25, 62, 365, 78}},
        {kMethodLock, L"Static", L"", lock, {370, 38, 435, 58}},
        {kIgnoreServerProxy, L"Button", L"", box | WS_GROUP | BS_MULTILINE, {40, 84, 365, 112}},
        {kPortsGroup, L"Button", L"", visible | BS_GROUPBOX, {5, 120, 435, 240}},
        {kPortsLock, L"Static", L"", lock, {370, 134, 430, 154}},
        {kTcpPortLabel, L"Static", L"", visible, {15, 138, 200, 154}},
        {kTcpPort, L"Edit", L"", visible | WS_TABSTOP | ES_NUMBER, {205, 136, 270, 156}},
        {kTcpPortSpin, L"msctls_updown32", L"", visible, {270, 136, 285, 156}},
        {kOpenUdp, L"Button", L"", box, {15, 164, 360, 180}},
        {kUdpPortLabel, L"Static", L"", visible, {30, 188, 200, 204}},
        {kUdpPort, L"Edit", L"", visible | WS_TABSTOP | ES_NUMBER, {205, 186, 270, 206}},
        {kUdpPortSpin, L"msctls_updown32", L"", visible, {270, 186, 285, 206}},
        {kUseHttps, L"Button", L"", box, {15, 212, 200, 228}},
        {kHttpsPort, L"Edit", L"", visible | WS_TABSTOP | ES_NUMBER, {205, 210, 270, 230}},
        {kHttpsPortSpin, L"msctls_updown32", L"", visible, {270, 210, 285, 230}},
    };
    return dialog;
}

CPageUaVtnSettings::CPageUaVtnSettings(std::shared_ptr<NHPP::CNHPPageData> pageData)
    : CNHPPropertyPageBase(kTemplate, std::move(pageData))
{
}

bool CPageUaVtnSettings::OnInitDialog()
{
    CNHPPropertyPageBase::OnInitDialog();
    m_loading = true;
    SetControlTexts({{kEnable, kEnableText},       {kForward, kForwardText},     {kDirect, kDirectText},
                     {kIgnoreServerProxy, kIgnoreServerProxyText}, {kPortsGroup, kPortsText},
                     {kTcpPortLabel, kTcpPortText}, {kOpenUdp, kOpenUdpText},     {kUdpPortLabel, kUdpPortText},
                     {kUseHttps, kUseHttpsText}});
    m_tcpPort.SubclassDlgItem(kTcpPort, m_hWnd);
    m_udpPort.SubclassDlgItem(kUdpPort, m_hWnd);
    m_httpsPort.SubclassDlgItem(kHttpsPort, m_hWnd);
    SetRange(m_hWnd, m_tcpPort, kTcpPortSpin);
    SetRange(m_hWnd, m_udpPort, kUdpPortSpin);
    SetRange(m_hWnd, m_httpsPort, kHttpsPortSpin);
    const LockCtrlTexts lockTexts = LoadLockCtrlTexts(pageres::kLockImages, pageres::kInfoIcon);
    const struct {
        CLockCtrl* lock;
        int id;
        std::vector<int> governed;
    } locks[] = {{&m_enableLock, kEnableLock, {kEnable}},
                 {&m_methodLock, kMethodLock, {kForward, kDirect, kIgnoreServerProxy}},
                 {&m_portsLock, kPortsLock,
                  {kTcpPortLabel, kTcpPort, kTcpPortSpin, kOpenUdp, kUdpPortLabel, kUdpPort, kUdpPortSpin, kUseHttps,
                   kHttpsPort, kHttpsPortSpin}}};
    for (const auto& lock : locks) lock.lock->Attach(m_hWnd, lock.id, m_localMode, lock.governed, lockTexts);
    Load();
    UpdateControls();
    m_loading = false;
    return true;
}

void CPageUaVtnSettings::Load()
{
    auto settings = Provider(kSection);
    auto check = [&](int id, bool on) { CheckDlgButton(id, on ? BST_CHECKED : BST_UNCHECKED); };
    NHPP::PolicyLockInfo enableLock, methodLock, portsLock;
    m_enabled = dpoint::ReadBool(*settings, kEnableKey, false, &enableLock);
    check(kEnable, m_enabled.value);
    m_enableLock.SetLockState(enableLock);

    m_forward = dpoint::ReadBool(*settings, kForwardKey, true, &methodLock);
    // where requests cannot be forwarded the page shows the direct way; the
    // stored choice stays as it is until the administrator sets the method
    const bool forward = m_forward.value && GetPageData()->GetContextKind() != kDirectOnlyContext;
    check(kForward, forward);
    check(kDirect, !forward);
    m_ignoreServerProxy = dpoint::ReadBool(*settings, kIgnoreServerProxyKey, false, nullptr);
    check(kIgnoreServerProxy, m_ignoreServerProxy.value);
    m_methodLock.SetLockState(methodLock);
    m_methodTouched = false;

    m_tcpStored = dpoint::ReadInt(*settings, kTcpPortKey, kTcpPortDefault, &portsLock);
    m_tcpPort.LoadStored(m_tcpStored.value);
    // a closed UDP port shows the usual one, for when it is opened again
    m_udpStored = dpoint::ReadInt(*settings, kUdpPortKey, kUdpPortDefault, nullptr);
    check(kOpenUdp, m_udpStored.value != kUdpClosed);
    m_udpPort.LoadStored(m_udpStored.value != kUdpClosed ? m_udpStored.value : kUdpPortDefault);
    m_useHttps = dpoint::ReadBool(*settings, kUseHttpsKey, false, nullptr);
    check(kUseHttps, m_useHttps.value);
    m_httpsStored = dpoint::ReadInt(*settings, kHttpsPortKey, kHttpsPortDefault, nullptr);
    m_httpsPort.LoadStored(m_httpsStored.value);
    m_portsLock.SetLockState(portsLock);
}

void CPageUaVtnSettings::UpdateControls()
{
    auto checked = [&](int id) { return IsDlgButtonChecked(id) == BST_CHECKED; };
    auto enable = [&](std::initializer_list<int> ids, bool on) {
        for (int id : ids) ::EnableWindow(GetDlgItem(id), on);
    };
    // on one computer nothing but the switch can be changed while the proxy is off
    const bool running = !m_localMode || checked(kEnable);
    const bool method = running && !m_methodLock.IsLockedByParent();
    const bool ports = running && !m_portsLock.IsLockedByParent();
    enable({kForward}, method && GetPageData()->GetContextKind() != kDirectOnlyContext);
    enable({kDirect}, method);
    enable({kIgnoreServerProxy}, method && checked(kDirect));
    enable({kTcpPortLabel, kTcpPort, kTcpPortSpin, kOpenUdp, kUseHttps}, ports);
    enable({kUdpPortLabel, kUdpPort, kUdpPortSpin}, ports && checked(kOpenUdp));
    enable({kHttpsPort, kHttpsPortSpin}, ports && checked(kUseHttps));
}

bool CPageUaVtnSettings::OnCommand(WORD id, WORD code, HWND)
{
    if (m_loading) return false;
    switch (id) {
    case kForward:
    case kDirect:
    case kIgnoreServerProxy:
    case kMethodLock:
        if (code != BN_CLICKED) return false;
        m_methodTouched = true;
        break;
    case kEnable:
    case kEnableLock:
    case kPortsLock:
    case kOpenUdp:
    case kUseHttps:
        if (code != BN_CLICKED) return false;
        break;
    case kTcpPort:
    case kUdpPort:
    case kHttpsPort:
        if (code != EN_CHANGE) return false;
        break;
    default: return false;
    }
    SetModified();
    UpdateControls();
    return true;
}

bool CPageUaVtnSettings::ValidatePage()
{
    if (m_portsLock.IsLockedByParent()) return true;  // none of them is written
    const struct {
        const CRangeEdit& edit;
        int id;
        UINT label;
        bool used;
    } ports[] = {{m_tcpPort, kTcpPort, kTcpPortText, true},
                 {m_udpPort, kUdpPort, kUdpPortText, IsDlgButtonChecked(kOpenUdp) == BST_CHECKED},
                 {m_httpsPort, kHttpsPort, kUseHttpsText, IsDlgButtonChecked(kUseHttps) == BST_CHECKED}};
    for (const auto& port : ports)
        if (port.used && !port.edit.Accepts(kMinPort, kMaxPort))
            return ShowRangeError(port.id, 0, kMinPort, kMaxPort, port.label);
    return true;
}

bool CPageUaVtnSettings::WriteSettings(NHPP::CParams& settings)
{
    auto checked = [&](int id) { return IsDlgButtonChecked(id) == BST_CHECKED; };
    bool written = true;
    auto check = [&](NHPP::HResult result) { written = written && result >= 0; };
    auto writeBool = [&](const wchar_t* key, const KeptSetting<bool>& stored, bool shown, bool mandatory) {
        if (stored.Writes(shown)) check(settings.SetBool(key, shown, mandatory));
    };
    if (!m_enableLock.IsLockedByParent())
        writeBool(kEnableKey, m_enabled, checked(kEnable), m_enableLock.IsMandatory());
    if (!m_methodLock.IsLockedByParent()) {
        // untouched, the method goes back as stored (the page may show it otherwise, see Load)
        const bool mandatory = m_methodLock.IsMandatory();
        const bool forward = m_methodTouched ? checked(kForward) : m_forward.value;
        if (m_methodTouched || !m_forward.foreign) check(settings.SetBool(kForwardKey, forward, mandatory));
        writeBool(kIgnoreServerProxyKey, m_ignoreServerProxy, checked(kIgnoreServerProxy), mandatory);
    }
    if (!m_portsLock.IsLockedByParent()) {
        const bool mandatory = m_portsLock.IsMandatory();
        const auto tcpPort = PortOf(m_tcpPort), udpPort = PortOf(m_udpPort), httpsPort = PortOf(m_httpsPort);
        const std::optional<std::int32_t> udp = checked(kOpenUdp) ? udpPort : std::optional<std::int32_t>(kUdpClosed);
        if (!tcpPort || !udp || (!httpsPort && checked(kUseHttps))) return false;  // validation names them first
        if (!m_tcpStored.foreign || !m_tcpPort.IsUntouched())
            check(settings.SetInt(kTcpPortKey, *tcpPort, mandatory));
        if (m_udpStored.Writes(*udp)) check(settings.SetInt(kUdpPortKey, *udp, mandatory));
        writeBool(kUseHttpsKey, m_useHttps, checked(kUseHttps), mandatory);
        // an emptied port of a switched-off HTTPS stays as stored
        if (httpsPort && (!m_httpsStored.foreign || !m_httpsPort.IsUntouched()))
            check(settings.SetInt(kHttpsPortKey, *httpsPort, mandatory));
    }
    return written;
}

bool CPageUaVtnSettings::ApplyPage()
{
    auto settings = Provider(kSection);
    bool written = false;
    try {
        written = WriteSettings(*settings);
    } catch (const ZRERR::Error& error) {
        ZRERR::SayFailure2(error, "CPageUaVtnSettings::ApplyPage");
    }
    return CommitPageSettings(m_hWnd, *settings, written);
}

std::vector<ZRSTD::CAutoPtr<ZRPAR::Params>> CPageUaVtnSettings::Export(NHPP::CNHPPageData& pageData)
{
    PluginStateScope scope;
    auto settings = pageData.Provider(kSection);
    auto label = [](UINT id) { return frame::NormalizeTitle(ui::LoadStringW(id)); };
    NHPP::PolicyLockInfo enableLock, methodLock, portsLock;
    const bool enabled = settings->GetBoolOrDefault(kEnableKey, false, &enableLock);
    const bool forward = settings->GetBoolOrDefault(kForwardKey, true, &methodLock);
    const bool ignoreServerProxy = settings->GetBoolOrDefault(kIgnoreServerProxyKey, false, nullptr);
    const std::int32_t tcpPort = settings->GetIntOrDefault(kTcpPortKey, kTcpPortDefault, &portsLock);
    const std::int32_t udpPort = settings->GetIntOrDefault(kUdpPortKey, kUdpPortDefault, nullptr);
    const bool useHttps = settings->GetBoolOrDefault(kUseHttpsKey, false, nullptr);
    const std::int32_t httpsPort = settings->GetIntOrDefault(kHttpsPortKey, kHttpsPortDefault, nullptr);

    auto group = ZRPAR::CreateParams();
    frame::AddSettingNode(*group, kEnableText, frame::YesNoText(enabled), enableLock.mandatory);
    frame::AddSettingNode(*group, kMethodText, label(forward ? kForwardText : kDirectText), methodLock.mandatory);
    frame::AddSettingNode(*group, kIgnoreServerProxyText, frame::YesNoText(ignoreServerProxy), methodLock.mandatory);
    frame::AddSettingNode(*group, kTcpPortText, std::to_wstring(tcpPort), portsLock.mandatory);
    frame::AddSettingNode(*group, kOpenUdpText, frame::YesNoText(udpPort != kUdpClosed), portsLock.mandatory);
    if (udpPort != kUdpClosed) frame::AddSettingNode(*group, kUdpPortText, std::to_wstring(udpPort), portsLock.mandatory);
    frame::AddSettingNode(*group, kUseHttpsText, useHttps ? std::to_wstring(httpsPort) : frame::YesNoText(false),
                          portsLock.mandatory);
    auto page = ZRPAR::CreateParams();
    page->ReplaceValue(label(kGroupText), ZRPAR::CreateValue(group.Get()).Get());
    return {page};
}

CPageUaVtnSettingsProduct::CPageUaVtnSettingsProduct(std::shared_ptr<NHPP::CNHPPageData> pageData)
    : CPageUaVtnSettings(std::move(pageData))
{
    m_localMode = true;
}
