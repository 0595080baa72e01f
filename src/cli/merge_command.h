#pragma once

#include "command_set.h"

#include <string>
#include <vector>

namespace hoofer {

/// One source of "merge": a routine file and the moves taken from it, all of
/// them when indexes is empty.
struct MergeSource {
    std::string file;
    std::vector<size_t> indexes;
};

/// Reads "A.raw" or "A.raw:2,5": a suffix of decimal indexes after the last
/// colon picks moves; anything else is all of the file name.
MergeSource ParseMergeSource(const std::string &argument);

/// Adds "merge": moves of several routines into one routine file.
void AddMergeCommand(CLI::App &app, CommandSet &commands);

} // namespace hoofer
