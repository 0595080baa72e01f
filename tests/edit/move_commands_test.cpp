#include "window_fixture.h"

#include "toolkit/combo_box.h"
#include "toolkit/menu.h"
#include "toolkit/spin_edit.h"

using namespace hoofer;
using namespace hoofer::test;

class MoveCommands : public WindowTest {
protected:
    std::vector<std::string> Items() const
    {
        std::vector<std::string> out;
        for (int i = 0; i < window->cbxMoves->Count(); ++i)
            out.push_back(window->cbxMoves->ItemText(i).toStdString());
        return out;
    }
};

TEST_F(MoveCommands, NewMoveGoesBeforeTheLastTwoAndIsSelected)
{
    LoadData(RoutineBytes(5, 2));
    Click(window->mnuMoveAddMove);
    EXPECT_EQ(Items(), (std::vector<std::string>{"0> Move0", "1> Move1", "2> Move2", "3> NewMove", "4> Move3",
                                                 "5> Move4"}));
    EXPECT_EQ(window->cbxMoves->ItemIndex(), 3);
    EXPECT_EQ(window->CurrentMove->MoveName.substr(0, 7), "NewMove");
    EXPECT_EQ(window->spinFrameNumber->Value(), 1);
}

TEST_F(MoveCommands, NewMoveIsSelectedWhereverItLands)
{
    LoadData(RoutineBytes(2, 1));
    Click(window->mnuMoveAddMove);
    EXPECT_EQ(Items(), (std::vector<std::string>{"0> NewMove", "1> Move0", "2> Move1"}));
    EXPECT_EQ(window->cbxMoves->ItemIndex(), 0);

    LoadData(RoutineBytes(1, 1));
    Click(window->mnuMoveAddMove);
    EXPECT_EQ(Items(), (std::vector<std::string>{"0> NewMove", "1> Move0"}));
    EXPECT_EQ(window->CurrentMove, window->Moves[0].get());

    LoadData(RoutineBytes(3, 1));
    Click(window->mnuMoveAddMove);
    EXPECT_EQ(Items(), (std::vector<std::string>{"0> NewMove", "1> Move0", "2> Move1", "3> Move2"}));
    EXPECT_EQ(window->CurrentMove->MoveName.substr(0, 7), "NewMove");
}

TEST_F(MoveCommands, NewMoveStandsWithInterpolationThreeAfterSaveAndLoad)
{
    LoadData(RoutineBytes(1, 1));
    Click(window->mnuMoveAddMove);
    const std::string path = TempPath("added.raw");
    dialogs.saveAnswers.push_back(path);
    Click(window->mnuFileSave);
    LoadFile(path);
    const THFMove &added = *window->Moves[0];
    ASSERT_EQ(added.Frames.size(), 1u);
    EXPECT_EQ(added.Frames[0]->Interpolation, 3);
    EXPECT_EQ(added.Frames[0]->Point(1), (TPoint{64, 96}));
    EXPECT_EQ(added.Frames[0]->Point(12), (TPoint{88, 8}));
}

TEST_F(MoveCommands, DeleteNeedsFourMovesAndSelectsTheFollower)
{
    LoadData(RoutineBytes(5, 1));
    window->cbxMoves->SetItemIndex(1);
    window->cbxMovesSelect();
    Click(window->mnuMoveDeleteMove);
    EXPECT_EQ(Items(), (std::vector<std::string>{"0> Move0", "1> Move2", "2> Move3", "3> Move4"}));
    EXPECT_EQ(window->cbxMoves->ItemIndex(), 1);
    window->cbxMoves->SetItemIndex(3);
    window->cbxMovesSelect();
    Click(window->mnuMoveDeleteMove);
    EXPECT_EQ(Items(), (std::vector<std::string>{"0> Move0", "1> Move2", "2> Move3"}));
    EXPECT_EQ(window->CurrentMove, window->Moves[2].get());
    EXPECT_FALSE(window->mnuMoveDeleteMove->Enabled());
    Click(window->mnuMoveDeleteMove);
    EXPECT_EQ(window->Moves.size(), 3u);
}

TEST_F(MoveCommands, RenameKeepsBlanksUntilTheListIsRebuilt)
{
    LoadData(RoutineBytes(4, 1));
    window->cbxMoves->SetItemIndex(2);
    window->cbxMovesSelect();
    dialogs.AnswerEntry(" Twirl ");
    Click(window->mnuMoveRenameMove);
    EXPECT_EQ(window->Moves[2]->MoveName, " Twirl ");
    EXPECT_EQ(window->cbxMoves->ItemText(2), "2>  Twirl ");
    Click(window->mnuMoveAddMove);  // goes in at 2, before the last two
    EXPECT_EQ(window->cbxMoves->ItemText(3), "3> Twirl");
    dialogs.CancelEntry();
    Click(window->mnuMoveRenameMove);
    EXPECT_EQ(dialogs.Of("entry").size(), 2u);
}

TEST_F(MoveCommands, NothingToActOnWithoutARoutine)
{
    EXPECT_FALSE(window->mnuMoveAddMove->EffectivelyEnabled());
    EXPECT_FALSE(window->mnuMoveRenameMove->EffectivelyEnabled());
    EXPECT_FALSE(window->mnuMoveDeleteMove->EffectivelyEnabled());
    Click(window->mnuMoveAddMove);
    EXPECT_TRUE(window->Moves.empty());
}
