#include "plugin/pages/agent/PageNetworkSettings.h"

#include <algorithm>
#include <optional>

#include "controls/PluginEnvironment.h"
#include "nhpp/PageData.h"
#include "plugin/frame/Exporter.h"
#include "plugin/pages/PageCommit.h"
#include "plugin/pages/PageResources.h"
#include "plugin/pages/agent/DlgProxySettings.h"
#include "ui/CommonControls.h"
#include "zrstd/Format.h"
#include "zrstd/Trace.h"

namespace {

using pageres::kInfoIcon;
using pageres::kLockImages;
using pageres::kNo;
using pageres::kYes;

constexpr UINT kConnectionText = 8, kPeriodText = 556, kUseSslText = 571, kCompressText = 577, kUseUdpText = 579,
               kUdpPortText = 580, kFirewallText = 2054, kForcedText = 7018, kGatewayText = 2544;
constexpr UINT kFirewallWarning = 2062, kBadPort = 2016, kBadPeriod = 2008;
constexpr UINT kProxyLinkText = 2058, kConnectedWithSsl = 2, kConnectedWithoutSsl = 3;

constexpr const wchar_t* kUseSslKey = L"UseSsl";
constexpr const wchar_t* kCompressKey = L"ZRNAG_COMPRESS_TRAFFIC";
constexpr const wchar_t* kPeriodKey = L"ServerPingTimeout";
constexpr const wchar_t* kGatewayOnlyInProfilesKey = L"ZRNAG_USE_CGW_ONLY_IN_PROFILES";
constexpr const wchar_t* kFirewallKey = L"ZRNAG_SP_OPEN_PORT_IN_WFW";
constexpr const wchar_t* kUseUdpKey = L"OpenUdpPort";
constexpr const wchar_t* kPortsKey = L"Nagentports";
constexpr const wchar_t* kForcedKey = L"ZRNAG_PS_CLIENT_ENABLED";

constexpr std::int32_t kPeriodDefault = 900000;      // milliseconds
constexpr std::int32_t kMillisecondsPerMinute = 60000;
constexpr std::int32_t kPortDefault = 15000;
constexpr std::uint32_t kPeriodMax = 2147483647u, kPortMax = 65535u;
// the most minutes whose milliseconds fit the 32-bit setting
constexpr std::int64_t kPeriodMaxStorable = INT32_MAX / kMillisecondsPerMinute;
constexpr std::int32_t kFirstServerWithForcedConnection = 0xD0001;
constexpr std::int32_t kForcedConnectionLimit = 100;

// The first element of an integer array setting (a plain array of integers
// in every form), when there is one.
std::optional<std::int32_t> FirstInt(NHPP::CParams& provider, const wchar_t* key)
{
    ZRSTD::CAutoPtr<ZRPAR::ArrayValue> array;
    if (provider.GetArray(key, &array, nullptr) != NHPP::kOk || array->GetSize() == 0) return std::nullopt;
    const ZRPAR::Value* first = array->ItemAt(0);
    if (!first || first->GetType() != ZRPAR::VT_INT) return std::nullopt;
    return static_cast<const ZRPAR::IntValue*>(first)->GetValue();
}

void SetRange(HWND page, CRangeEdit& edit, int spin, std::uint32_t high)
{
    edit.SetRange(1, high);
    edit.SetAllowEmpty(true);  // an empty edit is for validation to refuse, with its message
    edit.SetSpin(::GetDlgItem(page, spin));
}

std::vector<ui::ControlTemplate> CommonControls()
{
    const DWORD visible = WS_CHILD | WS_VISIBLE;
    using Page = CPageNetworkSettingsBase;
    return {
        {Page::kConnectionGroup, L"Button", L"", visible | BS_GROUPBOX, {5, 5, 435, 170}},
        {Page::kConnectionLock, L"Static", L"", visible | WS_TABSTOP, {375, 15, 430, 35}},
        {Page::kPeriodLabel, L"Static", L"", visible, {15, 25, 250, 41}},
        {Page::kPeriod, L"Edit", L"", visible | WS_TABSTOP | ES_NUMBER, {255, 23, 330, 43}},
        {Page::kPeriodSpin, L"msctls_updown32", L"", visible, {330, 23, 345, 43}},
        {Page::kUseSsl, L"Button", L"", visible | WS_TABSTOP | BS_AUTOCHECKBOX, {15, 50, 370, 66}},
        {Page::kCompress, L"Button", L"", visible | WS_TABSTOP | BS_AUTOCHECKBOX, {15, 72, 370, 88}},
        {Page::kFirewallPorts, L"Button", L"", visible | WS_TABSTOP | BS_AUTOCHECKBOX, {15, 94, 370, 110}},
        {Page::kGatewayInDefaults, L"Button", L"", visible | WS_TABSTOP | BS_AUTOCHECKBOX, {15, 116, 370, 148}},
        {Page::kUseUdp, L"Button", L"", visible | WS_TABSTOP | BS_AUTOCHECKBOX, {15, 180, 250, 196}},
        {Page::kUdpLock, L"Static", L"", visible | WS_TABSTOP, {375, 178, 430, 198}},
        {Page::kUdpPortLabel, L"Static", L"", visible, {30, 204, 250, 220}},
        {Page::kUdpPort, L"Edit", L"", visible | WS_TABSTOP | ES_NUMBER, {255, 202, 330, 222}},
        {Page::kUdpPortSpin, L"msctls_updown32", L"", visible, {330, 202, 345, 222}},
        {Page::kForcedGroup, L"Button", L"", visible | BS_GROUPBOX, {5, 230, 435, 270}},
        {Page::kForcedConnection, L"Button", L"", visible | WS_TABSTOP | BS_AUTOCHECKBOX, {15, 245, 370, 261}},
        {Page::kForcedLock, L"Static", L"", visible | WS_TABSTOP, {375, 243, 430, 263}},
    };
}

}  // namespace

