// The plug-in through its three exports, as the console loads it.
#include <gtest/gtest.h>

#include "plugin/interface/LoadedPlugin.h"
#include "zrplugin/Grouping.h"
#include "zrplugin/ProductEvents.h"
#include "zrplugin/SettingsExporter.h"
#include "zrstd/Trace.h"

using testsupport::ErrorOf;
using testsupport::Plugin;

TEST(EntryPoints, EachInterfaceNameMakesANewObjectAndOtherNamesLeaveTheOutPointer)
{
    const char* names[] = {"ZRPlugin::IPropGrouping2", "ZRPlugin::IProductEvents", "ZRPlugin::INHTaskpadLinkGrouping",
                           "ZRPlugin::ISettingsExporter"};
    for (const char* name : names) {
        SCOPED_TRACE(name);
        ZRSTD::ZRBaseQI* first = nullptr;
        ZRSTD::ZRBaseQI* second = nullptr;
        ASSERT_EQ(Plugin().QueryByName(name, &first), 1);
        ASSERT_EQ(Plugin().QueryByName(name, &second), 1);
        EXPECT_NE(first, second);
        // a fresh object has one reference: the caller's
        EXPECT_EQ(first->AddRef(), 2);
        EXPECT_EQ(first->Release(), 1);
        void* self = nullptr;
        EXPECT_TRUE(first->QueryInterface(name, &self));
        EXPECT_EQ(self, first);
        static_cast<ZRSTD::ZRBaseQI*>(self)->Release();
        EXPECT_TRUE(first->QueryInterface("ZRSTD::ZRBaseQI", &self));
        static_cast<ZRSTD::ZRBaseQI*>(self)->Release();
        EXPECT_EQ(first->Release(), 0);
        EXPECT_EQ(second->Release(), 0);
    }

    ZRSTD::ZRBaseQI* untouched = reinterpret_cast<ZRSTD::ZRBaseQI*>(0x10);
    for (const char* other : {"ZRPlugin::IPropGrouping2 ", "zrplugin::ipropgrouping2", "ZRPlugin::IPropGrouping",
                              "ZRPlugin::IZRAccessor", ""}) {
        SCOPED_TRACE(other);
        EXPECT_EQ(Plugin().QueryByName(other, &untouched), 0);
        EXPECT_EQ(untouched, reinterpret_cast<ZRSTD::ZRBaseQI*>(0x10));
    }
}

TEST(EntryPoints, AnObjectAnswersOnlyItsOwnInterface)
{
    auto exporter = Plugin().Query<ZRPlugin::ISettingsExporter>();
    ASSERT_TRUE(exporter);
    void* other = reinterpret_cast<void*>(0x10);
    EXPECT_FALSE(exporter->QueryInterface("ZRPlugin::IProductEvents", &other));
    EXPECT_EQ(other, nullptr);
    EXPECT_EQ(ErrorOf([&] { exporter->QueryInterface("ZRSTD::ZRBaseQI", nullptr); }), "ZRSTD 87");
}

TEST(EntryPoints, TheAccessorIsOneAndNamesTheAgent)
{
    ZRPlugin::IZRAccessor* accessor = Plugin().Accessor();
    ASSERT_NE(accessor, nullptr);
    EXPECT_EQ(Plugin().Accessor(), accessor);  // its names: TheConsoleInterfacesKeepTheirSlotOrder
    EXPECT_EQ(accessor->GetLocalizer(), accessor->GetLocalizer());
    EXPECT_NE(accessor->GetLocalizer(), nullptr);
}

TEST(EntryPoints, ConfiguratorsAreTracedWhileAlive)
{
    std::vector<std::wstring> lines;
    ZRSTD::SetTraceSink([&](int, std::string_view, std::wstring_view text) { lines.emplace_back(text); }, 5);
    {
        testsupport::FakeDataSource source;
        source.WithPolicyStorage();
        auto configurator = testsupport::Configure(source, 0);
    }
    ZRSTD::SetTraceSink({}, 0);
    auto count = [&](const wchar_t* prefix) {
        return std::count_if(lines.begin(), lines.end(), [&](const std::wstring& line) {
            return line.rfind(prefix, 0) == 0 && line.find(L"CZRNGTConfiguratorImpl") != std::wstring::npos;
        });
    };
    EXPECT_EQ(count(L"Created object"), 1);
    EXPECT_EQ(count(L"Destroyed object"), 1);
}

