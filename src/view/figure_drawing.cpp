#include "view/figure_drawing.h"

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
    const PosePixels pixels = FramePixels(frame);
    DrawFrameBorder(canvas);
    canvas.SetPenColor(clBlack);
    DrawSkeleton(canvas, pixels, true,
                 [&](int part) { return selectedPart == part - 1 ? clYellow : clBlack; });
    canvas.SetPenColor(selectedPart == kShoulders - 1 ? clYellow : clBlack);
    DrawHead(canvas, pixels);
    canvas.SetPenColor(clBlack);
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
