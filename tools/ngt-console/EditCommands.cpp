#include "EditCommands.h"

#include <algorithm>
#include <charconv>
#include <iostream>
#include <nlohmann/json.hpp>

#include "host/pagehost/PageHost.h"
#include "ui/CommonControls.h"
#include "ui/ControlTable.h"
#include "ui/Interaction.h"
#include "ui/UserActions.h"
#include "ui/Window.h"
#include "ui/Wnd.h"
#include "zrpar/Render.h"
#include "zrplugin/SettingsExporter.h"
#include "zrstd/Format.h"
#include "zrstd/Strings.h"

namespace ngt {

namespace {

using ZRSTD::FromUtf8;
using ZRSTD::ToUtf8;

// The opened page in its sheet; the page goes before the sheet.
struct OpenPage {
    std::unique_ptr<host::ConsoleDataSource> dataSource;
    host::Configurator configurator;
    std::unique_ptr<host::PageHost> sheet;
    HWND window = nullptr;
    std::string title;
    std::string pageClass;
};

std::optional<int> Number(const std::string& text)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::string ClassOf(HWND window)
{
    const void* name = ::GetPropW(window, ZRPlugin::kPageClassProperty);
    return name ? ToUtf8(static_cast<const wchar_t*>(name)) : "";
}

OpenPage Open(Session& session, const std::string& object, const std::string& page)
{
    OpenPage open;
    open.dataSource = session.DataSource(ZRSTD::FromUtf8(object));
    open.configurator = session.Configure(*open.dataSource, false);
    open.sheet = std::make_unique<host::PageHost>();
    const std::int32_t count = open.configurator->GetPageCount();
    const auto index = Number(page);
    std::vector<std::int32_t> candidates;
    if (index) {
        if (*index < 0 || *index >= count)
            Refuse(ZRSTD::FormatW(L"%hs has no page %d (its pages are 0 to %d)", object, *index, count - 1));
        candidates.push_back(*index);
    } else {
        for (std::int32_t i = 0; i < count; ++i) candidates.push_back(i);
    }
    for (std::int32_t candidate : candidates) {
        ZRSTD::CAutoPtr<ZRPlugin::IZRConfiguratorPage2> created;
        try {
            open.configurator->CreatePage(&created, open.sheet->Sheet(), candidate);
        } catch (const ZRERR::Error& error) {
            if (index) Refuse(ZRSTD::FormatW(L"page %d of %hs is not available in this build (%s)", candidate, object,
                                             error.GetMessage()));
            continue;  // looking for a class: pages this build lacks are not it
        }
        if (!created) continue;
        const std::string pageClass = ClassOf(created->GetWindow());
        if (!index && pageClass != page) continue;
        open.window = open.sheet->Embed(created.Get());
        open.title = ToUtf8(open.configurator->GetPageTitle(candidate));
        open.pageClass = pageClass;
        return open;
    }
    Refuse(ZRSTD::FormatW(L"%hs has no available page of class %hs (ngt-console pages %hs lists them)", object, page,
                          object));
}

std::string Describe(const std::vector<ui::ControlState>& controls, Format format)
{
    if (format == Format::Json) {
        auto list = nlohmann::json::array();
        for (const auto& control : controls)
            list.push_back({{"id", control.id}, {"kind", ToUtf8(control.kind)}, {"text", ToUtf8(control.text)},
                            {"state", ToUtf8(control.state)}, {"tooltip", ToUtf8(control.tooltip)},
                            {"enabled", control.enabled}, {"visible", control.visible}});
        return list.dump(2) + "\n";
    }
    return ui::FormatControlTable(controls);
}

int AnswerOf(const std::string& word)
{
    if (word == "yes") return IDYES;
    if (word == "no") return IDNO;
    if (word == "ok") return IDOK;
    if (word == "cancel") return IDCANCEL;
    return 0;
}

// The box to choose in: the control itself, or the drop-down a composite control (a lock) is made of.
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

// A time typed into a picker: "HH:MM" on the day it shows.
void TypeTime(HWND picker, const std::wstring& text)
{
    const std::string time = ToUtf8(text);
    const auto colon = time.find(':');
    const auto hour = colon == std::string::npos ? std::nullopt : Number(time.substr(0, colon));
    const auto minute = colon == std::string::npos ? std::nullopt : Number(time.substr(colon + 1));
    if (!hour || !minute || *hour < 0 || *hour > 23 || *minute < 0 || *minute > 59)
        throw ui::ActionRefused("\"" + time + "\" is no time of day (HH:MM)");
    SYSTEMTIME shown;
    SendMessageW(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&shown));
    shown.wHour = static_cast<WORD>(*hour);
    shown.wMinute = static_cast<WORD>(*minute);
    ui::PickDateTime(picker, shown);
}

void Perform(HWND dialog, const UserAction& action)
{
    const auto control = [&] { return ui::FindControl(dialog, action.id); };
    if (action.verb == "type") {
        if (GetClassName(control()) == L"SysDateTimePick32") TypeTime(control(), action.text);
        else ui::Type(control(), action.text);
    } else if (action.verb == "clear") {
        ui::ClearText(control());
    } else if (action.verb == "click") {
        ui::Click(control());
    } else if (action.verb == "check" || action.verb == "uncheck") {
        if (action.hasText) ui::SetRowChecked(control(), action.text, action.verb == "check");
        else ui::SetChecked(control(), action.verb == "check");
    } else if (action.verb == "select") {
        ui::SelectItem(DropDownOf(control()), action.text);
    }
}

// While the pages apply, the box a page shows because its settings could not
// be written only tells the user why: when the script has nothing more to
// say, the user acknowledges it and the command reports it as the failure.
class ApplyingUser : public ui::InteractionDriver {
public:
    explicit ApplyingUser(ui::ScriptedUser& script) : m_script(script) {}
    int AnswerMessageBox(const ui::ShownBox& box) override
    {
        constexpr UINT kTypeMask = 0xF, kIconMask = 0xF0;
        if (m_script.Finished() && (box.style & kTypeMask) == MB_OK && (box.style & kIconMask) == MB_ICONERROR) {
            failures.push_back(box.text);
            return IDOK;
        }
        return m_script.AnswerMessageBox(box);
    }
    void ActInDialog(HWND dialog, const ui::ShownDialog& shown) override { m_script.ActInDialog(dialog, shown); }
    UINT ChooseMenuItem(const ui::ShownMenu& menu) override { return m_script.ChooseMenuItem(menu); }

