#include "host/console/ConsoleDataSource.h"

#include "host/console/ConsoleDialogs.h"
#include "host/console/ConsoleItems.h"
#include "host/console/GroupTasks.h"
#include "host/console/StoreKey.h"
#include "host/console/UpdateComponentCatalogue.h"
#include "host/services/DataProtection.h"
#include "host/services/PasswordPolicy.h"
#include "host/storage/SectionStorage.h"
#include "zrstd/Format.h"
#include "zrstd/ZRBaseQI.h"

namespace host {

namespace {

constexpr const char* kModule = "NGTCONSOLE";
constexpr long kMissingObject = 4;
constexpr long kPasswordRefused = 0x4E21;
constexpr const wchar_t* kProduct = L"1103";
constexpr const wchar_t* kVersion = L"1.0.0.0";

class AdmServer : public ZRSTD::ZRBaseQIImpl<ZRPlugin::IAdmServer> {
public:
    AdmServer(std::int32_t versionId, ZRSTD::CAutoPtr<SettingsStore> store) : m_versionId(versionId), m_store(std::move(store)) {}
    std::int32_t GetServerVersionId() override { return m_versionId; }
    // Servers after 0x53010 keep a catalogue of the update components they distribute (the store's own).
    bool GetUpdateComponents(ZRPAR::Params** ppCatalogue) override
    {
        ZRSTD_CHECK_ARG(ppCatalogue);
        *ppCatalogue = nullptr;
        if (m_versionId <= 0x53010) return false;
        *ppCatalogue = UpdateCatalogueParams(ReadUpdateComponents(*m_store)).Detach();
        return true;
    }
    void CheckPasswordPolicy(const wchar_t* password) override
    {
        if (auto violation = PasswordPolicyViolation(password ? password : L""))
            ZRERR_throwLocalizedError("ZRADMSRV", kPasswordRefused, *violation);
    }

private:
    std::int32_t m_versionId;
    ZRSTD::CAutoPtr<SettingsStore> m_store;
};

// The computers' other stores: product information of a computer in the
// store lives with its local settings.
class HostsItem : public ZRSTD::ZRBaseQIImpl<ZRPlugin::IHostsItem> {
public:
    explicit HostsItem(ZRSTD::CAutoPtr<SettingsStore> store) : m_store(std::move(store)) {}
    bool GetHostStorage(const wchar_t* address, const wchar_t* storageName, ZRPlugin::SettingsStorage** ppStorage) override
    {
        if (!address || !storageName || !ppStorage || std::wstring_view(storageName) != L"SS_PRODINFO") return false;
        for (const wchar_t* kind : {L"host:", L"dpoint:"}) {
            const std::wstring object = kind + std::wstring(address);
            if (!m_store->HasObject(object)) continue;
            *ppStorage = m_store->ObjectStorage(object).Detach();
            return true;
        }
        return false;
    }

private:
    ZRSTD::CAutoPtr<SettingsStore> m_store;
};

std::wstring StringAttribute(const ZRPAR::Params& attributes, const wchar_t* name)
{
    ZRPAR::Value* value = attributes.FindValue(name);
    return value && value->GetType() == ZRPAR::VT_STRING ? static_cast<ZRPAR::StringValue*>(value)->GetValue()
                                                          : std::wstring();
}

std::int32_t IntAttribute(const ZRPAR::Params& attributes, const wchar_t* name)
{
    ZRPAR::Value* value = attributes.FindValue(name);
    return value && value->GetType() == ZRPAR::VT_INT ? static_cast<ZRPAR::IntValue*>(value)->GetValue() : 0;
}

template <class T>
ZRSTD::CAutoPtr<ZRSTD::ZRBaseQI> Item(ZRSTD::CAutoPtr<T> object)
{
    return ZRSTD::CAutoPtr<ZRSTD::ZRBaseQI>(object.Get());
}

}  // namespace

ConsoleDataSource::ConsoleDataSource(ZRSTD::CAutoPtr<SettingsStore> store, const ObjectName& object,
                                     const Options& options)
    : m_store(std::move(store)), m_object(object)
{
    const auto entry = m_store->GetCatalogueEntry(object.Full());
    if (!entry)
        ZRERR_throwLocalizedError(kModule, kMissingObject,
                                  ZRSTD::FormatW(L"there is no object \"%s\" in %hs", object.Full(), m_store->Path()));
    m_configuration = ConsoleConfiguration::Read(*m_store);
    const ZRPAR::Params& attributes = *entry->attributes;
    m_policy = StringAttribute(attributes, kAttributePolicy);
    const std::wstring policy = options.withoutPolicy ? std::wstring() : m_policy;
    m_taskType = StringAttribute(attributes, kAttributeTaskType);
    auto own = m_store->ObjectStorage(object.Full());

    switch (object.type) {
    case ObjectType::Policy: AddItem(L"POLICY_SETTINGS", Item(own)); break;
    case ObjectType::Host:
    case ObjectType::DistributionPoint: {
        AddItem(L"LOCAL_SETTINGS", Item(own));
        AddItem(L"POLICY_SETTINGS", Item(PolicyStorageOf(policy)));
        auto info = ZRPAR::CreateParamsBody({{L"ComputerAddress", object.name},
                                             {L"ComputerType", IntAttribute(attributes, kAttributeComputerType)}});
        AddItem(L"NH_ADDITIONAL_INFO", Item(ZRSTD::MakeRef<ParamsItem>(info)));
        AddItem(L"ZRHST::Hosts", Item(ZRSTD::MakeRef<HostsItem>(m_store)));
        break;
    }
    case ObjectType::Task: {
        ZRSTD::CAutoPtr<ZRPAR::Params> stored;
        own->Read(kProduct, kVersion, kTaskParamsSection, &stored);
        m_params = stored ? stored : ZRPAR::CreateParams();
        m_paramsStorage = own;
        AddItem(L"TASK_PARAMS", Item(ZRSTD::MakeRef<ParamsItem>(m_params)));
        AddItem(L"POLICY_SETTINGS", Item(PolicyStorageOf(policy)));
        auto info = ZRPAR::CreateParamsBody({{L"LocalTask", false}, {L"ComputerType", std::int32_t{0}}});
        AddItem(L"NH_ADDITIONAL_INFO", Item(ZRSTD::MakeRef<ParamsItem>(info)));
        break;
    }
    case ObjectType::Package:
        AddItem(L"LOCAL_SETTINGS", Item(own));
        AddItem(L"POLICY_SETTINGS", Item(CreateMemorySettingsStorage(L"no policy")));
        break;
    case ObjectType::BootServer: {
        ZRSTD::CAutoPtr<ZRPAR::Params> stored;
        own->Read(kProduct, kVersion, kParamsSection, &stored);
        m_params = stored ? stored : ZRPAR::CreateParams();
        m_paramsStorage = own;
        AddItem(L"PARAMS", Item(ZRSTD::MakeRef<ParamsItem>(m_params)));
        break;
    }
    }
    AddConsoleItems();
}

ConsoleDataSource::ConsoleDataSource(ZRSTD::CAutoPtr<SettingsStore> store)
    : m_store(std::move(store)), m_object{ObjectType::Policy, L"", L""}
{
    m_configuration = ConsoleConfiguration::Read(*m_store);
    AddConsoleItems();
}

void ConsoleDataSource::AddConsoleItems()
{
    AddItem(L"CUSTOM_FUNCTIONALITY", Item(ZRSTD::MakeRef<ValueItem>(m_configuration.functionality)));
    AddItem(L"ZRADMSRV_SERVER_VERSION_ID", Item(ZRSTD::MakeRef<ValueItem>(m_configuration.serverVersionId)));
    AddItem(L"NH_CONTEXT_KIND", Item(ZRSTD::MakeRef<ValueItem>(m_configuration.contextKind)));
    AddItem(L"NH_ACCESS_CHECK", Item(ZRSTD::MakeRef<AccessChecker>(m_configuration.nacAllowed)));
    auto server = ZRSTD::MakeRef<AdmServer>(m_configuration.serverVersionId, m_store);
    AddItem(L"ZRADMSRV::AdmServer", Item(server));
    AddItem(L"ZRADMSRV::AdmServer2", Item(server));
    AddItem(L"SELECT_IPDIAPASON", Item(ZRSTD::MakeRef<IpRangePicker>(m_store)));
    AddItem(L"NH_DLG_SCHEDULE", Item(ZRSTD::MakeRef<ScheduleEditor>()));
    AddItem(L"ZRTSK::GroupTaskControl", Item(ZRSTD::MakeRef<GroupTaskControl>(m_store)));
    AddItem(L"ZRLIM::Limits", Item(ZRSTD::MakeRef<Limits>(m_configuration.forcedConnection)));
    // property 9: the node lets installation packages detect their proxy automatically
    AddItem(L"NH_NODE_PROPERTIES",
            Item(ZRSTD::MakeRef<NodeProperties>(std::map<std::int32_t, std::int32_t>{{9, m_configuration.proxyDetection ? 1 : 0}})));
}

ConsoleDataSource::~ConsoleDataSource() = default;

ZRSTD::CAutoPtr<ZRPlugin::SettingsStorage> ConsoleDataSource::PolicyStorageOf(const std::wstring& policyName)
{
    // a computer or task without a policy sees an empty one: nothing enforced, nothing proposed
    if (policyName.empty()) return CreateMemorySettingsStorage(L"no policy");
    return m_store->ObjectStorage(L"policy:" + policyName);
}

void ConsoleDataSource::AddItem(const std::wstring& name, ZRSTD::CAutoPtr<ZRSTD::ZRBaseQI> item)
{
    m_items[name] = std::move(item);
}

std::int32_t ConsoleDataSource::GetItem(const wchar_t* name, ZRSTD::ZRBaseQI** ppItem)
{
    if (!name || !ppItem) return 0;
    *ppItem = nullptr;
    auto found = m_items.find(name);
    if (found == m_items.end() && std::wstring_view(name) == L"DATA_PROTECTION") {
        // the key file is made the first time a secret is protected
        found = m_items.emplace(name, Item(OpenStoreKey(*m_store))).first;
    }
    if (found == m_items.end()) return 0;
    ZRSTD::ReturnRef(ppItem, found->second.Get());
    return 1;
}

void ConsoleDataSource::SaveParams()
{
    if (!m_params) return;
    const wchar_t* section = m_object.type == ObjectType::Task ? kTaskParamsSection : kParamsSection;
    m_paramsStorage->Replace(kProduct, kVersion, section, m_params.Get());
}

}  // namespace host
