#include "view/playback.h"

#include "view/inbetween.h"

namespace hoofer {

void DrawTransition(const THFFrame &previous, const THFFrame &target, PlaybackSink &sink)
{
    const int steps = TransitionSteps(target);
    for (int i = 0; i < steps; ++i) {
        sink.PlainStep(TransitionPose(previous, target, i));
        sink.HandleMessages();
        sink.Pause(kStepPauseMs);
    }
}

void PlayMovePass(const THFMove &move, PlaybackSink &sink)
{
    if (move.Frames.empty())
        return;
    const THFFrame *previous = move.Frames.front().get();
    sink.KeyFrame(*previous);
    // The first transition runs from key frame 1 to itself.
    for (const auto &frame : move.Frames) {
        DrawTransition(*previous, *frame, sink);
        previous = frame.get();
        sink.HandleMessages();
        sink.Pause(kStepPauseMs);
    }
}

int PassPictureCount(const THFMove &move)
{
    if (move.Frames.empty())
        return 0;
    int pictures = 1;
    for (const auto &frame : move.Frames)
        pictures += TransitionSteps(*frame);
    return pictures;
}

long long PassDurationMs(const THFMove &move)
{
    long long ms = 0;
    for (const auto &frame : move.Frames)
        ms += static_cast<long long>(TransitionSteps(*frame) + 1) * kStepPauseMs;
    return ms;
}

} // namespace hoofer
