#pragma once

#include "command_set.h"

namespace hoofer {

/// Adds the commands that talk to the player over FTP: upload, download and
/// reboot, with the editor's own transfer sequences.
void AddTransferCommands(CLI::App &app, CommandSet &commands);

} // namespace hoofer
