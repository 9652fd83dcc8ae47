#include "host/storage/SectionStorage.h"

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

ZRSTD::CAutoPtr<ZRPAR::Params> SectionStorage::ReadLevel(const SectionKey& key)
{
    // A level reads as a container of what lies below it.
    auto keys = m_rows->Keys(key.product, key.version);
    if (keys.empty()) return m_pendingCreations.count(key) ? ZRPAR::CreateParams() : nullptr;
    auto level = ZRPAR::CreateParams();
    for (const SectionKey& below : keys) {
        if (below == key) continue;
        if (key.version.empty()) {
            if (!below.section.empty() || below.version.empty()) continue;
            auto version = ReadLevel(below);
            level->AddValue(below.version, ZRPAR::CreateValue(version ? version.Get() : nullptr).Get());
        } else {
            auto stored = m_rows->Get(below);
            if (stored) level->AddValue(below.section, ZRPAR::CreateValue(Decode(below, stored->packed).Get()).Get());
        }
    }
    return level;
}

void SectionStorage::Read(const wchar_t* product, const wchar_t* version, const wchar_t* section,
                          ZRPAR::Params** ppParams)
{
    ZRSTD_CHECK_ARG(ppParams);
    *ppParams = nullptr;
    const SectionKey key = MakeKey(product, version, section);
    if (key.section.empty()) {
        *ppParams = ReadLevel(key).Detach();
        return;
    }
    const auto stored = m_rows->Get(key);
    auto read = stored ? Decode(key, stored->packed) : nullptr;
    // an absent section is remembered too: a writer that creates it meanwhile is merged with
    m_known[key] = {stored ? stored->revision : 0, read ? read->Clone() : ZRPAR::CreateParams()};
    if (!read && m_pendingCreations.count(key)) read = ZRPAR::CreateParams();
    *ppParams = read.Detach();
}

std::int64_t SectionStorage::Store(const SectionKey& key, const ZRPAR::Params& params)
{
    return m_rows->Put(key, ZRPAR::SerializePacked(params));
}

void SectionStorage::EnsureLevels(const SectionKey& key)
{
    const SectionKey levels[] = {{key.product, L"", L""}, {key.product, key.version, L""}};
    for (const SectionKey& level : levels) {
        if (level == key) break;
        if (!m_rows->Get(level)) Store(level, *ZRPAR::CreateParams());
    }
}

void SectionStorage::Change(const SectionKey& key, const std::function<void(Learned&)>& change)
{
    Learned learned;
    m_rows->InTransaction([&] {
        for (const SectionKey& created : m_pendingCreations) {
            if (created == key || m_rows->Get(created)) continue;
            EnsureLevels(created);
            const auto empty = ZRPAR::CreateParams();
            learned.push_back({created, {Store(created, *empty), empty}});
        }
        EnsureLevels(key);
        change(learned);
    });
    m_pendingCreations.clear();
    for (auto& [section, known] : learned) m_known[section] = std::move(known);
}

SectionStorage::KnownSection SectionStorage::Write(const SectionKey& key, const ZRPAR::Params& ours)
{
    const auto stored = m_rows->Get(key);
    const std::int64_t storedRevision = stored ? stored->revision : 0;
    const auto known = m_known.find(key);
    if (known == m_known.end() || known->second.revision == storedRevision)
        return {Store(key, ours), ours.Clone()};  // never read here, or nobody else wrote since
    const auto theirs = stored ? Decode(key, stored->packed) : ZRPAR::CreateParams();
    const MergeResult merge = MergeSections(*known->second.base, *theirs, ours);
    if (!merge.merged) RefuseConcurrentChange(key, merge.conflicts);
    Store(key, *merge.merged);
    // the revision stays older than the one just stored: this writer's next
    // change merges again rather than overwrite what the other one wrote
    return {storedRevision, ours.Clone()};
}

void SectionStorage::RefuseConcurrentChange(const SectionKey& key, const std::vector<SettingPath>& conflicts) const
{
    std::wstring settings;
    for (const SettingPath& path : conflicts) settings += (settings.empty() ? L"" : L", ") + DescribeSettingPath(path);
    ZRERR_throwLocalizedError(
        kModule, kConcurrentChange,
        ZRSTD::FormatW(L"the section %s of %s was changed by another writer after it was read here, and both changed "
                       L"%s; nothing was written: open it again and repeat the change",
                       Where(key), m_rows->Describe(), settings));
}

