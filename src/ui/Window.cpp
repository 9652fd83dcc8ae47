#include "ui/Window.h"

#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <utility>

#include "zrstd/Strings.h"

namespace {

struct WindowData {
    std::wstring className;
    std::wstring text;
    HWND parent = nullptr;
    int id = 0;
    DWORD style = 0;
    DWORD exStyle = 0;
    WPARAM font = 0;  // WM_SETFONT
    RECT rect;
    WindowProc procedure;
    std::vector<HWND> children;
    void* object = nullptr;
    std::map<std::wstring, void*> properties;
};

struct Posted {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// Handles are a slot number and a generation: a handle of a destroyed window
// never finds the window that later takes its slot.
struct WindowTable {
    std::vector<std::unique_ptr<WindowData>> slots;
    std::vector<std::uint32_t> generations;
    std::vector<std::size_t> free;
    std::map<std::wstring, WindowProcFactory> classes;
    std::map<std::wstring, UINT> registered;
    std::deque<Posted> queue;
    HWND focus = nullptr;

    static HWND Handle(std::size_t slot, std::uint32_t generation)
    {
        return reinterpret_cast<HWND>((static_cast<std::uintptr_t>(generation) << 32) | (slot + 1));
    }
    WindowData* Find(HWND window)
    {
        const auto raw = reinterpret_cast<std::uintptr_t>(window);
        const std::size_t slot = static_cast<std::size_t>(raw & 0xFFFFFFFFu);
        const auto generation = static_cast<std::uint32_t>(raw >> 32);
        if (slot == 0 || slot > slots.size() || generations[slot - 1] != generation) return nullptr;
        return slots[slot - 1].get();
    }
};

WindowTable& Table()
{
    static WindowTable* table = new WindowTable;  // windows may be destroyed from static destructors
    return *table;
}

WindowData* Get(HWND window) { return Table().Find(window); }

}  // namespace

void RegisterWindowClass(const std::wstring& className, WindowProcFactory factory)
{
    Table().classes[className] = std::move(factory);
}

HWND CreateWindowExW(DWORD exStyle, const std::wstring& className, const std::wstring& text, DWORD style,
                     const RECT& rect, HWND parent, int id)
{
    WindowTable& table = Table();
    const auto windowClass = table.classes.find(className);
    auto data = std::make_unique<WindowData>();
    data->className = className;
    data->text = text;
    data->parent = Get(parent) ? parent : nullptr;
    data->id = id;
    data->style = style;
    data->exStyle = exStyle;
    data->rect = rect;
    data->procedure = windowClass != table.classes.end() ? windowClass->second() : WindowProc(DefWindowProcW);
    std::size_t slot;
    if (!table.free.empty()) {
        slot = table.free.back();
        table.free.pop_back();
        table.slots[slot] = std::move(data);
    } else {
        slot = table.slots.size();
        table.slots.push_back(std::move(data));
        table.generations.push_back(0);
    }
    const HWND handle = WindowTable::Handle(slot, ++table.generations[slot]);
    if (WindowData* parentData = Get(parent)) parentData->children.push_back(handle);
    if (SendMessageW(handle, WM_CREATE, 0, 0) == -1) {
        DestroyWindow(handle);
        return nullptr;
    }
    return handle;
}

bool DestroyWindow(HWND window)
{
    if (!Get(window)) return false;
    // the window hears first, while its children still exist; then they go
    SendMessageW(window, WM_DESTROY, 0, 0);
    WindowData* data = Get(window);  // the procedure may have done anything
    if (!data) return true;
    for (HWND child : std::vector<HWND>(data->children)) DestroyWindow(child);
    WindowTable& table = Table();
    data = Get(window);
    if (!data) return true;
    if (WindowData* parent = Get(data->parent)) std::erase(parent->children, window);
    if (table.focus == window) table.focus = nullptr;
    std::erase_if(table.queue, [window](const Posted& posted) { return posted.window == window; });
    const auto raw = reinterpret_cast<std::uintptr_t>(window);
    const std::size_t slot = static_cast<std::size_t>(raw & 0xFFFFFFFFu) - 1;
    table.slots[slot].reset();
    table.free.push_back(slot);
    return true;
}

bool IsWindow(HWND window) { return Get(window) != nullptr; }

LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    WindowData* data = Get(window);
    if (!data) return 0;
    const WindowProc procedure = data->procedure;  // a copy: the procedure may replace itself
    return procedure(window, message, wParam, lParam);
}