TEST(EntryPoints, TheMessageFilterIgnoresWhatIsNotForThePlugin)
{
    MSG message;
    message.message = WM_KEYDOWN;
    message.wParam = VK_RETURN;
    EXPECT_EQ(Plugin().FilterMessage(message), 0);  // no window of the plug-in
    message.hwnd = reinterpret_cast<HWND>(0x1234);   // not a window at all
    EXPECT_EQ(Plugin().FilterMessage(message), 0);
}

TEST(Events, TheAgentPublishesItsTwentyEightEventsInOrder)
{
    auto events = Plugin().Query<ZRPlugin::IProductEvents>();
    ASSERT_TRUE(events);
    auto result = ZRPAR::CreateParamsBody({{L"Events", L"replaced"}});
    events->GetEvents(result.Get());
    ASSERT_EQ(result->GetSize(), 1u);
    ZRPAR::Value* value = result->FindValue(L"Events");
    ASSERT_EQ(value->GetType(), ZRPAR::VT_ARRAY);
    const auto& list = *static_cast<ZRPAR::ArrayValue*>(value);
    ASSERT_EQ(list.GetSize(), 28u);
    auto fourth = list.GetAt(3);
    ASSERT_EQ(fourth->GetType(), ZRPAR::VT_PARAMS);
    const auto expected = ZRPAR::CreateParamsBody({{L"EventID", L"ZRNAG_EV_PATCH_INSTALL_ERROR"},
                                                   {L"LocalizedEventIDName", L"Ошибка при установке патча"},
                                                   {L"Severity", 3}});
    EXPECT_TRUE(ZRPAR::Equals(*static_cast<ZRPAR::ParamsValue*>(fourth.Get())->GetValue(), *expected));

    // the accessor gives the same list
    auto viaAccessor = ZRPAR::CreateParams();
    Plugin().Accessor()->GetEvents(viaAccessor.Get());
    EXPECT_TRUE(ZRPAR::Equals(*viaAccessor, *result));

    ZRPlugin::EventDescriptorList descriptors;
    events->FillEventList(descriptors);
    ASSERT_EQ(descriptors.size(), 28u);
    EXPECT_EQ(descriptors.back().eventId, L"VTNPROXY_STOPPED");
    EXPECT_EQ(descriptors.back().localizedName, L"VTN proxy server has stopped.");
    EXPECT_EQ(ErrorOf([&] { events->GetEvents(nullptr); }), "ZRSTD 87");
}

TEST(EntryPoints, TheConsoleInterfacesKeepTheirSlotOrder)
{
    // the console calls through the table by position: on this ABI a virtual
    // destructor takes two entries
    ZRPlugin::IZRAccessor* accessor = Plugin().Accessor();
    void** accessorTable = *reinterpret_cast<void***>(accessor);
    using NameSlot = const wchar_t* (*)(ZRPlugin::IZRAccessor*);
    EXPECT_EQ(std::wstring(reinterpret_cast<NameSlot>(accessorTable[4])(accessor)), L"1103");
    EXPECT_EQ(std::wstring(reinterpret_cast<NameSlot>(accessorTable[5])(accessor)), L"1.0.0.0");
    using ReservedSlot8 = const wchar_t* (*)(ZRPlugin::IZRAccessor*, std::int32_t, std::int32_t);
    EXPECT_EQ(std::wstring(reinterpret_cast<ReservedSlot8>(accessorTable[9])(accessor, 0, 0)), L"");

    testsupport::FakeDataSource source;
    source.WithPolicyStorage();
    auto configurator = testsupport::Configure(source, 0);
    void** table = *reinterpret_cast<void***>(configurator.Get());
    using CountSlot = std::int32_t (*)(ZRPlugin::IZRConfigurator*);
    using TitleSlot = const wchar_t* (*)(ZRPlugin::IZRConfigurator*, std::int32_t);
    EXPECT_EQ(reinterpret_cast<CountSlot>(table[3 + 1])(configurator.Get()), 14);
    EXPECT_EQ(std::wstring(reinterpret_cast<TitleSlot>(table[6 + 1])(configurator.Get(), 2)), L"Сеть");
    EXPECT_EQ(std::wstring(reinterpret_cast<TitleSlot>(table[7 + 1])(configurator.Get(), 0)),
              L"On this page you can modify desired application policy settings");
}
