#include "plugin/pages/dpoint/PageUAScanWin.h"

#include <gtest/gtest.h>

#include "support/ScanPageFixture.h"

using testsupport::Setting;

namespace {

using Page = CPageUAScanWinBase;

constexpr const wchar_t* kEnableKey = L"ZRSRV_NET_SCAN_ENABLED";
constexpr const wchar_t* kFullKey = L"ZRSRV_SP_FULLUPDATENET_PERIOD";
constexpr const wchar_t* kFastKey = L"ZRSRV_SP_FASTUPDATENET_PERIOD";

class WinScanPage : public testsupport::ScanPageTest {};

}  // namespace

TEST_F(WinScanPage, PeriodsShowInMinutesFromTheDistributionPointOrTheEnforcingPolicy)
{
    const struct {
        const char* name;
        bool stored;    // the distribution point holds: polling on, 120 and 2 minutes
        bool enforced;  // the policy enforces: polling off, 45 and 5 minutes
        bool checked;
        const wchar_t *full, *fast;
        bool writtenEnable;
        std::int32_t writtenFull, writtenFast;
    } cases[] = {
        {"nothing stored", false, false, true, L"60", L"15", true, 3600000, 900000},
        {"own values", true, false, true, L"120", L"2", true, 7200000, 120000},
        {"enforced", true, true, false, L"45", L"5", true, 7200000, 120000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StoreLocal(kSection, {});
        if (c.stored) StoreLocal(kSection, {{kEnableKey, true}, {kFullKey, 7200000}, {kFastKey, 120000}});
        StorePolicySection(kSection, {});
        if (c.enforced)
            StorePolicySection(kSection, {{kEnableKey, Setting(false, true)}, {kFullKey, Setting(2700000, true)},
                                          {kFastKey, Setting(300000, true)}});
        OpenPage<Page>();
        EXPECT_EQ(Checked(Page::kEnable), c.checked);
        EXPECT_EQ(Text(Page::kFullPeriod), c.full);
        EXPECT_EQ(Text(Page::kFastPeriod), c.fast);
        EXPECT_EQ(Enabled(Page::kEnable), !c.enforced);
        EXPECT_EQ(Enabled(Page::kFullPeriod), !c.enforced);
        ASSERT_TRUE(PressOk());
        // enforced values are the policy's: the distribution point's own stay as they were
        EXPECT_EQ(Local<ZRPAR::BoolValue>(kSection, kEnableKey), c.writtenEnable);
        EXPECT_EQ(Local<ZRPAR::IntValue>(kSection, kFullKey), c.writtenFull);
        EXPECT_EQ(Local<ZRPAR::IntValue>(kSection, kFastKey), c.writtenFast);
    }
}
