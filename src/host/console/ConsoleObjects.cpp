#include "host/console/ConsoleObjects.h"

#include "zrstd/Format.h"

namespace host {

namespace {
constexpr const char* kModule = "NGTCONSOLE";
constexpr long kBadObjectName = 2;

struct KindRow {
    const wchar_t* kind;
    ObjectType type;
    std::int32_t pluginKind;
};
constexpr KindRow kKinds[] = {
    {L"policy", ObjectType::Policy, 0},   {L"host", ObjectType::Host, 1},
    {L"task", ObjectType::Task, 2},       {L"package", ObjectType::Package, 3},
    {L"dpoint", ObjectType::DistributionPoint, 4}, {L"bootserver", ObjectType::BootServer, 10},
};
}  // namespace

std::optional<ObjectType> ObjectTypeOfKind(const std::wstring& kind)
{
    for (const auto& row : kKinds)
        if (kind == row.kind) return row.type;
    return std::nullopt;
}

std::wstring KindOfObjectType(ObjectType type)
{
    for (const auto& row : kKinds)
        if (row.type == type) return row.kind;
    return L"";
}

std::int32_t PluginObjectKind(ObjectType type)
{
    for (const auto& row : kKinds)
        if (row.type == type) return row.pluginKind;
    return -1;
}

ObjectName ParseObjectName(const std::wstring& object)
{
    const auto colon = object.find(L':');
    if (colon == std::wstring::npos || colon == 0 || colon + 1 == object.size())
        ZRERR_throwLocalizedError(kModule, kBadObjectName,
                                  ZRSTD::FormatW(L"\"%s\" is not an object name: use KIND:NAME, e.g. "
                                                 L"\"policy:Default policy\"",
                                                 object));
    const std::wstring kind = object.substr(0, colon);
    const auto type = ObjectTypeOfKind(kind);
    if (!type)
        ZRERR_throwLocalizedError(
            kModule, kBadObjectName,
            ZRSTD::FormatW(L"unknown object kind \"%s\" (kinds: policy, host, task, package, dpoint, bootserver)", kind));
    return {*type, kind, object.substr(colon + 1)};
}

const std::vector<std::wstring>& AgentTaskTypes()
{
    static const std::vector<std::wstring> types = {
        L"DoUpdate",           L"ZRNAG_TASK_RECONNECTION", L"ZRNAG_TASK_COMP_CONTROL", L"ZRNAG_TASK_SHOW_MSG",
        L"ZRNAG_TASK_START_STOP_APP", L"ZRNAG_TASK_CHECK_BASES", L"ZRNAG_TASK_VAPM_SEARCH",
    };
    return types;
}

int PlatformOfComputerType(std::int32_t computerType)
{
    if (computerType & 0x80) return 2;
    return (computerType & 0x202000) ? 1 : 0;
}

std::int32_t ComputerTypeOfPlatform(int platform)
{
    switch (platform) {
    case 1: return 0x2000;
    case 2: return 0x80;
    default: return 0;
    }
}

}  // namespace host
