#include "ui/Interaction.h"

#include "ui/Window.h"
#include "zrstd/Strings.h"

namespace ui {

namespace {

struct Record {
    std::vector<ShownBox> boxes;
    std::vector<ShownDialog> dialogs;
    InteractionDriver* driver = nullptr;
    ScriptedUser nobody;  // answers nothing: every question is unscripted
};

Record& State()
{
    static Record* record = new Record;
    return *record;
}

std::string Describe(const ShownBox& box)
{
    return "a message box nobody answers: \"" + ZRSTD::ToUtf8(box.text) + "\" (" + ZRSTD::ToUtf8(box.caption) + ")";
}

}  // namespace

ScriptedUser& ScriptedUser::Answer(int button)
{
    m_steps.push_back({true, button, nullptr});
    return *this;
}

ScriptedUser& ScriptedUser::InDialog(std::function<void(HWND)> actions)
{
    m_steps.push_back({false, 0, std::move(actions)});
    return *this;
}

int ScriptedUser::AnswerMessageBox(const ShownBox& box)
{
    if (m_steps.empty() || !m_steps.front().isAnswer) throw UnscriptedInteraction(Describe(box));
    const int button = m_steps.front().button;
    m_steps.pop_front();
    return button;
}

void ScriptedUser::ActInDialog(HWND dialog, const ShownDialog& shown)
{
    if (m_steps.empty() || m_steps.front().isAnswer)
        throw UnscriptedInteraction("a dialog nobody acts in: template " + std::to_string(shown.templateId) + " \"" +
                                    ZRSTD::ToUtf8(shown.caption) + "\"");
    auto actions = std::move(m_steps.front().actions);
    m_steps.pop_front();
    actions(dialog);
}

void SetInteractionDriver(InteractionDriver* driver) { State().driver = driver; }

InteractionDriver& CurrentInteractionDriver()
{
    Record& state = State();
    return state.driver ? *state.driver : state.nobody;
}

const std::vector<ShownBox>& ShownBoxes() { return State().boxes; }
const std::vector<ShownDialog>& ShownDialogs() { return State().dialogs; }

void ClearInteractionRecord()
{
    State().boxes.clear();
    State().dialogs.clear();
}

void RunModalLoop(HWND dialog, ShownDialog shown, const std::function<bool()>& ended,
                  const std::function<int()>& result)
{
    const std::size_t record = State().dialogs.size();
    State().dialogs.push_back(shown);
    PumpMessages();
    if (!ended()) CurrentInteractionDriver().ActInDialog(dialog, shown);
    PumpMessages();
    if (!ended())
        throw UnscriptedInteraction("the dialog \"" + ZRSTD::ToUtf8(shown.caption) + "\" (template " +
                                    std::to_string(shown.templateId) + ") was left open");
    State().dialogs[record].result = result();
}

}  // namespace ui

int MessageBoxW(HWND owner, const std::wstring& text, const std::wstring& caption, UINT style)
{
    ui::ShownBox box{owner, text, caption, style, 0};
    box.answer = ui::CurrentInteractionDriver().AnswerMessageBox(box);
    ui::State().boxes.push_back(box);
    return box.answer;
}
