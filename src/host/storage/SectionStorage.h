#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "host/storage/ThreeWayMerge.h"
#include "zrplugin/SettingsStorage.h"
#include "zrstd/ZRBaseQI.h"

namespace host {

// Where a section lies in one object's settings. An empty section names the
// version level, an empty version the product level.
struct SectionKey {
    std::wstring product;
    std::wstring version;
    std::wstring section;
    bool operator<(const SectionKey& other) const
    {
        return std::tie(product, version, section) < std::tie(other.product, other.version, other.section);
    }
    bool operator==(const SectionKey& other) const = default;
};

// A stored section: its container in the packed form and its revision.
struct StoredSection {
    std::vector<std::uint8_t> packed;
    std::int64_t revision = 0;
};

// The rows of one stored object: each section's container in its packed form,
// with a revision that every change of the row makes new.
class SectionRows {
public:
    virtual ~SectionRows() = default;
    virtual std::optional<StoredSection> Get(const SectionKey& key) = 0;
    // Stores the section under a revision newer than any these rows gave
    // before (to any section, deleted ones too) and returns it.
    virtual std::int64_t Put(const SectionKey& key, const std::vector<std::uint8_t>& packed) = 0;
    virtual void Delete(const SectionKey& key) = 0;
    // Every stored key of the product (of one version when version is not empty).
    virtual std::vector<SectionKey> Keys(const std::wstring& product, const std::wstring& version) = 0;
    // Runs work as one atomic change: all of it is stored, or none. Reads
    // inside it see no other writer's change until it ends.
    virtual void InTransaction(const std::function<void()>& work) = 0;
    // "object ... in the store ...", for messages.
    virtual std::wstring Describe() const = 0;
};

// The settings storage of one object over its rows: levels, sections, merge
// and replace, each change atomic. A stored blob that cannot be decoded gives
// a localized error naming the section and the store, never a crash.
//
// One storage serves one open data source (a property sheet), and other
// writers may change the same rows meanwhile. The storage remembers, for each
// section, the revision and the container its Read handed out. A Replace or
// Update that finds a newer revision stored merges three ways
// (ThreeWayMerge.h) instead of overwriting the other writer's change, and when
// both changed the same setting it writes nothing and raises
// kConcurrentChange naming the settings. CreateSection of a section that does
// not exist only records it; the next Replace or Update writes it in the same
// transaction as its change, so no reader sees it empty in between.
class SectionStorage : public ZRSTD::ZRBaseQIImpl<ZRPlugin::SettingsStorage> {
public:
    static constexpr long kConcurrentChange = 0x2004;  // module "ZRHOST"

    explicit SectionStorage(std::unique_ptr<SectionRows> rows);
    ~SectionStorage() override;

    void Read(const wchar_t* product, const wchar_t* version, const wchar_t* section, ZRPAR::Params** ppParams) override;
    void Update(const wchar_t* product, const wchar_t* version, const wchar_t* section, ZRPAR::Params* params) override;
    void Replace(const wchar_t* product, const wchar_t* version, const wchar_t* section, ZRPAR::Params* params) override;
    void CreateSection(const wchar_t* product, const wchar_t* version, const wchar_t* section) override;

private:
    // What this storage last read or wrote of a section: the base of a merge.
    struct KnownSection {
        std::int64_t revision = 0;  // 0: nothing was stored
        ZRSTD::CAutoPtr<ZRPAR::Params> base;
    };
    using Learned = std::vector<std::pair<SectionKey, KnownSection>>;

    SectionKey MakeKey(const wchar_t* product, const wchar_t* version, const wchar_t* section) const;
    ZRSTD::CAutoPtr<ZRPAR::Params> ReadLevel(const SectionKey& key);
    ZRSTD::CAutoPtr<ZRPAR::Params> Decode(const SectionKey& key, const std::vector<std::uint8_t>& packed) const;
    std::int64_t Store(const SectionKey& key, const ZRPAR::Params& params);
    void EnsureLevels(const SectionKey& key);
    // Runs a change of key in one transaction together with the pending
    // creations; what it learned is remembered once the transaction is in.
    void Change(const SectionKey& key, const std::function<void(Learned&)>& change);
    // Stores ours, merging with what another writer stored since this storage read the section.
    KnownSection Write(const SectionKey& key, const ZRPAR::Params& ours);
    void ReplaceLevel(const SectionKey& key, const ZRPAR::Params& params, Learned& learned);
    [[noreturn]] void RefuseConcurrentChange(const SectionKey& key, const std::vector<SettingPath>& conflicts) const;

    std::unique_ptr<SectionRows> m_rows;
    std::map<SectionKey, KnownSection> m_known;
    std::set<SectionKey> m_pendingCreations;
};

// Settings of one object kept in memory (tests, and objects the console holds
// only while it runs).
ZRSTD::CAutoPtr<ZRPlugin::SettingsStorage> CreateMemorySettingsStorage(const std::wstring& name = L"memory");

}  // namespace host
