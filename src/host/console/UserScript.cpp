#include "host/console/UserScript.h"

#include <charconv>
#include <optional>

#include "ui/CommonControls.h"
#include "ui/Locale.h"
#include "ui/RichEdit.h"
#include "ui/UserActions.h"
#include "ui/Window.h"
#include "ui/Wnd.h"
#include "zrplugin/IZRConfigurator.h"
#include "zrstd/Strings.h"

namespace host {

namespace {

using ZRSTD::FromUtf8;
using ZRSTD::ToUtf8;

// The texts a lock control offers, and the words that name them.
constexpr const wchar_t* kLockedText = L"Редактирование запрещено";
constexpr const wchar_t* kUnlockedText = L"Редактирование разрешено";

std::optional<int> Number(const std::string& text)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<int> AnswerOf(const std::string& word)
{
    if (word == "yes") return IDYES;
    if (word == "no") return IDNO;
    if (word == "ok") return IDOK;
    if (word == "cancel") return IDCANCEL;
    return std::nullopt;
}

const char* AnswerWord(int answer)
{
    switch (answer) {
    case IDYES: return "yes";
    case IDNO: return "no";
    case IDCANCEL: return "cancel";
    default: return "ok";
    }
}

bool TakesId(const std::string& verb)
{
    return verb != "answer" && verb != "file" && verb != "folder" && verb != "end";
}

bool NeedsText(const std::string& verb)
{
    return verb == "type" || verb == "append" || verb == "select" || verb == "spin" || verb == "file" ||
           verb == "folder" || verb == "link";
}

bool IsInteraction(const std::string& verb)
{
    return verb == "answer" || verb == "menu" || verb == "file" || verb == "folder" || verb == "dialog";
}

// The box to choose in: the control itself, or the drop-down a control made of others (a lock) holds.
HWND DropDownOf(HWND control)
{
    const std::wstring kind = GetClassName(control);
    if (kind == L"ComboBox" || kind == L"ComboBoxEx32" || kind == L"ListBox") return control;
    for (HWND part : GetChildren(control)) {
        const std::wstring partKind = GetClassName(part);
        if (partKind == L"ComboBox" || partKind == L"ComboBoxEx32") return part;
    }
    return control;
}

// A choice named in plain words: "locked" and "unlocked" for a lock's
// states, "mon" ... "sun" (or the English day names) for the user's day names.
std::wstring ResolveAlias(HWND control, const std::wstring& named)
{
    const std::vector<std::wstring> choices = ui::ChoicesOf(control);
    const auto offered = [&](const std::wstring& text) {
        for (const auto& choice : choices)
            if (ZRSTD::ToLower(choice) == ZRSTD::ToLower(text)) return true;
        return false;
    };
    if (offered(named)) return named;
    const std::wstring word = ZRSTD::ToLower(named);
    if (word == L"locked" && offered(kLockedText)) return kLockedText;
    if (word == L"unlocked" && offered(kUnlockedText)) return kUnlockedText;
    static const wchar_t* const days[][2] = {{L"mon", L"monday"}, {L"tue", L"tuesday"}, {L"wed", L"wednesday"},
                                             {L"thu", L"thursday"}, {L"fri", L"friday"}, {L"sat", L"saturday"},
                                             {L"sun", L"sunday"}};
    for (LCTYPE day = 0; day < 7; ++day) {
        if (word != days[day][0] && word != days[day][1]) continue;
        const std::wstring local = GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDAYNAME1 + day);
        if (offered(local)) return local;
    }
    return named;
}

// A time of day typed into a picker as HH:MM, on the day it shows.
void EnterTime(HWND picker, const std::wstring& text)
{
    const std::string time = ToUtf8(text);
    const auto colon = time.find(':');
    const auto hour = colon == std::string::npos ? std::nullopt : Number(time.substr(0, colon));
    const auto minute = colon == std::string::npos ? std::nullopt : Number(time.substr(colon + 1));
    if (!hour || !minute || *hour < 0 || *hour > 23 || *minute < 0 || *minute > 59)
        throw ui::ActionRefused(ui::NameForUser(picker) + " takes a time of day as HH:MM, not \"" + time + "\"");
    SYSTEMTIME shown;
    SendMessageW(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&shown));
    shown.wHour = static_cast<WORD>(*hour);
    shown.wMinute = static_cast<WORD>(*minute);
    ui::PickDateTime(picker, shown);
    SendMessageW(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&shown));
    if (shown.wHour != *hour || shown.wMinute != *minute)
        throw ui::ActionRefused(ui::NameForUser(picker) + " did not take the time " + time);
}

