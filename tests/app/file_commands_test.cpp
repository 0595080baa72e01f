#include "window_fixture.h"

#include "export/move_gif.h"

#include <QFile>

using namespace hoofer;
using namespace hoofer::test;

class RoutineFiles : public WindowTest {};

TEST_F(RoutineFiles, LoadShowsTheRoutineSaveWritesItUnderByteNamesOrSaysWhyAndANewRoutineOffersNoFile)
{
    const std::string folder = dir.path().toStdString() + "/";
    WriteBytes(folder + "caf\xe9.raw", RoutineBytes(3, 2));  // not UTF-8
    LoadFile(folder + "caf\xe9.raw");
    EXPECT_EQ(window->cbxMoves->ItemText(2), "2> Move2");
    EXPECT_EQ(window->CurrentFrame, window->Moves[0]->Frames[0].get());
    EXPECT_EQ(window->cbxBodyPart->Text(), "Shoulders");
    EXPECT_TRUE(window->mnuFileSave->Enabled() && window->mnuFileUploadtoEmpeg->Enabled());
    Click(window->mnuFileLoad);  // no answer scripted: cancelled
    Click(window->mnuFileSave);  // cancelled too
    EXPECT_EQ(window->cbxMoves->Count(), 3);
    dialogs.saveAnswers = {folder + "missing/out.raw", folder + "out\xe9.raw"};
    Click(window->mnuFileSave);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(folder + "missing/out.raw")));
    Click(window->mnuFileSave);
    EXPECT_EQ(dialogs.lastSaveSpec.fileName, folder + "caf\xe9.raw") << "Save offers the file loaded";
    EXPECT_EQ(FileBytes(folder + "out\xe9.raw"), RoutineBytes(3, 2));
    ASSERT_EQ(dialogs.Of("exception").size(), 1u);
    EXPECT_TRUE(dialogs.Of("exception")[0].starts_with("Cannot create file " + folder + "missing/out.raw\n"));

    Click(window->mnuFileNewRoutine);
    EXPECT_EQ(window->cbxMoves->Text(), "0> NewMove");
    dialogs.saveAnswers = {TempPath("new.raw")};
    Click(window->mnuFileSave);
    EXPECT_EQ(dialogs.lastSaveSpec.fileName, "") << "a new routine has no file to offer";
    std::string standing = TestData("newmove.raw");
    standing.back() = '\0';  // the example without its displacement
    EXPECT_EQ(FileBytes(TempPath("new.raw")), standing);
    LoadFile(folder + "gone\xc3\xa9.raw");  // missing: the routine stays; the UTF-8 name is shown in Latin-1
    EXPECT_EQ(dialogs.Of("exception").back().rfind("Cannot open file " + folder + "gone\xe9.raw\n", 0), 0u);
    EXPECT_EQ(window->cbxMoves->Text(), "0> NewMove");
}

TEST_F(RoutineFiles, ExportWritesTheFileOfTheExportCodeAndReportsAFailureLikeASave)
{
    const std::string gif = TempPath("move.gif"), reference = TempPath("reference.gif");
    LoadData(RoutineBytes(2, 3));
    EXPECT_TRUE(window->mnuFileExportMoveAsGif->Enabled());
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
