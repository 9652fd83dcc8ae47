#include "plugin/frame/Accessor.h"

#include "controls/PluginEnvironment.h"
#include "nhpp/PageData.h"
#include "plugin/frame/Configurator.h"
#include "plugin/frame/ProductEvents.h"

ZRPlugin::IZRConfigurator* CZRAccessorImpl::CreateConfigurator(std::int32_t, std::int32_t, const wchar_t*)
{
    ZRERR_throwError("ZRSTD", ZRPlugin::kErrorNotImplemented, L"this plug-in makes no configurators");
}

ZRPlugin::IZRLocalizer* CZRAccessorImpl::GetLocalizer()
{
    ZRERR_throwError("ZRSTD", ZRPlugin::kErrorNotImplemented, L"this plug-in has no localizer");
}

void CZRAccessorImpl::GetEvents(ZRPAR::Params* pResult)
{
    frame::GetEvents(pResult, [this](ZRPlugin::EventDescriptorList& list) { FillEventList(list); });
}

CZRNGTAccessor::CZRNGTAccessor()
    : m_productName(NHPP::kProductName),
      m_productVersion(NHPP::kProductVersion),
      m_localizer(NHPP::kProductName, NHPP::kProductVersion)
{
}

CZRNGTAccessor& CZRNGTAccessor::Instance()
{
    static CZRNGTAccessor accessor;  // thread-safe one-time creation
    return accessor;
}

ZRPlugin::IZRConfigurator* CZRNGTAccessor::CreateConfigurator(std::int32_t objectKind, std::int32_t wizard,
                                                              const wchar_t* taskType)
{
    PluginStateScope scope;
    return new CZRNGTConfiguratorImpl(objectKind, wizard != 0 ? 1 : 0, taskType ? taskType : L"");
}

void CZRNGTAccessor::FillEventList(ZRPlugin::EventDescriptorList& list)
{
    PluginStateScope scope;
    frame::FillAgentEventList(list);
}
