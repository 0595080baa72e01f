#include "view/thumbnail.h"

#include "view/figure_drawing.h"
#include "view/image_canvas.h"

#include <optional>

namespace hoofer {

namespace {
/// Passes the preview's drawing on to a canvas of half its size: every
/// coordinate halved (rounding down, negative ones too).
class HalfCanvas : public Canvas {
public:
    explicit HalfCanvas(ImageCanvas &target) : m_target(target) {}
    int Width() const override { return kPreviewWidth; }
    int Height() const override { return kPreviewHeight; }
    TColor PenColor() const override { return m_target.PenColor(); }
    void SetPenColor(TColor colour) override { m_target.SetPenColor(colour); }
    TColor BrushColor() const override { return m_target.BrushColor(); }
    void MoveTo(int x, int y) override { m_target.MoveTo(x >> 1, y >> 1); }
    void LineTo(int x, int y) override { m_target.LineTo(x >> 1, y >> 1); }
    TPixel PenPos() const override { return {m_target.PenPos().x * 2, m_target.PenPos().y * 2}; }
    void FillRect(int left, int top, int right, int bottom) override
    {
        m_target.FillRect(left >> 1, top >> 1, right >> 1, bottom >> 1);
    }
    void Ellipse(int left, int top, int right, int bottom) override
    {
        m_target.Ellipse(left >> 1, top >> 1, right >> 1, bottom >> 1);
    }
    void Clear() override { m_target.Clear(); }

private:
    ImageCanvas &m_target;
};
/// Each pixel the mean of a square of two by two: the smooth scaling of
/// exactly one half, at a fraction of what a general smooth scale costs.
QImage HalveSmoothly(const QImage &source)
{
    const int width = source.width() / 2, height = source.height() / 2;
    QImage out(width, height, QImage::Format_RGB32);
    // Red and blue are summed side by side in one word, green in another:
    // four bytes sum to at most ten bits, so no channel runs into the next.
    constexpr uint32_t kRedBlue = 0x00FF00FF, kGreen = 0x0000FF00;
    for (int y = 0; y < height; ++y) {
        const auto *top = reinterpret_cast<const QRgb *>(source.constScanLine(2 * y));
        const auto *under = reinterpret_cast<const QRgb *>(source.constScanLine(2 * y + 1));
        auto *row = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const QRgb a = top[2 * x], b = top[2 * x + 1], c = under[2 * x], d = under[2 * x + 1];
            const uint32_t redBlue = (a & kRedBlue) + (b & kRedBlue) + (c & kRedBlue) + (d & kRedBlue) + 0x00020002;
            const uint32_t green = (a & kGreen) + (b & kGreen) + (c & kGreen) + (d & kGreen) + 0x00000200;
            row[x] = 0xFF000000 | ((redBlue >> 2) & kRedBlue) | ((green >> 2) & kGreen);
        }
    }
    return out;
}
} // namespace

QImage DrawThumbnail(const THFFrame &frame, TColor background, int scale, const QImage &backdrop)
{
    // One canvas for every thumbnail, rather than an image allocated for each.
    thread_local std::optional<ImageCanvas> kept;
    if (!kept || kept->BrushColor() != background)
        kept.emplace(kPreviewWidth / 2, kPreviewHeight / 2, background);
    ImageCanvas &half = *kept;
    half.SetBackdrop(backdrop);
    HalfCanvas canvas(half);
    DrawPlainPose(canvas, FramePixels(frame));
    return scale == 2 ? half.image().copy() : HalveSmoothly(half.image());
}

} // namespace hoofer
