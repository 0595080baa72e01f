#include "view/inbetween.h"

#include <cmath>
#include <cstdint>

namespace hoofer {

int InbetweenOffset(int difference, int steps, int step)
{
    // Each of the two results is rounded to the 64-bit significand of long
    // double on its own; folding them into one expression could keep more.
    const long double quotient = static_cast<long double>(difference) / steps;
    const long double product = quotient * step;
    return static_cast<int>(std::trunc(product));
}

int TransitionSteps(const THFFrame &target)
{
    if (target.Interpolation < 0)
        return 0;
    return target.Interpolation < INT32_MAX ? target.Interpolation + 1 : INT32_MAX;
}

PosePixels TransitionPose(const THFFrame &previous, const THFFrame &target, int step)
{
    const int steps = TransitionSteps(target);
    PosePixels pixels;
    for (size_t p = 0; p < pixels.size(); ++p) {
        const TPoint &from = previous.Points[p];
        const TPoint &to = target.Points[p];
        const int x = from.X + InbetweenOffset(to.X - from.X, steps, step) + target.Displacement * step;
        const int y = from.Y + InbetweenOffset(to.Y - from.Y, steps, step);
        pixels[p] = PointToPixel({x, y});
    }
    return pixels;
}

} // namespace hoofer
