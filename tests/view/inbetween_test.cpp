#include "view/inbetween.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <random>

using namespace hoofer;

using u128 = unsigned __int128;

/// num / den * 2^exp rounded to the nearest number with a 64-bit significand
/// (ties to the even significand), given back as significand * 2^exp.
static void RoundTo64Bits(u128 num, u128 den, int &exp, u128 &significand)
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
static long long Model(int difference, int steps, int step)
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

TEST(InbetweenArithmetic, TheDescribedCases)
{
    EXPECT_EQ(InbetweenOffset(118, 14, 7), 58);  // the stored quotient truncates one lower
    EXPECT_EQ(Model(118, 14, 7), 58);
    for (const auto &[step, offset] : {std::pair{0, 0}, {1, -1}, {2, -3}, {3, -5}})  // toward zero
        EXPECT_EQ(InbetweenOffset(-7, 4, step), offset) << "step " << step;
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
    const int rows[][3] = {{10, 100, 10}, {12, 92, 15}, {14, 84, 20}, {16, 76, 25}, {18, 68, 30}};  // x, y, x shifted by 3
    for (int i = 0; i < 5; ++i) {
        target.Displacement = 0;
        EXPECT_EQ(TransitionPose(previous, target, i)[0].x, rows[i][0]) << "step " << i;
        EXPECT_EQ(TransitionPose(previous, target, i)[0].y, 276 - rows[i][1]) << "step " << i;
        target.Displacement = 3;
        EXPECT_EQ(TransitionPose(previous, target, i)[0].x, rows[i][2]) << "step " << i;
    }
}

TEST(TransitionPoses, StepCountBelongsToTheTarget)
{
    THFFrame f;
    for (const auto &[interpolation, steps] : {std::pair{3, 4}, {0, 1}, {-1, 0}, {-50, 0}})
        EXPECT_EQ((f.Interpolation = interpolation, TransitionSteps(f)), steps) << interpolation;
}
