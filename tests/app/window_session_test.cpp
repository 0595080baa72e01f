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
public:
    // The table rows below act through these.
    using WindowTest::Click;
    using WindowTest::dialogs;
    using WindowTest::window;

    void SetUp() override
    {
        WindowTest::SetUp();
        Restart();
    }
    /// A new window over the same folders; the old one ends without a
    /// close, as a crash would, leaving its recovery copy behind.
    void Restart(const std::string &startupFile = "")
    {
        window.reset();
        window = std::make_unique<TfrmHoofer>(platform, &dialogs, TempPath("hooferedit.ini"), nullptr,
                                              Folder());
        window->SetStartupFile(startupFile);
        window->show();
        QApplication::processEvents();
    }
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

TEST_F(Session, EveryChangeMarksTheRoutineModifiedAndTheTitle)
{
    struct Row {
        const char *name;
        std::function<void(Session &, TfrmHoofer &)> act;
        bool modified;
    };
    const Row rows[] = {
        {"X box", [](Session &, TfrmHoofer &w) { w.spinPartX->SetValue(w.spinPartX->Value() + 1); }, true},
        {"interpolation", [](Session &, TfrmHoofer &w) { w.spinInterpolate->SetValue(9); }, true},
        {"displacement", [](Session &, TfrmHoofer &w) { w.spinDisplacement->SetValue(9); }, true},
        {"add frame", [](Session &s, TfrmHoofer &w) { s.Click(w.mnuFrameAddFrame); }, true},
        {"insert frame", [](Session &s, TfrmHoofer &w) { s.Click(w.mnuFrameInsertFrame); }, true},
        {"delete frame", [](Session &s, TfrmHoofer &w) { s.dialogs.confirmAnswers = {true}; s.Click(w.mnuFrameDeleteFrame); }, true},
        {"cut answered Yes", [](Session &s, TfrmHoofer &w) { s.dialogs.confirmAnswers = {true}; s.Click(w.mnuFrameCutFrame); }, true},
        {"cut answered No", [](Session &s, TfrmHoofer &w) { s.dialogs.confirmAnswers = {false}; s.Click(w.mnuFrameCutFrame); }, false},
        {"paste answered Yes", [](Session &s, TfrmHoofer &w) {
             s.Click(w.mnuFrameCopy);
             w.spinFrameNumber->SetValue(2);
             s.dialogs.confirmAnswers = {true};
             s.Click(w.mnuFramePaste);
         }, true},
        {"paste answered No", [](Session &s, TfrmHoofer &w) { s.Click(w.mnuFrameCopy); s.dialogs.confirmAnswers = {false}; s.Click(w.mnuFramePaste); }, false},
        {"undo of a change", [](Session &s, TfrmHoofer &w) {
             w.cbxBodyPart->SetItemIndex(2);
             w.cbxBodyPartChange();
             w.spinPartX->SetValue(w.spinPartX->Value() + 1);
             w.Core.MarkSaved();
             s.Click(w.mnuFrameUndoFrame);
         }, true},
        {"add move", [](Session &s, TfrmHoofer &w) { s.Click(w.mnuMoveAddMove); }, true},
        {"rename answered", [](Session &s, TfrmHoofer &w) { s.dialogs.AnswerEntry("Twirl"); s.Click(w.mnuMoveRenameMove); }, true},
        {"rename cancelled", [](Session &s, TfrmHoofer &w) { s.dialogs.CancelEntry(); s.Click(w.mnuMoveRenameMove); }, false},
        {"delete move", [](Session &s, TfrmHoofer &w) { s.Click(w.mnuMoveDeleteMove); }, true},
        {"selection and options", [](Session &s, TfrmHoofer &w) {
             w.cbxMoves->SetItemIndex(2);
             w.cbxMovesSelect();
             w.spinFrameNumber->SetValue(3);
             s.Click(w.mnuOptionsDragWithoutShift);
         }, false},
    };
    for (const Row &row : rows) {
        LoadData(RoutineBytes(4, 3));
        ASSERT_FALSE(window->Modified) << row.name;
        row.act(*this, *window);
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
    struct Row {
        const char *name;
        std::function<void(Session &)> act;
        bool askedWhenUnmodified; // false: not tried unmodified (it would connect)
    };
    const Row rows[] = {
        {"load", [&](Session &s) { s.dialogs.openAnswers.push_back(other); s.Click(s.window->mnuFileLoad); }, true},
        {"new routine", [](Session &s) { s.Click(s.window->mnuFileNewRoutine); }, true},
        {"dropped file", [&](Session &s) { s.Drop({QUrl::fromLocalFile(QString::fromStdString(other))}); }, true},
        {"download", [](Session &s) { s.Click(s.window->mnuFileDownloadFromEmpegBreakDance); }, false},
    };
    for (const Row &row : rows) {
        LoadData(RoutineBytes(4, 3));
        window->spinPartX->SetValue(200);
        const std::string before = window->SerialiseRoutine();
        dialogs.shown.clear();
        dialogs.confirmAnswers = {false};
        row.act(*this);
        EXPECT_EQ(dialogs.Of("confirm"), std::vector<std::string>{"Replace the routine and lose changes?"}) << row.name;
        EXPECT_EQ(window->SerialiseRoutine(), before) << row.name;
        EXPECT_TRUE(window->Modified) << row.name;
        EXPECT_TRUE(window->StatusBar->text().isEmpty()) << row.name << ": nothing sent or received";
        if (!row.askedWhenUnmodified)
            continue;
        window->Core.MarkSaved();
        dialogs.shown.clear();
        row.act(*this);
        EXPECT_TRUE(dialogs.Of("confirm").empty()) << row.name;
        EXPECT_NE(window->SerialiseRoutine(), before) << row.name << " replaces the routine";
        EXPECT_FALSE(window->Modified) << row.name;
    }
}

TEST_F(Session, NewRoutineIsSelectedLikeALoadAndSavesAsTheStandingMove)
{
    LoadData(RoutineBytes(4, 3));
    Click(window->mnuFileNewRoutine);
    EXPECT_EQ(window->cbxMoves->Count(), 1);
    EXPECT_EQ(window->cbxMoves->Text(), "0> NewMove");
    EXPECT_EQ(window->spinFrameNumber->Value(), 1);
    EXPECT_EQ(window->cbxBodyPart->Text(), "Shoulders");
    EXPECT_TRUE(window->mnuFileUploadtoEmpeg->Enabled());
    Save(TempPath("new.raw"));
    EXPECT_EQ(dialogs.lastSaveSpec.fileName, "") << "a new routine has no file to offer";
    std::string expected = TestData("newmove.raw");
    expected.back() = '\0';
    EXPECT_EQ(FileBytes(TempPath("new.raw")), expected);
    EXPECT_EQ(expected.size(), 42u);
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
