#pragma once

#include <QImage>

#include <stdexcept>
#include <string>
#include <vector>

namespace hoofer {

/// Raised when pictures cannot be made into a GIF or the file cannot be
/// written; the message names the file (when there is one) and the reason.
class GifWriteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// One picture of an animation and how long it stays on screen, in
/// hundredths of a second (the unit GIF itself counts in).
struct GifFrame {
    QImage image;
    int delayCs = 0;
};

struct GifOptions {
    /// Every pixel becomes a scale x scale block (nearest neighbour), so the
    /// figure's one-pixel lines stay sharp.
    int scale = 1;
    /// Whether the NETSCAPE2.0 loop block is written at all; without it
    /// viewers play the animation once.
    bool loop = true;
    /// Further plays after the first; 0 means for ever.
    int loopCount = 0;
};

/// The bytes of an animated GIF of the pictures, through giflib. The figure's
/// pictures use only a few colours, so one global palette of exactly the
/// colours used (at most 256) keeps every pixel exact; alpha is ignored.
/// Every picture must have the size of the first.
std::string EncodeAnimatedGif(const std::vector<GifFrame> &frames, const GifOptions &options = {});

/// EncodeAnimatedGif written to path atomically: an existing file is
/// replaced only once the whole new one is on disk. Returns an empty string
/// on success, otherwise why nothing was written (without the path, for the
/// caller's message).
std::string SaveAnimatedGif(const std::string &path, const std::vector<GifFrame> &frames,
                            const GifOptions &options = {});

} // namespace hoofer
