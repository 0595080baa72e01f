#include "view/image_canvas.h"

#include <QPen>

#include <atomic>

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
    Drawn();
}

QImage &ImageCanvas::image()
{
    EndPainter();
    Drawn();
    return m_image;
}

const QImage &ImageCanvas::image() const
{
    EndPainter();
    return m_image;
}

void ImageCanvas::EndPainter() const
{
    if (m_painter.isActive())
        m_painter.end();
}

void ImageCanvas::Drawn()
{
    static std::atomic<uint64_t> count{0};
    m_revision = count.fetch_add(1, std::memory_order_relaxed) + 1;
}

QPainter &ImageCanvas::Painter()
{
    if (!m_painter.isActive()) {
        m_painter.begin(&m_image);
        m_painter.setRenderHint(QPainter::Antialiasing, false);
        m_painter.setBrush(ToQColor(m_brush));
        if (m_clip)
            m_painter.setClipRect(*m_clip);
    }
    QPen pen(ToQColor(m_pen));
    pen.setWidth(0);  // cosmetic: exactly one pixel
    m_painter.setPen(pen);
    Drawn();
    return m_painter;
}

void ImageCanvas::LineTo(int x, int y)
{
    Painter().drawLine(m_penPos.x, m_penPos.y, x, y);
    m_penPos = {x, y};
}

void ImageCanvas::FillRect(int left, int top, int right, int bottom)
{
    if (right <= left || bottom <= top)
        return;
    // Filled with the background, outlined in the pen colour on the box's
    // inner edge, as the clearing of the preview expects.
    const QRect box(QPoint(left, top), QPoint(right - 1, bottom - 1));
    QPainter &painter = Painter();
    painter.fillRect(box, ToQColor(m_brush));
    painter.drawRect(box.adjusted(0, 0, -1, -1));
}

void ImageCanvas::Ellipse(int left, int top, int right, int bottom)
{
    if (right <= left || bottom <= top)
        return;
    // Qt's outline of a rectangle w by h covers w + 1 by h + 1 pixels.
    Painter().drawEllipse(QRect(left, top, right - left - 1, bottom - top - 1));
}

void ImageCanvas::Clear()
{
    if (m_backdrop.isNull()) {
        Canvas::Clear();
        return;
    }
    m_pen = m_brush;
    Painter().drawImage(0, 0, m_backdrop);
}

void ImageCanvas::SetBackdrop(QImage backdrop)
{
    m_backdrop = std::move(backdrop);
    Drawn();
}

bool ImageCanvas::SetClip(int left, int top, int right, int bottom)
{
    m_clip = QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
    if (m_painter.isActive())
        m_painter.setClipRect(*m_clip);
    return true;
}

void ImageCanvas::ClearClip()
{
    m_clip.reset();
    if (m_painter.isActive())
        m_painter.setClipping(false);
}

} // namespace hoofer
