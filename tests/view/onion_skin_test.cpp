// The onion skin: ghosts of playback's own steps and of the neighbouring key
// frames behind the key-frame drawing.

#include "view/image_canvas.h"
#include "view/onion_skin.h"
#include "view/playback.h"

#include "recording_canvas.h"

#include <gtest/gtest.h>

using namespace hoofer;
using hoofer::test::RecordingCanvas;

namespace {

/// Keeps the poses playback hands its sink.
class StepSink : public PlaybackSink {
public:
    std::vector<PosePixels> steps;
    void KeyFrame(const THFFrame &) override {}
    void PlainStep(const PosePixels &pixels) override { steps.push_back(pixels); }
    void HandleMessages() override {}
    void Pause(int) override {}
};

/// A key frame of a test move: a figure with its shoulders at x that leans
/// and rises a little more the further right it stands.
std::unique_ptr<THFFrame> Frame(int x, int interpolation, int displacement)
{
    auto f = std::make_unique<THFFrame>();
    const TPoint pts[kPartCount] = {{0, 150}, {-20, 130}, {-35, 110}, {20, 130}, {35, 110}, {0, 90},
                                    {-10, 50}, {-12, 20}, {-20, 15}, {10, 50}, {12, 20}, {20, 15}};
    for (int p = 0; p < kPartCount; ++p)
        f->Points[p] = {x + pts[p].X + p * x / 40, pts[p].Y + x / 10};
    f->Interpolation = interpolation;
    f->Displacement = displacement;
    return f;
}

struct MoveSpec {
    int x, interpolation, displacement;
};

std::unique_ptr<THFMove> MoveOf(std::initializer_list<MoveSpec> specs)
{
    auto move = std::make_unique<THFMove>();
    for (const MoveSpec &s : specs)
        move->Frames.push_back(Frame(s.x, s.interpolation, s.displacement));
    move->SyncFrameCount();
    return move;
}

/// The drawing operations of the plain playback drawing of a pose after its
/// clearing and border, recoloured to a ghost's tint.
std::vector<std::string> PlainOpsIn(const PosePixels &pose, TColor tint)
{
    RecordingCanvas plain;
    DrawPlainPose(plain, pose);
    std::vector<std::string> ops(plain.ops.begin() + 5, plain.ops.end());  // fill + 4 border lines
    for (std::string &op : ops)
        op = op.substr(0, op.rfind(' ') + 1) + std::to_string(tint);
    return ops;
}

} // namespace

TEST(OnionSkin, GhostsArePlaybacksOwnStepsAndTheNeighboursUnderTheKeyFrame)
{
    struct Case {
        const char *name;
        std::unique_ptr<THFMove> move;
        size_t current;
        int lastStepShouldersX;  // where playback's last step puts the shoulders
    };
    Case cases[] = {
        // 60 -> 120 over n = 8, step 7: 60 + trunc(60 / 8 * 7) + 5 * 7 = 147.
        {"middle key frame, sliding 5 a step", MoveOf({{60, 0, 0}, {120, 7, 5}, {200, 2, 0}}), 1, 147},
        {"key frame 1, from itself, sliding -3 a step", MoveOf({{100, 3, -3}, {150, 1, 0}}), 0, 91},
        {"last key frame, no next", MoveOf({{30, 0, 0}, {90, 2, 0}}), 1, 70},
    };
    for (const Case &c : cases) {
        const THFFrame &frame = *c.move->Frames[c.current];
        const THFFrame *previous = c.current ? c.move->Frames[c.current - 1].get() : nullptr;
        const THFFrame *next = c.current + 1 < c.move->Frames.size() ? c.move->Frames[c.current + 1].get() : nullptr;
        StepSink playback;
        DrawTransition(previous ? *previous : frame, frame, playback);
        ASSERT_EQ(playback.steps.size(), static_cast<size_t>(frame.Interpolation + 1)) << c.name;
        EXPECT_EQ(playback.steps.back()[0].x, c.lastStepShouldersX) << c.name;

        std::vector<std::string> expected{"fill 0,0 256,296 background"};
        for (const PosePixels &step : playback.steps)
            for (std::string &op : PlainOpsIn(step, clOnionStep))
                expected.push_back(op);
        for (const auto &[neighbour, tint] : {std::pair{previous, clOnionPrevious}, std::pair{next, clOnionNext}})
            if (neighbour)
                for (std::string &op : PlainOpsIn(FramePixels(*neighbour), tint))
                    expected.push_back(op);
        RecordingCanvas keyFrame;
        DrawKeyFrame(keyFrame, frame, 4);
        expected.insert(expected.end(), keyFrame.ops.begin() + 1, keyFrame.ops.end());

        RecordingCanvas onion;
        DrawOnionSkinKeyFrame(onion, *c.move, frame, 4);
        EXPECT_EQ(onion.ops, expected) << c.name;
    }
}

TEST(OnionSkin, TheKeyFrameFigureIsNeverHiddenByAGhost)
{
    const auto move = MoveOf({{60, 0, 0}, {120, 7, 5}, {200, 2, 0}});
    for (int selected : {-1, 0, 5}) {
        ImageCanvas plain(kPreviewWidth, kPreviewHeight, clPreviewBackground);
        ImageCanvas onion(kPreviewWidth, kPreviewHeight, clPreviewBackground);
        DrawKeyFrame(plain, *move->Frames[1], selected);
        DrawOnionSkinKeyFrame(onion, *move, *move->Frames[1], selected);
        const QRgb background = ToQColor(clPreviewBackground).rgb();
        int figure = 0, ghosts = 0;
        for (int y = 0; y < kPreviewHeight; ++y)
            for (int x = 0; x < kPreviewWidth; ++x) {
                const QRgb want = plain.image().pixel(x, y);
                if (want != background) {
                    ++figure;
                    ASSERT_EQ(onion.image().pixel(x, y), want) << "selected " << selected << " at " << x << "," << y;
                } else if (onion.image().pixel(x, y) != background) {
                    ++ghosts;
                }
            }
        EXPECT_GT(figure, 300) << selected;
        EXPECT_GT(ghosts, 300) << selected;
    }
    // A frame of no key frame of the move gets the key-frame drawing.
    const auto stranger = Frame(80, 2, 4);
    RecordingCanvas plain, onion;
    DrawKeyFrame(plain, *stranger, 2);
    DrawOnionSkinKeyFrame(onion, *move, *stranger, 2);
    EXPECT_EQ(onion.ops, plain.ops);
}
