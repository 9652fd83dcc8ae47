#pragma once

// The console's data source, handed to configurators (SetInterfaces), to the
// grouping and events objects (SetDataSource) and to the exporter. Its items
// are counted objects found by name; each answers QueryInterface for the
// interface its name implies:
//
//   "POLICY_SETTINGS", "LOCAL_SETTINGS"            SettingsStorage
//   "TASK_PARAMS", "PARAMS", "NH_ADDITIONAL_INFO"  IParamsItem
//   "CUSTOM_FUNCTIONALITY", "ZRADMSRV_SERVER_VERSION_ID",
//   "NH_CONTEXT_KIND"                              IValueItem (32-bit int)
//   "NH_ACCESS_CHECK"                              IAccessChecker
//   "ZRHST::Hosts"                                 IHostsItem
//   "DATA_PROTECTION"                              IDataProtection
//   "ZRADMSRV::AdmServer", "ZRADMSRV::AdmServer2"  IAdmServer
//   "ZRLIM::Limits"                                ILimits
//   "SELECT_IPDIAPASON"                            IIpRangePicker
//   "NH_DLG_SCHEDULE"                              IScheduleEditor
//   "NH_NODE_PROPERTIES"                           INodeProperties
#include <cstddef>
#include <cstdint>

#include "ui/Win32.h"
#include "zrpar/Params.h"
#include "zrstd/Error.h"
#include "zrstd/MemoryChunk.h"
#include "zrstd/ZRBase.h"

