#include "plugin/pages/dpoint/PageUAScanIp.h"

#include <gtest/gtest.h>

#include "plugin/pages/dpoint/DlgIpScanEntryProperties.h"
#include "plugin/pages/dpoint/IpInterval.h"
#include "support/ScanPageFixture.h"
#include "ui/CommonControls.h"
#include "zrpar/Schedule.h"

using testsupport::LockedSetting;
using testsupport::Setting;

namespace {

using Page = CPageUAScanIpBase;
using Range = CDlgIpScanEntryProperties;
using Interval = CDlgIpIntervalProperties;

constexpr const wchar_t* kEnableKey = L"ZRSRV_SP_DPNS_ENABLE";
constexpr const wchar_t* kPeriodKey = L"ZRSRV_SP_DPNS_PERIOD";
constexpr const wchar_t* kZeroconfKey = L"ZRSRV_SP_DPNS_USE_ZEROCONF";
constexpr const wchar_t* kScheduleKey = L"ZRSRV_SP_DPNS_SCHEDULE";
constexpr const wchar_t* kRangesKey = L"ZRNAGNS_SP_DPNS_DIAPASONS_IPV4";

std::uint32_t Host(std::uint8_t a, std::uint8_t b, std::uint8_t c, std::uint8_t d)
{
    return (std::uint32_t{a} << 24) | (std::uint32_t{b} << 16) | (std::uint32_t{c} << 8) | d;
}

ZRSTD::CAutoPtr<ZRPAR::Params> RangeOf(std::initializer_list<ipscan::IpInterval> intervals)
{
    auto array = ZRPAR::CreateArrayValue();
    for (const auto& interval : intervals) array->Append(ZRPAR::CreateValue(ipscan::IntervalContainer(interval).Get()).Get());
    return ZRPAR::CreateParamsBody({{ipscan::kScanEnabledKey, true}, {ipscan::kIntervalsKey, array}});
}

class IpScanPage : public testsupport::ScanPageTest {
protected:
    void OpenIp() { OpenPage<Page>(); }
    std::vector<std::wstring> Rows(HWND list)
    {
        std::vector<std::wstring> rows;
        const auto count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
        for (int row = 0; row < count; ++row) rows.push_back(ui::GetListRowText(list, row));
        return rows;
    }
    // The user's steps in the interval dialog: the form, the two fields, OK.
    std::function<void(HWND)> IntervalSteps(bool subnet, const wchar_t* first, const wchar_t* second)
    {
        return [=](HWND dialog) {
            ui::Click(GetDlgItem(dialog, subnet ? Interval::kBySubnet : Interval::kByRange));
            ui::EnterAddress(GetDlgItem(dialog, Interval::kFirst), first);
            ui::EnterAddress(GetDlgItem(dialog, Interval::kSecond), second);
            ui::Click(GetDlgItem(dialog, IDOK));
        };
    }
    ZRSTD::CAutoPtr<ZRPAR::Params> StoredRanges()
    {
        ZRPAR::Value* ranges = LocalValue(kRangesSection, kRangesKey);
        return ranges && ranges->GetType() == ZRPAR::VT_PARAMS ? ZRSTD::CAutoPtr<ZRPAR::Params>(
                                                                     static_cast<ZRPAR::ParamsValue*>(ranges)->GetValue())
                                                               : nullptr;
    }
};

}  // namespace

