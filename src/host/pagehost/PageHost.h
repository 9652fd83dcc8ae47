#pragma once

#include <string>
#include <vector>

#include "zrplugin/IZRConfiguratorPage2.h"

// Embeds settings pages as the console's property sheet does: a sheet window
// that records every message the pages send it, pages created through their
// console interface, and OK as the console presses it (Validate, then Apply).
namespace host {

struct SheetMessage {
    UINT message = 0;
    bool posted = false;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    bool operator==(const SheetMessage&) const = default;
};

class PageHost {
public:
    PageHost();
    ~PageHost();
    PageHost(const PageHost&) = delete;
    PageHost& operator=(const PageHost&) = delete;

    HWND Sheet() const { return m_sheet; }

    // Creates the page's window in the sheet and keeps a reference to the page.
    HWND Embed(ZRPlugin::IZRConfiguratorPage2* page);

    enum class Outcome { Applied, Refused, Failed };
    struct OkResult {
        Outcome outcome = Outcome::Applied;
        std::wstring error;  // why applying failed
    };
    // Validates every embedded page, and when all accept, applies them in order.
    OkResult PressOk();
    // The two halves of PressOk, for a host that treats them differently.
    bool ValidateAll();
    OkResult ApplyAll();

    // The page's controls as a user sees them, one line each.
    static std::string ControlTable(HWND page);

    const std::vector<SheetMessage>& Messages() const { return m_messages; }
    void ClearMessages() { m_messages.clear(); }
    // The messages of interest the sheet records (by default all it is sent).
    void RecordOnly(std::vector<UINT> messages) { m_filter = std::move(messages); }

private:
    HWND m_sheet = nullptr;
    std::vector<ZRPlugin::IZRConfiguratorPage2*> m_pages;
    std::vector<SheetMessage> m_messages;
    std::vector<UINT> m_filter;
};

}  // namespace host
