// The raster canvas writes what lies wholly on the surface straight into its
// image; every picture must stay exactly the one Qt's painter draws. The
// reference below is the painter alone, one painter per primitive.
#include "view/figure_drawing.h"
#include "view/image_canvas.h"

#include <gtest/gtest.h>

#include <QPainter>

#include <random>

using namespace hoofer;

namespace {

class PainterCanvas : public Canvas {
public:
    PainterCanvas(int width, int height, TColor background)
        : m_image(width, height, QImage::Format_RGB32), m_brush(background)
    {
        m_image.fill(ToQColor(background));
    }
    QImage &image() { return m_image; }
    int Width() const override { return m_image.width(); }
    int Height() const override { return m_image.height(); }
    TColor PenColor() const override { return m_pen; }
    void SetPenColor(TColor colour) override { m_pen = colour; }
    TColor BrushColor() const override { return m_brush; }
    void MoveTo(int x, int y) override { m_penPos = {x, y}; }
    TPixel PenPos() const override { return m_penPos; }
    void LineTo(int x, int y) override
    {
        QPainter painter(&m_image);
        Prepare(painter);
        painter.drawLine(m_penPos.x, m_penPos.y, x, y);
        m_penPos = {x, y};
    }
    void FillRect(int left, int top, int right, int bottom) override
    {
        if (right <= left || bottom <= top)
            return;
        QPainter painter(&m_image);
        const QRect box(QPoint(left, top), QPoint(right - 1, bottom - 1));
        painter.fillRect(box, ToQColor(m_brush));
        painter.setPen(ToQColor(m_pen));
        painter.drawRect(box.adjusted(0, 0, -1, -1));
    }
    void Ellipse(int left, int top, int right, int bottom) override
    {
        if (right <= left || bottom <= top)
            return;
        QPainter painter(&m_image);
        Prepare(painter);
        painter.drawEllipse(QRect(left, top, right - left - 1, bottom - top - 1));
    }

private:
    void Prepare(QPainter &painter) const
    {
        painter.setRenderHint(QPainter::Antialiasing, false);
        QPen pen(ToQColor(m_pen));
        pen.setWidth(0);
        painter.setPen(pen);
        painter.setBrush(ToQColor(m_brush));
    }
    QImage m_image;
    TColor m_pen = 0;
    TColor m_brush;
    TPixel m_penPos;
};

/// Both canvases side by side; Same() compares a region and clears it again.
struct Pair {
    ImageCanvas fast{kPreviewWidth, kPreviewHeight, clPreviewBackground};
    PainterCanvas painted{kPreviewWidth, kPreviewHeight, clPreviewBackground};

    template <typename Draw>
    void Both(Draw draw)
    {
        draw(static_cast<Canvas &>(fast));
        draw(static_cast<Canvas &>(painted));
    }
    std::string Same(QRect region)
    {
        region &= fast.image().rect();
        std::string difference;
        for (int y = region.top(); y <= region.bottom() && difference.empty(); ++y)
            for (int x = region.left(); x <= region.right(); ++x)
                if (fast.image().pixel(x, y) != painted.image().pixel(x, y)) {
                    difference = "pixel " + std::to_string(x) + "," + std::to_string(y);
                    break;
                }
        const QColor background = ToQColor(clPreviewBackground);
        for (QImage *image : {&fast.image(), &painted.image()}) {
            QPainter painter(image);
            painter.fillRect(region, background);
        }
        return difference;
    }
};

QRect Around(int x1, int y1, int x2, int y2)
{
    return QRect(QPoint(std::min(x1, x2), std::min(y1, y2)), QPoint(std::max(x1, x2), std::max(y1, y2)))
        .adjusted(-3, -3, 3, 3);
}

} // namespace

TEST(ImageCanvasPixels, LinesInEveryDirectionAreThePaintersOwn)
{
    Pair pair;
    const TPixel starts[] = {{0, 0}, {128, 148}, {255, 295}, {37, 211}, {250, 3}};
    for (const TPixel s : starts)
        for (int dx = -48; dx <= 48; ++dx)
            for (int dy = -48; dy <= 48; ++dy) {
                const int x2 = s.x + dx, y2 = s.y + dy;
                pair.Both([&](Canvas &c) {
                    c.SetPenColor(clBlack);
                    c.MoveTo(s.x, s.y);
                    c.LineTo(x2, y2);
                });
                ASSERT_EQ(pair.Same(Around(s.x, s.y, x2, y2)), "")
                    << s.x << "," << s.y << " to " << x2 << "," << y2;
            }
}

