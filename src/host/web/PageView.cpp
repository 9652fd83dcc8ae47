#include "host/web/PageView.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "host/web/Html.h"
#include "ui/CommonControls.h"
#include "ui/ControlTable.h"
#include "ui/Graphics.h"
#include "ui/Window.h"
#include "zrplugin/IZRConfigurator.h"
#include "zrstd/Strings.h"

namespace host::web {

namespace {

using ZRSTD::ToUtf8;

// A label acts as a link when it is drawn underlined (the hyperlink control)
// or asks to be told of clicks.
bool IsLink(HWND control)
{
    if (GetClassName(control) != L"Static") return false;
    LOGFONTW font;
    const auto handle = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    if (handle && GetFontInfo(handle, font) && font.lfUnderline) return true;
    return (GetWindowLongW(control, GWL_STYLE) & SS_NOTIFY) != 0;
}

void ReadListColumns(HWND list, WebControl& control)
{
    const HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    const auto columns = header ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
    for (int column = 0; column < columns; ++column) {
        LVCOLUMNW info;
        SendMessageW(list, LVM_GETCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&info));
        control.columns.push_back(info.text);
    }
    const auto rows = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < rows; ++row) {
        std::vector<std::wstring> cells;
        for (int column = 0; column < std::max(columns, 1); ++column) {
            LVITEMW cell;
            cell.iItem = row;
            cell.iSubItem = column;
            SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
            cells.push_back(cell.text);
        }
        control.cells.push_back(std::move(cells));
    }
}

int Px(double units) { return static_cast<int>(std::lround(units * kScale)); }

// A lock's drop-down is drawn wider than its template place, so that its
// state reads in full; what a policy enforces is said beyond it.
constexpr int kLockWidth = 190, kBeside = 140, kWhyWidth = 200;

// Elements are named by the control's place among its siblings: labels often share one id.
std::string Id(const RenderOptions& options, const WebControl& control)
{
    return options.scope + "c" + std::to_string(control.index);
}

// A form that posts one user action on a control of the window.
std::string Form(const WindowView& window, const RenderOptions& options, const WebControl& control,
                 const std::string& verb, const std::string& inner, const std::string& classes,
                 const std::string& extraFields = "")
{
    return "<form class=\"act ctl " + classes + "\" id=\"" + Id(options, control) +
           "\" method=\"post\" action=\"/sheet/act\"><input type=\"hidden\" name=\"csrf\" value=\"" +
           Escape(options.csrf) + "\"><input type=\"hidden\" name=\"window\" value=\"" + Escape(window.key) +
           "\"><input type=\"hidden\" name=\"id\" value=\"" + std::to_string(control.view.state.id) +
           "\"><input type=\"hidden\" name=\"verb\" value=\"" + verb + "\">" + extraFields + inner + "</form>";
}

std::string Disabled(const WebControl& control, const RenderOptions& options)
{
    return control.view.state.enabled && options.interactive ? "" : " disabled";
}

std::string Title(const WebControl& control)
{
    std::wstring tip = control.view.state.tooltip;
    return tip.empty() ? "" : " title=\"" + Escape(tip) + "\"";
}

std::string Options(const std::vector<std::wstring>& items, const std::wstring& selected, bool lock)
{
    std::string html;
    bool chosen = false;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const bool isSelected = !chosen && items[i] == selected;
        chosen = chosen || isSelected;
        std::string text = Escape(items[i]);
        html += "<option value=\"#" + std::to_string(i + 1) + "\"" + (isSelected ? " selected" : "") + ">" + text +
                "</option>";
    }
    if (!chosen) html = "<option value=\"\" selected disabled></option>" + html;
    return html;
}

std::wstring SelectedItem(const ControlView& view)
{
    const std::wstring& state = view.state.state;
    return state.rfind(L"selected: ", 0) == 0 ? state.substr(10) : std::wstring();
}