bool PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!Get(window)) return false;
    Table().queue.push_back({window, message, wParam, lParam});
    return true;
}

namespace {
bool g_deliveringPosted = false;
}

int PumpMessages()
{
    int delivered = 0;
    WindowTable& table = Table();
    while (!table.queue.empty()) {
        const Posted posted = table.queue.front();
        table.queue.pop_front();
        const bool outer = std::exchange(g_deliveringPosted, true);
        SendMessageW(posted.window, posted.message, posted.wParam, posted.lParam);
        g_deliveringPosted = outer;
        ++delivered;
    }
    return delivered;
}

bool IsDeliveringPostedMessage() { return g_deliveringPosted; }

UINT RegisterWindowMessageW(const std::wstring& name)
{
    if (name.empty()) return 0;
    auto& registered = Table().registered;
    const auto found = registered.find(name);
    if (found != registered.end()) return found->second;
    const UINT id = 0xC000 + static_cast<UINT>(registered.size());
    if (id > 0xFFFF) return 0;
    registered.emplace(name, id);
    return id;
}

LRESULT DefWindowProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    WindowData* data = Get(window);
    if (!data) return 0;
    switch (message) {
    case WM_SETTEXT:
        data->text = lParam ? reinterpret_cast<const wchar_t*>(lParam) : L"";
        return TRUE;
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(data->text.size());
    case WM_GETTEXT: {
        // wParam: buffer size in characters, lParam: the buffer
        auto* buffer = reinterpret_cast<wchar_t*>(lParam);
        if (!buffer || wParam == 0) return 0;
        const std::size_t n = std::min<std::size_t>(data->text.size(), wParam - 1);
        data->text.copy(buffer, n);
        buffer[n] = L'\0';
        return static_cast<LRESULT>(n);
    }
    case WM_SETFONT: data->font = wParam; return 0;
    case WM_GETFONT: return static_cast<LRESULT>(data->font);
    case WM_NCHITTEST: return HTCLIENT;
    case WM_HELP:
        // unhandled help goes up to the parent
        return data->parent ? SendMessageW(data->parent, message, wParam, lParam) : 0;
    default: return 0;
    }
}

WindowProc SetWindowProc(HWND window, WindowProc procedure)
{
    WindowData* data = Get(window);
    if (!data) return nullptr;
    WindowProc previous = std::move(data->procedure);
    data->procedure = std::move(procedure);
    return previous;
}

HWND GetParent(HWND window)
{
    WindowData* data = Get(window);
    return data ? data->parent : nullptr;
}

HWND GetDlgItem(HWND dialog, int id)
{
    WindowData* data = Get(dialog);
    if (!data) return nullptr;
    for (HWND child : data->children)
        if (Get(child)->id == id) return child;
    return nullptr;
}

int GetDlgCtrlID(HWND window)
{
    WindowData* data = Get(window);
    return data ? data->id : 0;
}

std::vector<HWND> GetChildren(HWND window)
{
    WindowData* data = Get(window);
    return data ? data->children : std::vector<HWND>{};
}

std::wstring GetClassName(HWND window)
{
    WindowData* data = Get(window);
    return data ? data->className : std::wstring();
}

bool SetWindowTextW(HWND window, std::wstring_view text)
{
    if (!Get(window)) return false;
    const std::wstring copy(text);
    return SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(copy.c_str())) != 0;
}

std::wstring GetWindowTextW(HWND window)
{
    if (!Get(window)) return {};
    const auto length = static_cast<std::size_t>(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0));
    std::wstring text(length + 1, L'\0');
    const auto copied = static_cast<std::size_t>(
        SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data())));
    text.resize(std::min(copied, length));
    return text;
}

bool SetDlgItemTextW(HWND dialog, int id, std::wstring_view text) { return SetWindowTextW(GetDlgItem(dialog, id), text); }
std::wstring GetDlgItemTextW(HWND dialog, int id) { return GetWindowTextW(GetDlgItem(dialog, id)); }

DWORD GetWindowLongW(HWND window, int index)
{
    WindowData* data = Get(window);
    if (!data) return 0;
    switch (index) {
    case GWL_STYLE: return data->style;
    case GWL_EXSTYLE: return data->exStyle;
    case GWL_ID: return static_cast<DWORD>(data->id);
    default: return 0;
    }
}

