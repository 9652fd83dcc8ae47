#include "plugin/frame/Configurator.h"

#include "controls/PluginEnvironment.h"
#include "plugin/frame/Defaults.h"
#include "plugin/frame/PageClasses.h"
#include "ui/Resources.h"
#include "zrstd/Trace.h"

CZRConfiguratorImpl::CZRConfiguratorImpl(std::int32_t objectKind, std::int32_t wizard, std::wstring taskType)
    : m_pageData(std::make_shared<NHPP::CNHPPageData>(nullptr, objectKind, taskType)),
      m_taskType(std::move(taskType)),
      m_objectKind(objectKind),
      m_wizard(wizard)
{
}

const CZRConfiguratorImpl::PageDescriptor* CZRConfiguratorImpl::Descriptor(std::int32_t index) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= m_descriptors.size()) return nullptr;
    return &m_descriptors[static_cast<std::size_t>(index)];
}

void CZRConfiguratorImpl::GetPageHelp(std::int32_t index, const wchar_t** ppTopic, std::int32_t* pHelpId)
{
    PluginStateScope scope;
    const PageDescriptor* descriptor = Descriptor(index);
    if (!descriptor) return;
    m_scratch = descriptor->helpTopic;
    if (ppTopic) *ppTopic = m_scratch.c_str();
    if (pHelpId) *pHelpId = descriptor->helpId;
}

const wchar_t* CZRConfiguratorImpl::GetPageTitle(std::int32_t index)
{
    PluginStateScope scope;
    const PageDescriptor* descriptor = Descriptor(index);
    m_scratch = descriptor ? descriptor->title : L"";
    return m_scratch.c_str();
}

const wchar_t* CZRConfiguratorImpl::GetPageDescription(std::int32_t index)
{
    PluginStateScope scope;
    const PageDescriptor* descriptor = Descriptor(index);
    m_scratch = descriptor ? descriptor->description : L"";
    return m_scratch.c_str();
}

void CZRConfiguratorImpl::SetInterfaces(ZRPlugin::IDataSource* dataSource)
{
    PluginStateScope scope;
    if (!dataSource)
        ZRERR_throwError("ZRSTD", ZRPlugin::kErrorNoDataSource, L"SetInterfaces was given no data source");
    m_dataSource = dataSource;
    m_pageData->SetDataSource(dataSource);
    m_pageData->SetObjectKind(m_objectKind);
    m_pageData->ClearSections();
    OnSetInterfaces();
}

ZRSTD::CAutoPtr<NHPP::CParams> CZRConfiguratorImpl::RegisterSection(const wchar_t* name, int providerKind,
                                                                    NHPP::CNHPPageData& pageData, bool makeCurrent)
{
    return pageData.RegisterSection(name, providerKind, makeCurrent, this);
}

ZRSTD::CAutoPtr<NHPP::CParams> CZRConfiguratorImpl::CreatePolicyProvider(const wchar_t* section)
{
    return DataSourceFactory().CreatePolicyProvider(section);
}

ZRSTD::CAutoPtr<NHPP::CParams> CZRConfiguratorImpl::CreateProductProvider(const wchar_t* section)
{
    return DataSourceFactory().CreateProductProvider(section);
}

ZRSTD::CAutoPtr<NHPP::CParams> CZRConfiguratorImpl::CreateTaskProvider(const wchar_t* section)
{
    return DataSourceFactory().CreateTaskProvider(section);
}

ZRSTD::CAutoPtr<NHPP::CParams> CZRConfiguratorImpl::CreateParamsProvider()
{
    return DataSourceFactory().CreateParamsProvider();
}

CZRNGTConfiguratorImpl::CZRNGTConfiguratorImpl(std::int32_t objectKind, std::int32_t wizard, std::wstring taskType)
    : CZRConfiguratorImpl(objectKind, wizard, std::move(taskType))
{
    LiveObjectRegistry::Instance().Link(m_liveEntry, "CZRNGTConfiguratorImpl", this);
}

