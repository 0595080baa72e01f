// Playback: the in-between arithmetic against the processor's extended
// precision, and a move's pass with its poses and pauses at every speed.
#include "view/inbetween.h"
#include "view/playback.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <random>

using namespace hoofer;

namespace {

/// Writes a pass down as "k<x>" (the key frame drawing, its shoulders' x), "s<x>" (a plain step, the x of its
/// shoulders), "m" (messages handled) and "p<ms>" (a pause).
struct RecordingSink : PlaybackSink {
    std::string events;
    void KeyFrame(const THFFrame &f) override { Add("k" + std::to_string(f.Point(1).X)); }
    void PlainStep(const PosePixels &p) override { Add("s" + std::to_string(p[0].x)); }
    void HandleMessages() override { Add("m"), ++handled; }
    void Pause(int ms) override { Add("p" + std::to_string(ms)); }
    /// A stop is asked for in the stopAt-th message handling (0: never).
    bool StopRequested() const override { return stopAt != 0 && handled >= stopAt; }
    int handled = 0, stopAt = 0;
    void Add(const std::string &event) { events += (events.empty() ? "" : " ") + event; }
};

/// A move of key frames {x of every point, interpolation, displacement}, all points at Y 100.
std::unique_ptr<THFMove> MoveOf(const std::vector<std::array<int, 3>> &frames)
{
    auto move = std::make_unique<THFMove>();
    for (const auto &[x, interpolation, displacement] : frames) {
        auto &f = *move->Frames.emplace_back(std::make_unique<THFFrame>());
        f.Points.fill({x, 100});
        f.Interpolation = interpolation, f.Displacement = displacement;
    }
    move->SyncFrameCount();
    return move;
}

} // namespace

TEST(InbetweenArithmetic, IsTheExtendedPrecisionQuotientTimesTheStepTruncated)
{
    EXPECT_EQ(InbetweenOffset(118, 14, 7), 58);  // the stored quotient truncates one lower
    for (const auto &[step, offset] : {std::pair{0, 0}, {1, -1}, {2, -3}, {3, -5}})  // toward zero
        EXPECT_EQ(InbetweenOffset(-7, 4, step), offset) << "step " << step;
    if (LDBL_MANT_DIG != 64)
        GTEST_SKIP() << "no 64-bit significand here to compare with";
    std::mt19937 random(20261207);
    for (int c = 0; c < 200000; ++c) {
        const bool wide = c % 8 == 0;
        const int steps = wide ? std::uniform_int_distribution<int>(1, INT32_MAX)(random)
                               : std::uniform_int_distribution<int>(1, 256)(random);
        const int difference = wide ? std::uniform_int_distribution<int>(INT32_MIN, INT32_MAX)(random)
                                    : std::uniform_int_distribution<int>(-600, 600)(random);
        const int step = std::uniform_int_distribution<int>(0, steps - 1)(random);
        const long double product = static_cast<long double>(difference) / steps * step;
        ASSERT_EQ(InbetweenOffset(difference, steps, step), static_cast<long long>(std::trunc(product)))
            << difference << " over " << steps << " at step " << step;
    }
}

