#include "host/web/Views.h"

#include <functional>

#include "host/web/Html.h"
#include "zrpar/Render.h"
#include "zrstd/Strings.h"

namespace host::web {

namespace {

using ZRSTD::ToUtf8;

std::string Hidden(const std::string& name, const std::string& value)
{
    return "<input type=\"hidden\" name=\"" + name + "\" value=\"" + Escape(value) + "\">";
}

std::string Csrf(const std::string& csrf) { return Hidden("csrf", csrf); }

std::string ObjectLink(const std::wstring& object, const std::string& path)
{
    return path + "?object=" + UrlEncode(ToUtf8(object));
}

const char* KindTitle(const std::wstring& kind)
{
    if (kind == L"policy") return "Policies";
    if (kind == L"host") return "Computers";
    if (kind == L"task") return "Tasks";
    if (kind == L"package") return "Installer packages";
    if (kind == L"dpoint") return "Distribution points";
    if (kind == L"bootserver") return "Boot-server connections";
    return "Other objects";
}

// Box buttons in the words of the system's own boxes.
const char* ButtonText(int button)
{
    switch (button) {
    case 1: return "ОК";
    case 2: return "Отмена";
    case 3: return "Прервать";
    case 4: return "Повторить";
    case 5: return "Пропустить";
    case 6: return "Да";
    case 7: return "Нет";
    default: return "?";
    }
}

std::vector<int> Buttons(unsigned style)
{
    switch (style & 0xF) {
    case 0x1: return {1, 2};
    case 0x2: return {3, 4, 5};
    case 0x3: return {6, 7, 2};
    case 0x4: return {6, 7};
    case 0x5: return {4, 2};
    default: return {1};
    }
}

const char* IconClass(unsigned style)
{
    switch (style & 0xF0) {
    case 0x10: return "icon-error";
    case 0x20: return "icon-question";
    case 0x30: return "icon-warning";
    case 0x40: return "icon-information";
    default: return "icon-none";
    }
}

void RenderGroup(const PageGroup& group, const SheetModel& sheet, std::string& html, bool top)
{
    const auto pageButton = [&](int index, const std::wstring& label) {
        const bool current = index == sheet.selected;
        return "<li><form method=\"post\" action=\"/sheet/page\" class=\"act\">" + Csrf(sheet.csrf) +
               Hidden("page", std::to_string(index)) + "<button type=\"submit\" class=\"page-link" +
               (current ? " current\" aria-current=\"page\"" : "\"") + (sheet.modal ? " disabled" : "") + ">" +
               Escape(label) + "</button></form></li>";
    };
    // a group without a name holds its pages at the level it stands on
    const bool folder = !top && !group.name.empty();
    if (folder) html += "<li><details open><summary>" + Escape(group.name) + "</summary><ul>";
    if (group.page && *group.page < static_cast<int>(sheet.titles.size()))
        html += pageButton(*group.page, sheet.titles[static_cast<std::size_t>(*group.page)]);
    for (const PageGroup& inner : group.groups) RenderGroup(inner, sheet, html, false);
    for (int index : group.pages)
        if (index < static_cast<int>(sheet.titles.size())) html += pageButton(index, sheet.titles[static_cast<std::size_t>(index)]);
    if (folder) html += "</ul></details></li>";
}

std::string ScalarText(const ZRPAR::Params& params, std::size_t i)
{
    const ZRPAR::Value* value = params.ValueAt(i);
    switch (value->GetType()) {
    case ZRPAR::VT_STRING: return ToUtf8(static_cast<const ZRPAR::StringValue*>(value)->GetValue());
    case ZRPAR::VT_BOOL: return static_cast<const ZRPAR::BoolValue*>(value)->GetValue() ? "Да" : "Нет";
    case ZRPAR::VT_INT: return std::to_string(static_cast<const ZRPAR::IntValue*>(value)->GetValue());
    default: {
        auto single = ZRPAR::CreateParams();
        single->AddValue(params.NameAt(i), const_cast<ZRPAR::Value*>(value));
        std::string text = ZRPAR::RenderText(*single);
        const auto colon = text.find(": ");
        if (colon != std::string::npos) text = text.substr(colon + 2);
        while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
        return text;
    }
    }
}

void ExportTree(const ZRPAR::Params& params, std::string& html)
{
    html += "<ul class=\"tree\">";
    for (std::size_t i = 0; i < params.GetSize(); ++i) {
        const ZRPAR::Value* value = params.ValueAt(i);
        if (value->GetType() == ZRPAR::VT_PARAMS) {
            html += "<li><details open><summary>" + Escape(params.NameAt(i)) + "</summary>";
            ExportTree(*static_cast<const ZRPAR::ParamsValue*>(value)->GetValue(), html);
            html += "</details></li>";
        } else {
            html += "<li class=\"leaf\"><span class=\"name\">" + Escape(params.NameAt(i)) +
                    "</span> <span class=\"value\">" + Escape(ScalarText(params, i)) + "</span></li>";
        }
    }
    html += "</ul>";
}

void ExportLines(const ZRPAR::Params& params, int depth, std::string& text)
{
    const std::string indent(static_cast<std::size_t>(depth) * 2, ' ');
    for (std::size_t i = 0; i < params.GetSize(); ++i) {
        const ZRPAR::Value* value = params.ValueAt(i);
        if (value->GetType() == ZRPAR::VT_PARAMS) {
            text += indent + ToUtf8(params.NameAt(i)) + "\n";
            ExportLines(*static_cast<const ZRPAR::ParamsValue*>(value)->GetValue(), depth + 1, text);
        } else {
            text += indent + ToUtf8(params.NameAt(i)) + ": " + ScalarText(params, i) + "\n";
        }
    }
}

std::string Shown(const nlohmann::json& value)
{
    if (value.is_null()) return "(none)";
    return value.is_string() ? value.get<std::string>() : value.dump();
}

std::string ObjectOptions(const std::vector<std::wstring>& objects, const std::wstring& chosen)
{
    std::string html;
    for (const auto& object : objects)
        html += "<option" + std::string(object == chosen ? " selected" : "") + ">" + Escape(object) + "</option>";
    return html;
}

}  // namespace

std::string Document(const std::string& title, const std::string& body, const std::vector<NoticeView>& notices,
                     const std::string& bodyClass)
{
    std::string html = "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
                       "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"
                       "<title>" + Escape(title) + " — ngt-console</title>"
                       "<link rel=\"stylesheet\" href=\"/static/console.css\">"
                       "<script src=\"/static/console.js\" defer></script></head><body";
    if (!bodyClass.empty()) html += " class=\"" + bodyClass + "\"";
    html += "><header class=\"topbar\"><a class=\"brand\" href=\"/\">Network agent settings</a><nav>"
            "<a href=\"/\">Objects</a><a href=\"/compare\">Compare</a><a href=\"/events\">Events</a></nav></header>";
    if (!notices.empty()) {
        html += "<div class=\"notices\" role=\"status\">";
        for (const auto& notice : notices)
            html += std::string("<p class=\"notice") + (notice.error ? " error" : "") + "\">" + Escape(notice.text) + "</p>";
        html += "</div>";
    }
    return html + body + "</body></html>\n";
}

std::string ObjectsBody(const std::vector<ObjectRow>& objects, const std::vector<std::wstring>& taskTypes,
                        const std::string& csrf, const std::string& storePath)
{
    std::string html = "<main class=\"objects\"><h1>Objects</h1><p class=\"store\">Store: <code>" + Escape(storePath) +
                       "</code></p>";
    static const wchar_t* const kKinds[] = {L"policy", L"host", L"task", L"package", L"dpoint", L"bootserver"};
    std::vector<std::wstring> policies;
    for (const auto& row : objects)
        if (row.kind == L"policy") policies.push_back(row.name);
    for (const wchar_t* kind : kKinds) {
        std::vector<const ObjectRow*> rows;
        for (const auto& row : objects)
            if (row.kind == kind) rows.push_back(&row);
        html += "<section class=\"kind\"><h2>" + std::string(KindTitle(kind)) + "</h2>";
        if (rows.empty()) {
            html += "<p class=\"empty\">None.</p></section>";
            continue;
        }
        const bool governed = std::wstring(kind) == L"host" || std::wstring(kind) == L"dpoint" || std::wstring(kind) == L"task";
        html += "<table class=\"list\"><thead><tr><th>Name</th>";
        if (governed) html += "<th>Policy</th>";
        if (std::wstring(kind) == L"task") html += "<th>Type</th>";
        html += "<th class=\"actions\">Actions</th></tr></thead><tbody>";
        for (const ObjectRow* row : rows) {
            html += "<tr><td><form method=\"post\" action=\"/sheet/open\" class=\"inline\">" + Csrf(csrf) +
                    Hidden("object", ToUtf8(row->object)) + "<button type=\"submit\" class=\"link open\">" +
                    Escape(row->name) + "</button></form></td>";
            if (governed) html += "<td>" + (row->policy.empty() ? std::string("—") : Escape(row->policy)) + "</td>";
            if (std::wstring(kind) == L"task") html += "<td>" + Escape(row->taskType) + "</td>";
            html += "<td class=\"actions\"><a href=\"" + ObjectLink(row->object, "/export") + "\">Export</a>";
            if (std::wstring(kind) == L"host" && !row->policy.empty())
                html += "<a href=\"/compare?a=" + UrlEncode(ToUtf8(row->object)) + "&amp;b=" +
                        UrlEncode("policy:" + ToUtf8(row->policy)) + "\">Compare with policy</a>";
            html += "<form method=\"post\" action=\"/objects/delete\" class=\"inline delete\">" + Csrf(csrf) +
                    Hidden("object", ToUtf8(row->object));
            if (std::wstring(kind) == L"policy")
                html += "<label class=\"force\"><input type=\"checkbox\" name=\"force\" value=\"1\"> detach governed</label>";
            html += "<button type=\"submit\" class=\"danger\">Delete</button></form></td></tr>";
        }
        html += "</tbody></table></section>";
    }
    // creating an object: its kind, name, and what governs it
    html += "<section class=\"create\"><h2>New object</h2><form method=\"post\" action=\"/objects/new\" class=\"create-form\">" +
            Csrf(csrf) + "<label>Kind <select name=\"kind\">";
    static const char* const kKindNames[][2] = {{"policy", "policy"},          {"host", "computer"},
                                               {"task", "task"},              {"package", "installer package"},
                                               {"dpoint", "distribution point"}, {"bootserver", "boot-server connection"}};
    for (const auto& kind : kKindNames) html += "<option value=\"" + std::string(kind[0]) + "\">" + kind[1] + "</option>";
    html += "</select></label><label>Name <input type=\"text\" name=\"name\" required maxlength=\"200\"></label>"
            "<label>Policy <select name=\"policy\"><option value=\"\">(none)</option>";
    for (const auto& policy : policies) html += "<option>" + Escape(policy) + "</option>";
    html += "</select></label><label>Task type <select name=\"type\"><option value=\"\">(not a task)</option>";
    for (const auto& type : taskTypes) html += "<option>" + Escape(type) + "</option>";
    html += "</select></label><button type=\"submit\" class=\"primary\">Create</button></form></section></main>";
    return html;
}

std::string SheetBody(const SheetModel& sheet)
{
    std::string html = "<main class=\"sheet\">";
    if (sheet.pageCount > 0) {
        html += std::string("<div class=\"sheet-frame\"") + (sheet.modal ? " inert" : "") + ">";
        html += "<div class=\"sheet-head\"><h1>" + Escape(sheet.object) + "</h1>";
        if (!sheet.policy.empty()) html += "<p class=\"governed\">Governed by the policy «" + Escape(sheet.policy) + "»</p>";
        html += "</div><div class=\"sheet-body\"><nav class=\"pages\" aria-label=\"Pages\">";
        if (sheet.wizard) {
            html += "<ol class=\"wizard-steps\">";
            for (int i = 0; i < sheet.pageCount; ++i)
                html += std::string("<li") + (i == sheet.selected ? " class=\"current\"" : "") + ">" +
                        Escape(sheet.titles[static_cast<std::size_t>(i)]) + "</li>";
            html += "</ol>";
        } else if (sheet.groups) {
            html += "<ul class=\"groups\">";
            RenderGroup(*sheet.groups, sheet, html, true);
            html += "</ul>";
        }
        html += "</nav><section class=\"page\">";
        if (sheet.selected >= 0)
            html += "<h2 class=\"page-title\">" + Escape(sheet.titles[static_cast<std::size_t>(sheet.selected)]) + "</h2>";
        html += "<div class=\"page-area\">" + sheet.pageHtml + "</div>";
        html += "<form method=\"post\" action=\"/sheet/button\" class=\"act buttons\">" + Csrf(sheet.csrf);
        const std::string off = sheet.modal ? " disabled" : "";
        if (sheet.wizard) {
            html += "<button type=\"submit\" name=\"button\" value=\"back\"" +
                    std::string(sheet.selected <= 0 ? " disabled" : off) + ">&lt; Назад</button>";
            if (sheet.selected + 1 < sheet.pageCount)
                html += "<button type=\"submit\" name=\"button\" value=\"next\" class=\"primary\"" + off + ">Далее &gt;</button>";
            else
                html += "<button type=\"submit\" name=\"button\" value=\"finish\" class=\"primary\"" + off + ">Готово</button>";
            html += "<button type=\"submit\" name=\"button\" value=\"cancel\"" + off + ">Отмена</button>";
        } else {
            html += "<button type=\"submit\" name=\"button\" value=\"ok\" class=\"primary\"" + off + ">OK</button>"
                    "<button type=\"submit\" name=\"button\" value=\"cancel\"" + off + ">Отмена</button>"
                    "<button type=\"submit\" name=\"button\" value=\"apply\"" +
                    std::string(sheet.applyEnabled ? off : " disabled") + ">Применить</button>";
        }
        html += "</form></section></div></div>";
    }
    if (!sheet.layoutHref.empty()) html += "<link rel=\"stylesheet\" href=\"" + Escape(sheet.layoutHref) + "\">";
    return html + sheet.modalsHtml + "</main>";
}

std::string BoxHtml(const std::wstring& caption, const std::wstring& text, unsigned style, const std::string& csrf,
                    bool interactive)
{
    std::string html = std::string("<div class=\"backdrop\"><div class=\"box\" role=\"alertdialog\" aria-modal=\"true\"") +
                       (interactive ? "" : " inert") + "><div class=\"caption\">" + Escape(caption) +
                       "</div><div class=\"box-body\"><span class=\"icon " + IconClass(style) +
                       "\" aria-hidden=\"true\"></span><p class=\"box-text\">" + Escape(text) +
                       "</p></div><form method=\"post\" action=\"/sheet/answer\" class=\"act box-buttons\">" + Csrf(csrf) +
                       Hidden("kind", "box");
    bool first = true;
    for (int button : Buttons(style)) {
        html += "<button type=\"submit\" name=\"button\" value=\"" + std::to_string(button) + "\"" +
                (first ? " autofocus class=\"primary\"" : "") + ">" + ButtonText(button) + "</button>";
        first = false;
    }
    return html + "</form></div></div>";
}

std::string DialogHtml(const std::wstring& caption, const std::string& windowHtml, const std::string& scope, bool ended)
{
    std::string html = "<div class=\"backdrop\"><div class=\"dialog\" role=\"dialog\" aria-modal=\"true\" id=\"" + scope +
                       "dialog\"><div class=\"caption\">" + Escape(caption) + "</div>";
    if (ended)
        html += "<p class=\"waiting\">This dialog is closed. Its page goes on when the window another administrator has "
                "open in this console is closed. <a href=\"/sheet\">Look again</a></p>";
    else
        html += "<div class=\"dialog-area\">" + windowHtml + "</div>";
    return html + "</div></div>";
}

std::string MenuHtml(const std::vector<MenuItemView>& items, const std::string& csrf, bool interactive)
{
    std::string html = std::string("<div class=\"backdrop\"><div class=\"menu\" role=\"menu\"") + (interactive ? "" : " inert") +
                       "><form method=\"post\" action=\"/sheet/answer\" class=\"act\">" + Csrf(csrf) + Hidden("kind", "menu");
    bool first = true;
    for (const auto& item : items) {
        if (item.separator) {
            html += "<hr>";
            continue;
        }
        std::wstring text;
        for (wchar_t c : item.text)
            if (c != L'&') text += c;
        html += "<button type=\"submit\" role=\"menuitem\" name=\"command\" value=\"" + std::to_string(item.id) + "\"" +
                (item.enabled ? "" : " disabled") + (first && item.enabled ? " autofocus" : "") + ">" +
                (item.checked ? "✓ " : "") + Escape(text) + "</button>";
        first = first && !item.enabled;
    }
    return html + "<button type=\"submit\" name=\"command\" value=\"0\" class=\"dismiss\">Close the menu</button></form></div></div>";
}

std::string PickerHtml(const std::wstring& service, const std::wstring& title, const std::string& csrf, bool interactive)
{
    const std::string what = service == L"folder" ? "folder" : "file";
    return std::string("<div class=\"backdrop\"><div class=\"dialog picker\" role=\"dialog\" aria-modal=\"true\"") +
           (interactive ? "" : " inert") + "><div class=\"caption\">" + Escape(title.empty() ? std::wstring(L"Choose") : title) +
           "</div><form method=\"post\" action=\"/sheet/answer\" class=\"act picker-form\">" + Csrf(csrf) +
           Hidden("kind", "picker") + "<label>The " + what + " on the console's computer <input type=\"text\" name=\"path\" " +
           "autofocus required></label><div class=\"box-buttons\"><button type=\"submit\" class=\"primary\">ОК</button>" +
           "<button type=\"submit\" name=\"cancel\" value=\"1\" formnovalidate>Отмена</button></div></form></div></div>";
}

std::string ExportBody(const std::wstring& object, const ZRPAR::Params& tree)
{
    std::string html = "<main class=\"export\"><h1>Export of " + Escape(object) + "</h1><p class=\"downloads\">Download: " +
                       "<a href=\"" + ObjectLink(object, "/export.txt") + "\" download>text</a> " + "<a href=\"" +
                       ObjectLink(object, "/export.json") + "\" download>JSON</a></p>";
    if (tree.GetSize() == 0) html += "<p class=\"empty\">Nothing to export.</p>";
    else ExportTree(tree, html);
    return html + "</main>";
}

std::string ExportText(const ZRPAR::Params& tree)
{
    std::string text;
    ExportLines(tree, 0, text);
    return text;
}

std::string EventsBody(const std::vector<EventRow>& events)
{
    static const char* const kSeverity[] = {"", "information", "warning", "error"};
    std::string html = "<main class=\"events\"><h1>Events the agent publishes</h1><table class=\"list\"><thead><tr>"
                       "<th>Severity</th><th>Event</th><th>Name</th></tr></thead><tbody>";
    for (const auto& event : events)
        html += "<tr><td class=\"severity s" + std::to_string(event.severity) + "\">" +
                (event.severity >= 1 && event.severity <= 3 ? kSeverity[event.severity] : "?") + "</td><td><code>" +
                Escape(event.id) + "</code></td><td lang=\"ru\">" + Escape(event.name) + "</td></tr>";
    return html + "</tbody></table></main>";
}

std::string CompareBody(const std::vector<std::wstring>& objects, const std::wstring& first, const std::wstring& second,
                        const std::vector<SettingDifference>* differences, const std::string& compared)
{
    std::string html = "<main class=\"compare\"><h1>Compare</h1><form method=\"get\" action=\"/compare\" class=\"compare-form\">"
                       "<label>First <select name=\"a\">" + ObjectOptions(objects, first) +
                       "</select></label><label>Second <select name=\"b\">" + ObjectOptions(objects, second) +
                       "</select></label><button type=\"submit\" class=\"primary\">Compare</button></form>";
    if (differences) {
        html += "<p class=\"summary\">" +
                (differences->empty() ? std::string("No differences") : std::to_string(differences->size()) + " differences") +
                " between " + Escape(first) + " and " + Escape(second) + " (" + compared + ").</p>";
        if (!differences->empty()) {
            html += "<table class=\"list diff\"><thead><tr><th>Setting</th><th>" + Escape(first) + "</th><th>" + Escape(second) +
                    "</th></tr></thead><tbody>";
            for (const auto& d : *differences) {
                const char* kind = d.kind == SettingDifference::Kind::Changed ? "changed"
                                   : d.kind == SettingDifference::Kind::OnlyInFirst ? "only-first"
                                                                                    : "only-second";
                html += std::string("<tr class=\"") + kind + (d.isLock ? " lock" : "") + "\"><td lang=\"ru\">" +
                        Escape(JoinPath(d.path)) + "</td><td>" + Escape(Shown(d.first)) + "</td><td>" +
                        Escape(Shown(d.second)) + "</td></tr>";
            }
            html += "</tbody></table>";
        }
    }
    return html + "</main>";
}

}  // namespace host::web
