#include "test_clip.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
}

#include <memory>
#include <stdexcept>

namespace hoofer::test {

namespace {
constexpr int kSquare = 16, kBits = 12;

void Check(int result, const char *what)
{
    if (result < 0)
        throw std::runtime_error(std::string("test clip: ") + what + " failed (" + std::to_string(result) + ")");
}
} // namespace

void TestClip::Write() const
{
    AVFormatContext *raw = nullptr;
    av_log_set_level(AV_LOG_ERROR);  // the encoders' statistics are of no use here
    Check(avformat_alloc_output_context2(&raw, nullptr, nullptr, path.c_str()), "choosing the container");
    std::unique_ptr<AVFormatContext, void (*)(AVFormatContext *)> format(raw, [](AVFormatContext *f) {
        if (f->pb)
            avio_closep(&f->pb);
        avformat_free_context(f);
    });
    const AVCodec *codec = avcodec_find_encoder_by_name(encoder.c_str());
    if (!codec)
        throw std::runtime_error("test clip: no encoder " + encoder);
    std::unique_ptr<AVCodecContext, void (*)(AVCodecContext *)> context(avcodec_alloc_context3(codec), [](AVCodecContext *c) {
        avcodec_free_context(&c);
    });
    context->width = width;
    context->height = height;
    context->time_base = AVRational{rateDen, rateNum};
    context->framerate = AVRational{rateNum, rateDen};
    context->pix_fmt = AV_PIX_FMT_YUV420P;
    context->gop_size = keyFrameDistance;
    context->keyint_min = keyFrameDistance;
    context->max_b_frames = bFrames;
    if (encoder == "libx264") {
        // A camera's kind of stream, made quickly.
        av_opt_set(context->priv_data, "preset", "veryfast", 0);
    } else {
        // Fine quantising: the squares come out clearly black or white.
        context->flags |= AV_CODEC_FLAG_QSCALE;
        context->global_quality = FF_QP2LAMBDA * 2;
    }
    if (format->oformat->flags & AVFMT_GLOBALHEADER)
        context->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    Check(avcodec_open2(context.get(), codec, nullptr), "opening the encoder");
    AVStream *stream = avformat_new_stream(format.get(), nullptr);
    Check(avcodec_parameters_from_context(stream->codecpar, context.get()), "describing the stream");
    stream->time_base = context->time_base;
    Check(avio_open(&format->pb, path.c_str(), AVIO_FLAG_WRITE), "creating the file");
    Check(avformat_write_header(format.get(), nullptr), "writing the header");

    std::unique_ptr<AVFrame, void (*)(AVFrame *)> frame(av_frame_alloc(), [](AVFrame *f) { av_frame_free(&f); });
    std::unique_ptr<AVPacket, void (*)(AVPacket *)> packet(av_packet_alloc(), [](AVPacket *p) { av_packet_free(&p); });
    frame->format = AV_PIX_FMT_YUV420P;
    frame->width = width;
    frame->height = height;
    Check(av_frame_get_buffer(frame.get(), 0), "making a frame");
    const auto drain = [&] {
        for (;;) {
            const int got = avcodec_receive_packet(context.get(), packet.get());
            if (got == AVERROR(EAGAIN) || got == AVERROR_EOF)
                return;
            Check(got, "encoding");
            // One frame long: without it the container takes the last frame for one of no length.
            packet->duration = 1;
            av_packet_rescale_ts(packet.get(), context->time_base, stream->time_base);
            packet->stream_index = stream->index;
            Check(av_interleaved_write_frame(format.get(), packet.get()), "writing a frame");
        }
    };
    for (int n = 0; n < frames; ++n) {
        Check(av_frame_make_writable(frame.get()), "reusing a frame");
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const int bit = x / kSquare;
                const bool square = y < kSquare && bit < kBits;
                frame->data[0][y * frame->linesize[0] + x] =
                    square ? ((n >> bit) & 1 ? 235 : 16) : static_cast<uint8_t>(64 + ((x + y + 3 * n) & 127));
            }
        for (int plane = 1; plane <= 2; ++plane)
            for (int y = 0; y < height / 2; ++y)
                for (int x = 0; x < width / 2; ++x)
                    frame->data[plane][y * frame->linesize[plane] + x] = 128;
        frame->pts = n;
        Check(avcodec_send_frame(context.get(), frame.get()), "encoding");
        drain();
    }
    Check(avcodec_send_frame(context.get(), nullptr), "finishing");
    drain();
    Check(av_write_trailer(format.get()), "writing the trailer");
}

int FrameNumberShown(const QImage &picture)
{
    int n = 0;
    for (int bit = 0; bit < kBits; ++bit)
        if (qGray(picture.pixel(bit * kSquare + kSquare / 2, kSquare / 2)) > 128)
            n |= 1 << bit;
    return n;
}

} // namespace hoofer::test
