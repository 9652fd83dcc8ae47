#include "plugin/pages/installer/PageInstallerSettingsAdvanced.h"

#include "controls/PluginEnvironment.h"
#include "nhpp/PageData.h"
#include "plugin/frame/Exporter.h"
#include "plugin/pages/PageCommit.h"
#include "plugin/pages/PageResources.h"
#include "plugin/pages/installer/InstallerResources.h"
#include "zrstd/Strings.h"

namespace {

using namespace installerres;
using Page = CPageInstallerSettingsAdvanced;

constexpr UINT kNoGatewayAddress = 25;

constexpr const wchar_t* kModeKey = L"GATEWAYMODE";
constexpr const wchar_t* kAddressKey = L"GATEWAYADDRESS";
constexpr const wchar_t* kVdiKey = L"VMVDI";
constexpr const wchar_t* kVmOptimizeKey = L"VMOPTIMIZE";

std::wstring ReadAddress(NHPP::CParams& settings)
{
    std::wstring address;
    settings.GetStringOrDefault(address, kAddressKey, L"", nullptr);
    return address;
}

bool IsShownMode(std::int32_t mode) { return mode >= Page::kNoGateway && mode <= Page::kThroughGatewayMode; }

}  // namespace

ui::DialogTemplate CPageInstallerSettingsAdvanced::Template()
{
    ui::DialogTemplate dialog;
    dialog.id = kTemplate;
    dialog.rect = {0, 0, 440, 200};
    const DWORD visible = WS_CHILD | WS_VISIBLE;
    dialog.controls = {
        {kActAsGateway, L"Button", L"", visible | WS_TABSTOP | BS_AUTOCHECKBOX, {10, 10, 430, 26}},
        {kUseGateway, L"Button", L"", visible | WS_TABSTOP | BS_AUTOCHECKBOX, {10, 34, 430, 50}},
        {kGatewayLabel, L"Static", L"", visible, {25, 60, 180, 76}},
        {kGatewayAddress, L"Edit", L"", visible | WS_TABSTOP | ES_AUTOHSCROLL, {185, 58, 430, 78}},
        {kVdi, L"Button", L"", visible | WS_TABSTOP | BS_AUTOCHECKBOX, {10, 100, 430, 132}},
        {kVmOptimize, L"Button", L"", visible | WS_TABSTOP | BS_AUTOCHECKBOX, {10, 140, 430, 172}},
    };
    return dialog;
}

CPageInstallerSettingsAdvanced::CPageInstallerSettingsAdvanced(std::shared_ptr<NHPP::CNHPPageData> pageData)
    : CNHPPropertyPageBase(kTemplate, std::move(pageData))
{
}

bool CPageInstallerSettingsAdvanced::OnInitDialog()
{
    CNHPPropertyPageBase::OnInitDialog();
    m_loading = true;
    SetControlTexts({{kActAsGateway, kGatewayText},
                     {kUseGateway, kConnectThroughGatewayText},
                     {kGatewayLabel, kGatewayAddressText},
                     {kVdi, kVdiText},
                     {kVmOptimize, kVmOptimizeText}});
    Load();
    m_loading = false;
    return true;
}

