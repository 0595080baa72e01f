#pragma once

#include "model/move.h"

#include <stdexcept>
#include <string>

namespace hoofer {

/// Raised for JSON text that is not a routine; the message starts with the
/// JSON path of the offending value, e.g.
/// "moves[2].frames[0].points[4].x: 300 is outside 0..255".
class RoutineJsonError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// The routine as JSON text meant for people and for version control: one
/// key frame per line, columns lined up, names as their 12 stored bytes read
/// as Latin-1 (control characters escaped). Importing the text gives back the
/// moves whose encoding is byte for byte the file the editor would write.
///
///   {
///     "format": "hoofer routine",
///     "version": 1,
///     "moves": [
///       {
///         "name": "NewMove     ",
///         "frames": [
///           {"interpolation":   3, "displacement":   -2, "points": [{"x":  64, "y":  96}, ...]}
///         ]
///       }
///     ]
///   }
///
/// "points" lists body parts 1..12 in order.
std::string RoutineToJson(const TMoveList &moves);

/// Builds the moves described by JSON text as RoutineToJson writes it.
/// Every key must be known and every value in range: 1..256 moves, names of
/// at most 12 characters U+0000..U+00FF (shorter ones are padded with blanks
/// when written), 0..255 key frames of exactly 12 points, points and
/// interpolation 0..255, displacement -128..127. "format" and "version" may
/// be left out. Raises RoutineJsonError otherwise.
TMoveList RoutineFromJson(const std::string &text);

/// The key frames described by JSON text: a routine as RoutineToJson writes
/// it (the key frames of all its moves, in order), a list of key frames, or
/// one key frame as a line of that text shows it (a comma after it is
/// allowed). Checked as RoutineFromJson checks, with the path of an offending
/// value ("frames[1].points[4].x: 300 is outside 0..255"); no key frames at
/// all, or more than a move holds, raise RoutineJsonError too.
std::vector<std::unique_ptr<THFFrame>> KeyFramesFromJson(const std::string &text);

} // namespace hoofer
