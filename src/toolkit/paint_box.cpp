#include "paint_box.h"

#include "guard.h"
#include "view/image_canvas.h"

#include <QMouseEvent>
#include <QPaintEngine>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

namespace hoofer::toolkit {

/// Forwards every primitive to the image and asks Qt to show the part of the
/// image it drew on.
class TPaintBox::ShownCanvas : public Canvas {
public:
    // The surface keeps its size for as long as the box lives.
    ShownCanvas(TPaintBox &box, ImageCanvas &target)
        : m_box(box), m_target(target), m_surface(0, 0, target.Width(), target.Height()), m_bound(m_surface)
    {
    }
    int Width() const override { return m_surface.width(); }
    int Height() const override { return m_surface.height(); }
    TColor PenColor() const override { return m_target.PenColor(); }
    void SetPenColor(TColor colour) override { m_target.SetPenColor(colour); }
    TColor BrushColor() const override { return m_target.BrushColor(); }
    void MoveTo(int x, int y) override { m_target.MoveTo(x, y); }
    void LineTo(int x, int y) override
    {
        const TPixel from = m_target.PenPos();
        m_target.LineTo(x, y);
        Changed(std::min(from.x, x), std::min(from.y, y), std::max(from.x, x), std::max(from.y, y));
    }
    TPixel PenPos() const override { return m_target.PenPos(); }
    void FillRect(int l, int t, int r, int b) override
    {
        m_target.FillRect(l, t, r, b);
        Changed(l, t, r - 1, b - 1);
    }
    void Ellipse(int l, int t, int r, int b) override
    {
        m_target.Ellipse(l, t, r, b);
        // The outline may reach one pixel past the box.
        Changed(l, t, r, b);
    }
    uint64_t Revision() const override { return m_target.Revision(); }
    bool SetClip(int l, int t, int r, int b) override
    {
        if (!m_target.SetClip(l, t, r, b))
            return false;
        m_bound = QRect(QPoint(l, t), QPoint(r - 1, b - 1)) & m_surface;
        return true;
    }
    void ClearClip() override
    {
        m_target.ClearClip();
        m_bound = m_surface;
    }

private:
    /// Asks for the pixels from (left, top) to (right, bottom), both inside,
    /// to be shown. Until the paint that shows them, one request covers every
    /// primitive drawn inside the part already asked for: a figure is some
    /// thirty of them, the first of them the clearing of the whole (or of the
    /// clip's part). It runs for every primitive, so it compares plain
    /// numbers rather than calling Qt's rectangle operations.
    void Changed(int left, int top, int right, int bottom)
    {
        left = std::max(left, m_bound.left());
        top = std::max(top, m_bound.top());
        right = std::min(right, m_bound.right());
        bottom = std::min(bottom, m_bound.bottom());
        if (left > right || top > bottom)
            return;
        QRect &requested = m_box.m_requested;
        if (!requested.isEmpty() && requested.left() <= left && requested.top() <= top && requested.right() >= right
            && requested.bottom() >= bottom)
            return;
        requested |= QRect(QPoint(left, top), QPoint(right, bottom));
        const int z = m_box.m_zoom;
        m_box.update(QRect(left * z, top * z, (right - left + 1) * z, (bottom - top + 1) * z));
    }
    TPaintBox &m_box;
    ImageCanvas &m_target;
    const QRect m_surface;
    QRect m_bound;  // what may be drawn on: the surface, or its part in the clip
};

TPaintBox::TPaintBox(int width, int height, QWidget *parent)
    : QWidget(parent)
{
    m_image = std::make_unique<ImageCanvas>(width, height, PreviewBackground(palette().color(QPalette::Window)));
    m_canvas = std::make_unique<ShownCanvas>(*this, *m_image);
    setFixedSize(width, height);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoMousePropagation);
}

TPaintBox::~TPaintBox() = default;

Canvas &TPaintBox::Surface()
{
    return *m_canvas;
}

const QImage &TPaintBox::Picture() const
{
    return std::as_const(*m_image).image();
}

void TPaintBox::Expose()
{
    m_image->image().fill(ToQColor(m_image->BrushColor()));
    RunGuarded(OnPaint);
    update();
}

