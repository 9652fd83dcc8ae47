#include "plugin/pages/agent/PageNetProfileGeneral.h"

#include <optional>
#include <tuple>

#include "nhpp/PageData.h"
#include "plugin/pages/PageResources.h"
#include "plugin/pages/agent/DlgProxySettings.h"
#include "ui/CommonControls.h"
#include "zrstd/Format.h"
#include "zrstd/Strings.h"

namespace {

// strings
constexpr UINT kNameLabelText = 2083, kAddressText = 9, kPortText = 10, kSslPortText = 11, kUseSslText = 571,
               kProxyLinkText = 2058, kUpdatesOnlyText = 2144, kRoamingText = 5855, kGatewayGroupText = 2538,
               kHomeGatewayText = 2539, kNoGatewayText = 2540, kOwnGatewayText = 2541, kGatewayText = 2406,
               kSynchronizeText = 2583, kOtherServerText = 7025, kOkText = 12, kCancelText = 13;
constexpr UINT kNewProfileName = 2135, kNewProfileCaption = 2086, kPropertiesCaption = 2088;
// messages
constexpr UINT kBadName = 2084, kNameInUse = 2139, kNoServerAddress = 2014, kLocalServerAddress = 2010;

constexpr std::uint32_t kPortMin = 1, kPortMax = 65535;
constexpr DWORD kVisible = WS_CHILD | WS_VISIBLE;

using Page = CPageNetProfileGeneral;

// The first element of a stored port array, when it is an integer.
std::optional<std::int32_t> FirstPort(NHPP::CParams& profile, const wchar_t* key, bool& stored)
{
    ZRSTD::CAutoPtr<ZRPAR::ArrayValue> ports;
    stored = profile.GetArray(key, &ports, nullptr) == NHPP::kOk && ports;
    if (!stored || ports->GetSize() == 0) return std::nullopt;
    const ZRPAR::Value* first = ports->ItemAt(0);
    if (!first || first->GetType() != ZRPAR::VT_INT) return std::nullopt;
    return static_cast<const ZRPAR::IntValue*>(first)->GetValue();
}

bool IsLocalAddress(const std::wstring& address)
{
    return ZRSTD::CompareNoCase(address, L"localhost") == 0 || address == L"127.0.0.1";
}

}  // namespace

