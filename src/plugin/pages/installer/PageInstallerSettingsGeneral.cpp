#include "plugin/pages/installer/PageInstallerSettingsGeneral.h"

#include "controls/PluginEnvironment.h"
#include "nhpp/PageData.h"
#include "plugin/frame/Exporter.h"
#include "plugin/pages/PageCommit.h"
#include "plugin/pages/PageResources.h"
#include "plugin/pages/agent/DlgChangePassword.h"
#include "plugin/pages/installer/InstallerResources.h"
#include "zrstd/Crypto.h"

namespace {

using pageres::kNo;
using pageres::kYes;
using Page = CPageInstallerSettingsGeneral;

// strings
constexpr UINT kStatusLabelText = 214, kChangeText = 14, kUsePasswordText = 2257, kFolderGroupText = 2261,
               kDefaultFolderText = 2263, kOwnFolderText = 2264, kPatchesText = 2600, kProtectServiceText = 5842,
               kPasswordSet = 212, kPasswordNotSet = 213, kPasswordLabelText = 89;
constexpr UINT kNoPassword = 2258, kNoFolder = 2265, kBadFolder = 2266;

// settings of the section "InstallerSettings"
constexpr const wchar_t* kVersionKey = L"InternalVersion";
constexpr const wchar_t* kPasswordKey = L"UninstallPwd";
constexpr const wchar_t* kFolderKey = L"INSTALLDIR";
constexpr const wchar_t* kProtectKey = L"ZRNAG_PROTECTNGT";
constexpr const wchar_t* kPatchesKey = L"PTCH_ALLOW_APPLY_NONAPROVED_PATCHES";

constexpr std::int32_t kVersionDefault = 9;

std::wstring ReadString(NHPP::CParams& provider, const wchar_t* key)
{
    std::wstring value;
    if (provider.GetString(key, value, nullptr) != NHPP::kOk) value.clear();
    return value;
}

}  // namespace

bool IsInstallationFolder(const std::wstring& folder)
{
    // a drive letter of the installer's alphabet: a network path or a relative one is no folder it can use
    const bool letter = !folder.empty() && ((folder[0] >= L'A' && folder[0] <= L'Z') || (folder[0] >= L'a' && folder[0] <= L'z'));
    return folder.size() >= 2 && letter && folder[1] == L':';
}

ui::DialogTemplate CPageInstallerSettingsGeneral::Template()
{
    ui::DialogTemplate dialog;
    dialog.id = kTemplate;
    dialog.rect = {0, 0, 440, 300};
    const DWORD visible = WS_CHILD | WS_VISIBLE;
    dialog.controls = {
        {kUsePassword, L"Button", L"", visible | WS_TABSTOP | BS_AUTOCHECKBOX, {10, 10, 430, 26}},
        {kStatusLabel, L"Static", L"", visible, {25, 34, 90, 50}},
        {kStatus, L"Static", L"", visible, {95, 34, 330, 50}},
        {kChangePassword, L"Button", L"", visible | WS_TABSTOP, {335, 30, 430, 54}},
        {kFolderGroup, L"Button", L"", visible | BS_GROUPBOX, {5, 64, 435, 160}},
        {kDefaultFolder, L"Button", L"", visible | WS_TABSTOP | BS_AUTORADIOBUTTON, {15, 82, 425, 98}},
        {kOwnFolder, L"Button", L"", visible | BS_AUTORADIOBUTTON, {15, 104, 425, 120}},
        {kFolder, L"Edit", L"", visible | WS_TABSTOP | ES_AUTOHSCROLL, {30, 126, 425, 146}},
        {kPatches, L"Button", L"", visible | WS_TABSTOP | BS_AUTOCHECKBOX, {10, 172, 430, 204}},
        {kProtectService, L"Button", L"", visible | WS_TABSTOP | BS_AUTOCHECKBOX, {10, 212, 430, 244}},
    };
    return dialog;
}

