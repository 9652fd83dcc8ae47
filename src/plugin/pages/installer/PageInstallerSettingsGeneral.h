#pragma once

#include <string>
#include <vector>

#include "controls/NHPPropertyPageBase.h"

// The general page of an installation package: the uninstall password the
// new agent is protected with, the installation folder, the protection of
// the agent's service and whether patches of undefined approval are applied
// at once. A package of internal version 6 cannot carry a password or a
// folder: the page shows them but offers no change.
class CPageInstallerSettingsGeneral : public CNHPPropertyPageBase {
public:
    static constexpr UINT kTemplate = 6009;
    static constexpr int kUsePassword = 1087, kStatusLabel = 1008, kStatus = 1007, kChangePassword = 1000;
    static constexpr int kFolderGroup = 1017, kDefaultFolder = 1095, kOwnFolder = 1096, kFolder = 1094;
    static constexpr int kPatches = 1108, kProtectService = 1088;
    // the package version that carries neither password nor folder
    static constexpr std::int32_t kVersionWithoutPassword = 6;

    static ui::DialogTemplate Template();
    static std::vector<ZRSTD::CAutoPtr<ZRPAR::Params>> Export(NHPP::CNHPPageData& pageData);

    explicit CPageInstallerSettingsGeneral(std::shared_ptr<NHPP::CNHPPageData> pageData);

    std::int32_t GetInternalVersion() const { return m_internalVersion; }

protected:
    bool OnInitDialog() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
    bool ValidatePage() override;
    bool ApplyPage() override;

    void Load();
    void UpdatePasswordGroup();
    void UpdateFolder();
    void ChangePassword();
    void ShowPasswordStatus();
    bool IsVersionWithoutPassword() const { return m_internalVersion == kVersionWithoutPassword; }

    std::int32_t m_internalVersion = 9;
    // the uninstall password as the package stores it (the dialog's digest), "" for none
    std::wstring m_password;
    bool m_loading = false;
};

// An installation folder the installer accepts: a drive letter, a colon and
// anything after them ("C:", "D:\Agent").
bool IsInstallationFolder(const std::wstring& folder);
