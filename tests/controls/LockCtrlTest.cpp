#include "controls/LockCtrl.h"

#include <gtest/gtest.h>

#include "support/ControlPage.h"
#include "support/ImageResources.h"
#include "ui/UserActions.h"

using testsupport::Command;
using testsupport::ControlPage;
using testsupport::ExpectSequence;
using testsupport::kVisibleChild;

namespace {

constexpr int kLock = 1500, kSize = 1501, kEnabled = 1502, kMissing = 1599;
constexpr UINT kItemImages = 7001, kInfoIcon = 7002;

const std::wstring kProhibited = L"Редактирование запрещено", kAllowed = L"Редактирование разрешено";
const std::wstring kLocalEnforced = L"Настройка заблокирована для изменения в дочерних политиках и настройках продукта.";
const std::wstring kLocalFree = L"Настройка разрешена для изменения в дочерних политиках и настройках продукта.";
const std::wstring kLockedAbove = L"Запрещен к изменению профилем \"%3\" в политике \"%1\" группы \"%2\"";
const std::wstring kPolicyProhibited = L"Запрещена для изменений политикой продукта.";
const std::wstring kPolicyAllowed = L"Изменение настроек разрешено.";


class LockCtrl : public testsupport::ControlTest {
protected:
    void SetUp() override
    {
        ControlTest::SetUp();
        const std::wstring texts[8] = {kProhibited, kAllowed,    kLocalEnforced,    kLocalFree,
                                       kLockedAbove, kLockedAbove, kPolicyProhibited, kPolicyAllowed};
        for (int i = 0; i < 8; ++i) module.AddString(kLockTextStrings[i], texts[i]);
        module.AddString(5841, L"Замочек \"%1\"");
        module.AddRaw(L"BITMAP", kItemImages, testsupport::BitmapHeader(20, 10));
        module.AddRaw(L"ICON", kInfoIcon, {0});
    }
    // A page with a lock governing an edit, a check box and a control the page does not have.
    void Show(bool localMode)
    {
        window = ShowPage({{kLock, L"Static", L"", kVisibleChild, RECT{200, 10, 400, 32}},
                           {kSize, L"Edit", L"512", kVisibleChild | WS_TABSTOP, RECT{10, 10, 100, 30}},
                           {kEnabled, L"Button", L"&Включить", kVisibleChild | BS_AUTOCHECKBOX, RECT{10, 40, 190, 60}}},
                          [=, this](ControlPage& page) {
                              lock.SubclassDlgItem(kLock, page);
                              lock.SetLocalMode(localMode);
                              lock.SetGovernedControls({kSize, kEnabled, kMissing});
                              lock.Setup(LoadLockCtrlTexts(kItemImages, kInfoIcon));
                          });
        control = ui::FindControl(window, kLock);
        dropDown = ui::FindControl(control, CLockCtrl::kDropDownId);
        pane = ui::FindControl(control, CLockCtrl::kInfoPaneId);
        page->received.clear();
    }
    bool Enabled(int id) const { return IsWindowEnabled(ui::FindControl(window, id)); }

    CLockCtrl lock;
    HWND window = nullptr, control = nullptr, dropDown = nullptr, pane = nullptr;
};

}  // namespace

TEST_F(LockCtrl, SetupMakesTwoItemsWithImagesAllowedSelectedAndLaysThemOut)
{
    Show(false);
    ASSERT_EQ(SendMessageW(dropDown, CB_GETCOUNT, 0, 0), 2);
    std::wstring first, second;
    SendMessageW(dropDown, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(&first));
    SendMessageW(dropDown, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(&second));
    EXPECT_EQ(first, kProhibited);
    EXPECT_EQ(second, kAllowed);
    EXPECT_EQ(SendMessageW(dropDown, CB_GETITEMDATA, 0, 0), 1);
    EXPECT_EQ(SendMessageW(dropDown, CB_GETITEMDATA, 1, 0), 0);
    EXPECT_EQ(GetWindowTextW(dropDown), kAllowed);
    EXPECT_FALSE(lock.IsMandatory());
    EXPECT_EQ(GetWindowLongW(dropDown, GWL_STYLE) & 0xF, CBS_DROPDOWNLIST);

    // the drop-down shows the allowed item's image; the pane the information icon
    std::vector<DrawOp> drawn = ui::Paint(dropDown);
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_EQ(drawn[0].image, 1);
    EXPECT_EQ(drawn[0].resourceId, kItemImages);
    EXPECT_EQ(drawn[0].rect.Width(), 10);
    drawn = ui::Paint(pane);
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].kind, DrawOp::Kind::Icon);
    EXPECT_EQ(drawn[0].resourceId, kInfoIcon);
    EXPECT_EQ(drawn[0].rect.Width(), 16);
    EXPECT_TRUE(GetWindowLongW(pane, GWL_STYLE) & SS_NOTIFY);

    // the drop-down leaves 25 pixels at the right, the pane takes the last 20
    EXPECT_EQ(GetWindowRect(dropDown), (RECT{0, 0, 175, 22}));
    EXPECT_EQ(SendMessageW(dropDown, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0), 16);
    EXPECT_EQ(GetWindowRect(pane), (RECT{180, 0, 200, 22}));
    MoveWindow(control, RECT{150, 10, 400, 40});
    EXPECT_EQ(GetWindowRect(dropDown), (RECT{0, 0, 225, 30}));
    EXPECT_EQ(SendMessageW(dropDown, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0), 24);
    EXPECT_EQ(GetWindowRect(pane), (RECT{230, 0, 250, 30}));
}