CZRNGTConfiguratorImpl::~CZRNGTConfiguratorImpl() { LiveObjectRegistry::Instance().Unlink(m_liveEntry); }

void CZRNGTConfiguratorImpl::OnSetInterfaces()
{
    try {
        m_pageData->SetAgentVersion(NHPP::ReadAgentVersion(m_dataSource));
    } catch (const ZRERR::Error& error) {
        ZRERR::SayFailure2(error, "CZRNGTConfiguratorImpl::SetInterfaces", 5);
        ZRERR::SayFailure2(error, "CZRNGTConfiguratorImpl::SetInterfaces", 1);
    }

    m_descriptors.clear();
    const frame::ConfiguratorMode mode = Mode();
    const int providerKind = frame::SectionProviderKindOf(mode);
    for (const auto& section : frame::SectionsOf(mode))
        RegisterSection(section.name, providerKind, *m_pageData, section.makeCurrent);
    for (const auto& page : frame::PagesOf(mode, m_taskType, *this))
        m_descriptors.push_back({ui::LoadStringW(page.titleId),
                                 page.descriptionId ? ui::LoadStringW(page.descriptionId) : std::wstring(), L"",
                                 page.helpId});
}

void CZRNGTConfiguratorImpl::CreatePage(ZRPlugin::IZRConfiguratorPage2** ppPage, HWND parent, std::int32_t index)
{
    PluginStateScope scope;
    ZRSTD_CHECK_ARG(ppPage);
    *ppPage = nullptr;
    const auto pages = frame::PagesOf(Mode(), m_taskType, *this);
    if (index < 0 || static_cast<std::size_t>(index) >= pages.size()) return;
    const frame::PageEntry& entry = pages[static_cast<std::size_t>(index)];

    const frame::PageCreator* create = frame::FindPageCreator(entry.className);
    if (!create)
        ZRERR_throwError("ZRSTD", ZRPlugin::kErrorNotImplemented,
                         L"page class %s is not available in this build", entry.className);
    auto page = ZRSTD::CAutoPtr<CNHPPropertyPageBase>::Adopt((*create)(m_pageData, entry.dialogId));
    page->SetThemed(m_wizard == 0);
    if (!page->Create(entry.dialogId, parent))
        ZRERR_throwError("ZRSTD", ZRPlugin::kErrorNotImplemented,
                         L"page class %s: its dialog template %u is not available in this build", entry.className,
                         entry.dialogId);
    ::SetPropW(page->GetSafeHwnd(), ZRPlugin::kPageClassProperty, const_cast<wchar_t*>(entry.className));
    *ppPage = page.Detach();
}

void CZRNGTConfiguratorImpl::InitDefaults()
{
    PluginStateScope scope;
    frame::InitDefaults(m_objectKind, m_taskType, *m_pageData, *this);
}

bool CZRNGTConfiguratorImpl::IsNacAvailable() { return NHPP::IsNacAvailable(m_dataSource); }

bool CZRNGTConfiguratorImpl::IsServerHostedAgent()
{
    if (m_serverHosted < 0) m_serverHosted = NHPP::IsServerHostedAgent(m_dataSource) ? 1 : 0;
    return m_serverHosted == 1;
}

int CZRNGTConfiguratorImpl::GetPlatformType() { return m_pageData->GetPlatformType(); }

std::int32_t CZRNGTConfiguratorImpl::GetInstallerInternalVersion()
{
    try {
        return m_pageData->Provider()->GetIntOrDefault(L"InternalVersion", 9, nullptr);
    } catch (const ZRERR::Error& error) {
        ZRERR::SayFailure2(error, "CZRNGTConfiguratorImpl::GetInstallerInternalVersion", 3);
        return 9;
    }
}

std::int32_t CZRNGTConfiguratorImpl::GetServerVersionId() { return m_pageData->GetServerVersionId(); }
