#include "media/reference_frames.h"

#include <stdexcept>

namespace hoofer {

ReferenceFrames::ReferenceFrames(std::string path, std::vector<double> times, QSize largest)
    : m_times(std::move(times)), m_frames(m_times.size())
{
    m_thread = std::thread([this, path = std::move(path), largest] { Run(path, largest); });
}

ReferenceFrames::~ReferenceFrames()
{
    {
        std::lock_guard lock(m_lock);
        m_stop = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

void ReferenceFrames::Run(const std::string &path, QSize largest)
{
    try {
        const auto clip = ReferenceClip::Open(path);
        int64_t lastBegins = -1;
        QImage last;
        for (size_t i = 0; i < m_times.size(); ++i) {
            {
                // A step already shown without its frame needs none now.
                std::lock_guard lock(m_lock);
                if (m_stop)
                    return;
                if (i < m_shown) {
                    m_decoded = i + 1;
                    continue;
                }
            }
            ClipFrame frame = clip->FrameAt(m_times[i]);
            // Steps within one frame share its picture, scaled once.
            const int64_t begins = static_cast<int64_t>(frame.seconds * 1e6);
            if (begins == lastBegins) {
                frame.image = last;
            } else {
                if (frame.image.width() > largest.width() || frame.image.height() > largest.height())
                    frame.image = frame.image.scaled(largest, Qt::KeepAspectRatio, Qt::SmoothTransformation);
                last = frame.image;
                lastBegins = begins;
            }
            std::unique_lock lock(m_lock);
            // Far enough ahead: wait for the steps to catch up.
            m_changed.wait(lock, [this] { return m_stop || m_heldBytes < kHeldBytes; });
            if (m_stop)
                return;
            if (i >= m_shown) {
                m_heldBytes += static_cast<size_t>(frame.image.sizeInBytes());
                m_frames[i] = std::move(frame);
            }
            m_decoded = i + 1;
            m_changed.notify_all();
        }
    } catch (const std::exception &e) {
        std::lock_guard lock(m_lock);
        m_error = e.what();
        m_decoded = m_times.size();
        m_changed.notify_all();
    }
}

std::optional<ClipFrame> ReferenceFrames::Frame(size_t index, std::chrono::milliseconds wait)
{
    std::unique_lock lock(m_lock);
    for (; m_shown < index && m_shown < m_frames.size(); ++m_shown)
        if (m_frames[m_shown]) {
            m_heldBytes -= static_cast<size_t>(m_frames[m_shown]->image.sizeInBytes());
            m_frames[m_shown].reset();
        }
    m_changed.notify_all();
    if (index >= m_frames.size())
        return std::nullopt;
    m_changed.wait_for(lock, wait, [&] { return m_decoded > index; });
    return m_frames[index];
}

std::string ReferenceFrames::Error() const
{
    std::lock_guard lock(m_lock);
    return m_error;
}

} // namespace hoofer
