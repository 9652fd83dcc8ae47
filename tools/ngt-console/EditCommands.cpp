#include "EditCommands.h"

#include <charconv>
#include <optional>
#include <sstream>

#include "host/console/ControlView.h"
#include "host/console/SettingChanges.h"
#include "host/console/UserScript.h"
#include "host/pagehost/PageHost.h"
#include "ui/ControlTable.h"
#include "ui/Interaction.h"
#include "ui/UserActions.h"
#include "ui/Window.h"
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
    std::int32_t index = 0;
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

std::string WithoutMarks(const std::wstring& text)
{
    std::wstring plain;
    for (wchar_t c : text)
        if (c != L'&') plain += c;
    return ToUtf8(plain);
}

std::string ClassOf(HWND window)
{
    const void* name = ::GetPropW(window, ZRPlugin::kPageClassProperty);
    return name ? ToUtf8(static_cast<const wchar_t*>(name)) : "";
}

// The page a person names: its index, its class, or its title (any case, in
// full or in part); refused with the candidates when it is none or several.
std::int32_t ResolvePage(OpenPage& open, const std::string& object, const std::string& page)
{
    const std::int32_t count = open.configurator->GetPageCount();
    if (const auto index = Number(page)) {
        if (*index < 0 || *index >= count)
            Refuse(ZRSTD::FormatW(L"%hs has no page %d (its pages are 0 to %d; ngt-console pages %hs lists them)",
                                  object, *index, count - 1, object));
        return *index;
    }
    std::vector<std::string> titles, classes;
    for (std::int32_t i = 0; i < count; ++i) {
        titles.push_back(WithoutMarks(open.configurator->GetPageTitle(i)));
        ZRSTD::CAutoPtr<ZRPlugin::IZRConfiguratorPage2> created;
        try {
            open.configurator->CreatePage(&created, open.sheet->Sheet(), i);
        } catch (const ZRERR::Error&) {
        }
        classes.push_back(created ? ClassOf(created->GetWindow()) : "");
        if (created && IsWindow(created->GetWindow())) DestroyWindow(created->GetWindow());
        if (classes.back() == page) return i;
    }
    const std::string wanted = ToUtf8(ZRSTD::ToLower(FromUtf8(page)));
    std::vector<std::int32_t> whole, part;
    for (std::int32_t i = 0; i < count; ++i) {
        const std::string title = ToUtf8(ZRSTD::ToLower(FromUtf8(titles[i])));
        if (title == wanted) whole.push_back(i);
        else if (title.find(wanted) != std::string::npos) part.push_back(i);
    }
    const auto& found = whole.empty() ? part : whole;
    if (found.size() == 1) return found[0];
    std::string candidates;
    for (std::int32_t i : found.empty() ? std::vector<std::int32_t>{} : found)
        candidates += "\n  " + std::to_string(i) + "  " + titles[i] + " (" + classes[i] + ")";
    if (found.empty()) {
        for (std::int32_t i = 0; i < count; ++i)
            candidates += "\n  " + std::to_string(i) + "  " + titles[i] + (classes[i].empty() ? "" : " (" + classes[i] + ")");
        Refuse(FromUtf8(object + " has no page \"" + page + "\"; its pages:" + candidates));
    }
    Refuse(FromUtf8("\"" + page + "\" names several pages of " + object + "; say which by index or class:" + candidates));
}

OpenPage Open(Session& session, const std::string& object, const std::string& page, bool wizard)
{
    OpenPage open;
    open.dataSource = session.DataSource(FromUtf8(object));
    open.configurator = session.Configure(*open.dataSource, wizard);
    open.sheet = std::make_unique<host::PageHost>();
    open.index = ResolvePage(open, object, page);
    ZRSTD::CAutoPtr<ZRPlugin::IZRConfiguratorPage2> created;
    try {
        open.configurator->CreatePage(&created, open.sheet->Sheet(), open.index);
    } catch (const ZRERR::Error& error) {
        Refuse(ZRSTD::FormatW(L"page %d of %hs is not available in this build (%s)", open.index, object, error.GetMessage()));
    }
    if (!created) Refuse(ZRSTD::FormatW(L"page %d of %hs could not be made", open.index, object));
    open.window = open.sheet->Embed(created.Get());
    open.title = WithoutMarks(open.configurator->GetPageTitle(open.index));
    open.pageClass = ClassOf(open.window);
    return open;
}

