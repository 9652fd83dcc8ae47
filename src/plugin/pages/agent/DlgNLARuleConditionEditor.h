#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "controls/NHCustomListCtrl.h"
#include "controls/NHPDialog.h"
#include "nhpp/CParams.h"
#include "plugin/pages/agent/NLARule.h"

// The editors of one condition of a network location rule. Each works on a
// provider over the condition's container; the caller hands them a copy and
// keeps it only when they close with OK.

// The list of values a condition compares with, and whether the parameter
// must match one of them or none (template 10424).
class CDlgNLARuleConditionEditor : public CNHPDialog {
public:
    static constexpr UINT kTemplate = 10424;
    static constexpr int kValuesLabel = 1048, kValues = 1047, kAdd = 1049, kEdit = 1050, kRemove = 1051,
                         kMatchLabel = 1053, kMatchesOne = 1054, kMatchesNone = 1055;

    static ui::DialogTemplate Template();

    CDlgNLARuleConditionEditor(std::shared_ptr<NHPP::CNHPPageData> pageData, const nla::ConditionType& type,
                               NHPP::CParams& condition, bool isNew);

protected:
    bool OnInitDialog() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
    bool OnNotify(NMHDR* header, LRESULT* result) override;
    void OnOK() override;

    // The columns of the value list, and one line's texts.
    virtual void InsertColumns();
    virtual void ShowValue(int line, const ZRPAR::Value* value);

    void UpdateControls();
    int SelectedLine() const;
    void AddValue();
    void EditValue();
    void RemoveValue();

    const nla::ConditionType& m_type;
    NHPP::CParams& m_condition;
    bool m_new;
    ZRSTD::CAutoPtr<ZRPAR::ArrayValue> m_values;
    std::int32_t m_storedOperator = 0;
    CNHCustomListCtrl m_list;
};

// The subnet condition: each value's address and mask, with the name and
// description the administration server keeps for that subnet.
class CDlgNLARuleConditionEditorIpSubnets : public CDlgNLARuleConditionEditor {
public:
    CDlgNLARuleConditionEditorIpSubnets(std::shared_ptr<NHPP::CNHPPageData> pageData, NHPP::CParams& condition,
                                        bool isNew);

protected:
    void InsertColumns() override;
    void ShowValue(int line, const ZRPAR::Value* value) override;
};

// One value of a condition (template 10426): a subnet, an address, a name,
// or an SSL address with its certificate.
class CDlgNLARuleCondPartEditor : public CNHPDialog {
public:
    static constexpr UINT kTemplate = 10426;
    static constexpr int kAddress = 1057, kAddressLabel = 1058, kMask = 1055, kMaskLabel = 1056, kText = 1059,
                         kTextLabel = 1061, kCertificate = 1060, kCertificateLabel = 1062, kChooseCertificate = 1109,
                         kChooseSubnet = 1110;

    static ui::DialogTemplate Template();

    // value: the value edited, null for a new one.
    CDlgNLARuleCondPartEditor(std::shared_ptr<NHPP::CNHPPageData> pageData, const nla::ConditionType& type,
                              const ZRPAR::Value* value);
    // After OK: the value to store.
    const ZRSTD::CAutoPtr<ZRPAR::Value>& Result() const { return m_result; }

protected:
    bool OnInitDialog() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
    void OnOK() override;

private:
    void ChooseSubnet();
    void ChooseCertificate();
    std::uint32_t AddressOf(int control) const;
    void SetAddress(int control, std::uint32_t hostForm);
    // A copy of the edited value's container (other keys in it are kept), or a new one.
    ZRSTD::CAutoPtr<ZRPAR::Params> EditedContainer() const;
    bool AcceptSubnet();
    bool AcceptText();
    bool AcceptSsl();

    const nla::ConditionType& m_type;
    ZRSTD::CAutoPtr<ZRPAR::Value> m_value;
    ZRSTD::CAutoPtr<ZRPAR::Value> m_result;
    std::optional<std::vector<std::uint8_t>> m_chosenCertificate;
};

// The yes/no condition (template 10425): one check box.
class CDlgNLARuleSimpleConditionEditor : public CNHPDialog {
public:
    static constexpr UINT kTemplate = 10425;
    static constexpr int kValue = 1052;

    static ui::DialogTemplate Template();

    CDlgNLARuleSimpleConditionEditor(std::shared_ptr<NHPP::CNHPPageData> pageData, const nla::ConditionType& type,
                                     NHPP::CParams& condition, bool isNew);

protected:
    bool OnInitDialog() override;
    void OnOK() override;

private:
    const nla::ConditionType& m_type;
    NHPP::CParams& m_condition;
    bool m_new;
};
