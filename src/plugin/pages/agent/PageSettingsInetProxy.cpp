#include "plugin/pages/agent/PageSettingsInetProxy.h"

#include <optional>

#include "controls/PluginEnvironment.h"
#include "nhpp/PageData.h"
#include "plugin/frame/Exporter.h"
#include "plugin/pages/PageCommit.h"
#include "plugin/pages/PageResources.h"
#include "plugin/pages/PasswordProtection.h"
#include "plugin/pages/agent/DlgChangePassword.h"
#include "ui/CommonControls.h"
#include "zrplugin/DataSource.h"
#include "zrstd/Crypto.h"
#include "zrstd/Strings.h"

namespace {

// strings
constexpr UINT kAddressText = 582, kPortText = 2060, kUserText = 585, kPasswordText = 586, kUseProxyText = 572,
               kUseAuthText = 2061, kBypassText = 2607, kShowPasswordText = 5843, kCredentialsWarningText = 5883;
constexpr UINT kBadAddress = 2007;
using namespace pageres;

// settings of the page's root section
constexpr const wchar_t* kUseKey = L"ZRSRV_PROXY_USE";
constexpr const wchar_t* kServerKey = L"ZRSRV_PROXY_SERVER";
constexpr const wchar_t* kPortKey = L"ZRSRV_PROXY_PORT";
constexpr const wchar_t* kBypassKey = L"ZRSRV_PROXY_BYPASS";
constexpr const wchar_t* kUseAuthKey = L"ZRSRV_PROXY_USE_AUTH";
constexpr const wchar_t* kUserKey = L"ZRSRV_PROXY_USER";
constexpr const wchar_t* kPasswordKey = L"ZRSRV_PROXY_PASSWORD";

using Page = CPageSettingsInetProxy;

// The stored port as it is; one outside 1..65535 is shown so that validation names it.
std::int32_t ReadPort(NHPP::CParams& provider) { return provider.GetIntOrDefault(kPortKey, Page::kDefaultPort, nullptr); }

std::wstring ReadString(NHPP::CParams& provider, const wchar_t* key)
{
    std::wstring value;
    provider.GetStringOrDefault(value, key, L"", nullptr);
    return value;
}

ZRSTD::CAutoPtr<ZRSTD::MemoryChunk> ReadStoredPassword(NHPP::CParams& provider)
{
    ZRSTD::CAutoPtr<ZRSTD::MemoryChunk> stored;
    if (provider.GetBinary(kPasswordKey, &stored, nullptr) != NHPP::kOk) return nullptr;
    return stored;
}

}  // namespace

ui::DialogTemplate CPageSettingsInetProxy::Template()
{
    ui::DialogTemplate dialog;
    dialog.id = kTemplate;
    dialog.rect = {0, 0, 440, 300};
    const DWORD visible = WS_CHILD | WS_VISIBLE;
    dialog.controls = {
        {kUseProxy, L"Button", L"", visible | WS_TABSTOP | BS_AUTOCHECKBOX, {10, 10, 370, 26}},
        {kLock, L"Static", L"", visible | WS_TABSTOP, {380, 8, 430, 28}},
        {kAddressLabel, L"Static", L"", visible, {25, 38, 160, 54}},
        {kAddress, L"Edit", L"", visible | WS_TABSTOP | ES_AUTOHSCROLL, {165, 36, 430, 56}},
        {kPortLabel, L"Static", L"", visible, {25, 64, 160, 80}},
        {kPort, L"Edit", L"", visible | WS_TABSTOP | ES_NUMBER, {165, 62, 230, 82}},
        {kPortSpin, L"msctls_updown32", L"", visible, {230, 62, 245, 82}},
        {kBypassLocal, L"Button", L"", visible | WS_TABSTOP | BS_AUTOCHECKBOX, {25, 90, 430, 106}},
        {kUseAuth, L"Button", L"", visible | WS_TABSTOP | BS_AUTOCHECKBOX, {25, 114, 430, 130}},
        {kUserLabel, L"Static", L"", visible, {40, 140, 160, 156}},
        {kUser, L"Edit", L"", visible | WS_TABSTOP | ES_AUTOHSCROLL, {165, 138, 430, 158}},
        {kPasswordLabel, L"Static", L"", visible, {40, 166, 160, 182}},
        {kPassword, L"Edit", L"", visible | WS_TABSTOP | ES_PASSWORD | ES_AUTOHSCROLL, {165, 164, 395, 184}},
        {kShowPassword, L"Button", L"", WS_CHILD | WS_TABSTOP, {400, 164, 430, 184}},
        {kCredentialsWarning, L"Static", L"", visible, {40, 194, 430, 240}},
    };
    return dialog;
}

CPageSettingsInetProxy::CPageSettingsInetProxy(std::shared_ptr<NHPP::CNHPPageData> pageData)
    : CNHPPropertyPageBase(kTemplate, std::move(pageData))
{
    SetHelpTopic(kHelpTopic);
}

