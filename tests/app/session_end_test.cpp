// The real editor ended by a real signal in the middle of a question: it
// writes its settings and ends by itself at once. What a signal keeps of
// unsaved changes: window_session_test.cpp.
#include "window_fixture.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>

#include <csignal>

using namespace hoofer::test;

TEST(SessionEnd, ASignalEndsTheEditorInAQuestionWritingItsSettingsAndKeepingTheCopyOffered)
{
    QTemporaryDir dir;
    const auto path = [&dir](const QString &name) { return dir.filePath(name); };
    // A copy of the program in a folder of its own keeps its settings there, not in the build.
    QDir().mkpath(path("bin"));
    ASSERT_TRUE(QFile::copy(HOOFEREDIT_EXE, path("bin/hooferedit")));
    // A copy an editor that crashed left: the next start asks whether to restore it.
    QDir().mkpath(path("data/HooferEdit/recovery"));
    const std::string copy = path("data/HooferEdit/recovery/left.raw").toStdString();
    WriteBytes(copy, RoutineBytes(2, 2));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("XDG_DATA_HOME", path("data"));
    environment.insert("XDG_CONFIG_HOME", path("config"));
    QProcess editor;  // killed when it goes, should the test stop early
    editor.setProcessEnvironment(environment);
    editor.setProcessChannelMode(QProcess::MergedChannels);
    editor.start(path("bin/hooferedit"));
    ASSERT_TRUE(editor.waitForStarted(10000)) << editor.errorString().toStdString();
    // The editor locks the copy it offers, then asks.
    const QString lock = path("data/HooferEdit/recovery/left.lock");
    QElapsedTimer clock;
    clock.start();
    while (!QFile::exists(lock) && clock.elapsed() < 20000 && editor.state() == QProcess::Running)
        editor.waitForFinished(50);
    ASSERT_TRUE(QFile::exists(lock)) << "the copy was not offered: " << editor.readAll().toStdString();
    EXPECT_FALSE(QFile::exists(path("bin/hooferedit.ini"))) << "settings written before the signal";
    ::kill(static_cast<pid_t>(editor.processId()), SIGHUP);
    ASSERT_TRUE(editor.waitForFinished(10000)) << "still running in the question";
    EXPECT_EQ(editor.exitStatus(), QProcess::CrashExit) << "ended by the signal";
    EXPECT_EQ(FileBytes(copy), RoutineBytes(2, 2)) << "the copy is left for the next start";
    EXPECT_TRUE(QFile::exists(path("bin/hooferedit.ini"))) << "settings written beside the program";
    EXPECT_FALSE(QFile::exists(path("config/HooferEdit"))) << "not installed: nothing in the config folder";
}
