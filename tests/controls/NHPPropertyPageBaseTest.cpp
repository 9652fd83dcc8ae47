#include "controls/NHPPropertyPageBase.h"

#include <gtest/gtest.h>

#include "controls/PageMessages.h"
#include "support/ControlPage.h"
#include "support/Errors.h"
#include "ui/ControlWrappers.h"
#include "ui/UserActions.h"

using host::SheetMessage;

namespace {

constexpr UINT kTemplate = 9000;
constexpr int kSize = 100, kEnabled = 101;

// A page with an edit and a check box: every change marks it modified; an
// empty size is refused with string 2009; applying succeeds as told.
class TestPage : public CNHPPropertyPageBase {
public:
    TestPage() : CNHPPropertyPageBase(kTemplate) {}
    bool applySucceeds = true;
    int applied = 0;

    bool OnCommand(WORD id, WORD code, HWND) override
    {
        if ((id == kSize && code == EN_CHANGE) || (id == kEnabled && code == BN_CLICKED)) {
            SetModified(true);
            return true;
        }
        return false;
    }
    bool ValidatePage() override
    {
        if (!GetDlgItemText(kSize).empty()) return true;
        ShowError(2009);
        ::SetFocus(GetDlgItem(kSize));
        return false;
    }
    bool ApplyPage() override
    {
        ++applied;
        return applySucceeds;
    }
};

class PageBase : public testsupport::ControlTest {
protected:
    void SetUp() override
    {
        ControlTest::SetUp();
        ui::DialogTemplate form;
        form.id = kTemplate;
        form.rect = {0, 0, 300, 200};
        form.controls = {{kSize, L"Edit", L"2", WS_CHILD | WS_VISIBLE | ES_NUMBER, {10, 10, 60, 30}},
                         {kEnabled, L"Button", L"&Включить", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, {10, 40, 200, 60}}};
        module.AddTemplate(form);
        module.AddString(2009, L"Invalid maximum size for events log specified");
        GetPluginEnvironment().onlineHelpTemplate = L"https://help.brenviklab.example/nagent/%1";
        GetPluginEnvironment().localHelpTemplate = L"/opt/ngt/help\\%1.htm";
        tested = new TestPage;
    }
    void TearDown() override
    {
        if (tested) tested->Release();
        ControlTest::TearDown();
    }

    std::vector<SheetMessage> Modified(HWND page, bool modified)
    {
        const auto self = reinterpret_cast<WPARAM>(page);
        return {{modified ? PSM_CHANGED : PSM_UNCHANGED, false, self, 0},
                {modified ? RWM_ZRHCCON_PPN_PAGE_MODIFIED : RWM_ZRHCCON_PPN_PAGE_UNMODIFIED, false, self, 0}};
    }

