#pragma once

#include "view/canvas.h"

#include <QColor>
#include <QImage>
#include <QRect>

class QPainter;

#include <functional>
#include <map>
#include <utility>
#include <vector>

namespace hoofer {

/// Converts a colour value 0x00BBGGRR to Qt's colour.
QColor ToQColor(TColor colour);
/// Converts Qt's colour to a colour value 0x00BBGGRR.
TColor FromQColor(const QColor &colour);

/// An image whose rows start on a cache line and lie an odd number of cache
/// lines apart, so that drawing down a column is as cheap as along a row.
QImage SurfaceImage(int width, int height, QImage::Format format);

/// A Canvas onto a QImage: the raster the preview shows, and the pictures the
/// command-line tool writes. Lines and ellipses are drawn without
/// antialiasing, one pixel wide; rectangle and ellipse boxes include their
/// left and top edges and exclude the right and bottom ones, so a box from
/// (x - 2, y - 2) to (x + 2, y + 2) covers 4 by 4 pixels.
///
/// Qt's painter draws every primitive, but a painter per primitive costs more
/// than the figure's pixels: lines (cut at the surface's edges as the painter
/// cuts them) and what else lies wholly on the surface (boxes, small
/// ellipses) are written straight into the image, pixel for pixel as the
/// painter would write them; the rest still goes through the painter.
class ImageCanvas final : public Canvas {
public:
    ImageCanvas(int width, int height, TColor background);

    /// The image to draw on: taking it counts as a drawing.
    QImage &image()
    {
        Drawn();
        return m_image;
    }
    const QImage &image() const { return m_image; }

    int Width() const override { return m_image.width(); }
    int Height() const override { return m_image.height(); }
    TColor PenColor() const override { return m_pen; }
    void SetPenColor(TColor colour) override { m_pen = colour; }
    TColor BrushColor() const override { return m_brush; }
    void MoveTo(int x, int y) override { m_penPos = {x, y}; }
    void LineTo(int x, int y) override;
    TPixel PenPos() const override { return m_penPos; }
    void FillRect(int left, int top, int right, int bottom) override;
    void Ellipse(int left, int top, int right, int bottom) override;
    uint64_t Revision() const override;
    bool SetClip(int left, int top, int right, int bottom) override;
    void ClearClip() override;

private:
    /// Marks the surface drawn on: the next Revision takes a new number
    /// from one count for all surfaces.
    void Drawn() { m_drawn = true; }

    /// The pixels an ellipse of one box size covers, relative to the box's
    /// top left corner, as Qt draws them: runs along a row of outline (pen)
    /// or inside (brush) pixels, so a head's inside is a few row fills.
    struct EllipseStamp {
        struct Run {
            int dx, dy, length;
            bool pen;
        };
        std::vector<Run> runs;
        int left = 0, top = 0, right = 0, bottom = 0;  // extent, right/bottom inclusive
    };
    const EllipseStamp &StampFor(int width, int height);
    /// Runs draw with a painter on the image; under a clip, on a copy of
    /// the image whose clipped part is then taken back.
    void Paint(const std::function<void(QPainter &)> &draw);
    /// Whether a clip keeps out every pixel of the box (right and bottom inside).
    bool OutsideClip(int left, int top, int right, int bottom) const;
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < m_image.width() && y < m_image.height(); }

    QImage m_image;
    TColor m_pen = 0;
    TColor m_brush;
    TPixel m_penPos;
    std::map<std::pair<int, int>, EllipseStamp> m_stamps;
    mutable uint64_t m_revision = 0;
    mutable bool m_drawn = false;
    QRect m_clip;  // null: none
};

} // namespace hoofer
