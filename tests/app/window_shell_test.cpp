#include "window_fixture.h"

#include "toolkit/combo_box.h"
#include "toolkit/menu.h"
#include "toolkit/paint_box.h"
#include "toolkit/spin_edit.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QWindow>

#include <unistd.h>

using namespace hoofer;
using namespace hoofer::test;

class WindowShell : public WindowTest {};

TEST_F(WindowShell, StartsEmptyWithOnlyTheCommandsThatCanAct)
{
    EXPECT_EQ(window->windowTitle(), "Hoofer Editor V6[*]");
    // What the window system is given: no application name appended.
    ASSERT_NE(window->windowHandle(), nullptr);
    EXPECT_EQ(window->windowHandle()->title(), "Hoofer Editor V6");
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName());
    EXPECT_EQ(toolkit::ApplicationTitle(), "Hoofer Editor V6");  // the exception box's title
    EXPECT_EQ(window->cbxMoves->Count(), 0);
    EXPECT_FALSE(window->mnuFileSave->Enabled());
    EXPECT_FALSE(window->mnuFileUploadtoEmpeg->Enabled());
    EXPECT_TRUE(window->mnuFileLoad->EffectivelyEnabled());
    EXPECT_TRUE(window->mnuFileDownloadFromEmpeg->EffectivelyEnabled());
    EXPECT_TRUE(window->mnuFileRebootEmpeg->EffectivelyEnabled());
    EXPECT_TRUE(window->mnuOptionsSetempegNetworkName->EffectivelyEnabled());
    EXPECT_FALSE(window->Modified);
    window->grab().save(QString::fromStdString(TempPath("start.png")));
    if (const char *shot = std::getenv("HOOFER_SCREENSHOT"))
        window->grab().save(shot);
}

TEST_F(WindowShell, StatusLineClearsTenSecondsAfterTheLastMessage)
{
    window->ShowStatus("Hello");
    EXPECT_EQ(window->StatusBar->text(), "Hello");
    platform.Advance(6000);
    window->ShowStatus("Again");
    platform.Advance(6000);
    EXPECT_EQ(window->StatusBar->text(), "Again");
    platform.Advance(4001);
    EXPECT_EQ(window->StatusBar->text(), "");
}

TEST_F(WindowShell, ErrorReportWrapsTheMessageInItsThreeLines)
{
    window->ReportError("550 No such file");
    ASSERT_EQ(dialogs.Of("error").size(), 1u);
    EXPECT_EQ(dialogs.Of("error")[0],
              "I am very sorry to report that the following error has occured...\r\n\"550 No such file\"\r\n"
              "I hope this doesn't ruin your day.");
}

TEST_F(WindowShell, ClosingAsksOnlyAfterAnEdit)
{
    LoadData(TestData("newmove.raw"));
    window->close();
    EXPECT_TRUE(dialogs.Of("confirm").empty());
    EXPECT_FALSE(window->isVisible());

    window->show();
    window->spinPartX->SetValue(window->spinPartX->Value() + 1);
    EXPECT_TRUE(window->Modified);
    dialogs.confirmAnswers.push_back(false);
    window->close();
    EXPECT_EQ(dialogs.Of("confirm"), std::vector<std::string>{"Close HooferEdit and lose changes?"});
    EXPECT_TRUE(window->isVisible());
    dialogs.confirmAnswers.push_back(true);
    window->close();
    EXPECT_FALSE(window->isVisible());
}

TEST_F(WindowShell, SettingsAreWrittenWhenTheWindowGoes)
{
    window->NetworkName = "127.0.0.1:2121";
    window->mnuOptionsPlayContinuously->SetChecked(true);
    window.reset();
    const std::string ini = FileBytes(TempPath("hooferedit.ini"));
    EXPECT_NE(ini.find("empegNetworkName=127.0.0.1:2121"), std::string::npos) << ini;
    EXPECT_NE(ini.find("PlayContinuously=1"), std::string::npos) << ini;

    window = std::make_unique<TfrmHoofer>(platform, &dialogs, TempPath("hooferedit.ini"));
    window->show();
    EXPECT_EQ(window->NetworkName, "127.0.0.1:2121");
    EXPECT_TRUE(window->mnuOptionsPlayContinuously->Checked());
}

TEST_F(WindowShell, HandEditedSettingsAreReadAndWrittenBackTidily)
{
    window.reset();
    WriteBytes(TempPath("hooferedit.ini"),
               "[Interface]\r\nSnapToGrid=2\r\nGridSize=0x0C\r\nTheme=dark\r\n[Mine]\r\nkeep=me\r\n");
    window = std::make_unique<TfrmHoofer>(platform, &dialogs, TempPath("hooferedit.ini"));
    window->show();
    EXPECT_TRUE(window->mnuOptionGridSnapToGrid->Checked());
    EXPECT_FALSE(window->mnuOptionsDragWithoutShift->Checked());
    EXPECT_EQ(window->GridSize(), 12);
    EXPECT_EQ(window->mnuOptionGridCurrentSize->Caption(), "12 Pixels");
    window.reset();
    const std::string ini = FileBytes(TempPath("hooferedit.ini"));
    EXPECT_NE(ini.find("SnapToGrid=1\r\n"), std::string::npos) << ini;
    EXPECT_NE(ini.find("GridSize=12\r\n"), std::string::npos) << ini;
    EXPECT_NE(ini.find("Theme=dark\r\n"), std::string::npos) << ini;
    EXPECT_NE(ini.find("[Mine]\r\nkeep=me"), std::string::npos) << ini;
    EXPECT_NE(ini.find("empegFTPUserName=Anonymous"), std::string::npos) << ini;
}

TEST_F(WindowShell, SettingsFileThatCannotBeReadIsNotReplacedAtExit)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads files without read permission";
    window.reset();
    const std::string path = TempPath("hooferedit.ini");
    const std::string mine = "[Mine]\nkeep=me\n";
    WriteBytes(path, mine);
    QFile::setPermissions(QString::fromStdString(path), QFile::WriteOwner);
    window = std::make_unique<TfrmHoofer>(platform, &dialogs, path);
    window->show();
    window->NetworkName = "127.0.0.1:2121";
    window.reset();
    QFile::setPermissions(QString::fromStdString(path), QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_EQ(FileBytes(path), mine);
}

TEST_F(WindowShell, DefaultsBesideAReadOnlyProgramAreReadAndTheUsersOwnFileIsWrittenInANewFolder)
{
    window.reset();
    const std::string beside = TempPath("hooferedit.ini");
    const std::string own = TempPath("config/HooferEdit/hooferedit.ini");
    const std::string defaults = "[Interface]\nGridSize=9\n";
    WriteBytes(beside, defaults);
    window = std::make_unique<TfrmHoofer>(platform, &dialogs, SettingsLocation(beside, own));
    window->show();
    EXPECT_EQ(window->GridSize(), 9);
    window->NetworkName = "player";
    window.reset();
    EXPECT_EQ(FileBytes(beside), defaults);
    const std::string ini = FileBytes(own);
    EXPECT_NE(ini.find("GridSize=9"), std::string::npos) << ini;
    EXPECT_NE(ini.find("empegNetworkName=player"), std::string::npos) << ini;
}