ui::DialogTemplate CPageNetworkSettingsBase::Template()
{
    ui::DialogTemplate dialog;
    dialog.id = kTemplate;
    dialog.rect = {0, 0, 440, 280};
    dialog.controls = CommonControls();
    return dialog;
}

ui::DialogTemplate CPageNetworkSettingsProduct::Template()
{
    ui::DialogTemplate dialog;
    dialog.id = kTemplate;
    dialog.rect = {0, 0, 440, 330};
    dialog.controls = CommonControls();
    dialog.controls.push_back({kConnectedTo, L"Edit", L"", WS_CHILD | WS_VISIBLE | ES_READONLY | ES_MULTILINE, {5, 280, 435, 305}});
    dialog.controls.push_back({kProxyLink, L"Static", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | SS_NOTIFY, {5, 310, 435, 326}});
    return dialog;
}

CPageNetworkSettingsBase::CPageNetworkSettingsBase(std::shared_ptr<NHPP::CNHPPageData> pageData, UINT templateId)
    : CNHPPropertyPageBase(templateId, std::move(pageData))
{
}

bool CPageNetworkSettingsBase::OnInitDialog()
{
    CNHPPropertyPageBase::OnInitDialog();
    m_loading = true;
    SetControlTexts({{kConnectionGroup, kConnectionText}, {kPeriodLabel, kPeriodText}, {kUseSsl, kUseSslText},
                    {kCompress, kCompressText},          {kUseUdp, kUseUdpText},      {kUdpPortLabel, kUdpPortText},
                    {kFirewallPorts, kFirewallText},     {kForcedConnection, kForcedText},
                    {kGatewayInDefaults, kGatewayText}});
    m_period.SubclassDlgItem(kPeriod, m_hWnd);
    m_udpPort.SubclassDlgItem(kUdpPort, m_hWnd);
    SetRange(m_hWnd, m_udpPort, kUdpPortSpin, kPortMax);
    SetRange(m_hWnd, m_period, kPeriodSpin, kPeriodMax);
    const LockCtrlTexts lockTexts = LoadLockCtrlTexts(kLockImages, kInfoIcon);
    const struct {
        CLockCtrl* lock;
        int id;
        std::vector<int> governed;
    } locks[] = {{&m_connectionLock, kConnectionLock, {kPeriod, kPeriodSpin, kUseSsl, kCompress, kFirewallPorts, kGatewayInDefaults}},
                 {&m_udpLock, kUdpLock, {kUseUdp, kUdpPortSpin, kUdpPort}},
                 {&m_forcedLock, kForcedLock, {kForcedConnection}}};
    for (const auto& lock : locks) lock.lock->Attach(m_hWnd, lock.id, m_localMode, lock.governed, lockTexts);
    Load();
    m_loading = false;
    return true;
}

