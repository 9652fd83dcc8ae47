#pragma once

// A settings page made for one control test, embedded in the console's sheet:
// its template is given as data, the test binds its controls when the dialog
// initialises, and it records what it receives from them as a page would
// handle it (WM_COMMAND and WM_NOTIFY after the controls' own reflection, and
// registered messages).
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "controls/NHPPropertyPageBase.h"
#include "controls/PluginEnvironment.h"
#include "host/pagehost/PageHost.h"
#include "support/MessageSequence.h"
#include "support/UserFixture.h"
#include "ui/Interaction.h"
#include "ui/Menus.h"
#include "ui/Mouse.h"
#include "ui/Registry.h"
#include "ui/Services.h"

namespace testsupport {

class ControlPage : public CNHPPropertyPageBase {
public:
    ControlPage(UINT templateId, std::function<void(ControlPage&)> bind)
        : CNHPPropertyPageBase(templateId), m_bind(std::move(bind))
    {
    }

    std::vector<Message> received;
    // What the page does on a command from one of its controls (after recording it).
    std::function<void(WORD id, WORD code)> onCommand;
    // The page's command-update routing for menus its controls open.
    std::function<bool(CCmdUI&)> updateCommand;

protected:
    bool OnInitDialog() override
    {
        CNHPPropertyPageBase::OnInitDialog();
        if (m_bind) m_bind(*this);
        return true;
    }
    bool OnCommand(WORD id, WORD code, HWND control) override
    {
        received.push_back(Command(id, code, control));
        if (onCommand) onCommand(id, code);
        return false;
    }
    bool OnNotify(NMHDR* header, LRESULT*) override
    {
        received.push_back({WM_NOTIFY, header->idFrom, static_cast<LPARAM>(static_cast<std::int32_t>(header->code))});
        return false;
    }
    bool OnUpdateCommandUI(CCmdUI& item) override { return updateCommand ? updateCommand(item) : false; }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message >= 0xC000) received.push_back({message, wParam, lParam});
        return CNHPPropertyPageBase::WindowProc(message, wParam, lParam);
    }

private:
    std::function<void(ControlPage&)> m_bind;
};

// The plug-in's environment for a control test: a module with the strings and
// templates the test adds (selected only where the plug-in selects its state),
// a scripted user, a clean registry and a clean record of services.
class ControlTest : public UserTest {
protected:
    void SetUp() override
    {
        UserTest::SetUp();
        ui::ResetRegistry();
        ui::ClearServiceCalls();
        ui::SetShellOpenResult(true);
        ui::SetStartProgramResult(true);
        PluginEnvironment& environment = GetPluginEnvironment();
        environment = PluginEnvironment{};
        environment.moduleState = {&module, nullptr};
        environment.messageCaption = L"Агент администрирования Brenvik";
        sheet = std::make_unique<host::PageHost>();
    }
    void TearDown() override
    {
        sheet.reset();
        UserTest::TearDown();
    }

    // A page over a template with these controls, embedded in the sheet; bind
    // runs while the dialog initialises.
    HWND ShowPage(std::vector<ui::ControlTemplate> controls, std::function<void(ControlPage&)> bind,
                  RECT rect = RECT{0, 0, 400, 300})
    {
        ui::DialogTemplate pageTemplate;
        pageTemplate.id = 9100 + m_pages++;
        pageTemplate.rect = rect;
        pageTemplate.controls = std::move(controls);
        module.AddTemplate(pageTemplate);
        page = new ControlPage(pageTemplate.id, std::move(bind));
        HWND window = sheet->Embed(page);
        page->Release();  // the sheet holds it
        return window;
    }
    // Closes the sheet and with it the page (its controls see WM_DESTROY).
    void ClosePage()
    {
        sheet.reset();
        page = nullptr;
    }
    // Closes the page and opens a new sheet, for the next case of a table.
    void NextSheet()
    {
        ClosePage();
        sheet = std::make_unique<host::PageHost>();
    }

    ui::ResourceModule module{L"plug-in"};
    std::unique_ptr<host::PageHost> sheet;
    ControlPage* page = nullptr;

private:
    UINT m_pages = 0;
};

inline constexpr DWORD kVisibleChild = WS_CHILD | WS_VISIBLE;

// A value under a key of the user's registry, as a program reads it back.
struct RegistryValue {
    bool exists = false;
    DWORD type = 0;
    std::vector<std::uint8_t> data;
};

inline RegistryValue ReadRegistryValue(const std::wstring& key, const std::wstring& name)
{
    RegistryValue value;
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, key, KEY_READ, &opened) != ERROR_SUCCESS) return value;
    value.exists = RegQueryValueExW(opened, name, &value.type, &value.data) == ERROR_SUCCESS;
    RegCloseKey(opened);
    return value;
}

}  // namespace testsupport
