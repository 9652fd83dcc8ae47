#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "nhpp/CParams.h"
#include "zrplugin/DataSource.h"

namespace NHPP {

// The kinds of edited object a configurator is made for.
enum ObjectKind : std::int32_t {
    kObjectPolicy = 0,
    kObjectLocalSettings = 1,
    kObjectTask = 2,
    kObjectInstallerPackage = 3,
    kObjectDistributionPoint = 4,
    kObjectBootServer = 10,
};

// How a section's provider is made.
enum SectionProviderKind : int {
    kSectionPolicy = 0,    // over "POLICY_SETTINGS"
    kSectionProduct = 1,   // over "LOCAL_SETTINGS" with "POLICY_SETTINGS" for locks
    kSectionTask = 2,      // over "TASK_PARAMS" with "POLICY_SETTINGS" for locks
    kSectionParams = 3,    // over "PARAMS", plain
};

inline constexpr const wchar_t* kProductName = L"1103";
inline constexpr const wchar_t* kProductVersion = L"1.0.0.0";

// Makes the provider of a section from the console's data source; each
// answers null when an item it needs is missing.
class SectionProviderFactory {
public:
    virtual ZRSTD::CAutoPtr<CParams> CreatePolicyProvider(const wchar_t* section) = 0;
    virtual ZRSTD::CAutoPtr<CParams> CreateProductProvider(const wchar_t* section) = 0;
    virtual ZRSTD::CAutoPtr<CParams> CreateTaskProvider(const wchar_t* section) = 0;
    virtual ZRSTD::CAutoPtr<CParams> CreateParamsProvider() = 0;

protected:
    ~SectionProviderFactory() = default;
};

// The providers over a data source, for product "1103" version "1.0.0.0";
// taskType names the task's entry in the policy's task section.
class DataSourceProviderFactory : public SectionProviderFactory {
public:
    DataSourceProviderFactory(ZRPlugin::IDataSource* dataSource, std::wstring taskType)
        : m_dataSource(dataSource), m_taskType(std::move(taskType))
    {
    }
    ZRSTD::CAutoPtr<CParams> CreatePolicyProvider(const wchar_t* section) override;
    ZRSTD::CAutoPtr<CParams> CreateProductProvider(const wchar_t* section) override;
    ZRSTD::CAutoPtr<CParams> CreateTaskProvider(const wchar_t* section) override;
    ZRSTD::CAutoPtr<CParams> CreateParamsProvider() override;

private:
    ZRPlugin::IDataSource* m_dataSource;
    std::wstring m_taskType;
};

// What one configurator shares with its pages: the data source, the object
// kind, the registered sections with their providers, the current provider,
// and facts about the edited computer read once.
class CNHPPageData {
public:
    static constexpr long kNoProviderCreated = 1182;  // unknown kind, or a container missing
    static constexpr long kSectionWithoutProvider = 1183;
    static constexpr long kSectionNotLoaded = 1187;

    explicit CNHPPageData(ZRPlugin::IDataSource* dataSource = nullptr, std::int32_t objectKind = 0,
                          std::wstring taskType = {});

    void SetDataSource(ZRPlugin::IDataSource* dataSource) { m_dataSource = dataSource; }
    ZRPlugin::IDataSource* GetDataSource() const { return m_dataSource; }
    void SetObjectKind(std::int32_t kind) { m_objectKind = kind; }
    std::int32_t GetObjectKind() const { return m_objectKind; }
    const std::wstring& GetTaskType() const { return m_taskType; }

    // Finds the provider registered for name, or makes one of kind through
    // factory (the data source's own when null); makeCurrent makes it the
    // provider of pages that name no section. Raises 1182 or 1183.
    ZRSTD::CAutoPtr<CParams> RegisterSection(const wchar_t* name, int providerKind, bool makeCurrent,
                                             SectionProviderFactory* factory = nullptr);
    void ClearSections();
    bool IsSectionRegistered(const std::wstring& name) const { return m_sections.count(name) != 0; }
    std::vector<std::wstring> RegisteredSections() const;

    // The provider of a registered section (the current one for a null name),
    // referenced. Raises 1187 for a section never registered, 1183 for one
    // without provider, the argument check when there is no current provider.
    void GetProvider(CParams** ppProvider, const wchar_t* section = nullptr) const;
    ZRSTD::CAutoPtr<CParams> Provider(const wchar_t* section = nullptr) const;

    // The agent version read from the computer's product information ("" when unknown).
    void SetAgentVersion(std::wstring version) { m_agentVersion = std::move(version); }
    const std::wstring& GetAgentVersion() const { return m_agentVersion; }
    // 0 for the usual computer, 1 for one whose type has any of the bits
    // 0x202000, 2 for one with bit 0x80; read once.
    int GetPlatformType() const;
    // The administration server's version id ("ZRADMSRV_SERVER_VERSION_ID"), 0 when unknown.
    std::int32_t GetServerVersionId() const;
    // A property of the console node the object is shown under
    // ("NH_NODE_PROPERTIES"); nothing when the console does not report it.
    std::optional<std::int32_t> GetNodeProperty(std::int32_t id) const;
    // The context kind of the console node the object is opened from (the
    // node's property 12, the data source's "NH_CONTEXT_KIND"); 4 when absent.
    std::int32_t GetContextKind() const;

private:
    ZRPlugin::IDataSource* m_dataSource;
    std::int32_t m_objectKind;
    std::wstring m_taskType;
    std::map<std::wstring, ZRSTD::CAutoPtr<CParams>> m_sections;
    std::vector<std::wstring> m_registrationOrder;
    ZRSTD::CAutoPtr<CParams> m_current;
    std::wstring m_agentVersion;
    mutable std::optional<int> m_platformType;
};

// The console's host information ("NH_ADDITIONAL_INFO"), or null.
ZRSTD::CAutoPtr<ZRPAR::Params> GetAdditionalInfo(ZRPlugin::IDataSource* dataSource);
// A 32-bit value item of the data source ("CUSTOM_FUNCTIONALITY", ...).
std::optional<std::int32_t> GetDataSourceInt(ZRPlugin::IDataSource* dataSource, const wchar_t* name);
// The platform class of a computer type: 2 for bit 0x80, 1 for any of 0x202000, else 0.
int PlatformClassOfComputerType(std::int32_t computerType);

// The network access control area: the functionality mask has both bits
// 0x04 and 0x40, and the access checker (when there is one) allows
// "FUNC_AREA_NAC". False without a data source.
bool IsNacAvailable(ZRPlugin::IDataSource* dataSource);
// Whether the edited computer's agent runs on the administration server
// itself: "ZRNAG_SERVER_INSTALLED" of its local section "86" (false when
// that cannot be read).
bool IsServerHostedAgent(ZRPlugin::IDataSource* dataSource);

}  // namespace NHPP

namespace NHPP {
// The edited computer's agent version ("ZRNAG_VERSION" in its product
// information storage "SS_PRODINFO"); raises what the storage raises, and
// gives "" when the data source lists no hosts or the value is absent.
std::wstring ReadAgentVersion(ZRPlugin::IDataSource* dataSource);
}  // namespace NHPP
