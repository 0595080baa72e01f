// That the key frame strip is wired: it follows the current move, selects,
// reorders and offers the Frame menu, redraws only what changed and leaves
// the window as it was while it is off.
#include "window_fixture.h"

#include "toolkit/thumbnail_strip.h"
#include "view/thumbnail.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QToolTip>

using namespace hoofer;
using namespace hoofer::test;

class KeyFrameStrip : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        LoadData(RoutineBytes(4, 3));
    }
    toolkit::TThumbnailStrip &Strip() { return *window->stripKeyFrames; }
    QPoint Centre(int index) { return Strip().ItemRect(index).center(); }
    void Mouse(QWidget *target, QEvent::Type type, QPoint at, Qt::MouseButtons held,
               Qt::KeyboardModifiers keys = Qt::NoModifier)
    {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, at, target->mapToGlobal(at), button, held, keys);
        QApplication::sendEvent(target, &event);
    }
};

TEST_F(KeyFrameStrip, OffTheWindowIsPixelIdenticalOnItGrowsByTheStripAndShowsEveryKeyFrame)
{
    const QSize size = window->size();
    const QImage before = window->grab().toImage();
    Click(window->mnuViewKeyFrameStrip);
    EXPECT_EQ(std::pair(window->mnuViewKeyFrameStrip->Checked(), Strip().isVisible()), std::pair(true, true));
    EXPECT_EQ(window->size(), size + QSize(0, Strip().height()));
    ASSERT_EQ(Strip().Count(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Strip().Caption(i), QString("%1 · %2").arg(i + 1).arg(window->Core.CurrentMove()->Frames[i]->Interpolation));
    const QPoint onSecond = Strip().ItemRect(1).center();
    QHelpEvent help(QEvent::ToolTip, onSecond, Strip().viewport()->mapToGlobal(onSecond));
    QApplication::sendEvent(Strip().viewport(), &help);
    EXPECT_EQ(QToolTip::text(),
              QString("Key frame 2, %1 in-between steps").arg(window->Core.CurrentMove()->Frames[1]->Interpolation));
    Click(window->mnuViewKeyFrameStrip);
    EXPECT_EQ(window->size(), size);
    EXPECT_EQ(window->grab().toImage(), before);
}

TEST_F(KeyFrameStrip, ClickSelectsDragReordersAndAPreviewDragRedrawsOnlyThatThumbnail)
{
    Click(window->mnuViewKeyFrameStrip);
    QWidget *view = Strip().viewport();
    Mouse(view, QEvent::MouseButtonPress, Centre(1), Qt::LeftButton);
    Mouse(view, QEvent::MouseButtonRelease, Centre(1), Qt::NoButton);
    EXPECT_EQ(window->spinFrameNumber->Value(), 2);

    // Thumbnails are drawn when the strip paints them.
    view->repaint();
    const THFFrame *first = window->Core.CurrentMove()->Frames[0].get();
    const QImage firstPicture = Strip().Picture(0);
    const long long drawn = window->KeyFrameThumbnailsDrawn();
    Mouse(view, QEvent::MouseButtonPress, Centre(0), Qt::LeftButton);
    Mouse(view, QEvent::MouseMove, Centre(1), Qt::LeftButton);
    Mouse(view, QEvent::MouseMove, Centre(2), Qt::LeftButton);
    Mouse(view, QEvent::MouseButtonRelease, Centre(2), Qt::NoButton);
    EXPECT_EQ(window->Core.CurrentMove()->Frames[2].get(), first);
    EXPECT_EQ(Strip().Current(), 2);
    EXPECT_EQ(Strip().Caption(2), QString("3 · %1").arg(first->Interpolation));
    view->repaint();
    EXPECT_EQ(window->KeyFrameThumbnailsDrawn(), drawn) << "moved key frames keep their thumbnails";
    EXPECT_EQ(Strip().Picture(2), firstPicture);

    const TColor background = window->Image->Surface().BrushColor();
    const TPixel shoulders = PointToPixel(first->Point(1));
    Mouse(window->Image, QEvent::MouseButtonPress, {shoulders.x, shoulders.y}, Qt::LeftButton, Qt::ShiftModifier);
    // Two drag steps before the strip paints again cost one thumbnail.
    Mouse(window->Image, QEvent::MouseMove, {shoulders.x + 5, shoulders.y}, Qt::LeftButton, Qt::ShiftModifier);
    Mouse(window->Image, QEvent::MouseMove, {shoulders.x + 9, shoulders.y}, Qt::LeftButton, Qt::ShiftModifier);
    Mouse(window->Image, QEvent::MouseButtonRelease, {shoulders.x + 9, shoulders.y}, Qt::NoButton, Qt::ShiftModifier);
    EXPECT_EQ(window->KeyFrameThumbnailsDrawn(), drawn);
    view->repaint();
    EXPECT_EQ(window->KeyFrameThumbnailsDrawn(), drawn + 1);
    EXPECT_EQ(Strip().Picture(2), DrawThumbnail(*first, background));
}

TEST_F(KeyFrameStrip, RightClickOffersTheFrameMenuForThatKeyFrameAndPlaybackLocksAndFramesTheTarget)
{
    Click(window->mnuViewKeyFrameStrip);
    const QPoint at = Centre(2);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, Strip().viewport()->mapToGlobal(at));
    QApplication::sendEvent(Strip().viewport(), &event);
    EXPECT_EQ(window->spinFrameNumber->Value(), 3);
    QMenu &menu = *window->KeyFrameStripMenu;
    EXPECT_TRUE(menu.isVisible());
    QList<QAction *> offered = menu.actions(), frame = window->mnuFrame->Menu()->actions();
    for (QList<QAction *> *actions : {&offered, &frame})
        actions->removeIf([](QAction *action) { return action->isSeparator(); });
    EXPECT_EQ(offered, frame) << "the Frame menu's own actions: captions, states and handlers as there";
    const THFFrame *second = window->Core.CurrentMove()->Frames[1].get();
    dialogs.confirmAnswers = {true};
    window->mnuFrameDeleteFrame->Action()->trigger();
    menu.hide();
    ASSERT_EQ(Strip().Count(), 2);
    EXPECT_EQ(window->Core.CurrentMove()->Frames[1].get(), second) << "the third key frame went";
    EXPECT_EQ(Strip().Current(), 1);

    std::vector<int> framed;
    platform.onMessages = [&] {
        EXPECT_FALSE(Strip().isEnabled());
        if (framed.empty() || framed.back() != Strip().Current())
            framed.push_back(Strip().Current());
    };
    Click(window->mnuMovePlay);
    EXPECT_EQ(framed, (std::vector<int>{0, 1}));
    EXPECT_TRUE(Strip().isEnabled());
    EXPECT_EQ(Strip().Current(), 0);
}