TEST_F(LockCtrl, TheLockStateDecidesTheItemTheEnablingAndTheExplanation)
{
    const std::wstring policy = L"Политика Москва", group = L"Офис";
    const struct {
        const char* what;
        bool local;
        NHPP::PolicyLockInfo lock;  // locked (A), mandatory (L), names
        bool disableLockItself;
        std::wstring selected;
        bool dropDownEnabled;
        bool governedEnabled;
        std::wstring tooltip;
    } cases[] = {
        {"policy, free", false, {false, false, false, L"", L"", L""}, false, kAllowed, true, true, kPolicyAllowed},
        {"policy, mandatory", false, {false, true, false, L"", L"", L""}, false, kProhibited, true, true, kPolicyProhibited},
        {"policy, locked above", false, {true, false, false, group, policy, L""}, false, kProhibited, false, false,
         L"Запрещен к изменению профилем \"\" в политике \"Политика Москва\" группы \"Офис\""},
        {"policy, locked above by a profile", false, {true, true, false, group, policy, L"Ноутбуки"}, false, kProhibited,
         false, false, L"Запрещен к изменению профилем \"Ноутбуки\" в политике \"Политика Москва\" группы \"Офис\""},
        {"local, enforced", true, {true, true, false, group, policy, L""}, false, kProhibited, false, false, kLocalEnforced},
        {"local, free", true, {false, false, false, L"", L"", L""}, false, kAllowed, false, true, kLocalFree},
        {"policy, the lock itself disabled", false, {false, false, false, L"", L"", L""}, true, kAllowed, true, false,
         kPolicyAllowed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Show(c.local);
        if (c.disableLockItself) EnableWindow(control, false);
        lock.SetLockState(c.lock);
        EXPECT_EQ(GetWindowTextW(dropDown), c.selected);
        EXPECT_EQ(lock.IsMandatory(), c.selected == kProhibited);
        EXPECT_EQ(lock.IsLockedByParent(), c.lock.locked);
        EXPECT_EQ(IsWindowEnabled(dropDown), c.dropDownEnabled);
        EXPECT_EQ(Enabled(kSize), c.governedEnabled);
        EXPECT_EQ(Enabled(kEnabled), c.governedEnabled);
        EXPECT_EQ(ui::TooltipTextFor(pane), c.tooltip);
        EXPECT_TRUE(page->received.empty());  // setting the state is not a change by the user
        NextSheet();
    }
}

TEST_F(LockCtrl, TheFourArgumentFormLeavesTheProfileEmptyAndAnEmptyTemplateShowsNoTooltip)
{
    Show(false);
    lock.SetLockState(true, true, L"Политика Москва", L"Офис");
    EXPECT_EQ(ui::TooltipTextFor(pane), L"Запрещен к изменению профилем \"\" в политике \"Политика Москва\" группы \"Офис\"");
    LockCtrlTexts texts = LoadLockCtrlTexts(kItemImages, kInfoIcon);
    texts.policyAllowed.clear();
    lock.Setup(texts);
    lock.SetLockState(false, false, L"", L"");
    EXPECT_EQ(lock.GetTooltipText(), L"");
    EXPECT_EQ(ui::TooltipTextFor(pane), L"");  // inactive
    EXPECT_TRUE(Enabled(kSize));  // unlocked again: the governed controls come back
}

TEST_F(LockCtrl, AChoiceInTheDropDownReachesThePageAsAClickOnTheLock)
{
    Show(false);
    lock.SetLockState(false, false, L"", L"");
    ui::SelectItem(dropDown, kProhibited);
    ExpectSequence({Command(kLock, 0, control)}, page->received);
    EXPECT_TRUE(lock.IsMandatory());
    EXPECT_EQ(ui::TooltipTextFor(pane), kPolicyProhibited);  // the explanation follows the choice
    ui::SelectItem(dropDown, kAllowed);
    EXPECT_EQ(lock.GetLockState(), CLockCtrl::kAllowed);
    EXPECT_EQ(ui::TooltipTextFor(pane), kPolicyAllowed);

    lock.SetLockState(false, true, L"Родительская", L"Все");
    EXPECT_THROW(ui::SelectItem(dropDown, kAllowed), ui::ActionRefused);  // locked above: no choice
    NextSheet();
    Show(true);
    lock.SetLockState(false, false, L"", L"");
    EXPECT_THROW(ui::SelectItem(dropDown, kProhibited), ui::ActionRefused);  // never on one computer
    EXPECT_TRUE(page->received.empty());
}

TEST_F(LockCtrl, TheTextFormsOfALockForExports)
{
    GetPluginEnvironment().moduleState = {&module, nullptr};
    EXPECT_EQ(LockStateText(true), kProhibited);
    EXPECT_EQ(LockStateText(false), kAllowed);
    EXPECT_EQ(LockNameText(L"&Журнал событий"), L"Замочек \"Журнал событий\"");
    EXPECT_EQ(LockNameText(L"R&&D && &Co"), L"Замочек \"RD  Co\"");
}