std::string Describe(const ScriptStep& step)
{
    std::string text = step.verb + ":";
    if (step.verb == "answer") return text.append(AnswerWord(step.answer));
    if (TakesId(step.verb)) text.append(std::to_string(step.id));
    if (step.hasText) text.append(TakesId(step.verb) ? "=" : "").append(ToUtf8(step.text));
    return text;
}

}  // namespace

const std::vector<std::pair<std::string, std::string>>& ScriptVerbs()
{
    static const std::vector<std::pair<std::string, std::string>> verbs = {
        {"type:ID=TEXT", "types TEXT over the field's text, as a field entered with Tab (HH:MM into a time picker, "
                         "a.b.c.d into an address control); refused when the field does not take it"},
        {"append:ID=TEXT", "types TEXT at the end of the field's text"},
        {"clear:ID", "empties the field (blanks an address control)"},
        {"click:ID", "clicks a button, check box, radio button or link"},
        {"check:ID / uncheck:ID", "sets a check box to checked or cleared"},
        {"check:ID=ROW / uncheck:ID=ROW", "the check box of a list row (its text, any case, #N, or mon...sun)"},
        {"select:ID=ITEM", "chooses an item of a drop-down or a list row (its text, any case, or #N; a lock: "
                           "locked or unlocked)"},
        {"spin:ID=up|down", "clicks an arrow of the up-down control ID once"},
        {"link:ID=TEXT", "clicks the text TEXT (an address shown as a link) in the rich edit ID"},
        {"answer:yes|no|ok|cancel", "answers the next message box that asks something"},
        {"menu:ID", "chooses the command ID in the next popup menu (0 dismisses it)"},
        {"file:PATH", "answers the next file picker with PATH"},
        {"folder:PATH", "answers the next folder picker with PATH"},
        {"dialog:ID ... end", "what is done inside the modal dialog ID that the step before opens"},
    };
    return verbs;
}

std::vector<ScriptStep> ParseScript(const std::vector<std::string>& words, bool openDialogAtEnd)
{
    std::vector<std::vector<ScriptStep>*> open;  // the dialogs being written, innermost last
    std::vector<ScriptStep> steps;
    auto target = [&]() -> std::vector<ScriptStep>& { return open.empty() ? steps : *open.back(); };
    std::vector<ScriptStep*> openDialogs;
    for (const std::string& word : words) {
        const auto bad = [&](const std::string& why) {
            throw ScriptUsageError("the action \"" + word + "\" " + why + " (see --help for the actions)");
        };
        ScriptStep step;
        if (word == "end") {
            if (openDialogs.empty()) bad("closes no dialog: there is no dialog:ID before it");
            openDialogs.back()->ended = true;
            openDialogs.pop_back();
            open.pop_back();
            continue;
        }
        const auto colon = word.find(':');
        if (colon == std::string::npos) bad("has no verb");
        step.verb = word.substr(0, colon);
        const std::string rest = word.substr(colon + 1);
        if (step.verb == "answer") {
            const auto answer = AnswerOf(rest);
            if (!answer) bad("answers neither yes, no, ok nor cancel");
            step.answer = *answer;
            target().push_back(step);
            continue;
        }
        static const char* const known[] = {"type",  "append", "clear",  "click", "check",  "uncheck",
                                            "select", "spin", "menu",  "file",   "folder", "dialog", "link"};
        if (std::find_if(std::begin(known), std::end(known), [&](const char* v) { return step.verb == v; }) ==
            std::end(known))
            bad("has an unknown verb");
        if (!TakesId(step.verb)) {
            if (rest.empty()) bad("needs a path after the colon");
            step.text = FromUtf8(rest);
            step.hasText = true;
            target().push_back(step);
            continue;
        }
        std::string idText = rest;
        const auto equals = rest.find('=');
        const bool mayTakeText = NeedsText(step.verb) || step.verb == "check" || step.verb == "uncheck";
        if (NeedsText(step.verb) && equals == std::string::npos) bad("needs =TEXT");
        if (!mayTakeText && equals != std::string::npos) bad("takes no =TEXT");
        if (equals != std::string::npos) {
            idText = rest.substr(0, equals);
            step.text = FromUtf8(rest.substr(equals + 1));
            step.hasText = true;
        }
        const auto id = Number(idText);
        if (!id) bad("does not name a control id (a number, as show prints it)");
        step.id = *id;
        target().push_back(step);
        if (step.verb == "dialog") {
            ScriptStep& dialog = target().back();
            openDialogs.push_back(&dialog);
            open.push_back(&dialog.inside);
        }
    }
    if (!openDialogs.empty() && !openDialogAtEnd)
        throw ScriptUsageError("the action \"dialog:" + std::to_string(openDialogs.back()->id) +
                               "\" has no \"end\": say where the work inside the dialog ends");
    return steps;
}