void TPaintBox::SetZoom(int zoom)
{
    m_zoom = zoom;
    setFixedSize(m_image->Width() * zoom, m_image->Height() * zoom);
    update();
}

void TPaintBox::paintEvent(QPaintEvent *)
{
    if (m_requested.isEmpty()) {
        // What the paint handler draws is shown by this very paint: it must
        // not ask for another one, or the surface would repaint for ever.
        m_requested = m_image->image().rect();
        m_image->image().fill(ToQColor(m_image->BrushColor()));
        RunGuarded(OnPaint);
    }
    m_requested = QRect();
    QPainter painter(this);
    PaintZoomed(painter, Picture(), m_zoom);
}

namespace {

/// The image painter draws into when its pixels can be written straight:
/// 32-bit opaque-compatible pixels, no scaling or clip of the painter's own,
/// plain opaque drawing. offset is where the painter's origin falls on it.
QImage *DirectTarget(QPainter &painter, QPoint &offset)
{
    QPaintEngine *engine = painter.paintEngine();
    if (!engine || engine->type() != QPaintEngine::Raster || !engine->paintDevice() ||
        engine->paintDevice()->devType() != QInternal::Image)
        return nullptr;
    auto *image = static_cast<QImage *>(engine->paintDevice());
    const QImage::Format format = image->format();
    if ((format != QImage::Format_RGB32 && format != QImage::Format_ARGB32_Premultiplied) ||
        image->devicePixelRatio() != 1.0 || !image->isDetached())
        return nullptr;
    const QTransform transform = painter.deviceTransform();
    if (transform.type() > QTransform::TxTranslate || transform.dx() != std::floor(transform.dx()) ||
        transform.dy() != std::floor(transform.dy()))
        return nullptr;
    if (painter.hasClipping() || painter.opacity() != 1.0 ||
        (painter.compositionMode() != QPainter::CompositionMode_SourceOver &&
         painter.compositionMode() != QPainter::CompositionMode_Source))
        return nullptr;
    offset = QPoint(static_cast<int>(transform.dx()), static_cast<int>(transform.dy()));
    return image;
}

/// Writes each of count pixels zoom times over; a zoom known when compiling
/// lets the compiler unroll the repeats.
template <int Zoom>
QRgb *RepeatPixels(QRgb *to, const QRgb *from, int count, int zoom = Zoom)
{
    for (int x = 0; x < count; ++x) {
        const QRgb pixel = from[x];
        for (int i = 0; i < (Zoom > 0 ? Zoom : zoom); ++i)
            *to++ = pixel;
    }
    return to;
}

/// Row y of the zoomed picture from left to right (inclusive), the
/// picture's own x 0 at column 0.
void ZoomedRow(QRgb *to, const QRgb *from, int zoom, int left, int right)
{
    int x = left / zoom;
    // A part-block at either end, whole blocks between.
    const int head = std::min(right + 1, (x + 1) * zoom) - left;
    if (left % zoom != 0) {
        to = std::fill_n(to, head, from[x++]);
        left += head;
    }
    const int whole = (right + 1) / zoom - x;
    if (whole > 0) {
        switch (zoom) {
        case 2: to = RepeatPixels<2>(to, from + x, whole); break;
        case 3: to = RepeatPixels<3>(to, from + x, whole); break;
        default: to = RepeatPixels<0>(to, from + x, whole, zoom); break;
        }
        x += whole;
        left += whole * zoom;
    }
    if (left <= right)
        std::fill_n(to, right + 1 - left, from[x]);
}

/// Repeats the pixels of source into the part of target that box covers,
/// the zoomed picture's origin at offset.
void ExpandInto(QImage &target, QPoint offset, const QImage &source, int zoom, const QRect &box)
{
    const qsizetype stride = target.bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb));
    auto *out = reinterpret_cast<QRgb *>(target.bits());
    for (int y = box.top(); y <= box.bottom();) {
        const int sourceY = (y - offset.y()) / zoom;
        const int last = std::min(box.bottom(), offset.y() + sourceY * zoom + zoom - 1);
        QRgb *row = out + y * stride + box.left();
        ZoomedRow(row, reinterpret_cast<const QRgb *>(source.constScanLine(sourceY)), zoom,
                  box.left() - offset.x(), box.right() - offset.x());
        // The other rows of this row of blocks are copies of the first.
        for (int copy = y + 1; copy <= last; ++copy)
            std::memcpy(out + copy * stride + box.left(), row, static_cast<size_t>(box.width()) * sizeof(QRgb));
        y = last + 1;
    }
}

} // namespace

