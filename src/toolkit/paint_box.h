#pragma once

#include "view/canvas.h"

#include <QImage>
#include <QWidget>
#include <functional>
#include <memory>

namespace hoofer {
class ImageCanvas;
}

class QPainter;

namespace hoofer::toolkit {

/// Which keys and mouse buttons were down with a mouse event.
struct TShiftState {
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
    bool left = false;
    bool right = false;
    bool middle = false;
};

enum class TMouseButton { Left, Right, Middle };

/// The preview's paint surface. Drawing through Canvas() goes onto the
/// surface and is shown at once, without running the paint handler; only a
/// repaint from the window system (an expose) erases the surface to the
/// background colour and runs OnPaint. While a button is held the surface
/// keeps getting the mouse, so positions can be negative or beyond its edges.
/// At a zoom of z every pixel of the surface shows as a z by z block and the
/// mouse positions are those of the surface's pixels under the pointer.
class TPaintBox : public QWidget {
public:
    TPaintBox(int width, int height, QWidget *parent = nullptr);
    ~TPaintBox() override;

    /// The box grows to z times the surface; the surface keeps its size.
    void SetZoom(int zoom);
    int Zoom() const { return m_zoom; }

    Canvas &Surface();
    /// What a clearing of the surface shows from the next drawing on: a
    /// picture of the surface's size, or the background when it is null.
    /// At a zoom above 1, `shown` (the backdrop drawn at the box's size) is
    /// shown instead of the blocks of the surface's backdrop pixels, so a
    /// picture in it keeps its finer detail; the drawing over it stays blocks.
    void SetBackdrop(QImage backdrop, QImage shown = {});
    const QImage &Picture() const;
    /// What the window system does when it uncovers the surface.
    void Expose();

    std::function<void()> OnPaint;
    std::function<void(TMouseButton, TShiftState, int, int)> OnMouseDown;
    std::function<void(TShiftState, int, int)> OnMouseMove;
    std::function<void(TMouseButton, TShiftState, int, int)> OnMouseUp;
    /// The wheel turned over the box: notches away from the user positive.
    std::function<void(int notches)> OnWheel;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    class ShownCanvas;
    QPoint Where(const QMouseEvent *event) const;
    std::unique_ptr<ImageCanvas> m_image;
    std::unique_ptr<ShownCanvas> m_canvas;
    /// The part of the surface drawn on since the last paint, and so due
    /// for showing; empty when a paint comes from the window system.
    QRect m_requested;
    int m_zoom = 1;
    QImage m_backdrop, m_shownBackdrop;
    int m_wheel = 0;  // eighths of a degree not yet a whole notch
};

/// The picture with every pixel the same as the backdrop's made transparent:
/// what was drawn over the backdrop.
QImage DrawnOver(const QImage &picture, const QImage &backdrop);

/// Draws picture at the painter's origin with every pixel a zoom by zoom
/// block, as the paint box shows its surface.
void PaintZoomed(QPainter &painter, const QImage &picture, int zoom);

/// The preview's background: the window's face colour, or light grey
/// (212, 208, 200) where the face is dark (relative luminance below 0.5),
/// since the figure is drawn in black.
TColor PreviewBackground(const QColor &face);

TShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons);

} // namespace hoofer::toolkit
