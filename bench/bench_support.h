#pragma once

#include "toolkit/dialogs.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QObject;
class QWidget;

namespace hoofer::bench {

/// The largest routine the .raw format holds: 256 moves of 255 key frames.
inline constexpr int kLargestMoves = 256;
inline constexpr int kLargestFrames = 255;

/// A routine image of `moves` moves named "Bench0", "Bench1"…, each with
/// `frames` key frames whose points, interpolations and displacements differ
/// from frame to frame (all within the figure's space).
std::string RoutineImage(int moves, int frames);

/// One move of key frames with the given interpolations.
std::string SingleMoveImage(const std::vector<int> &interpolations);

/// Writes bytes to path whole; false when it cannot.
bool WriteFileBytes(const std::string &path, const std::string &bytes);

/// Resident memory of this process in KiB (VmRSS), or -1.
long ResidentKiB();

/// Monotonic clock in nanoseconds, the clock Python's time.monotonic_ns reads.
long long MonotonicNs();

/// CPU time of this process (all threads) in nanoseconds.
long long ProcessCpuNs();

/// Dialogs that answer without a person: the open and save questions take
/// the file names set here, confirmations are refused, and every message is
/// written to stderr so a benchmark that went wrong says so.
class QuietDialogs : public toolkit::Dialogs {
public:
    bool Confirm(const std::string &text) override;
    void Error(const std::string &text) override;
    void ShowException(const std::string &text) override;
    std::optional<std::string> OpenFile(const toolkit::FileDialogSpec &request) override;
    std::optional<std::string> SaveFile(const toolkit::FileDialogSpec &request) override;
    int ShowModal(toolkit::StringEntry &entry) override;

    std::optional<std::string> openAnswer;
    std::optional<std::string> saveAnswer;
    int messages = 0;
};

/// Runs `then` once, queued, after the first paint of `widget` is over:
/// the whole window is on its backing store by then.
void AfterFirstPaint(QWidget &widget, std::function<void()> then);

/// Handles events for about ms milliseconds (bounded by time).
void SettleEvents(int ms);

/// The main of a benchmark program: Qt's application on the offscreen
/// platform (unless QT_QPA_PLATFORM says otherwise), then the benchmarks the
/// arguments select; 1 when an argument is unknown or the program is not ready.
int RunBenchmarks(int argc, char **argv, const std::function<bool()> &ready);

} // namespace hoofer::bench
