#include "plugin/frame/PluginApp.h"

#include <gtest/gtest.h>

#include "controls/PluginEnvironment.h"
#include "plugin/frame/PluginResources.h"
#include "support/TempFolder.h"
#include "zrpar/Serialize.h"
#include "zrstd/Strings.h"

namespace {

class PluginFolder : public ::testing::Test {
protected:
    void TearDown() override { CZRNGTPlgApp::Instance().ExitInstance(); }
    std::string Folder() const { return folder.Path().string() + "/"; }
    testsupport::TempFolder folder;
};

}  // namespace

TEST_F(PluginFolder, WithoutAResourceModuleTheOwnStringsServeAndTheLayoutIsLeftToRight)
{
    CZRNGTPlgApp::Instance().InitInstance(folder.Path().string());  // no trailing separator given
    EXPECT_EQ(CZRNGTPlgApp::Instance().PluginFolder(), Folder());
    EXPECT_FALSE(CZRNGTPlgApp::Instance().HasResourceModule());
    const PluginEnvironment& environment = GetPluginEnvironment();
    EXPECT_EQ(environment.messageCaption, L"Агент администрирования Brenvik");
    EXPECT_EQ(environment.secondCaption, environment.messageCaption);
    EXPECT_FALSE(environment.rightToLeft);
    EXPECT_EQ(environment.localHelpTemplate, ZRSTD::FromUtf8(Folder()) + L"help\\%1.htm");
    EXPECT_EQ(environment.onlineHelpTemplate, L"https://help.brenviklab.example/nagent/%1");
}

TEST_F(PluginFolder, TheResourceModuleBesideThePluginOverridesStringsById)
{
    std::ofstream(folder / "zrngtplgloc.dll") << "2582\t1\n1\tNetwork Agent\nnot a string line\n";
    CZRNGTPlgApp::Instance().InitInstance(Folder());
    EXPECT_TRUE(CZRNGTPlgApp::Instance().HasResourceModule());
    const PluginEnvironment& environment = GetPluginEnvironment();
    EXPECT_TRUE(environment.rightToLeft);
    EXPECT_EQ(environment.messageCaption, L"Network Agent");
    ui::ModuleStateScope scope(environment.moduleState);
    EXPECT_EQ(ui::LoadStringW(2030), L"Ошибка изменения настроек");  // not overridden: the plug-in's own
}

TEST(PluginResources, HoldTheQuotedStringsAndTheNotificationDefaults)
{
    const ui::ResourceModule& resources = frame::PluginResources();
    const struct {
        UINT id;
        const wchar_t* text;
    } quoted[] = {
        {5831, L"Редактирование запрещено"},
        {5836, L"Запрещен к изменению профилем \"%3\" в политике \"%1\" группы \"%2\""},
        {5902, L"%1help\\%2.htm"},
        {2312, L"Время начала: %1, продолжительность (минут): %2, дни недели: %3"},
        {5880, L"Thumbnails (fingerprints): %1\nSubject: %2\nAlternative subject name: %3"},
        {2330, L"\"Белый список\""},
    };
    for (const auto& q : quoted) {
        ASSERT_NE(resources.FindString(q.id), nullptr) << q.id;
        EXPECT_EQ(*resources.FindString(q.id), q.text) << q.id;
    }
    EXPECT_EQ(resources.FindString(7000), nullptr);  // only a resource module has it
    const auto* xml = resources.FindRaw(L"XML", frame::kNotificationDefaultsResource);
    ASSERT_NE(xml, nullptr);
    const auto document = ZRPAR::Deserialize(xml->data(), xml->size());
    EXPECT_EQ(document->GetSize(), 2u);
}
