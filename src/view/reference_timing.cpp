#include "view/reference_timing.h"

#include "view/inbetween.h"
#include "view/playback.h"

#include <algorithm>

namespace hoofer {

namespace {
/// When the transition into key frame `number` begins: the transitions
/// before it are over.
long long TransitionStartMs(const THFMove &move, int number)
{
    long long ms = 0;
    for (int j = 1; j < number && j <= static_cast<int>(move.Frames.size()); ++j)
        ms += static_cast<long long>(TransitionSteps(*move.Frames[j - 1]) + 1) * kStepPauseMs;
    return ms;
}
} // namespace

long long KeyFrameOffsetMs(const THFMove &move, int number)
{
    return number <= 1 ? 0 : TransitionStartMs(move, number + 1);
}

long long StepOffsetMs(const THFMove &move, int number, int step)
{
    return TransitionStartMs(move, number) + static_cast<long long>(step) * kStepPauseMs;
}

int InterpolationForOffset(const THFMove &move, int number, long long offsetMs)
{
    // Key frame `number` comes (interpolation + 2) × 70 ms after the start of its transition.
    const long long wanted = offsetMs - TransitionStartMs(move, number);
    const long long steps = (wanted + kStepPauseMs / 2 - 1) / kStepPauseMs - 2;
    return static_cast<int>(std::clamp<long long>(wanted < 0 ? 0 : steps, 0, 255));
}

} // namespace hoofer
