#pragma once

#include <deque>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "host/console/ControlView.h"
#include "ui/Interaction.h"
#include "ui/Services.h"

// What a person does on a page, written as words on a command line (or sent
// by the browser console): "type:6009=10", "click:1000", "dialog:6010 ...
// end", "answer:yes". A script runs on a page as a person would act on it:
// every step goes through the platform's user actions, each checked to have
// landed, and the questions the page asks (message boxes, dialogs, menus,
// file and folder pickers) are answered from the script in the order they come.
namespace host {

// A script that is written wrong (the command line's usage error).
class ScriptUsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct ScriptStep {
    std::string verb;
    int id = 0;
    std::wstring text;
    bool hasText = false;
    int answer = 0;                  // answer: IDYES, IDNO, IDOK or IDCANCEL
    std::vector<ScriptStep> inside;  // dialog: what happens inside it
    bool ended = false;              // dialog: closed by "end" in the script
};

// The verbs and what each does, for help texts.
const std::vector<std::pair<std::string, std::string>>& ScriptVerbs();

// Parses the words; a dialog left open at the end is allowed only when
// openDialogAtEnd is set (to look at it). Raises ScriptUsageError.
std::vector<ScriptStep> ParseScript(const std::vector<std::string>& words, bool openDialogAtEnd = false);

// Performs one step that acts on a control of the dialog (or page) through
// the platform's user actions: type (HH:MM into a time picker, a dotted
// address into an address control), append, clear, click, check, uncheck,
// select. A control its policy locks is refused naming governingPolicy when
// the lock names none. Steps that answer questions raise ScriptUsageError.
void PerformStep(HWND dialog, const ScriptStep& step, const std::wstring& governingPolicy);

// A modal dialog as it was when the script ended inside it.
struct OpenDialog {
    UINT templateId = 0;
    std::wstring caption;
    std::vector<ControlView> controls;
};

// Runs scripts on a page and answers what the page asks. While it runs it is
// the platform's interaction driver and picker. With lookAtDialogs, a dialog
// the script does not close (or does not mention) is described and then
// cancelled instead of refused. Refusals raise ui::ActionRefused or
// ui::UnscriptedInteraction, in a person's words.
class ScriptRunner : public ui::InteractionDriver {
public:
    // governingPolicy: the policy named when a control its policy locks is refused.
    ScriptRunner(bool lookAtDialogs, std::wstring governingPolicy);
    ~ScriptRunner() override;
    ScriptRunner(const ScriptRunner&) = delete;
    ScriptRunner& operator=(const ScriptRunner&) = delete;

    void Run(HWND page, const std::vector<ScriptStep>& steps);
    const std::vector<OpenDialog>& DialogsLookedAt() const { return m_dialogsLookedAt; }
    // Answers the script gave that nothing asked for.
    std::vector<std::string> UnusedAnswers() const;

    int AnswerMessageBox(const ui::ShownBox& box) override;
    void ActInDialog(HWND dialog, const ui::ShownDialog& shown) override;
    UINT ChooseMenuItem(const ui::ShownMenu& menu) override;

private:
    void Perform(HWND dialog, const ScriptStep& step);
    void Queue(const std::vector<ScriptStep>& steps, bool atFront);
    std::wstring AnswerPicker(const ui::ServiceCall& request);
    void LookAt(HWND dialog, const ui::ShownDialog& shown);

    bool m_lookAtDialogs;
    std::wstring m_governingPolicy;
    std::deque<ScriptStep> m_interactions;  // answers, dialogs, menus and pickers, as they will be asked
    std::vector<OpenDialog> m_dialogsLookedAt;
};

}  // namespace host
