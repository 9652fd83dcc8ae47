#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ui/Api.h"
#include "ui/Win32.h"

// Resource modules and the module state. A module holds a string table,
// dialog templates and raw resources. The current module state names the own
// module and, optionally, a resource module whose strings override the own
// module's by id; every entry from a host into a plug-in selects the plug-in's
// state for the duration of the call (ModuleStateScope).
namespace ui {

struct ControlTemplate {
    int id = 0;
    std::wstring className;  // "Button", "Edit", "Static", "ComboBox", ...
    std::wstring caption;
    DWORD style = WS_CHILD | WS_VISIBLE;
    RECT rect;
    DWORD exStyle = 0;
};

struct DialogTemplate {
    UINT id = 0;
    std::wstring caption;
    RECT rect{0, 0, 400, 300};
    DWORD style = WS_CHILD;
    std::vector<ControlTemplate> controls;
};

class UI_API ResourceModule {
public:
    explicit ResourceModule(std::wstring name) : m_name(std::move(name)) {}

    void AddString(UINT id, std::wstring text) { m_strings[id] = std::move(text); }
    void AddTemplate(DialogTemplate dialog) { m_templates[dialog.id] = std::move(dialog); }
    void AddRaw(const std::wstring& type, UINT id, std::vector<std::uint8_t> bytes) { m_raw[{type, id}] = std::move(bytes); }

    const std::wstring* FindString(UINT id) const;
    const DialogTemplate* FindTemplate(UINT id) const;
    const std::vector<std::uint8_t>* FindRaw(const std::wstring& type, UINT id) const;
    const std::wstring& Name() const { return m_name; }
    std::size_t StringCount() const { return m_strings.size(); }

private:
    std::wstring m_name;
    std::map<UINT, std::wstring> m_strings;
    std::map<UINT, DialogTemplate> m_templates;
    std::map<std::pair<std::wstring, UINT>, std::vector<std::uint8_t>> m_raw;
};

// Strings of a string-table file: UTF-8 lines "id<TAB>text", where \t, \n
// and \\ in the text stand for a tab, a line break and a backslash; empty
// lines and lines starting with '#' are skipped. Malformed lines are reported
// in problems (with their line numbers) and skipped.
UI_API void ParseStringTable(std::string_view contents, ResourceModule& module, std::vector<std::wstring>& problems);

// A resource module file (strings only), or null when the file does not exist
// or cannot be read; its malformed lines are traced and skipped.
UI_API std::unique_ptr<ResourceModule> LoadResourceModuleFile(const std::string& path);

struct ModuleState {
    const ResourceModule* own = nullptr;
    const ResourceModule* resources = nullptr;  // may be null
};

UI_API ModuleState& CurrentModuleState();

// Selects a module state and restores the caller's on leaving the scope.
class UI_API ModuleStateScope {
public:
    explicit ModuleStateScope(const ModuleState& state);
    ~ModuleStateScope();
    ModuleStateScope(const ModuleStateScope&) = delete;
    ModuleStateScope& operator=(const ModuleStateScope&) = delete;

private:
    ModuleState m_saved;
};

// The string in the resource module, else in the own module, else empty.
UI_API std::wstring LoadStringW(UINT id);
UI_API bool HasString(UINT id);
// A dialog template: the resource module first, then the own module.
UI_API const DialogTemplate* FindDialogTemplate(UINT id);
// A raw resource of the own module.
UI_API const std::vector<std::uint8_t>* FindRawResource(const std::wstring& type, UINT id);

}  // namespace ui
