#include "ui/ControlTable.h"

#include <gtest/gtest.h>

#include "ui/UserActions.h"
#include "ui/Window.h"
#include "ui/Wnd.h"

TEST(ControlTable, AnEmbeddedDialogsControlsAreThePagesOwnButAModalDialogsAreNot)
{
    ui::InitializePlatform();
    HWND page = CreateWindowExW(0, L"#32770", L"", WS_CHILD, {}, nullptr, 0);
    HWND before = CreateWindowExW(0, L"Button", L"", WS_CHILD, {}, page, 1);
    HWND embedded = CreateWindowExW(0, L"#32770", L"", WS_CHILD, {}, page, 0);
    HWND list = CreateWindowExW(0, L"SysListView32", L"", WS_CHILD, {}, embedded, 1075);
    HWND modal = CreateWindowExW(0, L"#32770", L"", WS_POPUP, {}, page, 0);
    CreateWindowExW(0, L"Edit", L"", WS_CHILD, {}, modal, 1136);

    EXPECT_EQ(ui::DialogControls(page), (std::vector<HWND>{before, list, modal}));
    EXPECT_EQ(ui::FindControl(page, 1075), list);
    EXPECT_THROW(ui::FindControl(page, 1136), ui::ActionRefused);
    DestroyWindow(page);
}