DWORD SetWindowLongW(HWND window, int index, DWORD value)
{
    WindowData* data = Get(window);
    if (!data) return 0;
    DWORD* field = index == GWL_STYLE ? &data->style : index == GWL_EXSTYLE ? &data->exStyle : nullptr;
    if (index == GWL_ID) {
        const auto previous = static_cast<DWORD>(data->id);
        data->id = static_cast<int>(value);
        return previous;
    }
    if (!field) return 0;
    return std::exchange(*field, value);
}

bool EnableWindow(HWND window, bool enable)
{
    WindowData* data = Get(window);
    if (!data) return false;
    const bool wasDisabled = (data->style & WS_DISABLED) != 0;
    if (enable) data->style &= ~WS_DISABLED;
    else data->style |= WS_DISABLED;
    if (wasDisabled == enable) SendMessageW(window, WM_ENABLE, enable ? TRUE : FALSE, 0);
    if (!enable && Table().focus == window) Table().focus = nullptr;
    return wasDisabled;
}

bool IsWindowEnabled(HWND window)
{
    WindowData* data = Get(window);
    return data && (data->style & WS_DISABLED) == 0;
}

bool ShowWindow(HWND window, int command)
{
    WindowData* data = Get(window);
    if (!data) return false;
    const bool wasVisible = (data->style & WS_VISIBLE) != 0;
    const bool show = command != SW_HIDE;
    if (show) data->style |= WS_VISIBLE;
    else data->style &= ~WS_VISIBLE;
    if (wasVisible != show) SendMessageW(window, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
    return wasVisible;
}

bool IsWindowVisible(HWND window)
{
    for (WindowData* data = Get(window); data; data = Get(data->parent))
        if ((data->style & WS_VISIBLE) == 0) return false;
    return Get(window) != nullptr;
}

HWND SetFocus(HWND window)
{
    WindowTable& table = Table();
    const HWND previous = table.focus;
    if (window && !Get(window)) return previous;
    if (previous == window) return previous;
    table.focus = window;
    if (Get(previous)) SendMessageW(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(window), 0);
    if (window) SendMessageW(window, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
    return previous;
}

HWND GetFocus() { return Get(Table().focus) ? Table().focus : nullptr; }

RECT GetWindowRect(HWND window)
{
    WindowData* data = Get(window);
    return data ? data->rect : RECT{};
}

bool MoveWindow(HWND window, const RECT& rect)
{
    WindowData* data = Get(window);
    if (!data) return false;
    const bool resized = data->rect.Width() != rect.Width() || data->rect.Height() != rect.Height();
    data->rect = rect;
    if (resized)
        SendMessageW(window, WM_SIZE, 0,
                     static_cast<LPARAM>(MAKEWPARAM(static_cast<WORD>(rect.Width()), static_cast<WORD>(rect.Height()))));
    return true;
}

void SetWindowObject(HWND window, void* object)
{
    if (WindowData* data = Get(window)) data->object = object;
}

void* GetWindowObject(HWND window)
{
    WindowData* data = Get(window);
    return data ? data->object : nullptr;
}

bool SetPropW(HWND window, const std::wstring& name, void* value)
{
    WindowData* data = Get(window);
    if (!data || name.empty()) return false;
    data->properties[name] = value;
    return true;
}

void* GetPropW(HWND window, const std::wstring& name)
{
    WindowData* data = Get(window);
    if (!data) return nullptr;
    auto found = data->properties.find(name);
    return found == data->properties.end() ? nullptr : found->second;
}

void* RemovePropW(HWND window, const std::wstring& name)
{
    WindowData* data = Get(window);
    if (!data) return nullptr;
    auto found = data->properties.find(name);
    if (found == data->properties.end()) return nullptr;
    void* value = found->second;
    data->properties.erase(found);
    return value;
}

LRESULT NotifyParentCommand(HWND control, WORD code)
{
    WindowData* data = Get(control);
    if (!data || !data->parent) return 0;
    return SendMessageW(data->parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(data->id), code),
                        reinterpret_cast<LPARAM>(control));
}

LRESULT NotifyParent(HWND control, NMHDR& hdr, UINT code)
{
    WindowData* data = Get(control);
    if (!data || !data->parent) return 0;
    hdr.hwndFrom = control;
    hdr.idFrom = static_cast<std::uintptr_t>(data->id);
    hdr.code = code;
    return SendMessageW(data->parent, WM_NOTIFY, static_cast<WPARAM>(data->id), reinterpret_cast<LPARAM>(&hdr));
}
