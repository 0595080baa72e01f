#include "view/image_canvas.h"

#include <QPainter>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cwchar>
#include <limits>
#include <new>
#include <type_traits>

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

QImage SurfaceImage(int width, int height, QImage::Format format)
{
    // Rows start on a cache line and lie an odd number of lines apart. With
    // rows a power of two bytes long (the preview's are 1024), the pixels of
    // a column all fall into a few sets of the processor's cache and evict
    // one another: a column of 296 pixels then costs as much as filling the
    // whole surface. Unaligned rows make every fill slower by half, and
    // where the allocator puts them changes from run to run.
    constexpr qsizetype kLine = 64;
    const int depth = QImage::toPixelFormat(format).bitsPerPixel();
    if (width <= 0 || height <= 0 || depth % 8 != 0)
        return QImage(width, height, format);
    qsizetype stride = (qsizetype{width} * depth / 8 + kLine - 1) / kLine * kLine;
    if ((stride / kLine) % 2 == 0)
        stride += kLine;
    void *pixels = std::aligned_alloc(kLine, static_cast<size_t>(stride * height));
    if (!pixels)
        throw std::bad_alloc();
    return QImage(static_cast<uchar *>(pixels), width, height, stride, format, [](void *p) { std::free(p); }, pixels);
}

ImageCanvas::ImageCanvas(int width, int height, TColor background)
    : m_image(SurfaceImage(width, height, QImage::Format_RGB32)), m_brush(background)
{
    m_image.fill(ToQColor(background));
    Drawn();
}

