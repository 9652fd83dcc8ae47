#include "host/console/StoreKey.h"

#include <filesystem>

#include "zrstd/Format.h"
#include "zrstd/Strings.h"

namespace host {

namespace {

constexpr const wchar_t* kKeyIdConfig = L"data_protection_key_id";

}  // namespace

std::string KeyFilePath(const SettingsStore& store) { return store.Path() + ".key"; }

ZRSTD::CAutoPtr<DataProtection> OpenStoreKey(SettingsStore& store)
{
    const std::string path = KeyFilePath(store);
    const auto recorded = store.GetConfig(kKeyIdConfig);
    if (recorded && !std::filesystem::exists(path))
        ZRERR_throwLocalizedError("NGTCONSOLE", 5,
                                  ZRSTD::FormatW(L"the key file \"%hs\" that protects this store's secrets is missing; "
                                                 L"restore it (a copied store needs its key file)", path));
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
