#pragma once

// A polling page of a distribution point opened as the console opens it: the
// distribution point's own settings, and a policy that governs it.
#include <gtest/gtest.h>

#include "support/PageFixture.h"
#include "support/TestScheduleEditor.h"

namespace testsupport {

class ScanPageTest : public PageTest {
protected:
    void SetUp() override
    {
        PageTest::SetUp();
        scheduleEditor = source.Set(L"NH_DLG_SCHEDULE", ZRSTD::MakeRef<TestScheduleEditor>());
    }

    static constexpr const wchar_t* kSection = L"ZRNAG_SECTION_NETSCAN";
    static constexpr const wchar_t* kRangesSection = L"ZRNAG_SECTION_DPNS";

    template <class Page>
    void OpenPage()
    {
        Reopen();
        Open(new Page(PageData(NHPP::kObjectDistributionPoint, NHPP::kSectionProduct, {kSection, kRangesSection, L"86"})));
    }
    // The distribution point's own section, holding these values.
    void StoreLocal(const wchar_t* section, std::initializer_list<ZRPAR::ParamsBodyEntry> values)
    {
        local.Replace(L"1103", L"1.0.0.0", section, ZRPAR::CreateParamsBody(values).Get());
    }
    ZRSTD::CAutoPtr<ZRPAR::Params> LocalSection(const wchar_t* section) { return ReadStored(local, section); }
    ZRPAR::Value* LocalValue(const wchar_t* section, const wchar_t* key)
    {
        m_read = LocalSection(section);
        return m_read ? m_read->FindValue(key) : nullptr;
    }
    template <class V>
    auto Local(const wchar_t* section, const wchar_t* key)
    {
        ZRPAR::Value* value = LocalValue(section, key);
        EXPECT_TRUE(value) << ZRSTD::ToUtf8(key);
        return value ? static_cast<V*>(value)->GetValue() : decltype(static_cast<V*>(value)->GetValue()){};
    }
    // Both sections as stored, for proving that nothing changed.
    std::string Everything()
    {
        std::string text;
        for (const wchar_t* section : {kSection, kRangesSection})
            if (auto stored = LocalSection(section)) text += ZRPAR::RenderText(*stored, ZRPAR::RenderOptions{false});
        return text;
    }
    bool PressOk() { return Sheet().PressOk().outcome == host::PageHost::Outcome::Applied; }

    ZRPlugin::SettingsStorage& local = source.WithComputer();
    TestScheduleEditor* scheduleEditor = nullptr;

private:
    ZRSTD::CAutoPtr<ZRPAR::Params> m_read;
};

}  // namespace testsupport
