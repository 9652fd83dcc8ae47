#pragma once

#include <string>
#include <vector>

#include "host/storage/SettingsStore.h"
#include "zrpar/Params.h"

// The administration server's catalogue of update components, as the
// console stand-in keeps it per store (its configuration key
// "update_components", a JSON array); a store that keeps none has the
// starter catalogue.
namespace host {

struct UpdateComponent {
    std::wstring appId, componentId, name, description, appSuperId;
    bool operator==(const UpdateComponent&) const = default;
};

inline constexpr const wchar_t* kUpdateComponentsConfig = L"update_components";

const std::vector<UpdateComponent>& StarterUpdateComponents();
// The store's catalogue; one stored that is no array of records with a
// component id raises a localized error naming the key.
std::vector<UpdateComponent> ReadUpdateComponents(SettingsStore& store);
void WriteUpdateComponents(SettingsStore& store, const std::vector<UpdateComponent>& components);
// The catalogue as the server interface gives it: {"ZRUpdates": [{"AppId",
// "CompId", "Name", "Descr", "AppSuperId"}]}.
ZRSTD::CAutoPtr<ZRPAR::Params> UpdateCatalogueParams(const std::vector<UpdateComponent>& components);

}  // namespace host
