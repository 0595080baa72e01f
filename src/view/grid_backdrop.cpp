#include "view/grid_backdrop.h"

#include "model/frame.h"
#include "view/figure_drawing.h"
#include "view/image_canvas.h"

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

} // namespace

TColor GridDotColour(TColor background)
{
    return Darker(background, 75);
}

TColor GroundLineColour(TColor background)
{
    return Darker(background, 60);
}

QImage GridBackdrop(int width, int height, TColor background, int gridSize)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(ToQColor(background));
    const QRgb dot = ToQColor(GridDotColour(background)).rgb();
    const int step = gridSize < 1 ? kFinestSpacing : ((kFinestSpacing + gridSize - 1) / gridSize) * gridSize;
    for (int y = 0; y <= kMaxCoordinate; y += step) {
        const int row = PointToPixel({0, y}).y;
        if (row < 0 || row >= height)
            continue;
        for (int x = 0; x <= kMaxCoordinate && x < width; x += step)
            image.setPixel(x, row, dot);
    }
    if (const int ground = PointToPixel({0, 0}).y + 1; ground < height) {
        const QRgb line = ToQColor(GroundLineColour(background)).rgb();
        for (int x = 0; x < width; ++x)
            image.setPixel(x, ground, line);
    }
    return image;
}

} // namespace hoofer