TEST(IpInterval, TheRulesOfSubnetsAndRangesAndTheirStoredForm)
{
    const struct {
        bool subnet;
        std::uint32_t first, second;
        UINT problem;
        std::uint32_t storedLow, storedHigh;  // when accepted
    } cases[] = {
        {true, Host(192, 168, 1, 0), Host(255, 255, 255, 0), 0, 0x00FFFFFFu, 0x0001A8C0u},
        {true, Host(192, 168, 1, 5), Host(255, 255, 255, 0), 1917, 0, 0},
        {true, Host(192, 168, 1, 0), Host(255, 0, 255, 0), 1917, 0, 0},
        {true, Host(192, 168, 1, 0), Host(255, 255, 255, 255), 1917, 0, 0},
        {true, Host(10, 0, 0, 0), Host(128, 0, 0, 0), 1917, 0, 0},  // host bits outside a /1
        {true, Host(128, 0, 0, 0), Host(128, 0, 0, 0), 0, 0x80u, 0x80u},
        {true, 0, Host(255, 0, 0, 0), 1919, 0, 0},
        {true, Host(10, 0, 0, 0), 0, 1918, 0, 0},
        {false, Host(10, 0, 0, 20), Host(10, 0, 0, 10), 0, 0x0A00000Au, 0x1400000Au},
        {false, 0, Host(10, 0, 0, 1), 0, 0, 0x0100000Au},
        {false, 0, 0, 2514, 0, 0},
        {false, Host(10, 0, 0, 1), 0xFFFFFFFFu, 2514, 0, 0},
        {false, 0xFFFFFFFFu, Host(10, 0, 0, 1), 2514, 0, 0},
        {false, Host(10, 0, 0, 7), Host(10, 0, 0, 7), 1920, 0, 0},
        // ends compared unsigned: 200.x is above 10.x although its stored integer is negative
        {false, Host(200, 0, 0, 1), Host(10, 0, 0, 1), 0, 0x0100000Au, 0x010000C8u},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.first) + " " + std::to_string(c.second));
        EXPECT_EQ(ipscan::IntervalProblem(c.subnet, c.first, c.second), c.problem);
        if (c.problem) continue;
        const ipscan::IpInterval stored = ipscan::IntervalFromHostForm(c.subnet, c.first, c.second);
        EXPECT_EQ(stored.maskOrLow, c.storedLow);
        EXPECT_EQ(stored.subnetOrHigh, c.storedHigh);
        // shown again, the fields hold what was entered (a range in order)
        EXPECT_EQ(ipscan::FirstField(stored), c.subnet ? c.first : std::min(c.first, c.second));
        EXPECT_EQ(ipscan::SecondField(stored), c.subnet ? c.second : std::max(c.first, c.second));
    }
}

TEST_F(IpScanPage, WhatThePolicyEnforcesIsShownReadOnlyAndWhatItLeavesFreeIsEdited)
{
    const struct {
        bool pollingEnforced, zeroconfEnforced;
    } cases[] = {{true, false}, {false, true}, {true, true}, {false, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.pollingEnforced) + std::to_string(c.zeroconfEnforced));
        StoreLocal(kSection, {{kEnableKey, false}, {kPeriodKey, 600000}, {kZeroconfKey, false}});
        // the policy enforces polling on every 20 minutes, and zeroconf on
        auto enforced = ZRPAR::CreateParams();
        if (c.pollingEnforced) {
            enforced->AddValue(kEnableKey, ZRPAR::CreateValue(Setting(true, true).Get()).Get());
            enforced->AddValue(kPeriodKey, ZRPAR::CreateValue(Setting(1200000, true).Get()).Get());
        }
        if (c.zeroconfEnforced) enforced->AddValue(kZeroconfKey, ZRPAR::CreateValue(Setting(true, true).Get()).Get());
        Store(kSection, Setting(enforced, false));
        OpenIp();
        EXPECT_EQ(Checked(Page::kEnable), c.pollingEnforced);
        EXPECT_EQ(Text(Page::kPeriod), c.pollingEnforced ? L"20" : L"10");
        EXPECT_EQ(Checked(Page::kZeroconf), c.zeroconfEnforced);
        EXPECT_EQ(LockShown(Page::kPollingLock),
                  c.pollingEnforced ? L"Редактирование запрещено" : L"Редактирование разрешено");
        EXPECT_EQ(Enabled(Page::kEnable), !c.pollingEnforced);
        EXPECT_EQ(Enabled(Page::kZeroconf), !c.zeroconfEnforced);
        if (!c.zeroconfEnforced) ui::Click(Control(Page::kZeroconf));
        if (!c.pollingEnforced) {
            ui::Click(Control(Page::kEnable));
            ui::ReplaceText(Control(Page::kPeriod), L"7");
        }
        for (int id : {Page::kPeriod, Page::kAdd, Page::kScheduleLink}) EXPECT_EQ(Enabled(id), !c.pollingEnforced) << id;
        ASSERT_TRUE(PressOk());
        // enforced everywhere, nothing is written; else the provider keeps the enforced values with the free ones
        const bool untouched = c.pollingEnforced && c.zeroconfEnforced;
        EXPECT_EQ(Local<ZRPAR::BoolValue>(kSection, kEnableKey), !untouched);
        EXPECT_EQ(Local<ZRPAR::IntValue>(kSection, kPeriodKey),
                  untouched ? 600000 : c.pollingEnforced ? 1200000 : 420000);
        EXPECT_EQ(Local<ZRPAR::BoolValue>(kSection, kZeroconfKey), !untouched);
    }
}

