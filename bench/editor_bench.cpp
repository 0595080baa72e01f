// The editor's load, save, drawing, dragging and playback under Google
// Benchmark, each beside the yardstick bench/run divides it by (the drawing
// and dragging are held against one frame of a 60 Hz display instead):
//   Load/N, LoadYardstick      a routine of N moves of 255 key frames read and
//                              decoded / the same file read and summed
//   Save, SaveYardstick        the largest routine encoded and saved as File >
//                              Save does / the same bytes written to a
//                              temporary file, flushed to disk and renamed
//                              (what any safe save must do)
//   DrawKeyFrame, DrawPlain,   the two drawings of the preview, and the
//   DrawOnion                  key-frame drawing with the onion skin on (a
//                              transition of 8 steps), each read back as the
//                              preview's paint reads it
//   DragStep                   one mouse move of a drag in the shown window,
//                              the preview at 3x with the onion skin and the
//                              key frame strip shown
//   DragStepRepainted          the same with the window's repaint after it
//   DragRotate                 one mouse move of a drag of the Left Knee with
//                              Keep Bone Lengths on: the leg turns about the
//                              Lower Body (the window as for DragStep)
//   DragPinned                 one mouse move of a drag of the Shoulders with
//                              Keep Bone Lengths on and both ankles pinned:
//                              the body moves, both legs are solved again
//                              (the window as for DragStep)
//   ZoomDraw                   the onion-skin drawing shown at 3x
//   Pacing                     a real playback of a move of 100 steps, its
//                              pauses in the counter pauses_ms
//   History                    on the largest routine in the shown window,
//                              100 Delete Frame over 100 moves and then 100
//                              Edit > Undo; the counter rss_growth_kib is the
//                              resident memory at its highest less before
// The window runs on the offscreen platform unless QT_QPA_PLATFORM says
// otherwise.
#include "bench_support.h"

#include "app/hoofer_window.h"
#include "model/routine_codec.h"
#include "model/save_file.h"
#include "toolkit/menu.h"
#include "toolkit/paint_box.h"
#include "toolkit/platform.h"
#include "view/figure_drawing.h"
#include "view/image_canvas.h"
#include "view/onion_skin.h"
#include "view/playback.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <map>
#include <memory>
#include <numeric>
#include <unistd.h>
#include <utility>

using namespace hoofer;
using namespace hoofer::bench;

