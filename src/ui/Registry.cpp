#include "ui/Registry.h"

#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>

#include "zrstd/AtomicFile.h"
#include "zrstd/Crypto.h"
#include "zrstd/Strings.h"
#include "zrstd/Trace.h"

const HKEY HKEY_CLASSES_ROOT = reinterpret_cast<HKEY>(std::uintptr_t{0x80000000});
const HKEY HKEY_CURRENT_USER = reinterpret_cast<HKEY>(std::uintptr_t{0x80000001});
const HKEY HKEY_LOCAL_MACHINE = reinterpret_cast<HKEY>(std::uintptr_t{0x80000002});

namespace {

struct StoredValue {
    std::wstring name;  // as first written
    DWORD type = 0;
    std::vector<std::uint8_t> data;
};

struct Key {
    std::wstring path;  // as first written, with its root
    std::map<std::wstring, StoredValue> values;  // by lower-case name
};

struct RegistryState {
    std::map<std::wstring, Key> keys;  // by lower-case full path
    std::map<std::uintptr_t, std::wstring> open;  // handle -> lower-case full path
    std::uintptr_t nextHandle = 1;
    std::string file;
};

RegistryState& State()
{
    static RegistryState* state = new RegistryState;
    return *state;
}

std::wstring RootName(HKEY root)
{
    if (root == HKEY_CLASSES_ROOT) return L"HKEY_CLASSES_ROOT";
    if (root == HKEY_CURRENT_USER) return L"HKEY_CURRENT_USER";
    if (root == HKEY_LOCAL_MACHINE) return L"HKEY_LOCAL_MACHINE";
    const auto found = State().open.find(reinterpret_cast<std::uintptr_t>(root));
    return found == State().open.end() ? std::wstring() : State().keys[found->second].path;
}

std::wstring Join(const std::wstring& root, const std::wstring& subKey)
{
    std::wstring path = root;
    std::wstring rest = subKey;
    while (!rest.empty() && rest.front() == L'\\') rest.erase(rest.begin());
    while (!rest.empty() && rest.back() == L'\\') rest.pop_back();
    if (!rest.empty()) path += L"\\" + rest;
    return path;
}

HKEY NewHandle(const std::wstring& lowerPath)
{
    RegistryState& state = State();
    const std::uintptr_t handle = state.nextHandle++;
    state.open[handle] = lowerPath;
    return reinterpret_cast<HKEY>(handle);
}

Key* OpenKey(HKEY key)
{
    RegistryState& state = State();
    const auto found = state.open.find(reinterpret_cast<std::uintptr_t>(key));
    if (found == state.open.end()) return nullptr;
    const auto entry = state.keys.find(found->second);
    return entry == state.keys.end() ? nullptr : &entry->second;
}

// Rewrites the registry file; what failed goes to problem when given, else to the trace.
bool Save(std::string* problem = nullptr)
{
    RegistryState& state = State();
    if (state.file.empty()) return true;
    nlohmann::ordered_json document = nlohmann::ordered_json::object();
    for (const auto& [lower, key] : state.keys) {
        auto values = nlohmann::ordered_json::object();
        for (const auto& [name, value] : key.values)
            values[ZRSTD::ToUtf8(value.name)] = {{"type", value.type},
                                                 {"data", ZRSTD::Base64Encode(value.data.data(), value.data.size())}};
        document[ZRSTD::ToUtf8(key.path)] = values;
    }
    const auto failure = ZRSTD::WriteFileAtomically(state.file, document.dump(2) + "\n");
    if (!failure) return true;
    if (problem) *problem = failure->Describe(state.file);
    else ZRSTD::Trace(1, L"registry: %hs", failure->Describe(state.file));
    return false;
}

}  // namespace

