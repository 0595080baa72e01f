#pragma once

#include <string>

namespace hoofer {

/// Replaces the file at path with data atomically: the bytes go to a
/// temporary file beside it that is renamed over the old one only when every
/// byte was written. Returns an empty string on success, otherwise why the
/// write failed (for the caller's message).
std::string SaveFileAtomically(const std::string &path, const std::string &data);

/// Reads a whole file; returns false and sets why when it cannot be read.
bool ReadWholeFile(const std::string &path, std::string &data, std::string &why);

} // namespace hoofer