void CPageInstallerSettingsAdvanced::Load()
{
    auto settings = Provider();
    m_storedMode = settings->GetIntOrDefault(kModeKey, kNoGateway, nullptr);
    // each choice as a click of its box would make it, so that the boxes' rules hold
    if (m_storedMode == kGatewayMode) {
        CheckDlgButton(kActAsGateway, BST_CHECKED);
    } else if (m_storedMode == kThroughGatewayMode) {
        const std::wstring address = ReadAddress(*settings);
        if (!address.empty()) {
            CheckDlgButton(kUseGateway, BST_CHECKED);
            SetDlgItemText(kGatewayAddress, address);
        }
    }
    OnActAsGateway();
    OnUseGateway();
    CheckDlgButton(kVdi, settings->GetBoolOrDefault(kVdiKey, false, nullptr) ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(kVmOptimize, settings->GetBoolOrDefault(kVmOptimizeKey, false, nullptr) ? BST_CHECKED : BST_UNCHECKED);
}

void CPageInstallerSettingsAdvanced::OnActAsGateway()
{
    // a gateway connects to the server itself, never through another
    const bool gateway = IsDlgButtonChecked(kActAsGateway) == BST_CHECKED;
    ::EnableWindow(GetDlgItem(kUseGateway), !gateway);
    if (gateway) {
        CheckDlgButton(kUseGateway, BST_UNCHECKED);
        OnUseGateway();
    }
}

void CPageInstallerSettingsAdvanced::OnUseGateway()
{
    const bool through = IsDlgButtonChecked(kUseGateway) == BST_CHECKED;
    for (int id : {kGatewayLabel, kGatewayAddress}) ::EnableWindow(GetDlgItem(id), through);
}

bool CPageInstallerSettingsAdvanced::OnCommand(WORD id, WORD code, HWND)
{
    if (m_loading) return false;
    switch (id) {
    case kActAsGateway:
        if (code != BN_CLICKED) return false;
        m_gatewayTouched = true;
        OnActAsGateway();
        break;
    case kUseGateway:
        if (code != BN_CLICKED) return false;
        m_gatewayTouched = true;
        OnUseGateway();
        break;
    case kGatewayAddress:
        if (code != EN_CHANGE) return false;
        m_gatewayTouched = true;
        break;
    case kVdi:
    case kVmOptimize:
        if (code != BN_CLICKED) return false;
        break;
    default: return false;
    }
    SetModified();
    return true;
}

bool CPageInstallerSettingsAdvanced::ValidatePage()
{
    if (IsDlgButtonChecked(kUseGateway) == BST_CHECKED && ZRSTD::Trim(GetDlgItemText(kGatewayAddress)).empty()) {
        ShowError(kNoGatewayAddress);
        ::SetFocus(GetDlgItem(kGatewayAddress));
        return false;
    }
    return true;
}

bool CPageInstallerSettingsAdvanced::ApplyPage()
{
    auto settings = Provider();
    bool written = true;
    auto check = [&](NHPP::HResult result) { written = written && result >= 0; };
    check(settings->SetBool(kVdiKey, IsDlgButtonChecked(kVdi) == BST_CHECKED, false));
    check(settings->SetBool(kVmOptimizeKey, IsDlgButtonChecked(kVmOptimize) == BST_CHECKED, false));
    if (IsDlgButtonChecked(kUseGateway) == BST_CHECKED) {
        check(settings->SetInt(kModeKey, kThroughGatewayMode, false));
        check(settings->SetString(kAddressKey, ZRSTD::Trim(GetDlgItemText(kGatewayAddress)), false));
    } else if (m_gatewayTouched || IsShownMode(m_storedMode)) {
        check(settings->SetString(kAddressKey, L"", false));
        check(settings->SetInt(kModeKey, IsDlgButtonChecked(kActAsGateway) == BST_CHECKED ? kGatewayMode : kNoGateway, false));
    }
    return CommitPageSettings(m_hWnd, *settings, written, kPackageNotChanged);
}

std::vector<ZRSTD::CAutoPtr<ZRPAR::Params>> CPageInstallerSettingsAdvanced::Export(NHPP::CNHPPageData& pageData)
{
    PluginStateScope scope;
    auto settings = pageData.Provider();
    auto label = [](UINT id) { return frame::NormalizeTitle(ui::LoadStringW(id)); };
    auto yesNo = [](bool value) { return ZRPAR::CreateValue(ui::LoadStringW(value ? pageres::kYes : pageres::kNo)); };
    const std::int32_t mode = settings->GetIntOrDefault(kModeKey, kNoGateway, nullptr);
    const std::wstring address = ReadAddress(*settings);
    const bool through = mode == kThroughGatewayMode && !address.empty();
    auto page = ZRPAR::CreateParams();
    page->ReplaceValue(label(kGatewayText), yesNo(mode == kGatewayMode).Get());
    page->ReplaceValue(label(kConnectThroughGatewayText), yesNo(through).Get());
    if (through) page->ReplaceValue(label(kGatewayAddressText), ZRPAR::CreateValue(address).Get());
    page->ReplaceValue(label(kVdiText), yesNo(settings->GetBoolOrDefault(kVdiKey, false, nullptr)).Get());
    page->ReplaceValue(label(kVmOptimizeText), yesNo(settings->GetBoolOrDefault(kVmOptimizeKey, false, nullptr)).Get());
    return {page};
}
