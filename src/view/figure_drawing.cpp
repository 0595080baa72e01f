#include "view/figure_drawing.h"

#include <algorithm>

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
/// The border's rows and columns; the right edge is the fixed column 255,
/// whatever the surface's width.
constexpr int kBorderTop = 20, kBorderBottom = kBaselineRow;
constexpr int kBorderLeft = 0, kBorderRight = 255;

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

/// A box on a surface of width by height that holds every pixel the ringed
/// figure may touch: the joints with their rings and the head's box, with a
/// margin of two pixels for the edges of the ellipses.
KeyFrameRedraw::Box FigureBox(const PosePixels &pixels, int width, int height)
{
    constexpr int kRing = 2, kMargin = 2;
    const TPixel s = pixels[kShoulders - 1];
    const bool headAbove = pixels[kLowerBody - 1].y > s.y;
    int left = s.x - 10, right = s.x + 10;
    int top = headAbove ? s.y - 20 : s.y, bottom = headAbove ? s.y : s.y + 20;
    for (const TPixel p : pixels) {
        left = std::min(left, p.x - kRing);
        right = std::max(right, p.x + kRing);
        top = std::min(top, p.y - kRing);
        bottom = std::max(bottom, p.y + kRing);
    }
    return {std::clamp(left - kMargin, 0, width), std::clamp(top - kMargin, 0, height),
            std::clamp(right + kMargin + 1, 0, width), std::clamp(bottom + kMargin + 1, 0, height)};
}

/// The part of the border inside box: each of its lines is a row or a
/// column of pixels, so a piece of it is the same pixels as the whole line
/// has there. Leaves the pen black.
void DrawFrameBorderWithin(Canvas &canvas, const KeyFrameRedraw::Box &box)
{
    canvas.SetPenColor(clSilver);
    const auto row = [&](int y) {
        const int left = std::max(box.left, kBorderLeft), right = std::min(box.right - 1, kBorderRight);
        if (y >= box.top && y < box.bottom && left <= right) {
            canvas.MoveTo(left, y);
            canvas.LineTo(right, y);
        }
    };
    const auto column = [&](int x) {
        const int top = std::max(box.top, kBorderTop), bottom = std::min(box.bottom - 1, kBorderBottom);
        if (x >= box.left && x < box.right && top <= bottom) {
            canvas.MoveTo(x, top);
            canvas.LineTo(x, bottom);
        }
    };
    row(kBorderTop);
    row(kBorderBottom);
    column(kBorderLeft);
    column(kBorderRight);
    canvas.SetPenColor(clBlack);
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
    canvas.SetPenColor(clSilver);
    canvas.MoveTo(kBorderLeft, kBorderTop);
    canvas.LineTo(kBorderRight, kBorderTop);
    canvas.LineTo(kBorderRight, kBorderBottom);
    canvas.LineTo(kBorderLeft, kBorderBottom);
    canvas.LineTo(kBorderLeft, kBorderTop);
    canvas.SetPenColor(clBlack);
}

void ClearSurface(Canvas &canvas)
{
    canvas.SetPenColor(canvas.BrushColor());
    canvas.FillRect(0, 0, canvas.Width(), canvas.Height());
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

void KeyFrameRedraw::Draw(Canvas &canvas, const THFFrame &frame, int selectedPart)
{
    const PosePixels pixels = FramePixels(frame);
    const Box figure = FigureBox(pixels, canvas.Width(), canvas.Height());
    if (m_revision == 0 || canvas.Revision() != m_revision) {
        DrawKeyFrame(canvas, frame, selectedPart);
    } else {
        const Box box{std::min(m_figure.left, figure.left), std::min(m_figure.top, figure.top),
                      std::max(m_figure.right, figure.right), std::max(m_figure.bottom, figure.bottom)};
        canvas.SetPenColor(canvas.BrushColor());
        canvas.FillRect(box.left, box.top, box.right, box.bottom);
        DrawFrameBorderWithin(canvas, box);
        DrawRingedFigure(canvas, pixels, selectedPart);
    }
    m_figure = figure;
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
