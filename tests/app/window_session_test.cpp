// Unsaved changes, the question before a routine is replaced, New Routine,
// opening from the command line and by dropping, and crash recovery.
#include "window_fixture.h"

#include "toolkit/combo_box.h"
#include "toolkit/menu.h"
#include "toolkit/spin_edit.h"

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QUrl>
#include <QWindow>

using namespace hoofer;
using namespace hoofer::test;

namespace {

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
    std::string Title() const { return window->windowHandle()->title().toStdString(); }
    void Drop(const QList<QUrl> &urls)
    {
        QMimeData data;
        data.setUrls(urls);
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        window->dropEvent(&drop);
    }
    void Save(const std::string &path)
    {
        dialogs.saveAnswers.push_back(path);
        Click(window->mnuFileSave);
    }
};

// Plain commands mark the routine through the core (tests/edit); these are the
// changes the window itself decides on: a question, a spin edit, a selection.
TEST_F(Session, EveryChangeMarksTheRoutineModifiedAndTheTitle)
{
    const struct {
        const char *name;
        std::function<void()> act;
        bool modified;
    } rows[] = {
        {"X box", [&] { window->spinPartX->SetValue(window->spinPartX->Value() + 1); }, true},
        {"interpolation", [&] { window->spinInterpolate->SetValue(9); }, true},
        {"displacement", [&] { window->spinDisplacement->SetValue(9); }, true},
        {"cut answered Yes", [&] { dialogs.confirmAnswers = {true}; Click(window->mnuFrameCutFrame); }, true},
        {"cut answered No", [&] { dialogs.confirmAnswers = {false}; Click(window->mnuFrameCutFrame); }, false},
        {"paste answered Yes", [&] {
             Click(window->mnuFrameCopy);
             window->spinFrameNumber->SetValue(2);
             dialogs.confirmAnswers = {true};
             Click(window->mnuFramePaste);
         }, true},
        {"paste answered No", [&] {
             Click(window->mnuFrameCopy);
             dialogs.confirmAnswers = {false};
             Click(window->mnuFramePaste);
         }, false},
        {"rename answered", [&] { dialogs.entryAnswers = {"Twirl"}; Click(window->mnuMoveRenameMove); }, true},
        {"rename cancelled", [&] { Click(window->mnuMoveRenameMove); }, false},
        {"selection and options", [&] {
             window->cbxMoves->SetItemIndex(2);
             window->cbxMovesSelect();
             window->spinFrameNumber->SetValue(3);
             Click(window->mnuOptionsDragWithoutShift);
         }, false},
    };
    for (const auto &row : rows) {
        LoadData(RoutineBytes(4, 3));
        ASSERT_FALSE(window->Modified) << row.name;
        row.act();
        EXPECT_EQ(window->Modified, row.modified) << row.name;
        EXPECT_EQ(Title(), row.modified ? "Hoofer Editor V6*" : "Hoofer Editor V6") << row.name;
        window->Core.MarkSaved();
    }
    window->spinPartX->SetValue(1);
    Save(TempPath("saved.raw"));
    EXPECT_EQ(Title(), "Hoofer Editor V6") << "Save clears the mark";
}

TEST_F(Session, ReplacingCommandsAskOnlyWhileModifiedAndNoChangesNothing)
{
    const std::string other = TempPath("other.raw");
    WriteBytes(other, RoutineBytes(2, 1));
    window->NetworkName = "127.0.0.1";
    const struct {
        const char *name;
        std::function<void()> act;
        bool askedWhenUnmodified;  // false: not tried unmodified (it would connect)
    } rows[] = {
        {"load", [&] { dialogs.openAnswers.push_back(other); Click(window->mnuFileLoad); }, true},
        {"new routine", [&] { Click(window->mnuFileNewRoutine); }, true},
        {"dropped file", [&] { Drop({QUrl::fromLocalFile(QString::fromStdString(other))}); }, true},
        {"download", [&] { Click(window->mnuFileDownloadFromEmpegBreakDance); }, false},
    };
    for (const auto &row : rows) {
        LoadData(RoutineBytes(4, 3));
        window->spinPartX->SetValue(200);
        const std::string before = window->SerialiseRoutine();
        dialogs.shown.clear();
        dialogs.confirmAnswers = {false};
        row.act();
        EXPECT_EQ(dialogs.Of("confirm"), std::vector<std::string>{"Replace the routine and lose changes?"}) << row.name;
        EXPECT_EQ(window->SerialiseRoutine(), before) << row.name;
        EXPECT_TRUE(window->Modified) << row.name;
        EXPECT_TRUE(window->StatusBar->text().isEmpty()) << row.name << ": nothing sent or received";
        if (!row.askedWhenUnmodified)
            continue;
        window->Core.MarkSaved();
        dialogs.shown.clear();
        row.act();
        EXPECT_TRUE(dialogs.Of("confirm").empty()) << row.name;
        EXPECT_NE(window->SerialiseRoutine(), before) << row.name << " replaces the routine";
        EXPECT_FALSE(window->Modified) << row.name;
    }
}