bool CPageNetworkSettingsBase::IsForcedConnectionOffered() const
{
    if (GetPageData()->GetServerVersionId() < kFirstServerWithForcedConnection) return false;
    auto limits = ZRPlugin::GetDataSourceItem<ZRPlugin::ILimits>(GetPageData()->GetDataSource(), L"ZRLIM::Limits");
    return limits && limits->GetLimit(kForcedConnectionLimit) != 0;
}

void CPageNetworkSettingsBase::Load()
{
    auto root = Provider();
    auto check = [&](int id, bool on) { CheckDlgButton(id, on ? BST_CHECKED : BST_UNCHECKED); };
    NHPP::PolicyLockInfo connection;
    check(kUseSsl, root->GetBoolOrDefault(kUseSslKey, true, &connection));
    m_connectionLock.SetLockState(connection);
    check(kCompress, root->GetBoolOrDefault(kCompressKey, true, nullptr));
    m_period.LoadStored(root->GetIntOrDefault(kPeriodKey, kPeriodDefault, nullptr), kMillisecondsPerMinute);

    NHPP::PolicyLockInfo udp;
    check(kUseUdp, root->GetBoolOrDefault(kUseUdpKey, false, &udp));
    m_udpLock.SetLockState(udp);
    UpdateUdpGroup();
    check(kGatewayInDefaults, !root->GetBoolOrDefault(kGatewayOnlyInProfilesKey, false, nullptr));
    check(kFirewallPorts, root->GetBoolOrDefault(kFirewallKey, true, nullptr));
    m_udpPort.LoadStored(FirstInt(*root, kPortsKey).value_or(kPortDefault));

    const bool offered = IsForcedConnectionOffered();
    for (int id : {kForcedGroup, kForcedLock, kForcedConnection}) ::ShowWindow(GetDlgItem(id), offered ? SW_SHOW : SW_HIDE);
    NHPP::PolicyLockInfo forced;
    check(kForcedConnection, root->GetBoolOrDefault(kForcedKey, false, &forced));
    m_forcedLock.SetLockState(forced);
}

void CPageNetworkSettingsBase::UpdateUdpGroup()
{
    const bool enabled = IsDlgButtonChecked(kUseUdp) == BST_CHECKED && !m_udpLock.IsLockedByParent();
    for (int id : {kUdpPort, kUdpPortLabel}) ::EnableWindow(GetDlgItem(id), enabled);
}

bool CPageNetworkSettingsBase::OnCommand(WORD id, WORD code, HWND)
{
    if (m_loading) return false;
    switch (id) {
    case kUseUdp:
        if (code != BN_CLICKED) return false;
        UpdateUdpGroup();
        break;
    case kFirewallPorts:
        if (code != BN_CLICKED) return false;
        if (IsDlgButtonChecked(kFirewallPorts) != BST_CHECKED) ShowPluginMessage(m_hWnd, kFirewallWarning, MB_ICONINFORMATION);
        break;
    case kUdpPort:
    case kPeriod:
        if (code != EN_CHANGE) return false;
        break;
    case kConnectionLock:
    case kUdpLock:
    case kForcedLock:
    case kUseSsl:
    case kCompress:
    case kGatewayInDefaults:
    case kForcedConnection:
        if (code != BN_CLICKED) return false;
        break;
    default: return false;
    }
    SetModified();
    return true;
}

bool CPageNetworkSettingsBase::ValidatePage()
{
    // values a parent policy enforces are not written, so not the administrator's to correct
    if (!m_udpLock.IsLockedByParent() && !m_udpPort.Accepts(1, kPortMax))
        return ShowRangeError(kUdpPort, kBadPort, 1, kPortMax);
    if (!m_connectionLock.IsLockedByParent() && !m_period.Accepts(1, kPeriodMaxStorable))
        return ShowRangeError(kPeriod, kBadPeriod, 1, kPeriodMaxStorable);
    return true;
}

