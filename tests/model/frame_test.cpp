// A key frame's histories and the pose operations of the Frame menu.

#include "model/pose_ops.h"

#include <gtest/gtest.h>

#include <array>

using namespace hoofer;

namespace {
using Pose = std::array<TPoint, kPartCount>;
}

TEST(MirrorPose, ReflectsAcrossTheShouldersSwapsSidesAndClamps)
{
    struct Case {
        const char *name;
        Pose before;
        Pose after;
    };
    const Case cases[] = {
        {"shoulders at 100, the right foot clamped at 0",
         {{{100, 200}, {80, 180}, {60, 150}, {120, 181}, {140, 151}, {100, 120},
           {90, 80}, {85, 40}, {0, 5}, {110, 81}, {115, 41}, {250, 6}}},
         {{{100, 200}, {80, 181}, {60, 151}, {120, 180}, {140, 150}, {100, 120},
           {90, 81}, {85, 41}, {0, 6}, {110, 80}, {115, 40}, {200, 5}}}},
        {"shoulders at 200, the left foot clamped at 255",
         {{{200, 100}, {190, 90}, {255, 80}, {210, 91}, {220, 81}, {230, 50},
           {180, 30}, {170, 10}, {100, 0}, {220, 31}, {225, 11}, {240, 1}}},
         {{{200, 100}, {190, 91}, {180, 81}, {210, 90}, {145, 80}, {170, 50},
           {180, 31}, {175, 11}, {160, 1}, {220, 30}, {230, 10}, {255, 0}}}},
    };
    for (const Case &c : cases) {
        THFFrame frame;
        frame.Points = c.before;
        frame.Interpolation = 7;
        frame.Displacement = -12;
        MirrorPose(frame);
        for (int p = 0; p < kPartCount; ++p)
            EXPECT_EQ(frame.Points[p], c.after[p]) << c.name << ", body part " << p + 1;
        EXPECT_EQ(frame.Interpolation, 7) << c.name;
        EXPECT_EQ(frame.Displacement, -12) << c.name;
    }
}

TEST(FrameHistory, UndoAndRedoListsAreSeparateStacksThatPoseCopiesLeaveAlone)
{
    THFFrame frame;
    EXPECT_TRUE(frame.RedoList.empty());
    frame.UndoList.push_back("u1");
    frame.RedoList.push_back("r1");
    frame.RedoList.push_back("r2");
    EXPECT_EQ(frame.UndoList.size(), 1u);
    ASSERT_EQ(frame.RedoList.size(), 2u);
    EXPECT_EQ(frame.RedoList.back(), "r2");
    frame.RedoList.pop_back();
    EXPECT_EQ(frame.RedoList.back(), "r1");

    THFFrame copy;
    copy.RedoList.push_back("own");
    CopyFramePose(frame, copy);
    EXPECT_EQ(copy.RedoList.size(), 1u);
    EXPECT_EQ(copy.RedoList.back(), "own");
    EXPECT_TRUE(copy.UndoList.empty());

    frame.RedoList.clear();
    EXPECT_TRUE(frame.RedoList.empty());
    EXPECT_EQ(frame.RedoList.size(), 0u);
    frame.RedoList.clear();  // clearing an empty history is harmless
    frame.RedoList.push_back("r3");  // and a cleared one takes entries again
    EXPECT_EQ(frame.RedoList.back(), "r3");
    EXPECT_EQ(frame.UndoList.back(), "u1");
}
