#pragma once

#include "model/move.h"

#include <QImage>

#include <functional>
#include <string>
#include <vector>

namespace hoofer {

/// One picture of a playback pass and how long the editor leaves it on
/// screen before the next one replaces it.
struct StepPicture {
    QImage image;
    int delayMs = 0;
};

/// What each step of a pass is drawn over, by the step's place in the pass
/// (from 0): a picture of the preview's size. None: the plain background.
using StepBackdrop = std::function<QImage(int step)>;

/// The plain steps of one pass through the move, drawn by the preview's own
/// drawing code onto a 256 x 296 image in the preview's background colour,
/// each with the pauses that follow it (70 ms, 140 ms for the last step of a
/// transition). The key-frame drawing that opens a pass is overwritten at once
/// in the editor and so is not among the pictures. A move without key frames
/// gives none.
std::vector<StepPicture> RecordMovePass(const THFMove &move, const StepBackdrop &backdrop = {});

/// One pass of the move as an animated GIF at path, every pixel a scale x
/// scale block, looping unless loop is false: the file `hoofer render -o`
/// writes. Returns an empty string on success, otherwise why nothing was
/// written (without the path), also for a move without key frames.
std::string WriteMoveGif(const THFMove &move, const std::string &path, int scale = 1, bool loop = true,
                         const StepBackdrop &backdrop = {});

/// The same GIF as bytes, for standard output; GifWriteError (also for a
/// move without key frames) when it cannot be made.
std::string EncodeMoveGif(const THFMove &move, int scale = 1, bool loop = true, const StepBackdrop &backdrop = {});

} // namespace hoofer
