#pragma once

#include <vector>

#include "controls/NHCustomListCtrl.h"
#include "controls/NHPPropertyPageBase.h"

// The optional components an installation package installs with the agent:
// one row with a check box, network access control.
class CPageInstallerSettingsComponents : public CNHPPropertyPageBase {
public:
    static constexpr UINT kTemplate = 10521;
    static constexpr int kExplanation = 1112, kComponents = 1107;

    static ui::DialogTemplate Template();
    static std::vector<ZRSTD::CAutoPtr<ZRPAR::Params>> Export(NHPP::CNHPPageData& pageData);

    explicit CPageInstallerSettingsComponents(std::shared_ptr<NHPP::CNHPPageData> pageData);

protected:
    bool OnInitDialog() override;
    bool OnNotify(NMHDR* header, LRESULT* result) override;
    bool ApplyPage() override;

    CNHCustomListCtrl m_components;
    bool m_loading = false;
};
