// render through the real executable: the GIF and the PNGs read back with Qt,
// picture by picture, against what the playback code draws.

#include "hoofer_process.h"

#include "export/move_gif.h"
#include "model/routine_codec.h"
#include "view/image_canvas.h"
#include "view/playback.h"

#include <QDir>
#include <QImageReader>

namespace hoofer::testing {
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

QImage Rgb(const QImage &image) { return image.convertToFormat(QImage::Format_RGB32); }

TEST(RenderCommand, GifPngsAndTheEditorsExportHoldEveryPlaybackStepWithTheEditorsDelays)
{
    test::TemporaryFolder dir;
    const std::string gif = dir.Path() + "/m.gif", exported = dir.Path() + "/e.gif";
    const TMoveList moves = DecodeRoutine(Bytes(Example("sampler.raw")));
    struct Row { std::string move; size_t index; int scale; bool once; };
    for (const Row &row : {Row{"0", 0, 1, false}, Row{"Kick", 1, 3, false}, Row{"spin", 2, 1, true}, Row{"3", 3, 2, false}}) {
        const std::string what = "move " + row.move, frames = dir.Path() + "/steps/of/" + row.move;
        std::vector<std::string> arguments = {"render", Example("sampler.raw"), "--move", row.move, "-o", gif,
                                              "--scale", std::to_string(row.scale), "--frames", frames};
        if (row.once)
            arguments.push_back("--once");
        ExpectRuns({{arguments, 0, "", ""}});
        const THFMove &move = *moves[row.index];
        EXPECT_EQ(WriteMoveGif(move, exported, row.scale, !row.once), "") << what;
        EXPECT_EQ(Bytes(exported), Bytes(gif)) << what;
        StepDrawer drawer;
        PlayMovePass(move, drawer);
        const int count = static_cast<int>(drawer.steps.size());
        ASSERT_EQ(count, PassPictureCount(move) - 1) << what;  // all but the opening key-frame drawing
        QImageReader reader(QString::fromStdString(gif), "gif");
        EXPECT_EQ(reader.loopCount(), row.once ? 0 : -1) << what;  // -1: Qt's "for ever"
        EXPECT_EQ(reader.imageCount(), count) << what;
        const QDir pngs(QString::fromStdString(frames));
        ASSERT_EQ(pngs.entryList(QDir::Files).size(), count) << what;
        std::vector<int> delays, editorDelays;  // 70 ms a step, 140 after the last step of a transition
        for (const auto &frame : move.Frames)
            for (int i = 0; i <= frame->Interpolation; ++i)
                editorDelays.push_back(i == frame->Interpolation ? 140 : 70);
        for (int i = 0; i < count; ++i) {
            const QImage step = Rgb(drawer.steps[i].scaled(drawer.steps[i].size() * row.scale, Qt::IgnoreAspectRatio,
                                                           Qt::FastTransformation));
            EXPECT_TRUE(Rgb(reader.read()) == step) << what << ", picture " << i;
            delays.push_back(reader.nextImageDelay());
            EXPECT_TRUE(Rgb(QImage(pngs.filePath(QString::asprintf("%04d.png", i + 1)))) == step) << what << ", png " << i;
        }
        EXPECT_EQ(delays, editorDelays) << what;
    }
}

TEST(RenderCommand, WritesByteNamesAndRefusesMovesThatCannotBeFoundOrDrawn)
{
    test::TemporaryFolder dir;
    const std::string gif = dir.Path() + "/none.gif", sampler = Example("sampler.raw");
    ExpectRuns({
        {{"render", sampler, "-o", dir.Path() + "/w\xe9.gif", "--frames", dir.Path() + "/d\xe9"}, 0, "", ""},
        {{"render", "x.raw"}, 2, "", "~-o,--output or --frames is required"},
        {{"render", "x.raw", "-o", "x.gif", "--scale", "0"}, 2, "", "~--scale"},
        {{"render", sampler, "--move", "Moonwalk", "-o", gif}, 1, "", sampler + ": error: no move is named \"Moonwalk\"\n"},
        {{"render", TestData("no_frames.raw"), "--move", "Empty", "-o", gif}, 1, "",
         TestData("no_frames.raw") + ": error: move 0 (\"Empty\") has no key frames: there is nothing to draw\n"},
        {{"render", sampler, "-o", dir.Path() + "/no/such.gif"}, 1, "", "~/no/such.gif: cannot write: "},
    });
    EXPECT_TRUE(dir.Exists("w\xe9.gif") && dir.Exists("d\xe9/0001.png"));
    EXPECT_FALSE(dir.Exists("none.gif"));
    EXPECT_EQ(WriteMoveGif(THFMove(), gif), "the move has no key frames: there is nothing to draw");
}

} // namespace
} // namespace hoofer::testing
