#include "host/console/ControlView.h"

#include "ui/CommonControls.h"
#include "ui/ControlTable.h"
#include "ui/Window.h"
#include "zrplugin/IZRConfigurator.h"
#include "zrstd/Strings.h"

namespace host {

namespace {

using ZRSTD::ToUtf8;

// "&Use SSL" reads "Use SSL"; "&&" is an ampersand.
std::wstring WithoutMarks(const std::wstring& text)
{
    std::wstring plain;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != L'&') plain += text[i];
        else if (i + 1 < text.size() && text[i + 1] == L'&') plain += text[++i];
    }
    return plain;
}

HWND PartOfKind(HWND control, std::initializer_list<const wchar_t*> kinds)
{
    for (HWND part : GetChildren(control))
        for (const wchar_t* kind : kinds)
            if (GetClassName(part) == kind) return part;
    return nullptr;
}

}  // namespace

std::vector<ControlView> ViewControls(HWND dialog)
{
    std::vector<ControlView> views;
    const std::vector<ui::ControlState> states = ui::DescribeControls(dialog);
    const std::vector<HWND> children = ui::DialogControls(dialog);
    for (std::size_t i = 0; i < states.size() && i < children.size(); ++i) {
        const HWND control = children[i];
        ControlView view;
        view.state = states[i];
        if (GetClassName(control) == L"Button" || GetClassName(control) == L"Static")
            view.state.text = WithoutMarks(view.state.text);
        const std::wstring kind = GetClassName(control);
        HWND choices = control;
        if (kind != L"ComboBox" && kind != L"ComboBoxEx32" && kind != L"ListBox")
            if (HWND part = PartOfKind(control, {L"ComboBox", L"ComboBoxEx32"})) choices = part;
        if (choices != control || kind == L"ComboBox" || kind == L"ComboBoxEx32" || kind == L"ListBox")
            view.items = ui::ChoicesOf(choices);
        if (kind == L"SysListView32") {
            view.hasCheckBoxes = (SendMessageW(control, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_CHECKBOXES) != 0;
            const auto texts = ui::ChoicesOf(control);
            int columns = 0;
            for (LVCOLUMNW column; SendMessageW(control, LVM_GETCOLUMNW, static_cast<WPARAM>(columns),
                                                reinterpret_cast<LPARAM>(&column));)
                ++columns;
            for (std::size_t row = 0; row < texts.size(); ++row) {
                ControlRow entry{texts[row], view.hasCheckBoxes && ui::IsListRowChecked(control, static_cast<int>(row)),
                                 ui::IsListRowSelected(control, static_cast<int>(row)), {}};
                for (int column = 1; column < columns; ++column) {
                    LVITEMW cell;
                    cell.iSubItem = column;
                    SendMessageW(control, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&cell));
                    entry.cells.push_back(cell.text);
                }
                view.rows.push_back(std::move(entry));
            }
        }
        if (kind == L"Edit") {
            view.range = ui::NumberRange(control);
            view.password = SendMessageW(control, EM_GETPASSWORDCHAR, 0, 0) != 0;
        }
        if (HWND lock = static_cast<HWND>(GetPropW(control, ZRPlugin::kGoverningLockProperty)))
            view.governingLock = GetDlgCtrlID(lock);
        if (const auto* policy = static_cast<const wchar_t*>(GetPropW(control, ZRPlugin::kLockedByPolicyProperty))) {
            view.lockedByPolicy = true;
            view.lockingPolicy = policy;
        }
        views.push_back(std::move(view));
    }
    return views;
}

nlohmann::json ToJson(const std::vector<ControlView>& controls)
{
    auto list = nlohmann::json::array();
    for (const auto& view : controls) {
        const ui::ControlState& state = view.state;
        nlohmann::json control = {{"id", state.id},           {"kind", ToUtf8(state.kind)},
                                  {"label", ToUtf8(state.label)}, {"text", ToUtf8(state.text)},
                                  {"enabled", state.enabled},  {"visible", state.visible}};
        if (state.kind == L"check box" || state.kind == L"radio")
            control["checked"] = state.state == L"checked" || state.state == L"selected";
        if (state.state.rfind(L"selected: ", 0) == 0) control["selected"] = ToUtf8(state.state.substr(10));
        if (!view.items.empty()) {
            auto items = nlohmann::json::array();
            for (const auto& item : view.items) items.push_back(ToUtf8(item));
            control["items"] = items;
        }
        if (state.kind == L"list view") {
            auto rows = nlohmann::json::array();
            for (const auto& row : view.rows) {
                nlohmann::json entry = {{"text", ToUtf8(row.text)}, {"selected", row.selected}};
                if (view.hasCheckBoxes) entry["checked"] = row.checked;
                if (!row.cells.empty()) {
                    auto cells = nlohmann::json::array();
                    for (const auto& cell : row.cells) cells.push_back(ToUtf8(cell));
                    entry["cells"] = cells;
                }
                rows.push_back(entry);
            }
            control["rows"] = rows;
        }
        if (view.range) control["range"] = {view.range->first, view.range->second};
        if (view.password) control["password"] = true;
        if (view.governingLock) control["governed_by"] = view.governingLock;
        if (state.kind == L"drop-down" || view.lockedByPolicy) control["locked_by_policy"] = view.lockedByPolicy;
        if (view.lockedByPolicy && !view.lockingPolicy.empty()) control["locking_policy"] = ToUtf8(view.lockingPolicy);
        if (!state.tooltip.empty()) control["tooltip"] = ToUtf8(state.tooltip);
        list.push_back(control);
    }
    return list;
}

std::string ToText(const std::vector<ControlView>& controls)
{
    std::string text;
    for (const auto& view : controls) {
        ui::ControlState state = view.state;
        if (state.kind == L"list view") state.state.clear();  // the rows follow, one a line
        text += ui::FormatControlTable({state});
        const std::string indent(8, ' ');
        if (!state.label.empty() && state.label != state.text && state.kind != L"label" && state.kind != L"group" &&
            state.kind != L"spin")
            text += indent + "label: " + ToUtf8(state.label) + "\n";
        if (!view.items.empty()) {
            text += indent + "items:";
            for (std::size_t i = 0; i < view.items.size(); ++i) text += (i ? " | " : " ") + ToUtf8(view.items[i]);
            text += "\n";
        }
        for (std::size_t row = 0; row < view.rows.size(); ++row) {
            const ControlRow& entry = view.rows[row];
            text += indent + "#" + std::to_string(row + 1) + " ";
            if (view.hasCheckBoxes) text += entry.checked ? "[x] " : "[ ] ";
            text += '"';
            text += ToUtf8(entry.text);
            text += '"';
            for (const auto& cell : entry.cells) text += " | \"" + ToUtf8(cell) + "\"";
            text += std::string(entry.selected ? " (selected)" : "") + "\n";
        }
        if (view.range)
            text += indent + "takes " + std::to_string(view.range->first) + " to " + std::to_string(view.range->second) + "\n";
        if (view.governingLock) text += indent + "governed by the lock " + std::to_string(view.governingLock) + "\n";
        if (view.lockedByPolicy)
            text += indent + "locked by the policy" +
                    (view.lockingPolicy.empty() ? std::string() : " \"" + ToUtf8(view.lockingPolicy) + "\"") + "\n";
    }
    return text;
}

}  // namespace host