namespace {

QTemporaryDir &Folder()
{
    static QTemporaryDir folder;
    return folder;
}

std::string InFolder(const std::string &name)
{
    return Folder().filePath(QString::fromStdString(name)).toStdString();
}

/// The file of a routine of `moves` moves of 255 key frames, written once.
const std::string &RoutineFile(int moves)
{
    static std::map<int, std::string> files;
    auto &path = files[moves];
    if (path.empty()) {
        path = InFolder("routine" + std::to_string(moves) + ".raw");
        WriteFileBytes(path, RoutineImage(moves, kLargestFrames));
    }
    return path;
}

void Load(benchmark::State &state)
{
    const std::string &path = RoutineFile(static_cast<int>(state.range(0)));
    size_t bytes = 0;
    for (auto _ : state) {
        std::string data, why;
        if (!ReadWholeFile(path, data, why)) {
            state.SkipWithError(why.c_str());
            break;
        }
        TMoveList moves = DecodeRoutine(data);
        bytes = data.size();
        benchmark::DoNotOptimize(moves.data());
        // Freeing the routine is not part of reading it.
        state.PauseTiming();
        moves.clear();
        state.ResumeTiming();
    }
    state.counters["bytes"] = static_cast<double>(bytes);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}
BENCHMARK(Load)->Arg(16)->Arg(kLargestMoves)->Unit(benchmark::kMillisecond);

void LoadYardstick(benchmark::State &state)
{
    const std::string &path = RoutineFile(kLargestMoves);
    for (auto _ : state) {
        const int fd = open(path.c_str(), O_RDONLY);
        std::string data(static_cast<size_t>(lseek(fd, 0, SEEK_END)), '\0');
        const ssize_t got = pread(fd, data.data(), data.size(), 0);
        close(fd);
        if (got != static_cast<ssize_t>(data.size())) {
            state.SkipWithError("short read");
            break;
        }
        unsigned sum = 0;
        for (const char c : data)
            sum += static_cast<unsigned char>(c);
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(LoadYardstick)->Unit(benchmark::kMillisecond);

const TMoveList &LargestRoutine()
{
    static const TMoveList moves = DecodeRoutine(RoutineImage(kLargestMoves, kLargestFrames));
    return moves;
}

void Save(benchmark::State &state)
{
    const TMoveList &moves = LargestRoutine();
    const std::string path = InFolder("saved.raw");
    for (auto _ : state) {
        const std::string data = EncodeRoutine(moves);
        if (const std::string why = SaveFileAtomically(path, data); !why.empty()) {
            state.SkipWithError(why.c_str());
            break;
        }
    }
}
BENCHMARK(Save)->Unit(benchmark::kMillisecond);

void SaveYardstick(benchmark::State &state)
{
    const std::string data = RoutineImage(kLargestMoves, kLargestFrames);
    const std::string path = InFolder("written.raw");
    const std::string temporary = path + ".new";
    for (auto _ : state) {
        const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const ssize_t put = write(fd, data.data(), data.size());
        const bool flushed = fdatasync(fd) == 0;
        close(fd);
        if (put != static_cast<ssize_t>(data.size()) || !flushed || rename(temporary.c_str(), path.c_str()) != 0) {
            state.SkipWithError("the plain safe write failed");
            break;
        }
    }
}
BENCHMARK(SaveYardstick)->Unit(benchmark::kMillisecond);

const THFFrame &SomeFrame()
{
    return *LargestRoutine()[3]->Frames[7];
}

void DrawKeyFrameBench(benchmark::State &state)
{
    ImageCanvas canvas(kPreviewWidth, kPreviewHeight, clPreviewBackground);
    const THFFrame &frame = SomeFrame();
    for (auto _ : state) {
        DrawKeyFrame(canvas, frame, 4);
        benchmark::DoNotOptimize(std::as_const(canvas).image().constBits());
    }
}
BENCHMARK(DrawKeyFrameBench)->Name("DrawKeyFrame")->Unit(benchmark::kMicrosecond);

void DrawPlain(benchmark::State &state)
{
    ImageCanvas canvas(kPreviewWidth, kPreviewHeight, clPreviewBackground);
    const PosePixels pixels = FramePixels(SomeFrame());
    for (auto _ : state) {
        DrawPlainPose(canvas, pixels);
        benchmark::DoNotOptimize(std::as_const(canvas).image().constBits());
    }
}
BENCHMARK(DrawPlain)->Unit(benchmark::kMicrosecond);

/// Three key frames of the largest routine; the middle one, drawn with the
/// onion skin, is reached by a transition of 8 steps that slides 3 pixels a
/// step.
std::unique_ptr<THFMove> OnionMove()
{
    auto move = std::make_unique<THFMove>();
    for (int i = 6; i <= 8; ++i) {
        move->Frames.push_back(std::make_unique<THFFrame>());
        CopyFramePose(*LargestRoutine()[3]->Frames[i], *move->Frames.back());
    }
    move->SyncFrameCount();
    move->Frames[1]->Interpolation = 7;
    move->Frames[1]->Displacement = 3;
    return move;
}

void DrawOnion(benchmark::State &state)
{
    const std::unique_ptr<THFMove> move = OnionMove();
    ImageCanvas canvas(kPreviewWidth, kPreviewHeight, clPreviewBackground);
    for (auto _ : state) {
        DrawOnionSkinKeyFrame(canvas, *move, *move->Frames[1], 4);
        benchmark::DoNotOptimize(std::as_const(canvas).image().constBits());
    }
}
BENCHMARK(DrawOnion)->Unit(benchmark::kMicrosecond);

/// The preview's largest zoom.
constexpr int kBenchZoom = 3;

/// How the window shows the preview: at 1x with nothing else, or the most
/// the user can ask of it (3x, the onion skin and the key frame strip).
enum class Preview { Plain, Fullest };

/// The main window as the program makes it, shown, with a routine loaded
/// through File > Load. The view is set whatever the settings file, which
/// the window before wrote, says.
struct ShownWindow {
    toolkit::QtPlatform platform;
    QuietDialogs dialogs;
    std::unique_ptr<TfrmHoofer> window;

    ShownWindow(const std::string &routineFile, Preview preview)
    {
        window = std::make_unique<TfrmHoofer>(platform, &dialogs, InFolder("hooferedit.ini"));
        window->show();
        SettleEvents(50);
        const bool fullest = preview == Preview::Fullest;
        window->SetZoom(fullest ? kBenchZoom : 1);
        if (window->mnuViewOnionSkin->Checked() != fullest)
            window->mnuViewOnionSkin->Click();
        window->SetKeyFrameStripShown(fullest);
        dialogs.openAnswer = routineFile;
        window->mnuFileLoad->Click();
        SettleEvents(20);
    }
    ~ShownWindow()
    {
        window->Core.MarkSaved();
        window.reset();
        QApplication::processEvents();
    }
};

/// A mouse event over the preview's pixel where, in the middle of its block.
void SendMouse(toolkit::TPaintBox *target, QEvent::Type type, QPoint where, Qt::MouseButton button,
               Qt::MouseButtons buttons)
{
    const int zoom = target->Zoom();
    const QPointF at(where.x() * zoom + zoom / 2, where.y() * zoom + zoom / 2);
    QMouseEvent event(type, at, target->mapToGlobal(at), button, buttons, Qt::ShiftModifier);
    QApplication::sendEvent(target, &event);
}

/// One mouse move of a drag through the preview's own mouse handling: the
/// move handler, the refresh of the spin edits and menus, the drawing. With
/// repaint, the window's repaint that follows each move (the preview and the
/// spin edits on the backing store) is counted too; without it, the repaint
/// still happens before the next move, off the clock. Timed by hand around
/// the work: pausing the benchmark's own timers reads the process's CPU
/// clock, which costs more than a microsecond a step here.
void DragStep(benchmark::State &state, bool repaint)
{
    // The first move has 255 key frames, every one in the strip.
    ShownWindow shown(RoutineFile(kLargestMoves), Preview::Fullest);
    TfrmHoofer &w = *shown.window;
    const TPixel hand = PointToPixel(w.Core.CurrentFrame()->Point(5));
    SendMouse(w.Image, QEvent::MouseButtonPress, {hand.x, hand.y}, Qt::LeftButton, Qt::LeftButton);
    if (w.cbxBodyPart->ItemIndex() != 4 || w.Drag.Blocked())
        state.SkipWithError("the press did not pick body part 5");
    int step = 0;
    for (auto _ : state) {
        // Back and forth by one pixel: every move changes the key frame.
        const QPoint where(hand.x + (++step & 1), hand.y);
        const auto start = std::chrono::steady_clock::now();
        SendMouse(w.Image, QEvent::MouseMove, where, Qt::NoButton, Qt::LeftButton);
        if (repaint)
            QApplication::processEvents();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(took.count());
        if (!repaint)
            QApplication::processEvents();
    }
    SendMouse(w.Image, QEvent::MouseButtonRelease, {hand.x, hand.y}, Qt::LeftButton, Qt::NoButton);
    if (shown.dialogs.messages)
        state.SkipWithError("the window reported an error");
}
BENCHMARK_CAPTURE(DragStep, handler, false)->Name("DragStep")->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(DragStep, repainted, true)
    ->Name("DragStepRepainted")
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

void DragRotate(benchmark::State &state)
{
    ShownWindow shown(RoutineFile(kLargestMoves), Preview::Fullest);
    TfrmHoofer &w = *shown.window;
    w.mnuOptionsKeepBoneLengths->Click();
    const TPixel knee = PointToPixel(w.Core.CurrentFrame()->Point(7));
    SendMouse(w.Image, QEvent::MouseButtonPress, {knee.x, knee.y}, Qt::LeftButton, Qt::LeftButton);
    if (w.cbxBodyPart->ItemIndex() != 6 || w.Drag.Blocked() || !w.Options.KeepBoneLengths)
        state.SkipWithError("the press did not pick the Left Knee with Keep Bone Lengths on");
    const TPoint before = w.Core.CurrentFrame()->Point(7);
    int step = 0;
    for (auto _ : state) {
        // Back and forth across the knee: every move turns the leg.
        const QPoint where(knee.x + ((++step & 1) ? 6 : -6), knee.y);
        const auto start = std::chrono::steady_clock::now();
        SendMouse(w.Image, QEvent::MouseMove, where, Qt::NoButton, Qt::LeftButton);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(took.count());
        QApplication::processEvents();
    }
    if (w.Core.CurrentFrame()->Point(7) == before)
        state.SkipWithError("the leg did not turn");
    SendMouse(w.Image, QEvent::MouseButtonRelease, {knee.x, knee.y}, Qt::LeftButton, Qt::NoButton);
    // The next window reads the settings this one writes.
    w.mnuOptionsKeepBoneLengths->Click();
    if (shown.dialogs.messages)
        state.SkipWithError("the window reported an error");
}
BENCHMARK(DragRotate)->UseManualTime()->Unit(benchmark::kMicrosecond);

void DragPinned(benchmark::State &state)
{
    ShownWindow shown(RoutineFile(kLargestMoves), Preview::Fullest);
    TfrmHoofer &w = *shown.window;
    w.mnuOptionsKeepBoneLengths->Click();
    // A standing figure, whose legs reach their pinned ankles.
    const std::unique_ptr<THFMove> standing = MakeStandingMove();
    for (int part = 1; part <= kPartCount; ++part)
        w.Core.SetPartPosition(part, standing->Frames[0]->Point(part).X, standing->Frames[0]->Point(part).Y);
    w.Pins.set(8).set(11);
    const TPoint ankle = w.Core.CurrentFrame()->Point(8);
    const std::size_t entries = w.Core.History().Count();
    const TPixel shoulders = PointToPixel(w.Core.CurrentFrame()->Point(1));
    SendMouse(w.Image, QEvent::MouseButtonPress, {shoulders.x, shoulders.y}, Qt::LeftButton, Qt::LeftButton);
    if (w.cbxBodyPart->ItemIndex() != 0 || w.Drag.Blocked())
        state.SkipWithError("the press did not pick the Shoulders");
    int step = 0;
    for (auto _ : state) {
        // Down and back by two pixels: every move bends both legs again.
        const QPoint where(shoulders.x, shoulders.y + ((++step & 1) ? 2 : 0));
        const auto start = std::chrono::steady_clock::now();
        SendMouse(w.Image, QEvent::MouseMove, where, Qt::NoButton, Qt::LeftButton);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(took.count());
        QApplication::processEvents();
    }
    if (w.Core.CurrentFrame()->Point(8) != ankle || (step > 1 && w.Core.History().Count() == entries))
        state.SkipWithError("the body did not move over the pinned ankle");
    SendMouse(w.Image, QEvent::MouseButtonRelease, {shoulders.x, shoulders.y}, Qt::LeftButton, Qt::NoButton);
    w.mnuOptionsKeepBoneLengths->Click();
    if (shown.dialogs.messages)
        state.SkipWithError("the window reported an error");
}
BENCHMARK(DragPinned)->UseManualTime()->Unit(benchmark::kMicrosecond);

void ZoomDraw(benchmark::State &state)
{
    const std::unique_ptr<THFMove> move = OnionMove();
    ImageCanvas canvas(kPreviewWidth, kPreviewHeight, clPreviewBackground);
    // The backing store's kind of surface.
    QImage surface(kPreviewWidth * kBenchZoom, kPreviewHeight * kBenchZoom, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        DrawOnionSkinKeyFrame(canvas, *move, *move->Frames[1], 4);
        QPainter painter(&surface);
        toolkit::PaintZoomed(painter, std::as_const(canvas).image(), kBenchZoom);
        painter.end();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(ZoomDraw)->Unit(benchmark::kMicrosecond);

void Pacing(benchmark::State &state)
{
    // Four key frames of 25 steps each: 100 steps, four transitions.
    const std::string path = InFolder("pacing.raw");
    WriteFileBytes(path, SingleMoveImage({24, 24, 24, 24}));
    ShownWindow shown(path, Preview::Plain);
    TfrmHoofer &w = *shown.window;
    const long long pauses = PassDurationMs(*w.Core.CurrentMove());
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        w.mnuMovePlay->Click();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(took.count());
    }
    state.counters["pauses_ms"] = static_cast<double>(pauses);
    if (shown.dialogs.messages)
        state.SkipWithError("the window reported an error");
}
BENCHMARK(Pacing)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

/// 100 deletions and their undos through the window's own handlers, which
/// bring the controls in line after each. The routine must come back to its
/// very bytes.
void History(benchmark::State &state)
{
    ShownWindow shown(RoutineFile(kLargestMoves), Preview::Plain);
    TfrmHoofer &w = *shown.window;
    const std::string image = w.Core.SerialiseRoutine();
    const long before = ResidentKiB();
    long highest = before;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < 100; ++i) {
            w.Core.SelectMove(i * 2);
            w.Core.SelectFrame(128);
            w.DeleteCurrentFrame(false);
        }
        highest = std::max(highest, ResidentKiB());
        for (int i = 0; i < 100; ++i)
            w.mnuEditUndoClick();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(took.count());
    }
    state.counters["rss_growth_kib"] = static_cast<double>(std::max(highest, ResidentKiB()) - before);
    if (w.Core.SerialiseRoutine() != image || shown.dialogs.messages)
        state.SkipWithError("the routine did not come back, or the window reported an error");
}
BENCHMARK(History)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return RunBenchmarks(argc, argv, [] { return Folder().isValid(); });
}
