#pragma once

#include <cstdint>

#include "zrpar/Params.h"
#include "zrplugin/ProductEvents.h"

namespace ZRPlugin {

class IZRConfigurator;

// Slot order: two no-ops, ReservedSlot8, LocalizeInstanceInfo, a query that
// answers false, LocalizeStatistics.
class IZRLocalizer {
public:
    virtual void ReservedSlot0(std::int32_t, std::int32_t, std::int32_t, std::int32_t) = 0;
    virtual void ReservedSlot1(std::int32_t, std::int32_t, std::int32_t, std::int32_t) = 0;
    virtual const wchar_t* ReservedSlot8(std::int32_t a, std::int32_t b) = 0;
    virtual void LocalizeInstanceInfo(ZRPAR::Params* pSrcParams, ZRPAR::Params* pTrgParams) = 0;
    virtual bool ReservedSlot4(const wchar_t* text, std::int32_t a, std::int32_t b) = 0;
    virtual void LocalizeStatistics(ZRPAR::Params* pSrc, ZRPAR::Params* pTrg) = 0;

protected:
    ~IZRLocalizer() = default;
};

// The console's root interface of the plug-in: one per process, not released by the caller.
class IZRAccessor {
public:
    // A new configurator (reference count 1, owned by the caller).
    virtual IZRConfigurator* CreateConfigurator(std::int32_t objectKind, std::int32_t wizard, const wchar_t* taskType) = 0;
    virtual IZRLocalizer* GetLocalizer() = 0;  // not add-ref'd
    virtual void ReservedSlot2(std::int32_t arg) = 0;
    virtual void GetEvents(ZRPAR::Params* pResult) = 0;
    virtual const wchar_t* GetProductName() = 0;
    virtual const wchar_t* GetProductVersion() = 0;
    virtual ~IZRAccessor() = default;
    virtual void FillEventList(EventDescriptorList& list) = 0;
    virtual const wchar_t* ReservedSlot8(std::int32_t a, std::int32_t b) = 0;
};

}  // namespace ZRPlugin
