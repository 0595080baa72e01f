#pragma once

#include "view/canvas.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QRect>

#include <optional>

namespace hoofer {

/// Converts a colour value 0x00BBGGRR to Qt's colour.
QColor ToQColor(TColor colour);
/// Converts Qt's colour to a colour value 0x00BBGGRR.
TColor FromQColor(const QColor &colour);

/// A Canvas onto a QImage, drawn by Qt's painter: the raster the preview
/// shows, and the pictures the command-line tool writes. Lines and ellipse
/// outlines are one pixel wide without antialiasing; rectangle and ellipse
/// boxes include their left and top edges and exclude the right and bottom
/// ones, so a box from (x - 2, y - 2) to (x + 2, y + 2) covers 4 by 4 pixels.
///
/// One painter serves a whole drawing: it opens at the first primitive and
/// ends when the image is asked for, so whoever reads the image reads a
/// finished picture.
class ImageCanvas final : public Canvas {
public:
    ImageCanvas(int width, int height, TColor background);

    /// The image to draw on: taking it counts as a drawing.
    QImage &image();
    const QImage &image() const;

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
    uint64_t Revision() const override { return m_revision; }
    bool SetClip(int left, int top, int right, int bottom) override;
    void ClearClip() override;
    void Clear() override;
    /// What Clear shows from now on: a picture of the surface's size, drawn
    /// at its top left, or the background colour when backdrop is null.
    /// The surface counts as drawn on, so drawings made on the old backdrop
    /// are not taken as still shown.
    void SetBackdrop(QImage backdrop);

private:
    /// The painter with the pen colour set, opened on the image when it is
    /// not; using it counts as a drawing.
    QPainter &Painter();
    void EndPainter() const;
    /// Takes a new revision number from one count for all surfaces.
    void Drawn();

    QImage m_image;
    mutable QPainter m_painter;  // ended by either image()
    TColor m_pen = 0;
    TColor m_brush;
    TPixel m_penPos;
    uint64_t m_revision = 0;
    std::optional<QRect> m_clip;
    QImage m_backdrop;
};

} // namespace hoofer