// Everything the object stores under the agent's product, for telling what an edit changed.
ZRSTD::CAutoPtr<ZRPAR::Params> ReadAll(Session& session, const std::string& object)
{
    ZRSTD::CAutoPtr<ZRPAR::Params> everything;
    session.Store().ObjectStorage(FromUtf8(object))->Read(L"1103", L"", L"", &everything);
    return everything;
}

std::vector<std::string> BoxTexts()
{
    std::vector<std::string> texts;
    for (const auto& box : ui::ShownBoxes()) texts.push_back(ToUtf8(box.text));
    return texts;
}

std::string OneLine(std::string text)
{
    for (std::size_t at; (at = text.find('\n')) != std::string::npos;) text.replace(at, 1, "; ");
    return text;
}

nlohmann::json PageJson(const OpenPage& open, const std::string& object)
{
    return {{"object", object}, {"page", open.index}, {"title", open.title}, {"class", open.pageClass}};
}

}  // namespace

int ShowPage(Session& session, const std::string& object, const std::string& page,
             const std::vector<std::string>& actions, Format format, bool wizard)
{
    const auto steps = host::ParseScript(actions, /*openDialogAtEnd=*/true);
    ui::ClearInteractionRecord();
    OpenPage open = Open(session, object, page, wizard);
    for (const auto& text : BoxTexts()) Note("the page says: " + OneLine(text));
    host::ScriptRunner runner(/*lookAtDialogs=*/true, session.GoverningPolicy(FromUtf8(object)));
    ui::ClearInteractionRecord();
    try {
        runner.Run(open.window, steps);
    } catch (const ui::ActionRefused& refused) {
        Refuse(FromUtf8(refused.what()));
    } catch (const ui::UnscriptedInteraction& unscripted) {
        Refuse(FromUtf8(unscripted.what()));
    }
    for (const auto& text : BoxTexts()) Note("message box: " + OneLine(text));
    const auto controls = host::ViewControls(open.window);
    if (format == Format::Json) {
        nlohmann::json shown = PageJson(open, object);
        shown["controls"] = host::ToJson(controls);
        auto dialogs = nlohmann::json::array();
        for (const auto& dialog : runner.DialogsLookedAt())
            dialogs.push_back(
                {{"id", dialog.templateId}, {"caption", ToUtf8(dialog.caption)}, {"controls", host::ToJson(dialog.controls)}});
        shown["dialogs"] = dialogs;
        PrintJson(shown);
        return 0;
    }
    std::cout << object << ": page " << open.index << " " << open.title << " (" << open.pageClass << ")\n"
              << host::ToText(controls);
    for (const auto& dialog : runner.DialogsLookedAt())
        std::cout << "\ndialog " << dialog.templateId << " \"" << ToUtf8(dialog.caption)
                  << "\" (open; actions inside it go between dialog:" << dialog.templateId << " and end):\n"
                  << host::ToText(dialog.controls);
    return 0;
}

