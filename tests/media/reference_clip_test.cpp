// Videos and pictures as references: the frame for a time, exactly, at any
// frame rate and however far the key frames lie apart; and what is refused.
#include "media/reference_clip.h"
#include "test_clip.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <stdexcept>

using namespace hoofer;
using namespace hoofer::test;

namespace {
/// The message a clip that cannot be opened or decoded gives; empty when it can.
std::string Refusal(const std::string &path)
{
    try {
        auto clip = ReferenceClip::Open(path);
        for (int n = 0; n < 300; n += 7)
            clip->FrameAt(n / 25.0);
    } catch (const std::runtime_error &e) {
        return e.what();
    }
    return {};
}
} // namespace

TEST(ReferenceClip, ShowsTheFrameWhoseIntervalHoldsTheTimeAtEveryRateForwardsAndBack)
{
    QTemporaryDir dir;
    const struct { int num, den; } rates[] = {{25, 1}, {30000, 1001}, {60, 1}};
    // Across the key frame at 250, back to the start and forwards again.
    const int order[] = {0, 1, 2, 124, 249, 250, 251, 299, 251, 3, 298, 120, 121};
    for (const auto &rate : rates) {
        TestClip clip;
        clip.path = dir.filePath("clip.mp4").toStdString();
        clip.rateNum = rate.num, clip.rateDen = rate.den;
        clip.Write();
        auto reference = ReferenceClip::Open(clip.path);
        EXPECT_NEAR(reference->FrameRate(), double(rate.num) / rate.den, 1e-9);
        EXPECT_NEAR(reference->Duration(), 300.0 * rate.den / rate.num, 0.05);
        for (const int n : order) {
            const double begins = double(n) * rate.den / rate.num;
            const ClipFrame frame = reference->FrameAt(begins);
            EXPECT_EQ(FrameNumberShown(frame.image), n) << rate.num << " fps at " << begins;
            EXPECT_EQ(frame.number, n);
            EXPECT_EQ(FrameNumberShown(reference->FrameAt(begins + 1e-4).image), n) << rate.num << " fps";
            if (n > 0) {
                EXPECT_EQ(FrameNumberShown(reference->FrameAt(begins - 1e-4).image), n - 1) << rate.num << " fps";
            }
        }
        EXPECT_EQ(FrameNumberShown(reference->FrameAt(1e6).image), 299) << "after the end, the last frame";
        // From the start to frame 298 decodes from the key frame at 250, not from 0.
        reference->FrameAt(0);
        const long long before = reference->DecodedFrames();
        reference->FrameAt(298.0 * rate.den / rate.num);
        EXPECT_LT(reference->DecodedFrames() - before, 60) << rate.num << " fps";
    }
}

TEST(ReferenceClip, PicturesAreTheSameAtEveryTimeAndWhatCannotBeShownIsRefusedByName)
{
    QTemporaryDir dir;
    const std::string picture = dir.filePath("still.png").toStdString();
    QImage still(300, 200, QImage::Format_RGB32);
    still.fill(qRgb(10, 200, 30));
    still.save(QString::fromStdString(picture));
    const auto reference = ReferenceClip::Open(picture);
    EXPECT_EQ(reference->FrameAt(12.5).image, still);
    EXPECT_EQ(reference->FrameSize(), QSize(300, 200));

    TestClip clip;
    clip.path = dir.filePath("good.mp4").toStdString();
    clip.Write();
    QFile good(QString::fromStdString(clip.path));
    good.open(QIODevice::ReadOnly);
    const QByteArray bytes = good.readAll();
    const auto write = [&](const char *name, const QByteArray &content) {
        QFile file(dir.filePath(name));
        file.open(QIODevice::WriteOnly);
        file.write(content);
        return dir.filePath(name).toStdString();
    };
    QImage huge(4097, 8, QImage::Format_RGB32);
    huge.fill(Qt::white);
    huge.save(dir.filePath("huge.png"));
    QByteArray damaged = bytes;
    for (qsizetype i = bytes.size() / 3; i < bytes.size(); i += 97)
        damaged[i] = char(damaged[i] ^ 0x5A);
    const struct { std::string path; const char *says; } rows[] = {
        {write("words.mp4", "these are words, not a video"), "Cannot read the video"},
        {dir.filePath("missing.webm").toStdString(), "No such file"},
        {write("empty.mkv", {}), "Cannot read the video"},
        {dir.filePath("huge.png").toStdString(), "at most 4096 by 4096"},
        {write("broken.png", "\x89PNG but no more"), "Cannot read the picture"},
    };
    for (const auto &row : rows) {
        const std::string message = Refusal(row.path);
        EXPECT_NE(message.find(row.says), std::string::npos) << row.path << ": " << message;
        EXPECT_NE(message.find(row.path), std::string::npos) << message;
    }
    // Cut short or damaged: whatever it shows, it ends, with a frame or a message.
    for (const auto &path : {write("cut.mp4", bytes.left(bytes.size() / 2)), write("damaged.mp4", damaged)}) {
        const std::string message = Refusal(path);
        EXPECT_TRUE(message.empty() || message.find(path) != std::string::npos) << message;
    }
}