ScriptRunner::ScriptRunner(bool lookAtDialogs, std::wstring governingPolicy)
    : m_lookAtDialogs(lookAtDialogs), m_governingPolicy(std::move(governingPolicy))
{
    ui::SetInteractionDriver(this);
    ui::SetPickerAnswer([this](const ui::ServiceCall& request) { return AnswerPicker(request); });
}

ScriptRunner::~ScriptRunner()
{
    ui::SetInteractionDriver(nullptr);
    ui::SetPickerAnswer(nullptr);
}

void ScriptRunner::Queue(const std::vector<ScriptStep>& steps, bool atFront)
{
    std::vector<ScriptStep> interactions;
    for (const auto& step : steps)
        if (IsInteraction(step.verb)) interactions.push_back(step);
    if (atFront) m_interactions.insert(m_interactions.begin(), interactions.begin(), interactions.end());
    else m_interactions.insert(m_interactions.end(), interactions.begin(), interactions.end());
}

void ScriptRunner::Run(HWND page, const std::vector<ScriptStep>& steps)
{
    Queue(steps, false);
    for (const auto& step : steps)
        if (!IsInteraction(step.verb)) Perform(page, step);
}

std::vector<std::string> ScriptRunner::UnusedAnswers() const
{
    std::vector<std::string> unused;
    for (const auto& step : m_interactions) unused.push_back(Describe(step));
    return unused;
}

void PerformStep(HWND dialog, const ScriptStep& step, const std::wstring& governingPolicy)
{
    if (IsInteraction(step.verb)) throw ScriptUsageError("\"" + Describe(step) + "\" answers a question; it is no action on a control");
    const HWND control = ui::FindControl(dialog, step.id);
    // a control its policy locks is refused in those words
    if (!IsWindowEnabled(control)) {
        if (HWND lock = static_cast<HWND>(GetPropW(control, ZRPlugin::kGoverningLockProperty))) {
            if (const auto* policy = static_cast<const wchar_t*>(GetPropW(lock, ZRPlugin::kLockedByPolicyProperty))) {
                const std::wstring name = *policy ? std::wstring(policy) : governingPolicy;
                throw ui::ActionRefused(ui::NameForUser(control) + " is locked by the policy" +
                                        (name.empty() ? std::string() : " \"" + ToUtf8(name) + "\"") +
                                        " (lock " + std::to_string(GetDlgCtrlID(lock)) + ")");
            }
        }
    }
    const bool address = GetClassName(control) == L"SysIPAddress32";
    if (step.verb == "type") {
        if (GetClassName(control) == L"SysDateTimePick32") EnterTime(control, step.text);
        else if (address) ui::EnterAddress(control, step.text);
        else ui::EnterText(control, step.text);
    } else if (step.verb == "append") {
        ui::AppendText(control, step.text);
    } else if (step.verb == "clear") {
        if (address) ui::EnterAddress(control, L"");
        else ui::ClearText(control);
    } else if (step.verb == "click") {
        ui::Click(control);
    } else if (step.verb == "check" || step.verb == "uncheck") {
        if (step.hasText) ui::SetRowChecked(control, ResolveAlias(control, step.text), step.verb == "check");
        else ui::SetChecked(control, step.verb == "check");
    } else if (step.verb == "spin") {
        if (step.text != L"up" && step.text != L"down")
            throw ui::ActionRefused("the arrows of " + ui::NameForUser(control) + " are up and down, not \"" +
                                    ToUtf8(step.text) + "\"");
        if (!IsWindowEnabled(control) || !IsWindowVisible(control))
            throw ui::ActionRefused(ui::NameForUser(control) + " is " + (IsWindowEnabled(control) ? "hidden" : "disabled"));
        ui::Spin(control, step.text == L"up" ? 1 : -1);
    } else if (step.verb == "link") {
        ui::ClickRichEditText(control, step.text);
    } else if (step.verb == "select") {
        const HWND box = DropDownOf(control);
        ui::SelectItem(box, ResolveAlias(box, step.text));
    }
}

