#pragma once

#include <string>

namespace hoofer {

/// The video or picture a move is traced from, shown behind the figure: the
/// file, where on its time line the move's key frame 1 falls, and how it is
/// drawn. Only the editor keeps it (beside the routine file, never in it).
struct MoveReference {
    /// The video or picture, as a path (absolute once the editor has it).
    std::string file;
    /// Key frame 1's time on the video, in seconds.
    double start = 0;
    /// 0.25, 0.5, 0.75 or 1.
    double opacity = 0.5;
    /// Drawn mirrored left to right.
    bool mirror = false;
    /// The placement's change from the default one (the frame's height on
    /// the 256-point square, centred, its bottom on Y = 0): a shift in
    /// points and a factor.
    double x = 0, y = 0, scale = 1;

    bool operator==(const MoveReference &) const = default;
};

} // namespace hoofer
