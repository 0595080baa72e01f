#include "view/figure_drawing.h"

#include <algorithm>
#include <utility>

namespace hoofer {

namespace {
enum class Stroke { Move, Line };
struct SkeletonStep {
    Stroke stroke;
    int part;  // 1-based body part
};

/// The fixed walk over the skeleton: every body part but the shoulders ends
/// exactly one bone; the shoulders carry the head.
constexpr SkeletonStep kSkeleton[] = {
    {Stroke::Move, 1}, {Stroke::Line, 2}, {Stroke::Line, 3},
    {Stroke::Move, 1}, {Stroke::Line, 4}, {Stroke::Line, 5},
    {Stroke::Move, 1}, {Stroke::Line, 6},
    {Stroke::Move, 6}, {Stroke::Line, 7}, {Stroke::Line, 8}, {Stroke::Line, 9},
    {Stroke::Move, 6}, {Stroke::Line, 10}, {Stroke::Line, 11}, {Stroke::Line, 12},
    {Stroke::Move, 1},
};

constexpr int kShoulders = 1;
constexpr int kLowerBody = 6;

/// The head is a 20 by 20 ellipse touching the shoulders on the side away
/// from the lower body: above them when the lower body is lower on the
/// surface, below them otherwise.
void DrawHead(Canvas &canvas, const PosePixels &pixels)
{
    const TPixel s = pixels[kShoulders - 1];
    const TPixel l = pixels[kLowerBody - 1];
    if (l.y > s.y)
        canvas.Ellipse(s.x - 10, s.y - 20, s.x + 10, s.y);
    else
        canvas.Ellipse(s.x - 10, s.y, s.x + 10, s.y + 20);
}

/// Walks the skeleton; colourFor(part) gives a line step's colour, or no
/// ring at all when rings is false.
template <typename ColourFor>
void DrawSkeleton(Canvas &canvas, const PosePixels &pixels, bool rings, ColourFor colourFor)
{
    for (const SkeletonStep &step : kSkeleton) {
        const TPixel p = pixels[step.part - 1];
        if (step.stroke == Stroke::Move) {
            canvas.MoveTo(p.x, p.y);
            continue;
        }
        canvas.SetPenColor(colourFor(step.part));
        canvas.LineTo(p.x, p.y);
        if (rings)
            canvas.Ellipse(p.x - 2, p.y - 2, p.x + 2, p.y + 2);
    }
}
/// The key-frame figure without the border: bones with their rings and the
/// head, the selected part yellow; leaves the pen black.
void DrawRingedFigure(Canvas &canvas, const PosePixels &pixels, int selectedPart)
{
    canvas.SetPenColor(clBlack);
    DrawSkeleton(canvas, pixels, true,
                 [&](int part) { return selectedPart == part - 1 ? clYellow : clBlack; });
    canvas.SetPenColor(selectedPart == kShoulders - 1 ? clYellow : clBlack);
    DrawHead(canvas, pixels);
    canvas.SetPenColor(clBlack);
}

/// Writes down the primitives of a drawing, drawing nothing.
class PrimitiveRecorder : public Canvas {
public:
    using Primitive = KeyFrameRedraw::Primitive;
    /// Writes into primitives, emptied first: one list kept from drawing to
    /// drawing costs no allocation a step.
    PrimitiveRecorder(const Canvas &surface, std::vector<Primitive> &into)
        : primitives(into), m_width(surface.Width()), m_height(surface.Height()), m_brush(surface.BrushColor())
    {
        primitives.clear();
    }
    int Width() const override { return m_width; }
    int Height() const override { return m_height; }
    TColor PenColor() const override { return m_pen; }
    void SetPenColor(TColor colour) override { m_pen = colour; }
    TColor BrushColor() const override { return m_brush; }
    void MoveTo(int x, int y) override { m_pos = {x, y}; }
    TPixel PenPos() const override { return m_pos; }
    void LineTo(int x, int y) override
    {
        primitives.push_back({Primitive::Line, m_pos.x, m_pos.y, x, y, m_pen});
        m_pos = {x, y};
    }
    void FillRect(int l, int t, int r, int b) override { primitives.push_back({Primitive::Fill, l, t, r, b, m_pen}); }
    void Ellipse(int l, int t, int r, int b) override { primitives.push_back({Primitive::Ellipse, l, t, r, b, m_pen}); }

