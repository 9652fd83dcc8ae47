#include "ui/FileDialog.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/MessageSequence.h"
#include "support/TempFolder.h"
#include "support/UserFixture.h"
#include "ui/Interaction.h"
#include "ui/UserActions.h"

namespace {

class FileDialog : public testsupport::UserTest {
protected:
    std::function<void(HWND)> SaveAs(const std::wstring& name)
    {
        return [name](HWND dialog) {
            ui::Type(ui::FindControl(dialog, kFileNameEditId), name);
            ui::Click(ui::FindControl(dialog, IDOK));
        };
    }
    testsupport::RecordingParent owner;
    testsupport::TempFolder folder;
};

}  // namespace

TEST_F(FileDialog, SavingAddsTheDefaultExtensionOnlyToANameWithoutOne)
{
    const struct {
        std::wstring typed;
        std::wstring expected;
        std::wstring around;  // typed before and after the path
    } cases[] = {{L"hosts", L"hosts.csv", L""}, {L"hosts.txt", L"hosts.txt", L""}, {L"padded", L"padded.csv", L"  "}};
    for (const auto& c : cases) {
        CFileDialog dialog(false, L"csv", L"", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, L"Списки (*.csv)|*.csv|Все файлы|*.*||");
        dialog.SetTitle(L"Экспорт списка");
        user.InDialog([&](HWND window) {
            EXPECT_EQ(GetWindowTextW(window), L"Экспорт списка");
            HWND types = ui::FindControl(window, kFileTypeListId);
            EXPECT_EQ(SendMessageW(types, CB_GETCOUNT, 0, 0), 2);
            EXPECT_EQ(GetWindowTextW(types), L"Списки (*.csv)");
            SaveAs(c.around + (folder / c.typed).wstring() + c.around)(window);
        });
        ASSERT_EQ(dialog.DoModal(owner.Handle()), IDOK);
        EXPECT_EQ(dialog.GetPathName(), (folder / c.expected).wstring());
    }
}

TEST_F(FileDialog, AnEmptyNameKeepsItOpenAndCancelChoosesNothing)
{
    CFileDialog dialog(false, L"csv");
    user.InDialog([](HWND window) {
        ui::Click(ui::FindControl(window, IDOK));  // nothing typed: stays open
        EXPECT_TRUE(IsWindow(window));
        ui::Click(ui::FindControl(window, IDCANCEL));
    });
    EXPECT_EQ(dialog.DoModal(owner.Handle()), IDCANCEL);
    EXPECT_TRUE(dialog.GetPathName().empty());
    EXPECT_EQ(ui::ShownDialogs().back().result, IDCANCEL);
}

TEST_F(FileDialog, ReplacingAnExistingFileIsAskedFirst)
{
    std::ofstream(folder / "hosts.csv") << "old";
    const std::wstring name = (folder / "hosts.csv").wstring();
    CFileDialog dialog(false, L"csv");
    user.InDialog([&](HWND window) {
        SaveAs(name)(window);  // answered No: still open
        ASSERT_TRUE(IsWindow(window));
        ui::Click(ui::FindControl(window, IDOK));  // answered Yes
    });
    user.Answer(IDNO).Answer(IDYES);
    ASSERT_EQ(dialog.DoModal(owner.Handle()), IDOK);
    EXPECT_EQ(dialog.GetPathName(), name);
    ASSERT_EQ(ui::ShownBoxes().size(), 2u);
    EXPECT_EQ(ui::ShownBoxes()[0].text, name + L" already exists.\nDo you want to replace it?");
    EXPECT_EQ(ui::ShownBoxes()[0].style, MB_YESNO | MB_ICONWARNING);
}