CPageInstallerSettingsGeneral::CPageInstallerSettingsGeneral(std::shared_ptr<NHPP::CNHPPageData> pageData)
    : CNHPPropertyPageBase(kTemplate, std::move(pageData))
{
    // the package's version decides what the page offers, before anything is shown
    try {
        m_internalVersion = GetPageData()->Provider()->GetIntOrDefault(kVersionKey, kVersionDefault, nullptr);
    } catch (const ZRERR::Error& error) {
        ZRERR::SayFailure2(error, "CPageInstallerSettingsGeneral::CPageInstallerSettingsGeneral", 3);
    }
}

bool CPageInstallerSettingsGeneral::OnInitDialog()
{
    CNHPPropertyPageBase::OnInitDialog();
    m_loading = true;  // what the page puts into its controls is no change of the administrator's
    SetControlTexts({{kStatusLabel, kStatusLabelText},
                     {kChangePassword, kChangeText},
                     {kUsePassword, kUsePasswordText},
                     {kFolderGroup, kFolderGroupText},
                     {kDefaultFolder, kDefaultFolderText},
                     {kOwnFolder, kOwnFolderText},
                     {kPatches, kPatchesText},
                     {kProtectService, kProtectServiceText}});
    Load();
    m_loading = false;
    return true;
}

