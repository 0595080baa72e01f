#include "view/preview_backdrop.h"

#include "model/frame.h"
#include "view/figure_drawing.h"
#include "view/image_canvas.h"

#include <QPainter>

namespace hoofer {

namespace {

/// The colour with every channel scaled by keep/100.
TColor Darker(TColor colour, int keep)
{
    TColor result = 0;
    for (int shift = 0; shift <= 16; shift += 8)
        result |= (((colour >> shift) & 0xFF) * keep / 100) << shift;
    return result;
}

constexpr int kFinestSpacing = 4;

void DrawGrid(QPainter &painter, QSize surface, int zoom, TColor background, int gridSize)
{
    const QColor dot = ToQColor(GridDotColour(background));
    const int step = ((kFinestSpacing + gridSize - 1) / gridSize) * gridSize;
    for (int y = 0; y <= kMaxCoordinate; y += step) {
        const int row = PointToPixel({0, y}).y;
        if (row < 0 || row >= surface.height())
            continue;
        for (int x = 0; x <= kMaxCoordinate && x < surface.width(); x += step)
            painter.fillRect(x * zoom, row * zoom, zoom, zoom, dot);
    }
    if (const int ground = PointToPixel({0, 0}).y + 1; ground < surface.height())
        painter.fillRect(0, ground * zoom, surface.width() * zoom, zoom, ToQColor(GroundLineColour(background)));
}

} // namespace

TColor GridDotColour(TColor background)
{
    return Darker(background, 75);
}

TColor GroundLineColour(TColor background)
{
    return Darker(background, 60);
}

QRectF ReferenceRect(QSize frameSize, const MoveReference &reference)
{
    constexpr double kSide = 256;  // the point square's side
    const double height = kSide * reference.scale;
    const double width = frameSize.height() > 0 ? height * frameSize.width() / frameSize.height() : 0;
    // The bottom edge below Y = 0's row, so that its last row is that row.
    const double bottom = kBaselineRow + 1 - reference.y;
    return {kSide / 2 + reference.x - width / 2, bottom - height, width, height};
}

QImage DrawBackdrop(QSize surface, int zoom, const Backdrop &backdrop)
{
    QImage image(surface * zoom, QImage::Format_RGB32);
    image.fill(ToQColor(backdrop.background));
    QPainter painter(&image);
    if (!backdrop.frame.isNull()) {
        const QRectF place = ReferenceRect(backdrop.frame.size(), backdrop.reference);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.setOpacity(backdrop.reference.opacity);
        painter.drawImage(QRectF(place.topLeft() * zoom, place.size() * zoom),
                          backdrop.reference.mirror ? backdrop.frame.mirrored(true, false) : backdrop.frame);
        painter.setOpacity(1);
    }
    if (backdrop.gridSize > 0)
        DrawGrid(painter, surface, zoom, backdrop.background, backdrop.gridSize);
    return image;
}

} // namespace hoofer
