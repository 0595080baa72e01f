#include "window_fixture.h"

#include "toolkit/combo_box.h"
#include "toolkit/menu.h"
#include "toolkit/paint_box.h"
#include "toolkit/spin_edit.h"

#include <QGroupBox>
#include <QTest>

#include <numeric>
#include <stdexcept>

using namespace hoofer;
using namespace hoofer::test;

class Playback : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        LoadData(RoutineBytes(2, 3));  // interpolations 1, 2, 3
    }
    long long Paused() const { return std::accumulate(platform.sleeps.begin(), platform.sleeps.end(), 0LL); }
};

TEST_F(Playback, OnePassPausesAsTheMoveSaysAndEndsOnKeyFrameOne)
{
    window->spinFrameNumber->SetValue(3);
    ASSERT_EQ(window->CurrentFrame, window->CurrentMove->Frames[2].get());
    Click(window->mnuMovePlay);
    // (2 + 3 + 4) steps and 3 transitions, 70 ms each.
    EXPECT_EQ(Paused(), (9 + 3) * 70);
    EXPECT_EQ(window->spinFrameNumber->Value(), 1);
    EXPECT_EQ(window->CurrentFrame, window->CurrentMove->Frames[0].get());
    EXPECT_TRUE(window->grpMoveAndFrame->isEnabled());
    EXPECT_TRUE(window->mnuFile->Enabled());
}

TEST_F(Playback, EditingIsLockedWhileAMovePlays)
{
    bool checked = false;
    platform.onMessages = [&] {
        if (checked)
            return;
        checked = true;
        EXPECT_TRUE(window->Playing());
        EXPECT_FALSE(window->grpMoveAndFrame->isEnabled());
        EXPECT_FALSE(window->grpBodyParts->isEnabled());
        EXPECT_FALSE(window->grpResult->isEnabled());
        EXPECT_FALSE(window->mnuFrameAddFrame->EffectivelyEnabled());
        EXPECT_FALSE(window->mnuMovePlay->EffectivelyEnabled());
        EXPECT_TRUE(window->mnuOptionsPlayContinuously->EffectivelyEnabled());
        // F9 and Ctrl+N do nothing meanwhile.
        QTest::keyClick(window.get(), Qt::Key_F9);
        QTest::keyClick(window.get(), Qt::Key_N, Qt::ControlModifier);
        EXPECT_EQ(window->CurrentMove->Frames.size(), 3u);
    };
    QTest::keyClick(window.get(), Qt::Key_F9);
    EXPECT_TRUE(checked);
    EXPECT_EQ(Paused(), 12 * 70);
    EXPECT_FALSE(window->Playing());
    EXPECT_TRUE(window->grpResult->isEnabled());
}

TEST_F(Playback, ContinuousPlayStopsAfterThePassInWhichItIsUnchecked)
{
    window->mnuOptionsPlayContinuously->SetChecked(true);
    platform.onMessages = [&] {
        if (Paused() >= 2 * 12 * 70 + 70)  // in the middle of the third pass
            window->mnuOptionsPlayContinuously->Click();
    };
    Click(window->mnuMovePlay);
    EXPECT_FALSE(window->mnuOptionsPlayContinuously->Checked());
    EXPECT_EQ(Paused(), 3 * 12 * 70);
}

TEST_F(Playback, CloseDuringPlaybackWaitsForThePassToEnd)
{
    bool asked = false;
    platform.onMessages = [&] {
        if (!asked) {
            asked = true;
            window->close();
            EXPECT_TRUE(window->isVisible());
        }
    };
    Click(window->mnuMovePlay);
    EXPECT_EQ(Paused(), 12 * 70);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(Playback, LastStepOfAPassShowsThePoseShortOfTheLastKeyFrame)
{
    std::vector<QImage> pictures;
    platform.onMessages = [&] { pictures.push_back(window->Image->Picture()); };
    Click(window->mnuMovePlay);
    ASSERT_EQ(pictures.size(), 9u + 3u);
    // After the pass the first key frame is drawn with its rings again.
    EXPECT_NE(window->Image->Picture(), pictures.back());
}

TEST_F(Playback, FailureInAPassUnlocksEditingBeforeItIsReportedAndTheWindowKeepsWorking)
{
    int calls = 0;
    platform.onMessages = [&] {
        if (++calls == 3)
            throw std::runtime_error("surface lost");
    };
    bool unlockedWhenShown = false;
    dialogs.onException = [&](const std::string &) {
        unlockedWhenShown = !window->Playing() && window->grpMoveAndFrame->isEnabled() &&
                            window->grpResult->isEnabled() && window->mnuFile->Enabled();
    };
    // F9 as the user presses it: the menu's own guard shows the box.
    QTest::keyClick(window.get(), Qt::Key_F9);
    EXPECT_EQ(dialogs.Of("exception"), std::vector<std::string>{"surface lost"});
    EXPECT_TRUE(unlockedWhenShown);
    // The window keeps working: F9 plays the whole pass, Ctrl+N adds a key frame.
    platform.onMessages = nullptr;
    platform.sleeps.clear();
    QTest::keyClick(window.get(), Qt::Key_F9);
    EXPECT_EQ(Paused(), 12 * 70);
    QTest::keyClick(window.get(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(window->CurrentMove->Frames.size(), 4u);
}

TEST_F(Playback, CloseAskedForInAFailedPassIsNotCarriedIntoTheNextPlayback)
{
    int calls = 0;
    platform.onMessages = [&] {
        if (++calls == 1)
            window->close();
        if (calls == 2)
            throw std::runtime_error("surface lost");
    };
    Click(window->mnuMovePlay);
    ASSERT_EQ(dialogs.Of("exception").size(), 1u);
    EXPECT_TRUE(window->isVisible());
    platform.onMessages = nullptr;
    Click(window->mnuMovePlay);
    EXPECT_TRUE(window->isVisible());
}
