#pragma once

#include "model/move.h"

#include <string>
#include <vector>

namespace hoofer {

/// The file beside a routine that keeps its moves' references: the routine's
/// path with ".reference.json" appended ("dance.raw.reference.json").
std::string ReferenceSidecarPath(const std::string &routinePath);

/// The sidecar's text for the moves that have a reference (UTF-8 JSON,
/// format "hooferedit-reference", version 1): each move's index, trimmed
/// name, file, start, opacity, mirror and placement. A file in routineFolder
/// or below is written relative to it, any other absolute. Empty when no move
/// has a reference: such a routine has no sidecar.
std::string WriteReferenceSidecar(const TMoveList &moves, const std::string &routineFolder);

/// Gives the moves the references a sidecar's text holds. An entry goes to
/// the move of its index while that move has the entry's name, otherwise to
/// the first move of that name; either without a reference yet (the first
/// entry for a move wins). Relative files are taken
/// from routineFolder. Keys it does not know are ignored, and a value of the
/// wrong kind or out of range reads as its default. Returns a message for
/// every entry left out (no file, or no move to take it); throws
/// std::runtime_error when the text is no sidecar at all, leaving every move
/// as it was.
std::vector<std::string> ApplyReferenceSidecar(const std::string &text, const std::string &routineFolder,
                                               TMoveList &moves);

} // namespace hoofer
