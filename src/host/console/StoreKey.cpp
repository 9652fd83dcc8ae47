#include "host/console/StoreKey.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "zrstd/Format.h"
#include "zrstd/Strings.h"

namespace host {

namespace {

constexpr const wchar_t* kKeyIdConfig = L"data_protection_key_id";

}  // namespace

std::string KeyFilePath(const SettingsStore& store)
{
    if (!store.OnServer()) return store.Path() + ".key";
    if (const char* chosen = std::getenv("NGT_CONSOLE_KEY_FILE"); chosen && *chosen) return chosen;
    // one key file per server store, named after its location (without the password)
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (const unsigned char c : store.Path()) hash = (hash ^ c) * 1099511628211ull;
    std::filesystem::path folder;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) folder = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home) folder = std::filesystem::path(home) / ".config";
    else folder = std::filesystem::current_path();
    char name[64];
    std::snprintf(name, sizeof name, "server-store-%016llx.key", static_cast<unsigned long long>(hash));
    return (folder / "ngt-console" / name).string();
}

ZRSTD::CAutoPtr<DataProtection> OpenStoreKey(SettingsStore& store)
{
    const std::string path = KeyFilePath(store);
    const auto recorded = store.GetConfig(kKeyIdConfig);
    if (recorded && !std::filesystem::exists(path))
        ZRERR_throwLocalizedError("NGTCONSOLE", 5,
                                  ZRSTD::FormatW(L"the key file \"%hs\" that protects this store's secrets is missing; "
                                                 L"restore it (a copied store needs its key file)", path));
    if (store.OnServer() && !recorded) {
        // a server store's key file lives in the user's configuration folder, made when first needed
        std::error_code ignored;
        std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
    }
    auto key = DataProtection::OpenKeyFile(path);
    const std::wstring id = ZRSTD::FromUtf8(key->KeyId());
    if (!recorded) store.SetConfig(kKeyIdConfig, id);
    else if (*recorded != id)
        ZRERR_throwLocalizedError("NGTCONSOLE", 5,
                                  ZRSTD::FormatW(L"the key file \"%hs\" belongs to another store: this store's secrets "
                                                 L"were protected with another key", path));
    return key;
}

KeyFileState CheckStoreKey(SettingsStore& store, std::wstring& explanation)
{
    const std::string path = KeyFilePath(store);
    const auto recorded = store.GetConfig(kKeyIdConfig);
    const bool present = std::filesystem::exists(path);
    if (!present) {
        explanation = recorded ? ZRSTD::FormatW(L"the key file \"%hs\" is missing: the protected values in this store "
                                                L"(passwords) cannot be read until it is restored", path)
                               : L"no key file yet (none is needed until a secret is protected)";
        return recorded ? KeyFileState::Missing : KeyFileState::NotNeeded;
    }
    std::wstring id;
    try {
        id = ZRSTD::FromUtf8(DataProtection::OpenKeyFile(path)->KeyId());
    } catch (const ZRERR::Error& error) {
        explanation = error.GetMessage();
        return KeyFileState::Unreadable;
    }
    if (!recorded) {
        explanation = ZRSTD::FormatW(L"the key file \"%hs\" is there, but this store has protected nothing with it", path);
        return KeyFileState::Unused;
    }
    if (*recorded != id) {
        explanation = ZRSTD::FormatW(L"the key file \"%hs\" belongs to another store: this store's protected values "
                                     L"cannot be read with it", path);
        return KeyFileState::Foreign;
    }
    explanation = ZRSTD::FormatW(L"the key file \"%hs\" matches the store", path);
    return KeyFileState::Matching;
}

}  // namespace host
