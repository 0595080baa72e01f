// Ranges of key frames in the window: selected in the strip, asked about
// once, exchanged with another window through the desktop's clipboard and
// played alone; the routine played move after move.
#include "window_fixture.h"

#include "toolkit/thumbnail_strip.h"
#include "view/playback.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QTest>

#include <numeric>

using namespace hoofer;
using namespace hoofer::test;

class KeyFrameRanges : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        LoadData(RoutineBytes(4, 5));
        QGuiApplication::clipboard()->clear();
    }
    toolkit::TThumbnailStrip &Strip() { return *window->stripKeyFrames; }
    void ClickThumbnail(int index, Qt::KeyboardModifiers keys = Qt::NoModifier)
    {
        QTest::mouseClick(Strip().viewport(), Qt::LeftButton, keys, Strip().ItemRect(index).center());
    }
    static std::vector<std::string> Snapshots(const RoutineEditor &core, int move) { return MoveSnapshots(core.Moves(), move); }
};

TEST_F(KeyFrameRanges, ShiftClickShiftArrowsAndSelectAllSelectARangeThatDeleteAsksAboutOnceAndTheStripShows)
{
    Click(window->mnuViewKeyFrameStrip);
    ClickThumbnail(1);
    ClickThumbnail(3, Qt::ShiftModifier);
    EXPECT_EQ(std::pair(window->Core.SelectedFrames(), window->spinFrameNumber->Value()), std::pair(FrameRange{2, 4}, 2));
    EXPECT_TRUE(Strip().Marked(1) && Strip().Marked(3) && !Strip().Marked(4));
    QTest::keyClick(&Strip(), Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(window->Core.SelectedFrames(), (FrameRange{2, 3}));
    QTest::keyClick(&Strip(), Qt::Key_Right);
    EXPECT_EQ(window->Core.SelectedFrames(), (FrameRange{3, 3})) << "an arrow alone selects the next one";
    QTest::keyClick(&Strip(), Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(&Strip(), Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(window->Core.SelectedFrames(), (FrameRange{3, 5}));
    EXPECT_TRUE(window->mnuFrameReverse->EffectivelyEnabled());

    const THFFrame *second = window->Core.CurrentMove()->Frames[1].get();
    dialogs.confirmAnswers = {true};
    Click(window->mnuFrameDeleteFrame);
    EXPECT_EQ(dialogs.Of("confirm"), (std::vector<std::string>{"Delete frames 3 to 5?"}));
    EXPECT_EQ(window->Core.CurrentFrame(), second) << "the new last key frame";
    EXPECT_EQ(std::pair(Strip().Count(), Strip().Marked(1)), std::pair(2, false));
    Click(window->mnuEditUndo);
    EXPECT_EQ(window->Core.SelectedFrames(), (FrameRange{3, 5})) << "Undo selects the range again";

    ClickThumbnail(2);
    EXPECT_EQ(window->Core.SelectedFrames(), (FrameRange{3, 3})) << "a plain click selects one again";
    Click(window->mnuViewKeyFrameStrip);  // Select All shows the strip again
    Click(window->mnuFrameSelectAll);
    EXPECT_EQ(std::pair(Strip().isVisible(), window->Core.SelectedFrames()), std::pair(true, FrameRange{1, 5}));
    dialogs.shown.clear();
    window->spinInterpolate->SetValue(7);
    EXPECT_EQ(window->mnuEditUndo->Caption(), "Undo Set Interpolation");
    EXPECT_EQ(Strip().Caption(0) + Strip().Caption(4), "1 · 75 · 7") << "every key frame and its thumbnail";
    Click(window->mnuFrameDeleteFrame);
    EXPECT_TRUE(dialogs.Of("confirm").empty()) << "a move never loses every key frame";
    Click(window->mnuViewKeyFrameStrip);
    EXPECT_EQ(window->Core.SelectedFrames(), (FrameRange{3, 3}));
}

TEST_F(KeyFrameRanges, TwoWindowsExchangeKeyFramesAndAMoveThroughTheDesktopClipboard)
{
    ScriptedDialogs otherDialogs;
    TfrmHoofer other(platform, &otherDialogs, TempPath("other.ini"));
    other.show();
    other.Core.ReplaceRoutine(TestMoves(3, 2));
    other.cbxMoves->SetItemIndex(2);
    other.cbxMovesSelect();

    window->spinFrameNumber->SetValue(2);
    window->Core.ExtendSelection(4);
    Click(window->mnuFrameCopy);
    const std::vector<std::string> mine = Snapshots(window->Core, 0);
    toolkit::RunGuarded([&] { other.mnuFramePasteKeyFrames->Click(); });
    const std::vector<std::string> pasted = Snapshots(other.Core, 2);
    EXPECT_EQ(std::vector(pasted.begin() + 1, pasted.end() - 1), std::vector(mine.begin() + 1, mine.begin() + 4));
    EXPECT_EQ(other.Core.SelectedFrames(), (FrameRange{2, 2})) << "the first pasted current, alone without the strip";

    Click(window->mnuMoveCopyMove);
    toolkit::RunGuarded([&] { other.mnuMovePasteMove->Click(); });
    ASSERT_EQ(other.Core.CurrentMoveIndex(), 3) << "after the current move, selected";
    EXPECT_EQ(TrimName(other.Core.CurrentMove()->MoveName), "Move0 2") << "the other routine has a Move0";
    EXPECT_EQ(Snapshots(other.Core, 3), mine);
    toolkit::RunGuarded([&] { other.mnuEditUndo->Click(); });
    EXPECT_EQ(other.Core.Moves().size(), 3u);
    other.Core.MarkSaved();
}

TEST_F(KeyFrameRanges, PasteReadsJsonTextRefusesItWithItsMessageAndOtherwiseUsesTheWindowsOwnFrame)
{
    window->spinFrameNumber->SetValue(3);
    Click(window->mnuFrameCopy);
    const std::string third = FrameSnapshot(*window->Core.CurrentFrame());
    const std::string text = QGuiApplication::clipboard()->text().toStdString();  // the routine's JSON

    QGuiApplication::clipboard()->setText(R"([{"interpolation": 1, "displacement": 0, "points": []}])");
    window->spinFrameNumber->SetValue(1);
    const std::string image = window->Core.SerialiseRoutine();
    Click(window->mnuFramePaste);
    Click(window->mnuFramePasteKeyFrames);
    const std::string refusal = "The text on the clipboard is not key frames of a routine: frames[0].points: 0 points; expected 12";
    EXPECT_EQ(dialogs.Of("error"), (std::vector<std::string>{refusal, refusal}));
    EXPECT_EQ(window->Core.SerialiseRoutine(), image);

    QGuiApplication::clipboard()->setText(QString::fromStdString(text));
    window->spinFrameNumber->SetValue(5);
    Click(window->mnuFramePasteKeyFrames);
    EXPECT_EQ(window->Core.SelectedFrames(), (FrameRange{6, 6})) << "pasted from text; without the strip, no range";
    EXPECT_EQ(FrameSnapshot(*window->Core.CurrentFrame()), third);

    QGuiApplication::clipboard()->setText("a note about the dance");
    window->spinFrameNumber->SetValue(1);
    dialogs.confirmAnswers = {true};
    Click(window->mnuFramePaste);
    EXPECT_EQ(dialogs.Of("confirm").back(), "Replace current frame?");
    EXPECT_EQ(FrameSnapshot(*window->Core.CurrentFrame()), third) << "the window's own clipboard frame";
}

TEST_F(KeyFrameRanges, PlaySelectionIsAPassOverTheRangeAndPlayRoutineEveryMoveWithTheSelectorFollowing)
{
    window->spinFrameNumber->SetValue(3);
    window->Core.ExtendSelection(2);
    const THFMove &move = *window->Core.CurrentMove();
    const int steps = move.Frames[1]->Interpolation + 1 + move.Frames[2]->Interpolation + 1;
    Click(window->mnuMovePlaySelection);
    EXPECT_EQ(platform.sleeps, std::vector<int>(steps + 2, kStepPauseMs)) << "each step, then each transition";
    EXPECT_EQ(std::pair(window->Core.SelectedFrames(), window->spinFrameNumber->Value()), std::pair(FrameRange{2, 3}, 2));
    EXPECT_TRUE(window->mnuFrameReverse->EffectivelyEnabled()) << "the first key frame played current, the range kept";

    platform.sleeps.clear();
    std::vector<int> followed;
    platform.onMessages = [&] {
        if (followed.empty() || followed.back() != window->cbxMoves->ItemIndex())
            followed.push_back(window->cbxMoves->ItemIndex());
    };
    EXPECT_NE(window->cbxMoves->toolTip().toStdString().find("Routine: " + RoutinePlayingTimeText(window->Core.Moves())),
              std::string::npos);
    Click(window->mnuMovePlayRoutine);
    EXPECT_EQ(followed, (std::vector<int>{0, 1, 2, 3}));
    const auto total = [](long long ms, const auto &m) { return ms + PassDurationMs(*m); };
    EXPECT_EQ(std::accumulate(platform.sleeps.begin(), platform.sleeps.end(), 0LL),
              std::accumulate(window->Core.Moves().begin(), window->Core.Moves().end(), 0LL, total));
    EXPECT_EQ(std::pair(window->cbxMoves->ItemIndex(), window->spinFrameNumber->Value()), std::pair(0, 1));

    platform.sleeps.clear();
    platform.onMessages = [&] {
        if (platform.sleeps.size() == 3)
            window->FormKeyDown(Qt::Key_Escape, Qt::NoModifier);
    };
    Click(window->mnuMovePlayRoutine);
    EXPECT_EQ(platform.sleeps.size(), 4u) << "Escape ends it after the pause of the step on screen";
    EXPECT_TRUE(window->mnuMovePlayRoutine->EffectivelyEnabled());
}
