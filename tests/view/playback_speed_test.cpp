// Half and quarter speed: every pause of a pass multiplied, nothing else.

#include "view/playback.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace hoofer;

namespace {

/// Writes down the steps and the pauses of a pass on virtual time.
class PauseSink : public PlaybackSink {
public:
    std::vector<std::string> events;
    long long slept = 0;
    void KeyFrame(const THFFrame &) override { events.push_back("key"); }
    void PlainStep(const PosePixels &p) override { events.push_back("step " + std::to_string(p[0].x)); }
    void HandleMessages() override {}
    void Pause(int ms) override
    {
        events.push_back("pause " + std::to_string(ms));
        slept += ms;
    }
};

} // namespace

TEST(PlaybackSpeed, EveryPauseOfAPassIsMultipliedAndTheStepsStayTheSame)
{
    THFMove move;
    for (const auto &[x, interpolation] : {std::pair{10, 0}, std::pair{40, 2}}) {
        move.Frames.push_back(std::make_unique<THFFrame>());
        for (auto &p : move.Frames.back()->Points)
            p = {x, 100};
        move.Frames.back()->Interpolation = interpolation;
    }
    move.SyncFrameCount();
    struct Case {
        int slowdown;
        const char *step, *transition;  // the pause after a step, and the further one after a transition
    };
    for (const Case &c : {Case{kNormalSpeed, "pause 70", "pause 70"}, Case{kHalfSpeed, "pause 140", "pause 140"},
                          Case{kQuarterSpeed, "pause 280", "pause 280"}}) {
        PauseSink sink;
        PlayMovePass(move, sink, c.slowdown);
        const std::string s = c.step, t = c.transition;
        EXPECT_EQ(sink.events, (std::vector<std::string>{"key", "step 10", s, t, "step 10", s, "step 20", s,
                                                         "step 30", s, t}))
            << "slowdown " << c.slowdown;
        EXPECT_EQ(sink.slept, 6 * 70 * c.slowdown) << "slowdown " << c.slowdown;
        EXPECT_EQ(PassDurationMs(move, c.slowdown), sink.slept) << "slowdown " << c.slowdown;
    }
}
