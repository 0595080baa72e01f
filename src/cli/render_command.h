#pragma once

#include "command_set.h"

namespace hoofer {

/// Adds "render": one pass of a move as an animated GIF or numbered PNGs.
void AddRenderCommand(CLI::App &app, CommandSet &commands);

} // namespace hoofer
