#include "host/storage/StoreCopy.h"

#include <map>

#include "zrstd/Strings.h"

namespace host {

namespace {

ZRSTD::CAutoPtr<ZRPAR::Params> ReadSection(ZRPlugin::SettingsStorage& storage, const SectionKey& key)
{
    ZRSTD::CAutoPtr<ZRPAR::Params> section;
    storage.Read(key.product.c_str(), key.version.c_str(), key.section.c_str(), &section);
    return section;
}

// Built by appending: GCC 12 at -O3 takes a literal before a temporary string for an overlapping copy.
std::string Quoted(const std::wstring& object)
{
    return std::string(1, '"').append(ZRSTD::ToUtf8(object)).append(1, '"');
}

std::string Named(const std::wstring& object, const SectionKey& key)
{
    return Quoted(object).append(" ").append(ZRSTD::ToUtf8(key.product + L"/" + key.version + L"/" + key.section));
}

}  // namespace

StoreCopyCounts CopySettingsStore(SettingsStore& from, SettingsStore& to)
{
    StoreCopyCounts counts;
    to.InTransaction([&] {
        for (const std::wstring& object : from.ListObjects()) {
            ++counts.objects;
            if (const auto entry = from.GetCatalogueEntry(object)) {
                to.PutCatalogueEntry(object, entry->kind, entry->attributes.Get());
                ++counts.catalogueEntries;
            }
            const auto source = from.ObjectStorage(object);
            const auto target = to.ObjectStorage(object);
            for (const SectionKey& key : from.ListSections(object)) {
                const auto section = ReadSection(*source, key);
                if (!section) continue;  // deleted while this ran: the copy is of a moment anyway
                target->Replace(key.product.c_str(), key.version.c_str(), key.section.c_str(), section.Get());
                ++counts.sections;
            }
        }
        for (const auto& [key, value] : from.ListConfig()) {
            to.SetConfig(key, value);
            ++counts.configurationValues;
        }
    });
    return counts;
}

std::vector<std::string> CompareSettingsStores(SettingsStore& from, SettingsStore& to, std::size_t limit)
{
    std::vector<std::string> differences;
    const auto differ = [&](std::string what) {
        if (differences.size() < limit) differences.push_back(std::move(what));
    };
    const auto objects = from.ListObjects();
    const auto copied = to.ListObjects();
    if (objects.size() != copied.size())
        differ(std::to_string(objects.size()) + " objects against " + std::to_string(copied.size()));
    for (const std::wstring& object : objects) {
        if (!to.HasObject(object)) {
            differ(Quoted(object) + " is missing");
            continue;
        }
        const auto entry = from.GetCatalogueEntry(object);
        const auto copiedEntry = to.GetCatalogueEntry(object);
        if (!entry || !copiedEntry || entry->kind != copiedEntry->kind ||
            !ZRPAR::Equals(*entry->attributes, *copiedEntry->attributes))
            differ(std::string("the catalogue entry of ").append(Quoted(object)).append(" differs"));
        const auto sections = from.ListSections(object);
        if (sections != to.ListSections(object))
            differ(Quoted(object) + " has other sections");
        const auto source = from.ObjectStorage(object);
        const auto target = to.ObjectStorage(object);
        for (const SectionKey& key : sections) {
            const auto section = ReadSection(*source, key);
            const auto copiedSection = ReadSection(*target, key);
            if (!section || !copiedSection || !ZRPAR::Equals(*section, *copiedSection))
                differ("the section " + Named(object, key) + " differs");
        }
    }
    const auto configuration = from.ListConfig();
    const auto copiedConfiguration = to.ListConfig();
    if (configuration != copiedConfiguration) {
        std::map<std::wstring, std::wstring> copiedValues(copiedConfiguration.begin(), copiedConfiguration.end());
        for (const auto& [key, value] : configuration)
            if (const auto it = copiedValues.find(key); it == copiedValues.end() || it->second != value)
                differ("the configuration value \"" + ZRSTD::ToUtf8(key) + "\" differs");
        if (configuration.size() != copiedConfiguration.size())
            differ(std::to_string(configuration.size()) + " configuration values against " +
                   std::to_string(copiedConfiguration.size()));
    }
    return differences;
}

}  // namespace host
