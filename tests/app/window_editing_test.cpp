// The window's editing controls: that each control, menu item, shortcut and
// mouse event reaches the editing core, and that the window shows the result.
// The editing rules themselves are tested in tests/edit.
#include "window_fixture.h"

#include "toolkit/combo_box.h"
#include "toolkit/menu.h"
#include "toolkit/paint_box.h"
#include "toolkit/spin_edit.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
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

class WindowEditing : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        LoadData(RoutineBytes(4, 3));
    }
    std::vector<std::string> Items() const
    {
        std::vector<std::string> out;
        for (int i = 0; i < window->cbxMoves->Count(); ++i)
            out.push_back(window->cbxMoves->ItemText(i).toStdString());
        return out;
    }
    void Mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held,
               Qt::KeyboardModifiers keys = Qt::ShiftModifier)
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
    void Release(QPoint at) { Mouse(QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton); }
    int Frame() const { return window->spinFrameNumber->Value(); }
};

TEST_F(WindowEditing, FrameMenuAsksShowsTheNewKeyFrameAndEnablesPaste)
{
    Click(window->mnuFrameAddFrame);
    EXPECT_EQ(Frame(), 4);
    EXPECT_EQ(window->spinFrameNumber->MaxValue(), 4);
    EXPECT_EQ(window->CurrentFrame, window->CurrentMove->Frames[3].get());
    window->spinFrameNumber->SetValue(2);
    Click(window->mnuFrameInsertFrame);
    EXPECT_EQ(Frame(), 3);
    dialogs.confirmAnswers = {false, true};
    Click(window->mnuFrameDeleteFrame);
    Click(window->mnuFrameDeleteFrame);
    EXPECT_EQ(window->CurrentMove->Frames.size(), 4u);
    EXPECT_EQ(Frame(), 3);
    EXPECT_EQ(window->spinFrameNumber->MaxValue(), 4);
    dialogs.confirmAnswers = {false};
    Click(window->mnuFrameCutFrame);
    EXPECT_TRUE(window->mnuFramePaste->Enabled()) << "a cut answered No still copies";
    window->CurrentFrame->Displacement = 128;
    Click(window->mnuFrameCopy);
    dialogs.confirmAnswers = {true};
    Click(window->mnuFramePaste);
    EXPECT_EQ(window->spinDisplacement->Value(), -128);
    EXPECT_EQ(dialogs.Of("confirm"), (std::vector<std::string>{"Delete current frame?", "Delete current frame?",
                                                               "Cut current frame?", "Replace current frame?"}));
}

TEST_F(WindowEditing, SingleKeyFrameIsCutWithoutAQuestionAndCannotBeDeleted)
{
    LoadData(RoutineBytes(1, 1));
    EXPECT_FALSE(window->mnuFrameDeleteFrame->Enabled());
    Click(window->mnuFrameCutFrame);
    EXPECT_TRUE(dialogs.Of("confirm").empty());
    EXPECT_TRUE(window->mnuFramePaste->Enabled());
    EXPECT_FALSE(window->mnuMoveDeleteMove->Enabled());
}

TEST_F(WindowEditing, MoveWithoutKeyFramesCanBeRepairedByAddingOne)
{
    LoadData(RoutineBytes(1, 0));
    EXPECT_TRUE(window->mnuFrameAddFrame->Enabled());
    Click(window->mnuMovePlay);  // nothing to play
    EXPECT_TRUE(platform.sleeps.empty());
    Click(window->mnuFrameAddFrame);
    EXPECT_EQ(window->CurrentFrame, window->CurrentMove->Frames[0].get());
    EXPECT_TRUE(window->mnuFrameInsertFrame->Enabled());
}

