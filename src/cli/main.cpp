// hoofer: the editor's routines from the command line.

#include "command_set.h"
#include "merge_command.h"
#include "render_command.h"
#include "routine_commands.h"
#include "terminal_text.h"
#include "transfer_commands.h"

#include <CLI/CLI.hpp>

#include <exception>
#include <iostream>

int main(int argc, char **argv)
{
    CLI::App app{"hoofer: inspect, check, render, convert, merge and transfer empeg dance routines (.raw)",
                 "hoofer"};
    app.set_version_flag("--version", std::string("hoofer ") + HOOFER_VERSION);
    app.require_subcommand(1);
    app.fallthrough(false);
    app.footer("Run hoofer help COMMAND for the options of a command.\n"
               "Exit status: 0 success, 1 failure, 2 usage error.");

    hoofer::CommandSet commands;
    hoofer::AddRoutineCommands(app, commands);
    hoofer::AddRenderCommand(app, commands);
    hoofer::AddMergeCommand(app, commands);
    hoofer::AddTransferCommands(app, commands);

    if (argc <= 1) {
        std::cerr << app.help();
        return 2;
    }
    // The command word is looked at first, so that a misspelt command is
    // named as such and "help COMMAND" works without a parser rule.
    if (const std::string word = argv[1]; !word.starts_with('-')) {
        const bool asksHelp = word == "help";
        const std::string command = asksHelp && argc > 2 ? argv[2] : asksHelp ? std::string() : word;
        CLI::App *found = nullptr;
        for (CLI::App *sub : app.get_subcommands([](CLI::App *) { return true; }))
            if (sub->get_name() == command)
                found = sub;
        if (!command.empty() && !found) {
            std::cerr << "hoofer: '" << hoofer::TerminalText(command)
                      << "' is not a hoofer command; see 'hoofer --help'\n";
            return 2;
        }
        if (asksHelp && argc > 3) {
            std::cerr << "hoofer: help takes one command name; see 'hoofer --help'\n";
            return 2;
        }
        if (asksHelp) {
            std::cout << (found ? found->help(app.get_name()) : app.help());
            return 0;
        }
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
        std::cerr << "hoofer: error: " << hoofer::TerminalText(e.what()) << '\n';
        return 1;
    }
}
