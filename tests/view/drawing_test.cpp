// The figure drawings as operations on a recording canvas; the onion skin of playback's own steps.
#include "view/figure_drawing.h"
#include "view/onion_skin.h"
#include "view/playback.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

using namespace hoofer;

namespace {

/// Writes down each operation: "line 64,180 50,196 black".
class RecordingCanvas : public Canvas {
public:
    std::vector<std::string> ops;
    int Width() const override { return kPreviewWidth; }
    int Height() const override { return kPreviewHeight; }
    TColor PenColor() const override { return m_pen; }
    void SetPenColor(TColor colour) override { m_pen = colour; }
    TColor BrushColor() const override { return clPreviewBackground; }
    void MoveTo(int x, int y) override { m_pos = {x, y}; }
    TPixel PenPos() const override { return m_pos; }
    void LineTo(int x, int y) override { Add("line", m_pos.x, m_pos.y, x, y), m_pos = {x, y}; }
    void FillRect(int l, int t, int r, int b) override { Add("fill", l, t, r, b); }
    void Ellipse(int l, int t, int r, int b) override { Add("ellipse", l, t, r, b); }

private:
    TColor m_pen = 0x123456;
    TPixel m_pos;
    void Add(const char *what, int a, int b, int c, int d)
    {
        static const std::map<TColor, std::string> names = {
            {clBlack, "black"}, {clYellow, "yellow"}, {clSilver, "silver"}, {clPreviewBackground, "background"}};
        const auto name = names.find(m_pen);
        ops.push_back(std::string(what) + " " + std::to_string(a) + "," + std::to_string(b) + " " + std::to_string(c)
                      + "," + std::to_string(d) + " " + (name == names.end() ? std::to_string(m_pen) : name->second));
    }
};

/// An upright figure: shoulders at (64, 96), lower body below them.
THFFrame Upright()
{
    THFFrame f;
    f.Points = {{{64, 96}, {50, 80}, {40, 60}, {78, 80}, {88, 60}, {64, 50},
                 {55, 30}, {52, 10}, {45, 5}, {73, 30}, {76, 10}, {83, 5}}};
    return f;
}

/// A move of key frames {shift, interpolation, displacement}: upright figures shifted right, leaning more the further.
std::unique_ptr<THFMove> MoveOf(std::initializer_list<std::array<int, 3>> frames)
{
    auto move = std::make_unique<THFMove>();
    for (const auto &[x, interpolation, displacement] : frames) {
        auto &f = *move->Frames.emplace_back(std::make_unique<THFFrame>(Upright()));
        for (int p = 0; p < kPartCount; ++p)
            f.Points[p].X += x + p * x / 40;
        f.Interpolation = interpolation, f.Displacement = displacement;
    }
    move->SyncFrameCount();
    return move;
}

/// Keeps the poses playback hands its sink.
struct StepSink : PlaybackSink {
    std::vector<PosePixels> steps;
    void KeyFrame(const THFFrame &) override {}
    void PlainStep(const PosePixels &pixels) override { steps.push_back(pixels); }
    void HandleMessages() override {}
    void Pause(int) override {}
};

/// Appends the plain drawing of a pose after its clearing and border, recoloured to a ghost's tint.
void AddPlainOps(std::vector<std::string> &out, const PosePixels &pose, TColor tint)
{
    RecordingCanvas plain;
    DrawPlainPose(plain, pose);
    for (auto op = plain.ops.begin() + 5; op != plain.ops.end(); ++op)  // fill + 4 border lines
        out.push_back(op->substr(0, op->rfind(' ') + 1) + std::to_string(tint));
}

} // namespace

TEST(KeyFrameDrawing, ClearsBordersWalksTheSkeletonAndHighlightsOnlyTheSelectedPart)
{
    RecordingCanvas canvas;
    DrawKeyFrame(canvas, Upright(), 5);  // the lower body
    ASSERT_EQ(canvas.ops.size(), 1u + 4u + 22u + 1u);  // clear, border, 11 bones with a ring each, head
    const std::pair<size_t, const char *> expected[] = {
        {0, "fill 0,0 256,296 background"}, {1, "line 0,20 255,20 silver"},
        {4, "line 0,276 0,20 silver"},      {5, "line 64,180 50,196 black"},
        {6, "ellipse 48,194 52,198 black"}, {9, "line 64,180 78,196 black"},    // back to the shoulders
        {13, "line 64,180 64,226 yellow"},  {14, "ellipse 62,224 66,228 yellow"},
        {15, "line 64,226 55,246 black"},   {27, "ellipse 54,160 74,180 black"}};  // head above the shoulders
    for (const auto &[index, op] : expected)
        EXPECT_EQ(canvas.ops[index], op) << "operation " << index;
    EXPECT_EQ(std::count_if(canvas.ops.begin(), canvas.ops.end(), [](auto &op) { return op.ends_with(" yellow"); }), 2);
    EXPECT_EQ(canvas.PenColor(), clBlack);
    // The head goes below the shoulders unless the lower body is lower.
    THFFrame headStand = Upright(), zero;
    headStand.Points[5] = {64, 150};
    for (const auto &[frame, head] : {std::pair<THFFrame *, const char *>{&headStand, "ellipse 54,180 74,200 black"},
                                      {&zero, "ellipse -10,276 10,296 black"}}) {
        RecordingCanvas below;
        DrawKeyFrame(below, *frame, -1);
        EXPECT_EQ(below.ops.back(), head);
    }
}

TEST(OnionSkin, GhostsArePlaybacksOwnStepsAndTheNeighboursUnderTheKeyFrame)
{
    const struct { const char *name; std::unique_ptr<THFMove> move; size_t current; } cases[] = {
        {"middle key frame, sliding 5 a step", MoveOf({{60, 0, 0}, {120, 7, 5}, {200, 2, 0}}), 1},
        {"key frame 1, from itself, sliding -3 a step", MoveOf({{100, 3, -3}, {150, 1, 0}}), 0},
        {"last key frame, no next", MoveOf({{30, 0, 0}, {90, 2, 0}}), 1},
    };
    for (const auto &c : cases) {
        const THFFrame &frame = *c.move->Frames[c.current];
        const THFFrame *previous = c.current ? c.move->Frames[c.current - 1].get() : nullptr;
        const THFFrame *next = c.current + 1 < c.move->Frames.size() ? c.move->Frames[c.current + 1].get() : nullptr;
        StepSink playback;
        DrawTransition(previous ? *previous : frame, frame, playback);
        ASSERT_EQ(playback.steps.size(), static_cast<size_t>(frame.Interpolation + 1)) << c.name;
        std::vector<std::string> expected{"fill 0,0 256,296 background"};
        for (const PosePixels &step : playback.steps)
            AddPlainOps(expected, step, clOnionStep);
        for (const auto &[neighbour, tint] : {std::pair{previous, clOnionPrevious}, std::pair{next, clOnionNext}})
            if (neighbour)
                AddPlainOps(expected, FramePixels(*neighbour), tint);
        RecordingCanvas keyFrame, onion;
        DrawKeyFrame(keyFrame, frame, 4);
        expected.insert(expected.end(), keyFrame.ops.begin() + 1, keyFrame.ops.end());
        DrawOnionSkinKeyFrame(onion, *c.move, frame, 4);
        EXPECT_EQ(onion.ops, expected) << c.name;
    }
}
