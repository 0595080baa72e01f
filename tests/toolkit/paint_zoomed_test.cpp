#include "toolkit/paint_box.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <QWidget>

using namespace hoofer::toolkit;

namespace {

/// A picture whose every pixel differs from its neighbours.
QImage Picture()
{
    QImage picture(7, 5, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, qRgb(30 * x, 40 * y, 5 * x + 7 * y));
    return picture;
}

constexpr QRgb kUntouched = 0xff123456;

/// What a zoomed paint at offset, allowed into region only, leaves on a
/// surface of size filled with kUntouched.
QImage Expected(QSize size, QPoint offset, int zoom, const QRegion &region)
{
    const QImage picture = Picture();
    QImage expected(size, QImage::Format_ARGB32_Premultiplied);
    expected.fill(kUntouched);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
            const QPoint at = QPoint(x, y) - offset;
            if (region.contains(QPoint(x, y)) && QRect(QPoint(), picture.size() * zoom).contains(at))
                expected.setPixel(x, y, picture.pixel(at.x() / zoom, at.y() / zoom));
        }
    return expected;
}

struct ZoomedWidget : QWidget {
    explicit ZoomedWidget(int zoom) : zoom(zoom) { setAttribute(Qt::WA_OpaquePaintEvent); }
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        PaintZoomed(painter, Picture(), zoom);
    }
    int zoom;
};

} // namespace

TEST(PaintZoomed, EveryPixelIsAZoomByZoomBlockOnlyWhereThePaintMayDraw)
{
    const QSize size(30, 22);
    for (const int zoom : {2, 3, 4}) {
        // Into an image, the painter moved by a whole pixel offset, as into the window's backing store.
        QImage surface(size, QImage::Format_ARGB32_Premultiplied);
        surface.fill(kUntouched);
        QPainter painter(&surface);
        painter.translate(3, 2);
        PaintZoomed(painter, Picture(), zoom);
        painter.end();
        EXPECT_EQ(surface, Expected(size, {3, 2}, zoom, QRegion(QRect(QPoint(), size)))) << "zoom " << zoom;

        // A widget rendered in parts: blocks cut at every edge of the parts.
        ZoomedWidget widget(zoom);
        widget.resize(size);
        surface.fill(kUntouched);
        const QRegion parts = QRegion(1, 1, 8, 5) | QRegion(4, 7, 11, 9);
        widget.render(&surface, QPoint(2, 1), parts, {});
        // The parts' bounding corner (1, 1) lands on the target offset (2, 1).
        EXPECT_EQ(surface, Expected(size, {1, 0}, zoom, parts.translated(1, 0))) << "zoom " << zoom << ", in parts";
    }
}
