#include "window_fixture.h"

#include "toolkit/combo_box.h"
#include "toolkit/menu.h"
#include "toolkit/spin_edit.h"

#include <QFile>

using namespace hoofer;
using namespace hoofer::test;

class RoutineFiles : public WindowTest {};

TEST_F(RoutineFiles, LoadedMovesAreListedAndTheFirstIsCurrent)
{
    LoadData(RoutineBytes(3, 2));
    ASSERT_EQ(window->cbxMoves->Count(), 3);
    EXPECT_EQ(window->cbxMoves->ItemText(0), "0> Move0");
    EXPECT_EQ(window->cbxMoves->ItemText(2), "2> Move2");
    EXPECT_EQ(window->cbxMoves->ItemIndex(), 0);
    EXPECT_EQ(window->CurrentMove, window->Moves[0].get());
    EXPECT_EQ(window->CurrentFrame, window->Moves[0]->Frames[0].get());
    EXPECT_EQ(window->spinFrameNumber->Value(), 1);
    EXPECT_EQ(window->cbxBodyPart->ItemIndex(), 0);
    EXPECT_TRUE(window->mnuFileSave->Enabled());
    EXPECT_TRUE(window->mnuFileUploadtoEmpeg->Enabled());
    EXPECT_FALSE(window->Modified);
}

TEST_F(RoutineFiles, SaveWritesTheFileBackByteForByte)
{
    const std::string original = TestData("newmove.raw");
    LoadData(original);
    EXPECT_EQ(window->cbxMoves->ItemText(0), "0> NewMove");
    const std::string out = TempPath("copy.raw");
    dialogs.saveAnswers.push_back(out);
    Click(window->mnuFileSave);
    EXPECT_EQ(FileBytes(out), original);

    const std::string many = RoutineBytes(256, 3);
    LoadData(many);
    dialogs.saveAnswers.push_back(out);
    Click(window->mnuFileSave);
    EXPECT_EQ(FileBytes(out), many);
}

TEST_F(RoutineFiles, TruncatedRoutineIsRefusedAndOldOneKept)
{
    LoadData(RoutineBytes(2, 3));
    window->cbxMoves->SetItemIndex(1);
    window->cbxMovesSelect();
    THFMove *before = window->CurrentMove;
    const std::string whole = RoutineBytes(4, 2);
    LoadData(whole.substr(0, whole.size() - 5));
    ASSERT_EQ(dialogs.Of("exception").size(), 1u);
    EXPECT_NE(dialogs.Of("exception")[0].find("truncated"), std::string::npos) << dialogs.Of("exception")[0];
    EXPECT_EQ(window->cbxMoves->Count(), 2);
    EXPECT_EQ(window->CurrentMove, before);
    EXPECT_EQ(window->SerialiseRoutine(), RoutineBytes(2, 3));
    EXPECT_TRUE(window->mnuFileSave->Enabled());
}

TEST_F(RoutineFiles, EmptyOrMissingFileChangesNothing)
{
    LoadData(RoutineBytes(1, 2));
    LoadData("");
    EXPECT_TRUE(dialogs.Of("exception").empty());
    EXPECT_TRUE(dialogs.Of("error").empty());
    EXPECT_EQ(window->cbxMoves->Count(), 1);
    EXPECT_TRUE(window->mnuFileSave->Enabled());

    LoadFile(TempPath("no-such.raw"));
    ASSERT_EQ(dialogs.Of("exception").size(), 1u);
    EXPECT_TRUE(dialogs.Of("exception")[0].starts_with("Cannot open file")) << dialogs.Of("exception")[0];
    EXPECT_NE(dialogs.Of("exception")[0].find("no-such.raw"), std::string::npos);
    EXPECT_EQ(window->cbxMoves->Count(), 1);
    EXPECT_TRUE(window->mnuFileUploadtoEmpeg->Enabled());
}

TEST_F(RoutineFiles, CancelledDialogsDoNothing)
{
    LoadData(RoutineBytes(1, 1));
    Click(window->mnuFileLoad);  // no answer scripted: cancelled
    EXPECT_EQ(window->cbxMoves->Count(), 1);
    Click(window->mnuFileSave);
    EXPECT_EQ(dialogs.Of("exception").size(), 0u);
}

TEST_F(RoutineFiles, SaveIntoAnUnwritableFolderReportsAndKeepsTheOldFile)
{
    LoadData(RoutineBytes(1, 1));
    const std::string out = TempPath("missing-folder/out.raw");
    dialogs.saveAnswers.push_back(out);
    Click(window->mnuFileSave);
    ASSERT_EQ(dialogs.Of("exception").size(), 1u);
    EXPECT_TRUE(dialogs.Of("exception")[0].starts_with("Cannot create file")) << dialogs.Of("exception")[0];
    EXPECT_FALSE(QFile::exists(QString::fromStdString(out)));
}

TEST_F(RoutineFiles, MoveBeyondTheFormatIsRefusedOnSaveAndTheFileUntouched)
{
    LoadData(RoutineBytes(1, 255));
    const std::string out = TempPath("kept.raw");
    WriteBytes(out, "old");
    window->spinFrameNumber->SetValue(255);
    Click(window->mnuFrameAddFrame);
    ASSERT_EQ(window->CurrentMove->Frames.size(), 256u);
    dialogs.saveAnswers.push_back(out);
    Click(window->mnuFileSave);
    ASSERT_EQ(dialogs.Of("exception").size(), 1u) << ::testing::PrintToString(dialogs.shown);
    EXPECT_NE(dialogs.Of("exception")[0].find("255"), std::string::npos) << dialogs.Of("exception")[0];
    EXPECT_EQ(FileBytes(out), "old");
}

TEST_F(RoutineFiles, FileNamesAreBytesAndMessagesShowThemAsTheSystemDoes)
{
    const std::string folder = TempPath("a").substr(0, TempPath("a").size() - 1);
    const std::string original = TestData("newmove.raw");
    WriteBytes(folder + "caf\xe9.raw", original);  // not UTF-8
    LoadFile(folder + "caf\xe9.raw");
    EXPECT_EQ(window->cbxMoves->ItemText(0), "0> NewMove");
    dialogs.saveAnswers.push_back(folder + "out\xe9.raw");
    Click(window->mnuFileSave);
    EXPECT_EQ(FileBytes(folder + "out\xe9.raw"), original);
    EXPECT_TRUE(dialogs.Of("exception").empty());

    LoadFile(folder + "gone\xc3\xa9.raw");  // UTF-8: the message text is Latin-1
    ASSERT_EQ(dialogs.Of("exception").size(), 1u);
    EXPECT_TRUE(dialogs.Of("exception")[0].starts_with("Cannot open file " + folder + "gone\xe9.raw\n"));
}
