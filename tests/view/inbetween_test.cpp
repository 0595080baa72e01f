#include "view/inbetween.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <random>

using namespace hoofer;

namespace {

using u128 = unsigned __int128;

/// num / den * 2^exp rounded to the nearest number with a 64-bit significand
/// (ties to the even significand), given back as significand * 2^exp.
void RoundTo64Bits(u128 num, u128 den, int &exp, u128 &significand)
{
    const u128 low = u128{1} << 63;
    for (; num < den * low; num *= 2)
        --exp;
    for (; num >= den * low * 2; den *= 2)
        ++exp;
    significand = num / den;
    const u128 twiceRest = 2 * (num % den);
    if (twiceRest > den || (twiceRest == den && significand % 2 == 1))
        ++significand;
    if (significand == low * 2) {
        significand = low;
        ++exp;
    }
}

/// The exact model: difference / steps rounded, times step rounded, truncated.
long long Model(int difference, int steps, int step)
{
    if (difference == 0 || step == 0)
        return 0;
    int exp = 0;
    u128 quotient = 0, product = 0;
    RoundTo64Bits(static_cast<u128>(std::llabs(difference)), static_cast<u128>(steps), exp, quotient);
    RoundTo64Bits(quotient * static_cast<u128>(std::llabs(step)), 1, exp, product);
    const auto whole = static_cast<long long>(exp >= 0 ? product << exp : product >> -exp);
    return (difference < 0) != (step < 0) ? -whole : whole;
}

} // namespace

TEST(InbetweenArithmetic, TheDescribedCases)
{
    EXPECT_EQ(InbetweenOffset(118, 14, 7), 58);  // the stored quotient truncates one lower
    const int negative[] = {0, -1, -3, -5};     // toward zero
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(InbetweenOffset(-7, 4, i), negative[i]) << "step " << i;
    EXPECT_EQ(Model(118, 14, 7), 58);
}

TEST(InbetweenArithmetic, MatchesTheExactModelOnRandomCases)
{
    std::mt19937 random(20261207);
    const bool x87 = LDBL_MANT_DIG == 64;  // the model checked against the hardware too
    for (int c = 0; c < 200000; ++c) {
        const bool wide = c % 8 == 0;
        const int steps = wide ? std::uniform_int_distribution<int>(1, INT32_MAX)(random)
                               : std::uniform_int_distribution<int>(1, 256)(random);
        const int difference = wide ? std::uniform_int_distribution<int>(INT32_MIN, INT32_MAX)(random)
                                    : std::uniform_int_distribution<int>(-600, 600)(random);
        const int step = std::uniform_int_distribution<int>(0, steps - 1)(random);
        const long long expected = Model(difference, steps, step);
        ASSERT_EQ(InbetweenOffset(difference, steps, step), expected)
            << difference << " over " << steps << " at step " << step;
        if (x87) {
            const long double quotient = static_cast<long double>(difference) / steps;
            const long double product = quotient * step;
            ASSERT_EQ(static_cast<long long>(std::trunc(product)), expected) << "model, case " << c;
        }
    }
}

TEST(TransitionPoses, SlideByTheTargetsDisplacement)
{
    THFFrame previous, target;
    previous.Point(1) = {10, 100};
    target.Point(1) = {20, 60};
    target.Interpolation = 4;
    const int expectX[] = {10, 12, 14, 16, 18};
    const int expectY[] = {100, 92, 84, 76, 68};
    const int shifted[] = {10, 15, 20, 25, 30};  // displacement 3
    for (int i = 0; i < 5; ++i) {
        target.Displacement = 0;
        EXPECT_EQ(TransitionPose(previous, target, i)[0].x, expectX[i]);
        EXPECT_EQ(TransitionPose(previous, target, i)[0].y, 276 - expectY[i]);
        target.Displacement = 3;
        EXPECT_EQ(TransitionPose(previous, target, i)[0].x, shifted[i]);
    }
}

TEST(TransitionPoses, StepCountBelongsToTheTarget)
{
    THFFrame f;
    for (const auto &[interpolation, steps] : {std::pair{3, 4}, {0, 1}, {-1, 0}, {-50, 0}}) {
        f.Interpolation = interpolation;
        EXPECT_EQ(TransitionSteps(f), steps) << "interpolation " << interpolation;
    }
}
