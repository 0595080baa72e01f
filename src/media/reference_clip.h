#pragma once

#include <QImage>

#include <memory>
#include <string>

namespace hoofer {

/// The largest reference frame shown, in pixels on either side.
inline constexpr int kLargestReferenceSide = 4096;

/// One picture of a reference and where it lies on the clip's time line.
struct ClipFrame {
    QImage image;       ///< RGB32, at the clip's own size
    int number = 0;     ///< counted from 0 at the first frame, at the declared frame rate
    double seconds = 0; ///< when it begins, after the first frame's beginning
};

/// A reference to trace from: a video that FFmpeg reads, or a still picture
/// (PNG, JPEG, BMP, read by Qt), which is the same picture at every time. The
/// frame at a time is exactly the one whose presentation interval holds it:
/// the last frame that begins at or before the time, the first frame for a
/// time before it and the last one for any time after the end. A time later
/// than the last one asked for is decoded on from there while no key frame of
/// the video lies between; any other time seeks to the key frame at or before
/// it and decodes from there. One clip serves one thread.
class ReferenceClip {
public:
    /// Opens the video or picture at path. Throws std::runtime_error naming
    /// the file with the reason FFmpeg or the picture reader gives, or saying
    /// that its frames are larger than 4096 by 4096.
    static std::unique_ptr<ReferenceClip> Open(const std::string &path);

    virtual ~ReferenceClip() = default;
    virtual QSize FrameSize() const = 0;
    /// Seconds from the first frame's beginning to the last one's end; 0 for a picture.
    virtual double Duration() const = 0;
    /// Frames a second as the file declares it; 0 for a picture.
    virtual double FrameRate() const = 0;
    /// The frame at `seconds` after the first frame's beginning. Throws
    /// std::runtime_error, naming the file, when the video cannot be decoded there.
    virtual ClipFrame FrameAt(double seconds) = 0;
    /// Frames decoded so far, the shown ones and those decoded on the way.
    virtual long long DecodedFrames() const = 0;
};

} // namespace hoofer
