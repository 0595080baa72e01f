// The raster canvas against Qt's own painter, and a drag's redrawing against
// the whole key-frame drawing.
#include "view/figure_drawing.h"
#include "view/image_canvas.h"

#include <gtest/gtest.h>

#include <QPainter>

#include <random>
#include <utility>

using namespace hoofer;

TEST(ImageCanvas, LinesAreThePaintersPixelsOnAndOffTheSurface)
{
    // Ends on the surface, a little off it and far off it.
    const std::pair<int, int> ranges[] = {{0, 255}, {-40, 300}, {-3000, 3000}};
    std::mt19937 random(7);
    ImageCanvas ours(kPreviewWidth, kPreviewHeight, clPreviewBackground);
    QPen pen(Qt::black);
    pen.setWidth(0);
    for (const auto &[low, high] : ranges) {
        std::uniform_int_distribution<int> coordinate(low, high);
        for (int i = 0; i < 300; ++i) {
            const int x1 = coordinate(random), y1 = coordinate(random), x2 = coordinate(random),
                      y2 = coordinate(random);
            ours.image().fill(ToQColor(clPreviewBackground));
            QImage painted = ours.image().copy();
            ours.MoveTo(x1, y1);
            ours.LineTo(x2, y2);
            QPainter painter(&painted);
            painter.setRenderHint(QPainter::Antialiasing, false);
            painter.setPen(pen);
            painter.drawLine(x1, y1, x2, y2);
            painter.end();
            ASSERT_EQ(ours.image(), painted) << x1 << "," << y1 << " " << x2 << "," << y2;
        }
    }
}

TEST(SurfaceImage, RowsStartOnACacheLineAnOddNumberOfLinesApart)
{
    for (const int width : {1, 16, 17, 256, 768}) {
        const QImage image = SurfaceImage(width, 3, QImage::Format_RGB32);
        EXPECT_EQ(reinterpret_cast<uintptr_t>(image.constBits()) % 64, 0u) << width;
        EXPECT_EQ(image.bytesPerLine() / 64 % 2, 1) << width;
        EXPECT_GE(image.bytesPerLine(), width * 4) << width;
    }
}

TEST(ImageCanvas, ClearingTheWholeSurfaceLeavesAHeldCopyAsItWas)
{
    // A copy held while the surface is cleared makes the surface take a
    // buffer of its own, whose rows may lie closer together.
    ImageCanvas surface(kPreviewWidth, kPreviewHeight, clPreviewBackground);
    surface.SetPenColor(clBlack);
    surface.MoveTo(0, 0);
    surface.LineTo(kPreviewWidth - 1, kPreviewHeight - 1);
    const QImage held = surface.image();
    const QImage before = held.copy();
    ClearSurface(surface);
    QImage cleared(kPreviewWidth, kPreviewHeight, QImage::Format_RGB32);
    cleared.fill(ToQColor(clPreviewBackground));
    EXPECT_EQ(surface.image(), cleared);
    EXPECT_EQ(held, before);
}

TEST(KeyFrameRedraw, EveryStepIsTheWholeDrawingEvenAfterAnotherDrawing)
{
    ImageCanvas surface(kPreviewWidth, kPreviewHeight, clPreviewBackground);
    KeyFrameRedraw redraw;
    THFFrame frame;
    std::mt19937 random(11);
    std::uniform_int_distribution<int> coordinate(0, 255), part(0, kPartCount - 1), nudge(-6, 6);
    for (TPoint &p : frame.Points)
        p = {coordinate(random), coordinate(random)};
    for (int step = 0; step < 400; ++step) {
        // Mostly a drag's small steps, now and then a jump (to an edge, the
        // head turning over); a key frame's pose changes whole at times.
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
        ImageCanvas whole(kPreviewWidth, kPreviewHeight, clPreviewBackground);
        DrawKeyFrame(whole, frame, selected);
        ASSERT_EQ(std::as_const(surface).image(), whole.image()) << "step " << step;
        EXPECT_EQ(surface.PenColor(), clBlack);
    }
}