bool CPageSettingsInetProxy::OnInitDialog()
{
    CNHPPropertyPageBase::OnInitDialog();
    m_loading = true;  // what the page puts into its controls is no change of the administrator's
    SetControlTexts({{kAddressLabel, kAddressText},   {kPortLabel, kPortText},         {kUserLabel, kUserText},
                    {kPasswordLabel, kPasswordText}, {kUseProxy, kUseProxyText},      {kUseAuth, kUseAuthText},
                    {kBypassLocal, kBypassText},     {kShowPassword, kShowPasswordText},
                    {kCredentialsWarning, kCredentialsWarningText}});

    m_port.SubclassDlgItem(kPort, m_hWnd);
    m_port.SetRange(kMinPort, kMaxPort);
    m_port.SetSpin(GetDlgItem(kPortSpin));
    m_password.SubclassDlgItem(kPassword, m_hWnd);
    m_showPassword.SubclassDlgItem(kShowPassword, m_hWnd);
    m_showPassword.SetEdit(kPassword);

    m_lock.SubclassDlgItem(kLock, m_hWnd);
    m_lock.SetGovernedControls({kUseProxy});
    m_lock.Setup(LoadLockCtrlTexts(kLockImages, kInfoIcon));
    Load();
    // the reveal button is not offered on this page
    ::ShowWindow(GetDlgItem(kShowPassword), SW_HIDE);
    UpdateControls();
    m_loading = false;
    return true;
}

