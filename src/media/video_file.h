#pragma once

#include "media/reference_clip.h"

extern "C" {
#include <libavutil/rational.h>
}

struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;
struct SwsContext;

namespace hoofer {

/// A video read through FFmpeg: the frame-exact decoding of ReferenceClip.
class VideoFile final : public ReferenceClip {
public:
    explicit VideoFile(std::string path);
    ~VideoFile() override;

    QSize FrameSize() const override { return m_size; }
    double Duration() const override { return m_duration; }
    double FrameRate() const override { return m_rate; }
    ClipFrame FrameAt(double seconds) override;
    long long DecodedFrames() const override { return m_decoded; }

private:
    struct FormatCloser { void operator()(AVFormatContext *format) const; };
    struct CodecFreer { void operator()(AVCodecContext *codec) const; };
    struct FrameFreer { void operator()(AVFrame *frame) const; };
    struct PacketFreer { void operator()(AVPacket *packet) const; };
    struct ScaleFreer { void operator()(SwsContext *scale) const; };
    using Frame = std::unique_ptr<AVFrame, FrameFreer>;

    [[noreturn]] void Fail(int error) const;
    /// Whether decoding on from where the last search stopped reaches target
    /// as soon as a seek would.
    bool Continues(int64_t target) const;
    void Seek(int64_t target);
    /// The next frame in presentation order; none at the end of the video.
    Frame Decode();
    /// The frame's beginning in the stream's time base.
    static int64_t Begins(const AVFrame &frame);
    ClipFrame Shown(const AVFrame &frame);

    std::string m_path;
    std::unique_ptr<AVFormatContext, FormatCloser> m_format;
    std::unique_ptr<AVCodecContext, CodecFreer> m_codec;
    std::unique_ptr<AVPacket, PacketFreer> m_packet;
    std::unique_ptr<SwsContext, ScaleFreer> m_scale;
    int m_stream = -1;
    AVRational m_timeBase{1, 1};
    int64_t m_first = 0;  // the first frame's beginning
    QSize m_size;
    double m_duration = 0, m_rate = 0;
    long long m_decoded = 0;
    // The search under way: the last frame found at or before the time asked
    // for, the first one found after it, and whether the decoder has given
    // its last frame.
    Frame m_found, m_ahead;
    bool m_drained = false;
    bool m_searched = false;  // the state above belongs to a search
    ClipFrame m_shown;        // the picture of m_found, once converted
    int64_t m_shownBegins = -1;
};

} // namespace hoofer