uint64_t ImageCanvas::Revision() const
{
    // A number is taken when asked for after a drawing, not at each of the
    // drawing's hundred-odd primitives.
    static std::atomic<uint64_t> count{0};
    if (m_drawn) {
        m_revision = count.fetch_add(1, std::memory_order_relaxed) + 1;
        m_drawn = false;
    }
    return m_revision;
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

/// The RGB32 pixel of a colour.
QRgb PixelValue(TColor colour)
{
    return 0xFF000000u | (colour & 0xFF) << 16 | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
}

/// Writes one colour into the pixels of an RGB32 image; with kClipped, only
/// inside the clip. The preview draws without a clip but for the redraw of
/// a changed part, so the plain writer carries no test per pixel.
template <bool kClipped>
class Pixels {
public:
    Pixels(QImage &image, TColor colour, const QRect &clip)
        : m_bits(reinterpret_cast<QRgb *>(image.bits())),
          m_stride(static_cast<int>(image.bytesPerLine() / sizeof(QRgb))),
          m_value(PixelValue(colour)),
          m_left(clip.left()), m_top(clip.top()), m_right(clip.right() + 1), m_bottom(clip.bottom() + 1)
    {
    }
    /// The columns and rows that may be written (right and bottom outside).
    int Left() const { return kClipped ? m_left : std::numeric_limits<int>::min(); }
    int Top() const { return kClipped ? m_top : std::numeric_limits<int>::min(); }
    int Right() const { return kClipped ? m_right : std::numeric_limits<int>::max(); }
    int Bottom() const { return kClipped ? m_bottom : std::numeric_limits<int>::max(); }
    void Set(int x, int y)
    {
        if (kClipped && (x < m_left || x >= m_right || y < m_top || y >= m_bottom))
            return;
        m_bits[y * m_stride + x] = m_value;
    }
    void Row(int y, int left, int right)  // right excluded
    {
        if constexpr (kClipped) {
            if (y < m_top || y >= m_bottom)
                return;
            left = std::max(left, m_left);
            right = std::min(right, m_right);
        }
        if (left < right)
            std::fill(m_bits + y * m_stride + left, m_bits + y * m_stride + right, m_value);
    }
    void Column(int x, int top, int bottom)  // bottom excluded
    {
        if constexpr (kClipped) {
            if (x < m_left || x >= m_right)
                return;
            top = std::max(top, m_top);
            bottom = std::min(bottom, m_bottom);
        }
        for (QRgb *p = m_bits + top * m_stride + x, *end = m_bits + bottom * m_stride + x; p < end; p += m_stride)
            *p = m_value;
    }

private:
    QRgb *m_bits;
    int m_stride;
    QRgb m_value;
    int m_left, m_top, m_right, m_bottom;
};

/// Runs draw with the writer of one colour that suits the clip (null: none).
template <typename Draw>
void WithPixels(QImage &image, TColor colour, const QRect &clip, Draw draw)
{
    if (clip.isNull()) {
        Pixels<false> pixels(image, colour, clip);
        draw(pixels);
    } else {
        Pixels<true> pixels(image, colour, clip);
        draw(pixels);
    }
}

/// The line Qt's painter draws with a one-pixel pen without antialiasing
/// (square caps: both end pixels included) between two different pixels:
/// one pixel per column or per row along the longer side, the other
/// coordinate stepped in 16.16 fixed point from the 26.6 positions.
template <typename Pixels>
void InsideLine(Pixels &pixels, int x1, int y1, int x2, int y2)
{
    const int dx = std::abs(x2 - x1);
    const int dy = std::abs(y2 - y1);
    if (dy == 0) {  // the stepping below gives the whole row
        pixels.Row(y1, std::min(x1, x2), std::max(x1, x2) + 1);
        return;
    }
    if (dx == 0) {  // and the whole column
        pixels.Column(x1, std::min(y1, y2), std::max(y1, y2) + 1);
        return;
    }
    if (dx < dy) {
        if (y1 > y2) {
            std::swap(x1, x2);
            std::swap(y1, y2);
        }
        const int xinc = static_cast<int>((static_cast<long long>(x2 - x1) * 64 * 65536) / ((y2 - y1) * 64));
        int x = x1 * 64 * 1024 - (xinc >> 1);
        x += (((xinc > 0) ? 64 : 32) * xinc) >> 6;
        // Under a clip only its rows are stepped: x moves by whole steps, so
        // skipping rows leaves it where stepping through them would.
        const int first = std::max(y1, pixels.Top()), last = std::min(y2, pixels.Bottom() - 1);
        x += (first - y1) * xinc;
        for (int y = first; y <= last; ++y, x += xinc)
            pixels.Set(x >> 16, y);
    } else {
        if (x1 > x2) {
            std::swap(x1, x2);
            std::swap(y1, y2);
        }
        const int yinc = static_cast<int>((static_cast<long long>(y2 - y1) * 64 * 65536) / ((x2 - x1) * 64));
        int y = y1 * 64 * 1024 - (yinc >> 1);
        y += (((yinc > 0) ? 64 : 32) * yinc) >> 6;
        const int first = std::max(x1, pixels.Left()), last = std::min(x2, pixels.Right() - 1);
        y += (first - x1) * yinc;
        for (int x = first; x <= last; ++x, y += yinc)
            pixels.Set(x, y >> 16);
    }
}

/// 16.16 fixed-point quotient of two 26.6 numbers.
int FixedDiv(int a, int b)
{
    return static_cast<int>(static_cast<long long>(a) * 65536 / b);
}

/// The same line from (x1, y1) to (x2, y2), different pixels, where it does
/// not lie wholly on the surface: as Qt's painter, the line is first cut in
/// floating point at one pixel around the surface's left and top and two
/// around its right and bottom, the ends taken to 26.6 fixed point, stepped
/// as above, and only the pixels on the surface written.
template <typename Pixels>
void ClippedLine(Pixels &pixels, int width, int height, int ix1, int iy1, int ix2, int iy2)
{
    // Cuts the line where its coordinate a leaves low..high, b following;
    // false when the line lies wholly beyond one of them.
    const auto cut = [](double &a1, double &b1, double &a2, double &b2, double low, double high) {
        if (a1 < low) {
            if (a2 <= low)
                return false;
            b1 += (b2 - b1) / (a2 - a1) * (low - a1);
            a1 = low;
        } else if (a1 > high) {
            if (a2 >= high)
                return false;
            b1 += (b2 - b1) / (a2 - a1) * (high - a1);
            a1 = high;
        }
        if (a2 < low) {
            b2 += (b1 - b2) / (a1 - a2) * (low - a2);
            a2 = low;
        } else if (a2 > high) {
            b2 += (b1 - b2) / (a1 - a2) * (high - a2);
            a2 = high;
        }
        return true;
    };
    double x1 = ix1, y1 = iy1, x2 = ix2, y2 = iy2;
    if (!cut(x1, y1, x2, y2, -1, width + 1) || !cut(y1, x1, y2, x2, -1, height + 1))
        return;
    int ax = static_cast<int>(x1 * 64), ay = static_cast<int>(y1 * 64);
    int bx = static_cast<int>(x2 * 64), by = static_cast<int>(y2 * 64);
    const auto set = [&](int x, int y) {
        if (x >= 0 && y >= 0 && x < width && y < height)
            pixels.Set(x, y);
    };
    // Along the longer side, from half a pixel before the first end to half
    // a pixel past the last (the square caps). A steep line is walked with
    // its axes swapped, so one walk serves both.
    const bool steep = std::abs(bx - ax) < std::abs(by - ay);
    if (steep) {
        std::swap(ax, ay);
        std::swap(bx, by);
    }
    if (bx == ax)
        return;
    if (ax > bx) {
        std::swap(ax, bx);
        std::swap(ay, by);
    }
    const int inc = FixedDiv(by - ay, bx - ax);
    ax -= 32;
    bx += 32;
    int minor = ay * 1024 - (inc >> 1);
    int major = (ax + 32) >> 6;
    const int end = (bx + 32) >> 6;
    minor += ((major * 64) + (inc > 0 ? 32 : 0) - ax) * inc >> 6;
    for (; major < end; ++major, minor += inc) {
        if (steep)
            set(minor >> 16, major);
        else
            set(major, minor >> 16);
    }
}

constexpr QRgb kStampPen = 0xFF0000FFu;
constexpr QRgb kStampBrush = 0xFF00FF00u;
constexpr QRgb kStampBackground = 0xFFFF0000u;
constexpr int kStampMargin = 4;
/// Boxes up to this size are drawn from stamps; the figure's are 4 and 20.
constexpr int kLargestStamp = 32;
} // namespace

