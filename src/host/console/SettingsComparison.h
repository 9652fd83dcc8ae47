#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "host/console/ConsoleSession.h"

// What settings an object has, as a console can read them without knowing
// the plug-in: the exporter's tree, or what its pages show; and how two such
// readings differ. These answer "what differs between these two policies?"
// and "why can't I change this on that computer?".
namespace host {

// One setting as a reading names it: a path of titles and labels, its value,
// and, when it is a lock, so marked.
struct SettingReading {
    std::vector<std::wstring> path;  // page title, group..., label
    nlohmann::json value;
    bool isLock = false;
    // read from a page: the setting's governing lock is held by a policy
    bool enforced = false;
    std::wstring lockState;  // the governing lock control's state, when there is one
};

// The exporter's tree of an object, flattened; lock texts are marked.
std::vector<SettingReading> ReadExport(ConsoleSession& session, ConsoleDataSource& dataSource);
// Every value a control shows on every page of the object (no OK is pressed):
// edits, check boxes, radio buttons, drop-downs and lists, by page title and
// label; passwords are never read.
std::vector<SettingReading> ReadPages(ConsoleSession& session, ConsoleDataSource& dataSource);

struct SettingDifference {
    enum class Kind { OnlyInFirst, OnlyInSecond, Changed };
    Kind kind;
    std::vector<std::wstring> path;
    nlohmann::json first, second;
    bool isLock = false;
};
// Path by path; a path that repeats is matched in order.
std::vector<SettingDifference> CompareReadings(const std::vector<SettingReading>& first,
                                               const std::vector<SettingReading>& second);

std::string JoinPath(const std::vector<std::wstring>& path);

}  // namespace host
