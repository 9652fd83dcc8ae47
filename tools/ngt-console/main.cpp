// The command-line console host: loads the agent settings plug-in and drives
// it as the administration console does, over a settings store on disk.
#include <CLI/CLI.hpp>
#include <clocale>
#include <cstdio>
#include <iostream>
#include <map>

#include "EditCommands.h"
#include "ObjectCommands.h"
#include "PageCommands.h"
#include "Session.h"
#include "StoreCommands.h"
#include "StoreLocation.h"
#include "host/console/UserScript.h"
#include "zrstd/Error.h"
#include "zrstd/Strings.h"

namespace {

const std::map<std::string, ngt::Format> kFormats = {
    {"text", ngt::Format::Text}, {"json", ngt::Format::Json}, {"packed", ngt::Format::Packed}, {"xml", ngt::Format::Xml}};

CLI::Option* AddFormat(CLI::App* command, std::string& format, bool documents)
{
    auto* option = command->add_option("--format", format, documents ? "text, json, packed or xml" : "text or json")
                       ->default_val("text");
    option->check(documents ? CLI::IsMember({"text", "json", "packed", "xml"}) : CLI::IsMember({"text", "json"}));
    return option;
}

constexpr const char* kObjectHelp = "policy:NAME, host:NAME, task:NAME, package:NAME, dpoint:NAME or bootserver:NAME";

}  // namespace

