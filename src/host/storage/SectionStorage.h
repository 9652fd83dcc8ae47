#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

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

// The rows of one stored object: each section's container in its packed form.
class SectionRows {
public:
    virtual ~SectionRows() = default;
    virtual std::optional<std::vector<std::uint8_t>> Get(const SectionKey& key) = 0;
    virtual void Put(const SectionKey& key, const std::vector<std::uint8_t>& packed) = 0;
    virtual void Delete(const SectionKey& key) = 0;
    // Every stored key of the product (of one version when version is not empty).
    virtual std::vector<SectionKey> Keys(const std::wstring& product, const std::wstring& version) = 0;
    // Runs work as one atomic change: all of it is stored, or none.
    virtual void InTransaction(const std::function<void()>& work) = 0;
    // "object ... in the store ...", for messages.
    virtual std::wstring Describe() const = 0;
};

// The settings storage of one object over its rows: levels, sections, merge
// and replace, each change atomic. A stored blob that cannot be decoded gives
// a localized error naming the section and the store, never a crash.
class SectionStorage : public ZRSTD::ZRBaseQIImpl<ZRPlugin::SettingsStorage> {
public:
    explicit SectionStorage(std::unique_ptr<SectionRows> rows);
    ~SectionStorage() override;

    void Read(const wchar_t* product, const wchar_t* version, const wchar_t* section, ZRPAR::Params** ppParams) override;
    void Update(const wchar_t* product, const wchar_t* version, const wchar_t* section, ZRPAR::Params* params) override;
    void Replace(const wchar_t* product, const wchar_t* version, const wchar_t* section, ZRPAR::Params* params) override;
    void CreateSection(const wchar_t* product, const wchar_t* version, const wchar_t* section) override;

private:
    SectionKey MakeKey(const wchar_t* product, const wchar_t* version, const wchar_t* section) const;
    ZRSTD::CAutoPtr<ZRPAR::Params> ReadKey(const SectionKey& key);
    ZRSTD::CAutoPtr<ZRPAR::Params> Decode(const SectionKey& key, const std::vector<std::uint8_t>& packed) const;
    void EnsureLevels(const SectionKey& key);
    void Store(const SectionKey& key, const ZRPAR::Params& params);

    std::unique_ptr<SectionRows> m_rows;
};

// Settings of one object kept in memory (tests, and objects the console holds
// only while it runs).
ZRSTD::CAutoPtr<ZRPlugin::SettingsStorage> CreateMemorySettingsStorage(const std::wstring& name = L"memory");

}  // namespace host
