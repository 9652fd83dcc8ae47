#pragma once

#include <vector>

#include "controls/HyperLink.h"
#include "controls/LockCtrl.h"
#include "controls/NHCustomListCtrl.h"
#include "controls/NHPPropertyPageBase.h"
#include "controls/PasswordButton.h"
#include "controls/PasswordEdit.h"
#include "controls/RangeEdit.h"
#include "plugin/pages/dpoint/PollingSchedule.h"
#include "plugin/pages/dpoint/ScanSettings.h"

// A domain controller the distribution point polls, with the account it
// logs on with; the password is protected by the console before it is kept.
class CDlgADScanEntryProperties : public CNHPDialog {
public:
    static constexpr UINT kTemplate = 10490;
    static constexpr int kAddressLabel = 6000, kAddress = 6001, kUserLabel = 1616, kUser = 1619, kPasswordLabel = 1004,
                         kPassword = 1001, kShowPassword = 1220;

    static ui::DialogTemplate Template();

    // controller: the stored element to edit (null or malformed: a new one).
    CDlgADScanEntryProperties(std::shared_ptr<NHPP::CNHPPageData> pageData, const ZRPAR::Value* controller);

    // The controller as accepted with OK (keys the dialog does not know kept).
    const ZRSTD::CAutoPtr<ZRPAR::Params>& Result() const { return m_controller; }

protected:
    bool OnInitDialog() override;
    void OnOK() override;

private:
    ZRSTD::CAutoPtr<ZRPAR::Params> m_controller;  // a copy of the edited one
    CPasswordEdit m_password;
    CPasswordButton m_showPassword;
};

// Polling of Active Directory by a distribution point: whether and how often
// it polls, its schedule, and what it polls: the current domain, the domain
// forest, or the domain controllers listed.
class CPageUAScanAdBase : public CNHPPropertyPageBase {
public:
    static constexpr UINT kTemplate = 1015;
    // controls of template 1015
    static constexpr int kLock = 1017, kEnable = 1126, kPeriodLabel = 1127, kPeriod = 1128, kPeriodSpin = 1129,
                         kScheduleLink = 2262, kCurrentDomain = 1613, kForest = 1616, kListed = 1617,
                         kControllers = 1107, kAdd = 1108, kEdit = 1509, kRemove = 1110;
    static constexpr WORD kScheduleCommand = 9461;  // what the schedule link sends
    static constexpr std::int32_t kDefaultPeriodMs = 3600000;
    // the polled area
    static constexpr std::int32_t kAreaDomain = 1, kAreaForest = 2, kAreaListed = 3;

    static ui::DialogTemplate Template();
    // The polling flag and the area with the listed controllers, under "Настройки".
    static std::vector<ZRSTD::CAutoPtr<ZRPAR::Params>> Export(NHPP::CNHPPageData& pageData);

    explicit CPageUAScanAdBase(std::shared_ptr<NHPP::CNHPPageData> pageData);

protected:
    bool OnInitDialog() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
    bool OnNotify(NMHDR* header, LRESULT* result) override;
    bool ValidatePage() override;
    bool ApplyPage() override;

private:
    void Load();
    void UpdateControls();
    int SelectedController() const;
    void ShowController(int line);
    void AddController();
    void EditSelectedController();
    void RemoveSelectedController();
    std::int32_t AreaShown() const;

    CLockCtrl m_lock;
    CRangeEdit m_period;
    CNHCustomListCtrl m_list;
    CHyperLink m_scheduleLink;
    CPollingSchedule m_schedule;
    scan::StoredBool m_storedEnable;
    scan::StoredInt m_storedPeriod, m_storedArea;
    std::vector<ZRSTD::CAutoPtr<ZRPAR::Value>> m_controllers;
    bool m_controllersUnreadable = false;  // stored as another type: kept until the list is changed
    bool m_controllersChanged = false;
    bool m_loading = false;
};