bool ImageCanvas::OutsideClip(int left, int top, int right, int bottom) const
{
    return !m_clip.isNull()
           && (right < m_clip.left() || left > m_clip.right() || bottom < m_clip.top() || top > m_clip.bottom());
}

void ImageCanvas::LineTo(int x, int y)
{
    Drawn();
    if (OutsideClip(std::min(m_penPos.x, x), std::min(m_penPos.y, y), std::max(m_penPos.x, x),
                    std::max(m_penPos.y, y))) {
        // Not a pixel of it can be written.
    } else if (m_penPos != TPixel{x, y}) {
        const TPixel from = m_penPos;
        const bool inside = Inside(from.x, from.y) && Inside(x, y);
        WithPixels(m_image, m_pen, m_clip, [&](auto &pixels) {
            if (inside)
                InsideLine(pixels, from.x, from.y, x, y);
            else
                ClippedLine(pixels, m_image.width(), m_image.height(), from.x, from.y, x, y);
        });
    } else {
        const TPixel at = m_penPos;
        Paint([&](QPainter &painter) {
            Prepare(painter, m_pen, m_brush);
            painter.drawLine(at.x, at.y, x, y);
        });
    }
    m_penPos = {x, y};
}

void ImageCanvas::FillRect(int left, int top, int right, int bottom)
{
    if (right <= left || bottom <= top)
        return;
    Drawn();
    if (OutsideClip(left, top, right - 1, bottom - 1))
        return;
    if (left >= 0 && top >= 0 && right <= m_image.width() && bottom <= m_image.height() && right - left >= 2
        && bottom - top >= 2) {
        // The fill, then its outline on the box's inner edge. A box over the
        // whole surface (the clearing of every drawing) is one fill over the
        // rows and the padding between them, which the image's own fill
        // would write a row at a time.
        if (left == 0 && top == 0 && right == m_image.width() && bottom == m_image.height() && m_clip.isNull()) {
            // bits() first: it may detach into a buffer of another size.
            static_assert(sizeof(wchar_t) == sizeof(QRgb));
            auto *bits = reinterpret_cast<wchar_t *>(m_image.bits());
            std::wmemset(bits, static_cast<wchar_t>(PixelValue(m_brush)),
                         static_cast<size_t>(m_image.sizeInBytes()) / sizeof(QRgb));
        } else {
            WithPixels(m_image, m_brush, m_clip, [&](auto &fill) {
                for (int y = std::max(top, fill.Top()), end = std::min(bottom, fill.Bottom()); y < end; ++y)
                    fill.Row(y, left, right);
            });
        }
        if (m_pen == m_brush)
            return;  // the outline would repaint the fill
        WithPixels(m_image, m_pen, m_clip, [&](auto &outline) {
            outline.Row(top, left, right);
            outline.Row(bottom - 1, left, right);
            outline.Column(left, top + 1, bottom - 1);
            outline.Column(right - 1, top + 1, bottom - 1);
        });
        return;
    }
    // Filled with the background, outlined in the pen colour on the box's
    // inner edge, as the clearing of the preview expects.
    const QRect box(QPoint(left, top), QPoint(right - 1, bottom - 1));
    Paint([&](QPainter &painter) {
        painter.fillRect(box, ToQColor(m_brush));
        painter.setPen(ToQColor(m_pen));
        painter.drawRect(box.adjusted(0, 0, -1, -1));
    });
}

