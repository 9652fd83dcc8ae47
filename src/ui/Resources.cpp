#include "ui/Resources.h"

#include <fstream>
#include <sstream>

#include "zrstd/Format.h"
#include "zrstd/Strings.h"
#include "zrstd/Trace.h"

namespace ui {

const std::wstring* ResourceModule::FindString(UINT id) const
{
    const auto found = m_strings.find(id);
    return found == m_strings.end() ? nullptr : &found->second;
}

const DialogTemplate* ResourceModule::FindTemplate(UINT id) const
{
    const auto found = m_templates.find(id);
    return found == m_templates.end() ? nullptr : &found->second;
}

const std::vector<std::uint8_t>* ResourceModule::FindRaw(const std::wstring& type, UINT id) const
{
    const auto found = m_raw.find({type, id});
    return found == m_raw.end() ? nullptr : &found->second;
}

void ParseStringTable(std::string_view contents, ResourceModule& module, std::vector<std::wstring>& problems)
{
    std::size_t lineNumber = 0;
    std::size_t start = 0;
    while (start <= contents.size()) {
        const std::size_t end = contents.find('\n', start);
        std::string_view line = contents.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        start = end == std::string_view::npos ? contents.size() + 1 : end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (lineNumber == 1 && line.substr(0, 3) == "\xEF\xBB\xBF") line.remove_prefix(3);
        if (line.empty() || line.front() == '#') continue;
        const std::size_t tab = line.find('\t');
        std::string_view idText = line.substr(0, tab);
        UINT id = 0;
        bool valid = tab != std::string_view::npos && !idText.empty() && idText.size() <= 9;
        for (char c : idText) {
            if (c < '0' || c > '9') valid = false;
            else id = id * 10 + static_cast<UINT>(c - '0');
        }
        if (!valid) {
            problems.push_back(ZRSTD::FormatW(L"line %zu: expected \"id<TAB>text\"", lineNumber));
            continue;
        }
        std::string text;
        const std::string_view raw = line.substr(tab + 1);
        for (std::size_t i = 0; i < raw.size(); ++i) {
            if (raw[i] != '\\' || i + 1 == raw.size()) {
                text.push_back(raw[i]);
                continue;
            }
            const char escaped = raw[++i];
            text.push_back(escaped == 't' ? '\t' : escaped == 'n' ? '\n' : escaped);
        }
        module.AddString(id, ZRSTD::FromUtf8(text));
    }
}

std::unique_ptr<ResourceModule> LoadResourceModuleFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return nullptr;
    std::stringstream contents;
    contents << in.rdbuf();
    if (in.bad()) return nullptr;
    auto module = std::make_unique<ResourceModule>(ZRSTD::FromUtf8(path));
    std::vector<std::wstring> problems;
    ParseStringTable(contents.str(), *module, problems);
    for (const auto& problem : problems) ZRSTD::Trace(1, L"resource module \"%hs\": %s (skipped)", path, problem);
    return module;
}

ModuleState& CurrentModuleState()
{
    thread_local ModuleState state;
    return state;
}

ModuleStateScope::ModuleStateScope(const ModuleState& state) : m_saved(CurrentModuleState())
{
    CurrentModuleState() = state;
}

ModuleStateScope::~ModuleStateScope() { CurrentModuleState() = m_saved; }

std::wstring LoadStringW(UINT id)
{
    const ModuleState& state = CurrentModuleState();
    if (state.resources)
        if (const std::wstring* text = state.resources->FindString(id)) return *text;
    if (state.own)
        if (const std::wstring* text = state.own->FindString(id)) return *text;
    return {};
}

bool HasString(UINT id)
{
    const ModuleState& state = CurrentModuleState();
    return (state.resources && state.resources->FindString(id)) || (state.own && state.own->FindString(id));
}

const DialogTemplate* FindDialogTemplate(UINT id)
{
    const ModuleState& state = CurrentModuleState();
    if (state.resources)
        if (const DialogTemplate* found = state.resources->FindTemplate(id)) return found;
    return state.own ? state.own->FindTemplate(id) : nullptr;
}

const std::vector<std::uint8_t>* FindRawResource(const std::wstring& type, UINT id)
{
    const ModuleState& state = CurrentModuleState();
    return state.own ? state.own->FindRaw(type, id) : nullptr;
}

}  // namespace ui