void CPageInstallerSettingsGeneral::Load()
{
    auto settings = Provider();
    m_password = ReadString(*settings, kPasswordKey);
    CheckDlgButton(kUsePassword, m_password.empty() ? BST_UNCHECKED : BST_CHECKED);
    UpdatePasswordGroup();
    ShowPasswordStatus();

    const std::wstring folder = ReadString(*settings, kFolderKey);
    CheckDlgButton(kDefaultFolder, folder.empty() ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(kOwnFolder, folder.empty() ? BST_UNCHECKED : BST_CHECKED);
    SetDlgItemText(kFolder, folder);
    UpdateFolder();
    if (IsVersionWithoutPassword())
        for (int id : {kUsePassword, kStatus, kChangePassword, kDefaultFolder, kOwnFolder, kFolder})
            ::EnableWindow(GetDlgItem(id), false);

    CheckDlgButton(kProtectService, settings->GetBoolOrDefault(kProtectKey, false, nullptr) ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(kPatches, settings->GetBoolOrDefault(kPatchesKey, true, nullptr) ? BST_CHECKED : BST_UNCHECKED);
}

void CPageInstallerSettingsGeneral::UpdatePasswordGroup()
{
    const bool use = IsDlgButtonChecked(kUsePassword) == BST_CHECKED;
    for (int id : {kStatus, kChangePassword, kStatusLabel}) ::EnableWindow(GetDlgItem(id), use);
}

void CPageInstallerSettingsGeneral::UpdateFolder()
{
    ::EnableWindow(GetDlgItem(kFolder), IsDlgButtonChecked(kOwnFolder) == BST_CHECKED);
}

void CPageInstallerSettingsGeneral::ShowPasswordStatus()
{
    // with the box cleared the package carries no password, whatever the page still holds for the box
    const bool set = IsDlgButtonChecked(kUsePassword) == BST_CHECKED && !m_password.empty();
    SetDlgItemText(kStatus, ui::LoadStringW(set ? kPasswordSet : kPasswordNotSet));
}

void CPageInstallerSettingsGeneral::ChangePassword()
{
    CDlgChangePassword dialog(GetPageData());
    if (dialog.DoModal(m_hWnd) != IDOK) return;
    if (dialog.IsPasswordChanged()) m_password = dialog.GetResult();  // untouched, the password stays
    ShowPasswordStatus();
    SetModified();
}

bool CPageInstallerSettingsGeneral::OnCommand(WORD id, WORD code, HWND)
{
    if (m_loading) return false;
    switch (id) {
    case kUsePassword:
        if (code != BN_CLICKED) return false;
        UpdatePasswordGroup();
        ShowPasswordStatus();
        break;
    case kChangePassword:
        if (code != BN_CLICKED) return false;
        ChangePassword();
        return true;
    case kDefaultFolder:
    case kOwnFolder:
        if (code != BN_CLICKED) return false;
        UpdateFolder();
        break;
    case kFolder:
        if (code != EN_CHANGE) return false;
        break;
    case kPatches:
    case kProtectService:
        if (code != BN_CLICKED) return false;
        break;
    default: return false;
    }
    SetModified();
    return true;
}

bool CPageInstallerSettingsGeneral::ValidatePage()
{
    // a package of version 6 offers no change of these: they go back as they were read
    if (IsVersionWithoutPassword()) return true;
    if (IsDlgButtonChecked(kUsePassword) == BST_CHECKED && m_password.empty()) {
        ShowError(kNoPassword);
        ::SetFocus(GetDlgItem(kChangePassword));
        return false;
    }
    if (IsDlgButtonChecked(kOwnFolder) == BST_CHECKED) {
        const std::wstring folder = GetDlgItemText(kFolder);
        if (folder.empty() || !IsInstallationFolder(folder)) {
            ShowError(folder.empty() ? kNoFolder : kBadFolder);
            ::SetFocus(GetDlgItem(kFolder));
            return false;
        }
    }
    return true;
}

bool CPageInstallerSettingsGeneral::ApplyPage()
{
    auto settings = Provider();
    bool written = true;
    auto check = [&](NHPP::HResult result) { written = written && result >= 0; };
    if (IsDlgButtonChecked(kUsePassword) == BST_CHECKED) check(settings->SetString(kPasswordKey, m_password, false));
    else check(settings->Remove(kPasswordKey));
    const bool ownFolder = IsDlgButtonChecked(kOwnFolder) == BST_CHECKED;
    check(settings->SetString(kFolderKey, ownFolder ? GetDlgItemText(kFolder) : std::wstring(), false));
    check(settings->SetBool(kPatchesKey, IsDlgButtonChecked(kPatches) == BST_CHECKED, false));
    check(settings->SetBool(kProtectKey, IsDlgButtonChecked(kProtectService) == BST_CHECKED, false));
    return CommitPageSettings(m_hWnd, *settings, written, installerres::kPackageNotChanged);
}

std::vector<ZRSTD::CAutoPtr<ZRPAR::Params>> CPageInstallerSettingsGeneral::Export(NHPP::CNHPPageData& pageData)
{
    PluginStateScope scope;
    auto settings = pageData.Provider();
    auto label = [](UINT id) { return frame::NormalizeTitle(ui::LoadStringW(id)); };
    auto text = [](const std::wstring& value) { return ZRPAR::CreateValue(value); };
    auto yesNo = [&](bool value) { return text(ui::LoadStringW(value ? kYes : kNo)); };
    auto page = ZRPAR::CreateParams();

    // each row only for a setting the package holds
    std::wstring folder;
    if (settings->GetString(kFolderKey, folder, nullptr) == NHPP::kOk)
        page->ReplaceValue(label(kFolderGroupText), text(folder.empty() ? label(kDefaultFolderText) : folder).Get());
    std::wstring password;
    if (settings->GetString(kPasswordKey, password, nullptr) == NHPP::kOk) {
        auto row = ZRPAR::CreateParams();
        row->ReplaceValue(label(kUsePasswordText), yesNo(!password.empty()).Get());
        row->ReplaceValue(label(kStatusLabelText), text(ui::LoadStringW(password.empty() ? kPasswordNotSet : kPasswordSet)).Get());
        if (!password.empty()) {
            // only a digest of the stored value leaves the page
            const std::vector<std::uint8_t> units = PasswordBytes(password);
            const ZRSTD::Md5Digest hash = ZRSTD::CalcMD5Hash(units.data(), units.size());
            row->ReplaceValue(label(kPasswordLabelText), ZRPAR::CreateValue(ZRPAR::binary_wrapper_t{hash.data(), hash.size()}).Get());
        }
        page->ReplaceValue(label(kUsePasswordText), ZRPAR::CreateValue(row.Get()).Get());
    }
    bool flag = false;
    if (settings->GetBool(kPatchesKey, flag, nullptr) == NHPP::kOk) page->ReplaceValue(label(kPatchesText), yesNo(flag).Get());
    if (settings->GetBool(kProtectKey, flag, nullptr) == NHPP::kOk)
        page->ReplaceValue(label(kProtectServiceText), yesNo(flag).Get());
    return {page};
}
