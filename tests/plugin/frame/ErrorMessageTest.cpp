#include "plugin/frame/ErrorMessage.h"

#include <gtest/gtest.h>

#include "controls/PluginEnvironment.h"
#include "support/PluginFixture.h"

namespace {

class ErrorMessages : public testsupport::PluginTest {
protected:
    void TearDown() override
    {
        PluginTest::TearDown();
        GetPluginEnvironment().rightToLeft = false;
    }
};

ZRERR::Error Raised(long code, bool localized)
{
    return ZRERR::Error("ZRSRV", code, L"текст ошибки", __FILE__, __LINE__, localized);
}

}  // namespace

TEST_F(ErrorMessages, KnownCodesGetTheirOwnTextAfterThePrefix)
{
    const struct {
        long code;
        bool localized;
        const wchar_t* shown;
    } cases[] = {
        {1259, false, L"Ошибка изменения настроек Connection is broken"},
        {1184, true, L"Ошибка изменения настроек Access denied"},
        {5, true, L"Ошибка изменения настроек текст ошибки"},
        {5, false, L"Ошибка изменения настроек"},  // a technical error shows the prefix alone
    };
    CZRNGTErrorMessage message(L"Ошибка изменения настроек", nullptr);
    std::vector<std::wstring> expected;
    for (const auto& c : cases) {
        const auto error = Raised(c.code, c.localized);
        message.ShowError(&error);
        expected.push_back(c.shown);
    }
    message.ShowError(nullptr);  // nothing
    EXPECT_EQ(Boxes(), expected);
    EXPECT_EQ(ui::ShownBoxes()[0].style, MB_ICONERROR);
    EXPECT_EQ(ui::ShownBoxes()[0].caption, L"Агент администрирования Brenvik");
}

TEST_F(ErrorMessages, ShowMessageFormatsChoosesTheCaptionAndAddsRightToLeftStyles)
{
    GetPluginEnvironment().secondCaption = L"second";
    user.Answer(IDYES);
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
    CZRNGTErrorMessage message(L"Ошибка изменения настроек", nullptr);
    NHPP::ErrorReporter& reporter = message;
    reporter.ReportError(Raised(1267, false));
    EXPECT_EQ(Boxes(), std::vector<std::wstring>{L"Ошибка изменения настроек Request timeout"});
}
