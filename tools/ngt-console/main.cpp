// The command-line console host: loads the agent settings plug-in and drives
// it as the administration console does, over a settings store on disk.
#include <CLI/CLI.hpp>
#include <clocale>
#include <iostream>
#include <map>

#include "ApplicationCommands.h"
#include "CatalogueCommands.h"
#include "CompareCommands.h"
#include "EditCommands.h"
#include "GroupTaskCommands.h"
#include "ObjectCommands.h"
#include "PageCommands.h"
#include "Session.h"
#include "StoreCommands.h"
#include "StoreLocation.h"
#include "host/console/UserScript.h"
#include "host/web/Server.h"
#include "ui/UserActions.h"
#include "zrstd/Error.h"
#include "zrstd/Strings.h"

namespace {

const std::map<std::string, ngt::Format> kFormats = {
    {"text", ngt::Format::Text}, {"json", ngt::Format::Json}, {"packed", ngt::Format::Packed}, {"xml", ngt::Format::Xml}};

void AddFormat(CLI::App* command, std::string& format, bool documents = false)
{
    command->add_option("--format", format, documents ? "text, json, packed or xml" : "text or json")
        ->default_val("text")
        ->check(documents ? CLI::IsMember({"text", "json", "packed", "xml"}) : CLI::IsMember({"text", "json"}));
}

constexpr const char* kObjectHelp = "policy:NAME, host:NAME, task:NAME, package:NAME, dpoint:NAME or bootserver:NAME";
constexpr const char* kPageHelp = "the page's index, class or title (any case), as `pages` lists them";

std::string ActionHelp()
{
    std::string help = "Actions (run in order, as a person would):\n";
    for (const auto& [verb, meaning] : host::ScriptVerbs()) help += "  " + verb + "\n      " + meaning + "\n";
    return help;
}

}  // namespace

