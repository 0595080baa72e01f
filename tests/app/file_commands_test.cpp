#include "window_fixture.h"

#include "export/move_gif.h"
#include "model/routine_codec.h"

#include <QDir>

using namespace hoofer;
using namespace hoofer::test;

/// A routine of three moves loaded from a file whose name is not UTF-8.
class RoutineFiles : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        WriteBytes(own, RoutineBytes(3, 2));
        LoadFile(own);
    }
    const std::string folder = dir.path().toStdString() + "/", own = folder + "caf\xe9.raw";
};

TEST_F(RoutineFiles, SaveWritesTheOwnFileWithoutADialog)
{
    Click(window->mnuFileLoad);  // no answer scripted: cancelled
    Click(window->mnuFileSaveAs);  // cancelled too
    EXPECT_EQ(dialogs.lastFileSpec.fileName, own) << "Save As offers the routine's own file";
    window->spinPartX->SetValue(7);
    dialogs.shown.clear();
    Click(window->mnuFileSave);
    EXPECT_TRUE(dialogs.shown.empty()) << "no dialog, no question";
    EXPECT_EQ(FileBytes(own), window->SerialiseRoutine());
    EXPECT_FALSE(window->windowTitle().contains('*'));
}

TEST_F(RoutineFiles, SaveAsMakesTheChosenFileTheOwnOneUnlessItFails)
{
    dialogs.saveAnswers = {folder + "missing/out.raw", folder + "out.raw"};
    Click(window->mnuFileSaveAs);
    ASSERT_EQ(dialogs.Of("exception").size(), 1u);
    EXPECT_TRUE(dialogs.Of("exception")[0].starts_with("Cannot create file " + folder + "missing/out.raw\n"));
    Click(window->mnuFileSaveAs);
    EXPECT_EQ(dialogs.lastFileSpec.fileName, own) << "a failed Save As keeps the own file";
    EXPECT_EQ(FileBytes(folder + "out.raw"), window->SerialiseRoutine());
    window->spinPartX->SetValue(8);
    EXPECT_EQ(window->windowTitle(), "out.raw* — Hoofer Editor V6");
    Click(window->mnuFileSave);
    EXPECT_EQ(FileBytes(folder + "out.raw"), window->SerialiseRoutine()) << "the chosen file became its own";
}

TEST_F(RoutineFiles, ANewRoutineHasNoFileSoSaveAsksWhere)
{
    Click(window->mnuFileNewRoutine);
    EXPECT_EQ(window->windowTitle(), "Hoofer Editor V6");
    dialogs.saveAnswers = {TempPath("new.raw")};
    Click(window->mnuFileSave);
    EXPECT_EQ(dialogs.lastFileSpec.fileName, "");
    EXPECT_EQ(FileBytes(TempPath("new.raw")), EncodeRoutine(NewRoutine()));
}

TEST_F(RoutineFiles, ARefusedLoadKeepsTheRoutineAndItsFile)
{
    WriteBytes(folder + "short.raw", RoutineBytes(2, 2).substr(0, 20));
    WriteBytes(folder + "empty.raw", "");
    for (const std::string &refused : {folder + "gone\xc3\xa9.raw", folder + "short.raw", folder + "empty.raw"})
        LoadFile(refused);
    ASSERT_EQ(dialogs.Of("exception").size(), 3u);
    EXPECT_EQ(dialogs.Of("exception")[0].rfind("Cannot open file " + folder + "gone\xe9.raw\n", 0), 0u)
        << "the UTF-8 name is shown in Latin-1";
    EXPECT_EQ(dialogs.Of("exception")[1].rfind(folder + "short.raw is not a routine file: truncated", 0), 0u);
    EXPECT_EQ(dialogs.Of("exception")[2], folder + "empty.raw is empty: it holds no routine.");
    EXPECT_EQ(window->cbxMoves->Count(), 3);
    EXPECT_EQ(std::pair(window->mnuFileSave->Enabled(), window->mnuFileUploadtoEmpeg->Enabled()), std::pair(true, true));
    Click(window->mnuFileSaveAs);
    EXPECT_EQ(dialogs.lastFileSpec.fileName, own);
}

