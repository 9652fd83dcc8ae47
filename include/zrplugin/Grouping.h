#pragma once

#include <cstdint>

#include "zrpar/Params.h"
#include "zrplugin/DataSource.h"
#include "zrstd/ZRBase.h"

namespace ZRPlugin {

// "ZRPlugin::IPropGrouping2": the tree in which the console shows an object's pages.
class IPropGrouping2 : public ZRSTD::ZRBaseQI {
public:
    static constexpr const char* kInterfaceName = "ZRPlugin::IPropGrouping2";
    // The grouping document of an object kind ("groups" array), or null for a kind without one.
    virtual void GetGrouping(ZRPAR::Params** ppGrouping, std::int32_t objectKind) = 0;
    virtual IDataSource* SetDataSource(IDataSource* dataSource) = 0;
    virtual ~IPropGrouping2() = default;
};

// "ZRPlugin::INHTaskpadLinkGrouping": the link tree of a policy's taskpad.
class INHTaskpadLinkGrouping : public ZRSTD::ZRBaseQI {
public:
    static constexpr const char* kInterfaceName = "ZRPlugin::INHTaskpadLinkGrouping";
    virtual void GetLinks(ZRPAR::Params** ppLinks, IDataSource* dataSource) = 0;
    virtual ~INHTaskpadLinkGrouping() = default;
};

}  // namespace ZRPlugin
