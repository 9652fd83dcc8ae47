#pragma once

#include <vector>

#include "controls/LockCtrl.h"
#include "controls/NHCustomDataListCtrl.h"
#include "controls/NHCustomListCtrl.h"
#include "controls/NHPPropertyPageBase.h"
#include "plugin/pages/agent/NLARule.h"

// Connection profiles (other ways for the agent to reach an administration
// server) and network location rules (which profile the agent switches to in
// which network), and whether the agent turns to its mobile policies when the
// server cannot be reached. The page keeps the stored profiles and rules as
// it read them and writes both arrays back in list order: what the
// administrator did not edit goes back exactly as it was.
class CPageNetworkNLA : public CNHPPropertyPageBase {
public:
    static constexpr UINT kTemplate = 10421, kHelpTopic = 10806;
    static constexpr int kProfilesLabel = 1029, kProfiles = 1033, kAddProfile = 1035, kProfileProperties = 1036,
                         kRemoveProfile = 1037, kLock = 1030, kRulesLabel = 1031, kRules = 1034, kAddRule = 1038,
                         kRuleProperties = 1039, kRuleUp = 1292, kRuleDown = 1293, kRemoveRule = 1294,
                         kRoaming = 1172, kRoamingLock = 1032;
    // A rule line's image: an active rule, a rule that is not.
    static constexpr int kEnabledRuleImage = 2, kDisabledRuleImage = 3;
    // The context kind in which profiles are neither listed nor added.
    static constexpr std::int32_t kContextWithoutProfiles = 2;

    // An item of the profile list: a reserved entry, or a stored profile.
    struct CProfile {
        enum Kind { kOffline, kHomeServer, kProfile };
        Kind kind = kOffline;
        ZRSTD::CAutoPtr<ZRPAR::Value> element;  // the profile as stored (or as last edited)
    };

    static ui::DialogTemplate Template();
    static std::vector<ZRSTD::CAutoPtr<ZRPAR::Params>> Export(NHPP::CNHPPageData& pageData);

    explicit CPageNetworkNLA(std::shared_ptr<NHPP::CNHPPageData> pageData);

protected:
    bool OnInitDialog() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
    bool OnNotify(NMHDR* header, LRESULT* result) override;
    bool ApplyPage() override;

    void Load();
    void UpdateControls();
    // The section's provider, or null (traced) when it cannot be had.
    ZRSTD::CAutoPtr<NHPP::CParams> NlaProvider();

    // Profiles.
    std::vector<ZRSTD::CAutoPtr<ZRPAR::Value>> CurrentProfiles();
    std::vector<nla::ProfileEntry> ProfileEntries(int except = -1);
    int SelectedProfile() const;
    bool EditProfile(ZRPAR::Params& profile, int line);
    void AddProfile();
    void EditSelectedProfile();
    void RemoveProfile();

    // Rules: line i shows m_rules[i].
    int SelectedRule() const;
    void ShowRule(int line);
    void ShowRules();
    bool EditRule(ZRPAR::Params& rule, int line);
    void AddRule();
    void EditSelectedRule();
    void RemoveRule();
    void MoveRule(int by);

    CNHCustomDataListCtrl<CNHCustomListCtrl, CProfile> m_profiles;
    CNHCustomListCtrl m_rulesList;
    std::vector<ZRSTD::CAutoPtr<ZRPAR::Value>> m_rules;
    // The stored profiles when the context lists none: written back as they were.
    std::vector<ZRSTD::CAutoPtr<ZRPAR::Value>> m_unlistedProfiles;
    bool m_profilesListed = true;
    CLockCtrl m_lock, m_roamingLock;
    NHPP::PolicyLockInfo m_lockInfo, m_roamingLockInfo;
    bool m_localMode = false;
    bool m_loading = false;
};

// The same page over one computer's local settings: the locks only show
// whether the policy enforces the values.
class CPageNetworkNLAProduct : public CPageNetworkNLA {
public:
    explicit CPageNetworkNLAProduct(std::shared_ptr<NHPP::CNHPPageData> pageData);
};
