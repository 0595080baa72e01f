#pragma once

#include "export/move_gif.h"
#include "model/move.h"

namespace hoofer {

/// The backdrop of every step of one pass of move with the reference behind
/// the figure, as the editor's preview shows it at 1×: each step over the
/// frame at its time (the reference's start plus the step's time in the
/// pass). For a GIF the backdrop is brought to a palette of 216 colours, which
/// leaves room for the figure's own. Throws std::runtime_error naming the
/// file when the reference cannot be read.
StepBackdrop ReferenceBackdrops(const THFMove &move, const MoveReference &reference, bool forGif);

} // namespace hoofer
