#pragma once

// The console's group tasks: the tasks of the managed applications that the
// administration server keeps for groups of computers. The data source
// offers them as the item "ZRTSK::GroupTaskControl".
#include "zrpar/Params.h"
#include "zrstd/ZRBase.h"

namespace ZRPlugin {

// The values of one group task, as GetGroupTasks returns them.
inline constexpr const wchar_t* kGroupTaskDisplayName = L"DisplayName";
inline constexpr const wchar_t* kGroupTaskStorageId = L"zrprts-TaskStorageId";
inline constexpr const wchar_t* kGroupTaskId = L"zrprts-TaskId";
inline constexpr const wchar_t* kGroupTaskProductName = L"zrprts-ProductName";
inline constexpr const wchar_t* kGroupTaskProductVersion = L"zrprts-ProductVersion";
inline constexpr const wchar_t* kGroupTaskTypeName = L"zrprts-TaskTypeName";
inline constexpr const wchar_t* kGroupTaskInvisible = L"ZRPRCI_TASK_INVISIBLE";

class IGroupTaskControl : public ZRSTD::ZRBaseQI {
public:
    static constexpr const char* kInterfaceName = "ZRPlugin::IGroupTaskControl";
    // Every group task the server keeps, each a container of the values above
    // (strings, and the invisible flag as a bool). Raises ZRERR::Error when
    // the tasks cannot be read.
    virtual void GetGroupTasks(ZRPAR::ArrayValue** ppTasks) = 0;
    virtual ~IGroupTaskControl() = default;
};

}  // namespace ZRPlugin
