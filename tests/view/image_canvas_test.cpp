// The figure's pixels, cut at the surface's edges, and a drag's redrawing against the whole drawing.
#include "view/figure_drawing.h"
#include "view/image_canvas.h"

#include <gtest/gtest.h>

#include <random>
#include <utility>

using namespace hoofer;

namespace {
constexpr TColor kBack = clPreviewBackground;

struct Probe { int x, y; TColor colour; const char *what; };

void ExpectPixels(const ImageCanvas &canvas, std::initializer_list<Probe> probes, const char *drawing)
{
    for (const Probe &p : probes)
        EXPECT_EQ(FromQColor(QColor(canvas.image().pixel(p.x, p.y))), p.colour)
            << drawing << ": " << p.what << " at " << p.x << "," << p.y;
}
} // namespace

TEST(FigurePixels, JointsRingsHeadAndHighlightLieWherePointsMapToPixels)
{
    // Point (X, Y) is pixel (X, 276 - Y): the shoulders at (64, 180), the left elbow at (50, 196), the left hand
    // at (40, 216), the lower body at (64, 226).
    THFFrame frame;
    frame.Points = {{{64, 96}, {50, 80}, {40, 60}, {78, 80}, {88, 60}, {64, 50},
                     {55, 30}, {52, 10}, {45, 5}, {73, 30}, {76, 10}, {83, 5}}};
    ImageCanvas canvas(kPreviewWidth, kPreviewHeight, kBack);
    DrawKeyFrame(canvas, frame, 2);  // the left hand
    ExpectPixels(canvas,
                 {{0, 20, clSilver, "border, top left"}, {255, 276, clSilver, "border, bottom right"},
                  // A joint's ring is 4 by 4 pixels, from 2 left of and above it.
                  {48, 194, clBlack, "elbow's ring, top left"}, {51, 197, clBlack, "elbow's ring, bottom right"},
                  {47, 196, kBack, "left of the elbow's ring"}, {49, 195, kBack, "inside the elbow's ring"},
                  {38, 214, clYellow, "hand's ring"}, {45, 205, clYellow, "elbow to hand"},
                  {64, 200, clBlack, "shoulders to lower body"}, {63, 200, kBack, "beside the bone"},
                  {63, 181, clBlack, "shoulders, no ring"},
                  // The head: 20 by 20 above the shoulders, columns 54 to 73, rows 160 to 179.
                  {60, 160, clBlack, "head's top"}, {67, 179, clBlack, "head's bottom"},
                  {54, 170, clBlack, "head's left"}, {73, 170, clBlack, "head's right"},
                  {74, 170, kBack, "right of the head"}, {64, 159, kBack, "above the head"},
                  {64, 170, kBack, "inside the head"}},
                 "key frame");
    DrawKeyFrame(canvas, frame, 0);
    ExpectPixels(canvas, {{54, 170, clYellow, "head"}, {45, 205, clBlack, "elbow to hand"}}, "shoulders selected");
}

TEST(FigurePixels, AFigureOffTheSurfaceIsCutAtItsEdges)
{
    // Lines at 45 degrees and along a row or column, whose pixels do not depend on where they are cut.
    const std::pair<TPixel, TPixel> bones[] = {{{250, 100}, {350, 200}}, {{-50, 250}, {100, 250}},
                                               {{20, -40}, {20, 30}}, {{-10, 300}, {10, 280}}};
    ImageCanvas canvas(kPreviewWidth, kPreviewHeight, kBack);
    canvas.SetPenColor(clBlack);
    for (const auto &[from, to] : bones)
        canvas.MoveTo(from.x, from.y), canvas.LineTo(to.x, to.y);
    // The head above shoulders 5 pixels left of the surface: its right column, 4, is on it.
    PosePixels head{};
    head.fill({-5, 150});
    head[5] = {-5, 200};
    DrawGhostPose(canvas, head, clYellow);
    ExpectPixels(canvas,
                 {{250, 100, clBlack, "right edge"}, {255, 105, clBlack, "right edge"}, {254, 105, kBack, "right edge"},
                  {0, 250, clBlack, "left edge"}, {100, 250, clBlack, "left edge"}, {101, 250, kBack, "left edge"},
                  {20, 0, clBlack, "top edge"}, {20, 30, clBlack, "top edge"}, {20, 31, kBack, "top edge"},
                  {0, 290, clBlack, "bottom left"}, {5, 285, clBlack, "bottom left"}, {10, 280, clBlack, "bottom left"},
                  {4, 136, clYellow, "head's right"}, {4, 143, clYellow, "head's right"}, {5, 140, kBack, "past the head"},
                  {0, 131, clYellow, "head's upper right"}, {2, 140, kBack, "inside the head"}},
                 "off the surface");
}

TEST(KeyFrameRedraw, EveryStepIsTheWholeDrawingEvenAfterAnotherDrawing)
{
    ImageCanvas surface(kPreviewWidth, kPreviewHeight, kBack);
    KeyFrameRedraw redraw;
    THFFrame frame;
    std::mt19937 random(11);
    std::uniform_int_distribution<int> coordinate(0, 255), part(0, kPartCount - 1), nudge(-6, 6);
    for (TPoint &p : frame.Points)
        p = {coordinate(random), coordinate(random)};
    for (int step = 0; step < 400; ++step) {
        // Mostly a drag's small steps, now and then a jump; a key frame's pose changes whole at times.
        TPoint &p = frame.Points[part(random)];
        if (step % 7 == 0)
            p = {coordinate(random), coordinate(random)};
        else
            p = {std::clamp(p.X + nudge(random), 0, 255), std::clamp(p.Y + nudge(random), 0, 255)};
        if (step % 97 == 0)
            for (TPoint &q : frame.Points)
                q = {coordinate(random), coordinate(random)};
        if (step % 50 == 25)
            surface.FillRect(0, 0, 100, 100);  // something else drew meanwhile
        const int selected = step % 13 - 1;
        redraw.Draw(surface, frame, selected);
        ImageCanvas whole(kPreviewWidth, kPreviewHeight, kBack);
        DrawKeyFrame(whole, frame, selected);
        ASSERT_EQ(std::as_const(surface).image(), whole.image()) << "step " << step;
        EXPECT_EQ(surface.PenColor(), clBlack);
    }
}
