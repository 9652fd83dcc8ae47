#include "host/console/RegisteredApplications.h"

#include <algorithm>

#include "host/console/ConsoleSession.h"
#include "ui/Registry.h"
#include "zrpar/Params.h"
#include "zrpar/Serialize.h"
#include "zrstd/Format.h"
#include "zrstd/Strings.h"

namespace host {

namespace {

constexpr const wchar_t* kConfigKey = L"registered_applications";
constexpr const wchar_t* kProductsKey = L"Software\\BrenvikLab\\Components\\34\\Products";
constexpr const wchar_t* kNameValue = L"name";
constexpr const wchar_t* kVersionValue = L"version";
constexpr const wchar_t* kDisplayNameValue = L"display_name";
constexpr const wchar_t* kCtrlButtonsValue = L"ctrl_buttons";
constexpr const wchar_t* kListValue = L"applications";
constexpr std::size_t kMaxDisplayName = 1024;

[[noreturn]] void RefuseStoredList(const std::wstring& why)
{
    RefuseRequest(ZRSTD::FormatW(L"the registered applications in the store (console key \"%s\") cannot be read: %s",
                                 kConfigKey, why));
}

std::wstring TextOf(const ZRPAR::Params& item, const wchar_t* name)
{
    const ZRPAR::Value* value = item.FindValue(name);
    if (!value || value->GetType() != ZRPAR::VT_STRING) RefuseStoredList(ZRSTD::FormatW(L"an item has no text \"%s\"", name));
    return static_cast<const ZRPAR::StringValue*>(value)->GetValue();
}

void Check(const RegisteredApplication& application)
{
    auto badPart = [](const std::wstring& part) { return ZRSTD::Trim(part).empty() || part.find(L'\\') != std::wstring::npos; };
    if (badPart(application.name)) RefuseRequest(L"the application needs a name without a backslash");
    if (badPart(application.version)) RefuseRequest(L"the application needs a version without a backslash");
    if (ZRSTD::Trim(application.displayName).empty()) RefuseRequest(L"the application needs a display name");
    if (application.displayName.size() > kMaxDisplayName)
        RefuseRequest(ZRSTD::FormatW(L"the display name is longer than %u characters", kMaxDisplayName));
    if (application.ctrlButtons < 1 || application.ctrlButtons > 3)
        RefuseRequest(L"the application must be one that can be started, stopped, or both");
}

void Write(SettingsStore& store, const std::vector<RegisteredApplication>& applications)
{
    auto list = ZRPAR::CreateArrayValue();
    for (const auto& application : applications) {
        auto item = ZRPAR::CreateParamsBody({{kNameValue, application.name},
                                            {kVersionValue, application.version},
                                            {kDisplayNameValue, application.displayName},
                                            {kCtrlButtonsValue, static_cast<std::int32_t>(application.ctrlButtons)}});
        list->Append(ZRPAR::CreateValue(item.Get()).Get());
    }
    auto document = ZRPAR::CreateParams();
    document->AddValue(kListValue, list.Get());
    store.SetConfig(kConfigKey, ZRSTD::FromUtf8(ZRPAR::SerializeXml(*document)));
}

}  // namespace

const std::vector<RegisteredApplication>& StarterApplications()
{
    static const std::vector<RegisteredApplication> starters = {
        {L"ZRES", L"11.0.0.0", L"Brenvik Endpoint Security 11 для Windows", 3},
        {L"ZRFS", L"10.1.2.0", L"Brenvik Security для файловых серверов 10.1", 3},
        {L"ZRMAILGW", L"9.0.0.0", L"Brenvik Security для почтовых шлюзов 9", RegisteredApplication::kCanStop},
        {L"ZRLIGHTAGENT", L"5.2.0.0", L"Brenvik Легкий агент 5.2", RegisteredApplication::kCanStart},
    };
    return starters;
}

std::vector<RegisteredApplication> ReadRegisteredApplications(SettingsStore& store)
{
    const auto stored = store.GetConfig(kConfigKey);
    if (!stored) return StarterApplications();
    ZRSTD::CAutoPtr<ZRPAR::Params> document;
    ZRSTD::CAutoPtr<ZRPAR::ArrayValue> list;
    try {
        document = ZRPAR::DeserializeXml(ZRSTD::ToUtf8(*stored));
        if (document) list = ZRPAR::GetArrayValue(document.Get(), kListValue);
    } catch (const ZRERR::Error& error) {
        RefuseStoredList(error.GetMessage());
    }
    if (!list) RefuseStoredList(L"it holds no list of applications");
    std::vector<RegisteredApplication> applications;
    for (std::size_t i = 0; i < list->GetSize(); ++i) {
        const ZRPAR::Value* value = list->ItemAt(i);
        if (!value || value->GetType() != ZRPAR::VT_PARAMS) RefuseStoredList(L"an item is not a container");
        const ZRPAR::Params& item = *static_cast<const ZRPAR::ParamsValue*>(value)->GetValue();
        RegisteredApplication application{TextOf(item, kNameValue), TextOf(item, kVersionValue),
                                          TextOf(item, kDisplayNameValue)};
        const ZRPAR::Value* flags = item.FindValue(kCtrlButtonsValue);
        if (!flags || flags->GetType() != ZRPAR::VT_INT) RefuseStoredList(L"an item has no number \"ctrl_buttons\"");
        application.ctrlButtons = static_cast<std::uint32_t>(static_cast<const ZRPAR::IntValue*>(flags)->GetValue());
        applications.push_back(std::move(application));
    }
    return applications;
}

void RegisterApplication(SettingsStore& store, const RegisteredApplication& application)
{
    Check(application);
    store.InTransaction([&] {
        auto applications = ReadRegisteredApplications(store);
        auto same = std::find_if(applications.begin(), applications.end(), [&](const RegisteredApplication& other) {
            return other.name == application.name && other.version == application.version;
        });
        if (same != applications.end()) *same = application;
        else applications.push_back(application);
        Write(store, applications);
    });
}

bool UnregisterApplication(SettingsStore& store, const std::wstring& name, const std::wstring& version)
{
    bool removed = false;
    store.InTransaction([&] {
        auto applications = ReadRegisteredApplications(store);
        const auto before = applications.size();
        std::erase_if(applications, [&](const RegisteredApplication& application) {
            return application.name == name && application.version == version;
        });
        removed = applications.size() != before;
        if (removed) Write(store, applications);
    });
    return removed;
}

void PublishRegisteredApplications(SettingsStore& store)
{
    const auto applications = ReadRegisteredApplications(store);
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kProductsKey);
    HKEY products = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kProductsKey, KEY_ALL_ACCESS, &products) == ERROR_SUCCESS)
        RegCloseKey(products);
    for (const auto& application : applications) {
        const std::wstring key = ZRSTD::FormatW(L"%s\\%s\\%s", kProductsKey, application.name, application.version);
        ui::RegistrySetString(HKEY_LOCAL_MACHINE, key, L"", application.displayName);
        ui::RegistrySetDword(HKEY_LOCAL_MACHINE, key, L"CtrlButtons", application.ctrlButtons);
    }
}

}  // namespace host
