#pragma once

#include "model/move.h"
#include "view/figure_drawing.h"

#include <string>
#include <vector>

namespace hoofer {

/// Pause after every step of a transition, and again after each transition,
/// at normal speed.
inline constexpr int kStepPauseMs = 70;

/// Playback speeds as the factor every pause is multiplied by: normal (70 ms
/// a step), half (140 ms) and quarter (280 ms).
inline constexpr int kNormalSpeed = 1;
inline constexpr int kHalfSpeed = 2;
inline constexpr int kQuarterSpeed = 4;

/// Where a playback goes: the preview of the window, or the pictures the
/// command-line tool records. The sink decides how to draw, how to let the
/// window breathe and how to wait.
class PlaybackSink {
public:
    virtual ~PlaybackSink() = default;
    /// The key-frame drawing (rings and highlight) that opens a pass.
    virtual void KeyFrame(const THFFrame &frame) = 0;
    /// The transition into key frame `number` (1-based) begins.
    virtual void Towards(int /*number*/) {}
    /// One plain step of a transition.
    virtual void PlainStep(const PosePixels &pixels) = 0;
    /// Handle the window's pending messages.
    virtual void HandleMessages() = 0;
    virtual void Pause(int ms) = 0;
    /// Asked after every pause: true ends the playback there.
    virtual bool StopRequested() const { return false; }
};

/// Draws the steps of the transition from previous into target, each followed
/// by message handling and a pause of 70 ms times slowdown (1, 2 or 4); it
/// ends after the pause of a step at which the sink asks to stop.
void DrawTransition(const THFFrame &previous, const THFFrame &target, PlaybackSink &sink,
                    int slowdown = kNormalSpeed);

/// One pass through a move: the key-frame drawing of key frame 1, then the
/// transition into every key frame in turn (the first one from key frame 1 to
/// itself, each announced with Towards), each followed by message handling
/// and another pause; every pause is 70 ms times slowdown. A move without key
/// frames draws nothing. A stop asked for ends the pass after the pause of the
/// step under way.
void PlayMovePass(const THFMove &move, PlaybackSink &sink, int slowdown = kNormalSpeed);
/// The same over key frames first..last (1-based) of the move alone, as
/// though they were a move of their own: Move > Play Selection.
void PlayFramesPass(const THFMove &move, int first, int last, PlaybackSink &sink, int slowdown = kNormalSpeed);

/// Pictures one pass leaves on screen: the sum of (interpolation + 1) over
/// the key frames, steps of negative interpolations counted as none. The
/// key-frame drawing that opens the pass is not among them: the first step
/// replaces it before the window shows anything, and no pause is its own.
/// `hoofer info` prints this count and `hoofer render` writes that many.
int PassPictureCount(const THFMove &move);
/// Milliseconds of pauses in one pass: 70 a step plus 70 a transition, times
/// slowdown. At normal speed, the move's playing time.
long long PassDurationMs(const THFMove &move, int slowdown = kNormalSpeed);
/// The move's playing time at normal speed in seconds with two decimals,
/// "2.31 s": what `hoofer info` prints and the window shows for the move.
std::string PlayingTimeText(const THFMove &move);
/// Every move's pass, one after the other, the same way: Move > Play Routine.
std::string RoutinePlayingTimeText(const TMoveList &moves);

} // namespace hoofer
