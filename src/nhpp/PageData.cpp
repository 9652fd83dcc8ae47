#include "nhpp/PageData.h"

#include "nhpp/ParamsProviderPolicy.h"
#include "nhpp/ParamsProviderProduct.h"
#include "nhpp/ParamsProviderTask.h"
#include "zrstd/Trace.h"

namespace NHPP {

namespace {

ZRSTD::CAutoPtr<ZRPlugin::SettingsStorage> GetStorage(ZRPlugin::IDataSource* dataSource, const wchar_t* name)
{
    return ZRPlugin::GetDataSourceItem<ZRPlugin::SettingsStorage>(dataSource, name);
}

ZRSTD::CAutoPtr<ZRPAR::Params> GetItemParams(ZRPlugin::IDataSource* dataSource, const wchar_t* name)
{
    auto item = ZRPlugin::GetDataSourceItem<ZRPlugin::IParamsItem>(dataSource, name);
    if (!item) return nullptr;
    ZRSTD::CAutoPtr<ZRPAR::Params> params;
    item->GetParams(&params);
    return params;
}

}  // namespace

ZRSTD::CAutoPtr<CParams> DataSourceProviderFactory::CreatePolicyProvider(const wchar_t* section)
{
    auto policy = GetStorage(m_dataSource, L"POLICY_SETTINGS");
    if (!policy) return nullptr;
    return CParamsProviderPolicy::Create(policy.Get(), kProductName, kProductVersion, section);
}

ZRSTD::CAutoPtr<CParams> DataSourceProviderFactory::CreateProductProvider(const wchar_t* section)
{
    auto local = GetStorage(m_dataSource, L"LOCAL_SETTINGS");
    auto policy = GetStorage(m_dataSource, L"POLICY_SETTINGS");
    if (!local || !policy) return nullptr;
    return CParamsProviderProduct::Create(local.Get(), policy.Get(), kProductName, kProductVersion, section);
}

ZRSTD::CAutoPtr<CParams> DataSourceProviderFactory::CreateTaskProvider(const wchar_t* section)
{
    auto taskParams = GetItemParams(m_dataSource, L"TASK_PARAMS");
    auto policy = GetStorage(m_dataSource, L"POLICY_SETTINGS");
    if (!taskParams || !policy) return nullptr;
    auto provider = ZRSTD::MakeRef<CParamsProviderTask>();
    if (provider->Init(taskParams.Get(), policy.Get(), m_taskType.c_str(), kProductName, kProductVersion, section) != kOk)
        return nullptr;
    return provider;
}

ZRSTD::CAutoPtr<CParams> DataSourceProviderFactory::CreateParamsProvider()
{
    auto params = GetItemParams(m_dataSource, L"PARAMS");
    if (!params) return nullptr;
    ZRSTD::CAutoPtr<CParams> provider;
    if (CreateParams(&provider, params.Get()) != kOk) return nullptr;
    return provider;
}

CNHPPageData::CNHPPageData(ZRPlugin::IDataSource* dataSource, std::int32_t objectKind, std::wstring taskType)
    : m_dataSource(dataSource), m_objectKind(objectKind), m_taskType(std::move(taskType))
{
}

ZRSTD::CAutoPtr<CParams> CNHPPageData::RegisterSection(const wchar_t* name, int providerKind, bool makeCurrent,
                                                       SectionProviderFactory* factory)
{
    const std::wstring section = name ? name : L"";
    ZRSTD::CAutoPtr<CParams> provider;
    if (auto found = m_sections.find(section); found != m_sections.end()) {
        if (!found->second)
            ZRERR_throwError("ZRSTD", kSectionWithoutProvider, L"the section \"%s\" has no provider", section);
        provider = found->second;
    } else {
        DataSourceProviderFactory own(m_dataSource, m_taskType);
        SectionProviderFactory& make = factory ? *factory : own;
        switch (providerKind) {
        case kSectionPolicy: provider = make.CreatePolicyProvider(section.c_str()); break;
        case kSectionProduct: provider = make.CreateProductProvider(section.c_str()); break;
        case kSectionTask: provider = make.CreateTaskProvider(section.c_str()); break;
        case kSectionParams: provider = make.CreateParamsProvider(); break;
        default: break;
        }
        if (!provider)
            ZRERR_throwError("ZRSTD", kNoProviderCreated,
                             L"no provider of kind %d for the section \"%s\": the data source lacks its container",
                             providerKind, section);
        m_sections.emplace(section, provider);
        m_registrationOrder.push_back(section);
    }
    if (makeCurrent) m_current = provider;
    return provider;
}

void CNHPPageData::ClearSections()
{
    m_sections.clear();
    m_registrationOrder.clear();
}

std::vector<std::wstring> CNHPPageData::RegisteredSections() const { return m_registrationOrder; }

void CNHPPageData::GetProvider(CParams** ppProvider, const wchar_t* section) const
{
    ZRSTD_CHECK_ARG(ppProvider);
    *ppProvider = nullptr;
    if (!section) {
        CParams* m_pParamsProvider = m_current.Get();
        ZRSTD_CHECK_ARG(m_pParamsProvider);
        ZRSTD::ReturnRef(ppProvider, m_pParamsProvider);
        return;
    }
    auto found = m_sections.find(section);
    if (found == m_sections.end()) {
        ZRSTD::Trace(3, L"CNHPPageData::params(%ls) not loaded\n", section);
        ZRERR_throwError("ZRSTD", kSectionNotLoaded, L"the section \"%s\" is not loaded", section);
    }
    if (!found->second)
        ZRERR_throwError("ZRSTD", kSectionWithoutProvider, L"the section \"%s\" has no provider", section);
    ZRSTD::ReturnRef(ppProvider, found->second.Get());
}

ZRSTD::CAutoPtr<CParams> CNHPPageData::Provider(const wchar_t* section) const
{
    ZRSTD::CAutoPtr<CParams> provider;
    GetProvider(&provider, section);
    return provider;
}

int CNHPPageData::GetPlatformType() const
{
    if (!m_platformType) {
        std::int32_t type = 0;
        if (auto info = GetAdditionalInfo(m_dataSource))
            if (auto* value = info->FindValue(L"ComputerType"); value && value->GetType() == ZRPAR::VT_INT)
                type = static_cast<ZRPAR::IntValue*>(value)->GetValue();
        m_platformType = PlatformClassOfComputerType(type);
    }
    return *m_platformType;
}

std::int32_t CNHPPageData::GetServerVersionId() const
{
    if (auto version = GetDataSourceInt(m_dataSource, L"ZRADMSRV_SERVER_VERSION_ID")) return *version;
    if (auto server = ZRPlugin::GetDataSourceItem<ZRPlugin::IAdmServer>(m_dataSource, L"ZRADMSRV::AdmServer"))
        return server->GetServerVersionId();
    return 0;
}

std::optional<std::int32_t> CNHPPageData::GetNodeProperty(std::int32_t id) const
{
    auto properties = ZRPlugin::GetDataSourceItem<ZRPlugin::INodeProperties>(m_dataSource, L"NH_NODE_PROPERTIES");
    std::int32_t value = 0;
    if (!properties || !properties->GetNodeProperty(id, value)) return std::nullopt;
    return value;
}

ZRSTD::CAutoPtr<ZRPAR::Params> GetAdditionalInfo(ZRPlugin::IDataSource* dataSource)
{
    return GetItemParams(dataSource, L"NH_ADDITIONAL_INFO");
}

std::int32_t CNHPPageData::GetContextKind() const
{
    return GetDataSourceInt(m_dataSource, L"NH_CONTEXT_KIND").value_or(4);
}

std::optional<std::int32_t> GetDataSourceInt(ZRPlugin::IDataSource* dataSource, const wchar_t* name)
{
    auto item = ZRPlugin::GetDataSourceItem<ZRPlugin::IValueItem>(dataSource, name);
    if (!item) return std::nullopt;
    ZRSTD::CAutoPtr<ZRPAR::Value> value;
    item->GetValue(&value);
    if (!value || value->GetType() != ZRPAR::VT_INT) return std::nullopt;
    return static_cast<ZRPAR::IntValue*>(value.Get())->GetValue();
}

int PlatformClassOfComputerType(std::int32_t computerType)
{
    const auto bits = static_cast<std::uint32_t>(computerType);
    if (bits & 0x80u) return 2;
    if (bits & 0x202000u) return 1;
    return 0;
}

bool IsNacAvailable(ZRPlugin::IDataSource* dataSource)
{
    if (!dataSource) return false;
    const auto mask = GetDataSourceInt(dataSource, L"CUSTOM_FUNCTIONALITY");
    if (!mask || (static_cast<std::uint32_t>(*mask) & 0x44u) != 0x44u) return false;
    auto checker = ZRPlugin::GetDataSourceItem<ZRPlugin::IAccessChecker>(dataSource, L"NH_ACCESS_CHECK");
    return !checker || checker->IsAreaAllowed(1, L"FUNC_AREA_NAC");
}

bool IsServerHostedAgent(ZRPlugin::IDataSource* dataSource)
{
    try {
        CNHPPageData probe(dataSource, kObjectLocalSettings);
        auto provider = probe.RegisterSection(L"86", kSectionProduct, true);
        return provider->GetBoolOrDefault(L"ZRNAG_SERVER_INSTALLED", false, nullptr);
    } catch (const ZRERR::Error& error) {
        ZRERR::SayFailure2(error, "NHPP::IsServerHostedAgent", 5);
        return false;
    }
}

std::wstring ReadAgentVersion(ZRPlugin::IDataSource* dataSource)
{
    auto hosts = ZRPlugin::GetDataSourceItem<ZRPlugin::IHostsItem>(dataSource, L"ZRHST::Hosts");
    if (!hosts) return {};
    std::wstring address;
    if (auto info = GetAdditionalInfo(dataSource))
        if (auto* value = info->FindValue(L"ComputerAddress"); value && value->GetType() == ZRPAR::VT_STRING)
            address = static_cast<ZRPAR::StringValue*>(value)->GetValue();
    ZRSTD::CAutoPtr<ZRPlugin::SettingsStorage> productInfo;
    if (!hosts->GetHostStorage(address.c_str(), L"SS_PRODINFO", &productInfo) || !productInfo) return {};
    ZRSTD::CAutoPtr<ZRPAR::Params> section;
    productInfo->Read(L".core", L".independent", L"ZRNAG_VERSIONINFO", &section);
    if (!section) return {};
    if (auto* value = section->FindValue(L"ZRNAG_VERSION"); value && value->GetType() == ZRPAR::VT_STRING)
        return static_cast<ZRPAR::StringValue*>(value)->GetValue();
    return {};
}

}  // namespace NHPP
