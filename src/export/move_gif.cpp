#include "export/move_gif.h"

#include "export/gif_writer.h"

#include "view/image_canvas.h"
#include "view/playback.h"

namespace hoofer {

namespace {

/// Records what a pass would show in the preview instead of showing it.
class PictureRecorder : public PlaybackSink {
public:
    PictureRecorder(int pictures, const StepBackdrop &backdrop)
        : m_canvas(kPreviewWidth, kPreviewHeight, clPreviewBackground), m_backdrop(backdrop)
    {
        m_pictures.reserve(static_cast<size_t>(pictures));
    }

    void KeyFrame(const THFFrame &) override { m_keyFrameOnScreen = true; }
    void PlainStep(const PosePixels &pixels) override
    {
        if (m_backdrop)
            m_canvas.SetBackdrop(m_backdrop(static_cast<int>(m_pictures.size())));
        DrawPlainPose(m_canvas, pixels);
        m_pictures.push_back({m_canvas.image().copy(), 0});
        m_keyFrameOnScreen = false;
    }
    void HandleMessages() override {}
    void Pause(int ms) override
    {
        // A pause while the opening key-frame drawing is up belongs to that
        // drawing, which is not recorded.
        if (!m_keyFrameOnScreen && !m_pictures.empty())
            m_pictures.back().delayMs += ms;
    }

    std::vector<StepPicture> Take() { return std::move(m_pictures); }

private:
    ImageCanvas m_canvas;
    const StepBackdrop &m_backdrop;
    std::vector<StepPicture> m_pictures;
    bool m_keyFrameOnScreen = false;
};

/// GIF counts in hundredths of a second; the editor's pauses are multiples of 10 ms.
int ToHundredths(int ms)
{
    return (ms + 5) / 10;
}

} // namespace

std::vector<StepPicture> RecordMovePass(const THFMove &move, const StepBackdrop &backdrop)
{
    PictureRecorder recorder(PassPictureCount(move), backdrop);
    PlayMovePass(move, recorder);
    return recorder.Take();
}

namespace {
constexpr const char *kNothingToDraw = "the move has no key frames: there is nothing to draw";

/// The GIF's pictures and options for one pass; no pictures without key frames.
std::vector<GifFrame> PassFrames(const THFMove &move, int scale, bool loop, GifOptions &options,
                                 const StepBackdrop &backdrop)
{
    std::vector<GifFrame> frames;
    for (const StepPicture &picture : RecordMovePass(move, backdrop))
        frames.push_back({picture.image, ToHundredths(picture.delayMs)});
    options.scale = scale;
    options.loop = loop;
    return frames;
}
} // namespace

std::string WriteMoveGif(const THFMove &move, const std::string &path, int scale, bool loop,
                         const StepBackdrop &backdrop)
{
    GifOptions options;
    const std::vector<GifFrame> frames = PassFrames(move, scale, loop, options, backdrop);
    if (frames.empty())
        return kNothingToDraw;
    return SaveAnimatedGif(path, frames, options);
}

std::string EncodeMoveGif(const THFMove &move, int scale, bool loop, const StepBackdrop &backdrop)
{
    GifOptions options;
    const std::vector<GifFrame> frames = PassFrames(move, scale, loop, options, backdrop);
    if (frames.empty())
        throw GifWriteError(kNothingToDraw);
    return EncodeAnimatedGif(frames, options);
}

} // namespace hoofer
