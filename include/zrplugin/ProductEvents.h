#pragma once

#include <cstdint>
#include <list>
#include <string>

#include "zrpar/Params.h"
#include "zrplugin/DataSource.h"
#include "zrstd/ZRBase.h"

namespace ZRPlugin {

// One event the agent publishes.
struct EventDescriptor {
    std::wstring eventId;
    std::int32_t severity = 1;  // 1 information, 2 warning, 3 error
    std::wstring localizedName;
};
using EventDescriptorList = std::list<EventDescriptor>;

// "ZRPlugin::IProductEvents", slot order: AddRef, Release, QueryInterface,
// SetDataSource, GetEvents, destructor, FillEventList.
class IProductEvents : public ZRSTD::ZRBaseQI {
public:
    static constexpr const char* kInterfaceName = "ZRPlugin::IProductEvents";
    virtual IDataSource* SetDataSource(IDataSource* dataSource) = 0;
    // Stores the "Events" array (containers with "EventID", "LocalizedEventIDName", "Severity").
    virtual void GetEvents(ZRPAR::Params* pResult) = 0;
    virtual ~IProductEvents() = default;
    virtual void FillEventList(EventDescriptorList& list) = 0;
};

}  // namespace ZRPlugin
