// The tool's own pieces that the commands rest on.

#include "export/gif_writer.h"
#include "cli/latin1.h"
#include "cli/move_pictures.h"
#include "cli/routine_json.h"

#include "model/routine_codec.h"

#include <gmock/gmock.h>

#include <QBuffer>
#include <QImageReader>

namespace hoofer {
namespace {

using ::testing::HasSubstr;

class NameBytes : public ::testing::Test {};

TEST_F(NameBytes, EveryByteSurvivesTheTripThroughText)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    long offending = 0;
    const auto back = Utf8ToLatin1(Latin1ToUtf8(all), offending);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, all);
}

TEST_F(NameBytes, TextBeyondOneByteOrBrokenIsRefused)
{
    long offending = 0;
    EXPECT_FALSE(Utf8ToLatin1("A\xC4\x80", offending));  // U+0100
    EXPECT_EQ(offending, 0x100);
    EXPECT_FALSE(Utf8ToLatin1("\xC3", offending));  // cut off
    EXPECT_EQ(offending, -1);
    EXPECT_FALSE(Utf8ToLatin1("\xC1\x81", offending));  // overlong "A"
    EXPECT_EQ(offending, -1);
}

std::unique_ptr<THFMove> Move(const std::string &name, int frames)
{
    auto move = std::make_unique<THFMove>();
    move->MoveName = name;
    for (int i = 0; i < frames; ++i)
        move->Frames.push_back(std::make_unique<THFFrame>());
    move->SyncFrameCount();
    return move;
}

class MoveChoice : public ::testing::Test {
protected:
    void SetUp() override
    {
        moves.push_back(Move("Wave        \r", 1));
        moves.push_back(Move("  12        \r", 1));
        moves.push_back(Move("Caf\xE9       \r", 1));
        moves.push_back(Move("wave        \r", 1));
    }
    TMoveList moves;
    std::string why;
};

TEST_F(MoveChoice, DigitsAreAnIndexEvenWhenAMoveHasThatName)
{
    EXPECT_EQ(FindMove(moves, "1", why), 1u);
    EXPECT_FALSE(FindMove(moves, "12", why));
    EXPECT_EQ(why, "there is no move 12; the routine has moves 0..3");
}

TEST_F(MoveChoice, ExactNamesWinOverNamesThatDifferInCase)
{
    EXPECT_EQ(FindMove(moves, "wave", why), 3u);
    EXPECT_EQ(FindMove(moves, "Wave", why), 0u);
    EXPECT_FALSE(FindMove(moves, "WAVE", why));
    EXPECT_THAT(why, HasSubstr("several moves are named \"WAVE\" (0, 3)"));
}

TEST_F(MoveChoice, NamesAreComparedAsTheyAreShown)
{
    EXPECT_EQ(FindMove(moves, "Caf\xC3\xA9", why), 2u);   // the terminal's UTF-8
    EXPECT_EQ(FindMove(moves, "CAF\xC3\x89", why), 2u);
}

class GifEncoding : public ::testing::Test {};

TEST_F(GifEncoding, KeepsExactColoursAndDelays)
{
    std::vector<GifFrame> frames;
    for (int i = 0; i < 3; ++i) {
        QImage image(5, 4, QImage::Format_RGB32);
        image.fill(QColor(10 * i, 200, 255 - i));
        image.setPixel(i, 1, qRgb(1, 2, 3));
        frames.push_back({image, 7 * (i + 1)});
    }
    const QByteArray bytes = QByteArray::fromStdString(EncodeAnimatedGif(frames));
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer, "gif");
    for (int i = 0; i < 3; ++i) {
        const QImage image = reader.read().convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(reader.nextImageDelay(), 70 * (i + 1));
        EXPECT_EQ(image, frames[i].image) << "picture " << i;
    }
}

TEST_F(GifEncoding, RefusesWhatAGifCannotHold)
{
    QImage many(32, 16, QImage::Format_RGB32);
    for (int i = 0; i < 512; ++i)
        many.setPixel(i % 32, i / 32, qRgb(i & 0xFF, i >> 8, 0));
    EXPECT_THROW(EncodeAnimatedGif({{many, 7}}), GifWriteError);
    EXPECT_THROW(EncodeAnimatedGif({}), GifWriteError);
    QImage small(4, 4, QImage::Format_RGB32);
    small.fill(Qt::black);
    QImage other(5, 4, QImage::Format_RGB32);
    other.fill(Qt::black);
    EXPECT_THROW(EncodeAnimatedGif({{small, 7}, {other, 7}}), GifWriteError);
}

class JsonLimits : public ::testing::Test {};

TEST_F(JsonLimits, ImportAllowsWhatAFileCanHoldAndNoMore)
{
    std::string frames;
    const std::string frame = R"({"interpolation": 0, "displacement": 0, "points": [)"
                              R"({"x":0,"y":0},{"x":0,"y":0},{"x":0,"y":0},{"x":0,"y":0},{"x":0,"y":0},{"x":0,"y":0},)"
                              R"({"x":0,"y":0},{"x":0,"y":0},{"x":0,"y":0},{"x":0,"y":0},{"x":0,"y":0},{"x":0,"y":0}]})";
    for (int i = 0; i < 255; ++i)
        frames += (i ? "," : "") + frame;
    const TMoveList full = RoutineFromJson(R"({"moves": [{"name": "", "frames": [)" + frames + "]}]}");
    EXPECT_EQ(full.front()->FrameCount, 255);
    try {
        RoutineFromJson(R"({"moves": [{"name": "", "frames": [)" + frames + "," + frame + "]}]}");
        FAIL() << "256 key frames were taken";
    } catch (const RoutineJsonError &e) {
        EXPECT_STREQ(e.what(), "moves[0].frames: 256 key frames; expected 0..255");
    }
}

} // namespace
} // namespace hoofer