LSTATUS RegCreateKeyExW(HKEY root, const std::wstring& subKey, DWORD, HKEY* result)
{
    if (!result) return ERROR_INVALID_HANDLE;
    const std::wstring rootPath = RootName(root);
    if (rootPath.empty()) return ERROR_INVALID_HANDLE;
    // every key on the way exists afterwards
    std::wstring path = rootPath;
    std::wstring rest = Join(L"", subKey);
    std::size_t start = rest.empty() ? std::wstring::npos : 1;
    while (start != std::wstring::npos && start <= rest.size()) {
        const std::size_t end = rest.find(L'\\', start);
        path += L"\\" + rest.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
        auto& key = State().keys[ZRSTD::ToLower(path)];
        if (key.path.empty()) key.path = path;
        start = end == std::wstring::npos ? std::wstring::npos : end + 1;
    }
    *result = NewHandle(ZRSTD::ToLower(Join(rootPath, subKey)));
    auto& key = State().keys[ZRSTD::ToLower(Join(rootPath, subKey))];
    if (key.path.empty()) key.path = Join(rootPath, subKey);
    return Save() ? ERROR_SUCCESS : ERROR_WRITE_FAULT;
}

LSTATUS RegOpenKeyExW(HKEY root, const std::wstring& subKey, DWORD, HKEY* result)
{
    if (!result) return ERROR_INVALID_HANDLE;
    const std::wstring rootPath = RootName(root);
    if (rootPath.empty()) return ERROR_INVALID_HANDLE;
    const std::wstring lower = ZRSTD::ToLower(Join(rootPath, subKey));
    if (!subKey.empty() && !State().keys.count(lower)) return ERROR_FILE_NOT_FOUND;
    *result = NewHandle(lower);
    return ERROR_SUCCESS;
}

