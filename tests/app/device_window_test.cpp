// The window's device commands end to end against the player simulator on a
// free loopback port, or a scripted peer where a player misbehaves.
#include "window_fixture.h"

#include "scripted_peer.h"
#include "server_process.h"

#include "device/id_ftp.h"

#include <gmock/gmock.h>

using namespace hoofer;
using namespace hoofer::test;
using ::testing::AllOf;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::StartsWith;

namespace {
/// The window and a player simulator serving a fresh folder; every text the status line shows is kept.
class DeviceCommands : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        StartPlayer({});
        platform.onMessages = [this] {
            if (statuses.empty() || statuses.back() != Status())
                statuses.push_back(Status());
        };
    }
    void StartPlayer(std::vector<std::string> extra)
    {
        std::vector<std::string> arguments{HOOFER_SOURCE_DIR "/tools/player-sim", "--root", folder.Path(), "--port",
                                           "0", "--time-limit", "60"};
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        player = std::make_unique<ServerProcess>(arguments);
        ASSERT_NE(player->Port(), 0) << "tools/player-sim did not start";
        window->NetworkName = player->Address();
    }
    std::vector<std::string> Reported() const { return dialogs.Of("error"); }
    std::string Status() const { return window->StatusBar->text().toStdString(); }

    TemporaryFolder folder;
    std::unique_ptr<ServerProcess> player;
    std::vector<std::string> statuses;
};
} // namespace

TEST_F(DeviceCommands, UploadIntoEachSlotShowsEachStepClearsModifiedAndLetsNoOtherCommandIn)
{
    LoadData(RoutineBytes(3, 4));
    const std::pair<toolkit::TMenuItem *, const char *> uploads[] = {{window->UploadtoEmpegAsBreakdance, "breakdance.raw"},
        {window->UploadtoEmpegAsPrinceDance, "princedance.raw"}, {window->UploadtoEmpegAsStonkDance, "stonkdance.raw"}};
    int tries = 0;  // a second device command during a transfer does nothing
    auto hook = platform.onMessages;
    platform.onMessages = [&] {
        hook();
        if (Status() == "Putting File to empeg" && tries++ == 0) {
            window->mnuFileDownloadFromEmpegBreakDanceClick();
            window->UploadtoEmpegAsStonkDanceClick();
            window->mnuFileRebootEmpegClick();
        }
    };
    for (const auto &[item, slot] : uploads) {
        window->Core.MarkModified();
        statuses.clear();
        platform.sleeps.clear();
        Click(item);
        EXPECT_TRUE(folder.Read(slot) == RoutineBytes(3, 4)) << slot;
        EXPECT_FALSE(window->Core.Modified()) << slot;
        EXPECT_THAT(statuses, ElementsAre("Connecting to " + player->Address(), "Connected", "Changing Directory",
                                          "Mounting discs RW", "Putting File to empeg", "Mounting discs RO",
                                          "Disconnecting", "Upload complete")) << slot;
        EXPECT_THAT(platform.sleeps, ElementsAre(100, 100, 150, 100, 150)) << slot;
        EXPECT_EQ(folder.Exists("stonkdance.raw"), slot == std::string("stonkdance.raw")) << slot;
    }
    const std::vector<std::string> commands = player->Commands();
    EXPECT_EQ(std::count(commands.begin(), commands.end(), "user Anonymous"), 3);
    EXPECT_EQ(tries, 3);  // once in each upload
    EXPECT_EQ(dialogs.shown.size(), 1u) << testing::PrintToString(dialogs.shown);  // the open dialog only
    // The player takes no references: one that no sidecar holds keeps the routine unsaved.
    window->Core.SetReference("Choose Reference", MoveReference{"/nowhere/dancer.mp4"});
    Click(window->UploadtoEmpegAsBreakdance);
    EXPECT_TRUE(window->Core.Modified());

    // A failed upload is reported with the step it failed in and leaves the routine modified.
    StartPlayer({"--stuck-read-only"});
    window->Core.MarkModified();
    Click(window->UploadtoEmpegAsBreakdance);
    EXPECT_THAT(Reported(), ElementsAre(AllOf(StartsWith("I am very sorry to report"), HasSubstr("\"550 "))));
    EXPECT_EQ(Status(), "Upload failed") << "not the step it failed in, once the box is closed";
    EXPECT_TRUE(window->Core.Modified());
    EXPECT_FALSE(window->IdFTP->IsConnected());
    // A reboot refused after the login shows the exception box and hangs up.
    ScriptedPeer peer([](PeerSession &s) {
        s.Login();
        s.Answer("502 Command not implemented.");
        s.WaitForClose();
    });
    window->IdFTP->Host = peer.Address();
    Click(window->mnuFileRebootEmpeg);
    EXPECT_THAT(dialogs.Of("exception"), ElementsAre(HasSubstr("502")));
    EXPECT_EQ(Status(), "Reboot failed");
    EXPECT_FALSE(window->IdFTP->IsConnected());
}

