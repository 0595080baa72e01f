#include "paint_box.h"

#include "guard.h"
#include "view/image_canvas.h"

#include <QMouseEvent>
#include <QWheelEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
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
    void Clear() override
    {
        m_target.Clear();
        Changed(0, 0, Width() - 1, Height() - 1);
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
    /// clip's part).
    void Changed(int left, int top, int right, int bottom)
    {
        const QRect changed = QRect(QPoint(left, top), QPoint(right, bottom)) & m_bound;
        QRect &requested = m_box.m_requested;
        if (changed.isEmpty() || requested.contains(changed))
            return;
        requested |= changed;
        const int z = m_box.m_zoom;
        m_box.update(QRect(changed.topLeft() * z, changed.size() * z));
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
    m_image->Clear();
    RunGuarded(OnPaint);
    update();
}

void TPaintBox::SetBackdrop(QImage backdrop, QImage shown)
{
    m_backdrop = backdrop;
    m_shownBackdrop = std::move(shown);
    m_image->SetBackdrop(std::move(backdrop));
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
        m_image->Clear();
        RunGuarded(OnPaint);
    }
    m_requested = QRect();
    QPainter painter(this);
    if (m_zoom == 1 || m_shownBackdrop.size() != size() || m_backdrop.size() != Picture().size()) {
        PaintZoomed(painter, Picture(), m_zoom);
        return;
    }
    // The fine backdrop, then the blocks of every pixel the drawing changed.
    painter.drawImage(0, 0, m_shownBackdrop);
    PaintZoomed(painter, DrawnOver(Picture(), m_backdrop), m_zoom);
}

QImage DrawnOver(const QImage &picture, const QImage &backdrop)
{
    QImage drawn = picture.convertToFormat(QImage::Format_ARGB32);
    const QImage under = backdrop.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < drawn.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(drawn.scanLine(y));
        const auto *behind = reinterpret_cast<const QRgb *>(under.constScanLine(y));
        for (int x = 0; x < drawn.width(); ++x)
            if ((row[x] | 0xFF000000) == (behind[x] | 0xFF000000))
                row[x] = 0;
    }
    return drawn;
}

void PaintZoomed(QPainter &painter, const QImage &picture, int zoom)
{
    // Scaled without smoothing, every pixel becomes a block of one colour.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(QRect(0, 0, picture.width() * zoom, picture.height() * zoom), picture);
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

void TPaintBox::wheelEvent(QWheelEvent *e)
{
    // A notch is 120; a touchpad sends less at a time, and is added up.
    m_wheel += e->angleDelta().y();
    const int notches = m_wheel / 120;
    m_wheel -= notches * 120;
    if (notches != 0 && OnWheel)
        RunGuarded([&] { OnWheel(notches); });
    e->accept();
}

} // namespace hoofer::toolkit
