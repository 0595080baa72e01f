// render through the real executable: the GIF read back with Qt, picture by
// picture, against what the playback code draws.

#include "hoofer_process.h"

#include "export/move_gif.h"

#include "model/routine_codec.h"
#include "view/image_canvas.h"
#include "view/playback.h"

#include <gmock/gmock.h>

#include <QBuffer>
#include <QDir>
#include <QImageReader>
#include <QTemporaryDir>

namespace hoofer::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::IsEmpty;

/// The steps a pass draws, as the editor's preview would show them.
class StepDrawer : public PlaybackSink {
public:
    StepDrawer() : canvas(kPreviewWidth, kPreviewHeight, clPreviewBackground) {}
    void KeyFrame(const THFFrame &) override {}
    void PlainStep(const PosePixels &pixels) override
    {
        DrawPlainPose(canvas, pixels);
        steps.push_back(canvas.image().copy());
    }
    void HandleMessages() override {}
    void Pause(int) override {}

    ImageCanvas canvas;
    std::vector<QImage> steps;
};

std::vector<QImage> PlaybackSteps(const THFMove &move)
{
    StepDrawer drawer;
    PlayMovePass(move, drawer);
    return drawer.steps;
}

/// 7 hundredths of a second after a step, 14 after the last step of a transition.
std::vector<int> EditorDelaysMs(const THFMove &move)
{
    std::vector<int> delays;
    for (const auto &frame : move.Frames)
        for (int i = 0; i <= frame->Interpolation; ++i)
            delays.push_back(i == frame->Interpolation ? 140 : 70);
    return delays;
}

struct Animation {
    std::vector<QImage> pictures;
    std::vector<int> delaysMs;
    int loopCount = 0;
};

Animation ReadGif(const QString &path)
{
    Animation animation;
    QImageReader reader(path, "gif");
    animation.loopCount = reader.loopCount();
    for (int i = 0; i < 10000 && reader.canRead(); ++i) {
        QImage image = reader.read();
        if (image.isNull())
            break;
        animation.delaysMs.push_back(reader.nextImageDelay());
        animation.pictures.push_back(image.convertToFormat(QImage::Format_RGB32));
    }
    return animation;
}

/// The first pixel that differs, for a readable failure.
std::string FirstDifference(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return "sizes differ";
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if ((a.pixel(x, y) & 0xFFFFFF) != (b.pixel(x, y) & 0xFFFFFF))
                return "pixel " + std::to_string(x) + "," + std::to_string(y);
    return {};
}

class RenderCommand : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString Temp(const QString &name) const { return dir.filePath(name); }
};

TEST_F(RenderCommand, GifHoldsEveryPlaybackStepWithTheEditorsDelays)
{
    ASSERT_TRUE(dir.isValid());
    const TMoveList moves = DecodeRoutine(ReadBytes(Example("sampler.raw")).toStdString());
    for (size_t m = 0; m < moves.size(); ++m) {
        SCOPED_TRACE("move " + std::to_string(m));
        const QString gif = Temp(QString::number(m) + ".gif");
        const HooferRun run = RunHoofer({"render", Example("sampler.raw"), "--move", QString::number(m), "-o", gif});
        ASSERT_TRUE(run.finished);
        ASSERT_EQ(run.exitCode, 0) << run.Err();
        EXPECT_THAT(run.Err(), IsEmpty());

        const Animation animation = ReadGif(gif);
        const std::vector<QImage> expected = PlaybackSteps(*moves[m]);
        // Every picture of the pass but the opening key-frame drawing.
        ASSERT_EQ(animation.pictures.size(), static_cast<size_t>(PassPictureCount(*moves[m]) - 1));
        ASSERT_EQ(animation.pictures.size(), expected.size());
        for (size_t i = 0; i < expected.size(); ++i)
            EXPECT_EQ(FirstDifference(animation.pictures[i], expected[i]), "") << "picture " << i;
        EXPECT_EQ(animation.delaysMs, EditorDelaysMs(*moves[m]));
    }
}

TEST_F(RenderCommand, TheGifLoopsUnlessToldToPlayOnce)
{
    ASSERT_EQ(RunHoofer({"render", Example("newmove.raw"), "-o", Temp("loop.gif")}).exitCode, 0);
    ASSERT_EQ(RunHoofer({"render", Example("newmove.raw"), "--once", "-o", Temp("once.gif")}).exitCode, 0);
    EXPECT_EQ(ReadGif(Temp("loop.gif")).loopCount, -1);  // Qt's "for ever"
    EXPECT_EQ(ReadGif(Temp("once.gif")).loopCount, 0);
}