TEST_F(RoutineFiles, OpenRecentShowsTheFilesOfTheSettingsMissingOnesDisabled)
{
    const std::string ini = TempPath("hooferedit.ini"), kept = TempPath("kept&.raw");
    WriteBytes(kept, RoutineBytes(2, 2));
    window.reset();
    WriteBytes(ini, "[Files]\nRecent1=" + kept + "\nRecent2=" + TempPath("gone.raw") + "\n");
    Reopen(ini);
    const auto &items = window->mnuFileOpenRecentItems;
    EXPECT_TRUE(window->mnuFileOpenRecent->Enabled());
    EXPECT_EQ(items[0]->Caption().toStdString(), "&1 " + TempPath("kept&&.raw"));
    EXPECT_TRUE(items[1]->Visible());
    EXPECT_FALSE(items[1]->Enabled()) << "a missing file is shown disabled";
    EXPECT_FALSE(items[2]->Visible());
    LoadData(RoutineBytes(1, 1));
    window->spinPartX->SetValue(9);
    dialogs.confirmAnswers = {true};
    Click(items[2]);  // the missing file, now third: disabled, so not even the question
    EXPECT_TRUE(dialogs.Of("confirm").empty());
    Click(items[1]);
    EXPECT_EQ(dialogs.Of("confirm"), std::vector<std::string>{"Replace the routine and lose changes?"});
    EXPECT_EQ(window->SerialiseRoutine(), RoutineBytes(2, 2));
    Click(window->mnuFileOpenRecentClear);
    EXPECT_FALSE(window->mnuFileOpenRecent->Enabled());
    EXPECT_FALSE(items[0]->Visible());
}

TEST_F(RoutineFiles, FileDialogsStartInTheFolderLastUsedWrittenDownAtOnce)
{
    const std::string ini = TempPath("hooferedit.ini");
    window.reset();
    WriteBytes(ini, "[Files]\nLastFolder=/\n");
    Reopen(ini);
    Click(window->mnuFileLoad);
    EXPECT_EQ(dialogs.lastFileSpec.initialFolder, "/");
    LoadFile(own);
    QDir().mkpath(dir.filePath("sub"));
    dialogs.saveAnswers = {TempPath("sub/saved.raw")};
    Click(window->mnuFileSaveAs);
    EXPECT_EQ(dialogs.lastFileSpec.initialFolder, dir.path().toStdString()) << "the folder of the file loaded";
    Click(window->mnuFileExportMoveAsGif);
    EXPECT_EQ(dialogs.lastFileSpec.initialFolder, TempPath("sub"));
    EXPECT_EQ(dialogs.lastFileSpec.fileName, "Move0.gif");
    const std::string written = FileBytes(ini);
    EXPECT_NE(written.find("Recent1=" + TempPath("sub/saved.raw") + "\nRecent2=" + own + "\n"), std::string::npos)
        << written;
    EXPECT_NE(written.find("LastFolder=" + TempPath("sub") + "\n"), std::string::npos) << written;
}

TEST_F(RoutineFiles, ExportWritesTheFileOfTheExportCodeOrReportsAsASaveDoes)
{
    const std::string gif = TempPath("move.gif"), reference = TempPath("reference.gif");
    dialogs.saveAnswers = {TempPath("missing/move.gif"), gif};
    Click(window->mnuFileExportMoveAsGif);
    ASSERT_EQ(dialogs.Of("exception").size(), 1u);
    EXPECT_TRUE(dialogs.Of("exception")[0].starts_with("Cannot create file " + TempPath("missing/move.gif") + "\n"));
    Click(window->mnuFileExportMoveAsGif);
    EXPECT_EQ(dialogs.lastFileSpec.filter, "Animated GIF|*.gif");
    ASSERT_EQ(WriteMoveGif(*window->Core.CurrentMove(), reference, 1), "");
    EXPECT_EQ(FileBytes(gif), FileBytes(reference));
}
