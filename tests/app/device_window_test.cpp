// The window's device commands end to end: the real window (offscreen)
// uploads to, downloads from and reboots the player simulator started on a
// free loopback port, or a scripted peer where a player misbehaves.
#include "window_fixture.h"

#include "scripted_peer.h"
#include "server_process.h"

#include "settings/settings.h"
#include "device/id_ftp.h"
#include "toolkit/combo_box.h"
#include "toolkit/menu.h"
#include "toolkit/spin_edit.h"

#include <gmock/gmock.h>

#include <QLabel>

using namespace hoofer;
using namespace hoofer::test;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using ::testing::StartsWith;

namespace {

const char *const kSimulator = HOOFER_SOURCE_DIR "/tools/player-sim";

/// The window and a player simulator serving a fresh folder.
class DeviceCommands : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        ASSERT_NE(player->Port(), 0) << "tools/player-sim did not start";
        window->NetworkName = player->Address();
        // Every text the status line shows, in order.
        platform.onMessages = [this] {
            const std::string text = window->StatusBar->text().toStdString();
            if (statuses.empty() || statuses.back() != text)
                statuses.push_back(text);
        };
    }
    void StartPlayer(std::vector<std::string> extra)
    {
        std::vector<std::string> arguments{kSimulator, "--root", folder.Path(), "--port", "0", "--time-limit", "60"};
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        player = std::make_unique<ServerProcess>(arguments);
        ASSERT_NE(player->Port(), 0);
        window->NetworkName = player->Address();
    }
    std::vector<std::string> Commands() { return player->Commands(); }
    /// The error report's quoted message.
    std::vector<std::string> Reported() const
    {
        std::vector<std::string> messages;
        for (const std::string &box : dialogs.Of("error")) {
            const size_t open = box.find("\r\n\"");
            const size_t close = box.rfind("\"\r\n");
            messages.push_back(open == std::string::npos || close <= open ? box
                                                                          : box.substr(open + 3, close - open - 3));
        }
        return messages;
    }
    /// Every message box shown (file dialogs aside).
    std::vector<std::string> Boxes() const
    {
        std::vector<std::string> boxes;
        for (const std::string &line : dialogs.shown)
            if (line != "open" && line != "save")
                boxes.push_back(line);
        return boxes;
    }
    std::string Status() const { return window->StatusBar->text().toStdString(); }

    TemporaryFolder folder;
    std::unique_ptr<ServerProcess> player = std::make_unique<ServerProcess>(
        std::vector<std::string>{kSimulator, "--root", folder.Path(), "--port", "0", "--time-limit", "60"});
    std::vector<std::string> statuses;
};

const std::vector<std::string> kLogin{"user Anonymous", std::string("pass ") + kDefaultFtpPassword, "type I", "syst"};

} // namespace

TEST_F(DeviceCommands, UploadIntoEachSlotLandsByteForByteAndClearsModified)
{
    LoadData(RoutineBytes(3, 4));
    const std::pair<toolkit::TMenuItem *, const char *> uploads[] = {{window->UploadtoEmpegAsBreakdance, "breakdance.raw"},
                                                                   {window->UploadtoEmpegAsPrinceDance, "princedance.raw"},
                                                                   {window->UploadtoEmpegAsStonkDance, "stonkdance.raw"}};
    for (const auto &[item, slot] : uploads) {
        window->Modified = true;
        statuses.clear();
        platform.sleeps.clear();
        Click(item);
        EXPECT_TRUE(folder.Read(slot) == RoutineBytes(3, 4)) << slot;
        EXPECT_FALSE(window->Modified) << slot;
        EXPECT_THAT(statuses, ElementsAre("Connecting to " + player->Address(), "Connected", "Changing Directory",
                                          "Mounting discs RW", "Putting File to empeg", "Mounting discs RO",
                                          "Disconnecting", "Upload complete"));
        EXPECT_THAT(platform.sleeps, ElementsAre(100, 100, 150, 100, 150));
    }
    EXPECT_THAT(Boxes(), ElementsAre());
}

TEST_F(DeviceCommands, PlayerSeesTheExactLinesOfUploadDownloadAndReboot)
{
    LoadData(RoutineBytes(2, 2));
    Click(window->UploadtoEmpegAsPrinceDance);
    Click(window->mnuFileDownloadFromEmpegPrinceDance);
    Click(window->mnuFileRebootEmpeg);
    ASSERT_TRUE(player->WaitForLine("would reboot now"));

    std::vector<std::string> expected = kLogin;
    for (const char *line : {"CWD /empeg/lib/visuals/", "SITE RW", "PORT", "STOR princedance.raw", "SITE RO"})
        expected.push_back(line);
    expected.insert(expected.end(), kLogin.begin(), kLogin.end());
    for (const char *line : {"CWD /empeg/lib/visuals/", "PORT", "RETR princedance.raw"})
        expected.push_back(line);
    expected.insert(expected.end(), kLogin.begin(), kLogin.end());
    expected.push_back("SITE REBOOT");
    EXPECT_THAT(Commands(), ElementsAreArray(expected));
    EXPECT_THAT(Boxes(), ElementsAre());
}