bool CPageNetworkSettingsBase::ApplyPage()
{
    auto root = Provider();
    auto checked = [&](int id) { return IsDlgButtonChecked(id) == BST_CHECKED; };
    // what apply writes of an edit: the stored number while untouched, else the typed one
    auto int32Of = [](const CRangeEdit& edit) -> std::optional<std::int32_t> {
        const std::optional<std::int64_t> value = edit.StoredOrTyped();
        if (!value || *value < INT32_MIN || *value > INT32_MAX) return std::nullopt;
        return static_cast<std::int32_t>(*value);
    };
    bool written = true;
    auto check = [&](NHPP::HResult result) { written = written && result >= 0; };
    if (!m_connectionLock.IsLockedByParent()) {
        const bool mandatory = m_connectionLock.IsMandatory();
        const std::optional<std::int32_t> milliseconds = int32Of(m_period);
        if (!milliseconds) return ShowRangeError(kPeriod, kBadPeriod, 1, kPeriodMaxStorable);
        check(root->SetBool(kUseSslKey, checked(kUseSsl), mandatory));
        check(root->SetBool(kCompressKey, checked(kCompress), mandatory));
        check(root->SetBool(kGatewayOnlyInProfilesKey, !checked(kGatewayInDefaults), mandatory));
        check(root->SetBool(kFirewallKey, checked(kFirewallPorts), mandatory));
        check(root->SetInt(kPeriodKey, *milliseconds, mandatory));
    }
    if (!m_udpLock.IsLockedByParent()) {
        const bool mandatory = m_udpLock.IsMandatory();
        const std::optional<std::int32_t> port = int32Of(m_udpPort);
        if (!port) return ShowRangeError(kUdpPort, kBadPort, 1, kPortMax);
        check(root->SetBool(kUseUdpKey, checked(kUseUdp), mandatory));
        auto ports = ZRPAR::CreateArrayValue();
        ports->Append(ZRPAR::CreateValue(*port).Get());
        check(root->SetArray(kPortsKey, ports.Get(), mandatory));
    }
    if (!m_forcedLock.IsLockedByParent())
        check(root->SetBool(kForcedKey, checked(kForcedConnection), m_forcedLock.IsMandatory()));
    return CommitPageSettings(m_hWnd, *root, written);
}

std::vector<ZRSTD::CAutoPtr<ZRPAR::Params>> CPageNetworkSettingsBase::Export(NHPP::CNHPPageData& pageData)
{
    PluginStateScope scope;
    auto root = pageData.Provider();
    auto label = [](UINT id) { return frame::NormalizeTitle(ui::LoadStringW(id)); };
    auto yesNo = [](bool value) { return ZRPAR::CreateValue(ui::LoadStringW(value ? kYes : kNo)); };
    auto number = [](std::int64_t value) { return ZRPAR::CreateValue(ZRSTD::FormatW(L"%lld", static_cast<long long>(value))); };

    NHPP::PolicyLockInfo connectionLock, forcedLock, udpLock;
    const bool ssl = root->GetBoolOrDefault(kUseSslKey, true, &connectionLock);
    const std::int32_t period = root->GetIntOrDefault(kPeriodKey, kPeriodDefault, nullptr);
    auto connection = ZRPAR::CreateParams();
    connection->ReplaceValue(label(kPeriodText), number(period / kMillisecondsPerMinute).Get());
    connection->ReplaceValue(label(kCompressText), yesNo(root->GetBoolOrDefault(kCompressKey, true, nullptr)).Get());
    connection->ReplaceValue(label(kFirewallText), yesNo(root->GetBoolOrDefault(kFirewallKey, true, nullptr)).Get());
    connection->ReplaceValue(label(kUseSslText), yesNo(ssl).Get());
    connection->ReplaceValue(label(kGatewayText),
                             yesNo(!root->GetBoolOrDefault(kGatewayOnlyInProfilesKey, false, nullptr)).Get());
    connection->ReplaceValue(LockNameText(label(kConnectionText)),
                             ZRPAR::CreateValue(LockStateText(connectionLock.mandatory)).Get());

    auto page = ZRPAR::CreateParams();
    page->ReplaceValue(label(kConnectionText), ZRPAR::CreateValue(connection.Get()).Get());
    page->ReplaceValue(label(kForcedText), yesNo(root->GetBoolOrDefault(kForcedKey, false, &forcedLock)).Get());
    page->ReplaceValue(LockNameText(label(kForcedText)), ZRPAR::CreateValue(LockStateText(forcedLock.mandatory)).Get());
    page->ReplaceValue(label(kUseUdpText), yesNo(root->GetBoolOrDefault(kUseUdpKey, false, &udpLock)).Get());
    page->ReplaceValue(label(kUdpPortText), number(FirstInt(*root, kPortsKey).value_or(kPortDefault)).Get());
    page->ReplaceValue(LockNameText(label(kUseUdpText)), ZRPAR::CreateValue(LockStateText(udpLock.mandatory)).Get());
    return {page};
}

