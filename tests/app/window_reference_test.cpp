// A video behind the figure: the frame at each key frame's time, stepping the
// video, its start and a key frame's timing taken from it, and the sidecar.
#include "window_fixture.h"

#include "model/reference_sidecar.h"
#include "test_clip.h"
#include "toolkit/thumbnail_strip.h"
#include "view/inbetween.h"
#include "view/reference_timing.h"

#include <QLabel>
#include <QSlider>
#include <QTest>
#include <QWheelEvent>

using namespace hoofer;
using namespace hoofer::test;

class WindowReference : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        clip.path = TempPath("clip.mp4");
        clip.Write();
        LoadData(RoutineBytes(3, 3));  // interpolations 1, 2 and 3
    }
    int Shown() const { return FrameNumberShown(window->ReferenceShown().image); }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::AltModifier)
    {
        QTest::keyClick(window->spinPartX->Editor(), key, modifiers);
    }
    TestClip clip;
};

TEST_F(WindowReference, KeyFramesShowTheFrameAtTheirTimeAndTakeTheirStartAndTimingFromIt)
{
    const QSize before = window->size();
    dialogs.openAnswers.push_back(clip.path);
    Click(window->mnuViewReferenceChoose);
    ASSERT_TRUE(window->Core.CurrentMove()->Reference);
    EXPECT_EQ(window->size(), before + QSize(0, 26)) << "the row under the preview";
    EXPECT_EQ(window->mnuEditUndo->Caption(), "Undo Choose Reference");
    EXPECT_EQ(Shown(), 0);
    window->spinFrameNumber->SetValue(3);
    EXPECT_EQ(Shown(), 21) << "(1 + 2) × 70 + (2 + 2) × 70 + (3 + 2) × 70 = 840 ms, frame 21 at 25 a second";
    EXPECT_EQ(window->lblReferenceTime->text(), "00:00.840 · frame 21");
    window->sldReference->setValue(2000);
    EXPECT_EQ(Shown(), 50) << "scrubbed";
    window->sldReference->setValue(840);

    Key(Qt::Key_Right);
    EXPECT_EQ(Shown(), 22);
    EXPECT_EQ(window->spinFrameNumber->Value(), 3) << "stepping the video leaves the selection";
    Click(window->mnuViewReferenceSetStart);
    EXPECT_DOUBLE_EQ(window->Core.CurrentMove()->Reference->start, 0.88);
    EXPECT_EQ(Shown(), 43) << "0.88 s + 840 ms";
    Key(Qt::Key_Right), Key(Qt::Key_Right), Key(Qt::Key_Left);
    EXPECT_EQ(Shown(), 44);
    // The middle of frame 44 is 1.78 s, 900 ms after the start: 490 ms, then (interpolation + 2) × 70.
    Click(window->mnuFrameTimeKeyFrame);
    EXPECT_EQ(window->Core.CurrentFrame()->Interpolation, 4);
    EXPECT_EQ(Shown(), 44);
    Click(window->mnuEditUndo);
    EXPECT_EQ(window->Core.CurrentFrame()->Interpolation, 3);

    Click(window->mnuViewReferenceOpacity100);
    Click(window->mnuViewReferenceMirror);
    const MoveReference kept = *window->Core.CurrentMove()->Reference;
    EXPECT_EQ(std::pair(kept.opacity, kept.mirror), std::pair(1.0, true));
    dialogs.saveAnswers.push_back(TempPath("dance.raw"));
    Click(window->mnuFileSaveAs);
    EXPECT_NE(FileBytes(TempPath("dance.raw.reference.json")).find("\"file\": \"clip.mp4\""), std::string::npos);
    LoadFile(TempPath("dance.raw"));
    EXPECT_EQ(window->Core.CurrentMove()->Reference, kept);
    Click(window->mnuViewReferenceRemove);
    Click(window->mnuFileSave);
    EXPECT_EQ(FileBytes(TempPath("dance.raw.reference.json")), "") << "no references, no sidecar";
}

