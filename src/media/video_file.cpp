#include "media/video_file.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

#include <cmath>
#include <mutex>
#include <stdexcept>

namespace hoofer {

void VideoFile::FormatCloser::operator()(AVFormatContext *format) const { avformat_close_input(&format); }
void VideoFile::CodecFreer::operator()(AVCodecContext *codec) const { avcodec_free_context(&codec); }
void VideoFile::FrameFreer::operator()(AVFrame *frame) const { av_frame_free(&frame); }
void VideoFile::PacketFreer::operator()(AVPacket *packet) const { av_packet_free(&packet); }
void VideoFile::ScaleFreer::operator()(SwsContext *scale) const { sws_freeContext(scale); }

VideoFile::VideoFile(std::string path) : m_path(std::move(path))
{
    // The reasons reach the user in the messages; FFmpeg's own log would
    // only fill the terminal.
    static std::once_flag quiet;
    std::call_once(quiet, [] { av_log_set_level(AV_LOG_QUIET); });
    AVFormatContext *format = nullptr;
    if (const int error = avformat_open_input(&format, m_path.c_str(), nullptr, nullptr); error < 0)
        Fail(error);
    m_format.reset(format);
    if (const int error = avformat_find_stream_info(format, nullptr); error < 0)
        Fail(error);
    const AVCodec *decoder = nullptr;
    m_stream = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, &decoder, 0);
    if (m_stream < 0)
        Fail(m_stream);
    const AVStream *stream = format->streams[m_stream];
    const AVCodecParameters *parameters = stream->codecpar;
    m_size = QSize(parameters->width, parameters->height);
    if (m_size.width() > kLargestReferenceSide || m_size.height() > kLargestReferenceSide)
        throw std::runtime_error("The video " + m_path + " is " + std::to_string(m_size.width()) + " by "
                                 + std::to_string(m_size.height()) + " pixels: a reference can be at most 4096 by 4096.");
    if (m_size.isEmpty())
        throw std::runtime_error("The video " + m_path + " has frames of no size.");
    m_codec.reset(avcodec_alloc_context3(decoder));
    m_packet.reset(av_packet_alloc());
    if (!m_codec || !m_packet)
        Fail(AVERROR(ENOMEM));
    if (const int error = avcodec_parameters_to_context(m_codec.get(), parameters); error < 0)
        Fail(error);
    if (const int error = avcodec_open2(m_codec.get(), decoder, nullptr); error < 0)
        Fail(error);
    m_timeBase = stream->time_base;
    m_first = stream->start_time != AV_NOPTS_VALUE ? stream->start_time : 0;
    // The declared rate where the file has one that the frames keep to on
    // average; otherwise the average (a video of varying rate).
    const double average = stream->avg_frame_rate.num > 0 ? av_q2d(stream->avg_frame_rate) : 0;
    const double declared = stream->r_frame_rate.num > 0 ? av_q2d(stream->r_frame_rate) : 0;
    m_rate = declared > 0 && (average == 0 || std::abs(declared - average) < average / 100) ? declared : average;
    m_duration = stream->duration != AV_NOPTS_VALUE ? stream->duration * av_q2d(m_timeBase)
                 : format->duration != AV_NOPTS_VALUE ? format->duration / double(AV_TIME_BASE)
                                                      : 0;
}

VideoFile::~VideoFile() = default;