std::string RenderListView(const WindowView& window, const RenderOptions& options, const WebControl& control)
{
    const ControlView& view = control.view;
    const std::string disabled = Disabled(control, options);
    std::string html = "<div class=\"ctl listview\" id=\"" + Id(options, control) + "\"" + Title(control) +
                       "><table><thead><tr>";
    if (view.hasCheckBoxes) html += "<th class=\"check\"></th>";
    for (const auto& column : control.columns) html += "<th>" + Escape(column) + "</th>";
    if (control.columns.empty()) html += "<th></th>";
    html += "</tr></thead><tbody>";
    for (std::size_t row = 0; row < control.cells.size(); ++row) {
        const std::string number = std::string(1, '#').append(std::to_string(row + 1));
        const bool selected = row < view.rows.size() && view.rows[row].selected;
        html += std::string("<tr") + (selected ? " class=\"selected\"" : "") + ">";
        const auto hiddenFields = [&](const std::string& verb) {
            return "<input type=\"hidden\" name=\"csrf\" value=\"" + Escape(options.csrf) +
                   "\"><input type=\"hidden\" name=\"window\" value=\"" + Escape(window.key) +
                   "\"><input type=\"hidden\" name=\"id\" value=\"" + std::to_string(view.state.id) +
                   "\"><input type=\"hidden\" name=\"verb\" value=\"" + verb +
                   "\"><input type=\"hidden\" name=\"text\" value=\"" + number + "\">";
        };
        if (view.hasCheckBoxes) {
            const bool checked = row < view.rows.size() && view.rows[row].checked;
            html += "<td class=\"check\"><form class=\"act\" method=\"post\" action=\"/sheet/act\">" +
                    hiddenFields("check") + "<input type=\"checkbox\" class=\"row-check\" aria-label=\"" +
                    Escape(control.cells[row].empty() ? std::wstring() : control.cells[row][0]) + "\"" +
                    (checked ? " checked" : "") + disabled + "></form></td>";
        }
        for (std::size_t cell = 0; cell < control.cells[row].size(); ++cell) {
            if (cell == 0) {
                html += "<td><form class=\"act\" method=\"post\" action=\"/sheet/act\">" + hiddenFields("select") +
                        "<button type=\"submit\" class=\"row\"" + disabled + ">" + Escape(control.cells[row][0]) +
                        "</button></form></td>";
            } else {
                html += "<td>" + Escape(control.cells[row][cell]) + "</td>";
            }
        }
        html += "</tr>";
    }
    return html + "</tbody></table></div>";
}

std::string RenderControl(const WindowView& window, const RenderOptions& options, const WebControl& control)
{
    const ControlView& view = control.view;
    const ui::ControlState& state = view.state;
    const std::string id = Id(options, control);
    const std::string disabled = Disabled(control, options);
    const std::string text = Escape(state.text);
    const std::string title = Title(control);
    const std::wstring& kind = state.kind;
    if (kind == L"group")
        return "<div class=\"ctl group\" id=\"" + id + "\"><span class=\"legend\">" + text + "</span></div>";
    if (kind == L"label" && control.link)
        return Form(window, options, control, "click",
                    "<button type=\"submit\" class=\"link\"" + title + disabled + ">" + text + "</button>", "k-link");
    if (kind == L"label") {
        const std::string classes = state.enabled ? "ctl label" : "ctl label disabled";
        return "<div class=\"" + classes + "\" id=\"" + id + "\"" + title + ">" + text + "</div>";
    }
    if (kind == L"button" || kind == L"syslink")
        return Form(window, options, control, "click",
                    "<button type=\"submit\"" + title + disabled + ">" + text + "</button>",
                    kind == L"button" ? "k-button" : "k-link");
    if (kind == L"check box")
        return Form(window, options, control, "check",
                    "<label" + title + "><input type=\"checkbox\" name=\"checked\"" +
                        (state.state == L"checked" ? " checked" : "") + disabled + "> <span>" + text + "</span></label>",
                    "k-check");
    if (kind == L"radio")
        return Form(window, options, control, "click",
                    "<label" + title + "><input type=\"radio\" name=\"radio\"" +
                        (state.state == L"selected" ? " checked" : "") + disabled + "> <span>" + text + "</span></label>",
                    "k-radio");
    if (kind == L"edit" || kind == L"read-only edit" || kind == L"sysipaddress32") {
        const std::string label = " aria-label=\"" + Escape(state.label) + "\"";
        const std::string readOnly = kind == L"read-only edit" ? " readonly" : "";
        std::string field;
        if (view.password) {
            // what a password field holds never leaves the console: only
            // whether it holds something, as the field's placeholder
            field = "<input type=\"password\" name=\"text\" value=\"\" autocomplete=\"new-password\"" +
                    std::string(state.text.empty() ? "" : " placeholder=\"\xE2\x80\xA2\xE2\x80\xA2\xE2\x80\xA2\xE2\x80\xA2\xE2\x80\xA2\xE2\x80\xA2\xE2\x80\xA2\xE2\x80\xA2\"") +
                    label + title + readOnly + disabled + ">";
        } else if (control.multiline) {
            field = "<textarea name=\"text\"" + label + title + readOnly + disabled + ">" + text + "</textarea>";
        } else {
            std::string range;
            if (view.range)
                range = " inputmode=\"numeric\" data-min=\"" + std::to_string(view.range->first) + "\" data-max=\"" +
                        std::to_string(view.range->second) + "\"";
            field = "<input type=\"text\" name=\"text\" value=\"" + text + "\"" + range + label + title + readOnly +
                    disabled + " autocomplete=\"off\">";
        }
        return Form(window, options, control, "type", field, "k-edit");
    }
    if (kind == L"time picker") {
        const std::string time = state.text.size() >= 16 ? ToUtf8(state.text.substr(11, 5)) : "";
        return Form(window, options, control, "type",
                    "<input type=\"time\" name=\"text\" value=\"" + Escape(time) + "\" aria-label=\"" +
                        Escape(state.label) + "\"" + title + disabled + ">",
                    "k-time");
    }
    if (kind == L"spin")
        return Form(window, options, control, "spin",
                    "<button type=\"submit\" name=\"text\" value=\"up\" aria-label=\"up\"" + disabled +
                        ">\xE2\x96\xB4</button><button type=\"submit\" name=\"text\" value=\"down\" aria-label=\"down\"" +
                        disabled + ">\xE2\x96\xBE</button>",
                    "k-spin");
    if (kind == L"combo" || kind == L"drop-down" || kind == L"list") {
        const bool lock = kind == L"drop-down";
        std::string select = "<select name=\"text\" aria-label=\"" + Escape(state.label) + "\"" + title + disabled +
                             (kind == L"list" ? " size=\"4\"" : "") + ">" +
                             Options(view.items, SelectedItem(view), lock && view.items.size() == 2) + "</select>";
        std::string classes = lock ? "k-lock" : "k-combo";
        if (lock && view.lockedByPolicy) classes += " held";
        return Form(window, options, control, "select", select, classes);
    }
    if (kind == L"list view") return RenderListView(window, options, control);
    return "<div class=\"ctl other\" id=\"" + id + "\"" + title + ">" + text + "</div>";
}

}  // namespace