TEST_F(RenderCommand, ScaleDrawsEveryPixelAsABlock)
{
    ASSERT_EQ(RunHoofer({"render", Example("sampler.raw"), "--move", "Kick", "--scale", "3", "-o", Temp("big.gif")})
                  .exitCode,
              0);
    const Animation big = ReadGif(Temp("big.gif"));
    const TMoveList moves = DecodeRoutine(ReadBytes(Example("sampler.raw")).toStdString());
    const std::vector<QImage> expected = PlaybackSteps(*moves[1]);
    ASSERT_EQ(big.pictures.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        const QImage scaled = expected[i].scaled(768, 888, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        EXPECT_EQ(FirstDifference(big.pictures[i], scaled), "") << "picture " << i;
    }
}

TEST_F(RenderCommand, FramesFolderGetsNumberedPngsOfTheSameSteps)
{
    const QString folder = Temp("steps/of/wave");
    const HooferRun run = RunHoofer({"render", Example("sampler.raw"), "--move", "wave", "--frames", folder});
    ASSERT_EQ(run.exitCode, 0) << run.Err();
    const TMoveList moves = DecodeRoutine(ReadBytes(Example("sampler.raw")).toStdString());
    const std::vector<QImage> expected = PlaybackSteps(*moves[0]);
    const QStringList files = QDir(folder).entryList(QDir::Files, QDir::Name);
    ASSERT_EQ(static_cast<size_t>(files.size()), expected.size());
    EXPECT_EQ(files.front(), "0001.png");
    for (size_t i = 0; i < expected.size(); ++i) {
        const QImage picture(QDir(folder).filePath(files[static_cast<int>(i)]));
        EXPECT_EQ(FirstDifference(picture.convertToFormat(QImage::Format_RGB32), expected[i]), "")
            << files[static_cast<int>(i)].toStdString();
    }
}

TEST_F(RenderCommand, MovesAreFoundByIndexOrName)
{
    ASSERT_EQ(RunHoofer({"render", Example("sampler.raw"), "--move", "3", "-o", Temp("by_index.gif")}).exitCode, 0);
    ASSERT_EQ(RunHoofer({"render", Example("sampler.raw"), "--move", "Bow", "-o", Temp("by_name.gif")}).exitCode, 0);
    EXPECT_EQ(ReadBytes(Temp("by_index.gif")), ReadBytes(Temp("by_name.gif")));

    struct Case {
        QString file;
        QString move;
        std::string message;
    };
    for (const Case &c : {Case{Example("sampler.raw"), "4", "there is no move 4; the routine has moves 0..3"},
                          Case{Example("sampler.raw"), "Moonwalk", "no move is named \"Moonwalk\""},
                          Case{TestData("cli/same_names.raw"), "Twin",
                               "several moves are named \"Twin\" (0, 1); give the index instead"},
                          Case{TestData("cli/no_frames.raw"), "Empty",
                               "move 0 (\"Empty\") has no key frames: there is nothing to draw"}}) {
        SCOPED_TRACE(c.message);
        const HooferRun run = RunHoofer({"render", c.file, "--move", c.move, "-o", Temp("none.gif")});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.Err(), c.file.toStdString() + ": error: " + c.message + "\n");
        EXPECT_FALSE(QFile::exists(Temp("none.gif")));
    }
}

TEST_F(RenderCommand, TheEditorsExportWritesTheVeryFileRenderWrites)
{
    const TMoveList moves = DecodeRoutine(ReadBytes(Example("sampler.raw")).toStdString());
    struct Case {
        int move, scale;
        bool once;
    };
    for (const Case &c : {Case{0, 1, false}, Case{3, 1, false}, Case{1, 2, true}}) {
        SCOPED_TRACE("move " + std::to_string(c.move) + " scale " + std::to_string(c.scale));
        const QString rendered = Temp("rendered.gif"), exported = Temp("exported.gif");
        QStringList arguments{"render", Example("sampler.raw"), "--move", QString::number(c.move), "--scale",
                              QString::number(c.scale), "-o", rendered};
        if (c.once)
            arguments << "--once";
        ASSERT_EQ(RunHoofer(arguments).exitCode, 0);
        EXPECT_EQ(WriteMoveGif(*moves[c.move], exported.toStdString(), c.scale, !c.once), "");
        EXPECT_EQ(ReadBytes(exported), ReadBytes(rendered));
    }
    const THFMove empty;
    EXPECT_EQ(WriteMoveGif(empty, Temp("empty.gif").toStdString()),
              "the move has no key frames: there is nothing to draw");
    EXPECT_FALSE(QFile::exists(Temp("empty.gif")));
    EXPECT_THAT(WriteMoveGif(*moves[0], Temp("no/such/folder.gif").toStdString()), HasSubstr("cannot write: "));
}

TEST_F(RenderCommand, NeedsSomewhereToPutThePictures)
{
    const HooferRun run = RunHoofer({"render", Example("newmove.raw")});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_THAT(run.Err(), HasSubstr("-o,--output or --frames is required"));
}

} // namespace
} // namespace hoofer::testing
