// That each control, menu item (File > Import Moves among them), shortcut and
// mouse event of the window reaches the editing core and that the window shows
// the result; the rules themselves are tested in tests/edit. And the dialogs
// the commands ask in.
#include "window_fixture.h"

#include "app/import_moves_dialog.h"
#include "app/string_entry_dialog.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QWindow>

using namespace hoofer;
using namespace hoofer::test;

class WindowEditing : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        LoadData(RoutineBytes(4, 3));
    }
    /// Replaces the text of a spin edit as typing does, one key at a time.
    void Type(toolkit::TSpinEdit *spin, const QString &text)
    {
        spin->Editor()->setFocus();
        spin->Editor()->selectAll();
        QTest::keyClick(spin->Editor(), Qt::Key_Backspace);
        QTest::keyClicks(spin->Editor(), text);
    }
    void Mouse(QEvent::Type type, QPoint at, Qt::KeyboardModifiers keys = Qt::ShiftModifier, Qt::MouseButton b = Qt::LeftButton)
    {
        QMouseEvent event(type, at, window->Image->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : b,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(b), keys);
        QApplication::sendEvent(window->Image, &event);
    }
    void Select(toolkit::TComboBox *box, int index)
    {
        box->SetItemIndex(index);
        box == window->cbxMoves ? window->cbxMovesSelect() : window->cbxBodyPartChange();
    }
    int Frame() const { return window->spinFrameNumber->Value(); }
};

