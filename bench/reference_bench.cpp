// The references under Google Benchmark, on a generated 1280 by 720 H.264
// clip of 400 frames at 25 a second with key frames 250 apart:
//   ReferenceSeek             a key frame selected whose frame is not cached:
//                             frame 240 asked of the clip after frame 0,
//                             until its picture is ready
//   ReferenceSeekYardstick    a plain libavcodec loop decoding the same frames
//                             from the key frame before it
//   ReferencePlay             a real playback of 200 steps with the clip
//                             behind the preview at 3x; the counter late is
//                             the steps whose frame was not decoded in time
#include "bench_support.h"
#include "test_clip.h"

#include "app/hoofer_window.h"
#include "media/reference_clip.h"
#include "toolkit/menu.h"
#include "toolkit/platform.h"

#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

using namespace hoofer;
using namespace hoofer::bench;

namespace {

constexpr int kSoughtFrame = 240;

QTemporaryDir &Folder()
{
    static QTemporaryDir folder;
    return folder;
}

std::string InFolder(const std::string &name)
{
    return Folder().filePath(QString::fromStdString(name)).toStdString();
}

const std::string &Clip()
{
    static const std::string path = [] {
        test::TestClip clip;
        clip.path = InFolder("dancer.mp4");
        clip.width = 1280, clip.height = 720, clip.frames = 400, clip.encoder = "libx264";
        clip.Write();
        return clip.path;
    }();
    return path;
}

void ReferenceSeek(benchmark::State &state)
{
    const auto clip = ReferenceClip::Open(Clip());
    for (auto _ : state) {
        state.PauseTiming();
        clip->FrameAt(0);
        state.ResumeTiming();
        benchmark::DoNotOptimize(clip->FrameAt(kSoughtFrame / 25.0).image.constBits());
    }
}
BENCHMARK(ReferenceSeek)->Unit(benchmark::kMillisecond);

void ReferenceSeekYardstick(benchmark::State &state)
{
    AVFormatContext *format = nullptr;
    avformat_open_input(&format, Clip().c_str(), nullptr, nullptr);
    avformat_find_stream_info(format, nullptr);
    const AVCodec *decoder = nullptr;
    const int stream = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, &decoder, 0);
    AVCodecContext *codec = avcodec_alloc_context3(decoder);
    avcodec_parameters_to_context(codec, format->streams[stream]->codecpar);
    avcodec_open2(codec, decoder, nullptr);
    AVPacket *packet = av_packet_alloc();
    AVFrame *frame = av_frame_alloc();
    for (auto _ : state) {
        av_seek_frame(format, stream, 0, AVSEEK_FLAG_BACKWARD);
        avcodec_flush_buffers(codec);
        int decoded = 0;
        while (decoded <= kSoughtFrame && av_read_frame(format, packet) >= 0) {
            if (packet->stream_index == stream && avcodec_send_packet(codec, packet) >= 0)
                while (avcodec_receive_frame(codec, frame) == 0)
                    ++decoded;
            av_packet_unref(packet);
        }
    }
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&codec);
    avformat_close_input(&format);
}
BENCHMARK(ReferenceSeekYardstick)->Unit(benchmark::kMillisecond);

void ReferencePlay(benchmark::State &state)
{
    toolkit::QtPlatform platform;
    QuietDialogs dialogs;
    const std::string routine = InFolder("play.raw");
    WriteFileBytes(routine, SingleMoveImage({49, 49, 49, 49}));  // four transitions of 50 steps
    auto window = std::make_unique<TfrmHoofer>(platform, &dialogs, InFolder("hooferedit.ini"));
    window->show();
    window->SetZoom(3);
    dialogs.openAnswer = routine;
    window->mnuFileLoad->Click();
    dialogs.openAnswer = Clip();
    window->mnuViewReferenceChoose->Click();
    SettleEvents(50);
    for (auto _ : state)
        window->mnuMovePlay->Click();
    state.counters["late"] = static_cast<double>(window->ReferenceStepsLate);
    state.counters["steps"] = 200;
    if (dialogs.messages || !window->Core.CurrentMove()->Reference)
        state.SkipWithError("the window reported an error");
    window->Core.MarkSaved();
}
BENCHMARK(ReferencePlay)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return RunBenchmarks(argc, argv, [] { return Folder().isValid(); });
}
