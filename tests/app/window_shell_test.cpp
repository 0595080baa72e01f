#include "window_fixture.h"

#include "toolkit/menu.h"
#include "toolkit/spin_edit.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QWindow>

#include <unistd.h>

using namespace hoofer;
using namespace hoofer::test;

class WindowShell : public WindowTest {};

TEST_F(WindowShell, TitleHasNoApplicationNameTheStatusLineClearsAfterTenSecondsAndErrorsApologise)
{
    ASSERT_NE(window->windowHandle(), nullptr);
    EXPECT_EQ(window->windowHandle()->title(), "Hoofer Editor V6");  // no application name appended
    EXPECT_EQ(toolkit::ApplicationTitle(), "Hoofer Editor V6");  // the exception box's title
    window->ShowStatus("Hello");
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
    // Shared defaults beside a read-only program; the user's own file goes into a folder not made yet.
    const std::string beside = TempPath("hooferedit.ini"), own = TempPath("config/HooferEdit/hooferedit.ini");
    const std::string shared = "[Interface]\r\nSnapToGrid=2\r\nGridSize=0x0C\r\n[View]\r\nPlaybackSpeed=2\r\n";
    window.reset();
    WriteBytes(beside, shared);
    Reopen(SettingsLocation(beside, own));
    EXPECT_TRUE(window->mnuOptionGridSnapToGrid->Checked());
    EXPECT_FALSE(window->mnuOptionsDragWithoutShift->Checked());
    EXPECT_EQ(window->mnuOptionGridCurrentSize->Caption(), "12 Pixels");
    EXPECT_TRUE(window->mnuViewPlaybackSpeedHalf->Checked());
    window->NetworkName = "127.0.0.1:2121";
    window->mnuOptionsPlayContinuously->SetChecked(true);
    Click(window->mnuViewOnionSkin);
    Click(window->mnuViewPlaybackSpeedQuarter);
    window.reset();
    EXPECT_EQ(FileBytes(beside), shared);
    const std::string ini = FileBytes(own);
    for (const char *line : {"SnapToGrid=1\n", "GridSize=12\n", "empegFTPUserName=Anonymous", "PlayContinuously=1",
                             "empegNetworkName=127.0.0.1:2121", "[View]\nOnionSkin=1\nPlaybackSpeed=4\n"})
        EXPECT_NE(ini.find(line), std::string::npos) << line << " in " << ini;
    WriteBytes(own, ini + "[Mine]\nkeep=me\n");
    Reopen(own);
    EXPECT_EQ(window->NetworkName, "127.0.0.1:2121");
    EXPECT_TRUE(window->mnuOptionsPlayContinuously->Checked() && window->mnuViewOnionSkin->Checked());
    EXPECT_EQ(window->PlaybackSpeed(), 4);
    window.reset();
    EXPECT_NE(FileBytes(own).find("[Mine]\nkeep=me\n"), std::string::npos) << "the rest of the file is kept";
}

TEST_F(WindowShell, SettingsFileThatCannotBeReadIsNotReplacedAtExit)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads files without read permission";
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