TEST_F(DeviceCommands, UploadOntoReadOnlyDiscsIsReportedWithThePlayersLineAndModifiedStays)
{
    StartPlayer({"--stuck-read-only"});
    LoadData(RoutineBytes(1, 2));
    window->Modified = true;
    Click(window->UploadtoEmpegAsStonkDance);
    ASSERT_EQ(Reported().size(), 1u);
    EXPECT_THAT(Reported()[0], StartsWith("550 "));
    EXPECT_THAT(dialogs.Of("error")[0], StartsWith("I am very sorry to report"));
    EXPECT_TRUE(window->Modified);
    EXPECT_EQ(Status(), "Putting File to empeg");
    EXPECT_FALSE(folder.Exists("stonkdance.raw"));
}

TEST_F(DeviceCommands, DownloadReplacesTheRoutineAfterTheQuestionAndClearsModified)
{
    folder.Write("breakdance.raw", RoutineBytes(4, 3));
    LoadData(RoutineBytes(2, 2));
    window->Modified = true;
    dialogs.confirmAnswers = {true};
    Click(window->mnuFileDownloadFromEmpegBreakDance);
    EXPECT_THAT(Boxes(), ElementsAre("confirm: Replace the routine and lose changes?"));
    EXPECT_EQ(window->cbxMoves->Count(), 4);
    EXPECT_EQ(window->CurrentMove, window->Moves[0].get());
    EXPECT_EQ(window->SerialiseRoutine(), RoutineBytes(4, 3));
    EXPECT_FALSE(window->Modified);
    EXPECT_EQ(Status(), "Download complete");
}

TEST_F(DeviceCommands, DownloadOfAMissingSlotLeavesRoutineSelectionAndModified)
{
    LoadData(RoutineBytes(3, 3));
    window->cbxMoves->SetItemIndex(2);
    window->cbxMovesSelect();
    window->spinFrameNumber->SetValue(2);
    window->spinFrameNumberChange();
    THFFrame *frame = window->CurrentFrame;
    window->Modified = false;

    Click(window->mnuFileDownloadFromEmpegStonkDance);
    ASSERT_EQ(Reported().size(), 1u);
    EXPECT_THAT(Reported()[0], StartsWith("550 "));
    EXPECT_EQ(window->SerialiseRoutine(), RoutineBytes(3, 3));
    EXPECT_EQ(window->CurrentMove, window->Moves[2].get());
    EXPECT_EQ(window->CurrentFrame, frame);
    EXPECT_FALSE(window->Modified);
    EXPECT_EQ(Status(), "Getting File from empeg");
}

TEST_F(DeviceCommands, DownloadOfAGarbledSlotIsRefusedAndTheRoutineKept)
{
    const std::string whole = RoutineBytes(4, 2);
    folder.Write("breakdance.raw", whole.substr(0, whole.size() - 9));
    LoadData(RoutineBytes(2, 2));
    Click(window->mnuFileDownloadFromEmpegBreakDance);
    ASSERT_EQ(Reported().size(), 1u);
    EXPECT_THAT(Reported()[0], HasSubstr("breakdance.raw"));
    EXPECT_THAT(Reported()[0], HasSubstr("truncated"));
    EXPECT_EQ(window->SerialiseRoutine(), RoutineBytes(2, 2));
}

TEST_F(DeviceCommands, RefusedConnectionIsReportedAndTheWindowStaysUsable)
{
    const std::string nobody = AddressNobodyListensOn();
    LoadData(RoutineBytes(1, 1));
    window->Modified = true;
    window->NetworkName = nobody;
    Click(window->UploadtoEmpegAsBreakdance);
    ASSERT_EQ(Reported().size(), 1u);
    EXPECT_THAT(Reported()[0], HasSubstr("Connection refused"));
    EXPECT_EQ(Status(), "Connecting to " + nobody);
    EXPECT_TRUE(window->Modified);

    // The next try, on a player that answers, goes through.
    window->NetworkName = player->Address();
    Click(window->UploadtoEmpegAsBreakdance);
    EXPECT_EQ(Reported().size(), 1u);
    EXPECT_TRUE(folder.Read("breakdance.raw") == RoutineBytes(1, 1));
    EXPECT_FALSE(window->Modified);
}