void VideoFile::Fail(int error) const
{
    char reason[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(error, reason, sizeof reason);
    throw std::runtime_error("Cannot read the video " + m_path + ": " + reason);
}

int64_t VideoFile::Begins(const AVFrame &frame)
{
    return frame.best_effort_timestamp != AV_NOPTS_VALUE ? frame.best_effort_timestamp
           : frame.pts != AV_NOPTS_VALUE                 ? frame.pts
                                                         : 0;
}

ClipFrame VideoFile::FrameAt(double seconds)
{
    // The stream's ticks rounded down, a millionth of a tick given to the
    // rounding of the seconds: a time on a frame's beginning, however the
    // frame rate divides, is that frame's.
    const long double ticks = static_cast<long double>(std::max(0.0, seconds)) * m_timeBase.den / m_timeBase.num;
    const int64_t target = m_first + static_cast<int64_t>(std::floor(ticks + 1e-6L));
    if (!Continues(target))
        Seek(target);
    for (int pass = 0; pass < 2; ++pass) {
        for (;;) {
            if (m_ahead) {
                if (Begins(*m_ahead) > target)
                    break;
                m_found = std::move(m_ahead);
            }
            m_ahead = Decode();
            if (!m_ahead)
                break;
        }
        if (m_found || !m_ahead || target <= m_first)
            break;
        // The seek landed after the time: the video's index is coarse. From the beginning, then.
        Seek(m_first);
    }
    // A time before the first frame shows the first frame.
    const AVFrame *frame = m_found ? m_found.get() : m_ahead.get();
    if (!frame)
        throw std::runtime_error("The video " + m_path + " has no frame to show.");
    return Shown(*frame);
}

bool VideoFile::Continues(int64_t target) const
{
    if (!m_searched || !m_found || Begins(*m_found) > target)
        return false;
    if ((m_ahead && Begins(*m_ahead) > target) || m_drained)
        return true;
    // A key frame between here and the time: a seek skips what lies before
    // it. Where the index does not reach the time, only a short way is
    // decoded on rather than sought.
    const int64_t here = m_ahead ? Begins(*m_ahead) : Begins(*m_found);
    AVStream *stream = m_format->streams[m_stream];
    const int entries = avformat_index_get_entries_count(stream);
    const AVIndexEntry *last = entries > 0 ? avformat_index_get_entry(stream, entries - 1) : nullptr;
    if (!last || last->timestamp < target) {
        constexpr double kDecodedOnSeconds = 2;
        return (target - here) * av_q2d(m_timeBase) <= kDecodedOnSeconds;
    }
    const AVIndexEntry *key = avformat_index_get_entry_from_timestamp(stream, target, AVSEEK_FLAG_BACKWARD);
    return !key || key->timestamp <= here;
}

void VideoFile::Seek(int64_t target)
{
    if (av_seek_frame(m_format.get(), m_stream, target, AVSEEK_FLAG_BACKWARD) < 0
        && av_seek_frame(m_format.get(), m_stream, m_first, AVSEEK_FLAG_BACKWARD) < 0) {
        // Unseekable: read it from its first byte.
        if (const int error = av_seek_frame(m_format.get(), m_stream, 0, AVSEEK_FLAG_BYTE); error < 0)
            Fail(error);
    }
    avcodec_flush_buffers(m_codec.get());
    m_found.reset();
    m_ahead.reset();
    m_drained = false;
    m_searched = true;
}

VideoFile::Frame VideoFile::Decode()
{
    Frame frame(av_frame_alloc());
    if (!frame)
        Fail(AVERROR(ENOMEM));
    // Every packet read brings the file's end nearer: the loop ends there at the latest.
    for (;;) {
        const int received = avcodec_receive_frame(m_codec.get(), frame.get());
        if (received == 0) {
            ++m_decoded;
            return frame;
        }
        if (received == AVERROR_EOF)
            return nullptr;
        if (received != AVERROR(EAGAIN))
            Fail(received);
        if (m_drained)
            return nullptr;
        const int read = av_read_frame(m_format.get(), m_packet.get());
        if (read == AVERROR_EOF) {
            // The decoder gives up the frames it holds back.
            avcodec_send_packet(m_codec.get(), nullptr);
            m_drained = true;
            continue;
        }
        if (read < 0)
            Fail(read);
        const bool ours = m_packet->stream_index == m_stream;
        const int sent = ours ? avcodec_send_packet(m_codec.get(), m_packet.get()) : 0;
        av_packet_unref(m_packet.get());
        // A damaged packet is passed over; the frames around it still come.
        if (sent < 0 && sent != AVERROR_INVALIDDATA)
            Fail(sent);
    }
}

ClipFrame VideoFile::Shown(const AVFrame &frame)
{
    const int64_t begins = Begins(frame);
    if (begins == m_shownBegins && !m_shown.image.isNull())
        return m_shown;
    m_scale.reset(sws_getCachedContext(m_scale.release(), frame.width, frame.height, AVPixelFormat(frame.format),
                                       m_size.width(), m_size.height(), AV_PIX_FMT_RGB32, SWS_BILINEAR, nullptr,
                                       nullptr, nullptr));
    if (!m_scale)
        throw std::runtime_error("The video " + m_path + " has frames that cannot be converted to a picture.");
    QImage image(m_size, QImage::Format_RGB32);
    // swscale reads four planes' pointers and strides, used or not.
    uint8_t *planes[4] = {image.bits()};
    const int strides[4] = {static_cast<int>(image.bytesPerLine())};
    sws_scale(m_scale.get(), frame.data, frame.linesize, 0, frame.height, planes, strides);
    const double seconds = (begins - m_first) * av_q2d(m_timeBase);
    m_shown = {std::move(image), static_cast<int>(std::llround(seconds * m_rate)), seconds};
    m_shownBegins = begins;
    return m_shown;
}

} // namespace hoofer

/// The module's one entry: the editor resolves it by name when it first opens a video.
extern "C" __attribute__((visibility("default"))) std::unique_ptr<hoofer::ReferenceClip> *
hoofer_open_video(const std::string &path)
{
    return new std::unique_ptr<hoofer::ReferenceClip>(std::make_unique<hoofer::VideoFile>(path));
}
