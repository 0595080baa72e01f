#pragma once

#include "frame_pool.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace hoofer {

/// Number of body parts of the figure; parts are numbered 1..12.
inline constexpr int kPartCount = 12;
/// Coordinates run from 0 to 255 on both axes.
inline constexpr int kMaxCoordinate = 255;

struct TPoint {
    int32_t X = 0;
    int32_t Y = 0;
    bool operator==(const TPoint &) const = default;
};

/// A key frame's undo or redo history: 26-byte frame snapshots, newest last.
///
/// Most key frames never get a history, and the largest routine has 65,280
/// key frames, so the entries live out of line: an empty history costs one
/// pointer rather than an empty vector (a megabyte less for that routine).
class TFrameHistory {
public:
    bool empty() const { return !m_entries || m_entries->empty(); }
    size_t size() const { return m_entries ? m_entries->size() : 0; }
    /// The newest entry; the history must not be empty.
    std::string &back() { return m_entries->back(); }
    const std::string &back() const { return m_entries->back(); }
    void push_back(std::string snapshot)
    {
        if (!m_entries)
            m_entries = std::make_unique<std::vector<std::string>>();
        m_entries->push_back(std::move(snapshot));
    }
    /// Drops the newest entry; the history must not be empty.
    void pop_back() { m_entries->pop_back(); }
    /// Forgets every entry and gives their storage back.
    void clear() { m_entries.reset(); }
    /// A copy of the entries, oldest first, and its way back in: the
    /// routine's history keeps a key frame's history as it stood.
    std::vector<std::string> Entries() const { return m_entries ? *m_entries : std::vector<std::string>(); }
    void Assign(const std::vector<std::string> &entries)
    {
        if (entries.empty())
            clear();
        else
            m_entries = std::make_unique<std::vector<std::string>>(entries);
    }

private:
    std::unique_ptr<std::vector<std::string>> m_entries;
};

/// One key frame: where the twelve body parts stand, how many steps playback
/// takes towards it and how far the figure slides on each step. Each key frame
/// keeps its own undo history and, beside it, the poses Undo stepped back from.
class THFFrame {
public:
    /// Points[0] is body part 1 (the Shoulders); use Point(n) for 1-based access.
    std::array<TPoint, kPartCount> Points{};
    int32_t Interpolation = 0;
    int32_t Displacement = 0;
    TFrameHistory UndoList;
    /// The poses undone, newest last; a recorded undo snapshot empties it.
    /// With the second pointer a frame is 120 bytes, the size of a place in
    /// the frame pool.
    TFrameHistory RedoList;

    TPoint &Point(int part) { return Points.at(part - 1); }
    const TPoint &Point(int part) const { return Points.at(part - 1); }

    /// Key frames are made in the frame pool, not one by one on the heap.
    static void *operator new(std::size_t size) { return FramePool::Take(size); }
    static void operator delete(void *place) noexcept { FramePool::Give(place); }
};
static_assert(sizeof(THFFrame) <= FramePool::kPlaceSize && alignof(THFFrame) <= FramePool::kPlaceAlignment,
              "a key frame fits a place of the frame pool");

/// The body parts' names as the body-part selector shows them, trailing
/// blanks and all, in body-part order; BodyPartName trims them.
inline constexpr const char *kBodyPartTexts[kPartCount] = {
    "Shoulders",  "Left Elbow ", "Left Hand",  "Right Elbow ", "Right Hand  ", "Lower Body ",
    "Left Knee ", "Left Ankle ", "Left Foot", "Right Knee ",  "Right Ankle ", "Right Foot ",
};

/// Copies the pose (points, interpolation, displacement) but not the histories.
void CopyFramePose(const THFFrame &source, THFFrame &destination);

} // namespace hoofer
