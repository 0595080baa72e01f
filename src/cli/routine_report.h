#pragma once

#include "model/move.h"

#include <string>
#include <vector>

namespace hoofer {

/// One finding about a routine image, worded to follow "FILE: error: " or
/// "FILE: warning: " in a compiler-style line.
struct Diagnostic {
    enum class Severity { Warning, Error };
    Severity severity = Severity::Warning;
    std::string message;
    /// The finding is about bytes that a save (and so an export) does not
    /// keep: the format byte, byte 12 of a name, bytes after the last move.
    bool droppedOnSave = false;

    bool IsError() const { return severity == Severity::Error; }
};

/// Everything worth telling about a routine image: a missing or truncated
/// record is an error (in the codec's own words); a format byte other than
/// 100, a byte 12 of a name other than CR, bytes after the last move and a
/// move without key frames (which cannot be played) are warnings. A sound
/// image gives nothing.
std::vector<Diagnostic> CheckRoutineImage(const std::string &data);

/// A name fit for a terminal: trimmed, bytes read as Latin-1, and control
/// characters shown as \xNN.
std::string DisplayName(const std::string &moveName);

/// The table "hoofer info" prints: a heading, one line per move (index,
/// name, key frames, pictures in one pass and its playing time as the
/// editor plays it), then the size of the image and the bytes after its last
/// move.
std::string DescribeRoutine(const TMoveList &moves, size_t fileSize, size_t trailingBytes);

} // namespace hoofer