TEST_F(DeviceCommands, DownloadReplacesTheRoutineAfterTheQuestionOrRefusesAndKeepsIt)
{
    const std::string recovery = TempPath("recovery");
    Reopen(TempPath("hooferedit.ini"), recovery);
    window->NetworkName = player->Address();
    folder.Write("breakdance.raw", RoutineBytes(4, 3));
    LoadData(RoutineBytes(3, 3));
    Click(window->mnuFileDownloadFromEmpegStonkDance);  // an empty slot: nothing is read, as with an empty file
    ASSERT_EQ(Reported().size(), 1u);
    EXPECT_THAT(Reported()[0], HasSubstr("\"550 "));
    EXPECT_EQ(Status(), "Download failed");
    EXPECT_EQ(window->SerialiseRoutine(), RoutineBytes(3, 3));
    EXPECT_FALSE(window->Core.Modified());
    window->Core.MarkModified();
    dialogs.confirmAnswers = {true};
    statuses.clear();
    platform.sleeps.clear();
    Click(window->mnuFileDownloadFromEmpegBreakDance);
    EXPECT_THAT(statuses, ElementsAre("Connecting to " + player->Address(), "Connected", "Changing Directory",
                                      "Getting File from empeg", "Disconnecting", "Download complete"));
    EXPECT_THAT(platform.sleeps, ElementsAre(150, 150, 150));
    EXPECT_EQ(Reported().size(), 1u);
    EXPECT_EQ(window->SerialiseRoutine(), RoutineBytes(4, 3));
    EXPECT_FALSE(window->Core.Modified());
    const std::string whole = RoutineBytes(2, 2);
    folder.Write("princedance.raw", whole.substr(0, whole.size() - 9));
    Click(window->mnuFileDownloadFromEmpegPrinceDance);
    ASSERT_EQ(Reported().size(), 2u);
    EXPECT_THAT(Reported()[1], AllOf(HasSubstr("princedance.raw"), HasSubstr("truncated")));
    EXPECT_EQ(window->SerialiseRoutine(), RoutineBytes(4, 3));
    // A download has no file of its own: its recovery copy names none.
    window->spinPartX->SetValue(3);
    platform.Advance(30000);
    window.reset();
    const auto orphans = RecoveryStore::FindOrphans(recovery);
    ASSERT_EQ(orphans.size(), 1u);
    EXPECT_EQ(orphans[0].sourceFileName, "");
}

TEST_F(DeviceCommands, NothingIsSentWithoutAGoodNetworkNameOrWithARoutineBeyondTheFormat)
{
    folder.Write("breakdance.raw", "the player's own");
    const std::string port = std::to_string(player->Port()) + "0000";
    LoadData(RoutineBytes(1, 255));
    window->spinFrameNumber->SetValue(255);
    Click(window->mnuFrameAddFrame);
    ASSERT_EQ(window->Core.CurrentMove()->Frames.size(), 256u);
    window->Core.MarkModified();
    const std::string address = player->Address();
    for (const std::string &name : {std::string(), "127.0.0.1:" + port}) {
        window->NetworkName = name;
        Click(window->mnuFileDownloadFromEmpegBreakDance);
        Click(window->UploadtoEmpegAsBreakdance);
    }
    dialogs.entryAnswers = {"127.0.0.1:" + port, address};
    Click(window->mnuOptionsSetempegNetworkName);  // refused when typed, the name kept
    Click(window->mnuOptionsSetempegNetworkName);
    EXPECT_EQ(window->NetworkName, address);
    EXPECT_EQ(dialogs.Of("entry"), std::vector<std::string>(2, "Your empeg's Network Name"));
    EXPECT_TRUE(player->Commands().empty());
    Click(window->UploadtoEmpegAsBreakdance);
    const std::string none = "Please choose your empeg's Network name in the Options menu";
    EXPECT_THAT(Reported(), ElementsAre(none, none, StartsWith("Bad port '" + port + "'"),
                                        StartsWith("Bad port '" + port + "'"), StartsWith("Bad port '" + port + "'"),
                                        HasSubstr("255")));
    EXPECT_TRUE(player->Commands().empty());
    EXPECT_EQ(folder.Read("breakdance.raw"), "the player's own");
    EXPECT_TRUE(window->Core.Modified());
    dialogs.confirmAnswers = {true};  // replace the changed routine
    Click(window->mnuFileDownloadFromEmpegPrinceDance);  // an empty slot; the reboot goes to the host last used
    Click(window->mnuFileRebootEmpeg);
    ASSERT_TRUE(player->WaitForLine("would reboot now"));
    EXPECT_EQ(player->Commands().back(), "SITE REBOOT");
}
