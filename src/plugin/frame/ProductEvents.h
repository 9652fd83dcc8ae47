#pragma once

#include <functional>

#include "zrplugin/ProductEvents.h"
#include "zrstd/ZRBaseQI.h"

// The events the agent publishes, for the console's notification settings.
namespace frame {

// Appends the agent's 28 event descriptors, names loaded from the string table.
void FillAgentEventList(ZRPlugin::EventDescriptorList& list);
// Fills a descriptor list with fill and stores the "Events" array built from
// it in pResult (replacing one that is there).
void GetEvents(ZRPAR::Params* pResult, const std::function<void(ZRPlugin::EventDescriptorList&)>& fill);

}  // namespace frame

class CProductEventsBase : public ZRSTD::ZRBaseQIImpl<ZRPlugin::IProductEvents> {
public:
    ZRPlugin::IDataSource* SetDataSource(ZRPlugin::IDataSource* dataSource) override;
    void GetEvents(ZRPAR::Params* pResult) override;

protected:
    ZRPlugin::IDataSource* m_dataSource = nullptr;  // kept for the console; the events do not depend on it
};

class CProductEvents : public CProductEventsBase {
public:
    void FillEventList(ZRPlugin::EventDescriptorList& list) override;
};
