#include "host/pagehost/PageHost.h"

#include <algorithm>

#include "ui/ControlTable.h"
#include "ui/Wnd.h"
#include "zrstd/Error.h"

namespace host {

PageHost::PageHost()
{
    ui::InitializePlatform();
    static const bool registered = [] {
        RegisterWindowClass(L"ConsolePropertySheet", [] { return WindowProc(DefWindowProcW); });
        return true;
    }();
    (void)registered;
    m_sheet = CreateWindowExW(0, L"ConsolePropertySheet", L"", WS_VISIBLE, RECT{0, 0, 640, 480}, nullptr, 0);
    SetWindowProc(m_sheet, [this](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (m_filter.empty() || std::find(m_filter.begin(), m_filter.end(), message) != m_filter.end())
            m_messages.push_back({message, IsDeliveringPostedMessage(), wParam, lParam});
        return DefWindowProcW(window, message, wParam, lParam);
    });
}

PageHost::~PageHost()
{
    for (auto* page : m_pages) page->Release();
    DestroyWindow(m_sheet);
}

HWND PageHost::Embed(ZRPlugin::IZRConfiguratorPage2* page)
{
    if (!page) return nullptr;
    HWND window = page->CreatePageWindow(m_sheet);
    if (!window) return nullptr;
    page->AddRef();
    m_pages.push_back(page);
    return window;
}

std::string PageHost::ControlTable(HWND page) { return ui::FormatControlTable(ui::DescribeControls(page)); }

bool PageHost::ValidateAll()
{
    for (auto* page : m_pages)
        if (!page->Validate()) return false;
    return true;
}

PageHost::OkResult PageHost::ApplyAll()
{
    for (auto* page : m_pages) {
        try {
            page->Apply();
        } catch (const ZRERR::Error& error) {
            return {Outcome::Failed, error.GetMessage()};
        }
    }
    return {Outcome::Applied, L""};
}

PageHost::OkResult PageHost::PressOk()
{
    if (!ValidateAll()) return {Outcome::Refused, L""};
    return ApplyAll();
}

}  // namespace host
