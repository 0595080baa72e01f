#include "pose_ops.h"

#include <algorithm>
#include <utility>

namespace hoofer {

namespace {
/// Body parts that trade places, left first: elbow, hand, knee, ankle, foot.
constexpr std::pair<int, int> kLeftRight[] = {{2, 4}, {3, 5}, {7, 10}, {8, 11}, {9, 12}};
constexpr int kShoulders = 1;
} // namespace

void MirrorPose(THFFrame &frame)
{
    // 64-bit, so that no coordinate a file or a spin box can give overflows.
    const long long axis = 2LL * frame.Point(kShoulders).X;
    for (TPoint &p : frame.Points)
        p.X = static_cast<int32_t>(std::clamp(axis - p.X, 0LL, 255LL));
    for (const auto &[left, right] : kLeftRight)
        std::swap(frame.Point(left), frame.Point(right));
}

} // namespace hoofer
