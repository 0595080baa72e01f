// One pass of a move as pictures and as a GIF: the steps the preview draws,
// with the editor's pauses.
#include "export/move_gif.h"

#include "model/routine_codec.h"
#include "model/save_file.h"
#include "view/image_canvas.h"
#include "view/playback.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QImageReader>
#include <QTemporaryDir>

using namespace hoofer;

namespace {

/// The steps a pass draws, as the editor's preview shows them.
struct StepDrawer : PlaybackSink {
    void KeyFrame(const THFFrame &) override {}
    void PlainStep(const PosePixels &pixels) override
    {
        DrawPlainPose(canvas, pixels);
        steps.push_back(canvas.image().copy());
    }
    void HandleMessages() override {}
    void Pause(int) override {}
    ImageCanvas canvas{kPreviewWidth, kPreviewHeight, clPreviewBackground};
    std::vector<QImage> steps;
};

/// Kick, the second move of the example routine: five key frames.
std::unique_ptr<THFMove> Kick()
{
    std::string bytes, why;
    EXPECT_TRUE(ReadWholeFile(HOOFER_SOURCE_DIR "/examples/sampler.raw", bytes, why)) << why;
    return std::move(DecodeRoutine(bytes).at(1));
}

} // namespace

TEST(MovePass, PicturesAreThePreviewsStepsEachWithThePausesAfterIt)
{
    const auto kick = Kick();
    const THFMove &move = *kick;
    StepDrawer drawer;
    PlayMovePass(move, drawer);
    const std::vector<StepPicture> pictures = RecordMovePass(move);
    ASSERT_EQ(pictures.size(), drawer.steps.size());
    ASSERT_EQ(static_cast<int>(pictures.size()), PassPictureCount(move));
    std::vector<int> delays, editorDelays;  // 70 ms a step, 140 after the last step of a transition
    for (const auto &frame : move.Frames)
        for (int i = 0; i <= frame->Interpolation; ++i)
            editorDelays.push_back(i == frame->Interpolation ? 140 : 70);
    for (size_t i = 0; i < pictures.size(); ++i) {
        EXPECT_EQ(pictures[i].image, drawer.steps[i]) << "picture " << i;
        delays.push_back(pictures[i].delayMs);
    }
    EXPECT_EQ(delays, editorDelays);
    EXPECT_TRUE(RecordMovePass(THFMove()).empty());
}

TEST(MoveGif, HoldsOnePassAtTheScaleAndLoopAskedFor)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("kick.gif").toStdString();
    const auto kick = Kick();
    const THFMove &move = *kick;
    ASSERT_EQ(WriteMoveGif(move, path, 2, false), "");
    QImageReader reader(QString::fromStdString(path), "gif");
    EXPECT_EQ(reader.loopCount(), 0);
    EXPECT_EQ(reader.size(), QSize(2 * kPreviewWidth, 2 * kPreviewHeight));
    EXPECT_EQ(reader.imageCount(), PassPictureCount(move));
    EXPECT_EQ(WriteMoveGif(THFMove(), dir.filePath("none.gif").toStdString()),
              "the move has no key frames: there is nothing to draw");
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("none.gif")));
}
