#pragma once

#include <QImage>

#include <string>

namespace hoofer::test {

/// A video made for the tests and the benchmarks with FFmpeg's encoders: frame
/// n shows n in binary as a row of twelve squares of 16 pixels at its top left,
/// white for a 1, black for a 0, the lowest bit first; the rest is a pattern
/// that moves from frame to frame, as a filmed scene does.
struct TestClip {
    std::string path;           ///< the container follows the extension (".mp4", ".mkv")
    int width = 192, height = 32;
    int rateNum = 25, rateDen = 1;  ///< frames a second, as a fraction
    int frames = 300;
    int keyFrameDistance = 250;
    int bFrames = 2;
    std::string encoder = "mpeg4";

    /// Writes the clip; throws std::runtime_error when FFmpeg cannot.
    void Write() const;
};

/// The frame number a picture of a TestClip shows.
int FrameNumberShown(const QImage &picture);

} // namespace hoofer::test
