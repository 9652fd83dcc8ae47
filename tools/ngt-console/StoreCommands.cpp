#include "StoreCommands.h"

#include <cstdio>
#include <filesystem>
#include <iterator>

#include "host/console/ConsoleObjects.h"
#include "host/console/StoreKey.h"
#include "host/storage/StoreCopy.h"
#include "zrpar/Packed.h"
#include "zrpar/Render.h"
#include "zrpar/Serialize.h"
#include "zrstd/Format.h"
#include "zrstd/Strings.h"

namespace ngt {

namespace {

using ZRSTD::FromUtf8;
using ZRSTD::ToUtf8;

constexpr const wchar_t* kProduct = L"1103";
constexpr const wchar_t* kVersion = L"1.0.0.0";

void Print(const ZRPAR::Params& params, Format format)
{
    switch (format) {
    case Format::Text: std::cout << ZRPAR::RenderText(params); break;
    case Format::Json: std::cout << ZRPAR::RenderJson(params) << "\n"; break;
    case Format::Packed: {
        const auto bytes = ZRPAR::SerializePacked(params);
        std::fwrite(bytes.data(), 1, bytes.size(), stdout);
        break;
    }
    case Format::Xml: std::cout << ZRPAR::SerializeXml(params); break;
    }
    std::cout.flush();
}

// A stored object named as KIND:NAME; refused when the name is malformed or the object is not there.
host::ObjectName RequireObject(host::SettingsStore& store, const std::string& object)
{
    const host::ObjectName name = host::ParseObjectName(FromUtf8(object));
    if (!store.HasObject(name.Full()))
        Refuse(ZRSTD::FormatW(L"there is no object \"%s\" in %hs (ngt-console list shows the objects)", name.Full(),
                              store.Path()));
    return name;
}

std::wstring StringAttribute(const ZRPAR::Params* attributes, const wchar_t* name)
{
    ZRPAR::Value* value = attributes ? attributes->FindValue(name) : nullptr;
    return value && value->GetType() == ZRPAR::VT_STRING ? static_cast<ZRPAR::StringValue*>(value)->GetValue() : L"";
}

std::optional<std::int32_t> IntAttribute(const ZRPAR::Params* attributes, const wchar_t* name)
{
    ZRPAR::Value* value = attributes ? attributes->FindValue(name) : nullptr;
    if (!value || value->GetType() != ZRPAR::VT_INT) return std::nullopt;
    return static_cast<ZRPAR::IntValue*>(value)->GetValue();
}

std::wstring SectionName(const host::SectionKey& key)
{
    if (key.product == kProduct && key.version == kVersion) return key.section;
    return key.product + L"/" + key.version + L"/" + key.section;
}

}  // namespace

int DecodeDocument(const std::string& file, Format format)
{
    std::vector<std::uint8_t> bytes;
    const std::string source = file == "-" ? std::string("standard input") : file;
    if (file != "-" && std::filesystem::is_directory(file)) Refuse(FromUtf8(file + " is a folder, not a document"));
    try {
        if (file == "-") bytes.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
        else bytes = ZRPAR::ReadFile(file);
        if (bytes.empty()) Refuse(FromUtf8(source + " is empty: a settings document is packed or in its XML envelope"));
        const auto params = ZRPAR::Deserialize(bytes.data(), bytes.size());
        Print(*params, format);
        return 0;
    } catch (const ZRERR::Error& error) {
        Refuse(FromUtf8(source + ": ") + error.GetMessage());
    }
}

int InitStore(Session& session, Format format)
{
    const std::string path = session.StorePath();
    if (host::IsServerLocation(path)) {
        host::SettingsStore::Options existing;
        existing.create = false;
        bool found = true;
        try {
            host::SettingsStore::Open(path, existing);
        } catch (const ZRERR::Error&) {
            found = false;  // no store there yet (a server that cannot be reached says so below)
        }
        if (found) Refuse(ZRSTD::FormatW(L"\"%hs\" holds a settings store already", host::RedactLocation(path)));
        host::SettingsStore& store = session.Store(true);
        if (format == Format::Json) PrintJson({{"store", store.Path()}, {"schema_version", store.SchemaVersion()}});
        else std::cout << "made an empty store at " << store.Path() << " (schema version " << store.SchemaVersion() << ")\n";
        return 0;
    }
    if (std::filesystem::exists(path)) Refuse(ZRSTD::FormatW(L"\"%hs\" exists already", path));
    const std::string key = path + ".key";
    if (std::filesystem::exists(key))
        Refuse(ZRSTD::FormatW(L"a key file \"%hs\" is there without its store: it protects another store's secrets; "
                              L"move it away or put the new store elsewhere", key));
    host::SettingsStore& store = session.Store(true);
    if (format == Format::Json) PrintJson({{"store", store.Path()}, {"schema_version", store.SchemaVersion()}});
    else std::cout << "made an empty store at " << store.Path() << " (schema version " << store.SchemaVersion() << ")\n";
    return 0;
}

int CheckStore(Session& session, Format format)
{
    host::SettingsStore& store = session.Store();
    const auto problems = store.IntegrityProblems();
    std::wstring keyExplanation;
    const host::KeyFileState keyState = host::CheckStoreKey(store, keyExplanation);
    const bool keyOk = keyState == host::KeyFileState::Matching || keyState == host::KeyFileState::NotNeeded ||
                       keyState == host::KeyFileState::Unused;
    const bool ok = problems.empty() && keyOk;
    if (format == Format::Json) {
        auto list = nlohmann::json::array();
        for (const auto& problem : problems) list.push_back(problem);
        static const char* const kStates[] = {"not_needed", "matching", "unused", "missing", "foreign", "unreadable"};
        PrintJson({{"store", store.Path()},
                   {"ok", ok},
                   {"schema_version", store.SchemaVersion()},
                   {"objects", store.ListObjects().size()},
                   {"problems", list},
                   {"key_file", {{"path", host::KeyFilePath(store)},
                                 {"state", kStates[static_cast<int>(keyState)]},
                                 {"explanation", ToUtf8(keyExplanation)}}}});
        return ok ? 0 : 1;
    }
    if (problems.empty())
        std::cout << store.Path() << ": ok (schema version " << store.SchemaVersion() << ", " << store.ListObjects().size()
                  << " objects)\n";
    for (const auto& problem : problems) std::cerr << store.Path() << ": " << problem << "\n";
    (keyOk ? std::cout : std::cerr) << store.Path() << ": " << ToUtf8(keyExplanation) << "\n";
    return ok ? 0 : 1;
}

int ListObjects(Session& session, Format format)
{
    host::SettingsStore& store = session.Store();
    auto list = nlohmann::json::array();
    for (const auto& object : store.ListObjects()) {
        const auto entry = store.GetCatalogueEntry(object);
        const ZRPAR::Params* attributes = entry ? entry->attributes.Get() : nullptr;
        const std::string name = ToUtf8(object);
        nlohmann::json row = {{"object", name}, {"kind", name.substr(0, name.find(':'))},
                              {"name", name.substr(name.find(':') + 1)}};
        if (auto policy = StringAttribute(attributes, host::kAttributePolicy); !policy.empty()) row["policy"] = ToUtf8(policy);
        if (auto type = StringAttribute(attributes, host::kAttributeTaskType); !type.empty()) row["task_type"] = ToUtf8(type);
        if (auto computer = IntAttribute(attributes, host::kAttributeComputerType))
            row["platform"] = host::PlatformOfComputerType(*computer);
        list.push_back(row);
    }
    if (format == Format::Json) {
        PrintJson(list);
        return 0;
    }
    if (list.empty()) std::cout << "The store holds no objects (make one with: ngt-console new policy NAME).\n";
    for (const auto& row : list) {
        std::cout << row["object"].get<std::string>();
        if (row.contains("policy")) std::cout << "  policy: " << row["policy"].get<std::string>();
        if (row.contains("task_type")) std::cout << "  type: " << row["task_type"].get<std::string>();
        if (row.contains("platform")) std::cout << "  platform: " << row["platform"].get<int>();
        std::cout << "\n";
    }
    return 0;
}

int ListSections(Session& session, const std::string& object, Format format)
{
    host::SettingsStore& store = session.Store();
    const host::ObjectName name = RequireObject(store, object);
    auto list = nlohmann::json::array();
    for (const auto& key : store.ListSections(name.Full()))
        list.push_back({{"section", ToUtf8(SectionName(key))}, {"product", ToUtf8(key.product)},
                        {"version", ToUtf8(key.version)}, {"name", ToUtf8(key.section)}});
    if (format == Format::Json) {
        PrintJson(list);
        return 0;
    }
    if (list.empty()) std::cout << object << " stores no sections\n";
    for (const auto& row : list) std::cout << row["section"].get<std::string>() << "\n";
    return 0;
}

int DumpSection(Session& session, const std::string& object, const std::string& section, Format format)
{
    host::SettingsStore& store = session.Store();
    const host::ObjectName name = RequireObject(store, object);
    std::wstring product = kProduct, version = kVersion, sectionName = FromUtf8(section);
    if (const auto slash = sectionName.find(L'/'); slash != std::wstring::npos) {
        const auto second = sectionName.find(L'/', slash + 1);
        if (second == std::wstring::npos) Refuse(L"a section is SECTION or PRODUCT/VERSION/SECTION");
        product = sectionName.substr(0, slash);
        version = sectionName.substr(slash + 1, second - slash - 1);
        sectionName = sectionName.substr(second + 1);
    }
    if (sectionName.empty()) Refuse(L"a section is SECTION or PRODUCT/VERSION/SECTION");
    ZRSTD::CAutoPtr<ZRPAR::Params> params;
    store.ObjectStorage(name.Full())->Read(product.c_str(), version.c_str(), sectionName.c_str(), &params);
    if (!params)
        Refuse(ZRSTD::FormatW(L"\"%hs\" has no section \"%hs\" (ngt-console sections %hs lists them)", object, section, object));
    Print(*params, format);
    return 0;
}

namespace {

// The source's key file goes with its secrets; a different key file already
// at the target's place is never overwritten. Says what it did, or "".
std::string CopyKeyFile(host::SettingsStore& from, host::SettingsStore& to)
{
    namespace fs = std::filesystem;
    const fs::path source = host::KeyFilePath(from), target = host::KeyFilePath(to);
    if (!fs::exists(source)) return "";
    if (fs::exists(target)) {
        if (ZRPAR::ReadFile(source.string()) == ZRPAR::ReadFile(target.string())) return "";
        Refuse(ZRSTD::FormatW(L"the key file \"%hs\" of the target protects other secrets than \"%hs\"; move it away "
                              L"first (nothing was copied)",
                              target.string(), source.string()));
    }
    std::error_code error;
    if (!target.parent_path().empty()) fs::create_directories(target.parent_path(), error);
    fs::copy_file(source, target, error);
    if (!error) fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::replace, error);
    if (error)
        Refuse(ZRSTD::FormatW(L"cannot copy the key file \"%hs\" to \"%hs\": %hs", source.string(), target.string(),
                              error.message()));
    return target.string();
}

}  // namespace

