// The window on the desktop: inside the screen's room at every zoom, the
// preview fitting a window the user sizes, the grid behind the preview, and
// Ctrl+Z for any change.
#include "window_fixture.h"

#include "toolkit/thumbnail_strip.h"
#include "view/preview_backdrop.h"
#include "view/image_canvas.h"

#include <QAction>
#include <QGroupBox>
#include <QTest>

using namespace hoofer;
using namespace hoofer::test;

class WindowOnScreen : public WindowTest {
protected:
    bool Inside(const QRect &area) const { return area.contains(window->frameGeometry()); }
};

TEST_F(WindowOnScreen, StaysInsideASmallScreenOfferingOnlyTheZoomsThatFit)
{
    platform.availableArea = QRect(0, 0, 1280, 1024);
    Click(window->mnuViewKeyFrameStrip);
    Click(window->mnuViewZoom2);
    EXPECT_EQ(window->Image->Zoom(), 2);
    EXPECT_TRUE(Inside(platform.availableArea));
    EXPECT_FALSE(window->mnuViewZoom3->Enabled()) << "taller than the screen with the strip";
    EXPECT_EQ(window->mnuViewZoom3->Action()->toolTip(), "The window would not fit on this screen at 3×");
    Click(window->mnuViewKeyFrameStrip);
    EXPECT_TRUE(window->mnuViewZoom3->Enabled()) << "it fits without the strip";

    // A zoom kept from a larger screen is lowered to one that fits.
    Click(window->mnuViewZoom3);
    Click(window->mnuViewKeyFrameStrip);
    EXPECT_EQ(window->Image->Zoom(), 2);
    platform.availableArea = QRect(100, 30, 800, 600);
    Reopen(TempPath("hooferedit.ini"));
    EXPECT_EQ(window->Image->Zoom(), 1);
    EXPECT_TRUE(window->mnuViewKeyFrameStrip->Checked());
    EXPECT_TRUE(Inside(platform.availableArea));
}

TEST_F(WindowOnScreen, FitPreviewToWindowTakesTheLargestWholeZoomAndComesBackWhereItWasInsideTheScreen)
{
    LoadData(RoutineBytes(1, 3));
    Click(window->mnuViewKeyFrameStrip);
    const QSize fixed = window->size();
    Click(window->mnuViewFitPreviewToWindow);
    EXPECT_NE(window->minimumSize(), window->maximumSize()) << "the user sizes it";
    EXPECT_FALSE(window->mnuViewZoom1->Enabled());
    const struct { QSize window; int zoom, thumbnailHeight; } rows[] = {
        {{900, 700}, 1, 74}, {{1920, 1040}, 2, 148}, {{1400, 1400}, 3, 148}};
    for (const auto &row : rows) {
        window->resize(row.window);
        EXPECT_EQ(window->Image->Zoom(), row.zoom) << row.window.width();
        EXPECT_EQ(window->stripKeyFrames->PictureSize().height(), row.thumbnailHeight) << row.window.width();
        EXPECT_TRUE(window->grpResult->geometry().contains(window->Image->geometry().translated(window->grpResult->pos())));
        EXPECT_LE(window->grpResult->geometry().bottom(), window->stripKeyFrames->geometry().top() + 3);
    }

    window->move(300, 200);
    window->resize(1000, 800);
    const QRect placed = window->geometry();
    Reopen(TempPath("hooferedit.ini"));
    EXPECT_EQ(window->geometry(), placed);
    platform.availableArea = QRect(0, 0, 1024, 768);
    Reopen(TempPath("hooferedit.ini"));
    EXPECT_TRUE(Inside(platform.availableArea)) << "smaller, and on the screen";
    Click(window->mnuViewFitPreviewToWindow);
    EXPECT_EQ(window->size(), fixed);
    EXPECT_TRUE(window->mnuViewZoom1->Enabled());
}

