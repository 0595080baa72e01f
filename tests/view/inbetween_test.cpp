#include "view/inbetween.h"

#include <gtest/gtest.h>

using namespace hoofer;

TEST(InbetweenArithmetic, StoredQuotientCanTruncateOneLower)
{
    EXPECT_EQ(InbetweenOffset(118, 14, 7), 58);
}

TEST(InbetweenArithmetic, NegativeDifferencesTruncateTowardZero)
{
    EXPECT_EQ(InbetweenOffset(-7, 4, 0), 0);
    EXPECT_EQ(InbetweenOffset(-7, 4, 1), -1);
    EXPECT_EQ(InbetweenOffset(-7, 4, 2), -3);
    EXPECT_EQ(InbetweenOffset(-7, 4, 3), -5);
}

TEST(InbetweenArithmetic, StepZeroIsThePreviousPoseAndTheLastFallsShort)
{
    for (int d = -255; d <= 255; d += 17)
        for (int n = 1; n <= 256; n += 15) {
            EXPECT_EQ(InbetweenOffset(d, n, 0), 0);
            const int last = InbetweenOffset(d, n, n - 1);
            EXPECT_LE(std::abs(last), std::abs(d));
            if (n > 1 && d != 0) {
                EXPECT_LT(std::abs(last), std::abs(d)) << d << "/" << n;
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
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(TransitionPose(previous, target, i)[0].x, expectX[i]);
        EXPECT_EQ(TransitionPose(previous, target, i)[0].y, 276 - expectY[i]);
    }
    target.Displacement = 3;
    const int shifted[] = {10, 15, 20, 25, 30};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(TransitionPose(previous, target, i)[0].x, shifted[i]);
}

TEST(TransitionPoses, StepCountBelongsToTheTarget)
{
    THFFrame f;
    f.Interpolation = 3;
    EXPECT_EQ(TransitionSteps(f), 4);
    f.Interpolation = -1;
    EXPECT_EQ(TransitionSteps(f), 0);
    f.Interpolation = -50;
    EXPECT_EQ(TransitionSteps(f), 0);
}
