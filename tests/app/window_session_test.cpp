// The window's shell and session: its title and status line, closing, the
// settings file, unsaved changes, the question before a routine is replaced,
// opening from the command line and by dropping, and crash recovery.
#include "window_fixture.h"

#include "app/scope_exit.h"

#include <QDateTime>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>
#include <QWindow>

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

using namespace hoofer;
using namespace hoofer::test;

class Session : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        Restart();
    }
    /// A new window over the same folders; the old one ends without a
    /// close, as a crash would, leaving its recovery copy behind.
    void Restart(const std::string &startupFile = "") { Reopen(TempPath("hooferedit.ini"), Folder(), startupFile); }
    std::string Folder() const { return TempPath("recovery"); }
    QStringList Copies() const { return QDir(QString::fromStdString(Folder())).entryList({"*.raw"}); }
    void Drop(const QList<QUrl> &urls)
    {
        QMimeData data;
        data.setUrls(urls);
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        window->dropEvent(&drop);
    }
};

// Which commands change the routine is the core's rule (tests/edit), the mark
// of a change in the title the file tests'; a selection or an option made in
// the window's own controls changes nothing.
TEST_F(Session, ASelectionOrAnOptionLeavesTheTitleUnmarked)
{
    LoadData(RoutineBytes(4, 3));
    window->cbxMoves->SetItemIndex(2);
    window->cbxMovesSelect();
    window->spinFrameNumber->SetValue(3);
    Click(window->mnuOptionsDragWithoutShift);
    EXPECT_EQ(window->windowHandle()->title().toStdString(), window->Core.File().Caption("Hoofer Editor V6", false));
}

TEST_F(Session, ReplacingAModifiedRoutineAsksAndNoKeepsIt)
{
    const std::string other = TempPath("other.raw");
    WriteBytes(other, RoutineBytes(2, 1));
    window->NetworkName = "127.0.0.1";
    const struct {
        const char *name;
        std::function<void()> act;
    } rows[] = {
        {"load", [&] { dialogs.openAnswers.push_back(other); Click(window->mnuFileLoad); }},
        {"new routine", [&] { Click(window->mnuFileNewRoutine); }},
        {"dropped file", [&] { Drop({QUrl::fromLocalFile(QString::fromStdString(other))}); }},
        {"download", [&] { Click(window->mnuFileDownloadFromEmpegBreakDance); }},  // last: it is not tried unmodified
    };
    for (const auto &row : rows) {
        window->Core.MarkSaved();
        LoadData(RoutineBytes(4, 3));
        window->spinPartX->SetValue(200);
        dialogs.shown.clear();
        dialogs.confirmAnswers = {false};
        const std::string before = window->SerialiseRoutine();
        row.act();
        EXPECT_EQ(dialogs.Of("confirm"), std::vector<std::string>{"Replace the routine and lose changes?"}) << row.name;
        EXPECT_EQ(window->SerialiseRoutine(), before) << row.name;
        EXPECT_TRUE(window->Core.Modified()) << row.name;
        EXPECT_TRUE(window->StatusBar->text().isEmpty()) << row.name << ": nothing sent or received";
    }
}

TEST_F(Session, CommandLineAndDroppedFilesLoadAsLoadDoes)
{
    const std::string good = TempPath("good.raw"), bad = TempPath("bad.raw");
    WriteBytes(good, RoutineBytes(3, 2));
    WriteBytes(bad, RoutineBytes(3, 2).substr(0, 30));
    Restart(good);
    EXPECT_EQ(window->SerialiseRoutine(), RoutineBytes(3, 2));
    Restart(bad);  // refused with Load's message (file_commands_test.cpp)
    EXPECT_EQ(dialogs.Of("exception").size(), 1u);
    EXPECT_EQ(window->cbxMoves->Count(), 0);
    // A dropped file loads as Load does (see ReplacingAModifiedRoutine…); only one local file is taken.
    for (const QList<QUrl> &refused : {QList<QUrl>{QUrl::fromLocalFile(QString::fromStdString(good)),
                                                   QUrl::fromLocalFile(QString::fromStdString(good))},
                                       QList<QUrl>{QUrl("http://127.0.0.1/x.raw")}, QList<QUrl>{}})
        Drop(refused);
    EXPECT_EQ(window->cbxMoves->Count(), 0);
    EXPECT_EQ(dialogs.shown.size(), 1u) << "refused without a message";
    Drop({QUrl::fromLocalFile(QString::fromStdString(good))});
    EXPECT_EQ(window->SerialiseRoutine(), RoutineBytes(3, 2));
}

