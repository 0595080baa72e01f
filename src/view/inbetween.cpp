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

/// The stored quotient |difference| / steps as significand / 2^exponent, the
/// significand holding exactly 64 significant bits; 0 stands for a zero
/// quotient.
struct StoredQuotient {
    uint64_t significand = 0;
    int exponent = 0;
    bool negative = false;
};

StoredQuotient Divide(int difference, int steps)
{
    // Worked in integers on the magnitudes: the quotient becomes q / 2^k with
    // q rounded to nearest (ties to even) as the extended-precision division
    // rounds. The result is the same on every CPU.
    if (difference == 0 || steps <= 0)
        return {};
    const uint64_t a = static_cast<uint64_t>(std::llabs(difference));  // <= 2^31
    const uint64_t n = static_cast<uint64_t>(steps);

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
    return {static_cast<uint64_t>(q), k, difference < 0};
}

/// The stored quotient times step, rounded to 64 significant bits as the
/// extended-precision product rounds, then truncated toward zero.
int Multiply(const StoredQuotient &quotient, int step)
{
    if (quotient.significand == 0 || step == 0)
        return 0;
    const uint64_t m = static_cast<uint64_t>(std::llabs(step));
    // The product q * m / 2^k, with q * m < 2^95.
    const u128 exact = u128{quotient.significand} * m;
    int shift = BitLength(exact) > 64 ? BitLength(exact) - 64 : 0;
    u128 product = ShiftRoundingToEven(exact, shift);
    if (BitLength(product) > 64) {
        product >>= 1;
        ++shift;
    }
    // The product is below a * m / n, far below 2^63, so k - shift > 0.
    const auto truncated = static_cast<int64_t>(product >> (quotient.exponent - shift));
    return static_cast<int>(quotient.negative != (step < 0) ? -truncated : truncated);
}

/// The quotients of one transition, one per coordinate of every body part:
/// the division is done once per transition, each step only multiplies.
struct TransitionQuotients {
    std::array<StoredQuotient, kPartCount> x, y;

    TransitionQuotients(const THFFrame &previous, const THFFrame &target)
    {
        const int steps = TransitionSteps(target);
        for (size_t p = 0; p < x.size(); ++p) {
            x[p] = Divide(target.Points[p].X - previous.Points[p].X, steps);
            y[p] = Divide(target.Points[p].Y - previous.Points[p].Y, steps);
        }
    }

    PosePixels Pose(const THFFrame &previous, const THFFrame &target, int step) const
    {
        PosePixels pixels;
        for (size_t p = 0; p < pixels.size(); ++p) {
            const TPoint &from = previous.Points[p];
            const int px = from.X + Multiply(x[p], step) + target.Displacement * step;
            const int py = from.Y + Multiply(y[p], step);
            pixels[p] = PointToPixel({px, py});
        }
        return pixels;
    }
};

} // namespace

int InbetweenOffset(int difference, int steps, int step)
{
    return Multiply(Divide(difference, steps), step);
}

int TransitionSteps(const THFFrame &target)
{
    if (target.Interpolation < 0)
        return 0;
    return target.Interpolation < INT32_MAX ? target.Interpolation + 1 : INT32_MAX;
}

PosePixels TransitionPose(const THFFrame &previous, const THFFrame &target, int step)
{
    return TransitionQuotients(previous, target).Pose(previous, target, step);
}

std::vector<PosePixels> TransitionPoses(const THFFrame &previous, const THFFrame &target)
{
    // At most 256 steps from a file or a spin box: a few kilobytes.
    const int steps = TransitionSteps(target);
    const TransitionQuotients quotients(previous, target);
    std::vector<PosePixels> poses;
    poses.reserve(static_cast<size_t>(steps));
    for (int i = 0; i < steps; ++i)
        poses.push_back(quotients.Pose(previous, target, i));
    return poses;
}

} // namespace hoofer