TEST_F(Session, CommandLineAndDroppedFilesLoadAsLoadDoes)
{
    const std::string good = TempPath("good.raw"), bad = TempPath("bad.raw");
    WriteBytes(good, RoutineBytes(3, 2));
    WriteBytes(bad, RoutineBytes(3, 2).substr(0, 30));
    Restart(good);
    EXPECT_EQ(window->SerialiseRoutine(), RoutineBytes(3, 2));
    EXPECT_EQ(window->cbxMoves->Text(), "0> Move0");
    Restart(bad);
    ASSERT_EQ(dialogs.Of("exception").size(), 1u);
    EXPECT_NE(dialogs.Of("exception")[0].find("bad.raw is "), std::string::npos);
    EXPECT_EQ(window->cbxMoves->Count(), 0);

    Drop({QUrl::fromLocalFile(QString::fromStdString(good))});
    EXPECT_EQ(window->SerialiseRoutine(), RoutineBytes(3, 2));
    Click(window->mnuFileNewRoutine);
    const std::string routine = window->SerialiseRoutine();
    for (const QList<QUrl> &refused : {QList<QUrl>{QUrl::fromLocalFile(QString::fromStdString(good)),
                                                   QUrl::fromLocalFile(QString::fromStdString(bad))},
                                       QList<QUrl>{QUrl("http://127.0.0.1/x.raw")}, QList<QUrl>{}})
        Drop(refused);
    EXPECT_EQ(window->SerialiseRoutine(), routine) << "only one local file is taken";
    EXPECT_EQ(dialogs.shown.size(), 1u) << "refused without a message";
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
    Save(TempPath("saved.raw"));
    EXPECT_TRUE(Copies().isEmpty()) << "removed by Save";

    window->spinPartX->SetValue(203);
    platform.Advance(30000);
    Restart(); // ends without a close, as a crash does
    EXPECT_EQ(dialogs.Of("confirm").back(), "Restore the routine that was not saved when HooferEdit last ended?");
    EXPECT_TRUE(window->Moves.empty()) << "declined by the empty script";
    EXPECT_TRUE(Copies().isEmpty()) << "No deletes the copy";

    LoadFile(source);
    window->spinPartX->SetValue(204);
    platform.Advance(30000);
    const std::string second = window->SerialiseRoutine();
    dialogs.confirmAnswers = {true};
    Restart();
    EXPECT_EQ(window->SerialiseRoutine(), second);
    EXPECT_TRUE(window->Modified);
    EXPECT_EQ(Title(), "Hoofer Editor V6*");
    Save(TempPath("restored.raw"));
    EXPECT_EQ(dialogs.lastSaveSpec.fileName, source) << "Save offers the file it came from";
    EXPECT_TRUE(Copies().isEmpty());
}

TEST_F(Session, UnreadableOrphanIsReportedAndLeftAndAFailedWriteIsToldOnce)
{
    QDir().mkpath(QString::fromStdString(Folder()));
    WriteBytes(Folder() + "/stray.raw", "not a routine");
    Restart();
    EXPECT_FALSE(window->StatusBar->text().isEmpty());
    EXPECT_TRUE(dialogs.Of("confirm").empty());
    EXPECT_EQ(Copies().size(), 1);

    LoadData(RoutineBytes(2, 1));
    QFile::remove(QString::fromStdString(Folder() + "/stray.raw"));
    QDir(QString::fromStdString(Folder())).removeRecursively();
    WriteBytes(Folder(), "a file where the folder should be");
    window->StatusBar->clear();
    for (int i = 0; i < 2; ++i) {
        window->spinPartX->SetValue(10 + i);
        platform.Advance(30000);
        EXPECT_EQ(window->StatusBar->text().isEmpty(), i == 1) << "write " << i;
        window->StatusBar->clear();
    }
    EXPECT_TRUE(dialogs.Of("error").empty() && dialogs.Of("exception").empty());
}

} // namespace
