#pragma once

#include <memory>
#include <string>
#include <vector>

#include "nhpp/PageData.h"
#include "plugin/frame/LiveObjectRegistry.h"
#include "plugin/frame/PageTables.h"
#include "zrplugin/IZRConfigurator.h"

// The configurator of one edited object: which pages exist and what they are
// called, the sections (params providers) they see, the pages themselves, and
// the defaults of a new object.
class CZRConfiguratorImpl : public ZRSTD::ZRBaseImpl<ZRPlugin::IZRConfigurator>, public NHPP::SectionProviderFactory {
public:
    struct PageDescriptor {
        std::wstring title;
        std::wstring description;
        std::wstring helpTopic;  // always empty here
        std::int32_t helpId = 0;
    };

    CZRConfiguratorImpl(std::int32_t objectKind, std::int32_t wizard, std::wstring taskType);

    std::int32_t GetPageCount() override { return static_cast<std::int32_t>(m_descriptors.size()); }
    void GetPageHelp(std::int32_t index, const wchar_t** ppTopic, std::int32_t* pHelpId) override;
    const wchar_t* GetPageTitle(std::int32_t index) override;
    const wchar_t* GetPageDescription(std::int32_t index) override;
    std::int32_t GetPageFlags(std::int32_t) override { return 0; }
    void SetInterfaces(ZRPlugin::IDataSource* dataSource) override;

    // The provider of a section, made by this configurator when it is new.
    virtual ZRSTD::CAutoPtr<NHPP::CParams> RegisterSection(const wchar_t* name, int providerKind,
                                                           NHPP::CNHPPageData& pageData, bool makeCurrent);
    ZRSTD::CAutoPtr<NHPP::CParams> CreatePolicyProvider(const wchar_t* section) override;
    ZRSTD::CAutoPtr<NHPP::CParams> CreateProductProvider(const wchar_t* section) override;
    ZRSTD::CAutoPtr<NHPP::CParams> CreateTaskProvider(const wchar_t* section) override;
    ZRSTD::CAutoPtr<NHPP::CParams> CreateParamsProvider() override;

    const std::shared_ptr<NHPP::CNHPPageData>& PageData() const { return m_pageData; }

protected:
    ~CZRConfiguratorImpl() override = default;
    // What the object's own configurator adds to SetInterfaces.
    virtual void OnSetInterfaces() = 0;
    const PageDescriptor* Descriptor(std::int32_t index) const;

    std::wstring m_scratch;
    std::shared_ptr<NHPP::CNHPPageData> m_pageData;
    std::vector<PageDescriptor> m_descriptors;
    std::wstring m_taskType;
    std::wstring m_productName = NHPP::kProductName;
    std::wstring m_productVersion = NHPP::kProductVersion;
    std::int32_t m_objectKind;
    std::int32_t m_wizard;
    ZRPlugin::IDataSource* m_dataSource = nullptr;

private:
    NHPP::DataSourceProviderFactory DataSourceFactory() const { return {m_dataSource, m_taskType}; }
};

class CZRNGTConfiguratorImpl : public CZRConfiguratorImpl, private frame::PageConditions {
public:
    CZRNGTConfiguratorImpl(std::int32_t objectKind, std::int32_t wizard, std::wstring taskType);
    ~CZRNGTConfiguratorImpl() override;

    void CreatePage(ZRPlugin::IZRConfiguratorPage2** ppPage, HWND parent, std::int32_t index) override;
    void InitDefaults() override;

protected:
    void OnSetInterfaces() override;

private:
    frame::ConfiguratorMode Mode() const { return frame::ModeOf(m_objectKind, m_wizard, m_taskType); }
    bool IsNacAvailable() override;
    bool IsServerHostedAgent() override;
    int GetPlatformType() override;
    std::int32_t GetInstallerInternalVersion() override;
    std::int32_t GetServerVersionId() override;

    LiveObjectRegistry::Entry m_liveEntry;
    std::int32_t m_serverHosted = -1;  // -1 until read
};
