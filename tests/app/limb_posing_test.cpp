// Posing with pinned feet and reaching hands in the real window: a squat is
// one Shift+drag of the Shoulders with both ankles pinned, a hand reaches
// with Ctrl as well, Escape brings the press's pose back, and the pin marks
// belong to the preview alone.
#include "window_fixture.h"

#include <QMouseEvent>

using namespace hoofer;
using namespace hoofer::test;

class LimbPosing : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        LoadFile(std::string(HOOFER_SOURCE_DIR) + "/examples/sampler.raw");
        Click(window->mnuOptionsKeepBoneLengths);
    }
    TPoint At(int part) const { return window->Core.CurrentFrame()->Point(part); }
    /// A press at `from`, a move and the release at `to`; Escape before the release when cancelled.
    void DragTo(TPoint from, TPoint to, Qt::KeyboardModifiers keys, bool cancelled = false)
    {
        for (const auto &[type, at] : {std::pair{QEvent::MouseButtonPress, from}, {QEvent::MouseMove, to},
                                       {QEvent::MouseButtonRelease, to}}) {
            if (cancelled && type == QEvent::MouseButtonRelease)
                window->FormKeyDown(Qt::Key_Escape, Qt::NoModifier);
            const QPointF pixel(PointToPixel(at).x, PointToPixel(at).y);
            QMouseEvent event(type, pixel, window->Image->mapToGlobal(pixel), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                              type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, keys);
            QApplication::sendEvent(window->Image, &event);
        }
    }
    void Pin(int part)
    {
        window->cbxBodyPart->SetItemIndex(part - 1);
        window->cbxBodyPartChange();
        Click(window->mnuFramePinBodyPart);
    }
};

TEST_F(LimbPosing, ASquatIsOneDragOfTheShouldersWithBothFeetPinnedAndEscapeTakesItBack)
{
    Pin(8);
    Pin(12);  // a Foot pins its Ankle
    EXPECT_TRUE(window->mnuFramePinBodyPart->Checked() && window->mnuFrameUnpinAll->EffectivelyEnabled());
    const TPixel ankle = PointToPixel(At(8));
    Click(window->mnuMovePlay);
    EXPECT_EQ(window->Image->Picture().pixel(ankle.x + 5, ankle.y), qRgb(0, 150, 0)) << "the pin is marked, after a playback too";
    const PosePoints before = window->Core.CurrentFrame()->Points;
    const TPoint shoulders = At(1);
    DragTo(shoulders, {shoulders.X, shoulders.Y - 20}, Qt::ShiftModifier);
    EXPECT_EQ(At(1), (TPoint{shoulders.X, shoulders.Y - 20}));
    for (const int part : {8, 9, 11, 12})
        EXPECT_EQ(At(part), before[part - 1]) << part;
    EXPECT_NE(At(7), before[6]) << "the knees bend";
    EXPECT_EQ(window->mnuEditUndo->Caption(), "Undo Drag Shoulders");

    const PosePoints squat = window->Core.CurrentFrame()->Points;
    DragTo(At(1), {At(1).X, At(1).Y + 9}, Qt::ShiftModifier, true);
    EXPECT_EQ(window->Core.CurrentFrame()->Points, squat);

    // Pins are the preview's alone: a GIF of the move is the same without them.
    dialogs.saveAnswers = {TempPath("pinned.gif")};
    Click(window->mnuFileExportMoveAsGif);
    Click(window->mnuFrameUnpinAll);
    dialogs.saveAnswers = {TempPath("free.gif")};
    Click(window->mnuFileExportMoveAsGif);
    EXPECT_EQ(FileBytes(TempPath("pinned.gif")), FileBytes(TempPath("free.gif")));
}

TEST_F(LimbPosing, AHandReachesWithCtrlItsElbowBendingAndANewRoutineHasNoPins)
{
    Pin(3);
    const TPoint hand = At(3), shoulders = At(1), elbow = At(2);
    const TPoint to{hand.X + 6, hand.Y + 8};
    DragTo(hand, to, Qt::ShiftModifier | Qt::ControlModifier);
    EXPECT_EQ(std::tuple(At(3), At(1)), std::tuple(to, shoulders));
    EXPECT_NE(At(2), elbow);
    dialogs.confirmAnswers = {true};
    Click(window->mnuFileNewRoutine);
    EXPECT_FALSE(window->Pins.any());
}
