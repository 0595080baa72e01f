#pragma once

#include "model/move.h"

#include <string>

namespace hoofer {

/// "-" in place of a file name: standard input or standard output.
inline constexpr const char *kStandardStream = "-";

/// Prints "FILE: error: MESSAGE" (or warning) on standard error, the way
/// compilers report, so that editors and scripts can pick the lines up.
void ReportError(const std::string &file, const std::string &message);
void ReportWarning(const std::string &file, const std::string &message);

/// The whole file, or standard input for "-"; reports a failure and gives false.
bool ReadInput(const std::string &path, std::string &data);

/// Reads a routine file and decodes it; reports why it cannot and gives false.
/// Warnings about the image are left to the caller.
bool ReadRoutineFile(const std::string &path, std::string &data, TMoveList &moves);

/// Writes data to standard output for "-", otherwise replaces the file
/// atomically; reports a failure and gives false.
bool WriteOutput(const std::string &path, const std::string &data);

} // namespace hoofer
