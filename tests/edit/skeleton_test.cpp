// Posing with bone lengths kept: a limb turned about its parent, the whole
// figure moved by its shoulders.
#include "edit/skeleton.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using namespace hoofer;

namespace {
PosePoints Standing()
{
    return {{{64, 96}, {44, 80}, {30, 60}, {84, 80}, {98, 60}, {64, 50},
             {54, 30}, {48, 12}, {40, 8}, {74, 30}, {80, 12}, {88, 8}}};
}
double Length(const PosePoints &p, int a, int b)
{
    return std::hypot(p[a - 1].X - p[b - 1].X, p[a - 1].Y - p[b - 1].Y);
}
} // namespace

TEST(Skeleton, TurnsTheLimbAndWhatHangsBelowItAboutTheParentFromThePressedPose)
{
    const PosePoints s = Standing();
    // Left Elbow straight up from the Shoulders: the hand turns along by the same angle.
    PosePoints up = Skeleton::PointLimbAt(s, 2, 64, 200, false);
    EXPECT_EQ(up[1], (TPoint{64, 96 + 26}));  // bone 20,16 is 25.6 long
    EXPECT_EQ(up[2], (TPoint{57, 145}));  // turned by the same 231.3 degrees
    for (int p : {1, 4, 5, 6, 7, 8, 9, 10, 11, 12})
        EXPECT_EQ(up[p - 1], s[p - 1]) << p;
    EXPECT_EQ(Skeleton::PointLimbAt(s, 6, 64, 96, false), s);  // pointer on the parent
    EXPECT_EQ(Skeleton::PointLimbAt(s, 1, 0, 0, false), s);
    // Many random drags of the Left Knee keep its bones within rounding; 1,000 moves never drift.
    std::mt19937 random(24);
    PosePoints last = s;
    for (int i = 0; i < 1000; ++i) {
        last = Skeleton::PointLimbAt(s, 7, 30 + random() % 60, random() % 40, false);
        EXPECT_NEAR(Length(last, 7, 8), Length(s, 7, 8), 1.5);
        EXPECT_NEAR(Length(last, 6, 7), Length(s, 6, 7), 1.0);
    }
    EXPECT_EQ(Skeleton::PointLimbAt(s, 7, 54, 30, false), s);
    // Snapped, the bone points along a multiple of 15 degrees.
    const PosePoints snapped = Skeleton::PointLimbAt(s, 3, 60, 79, true);
    EXPECT_EQ(snapped[2], (TPoint{68, 80}));
}

TEST(Skeleton, TheShouldersMoveTheWholeFigureStoppingAtEachEdge)
{
    const PosePoints s = Standing();
    EXPECT_EQ(Skeleton::Drag(s, 1, 74, 86, false, 5)[11], (TPoint{98, 0}));
    for (auto [x, y, dx, dy] : {std::array{0, 96, -30, 0}, {255, 96, 157, 0}, {64, 0, 0, -8}, {64, 255, 0, 159}}) {
        const PosePoints moved = Skeleton::Drag(s, 1, x, y, false, 5);
        for (int p = 0; p < kPartCount; ++p)
            EXPECT_EQ(moved[p], (TPoint{s[p].X + dx, s[p].Y + dy})) << x << "," << y;
    }
    EXPECT_EQ(Skeleton::Drag(s, 1, 68, 103, true, 5)[0], (TPoint{65, 100}));
}
