#include "view/figure_drawing.h"

#include "recording_canvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

using namespace hoofer;
using hoofer::test::RecordingCanvas;

namespace {


/// An upright figure: shoulders at (64, 96), lower body below them.
THFFrame Upright()
{
    THFFrame f;
    f.Points = {{{64, 96}, {50, 80}, {40, 60}, {78, 80}, {88, 60}, {64, 50},
                 {55, 30}, {52, 10}, {45, 5}, {73, 30}, {76, 10}, {83, 5}}};
    return f;
}

} // namespace

TEST(PointMapping, PointSpaceSitsTwentyRowsAboveTheBottom)
{
    const std::pair<TPoint, TPixel> rows[] = {
        {{64, 96}, {64, 180}}, {{0, 0}, {0, 276}}, {{255, 255}, {255, 21}}, {{-5, 300}, {-5, -24}}};
    for (const auto &[point, pixel] : rows)
        EXPECT_EQ(PointToPixel(point), pixel) << point.X << "," << point.Y;
}

TEST(KeyFrameDrawing, ClearsBordersThenWalksTheSkeletonInOrder)
{
    RecordingCanvas canvas;
    DrawKeyFrame(canvas, Upright(), -1);
    ASSERT_EQ(canvas.ops.size(), 1u + 4u + 22u + 1u);  // clear, border, 11 bones with a ring each, head
    const std::pair<size_t, const char *> expected[] = {
        {0, "fill 0,0 256,296 background"}, {1, "line 0,20 255,20 silver"},
        {4, "line 0,276 0,20 silver"},      {5, "line 64,180 50,196 black"},
        {6, "ellipse 48,194 52,198 black"}, {9, "line 64,180 78,196 black"},    // back to the shoulders
        {13, "line 64,180 64,226 black"},   {15, "line 64,226 55,246 black"},   // from the lower body
        {27, "ellipse 54,160 74,180 black"}};                                     // head above the shoulders
    for (const auto &[index, op] : expected)
        EXPECT_EQ(canvas.ops[index], op) << "operation " << index;
    EXPECT_EQ(canvas.PenColor(), clBlack);
}

TEST(KeyFrameDrawing, HighlightsOnlyTheSelectedPart)
{
    const std::pair<int, std::vector<std::string>> rows[] = {
        {0, {"ellipse 54,160 74,180 yellow"}},
        {2, {"line 50,196 40,216 yellow", "ellipse 38,214 42,218 yellow"}},
        {5, {"line 64,180 64,226 yellow", "ellipse 62,224 66,228 yellow"}},
        {-1, {}}};
    for (const auto &[part, yellow] : rows) {
        RecordingCanvas canvas;
        DrawKeyFrame(canvas, Upright(), part);
        EXPECT_EQ(canvas.In("yellow"), yellow) << "part " << part;
    }
}

TEST(KeyFrameDrawing, HeadSitsOnTheSideAwayFromTheLowerBody)
{
    auto headStand = Upright().Points;
    headStand[5] = {64, 150};  // the lower body above the shoulders
    const struct {
        const char *name;
        std::array<TPoint, kPartCount> points;
        const char *head;
    } rows[] = {{"all points zero", {}, "ellipse -10,276 10,296 black"},
                {"head stand", headStand, "ellipse 54,180 74,200 black"}};
    for (const auto &row : rows) {
        THFFrame frame;
        frame.Points = row.points;
        RecordingCanvas canvas;
        DrawKeyFrame(canvas, frame, -1);
        EXPECT_EQ(canvas.ops.back(), row.head) << row.name;
    }
}

TEST(PlainDrawing, IsBlackWithoutRingsAtTheGivenPixels)
{
    PosePixels pixels;
    for (int i = 0; i < kPartCount; ++i)
        pixels[i] = {300 + i, 10 * i};  // partly outside: drawn where given
    RecordingCanvas canvas;
    DrawPlainPose(canvas, pixels);
    ASSERT_EQ(canvas.ops.size(), 1u + 4u + 11u + 1u);
    EXPECT_EQ(canvas.ops[0], "fill 0,0 256,296 background");
    EXPECT_EQ(canvas.ops[5], "line 300,0 301,10 black");
    EXPECT_EQ(canvas.ops.back(), "ellipse 290,-20 310,0 black");  // lower body at y 50 is lower
    EXPECT_EQ(canvas.In("black").size(), 12u);
}
