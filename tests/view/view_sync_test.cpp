#include "window_fixture.h"

#include "toolkit/combo_box.h"
#include "toolkit/menu.h"
#include "toolkit/paint_box.h"
#include "toolkit/spin_edit.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

using namespace hoofer;
using namespace hoofer::test;

namespace {
/// Replaces the text of a spin edit as typing does, one key at a time.
void Type(toolkit::TSpinEdit *spin, const QString &text)
{
    spin->Editor()->setFocus();
    spin->Editor()->selectAll();
    QTest::keyClick(spin->Editor(), Qt::Key_Backspace);
    QTest::keyClicks(spin->Editor(), text);
}
} // namespace

class ViewSync : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        LoadData(RoutineBytes(4, 4));
    }
};

TEST_F(ViewSync, FrameNumberIsClampedToTheMovesKeyFrames)
{
    Type(window->spinFrameNumber, "9");
    EXPECT_EQ(window->spinFrameNumber->Text(), "4");
    EXPECT_EQ(window->CurrentFrame, window->CurrentMove->Frames[3].get());
    Type(window->spinFrameNumber, "0");
    EXPECT_EQ(window->spinFrameNumber->Text(), "1");
    EXPECT_EQ(window->CurrentFrame, window->CurrentMove->Frames[0].get());
}

TEST_F(ViewSync, TextThatIsNoNumberMakesKeyFrameOneCurrentAndStays)
{
    Type(window->spinFrameNumber, "3");
    EXPECT_EQ(window->CurrentFrame, window->CurrentMove->Frames[2].get());
    Type(window->spinFrameNumber, "-");
    EXPECT_EQ(window->spinFrameNumber->Text(), "-");
    EXPECT_EQ(window->CurrentFrame, window->CurrentMove->Frames[0].get());
    Type(window->spinFrameNumber, "");
    EXPECT_EQ(window->spinFrameNumber->Text(), "");
    EXPECT_EQ(window->CurrentFrame, window->CurrentMove->Frames[0].get());
}

TEST_F(ViewSync, ChoosingABodyPartShowsItsPointWithoutEditing)
{
    const TPoint hand = window->CurrentFrame->Point(3);
    const auto history = window->CurrentFrame->UndoList.size();
    window->cbxBodyPart->SetItemIndex(2);
    window->cbxBodyPartChange();
    EXPECT_EQ(window->spinPartX->Value(), hand.X);
    EXPECT_EQ(window->spinPartY->Value(), hand.Y);
    EXPECT_FALSE(window->Modified);
    EXPECT_EQ(window->CurrentFrame->UndoList.size(), history + 1);
    window->cbxBodyPartChange();  // the same pose again is not kept twice
    EXPECT_EQ(window->CurrentFrame->UndoList.size(), history + 1);
}

TEST_F(ViewSync, TypingXStoresBothCoordinatesAndMarksTheRoutineChanged)
{
    const TPoint before = window->CurrentFrame->Point(1);
    Type(window->spinPartX, "200");
    EXPECT_EQ(window->CurrentFrame->Point(1).X, 200);
    EXPECT_EQ(window->CurrentFrame->Point(1).Y, before.Y);
    EXPECT_TRUE(window->Modified);
    EXPECT_TRUE(window->CurrentFrame->UndoList.empty());
    // The preview shows the shoulders at their new place.
    // The shoulders are selected: the head, hanging below them since the
    // lower body is higher, is yellow and touches them at their new place.
    EXPECT_EQ(window->Image->Picture().pixelColor(200, 276 - before.Y), QColor(255, 255, 0));
    EXPECT_NE(window->Image->Picture().pixelColor(before.X, 276 - before.Y), QColor(255, 255, 0));
}

TEST_F(ViewSync, InterpolationAndDisplacementEditTheKeyFrameOnly)
{
    Type(window->spinDisplacement, "128");
    EXPECT_EQ(window->CurrentFrame->Displacement, 128);
    Type(window->spinInterpolate, "7");
    EXPECT_EQ(window->CurrentFrame->Interpolation, 7);
    EXPECT_FALSE(window->Modified);
    // 128 is kept in one signed byte in the file.
    const std::string bytes = window->SerialiseRoutine();
    EXPECT_EQ(static_cast<unsigned char>(bytes[2 + 14 + 25]), 0x80);
}

TEST_F(ViewSync, AnotherMoveShowsItsFirstKeyFrameAndKeepsTheBodyPart)
{
    window->cbxBodyPart->SetItemIndex(4);
    window->cbxBodyPartChange();
    Type(window->spinFrameNumber, "3");
    window->cbxMoves->SetItemIndex(2);
    window->cbxMovesSelect();
    EXPECT_EQ(window->CurrentMove, window->Moves[2].get());
    EXPECT_EQ(window->CurrentFrame, window->Moves[2]->Frames[0].get());
    EXPECT_EQ(window->spinFrameNumber->Value(), 1);
    EXPECT_EQ(window->spinFrameNumber->MaxValue(), 4);
    EXPECT_EQ(window->cbxBodyPart->ItemIndex(), 4);
}

// Typed text matches no item, so the selector has no selected item left and
// the first move becomes current.
TEST_F(ViewSync, TextTypedIntoTheMoveSelectorNeverStays)
{
    window->cbxMoves->SetItemIndex(1);
    window->cbxMovesSelect();
    window->cbxMoves->setFocus();
    QTest::keyClicks(window->cbxMoves, "zz");
    EXPECT_EQ(window->cbxMoves->Text(), "0> Move0");
    EXPECT_EQ(window->CurrentMove, window->Moves[0].get());
    EXPECT_EQ(window->cbxMoves->ItemIndex(), 0);
}

TEST_F(ViewSync, MenusEnableOnlyWhatCanAct)
{
    EXPECT_TRUE(window->mnuMoveDeleteMove->Enabled());  // four moves
    Click(window->mnuMoveDeleteMove);
    EXPECT_EQ(window->Moves.size(), 3u);
    EXPECT_FALSE(window->mnuMoveDeleteMove->Enabled());
    EXPECT_TRUE(window->mnuFrameDeleteFrame->Enabled());
    EXPECT_FALSE(window->mnuFrameUndoFrame->Enabled());
    EXPECT_FALSE(window->mnuFramePaste->Enabled());
    Click(window->mnuFrameCopy);
    EXPECT_TRUE(window->mnuFramePaste->Enabled());
    LoadData(RoutineBytes(1, 1));
    EXPECT_TRUE(window->mnuFramePaste->Enabled());
    EXPECT_FALSE(window->mnuFrameDeleteFrame->Enabled());
}

TEST_F(ViewSync, RepaintFromTheWindowSystemShowsTheCurrentKeyFrameAgain)
{
    window->spinFrameNumber->SetValue(3);
    QApplication::processEvents();
    const QImage shown = window->Image->Picture();
    // Something else drawn over the preview, then shown.
    window->Image->Surface().FillRect(0, 0, 100, 100);
    QApplication::processEvents();
    ASSERT_NE(window->Image->Picture(), shown);
    window->Image->repaint();
    EXPECT_EQ(window->Image->Picture(), shown);

    window->Image->Surface().FillRect(0, 0, 100, 100);
    window->Image->Expose();
    EXPECT_EQ(window->Image->Picture(), shown);
}