int main(int argc, char** argv)
{
    std::setlocale(LC_ALL, "C.UTF-8");
    CLI::App app{"ngt-console: the command-line console host of the network agent settings plug-in.\n"
                 "With no command it shows the default store (made on first run with the policy\n"
                 "\"Default policy\" and the computer \"localhost\" it governs)."};
    app.set_version_flag("--version", std::string("ngt-console ") + NGT_CONSOLE_VERSION);
    app.fallthrough();  // the global options may also follow the command
    app.footer("Examples:\n"
               "  ngt-console new policy Servers\n"
               "  ngt-console new host web01 --policy Servers\n"
               "  ngt-console pages policy:Servers\n"
               "  ngt-console show policy:Servers Сеть\n"
               "  ngt-console edit policy:Servers CPageNetworkSettingsBase type:6011=30 select:20036=locked\n"
               "  ngt-console export policy:Servers --format json | jq .\n"
               "Exit codes: 0 done, 1 refused (the reason on standard error), 2 the command is written wrong.");
    std::string storeOption, pluginOption;
    app.add_option("--store", storeOption,
                   "the settings store: an SQLite file or a postgresql:// URI; default $NGT_CONSOLE_STORE or "
                   "~/.local/share/ngt-console/console.db");
    app.add_option("--plugin", pluginOption, "the plug-in library; default ../lib/libzrngtplg.so beside ngt-console");

    std::string format = "text";
    std::string file, object, section, kind, name, key, value, page;
    bool wizard = false, force = false;
    std::vector<std::string> actions;
    std::string policyOption, taskTypeOption, agentVersionOption = "15.0.0.0", serverOption = "localhost";
    bool serverHosted = false;
    int platform = 0;

    auto* init = app.add_subcommand("init", "make an empty store (the default store is made with samples on first run)");
    AddFormat(init, format);
    init->footer("Example: ngt-console init --store /srv/consoles/office.db");

    auto* newObject = app.add_subcommand("new", "create an object and write its defaults through the plug-in");
    newObject->add_option("KIND", kind, "policy, host, task, package, dpoint or bootserver")
        ->required()
        ->check(CLI::IsMember({"policy", "host", "task", "package", "dpoint", "bootserver"}));
    newObject->add_option("NAME", name, "the object's name")->required();
    newObject->add_option("--policy", policyOption, "host, dpoint, task: the policy that governs it");
    newObject->add_option("--type", taskTypeOption, "task: the task type, e.g. DoUpdate or ZRNAG_TASK_SHOW_MSG");
    auto* platformOption = newObject->add_option("--platform", platform, "host, dpoint: platform class 0, 1 (Unix-like) or 2")
                               ->check(CLI::Range(0, 2));
    newObject->add_option("--agent-version", agentVersionOption, "host, dpoint: the version of the computer's agent");
    newObject->add_option("--server", serverOption, "host, dpoint: the administration server its agent connects to");
    newObject->add_flag("--server-hosted", serverHosted, "host, dpoint: the agent runs on the administration server's computer");
    AddFormat(newObject, format);
    newObject->footer("Examples:\n  ngt-console new policy Servers\n  ngt-console new host web01 --policy Servers\n"
                      "  ngt-console new task nightly --type DoUpdate\n  ngt-console new dpoint relay --platform 1");

    auto* list = app.add_subcommand("list", "list the stored objects with their kind, policy, task type and platform");
    AddFormat(list, format);

    auto* sections = app.add_subcommand("sections", "list the sections an object stores (what dump takes)");
    sections->add_option("OBJECT", object, kObjectHelp)->required();
    AddFormat(sections, format);

    auto* remove = app.add_subcommand("delete", "remove an object");
    remove->add_option("OBJECT", object, kObjectHelp)->required();
    remove->add_flag("--force", force, "delete a policy that still governs objects, detaching them");
    AddFormat(remove, format);

    auto* pages = app.add_subcommand("pages", "list an object's pages as the console shows them");
    pages->add_option("OBJECT", object, kObjectHelp)->required();
    pages->add_flag("--wizard", wizard, "the pages of the creation wizard");
    AddFormat(pages, format);

    auto* show = app.add_subcommand("show", "show a page's controls as a person sees them, after the actions (no OK)");
    show->add_option("OBJECT", object, kObjectHelp)->required();
    show->add_option("PAGE", page, kPageHelp)->required();
    show->add_option("ACTION", actions, "actions to perform first; a dialog they open is shown too");
    show->add_flag("--wizard", wizard, "the page as the creation wizard shows it");
    AddFormat(show, format);
    show->footer("Examples:\n  ngt-console show policy:Servers 0\n"
                 "  ngt-console show policy:Servers 'менеджер соединений' click:1121   # shows the interval dialog\n\n" +
                 ActionHelp());

    auto* edit = app.add_subcommand("edit", "change a page as a person would, then press OK (validate, apply)");
    edit->add_option("OBJECT", object, kObjectHelp)->required();
    edit->add_option("PAGE", page, kPageHelp)->required();
    edit->add_option("ACTION", actions, "the actions, in order");
    edit->add_flag("--wizard", wizard, "the page as the creation wizard shows it");
    AddFormat(edit, format);
    edit->footer("Examples:\n  ngt-console edit policy:Servers 0 type:6009=10 select:20038=locked\n"
                 "  ngt-console edit policy:Servers 0 check:1087 click:1000 dialog:6010 type:1001=Strong#Pass1 click:1 end\n"
                 "  ngt-console edit policy:Servers CPageSettingsNetScanPolicy click:1212 dialog:30002 click:1 end\n"
                 "  ngt-console edit dpoint:relay CPageUAScanIpBase check:1119 click:1108 dialog:10491 type:1121=Office\n"
                 "      click:1108 dialog:9450 click:1082 click:1109 dialog:30001 type:100=10.0.0.0 type:101=255.0.0.0 click:1 end\n"
                 "      click:1 end click:1 end click:2262 dialog:30002 click:1 end\n"
                 "  (the console's subnet picker is dialog 30001, its schedule editor dialog 30002)\n\n" +
                 ActionHelp());

    auto* exportCommand = app.add_subcommand("export", "print the export tree of an object's settings");
    exportCommand->add_option("OBJECT", object, kObjectHelp)->required();
    AddFormat(exportCommand, format);

    std::string second;
    auto* diff = app.add_subcommand("diff", "compare the settings of two objects (exit 0 when equal, 1 when they differ)");
    diff->add_option("A", object, kObjectHelp)->required();
    diff->add_option("B", second, "the object to compare with")->required();
    AddFormat(diff, format);
    diff->footer("Examples:\n  ngt-console diff policy:Servers policy:Laptops\n"
                 "  ngt-console diff host:web01 policy:Servers   # what the computer's pages show against the policy's");

    auto* effective = app.add_subcommand("effective", "explain a computer's settings: its own, its policy's, and what is enforced");
    effective->add_option("COMPUTER", object, "host:NAME")->required();
    AddFormat(effective, format);
    effective->footer("Example: ngt-console effective host:web01");

    auto* groups = app.add_subcommand("groups", "show the tree in which the console groups an object's pages");
    groups->add_option("OBJECT", object, kObjectHelp)->required();
    AddFormat(groups, format);

    auto* taskpad = app.add_subcommand("taskpad", "show the links of a policy's taskpad");
    AddFormat(taskpad, format);

    auto* events = app.add_subcommand("events", "list the events the agent publishes");
    AddFormat(events, format);

    auto* components = app.add_subcommand("components", "list the update components the administration server offers");
    AddFormat(components, format);
    components->footer("Example: ngt-console components --format json");

    auto* config = app.add_subcommand("config", "show or set how the console's services behave for this store");
    config->add_option("KEY", key,
                       "server_version, functionality, nac_allowed, product_mode, forced_connection or proxy_detection");
    config->add_option("VALUE", value, "a number (decimal or 0x hexadecimal)");
    AddFormat(config, format);
    config->footer("Examples:\n  ngt-console config\n  ngt-console config functionality 0x44");

    auto* decode = app.add_subcommand("decode", "print a packed or XML-envelope settings document");
    decode->add_option("FILE", file, "the document, or - for standard input")->required();
    AddFormat(decode, format);

    auto* check = app.add_subcommand("check", "check the store's integrity and its key file");
    AddFormat(check, format);

    std::string listen = "127.0.0.1:8080";
    int idleMinutes = 30;
    auto* serve = app.add_subcommand("serve", "start the browser console over the store (until Ctrl+C)");
    serve->add_option("--listen", listen, "HOST:PORT to listen on (port 0: any free port)")->default_val("127.0.0.1:8080");
    serve->add_option("--idle-minutes", idleMinutes, "an open sheet nobody touches this long is cancelled")
        ->default_val(30)
        ->check(CLI::Range(1, 24 * 60));
    serve->footer("It prints the address to open, with its access token:\n"
                  "  ngt-console serve: open http://127.0.0.1:8080/?token=...\n"
                  "Only loopback listens unless --listen names another address.");

    auto* dump = app.add_subcommand("dump", "print one stored section of an object");
    dump->add_option("OBJECT", object, kObjectHelp)->required();
    dump->add_option("SECTION", section, "a section as `sections` lists it, e.g. 86 or ZREVP_NF_SECTION")->required();
    AddFormat(dump, format, true);
    dump->footer("Example: ngt-console dump \"policy:Default policy\" ZREVP_NF_SECTION --format packed > defaults.bin");

    std::string copyFrom, copyTo;
    auto* copyStore = app.add_subcommand("copy-store", "copy every object, section and configuration value into another store");
    copyStore->add_option("FROM", copyFrom, "the store to copy: an SQLite file or a postgresql:// URI")->required();
    copyStore->add_option("TO", copyTo, "the store to copy into (made when missing); it must be empty")->required();
    copyStore->add_flag("--force", force, "copy into a store that holds objects or configuration: empty it first");
    AddFormat(copyStore, format);
    copyStore->footer("It copies the key file of the store's secrets too, then compares both stores.\n"
                      "Example: ngt-console copy-store ~/.local/share/ngt-console/console.db "
                      "postgresql://console@db.example/console");
    host::GroupTask groupTask;
    std::string groupTaskName, groupTaskProduct, groupTaskVersion, groupTaskType, groupTaskStorageId, groupTaskId;
    auto* groupTasks = app.add_subcommand("grouptasks", "list, add or remove the group tasks of the managed applications");
    groupTasks->require_subcommand(1);
    auto* groupTasksList = groupTasks->add_subcommand("list", "list the group tasks the console offers");
    AddFormat(groupTasksList, format);
    auto* groupTasksAdd = groupTasks->add_subcommand("add", "add a group task of an application");
    groupTasksAdd->add_option("NAME", groupTaskName, "the task's display name")->required();
    groupTasksAdd->add_option("--product", groupTaskProduct, "the application's product name")->required();
    groupTasksAdd->add_option("--version", groupTaskVersion, "the application's version")->required();
    groupTasksAdd->add_option("--type", groupTaskType, "the task type, e.g. updater or ods")->required();
    groupTasksAdd->add_option("--storage-id", groupTaskStorageId, "the task's storage id (default: made up)");
    groupTasksAdd->add_option("--task-id", groupTaskId, "the task's id (default: the next number)");
    groupTasksAdd->add_flag("--invisible", groupTask.invisible, "the task is hidden from the administrator");
    AddFormat(groupTasksAdd, format);
    auto* groupTasksRemove = groupTasks->add_subcommand("remove", "remove a group task");
    groupTasksRemove->add_option("STORAGE_ID", groupTaskStorageId, "the task's storage id, as list shows it")->required();
    AddFormat(groupTasksRemove, format);
    groupTasks->footer("Examples:\n  ngt-console grouptasks list\n"
                       "  ngt-console grouptasks add 'Обновление баз' --product BLES --version 11.0.0.0 --type updater\n"
                       "  ngt-console grouptasks remove _BLES_SCAN_QUICK");

    std::string appName, appVersion, appDisplayName, appControl = "both";
    auto* apps = app.add_subcommand("apps", "list, register or remove the applications of the administrator's computer "
                                            "(what the application start and stop task offers)");
    apps->require_subcommand(1);
    auto* appsList = apps->add_subcommand("list", "list the registered applications: name, version, control, display name");
    AddFormat(appsList, format);
    auto* appsAdd = apps->add_subcommand("add", "register an application (replacing one of the same name and version)");
    appsAdd->add_option("NAME", appName, "the product name")->required();
    appsAdd->add_option("VERSION", appVersion, "its version")->required();
    appsAdd->add_option("DISPLAY_NAME", appDisplayName, "the name the task's page shows")->required();
    appsAdd->add_option("--control", appControl, "what it can be told to do: start, stop or both")
        ->default_val("both")
        ->check(CLI::IsMember({"start", "stop", "both"}));
    AddFormat(appsAdd, format);
    auto* appsRemove = apps->add_subcommand("remove", "remove a registered application");
    appsRemove->add_option("NAME", appName, "the product name")->required();
    appsRemove->add_option("VERSION", appVersion, "its version")->required();
    AddFormat(appsRemove, format);
    apps->footer("A new store offers a starter set. Examples:\n  ngt-console apps list\n"
                 "  ngt-console apps add ZRBACKUP 3.0.0.0 \"Brenvik Backup 3\" --control stop\n"
                 "  ngt-console apps remove ZRBACKUP 3.0.0.0");

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

    // an object named without its kind is a command written wrong
    for (CLI::App* command : {sections, remove, pages, show, edit, exportCommand, groups, dump, diff, effective}) {
        if (!*command) continue;
        try {
            host::ParseObjectName(ZRSTD::FromUtf8(object));
            if (*diff) host::ParseObjectName(ZRSTD::FromUtf8(second));
        } catch (const ZRERR::Error& error) {
            std::cerr << "ngt-console: " << ZRSTD::ToUtf8(error.GetMessage()) << "\n";
            return 2;
        } catch (const std::exception& error) {
            std::cerr << "ngt-console: the object name is not UTF-8 text: " << error.what() << "\n";
            return 2;
        }
    }

    try {
        const ngt::Format chosen = kFormats.at(format);
        if (*decode) return ngt::DecodeDocument(file, chosen);
        if (*copyStore) return ngt::CopyStore(copyFrom, copyTo, force, chosen);
        ngt::Session session(ngt::ResolveStorePath(storeOption),
                             pluginOption.empty() ? host::PluginLibrary::DefaultPathBeside("/proc/self/exe") : pluginOption,
                             ngt::IsDefaultStore(storeOption));
        if (*init) return ngt::InitStore(session, chosen);
        if (*check) return ngt::CheckStore(session, chosen);
        if (*list) return ngt::ListObjects(session, chosen);
        if (*sections) return ngt::ListSections(session, object, chosen);
        if (*dump) return ngt::DumpSection(session, object, section, chosen);
        if (*remove) return ngt::DeleteObject(session, object, force, chosen);
        if (*newObject) return ngt::NewObject(session, kind, name, newOptions, chosen);
        if (*pages) return ngt::ListPages(session, object, wizard, chosen);
        if (*show) return ngt::ShowPage(session, object, page, actions, chosen, wizard);
        if (*edit) return ngt::EditPage(session, object, page, actions, chosen, wizard);
        if (*exportCommand) return ngt::ExportObject(session, object, chosen);
        if (*diff) return ngt::DiffObjects(session, object, second, chosen);
        if (*effective) return ngt::ExplainEffective(session, object, chosen);
        if (*groups) return ngt::ShowGroups(session, object, chosen);
        if (*taskpad) return ngt::ShowTaskpad(session, chosen);
        if (*events) return ngt::ListEvents(session, chosen);
        if (*config) return ngt::Configure(session, key, value, chosen);
        if (*components) return ngt::ListUpdateComponents(session, chosen);
        if (*groupTasksList) return ngt::ListGroupTasks(session, chosen);
        if (*groupTasksAdd) {
            groupTask.displayName = ZRSTD::FromUtf8(groupTaskName);
            groupTask.productName = ZRSTD::FromUtf8(groupTaskProduct);
            groupTask.productVersion = ZRSTD::FromUtf8(groupTaskVersion);
            groupTask.typeName = ZRSTD::FromUtf8(groupTaskType);
            groupTask.storageId = ZRSTD::FromUtf8(groupTaskStorageId);
            groupTask.taskId = ZRSTD::FromUtf8(groupTaskId);
            return ngt::AddGroupTask(session, groupTask, chosen);
        }
        if (*groupTasksRemove) return ngt::RemoveGroupTask(session, groupTaskStorageId, chosen);
        if (*appsList) return ngt::ListApplications(session, chosen);
        if (*appsAdd) return ngt::AddApplication(session, appName, appVersion, appDisplayName, appControl, chosen);
        if (*appsRemove) return ngt::RemoveApplication(session, appName, appVersion, chosen);
        if (*serve) {
            std::string host;
            int port = 0;
            if (!host::web::ParseListen(listen, host, port))
                throw ngt::UsageError("--listen takes HOST:PORT, e.g. 127.0.0.1:8080, not \"" + listen + "\"");
            host::web::ServeOptions options;
            options.storePath = session.StorePath();
            options.pluginPath = pluginOption.empty() ? host::PluginLibrary::DefaultPathBeside("/proc/self/exe") : pluginOption;
            options.listen = listen;
            options.sheetIdle = std::chrono::minutes(idleMinutes);
            // a store that is not there is refused before anything listens (the default one is made);
            // the plug-in itself is loaded only by the console's UI thread
            session.Store(ngt::IsDefaultStore(storeOption));
            host::web::Serve(options, std::cout);
            return 0;
        }
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
    } catch (const ui::ActionRefused& refused) {
        std::cerr << "ngt-console: " << refused.what() << "\n";
        return 1;
    } catch (const std::exception& error) {
        std::cerr << "ngt-console: " << error.what() << "\n";
        return 1;
    }
}
