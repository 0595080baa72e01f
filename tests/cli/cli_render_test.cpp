// render through the real executable: the GIF read back with Qt, picture by
// picture, against what the playback code draws.

#include "hoofer_process.h"

#include "export/move_gif.h"

#include "model/routine_codec.h"
#include "view/image_canvas.h"
#include "view/playback.h"

#include <gmock/gmock.h>

#include <QDir>
#include <QImageReader>
#include <QTemporaryDir>

namespace hoofer::testing {
namespace {

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
    const TMoveList moves = DecodeRoutine(ReadBytes(Example("sampler.raw")).toStdString());
};

// The GIF and the numbered PNGs of --frames hold the same pictures.
TEST_F(RenderCommand, GifAndPngsHoldEveryPlaybackStepWithTheEditorsDelays)
{
    struct Row {
        QString move;  // as the command line names it
        size_t index;
        int scale;
        bool once;
    };
    for (const Row &row : {Row{"0", 0, 1, false}, Row{"Kick", 1, 3, false}, Row{"spin", 2, 1, true}, Row{"3", 3, 2, false}}) {
        const std::string what = "move " + row.move.toStdString();
        const QString frames = Temp("steps/of/" + row.move);
        QStringList arguments = {"render", Example("sampler.raw"), "--move", row.move, "-o", Temp("m.gif"),
                                 "--scale", QString::number(row.scale), "--frames", frames};
        if (row.once)
            arguments << "--once";
        const HooferRun run = RunHoofer(arguments);
        ASSERT_EQ(run.exitCode, 0) << what << run.Err();
        EXPECT_EQ(run.Err(), "") << what;

        const Animation animation = ReadGif(Temp("m.gif"));
        const THFMove &move = *moves[row.index];
        const std::vector<QImage> expected = PlaybackSteps(move);
        // Every picture of the pass but the opening key-frame drawing.
        ASSERT_EQ(animation.pictures.size(), static_cast<size_t>(PassPictureCount(move) - 1)) << what;
        ASSERT_EQ(animation.pictures.size(), expected.size()) << what;
        const QStringList files = QDir(frames).entryList(QDir::Files, QDir::Name);
        ASSERT_EQ(static_cast<size_t>(files.size()), expected.size()) << what;
        EXPECT_EQ(files.front(), "0001.png");
        for (size_t i = 0; i < expected.size(); ++i) {
            const QImage scaled = expected[i].scaled(expected[i].size() * row.scale, Qt::IgnoreAspectRatio,
                                                     Qt::FastTransformation);
            EXPECT_EQ(FirstDifference(animation.pictures[i], scaled), "") << what << ", picture " << i;
            const QString png = files[static_cast<int>(i)];
            EXPECT_EQ(FirstDifference(QImage(QDir(frames).filePath(png)).convertToFormat(QImage::Format_RGB32), scaled),
                      "") << what << ", " << png.toStdString();
        }
        EXPECT_EQ(animation.delaysMs, EditorDelaysMs(move)) << what;
        EXPECT_EQ(animation.loopCount, row.once ? 0 : -1) << what;  // -1: Qt's "for ever"
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
    EXPECT_THAT(WriteMoveGif(*moves[0], Temp("no/such/folder.gif").toStdString()), ::testing::HasSubstr("cannot write: "));
}

TEST_F(RenderCommand, MovesThatCannotBeFoundOrDrawnAreRefused)
{
    const std::tuple<QString, QString, std::string> rows[] = {
        {Example("sampler.raw"), "4", "there is no move 4; the routine has moves 0..3"},
        {Example("sampler.raw"), "Moonwalk", "no move is named \"Moonwalk\""},
        {TestData("cli/same_names.raw"), "Twin", "several moves are named \"Twin\" (0, 1); give the index instead"},
        {TestData("cli/no_frames.raw"), "Empty", "move 0 (\"Empty\") has no key frames: there is nothing to draw"}};
    for (const auto &[file, move, message] : rows) {
        const HooferRun run = RunHoofer({"render", file, "--move", move, "-o", Temp("none.gif")});
        EXPECT_EQ(run.exitCode, 1) << message;
        EXPECT_EQ(run.Err(), file.toStdString() + ": error: " + message + "\n");
        EXPECT_FALSE(QFile::exists(Temp("none.gif"))) << message;
    }
}

} // namespace
} // namespace hoofer::testing