TEST(ImageCanvasPixels, WholeRowsAndColumnsAreThePaintersOwnEitherWay)
{
    Pair pair;
    const int right = kPreviewWidth - 1, bottom = kPreviewHeight - 1;
    for (const int y : {0, 20, 147, bottom - 19, bottom})
        for (const bool back : {false, true})
            pair.Both([&](Canvas &c) {
                c.SetPenColor(clSilver);
                c.MoveTo(back ? right : 0, y);
                c.LineTo(back ? 0 : right, y);
            });
    for (const int x : {0, 1, 128, right - 1, right})
        for (const bool back : {false, true})
            pair.Both([&](Canvas &c) {
                c.SetPenColor(clYellow);
                c.MoveTo(x, back ? bottom : 0);
                c.LineTo(x, back ? 0 : bottom);
            });
    ASSERT_EQ(pair.Same(QRect(0, 0, kPreviewWidth, kPreviewHeight)), "");
}

TEST(ImageCanvasPixels, LongAndStrayLinesAreThePaintersOwn)
{
    Pair pair;
    std::mt19937 random(9);
    std::uniform_int_distribution<int> x(-60, kPreviewWidth + 60), y(-60, kPreviewHeight + 60);
    for (int i = 0; i < 6000; ++i) {
        const int x1 = x(random), y1 = y(random), x2 = x(random), y2 = y(random);
        pair.Both([&](Canvas &c) {
            c.SetPenColor(i % 2 ? clYellow : clSilver);
            c.MoveTo(x1, y1);
            c.LineTo(x2, y2);
        });
        ASSERT_EQ(pair.Same(Around(x1, y1, x2, y2)), "") << x1 << "," << y1 << " to " << x2 << "," << y2;
    }
}

TEST(ImageCanvasPixels, BoxesAreThePaintersOwn)
{
    Pair pair;
    for (int w = 1; w <= 40; ++w)
        for (int h = 1; h <= 40; ++h)
            for (const TPixel at : {TPixel{0, 0}, TPixel{100, 120}, TPixel{kPreviewWidth - w, kPreviewHeight - h},
                                    TPixel{-3, 50}, TPixel{240, 290}}) {
                pair.Both([&](Canvas &c) {
                    c.SetPenColor((w + h) % 2 ? clBlack : c.BrushColor());
                    c.FillRect(at.x, at.y, at.x + w, at.y + h);
                });
                ASSERT_EQ(pair.Same(Around(at.x, at.y, at.x + w, at.y + h)), "")
                    << w << "x" << h << " at " << at.x << "," << at.y;
            }
    pair.Both([](Canvas &c) {
        c.SetPenColor(clYellow);
        c.FillRect(0, 0, c.Width(), c.Height());
    });
    ASSERT_EQ(pair.Same(QRect(0, 0, kPreviewWidth, kPreviewHeight)), "");
}

TEST(ImageCanvasPixels, EllipsesOfEverySmallSizeAreThePaintersOwn)
{
    Pair pair;
    for (int w = 1; w <= 36; ++w)
        for (int h = 1; h <= 36; ++h)
            for (const TPixel at : {TPixel{0, 0}, TPixel{101, 77}, TPixel{kPreviewWidth - w, kPreviewHeight - h},
                                    TPixel{-2, 7}, TPixel{250, 290}}) {
                pair.Both([&](Canvas &c) {
                    c.SetPenColor(clBlack);
                    c.Ellipse(at.x, at.y, at.x + w, at.y + h);
                });
                ASSERT_EQ(pair.Same(Around(at.x, at.y, at.x + w, at.y + h)), "")
                    << w << "x" << h << " at " << at.x << "," << at.y;
            }
}

TEST(ImageCanvasPixels, RingsAndHeadsAreThePaintersOwnEverywhere)
{
    Pair pair;
    for (const int size : {4, 20})
        for (int top = -size; top <= kPreviewHeight; ++top)
            for (int left = -size; left <= kPreviewWidth; ++left) {
                pair.Both([&](Canvas &c) {
                    c.SetPenColor(clYellow);
                    c.Ellipse(left, top, left + size, top + size);
                });
                ASSERT_EQ(pair.Same(Around(left, top, left + size, top + size)), "")
                    << size << " at " << left << "," << top;
            }
}

TEST(ImageCanvasPixels, FiguresAreThePaintersOwn)
{
    Pair pair;
    std::mt19937 random(17);
    std::uniform_int_distribution<int> coordinate(-30, 285), part(-1, kPartCount - 1);
    for (int i = 0; i < 400; ++i) {
        THFFrame frame;
        for (auto &p : frame.Points)
            p = {coordinate(random), coordinate(random)};
        const int selected = part(random);
        pair.Both([&](Canvas &c) {
            if (i % 2)
                DrawKeyFrame(c, frame, selected);
            else
                DrawPlainPose(c, FramePixels(frame));
        });
        ASSERT_EQ(pair.Same(QRect(0, 0, kPreviewWidth, kPreviewHeight)), "") << "figure " << i;
    }
}
