#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "ui/ControlTable.h"

// A page's or dialog's controls as a console shows them to a person: what the
// platform says of each, its label, the items or rows it offers, the range
// of numbers it takes and the lock control that governs it.
namespace host {

struct ControlRow {
    std::wstring text;
    bool checked = false;
    bool selected = false;
    std::vector<std::wstring> cells;  // the texts of the columns after the first
};

struct ControlView {
    ui::ControlState state;             // texts without accelerator marks
    std::vector<std::wstring> items;    // a drop-down's or list box's items
    std::vector<ControlRow> rows;       // a list view's rows
    bool hasCheckBoxes = false;         // the rows carry check boxes
    bool password = false;              // an edit that masks what it holds
    std::optional<std::pair<int, int>> range;  // numbers an edit takes
    int governingLock = 0;              // the id of the lock control that governs it, 0 for none
    bool lockedByPolicy = false;        // a lock control whose group a policy enforces
    std::wstring lockingPolicy;         // the policy named by the lock, when it names one
};

std::vector<ControlView> ViewControls(HWND dialog);

// One object per control with keys in snake case: id, kind, label, text,
// enabled, visible, checked (check boxes and radio buttons), selected
// (drop-downs), items, rows (text, cells of the further columns, selected,
// checked), range, governed_by, locked_by_policy, tooltip.
nlohmann::json ToJson(const std::vector<ControlView>& controls);
// One line per control (the platform's table) with its items, rows, range and lock below it.
std::string ToText(const std::vector<ControlView>& controls);

}  // namespace host