TEST_F(WindowEditing, MenuShortcutsWorkWhileASpinEditHasTheFocus)
{
    window->spinPartX->Editor()->setFocus();
    QTest::keyClick(window->spinPartX->Editor(), Qt::Key_Insert);
    EXPECT_EQ(window->CurrentMove->Frames.size(), 4u);
    dialogs.confirmAnswers = {true};
    QTest::keyClick(window->spinPartX->Editor(), Qt::Key_Delete);
    EXPECT_EQ(window->CurrentMove->Frames.size(), 3u);
    QTest::keyClick(window->spinPartX->Editor(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_FALSE(window->ClipboardFrame.empty());
}

TEST_F(WindowEditing, MoveMenuRebuildsTheSelectorAndSelectsTheMove)
{
    LoadData(RoutineBytes(5, 2));
    Click(window->mnuMoveAddMove);
    EXPECT_EQ(Items(), (std::vector<std::string>{"0> Move0", "1> Move1", "2> Move2", "3> NewMove", "4> Move3",
                                                 "5> Move4"}));
    EXPECT_EQ(window->cbxMoves->ItemIndex(), 3);
    EXPECT_EQ(Frame(), 1);
    window->cbxMoves->SetItemIndex(1);
    window->cbxMovesSelect();
    Click(window->mnuMoveDeleteMove);
    EXPECT_EQ(window->cbxMoves->ItemText(1), "1> Move2");
    EXPECT_EQ(window->CurrentMove, window->Moves[1].get());

    dialogs.AnswerEntry(" Twirl ");
    Click(window->mnuMoveRenameMove);
    EXPECT_EQ(window->cbxMoves->ItemText(1), "1>  Twirl ") << "shown as typed until the list is rebuilt";
    Click(window->mnuMoveAddMove);
    EXPECT_EQ(window->cbxMoves->ItemText(1), "1> Twirl");
    dialogs.CancelEntry();
    Click(window->mnuMoveRenameMove);
    EXPECT_EQ(dialogs.Of("entry"), (std::vector<std::string>{"Title", "Title"}));
}

TEST_F(WindowEditing, DraggingWithTheMouseShowsThePoseAndEscapeCancels)
{
    LoadData(TestData("newmove.raw"));
    window->SetGridSize(5);
    window->mnuOptionGridSnapToGrid->SetChecked(true);
    Press({66, 182});
    MoveTo({63, 200});
    EXPECT_EQ(window->CurrentFrame->Point(1), (TPoint{60, 75}));
    EXPECT_EQ(window->spinPartX->Value(), 60);
    EXPECT_TRUE(window->Modified);
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_EQ(window->CurrentFrame->Point(1), (TPoint{64, 96}));
    EXPECT_EQ(window->spinPartX->Value(), 64);
    EXPECT_EQ(window->StatusBar->text(), "Drag Cancelled");
    Release({63, 200});

    Press({40, 268}, Qt::NoModifier);  // Left Foot (40, 8)
    EXPECT_EQ(window->cbxBodyPart->ItemIndex(), 8);
    MoveTo({30, 250}, Qt::NoModifier);
    EXPECT_EQ(window->CurrentFrame->Point(9), (TPoint{40, 8})) << "no Shift";
    window->mnuOptionsDragWithoutShift->Click();
    window->mnuOptionGridSnapToGrid->Click();
    MoveTo({30, 250}, Qt::NoModifier);
    EXPECT_EQ(window->CurrentFrame->Point(9), (TPoint{30, 26})) << "Drag Without Shift";
    Release({30, 250});

    Press({88, 212}, Qt::ShiftModifier, Qt::RightButton);  // Right Hand (88, 64)
    EXPECT_EQ(window->cbxBodyPart->ItemIndex(), 4);
    MoveTo({100, 200}, Qt::ShiftModifier, Qt::RightButton);
    EXPECT_EQ(window->CurrentFrame->Point(5), (TPoint{88, 64})) << "the right button never drags";
    ASSERT_TRUE(window->mnuFrameUndoFrame->Enabled());
    while (window->mnuFrameUndoFrame->Enabled())
        Click(window->mnuFrameUndoFrame);
    EXPECT_EQ(window->CurrentFrame->Point(9), (TPoint{40, 8}));
}

TEST_F(WindowEditing, GridSizeEntryAcceptsNumbersAndRefusesNonsense)
{
    const std::pair<const char *, int> rows[] = {{"12", 12}, {"abc", 5}, {"  0x10", 16}, {"$0C", 12}, {"0", 12},
                                                 {"-3", 12}};
    for (const auto &[text, size] : rows) {
        dialogs.AnswerEntry(text);
        Click(window->mnuOptionGridSetGridSize);
        EXPECT_EQ(window->GridSize(), size) << text;
        EXPECT_EQ(window->mnuOptionGridCurrentSize->Caption(), QString::number(size) + " Pixels") << text;
    }
    EXPECT_EQ(dialogs.Of("entry").back(), "Set Snap to grid size");
}

TEST_F(WindowEditing, FrameNumberBoxSelectsTheKeyFrameItShows)
{
    const std::tuple<const char *, const char *, int> rows[] = {
        {"2", "2", 1}, {"9", "3", 2}, {"0", "1", 0}, {"3", "3", 2}, {"-", "-", 0}, {"", "", 0}};
    for (const auto &[typed, shown, index] : rows) {
        Type(window->spinFrameNumber, typed);
        EXPECT_EQ(window->spinFrameNumber->Text(), shown) << "typed " << typed;
        EXPECT_EQ(window->CurrentFrame, window->CurrentMove->Frames[index].get()) << "typed " << typed;
    }
}

TEST_F(WindowEditing, PartBoxesShowAndEditTheSelectedBodyPart)
{
    const TPoint hand = window->CurrentFrame->Point(3);
    window->cbxBodyPart->SetItemIndex(2);
    window->cbxBodyPartChange();
    EXPECT_EQ(window->spinPartX->Value(), hand.X);
    EXPECT_EQ(window->spinPartY->Value(), hand.Y);
    EXPECT_FALSE(window->Modified);
    EXPECT_TRUE(window->mnuFrameUndoFrame->Enabled()) << "choosing a part keeps the pose for Undo";

    window->cbxBodyPart->SetItemIndex(0);
    window->cbxBodyPartChange();
    const TPoint before = window->CurrentFrame->Point(1);
    Type(window->spinPartX, "200");
    EXPECT_EQ(window->CurrentFrame->Point(1), (TPoint{200, before.Y}));
    EXPECT_TRUE(window->Modified);
    // The shoulders are selected: the head, hanging below them, is yellow
    // and touches them at their new place.
    EXPECT_EQ(window->Image->Picture().pixelColor(200, 276 - before.Y), QColor(255, 255, 0));
    EXPECT_NE(window->Image->Picture().pixelColor(before.X, 276 - before.Y), QColor(255, 255, 0));

    Type(window->spinDisplacement, "128");
    Type(window->spinInterpolate, "7");
    EXPECT_EQ(window->CurrentFrame->Displacement, 128);
    EXPECT_EQ(window->CurrentFrame->Interpolation, 7);
}

TEST_F(WindowEditing, AnotherMoveShowsItsFirstKeyFrameAndKeepsTheBodyPart)
{
    window->cbxBodyPart->SetItemIndex(4);
    window->cbxBodyPartChange();
    Type(window->spinFrameNumber, "3");
    window->cbxMoves->SetItemIndex(2);
    window->cbxMovesSelect();
    EXPECT_EQ(window->CurrentFrame, window->Moves[2]->Frames[0].get());
    EXPECT_EQ(Frame(), 1);
    EXPECT_EQ(window->spinFrameNumber->MaxValue(), 3);
    EXPECT_EQ(window->cbxBodyPart->ItemIndex(), 4);
    // Typed text matches no item: the first move becomes current.
    window->cbxMoves->setFocus();
    QTest::keyClicks(window->cbxMoves, "zz");
    EXPECT_EQ(window->cbxMoves->Text(), "0> Move0");
    EXPECT_EQ(window->CurrentMove, window->Moves[0].get());
}

TEST_F(WindowEditing, RepaintFromTheWindowSystemShowsTheCurrentKeyFrameAgain)
{
    window->spinFrameNumber->SetValue(3);
    QApplication::processEvents();
    const QImage shown = window->Image->Picture();
    window->Image->Surface().FillRect(0, 0, 100, 100);
    QApplication::processEvents();
    ASSERT_NE(window->Image->Picture(), shown);
    window->Image->repaint();
    EXPECT_EQ(window->Image->Picture(), shown);
    window->Image->Surface().FillRect(0, 0, 100, 100);
    window->Image->Expose();
    EXPECT_EQ(window->Image->Picture(), shown);
}
