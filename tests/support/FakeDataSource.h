#pragma once

// A console data source for tests: each item is set up by the test, and the
// names it was asked for are recorded.
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "host/console/ConsoleItems.h"
#include "host/storage/SectionStorage.h"
#include "zrplugin/DataSource.h"
#include "zrstd/ZRBaseQI.h"

namespace testsupport {

using host::AccessChecker;
using host::ParamsItem;
using host::ValueItem;

class FakeDataSource : public ZRPlugin::IDataSource {
public:
    void ReservedSlot0() override {}
    std::int32_t GetItem(const wchar_t* name, ZRSTD::ZRBaseQI** ppItem) override
    {
        asked.push_back(name ? name : L"");
        *ppItem = nullptr;
        auto found = m_items.find(name ? name : L"");
        if (found == m_items.end()) return 0;
        ZRSTD::ReturnRef(ppItem, found->second.Get());
        return 1;
    }

    template <class T>
    T* Set(const std::wstring& name, ZRSTD::CAutoPtr<T> item)
    {
        T* raw = item.Get();
        m_items[name] = ZRSTD::CAutoPtr<ZRSTD::ZRBaseQI>(raw);
        return raw;
    }
    void Remove(const std::wstring& name) { m_items.erase(name); }

    // A policy: its settings storage in memory.
    ZRPlugin::SettingsStorage& WithPolicyStorage()
    {
        return *Set(L"POLICY_SETTINGS", host::CreateMemorySettingsStorage(L"policy"));
    }
    // A computer: local settings, an empty policy, and what the console knows of it.
    ZRPlugin::SettingsStorage& WithComputer(std::int32_t computerType = 0)
    {
        if (!m_items.count(L"POLICY_SETTINGS")) WithPolicyStorage();
        Set(L"NH_ADDITIONAL_INFO", ZRSTD::MakeRef<ParamsItem>(ZRPAR::CreateParamsBody(
                                       {{L"ComputerAddress", L"computer"}, {L"ComputerType", computerType}})));
        return *Set(L"LOCAL_SETTINGS", host::CreateMemorySettingsStorage(L"local"));
    }
    ZRPAR::Params& WithTask()
    {
        if (!m_items.count(L"POLICY_SETTINGS")) WithPolicyStorage();
        auto params = ZRPAR::CreateParams();
        Set(L"TASK_PARAMS", ZRSTD::MakeRef<ParamsItem>(params));
        return *params;
    }
    ZRPAR::Params& WithParams()
    {
        auto params = ZRPAR::CreateParams();
        Set(L"PARAMS", ZRSTD::MakeRef<ParamsItem>(params));
        return *params;
    }
    void WithFunctionality(std::int32_t mask) { Set(L"CUSTOM_FUNCTIONALITY", ZRSTD::MakeRef<ValueItem>(mask)); }
    void WithNacAccess(bool allowed) { Set(L"NH_ACCESS_CHECK", ZRSTD::MakeRef<AccessChecker>(allowed)); }
    void WithServerVersion(std::int32_t version)
    {
        Set(L"ZRADMSRV_SERVER_VERSION_ID", ZRSTD::MakeRef<ValueItem>(version));
    }

    std::vector<std::wstring> asked;

private:
    std::map<std::wstring, ZRSTD::CAutoPtr<ZRSTD::ZRBaseQI>> m_items;
};

}  // namespace testsupport
