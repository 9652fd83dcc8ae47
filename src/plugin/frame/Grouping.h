#pragma once

#include "zrplugin/Grouping.h"
#include "zrstd/ZRBaseQI.h"

// The tree in which the console shows an object's pages, by page index.
class CGrouping : public ZRSTD::ZRBaseQIImpl<ZRPlugin::IPropGrouping2> {
public:
    void GetGrouping(ZRPAR::Params** ppGrouping, std::int32_t objectKind) override;
    ZRPlugin::IDataSource* SetDataSource(ZRPlugin::IDataSource* dataSource) override;

private:
    ZRPlugin::IDataSource* m_dataSource = nullptr;
};

// The links of a policy's taskpad.
class CLinkGrouping : public ZRSTD::ZRBaseQIImpl<ZRPlugin::INHTaskpadLinkGrouping> {
public:
    void GetLinks(ZRPAR::Params** ppLinks, ZRPlugin::IDataSource* dataSource) override;
};
