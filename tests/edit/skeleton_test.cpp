// Posing with bone lengths kept: a limb turned about its parent, the whole
// figure moved by its shoulders; a hand or an ankle reaching for a point and
// the ends pinned while the body moves (bone lengths within a point, pinned
// ends unmoved, the bend side kept), as tables and over random poses.
#include "edit/limb_reach.h"
#include "edit/skeleton.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <tuple>

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
/// Which side of the line from part a to part c part b lies on: 1, -1, or 0 for straight.
int Side(const PosePoints &p, int a, int b, int c)
{
    const long long cross = static_cast<long long>(p[c - 1].X - p[a - 1].X) * (p[b - 1].Y - p[a - 1].Y)
                            - static_cast<long long>(p[c - 1].Y - p[a - 1].Y) * (p[b - 1].X - p[a - 1].X);
    return cross > 0 ? 1 : cross < 0 ? -1 : 0;
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

TEST(LimbReach, AHandOrAnAnkleReachesWhereItCanAndStretchesStraightWhereItCannot)
{
    const PosePoints s = Standing();
    const std::tuple<const char *, int, TPoint, bool> rows[] = {
        {"reachable", 3, {50, 70}, true},
        {"just reachable, the arm nearly straight", 3, {64, 47}, true},
        {"out of reach", 3, {0, 96}, false},
        {"the ankle, the foot following", 8, {50, 20}, true},
    };
    for (const auto &[name, end, target, reached] : rows) {
        const Limb l = *LimbEndingAt(end);
        const PosePoints pose = ReachWith(s, s, end, target);
        EXPECT_EQ(pose[end - 1] == target, reached) << name;
        EXPECT_NEAR(Length(pose, l.root, l.joint), Length(s, l.root, l.joint), 1.0) << name;
        EXPECT_NEAR(Length(pose, l.joint, l.end), Length(s, l.joint, l.end), 1.0) << name;
        const double straight = Length(pose, l.root, l.joint) + Length(pose, l.joint, l.end);
        EXPECT_TRUE(reached || std::abs(Length(pose, l.root, l.end) - straight) <= 1.0) << name << ": straight";
        EXPECT_TRUE(!l.follower || pose[8].X - pose[7].X == s[8].X - s[7].X) << name << ": the foot keeps its offset";
    }
}

TEST(LimbReach, TheJointBendsToTheSideItHadAtThePressAStraightLimbAnticlockwise)
{
    PosePoints s = Standing();
    for (const int elbowX : {76, 52, 64}) {  // the elbow on one side, the other, a straight arm
        s[1] = {elbowX, 73}, s[2] = {64, 50};
        const PosePoints pose = ReachWith(s, s, 3, {80, 80});
        EXPECT_EQ(Side(pose, 1, 2, 3), elbowX == 64 ? 1 : Side(s, 1, 2, 3)) << elbowX;
    }
    s[6] = {64, 30}, s[7] = {64, 10}, s[8] = {56, 8};  // a straight left leg, the foot pointing left
    EXPECT_LT(ReachWith(s, s, 8, {64, 20})[6].X, 64) << "a straight leg's knee goes the way its foot points";
    s[1] = {52, 73};  // bent clockwise, the shoulders at 240: the elbow would leave the top, so it bends the other way
    for (TPoint &p : s)
        p.Y += 144;
    const PosePoints top = ReachWith(s, s, 3, {28, 250});
    EXPECT_EQ(std::pair(top[2], std::abs(Length(top, 1, 2) - Length(s, 1, 2)) <= 1), std::pair(TPoint{28, 250}, true));
}

TEST(LimbReach, DragsReachToTheHeldAndSnappedPointerAndASquatKeepsFeetOnTheFloor)
{
    PosePoints s = Standing();
    for (TPoint &p : s)
        p = {p.X - 28, p.Y - 8};  // a hand near the left edge, the feet on the floor (Y 0)
    const PinnedEnds none, feet = PinnedEnds().set(8).set(11);
    EXPECT_EQ(DragWithLimbs(s, 3, -20, 60, false, 1, none, true)[2], (TPoint{0, 60})) << "held within 0..255";
    EXPECT_EQ(DragWithLimbs(s, 3, 14, 58, true, 5, none, true)[2], (TPoint{10, 55})) << "snapped";
    EXPECT_EQ(DragWithLimbs(s, 3, 14, 58, false, 1, none, false), Skeleton::Drag(s, 3, 14, 58, false, 1))
        << "without Ctrl, a turn of the limb";
    const PosePoints squat = DragWithLimbs(s, 1, 36, 78, false, 1, feet, false);
    EXPECT_EQ(std::pair(squat[0], squat[5].Y), std::pair(TPoint{36, 78}, s[5].Y - 10)) << "down though the feet touch the floor";
    for (const int part : {8, 9, 11, 12})
        EXPECT_EQ(squat[part - 1], s[part - 1]) << part;
    const PosePoints turned = DragWithLimbs(squat, 6, 40, 34, false, 1, feet, false);
    EXPECT_NE(turned[5], squat[5]);
    EXPECT_EQ(std::pair(turned[7], turned[10]), std::pair(squat[7], squat[10])) << "the Lower Body turned, the ankles stay";
}

TEST(LimbReach, RandomBodyMovesKeepPinnedEndsBoneLengthsAndBendSides)
{
    std::mt19937 random(20261209);
    std::uniform_int_distribution<int> shift(-30, 30), jitter(-12, 12);
    for (int c = 0; c < 2000; ++c) {
        PosePoints pressed = Standing(), moved;
        for (TPoint &p : pressed)
            p = {p.X + 60 + jitter(random), p.Y + 60 + jitter(random)};
        const PinnedEnds pins = PinnedEnds().set(3, c & 1).set(5, c & 2).set(8).set(11);
        const int dx = shift(random), dy = shift(random);
        for (int p = 0; p < kPartCount; ++p)
            moved[p] = {pressed[p].X + dx, pressed[p].Y + dy};
        const PosePoints pose = KeepPinned(pressed, moved, pins);
        for (const int end : {3, 5, 8, 11}) {
            const Limb l = *LimbEndingAt(end);
            const double upper = Length(pressed, l.root, l.joint), lower = Length(pressed, l.joint, l.end);
            const TPoint root = pose[l.root - 1], tip = pressed[end - 1];
            const double reach = std::hypot(tip.X - root.X, tip.Y - root.Y);
            if (!pins.test(end))
                continue;
            ASSERT_NEAR(Length(pose, l.root, l.joint), upper, 1.0) << c;
            ASSERT_NEAR(Length(pose, l.joint, l.end), lower, 1.0) << c;
            const bool within = reach > std::abs(upper - lower) + 1 && reach < upper + lower - 1;
            ASSERT_TRUE(!within || pose[end - 1] == tip) << c << " end " << end;
            const int side = Side(pressed, l.root, l.joint, end);
            const bool clear = reach > std::abs(upper - lower) + 3 && reach < upper + lower - 3;
            ASSERT_TRUE(side == 0 || !clear || Side(pose, l.root, l.joint, end) == side) << c << " bends as at the press";
        }
    }
}