TEST_F(WindowOnScreen, ShowGridDotsThePreviewBehindTheFigureAtEveryZoomAndNeverTheGif)
{
    LoadData(RoutineBytes(1, 2));
    const auto gif = [this] {
        dialogs.saveAnswers.push_back(TempPath("move.gif"));
        Click(window->mnuFileExportMoveAsGif);
        return FileBytes(TempPath("move.gif"));
    };
    const std::string plain = gif();
    const TColor background = window->Image->Surface().BrushColor();
    Click(window->mnuViewShowGrid);
    const QImage picture = window->Image->Picture();
    // The point (250, 250) is on the grid of 5; (252, 250) is not; the ground lies under Y = 0.
    EXPECT_EQ(FromQColor(picture.pixelColor(250, 26)), GridDotColour(background));
    EXPECT_EQ(FromQColor(picture.pixelColor(252, 26)), background);
    EXPECT_EQ(FromQColor(picture.pixelColor(128, 277)), GroundLineColour(background));
    Click(window->mnuViewZoom2);
    const QImage zoomed = window->Image->grab().toImage();
    EXPECT_EQ(FromQColor(zoomed.pixelColor(501, 53)), GridDotColour(background)) << "a block of 2 by 2";
    EXPECT_EQ(gif(), plain);
    Click(window->mnuViewShowGrid);
    EXPECT_EQ(FromQColor(window->Image->Picture().pixelColor(250, 26)), background);
}

TEST(GridBackdrop, DotsGridPointsNoCloserThanFourPixels)
{
    // A reference's last row is Y = 0's, as the figure's feet.
    EXPECT_EQ(ReferenceRect(QSize(100, 200), {}), QRectF(64, 21, 128, 256));
    const struct { int grid, dotted, plain; } rows[] = {{5, 10, 11}, {1, 8, 9}, {2, 4, 6}, {3, 12, 9}, {16, 32, 28}};
    for (const auto &row : rows) {
        const QImage image = DrawBackdrop(QSize(256, 296), 1, {clPreviewBackground, {}, {}, row.grid});
        EXPECT_EQ(FromQColor(image.pixelColor(row.dotted, 276 - row.dotted)), GridDotColour(clPreviewBackground)) << row.grid;
        EXPECT_EQ(FromQColor(image.pixelColor(row.plain, 276 - row.dotted)), clPreviewBackground) << row.grid;
    }
}

TEST_F(WindowOnScreen, CtrlZUndoesAnyChangeSwapsTheUndoKeysAndAsksNothingTheHistoryTakesBack)
{
    LoadData(RoutineBytes(4, 3));
    QWidget *focus = window->spinPartX->Editor();
    focus->setFocus();
    QTest::keyClick(focus, Qt::Key_Delete, Qt::ControlModifier);
    QTest::keyClick(focus, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(window->StatusBar->text(),
              "Nothing to undo on this key frame; Edit > Undo (Ctrl+Alt+Z) takes back Delete Move");
    EXPECT_EQ(window->cbxMoves->Count(), 3);

    Click(window->mnuOptionsCtrlZUndoesAnyChange);
    const std::pair<int, Qt::KeyboardModifiers> keys[] = {{Qt::Key_Z, Qt::ControlModifier},
        {Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier}, {Qt::Key_Z, Qt::ControlModifier}, {Qt::Key_Y, Qt::ControlModifier}};
    int moves = 3;
    for (const auto &[key, modifiers] : keys) {
        QTest::keyClick(focus, Qt::Key(key), modifiers);
        EXPECT_EQ(window->cbxMoves->Count(), moves = 7 - moves) << QKeySequence(modifiers | key).toString().toStdString();
    }
    const auto pose = window->Core.CurrentFrame()->Points;
    Click(window->mnuFrameMirrorPose);
    QTest::keyClick(focus, Qt::Key_Z, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(window->Core.CurrentFrame()->Points, pose) << "the key frame's own Undo";

    dialogs.shown.clear();
    for (toolkit::TMenuItem *item : {window->mnuFrameDeleteFrame, window->mnuFrameCopy, window->mnuFramePaste, window->mnuFrameCutFrame})
        Click(item);
    EXPECT_EQ(window->Core.CurrentMove()->FrameCount, 1);
    Click(window->mnuFileNewRoutine);
    EXPECT_EQ(dialogs.Of("confirm"), std::vector<std::string>{"Replace the routine and lose changes?"})
        << "only what the history cannot bring back is asked";
}
