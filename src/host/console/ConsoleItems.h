#pragma once

// Items of the console's data source that hold what the console knows: a
// settings container, a single value, the administrator's access to a
// functional area.
#include <map>
#include <string_view>

#include "zrplugin/DataSource.h"
#include "zrstd/ZRBaseQI.h"

namespace host {

class ParamsItem : public ZRSTD::ZRBaseQIImpl<ZRPlugin::IParamsItem> {
public:
    explicit ParamsItem(ZRSTD::CAutoPtr<ZRPAR::Params> params) : m_params(std::move(params)) {}
    void GetParams(ZRPAR::Params** ppParams) override { ZRSTD::ReturnRef(ppParams, m_params.Get()); }

private:
    ZRSTD::CAutoPtr<ZRPAR::Params> m_params;
};

class ValueItem : public ZRSTD::ZRBaseQIImpl<ZRPlugin::IValueItem> {
public:
    explicit ValueItem(std::int32_t value) : m_value(ZRPAR::CreateValue(value)) {}
    void GetValue(ZRPAR::Value** ppValue) override { ZRSTD::ReturnRef(ppValue, m_value.Get()); }

private:
    ZRSTD::CAutoPtr<ZRPAR::Value> m_value;
};

// Every area is allowed except network access control when the administrator may not use it.
class AccessChecker : public ZRSTD::ZRBaseQIImpl<ZRPlugin::IAccessChecker> {
public:
    explicit AccessChecker(bool nacAllowed) : m_nacAllowed(nacAllowed) {}
    bool IsAreaAllowed(std::int32_t, const wchar_t* area) override
    {
        return !area || std::wstring_view(area) != L"FUNC_AREA_NAC" || m_nacAllowed;
    }

private:
    bool m_nacAllowed;
};

// The licence's limits: item 100 lets agents force their connection through update agents.
class Limits : public ZRSTD::ZRBaseQIImpl<ZRPlugin::ILimits> {
public:
    explicit Limits(bool forcedConnection) : m_forcedConnection(forcedConnection) {}
    std::int32_t GetLimit(std::int32_t item) override { return item == 100 && m_forcedConnection ? 1 : 0; }

private:
    bool m_forcedConnection;
};

// The properties of the console node an object is shown under, by number.
class NodeProperties : public ZRSTD::ZRBaseQIImpl<ZRPlugin::INodeProperties> {
public:
    explicit NodeProperties(std::map<std::int32_t, std::int32_t> properties) : m_properties(std::move(properties)) {}
    bool GetNodeProperty(std::int32_t id, std::int32_t& value) override
    {
        const auto found = m_properties.find(id);
        if (found == m_properties.end()) return false;
        value = found->second;
        return true;
    }

private:
    std::map<std::int32_t, std::int32_t> m_properties;
};

}  // namespace host