int EditPage(Session& session, const std::string& object, const std::string& page,
             const std::vector<std::string>& actions, Format format, bool wizard)
{
    const auto steps = host::ParseScript(actions);
    ui::ClearInteractionRecord();
    OpenPage open = Open(session, object, page, wizard);
    for (const auto& text : BoxTexts()) Note("the page says: " + OneLine(text));
    host::ScriptRunner runner(/*lookAtDialogs=*/false, session.GoverningPolicy(FromUtf8(object)));
    ui::ClearInteractionRecord();
    nlohmann::json result = PageJson(open, object);
    // the boxes the page showed, but for one a refusal quotes
    const auto noteBoxes = [&](std::size_t quoted) {
        const auto texts = BoxTexts();
        auto list = nlohmann::json::array();
        for (std::size_t i = 0; i < texts.size(); ++i) {
            list.push_back(texts[i]);
            if (i != quoted) Note("message box: " + OneLine(texts[i]));
        }
        result["messages"] = list;
    };
    std::size_t quotedBox = static_cast<std::size_t>(-1);
    const auto refuse = [&](const std::string& outcome, const std::string& reason, HWND control = nullptr) {
        noteBoxes(quotedBox);
        result["outcome"] = outcome;
        result["reason"] = reason;
        if (control) result["control"] = {{"id", GetDlgCtrlID(control)}, {"label", ToUtf8(ui::ControlLabel(control))}};
        if (format == Format::Json) PrintJson(result);
        // a failed apply says itself what became of the settings
        Note(outcome == "refused" ? reason + "; nothing was written" : reason);
        return 1;
    };
    try {
        runner.Run(open.window, steps);
    } catch (const ui::ActionRefused& refused) {
        return refuse("refused", refused.what());
    } catch (const ui::UnscriptedInteraction& unscripted) {
        return refuse("refused", unscripted.what());
    }
    const auto before = ReadAll(session, object);
    const std::size_t boxesBefore = ui::ShownBoxes().size();
    const auto outcome = open.sheet->PressOk();
    if (outcome.outcome == host::PageHost::Outcome::Refused) {
        std::string message = "OK refused";
        const auto& boxes = ui::ShownBoxes();
        if (boxes.size() > boxesBefore) {
            message += ": " + OneLine(ToUtf8(boxes.back().text));
            quotedBox = boxes.size() - 1;
        }
        const HWND focus = GetFocus();
        bool onPage = false;
        for (HWND up = focus; up && !onPage; up = GetParent(up)) onPage = up == open.window;
        onPage = onPage && focus != open.window;
        if (onPage) message += " (" + ui::NameForUser(focus) + ")";
        return refuse("refused", message, onPage ? focus : nullptr);
    }
    if (outcome.outcome == host::PageHost::Outcome::Failed) {
        std::string message = "applying the page failed";
        const auto& boxes = ui::ShownBoxes();
        message += ": " + OneLine(boxes.size() > boxesBefore ? ToUtf8(boxes.back().text) : ToUtf8(outcome.error));
        if (boxes.size() > boxesBefore) quotedBox = boxes.size() - 1;
        return refuse("failed", message);
    }
    open.dataSource->SaveParams();
    const auto after = ReadAll(session, object);
    const auto changes = host::SettingChanges(before.Get(), after.Get());
    for (const auto& unused : runner.UnusedAnswers()) Note("\"" + unused + "\" was not needed: nothing asked for it");
    noteBoxes(quotedBox);
    if (format == Format::Json) {
        result["outcome"] = "applied";
        auto list = nlohmann::json::array();
        for (const auto& change : changes)
            list.push_back({{"section", ToUtf8(change.section)}, {"setting", ToUtf8(change.setting)},
                            {"old", change.before}, {"new", change.after}});
        result["changes"] = list;
        PrintJson(result);
        return 0;
    }
    std::cout << "applied " << open.title << " of " << object << "\n";
    for (const auto& change : changes)
        std::cout << "  " << ToUtf8(change.section) << ": " << ToUtf8(change.setting) << ": "
                  << (change.before.is_null() ? "(none)" : change.before.dump()) << " -> "
                  << (change.after.is_null() ? "(removed)" : change.after.dump()) << "\n";
    if (changes.empty()) std::cout << "  (no stored value changed)\n";
    return 0;
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
            // the value's rendering, every line at this depth (an array of texts: one text a line)
            auto single = ZRPAR::CreateParams();
            single->AddValue(params.NameAt(i), const_cast<ZRPAR::Value*>(value));
            std::istringstream lines(ZRPAR::RenderText(*single));
            for (std::string line; std::getline(lines, line);) std::cout << indent << line << "\n";
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
        std::string pages;
        for (std::size_t i = 0; i < missing.size(); ++i) pages += (i ? ", " : "") + missing[i];
        Note("not in this build, so not exported: " + pages);
    }
    return 0;
}

}  // namespace ngt
