#include "window_fixture.h"

#include "export/move_gif.h"

#include <QDir>
#include <QFile>

using namespace hoofer;
using namespace hoofer::test;

class RoutineFiles : public WindowTest {};

TEST_F(RoutineFiles, LoadShowsTheRoutineSaveWritesToItsOwnFileAndSaveAsChoosesAnotherUnderByteNames)
{
    const std::string folder = dir.path().toStdString() + "/";
    WriteBytes(folder + "caf\xe9.raw", RoutineBytes(3, 2));  // not UTF-8
    LoadFile(folder + "caf\xe9.raw");
    EXPECT_EQ(window->cbxMoves->ItemText(2), "2> Move2");
    EXPECT_EQ(window->Core.CurrentFrame(), window->Core.Moves()[0]->Frames[0].get());
    EXPECT_EQ(window->cbxBodyPart->Text(), "Shoulders");
    EXPECT_TRUE(window->mnuFileSave->Enabled() && window->mnuFileSaveAs->Enabled() &&
                window->mnuFileUploadtoEmpeg->Enabled());
    Click(window->mnuFileLoad);  // no answer scripted: cancelled
    Click(window->mnuFileSaveAs);  // cancelled too
    EXPECT_EQ(window->cbxMoves->Count(), 3);
    EXPECT_EQ(dialogs.lastSaveSpec.fileName, folder + "caf\xe9.raw") << "Save As offers the routine's own file";
    window->spinPartX->SetValue(7);
    dialogs.shown.clear();
    Click(window->mnuFileSave);
    EXPECT_TRUE(dialogs.shown.empty()) << "no dialog, no question";
    EXPECT_EQ(FileBytes(folder + "caf\xe9.raw"), window->SerialiseRoutine());
    EXPECT_FALSE(window->Core.Modified());

    dialogs.saveAnswers = {folder + "missing/out.raw", folder + "out.raw"};
    Click(window->mnuFileSaveAs);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(folder + "missing/out.raw")));
    ASSERT_EQ(dialogs.Of("exception").size(), 1u);
    EXPECT_TRUE(dialogs.Of("exception")[0].starts_with("Cannot create file " + folder + "missing/out.raw\n"));
    Click(window->mnuFileSaveAs);
    EXPECT_EQ(dialogs.lastSaveSpec.fileName, folder + "caf\xe9.raw") << "a failed Save As keeps the own file";
    EXPECT_EQ(FileBytes(folder + "out.raw"), window->SerialiseRoutine());
    EXPECT_EQ(window->windowTitle(), "out.raw — Hoofer Editor V6");
    window->spinPartX->SetValue(8);
    EXPECT_EQ(window->windowTitle(), "out.raw* — Hoofer Editor V6");
    Click(window->mnuFileSave);
    EXPECT_EQ(FileBytes(folder + "out.raw"), window->SerialiseRoutine()) << "the chosen file became its own";

    Click(window->mnuFileNewRoutine);
    EXPECT_EQ(window->cbxMoves->Text(), "0> NewMove");
    EXPECT_EQ(window->windowTitle(), "Hoofer Editor V6");
    dialogs.saveAnswers = {TempPath("new.raw")};
    Click(window->mnuFileSave);
    EXPECT_EQ(dialogs.lastSaveSpec.fileName, "") << "a new routine has no file: Save asks as Save As";
    std::string standing = TestData("newmove.raw");
    standing.back() = '\0';  // the example without its displacement
    EXPECT_EQ(FileBytes(TempPath("new.raw")), standing);
    WriteBytes(folder + "short.raw", RoutineBytes(2, 2).substr(0, 20));
    for (const std::string &refused : {folder + "gone\xc3\xa9.raw", folder + "short.raw"})
        LoadFile(refused);  // the routine and its own file stay
    EXPECT_EQ(dialogs.Of("exception")[1].rfind("Cannot open file " + folder + "gone\xe9.raw\n", 0), 0u)
        << "the UTF-8 name is shown in Latin-1";
    EXPECT_EQ(window->cbxMoves->Text(), "0> NewMove");
    Click(window->mnuFileSaveAs);
    EXPECT_EQ(dialogs.lastSaveSpec.fileName, TempPath("new.raw"));
}