TEST(MovePass, DrawsEachTransitionAndPausesPerPictureAtEachSpeed)
{
    const struct {
        const char *name;
        std::vector<std::array<int, 3>> frames;
        int slowdown;
        const char *events;
        int pictures, durationMs;
    } rows[] = {
        {"a single key frame shows its pose once after the key drawing", {{40, 0, 0}}, kNormalSpeed,
         "k40 s40 m p70 m p70", 1, 140},
        {"the target pose is approached but never drawn", {{0, 1, 0}, {40, 3, 0}}, kNormalSpeed,
         "k0 s0 m p70 s0 m p70 m p70 s0 m p70 s10 m p70 s20 m p70 s30 m p70 m p70", 6, 8 * 70},
        {"displacement slides within a transition and jumps back", {{50, 0, 0}, {50, 2, 10}, {50, 0, 100}}, kNormalSpeed,
         "k50 s50 m p70 m p70 s50 m p70 s60 m p70 s70 m p70 m p70 s50 m p70 m p70", 5, 8 * 70},
        {"each transition runs from the key frame before", {{0, 0, 0}, {20, 1, 0}, {40, 1, 0}}, kNormalSpeed,
         "k0 s0 m p70 m p70 s0 m p70 s10 m p70 m p70 s20 m p70 s30 m p70 m p70", 5, 8 * 70},
        {"a negative interpolation draws no step but still pauses", {{5, -3, 0}}, kNormalSpeed, "k5 m p70", 0, 70},
        {"a move without key frames draws nothing", {}, kNormalSpeed, "", 0, 0},
        {"half speed doubles every pause", {{10, 0, 0}, {40, 1, 0}}, kHalfSpeed,
         "k10 s10 m p140 m p140 s10 m p140 s25 m p140 m p140", 3, 5 * 140},
        {"quarter speed makes every pause four times as long", {{10, 0, 0}}, kQuarterSpeed, "k10 s10 m p280 m p280",
         1, 2 * 280},
    };
    for (const auto &[frames, text] : std::vector<std::pair<std::vector<std::array<int, 3>>, std::string>>{
             {{{0, 0, 0}}, "0.14 s"}, {{{0, 31, 0}}, "2.31 s"}, {{{0, 255, 0}, {9, -4, 0}}, "18.06 s"}, {{}, "0.00 s"}})
        EXPECT_EQ(PlayingTimeText(*MoveOf(frames)), text);
    for (const auto &row : rows) {
        const auto move = MoveOf(row.frames);
        RecordingSink sink;
        PlayMovePass(*move, sink, row.slowdown);
        EXPECT_EQ(sink.events, row.events) << row.name;
        EXPECT_EQ(PassPictureCount(*move), row.pictures) << row.name;
        // The pictures counted are the plain steps: the key drawing is replaced unseen.
        EXPECT_EQ(std::count(sink.events.begin(), sink.events.end(), 's'), row.pictures) << row.name;
        EXPECT_EQ(PassDurationMs(*move, row.slowdown), row.durationMs) << row.name;
    }
}

TEST(MovePass, AStopEndsThePassAfterThePauseOfTheStepUnderWay)
{
    const auto move = MoveOf({{0, 1, 0}, {40, 1, 0}});
    const std::pair<int, const char *> rows[] = {
        {1, "k0 s0 m p70"},                    // in a step
        {3, "k0 s0 m p70 s0 m p70 m p70"},     // in the pause after a transition
        {4, "k0 s0 m p70 s0 m p70 m p70 s0 m p70"},
    };
    for (const auto &[stopAt, events] : rows) {
        RecordingSink sink;
        sink.stopAt = stopAt;
        PlayMovePass(*move, sink);
        EXPECT_EQ(sink.events, events) << "stop asked at message handling " << stopAt;
    }
}

TEST(MovePass, ARangeOfKeyFramesPlaysAsAMoveOfThoseKeyFramesAlone)
{
    const auto move = MoveOf({{0, 1, 0}, {40, 3, 2}, {80, 2, 0}, {120, 1, 0}});
    const std::pair<int, int> ranges[] = {{2, 3}, {1, 1}, {4, 4}, {1, 4}};
    for (const auto &[first, last] : ranges) {
        auto alone = std::make_unique<THFMove>();
        for (int n = first; n <= last; ++n)
            CopyFramePose(*move->Frames[n - 1], *alone->Frames.emplace_back(std::make_unique<THFFrame>()));
        alone->SyncFrameCount();
        RecordingSink range, whole;
        PlayFramesPass(*move, first, last, range);
        PlayMovePass(*alone, whole);
        EXPECT_EQ(range.events, whole.events) << first << ".." << last;
    }
    RecordingSink none;
    PlayFramesPass(*move, 3, 2, none);
    EXPECT_EQ(none.events, "");
}
