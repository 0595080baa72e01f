#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace hoofer {

/// Number of body parts of the figure; parts are numbered 1..12.
inline constexpr int kPartCount = 12;

struct TPoint {
    int32_t X = 0;
    int32_t Y = 0;
    bool operator==(const TPoint &) const = default;
};

/// One key frame: where the twelve body parts stand, how many steps playback
/// takes towards it and how far the figure slides on each step. Each key frame
/// keeps its own undo history of 26-byte frame snapshots, newest last.
class THFFrame {
public:
    /// Points[0] is body part 1 (the Shoulders); use Point(n) for 1-based access.
    std::array<TPoint, kPartCount> Points{};
    int32_t Interpolation = 0;
    int32_t Displacement = 0;
    std::vector<std::string> UndoList;

    TPoint &Point(int part) { return Points.at(part - 1); }
    const TPoint &Point(int part) const { return Points.at(part - 1); }
};

/// Copies the pose (points, interpolation, displacement) but not the history.
void CopyFramePose(const THFFrame &source, THFFrame &destination);

} // namespace hoofer
