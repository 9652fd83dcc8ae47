#include "CompareCommands.h"

#include <map>

#include "host/console/SettingsComparison.h"
#include "zrstd/Strings.h"

namespace ngt {

namespace {

using ZRSTD::FromUtf8;
using ZRSTD::ToUtf8;

std::string Shown(const nlohmann::json& value)
{
    if (value.is_null()) return "(none)";
    return value.is_string() ? value.get<std::string>() : value.dump();
}

nlohmann::json PathJson(const std::vector<std::wstring>& path)
{
    auto parts = nlohmann::json::array();
    for (const auto& part : path) parts.push_back(ToUtf8(part));
    return parts;
}

bool IsComputer(const host::ObjectName& name) { return name.type == host::ObjectType::Host; }

}  // namespace

int DiffObjects(Session& session, const std::string& first, const std::string& second, Format format)
{
    auto a = session.DataSource(FromUtf8(first));
    auto b = session.DataSource(FromUtf8(second));
    const host::ObjectName& nameA = a->Object();
    const host::ObjectName& nameB = b->Object();
    const bool pages = IsComputer(nameA) || IsComputer(nameB);
    if (pages) {
        const auto comparable = [](const host::ObjectName& name) {
            return name.type == host::ObjectType::Host || name.type == host::ObjectType::Policy;
        };
        if (!comparable(nameA) || !comparable(nameB))
            throw UsageError("a computer compares with a computer or a policy, not with " +
                             ToUtf8(IsComputer(nameA) ? nameB.Full() : nameA.Full()));
    } else {
        if (nameA.type != nameB.type)
            throw UsageError("a " + ToUtf8(nameA.kind) + " compares with another " + ToUtf8(nameA.kind) + ", not with " +
                             ToUtf8(nameB.Full()));
        if (nameA.type == host::ObjectType::Task && a->TaskType() != b->TaskType())
            throw UsageError("tasks compare when they are of one type (" + ToUtf8(a->TaskType()) + " and " +
                             ToUtf8(b->TaskType()) + ")");
    }
    const auto readingsA = pages ? host::ReadPages(session, *a) : host::ReadExport(session, *a);
    const auto readingsB = pages ? host::ReadPages(session, *b) : host::ReadExport(session, *b);
    const auto differences = host::CompareReadings(readingsA, readingsB);
    if (format == Format::Json) {
        auto list = nlohmann::json::array();
        static const char* const kKinds[] = {"only_in_first", "only_in_second", "changed"};
        for (const auto& d : differences)
            list.push_back({{"kind", kKinds[static_cast<int>(d.kind)]}, {"path", PathJson(d.path)}, {"first", d.first},
                            {"second", d.second}, {"lock", d.isLock}});
        PrintJson({{"first", first}, {"second", second}, {"compared", pages ? "pages" : "export"},
                   {"equal", differences.empty()}, {"differences", list}});
        return differences.empty() ? 0 : 1;
    }
    for (const auto& d : differences) {
        const std::string path = host::JoinPath(d.path);
        switch (d.kind) {
        case host::SettingDifference::Kind::OnlyInFirst: std::cout << "only in " << first << ": " << path << ": " << Shown(d.first) << "\n"; break;
        case host::SettingDifference::Kind::OnlyInSecond: std::cout << "only in " << second << ": " << path << ": " << Shown(d.second) << "\n"; break;
        case host::SettingDifference::Kind::Changed:
            std::cout << (d.isLock ? "lock changed: " : "changed: ") << path << ": " << Shown(d.first) << " -> "
                      << Shown(d.second) << "\n";
            break;
        }
    }
    std::cout << (differences.empty() ? "no differences" : std::to_string(differences.size()) + " differences") << " between "
              << first << " and " << second << " (" << (pages ? "as their pages show them" : "by their exports") << ")\n";
    return differences.empty() ? 0 : 1;
}

int ExplainEffective(Session& session, const std::string& computer, Format format)
{
    auto effective = session.DataSource(FromUtf8(computer));
    if (!IsComputer(effective->Object())) throw UsageError("effective explains a computer (host:NAME), not " + computer);
    const std::wstring policy = effective->GoverningPolicy();
    auto own = std::make_unique<host::ConsoleDataSource>(ZRSTD::CAutoPtr<host::SettingsStore>(&session.Store()),
                                                         effective->Object(),
                                                         host::ConsoleDataSource::Options{/*withoutPolicy=*/true});
    const auto shown = host::ReadPages(session, *effective);
    const auto ownValues = host::ReadPages(session, *own);
    std::vector<host::SettingReading> policyValues;
    if (!policy.empty()) {
        auto policySource = session.DataSource(L"policy:" + policy);
        policyValues = host::ReadPages(session, *policySource);
    }
    // readings are matched by their path, in turn
    const auto index = [](const std::vector<host::SettingReading>& readings) {
        std::map<std::string, std::vector<const host::SettingReading*>> byPath;
        for (const auto& reading : readings) byPath[host::JoinPath(reading.path)].push_back(&reading);
        return byPath;
    };
    auto ownByPath = index(ownValues), policyByPath = index(policyValues);
    std::map<std::string, std::size_t> turn;
    auto rows = nlohmann::json::array();
    for (const auto& reading : shown) {
        const std::string path = host::JoinPath(reading.path);
        const std::size_t n = turn[path]++;
        const auto pick = [&](auto& byPath) -> const host::SettingReading* {
            const auto found = byPath.find(path);
            return found != byPath.end() && n < found->second.size() ? found->second[n] : nullptr;
        };
        const host::SettingReading* mine = pick(ownByPath);
        const host::SettingReading* policys = pick(policyByPath);
        nlohmann::json row = {{"path", PathJson(reading.path)}, {"shown", reading.value},
                              {"computer", mine ? mine->value : nlohmann::json()},
                              {"policy", policys ? policys->value : nlohmann::json()},
                              {"enforced", reading.enforced}};
        if (reading.enforced) row["enforced_by"] = ToUtf8(policy);
        row["brought_back"] = reading.enforced && mine && policys && mine->value != policys->value;
        rows.push_back(row);
    }
    if (format == Format::Json) {
        PrintJson({{"computer", computer}, {"policy", policy.empty() ? nlohmann::json() : nlohmann::json(ToUtf8(policy))},
                   {"settings", rows}});
        return 0;
    }
    std::cout << computer << (policy.empty() ? " is governed by no policy" : " is governed by policy:" + ToUtf8(policy))
              << "\n";
    for (const auto& row : rows) {
        std::string path;
        for (const auto& part : row["path"]) path += (path.empty() ? "" : " / ") + part.get<std::string>();
        std::cout << path << "\n    computer: " << Shown(row["computer"]);
        if (!policy.empty()) std::cout << "    policy: " << Shown(row["policy"]);
        if (row["enforced"]) std::cout << "    enforced by the policy \"" << ToUtf8(policy) << "\"";
        else if (!policy.empty() && !row["policy"].is_null()) std::cout << "    proposed by the policy (the computer's own value counts)";
        std::cout << "\n";
        if (row["brought_back"])
            std::cout << "    ! the computer holds another value: the agent will be brought back to the policy's\n";
    }
    return 0;
}

}  // namespace ngt
