#include "view/figure_drawing.h"
#include "view/image_canvas.h"

#include "recording_canvas.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace hoofer;
using hoofer::test::RecordingCanvas;

namespace {

/// An upright figure: shoulders at (64, 96), lower body below them.
THFFrame Upright()
{
    THFFrame f;
    const TPoint pts[kPartCount] = {{64, 96}, {50, 80}, {40, 60}, {78, 80}, {88, 60}, {64, 50},
                                    {55, 30}, {52, 10}, {45, 5},  {73, 30}, {76, 10}, {83, 5}};
    std::copy(std::begin(pts), std::end(pts), f.Points.begin());
    return f;
}

std::vector<std::string> Matching(const std::vector<std::string> &ops, const std::string &colour)
{
    std::vector<std::string> out;
    for (const auto &op : ops)
        if (op.ends_with(" " + colour))
            out.push_back(op);
    return out;
}

} // namespace

TEST(PointMapping, PointSpaceSitsTwentyRowsAboveTheBottom)
{
    EXPECT_EQ(PointToPixel({64, 96}), (TPixel{64, 180}));
    EXPECT_EQ(PointToPixel({0, 0}), (TPixel{0, 276}));
    EXPECT_EQ(PointToPixel({255, 255}), (TPixel{255, 21}));
    EXPECT_EQ(PointToPixel({-5, 300}), (TPixel{-5, -24}));
}

TEST(KeyFrameDrawing, ClearsBordersThenWalksTheSkeletonInOrder)
{
    RecordingCanvas canvas;
    DrawKeyFrame(canvas, Upright(), -1);
    ASSERT_GE(canvas.ops.size(), 6u);
    EXPECT_EQ(canvas.ops[0], "fill 0,0 256,296 background");
    EXPECT_EQ(canvas.ops[1], "line 0,20 255,20 silver");
    EXPECT_EQ(canvas.ops[4], "line 0,276 0,20 silver");
    // 11 bones with a ring each, then the head.
    EXPECT_EQ(canvas.ops.size(), 1u + 4u + 22u + 1u);
    EXPECT_EQ(canvas.ops[5], "line 64,180 50,196 black");
    EXPECT_EQ(canvas.ops[6], "ellipse 48,194 52,198 black");
    EXPECT_EQ(canvas.ops[9], "line 64,180 78,196 black");  // back to the shoulders
    EXPECT_EQ(canvas.ops[13], "line 64,180 64,226 black");
    EXPECT_EQ(canvas.ops[15], "line 64,226 55,246 black");  // from the lower body
    EXPECT_EQ(canvas.ops.back(), "ellipse 54,160 74,180 black");  // head above the shoulders
    EXPECT_EQ(canvas.PenColor(), clBlack);
}

TEST(KeyFrameDrawing, HighlightsOnlyTheSelectedPart)
{
    RecordingCanvas shoulders;
    DrawKeyFrame(shoulders, Upright(), 0);
    EXPECT_EQ(Matching(shoulders.ops, "yellow"), std::vector<std::string>{"ellipse 54,160 74,180 yellow"});

    RecordingCanvas lowerBody;
    DrawKeyFrame(lowerBody, Upright(), 5);
    EXPECT_EQ(Matching(lowerBody.ops, "yellow"),
              (std::vector<std::string>{"line 64,180 64,226 yellow", "ellipse 62,224 66,228 yellow"}));

    RecordingCanvas none;
    DrawKeyFrame(none, Upright(), -1);
    EXPECT_TRUE(Matching(none.ops, "yellow").empty());
}

TEST(KeyFrameDrawing, HeadHangsBelowWhenTheLowerBodyIsNotLower)
{
    THFFrame zero;
    RecordingCanvas canvas;
    DrawKeyFrame(canvas, zero, -1);
    EXPECT_EQ(canvas.ops.back(), "ellipse -10,276 10,296 black");

    THFFrame headStand = Upright();
    headStand.Point(6) = {64, 150};
    RecordingCanvas upside;
    DrawKeyFrame(upside, headStand, -1);
    EXPECT_EQ(upside.ops.back(), "ellipse 54,180 74,200 black");
}

TEST(PlainDrawing, IsBlackWithoutRingsAtTheGivenPixels)
{
    PosePixels pixels;
    for (int i = 0; i < kPartCount; ++i)
        pixels[i] = {300 + i, 10 * i};  // partly outside: drawn where given
    RecordingCanvas canvas;
    DrawPlainPose(canvas, pixels);
    EXPECT_EQ(canvas.ops.size(), 1u + 4u + 11u + 1u);
    EXPECT_EQ(canvas.ops[5], "line 300,0 301,10 black");
    EXPECT_EQ(canvas.ops.back(), "ellipse 290,-20 310,0 black");  // lower body at y 50 is lower
    EXPECT_EQ(Matching(canvas.ops, "yellow").size(), 0u);
}

TEST(ImageCanvasRaster, BoxesIncludeLeftTopAndExcludeRightBottom)
{
    ImageCanvas canvas(20, 20, clPreviewBackground);
    canvas.SetPenColor(clBlack);
    canvas.Ellipse(5, 5, 9, 9);
    const QImage &img = canvas.image();
    const QRgb bg = ToQColor(clPreviewBackground).rgb();
    int minX = 99, maxX = -1, minY = 99, maxY = -1;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            if (img.pixel(x, y) != bg) {
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
                minY = std::min(minY, y);
                maxY = std::max(maxY, y);
            }
    EXPECT_EQ(minX, 5);
    EXPECT_EQ(maxX, 8);
    EXPECT_EQ(minY, 5);
    EXPECT_EQ(maxY, 8);
}

TEST(ImageCanvasRaster, EveryDrawingClearsTheWholeSurface)
{
    ImageCanvas canvas(kPreviewWidth, kPreviewHeight, clPreviewBackground);
    DrawKeyFrame(canvas, Upright(), 2);
    THFFrame zero;
    DrawKeyFrame(canvas, zero, -1);
    const QImage &img = canvas.image();
    const QRgb bg = ToQColor(clPreviewBackground).rgb();
    const QRgb silver = ToQColor(clSilver).rgb();
    EXPECT_EQ(img.pixel(64, 180), bg);  // the old shoulders are gone
    EXPECT_EQ(img.pixel(100, 20), silver);
    EXPECT_EQ(img.pixel(255, 100), silver);
    EXPECT_EQ(img.pixel(0, 0), bg);
    EXPECT_EQ(img.pixel(255, 295), bg);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            ASSERT_NE(img.pixel(x, y), ToQColor(clYellow).rgb()) << x << "," << y;
}

TEST(ImageCanvasRaster, SelectedHandIsYellowOnScreen)
{
    ImageCanvas canvas(kPreviewWidth, kPreviewHeight, clPreviewBackground);
    DrawKeyFrame(canvas, Upright(), 2);  // Left Hand at (40, 216)
    EXPECT_EQ(canvas.image().pixel(45, 206), ToQColor(clYellow).rgb());  // the forearm
    EXPECT_EQ(canvas.image().pixel(38, 215), ToQColor(clYellow).rgb());  // the hand's ring
    EXPECT_EQ(canvas.image().pixel(64, 180), ToQColor(clBlack).rgb());
}
