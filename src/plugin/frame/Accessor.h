#pragma once

#include <string>

#include "plugin/frame/Localizer.h"
#include "zrplugin/Accessor.h"

// The console's root object of the plug-in. The common base answers the
// operations a plug-in must provide with the maker's "not implemented"
// error (module "ZRSTD", 1194); the agent's accessor provides them.
class CZRAccessorImpl : public ZRPlugin::IZRAccessor {
public:
    ZRPlugin::IZRConfigurator* CreateConfigurator(std::int32_t objectKind, std::int32_t wizard,
                                                  const wchar_t* taskType) override;
    ZRPlugin::IZRLocalizer* GetLocalizer() override;
    void ReservedSlot2(std::int32_t) override {}
    void GetEvents(ZRPAR::Params* pResult) override;
    const wchar_t* ReservedSlot8(std::int32_t, std::int32_t) override { return L""; }
};

class CZRNGTAccessor : public CZRAccessorImpl {
public:
    CZRNGTAccessor();

    ZRPlugin::IZRConfigurator* CreateConfigurator(std::int32_t objectKind, std::int32_t wizard,
                                                  const wchar_t* taskType) override;
    ZRPlugin::IZRLocalizer* GetLocalizer() override { return &m_localizer; }
    const wchar_t* GetProductName() override { return m_productName.c_str(); }
    const wchar_t* GetProductVersion() override { return m_productVersion.c_str(); }
    void FillEventList(ZRPlugin::EventDescriptorList& list) override;

    // The one accessor of the process, made on first use.
    static CZRNGTAccessor& Instance();

private:
    std::wstring m_productName;
    std::wstring m_productVersion;
    CZRNGTLocalizer m_localizer;
};
