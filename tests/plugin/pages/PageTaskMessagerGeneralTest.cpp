#include "plugin/pages/tasks/PageTaskMessagerGeneral.h"

#include <gtest/gtest.h>

#include "TaskParamsPageTest.h"
#include "ui/RichEdit.h"
#include "ui/Services.h"

namespace {

using Page = CPageTaskMessagerGeneral;
using host::PageHost;
constexpr const wchar_t* kType = L"ZRNAG_TASK_SHOW_MSG";

class MessagerPage : public testsupport::TaskParamsPageTest {
protected:
    void OpenTask() { Open(new Page(TaskData(kType))); }
};

}  // namespace

TEST_F(MessagerPage, AnEmptyTextIsRefused)
{
    OpenTask();
    EXPECT_EQ(Text(Page::kText), L"");
    EXPECT_EQ(PressOk(), PageHost::Outcome::Refused);
    EXPECT_EQ(Boxes(), std::vector<std::wstring>{L"Не задан текст сообщения."});
    EXPECT_EQ(Saved(L"ZRNAG_MSG_TEXT"), nullptr);
    ui::Type(Control(Page::kText), L"Обновление в 18:00\nСохраните файлы.");
    ASSERT_EQ(PressOk(), PageHost::Outcome::Applied);
    EXPECT_EQ(SavedString(L"ZRNAG_MSG_TEXT"), L"Обновление в 18:00\r\nСохраните файлы.");
}

TEST_F(MessagerPage, AClickOnAnAddressOpensItAndLeavesTheTextAlone)
{
    StoreTask({{L"ZRNAG_MSG_TEXT", L"Правила:\r\nсм. https://intranet.corp/rules, или www.corp.example."}});
    OpenTask();
    ui::ClearServiceCalls();
    ui::ClickRichEditText(Control(Page::kText), L"intranet.corp");
    ui::ClickRichEditText(Control(Page::kText), L"corp.example");
    ui::ClickRichEditText(Control(Page::kText), L"Правила");  // no link there
    std::vector<std::wstring> opened;
    for (const auto& call : ui::ServiceCalls())
        if (call.service == L"open") opened.push_back(call.argument);
    EXPECT_EQ(opened, (std::vector<std::wstring>{L"https://intranet.corp/rules", L"www.corp.example"}));
    EXPECT_FALSE(page->IsModified());
    EXPECT_EQ(Text(Page::kText), L"Правила:\r\nсм. https://intranet.corp/rules, или www.corp.example.");
}

TEST_F(MessagerPage, AnEnforcedTextIsShownReadOnlyAndKept)
{
    StoreTask({{L"ZRNAG_MSG_TEXT", L"Задано политикой"}});
    Govern(kType, {L"ZRNAG_MSG_TEXT"});
    OpenTask();
    EXPECT_THROW(ui::Type(Control(Page::kText), L"!"), ui::ActionRefused);
    EXPECT_EQ(Text(Page::kText), L"Задано политикой");
    ASSERT_EQ(PressOk(), PageHost::Outcome::Applied);
    EXPECT_EQ(SavedString(L"ZRNAG_MSG_TEXT"), L"Задано политикой");
}