TEST_F(DeviceCommands, PlayerHangingUpMidUploadIsReportedAndTheWindowStaysUsable)
{
    ScriptedPeer peer([](PeerSession &s) {
        s.Login();
        s.Answer("250 CWD command successful");
        s.Answer("200 Discs mounted read-write");
        s.Answer("200 PORT command successful");
        s.ReadLine();
        s.Reply("150 Opening data connection");
        s.ConnectBack();
        s.CloseControl(); // gone before the routine is through
    });
    LoadData(RoutineBytes(2, 2));
    window->Modified = true;
    window->NetworkName = peer.Address();
    Click(window->UploadtoEmpegAsPrinceDance);
    peer.Lines();
    ASSERT_EQ(Reported().size(), 1u);
    EXPECT_TRUE(window->Modified);
    EXPECT_EQ(Status(), "Putting File to empeg");
    EXPECT_FALSE(window->IdFTP->IsConnected());

    window->NetworkName = player->Address();
    dialogs.confirmAnswers = {true};
    Click(window->mnuFileDownloadFromEmpegPrinceDance);
    EXPECT_EQ(Reported().size(), 2u); // the simulator's slot is empty: reported as such, no hang
    EXPECT_EQ(window->SerialiseRoutine(), RoutineBytes(2, 2));
}

TEST_F(DeviceCommands, WithoutANetworkNameOrWithABadOneNothingIsConnected)
{
    LoadData(RoutineBytes(1, 1));
    window->NetworkName.clear();
    Click(window->UploadtoEmpegAsBreakdance);
    Click(window->mnuFileDownloadFromEmpegBreakDance);
    EXPECT_THAT(dialogs.Of("error"), ElementsAre("Please choose your empeg's Network name in the Options menu",
                                                 "Please choose your empeg's Network name in the Options menu"));
    // A name that cannot be right is refused with its reason, before any connection.
    window->NetworkName = "127.0.0.1:" + std::to_string(player->Port()) + "0000";
    Click(window->mnuFileDownloadFromEmpegBreakDance);
    EXPECT_THAT(dialogs.Of("error").back(), StartsWith("Bad port '" + std::to_string(player->Port()) + "0000'"));
    EXPECT_TRUE(Commands().empty());
}

TEST_F(DeviceCommands, NetworkNameIsSetInTheOptionsMenuAndRebootUsesTheHostLastUsed)
{
    window->NetworkName.clear();
    dialogs.AnswerEntry(player->Address());
    Click(window->mnuOptionsSetempegNetworkName);
    EXPECT_EQ(window->NetworkName, player->Address());

    // The reboot goes to the player the last transfer went to.
    Click(window->mnuFileDownloadFromEmpegBreakDance);
    Click(window->mnuFileRebootEmpeg);
    ASSERT_TRUE(player->WaitForLine("would reboot now"));
    EXPECT_EQ(Commands().back(), "SITE REBOOT");
}

TEST_F(DeviceCommands, FailedRebootIsShownInTheExceptionBox)
{
    ScriptedPeer peer([](PeerSession &s) {
        s.Login();
        s.Answer("502 Command not implemented.");
    });
    window->IdFTP->Host = peer.Address();
    platform.sleeps.clear();
    Click(window->mnuFileRebootEmpeg);
    EXPECT_EQ(peer.Lines().back(), "SITE REBOOT");
    // The pause before the command goes through the window's platform.
    EXPECT_EQ(platform.sleeps, std::vector<int>{100});
    ASSERT_EQ(dialogs.Of("exception").size(), 1u);
    EXPECT_THAT(dialogs.Of("exception")[0], HasSubstr("502"));
    EXPECT_FALSE(window->IdFTP->IsConnected());
}

TEST_F(DeviceCommands, SecondDeviceCommandDuringATransferDoesNothing)
{
    LoadData(RoutineBytes(2, 2));
    int tries = 0;
    platform.onMessages = [&] {
        if (Status() == "Putting File to empeg" && tries++ == 0) {
            window->mnuFileDownloadFromEmpegBreakDanceClick();
            window->UploadtoEmpegAsStonkDanceClick();
            window->mnuFileRebootEmpegClick();
        }
    };
    Click(window->UploadtoEmpegAsBreakdance);
    EXPECT_EQ(tries, 1);
    EXPECT_EQ(Status(), "Upload complete");
    EXPECT_TRUE(folder.Read("breakdance.raw") == RoutineBytes(2, 2));
    EXPECT_FALSE(folder.Exists("stonkdance.raw"));
    EXPECT_THAT(Boxes(), ElementsAre());
    const std::vector<std::string> commands = Commands();
    EXPECT_EQ(std::count(commands.begin(), commands.end(), "user Anonymous"), 1);
}

TEST_F(DeviceCommands, RoutineBeyondTheFormatIsNotSentAndThePlayersCopyStays)
{
    folder.Write("breakdance.raw", "the player's own");
    LoadData(RoutineBytes(1, 255));
    window->spinFrameNumber->SetValue(255);
    Click(window->mnuFrameAddFrame);
    ASSERT_EQ(window->CurrentMove->Frames.size(), 256u);
    window->Modified = true;
    Click(window->UploadtoEmpegAsBreakdance);
    ASSERT_EQ(Reported().size(), 1u);
    EXPECT_THAT(Reported()[0], HasSubstr("255"));
    EXPECT_TRUE(Commands().empty());
    EXPECT_EQ(folder.Read("breakdance.raw"), "the player's own");
    EXPECT_TRUE(window->Modified);
}
