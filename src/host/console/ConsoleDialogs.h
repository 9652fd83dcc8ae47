#pragma once

#include "host/storage/SettingsStore.h"
#include "zrplugin/DataSource.h"
#include "zrstd/ZRBaseQI.h"

// The console's own dialogs that pages open through the data source: the
// subnet picker and the schedule editor. They are modal dialogs of the
// platform, so the person or script at the console answers them as any
// other dialog (template ids 30001 and 30002).
namespace host {

inline constexpr UINT kIpRangePickerTemplate = 30001;
inline constexpr int kPickerAddress = 100, kPickerMask = 101;
inline constexpr UINT kScheduleEditorTemplate = 30002;
inline constexpr int kScheduleText = 100;

class IpRangePicker : public ZRSTD::ZRBaseQIImpl<ZRPlugin::IIpRangePicker> {
public:
    explicit IpRangePicker(ZRSTD::CAutoPtr<SettingsStore> store) : m_store(std::move(store)) {}
    bool SelectIpRange(HWND owner, ZRPAR::Params** ppRange) override;
    // Subnets the console knows are kept in its configuration as
    // "subnet:<address>/<mask>" (dotted) = "<name>\t<comment>".
    bool FindSubnet(std::uint32_t address, std::uint32_t mask, ZRPAR::Params** ppSubnet) override;

private:
    ZRSTD::CAutoPtr<SettingsStore> m_store;
};

class ScheduleEditor : public ZRSTD::ZRBaseQIImpl<ZRPlugin::IScheduleEditor> {
public:
    bool EditSchedule(HWND owner, ZRPAR::Params* schedule, std::uint32_t options, ZRPAR::Params** ppEdited) override;
};

// "subnet:10.0.0.0/255.0.0.0": the key under which a subnet is known (host form in).
std::wstring SubnetKey(std::uint32_t address, std::uint32_t mask);

}  // namespace host
