#pragma once

#include <memory>
#include <vector>

#include "controls/NHPPropertyPageBase.h"
#include "plugin/pages/tasks/TaskSettings.h"

// The show message task: the text the agent shows to the user of the
// computer. Addresses in the text are shown as links that open when clicked.
class CPageTaskMessagerGeneral : public CNHPPropertyPageBase {
public:
    static constexpr UINT kTemplate = 10318;
    static constexpr int kLabel = 1143, kText = 1145;

    static ui::DialogTemplate Template();
    // The page's export: the message text at the top level of the result.
    static std::vector<ZRSTD::CAutoPtr<ZRPAR::Params>> Export(NHPP::CNHPPageData& pageData);

    explicit CPageTaskMessagerGeneral(std::shared_ptr<NHPP::CNHPPageData> pageData);

protected:
    bool OnInitDialog() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
    bool OnNotify(NMHDR* header, LRESULT* result) override;
    bool ValidatePage() override;
    bool ApplyPage() override;

private:
    std::unique_ptr<CTaskSettings> m_settings;
    bool m_loading = false;
};
