// One pass of a move as pictures and as a GIF: the preview's steps and pauses.
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

/// The steps a pass draws as the editor's preview shows them, and the pauses after each.
struct StepDrawer : PlaybackSink {
    void KeyFrame(const THFFrame &) override {}
    void PlainStep(const PosePixels &pixels) override
    {
        DrawPlainPose(canvas, pixels);
        steps.push_back(canvas.image().copy());
        delays.push_back(0);
    }
    void HandleMessages() override {}
    void Pause(int ms) override { delays.back() += ms; }
    ImageCanvas canvas{kPreviewWidth, kPreviewHeight, clPreviewBackground};
    std::vector<QImage> steps;
    std::vector<int> delays;
};

} // namespace

TEST(MoveGif, PicturesAreThePreviewsStepsWithItsPausesAndTheGifOnePassAtTheScaleAsked)
{
    std::string bytes, why;
    ASSERT_TRUE(ReadWholeFile(HOOFER_SOURCE_DIR "/examples/sampler.raw", bytes, why)) << why;
    const auto kick = std::move(DecodeRoutine(bytes).at(1));  // Kick: five key frames
    StepDrawer drawer;
    PlayMovePass(*kick, drawer);
    const std::vector<StepPicture> pictures = RecordMovePass(*kick);
    ASSERT_EQ(pictures.size(), drawer.steps.size());
    for (size_t i = 0; i < pictures.size(); ++i) {
        EXPECT_EQ(pictures[i].image, drawer.steps[i]) << "picture " << i;
        EXPECT_EQ(pictures[i].delayMs, drawer.delays[i]) << "picture " << i;
    }
    QTemporaryDir dir;
    const std::string path = dir.filePath("kick.gif").toStdString();
    ASSERT_EQ(WriteMoveGif(*kick, path, 2, false), "");
    QImageReader reader(QString::fromStdString(path), "gif");
    EXPECT_EQ(reader.loopCount(), 0);
    EXPECT_EQ(reader.size(), QSize(2 * kPreviewWidth, 2 * kPreviewHeight));
    EXPECT_EQ(reader.imageCount(), static_cast<int>(pictures.size()));
    EXPECT_TRUE(RecordMovePass(THFMove()).empty());
    EXPECT_EQ(WriteMoveGif(THFMove(), dir.filePath("none.gif").toStdString()),
              "the move has no key frames: there is nothing to draw");
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("none.gif")));
}