    std::vector<std::wstring> failures;

private:
    ui::ScriptedUser& m_script;
};

// The answers and the dialogs' scripts are given to the scripted user first,
// in their order (it uses them as boxes and dialogs appear); then the page's
// own actions are performed.
void Run(HWND page, const std::vector<UserAction>& actions, ui::ScriptedUser& user)
{
    std::vector<UserAction> onPage;
    for (std::size_t i = 0; i < actions.size(); ++i) {
        const UserAction& action = actions[i];
        if (action.verb == "answer") {
            user.Answer(action.answer);
        } else if (action.verb == "dialog") {
            std::vector<UserAction> inside;
            while (++i < actions.size() && actions[i].verb != "end") inside.push_back(actions[i]);
            const UINT expected = static_cast<UINT>(action.id);
            user.InDialog([inside, expected](HWND dialog) {
                const auto* opened = dynamic_cast<CDialog*>(CWnd::FromHandle(dialog));
                if (opened && opened->GetTemplateId() != expected)
                    throw ui::ActionRefused("the dialog that opened is " + std::to_string(opened->GetTemplateId()) +
                                            ", not " + std::to_string(expected));
                for (const auto& step : inside) Perform(dialog, step);
            });
        } else if (action.verb != "end") {
            onPage.push_back(action);
        }
    }
    for (const auto& action : onPage) Perform(page, action);
}

}  // namespace

