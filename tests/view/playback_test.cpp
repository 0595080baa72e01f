#include "view/playback.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace hoofer;

namespace {

/// Writes a pass down as "key", "step x,y" (the shoulders' pixel), "msgs"
/// and "pause N".
class RecordingSink : public PlaybackSink {
public:
    std::vector<std::string> events;
    void KeyFrame(const THFFrame &f) override { events.push_back("key " + std::to_string(f.Point(1).X)); }
    void PlainStep(const PosePixels &p) override
    {
        events.push_back("step " + std::to_string(p[0].x) + "," + std::to_string(p[0].y));
    }
    void HandleMessages() override { events.push_back("msgs"); }
    void Pause(int ms) override { events.push_back("pause " + std::to_string(ms)); }
};

std::unique_ptr<THFFrame> Frame(int x, int interpolation, int displacement = 0)
{
    auto f = std::make_unique<THFFrame>();
    for (auto &p : f->Points)
        p = {x, 100};
    f->Interpolation = interpolation;
    f->Displacement = displacement;
    return f;
}

std::unique_ptr<THFMove> MoveOf(std::vector<std::unique_ptr<THFFrame>> frames)
{
    auto m = std::make_unique<THFMove>();
    m->Frames = std::move(frames);
    m->SyncFrameCount();
    return m;
}

} // namespace

TEST(MovePass, SingleKeyFrameShowsItsPoseOnceAfterTheKeyDrawing)
{
    std::vector<std::unique_ptr<THFFrame>> frames;
    frames.push_back(Frame(40, 0));
    const auto owned = MoveOf(std::move(frames));
    const THFMove &move = *owned;
    RecordingSink sink;
    PlayMovePass(move, sink);
    EXPECT_EQ(sink.events, (std::vector<std::string>{"key 40", "step 40,176", "msgs", "pause 70", "msgs", "pause 70"}));
    EXPECT_EQ(PassPictureCount(move), 2);
    EXPECT_EQ(PassDurationMs(move), 140);
}

TEST(MovePass, TargetPoseIsApproachedButNeverDrawn)
{
    std::vector<std::unique_ptr<THFFrame>> frames;
    frames.push_back(Frame(0, 1));
    frames.push_back(Frame(40, 3));
    const auto owned = MoveOf(std::move(frames));
    const THFMove &move = *owned;
    RecordingSink sink;
    PlayMovePass(move, sink);
    std::vector<std::string> steps;
    for (const auto &e : sink.events)
        if (e.starts_with("step"))
            steps.push_back(e);
    EXPECT_EQ(steps, (std::vector<std::string>{"step 0,176", "step 0,176", "step 0,176", "step 10,176",
                                               "step 20,176", "step 30,176"}));
    EXPECT_EQ(sink.events.front(), "key 0");
    EXPECT_EQ(PassPictureCount(move), 7);
    EXPECT_EQ(PassDurationMs(move), 6 * 70 + 2 * 70);
}

TEST(MovePass, DisplacementSlidesWithinATransitionAndJumpsBack)
{
    std::vector<std::unique_ptr<THFFrame>> frames;
    frames.push_back(Frame(50, 0));
    frames.push_back(Frame(50, 2, 10));
    frames.push_back(Frame(50, 0, 100));
    const auto owned = MoveOf(std::move(frames));
    const THFMove &move = *owned;
    RecordingSink sink;
    PlayMovePass(move, sink);
    std::vector<std::string> steps;
    for (const auto &e : sink.events)
        if (e.starts_with("step"))
            steps.push_back(e);
    EXPECT_EQ(steps, (std::vector<std::string>{"step 50,176", "step 50,176", "step 60,176", "step 70,176",
                                               "step 50,176"}));
}

TEST(MovePass, NegativeInterpolationDrawsNoStepButStillPauses)
{
    std::vector<std::unique_ptr<THFFrame>> frames;
    frames.push_back(Frame(5, -3));
    const auto owned = MoveOf(std::move(frames));
    const THFMove &move = *owned;
    RecordingSink sink;
    PlayMovePass(move, sink);
    EXPECT_EQ(sink.events, (std::vector<std::string>{"key 5", "msgs", "pause 70"}));
    EXPECT_EQ(PassDurationMs(move), 70);
}

TEST(MovePass, MoveWithoutKeyFramesDrawsNothing)
{
    THFMove empty;
    RecordingSink sink;
    PlayMovePass(empty, sink);
    EXPECT_TRUE(sink.events.empty());
    EXPECT_EQ(PassPictureCount(empty), 0);
}
