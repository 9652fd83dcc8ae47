// The command-line console host: loads the agent settings plug-in and drives
// it as the administration console does, over a settings store on disk.
#include <CLI/CLI.hpp>
#include <clocale>
#include <cstdio>
#include <iostream>
#include <map>

#include "StoreCommands.h"
#include "StoreLocation.h"
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

}  // namespace

int main(int argc, char** argv)
{
    std::setlocale(LC_ALL, "C.UTF-8");
    CLI::App app{"ngt-console: the command-line console host of the network agent settings plug-in"};
    app.set_version_flag("--version", std::string("ngt-console ") + NGT_CONSOLE_VERSION);
    app.footer(
        "Examples:\n"
        "  ngt-console list\n"
        "  ngt-console dump \"policy:Default policy\" 86 --format json\n"
        "  ngt-console decode settings.xml\n"
        "  ngt-console check --store /tmp/console.db");
    std::string storeOption;
    app.add_option("--store", storeOption, "the settings store (SQLite file); default $NGT_CONSOLE_STORE or "
                                          "~/.local/share/ngt-console/console.db");

    std::string format = "text";
    std::string file, object, section;

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
    dump->add_option("OBJECT", object, "policy:NAME, host:NAME, task:NAME, package:NAME, dpoint:NAME or bootserver:NAME")
        ->required();
    dump->add_option("SECTION", section, "the section, e.g. 86 or ZREVP_NF_SECTION")->required();
    AddFormat(dump, format, true);
    dump->footer("Example: ngt-console dump \"policy:Default policy\" ZREVP_NF_SECTION --format packed > defaults.bin");

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return app.exit(error) == 0 ? 0 : 2;
    }

    try {
        const ngt::Format chosen = kFormats.at(format);
        if (*decode) return ngt::DecodeDocument(file, chosen);
        const std::string store = ngt::ResolveStorePath(storeOption);
        if (*check) return ngt::CheckStore(store);
        if (*list) return ngt::ListObjects(store, chosen);
        if (*dump) return ngt::DumpSection(store, object, section, chosen);
    } catch (const ZRERR::Error& error) {
        std::cerr << "ngt-console: " << ZRSTD::ToUtf8(error.GetMessage()) << "\n";
        return 1;
    }

    std::cout << "ngt-console " << NGT_CONSOLE_VERSION << "\n"
              << "The policy, page and export commands arrive with the plug-in's configurator.\n"
              << "Commands available now: decode, check, list, dump (ngt-console --help).\n";
    return 0;
}
