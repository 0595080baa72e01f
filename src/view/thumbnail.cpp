#include "view/thumbnail.h"

#include "view/figure_drawing.h"
#include "view/image_canvas.h"

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

private:
    ImageCanvas &m_target;
};
} // namespace

QImage DrawThumbnail(const THFFrame &frame, TColor background)
{
    ImageCanvas half(kPreviewWidth / 2, kPreviewHeight / 2, background);
    HalfCanvas canvas(half);
    DrawPlainPose(canvas, FramePixels(frame));
    return half.image().scaled(kThumbnailWidth, kThumbnailHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace hoofer
