#pragma once

#include "media/reference_clip.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace hoofer {

/// The frames of a reference for a playback, decoded ahead on a thread of
/// their own: given the times of the steps in the order they are shown, each
/// frame is decoded before its step comes, so a step need not wait. Frames
/// are kept scaled down to at most the size they are drawn at, and no more
/// than 64 MB of them are held ahead of the step being shown.
class ReferenceFrames {
public:
    /// Opens the file on the thread and decodes the frames at `times`
    /// (seconds on the clip's time line) in order, each scaled to fit
    /// `largest` when it is larger.
    ReferenceFrames(std::string path, std::vector<double> times, QSize largest);
    /// Stops the thread, dropping what it has not decoded.
    ~ReferenceFrames();
    ReferenceFrames(const ReferenceFrames &) = delete;
    ReferenceFrames &operator=(const ReferenceFrames &) = delete;

    /// The frame for times[index] once it is decoded, waiting at most `wait`
    /// for it; none when it is not ready by then or cannot be decoded (Error
    /// says why). The frames before index are let go.
    std::optional<ClipFrame> Frame(size_t index, std::chrono::milliseconds wait = {});
    /// Why the decoding stopped early; empty while it has not.
    std::string Error() const;

private:
    void Run(const std::string &path, QSize largest);

    static constexpr size_t kHeldBytes = 64u << 20;
    mutable std::mutex m_lock;
    std::condition_variable m_changed;
    std::vector<double> m_times;
    std::vector<std::optional<ClipFrame>> m_frames;
    size_t m_decoded = 0;  // how many of m_times the thread has been through
    size_t m_shown = 0;    // the frames before it are let go
    size_t m_heldBytes = 0;
    bool m_stop = false;
    std::string m_error;
    std::thread m_thread;
};

} // namespace hoofer