void SectionStorage::Replace(const wchar_t* product, const wchar_t* version, const wchar_t* section,
                             ZRPAR::Params* params)
{
    ZRSTD_CHECK_ARG(params);
    const SectionKey key = MakeKey(product, version, section);
    Change(key, [&](Learned& learned) {
        if (key.section.empty()) ReplaceLevel(key, *params, learned);
        else learned.push_back({key, Write(key, *params)});
    });
}

void SectionStorage::ReplaceLevel(const SectionKey& key, const ZRPAR::Params& params, Learned& learned)
{
    // A version level: its sections become the container's entries, whoever wrote them.
    if (key.version.empty())
        ZRERR_throwLocalizedError(kModule, kStorageError,
                                  ZRSTD::FormatW(L"the product level %s cannot be replaced", Where(key)));
    for (const SectionKey& below : m_rows->Keys(key.product, key.version)) {
        if (below.section.empty()) continue;
        m_rows->Delete(below);
        learned.push_back({below, {0, ZRPAR::CreateParams()}});
    }
    Store(key, *ZRPAR::CreateParams());
    for (std::size_t i = 0; i < params.GetSize(); ++i) {
        ZRPAR::Value* value = params.ValueAt(i);
        if (value->GetType() != ZRPAR::VT_PARAMS)
            ZRERR_throwLocalizedError(kModule, kStorageError,
                                      ZRSTD::FormatW(L"\"%s\" is not a section", params.NameAt(i)));
        const SectionKey section{key.product, key.version, params.NameAt(i)};
        const ZRPAR::Params& body = *static_cast<ZRPAR::ParamsValue*>(value)->GetValue();
        learned.push_back({section, {Store(section, body), body.Clone()}});
    }
}

void SectionStorage::Update(const wchar_t* product, const wchar_t* version, const wchar_t* section,
                            ZRPAR::Params* params)
{
    ZRSTD_CHECK_ARG(params);
    const SectionKey key = MakeKey(product, version, section);
    if (key.section.empty())
        ZRERR_throwLocalizedError(kModule, kStorageError, ZRSTD::FormatW(L"the level %s cannot be merged into", Where(key)));
    Change(key, [&](Learned& learned) {
        const auto known = m_known.find(key);
        if (known == m_known.end()) {
            // nothing read here: merge into what is stored now
            const auto stored = m_rows->Get(key);
            auto merged = stored ? Decode(key, stored->packed) : ZRPAR::CreateParams();
            ZRPAR_Write(merged.Get(), params, 3);
            learned.push_back({key, {Store(key, *merged), merged}});
            return;
        }
        // what the caller means is what it read with params merged in
        auto intended = known->second.base->Clone();
        ZRPAR_Write(intended.Get(), params, 3);
        learned.push_back({key, Write(key, *intended)});
    });
}

void SectionStorage::CreateSection(const wchar_t* product, const wchar_t* version, const wchar_t* section)
{
    const SectionKey key = MakeKey(product, version, section);
    if (m_pendingCreations.count(key) || m_rows->Get(key))
        ZRERR_throwError(kModule, ZRPlugin::SettingsStorage::kSectionExists, L"the section %s exists already",
                         Where(key));
    m_pendingCreations.insert(key);
}

namespace {

class MemoryRows : public SectionRows {
public:
    explicit MemoryRows(std::wstring name) : m_name(std::move(name)) {}
    std::optional<StoredSection> Get(const SectionKey& key) override
    {
        const auto it = m_rows.find(key);
        if (it == m_rows.end()) return std::nullopt;
        return it->second;
    }
    std::int64_t Put(const SectionKey& key, const std::vector<std::uint8_t>& packed) override
    {
        m_rows[key] = {packed, ++m_lastRevision};
        return m_lastRevision;
    }
    void Delete(const SectionKey& key) override { m_rows.erase(key); }
    std::vector<SectionKey> Keys(const std::wstring& product, const std::wstring& version) override
    {
        std::vector<SectionKey> keys;
        for (const auto& [key, row] : m_rows)
            if (key.product == product && (version.empty() || key.version == version)) keys.push_back(key);
        return keys;
    }
    void InTransaction(const std::function<void()>& work) override
    {
        auto saved = m_rows;  // all or nothing; revisions given out stay given
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
    std::map<SectionKey, StoredSection> m_rows;
    std::int64_t m_lastRevision = 0;
};

}  // namespace

ZRSTD::CAutoPtr<ZRPlugin::SettingsStorage> CreateMemorySettingsStorage(const std::wstring& name)
{
    return ZRSTD::MakeRef<SectionStorage>(std::make_unique<MemoryRows>(name));
}

}  // namespace host
