#pragma once

#include "model/move.h"

#include <optional>
#include <string>

namespace hoofer {

/// Finds the move a user names on the command line: a decimal index as "info"
/// lists it (counting from 0), or a name compared with the trimmed move
/// names, exactly first and then ignoring case when that finds just one move.
/// Gives the index, or nothing with why set.
std::optional<size_t> FindMove(const TMoveList &moves, const std::string &which, std::string &why);

} // namespace hoofer
