#include "view/onion_skin.h"

#include "view/figure_drawing.h"
#include "view/inbetween.h"

namespace hoofer {

void DrawOnionSkinKeyFrame(Canvas &canvas, const THFMove &move, const THFFrame &frame, int selectedPart)
{
    const int index = move.IndexOf(&frame);
    if (index < 0) {
        DrawKeyFrame(canvas, frame, selectedPart);
        return;
    }
    const size_t at = static_cast<size_t>(index);
    const THFFrame *previous = at > 0 ? move.Frames[at - 1].get() : nullptr;
    const THFFrame *next = at + 1 < move.Frames.size() ? move.Frames[at + 1].get() : nullptr;

    ClearSurface(canvas);
    // Playback's own steps, so the ghosts show the same arithmetic and slide.
    for (const PosePixels &step : TransitionPoses(previous ? *previous : frame, frame))
        DrawGhostPose(canvas, step, clOnionStep);
    if (previous)
        DrawGhostPose(canvas, FramePixels(*previous), clOnionPrevious);
    if (next)
        DrawGhostPose(canvas, FramePixels(*next), clOnionNext);
    DrawKeyFrameFigure(canvas, frame, selectedPart);
}

} // namespace hoofer
