#pragma once

#include <string>

#include "zrplugin/Accessor.h"

// Renders the agent's statistics with display names for the console: each
// statistic known to the agent is written under the text of its string id,
// grouped as the console shows them.
class CZRLocalizerImpl : public ZRPlugin::IZRLocalizer {
public:
    void ReservedSlot0(std::int32_t, std::int32_t, std::int32_t, std::int32_t) override {}
    void ReservedSlot1(std::int32_t, std::int32_t, std::int32_t, std::int32_t) override {}
    const wchar_t* ReservedSlot8(std::int32_t, std::int32_t) override { return L""; }
    void LocalizeInstanceInfo(ZRPAR::Params* pSrcParams, ZRPAR::Params* pTrgParams) override;
    bool ReservedSlot4(const wchar_t*, std::int32_t, std::int32_t) override { return false; }

protected:
    ~CZRLocalizerImpl() = default;
};

class CZRNGTLocalizer : public CZRLocalizerImpl {
public:
    CZRNGTLocalizer(std::wstring product, std::wstring version)
        : m_product(std::move(product)), m_version(std::move(version))
    {
    }
    void LocalizeStatistics(ZRPAR::Params* pSrc, ZRPAR::Params* pTrg) override;

private:
    std::wstring m_product;
    std::wstring m_version;
};
