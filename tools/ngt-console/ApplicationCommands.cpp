#include "ApplicationCommands.h"

#include "host/console/RegisteredApplications.h"
#include "zrstd/Format.h"
#include "zrstd/Strings.h"

namespace ngt {

namespace {

using host::RegisteredApplication;

std::string ControlText(std::uint32_t flags)
{
    if (flags == (RegisteredApplication::kCanStart | RegisteredApplication::kCanStop)) return "both";
    if (flags == RegisteredApplication::kCanStart) return "start";
    if (flags == RegisteredApplication::kCanStop) return "stop";
    return std::to_string(flags);
}

std::uint32_t ControlFlags(const std::string& control)
{
    if (control == "both") return RegisteredApplication::kCanStart | RegisteredApplication::kCanStop;
    if (control == "start") return RegisteredApplication::kCanStart;
    if (control == "stop") return RegisteredApplication::kCanStop;
    throw UsageError("--control takes start, stop or both, not \"" + control + "\"");
}

}  // namespace

int ListApplications(Session& session, Format format)
{
    const auto applications = host::ReadRegisteredApplications(session.Store());
    if (format == Format::Json) {
        nlohmann::json list = nlohmann::json::array();
        for (const auto& application : applications)
            list.push_back({{"name", ZRSTD::ToUtf8(application.name)},
                            {"version", ZRSTD::ToUtf8(application.version)},
                            {"display_name", ZRSTD::ToUtf8(application.displayName)},
                            {"control", ControlText(application.ctrlButtons)}});
        PrintJson(list);
        return 0;
    }
    for (const auto& application : applications)
        std::cout << ZRSTD::ToUtf8(application.name) << "\t" << ZRSTD::ToUtf8(application.version) << "\t"
                  << ControlText(application.ctrlButtons) << "\t" << ZRSTD::ToUtf8(application.displayName) << "\n";
    if (applications.empty()) Note("no applications are registered");
    return 0;
}

int AddApplication(Session& session, const std::string& name, const std::string& version,
                   const std::string& displayName, const std::string& control, Format format)
{
    RegisteredApplication application{ZRSTD::FromUtf8(name), ZRSTD::FromUtf8(version), ZRSTD::FromUtf8(displayName),
                                      ControlFlags(control)};
    host::RegisterApplication(session.Store(), application);
    if (format == Format::Json) PrintJson({{"registered", name + " " + version}});
    else Note("registered " + name + " " + version);
    return 0;
}

int RemoveApplication(Session& session, const std::string& name, const std::string& version, Format format)
{
    if (!host::UnregisterApplication(session.Store(), ZRSTD::FromUtf8(name), ZRSTD::FromUtf8(version)))
        Refuse(ZRSTD::FormatW(L"no application %hs %hs is registered (ngt-console apps list shows them)", name, version));
    if (format == Format::Json) PrintJson({{"removed", name + " " + version}});
    else Note("removed " + name + " " + version);
    return 0;
}

}  // namespace ngt
