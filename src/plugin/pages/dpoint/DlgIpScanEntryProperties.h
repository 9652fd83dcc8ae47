#pragma once

#include <string>
#include <vector>

#include "controls/NHCustomListCtrl.h"
#include "controls/NHPDialog.h"
#include "plugin/pages/dpoint/IpInterval.h"

// One IP interval of a polled range: a subnet given by its address and mask
// (which the console's subnet picker can fill in), or a range given by its
// first and last address.
class CDlgIpIntervalProperties : public CNHPDialog {
public:
    static constexpr UINT kTemplate = 9450;
    static constexpr int kBySubnet = 1082, kByRange = 1083, kFirst = 1084, kSecond = 1085, kFirstLabel = 1086,
                         kSecondLabel = 1087, kChooseSubnet = 1109;

    static ui::DialogTemplate Template();

    // interval: the stored element to edit (null or malformed: a new one).
    CDlgIpIntervalProperties(std::shared_ptr<NHPP::CNHPPageData> pageData, const ZRPAR::Value* interval);

    // The interval as accepted with OK.
    const ipscan::IpInterval& Result() const { return m_result; }

protected:
    bool OnInitDialog() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
    void OnOK() override;

private:
    void ShowForm(bool subnet);
    void ChooseSubnet();
    void SetAddress(int control, std::uint32_t hostForm);
    std::uint32_t AddressOf(int control) const;

    std::optional<ipscan::IpInterval> m_stored;
    ipscan::IpInterval m_result;
};

// One named range of the distribution point's IP polling: its name and the
// list of its intervals, each shown with the console's name and description
// of a subnet it knows.
class CDlgIpScanEntryProperties : public CNHPDialog {
public:
    static constexpr UINT kTemplate = 10491;
    static constexpr int kName = 1121, kIntervalsLabel = 1111, kIntervals = 1107, kAdd = 1108, kEdit = 1509,
                         kRemove = 1110;
    // Where the interval list keeps its column widths.
    static constexpr const wchar_t* kListState = L"Software\\BrenvikLab\\Components\\34\\Wnds\\ngt\\ip_scan_entry";

    static ui::DialogTemplate Template();

    // ranges: every range as stored now (for the uniqueness of the name);
    // name and range: the one edited (range null or malformed: no intervals).
    CDlgIpScanEntryProperties(std::shared_ptr<NHPP::CNHPPageData> pageData, const ZRPAR::Params& ranges,
                              std::wstring name, const ZRPAR::Value* range);

    // What OK accepted: the trimmed name and the range container.
    const std::wstring& ResultName() const { return m_name; }
    const ZRSTD::CAutoPtr<ZRPAR::Params>& ResultRange() const { return m_result; }

protected:
    bool OnInitDialog() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
    bool OnNotify(NMHDR* header, LRESULT* result) override;
    void OnOK() override;

private:
    int SelectedLine() const;
    void ShowInterval(int line);
    void UpdateButtons();
    void AddInterval();
    void EditSelectedInterval();
    void RemoveSelectedInterval();

    const ZRPAR::Params& m_ranges;
    const std::wstring m_formerName;
    ZRSTD::CAutoPtr<ZRPAR::Params> m_range;  // a copy: keys the dialog does not know stay as they were
    std::vector<ZRSTD::CAutoPtr<ZRPAR::Value>> m_intervals;
    CNHCustomListCtrl m_list;
    std::wstring m_name;
    ZRSTD::CAutoPtr<ZRPAR::Params> m_result;
};
