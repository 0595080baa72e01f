#include "window_fixture.h"

#include <gmock/gmock.h>

#include <QGroupBox>
#include <QTest>

#include <algorithm>
#include <stdexcept>

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

/// Plays a move of three key frames, interpolations 1, 2 and 3: a pass is (2 + 3 + 4) steps and 3 transitions of 70 ms.
class Playback : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        LoadData(RoutineBytes(2, 3));
    }
    bool Unlocked() const
    {
        return !window->Playing() && window->grpMoveAndFrame->isEnabled() && window->grpBodyParts->isEnabled() &&
               window->grpResult->isEnabled() && window->mnuFile->Enabled() && window->mnuMovePlay->EffectivelyEnabled() &&
               window->mnuEdit->Enabled();
    }
};

TEST_F(Playback, F9PlaysWithEditingLockedAndContinuousPlayStopsAfterThePassInWhichItIsUnchecked)
{
    window->spinFrameNumber->SetValue(3);
    window->Options.PlayContinuously = true;
    Click(window->mnuViewPlaybackSpeedQuarter);  // every pause scaled (tests/view); one speed checked at a time
    EXPECT_FALSE(window->mnuViewPlaybackSpeedNormal->Checked());
    QImage last;
    platform.onMessages = [&] {
        if (last.isNull()) {  // the menus meanwhile: window_design_test.cpp
            EXPECT_TRUE(window->Playing());
            const bool enabled[] = {window->grpMoveAndFrame->isEnabled(), window->grpBodyParts->isEnabled(),
                                    window->grpResult->isEnabled()};
            EXPECT_THAT(enabled, ::testing::Each(false)) << "the boxes";
        }
        last = window->Image->Picture();
        if (platform.sleeps.size() > 2 * 12 && window->mnuOptionsPlayContinuously->Checked())  // in the third pass
            window->mnuOptionsPlayContinuously->Click();
        if (platform.sleeps.size() > 4 * 12)
            throw std::runtime_error("still playing after the fourth pass");
    };
    QTest::keyClick(window.get(), Qt::Key_F9);
    EXPECT_FALSE(window->mnuOptionsPlayContinuously->Checked());
    EXPECT_EQ(platform.sleeps, std::vector<int>(3 * 12, 4 * 70));
    EXPECT_NE(window->Image->Picture(), last) << "the first key frame is drawn with its rings again";
    EXPECT_EQ(window->spinFrameNumber->Value(), 1);
    EXPECT_TRUE(Unlocked());
}

TEST_F(Playback, EscapeOrF9StopsAContinuousPlaybackAfterTheStepUnderWay)
{
    window->Options.PlayContinuously = true;
    for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_F9}) {
        window->spinFrameNumber->SetValue(2);
        platform.sleeps.clear();
        platform.onMessages = [&] {
            if (platform.sleeps.size() == 12 + 4)  // in the second pass, the fifth step
                QTest::keyClick(window.get(), key);
            if (platform.sleeps.size() > 3 * 12)
                throw std::runtime_error("still playing after the third pass");
        };
        QTest::keyClick(window.get(), Qt::Key_F9);
        EXPECT_EQ(platform.sleeps.size(), 12u + 5u) << QKeySequence(key).toString().toStdString();
        EXPECT_TRUE(Unlocked());
        EXPECT_EQ(window->spinFrameNumber->Value(), 1);
        EXPECT_TRUE(window->Options.PlayContinuously);
    }
    EXPECT_TRUE(dialogs.Of("exception").empty());
}

TEST_F(Playback, AFailedPassUnlocksEditingBeforeItIsReportedAndCloseWaitsForThePassToEnd)
{
    int calls = 0;
    platform.onMessages = [&] {
        if (++calls == 1)
            window->close();
        EXPECT_TRUE(window->isVisible());
        if (calls == 3 && dialogs.Of("exception").empty())
            throw std::runtime_error("surface lost");
    };
    bool unlockedWhenShown = false;
    dialogs.onException = [&](const std::string &) { unlockedWhenShown = Unlocked(); };
    QTest::keyClick(window.get(), Qt::Key_F9);  // as the user presses it: the menu's own guard shows the box
    EXPECT_EQ(dialogs.Of("exception"), std::vector<std::string>{"surface lost"});
    EXPECT_TRUE(unlockedWhenShown);
    platform.sleeps.clear();
    QTest::keyClick(window.get(), Qt::Key_F9);
    EXPECT_EQ(platform.sleeps, std::vector<int>(12, 70));
    EXPECT_TRUE(window->isVisible()) << "the close asked for in the failed pass is not carried on";
    QTest::keyClick(window.get(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(window->Core.CurrentMove()->Frames.size(), 4u);
    calls = 0;
    dialogs.confirmAnswers = {true};
    Click(window->mnuMovePlay);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(Playback, OnionSkinRedrawsAtOnceOnlyAtRestAndOffIsTheDrawingOfBefore)
{
    window->spinFrameNumber->SetValue(2);  // ghosts on both sides
    const QImage plain = window->Image->Picture();
    Click(window->mnuViewOnionSkin);
    EXPECT_TRUE(ShowsGhosts(window->Image->Picture()));

    bool ghostsWhilePlaying = false;
    platform.onMessages = [&] { ghostsWhilePlaying |= ShowsGhosts(window->Image->Picture()); };
    Click(window->mnuMovePlay);
    platform.onMessages = nullptr;
    EXPECT_FALSE(ghostsWhilePlaying) << "playback draws plain steps";
    EXPECT_TRUE(ShowsGhosts(window->Image->Picture())) << "at rest after playback";

    window->spinFrameNumber->SetValue(2);
    Click(window->mnuViewOnionSkin);
    EXPECT_EQ(window->Image->Picture(), plain);
}
