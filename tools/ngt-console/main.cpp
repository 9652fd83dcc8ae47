// The command-line console host: loads the agent settings plug-in and drives
// it as the administration console does.
#include <CLI/CLI.hpp>
#include <cstdio>

int main(int argc, char** argv)
{
    CLI::App app{"ngt-console: the command-line console host of the network agent settings plug-in"};
    app.set_version_flag("--version", std::string("ngt-console ") + NGT_CONSOLE_VERSION);
    CLI11_PARSE(app, argc, argv);
    std::printf("ngt-console %s\n", NGT_CONSOLE_VERSION);
    std::printf("The console's commands arrive with the plug-in frame; run 'ngt-console --help' for what exists now.\n");
    return 0;
}
