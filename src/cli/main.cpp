// hoofer: the editor's routines from the command line.

#include "command_set.h"
#include "render_command.h"
#include "routine_commands.h"
#include "transfer_commands.h"

#include <CLI/CLI.hpp>

#include <exception>
#include <iostream>

int main(int argc, char **argv)
{
    CLI::App app{"hoofer: inspect, check, render, convert and transfer empeg dance routines (.raw)",
                 "hoofer"};
    app.set_version_flag("--version", std::string("hoofer ") + HOOFER_VERSION);
    app.require_subcommand(1);
    app.fallthrough(false);
    app.footer("Run hoofer COMMAND --help for the options of a command.\n"
               "Exit status: 0 success, 1 failure, 2 usage error.");

    hoofer::CommandSet commands;
    hoofer::AddRoutineCommands(app, commands);
    hoofer::AddRenderCommand(app, commands);
    hoofer::AddTransferCommands(app, commands);

    if (argc <= 1) {
        std::cerr << app.help();
        return 2;
    }
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError &e) {
        // Help and the version are successes; everything else is a usage error.
        return app.exit(e) == 0 ? 0 : 2;
    }
    try {
        return commands.RunParsed();
    } catch (const std::exception &e) {
        std::cerr << "hoofer: error: " << e.what() << '\n';
        return 1;
    }
}
