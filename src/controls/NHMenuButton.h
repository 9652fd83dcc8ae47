#pragma once

#include "ui/ControlWrappers.h"
#include "ui/Menus.h"

// A push button that opens a popup menu below itself. As a split button only
// its rightmost kMenuPartWidth pixels open the menu and the rest is a plain
// button. Before the menu opens, every item's enabled state and check mark
// are refreshed through the parent's command-update routing; the chosen
// command goes to the parent as WM_COMMAND (code 0, as from a menu).
class CNHMenuButton : public CButton {
public:
    static constexpr int kMenuPartWidth = 16;

    ~CNHMenuButton() override;

    // The button owns the menu from now on.
    void SetMenu(HMENU menu);
    HMENU GetMenu() const { return m_menu; }
    void SetSplit(bool split) { m_split = split; }
    bool IsSplit() const { return m_split; }
    bool IsMenuOpen() const { return m_menuOpen; }
    // Opens the menu as a press on the menu part does; returns the chosen command (0 for none).
    UINT OpenMenu();

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool OnMenuPart(LPARAM point) const;
    void RefreshItems();

    HMENU m_menu = nullptr;
    bool m_menuOpen = false;
    bool m_split = false;
};
