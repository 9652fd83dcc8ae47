#pragma once

// The console's configurator of one edited object, in slot order: AddRef,
// Release, destructor, then slots 3 to 10. On this platform's ABI the virtual
// destructor takes two vtable entries, so slot n (n >= 3) is vtable entry n + 1.
#include <cstdint>

#include "ui/Win32.h"
#include "zrplugin/DataSource.h"
#include "zrplugin/IZRConfiguratorPage2.h"
#include "zrstd/ZRBase.h"

namespace ZRPlugin {

class IZRConfigurator : public ZRSTD::ZRBase {
public:
    virtual ~IZRConfigurator() = default;
    virtual std::int32_t GetPageCount() = 0;
    // The page at index, created as a child of parent, in *ppPage (null for
    // an index without a page). Raises ZRERR::Error when the page cannot be made.
    virtual void CreatePage(IZRConfiguratorPage2** ppPage, HWND parent, std::int32_t index) = 0;
    virtual void GetPageHelp(std::int32_t index, const wchar_t** ppTopic, std::int32_t* pHelpId) = 0;
    // The returned texts stay valid until the next title, description or help call.
    virtual const wchar_t* GetPageTitle(std::int32_t index) = 0;
    virtual const wchar_t* GetPageDescription(std::int32_t index) = 0;
    virtual std::int32_t GetPageFlags(std::int32_t reserved) = 0;
    // Raises module "ZRSTD" error 1186 for a null data source.
    virtual void SetInterfaces(IDataSource* dataSource) = 0;
    // Writes the settings a new object starts with.
    virtual void InitDefaults() = 0;
};

// Codes of the plug-in's errors (module "ZRSTD").
inline constexpr long kErrorNoProvider = 1182;
inline constexpr long kErrorSectionWithoutProvider = 1183;
inline constexpr long kErrorNoDataSource = 1186;
inline constexpr long kErrorSectionNotLoaded = 1187;
inline constexpr long kErrorNotImplemented = 1194;
inline constexpr long kErrorDefaultsNotWritten = 1196;

// The window property a page's window carries: its class name (a wide string
// that lives as long as the plug-in is loaded).
inline constexpr const wchar_t* kPageClassProperty = L"ZRNGTPLG_PAGE_CLASS";
// On a control a lock control governs: the lock control's window.
inline constexpr const wchar_t* kGoverningLockProperty = L"ZRNGTPLG_GOVERNING_LOCK";
// On a lock control whose group a policy enforces (a parent policy, or on one
// computer the computer's policy): the locking policy's name as the policy
// data gives it (a wide string, often empty on a computer); absent otherwise.
inline constexpr const wchar_t* kLockedByPolicyProperty = L"ZRNGTPLG_LOCKED_BY_POLICY";

}  // namespace ZRPlugin
