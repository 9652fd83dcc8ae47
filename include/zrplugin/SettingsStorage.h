#pragma once

#include "zrpar/Params.h"
#include "zrstd/ZRBase.h"

namespace ZRPlugin {

// The console's store of settings sections of one object (a policy, the local
// settings of a computer, ...). A section is addressed by product, version and
// section name; an empty section name addresses the version level, an empty
// version the product level. Failures raise ZRERR::Error; errors meant for the
// administrator are localized and name the store.
class SettingsStorage : public ZRSTD::ZRBaseQI {
public:
    static constexpr const char* kInterfaceName = "ZRPlugin::SettingsStorage";
    static constexpr long kSectionExists = 1124;  // 0x464, raised by CreateSection

    // A copy of the stored section in *ppParams, or null when there is none. A
    // level reads as a container of its sections (or versions).
    virtual void Read(const wchar_t* product, const wchar_t* version, const wchar_t* section,
                      ZRPAR::Params** ppParams) = 0;
    // Merges params into the stored section (mode-3 merge), creating it when absent.
    virtual void Update(const wchar_t* product, const wchar_t* version, const wchar_t* section,
                        ZRPAR::Params* params) = 0;
    // Makes the stored section equal to params, creating it when absent.
    virtual void Replace(const wchar_t* product, const wchar_t* version, const wchar_t* section,
                         ZRPAR::Params* params) = 0;
    // An empty section (or level); raises kSectionExists when it exists.
    virtual void CreateSection(const wchar_t* product, const wchar_t* version, const wchar_t* section) = 0;
    virtual ~SettingsStorage() = default;
};

}  // namespace ZRPlugin