TEST_F(WindowReference, WhatCannotBeShownIsRefusedAndAMissingVideoLeavesTheRoutineLoaded)
{
    WriteBytes(TempPath("words.mp4"), "not a video");
    dialogs.openAnswers.push_back(TempPath("words.mp4"));
    Click(window->mnuViewReferenceChoose);
    EXPECT_FALSE(window->Core.CurrentMove()->Reference);
    ASSERT_EQ(dialogs.Of("exception").size(), 1u);
    EXPECT_NE(dialogs.Of("exception")[0].find(TempPath("words.mp4")), std::string::npos);

    WriteBytes(TempPath("gone.raw"), RoutineBytes(3, 2));
    WriteBytes(TempPath("gone.raw.reference.json"),
               R"({"format": "hooferedit-reference", "moves": [{"move": 0, "name": "Move0", "file": "gone.mp4"}]})");
    LoadFile(TempPath("gone.raw"));
    EXPECT_EQ(window->cbxMoves->Count(), 3);
    EXPECT_TRUE(window->Core.CurrentMove()->Reference) << "kept, to be saved back";
    EXPECT_NE(window->StatusBar->text().toStdString().find("gone.mp4"), std::string::npos);
}

TEST_F(WindowReference, PlaybackShowsEveryStepOnTheFrameAtItsTime)
{
    dialogs.openAnswers.push_back(clip.path);
    Click(window->mnuViewReferenceChoose);
    window->ReferenceWait = std::chrono::milliseconds(5000);  // the clock is virtual, the decoding is not
    std::vector<int> shown, expected;
    const THFMove &move = *window->Core.CurrentMove();
    for (int k = 1; k <= move.FrameCount; ++k) {
        for (int step = 0; step < TransitionSteps(*move.Frames[k - 1]); ++step)
            expected.push_back(static_cast<int>(StepOffsetMs(move, k, step) / 40));
        expected.push_back(expected.back());  // the pause after the transition
    }
    platform.onMessages = [&] {
        if (shown.size() < expected.size() && window->Playing())
            shown.push_back(Shown());
    };
    Click(window->mnuMovePlay);
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(window->ReferenceStepsLate, 0);
    EXPECT_EQ(Shown(), 0) << "back on key frame 1";
}

TEST_F(WindowReference, AdjustPlacementDragsAndScalesItInPointsEachDragOneChange)
{
    dialogs.openAnswers.push_back(clip.path);
    Click(window->mnuViewReferenceChoose);
    Click(window->mnuViewReferenceAdjust);
    const auto pose = window->Core.CurrentFrame()->Points;
    QTest::mousePress(window->Image, Qt::LeftButton, {}, QPoint(100, 100));
    for (const QPoint at : {QPoint(110, 90), QPoint(120, 80)})
        QTest::mouseMove(window->Image, at);
    QTest::mouseRelease(window->Image, Qt::LeftButton, {}, QPoint(120, 80));
    const MoveReference &placed = *window->Core.CurrentMove()->Reference;
    EXPECT_EQ(std::pair(placed.x, placed.y), std::pair(20.0, 20.0));
    EXPECT_EQ(window->Core.CurrentFrame()->Points, pose) << "the figure stays";
    QWheelEvent wheel(QPointF(50, 50), window->Image->mapToGlobal(QPointF(50, 50)), {}, QPoint(0, 240), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(window->Image, &wheel);
    EXPECT_DOUBLE_EQ(window->Core.CurrentMove()->Reference->scale, 1.1 * 1.1);
    Click(window->mnuEditUndo);
    EXPECT_DOUBLE_EQ(window->Core.CurrentMove()->Reference->scale, 1);
    Click(window->mnuEditUndo);
    EXPECT_EQ(window->Core.CurrentMove()->Reference->x, 0) << "the drag was one change";
}

TEST_F(WindowReference, TheStripShowsTheReferenceBehindEachThumbnail)
{
    Click(window->mnuViewKeyFrameStrip);
    const auto thumbnail = [this] {
        window->stripKeyFrames->viewport()->repaint();
        return window->stripKeyFrames->Picture(2);
    };
    const QImage plain = thumbnail();
    dialogs.openAnswers.push_back(clip.path);
    Click(window->mnuViewReferenceChoose);
    EXPECT_NE(thumbnail(), plain);
    Click(window->mnuViewReferenceShow);
    EXPECT_EQ(thumbnail(), plain) << "hidden with the preview's";
}

TEST_F(WindowReference, StepsFrameByFrameInAContainerOfMillisecondTicks)
{
    TestClip coarse;
    coarse.path = TempPath("coarse.mkv");
    coarse.rateNum = 30000, coarse.rateDen = 1001, coarse.frames = 20;
    coarse.Write();
    dialogs.openAnswers.push_back(coarse.path);
    Click(window->mnuViewReferenceChoose);
    for (int frame = 1; frame <= 3; ++frame) {
        Key(Qt::Key_Right);
        EXPECT_EQ(Shown(), frame);
    }
    Key(Qt::Key_Left);
    EXPECT_EQ(Shown(), 2);
}
