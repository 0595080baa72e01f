// A move's key frames and steps on its reference's time line are where
// playback shows them.
#include "view/playback.h"
#include "view/reference_timing.h"

#include <gtest/gtest.h>

#include <vector>

using namespace hoofer;

namespace {
std::unique_ptr<THFMove> MoveWithInterpolations(const std::vector<int> &interpolations)
{
    auto move = std::make_unique<THFMove>();
    for (const int interpolation : interpolations)
        move->Frames.emplace_back(std::make_unique<THFFrame>())->Interpolation = interpolation;
    move->SyncFrameCount();
    return move;
}

/// The time of every step and of every transition's beginning, by the pauses of a pass.
class Clock : public PlaybackSink {
public:
    void KeyFrame(const THFFrame &) override {}
    void Towards(int number) override { transitions.push_back(now), steps.emplace_back(), (void)number; }
    void PlainStep(const PosePixels &) override { steps.back().push_back(now); }
    void HandleMessages() override {}
    void Pause(int ms) override { now += ms; }
    long long now = 0;
    std::vector<long long> transitions;
    std::vector<std::vector<long long>> steps;
};
} // namespace

TEST(ReferenceTiming, KeyFramesAndStepsFallWherePlaybackShowsThem)
{
    const auto kept = MoveWithInterpolations({3, 0, 5, 255, -1});
    const THFMove &move = *kept;
    Clock clock;
    PlayMovePass(move, clock);
    for (int k = 1; k <= 5; ++k) {
        for (size_t i = 0; i < clock.steps[k - 1].size(); ++i)
            EXPECT_EQ(StepOffsetMs(move, k, static_cast<int>(i)), clock.steps[k - 1][i]) << k << " step " << i;
        // Reached when the next transition begins, the last one at the end of the pass.
        const long long reached = k == 1 ? 0 : k < 5 ? clock.transitions[k] : clock.now;
        EXPECT_EQ(KeyFrameOffsetMs(move, k), reached) << k;
    }
    EXPECT_EQ(KeyFrameOffsetMs(move, 2), (3 + 2) * 70 + (0 + 2) * 70);
}

TEST(ReferenceTiming, TheInterpolationThatBringsAKeyFrameNearestToATime)
{
    const auto kept = MoveWithInterpolations({3, 9, 9});
    const THFMove &move = *kept;
    // Key frame 2's transition begins at 350 ms; its pose comes (interpolation + 2) × 70 ms later.
    const struct { long long ms; int interpolation; } rows[] = {
        {490, 0}, {525, 0}, {526, 1}, {559, 1}, {1050, 8}, {100, 0}, {350 + 300 * 70, 255}};
    for (const auto &row : rows)
        EXPECT_EQ(InterpolationForOffset(move, 2, row.ms), row.interpolation) << row.ms;
    EXPECT_EQ(InterpolationForOffset(move, 3, KeyFrameOffsetMs(move, 2) + 7 * 70), 5);
}
