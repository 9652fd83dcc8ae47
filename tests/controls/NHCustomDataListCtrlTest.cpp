#include "controls/NHCustomDataListCtrl.h"

#include <gtest/gtest.h>

#include "controls/NHSortedListCtrl.h"
#include "support/ControlPage.h"
#include "ui/UserActions.h"
#include "zrstd/CString.h"

using testsupport::ControlPage;
using testsupport::kVisibleChild;

namespace {

constexpr int kList = 1720, kCombo = 1721;

struct Profile {
    std::wstring name;
    int conditions = 0;
    bool operator==(const Profile&) const = default;
};

class NHCustomDataListCtrl : public testsupport::ControlTest {
protected:
    void SetUp() override
    {
        ControlTest::SetUp();
        window = ShowPage({{kList, L"SysListView32", L"", kVisibleChild, RECT{10, 10, 410, 210}},
                           {kCombo, L"ComboBoxEx32", L"", kVisibleChild | CBS_DROPDOWNLIST, RECT{10, 220, 210, 242}}},
                          [this](ControlPage& page) {
                              servers.SubclassDlgItem(kList, page);
                              servers.InsertColumn(0, L"Сервер", 200);
                              sources.SubclassDlgItem(kCombo, page);
                          });
        control = ui::FindControl(window, kList);
    }
    std::vector<std::wstring> Objects() const
    {
        std::vector<std::wstring> objects;
        for (int i = 0; i < servers.GetItemCount(); ++i) objects.push_back(servers.GetItemObject(i).str());
        return objects;
    }

    CNHCustomDataListCtrl<CNHSortedListCtrl, CString> servers;
    CNHCustomDataComboBox<CNHComboBox, CString> sources;
    HWND window = nullptr, control = nullptr;
};

}  // namespace

TEST_F(NHCustomDataListCtrl, EveryRowHasItsOwnIdAndItsObjectFollowsItThroughSorting)
{
    EXPECT_EQ(servers.AddItem(L"srv-b", CString(L"10.0.0.2")), 0);
    EXPECT_EQ(servers.AddItem(L"SRV-a", CString(L"10.0.0.1")), 1);
    EXPECT_EQ(servers.AddItem(L"srv-c", CString(L"10.0.0.3")), 2);
    EXPECT_EQ(servers.GetItemData(0), 1);
    EXPECT_EQ(servers.GetItemData(2), 3);
    ui::ClickListHeader(control, 0);
    EXPECT_EQ(servers.GetItemText(0, 0), L"SRV-a");
    EXPECT_EQ(Objects(), (std::vector<std::wstring>{L"10.0.0.1", L"10.0.0.2", L"10.0.0.3"}));

    EXPECT_TRUE(servers.DeleteItem(0));
    EXPECT_EQ(servers.GetObjectCount(), 2u);
    EXPECT_EQ(Objects(), (std::vector<std::wstring>{L"10.0.0.2", L"10.0.0.3"}));
    EXPECT_FALSE(servers.DeleteItem(7));  // no such row: nothing else goes
    EXPECT_EQ(servers.GetObjectCount(), 2u);
    servers.InsertItem(2, L"без объекта", 777);
    EXPECT_EQ(servers.GetItemObject(2).str(), L"");  // a row without an object gives a default one
    EXPECT_EQ(servers.FindItemObject(2), nullptr);
    EXPECT_EQ(servers.AddItem(L"srv-d", CString(L"10.0.0.4")), 3);
    EXPECT_EQ(servers.GetItemData(3), 4);  // the last id given, plus one

    EXPECT_TRUE(servers.DeleteAllItems());
    EXPECT_EQ(servers.GetObjectCount(), 0u);
    servers.AddItem(L"srv-e", CString(L"10.0.0.5"));
    EXPECT_EQ(servers.GetItemData(0), 1);  // ids start again
    *servers.FindItemObject(0) = L"10.0.0.50";
    EXPECT_EQ(Objects(), (std::vector<std::wstring>{L"10.0.0.50"}));
}

TEST_F(NHCustomDataListCtrl, AComboItemCarriesItsObjectToTheUsersChoice)
{
    CNHCustomDataListCtrl<CNHCustomListCtrl, Profile> profiles;  // the other kind of row object, without sorting
    EXPECT_EQ(profiles.GetObjectCount(), 0u);

    sources.AddItem(L"Сервер администрирования", CString(L"server"));
    sources.AddItem(L"Серверы обновлений", CString(L"cloud"), 1);
    EXPECT_EQ(sources.GetSelectedObject().str(), L"");
    ui::SelectItem(ui::FindControl(window, kCombo), L"Серверы обновлений");
    EXPECT_EQ(sources.GetSelectedObject().str(), L"cloud");
    EXPECT_EQ(sources.GetItemImage(1), 1);
    EXPECT_EQ(sources.DeleteString(0), 1);
    EXPECT_EQ(sources.GetItemObject(0).str(), L"cloud");
    sources.ResetContent();
    sources.AddItem(L"Папка", CString(L"folder"));
    EXPECT_EQ(sources.GetItemData(0), 1);
}