bool ImageCanvas::SetClip(int left, int top, int right, int bottom)
{
    m_clip = QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)) & m_image.rect();
    if (m_clip.isNull())
        m_clip = QRect(0, 0, 0, 1);  // not null, so it keeps out every pixel
    return true;
}

void ImageCanvas::ClearClip()
{
    m_clip = QRect();
}

void ImageCanvas::Paint(const std::function<void(QPainter &)> &draw)
{
    if (m_clip.isNull()) {
        QPainter painter(&m_image);
        draw(painter);
        return;
    }
    // Drawn whole on a copy, so that the pixels are those of the drawing
    // without a clip, and only the clip's part taken back.
    QImage whole = m_image.copy();
    {
        QPainter painter(&whole);
        draw(painter);
    }
    for (int y = m_clip.top(); y <= m_clip.bottom(); ++y)
        std::copy_n(reinterpret_cast<const QRgb *>(whole.constScanLine(y)) + m_clip.left(), m_clip.width(),
                    reinterpret_cast<QRgb *>(m_image.scanLine(y)) + m_clip.left());
}

const ImageCanvas::EllipseStamp &ImageCanvas::StampFor(int width, int height)
{
    auto [it, added] = m_stamps.try_emplace({width, height});
    EllipseStamp &stamp = it->second;
    if (!added)
        return stamp;
    // Drawn once by the painter onto a scratch image in colours of its own;
    // the painter's ellipses at whole-pixel positions differ by position only.
    QImage scratch(width + 2 * kStampMargin, height + 2 * kStampMargin, QImage::Format_RGB32);
    scratch.fill(kStampBackground);
    {
        QPainter painter(&scratch);
        Prepare(painter, FromQColor(QColor::fromRgb(kStampPen)), FromQColor(QColor::fromRgb(kStampBrush)));
        painter.drawEllipse(QRect(kStampMargin, kStampMargin, width - 1, height - 1));
    }
    stamp.left = stamp.top = kLargestStamp;
    stamp.right = stamp.bottom = -kLargestStamp;
    for (int y = 0; y < scratch.height(); ++y)
        for (int x = 0; x < scratch.width(); ++x) {
            const QRgb p = scratch.pixel(x, y);
            if (p == kStampBackground)
                continue;
            const int dx = x - kStampMargin, dy = y - kStampMargin;
            const bool pen = p == kStampPen;
            auto &runs = stamp.runs;
            if (!runs.empty() && runs.back().dy == dy && runs.back().pen == pen
                && runs.back().dx + runs.back().length == dx)
                ++runs.back().length;
            else
                runs.push_back({dx, dy, 1, pen});
            stamp.left = std::min(stamp.left, dx);
            stamp.right = std::max(stamp.right, dx);
            stamp.top = std::min(stamp.top, dy);
            stamp.bottom = std::max(stamp.bottom, dy);
        }
    return stamp;
}

void ImageCanvas::Ellipse(int left, int top, int right, int bottom)
{
    if (right <= left || bottom <= top)
        return;
    Drawn();
    // The outline may reach a pixel past the box.
    if (OutsideClip(left - 1, top - 1, right, bottom))
        return;
    if (right - left <= kLargestStamp && bottom - top <= kLargestStamp && Inside(left, top)
        && Inside(right - 1, bottom - 1)) {
        const EllipseStamp &stamp = StampFor(right - left, bottom - top);
        if (stamp.runs.empty()
            || (Inside(left + stamp.left, top + stamp.top) && Inside(left + stamp.right, top + stamp.bottom))) {
            WithPixels(m_image, m_pen, m_clip, [&](auto &pen) {
                std::decay_t<decltype(pen)> brush(m_image, m_brush, m_clip);
                for (const auto &r : stamp.runs)
                    (r.pen ? pen : brush).Row(top + r.dy, left + r.dx, left + r.dx + r.length);
            });
            return;
        }
    }
    Paint([&](QPainter &painter) {
        Prepare(painter, m_pen, m_brush);
        // The box includes its left and top edges and excludes the right and
        // bottom ones; Qt's outline of a rectangle w x h covers w + 1 x h + 1.
        painter.drawEllipse(QRect(left, top, right - left - 1, bottom - top - 1));
    });
}

} // namespace hoofer
