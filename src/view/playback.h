#pragma once

#include "model/move.h"
#include "view/figure_drawing.h"

namespace hoofer {

/// Pause after every step of a transition, and again after each transition.
inline constexpr int kStepPauseMs = 70;

/// Where a playback goes: the preview of the window, or the pictures the
/// command-line tool records. The sink decides how to draw, how to let the
/// window breathe and how to wait.
class PlaybackSink {
public:
    virtual ~PlaybackSink() = default;
    /// The key-frame drawing (rings and highlight) that opens a pass.
    virtual void KeyFrame(const THFFrame &frame) = 0;
    /// One plain step of a transition.
    virtual void PlainStep(const PosePixels &pixels) = 0;
    /// Handle the window's pending messages.
    virtual void HandleMessages() = 0;
    virtual void Pause(int ms) = 0;
};

/// Draws the steps of the transition from previous into target, each followed
/// by message handling and a 70 ms pause.
void DrawTransition(const THFFrame &previous, const THFFrame &target, PlaybackSink &sink);

/// One pass through a move: the key-frame drawing of key frame 1, then the
/// transition into every key frame in turn (the first one from key frame 1 to
/// itself), each followed by message handling and another 70 ms pause. A move
/// without key frames draws nothing.
void PlayMovePass(const THFMove &move, PlaybackSink &sink);

/// Pictures in one pass: 1 + the sum of (interpolation + 1) over the key
/// frames, steps of negative interpolations counted as none.
int PassPictureCount(const THFMove &move);
/// Milliseconds of pauses in one pass: 70 a step plus 70 a transition.
long long PassDurationMs(const THFMove &move);

} // namespace hoofer
