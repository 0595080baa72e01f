#include "view/playback.h"

#include "view/inbetween.h"

namespace hoofer {

void DrawTransition(const THFFrame &previous, const THFFrame &target, PlaybackSink &sink, int slowdown)
{
    for (const PosePixels &pose : TransitionPoses(previous, target)) {
        sink.PlainStep(pose);
        sink.HandleMessages();
        sink.Pause(kStepPauseMs * slowdown);
        if (sink.StopRequested())
            return;
    }
}

void PlayMovePass(const THFMove &move, PlaybackSink &sink, int slowdown)
{
    if (move.Frames.empty())
        return;
    const THFFrame *previous = move.Frames.front().get();
    sink.KeyFrame(*previous);
    // The first transition runs from key frame 1 to itself.
    int number = 0;
    for (const auto &frame : move.Frames) {
        sink.Towards(++number);
        DrawTransition(*previous, *frame, sink, slowdown);
        if (sink.StopRequested())
            return;
        previous = frame.get();
        sink.HandleMessages();
        sink.Pause(kStepPauseMs * slowdown);
        if (sink.StopRequested())
            return;
    }
}

int PassPictureCount(const THFMove &move)
{
    int pictures = 0;
    for (const auto &frame : move.Frames)
        pictures += TransitionSteps(*frame);
    return pictures;
}

long long PassDurationMs(const THFMove &move, int slowdown)
{
    long long ms = 0;
    for (const auto &frame : move.Frames)
        ms += static_cast<long long>(TransitionSteps(*frame) + 1) * kStepPauseMs * slowdown;
    return ms;
}

std::string PlayingTimeText(const THFMove &move)
{
    const long long hundredths = (PassDurationMs(move) + 5) / 10;
    const long long cents = hundredths % 100;
    return std::to_string(hundredths / 100) + (cents < 10 ? ".0" : ".") + std::to_string(cents) + " s";
}

} // namespace hoofer
