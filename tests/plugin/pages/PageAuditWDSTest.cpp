#include "plugin/pages/agent/PageAuditWDS.h"

#include <gtest/gtest.h>

#include "support/PageFixture.h"
#include "support/PolicyBuilder.h"
#include "zrpar/Render.h"

using testsupport::LockedSetting;
using testsupport::Section;
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
    void Store(std::initializer_list<ZRPAR::ParamsBodyEntry> settings)
    {
        policy.Replace(L"1103", L"1.0.0.0", kSection, Section(settings).Get());
    }
    void OpenPolicy()
    {
        Reopen();
        Open(new Page(PageData(NHPP::kObjectPolicy, NHPP::kSectionPolicy, {kSection})));
    }
    HWND Lock(int id) { return GetDlgItem(GetDlgItem(window, id), CLockCtrl::kDropDownId); }
    bool ReadOnly(int id) { return (GetWindowLongW(Control(id), GWL_STYLE) & ES_READONLY) != 0; }
};

}  // namespace

TEST(AuditMasks, LinesBecomeMasksAsTheyAreAndMasksBecomeLines)
{
    const struct {
        const wchar_t* text;
        std::vector<std::wstring> masks;
    } cases[] = {
        {L"", {}},
        {L"\r\n\r\n", {}},
        {L"*.log", {L"*.log"}},
        {L"*.log\r\n\r\n  *.cfg \r\n", {L"*.log", L"  *.cfg "}},  // blank lines go, blanks in a line stay
        {L"a\nb\r\n", {L"a", L"b"}},
    };
    for (const auto& c : cases) EXPECT_EQ(Page::MasksOf(c.text), c.masks) << static_cast<const void*>(c.text);
    EXPECT_EQ(Page::MasksText(Page::DefaultMasks()), kDefaultText);
    EXPECT_EQ(Page::MasksText({}), L"");
}

TEST_F(AuditPage, APolicyWithoutMasksShowsTheDefaultsReadOnlyUntilTheAuditIsOn)
{
    OpenPolicy();
    EXPECT_FALSE(Checked(Page::kEnable));
    EXPECT_EQ(Text(Page::kReadMasks), kDefaultText);
    EXPECT_EQ(Text(Page::kWriteMasks), kDefaultText);
    EXPECT_FALSE(Visible(Page::kNote));
    for (int id : {Page::kReadMasks, Page::kWriteMasks}) EXPECT_TRUE(ReadOnly(id)) << id;
    for (int id : {Page::kReadLock, Page::kWriteLock}) EXPECT_FALSE(IsWindowEnabled(Lock(id))) << id;
    EXPECT_TRUE(IsWindowEnabled(Lock(Page::kEnableLock)));
    ui::Click(Control(Page::kEnable));
    for (int id : {Page::kReadMasks, Page::kWriteMasks}) EXPECT_FALSE(ReadOnly(id)) << id;
    for (int id : {Page::kReadLock, Page::kWriteLock}) EXPECT_TRUE(IsWindowEnabled(Lock(id))) << id;
    EXPECT_TRUE(page->IsModified());
}

TEST_F(AuditPage, MasksAreWrittenLineByLineAndAnEmptiedEditWritesNoArray)
{
    Store({{kWriteKey, Setting(PolicyMasks({L"*.one"}), false)}});
    OpenPolicy();
    EXPECT_EQ(Text(Page::kWriteMasks), L"*.one\r\n");
    ui::Click(Control(Page::kEnable));
    ui::EnterText(Control(Page::kReadMasks), L"\n*.log\n\n  *.cfg\n");
    EXPECT_EQ(Text(Page::kReadMasks), L"\r\n*.log\r\n\r\n  *.cfg\r\n");  // Enter starts a line
    ui::SelectItem(Lock(Page::kReadLock), L"Редактирование запрещено");
    ui::ClearText(Control(Page::kWriteMasks));
    ASSERT_EQ(Sheet().PressOk().outcome, host::PageHost::Outcome::Applied);
    EXPECT_TRUE(StoredValue<ZRPAR::BoolValue>(kSection, L"ZRNAG_WDS_USRLOG_ENABLE"));
    EXPECT_TRUE(StoredMandatory(kSection, kReadKey));
    EXPECT_EQ(Stored(kSection, kWriteKey), nullptr);

    OpenPolicy();
    EXPECT_EQ(Text(Page::kReadMasks), L"*.log\r\n  *.cfg\r\n");
    EXPECT_EQ(Text(Page::kWriteMasks), kDefaultText);  // none stored: the defaults again
    EXPECT_EQ(GetWindowTextW(Lock(Page::kReadLock)), L"Редактирование запрещено");
}

TEST_F(AuditPage, AnArrayAParentLocksIsShownAndKeptAsItIs)
{
    Store({{L"ZRNAG_WDS_USRLOG_ENABLE", Setting(true, false)},
           {kReadKey, LockedSetting(PolicyMasks({L"*.key", L"*.pem"}), {L"Офис", L"Головная", L""})}});
    OpenPolicy();
    EXPECT_EQ(Text(Page::kReadMasks), L"*.key\r\n*.pem\r\n");
    EXPECT_TRUE(ReadOnly(Page::kReadMasks));
    EXPECT_FALSE(Enabled(Page::kReadMasks));
    EXPECT_FALSE(IsWindowEnabled(Lock(Page::kReadLock)));
    EXPECT_FALSE(ReadOnly(Page::kWriteMasks));
    ASSERT_EQ(Sheet().PressOk().outcome, host::PageHost::Outcome::Applied);
    ZRPAR::Params* kept = Stored(kSection, kReadKey);
    ASSERT_NE(kept, nullptr);
    EXPECT_TRUE(ZRPAR::GetBoolValue(kept, L"ZRPRSS_ValLck"));
    EXPECT_EQ(Stored(kSection, kWriteKey)->FindValue(L"ZRPRSS_Val")->GetType(), ZRPAR::VT_ARRAY);  // the defaults
}

TEST_F(AuditPage, OnOneComputerTheMaskLocksStayClosedWhileTheAuditIsOn)
{
    source.WithComputer();
    Open(new CPageAuditWDSProduct(PageData(NHPP::kObjectLocalSettings, NHPP::kSectionProduct, {kSection})));
    ui::Click(Control(Page::kEnable));
    EXPECT_FALSE(ReadOnly(Page::kReadMasks));
    for (int id : {Page::kEnableLock, Page::kReadLock, Page::kWriteLock}) EXPECT_FALSE(IsWindowEnabled(Lock(id))) << id;
}

TEST_F(AuditPage, TheExportListsTheFlagAndBothMaskLists)
{
    Store({{kWriteKey, Setting(PolicyMasks({L"*.one"}), true)}});
    NHPP::CNHPPageData data(&source, NHPP::kObjectPolicy);
    data.RegisterSection(kSection, NHPP::kSectionPolicy, true);
    const auto results = Page::Export(data);
    ASSERT_EQ(results.size(), 1u);
    const std::string text = ZRPAR::RenderText(*results[0]);
    EXPECT_NE(text.find("Включить аудит (params):\n  Включить аудит (string): \"Нет\"\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Маски файлов, чтение которых нужно отлеживать (params):\n"
                        "  Маски файлов, чтение которых нужно отлеживать (array[8]):\n    [0] (string): \"*.txt\"\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("  Маски файлов, модификацию которых следует отлеживать (array[1]):\n    [0] (string): \"*.one\"\n"
                        "  Замочек \"Маски файлов, модификацию которых следует отлеживать\" (string): "
                        "\"Редактирование запрещено\"\n"),
              std::string::npos)
        << text;
}