CPageNetworkSettingsProduct::CPageNetworkSettingsProduct(std::shared_ptr<NHPP::CNHPPageData> pageData)
    : CPageNetworkSettingsBase(std::move(pageData), kTemplate)
{
    m_localMode = true;
}

bool CPageNetworkSettingsProduct::OnInitDialog()
{
    CPageNetworkSettingsBase::OnInitDialog();
    m_loading = true;
    m_proxyLink.SubclassDlgItem(kProxyLink, m_hWnd);
    m_proxyLink.SetWindowText(ui::LoadStringW(kProxyLinkText));
    m_proxyLink.SetCommandId(kProxyCommand);
    ShowConnectedServer();
    const int platform = GetPageData()->GetPlatformType();
    auto clearAndDisable = [&](int id) {
        CheckDlgButton(id, BST_UNCHECKED);
        ::EnableWindow(GetDlgItem(id), false);
    };
    if (platform == 2) {
        clearAndDisable(kUseSsl);
        clearAndDisable(kCompress);
    }
    if (platform != 0) clearAndDisable(kFirewallPorts);
    m_loading = false;
    return true;
}

void CPageNetworkSettingsProduct::ShowConnectedServer()
{
    auto root = Provider();
    std::wstring address;
    root->GetStringOrDefault(address, L"ServerAddress", L"", nullptr);
    const bool ssl = root->GetBoolOrDefault(kUseSslKey, true, nullptr);
    const std::int32_t port = FirstInt(*root, ssl ? L"ServerSslPorts" : L"Serverports").value_or(ssl ? 13000 : 14000);
    ZRSTD::Trace(1, L"[NODESHOST] ZRNAG::c_spServerAddress is: %ls\n", address);
    for (auto at = address.find(L"http://"); at != std::wstring::npos; at = address.find(L"http://"))
        address.erase(at, 7);
    ZRSTD::Trace(1, L"[NODESHOST] ZRNAG::c_spServerAddress (replaced) is: %ls\n", address);
    SetDlgItemText(kConnectedTo, ZRSTD::FormatW(ui::LoadStringW(ssl ? kConnectedWithSsl : kConnectedWithoutSsl), address,
                                                static_cast<std::uint32_t>(port)));
}

bool CPageNetworkSettingsProduct::OnCommand(WORD id, WORD code, HWND control)
{
    if (id == kProxyCommand && !m_loading) {
        OpenProxySettings();
        return true;
    }
    return CPageNetworkSettingsBase::OnCommand(id, code, control);
}

void CPageNetworkSettingsProduct::OpenProxySettings()
{
    // the proxy the agent was installed with: the dialog only shows it
    auto root = Provider();
    CDlgProxySettings dialog(GetPageData(), *root,
                             {L"ZRNAG_PROXYHOST_USE", L"ZRNAG_PROXYHOST_LOCATION", L"ZRNAG_PROXYHOST_LOGIN",
                              L"ZRNAG_PROXYHOST_PASSWORD", L""},
                             true);
    if (dialog.DoModal(m_hWnd) == IDOK) SetModified();
}
