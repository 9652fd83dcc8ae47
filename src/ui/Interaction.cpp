#include "ui/Interaction.h"

#include <algorithm>

#include "ui/Window.h"
#include "zrstd/Strings.h"

namespace ui {

namespace {

struct Record {
    std::vector<ShownBox> boxes;
    std::vector<ShownDialog> dialogs;
    std::vector<ShownMenu> menus;
    InteractionDriver* driver = nullptr;
    ScriptedUser nobody;  // answers nothing: every question is unscripted
    // the modal loops running, innermost last
    std::vector<std::pair<HWND, const std::function<bool()>*>> modal;
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

UINT InteractionDriver::ChooseMenuItem(const ShownMenu& menu)
{
    throw UnscriptedInteraction("a popup menu nobody chooses from (" + std::to_string(menu.items.size()) + " items)");
}

ScriptedUser& ScriptedUser::Answer(int button)
{
    m_steps.push_back({Kind::Answer, button, nullptr});
    return *this;
}

ScriptedUser& ScriptedUser::InDialog(std::function<void(HWND)> actions)
{
    m_steps.push_back({Kind::Dialog, 0, std::move(actions)});
    return *this;
}

ScriptedUser& ScriptedUser::Choose(UINT command)
{
    m_steps.push_back({Kind::Menu, static_cast<int>(command), nullptr});
    return *this;
}

UINT ScriptedUser::ChooseMenuItem(const ShownMenu& menu)
{
    if (m_steps.empty() || m_steps.front().kind != Kind::Menu) return InteractionDriver::ChooseMenuItem(menu);
    const auto command = static_cast<UINT>(m_steps.front().button);
    m_steps.pop_front();
    return command;
}

int ScriptedUser::AnswerMessageBox(const ShownBox& box)
{
    if (m_steps.empty() || m_steps.front().kind != Kind::Answer) {
        // a notice with only an OK button asks nothing: it is read and closed
        if ((box.style & 0xF) == MB_OK) return IDOK;
        throw UnscriptedInteraction(Describe(box));
    }
    const int button = m_steps.front().button;
    m_steps.pop_front();
    return button;
}

void ScriptedUser::ActInDialog(HWND dialog, const ShownDialog& shown)
{
    if (m_steps.empty() || m_steps.front().kind != Kind::Dialog)
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
const std::vector<ShownMenu>& ShownMenus() { return State().menus; }

void ClearInteractionRecord()
{
    State().boxes.clear();
    State().dialogs.clear();
    State().menus.clear();
}

UINT RunPopupMenu(ShownMenu menu)
{
    const UINT chosen = CurrentInteractionDriver().ChooseMenuItem(menu);
    if (chosen != 0) {
        const auto item = std::find_if(menu.items.begin(), menu.items.end(),
                                       [chosen](const ShownMenu::Item& i) { return !i.separator && i.id == chosen; });
        if (item == menu.items.end()) throw UnscriptedInteraction("the menu has no item " + std::to_string(chosen));
        if (!item->enabled) throw UnscriptedInteraction("the menu item " + std::to_string(chosen) + " is disabled");
    }
    menu.chosen = chosen;
    State().menus.push_back(std::move(menu));
    return chosen;
}

void RunModalLoop(HWND dialog, ShownDialog shown, const std::function<bool()>& ended,
                  const std::function<int()>& result)
{
    const std::size_t record = State().dialogs.size();
    State().dialogs.push_back(shown);
    auto& modal = State().modal;
    modal.emplace_back(dialog, &ended);
    struct Running {
        std::vector<std::pair<HWND, const std::function<bool()>*>>& modal;
        ~Running() { modal.pop_back(); }
    } running{modal};
    PumpMessages();
    if (!ended()) CurrentInteractionDriver().ActInDialog(dialog, shown);
    PumpMessages();
    if (!ended())
        throw UnscriptedInteraction("the dialog \"" + ZRSTD::ToUtf8(shown.caption) + "\" (template " +
                                    std::to_string(shown.templateId) + ") was left open");
    State().dialogs[record].result = result();
}

bool ModalDialogEnded(HWND dialog)
{
    for (const auto& [window, ended] : State().modal)
        if (window == dialog) return (*ended)();
    return true;
}

}  // namespace ui

int MessageBoxW(HWND owner, const std::wstring& text, const std::wstring& caption, UINT style)
{
    ui::ShownBox box{owner, text, caption, style, 0};
    box.answer = ui::CurrentInteractionDriver().AnswerMessageBox(box);
    ui::State().boxes.push_back(box);
    return box.answer;
}
