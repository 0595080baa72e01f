// The real editor on a real X server (Xvfb, keys typed by xdotool) ended by a
// real signal: its unsaved changes are kept and it ends by itself at once.
#include "window_fixture.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <csignal>

using namespace hoofer::test;

namespace {

class SessionEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        // A copy of the program in a folder of its own keeps its settings there, not in the build.
        QDir().mkpath(Path("bin"));
        ASSERT_TRUE(QFile::copy(HOOFEREDIT_EXE, Path("bin/hooferedit")));
        // -noreset: by default the server starts over when its last client
        // leaves, and an editor started while it does finds no display.
        xvfb.start("Xvfb", {"-displayfd", "1", "-nolisten", "tcp", "-noreset", "-screen", "0", "640x480x24"});
        ASSERT_TRUE(xvfb.waitForStarted(10000)) << "Xvfb: " << xvfb.errorString().toStdString();
        QElapsedTimer clock;
        clock.start();
        while (!xvfb.canReadLine() && clock.elapsed() < 20000)
            xvfb.waitForReadyRead(1000);
        const QString display = QString::fromLatin1(xvfb.readLine()).trimmed();
        ASSERT_FALSE(display.isEmpty()) << "Xvfb named no display";
        environment = QProcessEnvironment::systemEnvironment();
        environment.insert("DISPLAY", ":" + display);
        environment.insert("QT_QPA_PLATFORM", "xcb");
        environment.insert("XDG_DATA_HOME", Path("data"));
        environment.insert("XDG_CONFIG_HOME", Path("config"));
        // The X keyboard library hands strndup a buffer without an ending zero, which the
        // sanitizer's strict string checks take for an overflow of ours; the last setting wins.
        if (environment.contains("ASAN_OPTIONS"))
            environment.insert("ASAN_OPTIONS", environment.value("ASAN_OPTIONS") + ":strict_string_checks=0");
        editor.setProcessEnvironment(environment);
    }
    void TearDown() override
    {
        for (QProcess *process : {&editor, &xvfb})
            if (process->state() != QProcess::NotRunning)
                process->kill(), process->waitForFinished(10000);
    }
    QString Path(const QString &name) const { return dir.filePath(name); }
    /// Runs xdotool on the test's display to its end (10 s at most) and gives its output.
    QString Xdotool(const QStringList &arguments)
    {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start("xdotool", arguments);
        if (!process.waitForFinished(10000))
            process.kill(), process.waitForFinished();
        return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
    }
    QStringList Copies() const { return QDir(Path("data/HooferEdit/recovery")).entryList({"*.raw"}); }
    void Start(const QStringList &arguments)
    {
        editor.setProcessChannelMode(QProcess::MergedChannels);
        editor.start(Path("bin/hooferedit"), arguments);
        ASSERT_TRUE(editor.waitForStarted(10000)) << editor.errorString().toStdString();
    }
    /// The first window whose title holds `title`, waited for 20 s at most.
    QString WindowNamed(const QString &title)
    {
        QElapsedTimer clock;
        clock.start();
        QString id;
        while (id.isEmpty() && clock.elapsed() < 20000 && editor.state() == QProcess::Running) {
            id = Xdotool({"search", "--name", title}).section('\n', 0, 0);
            if (id.isEmpty())
                editor.waitForFinished(100); // notices an editor that has ended
        }
        return id;
    }
    /// Sends the signal and waits 10 s at most for the editor to end by itself.
    bool EndsBy(int signalNumber)
    {
        ::kill(static_cast<pid_t>(editor.processId()), signalNumber);
        return editor.waitForFinished(10000);
    }

    QTemporaryDir dir;
    QProcess xvfb, editor;
    QProcessEnvironment environment;
};

} // namespace

TEST_F(SessionEnd, SignalKeepsTheUnsavedChangesAndEndsTheEditorEvenInAQuestion)
{
    const std::string original = RoutineBytes(2, 2);
    WriteBytes(Path("routine.raw").toStdString(), original);
    Start({Path("routine.raw")});
    const QString window = WindowNamed("Hoofer Editor V6");
    ASSERT_FALSE(window.isEmpty()) << "no editor window: " << editor.readAll().toStdString();
    // Ctrl+Right nudges the Shoulders once the routine is in; typed until the title says so.
    QElapsedTimer clock;
    clock.start();
    while (!Xdotool({"getwindowname", window}).contains('*') && clock.elapsed() < 20000) {
        Xdotool({"windowfocus", "--sync", window});
        Xdotool({"key", "ctrl+Right"});
        QThread::msleep(200);
    }
    ASSERT_TRUE(Xdotool({"getwindowname", window}).contains('*')) << "no unsaved change";
    EXPECT_TRUE(Copies().isEmpty()) << "long before the copy's 30 seconds";
    ASSERT_TRUE(EndsBy(SIGTERM));
    EXPECT_EQ(editor.exitStatus(), QProcess::CrashExit) << "ended by the signal";
    ASSERT_EQ(Copies().size(), 1);
    const QString copy = Path("data/HooferEdit/recovery/" + Copies()[0]);
    const std::string kept = FileBytes(copy.toStdString());
    EXPECT_EQ(kept.size(), original.size());
    EXPECT_NE(kept, original) << "the copy holds the change";
    EXPECT_TRUE(QFile::exists(Path("bin/hooferedit.ini"))) << "settings written beside the program";
    EXPECT_FALSE(QFile::exists(Path("config/HooferEdit"))) << "not installed: nothing in the config folder";

    // Next start: the question about that copy, ended by a closed terminal, keeps the copy.
    Start({});
    ASSERT_FALSE(WindowNamed("Confirm").isEmpty()) << "no question about the copy: " << editor.readAll().toStdString();
    ASSERT_TRUE(EndsBy(SIGHUP));
    EXPECT_EQ(FileBytes(copy.toStdString()), kept);
}
