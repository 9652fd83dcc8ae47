#include "ui/Menus.h"

#include <map>
#include <vector>

#include "ui/Interaction.h"
#include "ui/Window.h"

namespace {

struct MenuItem {
    UINT id = 0;
    std::wstring text;
    UINT state = 0;  // MF_GRAYED, MF_DISABLED, MF_CHECKED
    HMENU submenu = nullptr;
    bool separator = false;
};

struct Menu {
    std::vector<MenuItem> items;
};

struct MenuTable {
    std::map<std::uintptr_t, Menu> menus;
    std::uintptr_t next = 0x100;
};

MenuTable& Table()
{
    static MenuTable* table = new MenuTable;
    return *table;
}

Menu* Find(HMENU menu)
{
    const auto found = Table().menus.find(reinterpret_cast<std::uintptr_t>(menu));
    return found == Table().menus.end() ? nullptr : &found->second;
}

// The item named by command id (searching submenus too) or by position.
MenuItem* FindItem(HMENU menu, UINT item, UINT flags)
{
    Menu* found = Find(menu);
    if (!found) return nullptr;
    if (flags & MF_BYPOSITION) return item < found->items.size() ? &found->items[item] : nullptr;
    for (MenuItem& entry : found->items) {
        if (!entry.separator && !entry.submenu && entry.id == item) return &entry;
        if (entry.submenu)
            if (MenuItem* inner = FindItem(entry.submenu, item, flags)) return inner;
    }
    return nullptr;
}

constexpr UINT kStateBits = MF_GRAYED | MF_DISABLED | MF_CHECKED;

}  // namespace

HMENU CreatePopupMenu()
{
    MenuTable& table = Table();
    const std::uintptr_t id = table.next++;
    table.menus.emplace(id, Menu{});
    return reinterpret_cast<HMENU>(id);
}

bool DestroyMenu(HMENU menu)
{
    Menu* found = Find(menu);
    if (!found) return false;
    const std::vector<MenuItem> items = std::move(found->items);
    Table().menus.erase(reinterpret_cast<std::uintptr_t>(menu));
    for (const MenuItem& item : items)
        if (item.submenu) DestroyMenu(item.submenu);
    return true;
}

bool IsMenu(HMENU menu) { return Find(menu) != nullptr; }

bool AppendMenuW(HMENU menu, UINT flags, std::uintptr_t idOrSubmenu, const std::wstring& text)
{
    Menu* found = Find(menu);
    if (!found) return false;
    MenuItem item;
    item.separator = (flags & MF_SEPARATOR) != 0;
    item.state = flags & kStateBits;
    item.text = item.separator ? L"" : text;
    if (flags & MF_POPUP) {
        item.submenu = reinterpret_cast<HMENU>(idOrSubmenu);
        if (!Find(item.submenu)) return false;
    } else if (!item.separator) {
        item.id = static_cast<UINT>(idOrSubmenu);
    }
    found->items.push_back(std::move(item));
    return true;
}

int GetMenuItemCount(HMENU menu)
{
    const Menu* found = Find(menu);
    return found ? static_cast<int>(found->items.size()) : -1;
}

UINT GetMenuItemID(HMENU menu, int position)
{
    const MenuItem* item = position < 0 ? nullptr : FindItem(menu, static_cast<UINT>(position), MF_BYPOSITION);
    if (!item || item->submenu) return kNoMenuItem;
    return item->separator ? 0 : item->id;
}

UINT GetMenuState(HMENU menu, UINT item, UINT flags)
{
    const MenuItem* found = FindItem(menu, item, flags);
    if (!found) return kNoMenuItem;
    return found->state | (found->separator ? MF_SEPARATOR : 0) | (found->submenu ? MF_POPUP : 0);
}

std::wstring GetMenuStringW(HMENU menu, UINT item, UINT flags)
{
    const MenuItem* found = FindItem(menu, item, flags);
    return found ? found->text : std::wstring();
}

UINT EnableMenuItem(HMENU menu, UINT item, UINT flags)
{
    MenuItem* found = FindItem(menu, item, flags);
    if (!found) return kNoMenuItem;
    const UINT previous = found->state & (MF_GRAYED | MF_DISABLED);
    found->state = (found->state & ~(MF_GRAYED | MF_DISABLED)) | (flags & (MF_GRAYED | MF_DISABLED));
    return previous;
}

UINT CheckMenuItem(HMENU menu, UINT item, UINT flags)
{
    MenuItem* found = FindItem(menu, item, flags);
    if (!found) return kNoMenuItem;
    const UINT previous = found->state & MF_CHECKED;
    found->state = (found->state & ~MF_CHECKED) | (flags & MF_CHECKED);
    return previous;
}

int TrackPopupMenu(HMENU menu, UINT flags, int x, int y, HWND owner)
{
    const Menu* found = Find(menu);
    if (!found) return 0;
    ui::ShownMenu shown;
    shown.owner = owner;
    shown.at = POINT{x, y};
    shown.flags = flags;
    for (const MenuItem& item : found->items)
        shown.items.push_back({item.id, item.text, (item.state & (MF_GRAYED | MF_DISABLED)) == 0,
                               (item.state & MF_CHECKED) != 0, item.separator});
    const UINT chosen = ui::RunPopupMenu(std::move(shown));
    if (flags & TPM_RETURNCMD) return static_cast<int>(chosen);
    if (chosen) PostMessageW(owner, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(chosen), 0), 0);
    return chosen != 0;
}

CCmdUI::CCmdUI(HMENU menu, int index) : m_nID(GetMenuItemID(menu, index)), m_nIndex(index), m_hMenu(menu) {}

void CCmdUI::Enable(bool on)
{
    EnableMenuItem(m_hMenu, static_cast<UINT>(m_nIndex), MF_BYPOSITION | (on ? MF_ENABLED : MF_GRAYED));
}

void CCmdUI::SetCheck(int check)
{
    CheckMenuItem(m_hMenu, static_cast<UINT>(m_nIndex), MF_BYPOSITION | (check ? MF_CHECKED : MF_UNCHECKED));
}
