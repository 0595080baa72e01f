#pragma once

#include "view/canvas.h"

#include <QColor>
#include <QImage>

namespace hoofer {

/// Converts a colour value 0x00BBGGRR to Qt's colour.
QColor ToQColor(TColor colour);
/// Converts Qt's colour to a colour value 0x00BBGGRR.
TColor FromQColor(const QColor &colour);

/// A Canvas onto a QImage: the raster the preview shows, and the pictures the
/// command-line tool writes. Lines and ellipses are drawn without
/// antialiasing, one pixel wide; rectangle and ellipse boxes include their
/// left and top edges and exclude the right and bottom ones, so a box from
/// (x - 2, y - 2) to (x + 2, y + 2) covers 4 by 4 pixels.
class ImageCanvas : public Canvas {
public:
    ImageCanvas(int width, int height, TColor background);

    QImage &image() { return m_image; }
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

private:
    QImage m_image;
    TColor m_pen = 0;
    TColor m_brush;
    TPixel m_penPos;
};

} // namespace hoofer