ui::DialogTemplate CPageNetProfileGeneral::Template()
{
    ui::DialogTemplate dialog;
    dialog.id = kTemplate;
    dialog.style = WS_POPUP;
    dialog.rect = {0, 0, 440, 470};
    dialog.controls = {
        {kNameLabel, L"Static", L"", kVisible, {10, 10, 430, 26}},
        {kName, L"Edit", L"", kVisible | WS_TABSTOP | ES_AUTOHSCROLL, {10, 30, 430, 50}},
        {kOtherServer, L"Button", L"", kVisible | WS_TABSTOP | BS_AUTOCHECKBOX, {10, 60, 430, 76}},
        {kAddressLabel, L"Static", L"", kVisible, {30, 84, 180, 100}},
        {kAddress, L"Edit", L"", kVisible | WS_TABSTOP | ES_AUTOHSCROLL, {185, 82, 430, 102}},
        {kPortLabel, L"Static", L"", kVisible, {30, 110, 180, 126}},
        {kPort, L"Edit", L"", kVisible | WS_TABSTOP | ES_NUMBER, {185, 108, 260, 128}},
        {kPortSpin, L"msctls_updown32", L"", kVisible, {260, 108, 275, 128}},
        {kSslPortLabel, L"Static", L"", kVisible, {30, 136, 180, 152}},
        {kSslPort, L"Edit", L"", kVisible | WS_TABSTOP | ES_NUMBER, {185, 134, 260, 154}},
        {kSslPortSpin, L"msctls_updown32", L"", kVisible, {260, 134, 275, 154}},
        {kUseSsl, L"Button", L"", kVisible | WS_TABSTOP | BS_AUTOCHECKBOX, {30, 162, 430, 178}},
        {kProxyLink, L"Static", L"", kVisible | WS_TABSTOP | SS_NOTIFY, {10, 188, 430, 204}},
        {kUpdatesOnly, L"Button", L"", kVisible | WS_TABSTOP | BS_AUTOCHECKBOX, {10, 214, 430, 230}},
        {kRoaming, L"Button", L"", kVisible | WS_TABSTOP | BS_AUTOCHECKBOX, {10, 236, 430, 252}},
        // the gateway mode follows what is stored; its group is not shown
        {kGatewayGroup, L"Button", L"", WS_CHILD | BS_GROUPBOX, {10, 260, 430, 340}},
        {kHomeGateway, L"Button", L"", WS_CHILD | BS_AUTORADIOBUTTON, {20, 276, 420, 292}},
        {kNoGateway, L"Button", L"", WS_CHILD | BS_AUTORADIOBUTTON, {20, 296, 420, 312}},
        {kOwnGateway, L"Button", L"", WS_CHILD | BS_AUTORADIOBUTTON, {20, 316, 420, 332}},
        {kGatewayLabel, L"Static", L"", kVisible, {10, 350, 180, 366}},
        {kGatewayAddress, L"Edit", L"", kVisible | WS_TABSTOP | ES_AUTOHSCROLL, {185, 348, 430, 368}},
        {kSynchronize, L"Button", L"", kVisible | WS_TABSTOP | BS_AUTOCHECKBOX, {10, 378, 430, 410}},
        {IDOK, L"Button", L"", kVisible | WS_TABSTOP | BS_DEFPUSHBUTTON, {270, 436, 345, 460}},
        {IDCANCEL, L"Button", L"", kVisible | WS_TABSTOP, {355, 436, 430, 460}},
    };
    return dialog;
}

CPageNetProfileGeneral::CPageNetProfileGeneral(std::shared_ptr<NHPP::CNHPPageData> pageData, NHPP::CParams& profile,
                                               std::vector<nla::ProfileEntry> others)
    : CNHPPropertyPageBase(kTemplate, std::move(pageData)), m_profile(profile), m_others(std::move(others))
{
    SetHelpTopic(kHelpTopic);
    SetCancelToParent(false);  // a dialog of its own: cancel closes it
    SetThemed(false);
}

