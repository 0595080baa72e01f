#include "grid_snap.h"

#include <cstdlib>

namespace hoofer {

int SnapCoordinate(int value, bool snap, int grid)
{
    if (snap && grid != 0)
        value -= value % grid;
    if (value < 0)
        value = 0;
    if (value > 255)
        value = 255;
    return value;
}

int PointerToPointY(int y)
{
    return 276 - y;
}

int HitBodyPart(const THFFrame &frame, int x, int y)
{
    int best = 0, bestDx = 255, bestDy = 255;
    for (int i = 1; i <= kPartCount; ++i) {
        const int dx = std::abs(x - frame.Point(i).X);
        const int dy = std::abs(PointerToPointY(y) - frame.Point(i).Y);
        if (dx < 5 && dy < 5 && dx < bestDx && dy < bestDy) {
            best = i;
            bestDx = dx;
            bestDy = dy;
        }
    }
    return best;
}

} // namespace hoofer
