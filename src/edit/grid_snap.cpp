#include "grid_snap.h"

#include <cstdlib>

namespace hoofer {

int SnapCoordinate(int value, bool snap, int grid)
{
    if (snap && grid != 0)
        value -= value % grid;
    if (value < 0)
        value = 0;
    if (value > kMaxCoordinate)
        value = kMaxCoordinate;
    return value;
}

int HitBodyPart(const THFFrame &frame, TPoint at)
{
    constexpr int kReach = 4;  // points either side of a joint
    int best = 0, bestDx = kMaxCoordinate, bestDy = kMaxCoordinate;
    for (int i = 1; i <= kPartCount; ++i) {
        const int dx = std::abs(at.X - frame.Point(i).X);
        const int dy = std::abs(at.Y - frame.Point(i).Y);
        if (dx <= kReach && dy <= kReach && dx < bestDx && dy < bestDy) {
            best = i;
            bestDx = dx;
            bestDy = dy;
        }
    }
    return best;
}

} // namespace hoofer
