#include "plugin/frame/ErrorMessage.h"

#include <gtest/gtest.h>

#include "controls/PluginEnvironment.h"
#include "plugin/frame/PluginApp.h"
#include "ui/Interaction.h"

namespace {

class ErrorMessages : public ::testing::Test {
protected:
    void SetUp() override
    {
        CZRNGTPlgApp::Instance().InitInstance("/nonexistent/");
        ui::ClearInteractionRecord();
        ui::SetInteractionDriver(&user);
    }
    void TearDown() override
    {
        ui::SetInteractionDriver(nullptr);
        GetPluginEnvironment().rightToLeft = false;
    }
    ui::ScriptedUser user;
};

ZRERR::Error Raised(long code, bool localized)
{
    return ZRERR::Error("ZRSRV", code, L"текст ошибки", __FILE__, __LINE__, localized);
}

}  // namespace

TEST_F(ErrorMessages, KnownCodesGetTheirOwnTextAfterThePrefix)
{
    user.Answer(IDOK).Answer(IDOK).Answer(IDOK).Answer(IDOK);
    CZRNGTErrorMessage message(L"Ошибка изменения настроек", nullptr);
    const auto broken = Raised(1259, false);
    message.ShowError(&broken);
    const auto localized = Raised(1184, true);
    message.ShowError(&localized);
    const auto other = Raised(5, true);
    message.ShowError(&other);
    const auto technical = Raised(5, false);
    message.ShowError(&technical);
    message.ShowError(nullptr);  // nothing
    ASSERT_EQ(ui::ShownBoxes().size(), 4u);
    EXPECT_EQ(ui::ShownBoxes()[0].text, L"Ошибка изменения настроек Connection is broken");
    EXPECT_EQ(ui::ShownBoxes()[1].text, L"Ошибка изменения настроек Access denied");
    EXPECT_EQ(ui::ShownBoxes()[2].text, L"Ошибка изменения настроек текст ошибки");
    EXPECT_EQ(ui::ShownBoxes()[3].text, L"Ошибка изменения настроек");  // a technical error shows the prefix alone
    EXPECT_EQ(ui::ShownBoxes()[0].style, MB_ICONERROR);
    EXPECT_EQ(ui::ShownBoxes()[0].caption, L"Агент администрирования Brenvik");
}

TEST_F(ErrorMessages, ShowMessageFormatsChoosesTheCaptionAndAddsRightToLeftStyles)
{
    GetPluginEnvironment().secondCaption = L"second";
    user.Answer(IDYES).Answer(IDOK);
    EXPECT_EQ(ShowMessage(nullptr, 2088, L"Офис", MB_YESNO, 0), IDYES);
    GetPluginEnvironment().rightToLeft = true;
    ShowMessage(nullptr, 0, L"plain", MB_OK, 1);
    EXPECT_EQ(ui::ShownBoxes()[0].text, L"Свойства: Офис");
    EXPECT_EQ(ui::ShownBoxes()[0].caption, L"second");
    EXPECT_EQ(ui::ShownBoxes()[1].style, 0x180000u);
    EXPECT_EQ(ui::ShownBoxes()[1].caption, L"Агент администрирования Brenvik");
}

TEST_F(ErrorMessages, AProviderReportsAFailedCommitThroughTheMessage)
{
    user.Answer(IDOK);
    CZRNGTErrorMessage message(L"Ошибка изменения настроек", nullptr);
    NHPP::ErrorReporter& reporter = message;
    reporter.ReportError(Raised(1267, false));
    ASSERT_EQ(ui::ShownBoxes().size(), 1u);
    EXPECT_EQ(ui::ShownBoxes()[0].text, L"Ошибка изменения настроек Request timeout");
}
