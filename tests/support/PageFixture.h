#pragma once

// A settings page opened as the console opens it: the plug-in started, a
// data source with a policy, a sheet, a scripted user; and what a test reads
// back: control states, message boxes, stored settings in the policy form,
// exported trees.
#include <gtest/gtest.h>

#include <memory>

#include "controls/LockCtrl.h"
#include "controls/NHPPropertyPageBase.h"
#include "host/pagehost/PageHost.h"
#include "nhpp/PageData.h"
#include "support/FakeDataSource.h"
#include "support/PluginFixture.h"
#include "support/PolicyBuilder.h"
#include "support/StorageDoubles.h"
#include "ui/UserActions.h"
#include "zrpar/Render.h"
#include "zrstd/Strings.h"

namespace testsupport {

// An exported tree as the console host prints it: one line per value, a
// container's values indented under its name, binary values as hex bytes.
inline std::string ExportText(const ZRPAR::Params& tree, const std::string& indent = "")
{
    std::string text;
    for (std::size_t i = 0; i < tree.GetSize(); ++i) {
        const std::string name = indent + ZRSTD::ToUtf8(tree.NameAt(i));
        const ZRPAR::Value* value = tree.ValueAt(i);
        if (value->GetType() == ZRPAR::VT_STRING) {
            text += name + ": " + ZRSTD::ToUtf8(static_cast<const ZRPAR::StringValue*>(value)->GetValue()) + "\n";
        } else if (value->GetType() == ZRPAR::VT_PARAMS) {
            text += name + "\n" + ExportText(*static_cast<const ZRPAR::ParamsValue*>(value)->GetValue(), indent + "  ");
        } else if (value->GetType() == ZRPAR::VT_BINARY) {
            const auto* bytes = static_cast<const ZRPAR::BinaryValue*>(value);
            text += name + ": <" + ZRSTD::HexUpper(bytes->GetData(), bytes->GetDataSize()) + ">\n";
        } else {
            text += name + ": (" + ZRSTD::ToUtf8(ZRPAR::TypeName(value->GetType())) + ")\n";
        }
    }
    return text;
}

class PageTest : public PluginTest {
protected:
    void TearDown() override
    {
        if (page) page->Release();
        page = nullptr;
        PluginTest::TearDown();
    }

    // Page data over the test's data source with the sections registered (the last one current).
    std::shared_ptr<NHPP::CNHPPageData> PageData(std::int32_t kind, int providerKind,
                                                 std::initializer_list<const wchar_t*> sections)
    {
        auto data = std::make_shared<NHPP::CNHPPageData>(&source, kind);
        std::size_t left = sections.size();
        for (const wchar_t* section : sections) data->RegisterSection(section, providerKind, --left == 0);
        return data;
    }
    void Open(CNHPPropertyPageBase* created)
    {
        page = created;
        window = Sheet().Embed(page);
        ASSERT_TRUE(window);
    }
    // A new sheet for the next case: the page goes first, then the sheet with its reference.
    void Reopen()
    {
        if (page) page->Release();
        page = nullptr;
        m_sheet = std::make_unique<host::PageHost>();
        ui::ClearInteractionRecord();
    }
    host::PageHost& Sheet() { return *m_sheet; }

    void Store(const wchar_t* section, const ZRSTD::CAutoPtr<ZRPAR::Params>& content)
    {
        policy.Replace(L"1103", L"1.0.0.0", section, content.Get());
    }
    // The stored setting's value container {"ZRPRSS_Mnd", "ZRPRSS_Val"} in a policy section, or null.
    ZRPAR::Params* Stored(const wchar_t* section, const wchar_t* key)
    {
        m_kept = ReadStored(policy, section);
        return SettingIn(m_kept.Get(), key);
    }
    template <class V>
    auto StoredValue(const wchar_t* section, const wchar_t* key)
    {
        return static_cast<V*>(Stored(section, key)->FindValue(L"ZRPRSS_Val"))->GetValue();
    }
    bool StoredMandatory(const wchar_t* section, const wchar_t* key)
    {
        return static_cast<ZRPAR::BoolValue*>(Stored(section, key)->FindValue(L"ZRPRSS_Mnd"))->GetValue();
    }
    // A policy section as text, secrets shown: for proving that a secret is nowhere in it.
    std::string StoredText(const wchar_t* section)
    {
        auto stored = ReadStored(policy, section);
        return stored ? ZRPAR::RenderText(*stored, ZRPAR::RenderOptions{false}) : std::string();
    }

    // A policy section holding these settings (not mandatory itself).
    void StorePolicySection(const wchar_t* section, std::initializer_list<ZRPAR::ParamsBodyEntry> settings)
    {
        policy.Replace(L"1103", L"1.0.0.0", section, Section(settings).Get());
    }
    // The drop-down of a lock control, and the state it shows.
    HWND LockDropDown(int lockId) { return GetDlgItem(GetDlgItem(window, lockId), CLockCtrl::kDropDownId); }
    std::wstring LockShown(int lockId) { return GetWindowTextW(LockDropDown(lockId)); }
    void SetLock(int lockId, bool locked)
    {
        ui::SelectItem(LockDropDown(lockId), locked ? L"Редактирование запрещено" : L"Редактирование разрешено");
    }

    std::wstring Text(int id) { return GetDlgItemTextW(window, id); }
    bool Enabled(int id) { return IsWindowEnabled(GetDlgItem(window, id)); }
    bool Visible(int id) { return IsWindowVisible(GetDlgItem(window, id)); }
    bool Checked(int id) { return SendMessageW(GetDlgItem(window, id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    HWND Control(int id) { return ui::FindControl(window, id); }

    FakeDataSource source;
    ZRPlugin::SettingsStorage& policy = source.WithPolicyStorage();
    CNHPPropertyPageBase* page = nullptr;
    HWND window = nullptr;

private:
    std::unique_ptr<host::PageHost> m_sheet = std::make_unique<host::PageHost>();
    ZRSTD::CAutoPtr<ZRPAR::Params> m_kept;
};

}  // namespace testsupport