int main(int argc, char** argv)
{
    std::setlocale(LC_ALL, "C.UTF-8");
    CLI::App app{"ngt-console: the command-line console host of the network agent settings plug-in.\n"
                 "With no command it shows the default store (created on first run with the policy\n"
                 "\"Default policy\" and the computer \"localhost\" it governs)."};
    app.set_version_flag("--version", std::string("ngt-console ") + NGT_CONSOLE_VERSION);
    app.footer(
        "Examples:\n"
        "  ngt-console\n"
        "  ngt-console new policy Servers\n"
        "  ngt-console pages \"policy:Default policy\"\n"
        "  ngt-console dump \"policy:Default policy\" 86 --format json\n"
        "  ngt-console check --store /tmp/console.db");
    std::string storeOption, pluginOption;
    app.add_option("--store", storeOption, "the settings store (SQLite file); default $NGT_CONSOLE_STORE or "
                                          "~/.local/share/ngt-console/console.db");
    app.add_option("--plugin", pluginOption, "the plug-in library; default ../lib/libzrngtplg.so beside ngt-console");

    std::string format = "text";
    std::string file, object, section, kind, name, key, value;
    bool wizard = false;
    std::string policyOption, taskTypeOption, agentVersionOption = "15.0.0.0", serverOption = "localhost";
    bool serverHosted = false;
    int platform = 0;

    auto* newObject = app.add_subcommand("new", "create an object and write its defaults through the plug-in");
    newObject->add_option("KIND", kind, "policy, host, task, package, dpoint or bootserver")
        ->required()
        ->check(CLI::IsMember({"policy", "host", "task", "package", "dpoint", "bootserver"}));
    newObject->add_option("NAME", name, "the object's name")->required();
    newObject->add_option("--policy", policyOption, "host, dpoint, task: the policy that governs it");
    newObject->add_option("--type", taskTypeOption, "task: the task type, e.g. DoUpdate or ZRNAG_TASK_SHOW_MSG");
    auto* platformOption = newObject->add_option("--platform", platform, "host, dpoint: platform class 0, 1 (Unix-like) or 2")
                               ->check(CLI::Range(0, 2));
    newObject->add_option("--agent-version", agentVersionOption,
                          "host, dpoint: the version of the computer's agent (default 15.0.0.0)");
    newObject->add_option("--server", serverOption,
                          "host, dpoint: the administration server its agent connects to (default localhost)");
    newObject->add_flag("--server-hosted", serverHosted,
                        "host, dpoint: the agent runs on the administration server's own computer");
    newObject->footer("Examples:\n  ngt-console new policy Servers\n  ngt-console new host web01 --policy \"Default policy\"\n"
                      "  ngt-console new task nightly --type DoUpdate\n  ngt-console new dpoint relay --platform 1");

    auto* pages = app.add_subcommand("pages", "list an object's pages as the console shows them");
    pages->add_option("OBJECT", object, kObjectHelp)->required();
    pages->add_flag("--wizard", wizard, "the pages of the creation wizard");
    AddFormat(pages, format, false);
    pages->footer("Example: ngt-console pages \"policy:Default policy\" --format json");

    std::string page;
    std::vector<std::string> actions;
    auto* show = app.add_subcommand("show", "show a page's controls as a user sees them");
    show->add_option("OBJECT", object, kObjectHelp)->required();
    show->add_option("PAGE", page, "the page's index or class, e.g. 0 or CPageGroupNetwork")->required();
    AddFormat(show, format, false);
    show->footer("Example: ngt-console show \"policy:Default policy\" 6");

    auto* edit = app.add_subcommand("edit", "change a page as a user would, then press OK (validate, apply)");
    edit->add_option("OBJECT", object, kObjectHelp)->required();
    edit->add_option("PAGE", page, "the page's index or class")->required();
    edit->add_option("ACTION", actions,
                     "type:ID=TEXT (HH:MM into a time picker), clear:ID, click:ID, check:ID, uncheck:ID, "
                     "check:ID=ROW and uncheck:ID=ROW (a row of a list with check boxes), select:ID=TEXT (an item, "
                     "or a list row), answer:yes|no|ok|cancel (the next message box), dialog:ID ... end (inside the "
                     "modal dialog ID)");
    edit->footer("Example: ngt-console edit \"policy:Default policy\" CPageGroupNetwork\n"
                 "Actions run in order; a click that opens a dialog needs its dialog:ID ... end after it.");

    auto* exportCommand = app.add_subcommand("export", "print the export tree of an object's settings");
    exportCommand->add_option("OBJECT", object, kObjectHelp)->required();
    AddFormat(exportCommand, format, false);
    exportCommand->footer("Example: ngt-console export \"policy:Default policy\"");

    auto* groups = app.add_subcommand("groups", "show the tree in which the console groups an object's pages");
    groups->add_option("OBJECT", object, kObjectHelp)->required();
    AddFormat(groups, format, false);
    groups->footer("Example: ngt-console groups host:localhost");

    auto* taskpad = app.add_subcommand("taskpad", "show the links of a policy's taskpad");
    AddFormat(taskpad, format, false);
    taskpad->footer("Example: ngt-console taskpad");

    auto* events = app.add_subcommand("events", "list the events the agent publishes");
    AddFormat(events, format, false);
    events->footer("Example: ngt-console events --format json");

    auto* config = app.add_subcommand("config", "show or set how the console's services behave for this store");
    config->add_option("KEY", key, "server_version, functionality, nac_allowed, product_mode, forced_connection or proxy_detection");
    config->add_option("VALUE", value, "a number (decimal or 0x hexadecimal)");
    config->footer("Examples:\n  ngt-console config\n  ngt-console config functionality 0x44");

    auto* decode = app.add_subcommand("decode", "print a packed or XML-envelope settings document");
    decode->add_option("FILE", file, "the document, or - for standard input")->required();
    AddFormat(decode, format, false);
    decode->footer("Example: ngt-console decode src/plugin/resources/notification-defaults.xml --format json");

    auto* check = app.add_subcommand("check", "check the store's integrity");
    check->footer("Example: ngt-console check");

    auto* list = app.add_subcommand("list", "list the stored objects");
    AddFormat(list, format, false);
    list->footer("Example: ngt-console list --format json");

    auto* dump = app.add_subcommand("dump", "print one stored section of an object");
    dump->add_option("OBJECT", object, kObjectHelp)->required();
    dump->add_option("SECTION", section, "the section, e.g. 86 or ZREVP_NF_SECTION")->required();
    AddFormat(dump, format, true);
    dump->footer("Example: ngt-console dump \"policy:Default policy\" ZREVP_NF_SECTION --format packed > defaults.bin");

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return app.exit(error) == 0 ? 0 : 2;
    }
    if (!key.empty() && value.empty()) {
        std::cerr << "ngt-console: config " << key << " needs a VALUE\n";
        return 2;
    }
    host::NewObjectOptions newOptions;
    newOptions.policy = ZRSTD::FromUtf8(policyOption);
    newOptions.taskType = ZRSTD::FromUtf8(taskTypeOption);
    newOptions.agentVersion = ZRSTD::FromUtf8(agentVersionOption);
    newOptions.serverAddress = ZRSTD::FromUtf8(serverOption);
    newOptions.serverHosted = serverHosted;
    if (platformOption->count() > 0) newOptions.platform = platform;

    try {
        const ngt::Format chosen = kFormats.at(format);
        if (*decode) return ngt::DecodeDocument(file, chosen);
        const std::string store = ngt::ResolveStorePath(storeOption);
        if (*check) return ngt::CheckStore(store);
        if (*list) return ngt::ListObjects(store, chosen);
        if (*dump) return ngt::DumpSection(store, object, section, chosen);
        ngt::Session session(store, pluginOption.empty() ? host::PluginLibrary::DefaultPathBeside("/proc/self/exe")
                                                         : pluginOption);
        if (*newObject) return ngt::NewObject(session, kind, name, newOptions);
        if (*pages) return ngt::ListPages(session, object, wizard, chosen);
        if (*show) return ngt::ShowPage(session, object, page, actions, chosen);
        if (*edit) return ngt::EditPage(session, object, page, actions, chosen);
        if (*exportCommand) return ngt::ExportObject(session, object, chosen);
        if (*groups) return ngt::ShowGroups(session, object, chosen);
        if (*taskpad) return ngt::ShowTaskpad(session, chosen);
        if (*events) return ngt::ListEvents(session, chosen);
        if (*config) return ngt::Configure(session, key, value);
        ngt::EnsureSampleObjects(session);
        return ngt::ShowOverview(session);
    } catch (const ngt::UsageError& usage) {
        std::cerr << "ngt-console: " << usage.what() << "\n";
        return 2;
    } catch (const host::ScriptUsageError& usage) {
        std::cerr << "ngt-console: " << usage.what() << "\n";
        return 2;
    } catch (const ZRERR::Error& error) {
        std::cerr << "ngt-console: " << ZRSTD::ToUtf8(error.GetMessage()) << "\n";
        return 1;
    } catch (const std::exception& error) {
        std::cerr << "ngt-console: " << error.what() << "\n";
        return 1;
    }
}