TEST_F(IpScanPage, PeriodsOutOfRangeShowAsStoredAndValidationNamesThem)
{
    const struct {
        std::int32_t stored;
        const wchar_t* shown;
        const wchar_t* typed;  // null: untouched
        bool accepted;
        std::int32_t written;
    } cases[] = {
        {420000, L"7", nullptr, true, 420000},
        {90000, L"1", nullptr, true, 90000},  // 1.5 minutes: shown truncated, kept as stored
        {0, L"0", nullptr, false, 0},
        {-60000, L"-1", nullptr, false, 0},
        {600000, L"10", L"35791", true, 2147460000},
        {600000, L"10", L"35792", true, 3579 * 60000},  // more would not fit: the edit refuses the last digit
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        StoreLocal(kSection, {{kEnableKey, true}, {kPeriodKey, c.stored}});
        OpenIp();
        EXPECT_EQ(Text(Page::kPeriod), c.shown);
        if (c.typed) ui::ReplaceText(Control(Page::kPeriod), c.typed);
        ui::ClearInteractionRecord();
        EXPECT_EQ(PressOk(), c.accepted);
        if (c.accepted) {
            EXPECT_EQ(Local<ZRPAR::IntValue>(kSection, kPeriodKey), c.written);
        } else {
            ASSERT_EQ(Boxes().size(), 1u);
            EXPECT_NE(Boxes()[0].find(L"Период опроса"), std::wstring::npos) << ZRSTD::ToUtf8(Boxes()[0]);
            EXPECT_EQ(Local<ZRPAR::IntValue>(kSection, kPeriodKey), c.stored);
        }
    }
}

TEST_F(IpScanPage, StoredValuesOfAnotherTypeStayUntilTheAdministratorChangesThem)
{
    StoreLocal(kSection, {{kEnableKey, L"yes"}, {kPeriodKey, L"420"}, {kZeroconfKey, 1}, {kScheduleKey, 7}});
    StoreLocal(kRangesSection, {{kRangesKey, L"10.0.0.0/8"}});
    const std::string before = Everything();
    OpenIp();
    EXPECT_FALSE(Checked(Page::kEnable));
    EXPECT_EQ(Text(Page::kPeriod), L"420");
    EXPECT_TRUE(Rows(Control(Page::kRanges)).empty());
    ASSERT_TRUE(PressOk());
    EXPECT_EQ(Everything(), before);

    ui::Click(Control(Page::kEnable));
    ASSERT_TRUE(PressOk());
    EXPECT_TRUE(Local<ZRPAR::BoolValue>(kSection, kEnableKey));
    EXPECT_EQ(LocalValue(kSection, kPeriodKey)->GetType(), ZRPAR::VT_STRING);  // still untouched
    EXPECT_EQ(LocalValue(kRangesSection, kRangesKey)->GetType(), ZRPAR::VT_STRING);
}