TEST_F(Session, RecoveryCopyFollowsTheChangesAndIsOfferedAfterACrash)
{
    const std::string source = TempPath("source.raw");
    WriteBytes(source, RoutineBytes(3, 2));
    LoadFile(source);
    window->spinPartX->SetValue(201);
    platform.Advance(29000);
    EXPECT_TRUE(Copies().isEmpty()) << "not before 30 seconds";
    window->spinPartX->SetValue(202);
    platform.Advance(1000);
    ASSERT_EQ(Copies().size(), 1) << "at most 30 seconds after the first change";
    dialogs.saveAnswers.push_back(TempPath("saved.raw"));
    Click(window->mnuFileSaveAs);
    EXPECT_TRUE(Copies().isEmpty()) << "removed by Save";

    window->spinPartX->SetValue(203);
    platform.Advance(30000);
    const QString copiedAt = QFileInfo(QDir(QString::fromStdString(Folder())).filePath(Copies().front())).lastModified().toString("HH:mm 'on' yyyy-MM-dd");
    Restart(); // ends without a close, as a crash does
    EXPECT_EQ(QString::fromStdString(dialogs.Of("confirm").back()),
              "Restore the routine \"saved.raw\", copied at " + copiedAt + ", that was not saved when HooferEdit last ended?");
    EXPECT_TRUE(window->Core.Moves().empty()) << "declined by the empty script";
    EXPECT_TRUE(Copies().isEmpty()) << "No deletes the copy";

    LoadFile(source);
    window->Core.SetReference("Choose Reference", MoveReference{"/nowhere/dancer.mp4"});
    window->spinPartX->SetValue(204);
    platform.Advance(30000);
    const std::string second = window->SerialiseRoutine();
    dialogs.confirmAnswers = {true};
    Restart();
    EXPECT_EQ(window->SerialiseRoutine(), second);
    EXPECT_EQ(window->Core.CurrentMove()->Reference->file, "/nowhere/dancer.mp4") << "with its references";
    dialogs.saveAnswers.push_back(TempPath("restored.raw"));
    Click(window->mnuFileSave);
    EXPECT_EQ(dialogs.lastFileSpec.fileName, source) << "not its own file: Save asks, offering the file it came from";
    EXPECT_TRUE(Copies().isEmpty());
}

// The signal itself and the end of the process in session_end_test.cpp; a
// copy restored in RecoveryCopyFollows….
TEST_F(Session, EndBySignalWritesTheCopyAndTheSettingsAtOnce)
{
    LoadData(RoutineBytes(2, 1));
    window->KeepSessionForSignal();
    EXPECT_TRUE(Copies().isEmpty()) << "nothing unsaved";
    EXPECT_FALSE(FileBytes(TempPath("hooferedit.ini")).empty());
    window->spinPartX->SetValue(77);
    window->NetworkName = "127.0.0.1:2121";
    window->KeepSessionForSignal();
    ASSERT_EQ(Copies().size(), 1) << "at once, not 30 seconds later";
    EXPECT_NE(FileBytes(TempPath("hooferedit.ini")).find("127.0.0.1:2121"), std::string::npos);
}

TEST_F(Session, AnUnreadableOrphanIsReportedAndLeft)
{
    QDir().mkpath(QString::fromStdString(Folder()));
    WriteBytes(Folder() + "/stray.raw", "not a routine");
    Restart();
    EXPECT_FALSE(window->StatusBar->text().isEmpty());
    EXPECT_TRUE(dialogs.Of("confirm").empty());
    EXPECT_EQ(Copies().size(), 1);
}

TEST_F(Session, ACopyThatCannotBeWrittenIsToldOnce)
{
    LoadData(RoutineBytes(2, 1));
    QDir(QString::fromStdString(Folder())).removeRecursively();
    WriteBytes(Folder(), "a file where the folder should be");
    window->StatusBar->clear();
    for (int i = 0; i < 2; ++i) {
        window->spinPartX->SetValue(10 + i);
        platform.Advance(30000);
        EXPECT_EQ(window->StatusBar->text().isEmpty(), i == 1) << "write " << i;
        window->StatusBar->clear();
    }
    EXPECT_EQ(dialogs.Of("error").size() + dialogs.Of("exception").size(), 0u);
}

class WindowShell : public WindowTest {};