void PaintZoomed(QPainter &painter, const QImage &picture, int zoom)
{
    if (zoom == 1) {
        painter.drawImage(0, 0, picture);
        return;
    }
    // Qt's general scaling costs some fifteen fills of the larger surface;
    // repeating each pixel and then each row costs about one. Where the
    // painter draws into an image (the window's backing store), the pixels
    // go straight there, inside the part of it the paint may touch.
    const QImage source = picture.convertToFormat(QImage::Format_RGB32);
    const QSize size(source.width() * zoom, source.height() * zoom);
    QPoint offset;
    if (QImage *target = DirectTarget(painter, offset)) {
        QRegion region = QRegion(QRect(offset, size)) & target->rect();
        if (const QRegion allowed = painter.paintEngine()->systemClip(); !allowed.isEmpty())
            region &= allowed;
        for (const QRect &box : region)
            ExpandInto(*target, offset, source, zoom, box);
        return;
    }
    thread_local QImage zoomed;
    if (zoomed.size() != size)
        zoomed = QImage(size, QImage::Format_RGB32);
    ExpandInto(zoomed, QPoint(0, 0), source, zoom, zoomed.rect());
    painter.drawImage(0, 0, zoomed);
}

TColor PreviewBackground(const QColor &face)
{
    // Relative luminance of the sRGB colour (WCAG 2).
    const auto linear = [](double c) { return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    const double luminance =
        0.2126 * linear(face.redF()) + 0.7152 * linear(face.greenF()) + 0.0722 * linear(face.blueF());
    return luminance < 0.5 ? clPreviewBackground : FromQColor(face);
}

TShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons)
{
    TShiftState s;
    s.shift = modifiers & Qt::ShiftModifier;
    s.ctrl = modifiers & Qt::ControlModifier;
    s.alt = modifiers & Qt::AltModifier;
    s.left = buttons & Qt::LeftButton;
    s.right = buttons & Qt::RightButton;
    s.middle = buttons & Qt::MiddleButton;
    return s;
}

namespace {
TMouseButton ButtonOf(Qt::MouseButton b)
{
    return b == Qt::RightButton ? TMouseButton::Right : b == Qt::MiddleButton ? TMouseButton::Middle : TMouseButton::Left;
}
int FloorDiv(int a, int b)
{
    return a / b - (a % b < 0 ? 1 : 0);
}
} // namespace

QPoint TPaintBox::Where(const QMouseEvent *e) const
{
    // The surface's pixel under the pointer, also left of or above the box.
    const QPoint p = e->position().toPoint();
    return {FloorDiv(p.x(), m_zoom), FloorDiv(p.y(), m_zoom)};
}

void TPaintBox::mousePressEvent(QMouseEvent *e)
{
    const QPoint p = Where(e);
    const auto shift = ShiftStateOf(e->modifiers(), e->buttons());
    RunGuarded([&] {
        if (OnMouseDown)
            OnMouseDown(ButtonOf(e->button()), shift, p.x(), p.y());
    });
}

void TPaintBox::mouseMoveEvent(QMouseEvent *e)
{
    const QPoint p = Where(e);
    const auto shift = ShiftStateOf(e->modifiers(), e->buttons());
    RunGuarded([&] {
        if (OnMouseMove)
            OnMouseMove(shift, p.x(), p.y());
    });
}

void TPaintBox::mouseReleaseEvent(QMouseEvent *e)
{
    const QPoint p = Where(e);
    const auto shift = ShiftStateOf(e->modifiers(), e->buttons());
    RunGuarded([&] {
        if (OnMouseUp)
            OnMouseUp(ButtonOf(e->button()), shift, p.x(), p.y());
    });
}

} // namespace hoofer::toolkit
