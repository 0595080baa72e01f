// The figure drawings as operations on a recording canvas, the onion skin
// made of playback's own steps, and the raster canvas pixel for pixel against
// Qt's painter (one painter per primitive).
#include "view/figure_drawing.h"
#include "view/image_canvas.h"
#include "view/onion_skin.h"
#include "view/playback.h"

#include <gtest/gtest.h>

#include <QPainter>

#include <functional>
#include <map>
#include <random>

using namespace hoofer;

namespace {

/// What both test canvases share: the pen, its place and the preview's size.
class PenCanvas : public Canvas {
public:
    int Width() const override { return kPreviewWidth; }
    int Height() const override { return kPreviewHeight; }
    TColor PenColor() const override { return m_pen; }
    void SetPenColor(TColor colour) override { m_pen = colour; }
    TColor BrushColor() const override { return clPreviewBackground; }
    void MoveTo(int x, int y) override { m_pos = {x, y}; }
    TPixel PenPos() const override { return m_pos; }

protected:
    TColor m_pen = 0x123456;
    TPixel m_pos;
};

/// Writes down each operation: "line 64,180 50,196 black".
class RecordingCanvas : public PenCanvas {
public:
    std::vector<std::string> ops;
    void LineTo(int x, int y) override { Add("line", m_pos.x, m_pos.y, x, y), m_pos = {x, y}; }
    void FillRect(int l, int t, int r, int b) override { Add("fill", l, t, r, b); }
    void Ellipse(int l, int t, int r, int b) override { Add("ellipse", l, t, r, b); }
    std::vector<std::string> In(const std::string &colour) const
    {
        std::vector<std::string> out;
        std::copy_if(ops.begin(), ops.end(), std::back_inserter(out),
                     [&](const std::string &op) { return op.ends_with(" " + colour); });
        return out;
    }

private:
    void Add(const char *what, int a, int b, int c, int d)
    {
        static const std::map<TColor, std::string> names = {
            {clBlack, "black"}, {clYellow, "yellow"}, {clSilver, "silver"}, {clPreviewBackground, "background"}};
        const auto name = names.find(m_pen);
        ops.push_back(std::string(what) + " " + std::to_string(a) + "," + std::to_string(b) + " " + std::to_string(c)
                      + "," + std::to_string(d) + " " + (name == names.end() ? std::to_string(m_pen) : name->second));
    }
};

/// The reference: Qt's painter alone, one painter per primitive.
class PainterCanvas : public PenCanvas {
public:
    QImage image{kPreviewWidth, kPreviewHeight, QImage::Format_RGB32};
    PainterCanvas() { image.fill(ToQColor(clPreviewBackground)); }
    void LineTo(int x, int y) override
    {
        Paint([&](QPainter &p) { p.drawLine(m_pos.x, m_pos.y, x, y); });
        m_pos = {x, y};
    }
    void FillRect(int left, int top, int right, int bottom) override
    {
        const QRect box(QPoint(left, top), QPoint(right - 1, bottom - 1));
        if (right > left && bottom > top)
            Paint([&](QPainter &p) {
                p.fillRect(box, ToQColor(BrushColor()));
                p.setPen(ToQColor(m_pen));
                p.drawRect(box.adjusted(0, 0, -1, -1));
            });
    }
    void Ellipse(int left, int top, int right, int bottom) override
    {
        if (right > left && bottom > top)
            Paint([&](QPainter &p) { p.drawEllipse(QRect(left, top, right - left - 1, bottom - top - 1)); });
    }

private:
    void Paint(const std::function<void(QPainter &)> &draw)
    {
        QPainter painter(&image);
        painter.setPen(QPen(ToQColor(m_pen), 0));
        painter.setBrush(ToQColor(BrushColor()));
        draw(painter);
    }
};

/// Both raster canvases side by side; Same() compares a region and clears it again.
struct Pair {
    ImageCanvas fast{kPreviewWidth, kPreviewHeight, clPreviewBackground};
    PainterCanvas painted;
    void Both(const std::function<void(Canvas &)> &draw) { draw(fast), draw(painted); }
    std::string Same(QRect region)
    {
        region &= fast.image().rect();
        std::string difference;
        for (int y = region.top(); y <= region.bottom() && difference.empty(); ++y)
            for (int x = region.left(); x <= region.right() && difference.empty(); ++x)
                if (fast.image().pixel(x, y) != painted.image.pixel(x, y))
                    difference = "pixel " + std::to_string(x) + "," + std::to_string(y);
        for (QImage *image : {&fast.image(), &painted.image})
            QPainter(image).fillRect(region, ToQColor(clPreviewBackground));
        return difference;
    }
};

/// A line from (x1, y1) to (x2, y2) ('L'), or a box ('B') or an ellipse ('E')
/// with those corners (right and bottom outside).
struct Shape {
    char kind;
    int x1, y1, x2, y2;
    TColor pen;
};

/// Lines in every direction, whole rows and columns, long and stray lines.
std::vector<Shape> Shapes()
{
    std::vector<Shape> shapes;
    for (const TPixel s : {TPixel{0, 0}, TPixel{128, 148}, TPixel{255, 295}, TPixel{37, 211}, TPixel{250, 3}})
        for (int dx = -48; dx <= 48; ++dx)
            for (int dy = -48; dy <= 48; ++dy)
                shapes.push_back({'L', s.x, s.y, s.x + dx, s.y + dy, clBlack});
    const int right = kPreviewWidth - 1, bottom = kPreviewHeight - 1;
    for (const int y : {0, 20, 147, bottom - 19, bottom})
        shapes.insert(shapes.end(), {{'L', 0, y, right, y, clSilver}, {'L', right, y, 0, y, clSilver}});
    for (const int x : {0, 1, 128, right - 1, right})
        shapes.insert(shapes.end(), {{'L', x, 0, x, bottom, clYellow}, {'L', x, bottom, x, 0, clYellow}});
    std::mt19937 random(9);
    std::uniform_int_distribution<int> x(-60, kPreviewWidth + 60), y(-60, kPreviewHeight + 60);
    for (int i = 0; i < 6000; ++i)
        shapes.push_back({'L', x(random), y(random), x(random), y(random), i % 2 ? clYellow : clSilver});
    // Boxes and ellipses of every small size, rings and heads at every place.
    for (int w = 1; w <= 40; ++w)
        for (int h = 1; h <= 40; ++h)
            for (const TPixel at : {TPixel{0, 0}, TPixel{100, 120}, TPixel{kPreviewWidth - w, kPreviewHeight - h},
                                    TPixel{-3, 50}, TPixel{240, 290}})
                for (const char kind : {'B', 'E'})
                    shapes.push_back({kind, at.x, at.y, at.x + w, at.y + h,
                                      kind == 'B' && (w + h) % 2 == 0 ? clPreviewBackground : clBlack});
    shapes.push_back({'B', 0, 0, kPreviewWidth, kPreviewHeight, clYellow});
    for (const int size : {4, 20})
        for (int top = -size; top <= kPreviewHeight; ++top)
            for (int left = -size; left <= kPreviewWidth; ++left)
                shapes.push_back({'E', left, top, left + size, top + size, clYellow});
    return shapes;
}


/// An upright figure: shoulders at (64, 96), lower body below them.
THFFrame Upright()
{
    THFFrame f;
    f.Points = {{{64, 96}, {50, 80}, {40, 60}, {78, 80}, {88, 60}, {64, 50},
                 {55, 30}, {52, 10}, {45, 5}, {73, 30}, {76, 10}, {83, 5}}};
    return f;
}

/// A move of key frames {shoulders x, interpolation, displacement}: figures
/// that lean and rise a little more the further right they stand.
std::unique_ptr<THFMove> MoveOf(std::initializer_list<std::array<int, 3>> frames)
{
    const TPoint pts[kPartCount] = {{0, 150}, {-20, 130}, {-35, 110}, {20, 130}, {35, 110}, {0, 90},
                                    {-10, 50}, {-12, 20}, {-20, 15}, {10, 50},   {12, 20},  {20, 15}};
    auto move = std::make_unique<THFMove>();
    for (const auto &[x, interpolation, displacement] : frames) {
        auto &f = *move->Frames.emplace_back(std::make_unique<THFFrame>());
        for (int p = 0; p < kPartCount; ++p)
            f.Points[p] = {x + pts[p].X + p * x / 40, pts[p].Y + x / 10};
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


TEST(ImageCanvasPixels, LinesBoxesAndEllipsesAreThePaintersOwn)
{
    Pair pair;
    for (const Shape &s : Shapes()) {
        pair.Both([&](Canvas &c) {
            c.SetPenColor(s.pen);
            if (s.kind == 'L')
                c.MoveTo(s.x1, s.y1), c.LineTo(s.x2, s.y2);
            else
                s.kind == 'B' ? c.FillRect(s.x1, s.y1, s.x2, s.y2) : c.Ellipse(s.x1, s.y1, s.x2, s.y2);
        });
        const QRect around(QPoint(std::min(s.x1, s.x2), std::min(s.y1, s.y2)),
                           QPoint(std::max(s.x1, s.x2), std::max(s.y1, s.y2)));
        ASSERT_EQ(pair.Same(around.adjusted(-3, -3, 3, 3)), "")
            << s.kind << " " << s.x1 << "," << s.y1 << " " << s.x2 << "," << s.y2;
    }
}

TEST(ImageCanvasPixels, FiguresAreThePaintersOwn)
{
    Pair pair;
    std::mt19937 random(17);
    std::uniform_int_distribution<int> coordinate(-30, 285), part(-1, kPartCount - 1);
    for (int i = 0; i < 400; ++i) {
        THFFrame frame;
        for (auto &p : frame.Points)
            p = {coordinate(random), coordinate(random)};
        const int selected = part(random);
        pair.Both([&](Canvas &c) { i % 2 ? DrawKeyFrame(c, frame, selected) : DrawPlainPose(c, FramePixels(frame)); });
        ASSERT_EQ(pair.Same(QRect(0, 0, kPreviewWidth, kPreviewHeight)), "") << "figure " << i;
    }
}

TEST(KeyFrameDrawing, ClearsBordersThenWalksTheSkeletonInOrder)
{
    RecordingCanvas canvas;
    DrawKeyFrame(canvas, Upright(), -1);
    ASSERT_EQ(canvas.ops.size(), 1u + 4u + 22u + 1u);  // clear, border, 11 bones with a ring each, head
    const std::pair<size_t, const char *> expected[] = {
        {0, "fill 0,0 256,296 background"}, {1, "line 0,20 255,20 silver"},
        {4, "line 0,276 0,20 silver"},      {5, "line 64,180 50,196 black"},
        {6, "ellipse 48,194 52,198 black"}, {9, "line 64,180 78,196 black"},   // back to the shoulders
        {13, "line 64,180 64,226 black"},   {15, "line 64,226 55,246 black"},  // from the lower body
        {27, "ellipse 54,160 74,180 black"}};                                    // head above the shoulders
    for (const auto &[index, op] : expected)
        EXPECT_EQ(canvas.ops[index], op) << "operation " << index;
    EXPECT_EQ(canvas.PenColor(), clBlack);
}

TEST(KeyFrameDrawing, HighlightsOnlyTheSelectedPartAndPutsTheHeadAwayFromTheLowerBody)
{
    const std::pair<int, std::vector<std::string>> rows[] = {
        {0, {"ellipse 54,160 74,180 yellow"}},
        {2, {"line 50,196 40,216 yellow", "ellipse 38,214 42,218 yellow"}},
        {5, {"line 64,180 64,226 yellow", "ellipse 62,224 66,228 yellow"}},
        {-1, {}}};
    for (const auto &[part, yellow] : rows) {
        RecordingCanvas canvas;
        DrawKeyFrame(canvas, Upright(), part);
        EXPECT_EQ(canvas.In("yellow"), yellow) << "part " << part;
    }
    THFFrame headStand = Upright(), zero;
    headStand.Points[5] = {64, 150};  // the lower body above the shoulders
    for (const auto &[frame, head] : {std::pair<THFFrame *, const char *>{&zero, "ellipse -10,276 10,296 black"},
                                      {&headStand, "ellipse 54,180 74,200 black"}}) {
        RecordingCanvas canvas;
        DrawKeyFrame(canvas, *frame, -1);
        EXPECT_EQ(canvas.ops.back(), head);
    }
}

TEST(OnionSkin, GhostsArePlaybacksOwnStepsAndTheNeighboursUnderTheKeyFrame)
{
    const struct {
        const char *name;
        std::unique_ptr<THFMove> move;
        size_t current;
        int lastStepShouldersX;  // where playback's last step puts the shoulders
    } cases[] = {
        // 60 -> 120 over n = 8, step 7: 60 + trunc(60 / 8 * 7) + 5 * 7 = 147.
        {"middle key frame, sliding 5 a step", MoveOf({{60, 0, 0}, {120, 7, 5}, {200, 2, 0}}), 1, 147},
        {"key frame 1, from itself, sliding -3 a step", MoveOf({{100, 3, -3}, {150, 1, 0}}), 0, 91},
        {"last key frame, no next", MoveOf({{30, 0, 0}, {90, 2, 0}}), 1, 70},
    };
    for (const auto &c : cases) {
        const THFFrame &frame = *c.move->Frames[c.current];
        const THFFrame *previous = c.current ? c.move->Frames[c.current - 1].get() : nullptr;
        const THFFrame *next = c.current + 1 < c.move->Frames.size() ? c.move->Frames[c.current + 1].get() : nullptr;
        StepSink playback;
        DrawTransition(previous ? *previous : frame, frame, playback);
        ASSERT_EQ(playback.steps.size(), static_cast<size_t>(frame.Interpolation + 1)) << c.name;
        EXPECT_EQ(playback.steps.back()[0].x, c.lastStepShouldersX) << c.name;
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
    // A frame of no key frame of the move gets the key-frame drawing.
    const auto move = MoveOf({{60, 0, 0}, {120, 7, 5}}), stranger = MoveOf({{80, 2, 4}});
    RecordingCanvas plain, onion;
    DrawKeyFrame(plain, *stranger->Frames[0], 2);
    DrawOnionSkinKeyFrame(onion, *move, *stranger->Frames[0], 2);
    EXPECT_EQ(onion.ops, plain.ops);
}