TEST_F(WindowShell, TheStatusLineClearsTenSecondsAfterTheLatestMessage)
{
    window->ShowStatus("Hello");
    platform.Advance(6000);
    window->ShowStatus("Again");
    platform.Advance(6000);
    EXPECT_EQ(window->StatusBar->text(), "Again");
    platform.Advance(4001);
    EXPECT_EQ(window->StatusBar->text(), "");
}

TEST_F(WindowShell, ClosingAsksOnlyAfterAnEdit)
{
    LoadData(FileBytes(HOOFER_SOURCE_DIR "/examples/newmove.raw"));
    window->close();
    EXPECT_FALSE(window->isVisible());
    window->show();
    window->spinPartX->SetValue(window->spinPartX->Value() + 1);
    dialogs.confirmAnswers = {false, true};
    Click(window->mnuFileQuit);  // as the close button
    EXPECT_TRUE(window->isVisible());
    window->close();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(dialogs.Of("confirm"), (std::vector<std::string>{"Close HooferEdit and lose changes?",
                                                               "Close HooferEdit and lose changes?"}));
}

TEST_F(WindowShell, SettingsAreReadAtShowAndWrittenBackWhenTheWindowGoes)
{
    // Shared defaults beside a read-only program; the user's own file goes into a folder not made yet.
    const std::string beside = TempPath("hooferedit.ini"), own = TempPath("config/HooferEdit/hooferedit.ini");
    const std::string shared = "[Interface]\r\nSnapToGrid=2\r\nGridSize=0x0C\r\n[View]\r\nPlaybackSpeed=2\r\nZoom=3\r\n[Editing]\r\nKeepBoneLengths=1\r\n";
    window.reset();
    WriteBytes(beside, shared);
    Reopen(SettingsLocation(beside, own));
    EXPECT_TRUE(window->mnuViewPlaybackSpeedHalf->Checked());
    EXPECT_EQ(std::pair(window->mnuViewZoom3->Checked(), window->Image->width()), std::pair(true, 768));
    Click(window->mnuViewZoom2);
    Click(window->mnuOptionsKeepBoneLengths);
    window->NetworkName = "127.0.0.1:2121";
    window->Options.PlayContinuously = true;
    Click(window->mnuViewOnionSkin);
    Click(window->mnuViewPlaybackSpeedQuarter);
    EXPECT_NE(FileBytes(own).find("PlaybackSpeed=4"), std::string::npos) << "written as it changes";
    window.reset();
    EXPECT_EQ(FileBytes(beside), shared);
    WriteBytes(own, FileBytes(own) + "[Mine]\nkeep=me\n");
    Reopen(own);
    EXPECT_EQ(window->NetworkName, "127.0.0.1:2121");
    EXPECT_EQ(std::pair(window->mnuOptionsPlayContinuously->Checked(), window->mnuViewOnionSkin->Checked()), std::pair(true, true));
    EXPECT_EQ(std::pair(window->mnuOptionGridSnapToGrid->Checked(), window->mnuOptionGridCurrentSize->Caption()),
              std::pair(true, QString("12 Pixels")));
    EXPECT_EQ(std::pair(window->mnuViewZoom2->Checked(), window->mnuOptionsKeepBoneLengths->Checked()), std::pair(true, false));
    EXPECT_EQ(window->Options.PlaybackSpeed, 4);
    window.reset();
    EXPECT_NE(FileBytes(own).find("[Mine]\nkeep=me\n"), std::string::npos) << "the rest of the file is kept";
}

TEST_F(WindowShell, SettingsFileThatCannotBeReadIsNotReplacedAtExit)
{
    // Root reads files without read permission: this thread gives that power up until the test ends.
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct powers[2], fewer[2];
    ASSERT_EQ(syscall(SYS_capget, &header, powers), 0);
    std::copy(powers, powers + 2, fewer);
    fewer[0].effective &= ~(1u << CAP_DAC_OVERRIDE | 1u << CAP_DAC_READ_SEARCH);
    ASSERT_EQ(syscall(SYS_capset, &header, fewer), 0);
    const ScopeExit restore([&] { syscall(SYS_capset, &header, powers); });
    const std::string path = TempPath("hooferedit.ini");
    window.reset();
    WriteBytes(path, "[Mine]\nkeep=me\n");
    QFile::setPermissions(QString::fromStdString(path), QFile::WriteOwner);
    Reopen(path);
    window->NetworkName = "127.0.0.1:2121";
    window.reset();
    QFile::setPermissions(QString::fromStdString(path), QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_EQ(FileBytes(path), "[Mine]\nkeep=me\n");
}