    TestPage* tested = nullptr;  // the page under test, not yet in the sheet
};

std::vector<SheetMessage> Concat(std::vector<SheetMessage> a, const std::vector<SheetMessage>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

}  // namespace

TEST_F(PageBase, EveryChangeTellsTheSheetInOrderAndOnlyAfterInitialisation)
{
    tested->SetModified(true);  // before the window exists: nothing, the flag included
    EXPECT_FALSE(tested->IsModified());

    sheet->RecordOnly({PSM_CHANGED, PSM_UNCHANGED, RWM_ZRHCCON_PPN_PAGE_MODIFIED, RWM_ZRHCCON_PPN_PAGE_UNMODIFIED});
    ZRPlugin::IZRConfiguratorPage2* console = tested;
    HWND window = sheet->Embed(console);
    ASSERT_TRUE(window);
    EXPECT_EQ(console->GetWindow(), window);
    EXPECT_FALSE(tested->IsThemed());  // a page the console creates has no tab texture
    EXPECT_FALSE(ui::HasThemeDialogTexture(window));

    ui::Type(ui::FindControl(window, kSize), L"0");
    ui::Click(ui::FindControl(window, kEnabled));
    EXPECT_TRUE(console->IsModified());
    EXPECT_EQ(host::PageHost::ControlTable(window),
              "   100  edit           enabled  shown    \"20\"\n"
              "   101  check box      enabled  shown    \"&Включить\"  [checked]\n");
    // both messages every time, also when the flag does not change
    EXPECT_EQ(sheet->Messages(), Concat(Modified(window, true), Modified(window, true)));

    // a failed save leaves the page modified; a successful one reports it clean
    tested->applySucceeds = false;
    sheet->ClearMessages();
    EXPECT_EQ(sheet->PressOk().outcome, host::PageHost::Outcome::Failed);
    EXPECT_TRUE(console->IsModified());
    EXPECT_TRUE(sheet->Messages().empty());
    tested->applySucceeds = true;
    EXPECT_EQ(sheet->PressOk().outcome, host::PageHost::Outcome::Applied);
    EXPECT_FALSE(console->IsModified());
    EXPECT_EQ(sheet->Messages(), Modified(window, false));
}

TEST_F(PageBase, ValidationShowsTheFirstProblemAndNothingIsApplied)
{
    HWND window = sheet->Embed(tested);
    ui::ClearText(ui::FindControl(window, kSize));
    user.Answer(IDOK).Answer(IDOK);
    EXPECT_EQ(sheet->PressOk().outcome, host::PageHost::Outcome::Refused);
    ASSERT_EQ(ui::ShownBoxes().size(), 1u);
    EXPECT_EQ(ui::ShownBoxes()[0].text, L"Invalid maximum size for events log specified");
    EXPECT_EQ(ui::ShownBoxes()[0].caption, L"Агент администрирования Brenvik");
    EXPECT_EQ(ui::ShownBoxes()[0].style, MB_ICONERROR);
    EXPECT_EQ(ui::ShownBoxes()[0].owner, window);
    EXPECT_EQ(GetFocus(), ui::FindControl(window, kSize));
    EXPECT_EQ(tested->applied, 0);
    EXPECT_EQ(tested->GetApplyResult(), -1);  // the base's own order: validate first
    EXPECT_EQ(ui::ShownBoxes().size(), 2u);
    EXPECT_EQ(tested->applied, 0);

    GetPluginEnvironment().rightToLeft = true;
    user.Answer(IDOK);
    tested->ShowError(2009);
    EXPECT_EQ(ui::ShownBoxes()[2].style, MB_ICONERROR | 0x180000u);
}

TEST_F(PageBase, AFailedApplyReachesTheConsoleAsError1192)
{
    tested->applySucceeds = false;
    sheet->Embed(tested);
    const auto error = testsupport::Raised([&] { tested->Apply(); });
    EXPECT_EQ(error.GetModule(), "ZRSTD");
    EXPECT_EQ(error.GetCode(), 1192);
    EXPECT_EQ(sheet->PressOk().outcome, host::PageHost::Outcome::Failed);
    EXPECT_EQ(tested->GetApplyResult(), -1);
    tested->applySucceeds = true;
    EXPECT_EQ(tested->GetApplyResult(), 0);
}

TEST_F(PageBase, HelpGoesToTheParentWithoutATopicAndOtherwiseOpensTheConfiguredHelp)
{
    sheet->RecordOnly({WM_HELP});
    sheet->Embed(tested);
    HELPINFO* forwarded = nullptr;
    SetWindowProc(sheet->Sheet(), [&](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (message == WM_HELP) {
            forwarded = reinterpret_cast<HELPINFO*>(lParam);
            EXPECT_EQ(forwarded->cbSize, 28u);
            EXPECT_EQ(forwarded->iCtrlId, 0);
        }
        return DefWindowProcW(window, message, wParam, lParam);
    });
    tested->ShowHelp();
    EXPECT_NE(forwarded, nullptr);

    tested->SetHelpTopic(158030);
    tested->ShowHelp();  // "UseOnlineHelp" absent counts as online
    ui::RegistrySetDword(HKEY_CURRENT_USER, L"Software\\BrenvikLab\\Components\\34", L"UseOnlineHelp", 0);
    tested->ShowHelp();
    ASSERT_EQ(ui::ServiceCalls().size(), 2u);
    EXPECT_EQ(ui::ServiceCalls()[0].argument, L"https://help.brenviklab.example/nagent/158030");
    EXPECT_EQ(ui::ServiceCalls()[1].argument, L"/opt/ngt/help\\158030.htm");
}

TEST_F(PageBase, PlacementIsSavedOnCloseUnderItsKeyOnly)
{
    const std::wstring key = L"Software\\BrenvikLab\\Components\\34\\Wnds\\ngt\\test";
    tested->SetPlacementKey(key);
    sheet->Embed(tested);
    auto* forgotten = new TestPage;
    sheet->Embed(forgotten);
    forgotten->Release();
    tested->Release();
    tested = nullptr;
    sheet.reset();  // closing saves the placement
    const auto placement = testsupport::ReadRegistryValue(key, L"wp");
    EXPECT_TRUE(placement.exists);
    EXPECT_EQ(placement.type, REG_BINARY);
    EXPECT_EQ(placement.data.size(), 44u);
    EXPECT_EQ(RegEnumKeys(HKEY_CURRENT_USER, L"Software\\BrenvikLab\\Components\\34\\Wnds\\ngt"),
              (std::vector<std::wstring>{L"test"}));  // the page without a key wrote nothing
}

TEST_F(PageBase, ARightToLeftSheetMakesThePageRightToLeft)
{
    SetWindowLongW(sheet->Sheet(), GWL_EXSTYLE, WS_EX_LAYOUTRTL);
    HWND window = sheet->Embed(tested);
    EXPECT_EQ(GetWindowLongW(window, GWL_EXSTYLE) & 0x402000u, 0x402000u);
}

TEST_F(PageBase, CancelGoesToTheSheetAndAcceleratorsComeFirst)
{
    sheet->RecordOnly({WM_COMMAND});
    HWND window = sheet->Embed(tested);
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    ASSERT_EQ(sheet->Messages().size(), 1u);
    EXPECT_EQ(sheet->Messages()[0].wParam, static_cast<WPARAM>(IDCANCEL));

    tested->AddAccelerator(VK_F1, 777);
    int commands = 0;
    ui::KeyPress(ui::FindControl(window, kSize), VK_F1);
    // the accelerator posted its command to the page, not the key to the edit
    SetWindowProc(window, [&, previous = SetWindowProc(window, nullptr)](HWND w, UINT m, WPARAM wp, LPARAM lp) {
        if (m == WM_COMMAND && LOWORD(wp) == 777) ++commands;
        return previous(w, m, wp, lp);
    });
    PumpMessages();
    EXPECT_EQ(commands, 1);
}

TEST_F(PageBase, TheInterfaceLayoutIsTheSlotOrder)
{
    HWND window = sheet->Embed(tested);
    ZRPlugin::IZRConfiguratorPage2* console = tested;
    // slot n >= 3 is vtable entry n + 1 (the destructor takes two entries)
    void** vtable = *reinterpret_cast<void***>(console);
    using GetWindowSlot = HWND (*)(ZRPlugin::IZRConfiguratorPage2*);
    using IsModifiedSlot = bool (*)(ZRPlugin::IZRConfiguratorPage2*);
    using ValidateSlot = std::int32_t (*)(ZRPlugin::IZRConfiguratorPage2*);
    using AddRefSlot = long (*)(ZRPlugin::IZRConfiguratorPage2*);
    EXPECT_EQ(reinterpret_cast<AddRefSlot>(vtable[0])(console), 3);  // the page, the sheet, this call
    console->Release();
    EXPECT_EQ(reinterpret_cast<GetWindowSlot>(vtable[4 + 1])(console), window);
    EXPECT_FALSE(reinterpret_cast<IsModifiedSlot>(vtable[5 + 1])(console));
    EXPECT_EQ(reinterpret_cast<ValidateSlot>(vtable[7 + 1])(console), 1);
}

TEST_F(PageBase, TheLastReleaseDestroysThePageAndItsWindow)
{
    HWND window = sheet->Embed(tested);
    EXPECT_EQ(tested->Release(), 1);  // the sheet still holds it
    tested = nullptr;
    EXPECT_TRUE(IsWindow(window));
    sheet.reset();
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(PageBase, TheMinimumSizeIsTheSizeAtTheFirstQuery)
{
    HWND window = sheet->Embed(tested);
    EXPECT_EQ(tested->MinimumTrackingSize().x, 0);  // not kept unless asked for
    tested->SetKeepMinimumSize(true);
    const POINT first = tested->MinimumTrackingSize();
    EXPECT_EQ(first.x, 300);
    EXPECT_EQ(first.y, 200);
    MoveWindow(window, RECT{0, 0, 500, 400});
    EXPECT_EQ(tested->MinimumTrackingSize().x, 300);  // the size when first asked
}
