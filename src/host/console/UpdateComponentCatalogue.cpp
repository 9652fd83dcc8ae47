#include "host/console/UpdateComponentCatalogue.h"

#include <nlohmann/json.hpp>

#include "zrstd/Error.h"
#include "zrstd/Format.h"
#include "zrstd/Strings.h"

namespace host {

namespace {

constexpr const char* kModule = "NGTCONSOLE";
constexpr long kBadCatalogue = 6;

// the record's fields as the catalogue's JSON names them
constexpr const char* kFields[] = {"AppId", "CompId", "Name", "Descr", "AppSuperId"};

std::wstring* FieldOf(UpdateComponent& component, int field)
{
    std::wstring* fields[] = {&component.appId, &component.componentId, &component.name, &component.description,
                              &component.appSuperId};
    return fields[field];
}

[[noreturn]] void Refuse(const std::string& why)
{
    ZRERR_throwLocalizedError(kModule, kBadCatalogue,
                              ZRSTD::FormatW(L"the store's update component catalogue (%s) is unreadable: %hs",
                                             kUpdateComponentsConfig, why));
}

}  // namespace

const std::vector<UpdateComponent>& StarterUpdateComponents()
{
    static const std::vector<UpdateComponent> components = {
        {L"1103", L"NAGENT_PATCHES", L"Патчи агента администрирования",
         L"Исправления агента администрирования для Windows", L""},
        {L"1103", L"NAGENT_LINUX_PATCHES", L"Патчи агента администрирования для Linux",
         L"Исправления агента администрирования для Linux и macOS", L""},
        {L"1103", L"NAGENT_INSTALLER", L"Дистрибутив агента администрирования",
         L"Пакет установки агента последней версии", L""},
        {L"1093", L"ADMSRV_PATCHES", L"Патчи сервера администрирования",
         L"Исправления сервера администрирования", L""},
        {L"1093", L"ADMSRV_CONSOLE", L"Обновления консоли администрирования",
         L"Модули консоли и плагины управления", L""},
        {L"1093", L"VULN_DATABASE", L"База уязвимостей программ",
         L"Сведения об уязвимостях и исправлениях сторонних программ", L""},
        {L"1093", L"APP_CATEGORIES", L"Категории программ",
         L"Описания категорий программ для инвентаризации", L""},
        {L"1094", L"DP_BOOT_IMAGES", L"Образы загрузки",
         L"Образы для развертывания операционных систем с агентов обновлений", L"1093"},
    };
    return components;
}

std::vector<UpdateComponent> ReadUpdateComponents(SettingsStore& store)
{
    const auto stored = store.GetConfig(kUpdateComponentsConfig);
    if (!stored) return StarterUpdateComponents();
    const nlohmann::json document = nlohmann::json::parse(ZRSTD::ToUtf8(*stored), nullptr, false);
    if (document.is_discarded() || !document.is_array()) Refuse("not a JSON array");
    std::vector<UpdateComponent> components;
    for (const auto& record : document) {
        if (!record.is_object()) Refuse("a record is not an object");
        UpdateComponent component;
        for (int field = 0; field < 5; ++field) {
            const auto found = record.find(kFields[field]);
            if (found == record.end()) continue;
            if (!found->is_string()) Refuse(std::string(kFields[field]) + " is not text");
            *FieldOf(component, field) = ZRSTD::FromUtf8(found->get<std::string>());
        }
        if (component.componentId.empty()) Refuse("a record has no CompId");
        components.push_back(std::move(component));
    }
    return components;
}

void WriteUpdateComponents(SettingsStore& store, const std::vector<UpdateComponent>& components)
{
    nlohmann::json document = nlohmann::json::array();
    for (UpdateComponent component : components) {
        nlohmann::json record = nlohmann::json::object();
        for (int field = 0; field < 5; ++field) record[kFields[field]] = ZRSTD::ToUtf8(*FieldOf(component, field));
        document.push_back(std::move(record));
    }
    store.SetConfig(kUpdateComponentsConfig, ZRSTD::FromUtf8(document.dump()));
}

ZRSTD::CAutoPtr<ZRPAR::Params> UpdateCatalogueParams(const std::vector<UpdateComponent>& components)
{
    auto records = ZRPAR::CreateArrayValue();
    for (const auto& component : components)
        records->Append(ZRPAR::CreateValue(ZRPAR::CreateParamsBody({{L"AppId", component.appId},
                                                                     {L"CompId", component.componentId},
                                                                     {L"Name", component.name},
                                                                     {L"Descr", component.description},
                                                                     {L"AppSuperId", component.appSuperId}})
                                               .Get())
                            .Get());
    auto catalogue = ZRPAR::CreateParams();
    catalogue->AddValue(L"ZRUpdates", records.Get());
    return catalogue;
}

}  // namespace host
