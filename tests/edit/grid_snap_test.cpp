#include "edit/grid_snap.h"

#include <gtest/gtest.h>

using namespace hoofer;

TEST(Snapping, TruncatesTowardZeroThenClamps)
{
    EXPECT_EQ(SnapCoordinate(63, true, 5), 60);
    EXPECT_EQ(SnapCoordinate(76, true, 5), 75);
    EXPECT_EQ(SnapCoordinate(63, false, 5), 63);
    EXPECT_EQ(SnapCoordinate(256, true, 10), 250);
    EXPECT_EQ(SnapCoordinate(262, true, 10), 255);
    EXPECT_EQ(SnapCoordinate(-7, true, 5), 0);
    EXPECT_EQ(SnapCoordinate(-7, false, 5), 0);
    EXPECT_EQ(SnapCoordinate(300, false, 5), 255);
}

TEST(Snapping, PointerRowsMapBackToPointSpace)
{
    EXPECT_EQ(PointerToPointY(180), 96);
    EXPECT_EQ(PointerToPointY(21), 255);
    EXPECT_EQ(PointerToPointY(300), -24);
}

TEST(HitTesting, NineByNineSquareAroundTheJoint)
{
    THFFrame f;
    for (auto &p : f.Points)
        p = {200, 200};
    f.Point(1) = {64, 96};  // pixel (64, 180)
    EXPECT_EQ(HitBodyPart(f, 68, 184), 1);
    EXPECT_EQ(HitBodyPart(f, 60, 176), 1);
    EXPECT_EQ(HitBodyPart(f, 69, 180), 0);
    EXPECT_EQ(HitBodyPart(f, 64, 175), 0);
}

TEST(HitTesting, LaterPartMustBeStrictlyNearerOnBothAxes)
{
    THFFrame f;
    for (auto &p : f.Points)
        p = {200, 200};
    f.Point(8) = {48, 12};
    f.Point(9) = {40, 8};
    EXPECT_EQ(HitBodyPart(f, 44, 276 - 10), 8);
    EXPECT_EQ(HitBodyPart(f, 41, 276 - 9), 9);
}