TEST_F(RoutineFiles, OpenRecentListsTheFilesLoadedOrSavedAndTheDialogsStartInTheLastFolder)
{
    const std::string ini = TempPath("hooferedit.ini"), kept = TempPath("kept&.raw"), gone = TempPath("gone.raw");
    WriteBytes(kept, RoutineBytes(2, 2));
    window.reset();
    WriteBytes(ini, "[Files]\nRecent1=" + kept + "\nRecent2=" + gone + "\nLastFolder=/\n");
    Reopen(ini);
    const auto &items = window->mnuFileOpenRecentItems;
    EXPECT_TRUE(window->mnuFileOpenRecent->Enabled());
    EXPECT_EQ(items[0]->Caption().toStdString(), "&1 " + TempPath("kept&&.raw"));
    EXPECT_TRUE(items[0]->Enabled() && items[1]->Visible());
    EXPECT_FALSE(items[1]->Enabled()) << "a missing file is shown disabled";
    EXPECT_FALSE(items[2]->Visible());
    Click(window->mnuFileLoad);
    EXPECT_EQ(dialogs.lastOpenSpec.initialFolder, "/");

    LoadData(RoutineBytes(1, 1));
    window->spinPartX->SetValue(9);
    dialogs.confirmAnswers = {true};
    Click(items[2]);  // the missing file, now third: disabled, so not even the question
    EXPECT_TRUE(dialogs.Of("confirm").empty());
    Click(items[1]);
    EXPECT_EQ(dialogs.Of("confirm"), std::vector<std::string>{"Replace the routine and lose changes?"});
    EXPECT_EQ(window->SerialiseRoutine(), RoutineBytes(2, 2));

    QDir().mkpath(dir.filePath("sub"));
    dialogs.saveAnswers = {TempPath("sub/saved.raw")};
    Click(window->mnuFileSaveAs);
    EXPECT_EQ(dialogs.lastSaveSpec.initialFolder, dir.path().toStdString()) << "the folder of the file loaded";
    Click(window->mnuFileExportMoveAsGif);
    EXPECT_EQ(dialogs.lastSaveSpec.initialFolder, TempPath("sub"));
    EXPECT_EQ(dialogs.lastSaveSpec.fileName, "Move0.gif");
    const std::string written = FileBytes(ini);  // at once, not only at exit
    EXPECT_NE(written.find("Recent1=" + TempPath("sub/saved.raw") + "\nRecent2=" + kept + "\n"), std::string::npos)
        << written;
    EXPECT_NE(written.find("LastFolder=" + TempPath("sub") + "\n"), std::string::npos) << written;

    Click(window->mnuFileOpenRecentClear);
    EXPECT_FALSE(window->mnuFileOpenRecent->Enabled() || items[0]->Visible());
    EXPECT_NE(FileBytes(ini).find("Recent1=\n"), std::string::npos);
    Reopen(ini);
    EXPECT_FALSE(window->mnuFileOpenRecent->Enabled()) << "a cleared list stays cleared";
}

TEST_F(RoutineFiles, ExportWritesTheFileOfTheExportCodeAndReportsAFailureLikeASave)
{
    const std::string gif = TempPath("move.gif"), reference = TempPath("reference.gif");
    LoadData(RoutineBytes(2, 3));
    EXPECT_TRUE(window->mnuFileExportMoveAsGif->Enabled());
    dialogs.saveAnswers.push_back(gif);
    Click(window->mnuFileExportMoveAsGif);
    EXPECT_EQ(dialogs.lastSaveSpec.filter, "Animated GIF|*.gif");
    ASSERT_EQ(WriteMoveGif(*window->Core.CurrentMove(), reference, 1), "");
    EXPECT_FALSE(FileBytes(gif).empty());
    EXPECT_EQ(FileBytes(gif), FileBytes(reference));

    dialogs.saveAnswers.push_back(TempPath("missing/move.gif"));
    Click(window->mnuFileExportMoveAsGif);
    ASSERT_EQ(dialogs.Of("exception").size(), 1u);
    EXPECT_EQ(dialogs.Of("exception")[0].rfind("Cannot create file " + TempPath("missing/move.gif") + "\n", 0), 0u)
        << dialogs.Of("exception")[0];
}
