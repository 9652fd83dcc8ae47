#include "plugin/pages/dpoint/PageUAScanAd.h"

#include <gtest/gtest.h>

#include "plugin/pages/agent/DlgChangePassword.h"
#include "support/ScanPageFixture.h"
#include "support/TestProtection.h"
#include "ui/CommonControls.h"


namespace {

using testsupport::TestProtection;

using Page = CPageUAScanAdBase;
using Dialog = CDlgADScanEntryProperties;
using Bytes = std::vector<std::uint8_t>;

constexpr const wchar_t* kEnableKey = L"ZRSRV_AD_SCAN_ENABLED";
constexpr const wchar_t* kPeriodKey = L"ZRSRV_SP_SCAN_AD";
constexpr const wchar_t* kAreaKey = L"ZRSRV_SP_SCAN_AD_AREA";
constexpr const wchar_t* kControllersKey = L"ZRSRV_AD_SCAN_ADDRESSES";
constexpr const wchar_t* kAddressKey = L"ZRSRV_SP_AD_ADDRESS";
constexpr const wchar_t* kUserKey = L"ZRSRV_SP_AD_USER";
constexpr const wchar_t* kPasswordKey = L"ZRSRV_SP_AD_PASSWORD";

ZRSTD::CAutoPtr<ZRPAR::Params> Controller(const wchar_t* address, const wchar_t* account, const Bytes& password)
{
    return ZRPAR::CreateParamsBody({{kAddressKey, address},
                                    {kUserKey, account},
                                    {kPasswordKey, ZRPAR::binary_wrapper_t{password.data(), password.size()}}});
}

class AdScanPage : public testsupport::ScanPageTest {
protected:
    void SetUp() override
    {
        ScanPageTest::SetUp();
        protection = source.Set(L"DATA_PROTECTION", ZRSTD::MakeRef<TestProtection>());
    }
    void StoreControllers(std::initializer_list<ZRSTD::CAutoPtr<ZRPAR::Params>> controllers, std::int32_t area = 3)
    {
        auto array = ZRPAR::CreateArrayValue();
        for (const auto& controller : controllers) array->Append(ZRPAR::CreateValue(controller.Get()).Get());
        StoreLocal(kSection, {{kEnableKey, true}, {kPeriodKey, 1800000}, {kAreaKey, area}, {kControllersKey, array}});
    }
    std::vector<std::wstring> Rows()
    {
        std::vector<std::wstring> rows;
        HWND list = Control(Page::kControllers);
        const auto count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
        for (int row = 0; row < count; ++row) rows.push_back(ui::GetListRowText(list, row));
        return rows;
    }
    const ZRPAR::Params* StoredController(std::size_t index)
    {
        auto* array = static_cast<ZRPAR::ArrayValue*>(LocalValue(kSection, kControllersKey));
        return array && index < array->GetSize() ? static_cast<ZRPAR::ParamsValue*>(array->ItemAt(index))->GetValue()
                                                 : nullptr;
    }
    Bytes StoredPassword(std::size_t index)
    {
        auto password = ZRPAR::GetBinaryValue(StoredController(index), kPasswordKey);
        return password ? password->GetValue() : Bytes{};
    }
    TestProtection* protection = nullptr;
};

}  // namespace

TEST_F(AdScanPage, ControlsFollowThePollingBoxTheListedDomainsAndTheSelection)
{
    StoreControllers({Controller(L"dc1.corp", L"u", {})}, 1);
    OpenPage<Page>();
    const struct {
        std::function<void()> act;
        bool radios, list, edit;
    } steps[] = {
        {[] {}, true, false, false},
        {[&] { ui::Click(Control(Page::kListed)); }, true, true, false},
        {[&] { ui::SelectItem(Control(Page::kControllers), L"dc1.corp"); }, true, true, true},
        {[&] { ui::Click(Control(Page::kForest)); }, true, false, false},
        {[&] { ui::Click(Control(Page::kEnable)); }, false, false, false},
    };
    int step = 0;
    for (const auto& s : steps) {
        SCOPED_TRACE(step++);
        s.act();
        for (int id : {Page::kCurrentDomain, Page::kForest, Page::kListed, Page::kPeriod, Page::kScheduleLink})
            EXPECT_EQ(Enabled(id), s.radios) << id;
        EXPECT_EQ(Enabled(Page::kControllers), s.list);
        EXPECT_EQ(Enabled(Page::kAdd), s.list);
        EXPECT_EQ(Enabled(Page::kEdit), s.edit);
        EXPECT_EQ(Enabled(Page::kRemove), s.edit);
    }
    ASSERT_TRUE(PressOk());
    EXPECT_FALSE(Local<ZRPAR::BoolValue>(kSection, kEnableKey));
    EXPECT_EQ(Local<ZRPAR::IntValue>(kSection, kAreaKey), Page::kAreaForest);
}

TEST_F(AdScanPage, ListedDomainsWithoutAControllerAreRefused)
{
    StoreLocal(kSection, {{kEnableKey, true}});
    OpenPage<Page>();
    ui::Click(Control(Page::kListed));
    EXPECT_FALSE(PressOk());
    EXPECT_EQ(Boxes(), std::vector<std::wstring>{L"Не заданы домены для опроса."});
    ui::ReplaceText(Control(Page::kPeriod), L"5");
    ui::Click(Control(Page::kCurrentDomain));
    ASSERT_TRUE(PressOk());
    EXPECT_EQ(Local<ZRPAR::IntValue>(kSection, kPeriodKey), 300000);
    EXPECT_EQ(Local<ZRPAR::IntValue>(kSection, kAreaKey), Page::kAreaDomain);
}

