// HooferEdit: start the application, show the main window, run until it closes.
#include "app/hoofer_window.h"
#include "settings/settings.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("HooferEdit");
    QApplication::setApplicationDisplayName("HooferEdit");
    hoofer::toolkit::QtPlatform platform;
    const std::string settingsPath =
        hoofer::SettingsPathForExecutable(QCoreApplication::applicationFilePath().toStdString());
    int result = 0;
    {
        hoofer::TfrmHoofer frmHoofer(platform, nullptr, settingsPath);
        frmHoofer.show();
        result = app.exec();
    }
    return result;
}
