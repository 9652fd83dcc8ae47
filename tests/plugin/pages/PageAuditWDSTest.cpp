#include "plugin/pages/agent/PageAuditWDS.h"

#include <gtest/gtest.h>

#include "support/PageFixture.h"
#include "zrpar/Render.h"

using testsupport::LockedSetting;
using testsupport::Setting;

namespace {

using Page = CPageAuditWDS;
constexpr const wchar_t* kSection = L"ZRNAG_WDS_USRLOG";
constexpr const wchar_t* kReadKey = L"ZRNAG_WDS_USRLOG_READ_MASKS";
constexpr const wchar_t* kWriteKey = L"ZRNAG_WDS_USRLOG_WRITE_MASKS";
const std::wstring kDefaultText = L"*.txt\r\n*.rtf\r\n*.doc\r\n*.xls\r\n*.docx\r\n*.xlsx\r\n*.odt\r\n*.pdf\r\n";

// A mask array in the policy form: every item a value container.
ZRSTD::CAutoPtr<ZRPAR::ArrayValue> PolicyMasks(std::initializer_list<const wchar_t*> masks)
{
    auto array = ZRPAR::CreateArrayValue();
    for (const wchar_t* mask : masks)
        array->Append(ZRPAR::CreateValue(ZRPAR::CreateParamsBody({{L"ZRPRSS_Val", mask}, {L"ZRPRSS_Mnd", false}}).Get()).Get());
    return array;
}

class AuditPage : public testsupport::PageTest {
protected:
    void OpenPolicy()
    {
        Reopen();
        Open(new Page(PageData(NHPP::kObjectPolicy, NHPP::kSectionPolicy, {kSection})));
    }
    bool ReadOnly(int id) { return (GetWindowLongW(Control(id), GWL_STYLE) & ES_READONLY) != 0; }
};

}  // namespace

TEST_F(AuditPage, APolicyWithoutMasksShowsTheDefaultsReadOnlyUntilTheAuditIsOn)
{
    OpenPolicy();
    EXPECT_FALSE(Checked(Page::kEnable));
    EXPECT_FALSE(Visible(Page::kNote));
    for (bool on : {false, true}) {
        for (int id : {Page::kReadMasks, Page::kWriteMasks}) {
            EXPECT_EQ(Text(id), kDefaultText);
            EXPECT_EQ(ReadOnly(id), !on) << id;
        }
        for (int id : {Page::kReadLock, Page::kWriteLock}) EXPECT_EQ(IsWindowEnabled(LockDropDown(id)), on) << id;
        ui::Click(Control(Page::kEnable));
    }
}

TEST_F(AuditPage, MasksAreWrittenLineByLineAndAnEmptiedEditWritesNoArray)
{
    StorePolicySection(kSection, {{kWriteKey, Setting(PolicyMasks({L"*.one"}), false)}});
    OpenPolicy();
    EXPECT_EQ(Text(Page::kWriteMasks), L"*.one\r\n");
    ui::Click(Control(Page::kEnable));
    ui::EnterText(Control(Page::kReadMasks), L"\n*.log\n\n  *.cfg \n");  // blank lines go, blanks in a line stay
    SetLock(Page::kReadLock, true);
    ui::ClearText(Control(Page::kWriteMasks));
    ASSERT_EQ(Sheet().PressOk().outcome, host::PageHost::Outcome::Applied);
    EXPECT_TRUE(StoredValue<ZRPAR::BoolValue>(kSection, L"ZRNAG_WDS_USRLOG_ENABLE"));
    EXPECT_TRUE(StoredMandatory(kSection, kReadKey));
    EXPECT_EQ(Stored(kSection, kWriteKey), nullptr);

    OpenPolicy();
    EXPECT_EQ(Text(Page::kReadMasks), L"*.log\r\n  *.cfg \r\n");
    EXPECT_EQ(Text(Page::kWriteMasks), kDefaultText);  // none stored: the defaults again
    EXPECT_EQ(LockShown(Page::kReadLock), L"Редактирование запрещено");
}

TEST_F(AuditPage, AnArrayAParentLocksIsShownAndKeptAsItIs)
{
    StorePolicySection(kSection, {{L"ZRNAG_WDS_USRLOG_ENABLE", Setting(true, false)},
                                  {kReadKey, LockedSetting(PolicyMasks({L"*.key", L"*.pem"}), {L"Офис", L"Головная", L""})}});
    OpenPolicy();
    EXPECT_EQ(Text(Page::kReadMasks), L"*.key\r\n*.pem\r\n");
    EXPECT_FALSE(Enabled(Page::kReadMasks));
    EXPECT_FALSE(IsWindowEnabled(LockDropDown(Page::kReadLock)));
    EXPECT_FALSE(ReadOnly(Page::kWriteMasks));
    ASSERT_EQ(Sheet().PressOk().outcome, host::PageHost::Outcome::Applied);
    ASSERT_NE(Stored(kSection, kReadKey), nullptr);
    EXPECT_TRUE(ZRPAR::GetBoolValue(Stored(kSection, kReadKey), L"ZRPRSS_ValLck"));
}

TEST_F(AuditPage, TheExportListsTheFlagAndBothMaskLists)
{
    StorePolicySection(kSection, {{kWriteKey, Setting(PolicyMasks({L"*.one"}), true)}});
    NHPP::CNHPPageData data(&source, NHPP::kObjectPolicy);
    data.RegisterSection(kSection, NHPP::kSectionPolicy, true);
    const auto results = Page::Export(data);
    ASSERT_EQ(results.size(), 1u);
    const std::string text = ZRPAR::RenderText(*results[0]);
    for (const char* part : {"Включить аудит (params):\n  Включить аудит (string): \"Нет\"\n",
                             "  Маски файлов, чтение которых нужно отлеживать (array[8]):\n    [0] (string): \"*.txt\"\n",
                             "  Маски файлов, модификацию которых следует отлеживать (array[1]):\n"
                             "    [0] (string): \"*.one\"\n"
                             "  Замочек \"Маски файлов, модификацию которых следует отлеживать\" (string): "
                             "\"Редактирование запрещено\"\n"})
        EXPECT_NE(text.find(part), std::string::npos) << part << "\n" << text;
}
