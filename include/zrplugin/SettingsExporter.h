#pragma once

#include <cstdint>

#include "zrpar/Params.h"
#include "zrplugin/DataSource.h"
#include "zrstd/ZRBase.h"

namespace ZRPlugin {

// "ZRPlugin::ISettingsExporter": settings as a readable tree, one titled
// container per page.
class ISettingsExporter : public ZRSTD::ZRBaseQI {
public:
    static constexpr const char* kInterfaceName = "ZRPlugin::ISettingsExporter";
    // reserved is not read.
    virtual void ExportSettings(std::int32_t objectKind, IDataSource* dataSource, const wchar_t* taskType,
                                ZRPAR::Params* pResult, std::int32_t reserved) = 0;
    virtual ~ISettingsExporter() = default;
};

}  // namespace ZRPlugin
