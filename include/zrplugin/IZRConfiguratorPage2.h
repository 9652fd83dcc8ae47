#pragma once

// The console's interface to a settings page, in slot order: AddRef, Release,
// destructor, then slots 3 to 12 (IZRConfiguratorPage) and 13, 14
// (IZRConfiguratorPage2). On this platform's ABI the virtual destructor takes
// two vtable entries, so slot n (n >= 3) is vtable entry n + 1.
#include <cstdint>

#include "ui/Win32.h"
#include "zrstd/ZRBase.h"

namespace ZRPlugin {

class IZRConfiguratorPage : public ZRSTD::ZRBase {
public:
    virtual ~IZRConfiguratorPage() = default;
    virtual void ReservedSlot3(std::int32_t argument) = 0;
    virtual HWND GetWindow() = 0;
    virtual bool IsModified() = 0;
    // Saves the page; a failure raises module "ZRSTD" error 1192.
    virtual void Apply() = 0;
    // Non-zero when the page's values may be applied.
    virtual std::int32_t Validate() = 0;
    virtual void ReservedSlot8() = 0;
    virtual std::int32_t Activate() = 0;
    virtual void ReservedSlot10() = 0;
    virtual std::int32_t Deactivate() = 0;
    virtual void ReservedSlot12() = 0;
};

class IZRConfiguratorPage2 : public IZRConfiguratorPage {
public:
    // Creates the page's window as a child of parent; null when it cannot.
    virtual HWND CreatePageWindow(HWND parent) = 0;
    virtual void ShowHelp() = 0;
};

// The code the console receives when applying a page failed.
inline constexpr long kPageApplyFailed = 1192;

}  // namespace ZRPlugin
