#pragma once

#include "model/move.h"

#include <QImage>

#include <optional>
#include <string>
#include <vector>

namespace hoofer {

/// One picture of a playback pass and how long the editor leaves it on
/// screen before the next one replaces it.
struct StepPicture {
    QImage image;
    int delayMs = 0;
};

/// The plain steps of one pass through the move, drawn by the preview's own
/// drawing code onto a 256 x 296 image in the preview's background colour,
/// each with the pauses that follow it (70 ms, 140 ms for the last step of a
/// transition). The key-frame drawing that opens a pass is overwritten at once
/// in the editor and so is not among the pictures. A move without key frames
/// gives none.
std::vector<StepPicture> RecordMovePass(const THFMove &move);

/// Finds the move a user names on the command line: a decimal index as "info"
/// lists it (counting from 0), or a name compared with the trimmed move
/// names, exactly first and then ignoring case when that finds just one move.
/// Gives the index, or nothing with why set.
std::optional<size_t> FindMove(const TMoveList &moves, const std::string &which, std::string &why);

} // namespace hoofer