bool CPageNetProfileGeneral::OnInitDialog()
{
    CNHPPropertyPageBase::OnInitDialog();
    SetControlTexts({{kNameLabel, kNameLabelText},     {kOtherServer, kOtherServerText},
                     {kAddressLabel, kAddressText},    {kPortLabel, kPortText},
                     {kSslPortLabel, kSslPortText},    {kUseSsl, kUseSslText},
                     {kUpdatesOnly, kUpdatesOnlyText}, {kRoaming, kRoamingText},
                     {kGatewayGroup, kGatewayGroupText}, {kHomeGateway, kHomeGatewayText},
                     {kNoGateway, kNoGatewayText},     {kOwnGateway, kOwnGatewayText},
                     {kGatewayLabel, kGatewayText},    {kSynchronize, kSynchronizeText},
                     {IDOK, kOkText},                  {IDCANCEL, kCancelText}});
    m_proxyLink.SubclassDlgItem(kProxyLink, m_hWnd);
    m_proxyLink.SetWindowText(ui::LoadStringW(kProxyLinkText));
    m_proxyLink.SetCommandId(kProxyCommand);
    auto check = [&](int id, bool on) { CheckDlgButton(id, on ? BST_CHECKED : BST_UNCHECKED); };

    std::wstring name;
    m_profile.GetStringOrDefault(name, nla::kProfileNameKey, L"", nullptr);
    SetDlgItemText(kName, name.empty() ? ui::LoadStringW(kNewProfileName) : name);
    SetWindowText(name.empty() ? ui::LoadStringW(kNewProfileCaption)
                               : ZRSTD::FormatW(ui::LoadStringW(kPropertiesCaption), name));

    // servers before 0xF0100 know no profile that names the home server
    const bool otherServerOnly = GetPageData()->GetServerVersionId() < nla::kFirstServerWithHomeServerProfiles;
    check(kOtherServer, otherServerOnly || !m_profile.GetBoolOrDefault(nla::kHomeServerKey, false, nullptr));
    ::EnableWindow(GetDlgItem(kOtherServer), !otherServerOnly);

    std::wstring address, gateway;
    m_profile.GetStringOrDefault(address, nla::kServerAddressKey, L"", nullptr);
    SetDlgItemText(kAddress, address);
    for (auto [field, id, spin] : {std::tuple{&m_port, kPort, kPortSpin}, std::tuple{&m_sslPort, kSslPort, kSslPortSpin}}) {
        field->SubclassDlgItem(id, m_hWnd);
        field->SetRange(kPortMin, kPortMax);
        field->SetAllowEmpty(true);  // an empty port is for validation to refuse, with its message
        field->SetSpin(GetDlgItem(spin));
    }
    m_port.LoadStored(FirstPort(m_profile, nla::kPortsKey, m_portsStored).value_or(nla::kDefaultPort));
    m_sslPort.LoadStored(FirstPort(m_profile, nla::kSslPortsKey, m_sslPortsStored).value_or(nla::kDefaultSslPort));
    check(kUseSsl, m_profile.GetBoolOrDefault(nla::kUseSslKey, true, nullptr));
    check(kRoaming, m_profile.GetBoolOrDefault(nla::kRoamingModeKey, false, nullptr));
    m_profile.GetStringOrDefault(gateway, nla::kGatewayAddressKey, L"", nullptr);
    SetDlgItemText(kGatewayAddress, gateway);

    std::int32_t gatewayMode = 0;
    const bool ownGateway = m_profile.GetInt(nla::kUseGatewayKey, gatewayMode, nullptr) == NHPP::kOk && gatewayMode != 0;
    check(ownGateway ? (gateway.empty() ? kNoGateway : kOwnGateway) : kHomeGateway, true);
    // shown (and kept) whatever the gateway mode; changed only where the mode lets it
    check(kUpdatesOnly, m_profile.GetBoolOrDefault(nla::kUpdatesOnlyKey, true, nullptr));
    check(kSynchronize, !m_profile.GetBoolOrDefault(nla::kGuestModeKey, true, nullptr));
    UpdateControls();
    return true;
}

void CPageNetProfileGeneral::UpdateControls()
{
    const bool otherServer = IsDlgButtonChecked(kOtherServer) == BST_CHECKED;
    for (int id : {kAddressLabel, kAddress, kPortLabel, kPort, kPortSpin, kSslPortLabel, kSslPort, kSslPortSpin, kUseSsl})
        ::EnableWindow(GetDlgItem(id), otherServer);
    ::EnableWindow(GetDlgItem(kUpdatesOnly), IsDlgButtonChecked(kHomeGateway) == BST_CHECKED);
    ::EnableWindow(GetDlgItem(kSynchronize), IsDlgButtonChecked(kUpdatesOnly) != BST_CHECKED);
}

bool CPageNetProfileGeneral::OnCommand(WORD id, WORD code, HWND)
{
    if (id == kProxyCommand) {
        OpenProxySettings();
        return true;
    }
    if (code != BN_CLICKED) return false;
    switch (id) {
    case kOtherServer:
    case kUpdatesOnly:
        UpdateControls();
        SetModified();
        return true;
    default: return false;
    }
}

void CPageNetProfileGeneral::OpenProxySettings()
{
    CDlgProxySettings dialog(GetPageData(), m_profile,
                             {nla::kProxyUseKey, nla::kProxyLocationKey, nla::kProxyLoginKey, nla::kProxyPasswordKey,
                              nla::kProxyProtectedPasswordKey},
                             false);
    if (dialog.DoModal(m_hWnd) == IDOK) SetModified();
}

