#include "controls/ArrayReferenceSupport.h"

CArrayReferenceSupport::CArrayReferenceSupport(std::wstring firstArrayKey, std::wstring secondArrayKey,
                                               std::wstring nameKey)
    : m_firstArrayKey(std::move(firstArrayKey)), m_secondArrayKey(std::move(secondArrayKey)), m_nameKey(std::move(nameKey))
{
}

void CArrayReferenceSupport::Reload(NHPP::CParams* provider)
{
    m_index.clear();
    m_provider = provider;
    if (provider) {
        IndexArray(provider, m_firstArrayKey);
        if (!m_secondArrayKey.empty()) IndexArray(provider, m_secondArrayKey);
    }
    m_dirty = false;
}

void CArrayReferenceSupport::IndexArray(NHPP::CParams* provider, const std::wstring& key)
{
    std::size_t size = 0;
    if (provider->GetArraySize(key.c_str(), size) != NHPP::kOk) return;
    for (std::size_t i = 0; i < size; ++i) {
        NHPP::CParams* raw = nullptr;
        if (provider->GetArrayItem(key.c_str(), i, &raw) != NHPP::kOk || !raw) continue;
        auto item = ZRSTD::CAutoPtr<NHPP::CParams>::Adopt(raw);
        std::wstring name;
        item->GetStringOrDefault(name, m_nameKey.c_str(), L"", nullptr);
        if (name.empty()) continue;  // an item without a name cannot be referred to
        m_index.try_emplace(name, Item{key, i, std::move(item)});
    }
}

const CArrayReferenceSupport::Item* CArrayReferenceSupport::Lookup(const std::wstring& name)
{
    if (m_dirty) Reload(m_provider.Get());
    const auto found = m_index.find(name);
    return found == m_index.end() ? nullptr : &found->second;
}