TEST_F(WindowEditing, FrameMenuAsksShowsTheNewKeyFrameAndEnablesPaste)
{
    Click(window->mnuFrameAddFrame);
    EXPECT_EQ(Frame(), 4);
    window->spinFrameNumber->SetValue(2);
    QWidget *focus = window->spinPartX->Editor();  // the shortcuts work while a spin edit has the focus
    focus->setFocus();
    QTest::keyClick(focus, Qt::Key_Insert);
    EXPECT_EQ(Frame(), 3);
    dialogs.confirmAnswers = {false, true};
    QTest::keyClick(focus, Qt::Key_Delete);
    Click(window->mnuFrameDeleteFrame);
    EXPECT_EQ(window->spinFrameNumber->MaxValue(), 4);
    dialogs.confirmAnswers = {false};
    Click(window->mnuFrameCutFrame);
    EXPECT_TRUE(window->mnuFramePaste->Enabled()) << "a cut answered No still copies";
    dialogs.confirmAnswers = {true};
    QTest::keyClick(focus, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(dialogs.Of("confirm"), (std::vector<std::string>{"Delete current frame?", "Delete current frame?",
                                                               "Cut current frame?", "Replace current frame?"}));
    dialogs.confirmAnswers = {true};  // the routine was changed: the load asks first
    LoadData(RoutineBytes(1, 1));  // a single key frame is cut without a question
    Click(window->mnuFrameCutFrame);
    EXPECT_EQ(dialogs.Of("confirm").size(), 5u);
    EXPECT_TRUE(window->mnuFramePaste->Enabled());
}

TEST_F(WindowEditing, MoveMenuRebuildsTheSelectorAndSelectsTheMove)
{
    Click(window->mnuMoveAddMove);  // where it goes in is the core's rule
    EXPECT_EQ(window->cbxMoves->ItemText(2), "2> NewMove");
    Click(window->mnuMoveDeleteMove);
    EXPECT_EQ(window->cbxMoves->ItemText(2), "2> Move2");
    EXPECT_EQ(window->cbxMoves->ItemIndex(), 2);
    dialogs.entryAnswers = {" Twirl "};
    Click(window->mnuMoveRenameMove);
    EXPECT_EQ(window->cbxMoves->ItemText(2), "2>  Twirl ") << "shown as typed until the list is rebuilt";
    Click(window->mnuMoveRenameMove);  // cancelled: no name, no change
    EXPECT_EQ(window->Core.CurrentMove()->MoveName, " Twirl ");
    Click(window->mnuMoveAddMove);
    EXPECT_EQ(window->cbxMoves->ItemText(3), "3> Twirl");
}

TEST_F(WindowEditing, DraggingWithTheMouseShowsThePoseAndEscapeCancels)
{
    LoadData(FileBytes(HOOFER_SOURCE_DIR "/examples/newmove.raw"));
    window->Options.GridSize = 5;
    window->Options.SnapToGrid = true;
    Mouse(QEvent::MouseButtonPress, {66, 182});
    Mouse(QEvent::MouseMove, {63, 200});
    EXPECT_EQ(window->Core.CurrentFrame()->Point(1), (TPoint{60, 75}));
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_EQ((TPoint{window->spinPartX->Value(), window->spinPartY->Value()}), (TPoint{64, 96}));
    EXPECT_EQ(window->StatusBar->text(), "Drag Cancelled");
    Mouse(QEvent::MouseButtonRelease, {63, 200});
    Mouse(QEvent::MouseButtonPress, {40, 268}, Qt::NoModifier);  // Left Foot (40, 8)
    EXPECT_EQ(window->cbxBodyPart->ItemIndex(), 8);
    Mouse(QEvent::MouseMove, {30, 250}, Qt::NoModifier);
    EXPECT_EQ(window->Core.CurrentFrame()->Point(9), (TPoint{40, 8})) << "no Shift";
    window->mnuOptionsDragWithoutShift->Click();
    window->mnuOptionGridSnapToGrid->Click();
    Mouse(QEvent::MouseMove, {30, 250}, Qt::NoModifier);
    EXPECT_EQ(window->Core.CurrentFrame()->Point(9), (TPoint{30, 26})) << "Drag Without Shift";
    Mouse(QEvent::MouseButtonRelease, {30, 250});
    Mouse(QEvent::MouseButtonPress, {88, 212}, Qt::ShiftModifier, Qt::RightButton);  // Right Hand (88, 64)
    EXPECT_EQ(window->cbxBodyPart->ItemIndex(), 4);
    Mouse(QEvent::MouseMove, {100, 200}, Qt::ShiftModifier, Qt::RightButton);
    EXPECT_EQ(window->Core.CurrentFrame()->Point(5), (TPoint{88, 64})) << "the right button never drags";
}

TEST_F(WindowEditing, GridSizeAndFrameNumberEntriesAcceptNumbersAndRefuseNonsense)
{
    const std::pair<const char *, int> sizes[] = {{"12", 12}, {"abc", 5}, {"  0x10", 16}, {"$0C", 12}, {"0", 12}, {"-3", 12}};
    for (const auto &[text, size] : sizes) {
        dialogs.entryAnswers = {text};
        Click(window->mnuOptionGridSetGridSize);
        EXPECT_EQ(window->Options.GridSize, size) << text;
        EXPECT_EQ(window->mnuOptionGridCurrentSize->Caption(), QString::number(size) + " Pixels") << text;
    }
    EXPECT_EQ(dialogs.Of("entry").back(), "Set Snap to grid size");
    const std::tuple<const char *, const char *, int> frames[] = {
        {"2", "2", 1}, {"9", "3", 2}, {"0", "1", 0}, {"3", "3", 2}, {"-", "-", 0}, {"", "", 0}};
    for (const auto &[typed, shown, index] : frames) {
        Type(window->spinFrameNumber, typed);
        EXPECT_EQ(window->spinFrameNumber->Text(), shown) << "typed " << typed;
        EXPECT_EQ(window->Core.CurrentFrame(), window->Core.CurrentMove()->Frames[index].get()) << "typed " << typed;
    }
}

TEST_F(WindowEditing, PartBoxesShowAndEditTheSelectedBodyPartAndAnotherMoveKeepsIt)
{
    const TPoint hand = window->Core.CurrentFrame()->Point(3);
    Select(window->cbxBodyPart, 2);
    EXPECT_EQ((TPoint{window->spinPartX->Value(), window->spinPartY->Value()}), hand);
    EXPECT_TRUE(window->mnuFrameUndoFrame->Enabled()) << "choosing a part keeps the pose for Undo";
    Select(window->cbxBodyPart, 0);
    const TPoint before = window->Core.CurrentFrame()->Point(1);
    Type(window->spinPartX, "200");
    EXPECT_EQ(window->Core.CurrentFrame()->Point(1), (TPoint{200, before.Y}));
    // The shoulders are selected: the head hanging below them is yellow and follows them.
    EXPECT_EQ(window->Image->Picture().pixelColor(200, 276 - before.Y), QColor(255, 255, 0));
    const QImage shown = window->Image->Picture();
    window->Image->Surface().FillRect(0, 0, 100, 100);
    window->Image->Expose();  // as the window system asks for a repaint
    EXPECT_EQ(window->Image->Picture(), shown);
    Type(window->spinDisplacement, "200");
    Type(window->spinInterpolate, "7");
    EXPECT_EQ(window->Core.CurrentFrame()->Displacement, 127) << "the largest the file's signed byte holds";
    EXPECT_EQ(window->Core.CurrentFrame()->Interpolation, 7);

    Select(window->cbxBodyPart, 4);
    Type(window->spinFrameNumber, "3");
    Select(window->cbxMoves, 2);
    EXPECT_EQ(window->Core.CurrentFrame(), window->Core.Moves()[2]->Frames[0].get());
    EXPECT_EQ(Frame(), 1);
    EXPECT_EQ(window->spinFrameNumber->MaxValue(), 3);
    EXPECT_EQ(window->cbxBodyPart->ItemIndex(), 4);
    window->cbxMoves->setFocus();
    QTest::keyClicks(window->cbxMoves, "zz");  // matches no item: the first move becomes current
    EXPECT_EQ(window->cbxMoves->Text(), "0> Move0");
    EXPECT_EQ(window->Core.CurrentMove(), window->Core.Moves()[0].get());
}

TEST_F(WindowEditing, MirrorAndTheKeyFramesUndoAndRedoAnswerTheirShortcuts)
{
    const THFFrame &frame = *window->Core.CurrentFrame();
    const auto original = frame.Points;
    QTest::keyClick(window.get(), Qt::Key_M, Qt::ControlModifier);
    const auto mirrored = frame.Points;
    EXPECT_NE(mirrored, original);
    QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(frame.Points, original);
    QTest::keyClick(window.get(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(frame.Points, mirrored);
    EXPECT_EQ(window->spinPartX->Value(), mirrored[0].X) << "the view follows";
}

TEST_F(WindowEditing, ZoomScalesThePreviewAndTheWindowAndARealDragLandsWhereTheHalvedDragLands)
{
    LoadData(FileBytes(HOOFER_SOURCE_DIR "/examples/newmove.raw"));
    window->Options.DragWithoutShift = true;
    const QSize size = window->size();
    const QImage plain = window->Image->grab().toImage();
    EXPECT_EQ(plain.convertToFormat(QImage::Format_RGB32), window->Image->Picture().convertToFormat(QImage::Format_RGB32))
        << "at 1x the preview is the drawing itself";
    const auto drag = [&](int zoom) {
        QTest::mousePress(window->Image, Qt::LeftButton, {}, QPoint(66, 182) * zoom);
        QTest::mouseMove(window->Image, QPoint(63, 200) * zoom);
        QTest::mouseRelease(window->Image, Qt::LeftButton, {}, QPoint(63, 200) * zoom);
        return window->Core.CurrentFrame()->Point(1);
    };
    const TPoint atOne = drag(1);
    Click(window->mnuFrameUndoFrame);
    window->mnuViewZoom2->Click();
    EXPECT_EQ(std::pair(window->mnuViewZoom2->Checked(), window->mnuViewZoom1->Checked()), std::pair(true, false));
    EXPECT_EQ(window->size(), size + QSize(256, 296));
    EXPECT_EQ(window->Image->grab().toImage().convertToFormat(QImage::Format_RGB32),
              window->Image->Picture().scaled(512, 592).convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(drag(2), atOne);
    window->mnuViewZoom1->Click();
    EXPECT_EQ(window->size(), size);
    window->Options.DragWithoutShift = false;
    const QPoint shoulders(atOne.X, 276 - atOne.Y);
    QTest::mousePress(window->Image, Qt::LeftButton, {}, shoulders);
    QTest::mouseMove(window->Image, shoulders + QPoint(20, 0));
    QTest::mouseRelease(window->Image, Qt::LeftButton, {}, shoulders + QPoint(20, 0));
    EXPECT_EQ(window->Core.CurrentFrame()->Point(1), atOne) << "no drag without Shift";
    EXPECT_EQ(window->StatusBar->text(), "Hold Shift to drag, or check Options > Drag Without Shift");
}

TEST_F(WindowEditing, CtrlArrowsNudgeThePoseNotTheFocusedBoxAndKeepBoneLengthsTurnsTheLimb)
{
    Select(window->cbxBodyPart, 1);  // Left Elbow
    const TPoint elbow = window->Core.CurrentFrame()->Point(2), shoulders = window->Core.CurrentFrame()->Point(1);
    const int interpolation = window->spinInterpolate->Value();
    window->spinInterpolate->Editor()->setFocus();
    QTest::keyClick(window->spinInterpolate->Editor(), Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(window->Core.CurrentFrame()->Point(2), (TPoint{elbow.X, elbow.Y + 1}));
    EXPECT_EQ(window->spinInterpolate->Value(), interpolation);
    EXPECT_EQ(window->spinPartY->Value(), elbow.Y + 1);
    window->spinPartX->Editor()->setFocus();
    QTest::keyClick(window->spinPartX->Editor(), Qt::Key_Left, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(window->Core.CurrentFrame()->Point(1).X, shoulders.X - 1) << "the whole figure";
    Click(window->mnuOptionsKeepBoneLengths);
    for (int i = 0; i < 15; ++i)  // 2 degrees each: a short bone needs a few to move a point
        QTest::keyClick(window->spinPartX->Editor(), Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(window->Core.CurrentFrame()->Point(1).X, shoulders.X - 1) << "the limb turns, the figure stays";
    const TPoint turned = window->Core.CurrentFrame()->Point(2);
    EXPECT_NE(turned, (TPoint{elbow.X - 1, elbow.Y + 1}));
    EXPECT_NE(turned, (TPoint{elbow.X - 16, elbow.Y + 1})) << "turned, not moved";
}

TEST_F(WindowEditing, EditMenuNamesTheChangeAndItsShortcutsWorkWithABoxFocused)
{
    window->spinFrameNumber->SetValue(2);
    Select(window->cbxBodyPart, 2);
    const int x = window->Core.CurrentFrame()->Point(3).X;
    Type(window->spinPartX, "77");
    EXPECT_EQ(window->mnuEditUndo->Caption(), "Undo Type Coordinates");
    Select(window->cbxBodyPart, 0);
    window->spinFrameNumber->SetValue(3);
    QWidget *focus = window->spinPartX->Editor();
    QTest::keyClick(focus, Qt::Key_Z, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(std::tuple(Frame(), window->cbxBodyPart->ItemIndex(), window->spinPartX->Value()), std::tuple(2, 2, x))
        << "back where the change was made";
    QTest::keyClick(focus, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(std::pair(window->mnuEditUndo->Caption(), window->mnuEditRedo->Caption()),
              std::pair(QString("Undo Delete Move"), QString("Redo")));
    QTest::keyClick(focus, Qt::Key_Z, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(window->cbxMoves->Count(), 4);
    QTest::keyClick(focus, Qt::Key_Y, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(window->cbxMoves->Count(), 3);
}

namespace {
const std::string kSampler = HOOFER_SOURCE_DIR "/examples/sampler.raw";  // Wave, Kick, Spin, Bow
}

class MoveCommands : public WindowTest {
protected:
    std::vector<std::string> Selector() const
    {
        std::vector<std::string> items;
        for (int i = 0; i < window->cbxMoves->Count(); ++i)
            items.push_back(window->cbxMoves->ItemText(i).toStdString());
        return items;
    }
    bool Unsaved() const { return window->windowTitle().contains('*'); }  // the caption's mark
    /// File > Import Moves of `path`, answering the real dialog as a user
    /// would: ticks the rows, then presses Import (or Cancel).
    void Import(const std::string &path, const std::vector<int> &rows, bool press = true)
    {
        dialogs.onChoice = [this, rows, press](toolkit::ItemChoice &choice) {
            auto &dialog = dynamic_cast<TfrmImportMoves &>(choice);
            for (int i = 0; i < dialog.lstMoves->count(); ++i)
                offered.push_back(dialog.lstMoves->item(i)->text().toStdString());
            importEnabledUnticked = dialog.btnImport->isEnabled();
            for (const int row : rows)
                dialog.lstMoves->item(row)->setCheckState(Qt::Checked);
            (press ? dialog.btnImport : dialog.btnCancel)->click();  // a disabled button does nothing
            return dialog.result();
        };
        ChooseForImport(path);
    }
    /// File > Import Moves of a file that is refused before any dialog.
    void ChooseForImport(const std::string &path)
    {
        dialogs.openAnswers.push_back(path);
        Click(window->mnuFileImportMoves);
    }

    std::vector<std::string> offered;  // the rows of the latest Import Moves dialog
    bool importEnabledUnticked = true;
};

// Where moves go and where the ends stop a shift are the core's rules.
TEST_F(MoveCommands, DownAndDuplicateRenumberTheSelectorAndKeepTheMoveAndItsKeyFrameShown)
{
    LoadData(RoutineBytes(3, 2));
    window->spinFrameNumber->SetValue(2);
    Click(window->mnuMoveMoveDown);
    EXPECT_EQ(Selector(), (std::vector<std::string>{"0> Move1", "1> Move0", "2> Move2"}));
    EXPECT_EQ(window->cbxMoves->ItemIndex(), 1);
    EXPECT_EQ(window->spinFrameNumber->Value(), 2);
    Click(window->mnuMoveDuplicateMove);
    EXPECT_EQ(Selector(), (std::vector<std::string>{"0> Move1", "1> Move0", "2> Move0 2", "3> Move2"}));
    EXPECT_EQ(window->cbxMoves->ItemIndex(), 2);
}

TEST_F(MoveCommands, ImportOffersTheFilesMovesAndAppendsTheTickedOnesSelectingTheFirst)
{
    LoadData(RoutineBytes(2, 1));
    Import(kSampler, {1, 3});
    EXPECT_EQ(offered, (std::vector<std::string>{"0> Wave", "1> Kick", "2> Spin", "3> Bow"}));
    EXPECT_FALSE(importEnabledUnticked);
    EXPECT_EQ(Selector(), (std::vector<std::string>{"0> Move0", "1> Move1", "2> Kick", "3> Bow"}));
    EXPECT_EQ(window->cbxMoves->ItemIndex(), 2);
    EXPECT_EQ(window->cbxMoves->toolTip(),
              QString::fromStdString("Playing time: 1.61 s\nRoutine: " + RoutinePlayingTimeText(window->Core.Moves())));
}

TEST_F(MoveCommands, ImportCancelledOrPastTheLimitChangesNothing)
{
    LoadData(RoutineBytes(255, 1));
    Import(kSampler, {0}, false);
    Import(kSampler, {0, 1});
    EXPECT_EQ(dialogs.Of("exception"), (std::vector<std::string>{
        "The routine has room for 1 more moves (a routine holds 256 at most); 2 were chosen."}));
    EXPECT_EQ(window->cbxMoves->Count(), 255);
    EXPECT_FALSE(Unsaved());
}

TEST_F(MoveCommands, AnUnreadableFileIsRefusedWithTheMessageOfLoad)
{
    LoadData(RoutineBytes(2, 1));
    const std::string truncated = TempPath("truncated.raw");
    WriteBytes(truncated, RoutineBytes(1, 2).substr(0, 30));
    ChooseForImport(truncated);
    const std::vector<std::string> refused = dialogs.Of("exception");
    dialogs.shown.clear();
    LoadFile(truncated);
    ASSERT_EQ(refused.size(), 1u);
    EXPECT_EQ(refused, dialogs.Of("exception"));
    EXPECT_EQ(window->cbxMoves->Count(), 2);
}

TEST_F(MoveCommands, ImportWithoutARoutineStartsAnUnsavedOneFromTheMoves)
{
    Import(kSampler, {0, 2});
    EXPECT_EQ(Selector(), (std::vector<std::string>{"0> Wave", "1> Spin"}));
    EXPECT_EQ(window->cbxMoves->ItemIndex(), 0);
    EXPECT_TRUE(Unsaved());
}

TEST(StringEntryDialog, ShownItSelectsTheTextAcceptsOnEnterStaysOpenOnEscapeAndLimitsTyping)
{
    const struct {
        const char *name, *before;
        int maxLength;
        const char *typed;
        Qt::Key last;
        int result;
        const char *after;
    } rows[] = {{"Enter accepts", "Old", 0, "player", Qt::Key_Return, 1, "player"},
                {"Escape leaves it open, the close box cancels", "Old", 0, "x", Qt::Key_Escape, 0, "x"},
                {"typing stops at the maximum, not a text set by the program", "a name much longer than twelve", 12,
                 "abcdefghijklm", Qt::Key_Return, 1, "abcdefghijkl"}};
    for (const auto &row : rows) {
        TfrmSingleStringEntry dialog(nullptr);
        dialog.SetMaxLength(row.maxLength);
        dialog.SetTheText(row.before);
        dialog.SetTitle("Your empeg's Network Name");
        dialog.show();  // as Execute shows it, without a modal loop to wait in
        QLineEdit *edit = dialog.findChild<QLineEdit *>();
        EXPECT_EQ(dialog.windowHandle()->title(), "Enter String") << row.name;
        // Wide enough for the prompt and for the title beside the window manager's buttons.
        QLabel *prompt = dialog.findChild<QLabel *>();
        EXPECT_LE(prompt->geometry().right(), edit->geometry().right()) << row.name;
        EXPECT_LE(edit->geometry().right() + 4, dialog.width()) << row.name;
        EXPECT_GE(dialog.width(), dialog.fontMetrics().horizontalAdvance("Enter String") + 100) << row.name;
        EXPECT_EQ(edit->selectedText(), row.before) << row.name;
        QTest::keyClicks(edit, row.typed);
        QTest::keyClick(edit, row.last);
        EXPECT_EQ(dialog.isVisible(), row.last == Qt::Key_Escape) << row.name;
        dialog.close();  // the close box, where the dialog is still open
        EXPECT_EQ(dialog.result(), row.result) << row.name;
        EXPECT_EQ(dialog.TheText(), row.after) << row.name;
    }
}
