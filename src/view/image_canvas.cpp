#include "view/image_canvas.h"

#include <QPainter>

namespace hoofer {

QColor ToQColor(TColor colour)
{
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

TColor FromQColor(const QColor &colour)
{
    return static_cast<TColor>(colour.red()) | static_cast<TColor>(colour.green()) << 8
           | static_cast<TColor>(colour.blue()) << 16;
}

ImageCanvas::ImageCanvas(int width, int height, TColor background)
    : m_image(width, height, QImage::Format_RGB32), m_brush(background)
{
    m_image.fill(ToQColor(background));
}

namespace {
/// A painter with the surface's conventions: hard one-pixel lines, no
/// antialiasing, the fill in the background colour.
void Prepare(QPainter &painter, TColor pen, TColor brush)
{
    painter.setRenderHint(QPainter::Antialiasing, false);
    QPen qpen(ToQColor(pen));
    qpen.setWidth(0);  // cosmetic: exactly one pixel at any transform
    painter.setPen(qpen);
    painter.setBrush(ToQColor(brush));
}
} // namespace

void ImageCanvas::LineTo(int x, int y)
{
    QPainter painter(&m_image);
    Prepare(painter, m_pen, m_brush);
    painter.drawLine(m_penPos.x, m_penPos.y, x, y);
    m_penPos = {x, y};
}

void ImageCanvas::FillRect(int left, int top, int right, int bottom)
{
    if (right <= left || bottom <= top)
        return;
    QPainter painter(&m_image);
    // Filled with the background, outlined in the pen colour on the box's
    // inner edge, as the clearing of the preview expects.
    const QRect box(QPoint(left, top), QPoint(right - 1, bottom - 1));
    painter.fillRect(box, ToQColor(m_brush));
    painter.setPen(ToQColor(m_pen));
    painter.drawRect(box.adjusted(0, 0, -1, -1));
}

void ImageCanvas::Ellipse(int left, int top, int right, int bottom)
{
    if (right <= left || bottom <= top)
        return;
    QPainter painter(&m_image);
    Prepare(painter, m_pen, m_brush);
    // The box includes its left and top edges and excludes the right and
    // bottom ones; Qt's outline of a rectangle w x h covers w + 1 x h + 1.
    painter.drawEllipse(QRect(left, top, right - left - 1, bottom - top - 1));
}

} // namespace hoofer
