#pragma once

// A settings storage that fails on command, and an error reporter that records.
#include <string>
#include <vector>

#include "host/storage/SectionStorage.h"
#include "nhpp/CParams.h"

namespace testsupport {

class FailingStorage : public ZRSTD::ZRBaseQIImpl<ZRPlugin::SettingsStorage> {
public:
    bool failReads = false;
    bool failWrites = false;   // Replace and Update
    bool failCreates = false;  // CreateSection (other than "exists already")
    int creates = 0;
    int writes = 0;

    ZRPlugin::SettingsStorage& Inner() { return *m_inner; }

    void Read(const wchar_t* p, const wchar_t* v, const wchar_t* s, ZRPAR::Params** out) override
    {
        if (failReads) ZRERR_throwLocalizedError("TEST", 7, L"the test storage refuses to read");
        m_inner->Read(p, v, s, out);
    }
    void Update(const wchar_t* p, const wchar_t* v, const wchar_t* s, ZRPAR::Params* params) override
    {
        ++writes;
        if (failWrites) ZRERR_throwLocalizedError("TEST", 8, L"the test storage refuses to write");
        m_inner->Update(p, v, s, params);
    }
    void Replace(const wchar_t* p, const wchar_t* v, const wchar_t* s, ZRPAR::Params* params) override
    {
        ++writes;
        if (failWrites) ZRERR_throwLocalizedError("TEST", 8, L"the test storage refuses to write");
        m_inner->Replace(p, v, s, params);
    }
    void CreateSection(const wchar_t* p, const wchar_t* v, const wchar_t* s) override
    {
        ++creates;
        if (failCreates) ZRERR_throwLocalizedError("TEST", 9, L"the test storage refuses to create");
        m_inner->CreateSection(p, v, s);
    }

private:
    ZRSTD::CAutoPtr<ZRPlugin::SettingsStorage> m_inner = host::CreateMemorySettingsStorage(L"test");
};

class RecordingReporter : public NHPP::ErrorReporter {
public:
    void ReportError(const ZRERR::Error& error) override { reported.push_back(error.GetMessage()); }
    std::vector<std::wstring> reported;
};

inline ZRSTD::CAutoPtr<ZRPAR::Params> ReadStored(ZRPlugin::SettingsStorage& storage, const wchar_t* section)
{
    ZRSTD::CAutoPtr<ZRPAR::Params> stored;
    storage.Read(L"1103", L"1.0.0.0", section, &stored);
    return stored;
}

// A setting's value container {"ZRPRSS_Mnd", "ZRPRSS_Val", ...} in a stored policy section, or null.
inline ZRPAR::Params* SettingIn(ZRPAR::Params* section, const wchar_t* key)
{
    ZRPAR::Value* content = section ? section->FindValue(L"ZRPRSS_Val") : nullptr;
    if (!content || content->GetType() != ZRPAR::VT_PARAMS) return nullptr;
    ZRPAR::Value* pair = static_cast<ZRPAR::ParamsValue*>(content)->GetValue()->FindValue(key);
    return pair && pair->GetType() == ZRPAR::VT_PARAMS ? static_cast<ZRPAR::ParamsValue*>(pair)->GetValue() : nullptr;
}

}  // namespace testsupport
