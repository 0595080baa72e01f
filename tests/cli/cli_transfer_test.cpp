// upload, download and reboot through the real executable, against the
// player simulator or a scripted peer on a free loopback port.

#include "hoofer_process.h"
#include "scripted_peer.h"

#include "settings/settings.h"

#include <chrono>

namespace hoofer::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using test::ServerProcess;
using test::TemporaryFolder;

const char *const kSimulator = HOOFER_SOURCE_DIR "/tools/player-sim";

class TransferCommands : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(player.Port(), 0) << "tools/player-sim did not start"; }
    std::string Scratch(const char *name) const { return scratch.Path() + "/" + name; }
    TemporaryFolder folder, scratch;
    ServerProcess player{{kSimulator, "--root", folder.Path(), "--port", "0", "--time-limit", "60"}};
    const std::string host = player.Address(), sampler = Bytes(Example("sampler.raw"));
};

TEST_F(TransferCommands, UploadPutsTheRoutineIntoTheSlotAndTellsEachStep)
{
    scratch.Write("caf\xe9.raw", sampler);
    ExpectRuns({{{"upload", Scratch("caf\xe9.raw"), "--host", host, "--slot", "princedance"}, 0, "",
                 "Connecting to " + host + "\nConnected\nChanging Directory\nMounting discs RW\nPutting File to empeg\n"
                 "Mounting discs RO\nDisconnecting\nUpload complete\n"}});
    EXPECT_EQ(folder.Read("princedance.raw"), sampler);
    EXPECT_THAT(player.Commands(), ElementsAre("user Anonymous", std::string("pass ") + kDefaultFtpPassword, "type I",
                                               "syst", "CWD /empeg/lib/visuals/", "SITE RW", "PORT",
                                               "STOR princedance.raw", "SITE RO"));
}

TEST_F(TransferCommands, DownloadWritesOnlyAWholeRoutineAndRebootAsksForARestart)
{
    const std::vector<std::string> download = {"download", "--host", host, "--slot", "STONKDANCE", "-o", Scratch("got\xe9.raw")};
    folder.Write("stonkdance.raw", sampler);
    ExpectRuns({{download, 0, "", "~\nDisconnecting\nReceived 708 bytes\nDownload complete\n"}});
    EXPECT_EQ(scratch.Read("got\xe9.raw"), sampler);
    // A slot that holds no routine, or nothing at all, leaves the file alone.
    folder.Write("stonkdance.raw", sampler.substr(3));
    ExpectRuns({{download, 1, "", "~\nDisconnecting\nReceived 705 bytes\n" + host + ": error: stonkdance.raw from the player is"}});
    EXPECT_THAT(RunHoofer(download).err, ::testing::EndsWith("; nothing written\n"));
    folder.Write("stonkdance.raw", "");
    ExpectRuns({{download, 1, "", "~" + host + ": error: "}, {{"reboot", "--host", host}, 0, "", "*"}});
    EXPECT_EQ(scratch.Read("got\xe9.raw"), sampler);
    EXPECT_TRUE(player.WaitForLine("would reboot now"));
    EXPECT_EQ(player.Commands().back(), "SITE REBOOT");
}

TEST(TransferErrors, FailuresExitWithOneAndUsageErrorsWithTwo)
{
    TemporaryFolder folder;  // discs that will not remount refuse the routine
    ServerProcess stuck{{kSimulator, "--root", folder.Path(), "--port", "0", "--time-limit", "60",
                         "--stuck-read-only", "--user", "dancer", "--password", "s3cret"}};
    ASSERT_NE(stuck.Port(), 0);
    const std::string host = stuck.Address(), gone = test::AddressNobodyListensOn(), raw = Example("newmove.raw");
    const std::string port = "a port is a number from 1 to 65535.\n";
    ExpectRuns({
        {{"upload", raw, "--host", host, "--slot", "breakdance"}, 1, "", "~\n" + host + ": error: 550 Read-only file "
                                                                         "system: send SITE RW first.\n"},
        {{"upload", raw, "--host", host, "--slot", "breakdance", "--user", "dancer", "--password", "wrong"}, 1, "",
         "~\n" + host + ": error: 530 "},
        {{"reboot", "--host", gone}, 1, "", gone + ": error: Socket Error # 10061 Connection refused.\n"},
        {{"upload", raw, "--host", host, "--slot", "moonwalk"}, 2, "",
         "~--slot: 'moonwalk' is not a slot; the slots are breakdance, princedance and stonkdance"},
        {{"download", "--slot", "breakdance", "-o", "x.raw"}, 2, "", "~--host is required"},
        {{"reboot"}, 2, "", "~--host is required"},
        {{"reboot", "--host", ""}, 2, "", "~--host: The player's network name is empty."},
        {{"reboot", "--host", "player:99999"}, 2, "", "~--host: Bad port '99999' in 'player:99999': " + port},
        {{"reboot", "--host", "player:0"}, 2, "", "~--host: Bad port '0' in 'player:0': " + port},
        {{"reboot", "--host", "player:ftp"}, 2, "", "~--host: Bad port 'ftp' in 'player:ftp': " + port},
        {{"reboot", "--host", "010.0.0.1"}, 2, "", "~--host: '010.0.0.1' has numbers with leading zeros, which "
                                                   "programs read differently; write 10.0.0.1."},
        {{"reboot", "--host", host, "--timeout", "0"}, 2, "", "~--timeout: Value 0 not in range 1 to 3600"},
        {{"reboot", "--host", host, "--timeout", "3601"}, 2, "", "~--timeout"},
        {{"reboot", "--host", host, "--timeout", "soon"}, 2, "", "~--timeout"},
    });
    EXPECT_FALSE(folder.Exists("breakdance.raw"));
    EXPECT_EQ(stuck.Commands().size(), 10u);  // only the two uploads reached the player
}

// What the player sends is made harmless; -v shows the dialogue as it happens
// with the password masked; --timeout bounds every wait for the player.
TEST(TransferErrors, RepliesAreEscapedVerboseShowsTheDialogueAndTimeoutBoundsTheWaits)
{
    test::ScriptedPeer denied([](test::PeerSession &s) {
        s.Reply("220 \x1b]0;owned\x07 hi\roops");
        s.Answer("530 \x1b[2J\x9b denied");
        s.WaitForClose();
    });
    ExpectRuns({{{"reboot", "--host", denied.Address()}, 1, "", denied.Address() + ": error: 530 \\x1B[2J\\x9B denied\n"}});
    test::ScriptedPeer peer([](test::PeerSession &s) {
        s.Reply("220 \x1b]0;owned\x07ready\rX");
        for (const char *reply : {"331 Password please", "230 in", "200 ok", "215 UNIX"})
            s.Answer(reply);
        s.ReadLine();
        s.Send("200-rebooting\r\n");  // and never the rest of the reply
        s.WaitForClose(5000);
    });
    const auto start = std::chrono::steady_clock::now();
    ExpectRuns({{{"reboot", "--host", peer.Address(), "-v", "--timeout", "1", "--password", "s3cret"}, 1, "",
                 "< 220 \\x1B]0;owned\\x07ready\\x0DX\n> user Anonymous\n< 331 Password please\n> pass ****\n< 230 in\n"
                 "> type I\n< 200 ok\n> syst\n< 215 UNIX\n> SITE REBOOT\n< 200-rebooting\n" + peer.Address()
                 + ": error: Read Timeout: no whole reply from " + peer.Address() + " within 1 s.\n"}});
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(4));
}

} // namespace
} // namespace hoofer::testing
