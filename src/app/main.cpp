// HooferEdit: start the application, show the main window, run until it closes.
#include "app/hoofer_window.h"
#include "settings/settings.h"
#include "toolkit/text.h"

#include <QApplication>
#include <QStandardPaths>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("HooferEdit");
    hoofer::toolkit::SetApplicationTitle("HooferEdit");
    hoofer::toolkit::QtPlatform platform;
    // Beside the executable while its folder is writable, else the user's own file.
    const hoofer::SettingsLocation settings = hoofer::ChooseSettingsLocation(
        hoofer::SettingsPathForExecutable(hoofer::toolkit::PathFromQt(QCoreApplication::applicationFilePath())),
        hoofer::toolkit::PathFromQt(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)),
        hoofer::FolderIsWritable);
    int result = 0;
    {
        hoofer::TfrmHoofer frmHoofer(platform, nullptr, settings);
        frmHoofer.show();
        result = app.exec();
    }
    return result;
}