LSTATUS RegCloseKey(HKEY key)
{
    return State().open.erase(reinterpret_cast<std::uintptr_t>(key)) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

LSTATUS RegSetValueExW(HKEY key, const std::wstring& name, DWORD type, const void* data, std::size_t size)
{
    Key* target = OpenKey(key);
    if (!target) return ERROR_INVALID_HANDLE;
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    target->values[ZRSTD::ToLower(name)] = {name, type, std::vector<std::uint8_t>(bytes, bytes + (bytes ? size : 0))};
    return Save() ? ERROR_SUCCESS : ERROR_WRITE_FAULT;
}

LSTATUS RegQueryValueExW(HKEY key, const std::wstring& name, DWORD* type, std::vector<std::uint8_t>* data)
{
    Key* target = OpenKey(key);
    if (!target) return ERROR_INVALID_HANDLE;
    const auto found = target->values.find(ZRSTD::ToLower(name));
    if (found == target->values.end()) return ERROR_FILE_NOT_FOUND;
    if (type) *type = found->second.type;
    if (data) *data = found->second.data;
    return ERROR_SUCCESS;
}

LSTATUS RegDeleteValueW(HKEY key, const std::wstring& name)
{
    Key* target = OpenKey(key);
    if (!target) return ERROR_INVALID_HANDLE;
    if (!target->values.erase(ZRSTD::ToLower(name))) return ERROR_FILE_NOT_FOUND;
    return Save() ? ERROR_SUCCESS : ERROR_WRITE_FAULT;
}

LSTATUS RegDeleteTreeW(HKEY root, const std::wstring& subKey)
{
    const std::wstring rootPath = RootName(root);
    if (rootPath.empty()) return ERROR_INVALID_HANDLE;
    const std::wstring lower = ZRSTD::ToLower(Join(rootPath, subKey));
    auto& keys = State().keys;
    const std::size_t before = keys.size();
    std::erase_if(keys, [&](const auto& entry) {
        return entry.first == lower || entry.first.rfind(lower + L"\\", 0) == 0;
    });
    if (keys.size() == before) return ERROR_FILE_NOT_FOUND;
    return Save() ? ERROR_SUCCESS : ERROR_WRITE_FAULT;
}

std::vector<std::wstring> RegEnumKeys(HKEY root, const std::wstring& subKey)
{
    const std::wstring prefix = ZRSTD::ToLower(Join(RootName(root), subKey)) + L"\\";
    std::vector<std::wstring> names;
    for (const auto& [lower, key] : State().keys) {
        if (lower.rfind(prefix, 0) != 0) continue;
        const std::wstring rest = key.path.substr(prefix.size());
        if (rest.find(L'\\') == std::wstring::npos) names.push_back(rest);
    }
    return names;
}

namespace ui {

bool RegistryGetDword(HKEY root, const std::wstring& key, const std::wstring& name, DWORD& value)
{
    HKEY opened = nullptr;
    if (RegOpenKeyExW(root, key, KEY_READ, &opened) != ERROR_SUCCESS) return false;
    DWORD type = 0;
    std::vector<std::uint8_t> data;
    const bool found = RegQueryValueExW(opened, name, &type, &data) == ERROR_SUCCESS && type == REG_DWORD &&
                       data.size() == sizeof(DWORD);
    RegCloseKey(opened);
    if (found) value = data[0] | (data[1] << 8) | (data[2] << 16) | (static_cast<DWORD>(data[3]) << 24);
    return found;
}

bool RegistrySetDword(HKEY root, const std::wstring& key, const std::wstring& name, DWORD value)
{
    HKEY opened = nullptr;
    if (RegCreateKeyExW(root, key, KEY_ALL_ACCESS, &opened) != ERROR_SUCCESS) return false;
    const std::uint8_t bytes[] = {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                                  static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
    const bool stored = RegSetValueExW(opened, name, REG_DWORD, bytes, sizeof bytes) == ERROR_SUCCESS;
    RegCloseKey(opened);
    return stored;
}

bool RegistryGetString(HKEY root, const std::wstring& key, const std::wstring& name, std::wstring& value)
{
    HKEY opened = nullptr;
    if (RegOpenKeyExW(root, key, KEY_READ, &opened) != ERROR_SUCCESS) return false;
    DWORD type = 0;
    std::vector<std::uint8_t> data;
    const bool found = RegQueryValueExW(opened, name, &type, &data) == ERROR_SUCCESS && type == REG_SZ;
    RegCloseKey(opened);
    if (found) value = ZRSTD::FromUtf16Le(data.data(), data.size() / 2);
    return found;
}

bool RegistrySetString(HKEY root, const std::wstring& key, const std::wstring& name, const std::wstring& value)
{
    HKEY opened = nullptr;
    if (RegCreateKeyExW(root, key, KEY_ALL_ACCESS, &opened) != ERROR_SUCCESS) return false;
    const auto bytes = ZRSTD::ToUtf16LeBytes(value);
    const bool stored = RegSetValueExW(opened, name, REG_SZ, bytes.data(), bytes.size()) == ERROR_SUCCESS;
    RegCloseKey(opened);
    return stored;
}

bool SetRegistryFile(const std::string& path, std::string* problem)
{
    RegistryState& state = State();
    state.file.clear();
    if (path.empty()) return true;
    std::ifstream in(path, std::ios::binary);
    if (in) {
        std::stringstream contents;
        contents << in.rdbuf();
        try {
            const auto document = nlohmann::json::parse(contents.str());
            std::map<std::wstring, Key> keys;
            for (const auto& [keyPath, values] : document.items()) {
                Key key{ZRSTD::FromUtf8(keyPath), {}};
                for (const auto& [name, value] : values.items()) {
                    const auto bytes = ZRSTD::Base64Decode(value.at("data").get<std::string>());
                    if (!bytes) throw std::runtime_error("value \"" + name + "\" holds no valid base64");
                    key.values[ZRSTD::ToLower(ZRSTD::FromUtf8(name))] = {ZRSTD::FromUtf8(name),
                                                                         value.at("type").get<DWORD>(), *bytes};
                }
                keys[ZRSTD::ToLower(key.path)] = std::move(key);
            }
            state.keys = std::move(keys);
        } catch (const std::exception& error) {
            if (problem) *problem = "the registry file \"" + path + "\" is not readable: " + error.what();
            return false;
        }
    }
    state.file = path;
    return Save(problem);
}

void ResetRegistry()
{
    State().keys.clear();
    State().open.clear();
    State().file.clear();
}

}  // namespace ui