WindowView CaptureWindow(HWND window, std::string key, const std::wstring& governingPolicy)
{
    WindowView captured;
    captured.key = std::move(key);
    captured.caption = GetWindowTextW(window);
    const RECT rect = GetWindowRect(window);
    captured.width = rect.Width();
    captured.height = rect.Height();
    const auto views = ViewControls(window);
    const auto children = ui::DialogControls(window);
    for (std::size_t i = 0; i < views.size() && i < children.size(); ++i) {
        const HWND child = children[i];
        WebControl control;
        control.view = views[i];
        control.index = static_cast<int>(i);
        control.rect = GetWindowRect(child);
        // a control of a dialog embedded in the page sits where that dialog does
        for (HWND parent = GetParent(child); parent && parent != window; parent = GetParent(parent)) {
            const RECT origin = GetWindowRect(parent);
            control.rect = {control.rect.left + origin.left, control.rect.top + origin.top,
                            control.rect.right + origin.left, control.rect.bottom + origin.top};
        }
        control.className = GetClassName(child);
        control.link = IsLink(child);
        const DWORD style = GetWindowLongW(child, GWL_STYLE);
        control.multiline = control.className == L"Edit" && (style & ES_MULTILINE);
        if (control.className == L"SysListView32") ReadListColumns(child, control);
        if (control.view.lockedByPolicy)
            control.lockingPolicy = control.view.lockingPolicy.empty() ? governingPolicy : control.view.lockingPolicy;
        captured.width = std::max(captured.width, static_cast<int>(control.rect.right));
        captured.height = std::max(captured.height, static_cast<int>(control.rect.bottom));
        captured.controls.push_back(std::move(control));
    }
    return captured;
}

std::string RenderWindow(const WindowView& window, const RenderOptions& options)
{
    std::string html = "<div class=\"window\" id=\"" + options.scope + "window\" lang=\"ru\">";
    for (const auto& control : window.controls) {
        if (!control.view.state.visible) continue;
        html += RenderControl(window, options, control);
        // beside a lock a policy holds: which policy, so that a person knows why the settings are grey
        if (control.view.lockedByPolicy)
            html += "<div class=\"why\" id=\"" + options.scope + "w" + std::to_string(control.index) +
                    "\">enforced by the policy \xC2\xAB" + Escape(control.lockingPolicy) +
                    "\xC2\xBB</div>";
    }
    return html + "</div>";
}

std::string LayoutCss(const WindowView& window, const std::string& scope)
{
    std::string css = "#" + scope + "window{width:" + std::to_string(Px(window.width) + kBeside + kWhyWidth) +
                      "px;height:" + std::to_string(Px(window.height)) + "px}\n";
    const auto place = [&](const std::string& id, int left, int top, int width, int height) {
        css += "#" + id + "{left:" + std::to_string(left) + "px;top:" + std::to_string(top) +
               "px;width:" + std::to_string(std::max(width, 1)) + "px;height:" + std::to_string(std::max(height, 1)) +
               "px}\n";
    };
    for (const auto& control : window.controls) {
        if (!control.view.state.visible) continue;
        const RECT& r = control.rect;
        const std::string id = scope + "c" + std::to_string(control.index);
        const bool lock = control.view.state.kind == L"drop-down";
        place(id, Px(r.left), Px(r.top), lock ? std::max(Px(r.Width()), kLockWidth) : Px(r.Width()), Px(r.Height()));
        if (control.view.lockedByPolicy)
            place(scope + "w" + std::to_string(control.index), Px(window.width) + kBeside, Px(r.top), kWhyWidth,
                  Px(r.Height()));
    }
    return css;
}

}  // namespace host::web
