#pragma once

#include <string>
#include <vector>

#include "controls/NHComboBox.h"
#include "controls/NHCustomDataListCtrl.h"
#include "controls/NHCustomListCtrl.h"
#include "controls/NHPPropertyPageBase.h"
#include "plugin/pages/agent/NLARule.h"

// One network location rule, shown as a modal dialog: its name, whether it
// is active, the profile it switches to, and its conditions, at most one of
// each type. It works on a provider over the rule's working container, which
// also holds a copy of the policy's profiles under "ZRNLA_PROFILES".
class CPageNLARuleConditions : public CNHPPropertyPageBase {
public:
    static constexpr UINT kTemplate = 10423, kHelpTopic = 10807;
    static constexpr int kNameLabel = 1045, kName = 1043, kEnabled = 1071, kProfileLabel = 1044, kProfile = 1046,
                         kConditionsLabel = 1038, kConditions = 1039, kAdd = 1040, kEdit = 1041, kRemove = 1042;

    static ui::DialogTemplate Template();

    // otherNames: the names of the policy's other rules, which this one may not take.
    CPageNLARuleConditions(std::shared_ptr<NHPP::CNHPPageData> pageData, NHPP::CParams& rule,
                           std::vector<std::wstring> otherNames);
    ~CPageNLARuleConditions() override;

protected:
    bool OnInitDialog() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
    bool OnNotify(NMHDR* header, LRESULT* result) override;
    bool ValidatePage() override;
    bool ApplyPage() override;
    void OnOK() override;

private:
    void FillProfiles();
    void FillConditions();
    void UpdateControls();
    // The type of the selected line, or -1.
    int SelectedType() const;
    void ChooseConditionToAdd();
    void AddCondition(int type);
    void EditCondition();
    void RemoveCondition();
    // Runs the type's editor over a condition container; true on OK.
    bool RunEditor(int type, ZRPAR::Params& condition, bool isNew);

    NHPP::CParams& m_rule;
    std::vector<std::wstring> m_otherNames;
    CNHCustomDataComboBox<CNHComboBox, std::wstring> m_profiles;
    CNHCustomListCtrl m_conditions;
    HIMAGELIST m_images = nullptr;
};
