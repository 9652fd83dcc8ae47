#pragma once

// An installation package's page opened as the console opens it: the
// package's settings in the section "InstallerSettings" of its own storage,
// read and written through the product-kind provider.
#include <optional>
#include <string>

#include "nhpp/PageData.h"
#include "support/PageFixture.h"
#include "support/StorageDoubles.h"
#include "zrpar/Render.h"
#include "zrstd/Strings.h"

namespace testsupport {

// The server's password policy as the tests want it: everything passes but "weak".
class PasswordCheckingServer : public ZRSTD::ZRBaseQIImpl<ZRPlugin::IAdmServer> {
public:
    std::int32_t GetServerVersionId() override { return 0xA5000; }
    void CheckPasswordPolicy(const wchar_t* password) override
    {
        if (std::wstring_view(password) == L"weak")
            ZRERR_throwLocalizedError("ZRADMSRV", 20001, L"Пароль не соответствует требованиям.");
    }
    bool GetUpdateComponents(ZRPAR::Params**) override { return false; }
};

class InstallerPageTest : public PageTest {
protected:
    static constexpr const wchar_t* kSection = L"InstallerSettings";

    void SetUp() override
    {
        PageTest::SetUp();
        source.Set(L"ZRADMSRV::AdmServer", ZRSTD::MakeRef<PasswordCheckingServer>());
    }
    // The package holds exactly these settings.
    void StorePackage(std::initializer_list<ZRPAR::ParamsBodyEntry> settings)
    {
        package.Replace(L"1103", L"1.0.0.0", kSection, ZRPAR::CreateParamsBody(settings).Get());
    }
    std::shared_ptr<NHPP::CNHPPageData> PackageData()
    {
        return PageData(NHPP::kObjectInstallerPackage, NHPP::kSectionProduct, {kSection});
    }
    ZRSTD::CAutoPtr<ZRPAR::Params> Saved() { return ReadStored(package, kSection); }
    // Every stored byte of the package, readably.
    std::string Everything()
    {
        auto saved = Saved();
        return saved ? ZRPAR::RenderText(*saved, ZRPAR::RenderOptions{false}) : std::string();
    }
    // A stored value of that type, or nothing.
    ZRPAR::Value* SavedValue(const wchar_t* key, ZRPAR::ValueType type)
    {
        m_saved = Saved();
        ZRPAR::Value* value = m_saved ? m_saved->FindValue(key) : nullptr;
        return value && value->GetType() == type ? value : nullptr;
    }
    std::optional<std::wstring> SavedString(const wchar_t* key)
    {
        auto* value = SavedValue(key, ZRPAR::VT_STRING);
        return value ? std::optional(static_cast<ZRPAR::StringValue*>(value)->GetValue()) : std::nullopt;
    }
    std::optional<bool> SavedBool(const wchar_t* key)
    {
        auto* value = SavedValue(key, ZRPAR::VT_BOOL);
        return value ? std::optional(static_cast<ZRPAR::BoolValue*>(value)->GetValue()) : std::nullopt;
    }
    std::optional<std::int32_t> SavedInt(const wchar_t* key)
    {
        auto* value = SavedValue(key, ZRPAR::VT_INT);
        return value ? std::optional(static_cast<ZRPAR::IntValue*>(value)->GetValue()) : std::nullopt;
    }
    bool SavedHas(const wchar_t* key)
    {
        auto saved = Saved();
        return saved && saved->FindValue(key);
    }
    // The page opened, OK pressed without a change: every stored byte stays.
    void ExpectUntouchedOkKeepsEverything()
    {
        const std::string before = Everything();
        ASSERT_EQ(Sheet().PressOk().outcome, host::PageHost::Outcome::Applied) << ToUtf8Boxes();
        EXPECT_EQ(Everything(), before);
    }
    std::string ToUtf8Boxes()
    {
        std::string text;
        for (const auto& box : Boxes()) text += ZRSTD::ToUtf8(box) + "\n";
        return text;
    }

    ZRPlugin::SettingsStorage& package = *source.Set(L"LOCAL_SETTINGS", host::CreateMemorySettingsStorage(L"package"));

private:
    ZRSTD::CAutoPtr<ZRPAR::Params> m_saved;
};

}  // namespace testsupport
