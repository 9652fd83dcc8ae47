#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/storage/SettingsStore.h"

// The applications registered on the administrator's computer: what the
// local machine hive of its registry lists under
// "Software\BrenvikLab\Components\34\Products\NAME\VERSION" (the display
// name as the key's default value, what the application can be told to do
// as CtrlButtons). The console stand-in keeps that part of the hive in the
// store's console configuration, so that every session over the store sees
// the same applications; a store that never registered any has a starter set.
namespace host {

struct RegisteredApplication {
    static constexpr std::uint32_t kCanStart = 1, kCanStop = 2;
    std::wstring name, version, displayName;
    std::uint32_t ctrlButtons = kCanStart | kCanStop;
};

// What a store that registered nothing offers.
const std::vector<RegisteredApplication>& StarterApplications();
// The registered applications, in the order they were registered. A stored
// list that cannot be read raises a localized error naming the key.
std::vector<RegisteredApplication> ReadRegisteredApplications(SettingsStore& store);
// Registers an application, replacing the one of the same name and version.
// A name or version that is empty or holds a backslash, an empty display
// name, one longer than 1024 characters, or flags other than 1, 2 or 3 are
// refused with a localized error.
void RegisterApplication(SettingsStore& store, const RegisteredApplication& application);
// Removes the application of that name and version; false when there is none.
bool UnregisterApplication(SettingsStore& store, const std::wstring& name, const std::wstring& version);
// Puts the registered applications into the platform's registry, as the
// administrator's computer has them (replacing the products key).
void PublishRegisteredApplications(SettingsStore& store);

}  // namespace host
