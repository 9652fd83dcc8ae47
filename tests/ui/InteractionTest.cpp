#include "ui/Interaction.h"

#include <gtest/gtest.h>

#include "support/UserFixture.h"
#include "ui/ControlWrappers.h"
#include "ui/UserActions.h"

namespace {

class Interaction : public testsupport::UserTest {
protected:
    void SetUp() override
    {
        UserTest::SetUp();
        ui::DialogTemplate question;
        question.id = 6010;
        question.caption = L"Изменение пароля";
        question.controls = {{1001, L"Edit", L"", WS_CHILD | WS_VISIBLE, {}},
                             {IDOK, L"Button", L"Ok", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, {}},
                             {IDCANCEL, L"Button", L"Отмена", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, {}},
                             {1220, L"Button", L"more", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, {}}};
        module.AddTemplate(question);
        scope = std::make_unique<ui::ModuleStateScope>(ui::ModuleState{&module, nullptr});
    }
    void TearDown() override
    {
        UserTest::TearDown();
        scope.reset();
    }

    ui::ResourceModule module{L"test"};
    std::unique_ptr<ui::ModuleStateScope> scope;
};

// A dialog whose "more" button opens itself again, modally.
class Asking : public CDialog {
public:
    Asking() : CDialog(6010) {}
    std::wstring typed;
    int nestedResult = 0;
    bool OnCommand(WORD id, WORD code, HWND) override
    {
        if (id != 1220) return false;
        Asking nested;
        nestedResult = nested.DoModal(m_hWnd);
        return true;
    }
    void OnOK() override
    {
        typed = GetDlgItemText(1001);
        CDialog::OnOK();
    }
};

}  // namespace

TEST_F(Interaction, MessageBoxesAreAnsweredByTheScriptAndRecorded)
{
    user.Answer(IDYES).Answer(IDOK);
    EXPECT_EQ(MessageBoxW(nullptr, L"Удалить?", L"Caption", MB_YESNO | MB_ICONWARNING), IDYES);
    EXPECT_EQ(MessageBoxW(nullptr, L"Готово", L"Caption", MB_OK), IDOK);
    ASSERT_EQ(ui::ShownBoxes().size(), 2u);
    EXPECT_EQ(ui::ShownBoxes()[0].text, L"Удалить?");
    EXPECT_EQ(ui::ShownBoxes()[0].style, MB_YESNO | MB_ICONWARNING);
    EXPECT_EQ(ui::ShownBoxes()[1].answer, IDOK);
    EXPECT_TRUE(user.Finished());
    // a notice with only OK is closed without a step; a question needs one
    EXPECT_EQ(MessageBoxW(nullptr, L"read me", L"c", MB_OK | MB_ICONERROR), IDOK);
    EXPECT_EQ(ui::ShownBoxes().size(), 3u);
    EXPECT_THROW(MessageBoxW(nullptr, L"nobody answers", L"c", MB_OKCANCEL), ui::UnscriptedInteraction);
}

TEST_F(Interaction, ModalDialogsRunTheScriptedActionsIncludingNestedDialogs)
{
    user.InDialog([](HWND dialog) {
            ui::Type(ui::FindControl(dialog, 1001), L"outer");
            ui::Click(ui::FindControl(dialog, 1220));  // opens the nested dialog
            ui::Click(ui::FindControl(dialog, IDOK));
        })
        .InDialog([](HWND nested) { ui::Click(ui::FindControl(nested, IDCANCEL)); });
    Asking dialog;
    EXPECT_EQ(dialog.DoModal(nullptr), IDOK);
    EXPECT_EQ(dialog.typed, L"outer");
    EXPECT_EQ(dialog.nestedResult, IDCANCEL);
    ASSERT_EQ(ui::ShownDialogs().size(), 2u);
    EXPECT_EQ(ui::ShownDialogs()[0].caption, L"Изменение пароля");
    EXPECT_EQ(ui::ShownDialogs()[0].result, IDOK);
    EXPECT_EQ(ui::ShownDialogs()[1].result, IDCANCEL);
    EXPECT_FALSE(IsWindow(dialog.GetSafeHwnd()));
}

TEST_F(Interaction, ADialogNobodyActsInOrThatIsLeftOpenFailsLoudly)
{
    Asking unscripted;
    EXPECT_THROW(unscripted.DoModal(nullptr), ui::UnscriptedInteraction);
    user.InDialog([](HWND dialog) { ui::Type(ui::FindControl(dialog, 1001), L"and then nothing"); });
    Asking leftOpen;
    EXPECT_THROW(leftOpen.DoModal(nullptr), ui::UnscriptedInteraction);
    Asking missingTemplate;
    ui::ModuleStateScope empty(ui::ModuleState{});
    EXPECT_EQ(missingTemplate.DoModal(nullptr), -1);
}
