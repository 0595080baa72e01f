#include "window_fixture.h"

#include "toolkit/combo_box.h"
#include "toolkit/menu.h"
#include "toolkit/spin_edit.h"

#include <QTest>

using namespace hoofer;
using namespace hoofer::test;

/// Key frames are told apart by the X of their shoulders.
class FrameCommands : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        LoadData(RoutineBytes(2, 3));
        for (int m = 0; m < 2; ++m)
            for (int f = 0; f < 3; ++f)
                window->Moves[m]->Frames[f]->Point(1).X = 10 * m + f + 1;
    }
    std::vector<int> Marks() const
    {
        std::vector<int> out;
        for (const auto &f : window->CurrentMove->Frames)
            out.push_back(f->Point(1).X);
        return out;
    }
    void Go(int frame)
    {
        window->spinFrameNumber->SetValue(frame);
    }
};

TEST_F(FrameCommands, AddCopiesTheLastKeyFrameAndMakesItCurrent)
{
    Click(window->mnuFrameAddFrame);
    EXPECT_EQ(Marks(), (std::vector<int>{1, 2, 3, 3}));
    EXPECT_EQ(window->spinFrameNumber->Value(), 4);
    EXPECT_EQ(window->CurrentFrame, window->CurrentMove->Frames[3].get());
}

TEST_F(FrameCommands, InsertPutsACopyBeforeAndTheOriginalKeepsItsHistory)
{
    Go(2);
    window->cbxBodyPart->SetItemIndex(3);
    window->cbxBodyPartChange();  // a snapshot for key frame 2
    THFFrame *original = window->CurrentFrame;
    ASSERT_EQ(original->UndoList.size(), 1u);
    Click(window->mnuFrameInsertFrame);
    EXPECT_EQ(Marks(), (std::vector<int>{1, 2, 2, 3}));
    EXPECT_EQ(window->spinFrameNumber->Value(), 3);
    EXPECT_EQ(window->CurrentFrame, original);
    EXPECT_TRUE(window->CurrentMove->Frames[1]->UndoList.empty());
    EXPECT_TRUE(window->mnuFrameUndoFrame->Enabled());
}

TEST_F(FrameCommands, DeleteAsksAndSelectsTheFollowerOrTheNewLast)
{
    Click(window->mnuFrameAddFrame);
    window->CurrentFrame->Point(1).X = 4;
    dialogs.confirmAnswers = {true};
    Click(window->mnuFrameDeleteFrame);
    EXPECT_EQ(dialogs.Of("confirm").back(), "Delete current frame?");
    EXPECT_EQ(Marks(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(window->spinFrameNumber->Value(), 3);
    Go(2);
    dialogs.confirmAnswers = {false};
    Click(window->mnuFrameDeleteFrame);
    EXPECT_EQ(Marks(), (std::vector<int>{1, 2, 3}));
    dialogs.confirmAnswers = {true};
    Click(window->mnuFrameDeleteFrame);
    EXPECT_EQ(Marks(), (std::vector<int>{1, 3}));
    EXPECT_EQ(window->CurrentFrame->Point(1).X, 3);
    EXPECT_EQ(window->spinFrameNumber->Value(), 2);
}

TEST_F(FrameCommands, CutFillsTheClipboardEvenWhenAnsweredNo)
{
    Go(2);
    dialogs.confirmAnswers = {false};
    Click(window->mnuFrameCutFrame);
    EXPECT_EQ(dialogs.Of("confirm"), std::vector<std::string>{"Cut current frame?"});
    EXPECT_EQ(Marks(), (std::vector<int>{1, 2, 3}));
    EXPECT_TRUE(window->mnuFramePaste->Enabled());
    dialogs.confirmAnswers = {true};
    Click(window->mnuFrameCutFrame);
    EXPECT_EQ(Marks(), (std::vector<int>{1, 3}));
}

TEST_F(FrameCommands, PasteAcrossMovesReplacesPoseAndKeepsDisplacementInOneByte)
{
    Go(3);
    window->CurrentFrame->Interpolation = 9;
    window->CurrentFrame->Displacement = 128;
    Click(window->mnuFrameCopy);
    window->cbxMoves->SetItemIndex(1);
    window->cbxMovesSelect();
    Go(2);
    dialogs.confirmAnswers = {true};
    Click(window->mnuFramePaste);
    EXPECT_EQ(dialogs.Of("confirm").back(), "Replace current frame?");
    EXPECT_EQ(Marks(), (std::vector<int>{11, 3, 13}));
    EXPECT_EQ(window->CurrentFrame->Interpolation, 9);
    EXPECT_EQ(window->CurrentFrame->Displacement, -128);
    EXPECT_EQ(window->spinDisplacement->Value(), -128);
}

TEST_F(FrameCommands, SingleKeyFrameCannotBeDeletedAndIsCutWithoutAQuestion)
{
    LoadData(RoutineBytes(1, 1));
    EXPECT_FALSE(window->mnuFrameDeleteFrame->Enabled());
    Click(window->mnuFrameCutFrame);
    EXPECT_TRUE(dialogs.Of("confirm").empty());
    EXPECT_EQ(window->CurrentMove->Frames.size(), 1u);
    EXPECT_TRUE(window->mnuFramePaste->Enabled());
}

TEST_F(FrameCommands, UndoBringsBackDisplacementAsASignedByte)
{
    window->CurrentFrame->Displacement = 128;
    window->PushUndoSnapshot();
    window->CurrentFrame->Displacement = 5;
    window->RefreshView();
    Click(window->mnuFrameUndoFrame);
    EXPECT_EQ(window->CurrentFrame->Displacement, -128);
    EXPECT_FALSE(window->mnuFrameUndoFrame->Enabled());
}

TEST_F(FrameCommands, MenuShortcutsWorkWhileASpinEditHasTheFocus)
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

TEST_F(FrameCommands, MoveWithoutKeyFramesCanBeRepairedByAddingOne)
{
    std::string bytes = RoutineBytes(1, 0);
    LoadData(bytes);
    EXPECT_EQ(window->CurrentFrame, nullptr);
    Click(window->mnuMovePlay);  // nothing to play
    EXPECT_TRUE(platform.sleeps.empty());
    Click(window->mnuFrameAddFrame);
    ASSERT_EQ(window->CurrentMove->Frames.size(), 1u);
    EXPECT_EQ(window->CurrentFrame, window->CurrentMove->Frames[0].get());
    EXPECT_EQ(window->CurrentFrame->Point(1), (TPoint{0, 0}));
    EXPECT_TRUE(window->spinPartX->isEnabled());
}
