// The View menu, Redo, Mirror Pose and Export Move as GIF as the window wires
// them: the drawing, the arithmetic and the file itself are pinned in the
// view, core and export tests.
#include "window_fixture.h"

#include "export/move_gif.h"
#include "model/pose_ops.h"
#include "toolkit/menu.h"
#include "toolkit/paint_box.h"
#include "toolkit/spin_edit.h"

#include <QTest>

#include <algorithm>

using namespace hoofer;
using namespace hoofer::test;

namespace {

/// Whether the picture holds a pixel in one of the ghosts' tints.
bool ShowsGhosts(const QImage &picture)
{
    const QRgb tints[] = {qRgb(200, 210, 240), qRgb(120, 150, 220), qRgb(230, 150, 150)};
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (std::find(std::begin(tints), std::end(tints), picture.pixel(x, y) | 0xFF000000) != std::end(tints))
                return true;
    return false;
}

} // namespace

class ViewMenu : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        LoadData(RoutineBytes(2, 3));  // interpolations 1, 2, 3
        window->spinFrameNumber->SetValue(2);
    }
};

TEST_F(ViewMenu, OnionSkinRedrawsAtOnceOnlyAtRestAndOffIsTheDrawingOfBefore)
{
    const QImage plain = window->Image->Picture();
    Click(window->mnuViewOnionSkin);
    EXPECT_TRUE(window->mnuViewOnionSkin->Checked());
    EXPECT_TRUE(ShowsGhosts(window->Image->Picture()));

    bool ghostsWhilePlaying = false;
    platform.onMessages = [&] { ghostsWhilePlaying |= ShowsGhosts(window->Image->Picture()); };
    Click(window->mnuMovePlay);
    platform.onMessages = nullptr;
    EXPECT_FALSE(ghostsWhilePlaying) << "playback draws plain steps";
    EXPECT_TRUE(ShowsGhosts(window->Image->Picture())) << "at rest after playback";

    window->spinFrameNumber->SetValue(2);
    Click(window->mnuViewOnionSkin);
    EXPECT_FALSE(window->mnuViewOnionSkin->Checked());
    EXPECT_EQ(window->Image->Picture(), plain);
}

TEST_F(ViewMenu, EverySpeedScalesEveryPauseOfAPass)
{
    const std::pair<toolkit::TMenuItem *, int> rows[] = {
        {window->mnuViewPlaybackSpeedHalf, 2},
        {window->mnuViewPlaybackSpeedQuarter, 4},
        {window->mnuViewPlaybackSpeedNormal, 1},
    };
    for (const auto &[item, factor] : rows) {
        Click(item);
        EXPECT_EQ(window->PlaybackSpeed(), factor);
        EXPECT_EQ(window->mnuViewPlaybackSpeedNormal->Checked() + window->mnuViewPlaybackSpeedHalf->Checked() +
                      window->mnuViewPlaybackSpeedQuarter->Checked(),
                  1)
            << "one speed is checked";
        platform.sleeps.clear();
        Click(window->mnuMovePlay);
        // (2 + 3 + 4) steps and 3 transitions.
        EXPECT_EQ(platform.sleeps, std::vector<int>(12, 70 * factor)) << "speed " << factor;
    }
}

TEST_F(ViewMenu, OnionSkinAndSpeedGoThroughTheSettingsFile)
{
    Click(window->mnuViewOnionSkin);
    Click(window->mnuViewPlaybackSpeedQuarter);
    window->SaveSettings();
    EXPECT_NE(FileBytes(TempPath("hooferedit.ini")).find("[View]\nOnionSkin=1\nPlaybackSpeed=4\n"), std::string::npos);
    WriteBytes(TempPath("hooferedit.ini"), "[View]\nPlaybackSpeed=2\n");
    window->LoadSettings();
    EXPECT_FALSE(window->mnuViewOnionSkin->Checked());
    EXPECT_TRUE(window->mnuViewPlaybackSpeedHalf->Checked());
    EXPECT_EQ(window->PlaybackSpeed(), 2);
}

TEST_F(ViewMenu, ExportWritesTheFileOfTheExportCodeAndReportsAFailureLikeASave)
{
    const std::string gif = TempPath("move.gif"), reference = TempPath("reference.gif");
    dialogs.saveAnswers.push_back(gif);
    Click(window->mnuFileExportMoveAsGif);
    EXPECT_EQ(dialogs.lastSaveSpec.filter, "Animated GIF|*.gif");
    ASSERT_EQ(WriteMoveGif(*window->CurrentMove, reference, 1), "");
    EXPECT_FALSE(FileBytes(gif).empty());
    EXPECT_EQ(FileBytes(gif), FileBytes(reference));

    dialogs.saveAnswers.push_back(TempPath("missing/move.gif"));
    Click(window->mnuFileExportMoveAsGif);
    ASSERT_EQ(dialogs.Of("exception").size(), 1u);
    EXPECT_EQ(dialogs.Of("exception")[0].rfind("Cannot create file " + TempPath("missing/move.gif") + "\n", 0), 0u)
        << dialogs.Of("exception")[0];
}

TEST_F(ViewMenu, RedoAndMirrorAreWiredToTheirShortcutsAndEnabledByTheCore)
{
    THFFrame &frame = *window->CurrentFrame;
    THFFrame mirrored;
    CopyFramePose(frame, mirrored);
    MirrorPose(mirrored);
    const auto original = frame.Points;
    EXPECT_FALSE(window->mnuFrameRedoFrame->Enabled());
    EXPECT_TRUE(window->mnuFrameMirrorPose->Enabled());
    EXPECT_TRUE(window->mnuFileExportMoveAsGif->Enabled());

    QTest::keyClick(window.get(), Qt::Key_M, Qt::ControlModifier);
    EXPECT_EQ(frame.Points, mirrored.Points);
    EXPECT_TRUE(window->Modified);
    QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(frame.Points, original);
    EXPECT_TRUE(window->mnuFrameRedoFrame->Enabled());
    QTest::keyClick(window.get(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(frame.Points, mirrored.Points);
    EXPECT_FALSE(window->mnuFrameRedoFrame->Enabled());
    EXPECT_EQ(window->spinPartX->Value(), mirrored.Point(1).X) << "the view follows";
}
