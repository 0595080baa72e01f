// HooferEdit: read the command line, start the application, show the main
// window (opening the file named, if any), run until it closes or the session
// ends by a signal.
#include "app/command_line.h"
#include "app/hoofer_window.h"
#include "model/recovery_store.h"
#include "settings/settings.h"
#include "toolkit/signal_notifier.h"
#include "toolkit/text.h"

#include <QApplication>
#include <QStandardPaths>

#include <algorithm>

int main(int argc, char *argv[])
{
    // --help, --version and a usage error without options answer without a
    // display; with options, Qt may own some of them, so the reading that
    // counts is the one over the arguments Qt leaves once it took its own.
    const QStringList arguments = hoofer::ArgumentsOf(argc, argv);
    const bool hasOptions = std::any_of(arguments.begin() + 1, arguments.end(),
                                        [](const QString &a) { return a.startsWith('-'); });
    if (const auto early = hoofer::ParseCommandLine(arguments); early.exitNow && (early.exitCode == 0 || !hasOptions))
        return hoofer::PrintCommandLineAnswer(early);

    QApplication app(argc, argv);
    QApplication::setApplicationName("HooferEdit");
    const hoofer::CommandLineRequest request = hoofer::ParseCommandLine(QCoreApplication::arguments());
    if (request.exitNow)
        return hoofer::PrintCommandLineAnswer(request);
    hoofer::toolkit::SetApplicationTitle("HooferEdit");
    hoofer::toolkit::QtPlatform platform;
    // Beside the executable while it is not installed and its folder is
    // writable, else the user's own file.
    const std::string executable = hoofer::toolkit::PathFromQt(QCoreApplication::applicationFilePath());
    const hoofer::SettingsLocation settings = hoofer::ChooseSettingsLocation(
        hoofer::SettingsPathForExecutable(executable),
        hoofer::toolkit::PathFromQt(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)),
        hoofer::FolderIsWritable, hoofer::ProgramIsInstalled(executable));
    int result = 0;
    // A logout, a closed terminal or Ctrl+C: the unsaved changes and the
    // settings are written, then the process ends without a question, from
    // whatever question, playback or transfer it was in (a normal close from
    // there would delete the recovery copy, or wait for the user).
    hoofer::toolkit::SignalNotifier endOfSession({SIGTERM, SIGHUP, SIGINT});
    {
        hoofer::TfrmHoofer frmHoofer(platform, nullptr, settings, nullptr, hoofer::RecoveryStore::DefaultFolder());
        endOfSession.OnSignal = [&frmHoofer](int signalNumber) {
            frmHoofer.KeepSessionForSignal();
            hoofer::toolkit::SignalNotifier::EndBySignal(signalNumber);
        };
        if (request.file)
            frmHoofer.SetStartupFile(*request.file);
        frmHoofer.show();
        result = app.exec();
        // Past the loop a signal waits in the pipe: the normal end goes on.
        endOfSession.OnSignal = nullptr;
    }
    return result;
}
