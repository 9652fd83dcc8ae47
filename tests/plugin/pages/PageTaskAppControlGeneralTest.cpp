#include "plugin/pages/tasks/PageTaskAppControlGeneral.h"

#include <gtest/gtest.h>

#include "TaskParamsPageTest.h"
#include "ui/CommonControls.h"
#include "ui/Registry.h"
#include "ui/UserActions.h"

namespace {

using Page = CPageTaskAppControlGeneral;
using host::PageHost;
constexpr const wchar_t* kType = L"ZRNAG_TASK_START_STOP_APP";
constexpr const wchar_t* kProducts = L"Software\\BrenvikLab\\Components\\34\\Products\\";

class AppControlPage : public testsupport::TaskParamsPageTest {
protected:
    void SetUp() override
    {
        TaskParamsPageTest::SetUp();
        ui::ResetRegistry();
        Register(L"ZRES", L"11.0", L"Endpoint Security 11", 3);
        Register(L"ZRMAIL", L"9.0", L"Mail Gateway 9", 2);      // stop only
        Register(L"ZRNONE", L"1.0", L"Cannot be controlled", 0);  // not listed
        ui::RegistrySetString(HKEY_LOCAL_MACHINE, std::wstring(kProducts) + L"ZRFS\\10.1", L"", L"File Servers 10");
        HKEY noName = nullptr;  // a version key without a display name is skipped
        RegCreateKeyExW(HKEY_LOCAL_MACHINE, std::wstring(kProducts) + L"ZRBROKEN\\1.0", KEY_ALL_ACCESS, &noName);
        RegCloseKey(noName);
    }
    void TearDown() override
    {
        TaskParamsPageTest::TearDown();
        ui::ResetRegistry();
    }
    static void Register(const wchar_t* name, const wchar_t* version, const wchar_t* display, DWORD flags)
    {
        const std::wstring key = std::wstring(kProducts) + name + L"\\" + version;
        ui::RegistrySetString(HKEY_LOCAL_MACHINE, key, L"", display);
        ui::RegistrySetDword(HKEY_LOCAL_MACHINE, key, L"CtrlButtons", flags);
    }
    void OpenTask(UINT layout = Page::kSheetTemplate) { Open(new Page(layout, TaskData(kType))); }
    static ZRSTD::CAutoPtr<ZRPAR::Value> Item(const wchar_t* name, const wchar_t* version, const wchar_t* display)
    {
        return ZRPAR::CreateValue(ZRPAR::CreateParamsBody({{L"ZRNAG_PRODUCT_NAME", name},
                                                           {L"ZRNAG_PRODUCT_VERSION", version},
                                                           {L"ZRNAG_PRODUCT_DISP_NAME", display}})
                                      .Get());
    }
    static ZRSTD::CAutoPtr<ZRPAR::Value> List(std::initializer_list<ZRSTD::CAutoPtr<ZRPAR::Value>> items)
    {
        auto list = ZRPAR::CreateArrayValue();
        for (const auto& item : items) list->Append(item.Get());
        return ZRSTD::CAutoPtr<ZRPAR::Value>(list.Get());
    }
    // The rows as the list shows them, "[x] name" for a checked one.
    std::vector<std::wstring> Rows()
    {
        std::vector<std::wstring> rows;
        HWND list = Control(Page::kApplications);
        const int count = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
        for (int row = 0; row < count; ++row)
            rows.push_back((ui::IsListRowChecked(list, row) ? L"[x] " : L"[ ] ") + ui::GetListRowText(list, row));
        return rows;
    }
};

}  // namespace

TEST_F(AppControlPage, RegisteredApplicationsAreOfferedAndTheStoredChoiceChecked)
{
    StoreTask({{L"ZRNAG_TASK_START_STOP_APP_LISTAPPS", List({Item(L"ZRMAIL", L"9.0", L"Mail Gateway 9")})},
               {L"ZRNAG_TASK_START_STOP_APP_ACTIONSTART", false}});
    const std::string before = Everything();
    OpenTask();
    EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"[ ] Endpoint Security 11", L"[ ] File Servers 10",
                                                 L"[x] Mail Gateway 9"}));
    EXPECT_TRUE(Checked(Page::kStop));
    ASSERT_EQ(PressOk(), PageHost::Outcome::Applied);
    EXPECT_EQ(Everything(), before);
}