void ScriptRunner::Perform(HWND dialog, const ScriptStep& step) { PerformStep(dialog, step, m_governingPolicy); }

int ScriptRunner::AnswerMessageBox(const ui::ShownBox& box)
{
    if (!m_interactions.empty() && m_interactions.front().verb == "answer") {
        const int answer = m_interactions.front().answer;
        m_interactions.pop_front();
        return answer;
    }
    if ((box.style & 0xF) == MB_OK) return IDOK;  // a notice: read and closed
    throw ui::UnscriptedInteraction("the page asks \"" + ToUtf8(box.text) +
                                    "\": say what the user answers with answer:yes|no|ok|cancel");
}

void ScriptRunner::LookAt(HWND dialog, const ui::ShownDialog& shown)
{
    m_dialogsLookedAt.push_back({shown.templateId, shown.caption, ViewControls(dialog)});
    SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);  // looked at, not used
}

void ScriptRunner::ActInDialog(HWND dialog, const ui::ShownDialog& shown)
{
    const std::string named = std::to_string(shown.templateId) + " \"" + ToUtf8(shown.caption) + "\"";
    if (m_interactions.empty() || m_interactions.front().verb != "dialog") {
        if (m_lookAtDialogs) return LookAt(dialog, shown);
        throw ui::UnscriptedInteraction("the dialog " + named + " opened: say what the user does in it with dialog:" +
                                        std::to_string(shown.templateId) + " ... end");
    }
    const ScriptStep step = m_interactions.front();
    m_interactions.pop_front();
    if (static_cast<UINT>(step.id) != shown.templateId)
        throw ui::ActionRefused("the dialog that opened is " + named + ", not dialog " + std::to_string(step.id));
    Queue(step.inside, true);
    for (const auto& inside : step.inside)
        if (!IsInteraction(inside.verb)) Perform(dialog, inside);
    if (!step.ended && m_lookAtDialogs && IsWindow(dialog)) LookAt(dialog, shown);
}

UINT ScriptRunner::ChooseMenuItem(const ui::ShownMenu& menu)
{
    if (!m_interactions.empty() && m_interactions.front().verb == "menu") {
        const auto command = static_cast<UINT>(m_interactions.front().id);
        m_interactions.pop_front();
        return command;
    }
    std::string items;
    for (const auto& item : menu.items)
        if (!item.separator) items += (items.empty() ? "" : ", ") + std::to_string(item.id) + " \"" + ToUtf8(item.text) + "\"";
    throw ui::UnscriptedInteraction("a menu opened (" + items + "): say which command the user chooses with menu:ID");
}

std::wstring ScriptRunner::AnswerPicker(const ui::ServiceCall& request)
{
    const std::string wanted = request.service == L"folder" ? "folder" : "file";
    if (!m_interactions.empty() && m_interactions.front().verb == wanted) {
        const std::wstring path = m_interactions.front().text;
        m_interactions.pop_front();
        return path;
    }
    if (m_lookAtDialogs) return L"";  // looked at: the picker is cancelled
    throw ui::UnscriptedInteraction("a " + wanted + " picker opened (\"" + ToUtf8(request.argument) +
                                    "\"): answer it with " + wanted + ":PATH");
}

}  // namespace host
