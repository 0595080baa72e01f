#pragma once

#include "move.h"

#include <cstddef>
#include <stdexcept>
#include <string>

namespace hoofer {

/// The `.raw` routine image: a two-byte header (format byte 100, move count
/// minus one) and back-to-back move records of 14 + 26 x frames bytes. Byte
/// buffers are std::string and may hold any byte, 0 included.

/// A key frame's record: an X,Y byte pair a body part, then the
/// interpolation byte and the signed displacement byte.
inline constexpr int kFrameRecordSize = 26;
inline constexpr int kInterpolationByte = 2 * kPartCount;
inline constexpr int kDisplacementByte = kInterpolationByte + 1;
/// A move's record starts with its name field: the 12-character name and a
/// carriage return, then the key-frame count byte.
inline constexpr int kNameFieldSize = kMoveNameLength + 1;
inline constexpr int kFrameCountByte = kNameFieldSize;
inline constexpr int kMoveHeaderSize = kNameFieldSize + 1;
inline constexpr int kMaxMoves = 256;
inline constexpr int kMaxFramesPerMove = 255;
inline constexpr unsigned char kFormatByte = 100;

/// Raised for data the codec cannot read or a routine it cannot write.
class RoutineFormatError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// Takes the first n bytes off the buffer. Never reads past the end: asking
/// for more than the buffer holds raises RoutineFormatError.
std::string TakeBytes(std::string &buffer, size_t n);

/// The low 8 bits of value as two's complement: -128..127.
int SignedByte(int value);

// A frame snapshot is a key frame's 26-byte record: its points,
// interpolation and displacement, without its undo history.

/// Takes one snapshot off the front of buffer and puts it into frame: the
/// bytes flow from the buffer (which loses them) into the key frame's pose.
void TakeFrameSnapshot(std::string &buffer, THFFrame &frame);
/// Appends the snapshot of frame's pose to buffer.
void AppendFrameSnapshot(std::string &buffer, const THFFrame &frame);
/// The snapshot of frame's pose on its own.
std::string FrameSnapshot(const THFFrame &frame);

void WriteMove(std::string &buffer, const THFMove &move);

/// What a look over a routine image found, without building anything.
struct RoutineImageInfo {
    bool empty = false;        ///< no bytes at all: nothing to read
    std::string problem;       ///< empty when the image is complete
    int moveCount = 0;         ///< as the header announces
    size_t usedBytes = 0;      ///< bytes the header and the records take
    size_t trailingBytes = 0;  ///< bytes after the last move
    bool ok() const { return !empty && problem.empty(); }
};

/// Checks that every record the counts announce is present. The problem text
/// reads like "truncated: move 3 announces 12 key frames, 5 bytes remain".
RoutineImageInfo InspectRoutineImage(const std::string &data);

/// Builds the moves of a complete image; raises RoutineFormatError (with the
/// problem text above) when the data is shorter than its counts. Bytes after
/// the last move are ignored.
TMoveList DecodeRoutine(const std::string &data);

/// Why a routine cannot be written, or an empty string when it can.
std::string RoutineLimitProblem(const TMoveList &moves);

/// The complete image of the moves; raises RoutineFormatError when the
/// routine has no moves, more than 256, or a move of more than 255 key frames,
/// so that no file is ever written whose counts disagree with its records.
std::string EncodeRoutine(const TMoveList &moves);

} // namespace hoofer