TEST_F(AppControlPage, ACommandAnApplicationDoesNotSupportIsRefusedNamingIt)
{
    OpenTask(Page::kWizardTemplate);
    EXPECT_TRUE(Checked(Page::kStop));  // no stored command: stop
    EXPECT_EQ(PressOk(), PageHost::Outcome::Refused);
    EXPECT_EQ(Boxes(), std::vector<std::wstring>{L"You should select at least one product to perform command on."});

    ui::ClearInteractionRecord();
    ui::SetRowChecked(Control(Page::kApplications), L"Mail Gateway 9", true);
    ui::SetRowChecked(Control(Page::kApplications), L"Endpoint Security 11", true);
    ui::Click(Control(Page::kStart));
    EXPECT_EQ(PressOk(), PageHost::Outcome::Refused);
    EXPECT_EQ(Boxes(),
              std::vector<std::wstring>{L"The application 'Mail Gateway 9' does not support desired control command."});
    EXPECT_EQ(Saved(L"ZRNAG_TASK_START_STOP_APP_LISTAPPS"), nullptr);

    ui::Click(Control(Page::kStop));
    ASSERT_EQ(PressOk(), PageHost::Outcome::Applied);
    auto* list = static_cast<ZRPAR::ArrayValue*>(Saved(L"ZRNAG_TASK_START_STOP_APP_LISTAPPS"));
    ASSERT_EQ(list->GetSize(), 2u);  // in the list's order
    auto* first = static_cast<ZRPAR::ParamsValue*>(list->ItemAt(0))->GetValue();
    EXPECT_EQ(ZRPAR::GetStringValue(first, L"ZRNAG_PRODUCT_NAME"), L"ZRES");
    EXPECT_EQ(ZRPAR::GetStringValue(first, L"ZRNAG_PRODUCT_VERSION"), L"11.0");
    EXPECT_EQ(ZRPAR::GetStringValue(first, L"ZRNAG_PRODUCT_DISP_NAME"), L"Endpoint Security 11");
    EXPECT_EQ(SavedBool(L"ZRNAG_TASK_START_STOP_APP_ACTIONSTART"), false);
}

TEST_F(AppControlPage, ApplicationsThisComputerDoesNotKnowStayInTheTask)
{
    auto unreadable = ZRPAR::CreateValue(42);
    StoreTask({{L"ZRNAG_TASK_START_STOP_APP_LISTAPPS",
                List({Item(L"ZRGONE", L"2.0", L"Old Agent 2"), unreadable, Item(L"ZRES", L"11.0", L"Endpoint Security 11")})},
               {L"ZRNAG_TASK_START_STOP_APP_ACTIONSTART", true}});
    OpenTask();
    EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"[x] Endpoint Security 11", L"[ ] File Servers 10",
                                                 L"[ ] Mail Gateway 9", L"[x] Old Agent 2"}));
    EXPECT_TRUE(Checked(Page::kStart));
    ui::SetRowChecked(Control(Page::kApplications), L"File Servers 10", true);
    ASSERT_EQ(PressOk(), PageHost::Outcome::Applied);
    auto* list = static_cast<ZRPAR::ArrayValue*>(Saved(L"ZRNAG_TASK_START_STOP_APP_LISTAPPS"));
    ASSERT_EQ(list->GetSize(), 4u);
    EXPECT_EQ(ZRPAR::GetStringValue(static_cast<ZRPAR::ParamsValue*>(list->ItemAt(2))->GetValue(), L"ZRNAG_PRODUCT_NAME"),
              L"ZRGONE");
    EXPECT_EQ(list->ItemAt(3)->GetType(), ZRPAR::VT_INT);  // kept as it was
}

TEST_F(AppControlPage, AnEnforcedListCannotBeChanged)
{
    StoreTask({{L"ZRNAG_TASK_START_STOP_APP_LISTAPPS", List({Item(L"ZRES", L"11.0", L"Endpoint Security 11")})},
               {L"ZRNAG_TASK_START_STOP_APP_ACTIONSTART", true}});
    Govern(kType, {L"ZRNAG_TASK_START_STOP_APP_LISTAPPS"});
    const std::string before = Everything();
    OpenTask();
    EXPECT_FALSE(Enabled(Page::kApplications));
    EXPECT_TRUE(Enabled(Page::kStart));
    ASSERT_EQ(PressOk(), PageHost::Outcome::Applied);
    EXPECT_EQ(Everything(), before);
}