TEST_F(AdScanPage, TheControllerDialogProtectsANewPasswordAndKeepsTheStoredOneBehindThePlaceholder)
{
    StoreControllers({Controller(L"dc1.corp", L"CORP\\scan", TestProtection::Of(L"old secret"))});
    OpenPage<Page>();
    // a new controller: no address is refused; then one with a password
    user.InDialog([&](HWND dialog) {
        EXPECT_EQ(GetDlgItemTextW(dialog, Dialog::kPassword), L"");  // nothing stored, no placeholder
        ui::Click(GetDlgItem(dialog, IDOK));
        EXPECT_FALSE(ui::ModalDialogEnded(dialog));
        ui::ReplaceText(GetDlgItem(dialog, Dialog::kAddress), L" dc2.corp ");
        ui::ReplaceText(GetDlgItem(dialog, Dialog::kUser), L"CORP\\other");
        ui::ReplaceText(GetDlgItem(dialog, Dialog::kPassword), L"n3w secret");
        ui::Click(GetDlgItem(dialog, IDOK));
    });
    ui::Click(Control(Page::kAdd));
    // the stored one: only the account changes
    ui::SelectItem(Control(Page::kControllers), L"dc1.corp");
    user.InDialog([&](HWND dialog) {
        EXPECT_EQ(GetDlgItemTextW(dialog, Dialog::kPassword), L"***********");
        ui::ReplaceText(GetDlgItem(dialog, Dialog::kUser), L"CORP\\scan2");
        ui::Click(GetDlgItem(dialog, IDOK));
    });
    ui::Click(Control(Page::kEdit));
    EXPECT_EQ(Boxes(), std::vector<std::wstring>{L"Не указан адрес сервера домена Active Directory."});
    EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"dc1.corp", L"dc2.corp"}));
    ASSERT_TRUE(PressOk());

    EXPECT_EQ(ZRPAR::GetStringValue(StoredController(0), kUserKey), L"CORP\\scan2");
    EXPECT_EQ(StoredPassword(0), TestProtection::Of(L"old secret"));
    EXPECT_EQ(ZRPAR::GetStringValue(StoredController(1), kAddressKey), L"dc2.corp");
    EXPECT_EQ(StoredPassword(1), TestProtection::Of(L"n3w secret"));
    EXPECT_EQ(Everything().find("n3w secret"), std::string::npos);

    // an emptied password leaves the account without one, rather than protecting an empty text
    ui::SelectItem(Control(Page::kControllers), L"dc1.corp");
    user.InDialog([&](HWND dialog) {
        ui::ClearText(GetDlgItem(dialog, Dialog::kPassword));
        ui::Click(GetDlgItem(dialog, IDOK));
    });
    ui::Click(Control(Page::kEdit));
    ASSERT_TRUE(PressOk());
    EXPECT_FALSE(StoredController(0)->DoesExist(kPasswordKey));
}

TEST_F(AdScanPage, APasswordTheConsoleCannotProtectKeepsTheDialogOpenAndStoresNothing)
{
    StoreControllers({Controller(L"dc1.corp", L"CORP\\scan", TestProtection::Of(L"old"))});
    const std::string before = Everything();
    protection->fail = true;
    OpenPage<Page>();
    ui::SelectItem(Control(Page::kControllers), L"dc1.corp");
    user.InDialog([&](HWND dialog) {
        ui::ReplaceText(GetDlgItem(dialog, Dialog::kPassword), L"typed");
        ui::Click(GetDlgItem(dialog, IDOK));
        EXPECT_FALSE(ui::ModalDialogEnded(dialog));
        EXPECT_EQ(GetDlgItemTextW(dialog, Dialog::kPassword), L"typed");
        ui::Click(GetDlgItem(dialog, IDCANCEL));
    });
    ui::Click(Control(Page::kEdit));
    EXPECT_EQ(Boxes(), std::vector<std::wstring>{L"Ошибка шифрования пароля."});
    ASSERT_TRUE(PressOk());
    EXPECT_EQ(Everything(), before);
}

TEST_F(AdScanPage, AnUnknownAreaAndControllersOfAnotherTypeStayAsStored)
{
    StoreLocal(kSection, {{kEnableKey, true}, {kAreaKey, 9}, {kControllersKey, L"dc1.corp"}});
    OpenPage<Page>();
    for (int id : {Page::kCurrentDomain, Page::kForest, Page::kListed}) EXPECT_FALSE(Checked(id)) << id;
    ASSERT_TRUE(PressOk());
    EXPECT_EQ(Local<ZRPAR::IntValue>(kSection, kAreaKey), 9);
    EXPECT_EQ(LocalValue(kSection, kControllersKey)->GetType(), ZRPAR::VT_STRING);
    EXPECT_EQ(Local<ZRPAR::IntValue>(kSection, kPeriodKey), 3600000);  // the default, written as the page showed it
}

TEST_F(AdScanPage, TheExportJoinsTheAddressesAndHoldsNoPassword)
{
    StoreControllers({Controller(L"dc1.corp", L"u", TestProtection::Of(L"secret")), ZRPAR::CreateParams(),
                      Controller(L"dc2.corp", L"u", {})});
    const auto results = Page::Export(*PageData(NHPP::kObjectDistributionPoint, NHPP::kSectionProduct, {kSection}));
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(testsupport::ExportText(*results[0]),
              "Настройки\n"
              "  Разрешить опрос Active Directory\n"
              "    Разрешить опрос Active Directory: Да\n"
              "    Замочек \"Разрешить опрос Active Directory\": Редактирование разрешено\n"
              "  Указанные домены\n"
              "    Указанные домены: dc1.corp; <Invalid value>; dc2.corp\n"
              "    Замочек \"Указанные домены\": Редактирование разрешено\n");
}