bool CPageNetProfileGeneral::ValidatePage()
{
    const std::wstring name = ZRSTD::Trim(GetDlgItemText(kName));
    if (name.empty()) {
        ShowError(kBadName);
        ::SetFocus(GetDlgItem(kName));
        return false;
    }
    std::wstring id;
    m_profile.GetStringOrDefault(id, nla::kProfileIdKey, L"", nullptr);
    for (const auto& other : m_others)
        if (other.id != id && nla::SameName(other.name, name)) {
            ShowError(kNameInUse);
            ::SetFocus(GetDlgItem(kName));
            return false;
        }
    if (IsDlgButtonChecked(kOtherServer) != BST_CHECKED) return true;
    const std::wstring address = ZRSTD::Trim(GetDlgItemText(kAddress));
    if (address.empty() || IsLocalAddress(address)) {
        ShowError(address.empty() ? kNoServerAddress : kLocalServerAddress);
        ::SetFocus(GetDlgItem(kAddress));
        return false;
    }
    if (!m_port.Accepts(kPortMin, kPortMax)) return ShowRangeError(kPort, 0, kPortMin, kPortMax, kPortText);
    if (!m_sslPort.Accepts(kPortMin, kPortMax)) return ShowRangeError(kSslPort, 0, kPortMin, kPortMax, kSslPortText);
    return true;
}

bool CPageNetProfileGeneral::WritePort(const wchar_t* key, const CRangeEdit& field, bool storedArray)
{
    if (field.IsUntouched() && storedArray) return true;  // the stored array, all of its elements, stays
    const std::optional<std::int64_t> port = field.StoredOrTyped();
    if (!port || *port < INT32_MIN || *port > INT32_MAX) return false;
    auto ports = ZRPAR::CreateArrayValue();
    ports->Append(ZRPAR::CreateValue(static_cast<std::int32_t>(*port)).Get());
    return m_profile.SetArray(key, ports.Get(), false) == NHPP::kOk;
}

bool CPageNetProfileGeneral::ApplyPage()
{
    bool written = true;
    auto check = [&](NHPP::HResult result) { written = written && result == NHPP::kOk; };
    auto checked = [&](int id) { return IsDlgButtonChecked(id) == BST_CHECKED; };
    check(m_profile.SetString(nla::kProfileNameKey, ZRSTD::Trim(GetDlgItemText(kName)), false));
    if (checked(kOtherServer)) {
        check(m_profile.SetBool(nla::kHomeServerKey, false, false));
        check(m_profile.SetString(nla::kServerAddressKey, ZRSTD::Trim(GetDlgItemText(kAddress)), false));
        written = WritePort(nla::kPortsKey, m_port, m_portsStored) && written;
        written = WritePort(nla::kSslPortsKey, m_sslPort, m_sslPortsStored) && written;
        check(m_profile.SetBool(nla::kUseSslKey, checked(kUseSsl), false));
    } else {
        // the home server: no server of its own, not an empty one
        check(m_profile.SetBool(nla::kHomeServerKey, true, false));
        for (const wchar_t* key : {nla::kServerAddressKey, nla::kPortsKey, nla::kSslPortsKey, nla::kUseSslKey})
            m_profile.Remove(key);
    }
    check(m_profile.SetBool(nla::kUpdatesOnlyKey, checked(kUpdatesOnly), false));
    check(m_profile.SetBool(nla::kRoamingModeKey, checked(kRoaming), false));
    check(m_profile.SetInt(nla::kUseGatewayKey, std::int32_t{1}, false));
    check(m_profile.SetString(nla::kGatewayAddressKey, ZRSTD::Trim(GetDlgItemText(kGatewayAddress)), false));
    check(m_profile.SetBool(nla::kGuestModeKey, !checked(kSynchronize), false));
    if (!written) ShowError(pageres::kSettingsNotChanged);
    return written;
}

void CPageNetProfileGeneral::OnOK()
{
    if (!ValidatePage() || !ApplyPage()) return;
    EndDialog(IDOK);
}
