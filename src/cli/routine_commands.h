#pragma once

#include "command_set.h"

namespace hoofer {

/// Adds the commands that work on routine files alone: info, check, export
/// and import.
void AddRoutineCommands(CLI::App &app, CommandSet &commands);

} // namespace hoofer
