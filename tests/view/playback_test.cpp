#include "view/playback.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace hoofer;

namespace {

/// Writes a pass down as "key X" (the shoulders' X), "step x,y" (the
/// shoulders' pixel), "msgs" and "pause N".
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

struct KeyFrameSpec {
    int x, interpolation, displacement;
};

} // namespace

TEST(MovePass, DrawsEachTransitionAndPausesPerPicture)
{
    const struct {
        const char *name;
        std::vector<KeyFrameSpec> frames;
        std::vector<std::string> events;  // every event, or only the steps when the first is one
        int pictures, durationMs;
    } rows[] = {
        {"a single key frame shows its pose once after the key drawing",
         {{40, 0, 0}},
         {"key 40", "step 40,176", "msgs", "pause 70", "msgs", "pause 70"},
         2, 140},
        {"the target pose is approached but never drawn",
         {{0, 1, 0}, {40, 3, 0}},
         {"step 0,176", "step 0,176", "step 0,176", "step 10,176", "step 20,176", "step 30,176"},
         7, 8 * 70},
        {"displacement slides within a transition and jumps back",
         {{50, 0, 0}, {50, 2, 10}, {50, 0, 100}},
         {"step 50,176", "step 50,176", "step 60,176", "step 70,176", "step 50,176"},
         -1, -1},
        {"each transition runs from the key frame before",
         {{0, 0, 0}, {20, 1, 0}, {40, 1, 0}},
         {"step 0,176", "step 0,176", "step 10,176", "step 20,176", "step 30,176"},
         -1, -1},
        {"a negative interpolation draws no step but still pauses", {{5, -3, 0}}, {"key 5", "msgs", "pause 70"}, -1, 70},
        {"a move without key frames draws nothing", {}, {}, 0, -1},
    };
    for (const auto &row : rows) {
        THFMove move;
        for (const KeyFrameSpec &spec : row.frames) {
            auto f = std::make_unique<THFFrame>();
            f->Points.fill({spec.x, 100});
            f->Interpolation = spec.interpolation;
            f->Displacement = spec.displacement;
            move.Frames.push_back(std::move(f));
        }
        move.SyncFrameCount();
        RecordingSink sink;
        PlayMovePass(move, sink);
        std::vector<std::string> events = sink.events;
        if (!row.events.empty() && row.events[0].starts_with("step")) {
            EXPECT_EQ(events.front(), "key " + std::to_string(row.frames[0].x)) << row.name;
            std::erase_if(events, [](const std::string &e) { return !e.starts_with("step"); });
        }
        EXPECT_EQ(events, row.events) << row.name;
        if (row.pictures >= 0) {
            EXPECT_EQ(PassPictureCount(move), row.pictures) << row.name;
        }
        if (row.durationMs >= 0) {
            EXPECT_EQ(PassDurationMs(move), row.durationMs) << row.name;
        }
    }
}
