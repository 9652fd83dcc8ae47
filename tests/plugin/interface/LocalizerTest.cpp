// Statistics rendered for the console by the accessor's localizer.
#include <gtest/gtest.h>

#include "plugin/interface/LoadedPlugin.h"
#include "zrpar/Render.h"

using testsupport::ErrorOf;
using testsupport::Plugin;

namespace {

ZRPlugin::IZRLocalizer& Localizer() { return *Plugin().Accessor()->GetLocalizer(); }

std::string Localized(const ZRSTD::CAutoPtr<ZRPAR::Params>& statistics)
{
    auto target = ZRPAR::CreateParams();
    Localizer().LocalizeStatistics(statistics.Get(), target.Get());
    return ZRPAR::RenderJson(*target);
}

}  // namespace

TEST(Localizer, KnownStatisticsAppearUnderTheirNamesAndSizesAsText)
{
    auto remote = ZRPAR::CreateParamsBody({{L"ZRNAG_ST_UA_SIZE_OF_FILES", 2048}, {L"ZRNAG_ST_UA_MULITICAST_PERCENT_USAGE", 12}});
    auto distributionPoint = ZRPAR::CreateParamsBody({
        {L"ZRNAG_ST_UA_REMOTE_INSTALL", remote},
        {L"ZRNAG_ST_UA_NUMBER_OF_FILE", 7},
        {L"ZRNAG_ST_UA_TCP_UPLOADED_SIZE", std::int64_t{3} * 1048576},
        {L"ZRNAG_ST_UA_MULITICAST_UPLOADED_SIZE", 1023},
    });
    auto statistics = ZRPAR::CreateParamsBody({
        {L"ZRNAG_ST_SYNC_ATTEMPTS_CNT", 5},
        {L"ZRNAG_ST_PING_ATTEMPTS_CNT", 4},
        {L"UNKNOWN_STATISTIC", 1},
        {L"ZRNAG_ST_UA_STATISTICS", distributionPoint},
    });
    const std::string json = Localized(statistics);
    EXPECT_EQ(json.find("UNKNOWN_STATISTIC"), std::string::npos);
    // in the table's order, not the source's
    const auto ping = json.find("\"Ping attempts count\": 4");
    const auto sync = json.find("\"Synchronization attempts count\": 5");
    ASSERT_NE(ping, std::string::npos);
    ASSERT_NE(sync, std::string::npos);
    EXPECT_LT(ping, sync);
    EXPECT_NE(json.find("\"Удаленная инсталляция\": {"), std::string::npos) << json;
    EXPECT_NE(json.find("\"Общий размер распространенных файлов (байт)\": \"2.0 КБ\""), std::string::npos) << json;
    EXPECT_NE(json.find("\"Общее число распространенных файлов\": 7"), std::string::npos);
    EXPECT_NE(json.find("\"Размер информации закаченной по протоколу TCP/IP\": \"3.0 МБ\""), std::string::npos);
    EXPECT_NE(json.find("\"Размер информации полученной по протоколу Multicast\": \"1023 байт\""), std::string::npos);
}

TEST(Localizer, PackagesBecomeOneTextEachAndResourceOnlyNamesFallBackToTheirKeys)
{
    auto package = ZRPAR::CreateParamsBody({{L"ZRNAG_ST_UA_PACKAGE_NAME", L"Agent"},
                                            {L"ZRNAG_ST_UA_PACKAGE_DISPLAY_PRODUCT", L"1103"},
                                            {L"ZRNAG_ST_UA_PACKAGE_DISPLAY_VERSION", L"1.0.0.0"}});
    auto packages = ZRPAR::CreateArrayValue();
    packages->Append(ZRPAR::CreateValue(package.Get()).Get());
    auto distributionPoint = ZRPAR::CreateParamsBody({{L"ZRNAG_ST_UA_WORKING_FOLDER", L"/var/updates"}});
    distributionPoint->AddValue(L"ZRNAG_ST_UA_PACKAGES", packages.Get());
    const std::string json = Localized(ZRPAR::CreateParamsBody({{L"ZRNAG_ST_UA_STATISTICS", distributionPoint}}));
    // strings 7000 and 7002 live only in a resource module, which this build has not
    EXPECT_NE(json.find("\"ZRNAG_ST_UA_WORKING_FOLDER\": \"/var/updates\""), std::string::npos) << json;
    EXPECT_NE(json.find("\"Agent ( 1103 : 1.0.0.0 )\""), std::string::npos) << json;
}

TEST(Localizer, ADistributionPointValueThatIsNotAContainerIsRefused)
{
    EXPECT_EQ(ErrorOf([] { Localized(ZRPAR::CreateParamsBody({{L"ZRNAG_ST_UA_STATISTICS", 5}})); }), "ZRPAR 1042");
    EXPECT_EQ(ErrorOf([] { Localizer().LocalizeStatistics(nullptr, ZRPAR::CreateParams().Get()); }), "ZRSTD 87");
}

TEST(Localizer, InstanceInformationLocalizesEachComponentWithStatistics)
{
    auto withStatistics = ZRPAR::CreateParamsBody(
        {{L"zrhst-ComponentName", L"nagent"}, {L"instStatistics", ZRPAR::CreateParamsBody({{L"ZRNAG_ST_PING_ATTEMPTS_CNT", 9}})}});
    auto without = ZRPAR::CreateParamsBody({{L"zrhst-ComponentName", L"other"}});
    auto instances = ZRPAR::CreateArrayValue();
    instances->Append(ZRPAR::CreateValue(without.Get()).Get());
    instances->Append(ZRPAR::CreateValue(withStatistics.Get()).Get());
    auto info = ZRPAR::CreateParams();
    info->AddValue(L"zrhst-rt-InstInfoArray", instances.Get());
    auto source = ZRPAR::CreateParamsBody({{L"zrhst-rt-InstInfo", info}});
    auto target = ZRPAR::CreateParams();
    Localizer().LocalizeInstanceInfo(source.Get(), target.Get());
    const auto expected = ZRPAR::CreateParamsBody({{L"nagent", ZRPAR::CreateParamsBody({{L"Ping attempts count", 9}})}});
    EXPECT_TRUE(ZRPAR::Equals(*target, *expected)) << ZRPAR::RenderText(*target);
    EXPECT_EQ(ErrorOf([&] { Localizer().LocalizeInstanceInfo(source.Get(), nullptr); }), "ZRSTD 87");
}