std::vector<UserAction> ParseActions(const std::vector<std::string>& actions)
{
    std::vector<UserAction> parsed;
    for (const auto& text : actions) {
        const auto bad = [&](const char* why) {
            Refuse(ZRSTD::FormatW(L"the action \"%hs\" %hs (actions: type:ID=TEXT, clear:ID, click:ID, check:ID[=ROW], "
                                  L"uncheck:ID[=ROW], select:ID=TEXT, answer:yes|no|ok|cancel, dialog:ID ... end)",
                                  text, why));
        };
        UserAction action;
        if (text == "end") {
            action.verb = "end";
            parsed.push_back(action);
            continue;
        }
        const auto colon = text.find(':');
        if (colon == std::string::npos) bad("has no verb");
        action.verb = text.substr(0, colon);
        std::string rest = text.substr(colon + 1);
        if (action.verb == "answer") {
            action.answer = AnswerOf(rest);
            if (!action.answer) bad("answers neither yes, no, ok nor cancel");
            parsed.push_back(action);
            continue;
        }
        const bool takesText = action.verb == "type" || action.verb == "select";
        if (!takesText && action.verb != "clear" && action.verb != "click" && action.verb != "check" &&
            action.verb != "uncheck" && action.verb != "dialog")
            bad("has an unknown verb");
        std::string idText = rest;
        const auto equals = rest.find('=');
        const bool mayTakeRow = action.verb == "check" || action.verb == "uncheck";
        if (takesText && equals == std::string::npos) bad("needs =TEXT");
        if (!takesText && !mayTakeRow && equals != std::string::npos) bad("takes no =TEXT");
        if (equals != std::string::npos) {
            idText = rest.substr(0, equals);
            action.text = FromUtf8(rest.substr(equals + 1));
            action.hasText = true;
        }
        const auto id = Number(idText);
        if (!id) bad("does not name a control id");
        action.id = *id;
        parsed.push_back(action);
    }
    return parsed;
}

int ShowPage(Session& session, const std::string& object, const std::string& page, Format format)
{
    ui::ClearInteractionRecord();
    OpenPage open = Open(session, object, page);
    // what the page told the administrator as it opened (settings it could not read)
    for (const auto& box : ui::ShownBoxes()) std::cerr << "ngt-console: the page says: " << ToUtf8(box.text) << "\n";
    if (format == Format::Text) std::cout << object << ": " << open.title << " (" << open.pageClass << ")\n";
    std::cout << Describe(ui::DescribeControls(open.window), format);
    return 0;
}

int EditPage(Session& session, const std::string& object, const std::string& page,
             const std::vector<std::string>& actionTexts)
{
    const auto actions = ParseActions(actionTexts);
    ui::ClearInteractionRecord();  // what the page says as it opens is printed with the rest
    OpenPage open = Open(session, object, page);
    ui::ScriptedUser user;
    ui::SetInteractionDriver(&user);
    struct Restore {
        ~Restore() { ui::SetInteractionDriver(nullptr); }
    } restore;

    int exitCode = 0;
    std::vector<std::wstring> applyFailures;
    try {
        Run(open.window, actions, user);
        if (!open.sheet->ValidateAll()) {
            std::cerr << "ngt-console: the page refused the values; nothing was written\n";
            exitCode = 1;
        } else {
            ApplyingUser applying(user);
            ui::SetInteractionDriver(&applying);
            struct Back {
                ui::ScriptedUser& user;
                ~Back() { ui::SetInteractionDriver(&user); }
            } back{user};
            const auto result = open.sheet->ApplyAll();
            if (result.outcome == host::PageHost::Outcome::Failed) {
                // the page's own words say why; the page's error only says that it failed
                applyFailures = applying.failures;
                const std::wstring reason = applyFailures.empty() ? result.error : applyFailures.front();
                std::cerr << "ngt-console: applying " << open.title << " of " << object << " failed: " << ToUtf8(reason)
                          << "\n";
                exitCode = 1;
            } else {
                open.dataSource->SaveParams();
            }
        }
    } catch (const ui::ActionRefused& refused) {
        std::cerr << "ngt-console: " << refused.what() << "; nothing was written\n";
        exitCode = 1;
    } catch (const ui::UnscriptedInteraction& unscripted) {
        std::cerr << "ngt-console: " << unscripted.what()
                  << ": say what the user answers (answer:yes|no|ok|cancel, dialog:ID ... end); nothing was written\n";
        exitCode = 1;
    }
    for (const auto& box : ui::ShownBoxes()) {
        if (std::find(applyFailures.begin(), applyFailures.end(), box.text) != applyFailures.end()) continue;
        std::cout << "message box \"" << ToUtf8(box.caption) << "\": " << ToUtf8(box.text) << "\n";
    }
    if (exitCode == 0) std::cout << "applied " << open.title << " of " << object << "\n";
    return exitCode;
}

