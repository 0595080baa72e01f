#include "view/playback.h"

#include "view/inbetween.h"

#include <algorithm>

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
    PlayFramesPass(move, 1, static_cast<int>(move.Frames.size()), sink, slowdown);
}

void PlayFramesPass(const THFMove &move, int first, int last, PlaybackSink &sink, int slowdown)
{
    first = std::max(first, 1);
    last = std::min(last, static_cast<int>(move.Frames.size()));
    if (first > last)
        return;
    const THFFrame *previous = move.Frames[first - 1].get();
    sink.KeyFrame(*previous);
    // The first transition runs from the first key frame to itself.
    for (int number = first; number <= last; ++number) {
        const THFFrame &frame = *move.Frames[number - 1];
        sink.Towards(number);
        DrawTransition(*previous, frame, sink, slowdown);
        if (sink.StopRequested())
            return;
        previous = &frame;
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

namespace {
std::string SecondsText(long long ms)
{
    const long long hundredths = (ms + 5) / 10;
    const long long cents = hundredths % 100;
    return std::to_string(hundredths / 100) + (cents < 10 ? ".0" : ".") + std::to_string(cents) + " s";
}
} // namespace

std::string PlayingTimeText(const THFMove &move)
{
    return SecondsText(PassDurationMs(move));
}

std::string RoutinePlayingTimeText(const TMoveList &moves)
{
    long long ms = 0;
    for (const auto &move : moves)
        ms += PassDurationMs(*move);
    return SecondsText(ms);
}

} // namespace hoofer
