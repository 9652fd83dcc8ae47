#pragma once

#include <map>
#include <string>

#include "nhpp/CParams.h"

// A name index over the items of one or two arrays of containers in a
// provider: every item is found by the value of its name field. The index is
// built again on the next lookup after it was marked dirty.
class CArrayReferenceSupport {
public:
    struct Item {
        std::wstring arrayKey;
        std::size_t index = 0;
        ZRSTD::CAutoPtr<NHPP::CParams> params;
    };

    CArrayReferenceSupport(std::wstring firstArrayKey, std::wstring secondArrayKey, std::wstring nameKey);

    // Indexes every item of the arrays under its name; the first item of a name wins.
    void Reload(NHPP::CParams* provider);
    // The item with this name, or null; reloads from the last provider first when dirty.
    const Item* Lookup(const std::wstring& name);
    void SetDirty() { m_dirty = true; }
    bool IsDirty() const { return m_dirty; }
    std::size_t Size() const { return m_index.size(); }

private:
    void IndexArray(NHPP::CParams* provider, const std::wstring& key);

    bool m_dirty = true;
    std::wstring m_firstArrayKey;
    std::wstring m_secondArrayKey;
    std::wstring m_nameKey;
    std::map<std::wstring, Item> m_index;
    ZRSTD::CAutoPtr<NHPP::CParams> m_provider;
};
