#include "nhpp/PageData.h"

#include <gtest/gtest.h>

#include "support/FakeDataSource.h"

using NHPP::CNHPPageData;
using testsupport::FakeDataSource;

namespace {

long CodeOf(const std::function<void()>& call)
{
    try {
        call();
    } catch (const ZRERR::Error& error) {
        return error.GetCode();
    }
    return 0;
}

}  // namespace

TEST(PageData, ASectionRegisteredTwiceKeepsItsFirstProvider)
{
    FakeDataSource source;
    source.WithPolicyStorage();
    CNHPPageData pageData(&source, NHPP::kObjectPolicy);
    auto first = pageData.RegisterSection(L"86", NHPP::kSectionPolicy, false);
    auto second = pageData.RegisterSection(L"86", NHPP::kSectionProduct, true);  // the kind no longer matters
    EXPECT_EQ(first.Get(), second.Get());
    EXPECT_EQ(pageData.Provider().Get(), first.Get());
    EXPECT_EQ(pageData.Provider(L"86").Get(), first.Get());
    auto unnamed = pageData.RegisterSection(nullptr, NHPP::kSectionPolicy, false);
    EXPECT_EQ(pageData.Provider(L"").Get(), unnamed.Get());
    EXPECT_EQ(pageData.RegisteredSections(), (std::vector<std::wstring>{L"86", L""}));
}

TEST(PageData, ProvidersAreRefusedWithTheMakersCodes)
{
    FakeDataSource source;
    source.WithPolicyStorage();
    CNHPPageData pageData(&source, NHPP::kObjectPolicy);
    EXPECT_EQ(CodeOf([&] { pageData.Provider(); }), 0x57);  // no current provider yet
    EXPECT_EQ(CodeOf([&] { pageData.Provider(L"86"); }), CNHPPageData::kSectionNotLoaded);
    EXPECT_EQ(CodeOf([&] { pageData.RegisterSection(L"x", 9, false); }), CNHPPageData::kNoProviderCreated);
    EXPECT_EQ(CodeOf([&] { pageData.RegisterSection(L"86", NHPP::kSectionProduct, false); }),
              CNHPPageData::kNoProviderCreated);  // no local settings in this data source
    EXPECT_EQ(CodeOf([&] { pageData.RegisterSection(L"", NHPP::kSectionParams, false); }),
              CNHPPageData::kNoProviderCreated);
    EXPECT_FALSE(pageData.IsSectionRegistered(L"86"));  // a failed registration leaves nothing behind
}

TEST(PageData, PlatformClassAndAccessAreReadFromTheConsole)
{
    const struct {
        std::int32_t type;
        int platform;
    } types[] = {{0, 0}, {0x2000, 1}, {0x200000, 1}, {0x202000, 1}, {0x80, 2}, {0x2080, 2}, {0x1000, 0}, {-1, 2}};
    for (const auto& t : types) EXPECT_EQ(NHPP::PlatformClassOfComputerType(t.type), t.platform) << t.type;

    FakeDataSource computer;
    computer.WithComputer(0x2000);
    CNHPPageData pageData(&computer, NHPP::kObjectDistributionPoint);
    EXPECT_EQ(pageData.GetPlatformType(), 1);
    EXPECT_EQ(CNHPPageData(nullptr).GetPlatformType(), 0);
    EXPECT_EQ(pageData.GetServerVersionId(), 0);
    computer.WithServerVersion(0xA5000);
    EXPECT_EQ(pageData.GetServerVersionId(), 0xA5000);

    EXPECT_FALSE(NHPP::IsNacAvailable(nullptr));
    EXPECT_FALSE(NHPP::IsNacAvailable(&computer));
    computer.WithFunctionality(0x44);
    EXPECT_TRUE(NHPP::IsNacAvailable(&computer));
    computer.WithNacAccess(false);
    EXPECT_FALSE(NHPP::IsNacAvailable(&computer));

    EXPECT_FALSE(NHPP::IsServerHostedAgent(&computer));
    EXPECT_FALSE(NHPP::IsServerHostedAgent(nullptr));
}

namespace {

// The console's hosts: one computer "computer" with its product information.
class Hosts : public ZRSTD::ZRBaseQIImpl<ZRPlugin::IHostsItem> {
public:
    ZRSTD::CAutoPtr<ZRPlugin::SettingsStorage> productInfo = host::CreateMemorySettingsStorage(L"prodinfo");
    std::vector<std::wstring> asked;
    bool GetHostStorage(const wchar_t* address, const wchar_t* storageName, ZRPlugin::SettingsStorage** ppStorage) override
    {
        asked.push_back(std::wstring(address) + L"/" + storageName);
        if (std::wstring_view(address) != L"computer") return false;
        ZRSTD::ReturnRef(ppStorage, productInfo.Get());
        return true;
    }
};

}  // namespace

TEST(PageData, TheAgentVersionComesFromTheComputersProductInformation)
{
    FakeDataSource source;
    source.WithComputer();
    EXPECT_EQ(NHPP::ReadAgentVersion(&source), L"");  // the console lists no hosts
    Hosts* hosts = source.Set(L"ZRHST::Hosts", ZRSTD::MakeRef<Hosts>());
    EXPECT_EQ(NHPP::ReadAgentVersion(&source), L"");  // nothing stored yet
    hosts->productInfo->Replace(L".core", L".independent", L"ZRNAG_VERSIONINFO",
                                ZRPAR::CreateParamsBody({{L"ZRNAG_VERSION", L"15.1.0.20"}}).Get());
    EXPECT_EQ(NHPP::ReadAgentVersion(&source), L"15.1.0.20");
    EXPECT_EQ(hosts->asked.back(), L"computer/SS_PRODINFO");
}
