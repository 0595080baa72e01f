#include "paint_box.h"

#include "guard.h"
#include "view/image_canvas.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace hoofer::toolkit {

/// Forwards every primitive to the image and asks Qt to show the image.
class TPaintBox::ShownCanvas : public Canvas {
public:
    ShownCanvas(TPaintBox &box, Canvas &target) : m_box(box), m_target(target) {}
    int Width() const override { return m_target.Width(); }
    int Height() const override { return m_target.Height(); }
    TColor PenColor() const override { return m_target.PenColor(); }
    void SetPenColor(TColor colour) override { m_target.SetPenColor(colour); }
    TColor BrushColor() const override { return m_target.BrushColor(); }
    void MoveTo(int x, int y) override { m_target.MoveTo(x, y); }
    void LineTo(int x, int y) override
    {
        m_target.LineTo(x, y);
        Changed();
    }
    TPixel PenPos() const override { return m_target.PenPos(); }
    void FillRect(int l, int t, int r, int b) override
    {
        m_target.FillRect(l, t, r, b);
        Changed();
    }
    void Ellipse(int l, int t, int r, int b) override
    {
        m_target.Ellipse(l, t, r, b);
        Changed();
    }

private:
    void Changed()
    {
        // Until the paint that shows it, one request covers every primitive
        // drawn since: a figure is some thirty of them.
        if (m_box.m_drawnByProgram)
            return;
        m_box.m_drawnByProgram = true;
        m_box.update();
    }
    TPaintBox &m_box;
    Canvas &m_target;
};

TPaintBox::TPaintBox(int width, int height, QWidget *parent)
    : QWidget(parent)
{
    m_image = std::make_unique<ImageCanvas>(width, height, PreviewBackground(palette().color(QPalette::Window)));
    m_canvas = std::make_unique<ShownCanvas>(*this, *m_image);
    setFixedSize(width, height);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

TPaintBox::~TPaintBox() = default;

Canvas &TPaintBox::Surface()
{
    return *m_canvas;
}

const QImage &TPaintBox::Picture() const
{
    return m_image->image();
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
    if (!m_drawnByProgram) {
        // What the paint handler draws is shown by this very paint: it must
        // not ask for another one, or the surface would repaint for ever.
        m_drawnByProgram = true;
        m_image->image().fill(ToQColor(m_image->BrushColor()));
        RunGuarded(OnPaint);
    }
    m_drawnByProgram = false;
    QPainter painter(this);
    PaintZoomed(painter, m_image->image(), m_zoom);
}

void PaintZoomed(QPainter &painter, const QImage &picture, int zoom)
{
    if (zoom == 1) {
        painter.drawImage(0, 0, picture);
        return;
    }
    // Qt's general scaling costs some fifteen fills of the larger surface;
    // repeating each pixel and then each row costs about one.
    thread_local QImage zoomed;
    const QImage source = picture.convertToFormat(QImage::Format_RGB32);
    const QSize size(source.width() * zoom, source.height() * zoom);
    if (zoomed.size() != size)
        zoomed = QImage(size, QImage::Format_RGB32);
    const int width = source.width(), height = source.height();
    const qsizetype stride = zoomed.bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb));
    auto *out = reinterpret_cast<QRgb *>(zoomed.bits());
    for (int y = 0; y < height; ++y) {
        const auto *from = reinterpret_cast<const QRgb *>(source.constScanLine(y));
        QRgb *row = out + y * zoom * stride;
        for (int x = 0; x < width; ++x)
            for (int i = 0; i < zoom; ++i)
                row[x * zoom + i] = from[x];
        for (int copy = 1; copy < zoom; ++copy)
            std::memcpy(row + copy * stride, row, static_cast<size_t>(size.width()) * sizeof(QRgb));
    }
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
