#include "view/inbetween.h"

#include <bit>
#include <cstdint>
#include <cstdlib>

namespace hoofer {

namespace {

using u128 = unsigned __int128;

int BitLength(u128 v)
{
    const auto high = static_cast<uint64_t>(v >> 64);
    return high ? 128 - std::countl_zero(high) : 64 - std::countl_zero(static_cast<uint64_t>(v));
}

/// value / 2^shift rounded to the nearest integer, ties to the even one.
u128 ShiftRoundingToEven(u128 value, int shift)
{
    if (shift <= 0)
        return value;
    const u128 kept = value >> shift;
    const u128 rest = value - (kept << shift);
    const u128 half = u128{1} << (shift - 1);
    return kept + (rest > half || (rest == half && (kept & 1)));
}

} // namespace

int InbetweenOffset(int difference, int steps, int step)
{
    // Worked in integers on the magnitudes: the quotient |difference| / steps
    // becomes q / 2^k with q holding exactly 64 significant bits, rounded to
    // nearest (ties to even) as the extended-precision division rounds; the
    // product q * |step| is rounded to 64 significant bits the same way and
    // then truncated. The result is the same on every CPU.
    if (difference == 0 || step == 0 || steps <= 0)
        return 0;
    const uint64_t a = static_cast<uint64_t>(std::llabs(difference));  // <= 2^31
    const uint64_t n = static_cast<uint64_t>(steps);
    const uint64_t m = static_cast<uint64_t>(std::llabs(step));

    // a * 2^k / n lands in [2^63, 2^64) for one of these two k.
    int k = 63 + BitLength(n) - BitLength(a);
    u128 scaled = u128{a} << k;  // below 2^95 even after the second shift
    u128 q = scaled / n;
    if (q < (u128{1} << 63)) {
        ++k;
        scaled <<= 1;
        q = scaled / n;
    }
    const u128 rest = scaled - q * n;
    if (2 * rest > n || (2 * rest == n && (q & 1)))
        ++q;
    if (q >> 64) {  // rounded up to 2^64: one bit fewer after the point
        q >>= 1;
        --k;
    }

    // The product q * m / 2^k, with q * m < 2^95.
    const u128 exact = q * m;
    int shift = BitLength(exact) > 64 ? BitLength(exact) - 64 : 0;
    u128 product = ShiftRoundingToEven(exact, shift);
    if (BitLength(product) > 64) {
        product >>= 1;
        ++shift;
    }
    // The product is below a * m / n, far below 2^63, so k - shift > 0.
    const auto truncated = static_cast<int64_t>(product >> (k - shift));
    const bool negative = (difference < 0) != (step < 0);
    return static_cast<int>(negative ? -truncated : truncated);
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