    std::vector<Primitive> &primitives;

private:
    int m_width, m_height;
    TColor m_brush, m_pen = clBlack;
    TPixel m_pos;
};

/// The box (right and bottom outside) of every pixel a primitive may touch.
void AddBounds(const KeyFrameRedraw::Primitive &p, int &left, int &top, int &right, int &bottom)
{
    using Primitive = KeyFrameRedraw::Primitive;
    // An ellipse's outline may reach a pixel past its box on any side.
    const int margin = p.kind == Primitive::Ellipse ? 1 : 0;
    const int end = p.kind == Primitive::Line ? 1 : 0;  // a line includes its last pixel
    left = std::min(left, std::min(p.a, p.c) - margin);
    top = std::min(top, std::min(p.b, p.d) - margin);
    right = std::max(right, std::max(p.a, p.c) + end + margin);
    bottom = std::max(bottom, std::max(p.b, p.d) + end + margin);
}
} // namespace

TPixel PointToPixel(const TPoint &point)
{
    return {point.X, kBaselineRow - point.Y};
}

PosePixels FramePixels(const THFFrame &frame)
{
    PosePixels pixels;
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = PointToPixel(frame.Points[i]);
    return pixels;
}

void DrawFrameBorder(Canvas &canvas)
{
    // The border runs from row 20 down to the baseline; the right edge is the
    // fixed column 255, whatever the surface's width.
    constexpr int top = 20, bottom = kBaselineRow;
    constexpr int left = 0, right = 255;
    canvas.SetPenColor(clSilver);
    canvas.MoveTo(left, top);
    canvas.LineTo(right, top);
    canvas.LineTo(right, bottom);
    canvas.LineTo(left, bottom);
    canvas.LineTo(left, top);
    canvas.SetPenColor(clBlack);
}

void ClearSurface(Canvas &canvas)
{
    canvas.Clear();
}

void DrawKeyFrame(Canvas &canvas, const THFFrame &frame, int selectedPart)
{
    ClearSurface(canvas);
    DrawKeyFrameFigure(canvas, frame, selectedPart);
}

void DrawKeyFrameFigure(Canvas &canvas, const THFFrame &frame, int selectedPart)
{
    DrawFrameBorder(canvas);
    DrawRingedFigure(canvas, FramePixels(frame), selectedPart);
}

void DrawPinMarks(Canvas &canvas, const THFFrame &frame, const std::vector<int> &parts)
{
    constexpr int kHalf = 5;
    canvas.SetPenColor(clPinMark);
    for (const int part : parts) {
        if (part < 1 || part > kPartCount)
            continue;
        const TPixel p = PointToPixel(frame.Point(part));
        canvas.MoveTo(p.x - kHalf, p.y - kHalf);
        canvas.LineTo(p.x + kHalf, p.y - kHalf);
        canvas.LineTo(p.x + kHalf, p.y + kHalf);
        canvas.LineTo(p.x - kHalf, p.y + kHalf);
        canvas.LineTo(p.x - kHalf, p.y - kHalf);
    }
    canvas.SetPenColor(clBlack);
}

void KeyFrameRedraw::Draw(Canvas &canvas, const THFFrame &frame, int selectedPart, const std::vector<int> &pinned)
{
    const auto drawing = [&](Canvas &on) {
        DrawKeyFrame(on, frame, selectedPart);
        if (!pinned.empty())
            DrawPinMarks(on, frame, pinned);
    };
    PrimitiveRecorder recorder(canvas, m_drawing);
    drawing(recorder);
    bool drawn = false;
    if (m_revision != 0 && canvas.Revision() == m_revision && recorder.primitives.size() == m_primitives.size()) {
        // Only where a primitive differs can a pixel differ.
        int left = canvas.Width(), top = canvas.Height(), right = 0, bottom = 0;
        for (size_t i = 0; i < m_primitives.size(); ++i)
            if (!(m_primitives[i] == recorder.primitives[i])) {
                AddBounds(m_primitives[i], left, top, right, bottom);
                AddBounds(recorder.primitives[i], left, top, right, bottom);
            }
        left = std::max(left, 0), top = std::max(top, 0);
        right = std::min(right, canvas.Width()), bottom = std::min(bottom, canvas.Height());
        if (left >= right || top >= bottom) {
            drawn = true;  // the surface shows this very drawing
        } else if (canvas.SetClip(left, top, right, bottom)) {
            drawing(canvas);
            canvas.ClearClip();
            drawn = true;
        }
    }
    if (!drawn)
        drawing(canvas);
    std::swap(m_primitives, m_drawing);
    m_revision = canvas.Revision();
}

void DrawGhostPose(Canvas &canvas, const PosePixels &pixels, TColor colour)
{
    DrawSkeleton(canvas, pixels, false, [colour](int) { return colour; });
    canvas.SetPenColor(colour);
    DrawHead(canvas, pixels);
    canvas.SetPenColor(clBlack);
}

void DrawPlainPose(Canvas &canvas, const PosePixels &pixels)
{
    ClearSurface(canvas);
    DrawFrameBorder(canvas);
    canvas.SetPenColor(clBlack);
    DrawSkeleton(canvas, pixels, false, [](int) { return clBlack; });
    DrawHead(canvas, pixels);
}

} // namespace hoofer
