#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "controls/NHCustomListCtrl.h"
#include "controls/NHPPropertyPageBase.h"
#include "plugin/pages/tasks/TaskSettings.h"

// An application the administrator's computer knows: registered under
// HKEY_LOCAL_MACHINE "Software\BrenvikLab\Components\34\Products\NAME\VERSION"
// with its display name as the key's default value and what it can be told
// to do as CtrlButtons.
struct ProductInfo {
    static constexpr std::uint32_t kCanStart = 1, kCanStop = 2;
    std::wstring name, version, displayName;
    std::uint32_t ctrlButtons = kCanStart | kCanStop;
    // false: named only by the task, not registered here (what it supports is unknown)
    bool registered = true;
};

// The applications registered on this computer that can be started or
// stopped, each once, in the registry's order.
std::vector<ProductInfo> ReadRegisteredApplications();

// The application start and stop task: which applications, and whether to
// start or stop them.
class CPageTaskAppControlGeneral : public CNHPPropertyPageBase {
public:
    static constexpr UINT kSheetTemplate = 6007, kWizardTemplate = 6008;
    static constexpr int kApplications = 1088, kApplicationsLabel = 1089, kCommandLabel = 1090, kStart = 1175,
                         kStop = 1176;

    static ui::DialogTemplate Template(UINT templateId);
    // The page's export: the applications and the command at the top level of the result.
    static std::vector<ZRSTD::CAutoPtr<ZRPAR::Params>> Export(NHPP::CNHPPageData& pageData);

    CPageTaskAppControlGeneral(UINT templateId, std::shared_ptr<NHPP::CNHPPageData> pageData);

protected:
    bool OnInitDialog() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
    bool OnNotify(NMHDR* header, LRESULT* result) override;
    bool ValidatePage() override;
    bool ApplyPage() override;

private:
    void Load();

    std::unique_ptr<CTaskSettings> m_settings;
    CNHCustomListCtrl m_list;
    std::vector<ProductInfo> m_applications;  // the rows' data are indexes into it
    // stored items the page cannot read, written back as they were
    std::vector<ZRSTD::CAutoPtr<ZRPAR::Value>> m_unreadableItems;
    bool m_listChanged = false;
    bool m_listLocked = false;
    bool m_loading = false;
};
