#pragma once

#include <optional>
#include <vector>

#include "controls/HyperLink.h"
#include "controls/LockCtrl.h"
#include "controls/NHCustomListCtrl.h"
#include "controls/NHPPropertyPageBase.h"
#include "zrpar/Params.h"

// When the agent connects to the administration server: whenever it needs
// to, or only within the weekly intervals listed here. The page keeps the
// schedule it read and edits it together with the list; each line's data is
// its element's index in the schedule.
class CPageConnectionManagerSettings : public CNHPPropertyPageBase {
public:
    static constexpr UINT kTemplate = 10492, kHelpTopic = 94301;
    static constexpr int kExplanation = 1112, kAdd = 1108, kEdit = 1509, kRemove = 1110, kHelpLink = 1113,
                         kWhenNeeded = 1120, kInIntervals = 1121, kIntervals = 1107, kLock = 1119;

    static ui::DialogTemplate Template();
    // The schedule as the exporter keeps it under the page's title, and the
    // same again for its network title.
    static std::vector<ZRSTD::CAutoPtr<ZRPAR::Params>> Export(NHPP::CNHPPageData& pageData);

    explicit CPageConnectionManagerSettings(std::shared_ptr<NHPP::CNHPPageData> pageData);

protected:
    bool OnInitDialog() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
    bool OnNotify(NMHDR* header, LRESULT* result) override;
    bool ValidatePage() override;
    bool ApplyPage() override;

    void UpdateControls();
    void AddInterval();
    void EditInterval();
    void RemoveInterval();
    // The selected line, or -1.
    int SelectedLine() const;
    // The schedule element of the selected line, if a line is selected.
    std::optional<std::size_t> SelectedIndex() const;
    // The list again from the schedule, one line per element.
    void FillList();

    ZRSTD::CAutoPtr<ZRPAR::ArrayValue> m_schedule;
    CNHCustomListCtrl m_intervals;
    CHyperLink m_helpLink;
    CLockCtrl m_lock;
    NHPP::PolicyLockInfo m_lockInfo;
    bool m_loading = false;
};

// The same page over one computer's local settings: the lock only shows
// whether the policy enforces the schedule.
class CPageConnectionManagerSettingsProduct : public CPageConnectionManagerSettings {
public:
    explicit CPageConnectionManagerSettingsProduct(std::shared_ptr<NHPP::CNHPPageData> pageData);

protected:
    bool OnInitDialog() override;
};
