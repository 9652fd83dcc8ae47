#pragma once

#include <vector>

#include "controls/NHPPropertyPageBase.h"
#include "plugin/pages/tasks/WizPageTaskCheckUpdatesTaskSelector.h"

// The settings of the check updates task: the update tasks it runs, the
// scan tasks that check what they received (two selectors over the page's
// placeholders), and what the agent does after the updates.
class CPageTaskCheckUpdatesGeneral : public CNHPPropertyPageBase {
public:
    static constexpr UINT kTemplate = 10430;
    // controls of template 10430
    static constexpr int kUpdateTasksPlace = 1076, kScanTasksPlace = 1077, kNeedRestart = 1078, kCheckRdp = 1079;

    static ui::DialogTemplate Template();
    // The chosen tasks' names as the console knows them, and the two flags.
    static std::vector<ZRSTD::CAutoPtr<ZRPAR::Params>> Export(NHPP::CNHPPageData& pageData);

    explicit CPageTaskCheckUpdatesGeneral(std::shared_ptr<NHPP::CNHPPageData> pageData);
    ~CPageTaskCheckUpdatesGeneral() override;

protected:
    bool OnInitDialog() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
    void UpdateLayout() override;
    bool ValidatePage() override;
    bool ApplyPage() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    ZRSTD::CAutoPtr<CWizPageTaskCheckUpdatesUpdateTaskSelector> m_updateTasks;
    ZRSTD::CAutoPtr<CWizPageTaskCheckUpdatesScanTaskSelector> m_scanTasks;
    bool m_loadedRestart = true, m_loadedRdp = true;
    bool m_loading = false;
};

// The wizard's last page: the two flags of the settings page.
class CWizPageTaskCheckUpdatesOptions : public CNHPPropertyPageBase {
public:
    static constexpr UINT kTemplate = 10432;
    static constexpr int kNeedRestart = 1078, kCheckRdp = 1079;

    static ui::DialogTemplate Template();
    explicit CWizPageTaskCheckUpdatesOptions(std::shared_ptr<NHPP::CNHPPageData> pageData);

protected:
    bool OnInitDialog() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
    bool ApplyPage() override;

    bool m_loadedRestart = true, m_loadedRdp = true;
    bool m_loading = false;
};