int CopyStore(const std::string& from, const std::string& to, bool force, Format format)
{
    namespace fs = std::filesystem;
    if (from == to || (!host::IsServerLocation(from) && !host::IsServerLocation(to) && fs::exists(from) &&
                       fs::exists(to) && fs::equivalent(from, to)))
        Refuse(L"FROM and TO are the same store");
    if (!host::IsServerLocation(from) && !fs::exists(from))
        Refuse(ZRSTD::FormatW(L"there is no store at \"%hs\"", from));
    host::SettingsStore::Options reading;
    reading.readOnly = true;
    reading.create = false;
    auto source = host::SettingsStore::Open(from, reading);
    if (!host::IsServerLocation(to)) {
        const fs::path folder = fs::path(to).parent_path();
        if (!folder.empty() && !fs::is_directory(folder))
            Refuse(ZRSTD::FormatW(L"the folder %hs does not exist", folder.string()));
    }
    auto target = host::SettingsStore::Open(to);
    const std::size_t held = target->ListObjects().size(), configured = target->ListConfig().size();
    if ((held > 0 || configured > 0) && !force)
        Refuse(ZRSTD::FormatW(L"the store \"%hs\" holds %zu objects and %zu configuration values already; copy into an "
                              L"empty store, or pass --force to replace what it holds",
                              target->Path(), held, configured));
    const std::string keyFile = CopyKeyFile(*source, *target);
    host::StoreCopyCounts counts;
    target->InTransaction([&] {
        if (force) target->Clear();
        counts = host::CopySettingsStore(*source, *target);
    });
    const auto differences = host::CompareSettingsStores(*source, *target);
    if (!differences.empty()) {
        std::wstring list;
        for (const auto& difference : differences) list += (list.empty() ? L"" : L"; ") + FromUtf8(difference);
        Refuse(ZRSTD::FormatW(L"the copy in \"%hs\" differs from \"%hs\": %s", target->Path(), source->Path(), list));
    }
    if (format == Format::Json) {
        PrintJson({{"from", source->Path()},
                   {"to", target->Path()},
                   {"objects", counts.objects},
                   {"catalogue_entries", counts.catalogueEntries},
                   {"sections", counts.sections},
                   {"configuration_values", counts.configurationValues},
                   {"key_file", keyFile},
                   {"verified", true}});
        return 0;
    }
    std::cout << "copied " << counts.objects << " objects (" << counts.catalogueEntries << " catalogue entries, "
              << counts.sections << " sections) and " << counts.configurationValues << " configuration values from "
              << source->Path() << " to " << target->Path() << "\n";
    if (!keyFile.empty()) std::cout << "copied the key file of its secrets to " << keyFile << "\n";
    std::cout << "verified: both stores hold the same objects, sections and configuration values\n";
    return 0;
}

int DeleteObject(Session& session, const std::string& object, bool force, Format format)
{
    const host::ObjectName name = RequireObject(session.Store(), object);
    const std::vector<std::wstring> governed = session.DeleteObject(name.Full(), force);
    if (format == Format::Json) {
        auto detached = nlohmann::json::array();
        for (const auto& other : governed) detached.push_back(ToUtf8(other));
        PrintJson({{"deleted", ToUtf8(name.Full())}, {"detached", detached}});
        return 0;
    }
    std::cout << "deleted " << ToUtf8(name.Full()) << "\n";
    for (const auto& other : governed) std::cout << "  " << ToUtf8(other) << " is no longer governed by a policy\n";
    return 0;
}

}  // namespace ngt
