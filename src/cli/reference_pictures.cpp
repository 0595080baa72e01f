#include "reference_pictures.h"

#include "media/reference_clip.h"
#include "view/figure_drawing.h"
#include "view/inbetween.h"
#include "view/preview_backdrop.h"
#include "view/reference_timing.h"

#include <memory>
#include <vector>

namespace hoofer {

namespace {

/// Six levels of red, green and blue: the colours a GIF's backdrop keeps.
QList<QRgb> ColourCube()
{
    QList<QRgb> colours;
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                colours.push_back(qRgb(r * 51, g * 51, b * 51));
    return colours;
}

} // namespace

StepBackdrop ReferenceBackdrops(const THFMove &move, const MoveReference &reference, bool forGif)
{
    std::shared_ptr<ReferenceClip> clip = ReferenceClip::Open(reference.file);
    auto times = std::make_shared<std::vector<double>>();
    for (int k = 1; k <= static_cast<int>(move.Frames.size()); ++k)
        for (int step = 0; step < TransitionSteps(*move.Frames[k - 1]); ++step)
            times->push_back(reference.start + StepOffsetMs(move, k, step) / 1000.0);
    return [clip, times, reference, forGif](int step) {
        const double time = step < static_cast<int>(times->size()) ? (*times)[step] : times->back();
        const Backdrop backdrop{clPreviewBackground, clip->FrameAt(time).image, reference, 0};
        const QImage image = DrawBackdrop(QSize(kPreviewWidth, kPreviewHeight), 1, backdrop);
        if (!forGif)
            return image;
        static const QList<QRgb> cube = ColourCube();
        return image.convertToFormat(QImage::Format_Indexed8, cube, Qt::ThresholdDither)
            .convertToFormat(QImage::Format_RGB32);
    };
}

} // namespace hoofer
