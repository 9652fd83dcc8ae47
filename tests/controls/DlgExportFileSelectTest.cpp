#include "controls/DlgExportFileSelect.h"

#include <gtest/gtest.h>

#include "support/ControlPage.h"
#include "support/TempFolder.h"
#include "ui/UserActions.h"

namespace {

const std::wstring kFilter = L"Текст с разделителями табуляцией (*.csv)|*.csv|Все файлы (*.*)|*.*||";
const std::wstring kTitle = L"Экспорт списка", kCaption = L"Только выделенные строки";

class DlgExportFileSelect : public testsupport::ControlTest {
protected:
    std::wstring Path(const wchar_t* name) const { return (folder / name).wstring(); }
    testsupport::RecordingParent owner;
    testsupport::TempFolder folder;
};

}  // namespace

TEST_F(DlgExportFileSelect, TheSaveDialogGainsTheCheckBoxBelowTheTypeList)
{
    CDlgExportFileSelect dialog(kFilter, kTitle, kCaption);
    user.InDialog([&](HWND window) {
        EXPECT_EQ(GetWindowTextW(window), kTitle);
        EXPECT_EQ(GetWindowRect(window).Height(), 300 + 24);  // the frame grew for the box
        HWND box = ui::FindControl(window, CDlgExportFileSelect::kCheckBoxId);
        EXPECT_EQ(GetWindowTextW(box), kCaption);
        const DWORD style = GetWindowLongW(box, GWL_STYLE);
        EXPECT_EQ(style & BS_TYPEMASK, BS_AUTOCHECKBOX);
        EXPECT_TRUE(style & WS_TABSTOP);
        EXPECT_TRUE(IsWindowVisible(box));
        HWND types = ui::FindControl(window, kFileTypeListId);
        const RECT rect = GetWindowRect(box);
        EXPECT_EQ(rect.left, GetWindowRect(ui::FindControl(window, kFileTypeLabelId)).left);
        EXPECT_EQ(rect.top, GetWindowRect(types).bottom + 4);
        EXPECT_EQ(rect.Height(), 16);
        EXPECT_EQ(SendMessageW(box, WM_GETFONT, 0, 0), SendMessageW(types, WM_GETFONT, 0, 0));
        EXPECT_NE(SendMessageW(box, WM_GETFONT, 0, 0), 0);
        EXPECT_EQ(SendMessageW(types, CB_GETCOUNT, 0, 0), 2);
        ui::Click(box);
        ui::Type(ui::FindControl(window, kFileNameEditId), Path(L"hosts"));
        ui::Click(ui::FindControl(window, IDOK));
    });
    ASSERT_EQ(dialog.DoModal(owner.Handle()), IDOK);
    EXPECT_TRUE(dialog.GetBoxState());
    EXPECT_EQ(dialog.GetPathName(), Path(L"hosts.csv"));
    EXPECT_EQ(ui::ShownDialogs().back().caption, kTitle);
}

TEST_F(DlgExportFileSelect, TheBoxStateIsWhatItShowedAsTheDialogClosed)
{
    const struct {
        int clicks;  // on the box
        bool save;
        int result;
        bool state;
    } cases[] = {{0, true, IDOK, false}, {2, true, IDOK, false}, {1, false, IDCANCEL, true}, {3, true, IDOK, true}};
    for (const auto& c : cases) {
        CDlgExportFileSelect dialog(kFilter, kTitle, kCaption);
        user.InDialog([&](HWND window) {
            for (int i = 0; i < c.clicks; ++i) ui::Click(ui::FindControl(window, CDlgExportFileSelect::kCheckBoxId));
            ui::Type(ui::FindControl(window, kFileNameEditId), Path(L"list.csv"));
            ui::Click(ui::FindControl(window, c.save ? IDOK : IDCANCEL));
        });
        EXPECT_EQ(dialog.DoModal(owner.Handle()), c.result);
        EXPECT_EQ(dialog.GetBoxState(), c.state) << c.clicks;
    }
}
