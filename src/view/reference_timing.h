#pragma once

#include "model/move.h"

namespace hoofer {

/// Where a move's key frames and playback steps fall on its reference's time
/// line, in milliseconds after key frame 1's time, at normal speed: the
/// moments playback shows them. The transition into key frame j (the first
/// one from key frame 1 to itself) draws its steps 70 ms apart and pauses
/// 70 ms more, so it lasts (steps + 1) × 70 ms; key frame k's pose is reached
/// when the transitions into key frames 1..k are over (for the last key frame,
/// at the end of the pass), except key frame 1's, which is at 0.

/// Key frame `number`'s time (1-based; 0 for key frame 1).
long long KeyFrameOffsetMs(const THFMove &move, int number);

/// When step `step` (0-based) of the transition into key frame `number` is
/// drawn: the transition's start plus step × 70.
long long StepOffsetMs(const THFMove &move, int number, int step);

/// The interpolation, 0..255, that brings key frame `number` (2 or later)
/// nearest to offsetMs, the key frames before it staying as they are; of two
/// equally near, the smaller.
int InterpolationForOffset(const THFMove &move, int number, long long offsetMs);

} // namespace hoofer