TEST_F(IpScanPage, NewRangesAreNamedInSequenceAndStoredWithTheirIntervals)
{
    StoreLocal(kSection, {{kEnableKey, true}});
    OpenIp();
    // three ranges in a row: the first a subnet, the second a range given backwards, the third empty
    user.InDialog([&](HWND range) {
           EXPECT_EQ(GetDlgItemTextW(range, Range::kName), L"Новый диапазон");
           ui::Click(GetDlgItem(range, Range::kAdd));
           ui::Click(GetDlgItem(range, IDOK));
       })
        .InDialog(IntervalSteps(true, L"192.168.1.0", L"255.255.255.0"));
    ui::Click(Control(Page::kAdd));
    user.InDialog([&](HWND range) {
           EXPECT_EQ(GetDlgItemTextW(range, Range::kName), L"Новый диапазон (1)");
           ui::Click(GetDlgItem(range, Range::kAdd));
           EXPECT_EQ(ui::GetListRowText(GetDlgItem(range, Range::kIntervals), 0), L"");  // no subnet the console knows
           ui::Click(GetDlgItem(range, IDOK));
       })
        .InDialog(IntervalSteps(false, L"10.0.0.20", L"10.0.0.10"));
    ui::Click(Control(Page::kAdd));
    user.InDialog([&](HWND range) {
        EXPECT_EQ(GetDlgItemTextW(range, Range::kName), L"Новый диапазон (2)");
        ui::Click(GetDlgItem(range, IDOK));
    });
    ui::Click(Control(Page::kAdd));
    EXPECT_TRUE(user.Finished());
    EXPECT_EQ(Rows(Control(Page::kRanges)),
              (std::vector<std::wstring>{L"Новый диапазон", L"Новый диапазон (1)", L"Новый диапазон (2)"}));
    ASSERT_TRUE(PressOk());

    auto ranges = StoredRanges();
    ASSERT_TRUE(ranges);
    EXPECT_EQ(ranges->GetNames(),
              (std::vector<std::wstring>{L"Новый диапазон", L"Новый диапазон (1)", L"Новый диапазон (2)"}));
    const struct {
        const wchar_t* name;
        std::vector<ipscan::IpInterval> intervals;
    } expected[] = {
        {L"Новый диапазон", {{true, 0x00FFFFFFu, 0x0001A8C0u}}},  // 192 in the lowest byte of the subnet
        {L"Новый диапазон (1)", {{false, 0x0A00000Au, 0x1400000Au}}},
        {L"Новый диапазон (2)", {}},
    };
    for (const auto& range : expected) {
        SCOPED_TRACE(ZRSTD::ToUtf8(range.name));
        auto stored = ZRPAR::GetParamsValue(ranges.Get(), range.name);
        EXPECT_TRUE(ZRPAR::GetBoolValue(stored.Get(), ipscan::kScanEnabledKey));
        auto intervals = ZRPAR::GetArrayValue(stored.Get(), ipscan::kIntervalsKey);
        ASSERT_EQ(intervals->GetSize(), range.intervals.size());
        for (std::size_t i = 0; i < range.intervals.size(); ++i) {
            const auto read = ipscan::ReadInterval(intervals->ItemAt(i));
            ASSERT_TRUE(read);
            EXPECT_EQ(read->subnet, range.intervals[i].subnet);
            EXPECT_EQ(read->maskOrLow, range.intervals[i].maskOrLow);
            EXPECT_EQ(read->subnetOrHigh, range.intervals[i].subnetOrHigh);
        }
    }
}

TEST_F(IpScanPage, ARenamedRangeKeepsItsPlaceAndANameInUseIsRefused)
{
    StoreLocal(kSection, {{kEnableKey, true}});
    StoreLocal(kRangesSection, {{kRangesKey, ZRPAR::CreateParamsBody({{L"A", RangeOf({{false, 0x0100000Au, 0x0200000Au}})},
                                                                       {L"B", RangeOf({})},
                                                                       {L"C", RangeOf({})}})}});
    OpenIp();
    ui::SelectItem(Control(Page::kRanges), L"B");
    user.InDialog([&](HWND range) {
        ui::ReplaceText(GetDlgItem(range, Range::kName), L"C");
        ui::Click(GetDlgItem(range, IDOK));
        EXPECT_FALSE(ui::ModalDialogEnded(range));
        ui::ReplaceText(GetDlgItem(range, Range::kName), L"  ");
        ui::Click(GetDlgItem(range, IDOK));
        EXPECT_FALSE(ui::ModalDialogEnded(range));
        ui::ReplaceText(GetDlgItem(range, Range::kName), L"  Бета ");
        ui::Click(GetDlgItem(range, IDOK));
    });
    ui::Click(Control(Page::kEdit));
    EXPECT_EQ(Boxes(), (std::vector<std::wstring>{L"Имя должно быть уникальным.", L"Не задано имя диапазона."}));
    ASSERT_TRUE(PressOk());
    EXPECT_EQ(StoredRanges()->GetNames(), (std::vector<std::wstring>{L"A", L"Бета", L"C"}));
}

