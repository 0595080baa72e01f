#include "window_fixture.h"

#include "toolkit/combo_box.h"
#include "toolkit/menu.h"
#include "toolkit/spin_edit.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QWindow>

#include <unistd.h>

using namespace hoofer;
using namespace hoofer::test;

class WindowShell : public WindowTest {
protected:
    void Reopen(SettingsLocation settings)
    {
        window = std::make_unique<TfrmHoofer>(platform, &dialogs, settings);
        window->show();
    }
};

TEST_F(WindowShell, StartsEmptyWithOnlyTheCommandsThatCanActAndItsStatusLineClearsAfterTenSeconds)
{
    EXPECT_EQ(window->windowTitle(), "Hoofer Editor V6[*]");
    ASSERT_NE(window->windowHandle(), nullptr);
    EXPECT_EQ(window->windowHandle()->title(), "Hoofer Editor V6");  // no application name appended
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName());
    EXPECT_EQ(toolkit::ApplicationTitle(), "Hoofer Editor V6");  // the exception box's title
    EXPECT_EQ(window->cbxMoves->Count(), 0);
    EXPECT_FALSE(window->mnuFileSave->Enabled() || window->mnuFileUploadtoEmpeg->Enabled() || window->Modified);
    for (toolkit::TMenuItem *item : {window->mnuFileLoad, window->mnuFileDownloadFromEmpeg, window->mnuFileRebootEmpeg,
                                     window->mnuOptionsSetempegNetworkName})
        EXPECT_TRUE(item->EffectivelyEnabled()) << item->Caption().toStdString();
    if (const char *shot = std::getenv("HOOFER_SCREENSHOT"))
        window->grab().save(shot);
    window->ShowStatus("Hello");
    EXPECT_EQ(window->StatusBar->text(), "Hello");
    platform.Advance(6000);
    window->ShowStatus("Again");
    platform.Advance(6000);
    EXPECT_EQ(window->StatusBar->text(), "Again");
    platform.Advance(4001);
    EXPECT_EQ(window->StatusBar->text(), "");
    window->ReportError("550 No such file");
    EXPECT_EQ(dialogs.Of("error"), std::vector<std::string>{"I am very sorry to report that the following error has "
                                                            "occured...\r\n\"550 No such file\"\r\nI hope this "
                                                            "doesn't ruin your day."});
}

TEST_F(WindowShell, ClosingAsksOnlyAfterAnEdit)
{
    LoadData(TestData("newmove.raw"));
    window->close();
    EXPECT_FALSE(window->isVisible());
    window->show();
    window->spinPartX->SetValue(window->spinPartX->Value() + 1);
    dialogs.confirmAnswers = {false, true};
    window->close();
    EXPECT_TRUE(window->isVisible());
    window->close();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(dialogs.Of("confirm"), (std::vector<std::string>{"Close HooferEdit and lose changes?",
                                                               "Close HooferEdit and lose changes?"}));
}

TEST_F(WindowShell, SettingsAreReadAtShowAndWrittenBackWhenTheWindowGoes)
{
    const std::string path = TempPath("hooferedit.ini");
    window.reset();
    WriteBytes(path, "[Interface]\r\nSnapToGrid=2\r\nGridSize=0x0C\r\n[Mine]\r\nkeep=me\r\n");
    Reopen(path);
    EXPECT_TRUE(window->mnuOptionGridSnapToGrid->Checked());
    EXPECT_FALSE(window->mnuOptionsDragWithoutShift->Checked());
    EXPECT_EQ(window->mnuOptionGridCurrentSize->Caption(), "12 Pixels");
    window->NetworkName = "127.0.0.1:2121";
    window->mnuOptionsPlayContinuously->SetChecked(true);
    window.reset();
    const std::string ini = FileBytes(path);
    for (const char *line : {"SnapToGrid=1\r\n", "GridSize=12\r\n", "[Mine]\r\nkeep=me", "empegFTPUserName=Anonymous",
                             "empegNetworkName=127.0.0.1:2121", "PlayContinuously=1"})
        EXPECT_NE(ini.find(line), std::string::npos) << line << " in " << ini;
    Reopen(path);
    EXPECT_EQ(window->NetworkName, "127.0.0.1:2121");
    EXPECT_TRUE(window->mnuOptionsPlayContinuously->Checked());
}

TEST_F(WindowShell, SettingsFileThatCannotBeReadIsNotReplacedAtExit)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads files without read permission";
    window.reset();
    const std::string path = TempPath("hooferedit.ini");
    WriteBytes(path, "[Mine]\nkeep=me\n");
    QFile::setPermissions(QString::fromStdString(path), QFile::WriteOwner);
    Reopen(path);
    window->NetworkName = "127.0.0.1:2121";
    window.reset();
    QFile::setPermissions(QString::fromStdString(path), QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_EQ(FileBytes(path), "[Mine]\nkeep=me\n");
}

TEST_F(WindowShell, DefaultsBesideAReadOnlyProgramAreReadAndTheUsersOwnFileIsWrittenInANewFolder)
{
    window.reset();
    const std::string beside = TempPath("hooferedit.ini"), own = TempPath("config/HooferEdit/hooferedit.ini");
    WriteBytes(beside, "[Interface]\nGridSize=9\n");
    Reopen(SettingsLocation(beside, own));
    EXPECT_EQ(window->GridSize(), 9);
    window->NetworkName = "player";
    window.reset();
    EXPECT_EQ(FileBytes(beside), "[Interface]\nGridSize=9\n");
    const std::string ini = FileBytes(own);
    EXPECT_NE(ini.find("GridSize=9"), std::string::npos) << ini;
    EXPECT_NE(ini.find("empegNetworkName=player"), std::string::npos) << ini;
}
