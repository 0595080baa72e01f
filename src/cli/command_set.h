#pragma once

#include <CLI/CLI.hpp>

#include <functional>
#include <vector>

namespace hoofer {

/// The subcommands of the tool and what each one runs. Every group of
/// commands adds its own subcommands to the parser and registers a runner
/// here; main runs the one that was parsed. Runners return the exit status
/// (0 success, 1 failure) and report their own failures on standard error.
class CommandSet {
public:
    void Add(CLI::App *command, std::function<int()> run)
    {
        m_commands.push_back({command, std::move(run)});
    }

    /// The exit status of the parsed command, or 2 when none was parsed.
    int RunParsed() const
    {
        for (const auto &c : m_commands)
            if (c.command->parsed())
                return c.run();
        return 2;
    }

private:
    struct Entry {
        CLI::App *command;
        std::function<int()> run;
    };
    std::vector<Entry> m_commands;
};

} // namespace hoofer
