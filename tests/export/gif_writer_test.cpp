// The GIF writer's rules, read back through Qt's own GIF reader.
#include "export/gif_writer.h"
#include "model/save_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImageReader>
#include <QTemporaryDir>

using namespace hoofer;

namespace {

/// A w x h picture of `colours` colours, pixel by pixel from the shift-th, then repeated.
QImage Picture(int w, int h, int colours = 6, int shift = 0)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int i = 0; i < w * h; ++i) {
        const int c = (i + shift) % colours;
        image.setPixel(i % w, i / w, qRgb(c & 0xFF, (c >> 8) * 100, 40));
    }
    return image;
}

struct Decoded {
    std::vector<QImage> pictures;
    std::vector<int> delaysMs;
    int loopCount = 0;  // Qt's: -1 for ever, 0 once
};

Decoded Decode(const std::string &bytes)
{
    QByteArray data = QByteArray::fromStdString(bytes);
    QBuffer buffer(&data);
    QImageReader reader(&buffer, "gif");
    Decoded out;
    out.loopCount = reader.loopCount();
    for (QImage image; reader.read(&image);) {
        out.pictures.push_back(image.convertToFormat(QImage::Format_RGB32));
        out.delaysMs.push_back(reader.nextImageDelay());
    }
    return out;
}

} // namespace

TEST(GifWriter, EveryPixelBecomesAScaleByScaleBlockAndTheLoopBlockSaysHowOftenViewersPlay)
{
    const std::vector<GifFrame> frames = {{Picture(3, 2), 7}, {Picture(3, 2, 6, 1), 14}};
    const struct { int scale; bool loop; int loopCount, qtLoopCount; } rows[] = {
        {1, false, 0, 0}, {3, true, 0, -1}, {1, true, 3, 3}};
    for (const auto &row : rows) {
        GifOptions options;
        options.scale = row.scale, options.loop = row.loop, options.loopCount = row.loopCount;
        const Decoded gif = Decode(EncodeAnimatedGif(frames, options));
        const std::string what = "scale " + std::to_string(row.scale) + ", loop count " + std::to_string(row.loopCount);
        ASSERT_EQ(gif.pictures.size(), frames.size()) << what;
        for (size_t i = 0; i < frames.size(); ++i)
            EXPECT_EQ(gif.pictures[i], frames[i].image.scaled(3 * row.scale, 2 * row.scale)) << what << ", picture " << i;
        EXPECT_EQ(gif.delaysMs, (std::vector<int>{70, 140})) << what;
        EXPECT_EQ(gif.loopCount, row.qtLoopCount) << what << (row.loop ? "" : ", no loop block");
    }
}

TEST(GifWriter, RefusesWhatAGifCannotHoldSayingWhy)
{
    const GifFrame small{Picture(2, 2), 5};
    const struct { std::vector<GifFrame> frames; int scale, loopCount; const char *why; } rows[] = {
        {{}, 1, 0, "there are no pictures to write"},
        {{small}, 0, 0, "the scale must be 1 or more, not 0"},
        {{small}, 1, -1, "the loop count must be 0..65535, not -1"},
        {{small}, 1, 65536, "the loop count must be 0..65535, not 65536"},
        {{{QImage(), 5}}, 1, 0, "the pictures are empty"},
        {{small}, 32768, 0, "a GIF is at most 65535 pixels wide and high"},
        {{small, {Picture(2, 3), 5}}, 1, 0, "picture 2 is not the size of the first"},
        {{small, {Picture(2, 2), 65536}}, 1, 0, "the delay of picture 2 is outside 0..65535 hundredths of a second"},
        {{{Picture(257, 1, 257), 5}}, 1, 0, "the pictures use more than 256 colours, more than a GIF holds"},
    };
    for (const auto &row : rows) {
        GifOptions options;
        options.scale = row.scale, options.loopCount = row.loopCount;
        EXPECT_THAT([&] { EncodeAnimatedGif(row.frames, options); },
                    testing::ThrowsMessage<GifWriteError>(testing::StrEq(row.why)));
    }
    EXPECT_EQ(Decode(EncodeAnimatedGif({{Picture(256, 1, 256), 5}})).pictures.at(0), Picture(256, 1, 256))
        << "256 colours fit";
}

TEST(GifWriter, SavingWritesTheEncodingWholeOrNothing)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("a.gif").toStdString();
    const std::vector<GifFrame> frames = {{Picture(4, 4), 5}};
    ASSERT_EQ(SaveAnimatedGif(path, frames), "");
    std::string written, why;
    ASSERT_TRUE(ReadWholeFile(path, written, why)) << why;
    EXPECT_EQ(written, EncodeAnimatedGif(frames));
    EXPECT_EQ(SaveAnimatedGif(path, {}), "there are no pictures to write");
    EXPECT_EQ(SaveAnimatedGif(dir.filePath("none/a.gif").toStdString(), frames).rfind("cannot write: ", 0), 0u);
    ASSERT_TRUE(ReadWholeFile(path, written, why)) << why;
    EXPECT_EQ(written, EncodeAnimatedGif(frames)) << "a refused picture leaves the file as it was";
}
