#pragma once

#include <string>

#include "host/services/DataProtection.h"
#include "host/storage/SettingsStore.h"

// The key that protects a store's secrets (the data-protection service's
// AES key) lives in a file beside the store, "STORE.key", made the first
// time a secret is protected. The store records the key's id, so that a key
// file of another store is refused and `check` can tell a missing key file
// from one that is not needed yet. A store on a database server has no file
// beside it: its key file is $NGT_CONSOLE_KEY_FILE, else one named after the
// store's location in the user's configuration folder (~/.config/ngt-console);
// every console that shares the store needs a copy of it.
namespace host {

std::string KeyFilePath(const SettingsStore& store);

// The store's key, made on first use; raises a localized error when the key
// file beside the store belongs to another store.
ZRSTD::CAutoPtr<DataProtection> OpenStoreKey(SettingsStore& store);

enum class KeyFileState {
    NotNeeded,   // no secret was protected yet, and no key file is there
    Matching,    // the key file is the one the store's secrets were made with
    Unused,      // a key file is there, but the store has recorded no key
    Missing,     // the store's secrets were made with a key file that is gone
    Foreign,     // the key file beside the store belongs to another store
    Unreadable,  // the key file cannot be read (its permissions, its size)
};
// What check reports of the key file, with a sentence for a person.
KeyFileState CheckStoreKey(SettingsStore& store, std::wstring& explanation);

}  // namespace host
