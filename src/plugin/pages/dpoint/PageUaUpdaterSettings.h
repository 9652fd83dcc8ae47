#pragma once

#include <vector>

#include "controls/LockCtrl.h"
#include "controls/NHPPropertyPageBase.h"
#include "plugin/pages/dpoint/KeptSetting.h"

// Whether a distribution point also redistributes the updater's difference
// files (a policy page).
class CPageUaUpdaterSettings : public CNHPPropertyPageBase {
public:
    static constexpr UINT kTemplate = 10530;
    static constexpr int kRetranslateDiffs = 2615, kLock = 1025, kNote = 2633, kNoteIcon = 2264;

    static ui::DialogTemplate Template();
    static std::vector<ZRSTD::CAutoPtr<ZRPAR::Params>> Export(NHPP::CNHPPageData& pageData);

    explicit CPageUaUpdaterSettings(std::shared_ptr<NHPP::CNHPPageData> pageData);

protected:
    bool OnInitDialog() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
    bool ApplyPage() override;

    void UpdateNote();

    CLockCtrl m_lock;
    KeptSetting<bool> m_retranslate;
    bool m_loading = false;
};
