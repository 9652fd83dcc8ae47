#include "host/storage/SectionStorage.h"

#include <map>

#include "zrpar/Packed.h"
#include "zrstd/Format.h"

namespace host {

namespace {

constexpr const char* kModule = "ZRHOST";
constexpr long kStorageError = 0x2002;

std::wstring Where(const SectionKey& key)
{
    std::wstring where = L"\"" + key.product;
    if (!key.version.empty()) where += L"/" + key.version;
    if (!key.section.empty()) where += L"/" + key.section;
    return where + L"\"";
}

}  // namespace

SectionStorage::SectionStorage(std::unique_ptr<SectionRows> rows) : m_rows(std::move(rows)) {}
SectionStorage::~SectionStorage() = default;

SectionKey SectionStorage::MakeKey(const wchar_t* product, const wchar_t* version, const wchar_t* section) const
{
    SectionKey key{product ? product : L"", version ? version : L"", section ? section : L""};
    if (key.product.empty())
        ZRERR_throwLocalizedError(kModule, kStorageError, L"a settings section needs a product name");
    if (key.version.empty() && !key.section.empty())
        ZRERR_throwLocalizedError(kModule, kStorageError,
                                  ZRSTD::FormatW(L"the section \"%s\" needs a version", key.section));
    return key;
}

ZRSTD::CAutoPtr<ZRPAR::Params> SectionStorage::Decode(const SectionKey& key, const std::vector<std::uint8_t>& packed) const
{
    try {
        return ZRPAR::DeserializePacked(packed.data(), packed.size());
    } catch (const ZRERR::Error& error) {
        ZRERR_throwLocalizedError(kModule, kStorageError,
                                  ZRSTD::FormatW(L"the stored section %s of %s is damaged: %s", Where(key),
                                                 m_rows->Describe(), error.GetMessage()));
    }
}

ZRSTD::CAutoPtr<ZRPAR::Params> SectionStorage::ReadKey(const SectionKey& key)
{
    if (!key.section.empty()) {
        auto packed = m_rows->Get(key);
        return packed ? Decode(key, *packed) : nullptr;
    }
    // A level reads as a container of what lies below it.
    auto keys = m_rows->Keys(key.product, key.version);
    if (keys.empty()) return nullptr;
    auto level = ZRPAR::CreateParams();
    for (const SectionKey& below : keys) {
        if (below == key) continue;
        if (key.version.empty()) {
            if (!below.section.empty() || below.version.empty()) continue;
            auto version = ReadKey(below);
            level->AddValue(below.version, ZRPAR::CreateValue(version ? version.Get() : nullptr).Get());
        } else {
            auto packed = m_rows->Get(below);
            if (packed) level->AddValue(below.section, ZRPAR::CreateValue(Decode(below, *packed).Get()).Get());
        }
    }
    return level;
}

void SectionStorage::Read(const wchar_t* product, const wchar_t* version, const wchar_t* section,
                          ZRPAR::Params** ppParams)
{
    ZRSTD_CHECK_ARG(ppParams);
    *ppParams = ReadKey(MakeKey(product, version, section)).Detach();
}

void SectionStorage::Store(const SectionKey& key, const ZRPAR::Params& params)
{
    m_rows->Put(key, ZRPAR::SerializePacked(params));
}

void SectionStorage::EnsureLevels(const SectionKey& key)
{
    const SectionKey levels[] = {{key.product, L"", L""}, {key.product, key.version, L""}};
    for (const SectionKey& level : levels) {
        if (level == key) break;
        if (!m_rows->Get(level)) Store(level, *ZRPAR::CreateParams());
    }
}

void SectionStorage::Replace(const wchar_t* product, const wchar_t* version, const wchar_t* section,
                             ZRPAR::Params* params)
{
    ZRSTD_CHECK_ARG(params);
    const SectionKey key = MakeKey(product, version, section);
    m_rows->InTransaction([&] {
        EnsureLevels(key);
        if (!key.section.empty()) {
            Store(key, *params);
            return;
        }
        // A version level: its sections become the container's entries.
        if (key.version.empty())
            ZRERR_throwLocalizedError(kModule, kStorageError,
                                      ZRSTD::FormatW(L"the product level %s cannot be replaced", Where(key)));
        for (const SectionKey& below : m_rows->Keys(key.product, key.version))
            if (!below.section.empty()) m_rows->Delete(below);
        Store(key, *ZRPAR::CreateParams());
        for (std::size_t i = 0; i < params->GetSize(); ++i) {
            ZRPAR::Value* value = params->ValueAt(i);
            if (value->GetType() != ZRPAR::VT_PARAMS)
                ZRERR_throwLocalizedError(kModule, kStorageError,
                                          ZRSTD::FormatW(L"\"%s\" is not a section", params->NameAt(i)));
            Store({key.product, key.version, params->NameAt(i)}, *static_cast<ZRPAR::ParamsValue*>(value)->GetValue());
        }
    });
}

void SectionStorage::Update(const wchar_t* product, const wchar_t* version, const wchar_t* section,
                            ZRPAR::Params* params)
{
    ZRSTD_CHECK_ARG(params);
    const SectionKey key = MakeKey(product, version, section);
    if (key.section.empty())
        ZRERR_throwLocalizedError(kModule, kStorageError, ZRSTD::FormatW(L"the level %s cannot be merged into", Where(key)));
    m_rows->InTransaction([&] {
        EnsureLevels(key);
        auto stored = ReadKey(key);
        if (!stored) stored = ZRPAR::CreateParams();
        ZRPAR_Write(stored.Get(), params, 3);
        Store(key, *stored);
    });
}

void SectionStorage::CreateSection(const wchar_t* product, const wchar_t* version, const wchar_t* section)
{
    const SectionKey key = MakeKey(product, version, section);
    m_rows->InTransaction([&] {
        if (m_rows->Get(key))
            ZRERR_throwError(kModule, ZRPlugin::SettingsStorage::kSectionExists, L"the section %s exists already",
                             Where(key));
        EnsureLevels(key);
        Store(key, *ZRPAR::CreateParams());
    });
}

namespace {

class MemoryRows : public SectionRows {
public:
    explicit MemoryRows(std::wstring name) : m_name(std::move(name)) {}
    std::optional<std::vector<std::uint8_t>> Get(const SectionKey& key) override
    {
        const auto it = m_rows.find(key);
        if (it == m_rows.end()) return std::nullopt;
        return it->second;
    }
    void Put(const SectionKey& key, const std::vector<std::uint8_t>& packed) override { m_rows[key] = packed; }
    void Delete(const SectionKey& key) override { m_rows.erase(key); }
    std::vector<SectionKey> Keys(const std::wstring& product, const std::wstring& version) override
    {
        std::vector<SectionKey> keys;
        for (const auto& [key, bytes] : m_rows)
            if (key.product == product && (version.empty() || key.version == version)) keys.push_back(key);
        return keys;
    }
    void InTransaction(const std::function<void()>& work) override
    {
        auto saved = m_rows;  // all or nothing
        try {
            work();
        } catch (...) {
            m_rows = std::move(saved);
            throw;
        }
    }
    std::wstring Describe() const override { return L"the settings held in memory (" + m_name + L")"; }

private:
    std::wstring m_name;
    std::map<SectionKey, std::vector<std::uint8_t>> m_rows;
};

}  // namespace

ZRSTD::CAutoPtr<ZRPlugin::SettingsStorage> CreateMemorySettingsStorage(const std::wstring& name)
{
    return ZRSTD::MakeRef<SectionStorage>(std::make_unique<MemoryRows>(name));
}

}  // namespace host
