#pragma once

#include <optional>
#include <string>
#include <vector>

#include "zrstd/Error.h"

// The objects a console keeps: "policy:NAME", "host:NAME", "task:NAME",
// "package:NAME", "dpoint:NAME", "bootserver:NAME".
namespace host {

enum class ObjectType { Policy, Host, Task, Package, DistributionPoint, BootServer };

struct ObjectName {
    ObjectType type;
    std::wstring kind;  // the text before the colon
    std::wstring name;  // the text after it
    std::wstring Full() const { return kind + L":" + name; }
};

// The parsed name; a localized ZRERR::Error saying what is wrong otherwise.
ObjectName ParseObjectName(const std::wstring& object);
std::optional<ObjectType> ObjectTypeOfKind(const std::wstring& kind);
std::wstring KindOfObjectType(ObjectType type);
// The object kind the plug-in's configurators take for it (0, 1, 2, 3, 4 or 10).
std::int32_t PluginObjectKind(ObjectType type);

// The computer type a distribution point of a platform class reports: 0 for
// the usual computer, 0x2000 for class 1, 0x80 for class 2.
std::int32_t ComputerTypeOfPlatform(int platform);
// The platform class of a computer type: 2 for bit 0x80, 1 for any of 0x202000, else 0.
int PlatformOfComputerType(std::int32_t computerType);

// The agent's task types the console can create.
const std::vector<std::wstring>& AgentTaskTypes();

// Where a task keeps its parameters and a boot-server connection its settings:
// sections of the object under the agent's product and version.
inline constexpr const wchar_t* kTaskParamsSection = L"TASK_PARAMS";
inline constexpr const wchar_t* kParamsSection = L"PARAMS";

}  // namespace host
