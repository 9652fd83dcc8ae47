#pragma once

#include <cstdint>
#include <string>

#include "ui/Api.h"
#include "ui/Win32.h"

// Popup menus: items with a command id, text, enabled and check state, and
// TrackPopupMenu, which lets the interaction driver choose (Interaction.h).
struct HMENU__;
using HMENU = HMENU__*;

inline constexpr UINT MF_STRING = 0x0, MF_ENABLED = 0x0, MF_GRAYED = 0x1, MF_DISABLED = 0x2, MF_UNCHECKED = 0x0,
                      MF_CHECKED = 0x8, MF_POPUP = 0x10, MF_SEPARATOR = 0x800, MF_BYCOMMAND = 0x0,
                      MF_BYPOSITION = 0x400;
inline constexpr UINT TPM_LEFTALIGN = 0x0, TPM_RIGHTALIGN = 0x8, TPM_TOPALIGN = 0x0, TPM_RETURNCMD = 0x100,
                      TPM_LAYOUTRTL = 0x8000;
inline constexpr UINT kNoMenuItem = 0xFFFFFFFF;

UI_API HMENU CreatePopupMenu();
UI_API bool DestroyMenu(HMENU menu);
UI_API bool IsMenu(HMENU menu);
// idOrSubmenu is the command id, or with MF_POPUP the submenu (which the menu then owns).
UI_API bool AppendMenuW(HMENU menu, UINT flags, std::uintptr_t idOrSubmenu, const std::wstring& text = L"");
UI_API int GetMenuItemCount(HMENU menu);
// The command id at a position; kNoMenuItem for a submenu or no item, 0 for a separator.
UI_API UINT GetMenuItemID(HMENU menu, int position);
// The MF_ state bits of an item, or kNoMenuItem.
UI_API UINT GetMenuState(HMENU menu, UINT item, UINT flags);
UI_API std::wstring GetMenuStringW(HMENU menu, UINT item, UINT flags);
// Both return the previous state bits, or kNoMenuItem when the item does not exist.
UI_API UINT EnableMenuItem(HMENU menu, UINT item, UINT flags);
UI_API UINT CheckMenuItem(HMENU menu, UINT item, UINT flags);

// Shows the menu at a screen point; the user chooses an item or nothing. With
// TPM_RETURNCMD the chosen command is returned (0 for none); otherwise it is
// posted to the owner as WM_COMMAND and the result is whether one was chosen.
UI_API int TrackPopupMenu(HMENU menu, UINT flags, int x, int y, HWND owner);

// One item of a menu, as the owner's command-update routing sees it.
class UI_API CCmdUI {
public:
    CCmdUI(HMENU menu, int index);
    void Enable(bool on = true);
    void SetCheck(int check = 1);

    UINT m_nID = 0;
    int m_nIndex = 0;
    HMENU m_hMenu = nullptr;
};
