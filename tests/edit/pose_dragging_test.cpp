#include "window_fixture.h"

#include "toolkit/combo_box.h"
#include "toolkit/menu.h"
#include "toolkit/paint_box.h"
#include "toolkit/spin_edit.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QTest>

using namespace hoofer;
using namespace hoofer::test;

/// Posing the standing figure of a new move with real mouse events on the
/// preview.
class PoseDragging : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        LoadData(TestData("newmove.raw"));
        ASSERT_EQ(window->CurrentFrame->Point(1), (TPoint{64, 96}));
    }

    void Mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held,
               Qt::KeyboardModifiers keys = Qt::NoModifier)
    {
        QMouseEvent event(type, at, window->Image->mapToGlobal(at), button, held, keys);
        QApplication::sendEvent(window->Image, &event);
    }
    void Press(QPoint at, Qt::KeyboardModifiers keys = Qt::ShiftModifier, Qt::MouseButton b = Qt::LeftButton)
    {
        Mouse(QEvent::MouseButtonPress, at, b, b, keys);
    }
    void MoveTo(QPoint at, Qt::KeyboardModifiers keys = Qt::ShiftModifier, Qt::MouseButtons held = Qt::LeftButton)
    {
        Mouse(QEvent::MouseMove, at, Qt::NoButton, held, keys);
    }
    void Release(QPoint at, Qt::KeyboardModifiers keys = Qt::ShiftModifier, Qt::MouseButton b = Qt::LeftButton)
    {
        Mouse(QEvent::MouseButtonRelease, at, b, Qt::NoButton, keys);
    }
    TPoint Shoulders() const { return window->CurrentFrame->Point(1); }
};

TEST_F(PoseDragging, ShiftDragMovesTheJointSnappedToTheGrid)
{
    window->SetGridSize(5);
    window->mnuOptionGridSnapToGrid->SetChecked(true);
    Press({66, 182});
    MoveTo({63, 200});
    EXPECT_EQ(Shoulders(), (TPoint{60, 75}));
    EXPECT_EQ(window->spinPartX->Value(), 60);
    EXPECT_TRUE(window->Modified);
    window->mnuOptionGridSnapToGrid->SetChecked(false);
    MoveTo({63, 200});
    EXPECT_EQ(Shoulders(), (TPoint{63, 76}));
    Release({63, 200});
    MoveTo({10, 10}, Qt::ShiftModifier, Qt::NoButton);
    EXPECT_EQ(Shoulders(), (TPoint{63, 76}));
}

TEST_F(PoseDragging, PointerOutsideTheSurfaceIsClamped)
{
    window->mnuOptionGridSnapToGrid->SetChecked(false);
    Press({64, 180});
    MoveTo({-30, 10});
    EXPECT_EQ(Shoulders(), (TPoint{0, 255}));
    MoveTo({400, 290});
    EXPECT_EQ(Shoulders(), (TPoint{255, 0}));
    window->SetGridSize(10);
    window->mnuOptionGridSnapToGrid->SetChecked(true);
    MoveTo({256, 180});
    EXPECT_EQ(Shoulders().X, 250);
    MoveTo({262, 180});
    EXPECT_EQ(Shoulders().X, 255);
}

TEST_F(PoseDragging, PressSelectsThePartButMovesNeedShiftOrTheOption)
{
    Press({40, 268}, Qt::NoModifier);  // Left Foot (40, 8)
    EXPECT_EQ(window->cbxBodyPart->ItemIndex(), 8);
    MoveTo({30, 250}, Qt::NoModifier);
    EXPECT_EQ(window->CurrentFrame->Point(9), (TPoint{40, 8}));
    MoveTo({30, 250}, Qt::ShiftModifier);  // Shift pressed during the same press
    EXPECT_EQ(window->CurrentFrame->Point(9), (TPoint{30, 26}));
    MoveTo({20, 250}, Qt::NoModifier);
    EXPECT_EQ(window->CurrentFrame->Point(9), (TPoint{30, 26}));
    Release({20, 250}, Qt::NoModifier);

    window->mnuOptionsDragWithoutShift->Click();
    Press({30, 250}, Qt::NoModifier);
    MoveTo({35, 240}, Qt::NoModifier);
    EXPECT_EQ(window->CurrentFrame->Point(9), (TPoint{35, 36}));
}