TEST_F(IpScanPage, TheScheduleIsBuiltFromThePeriodAndKeptOnlyWhenEditedWithOk)
{
    StoreLocal(kSection, {{kEnableKey, true}, {kPeriodKey, 1800000}});
    OpenIp();
    scheduleEditor->accept = false;
    ui::Click(Control(Page::kScheduleLink));
    EXPECT_FALSE(page->IsModified());
    ASSERT_TRUE(PressOk());
    EXPECT_FALSE(LocalValue(kSection, kScheduleKey));  // cancelled: none is stored

    scheduleEditor->accept = true;
    ui::Click(Control(Page::kScheduleLink));
    EXPECT_TRUE(page->IsModified());
    ASSERT_EQ(scheduleEditor->opened.size(), 2u);
    EXPECT_EQ(scheduleEditor->lastOptions, 0xa0402u);
    const ZRPAR::Params* built = scheduleEditor->opened[1].Get();
    EXPECT_EQ(ZRPAR::GetIntValue(built, ZRSCH::kPeriodKey), 1800);  // the period in seconds
    EXPECT_GT(ZRPAR::GetDateTimeValue(built, ZRSCH::kStartKey), 0);
    ASSERT_TRUE(PressOk());
    ZRPAR::Value* schedule = LocalValue(kSection, kScheduleKey);
    ASSERT_TRUE(schedule && schedule->GetType() == ZRPAR::VT_PARAMS);
    EXPECT_TRUE(ZRPAR::GetBoolValue(static_cast<ZRPAR::ParamsValue*>(schedule)->GetValue(), L"EditedByTest"));

    // opened again, the editor gets the stored schedule, not a new one
    OpenIp();
    ui::Click(Control(Page::kScheduleLink));
    EXPECT_TRUE(ZRPAR::GetBoolValue(scheduleEditor->opened.back().Get(), L"EditedByTest"));

    // a period that is no period gives the default of 7 hours
    StoreLocal(kSection, {{kEnableKey, true}, {kPeriodKey, -60000}});
    OpenIp();
    ui::Click(Control(Page::kScheduleLink));
    EXPECT_EQ(ZRPAR::GetIntValue(scheduleEditor->opened.back().Get(), ZRSCH::kPeriodKey), 25200);
}

// The console's subnets as a test knows them: one named subnet, and a picker that chooses it.
class KnownSubnets : public ZRSTD::ZRBaseQIImpl<ZRPlugin::IIpRangePicker> {
public:
    bool SelectIpRange(HWND, ZRPAR::Params** ppRange) override
    {
        *ppRange = ZRPAR::CreateParamsBody({{L"nIpAddress", static_cast<std::int32_t>(Host(172, 16, 0, 0))},
                                            {L"nMask", static_cast<std::int32_t>(Host(255, 255, 0, 0))}})
                       .Detach();
        return true;
    }
    bool FindSubnet(std::uint32_t address, std::uint32_t mask, ZRPAR::Params** ppSubnet) override
    {
        *ppSubnet = nullptr;
        if (address != Host(172, 16, 0, 0) || mask != Host(255, 255, 0, 0)) return false;
        *ppSubnet = ZRPAR::CreateParamsBody({{L"wstrSubnetName", L"Склад"}, {L"wstrComment", L"второй\r\nэтаж"}}).Detach();
        return true;
    }
};

TEST_F(IpScanPage, APickedSubnetShowsWithTheConsolesNameAndDescription)
{
    source.Set(L"SELECT_IPDIAPASON", ZRSTD::MakeRef<KnownSubnets>());
    StoreLocal(kSection, {{kEnableKey, true}});
    OpenIp();
    std::vector<std::wstring> row;
    user.InDialog([&](HWND range) {
           ui::Click(GetDlgItem(range, Range::kAdd));
           for (int column = 0; column < 3; ++column) {
               LVITEMW cell;
               cell.iSubItem = column;
               SendMessageW(GetDlgItem(range, Range::kIntervals), LVM_GETITEMTEXTW, 0, reinterpret_cast<LPARAM>(&cell));
               row.push_back(cell.text);
           }
           ui::Click(GetDlgItem(range, IDOK));
       })
        .InDialog([](HWND interval) {
            ui::Click(GetDlgItem(interval, Interval::kBySubnet));
            ui::Click(GetDlgItem(interval, Interval::kChooseSubnet));
            ui::Click(GetDlgItem(interval, IDOK));
        });
    ui::Click(Control(Page::kAdd));
    EXPECT_EQ(row, (std::vector<std::wstring>{L"Склад", L"Маска подсети: 255.255.0.0; адрес: 172.16.0.0", L"второй этаж"}));
}
