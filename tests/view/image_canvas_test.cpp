// The raster canvas writes what lies wholly on the surface straight into its
// image; every picture must stay exactly the one Qt's painter draws. The
// reference below is the painter alone, one painter per primitive.
#include "view/figure_drawing.h"
#include "view/image_canvas.h"

#include <gtest/gtest.h>

#include <QPainter>

#include <functional>
#include <random>

using namespace hoofer;

namespace {

/// The reference: Qt's painter alone, one painter per primitive.
class PainterCanvas : public Canvas {
public:
    QImage image{kPreviewWidth, kPreviewHeight, QImage::Format_RGB32};
    PainterCanvas() { image.fill(ToQColor(clPreviewBackground)); }
    int Width() const override { return image.width(); }
    int Height() const override { return image.height(); }
    TColor PenColor() const override { return m_pen; }
    void SetPenColor(TColor colour) override { m_pen = colour; }
    TColor BrushColor() const override { return clPreviewBackground; }
    void MoveTo(int x, int y) override { m_penPos = {x, y}; }
    TPixel PenPos() const override { return m_penPos; }
    void LineTo(int x, int y) override
    {
        Paint([&](QPainter &p) { p.drawLine(m_penPos.x, m_penPos.y, x, y); });
        m_penPos = {x, y};
    }
    void FillRect(int left, int top, int right, int bottom) override
    {
        if (right <= left || bottom <= top)
            return;
        const QRect box(QPoint(left, top), QPoint(right - 1, bottom - 1));
        Paint([&](QPainter &p) {
            p.fillRect(box, ToQColor(BrushColor()));
            p.setPen(ToQColor(m_pen));
            p.drawRect(box.adjusted(0, 0, -1, -1));
        });
    }
    void Ellipse(int left, int top, int right, int bottom) override
    {
        if (right > left && bottom > top)
            Paint([&](QPainter &p) { p.drawEllipse(QRect(left, top, right - left - 1, bottom - top - 1)); });
    }

private:
    void Paint(const std::function<void(QPainter &)> &draw)
    {
        QPainter painter(&image);
        painter.setPen(QPen(ToQColor(m_pen), 0));
        painter.setBrush(ToQColor(BrushColor()));
        draw(painter);
    }
    TColor m_pen = 0;
    TPixel m_penPos;
};

/// Both canvases side by side; Same() compares a region and clears it again.
struct Pair {
    ImageCanvas fast{kPreviewWidth, kPreviewHeight, clPreviewBackground};
    PainterCanvas painted;

    void Both(const std::function<void(Canvas &)> &draw) { draw(fast), draw(painted); }
    std::string Same(QRect region)
    {
        region &= fast.image().rect();
        std::string difference;
        for (int y = region.top(); y <= region.bottom() && difference.empty(); ++y)
            for (int x = region.left(); x <= region.right() && difference.empty(); ++x)
                if (fast.image().pixel(x, y) != painted.image.pixel(x, y))
                    difference = "pixel " + std::to_string(x) + "," + std::to_string(y);
        for (QImage *image : {&fast.image(), &painted.image})
            QPainter(image).fillRect(region, ToQColor(clPreviewBackground));
        return difference;
    }
};

/// One primitive: a line from (x1, y1) to (x2, y2), or a box or an ellipse
/// with those corners (right and bottom outside).
struct Shape {
    char kind;  // 'L', 'B', 'E'
    int x1, y1, x2, y2;
    TColor pen;
};

/// Lines in every direction, whole rows and columns, long and stray lines.
std::vector<Shape> Lines()
{
    std::vector<Shape> shapes;
    for (const TPixel s : {TPixel{0, 0}, TPixel{128, 148}, TPixel{255, 295}, TPixel{37, 211}, TPixel{250, 3}})
        for (int dx = -48; dx <= 48; ++dx)
            for (int dy = -48; dy <= 48; ++dy)
                shapes.push_back({'L', s.x, s.y, s.x + dx, s.y + dy, clBlack});
    const int right = kPreviewWidth - 1, bottom = kPreviewHeight - 1;
    for (const int y : {0, 20, 147, bottom - 19, bottom})
        shapes.insert(shapes.end(), {{'L', 0, y, right, y, clSilver}, {'L', right, y, 0, y, clSilver}});
    for (const int x : {0, 1, 128, right - 1, right})
        shapes.insert(shapes.end(), {{'L', x, 0, x, bottom, clYellow}, {'L', x, bottom, x, 0, clYellow}});
    std::mt19937 random(9);
    std::uniform_int_distribution<int> x(-60, kPreviewWidth + 60), y(-60, kPreviewHeight + 60);
    for (int i = 0; i < 6000; ++i)
        shapes.push_back({'L', x(random), y(random), x(random), y(random), i % 2 ? clYellow : clSilver});
    return shapes;
}

/// Boxes and ellipses of every small size, rings and heads at every place.
std::vector<Shape> BoxesAndEllipses()
{
    std::vector<Shape> shapes;
    for (int w = 1; w <= 40; ++w)
        for (int h = 1; h <= 40; ++h)
            for (const TPixel at : {TPixel{0, 0}, TPixel{100, 120}, TPixel{kPreviewWidth - w, kPreviewHeight - h},
                                    TPixel{-3, 50}, TPixel{240, 290}})
                for (const char kind : {'B', 'E'})
                    shapes.push_back({kind, at.x, at.y, at.x + w, at.y + h,
                                      kind == 'B' && (w + h) % 2 == 0 ? clPreviewBackground : clBlack});
    shapes.push_back({'B', 0, 0, kPreviewWidth, kPreviewHeight, clYellow});
    for (const int size : {4, 20})
        for (int top = -size; top <= kPreviewHeight; ++top)
            for (int left = -size; left <= kPreviewWidth; ++left)
                shapes.push_back({'E', left, top, left + size, top + size, clYellow});
    return shapes;
}

void ExpectThePaintersOwn(const std::vector<Shape> &shapes)
{
    Pair pair;
    for (const Shape &s : shapes) {
        pair.Both([&](Canvas &c) {
            c.SetPenColor(s.pen);
            if (s.kind == 'L')
                c.MoveTo(s.x1, s.y1), c.LineTo(s.x2, s.y2);
            else if (s.kind == 'B')
                c.FillRect(s.x1, s.y1, s.x2, s.y2);
            else
                c.Ellipse(s.x1, s.y1, s.x2, s.y2);
        });
        const QRect around = QRect(QPoint(std::min(s.x1, s.x2), std::min(s.y1, s.y2)),
                                   QPoint(std::max(s.x1, s.x2), std::max(s.y1, s.y2)));
        ASSERT_EQ(pair.Same(around.adjusted(-3, -3, 3, 3)), "")
            << s.kind << " " << s.x1 << "," << s.y1 << " " << s.x2 << "," << s.y2;
    }
}

} // namespace

TEST(ImageCanvasPixels, LinesAreThePaintersOwn) { ExpectThePaintersOwn(Lines()); }
TEST(ImageCanvasPixels, BoxesAndEllipsesAreThePaintersOwn) { ExpectThePaintersOwn(BoxesAndEllipses()); }

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