TEST_F(PoseDragging, PressOnNothingBlocksDraggingUntilRelease)
{
    window->cbxBodyPart->SetItemIndex(3);
    Press({200, 50});
    EXPECT_EQ(window->cbxBodyPart->ItemIndex(), 3);
    EXPECT_EQ(window->CurrentFrame->UndoList.size(), 1u);  // the snapshot is taken anyway
    MoveTo({64, 180});
    MoveTo({70, 170});
    EXPECT_EQ(Shoulders(), (TPoint{64, 96}));
    Release({70, 170});
}

TEST_F(PoseDragging, RightButtonSelectsButNeverDrags)
{
    Press({88, 212}, Qt::ShiftModifier, Qt::RightButton);  // Right Hand (88, 64)
    EXPECT_EQ(window->cbxBodyPart->ItemIndex(), 4);
    EXPECT_EQ(window->CurrentFrame->UndoList.size(), 1u);
    MoveTo({100, 200}, Qt::ShiftModifier, Qt::RightButton);
    EXPECT_EQ(window->CurrentFrame->Point(5), (TPoint{88, 64}));
}

TEST_F(PoseDragging, EscapeRestoresThePoseOfThePressOnce)
{
    window->mnuOptionGridSnapToGrid->SetChecked(false);
    // An earlier, unrelated change that a second Escape must not undo.
    Press({64, 180});
    MoveTo({70, 170});
    Release({70, 170});
    const TPoint afterFirst = Shoulders();
    const auto history = window->CurrentFrame->UndoList.size();

    Press({70, 170});
    MoveTo({100, 150});
    EXPECT_EQ(Shoulders(), (TPoint{100, 126}));
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_EQ(Shoulders(), afterFirst);
    EXPECT_EQ(window->StatusBar->text(), "Drag Cancelled");
    EXPECT_EQ(window->CurrentFrame->UndoList.size(), history);
    MoveTo({120, 150});
    EXPECT_EQ(Shoulders(), afterFirst);
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_EQ(Shoulders(), afterFirst);
    Release({120, 150});
}

TEST_F(PoseDragging, UndoStepsBackThroughTwoDrags)
{
    window->mnuOptionGridSnapToGrid->SetChecked(false);
    Press({64, 180});
    MoveTo({70, 170});
    Release({70, 170});
    Press({70, 170});
    MoveTo({90, 150});
    Release({90, 150});
    ASSERT_TRUE(window->mnuFrameUndoFrame->Enabled());
    Click(window->mnuFrameUndoFrame);
    EXPECT_EQ(Shoulders(), (TPoint{70, 106}));
    Click(window->mnuFrameUndoFrame);
    EXPECT_EQ(Shoulders(), (TPoint{64, 96}));
    EXPECT_FALSE(window->mnuFrameUndoFrame->Enabled());
}

TEST_F(PoseDragging, GridSizeEntryAcceptsNumbersAndRefusesNonsense)
{
    dialogs.AnswerEntry("12");
    Click(window->mnuOptionGridSetGridSize);
    EXPECT_EQ(window->GridSize(), 12);
    EXPECT_EQ(window->mnuOptionGridCurrentSize->Caption(), "12 Pixels");
    dialogs.AnswerEntry("abc");
    Click(window->mnuOptionGridSetGridSize);
    EXPECT_EQ(window->GridSize(), 5);
    EXPECT_EQ(window->mnuOptionGridCurrentSize->Caption(), "5 Pixels");
    dialogs.AnswerEntry("  0x10");
    Click(window->mnuOptionGridSetGridSize);
    EXPECT_EQ(window->GridSize(), 16);
    dialogs.AnswerEntry("0");
    Click(window->mnuOptionGridSetGridSize);
    EXPECT_EQ(window->GridSize(), 16);
    dialogs.AnswerEntry("-3");
    Click(window->mnuOptionGridSetGridSize);
    EXPECT_EQ(window->GridSize(), 16);
    EXPECT_EQ(window->mnuOptionGridCurrentSize->Caption(), "16 Pixels");
    EXPECT_EQ(dialogs.Of("entry").back(), "Set Snap to grid size");
}