namespace ZRPlugin {

class SettingsStorage;

class IDataSource {
public:
    virtual void ReservedSlot0() = 0;
    // Slot 1: the item of that name, referenced, in *ppItem; non-zero when it exists.
    virtual std::int32_t GetItem(const wchar_t* name, ZRSTD::ZRBaseQI** ppItem) = 0;

protected:
    ~IDataSource() = default;
};

// A settings container the console holds for the edited object.
class IParamsItem : public ZRSTD::ZRBaseQI {
public:
    static constexpr const char* kInterfaceName = "ZRPlugin::IParamsItem";
    // The console's own container (not a copy): edits land in the console's object.
    virtual void GetParams(ZRPAR::Params** ppParams) = 0;
    virtual ~IParamsItem() = default;
};

// A single value the console reports (masks, version numbers).
class IValueItem : public ZRSTD::ZRBaseQI {
public:
    static constexpr const char* kInterfaceName = "ZRPlugin::IValueItem";
    virtual void GetValue(ZRPAR::Value** ppValue) = 0;
    virtual ~IValueItem() = default;
};

// Whether the administrator may use a functional area ("FUNC_AREA_NAC", ...).
class IAccessChecker : public ZRSTD::ZRBaseQI {
public:
    static constexpr const char* kInterfaceName = "ZRPlugin::IAccessChecker";
    // Slot 3: the first argument is always 1.
    virtual bool IsAreaAllowed(std::int32_t one, const wchar_t* area) = 0;
    virtual ~IAccessChecker() = default;
};

// The console's view of the edited computer's other settings stores.
class IHostsItem : public ZRSTD::ZRBaseQI {
public:
    static constexpr const char* kInterfaceName = "ZRPlugin::IHostsItem";
    // The storage named storageName ("SS_PRODINFO", ...) of the host at
    // address; false when the host or the storage is unknown.
    virtual bool GetHostStorage(const wchar_t* address, const wchar_t* storageName, SettingsStorage** ppStorage) = 0;
    virtual ~IHostsItem() = default;
};

// Protects secrets (passwords of proxies and accounts) for storage: the result
// can be read back only by the administration server.
class IDataProtection : public ZRSTD::ZRBaseQI {
public:
    static constexpr const char* kInterfaceName = "ZRPlugin::IDataProtection";
    // Raises ZRERR::Error when the data cannot be protected.
    virtual void ProtectData(const void* data, std::size_t size, ZRSTD::MemoryChunk** ppProtected) = 0;
    virtual ~IDataProtection() = default;
};

// The administration server the console is connected to.
class IAdmServer : public ZRSTD::ZRBaseQI {
public:
    static constexpr const char* kInterfaceName = "ZRPlugin::IAdmServer";
    // The server's version id (compared as a signed number, e.g. 0xA5000).
    virtual std::int32_t GetServerVersionId() = 0;
    // Raises ZRERR::Error (localized, saying what the rules are) when the
    // server's password policy refuses the password.
    virtual void CheckPasswordPolicy(const wchar_t* password) = 0;
    // The update component catalogue ("ZRUPDSRV::Updates2"): {"ZRUpdates": array of
    // records with "AppId", "CompId", "Name", "Descr", "AppSuperId"}; false when
    // the server has none.
    virtual bool GetUpdateComponents(ZRPAR::Params** ppCatalogue) = 0;
    virtual ~IAdmServer() = default;
};

// The console's subnet picker and its subnets.
class IIpRangePicker : public ZRSTD::ZRBaseQI {
public:
    static constexpr const char* kInterfaceName = "ZRPlugin::IIpRangePicker";
    // Lets the administrator pick a subnet; true with {"nIpAddress", "nMask"}
    // (first octet in the highest byte) when one was chosen.
    virtual bool SelectIpRange(HWND owner, ZRPAR::Params** ppRange) = 0;
    // The console's subnet of that address and mask: {"wstrSubnetName", "wstrComment"}.
    virtual bool FindSubnet(std::uint32_t address, std::uint32_t mask, ZRPAR::Params** ppSubnet) = 0;
    virtual ~IIpRangePicker() = default;
};

// The console's schedule editor.
class IScheduleEditor : public ZRSTD::ZRBaseQI {
public:
    static constexpr const char* kInterfaceName = "ZRPlugin::IScheduleEditor";
    // Edits a serialized schedule; true with the edited copy when the administrator pressed OK.
    virtual bool EditSchedule(HWND owner, ZRPAR::Params* schedule, std::uint32_t options, ZRPAR::Params** ppEdited) = 0;
    virtual ~IScheduleEditor() = default;
};

// Licence and deployment limits of the console.
class ILimits : public ZRSTD::ZRBaseQI {
public:
    static constexpr const char* kInterfaceName = "ZRPlugin::ILimits";
    virtual std::int32_t GetLimit(std::int32_t item) = 0;
    virtual ~ILimits() = default;
};

// The properties of the console node under which the edited object is
// shown, by number (what each means is the console's; pages test a few).
class INodeProperties : public ZRSTD::ZRBaseQI {
public:
    static constexpr const char* kInterfaceName = "ZRPlugin::INodeProperties";
    // False when the node has no property of that number.
    virtual bool GetNodeProperty(std::int32_t id, std::int32_t& value) = 0;
    virtual ~INodeProperties() = default;
};

// The item of that name as interface I (I::kInterfaceName), or null when the
// data source lacks it or it is of another kind.
template <class I>
ZRSTD::CAutoPtr<I> GetDataSourceItem(IDataSource* source, const wchar_t* name)
{
    if (!source || !name) return nullptr;
    ZRSTD::CAutoPtr<ZRSTD::ZRBaseQI> item;
    if (!source->GetItem(name, &item) || !item) return nullptr;
    void* typed = nullptr;
    if (!item->QueryInterface(I::kInterfaceName, &typed) || !typed) return nullptr;
    return ZRSTD::CAutoPtr<I>::Adopt(static_cast<I*>(typed));
}

}  // namespace ZRPlugin

namespace ZRADMSRV {

// The server's password policy check, asked before an uninstall password is hashed.
inline void CheckPasswordSplPpc(ZRPlugin::IAdmServer* server, const wchar_t* password)
{
    ZRSTD_CHECK_ARG(server);
    server->CheckPasswordPolicy(password ? password : L"");
}

}  // namespace ZRADMSRV