void CPageSettingsInetProxy::Load()
{
    auto root = Provider();
    m_lockInfo = {};
    CheckDlgButton(kUseProxy, root->GetBoolOrDefault(kUseKey, false, &m_lockInfo) ? BST_CHECKED : BST_UNCHECKED);
    SetDlgItemText(kAddress, ReadString(*root, kServerKey));
    m_port.LoadStored(ReadPort(*root));
    CheckDlgButton(kBypassLocal, root->GetBoolOrDefault(kBypassKey, false, nullptr) ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(kUseAuth, root->GetBoolOrDefault(kUseAuthKey, false, nullptr) ? BST_CHECKED : BST_UNCHECKED);
    SetDlgItemText(kUser, ReadString(*root, kUserKey));
    m_password.ShowPlaceholder();  // the stored password is never read back
    m_lock.SetLockState(m_lockInfo);
}

void CPageSettingsInetProxy::UpdateControls()
{
    const bool proxy = IsDlgButtonChecked(kUseProxy) == BST_CHECKED && !m_lock.IsLockedByParent();
    const bool credentials = proxy && IsDlgButtonChecked(kUseAuth) == BST_CHECKED;
    for (int id : {kAddress, kPort, kPortSpin, kAddressLabel, kPortLabel, kUseAuth, kBypassLocal})
        ::EnableWindow(GetDlgItem(id), proxy);
    for (int id : {kUser, kPassword, kUserLabel, kPasswordLabel, kShowPassword, kCredentialsWarning})
        ::EnableWindow(GetDlgItem(id), credentials);
}

bool CPageSettingsInetProxy::OnCommand(WORD id, WORD code, HWND)
{
    if (m_loading) return false;
    switch (id) {
    case kUseProxy:
    case kUseAuth:
        if (code != BN_CLICKED) return false;
        UpdateControls();
        SetModified();
        return true;
    case kAddress:
    case kPort:
    case kUser:
    case kPassword:
        if (code == EN_CHANGE) SetModified();
        return code == EN_CHANGE;
    case kBypassLocal:
    case kLock:
        if (code != BN_CLICKED) return false;
        SetModified();
        return true;
    default: return false;
    }
}

bool CPageSettingsInetProxy::ValidatePage()
{
    // values a parent policy enforces are not the administrator's to correct here
    if (m_lock.IsLockedByParent()) return true;
    if (IsDlgButtonChecked(kUseProxy) != BST_CHECKED) return true;
    if (ZRSTD::Trim(GetDlgItemText(kAddress)).empty()) {
        ShowError(kBadAddress);
        ::SetFocus(GetDlgItem(kAddress));
        return false;
    }
    if (!m_port.Accepts(kMinPort, kMaxPort)) return ShowRangeError(kPort, 0, kMinPort, kMaxPort, kPortText);
    return true;
}

ZRSTD::CAutoPtr<ZRSTD::MemoryChunk> CPageSettingsInetProxy::ProtectTypedPassword() const
{
    return ProtectPassword(GetPageData()->GetDataSource(), m_password.GetWindowText());
}

bool CPageSettingsInetProxy::WriteSettings(NHPP::CParams& root)
{
    bool written = true;
    auto check = [&](NHPP::HResult result) {
        if (result < 0) written = false;
    };
    const bool mandatory = m_lock.IsMandatory();
    const bool useProxy = IsDlgButtonChecked(kUseProxy) == BST_CHECKED;
    check(root.SetBool(kUseKey, useProxy, mandatory));
    if (!useProxy) {
        for (const wchar_t* key : {kServerKey, kPortKey, kBypassKey, kUseAuthKey, kUserKey, kPasswordKey})
            check(root.Remove(key));
        return written;
    }
    check(root.SetString(kServerKey, ZRSTD::Trim(GetDlgItemText(kAddress)), mandatory));
    const std::optional<std::int64_t> port = m_port.StoredOrTyped();
    if (!port || *port < kMinPort || *port > kMaxPort) return false;  // validation names it first
    check(root.SetInt(kPortKey, static_cast<std::int32_t>(*port), mandatory));
    check(root.SetBool(kBypassKey, IsDlgButtonChecked(kBypassLocal) == BST_CHECKED, mandatory));
    const bool useAuth = IsDlgButtonChecked(kUseAuth) == BST_CHECKED;
    check(root.SetBool(kUseAuthKey, useAuth, mandatory));
    if (!useAuth) {
        check(root.Remove(kUserKey));
        check(root.Remove(kPasswordKey));
        return written;
    }
    check(root.SetString(kUserKey, ZRSTD::Trim(GetDlgItemText(kUser)), mandatory));
    if (!m_password.ShowsPlaceholder()) {
        check(root.SetBinary(kPasswordKey, *ProtectTypedPassword(), mandatory));
    } else if (auto stored = ReadStoredPassword(root)) {
        check(root.SetBinary(kPasswordKey, *stored, mandatory));  // the same blob, under the current lock
    } else {
        check(root.Remove(kPasswordKey));  // nothing protected to keep: never carry on a password in clear
    }
    return written;
}

bool CPageSettingsInetProxy::ApplyPage()
{
    if (m_lock.IsLockedByParent()) return true;  // the parent's values stay as they are
    auto root = Provider();
    bool written = false;
    std::optional<ZRERR::Error> why;
    try {
        written = WriteSettings(*root);
    } catch (const ZRERR::Error& error) {
        ZRERR::SayFailure2(error, "CPageSettingsInetProxy::GetData");
        why = error;  // e.g. the console could not protect the password
    }
    return CommitPageSettings(m_hWnd, *root, written, why ? &*why : nullptr);
}

std::vector<ZRSTD::CAutoPtr<ZRPAR::Params>> CPageSettingsInetProxy::Export(NHPP::CNHPPageData& pageData)
{
    PluginStateScope scope;
    auto root = pageData.Provider();
    auto label = [](UINT id) { return frame::NormalizeTitle(ui::LoadStringW(id)); };
    auto text = [](const std::wstring& value) { return ZRPAR::CreateValue(value); };
    auto yesNo = [&](const wchar_t* key) {
        return ZRPAR::CreateValue(ui::LoadStringW(root->GetBoolOrDefault(key, false, nullptr) ? kYes : kNo));
    };

    NHPP::PolicyLockInfo lock;
    const bool useProxy = root->GetBoolOrDefault(kUseKey, false, &lock);
    auto content = ZRPAR::CreateParams();
    content->ReplaceValue(label(kUseProxyText), ZRPAR::CreateValue(ui::LoadStringW(useProxy ? kYes : kNo)).Get());
    content->ReplaceValue(label(kAddressText), text(ReadString(*root, kServerKey)).Get());
    content->ReplaceValue(label(kPortText), text(std::to_wstring(ReadPort(*root))).Get());
    content->ReplaceValue(label(kBypassText), yesNo(kBypassKey).Get());
    content->ReplaceValue(label(kUseAuthText), yesNo(kUseAuthKey).Get());
    content->ReplaceValue(label(kUserText), text(ReadString(*root, kUserKey)).Get());
    if (auto stored = ReadStoredPassword(*root)) {
        // only a digest of the protected bytes leaves the page
        const ZRSTD::Md5Digest hash = ZRSTD::CalcMD5Hash(stored->GetData(), stored->GetDataSize());
        content->ReplaceValue(label(kPasswordText),
                              ZRPAR::CreateValue(ZRPAR::binary_wrapper_t{hash.data(), hash.size()}).Get());
    }
    content->ReplaceValue(LockNameText(label(kUseProxyText)), text(LockStateText(lock.mandatory)).Get());

    std::vector<ZRSTD::CAutoPtr<ZRPAR::Params>> results;
    for (int copy = 0; copy < 2; ++copy) {
        auto page = ZRPAR::CreateParams();
        page->ReplaceValue(label(kUseProxyText), ZRPAR::CreateValue(copy == 0 ? content.Get() : content->Clone().Get()).Get());
        results.push_back(page);
    }
    return results;
}

CPageSettingsInetProxyProduct::CPageSettingsInetProxyProduct(std::shared_ptr<NHPP::CNHPPageData> pageData)
    : CPageSettingsInetProxy(std::move(pageData))
{
}

bool CPageSettingsInetProxyProduct::OnInitDialog()
{
    CPageSettingsInetProxy::OnInitDialog();
    // on one computer the lock only tells whether the policy enforces the values
    m_lock.SetLocalMode(true);
    m_lock.SetLockState(m_lockInfo);
    UpdateControls();
    return true;
}
