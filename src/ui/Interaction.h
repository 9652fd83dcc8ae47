#pragma once

#include <deque>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "ui/Api.h"
#include "ui/Win32.h"

// Message boxes and modal dialogs go through a replaceable driver: a person
// at a terminal, a script of answers, or a test. Every box and dialog shown
// is recorded.
namespace ui {

struct ShownBox {
    HWND owner = nullptr;
    std::wstring text;
    std::wstring caption;
    UINT style = 0;
    int answer = 0;
};

struct ShownDialog {
    HWND owner = nullptr;
    UINT templateId = 0;
    std::wstring caption;
    int result = 0;
};

struct ShownMenu {
    struct Item {
        UINT id = 0;
        std::wstring text;
        bool enabled = true;
        bool checked = false;
        bool separator = false;
        bool operator==(const Item&) const = default;
    };
    HWND owner = nullptr;
    POINT at;  // screen coordinates
    UINT flags = 0;
    std::vector<Item> items;
    UINT chosen = 0;  // 0: none
};

// Raised when the user is asked something nobody scripted: a test or a
// command line must say what the user answers, never hang.
class UI_API UnscriptedInteraction : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class UI_API InteractionDriver {
public:
    virtual ~InteractionDriver() = default;
    // The button the user presses (IDOK, IDYES, ...).
    virtual int AnswerMessageBox(const ShownBox& box) = 0;
    // Acts inside a modal dialog that has just been initialised; the dialog
    // ends when something in it calls EndDialog.
    virtual void ActInDialog(HWND dialog, const ShownDialog& shown) = 0;
    // The command the user chooses in a popup menu, 0 for none; by default
    // nobody was told what to choose.
    virtual UINT ChooseMenuItem(const ShownMenu& menu);
};

// What a scripted user does, in order: answer the next box, or act inside the
// next dialog. A box with only an OK button that no step answers is a notice:
// it is closed with OK, and recorded like every box.
class UI_API ScriptedUser : public InteractionDriver {
public:
    ScriptedUser& Answer(int button);
    ScriptedUser& InDialog(std::function<void(HWND dialog)> actions);
    // Chooses the item with this command in the next popup menu (0 dismisses it).
    ScriptedUser& Choose(UINT command);

    int AnswerMessageBox(const ShownBox& box) override;
    void ActInDialog(HWND dialog, const ShownDialog& shown) override;
    UINT ChooseMenuItem(const ShownMenu& menu) override;
    bool Finished() const { return m_steps.empty(); }

private:
    enum class Kind { Answer, Dialog, Menu };
    struct Step {
        Kind kind;
        int button;
        std::function<void(HWND)> actions;
    };
    std::deque<Step> m_steps;
};

// The driver in use (a ScriptedUser with no steps until one is set).
UI_API void SetInteractionDriver(InteractionDriver* driver);
UI_API InteractionDriver& CurrentInteractionDriver();

UI_API const std::vector<ShownBox>& ShownBoxes();
UI_API const std::vector<ShownDialog>& ShownDialogs();
UI_API const std::vector<ShownMenu>& ShownMenus();
UI_API void ClearInteractionRecord();

// Runs a modal dialog: lets the driver act, pumps posted messages, and
// returns once ended() is true, recording result(); a dialog the driver
// leaves open raises UnscriptedInteraction.
// Shows a popup menu to the driver and records it; returns the chosen command
// (0 for none). Choosing an item that is not there or is disabled raises
// UnscriptedInteraction: a user cannot do that.
UI_API UINT RunPopupMenu(ShownMenu menu);

UI_API void RunModalLoop(HWND dialog, ShownDialog shown, const std::function<bool()>& ended,
                         const std::function<int()>& result);
// Whether the modal dialog has ended (something in it called EndDialog); true
// as well for a window that runs no modal loop. A driver that waits for a
// person while a dialog is open asks this after every action.
UI_API bool ModalDialogEnded(HWND dialog);

}  // namespace ui

UI_API int MessageBoxW(HWND owner, const std::wstring& text, const std::wstring& caption, UINT style);
