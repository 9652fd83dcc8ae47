#include "StoreCommands.h"

#include <cstdio>
#include <iostream>
#include <iterator>
#include <nlohmann/json.hpp>

#include "host/storage/SettingsStore.h"
#include "zrpar/Packed.h"
#include "zrpar/Render.h"
#include "zrpar/Serialize.h"
#include "zrstd/Strings.h"

namespace ngt {

namespace {

constexpr const char* kProduct = "1103";
constexpr const char* kVersion = "1.0.0.0";
constexpr const char* kKinds[] = {"policy", "host", "task", "package", "dpoint", "bootserver"};

int Refuse(const std::string& reason)
{
    std::cerr << "ngt-console: " << reason << "\n";
    return 1;
}

int Refuse(const ZRERR::Error& error)
{
    return Refuse(error.IsLocalized() ? ZRSTD::ToUtf8(error.GetMessage()) : ZRSTD::ToUtf8(error.GetMessage()));
}

void Print(const ZRPAR::Params& params, Format format)
{
    switch (format) {
    case Format::Text: std::cout << ZRPAR::RenderText(params); break;
    case Format::Json: std::cout << ZRPAR::RenderJson(params); break;
    case Format::Packed: {
        const auto bytes = ZRPAR::SerializePacked(params);
        std::fwrite(bytes.data(), 1, bytes.size(), stdout);
        break;
    }
    case Format::Xml: std::cout << ZRPAR::SerializeXml(params); break;
    }
    std::cout.flush();
}

ZRSTD::CAutoPtr<host::SettingsStore> OpenExisting(const std::string& storePath)
{
    if (!std::filesystem::exists(storePath))
        ZRERR_throwLocalizedError("NGTCONSOLE", 1, ZRSTD::FormatW(L"there is no store at \"%hs\"", storePath));
    return host::SettingsStore::Open(storePath);
}

}  // namespace

bool IsObjectName(const std::string& object, std::string& reason)
{
    const auto colon = object.find(':');
    if (colon == std::string::npos || colon + 1 == object.size()) {
        reason = "\"" + object + "\" is not an object name: use KIND:NAME, e.g. policy:\"Default policy\"";
        return false;
    }
    const std::string kind = object.substr(0, colon);
    for (const char* known : kKinds)
        if (kind == known) return true;
    reason = "unknown object kind \"" + kind + "\" (kinds: policy, host, task, package, dpoint, bootserver)";
    return false;
}

int DecodeDocument(const std::string& file, Format format)
{
    std::vector<std::uint8_t> bytes;
    try {
        if (file == "-") {
            bytes.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
        } else {
            bytes = ZRPAR::ReadFile(file);
        }
        const auto params = ZRPAR::Deserialize(bytes.data(), bytes.size());
        Print(*params, format);
        return 0;
    } catch (const ZRERR::Error& error) {
        return Refuse((file == "-" ? std::string("standard input") : file) + ": " + ZRSTD::ToUtf8(error.GetMessage()));
    }
}

int CheckStore(const std::string& storePath)
{
    try {
        auto store = OpenExisting(storePath);
        const auto problems = store->IntegrityProblems();
        if (problems.empty()) {
            std::cout << storePath << ": ok (schema version " << store->SchemaVersion() << ", "
                      << store->ListObjects().size() << " objects)\n";
            return 0;
        }
        for (const auto& problem : problems) std::cerr << storePath << ": " << problem << "\n";
        return 1;
    } catch (const ZRERR::Error& error) {
        return Refuse(error);
    }
}

int ListObjects(const std::string& storePath, Format format)
{
    try {
        auto store = OpenExisting(storePath);
        const auto objects = store->ListObjects();
        if (format == Format::Json) {
            auto list = nlohmann::json::array();
            for (const auto& object : objects) {
                const std::string name = ZRSTD::ToUtf8(object);
                const auto colon = name.find(':');
                list.push_back({{"object", name}, {"kind", name.substr(0, colon)}, {"name", name.substr(colon + 1)}});
            }
            std::cout << list.dump(2) << "\n";
        } else {
            if (objects.empty()) std::cout << "The store holds no objects.\n";
            for (const auto& object : objects) std::cout << ZRSTD::ToUtf8(object) << "\n";
        }
        return 0;
    } catch (const ZRERR::Error& error) {
        return Refuse(error);
    }
}

int DumpSection(const std::string& storePath, const std::string& object, const std::string& section, Format format)
{
    std::string reason;
    if (!IsObjectName(object, reason)) return Refuse(reason);
    try {
        auto store = OpenExisting(storePath);
        const std::wstring key = ZRSTD::FromUtf8(object);
        if (!store->HasObject(key)) return Refuse("there is no object \"" + object + "\" in " + storePath);
        ZRSTD::CAutoPtr<ZRPAR::Params> params;
        store->ObjectStorage(key)->Read(ZRSTD::FromUtf8(kProduct).c_str(), ZRSTD::FromUtf8(kVersion).c_str(),
                                        ZRSTD::FromUtf8(section).c_str(), &params);
        if (!params) return Refuse("\"" + object + "\" has no section \"" + section + "\"");
        Print(*params, format);
        return 0;
    } catch (const ZRERR::Error& error) {
        return Refuse(error);
    }
}

}  // namespace ngt