namespace {

void PrintTree(const ZRPAR::Params& params, int depth)
{
    const std::string indent(static_cast<std::size_t>(depth) * 2, ' ');
    for (std::size_t i = 0; i < params.GetSize(); ++i) {
        const ZRPAR::Value* value = params.ValueAt(i);
        const std::string name = ToUtf8(params.NameAt(i));
        switch (value->GetType()) {
        case ZRPAR::VT_PARAMS:
            std::cout << indent << name << "\n";
            PrintTree(*static_cast<const ZRPAR::ParamsValue*>(value)->GetValue(), depth + 1);
            break;
        case ZRPAR::VT_STRING:
            std::cout << indent << name << ": " << ToUtf8(static_cast<const ZRPAR::StringValue*>(value)->GetValue()) << "\n";
            break;
        case ZRPAR::VT_BOOL:
            std::cout << indent << name << ": " << (static_cast<const ZRPAR::BoolValue*>(value)->GetValue() ? "Да" : "Нет")
                      << "\n";
            break;
        case ZRPAR::VT_INT:
            std::cout << indent << name << ": " << static_cast<const ZRPAR::IntValue*>(value)->GetValue() << "\n";
            break;
        default: {
            auto single = ZRPAR::CreateParams();
            single->AddValue(params.NameAt(i), const_cast<ZRPAR::Value*>(value));
            std::string text = ZRPAR::RenderText(*single);
            std::cout << indent << text;
            break;
        }
        }
    }
}

}  // namespace

int ExportObject(Session& session, const std::string& object, Format format)
{
    auto dataSource = session.DataSource(ZRSTD::FromUtf8(object));
    auto exporter = session.Plugin().Query<ZRPlugin::ISettingsExporter>();
    if (!exporter) Refuse(L"the plug-in gives no settings exporter");
    auto result = ZRPAR::CreateParams();
    exporter->ExportSettings(dataSource->PluginObjectKind(), dataSource.get(), dataSource->TaskType().c_str(),
                             result.Get(), 0);
    if (format == Format::Json) {
        std::cout << ZRPAR::RenderJson(*result) << "\n";
        return 0;
    }
    if (result->GetSize() == 0) std::cout << object << ": nothing to export\n";
    PrintTree(*result, 0);
    // say which pages this build cannot export yet
    auto configurator = session.Configure(*dataSource, false);
    host::PageHost sheet;
    std::vector<std::string> missing;
    for (std::int32_t index = 0; index < configurator->GetPageCount(); ++index) {
        try {
            ZRSTD::CAutoPtr<ZRPlugin::IZRConfiguratorPage2> page;
            configurator->CreatePage(&page, sheet.Sheet(), index);
        } catch (const ZRERR::Error&) {
            missing.push_back(ToUtf8(configurator->GetPageTitle(index)));
        }
    }
    if (!missing.empty()) {
        std::cout << "(not in this build, so not exported:";
        for (std::size_t i = 0; i < missing.size(); ++i) std::cout << (i ? ", " : " ") << missing[i];
        std::cout << ")\n";
    }
    return 0;
}

}  // namespace ngt
